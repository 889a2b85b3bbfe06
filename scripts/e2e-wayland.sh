#!/usr/bin/env bash
# End-to-end test of the Linux program in a Wayland session: a headless sway with two outputs
# (1920x1080 at scale 1 and, to its right, 1280x1024 at scale 2) whose backgrounds are known
# patterns. Builds nothing: give it a build folder of the preset "linux" in which TovrikOcr,
# tovrik-standin and tovrik-render-sample have been built.
#
#   scripts/e2e-wayland.sh build/linux
#
# sway refuses to run as root, and CI runs as root: then the script makes a throwaway user and
# runs the session as that user (runuser, dbus-run-session), in a folder of its own with its own
# XDG_RUNTIME_DIR. The program is driven through sway's own key bindings, which run its command
# triggers, the pointer through `swaymsg seat - cursor`, keys through wtype; it is judged by
# files, the clipboard (wl-paste) and pixels (grim, ImageMagick). Every check prints PASS or
# FAIL; the exit code is non-zero when any check did not pass. Screenshots and logs go to
# <build>/e2e-wayland-artifacts/.
set -uo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

if [ "${1:-}" != --session ]; then
    # --- outside the session: tools, the user, the folder -----------------------------------
    if [ $# -ne 1 ] || [ ! -d "$1" ]; then
        echo "usage: $0 <build folder>" >&2
        exit 2
    fi
    build=$(cd "$1" && pwd)
    for tool in "$build/src/main/TovrikOcr" "$build/standin/tovrik-standin" "$build/standin/tovrik-render-sample"; do
        if [ ! -x "$tool" ]; then
            echo "FAIL setup: $tool is not built" >&2
            exit 2
        fi
    done
    for command in sway swaymsg swaybg wtype grim wl-paste dbus-run-session convert compare identify iconv; do
        if ! command -v "$command" >/dev/null; then
            echo "FAIL setup: $command is missing (scripts/setup.sh installs it)" >&2
            exit 2
        fi
    done
    artifacts="$build/e2e-wayland-artifacts"
    mkdir -p "$artifacts"
    work=$(mktemp -d /tmp/tovrik-wayland.XXXXXX)
    chmod 755 "$work"
    cp "$build/src/main/TovrikOcr" "$build/standin/tovrik-standin" "$build/standin/tovrik-render-sample" \
        "$here/e2e-wayland.sh" "$here/standin-lib.sh" "$work/"
    runner=()
    if [ "$(id -u)" -eq 0 ]; then
        user=tovrik-e2e
        if ! id "$user" >/dev/null 2>&1; then
            useradd --no-create-home --home-dir "$work/home" --shell /bin/sh "$user" || {
                echo "FAIL setup: cannot create the user $user" >&2
                exit 2
            }
        fi
        chown -R "$user:" "$work"
        runner=(runuser -u "$user" --)
    fi
    "${runner[@]}" env -i PATH="$PATH" LANG=C.UTF-8 LC_ALL=C.UTF-8 HOME="$work/home" \
        TOVRIK_IDLE_SECONDS="${TOVRIK_IDLE_SECONDS:-}" TOVRIK_TIMING_RUNS="${TOVRIK_TIMING_RUNS:-}" \
        dbus-run-session -- bash "$work/e2e-wayland.sh" --session "$work"
    code=$?
    cp "$work"/*.log "$work"/*.out "$work"/*.png "$artifacts/" 2>/dev/null
    rm -rf "$work"
    exit "$code"
fi

# --- inside the session ----------------------------------------------------------------------
work=$2
source "$work/standin-lib.sh"
cd "$work" || exit 2
export XDG_RUNTIME_DIR="$work/runtime" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data"
export HOME="$work/home" TOVRIK_TEST_HOOK=1 OMP_THREAD_LIMIT=1
mkdir -p "$XDG_RUNTIME_DIR" "$HOME" "$XDG_CONFIG_HOME"
chmod 700 "$XDG_RUNTIME_DIR"
passed=0
failed=0
pids=()
pass() {
    echo "PASS $1"
    passed=$((passed + 1))
}
fail() {
    echo "FAIL $1${2:+: $2}"
    failed=$((failed + 1))
}
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
    for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null; done
}
trap cleanup EXIT

# The backgrounds: a pattern for each output at its physical size, and the desktop as the
# program should see it, both side by side (what the scale-2 output does not cover is black).
convert -size 1920x1080 -seed 11 plasma:fractal -blur 0x1 "$work/left.png"
convert -size 1280x1024 -seed 23 plasma:fractal "$work/right.png"
"$work/tovrik-render-sample" --pixel-size 28 "$work/sample.png" "Hello world from TovrikOcr" "今天天气很好" \
    >/dev/null 2>&1
read -r sample_w sample_h <<<"$(identify -format '%w %h' "$work/sample.png")"
convert "$work/left.png" "$work/sample.png" -geometry +300+600 -composite "$work/left.png"
convert "$work/left.png" \( "$work/right.png" -background black -gravity north -extent 1280x1080 \) \
    -gravity northwest +append "$work/desktop.png"

program="$work/program/TovrikOcr"
mkdir -p "$work/program"
mv "$work/TovrikOcr" "$program"
cat >"$work/sway.config" <<EOF
xwayland disable
default_border none
output HEADLESS-1 mode 1920x1080 position 0 0 scale 1 bg $work/left.png stretch
output HEADLESS-2 mode 1280x1024 position 1920 0 scale 2 bg $work/right.png stretch
bindsym Ctrl+F8 exec $program --capture-to-file
bindsym Ctrl+F9 exec $program --capture-and-copy
bindsym Ctrl+F11 exec $program --capture-and-translate
EOF

WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 WLR_HEADLESS_OUTPUTS=1 \
    sway -c "$work/sway.config" >"$work/sway.log" 2>&1 &
pids+=("$!")
for _ in $(seq 1 100); do
    SWAYSOCK=$(ls "$XDG_RUNTIME_DIR"/sway-ipc.*.sock 2>/dev/null | head -n 1)
    [ -n "$SWAYSOCK" ] && swaymsg -s "$SWAYSOCK" -t get_version >/dev/null 2>&1 && break
    sleep 0.1
done
export SWAYSOCK
export WAYLAND_DISPLAY=$(cd "$XDG_RUNTIME_DIR" && ls wayland-* 2>/dev/null | grep -v lock | head -n 1)
export XDG_SESSION_TYPE=wayland
unset DISPLAY
swaymsg create_output >/dev/null
sleep 1
outputs=$(swaymsg -t get_outputs -r | grep -c '"name": "HEADLESS-')
if [ "$outputs" = 2 ]; then pass "sway with two outputs"; else fail "sway with two outputs" "$outputs"; fi
grim "$work/session.png"

# --- the program -----------------------------------------------------------------------------
api_key=e2e-api-key
secret_key=e2e-secret-key
"$work/tovrik-standin" --port 0 --api-key "$api_key" --secret-key "$secret_key" >"$work/standin.out" \
    2>"$work/standin.log" &
pids+=("$!")
port=$(standin_port "$work/standin.out" "$!")
[ -n "$port" ] || fail "stand-in" "did not start"
standin_settings "$api_key" "$secret_key" "http://127.0.0.1:$port" >"$work/program/ZuDur.ini"

out="$work/program.out"
: >"$out"
start_program() {
    (cd "$work/program" && exec ./TovrikOcr) >>"$out" 2>>"$work/program.log" &
    program_pid=$!
    pids+=("$program_pid")
}
mark() { wc -l <"$out"; }
wait_for() {
    local from=$1 pattern=$2 seconds=${3:-10} line
    for _ in $(seq 1 $((seconds * 20))); do
        line=$(tail -n +"$((from + 1))" "$out" | grep -m 1 -E -- "$pattern")
        if [ -n "$line" ]; then
            echo "$line"
            return 0
        fi
        sleep 0.05
    done
    return 1
}
wait_exit() {
    local pid=$1 seconds=${2:-10}
    for _ in $(seq 1 $((seconds * 20))); do
        if ! kill -0 "$pid" 2>/dev/null; then
            wait "$pid" 2>/dev/null
            return $?
        fi
        sleep 0.05
    done
    return 124
}
# The pointer in the compositor's logical coordinates.
pointer_to() { swaymsg seat - cursor set "$1" "$2" >/dev/null; }
press() { swaymsg seat - cursor press button1 >/dev/null; }
release() { swaymsg seat - cursor release button1 >/dev/null; }
# drag <x1> <y1> <x2> <y2> (logical): a selection, then a double-click inside it.
drag_and_finish() {
    pointer_to "$1" "$2"
    sleep 0.1
    press
    pointer_to $((($1 + $3) / 2)) $((($2 + $4) / 2))
    sleep 0.05
    pointer_to "$3" "$4"
    sleep 0.05
    release
    sleep 0.2
    pointer_to $((($1 + $3) / 2)) $((($2 + $4) / 2))
    sleep 0.1
    press
    release
    press
    release
}
# same_pixels <picture> <expected>: equal sizes and no pixel different.
same_pixels() {
    [ "$(identify -format '%wx%h' "$1" 2>/dev/null)" = "$(identify -format '%wx%h' "$2" 2>/dev/null)" ] &&
        [ "$(compare -metric AE "$1" "$2" null: 2>&1)" = 0 ]
}
mean_of() { convert "$1" -colorspace gray -format '%[fx:int(mean*1000)]' info:; }

start_program
if wait_for 0 '^TOVRIK-HOOK shown 设置窗口' 15 >/dev/null; then
    pass "the program starts as a Wayland client and shows its settings window"
else
    fail "the program starts as a Wayland client" "$(tail -n 3 "$work/program.log")"
fi
if grep -q 'screen pictures through wlr-screencopy' "$work/program.log"; then
    pass "the screen source is wlr-screencopy"
else
    fail "the screen source is wlr-screencopy" "$(grep -m1 'screen pictures' "$work/program.log")"
fi
if wait_for 0 '^TOVRIK-HOOK text 设置窗口/透明标签_热键提示 .*--capture-to-file' 5 >/dev/null; then
    pass "without global shortcuts the hint line tells how to bind the command"
else
    fail "the hint line about binding the command"
fi
sleep 1
# The pointer off the areas that are compared.
pointer_to 5 5

# --- capture to file: the overlay on both outputs, a drag across both ------------------------
m=$(mark)
wtype -M ctrl -k F8 -m ctrl
if wait_for "$m" '^TOVRIK-HOOK overlay shown 0,0,3200x1080 outputs 2' 10 >/dev/null; then
    pass "the capture-to-file trigger shows the overlay over both outputs"
    sleep 0.6
    grim -o HEADLESS-1 "$work/overlay-left.png"
    grim -o HEADLESS-2 "$work/overlay-right.png"
    if [ "$(identify -format '%wx%h' "$work/overlay-right.png")" = 1280x1024 ] &&
        [ "$(mean_of "$work/overlay-left.png")" -lt "$(mean_of "$work/left.png")" ] &&
        [ "$(mean_of "$work/overlay-right.png")" -lt "$(mean_of "$work/right.png")" ]; then
        pass "both outputs show the dimmed frozen picture"
    else
        fail "both outputs show the dimmed frozen picture"
    fi
    # Physical 1700,200 on the left output to 2400,700: logical 2160,350 on the right one.
    drag_and_finish 1700 200 2160 350
    wait_for "$m" '^TOVRIK-HOOK overlay closed' 5 >/dev/null
    file=""
    for _ in $(seq 1 60); do
        file=$(find "$work/program/截图" -maxdepth 1 -name '*.png' 2>/dev/null | head -n 1)
        [ -n "$file" ] && break
        sleep 0.1
    done
    convert "$work/desktop.png" -crop 700x500+1700+200 +repage "$work/expected-file.png"
    if [ -n "$file" ] && same_pixels "$file" "$work/expected-file.png"; then
        pass "the saved PNG is the desktop at physical pixels across both outputs (700x500)"
    else
        [ -n "$file" ] && cp "$file" "$work/saved.png"
        fail "the saved PNG equals the pattern" "file '${file}' $(identify -format '%wx%h' "$file" 2>/dev/null) AE $(compare -metric AE "$file" "$work/expected-file.png" null: 2>&1)"
    fi
else
    fail "the capture-to-file trigger shows the overlay over both outputs" "$(tail -n 3 "$out")"
fi

echo "${passed} passed, ${failed} failed"
[ "$failed" -eq 0 ]
