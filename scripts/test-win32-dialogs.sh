#!/usr/bin/env bash
# The plug-in's dialogs in real windows, under Wine on a virtual X display
# (xvfb-run -a: a free display number, never another's). dialogs_wine calls
# zxEditAction and zxAbout on the host's thread under the host's control
# word while a second thread reads, types into, clicks and closes the
# dialogs; the captures land in build/screenshots/, both looks (the classic
# one on a display of 256 colours). zxhost's edit and about commands are
# worked the same way from another process. dialog_soak_wine then opens and
# closes the three dialogs a few hundred times under seeded random input and
# checks what the plug-in holds afterwards; --soak runs only the soak, with
# the seed and cycle count given (a longer run).
# Uses its own Wine prefix (build/wine-dialogs).
# Usage: scripts/test-win32-dialogs.sh [--soak SEED CYCLES]
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
soak_only= soak_seed=1 soak_cycles=300
if [ "${1:-}" = --soak ]; then soak_only=1 soak_seed=${2:?seed} soak_cycles=${3:?cycles}; fi

scripts/install-deps.sh windows
scripts/wine-i386.sh

source scripts/wine-test-lib.sh

step "build (preset win32)"
cmake --preset win32 >/dev/null
cmake --build --preset win32 -j 2 --target dialogs_wine dialog_soak_wine zxhost vktQuantaro
out=$root/build/win32
shots=$root/build/screenshots
mkdir -p "$shots"

step "Wine prefix and virtual display"
use_wine_prefix "$root/build/wine-dialogs"
# Wine draws the windows' frames itself (no window manager runs on the
# virtual display), Arial is the metric-compatible Liberation Sans, and the
# tooltip colour is the one Windows has out of the box (Wine's own theme
# makes it white), so that the captures show what an author sees.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /t REG_SZ /d N /f >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v Arial /t REG_SZ /d 'Liberation Sans' /f >/dev/null 2>&1
wine reg add 'HKCU\Control Panel\Colors' /v InfoWindow /t REG_SZ /d '255 255 225' /f >/dev/null 2>&1
# Without a window manager Wine waits two seconds for each hidden managed
# window to be withdrawn; the soak's windows are left unmanaged.
wine reg add 'HKCU\Software\Wine\AppDefaults\dialog_soak_wine.exe\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
wineserver -k >/dev/null 2>&1 || true

results=$(mktemp -d)
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  set -u
  source scripts/wine-test-lib.sh && boot_wine
  run() { timeout "$1" wine "${@:2}" 2>&1 | tr -d "\r"; return "${PIPESTATUS[0]}"; }
  if [ -z "$4" ]; then
    run 300 "$1/dialogs_wine.exe" all "$(winepath -w "$1/vktQuantaro.zxp")" "$(winepath -w "$2")" > "$3/dialogs.txt"
    echo $? > "$3/dialogs.rc"
    run 300 "$1/dialogs_wine.exe" zxhost "$(winepath -w "$1/zxhost.exe")" > "$3/zxhost.txt"
    echo $? > "$3/zxhost.rc"
  fi
  run $((120 + $6)) "$1/dialog_soak_wine.exe" "$(winepath -w "$1/vktQuantaro.zxp")" "$5" "$6" > "$3/soak.txt"
  echo $? > "$3/soak.rc"
  wineserver -k >/dev/null 2>&1 || true
' _ "$out" "$shots" "$results" "$soak_only" "$soak_seed" "$soak_cycles"
# The classic look: a display of 256 colours.
[ -n "$soak_only" ] || xvfb-run -a -s "-screen 0 1024x768x8" bash -c '
  set -u
  source scripts/wine-test-lib.sh && boot_wine
  timeout 300 wine "$1/dialogs_wine.exe" capture "$(winepath -w "$1/vktQuantaro.zxp")" "$(winepath -w "$2")" classic 2>&1 |
    tr -d "\r" > "$3/classic.txt"
  echo "${PIPESTATUS[0]}" > "$3/classic.rc"
  wineserver -k >/dev/null 2>&1 || true
' _ "$out" "$shots" "$results"

if [ -z "$soak_only" ]; then
  show_run "$results" dialogs "the dialogs driven from a second thread"
  show_run "$results" zxhost "zxhost's edit and about commands, worked from another process"
  show_run "$results" classic "the classic look on a display of 256 colours"
  echo "screenshots: $(cd "$shots" && ls vkt*.png About*.png 2>/dev/null | tr '\n' ' ')"
fi
show_run "$results" soak "soak: $soak_cycles cycles of the three dialogs under random input (seed $soak_seed)"
rm -rf "$results"

echo
if [ "$failures" -ne 0 ]; then
  echo "Windows dialog tests: $failures failed"
  exit 1
fi
echo "Windows dialog tests: all passed"
