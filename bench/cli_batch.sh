#!/usr/bin/env bash
# ritmova-cli csv over 1,000 recordings in one process: wall time and peak memory.
# Usage: bench/cli_batch.sh [path/to/ritmova-cli]
set -euo pipefail
cli=${1:-build/release/src/ritmova-cli}
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
src=$(dirname "$0")/../examples
i=0
while [ $i -lt 1000 ]; do
  for f in "$src"/*.int; do
    [ $i -lt 1000 ] && cp "$f" "$dir/r$i.int"
    i=$((i + 1))
  done
done
"$cli" csv "$dir"/*.int >/dev/null  # warm the file cache
TIMEFORMAT='%3R s wall, %3U s user, %3S s system'
for run in 1 2 3 4 5; do
  time "$cli" csv "$dir"/*.int >/dev/null
done
if [ -x /usr/bin/time ]; then  # Debian package "time"
  /usr/bin/time -f "%M KB peak memory" "$cli" csv "$dir"/*.int >/dev/null
fi
