#!/usr/bin/env bash
# Installs what is missing, builds the native configuration and shows the
# plug-in at work: zxhost loads build/native/vktQuantaro.zxp the way the
# Zorvex host does and runs both actions on a few formulas.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh native
cmake --preset native >/dev/null
cmake --build --preset native -j "$(nproc)"

zxhost=build/native/zxhost
show() {
  local shown="" a
  for a in "$@"; do
    if [[ "$a" =~ ^[A-Za-z0-9_./-]+$ ]]; then shown+=" $a"; else shown+=" '$a'"; fi
  done
  printf '\n$ zxhost%s\n' "$shown"
  local status=0
  "$zxhost" "$@" || status=$?
  [ "$status" = 0 ] || printf '(exit status %s)\n' "$status"
}

show info
show list LISP
show calc '2+3*4' r
show calc 'sqrt(2)*sin(1)^2' r
show calc '$12.50*2' price
show diff 'x^2' x d
show diff 'sin(2*x)' x d
show diff 'ln(x)*exp(x)' x d
show exec 2 'x^3' x d
show calc '1+' r        # an error: "[LastError]" is set and the exit status is 1
show diff 'x^y' x d     # the exponent must be a number
