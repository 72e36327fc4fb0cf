#!/usr/bin/env bash
# Runs every built fuzz target for the given number of seconds, starting
# from its seed corpus in fuzz/corpus/<Target>; new inputs go to a scratch
# folder under build/, so the repository's corpus stays small.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}
found=0
for bin in build/fuzz/fuzz/*Fuzz; do
  [ -x "$bin" ] || continue
  found=1
  name=$(basename "$bin")
  work="build/fuzz/corpus/$name"
  mkdir -p "$work"
  seeds="fuzz/corpus/$name"
  [ -d "$seeds" ] || seeds=""
  echo "--- $name"
  ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
    "$bin" -max_total_time="$seconds" -max_len=4096 -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 "$work" $seeds 2>&1 | tail -n 12
done
[ "$found" = 1 ] || echo "no fuzz targets built"
