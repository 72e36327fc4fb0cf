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
    # wineboot returns while the prefix's set-up still runs; a test started
    # then races it. The server ends once every process of the set-up has.
    timeout 300 wineserver -w || { echo "the prefix's set-up did not end" >&2; exit 1; }
  fi
  # Wine draws the caption buttons with its Marlett font, which this Wine
  # does not load from its own folder: the prefix gets a copy.
  cp -u /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
  trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
}

# boot_wine: a server for the rest of this session (until wineserver -k),
# booted, with every service that starts at boot running. A new server
# boots its prefix with the first program it runs, and a test that is that
# program shares its first seconds with services still starting.
boot_wine() {
  wineserver -k >/dev/null 2>&1 || true
  wineserver -p
  timeout 300 wine wineboot >/dev/null 2>&1 || { echo "wineboot failed" >&2; return 1; }
  local services name try
  services=$(wine reg query 'HKLM\System\CurrentControlSet\Services' /s /v Start 2>/dev/null | tr -d '\r' |
             awk '/^HKEY/ {key = $0} /Start/ && /0x2$/ {sub(/.*\\/, "", key); print key}')
  for name in $services; do
    for ((try = 0; ; try++)); do
      wine sc query "$name" 2>/dev/null | grep -q RUNNING && break
      [ "$try" -lt 60 ] || { echo "Wine's service $name did not start" >&2; return 1; }
      sleep 1
    done
  done
}
