#!/usr/bin/env bash
# Times the capture overlay of the Linux program in a Wayland session: a headless sway with two
# outputs (1920x1080 at scale 1 and 1280x1024 at scale 2), the program in its tray (a
# StatusNotifier host double), Ctrl+F8 bound in sway to the command trigger
# `TovrikOcr --capture-to-file`, as users bind it on wlroots desktops. Builds nothing: give it a
# build folder (preset linux) with TovrikOcr and tovrik-wayland-watch built.
#
#   scripts/bench-overlay-wayland.sh build/linux [idle runs] [idle seconds]
#
# It prints the first capture of a freshly started program (3 starts), captures in a row (5),
# and the figure users meet most: the first capture after the program idled (9 times 35 s by
# default, so the run takes about six minutes), each as the median with every value.
# "Painted" means: tovrik-wayland-watch, which presses the key itself, has seen both outputs
# darker than before (the dimmed overlay covers both) in a screencopy picture; the time of one
# picture of both outputs is printed too, as it bounds how finely the figures are measured.
# Each overlay is ended with ESC before the next run; a "?" is a capture not seen painted within
# 5 s, left out of the medians.
set -uo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

if [ "${1:-}" != --session ]; then
    source "$here/check-lib.sh"
    source "$here/sway-session-lib.sh"
    if [ $# -lt 1 ] || [ ! -d "$1" ]; then
        echo "usage: $0 <build folder> [idle runs] [idle seconds]" >&2
        exit 2
    fi
    build=$(cd "$1" && pwd)
    require_built "$build/src/main/TovrikOcr" "$build/tests/e2e/tovrik-wayland-watch"
    require_commands sway swaymsg wtype dbus-run-session convert
    work=$(mktemp -d /tmp/tovrik-wayland-bench.XXXXXX)
    cp "$build/src/main/TovrikOcr" "$build/tests/e2e/tovrik-wayland-watch" "$here/bench-overlay-wayland.sh" \
        "$here/check-lib.sh" "$here/e2e-desktop-lib.sh" "$here/sway-session-lib.sh" \
        "$here/../tests/e2e/linux/sni_host.py" "$work/"
    echo "${2:-9} ${3:-35}" >"$work/runs"
    sway_session_run "$work" bench-overlay-wayland.sh
    code=$?
    rm -rf "$work"
    exit "$code"
fi

# --- inside the session ----------------------------------------------------------------------
work=$2
source "$work/e2e-desktop-lib.sh"
source "$work/sway-session-lib.sh"
cd "$work" || exit 2
read -r idle_runs idle_seconds <"$work/runs"
enter_sway_session "$work"
export TOVRIK_TEST_HOOK=1
pids=()
cleanup() { end_processes; }
trap cleanup EXIT

convert -size 1920x1080 gradient:'#d0d0d0-#909090' "PNG24:$work/left.png"
convert -size 1280x1024 gradient:'#c0c0c0-#808080' "PNG24:$work/right.png"
program="$work/program/TovrikOcr"
mkdir -p "$work/program"
mv "$work/TovrikOcr" "$program"
printf '[Hotkey]\r\n截图热键=Ctrl+F8\r\n\r\n' >"$work/program/ZuDur.ini"
cat >"$work/sway.config" <<CONFIG
xwayland disable
default_border none
output HEADLESS-1 mode 1920x1080 position 0 0 scale 1 bg $work/left.png stretch
output HEADLESS-2 mode 1280x1024 position 1920 0 scale 2 bg $work/right.png stretch
bindsym Ctrl+F8 exec $program --capture-to-file
CONFIG
start_headless_sway "$work/sway.config" "$work/sway.log"
/usr/bin/python3 "$work/sni_host.py" watch "$work/tray.log" 2>"$work/sni-host.log" &
pids+=("$!")
eventually 5 grep -qs watching "$work/tray.log" || echo "no tray host: $(cat "$work/sni-host.log")"

out="$work/program.out"
: >"$out"
load() { cut -d' ' -f1 /proc/loadavg; }
median_of() { tr ' ' '\n' | grep -E '^[0-9.]+$' | sort -n | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else printf "%.1f\n", (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
start_program() {
    (cd "$work/program" && exec ./TovrikOcr) >>"$out" 2>>"$work/program.log" &
    program_pid=$!
    pids+=("$program_pid")
    wait_for 0 '^TOVRIK-HOOK tray added' 20 >/dev/null || echo "the program did not reach its tray"
    sleep 2
}
stop_program() {
    kill "$program_pid" 2>/dev/null
    wait "$program_pid" 2>/dev/null
}
# One capture: prints the milliseconds from the key to both outputs painted (or "?"); the
# time of one picture goes to $work/grab.ms.
capture_once() {
    local m result
    m=$(mark)
    result=$("$work/tovrik-wayland-watch" 5000 wtype -M ctrl -k F8 -m ctrl)
    wait_for "$m" '^TOVRIK-HOOK overlay shown' 5 >/dev/null
    sleep 0.3
    wtype -k Escape
    wait_for "$m" '^TOVRIK-HOOK overlay closed' 5 >/dev/null || echo "overlay not closed" >&2
    sed -nE 's/.*one picture of all outputs: ([0-9.]+) ms.*/\1/p' <<<"$result" >"$work/grab.ms"
    sed -nE 's/^painted ([0-9.]+) ms.*/\1/p' <<<"$result" | grep . || echo "?"
}

echo "== the first capture of a freshly started program (3 starts, load $(load))"
firsts=""
for start in 1 2 3; do
    start_program
    first=$(capture_once)
    echo "start $start: $first ms (one picture of both outputs: $(cat "$work/grab.ms") ms)"
    firsts="$firsts $first"
    [ "$start" -lt 3 ] && stop_program
done

echo "== captures in a row (5, load $(load))"
rows=""
for run in 1 2 3 4 5; do
    sleep 0.5
    row=$(capture_once)
    echo "in a row $run: $row ms"
    rows="$rows $row"
done

echo "== the first capture after $idle_seconds s idle ($idle_runs times)"
idles=""
for run in $(seq 1 "$idle_runs"); do
    sleep "$idle_seconds"
    idle=$(capture_once)
    echo "after idle $run: $idle ms (load $(load))"
    idles="$idles $idle"
done
stop_program

echo "== summary (sway $(sway --version | awk '{print $3}'), headless, pixman)"
echo "first capture after idle: median $(echo "$idles" | median_of) ms over $idle_runs captures each after $idle_seconds s idle:$idles"
echo "first capture of the process: median $(echo "$firsts" | median_of) ms of 3 starts:$firsts"
echo "in a row: median $(echo "$rows" | median_of) ms:$rows"
echo "one screencopy picture of both outputs: $(cat "$work/grab.ms") ms (the measuring step)"
echo "load at the end: $(uptime)"
