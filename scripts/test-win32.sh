#!/usr/bin/env bash
# Builds the 32-bit Windows plug-in and zxhost (preset win32) and tests them
# under Wine in a fresh prefix under build/: the shared black-box cases under
# host x87 control words 0x1332 and 0x027F with ESP and floating-point state
# checked on every call, the version resource, the exports and imports of
# the DLL, zxhost itself from a folder with spaces, and the number texts
# against a native build of the same probe. No window is shown, so no X
# server is needed.
# Usage: scripts/test-win32.sh
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

scripts/install-deps.sh windows
scripts/wine-i386.sh  # says which way 32-bit programs run here

source scripts/wine-test-lib.sh

step "build (preset win32)"
cmake --preset win32 >/dev/null
cmake --build --preset win32 -j "$(nproc)"
out=$root/build/win32
dll=$out/vktQuantaro.zxp

step "exports and imports"
dump=$(i686-w64-mingw32-objdump -p "$dll")
exports=$(sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' <<<"$dump" | awk '/\[/ && NR > 1 {print $NF}' | sort)
want_exports=$(printf '%s\n' vktQuantaroCmdList vktQuantaroExec zxAbout zxEditAction zxExecAction zxInitPlugIn \
                 zxMessage zxRegisterInterfaceAccess zxRegisterPlugIn zxRegisterScriptProcessor | sort)
echo "exports: $(tr '\n' ' ' <<<"$exports")"
[ "$exports" = "$want_exports" ] || fail "export names differ from: $(tr '\n' ' ' <<<"$want_exports")"
imports=$(awk '/DLL Name:/ {print toupper($3)}' <<<"$dump" | sort -u)
echo "imports: $(tr '\n' ' ' <<<"$imports")"
for name in $imports; do
  case "$name" in
    KERNEL32.DLL|USER32.DLL|MSVCRT.DLL|ADVAPI32.DLL|GDI32.DLL|SHELL32.DLL|COMCTL32.DLL|UXTHEME.DLL) ;;
    *) fail "the DLL imports $name, which is not a Windows system DLL" ;;
  esac
done

step "Wine prefix"
unset DISPLAY
use_wine_prefix "$root/build/wine-prefix" fresh
boot_wine || fail "Wine's boot"
run() { timeout 300 wine "$@" 2>&1 | tr -d '\r'; return "${PIPESTATUS[0]}"; }

step "shared black-box cases under control words 0x1332 and 0x027F"
cases_out=$(run "$out/plugin_cases_wine.exe" "$(winepath -w "$root/tests/plugin/cases.txt")" \
  "$(winepath -w "$dll")" 'C:\vkt test folder') || fail "black-box cases"
grep -v '^ok' <<<"$cases_out" || true

step "zxhost's thunks against a plug-in that breaks the convention"
self_out=$(run "$out/plugin_cases_wine.exe" --self-test "$(winepath -w "$out/badConvention.zxp")") || fail "thunk self-test"
echo "$self_out"

step "hosts that misbehave: their settings, flags and exceptions in host routines; a 64 KB stack"
host_out=$(run "$out/plugin_cases_wine.exe" --host-checks "$(winepath -w "$dll")") || fail "host checks"
grep -v '^ok' <<<"$host_out" || true

step "version resource"
version_out=$(run "$out/version_info_wine.exe" "$(winepath -w "$dll")") || fail "version resource"
grep -v '^ok' <<<"$version_out" || true

step "settings files through the system's reader against the shared table"
settings_out=$(run "$out/settings_cases_wine.exe" "$(winepath -w "$root/tests/plugin/settings-cases.txt")" \
  'C:\vkt settings cases') || fail "settings-reader cases"
grep -v '^ok' <<<"$settings_out" || true

step "number texts and guard against the native build"
probe_native=$root/build/win32/float_probe_native
g++ -std=c++20 -O2 -Wall -Wextra -I"$root" "$root/tests/wine/FloatProbe.cpp" "$root"/calc/*.cpp "$root"/formula/*.cpp \
  "$root"/runtime/*.cpp -o "$probe_native"
native_text=$("$probe_native") || fail "native probe"
wine_text=$(run "$out/float_probe_wine.exe") || fail "Windows probe"
if [ "$native_text" = "$wine_text" ]; then
  echo "ok     $(grep -c . <<<"$wine_text") lines identical"
else
  fail "the Windows probe differs from the native one"
  diff <(echo "$native_text") <(echo "$wine_text") || true
fi
trap_out=$(run "$out/float_probe_wine.exe" trap) && trapped=no || trapped=yes
if [ "$trapped" = yes ]; then
  echo "x87 faults trap here: the runs under 0x1332 test the guard against live traps"
else
  echo "x87 faults do not trap here (emulated FPU): the state checks after every call carry the test"
fi

step "zxhost from a folder with spaces"
spaced="$WINEPREFIX/drive_c/Program Files/Zorvex Host"
mkdir -p "$spaced"
cp "$out/zxhost.exe" "$dll" "$spaced/"
printf '[GroupDescription]\r\n1=Formulas|Numbers\r\n[PlugInHeader]\r\nPlugInHint=First|second\r\n' > "$spaced/vktQuantaro.ini"
host() { run "C:\\Program Files\\Zorvex Host\\zxhost.exe" "$@"; }
expect() {  # expect NAME WANT-STATUS WANT-TEXT -- ARGS
  local name=$1 want_status=$2 want=$3; shift 4
  local got status=0
  got=$(host "$@") || status=$?
  if [ "$status" = "$want_status" ] && grep -qF -- "$want" <<<"$got"; then
    echo "ok     $name"
  else
    fail "$name: status $status, output: $got"
  fi
}
expect "info reads the settings file beside the DLL" 0 'group   "Formulas|Numbers"' -- info
expect "hint with line break" 0 'hint    "First\r\nsecond"' -- info
expect "calc" 0 '[r] = "861.666288443286"' -- calc '2^10*sin(1)' r
expect "calc 1/0" 1 '[LastError] = "Error in formula"' -- calc '1/0' r
expect "diff" 0 '[d] = "2*x*sin(x)+cos(x)*x^2"' -- diff 'x^2*sin(x)' x d
expect "list" 0 '(list (list "vktCalcExpress" "1" 2)(list "vktDiffExpress" "2" 3))' -- list LISP
expect "exec" 0 '[r] = "7"' -- exec 1 '3.5*2' r
expect "table" 0 '0.5  0.25  1' -- table 'x^2' x 0 1 2
expect "table with a failing row" 1 '0   Gleitkommadivision durch Null  Gleitkommadivision durch Null' -- table '1/x' x -1 1 2 --svg 'C:\plot.svg'
grep -q '</svg>' "$WINEPREFIX/drive_c/plot.svg" && echo "ok     table --svg writes the plot" || fail "table --svg wrote no plot"
piped=$(printf '2+3\n# comment\n\nd/dx x^3\n1/0\n' | host) && status=0 || status=$?
if [ "$status:$piped" = $'1:[result] = "5"\n[result] = "3*x^2"\n[LastError] = "Error in formula"\ncalc: Gleitkommadivision durch Null' ]; then
  echo "ok     formulas from a pipe"
else
  fail "formulas from a pipe: status $status, output: $piped"
fi

step "the package, unpacked into a folder with spaces"
cmake --build --preset win32 --target package >/dev/null
version=$(sed -n 's/^project(vktQuantaro VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
zip=$out/vktQuantaro-$version-win32.zip
plugins="$spaced/Plugins"
rm -rf "$plugins" && mkdir -p "$plugins"
(cd "$plugins" && cmake -E tar xf "$zip")
contents=$(cd "$plugins" && ls | tr '\n' ' ')
echo "$(basename "$zip"): $contents"
[ "$contents" = "INSTALL.txt vktQuantaro.ini vktQuantaro.zxp zxhost.exe " ] || fail "the package holds other files"
install_txt=$(cat "$plugins/INSTALL.txt")
for want in "zxhost.exe        a console program to try formulas outside Zorvex" "Trying formulas with zxhost.exe" \
            "Put it beside vktQuantaro.zxp" '"quit", or press Ctrl+Z then Enter' 'zxhost.exe check "sin(x+1"' "--svg plot.svg"; do
  grep -qF -- "$want" <<<"$install_txt" || fail "INSTALL.txt does not say: $want"
done
[ "$(grep -c $'\r$' "$plugins/INSTALL.txt")" = "$(wc -l <"$plugins/INSTALL.txt")" ] || fail "INSTALL.txt has other line ends than CR LF"
# zxhost.exe from the package, beside the plug-in, as an author starts it;
# its texts in the console's code page (Wine's pipes have no console: the
# OEM code page that a new console starts with).
oemcp=$(wine reg query 'HKLM\System\CurrentControlSet\Control\Nls\CodePage' /v OEMCP | tr -d '\r' | awk '/OEMCP/ {print $3}')
author() { run "C:\\Program Files\\Zorvex Host\\Plugins\\zxhost.exe" "$@"; }
umlaut=$(author diff 'x*ln(0-1)' x | iconv -f "CP$oemcp" -t UTF-8) || true
if [ "$umlaut" = '[LastError] = "Ungültige Gleitkommaoperation"' ]; then
  echo "ok     packaged zxhost.exe beside the plug-in; \"ü\" in code page $oemcp"
else
  fail "packaged zxhost.exe, code page $oemcp: $umlaut"
fi
step "the table of check cases through the packaged zxhost.exe"
check_out=$(python3 tests/host/CheckCases.py tests/host/check-cases.txt "cp$oemcp" \
  timeout 300 wine 'C:\Program Files\Zorvex Host\Plugins\zxhost.exe') || fail "check cases"
echo "$check_out"

packaged() { run "C:\\Program Files\\Zorvex Host\\zxhost.exe" --plugin 'C:\Program Files\Zorvex Host\Plugins\vktQuantaro.zxp' "$@"; }
expect_info() {  # expect_info NAME WANT-TEXT
  if grep -qF -- "$2" <<<"$(packaged info)"; then echo "ok     $1"; else fail "$1: $(packaged info)"; fi
}
expect_info "the packaged settings file gives the defaults" '"Resolve formula and get a return-string."'
sed -i 's/^vktDiffExpress=.*/vktDiffExpress=Derivative|as text\r/' "$plugins/vktQuantaro.ini"
expect_info "a changed description shows" '"Derivative\r\nas text"'
rm "$plugins/vktQuantaro.ini"
expect_info "without the settings file the built-in texts" '"Show differentiated expression."'

step "zxhost.exe double-clicked: a console window of its own, typed into"
# The console is a window, so this needs a display; the screen comes back as text.
console_session() {  # console_session LINE...: typed into the console, each ended by Enter
  # The session's server was started without a display: this one starts
  # on the virtual display, and ends with the console.
  wineserver -k >/dev/null 2>&1 || true
  xvfb-run -a -s "-screen 0 1024x768x24" bash -c 'timeout 300 wine "$@"; timeout 60 wineserver -w' _ \
    "$out/console_session_wine.exe" 'C:\Program Files\Zorvex Host\Plugins\zxhost.exe' "$@" | tr -d '\r'
}
session=$(console_session "2^10" "{Up}" "d/dx x*ln(0-1)" "sin(2+1" "quit")
want='zxhost tries formulas on vktQuantaro 1.09. Leave: "quit", or Ctrl+Z then Enter.
A formula per line for the calc action, "d/dx FORMULA" for the diff action.
zx> 2^10
[result] = "1024"
zx> 2^10
[result] = "1024"
zx> d/dx x*ln(0-1)
[LastError] = "Ungültige Gleitkommaoperation"
zx> sin(2+1
[LastError] = "Error in formula"
sin(2+1
       ^ calc: ")" expected
zx> quit
exit status 0'
if [ "$session" = "$want" ]; then echo "ok     first line, Up recalls, wide characters, a caret, quit"; else fail "console session:"; echo "$session"; fi
ctrl_z=$(console_session "7*6" $'\x1a')
if grep -qx 'exit status 0' <<<"$ctrl_z" && grep -qx '\[result\] = "42"' <<<"$ctrl_z"; then
  echo "ok     Ctrl+Z then Enter ends"
else
  fail "Ctrl+Z then Enter:"; echo "$ctrl_z"
fi

step "controls in real windows (scripts/test-win32-ui.sh)"; scripts/test-win32-ui.sh || fail "Windows UI tests"
step "the dialogs in real windows (scripts/test-win32-dialogs.sh)"; scripts/test-win32-dialogs.sh || fail "Windows dialog tests"
echo
if [ "$failures" -ne 0 ]; then
  echo "Windows tests: $failures failed"
  exit 1
fi
echo "Windows tests: all passed"
