#!/usr/bin/env bash
# OCR of screens of real programs: renders the screens of bench/screens/tuning.list, heldout.list,
# fresh.list, fresh2.list and fresh3.list (xterm, GTK and Qt dialogs with openbox's title bars,
# lists; light and dark; 100-200%) under Xvfb, sends each picture to the local stand-in as the
# program does, and reads it with the tesseract command too. Prints per picture the character
# error rate of both and the stand-in's warm time (engine time from Server-Timing, elapsed and
# CPU), then per set and overall the error rate (errors over all characters) and the median time,
# against the targets:
#   stand-in <= 2% overall, no picture above 10%, median <= 150 ms per picture.
# The pictures are made at each run and kept in the work folder printed at the end (KEEP=1).
# Usage: [KEEP=1] [PICTURES=KEPT_DIR] bash bench/ScreensBench.sh [BUILD_DIR] [RUNS]   (default build/linux, 3 warm runs)
# Exit status 1 when a target is missed.
set -euo pipefail
shopt -s nullglob
cd "$(dirname "${BASH_SOURCE[0]}")/.."
source scripts/standin-lib.sh
build="${1:-build/linux}"
runs="${2:-3}"
standin="$build/standin/tovrik-standin"
for tool in "$standin" curl tesseract python3 cmake; do
    command -v "$tool" >/dev/null || { echo "ScreensBench: missing $tool (build the stand-in; scripts/setup.sh)" >&2; exit 2; }
done

work=$(mktemp -d)
pid=""
cleanup() {
    if [ -n "$pid" ]; then kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; fi
    if [ "${KEEP:-0}" = 1 ]; then echo "ScreensBench: pictures kept in $work"; else rm -rf "$work"; fi
}
trap cleanup EXIT

qt="$build/screens-qt-dialog"
if [ -z "${PICTURES:-}" ]; then
    { cmake -S bench/screens/qtdialog -B "$qt" -DCMAKE_BUILD_TYPE=Release && cmake --build "$qt"; } >"$work/qt-build.log" 2>&1 ||
        { cat "$work/qt-build.log" >&2; exit 2; }
fi
sets=(tuning heldout fresh fresh2 fresh3)
if [ -n "${PICTURES:-}" ]; then
    work_pictures=$PICTURES # pictures of an earlier run (KEEP=1), when only the OCR changed
else
    work_pictures=$work
    for set in "${sets[@]}"; do
        bash bench/screens/Screens.sh "bench/screens/$set.list" "$work/$set" "$qt/screens-qt-dialog"
    done
fi

OMP_THREAD_LIMIT=1 "$standin" --port 0 --api-key bench-key --secret-key bench-secret >"$work/out" 2>"$work/err" &
pid=$!
port=$(standin_port "$work/out" "$pid")
[ -n "$port" ] || { echo "ScreensBench: the stand-in did not start" >&2; cat "$work/err" >&2; exit 2; }
base="http://127.0.0.1:$port"
token=$(standin_token "$base" bench-key bench-secret)

median() { sort -n | awk '{ v[NR] = $1 } END { if (NR == 0) print 0; else print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
rate() { awk -v e="$1" -v n="$2" 'BEGIN { printf "%.1f", (n > 0 ? 100 * e / n : 0) }'; }

# Reads a picture with the stand-in (one cold request, then RUNS warm ones); writes the lines to
# $2 and prints the medians of the warm engine time and its CPU time.
read_standin() {
    local picture=$1 text=$2
    image_body "$picture" >"$work/body"
    : >"$work/engine"; : >"$work/cpu"
    for i in $(seq 0 "$runs"); do
        curl -s -D "$work/headers" -o "$work/reply" --data-binary "@$work/body" \
            -H 'Content-Type: application/x-www-form-urlencoded' "$base/rest/2.0/ocr/v1/general_basic?access_token=$token"
        [ "$i" -eq 0 ] && continue
        sed -n 's/^Server-Timing: ocr;dur=\([0-9.]*\).*/\1/p' "$work/headers" >>"$work/engine"
        sed -n 's/^Server-Timing: .*cpu;dur=\([0-9.]*\).*/\1/p' "$work/headers" >>"$work/cpu"
    done
    python3 -c 'import json, sys; print("\n".join(w["words"] for w in json.load(open(sys.argv[1]))["words_result"]))' \
        "$work/reply" >"$text"
    echo "$(median <"$work/engine") $(median <"$work/cpu")"
}

status=0
echo "ScreensBench: $(nproc) cores, load at start $(cut -d' ' -f1-3 /proc/loadavg); $runs warm requests per picture"
printf '%-22s %6s %9s %8s %8s %10s\n' picture chars stand-in ms cpu-ms tesseract
all_errors=0 all_chars=0 all_cmd=0
: >"$work/all-times"
for set in "${sets[@]}"; do
    errors=0 chars=0 cmd_errors=0 worst=0
    : >"$work/times"
    mkdir -p "$work/$set"
    for expected in "$work_pictures/$set"/*.txt; do
        name=$(basename "$expected" .txt)
        case $name in *.*) continue ;; esac # readings of an earlier run
        picture="$work_pictures/$set/$name.png"
        read -r engine cpu < <(read_standin "$picture" "$work/$set/$name.standin")
        language=eng
        grep -qP '[\x{4e00}-\x{9fff}]' "$expected" && language=chi_sim+eng
        OMP_THREAD_LIMIT=1 tesseract "$picture" "$work/$set/$name.cmd" -l "$language" >/dev/null 2>&1
        read -r e n < <(python3 bench/screens/Score.py "$expected" "$work/$set/$name.standin")
        read -r ce _ < <(python3 bench/screens/Score.py "$expected" "$work/$set/$name.cmd.txt")
        errors=$((errors + e)) chars=$((chars + n)) cmd_errors=$((cmd_errors + ce))
        echo "$engine" >>"$work/times"
        echo "$engine" >>"$work/all-times"
        r=$(rate "$e" "$n")
        awk -v r="$r" 'BEGIN { exit !(r > 10) }' && { worst=1; status=1; }
        printf '%-22s %6d %8s%% %8.1f %8.1f %9s%%\n' "$set/$name" "$n" "$r" "$engine" "$cpu" "$(rate "$ce" "$n")"
    done
    all_errors=$((all_errors + errors)) all_chars=$((all_chars + chars)) all_cmd=$((all_cmd + cmd_errors))
    printf '%-22s %6d %8s%% %8.1f %8s %9s%%%s\n' "$set (median ms)" "$chars" "$(rate "$errors" "$chars")" \
        "$(median <"$work/times")" "" "$(rate "$cmd_errors" "$chars")" "$([ "$worst" = 1 ] && echo '  a picture above 10%')"
done
overall=$(rate "$all_errors" "$all_chars")
time_all=$(median <"$work/all-times")
verdict=ok
if awk -v r="$overall" -v t="$time_all" 'BEGIN { exit !(r > 2 || t > 150) }' || [ "$status" = 1 ]; then
    verdict=MISSED
    status=1
fi
printf 'overall: stand-in %s%% (<= 2%%, none above 10%%), median %s ms (<= 150) | tesseract command %s%% | %s; load at end %s\n' \
    "$overall" "$time_all" "$(rate "$all_cmd" "$all_chars")" "$verdict" "$(cut -d' ' -f1-3 /proc/loadavg)"
exit $status
