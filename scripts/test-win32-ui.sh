#!/usr/bin/env bash
# The Windows build's controls in real windows, under Wine on a virtual X
# display (xvfb-run -a: a free display number, never another's):
#   - the gallery of every control in its states, both looks, captured from
#     its window and compared pixel by pixel, outside text, with the raster
#     rendering of the same scene; PNGs under build/screenshots/;
#   - hot tracking: pointer moves into and out of a button, also straight
#     into a window that is not ours;
#   - a modal form over an owner window, driven from a second thread by
#     caption and window messages, closed with OK and with Escape;
#   - the system colours and the single-precision contrast arithmetic of the
#     Windows build against the native build's; one-line gradients on GDI.
# Uses its own Wine prefix (build/wine-ui). Usage: scripts/test-win32-ui.sh
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

scripts/install-deps.sh windows
scripts/wine-i386.sh

source scripts/wine-test-lib.sh

step "build (presets win32 and native)"
cmake --preset win32 >/dev/null
cmake --build --preset win32 -j 2 --target UiGallery
cmake --preset native >/dev/null
cmake --build --preset native -j 2 --target contrast_probe
gallery=$root/build/win32/UiGallery.exe
shots=$root/build/screenshots
rm -f "$shots"/gallery-*.png "$shots"/hot-*.png  # the captures of this script only
mkdir -p "$shots"

step "Wine prefix and virtual display"
use_wine_prefix "$root/build/wine-ui"
wineserver -k >/dev/null 2>&1 || true

# Everything that needs the display runs in one xvfb-run session; the
# results come back through files.
out=$root/build/screenshots/run
mkdir -p "$out"
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  set -u
  source scripts/wine-test-lib.sh && boot_wine
  run() { timeout 300 wine "$@" 2>&1 | tr -d "\r"; return "${PIPESTATUS[0]}"; }
  folder=$(winepath -w "$2")
  run "$1" capture "$folder" > "$3/capture.txt"; echo $? > "$3/capture.rc"
  run "$1" hot "$folder" > "$3/hot.txt"; echo $? > "$3/hot.rc"
  run "$1" modal > "$3/modal.txt"; echo $? > "$3/modal.rc"
  run "$1" colours > "$3/colours.txt"; echo $? > "$3/colours.rc"
  wineserver -k >/dev/null 2>&1 || true
' _ "$gallery" "$shots" "$out"

step "gallery: window against raster, both looks"
cat "$out/capture.txt"
[ "$(cat "$out/capture.rc")" = 0 ] || fail "gallery comparison"

step "hot tracking"
cat "$out/hot.txt"
[ "$(cat "$out/hot.rc")" = 0 ] || fail "hot tracking"

step "a modal form driven from another thread"
cat "$out/modal.txt"
[ "$(cat "$out/modal.rc")" = 0 ] || fail "modal form"

step "system colours and contrast arithmetic against the native build"
native=$("$root/build/native/tests/controls/contrast_probe")
[ "$(cat "$out/colours.rc")" = 0 ] || fail "one-line gradients on the GDI canvas"
if [ "$native" = "$(cat "$out/colours.txt")" ]; then
  echo "ok     $(grep -c . <<<"$native") lines identical"
else
  fail "the Windows build's colours or contrast results differ from the native build's"
  diff <(echo "$native") "$out/colours.txt" | head -20 || true
fi
rm -rf "$out"
echo "screenshots: $(cd "$shots" && ls *.png | tr '\n' ' ')"

echo
if [ "$failures" -ne 0 ]; then
  echo "Windows UI tests: $failures failed"
  exit 1
fi
echo "Windows UI tests: all passed"
