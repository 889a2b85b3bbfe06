#!/usr/bin/env bash
# Translates a sentence file through a fresh local stand-in's plain-text interface and prints,
# per sentence and overall, the share of the source left untranslated (goal <= 10%) and whether
# the key word came through (goal >= 80% of the sentences), then the dictionary's own figures
# (index load <= 300 ms, time per sentence <= 5 ms, memory <= 80 MB) from
# tovrik-translate-bench --local.
# Usage: bash bench/TranslateBench.sh [BUILD_DIR] [SENTENCES]
#        (default build/linux and bench/translate-check.tsv, the sentences nobody tuned for)
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
source scripts/standin-lib.sh
build="${1:-build/linux}"
sentences="${2:-bench/translate-check.tsv}"
standin="${STANDIN:-$build/standin/tovrik-standin}"
bench="$build/standin/tovrik-translate-bench"
for tool in "$standin" "$bench"; do
    [ -x "$tool" ] || { echo "TranslateBench: missing $tool (build tovrik-standin and tovrik-translate-bench)" >&2; exit 2; }
done
[ -f "$sentences" ] || { echo "TranslateBench: no sentence file $sentences" >&2; exit 2; }

work=$(mktemp -d "${TMPDIR:-/tmp}/tovrik-translate.XXXXXX")
pid=""
cleanup() {
    if [ -n "$pid" ]; then kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; fi
    rm -rf "$work"
}
trap cleanup EXIT

"$standin" --port 0 >"$work/out" 2>"$work/err" &
pid=$!
port=$(standin_port "$work/out" "$pid")
[ -n "$port" ] || { echo "TranslateBench: the stand-in did not start" >&2; cat "$work/err" >&2; exit 2; }
echo "TranslateBench: $sentences, $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg)"
"$bench" --port "$port" "$sentences"
if [ -f "$build/standin/dictionary.idx" ]; then
    "$bench" --local "$build/standin/dictionary.idx" "$sentences"
fi
