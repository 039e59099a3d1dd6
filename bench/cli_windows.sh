#!/usr/bin/env bash
# ritmova-cli windows over a synthetic 100,000-beat recording (a 24-hour Holter record's
# size): wall time for --step 1 (the sliding analysis) and --step 256, output included, and
# peak memory.
# Usage: bench/cli_windows.sh [path/to/ritmova-cli]
set -euo pipefail
cli=${1:-build/release/src/ritmova-cli}
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
# Breathing and slower waves around 0.8 s, with deterministic jitter.
awk 'BEGIN { for (i = 0; i < 100000; i++)
  printf "%.3f\n", 0.8 + 0.05 * sin(i / 4.0) + 0.03 * sin(i / 30.0) + 0.02 * sin(i * 7.31) }' \
  >"$dir/holter.int"
"$cli" windows --step 256 "$dir/holter.int" >/dev/null  # warm the file cache
TIMEFORMAT='%3R s wall'
for step in 1 256; do
  echo "windows --step $step:"
  for run in 1 2 3; do
    time "$cli" windows --step "$step" "$dir/holter.int" >"$dir/out.csv"
  done
done
if [ -x /usr/bin/time ]; then  # Debian package "time"
  /usr/bin/time -f "%M KB peak memory (--step 1)" "$cli" windows --step 1 "$dir/holter.int" >/dev/null
fi
