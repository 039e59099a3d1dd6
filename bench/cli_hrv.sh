#!/usr/bin/env bash
# ritmova-cli hrv as a user runs it: the whole analysis of a 100,000-beat recording (a 24-hour
# Holter record's size), --segments 5min over 1,000 five-minute recordings, and 10,000,000 beats;
# wall time, output included, and peak memory.
# Usage: bench/cli_hrv.sh [path/to/ritmova-cli]
set -euo pipefail
cli=${1:-build/release/src/ritmova-cli}
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
# Breathing and slower waves around 0.8 s, with deterministic jitter; $2 beats, phase $3.
beats() {
  awk -v n="$1" -v p="$2" 'BEGIN { for (i = 0; i < n; i++)
    printf "%.4f\n", 0.8 + 0.05 * sin(i / 4.0 + p) + 0.03 * sin(i / 30.0) + 0.02 * sin(i * 7.31 + p) }'
}
beats 100000 0 >"$dir/holter.int"
mkdir "$dir/short"
for k in $(seq 1 1000); do beats 380 "$k" >"$dir/short/$k.int"; done  # 304 s each
beats 10000000 0 >"$dir/huge.int"
TIMEFORMAT='%3R s wall'
measure() {  # a label, then the arguments
  local label=$1
  shift
  "$cli" hrv "$@" >/dev/null  # warm the file cache
  echo "$label:"
  for run in 1 2 3; do time "$cli" hrv "$@" >"$dir/out"; done
  if [ -x /usr/bin/time ]; then  # Debian package "time"
    /usr/bin/time -f "%M KB peak memory" "$cli" hrv "$@" >/dev/null
  fi
}
measure "hrv, 100,000 beats" "$dir/holter.int"
measure "hrv --segments 5min, 1,000 five-minute recordings" --segments 5min "$dir"/short/*.int
echo "hrv, 10,000,000 beats:"
time "$cli" hrv "$dir/huge.int" >"$dir/out"
if [ -x /usr/bin/time ]; then
  /usr/bin/time -f "%M KB peak memory" "$cli" hrv "$dir/huge.int" >/dev/null
fi
