#!/usr/bin/env bash
# Times the local stand-in's warm OCR of an 800x200 strip (request in, JSON out, measured by
# curl) for English and Chinese, and the tesseract command with its default settings on the same
# strips, and prints the figures and ratios against the targets:
#   stand-in English <= 100 ms, Chinese <= 150 ms, and >= 5x faster than the command.
# Usage: bash bench/StandinBench.sh [BUILD_DIR] [RUNS]   (default build/linux, 20 runs)
# Exit status 1 when a target is missed.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
source scripts/standin-lib.sh
build="${1:-build/linux}"
runs="${2:-20}"
standin="$build/standin/tovrik-standin"
render="$build/standin/tovrik-render-sample"
for tool in "$standin" "$render" curl tesseract; do
    command -v "$tool" >/dev/null || { echo "StandinBench: missing $tool (build the stand-in; scripts/setup.sh)" >&2; exit 2; }
done

work=$(mktemp -d)
pid=""
cleanup() {
    if [ -n "$pid" ]; then kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; fi
    rm -rf "$work"
}
trap cleanup EXIT

"$render" --pixel-size 20 --size 800x200 "$work/en.jpg" \
    "The quick brown fox jumps over the lazy dog." \
    "Please check your network connection and try again." \
    "Version 3.14 was released on March 5th, 2024."
"$render" --pixel-size 20 --size 800x200 "$work/zh.jpg" \
    "今天天气很好，我们一起去公园散步。" \
    "文字识别服务在本机上运行，速度很快。" \
    "春天来了，花园里开满了美丽的花朵。"

"$standin" --port 0 --api-key bench-key --secret-key bench-secret >"$work/out" 2>"$work/err" &
pid=$!
port=$(standin_port "$work/out" "$pid")
[ -n "$port" ] || { echo "StandinBench: the stand-in did not start" >&2; cat "$work/err" >&2; exit 2; }
base="http://127.0.0.1:$port"
token=$(standin_token "$base" bench-key bench-secret)


median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# Milliseconds per request: total as curl saw it, and the engine's share from Server-Timing,
# elapsed and in CPU time (the CPU time hardly changes when other programs load the machine).
time_standin() {
    local picture=$1 total=$work/total engine=$work/engine cpu=$work/cpu
    image_body "$picture" >"$work/body"
    : >"$total"; : >"$engine"; : >"$cpu"
    for i in $(seq 1 $((runs + 3))); do
        local line
        line=$(curl -s -D "$work/headers" -o "$work/reply" -w '%{time_total}' --data-binary "@$work/body" \
            -H 'Content-Type: application/x-www-form-urlencoded' "$base/rest/2.0/ocr/v1/general_basic?access_token=$token")
        [ "$i" -le 3 ] && continue  # warm-up
        awk -v t="$line" 'BEGIN { printf "%.1f\n", t * 1000 }' >>"$total"
        sed -n 's/^Server-Timing: ocr;dur=\([0-9.]*\).*/\1/p' "$work/headers" >>"$engine"
        sed -n 's/^Server-Timing: .*cpu;dur=\([0-9.]*\).*/\1/p' "$work/headers" >>"$cpu"
    done
    grep -q '"words_result":\[{' "$work/reply" || { echo "StandinBench: no text recognised in $picture" >&2; exit 2; }
    echo "$(median <"$total") $(median <"$engine") $(median <"$cpu") $(sort -n "$total" | head -1)"
}

time_command() {
    local picture=$1 language=$2 times=$work/cmd
    : >"$times"
    for _ in $(seq 1 5); do
        local start end
        start=$(date +%s%N)
        tesseract "$picture" - -l "$language" >/dev/null 2>&1
        end=$(date +%s%N)
        echo $(((end - start) / 1000000)) >>"$times"
    done
    median <"$times"
}

status=0
report() {
    local name=$1 picture=$2 language=$3 limit=$4
    read -r total engine cpu best < <(time_standin "$picture")
    local command
    command=$(time_command "$picture" "$language")
    local ratio overhead verdict=ok
    ratio=$(awk -v c="$command" -v t="$total" 'BEGIN { printf "%.1f", c / t }')
    overhead=$(awk -v e="$engine" -v t="$total" 'BEGIN { printf "%.1f", t - e }')
    if awk -v t="$total" -v l="$limit" -v r="$ratio" 'BEGIN { exit !(t > l || r < 5) }'; then
        verdict=MISSED
        status=1
    fi
    printf '%-8s stand-in median %6.1f ms (best %.1f; engine %.1f, its CPU time %.1f; HTTP+decode+JSON %s) limit %d ms | tesseract -l %s %d ms | %sx faster (>= 5) %s\n' \
        "$name" "$total" "$best" "$engine" "$cpu" "$overhead" "$limit" "$language" "$command" "$ratio" "$verdict"
}

echo "StandinBench: $runs warm requests each, $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg)"
report English "$work/en.jpg" eng 100
report Chinese "$work/zh.jpg" chi_sim 150
exit $status
