# Sourced by the Wine test scripts: how they report, and the Wine prefix
# each of them keeps under build/.

step() { printf '\n--- %s\n' "$*"; }
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
# show_run FOLDER NAME TITLE: a step TITLE with FOLDER/NAME.txt, a failure
# unless FOLDER/NAME.rc holds 0.
show_run() {
  step "$3"
  cat "$1/$2.txt"
  [ "$(cat "$1/$2.rc")" = 0 ] || fail "$3"
}

# use_wine_prefix FOLDER [fresh]: a 32-bit Wine prefix in FOLDER, made now
# when it is missing (or always, with "fresh"); its server ends with the
# calling script.
use_wine_prefix() {
  export WINEPREFIX=$1 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=win32
  if [ "${2:-}" = fresh ]; then rm -rf "$WINEPREFIX"; fi
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    timeout 300 wineboot -i >/dev/null 2>&1 || { echo "wineboot failed" >&2; exit 1; }
  fi
  trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
}
