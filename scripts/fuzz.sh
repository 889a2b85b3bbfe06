#!/usr/bin/env bash
# Builds the libFuzzer targets (preset fuzz) and runs each of them for a while on its committed
# seeds (fuzz/corpus/<name>, the target's name without "Fuzz", lowercased) plus what earlier
# runs found (build/fuzz/corpus/<name>). Fails when a target finds a crash, a leak, a sanitizer
# report or a time-out, or when a target or its seeds are missing.
#
#   scripts/fuzz.sh                  every target for 30 s, two at a time
#   scripts/fuzz.sh 600 JsonFuzz     one target for ten minutes
#   FUZZ_JOBS=4 scripts/fuzz.sh      four at a time
#
# One line per target with its figures, then the closing line "fuzz: N passed, M failed".
# Reproducers of a failure are kept in build/fuzz/findings/<name>/.
set -uo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

seconds="${1:-30}"
shift || true
jobs="${FUZZ_JOBS:-2}"

echo "=== fuzz: build"
if ! bash scripts/build.sh fuzz; then
    echo "=== fuzz: BUILD FAILED"
    echo "fuzz: 0 passed, 1 failed"
    exit 1
fi

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    for source in fuzz/*Fuzz.cpp; do
        targets+=("$(basename "$source" .cpp)")
    done
fi

logs=build/fuzz/logs
mkdir -p "$logs"

# Runs one target; its log ends with libFuzzer's final statistics.
run_target() {
    local target="$1"
    local name
    name=$(tr '[:upper:]' '[:lower:]' <<<"${target%Fuzz}")
    local seeds="fuzz/corpus/$name"
    local found="build/fuzz/corpus/$name"
    local findings="build/fuzz/findings/$name"
    local log="$logs/$target.log"
    rm -f "$log.summary"
    mkdir -p "$found" "$findings"
    if [ ! -x "build/fuzz/fuzz/$target" ]; then
        echo "$target: MISSING (not built)" >"$log.summary"
        return 1
    fi
    if [ -z "$(ls -A "$seeds" 2>/dev/null)" ]; then
        echo "$target: MISSING SEEDS ($seeds)" >"$log.summary"
        return 1
    fi
    "build/fuzz/fuzz/$target" -max_total_time="$seconds" -timeout=30 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$findings/" "$found" "$seeds" >"$log" 2>&1
    local status=$?
    local runs rate coverage features corpus
    runs=$(sed -nE 's/^stat::number_of_executed_units: *([0-9]+).*/\1/p' "$log" | tail -n 1)
    rate=$(sed -nE 's/^stat::average_exec_per_sec: *([0-9]+).*/\1/p' "$log" | tail -n 1)
    coverage=$(grep -oE 'cov: [0-9]+' "$log" | tail -n 1 | cut -d' ' -f2)
    features=$(grep -oE 'ft: [0-9]+' "$log" | tail -n 1 | cut -d' ' -f2)
    corpus=$(grep -oE 'corp: [0-9]+/[0-9]+[a-zA-Z]*' "$log" | tail -n 1 | cut -d' ' -f2)
    local verdict=ok
    if [ $status -ne 0 ] || grep -qE 'ERROR: (AddressSanitizer|LeakSanitizer|libFuzzer)|runtime error:|SUMMARY: ' "$log"; then
        verdict="FAILED (exit $status, see $log and $findings/)"
    fi
    echo "$target: $verdict; ${runs:-?} runs, ${rate:-?} exec/s, cov ${coverage:-?}, ft ${features:-?}, corpus ${corpus:-?}" \
        >"$log.summary"
    [ "$verdict" = ok ]
}

echo "=== fuzz: ${#targets[@]} targets, ${seconds} s each, $jobs at a time"
running=0
for target in "${targets[@]}"; do
    run_target "$target" &
    running=$((running + 1))
    if [ "$running" -ge "$jobs" ]; then
        wait -n
        running=$((running - 1))
    fi
done
wait

passed=0
failed=0
for target in "${targets[@]}"; do
    summary="$logs/$target.log.summary"
    line=$(cat "$summary" 2>/dev/null || echo "$target: NO RESULT")
    echo "$line"
    if [[ "$line" == "$target: ok;"* ]]; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        [ -f "$logs/$target.log" ] && grep -m 5 -E 'ERROR|runtime error|SUMMARY|Test unit written' "$logs/$target.log"
    fi
done
echo "fuzz: ${passed} passed, ${failed} failed"
[ "$failed" -eq 0 ]
