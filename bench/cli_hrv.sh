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
# Wall time, the processor time of both workers, and peak memory (GNU time, Debian package
# "time"); the notes of the segments left out are not kept.
measure() {  # a label, the number of runs, then the arguments
  local label=$1 runs=$2
  shift 2
  echo "$label:"
  for run in $(seq "$runs"); do
    /usr/bin/time -f "%e s wall, %U s user + %S s system, %M KB peak memory" \
      "$cli" hrv "$@" 2>&1 >"$dir/out" | grep -v 'left out'
  done
}
"$cli" hrv "$dir/holter.int" >/dev/null  # warm the file cache
measure "hrv, 100,000 beats" 3 "$dir/holter.int"
measure "hrv --segments 5min, 1,000 five-minute recordings" 3 --segments 5min "$dir"/short/*.int
measure "hrv, 10,000,000 beats" 1 "$dir/huge.int"
