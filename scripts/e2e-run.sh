#!/usr/bin/env bash
# End-to-end test of the README's run command (scripts/run.sh) on a linux-preset build folder:
#   - --demo, and a start without any display, print the sample's recognised and translated text;
#   - under Xvfb (no tray) it starts the stand-in and the program from its own program directory
#     under XDG_DATA_HOME: the settings window shows, the stand-in answers, Ctrl+F11 over the
#     sample recognises it; the program ended, the stand-in is gone too;
#   - a second run keeps the user's own settings; Ctrl+C of the script ends program and stand-in.
#
#   scripts/e2e-run.sh build/linux
#
# Judged by the output, the processes and the program's test-hook markers; every check prints
# PASS or FAIL, the exit code is non-zero when any did not pass. Screenshots: <build>/e2e-run-artifacts.
set -uo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
source scripts/standin-lib.sh
source scripts/check-lib.sh

if [ $# -ne 1 ] || [ ! -x "$1/standin/tovrik-render-sample" ]; then
    echo "usage: $0 <linux build folder with tovrik-render-sample built>" >&2
    exit 2
fi
build=$(cd "$1" && pwd)
require_commands Xvfb xdotool xwininfo import display identify curl iconv pgrep
work=$(mktemp -d "${TMPDIR:-/tmp}/tovrik-e2e-run.XXXXXX")
artifacts="$build/e2e-run-artifacts"
mkdir -p "$artifacts"
passed=0
failed=0
pids=()
cleanup() {
    cp "$work"/*.out "$work"/*.err "$artifacts/" 2>/dev/null
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
    for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null; done
    rm -rf "$work"
}
trap cleanup EXIT
export BUILD_DIR="$build" XDG_DATA_HOME="$work/data" HOME="$work/home" XDG_CONFIG_HOME="$work/config"
export LANG=C.UTF-8 LC_ALL=C.UTF-8
unset DBUS_SESSION_BUS_ADDRESS WAYLAND_DISPLAY
mkdir -p "$HOME"

# demo_checks <label> <output file>: the sample's two lines recognised, then translated.
demo_checks() {
    local out=$2 recognised translated
    recognised=$(sed -n '/^== TovrikOcr --recognize sample.png$/,/^== TovrikOcr --recognize sample.png --translate$/p' "$out")
    translated=$(sed -n '/^== TovrikOcr --recognize sample.png --translate$/,$p' "$out")
    if grep -q 'The printer on the second floor is out of paper' <<<"$recognised" &&
        grep -q '明天下午我们在会议室讨论新的计划' <<<"$recognised"; then
        pass "$1: both lines of the sample recognised"
    else
        fail "$1: both lines of the sample recognised" "$(tr '\n' '|' <<<"$recognised")"
    fi
    # Translated into English: the Chinese line word by word (a dictionary's), the English one kept.
    if grep -qi 'tomorrow afternoon' <<<"$translated" && grep -qi 'meeting' <<<"$translated" &&
        grep -q 'The printer on the second floor' <<<"$translated"; then
        pass "$1: the sample translated"
    else
        fail "$1: the sample translated" "$(tr '\n' '|' <<<"$translated")"
    fi
}

# --- the demonstration -------------------------------------------------------------------
bash scripts/run.sh --demo >"$work/demo.out" 2>&1
demo_checks "run.sh --demo" "$work/demo.out"
(unset DISPLAY && exec bash scripts/run.sh) >"$work/nodisplay.out" 2>&1
if grep -q 'no display' "$work/nodisplay.out"; then pass "without a display run.sh says so"; else
    fail "without a display run.sh says so"
fi
demo_checks "run.sh without a display" "$work/nodisplay.out"
if [ ! -d "$XDG_DATA_HOME/TovrikOcr/run" ]; then pass "the demonstration leaves no program directory"; else
    fail "the demonstration leaves no program directory"
fi

# --- the desktop program -----------------------------------------------------------------
start_xvfb 150 1280x800 "$work/xvfb.err" || fail "Xvfb takes clients" "$(cat "$work/xvfb.err")"
export TOVRIK_TEST_HOOK=1
program_dir="$XDG_DATA_HOME/TovrikOcr/run"
settings="$program_dir/ZuDur.ini"

run_pid=""
program_pid=""
standin_pid=""
# start_run <name>: run.sh in a process group of its own, as a terminal runs it (Ctrl+C reaches
# the script); sets run_pid, and program_pid and standin_pid once both run.
start_run() {
    set -m
    bash scripts/run.sh >"$work/$1.out" 2>"$work/$1.err" &
    run_pid=$!
    set +m
    pids+=("$run_pid")
    program_pid=""
    standin_pid=""
    for _ in $(seq 1 1200); do
        program_pid=$(pgrep -P "$run_pid" -x TovrikOcr)
        standin_pid=$(pgrep -P "$run_pid" -f "/standin/tovrik-standin ")
        [ -n "$program_pid" ] && [ -n "$standin_pid" ] && return 0
        kill -0 "$run_pid" 2>/dev/null || return 1
        sleep 0.1
    done
    return 1
}
# gone <pid> <seconds>: true once the process has ended.
gone() {
    for _ in $(seq 1 $(($2 * 10))); do
        kill -0 "$1" 2>/dev/null || return 0
        sleep 0.1
    done
    return 1
}
standin_answers() {
    curl -s --max-time 5 "$1/oauth/2.0/token?grant_type=client_credentials&client_id=$2&client_secret=$3" |
        grep -q '"access_token"'
}
base_url() { iconv -f GBK -t UTF-8 "$settings" | sed -n 's/^OcrBaseUrl=//p' | tr -d '\r'; }

if start_run first; then
    pass "run.sh starts the stand-in and the program"
else
    fail "run.sh starts the stand-in and the program" "$(tail -n 5 "$work/first.err")"
fi
if [ "$(readlink "/proc/$program_pid/cwd")" = "$program_dir" ] && [ -f "$settings" ]; then
    pass "the program runs in its own directory $program_dir with a settings file"
else
    fail "the program's directory" "cwd $(readlink "/proc/$program_pid/cwd"), settings $(ls "$settings" 2>&1)"
fi
window=""
for _ in $(seq 1 150); do
    window=$(xdotool search --onlyvisible --pid "$program_pid" 2>/dev/null | head -n 1)
    [ -n "$window" ] && break
    sleep 0.1
done
if [ -n "$window" ] && grep -q '^TOVRIK-HOOK shown 设置窗口' "$work/first.out"; then
    pass "without a tray the settings window shows ($(xdotool getwindowname "$window"))"
else
    fail "the program's window shows" "window '$window'; $(grep -c TOVRIK-HOOK "$work/first.out") hook lines"
fi
sleep 0.5
import -window root "$artifacts/run-settings-window.png" 2>/dev/null
base=$(base_url)
if [[ "$base" =~ ^http://127\.0\.0\.1:[0-9]+$ ]] && standin_answers "$base" run-api-key run-secret-key; then
    pass "the settings point at the stand-in, which answers ($base)"
else
    fail "the stand-in answers at the settings' address" "'$base'"
fi

# Ctrl+F11 over the sample: what a new user is told to do.
hotkeys=""
for _ in $(seq 1 100); do
    hotkeys=$(grep -m 1 '^TOVRIK-HOOK text 设置窗口/透明标签_热键提示 热键设置完毕!' "$work/first.out") && break
    sleep 0.1
done
if [ -n "$hotkeys" ]; then pass "the program has its hotkeys"; else
    fail "the program has its hotkeys" "$(grep -m 1 '热键提示' "$work/first.out")"
fi
"$build/standin/tovrik-render-sample" "$work/sample.png" "The printer on the second floor is out of paper." \
    "明天下午我们在会议室讨论新的计划。" >/dev/null 2>&1
display -geometry +40+560 "$work/sample.png" >/dev/null 2>&1 &
pids+=("$!")
sleep 1.5
read -r sample_w sample_h <<<"$(identify -format '%w %h' "$work/sample.png")"
lines=$(wc -l <"$work/first.out")
xdotool key --clearmodifiers ctrl+F11
ocr=""
for _ in $(seq 1 50); do
    tail -n +"$((lines + 1))" "$work/first.out" | grep -q '^TOVRIK-HOOK overlay shown' && break
    sleep 0.1
done
sleep 0.3
x1=40 y1=560 x2=$((40 + sample_w)) y2=$((560 + sample_h))
xdotool mousemove "$x1" "$y1" sleep 0.1 mousedown 1 sleep 0.05 mousemove $(((x1 + x2) / 2)) $(((y1 + y2) / 2)) \
    sleep 0.05 mousemove "$x2" "$y2" sleep 0.05 mouseup 1 sleep 0.2
xdotool mousemove $(((x1 + x2) / 2)) $(((y1 + y2) / 2)) sleep 0.1 click --repeat 2 --delay 60 1
for _ in $(seq 1 600); do
    ocr=$(tail -n +"$((lines + 1))" "$work/first.out" | grep -m 1 '^TOVRIK-HOOK text 主窗口/编辑框_OCR .')
    [ -n "$ocr" ] && break
    sleep 0.1
done
if grep -q 'printer' <<<"$ocr" && grep -q '会议室' <<<"$ocr"; then
    pass "Ctrl+F11 over the sample shows its text"
else
    fail "Ctrl+F11 over the sample shows its text" "${ocr:-nothing}"
fi
sleep 1
import -window root "$artifacts/run-recognised.png" 2>/dev/null

# The program ends: run.sh ends and takes the stand-in with it.
kill "$program_pid" 2>/dev/null
if gone "$run_pid" 10 && gone "$standin_pid" 5 && ! standin_answers "$base" run-api-key run-secret-key; then
    pass "the program ended, run.sh ends and the stand-in is gone"
else
    fail "the program ended, run.sh ends and the stand-in is gone" "$(ps -o pid,comm -p "$run_pid,$standin_pid" | tail -n +2)"
fi
if grep -q 'TovrikOcr ended' "$work/first.err"; then pass "run.sh tells the program ended"; else
    fail "run.sh tells the program ended"
fi

# --- a second run keeps the user's settings; Ctrl+C ends it ------------------------------
# A setting of the user's own: a hotkey changed in the settings window, and one service moved
# to a host of its own.
edited=$(iconv -f GBK -t UTF-8 "$settings" |
    sed 's/^截图热键=.*/截图热键=Ctrl+F7/; s#^SpeechBaseUrl=.*#SpeechBaseUrl=https://speech.example#')
iconv -f UTF-8 -t GBK <<<"$edited" >"$settings"
# The first run's port taken by another program meanwhile: the stand-in takes another one.
python3 -c 'import socket, sys, time
s = socket.socket(); s.bind(("127.0.0.1", int(sys.argv[1]))); s.listen(); time.sleep(600)' "${base##*:}" &
pids+=("$!")
sleep 0.5
before_exe=$(stat -c %Y "$program_dir/TovrikOcr")
touch -d '2 days ago' "$program_dir/TovrikOcr"
if start_run second; then
    pass "a second run starts again"
else
    fail "a second run starts again" "$(tail -n 5 "$work/second.err")"
fi
text=$(iconv -f GBK -t UTF-8 "$settings" | tr -d '\r')
new_base=$(base_url)
if grep -qx '截图热键=Ctrl+F7' <<<"$text" && grep -qx 'SpeechBaseUrl=https://speech.example' <<<"$text" &&
    grep -qx "TranslateBaseUrl=$new_base" <<<"$text" && grep -qx "OcrBaseUrl=$new_base" <<<"$text" &&
    [ "$new_base" != "$base" ] && standin_answers "$new_base" run-api-key run-secret-key; then
    pass "the second run keeps the user's settings and points at its stand-in (${base##*:} taken: $new_base)"
else
    fail "the second run keeps the user's settings" "$(tr '\n' '|' <<<"$text")"
fi
shown_hotkey=""
for _ in $(seq 1 100); do
    shown_hotkey=$(grep '^TOVRIK-HOOK text 设置窗口/编辑框_截图 ' "$work/second.out" | tail -n 1)
    [ -n "$shown_hotkey" ] && break
    sleep 0.1
done
if [ "$shown_hotkey" = "TOVRIK-HOOK text 设置窗口/编辑框_截图 Ctrl+F7" ]; then
    pass "the program of the second run takes the user's hotkey"
else
    fail "the program of the second run takes the user's hotkey" "'$shown_hotkey'"
fi
if [ "$(stat -c %Y "$program_dir/TovrikOcr")" -ge "$before_exe" ]; then
    pass "the second run refreshes the executable"
else
    fail "the second run refreshes the executable"
fi
for _ in $(seq 1 100); do
    xdotool search --onlyvisible --pid "$program_pid" >/dev/null 2>&1 && break
    sleep 0.1
done
# Ctrl+C in the terminal: SIGINT to the script's process group.
kill -INT -- "-$run_pid" 2>/dev/null
if gone "$run_pid" 10 && gone "$program_pid" 5 && gone "$standin_pid" 5; then
    pass "Ctrl+C of run.sh ends the program and the stand-in"
else
    fail "Ctrl+C of run.sh ends the program and the stand-in" \
        "$(ps -o pid,comm -p "$run_pid,$program_pid,$standin_pid" | tail -n +2)"
fi

echo "run script check: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
