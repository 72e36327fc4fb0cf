#!/usr/bin/env bash
# Installs what is missing, builds every configuration and runs all tests:
# the native build, the same under AddressSanitizer/UndefinedBehaviorSanitizer,
# a short fuzzing run, and the Windows build under Wine.
# Usage: scripts/test.sh [--no-windows] [--fuzz-seconds N]
set -euo pipefail
cd "$(dirname "$0")/.."

windows=1
fuzz_seconds=${VKT_FUZZ_SECONDS:-30}
while [ $# -gt 0 ]; do
  case "$1" in
    --no-windows) windows=0 ;;
    --fuzz-seconds) fuzz_seconds=$2; shift ;;
    *) echo "usage: $0 [--no-windows] [--fuzz-seconds N]" >&2; exit 2 ;;
  esac
  shift
done

if [ "$windows" = 1 ]; then scripts/install-deps.sh all; else scripts/install-deps.sh native; fi

step() { printf '\n=== %s\n' "$*"; }
jobs=$(nproc)

step "native build and tests"
cmake --preset native >/dev/null
cmake --build --preset native -j "$jobs"
ctest --preset native -j "$jobs"

step "sanitizer build and tests"
cmake --preset native-asan >/dev/null
cmake --build --preset native-asan -j "$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
  ctest --preset native-asan -j "$jobs"

step "fuzzing, ${fuzz_seconds} s per target"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$jobs"
scripts/fuzz.sh "$fuzz_seconds"

if [ "$windows" = 1 ] && [ -x scripts/test-win32.sh ]; then
  step "Windows build under Wine"
  scripts/test-win32.sh
fi
step "all tests passed"
