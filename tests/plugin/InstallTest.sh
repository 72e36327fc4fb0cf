#!/usr/bin/env bash
# The native installation as a user meets it: cmake --install into a fresh
# prefix, zxhost finds the plug-in and its settings file there, the settings
# file is honoured, and zxhost reads formulas from a pipe.
# Usage: InstallTest.sh BUILD-FOLDER
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
failures=0
check() {  # check NAME COMMAND...: the command must succeed
  local name=$1; shift
  if "$@"; then echo "ok     $name"; else echo "FAIL   $name"; failures=$((failures + 1)); fi
}

cmake --install "$build" --prefix "$prefix" >/dev/null
zxhost=$prefix/bin/zxhost
ini=$prefix/lib/vktQuantaro/vktQuantaro.ini

check "zxhost finds the installed plug-in" grep -qF "plug-in $prefix/bin/../lib/vktQuantaro/vktQuantaro.zxp" <("$zxhost" info)
check "the installed settings give the defaults" grep -qF '"Resolve formula and get a return-string."' <("$zxhost" info)
check "--help says where it looks" grep -qF "$prefix/bin/../lib/vktQuantaro/vktQuantaro.zxp" <("$zxhost" --help)
sed -i 's/^vktCalcExpress=.*/vktCalcExpress=Evaluates|a formula\r/' "$ini"
check "a changed description shows" grep -qF '"Evaluates\r\na formula"' <("$zxhost" info)
rm "$ini"
check "without settings file the built-in texts" grep -qF '"Resolve formula and get a return-string."' <("$zxhost" info)

out=$(printf '2+3\n# comment\n\nd/dx x^3\n1/0\n' | "$zxhost") && status=0 || status=$?
check "formulas from a pipe, exit status 1 after an error" \
  test "$status:$out" = $'1:[result] = "5"\n[result] = "3*x^2"\n[LastError] = "Error in formula"\ncalc: Gleitkommadivision durch Null'
check "100,000 formulas from a file" test "$(seq 100000 | "$zxhost" | wc -l)" = 100000

echo "$(( 7 - failures )) passed, $failures failed"
[ "$failures" -eq 0 ]
