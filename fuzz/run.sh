#!/usr/bin/env bash
# Runs every fuzz target of a fuzz build for SECONDS each, one after the other, from the seeds
# in fuzz/corpus, examples/ and, when present, ../shared/data/real/. New inputs gather in
# BUILD/corpus/TARGET; a crash or disagreement is kept as BUILD/findings/TARGET-*.
# Prints one line per target and a last line with the result; exits 1 on any finding.
set -uo pipefail
build=${1:?usage: fuzz/run.sh BUILD_DIR SECONDS}
seconds=${2:?usage: fuzz/run.sh BUILD_DIR SECONDS}
root=$(cd "$(dirname "$0")/.." && pwd)
seeds=("$root/fuzz/corpus" "$root/examples")
[ -d "$root/../shared/data/real" ] && seeds+=("$root/../shared/data/real")

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
mkdir -p "$build/findings"
found=()
while read -r target; do
    name=$(basename "$target")
    mkdir -p "$build/corpus/$name"
    log="$build/findings/$name.log"
    "$target" -max_total_time="$seconds" -max_len=16384 -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$build/findings/$name-" \
        "$build/corpus/$name" "${seeds[@]}" >"$log" 2>&1
    status=$?
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    coverage=$(grep -oE 'cov: [0-9]+ ft: [0-9]+' "$log" | tail -n 1)
    stats="${runs:-0} runs, ${coverage:-no coverage yet}"
    if [ "$status" -ne 0 ]; then
        found+=("$name")
        # The finding's own message, the sanitizer's verdict and where the input was kept.
        awk '/^FINDING/ { shown = 1 } /^==[0-9]+==/ { shown = 0 }
             shown || /ERROR|SUMMARY|runtime error|Test unit written/' "$log" | head -n 20 | cat -v
        echo "$name: FINDING after $stats (log: $log)"
    else
        echo "$name: $stats, no finding"
    fi
done <"$build/fuzz-targets.txt"

if [ ${#found[@]} -gt 0 ]; then
    echo "fuzz: FINDINGS in ${found[*]} (inputs in $build/findings)"
    exit 1
fi
echo "fuzz: no finding in ${seconds} s per target"
