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
# triggers, the pointer through `swaymsg seat - cursor` (on a virtual pointer the probe adds: a
# headless seat has none), keys through wtype, the tray through a StatusNotifier host double
# (tests/e2e/linux/sni_host.py); it is judged by files, the clipboard (wl-paste), the markers the
# program prints in test builds (TOVRIK_TEST_HOOK=1) and pixels (grim, ImageMagick). Every check prints PASS or
# FAIL; the exit code is non-zero when any check did not pass. Screenshots and logs go to
# <build>/e2e-wayland-artifacts/.
set -uo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

if [ "${1:-}" != --session ]; then
    # --- outside the session: tools, the user, the folder -----------------------------------
    source "$here/check-lib.sh"
    source "$here/sway-session-lib.sh"
    if [ $# -ne 1 ] || [ ! -d "$1" ]; then
        echo "usage: $0 <build folder>" >&2
        exit 2
    fi
    build=$(cd "$1" && pwd)
    probe="$build/tests/e2e/tovrik-wayland-probe"
    require_built "$build/src/main/TovrikOcr" "$build/standin/tovrik-standin" "$build/standin/tovrik-render-sample" \
        "$probe"
    require_commands sway swaymsg swaybg wtype grim wl-paste dbus-run-session convert compare identify iconv
    if ! /usr/bin/python3 -c 'import dbus, gi' 2>/dev/null; then
        echo "FAIL setup: /usr/bin/python3 lacks dbus or gi (python3-dbus, python3-gi; scripts/setup.sh)" >&2
        exit 2
    fi
    artifacts="$build/e2e-wayland-artifacts"
    mkdir -p "$artifacts"
    work=$(mktemp -d /tmp/tovrik-wayland.XXXXXX)
    cp "$build/src/main/TovrikOcr" "$build/standin/tovrik-standin" "$build/standin/tovrik-render-sample" "$probe" \
        "$here/e2e-wayland.sh" "$here/standin-lib.sh" "$here/e2e-desktop-lib.sh" "$here/check-lib.sh" \
        "$here/sway-session-lib.sh" "$here/../tests/e2e/linux/sni_host.py" "$work/"
    sway_session_run "$work" e2e-wayland.sh
    code=$?
    cp "$work"/*.log "$work"/*.out "$artifacts/" 2>/dev/null
    # The screenshots and the pictures compared; the big patterns can be made again.
    for picture in "$work"/*.png; do
        case "$(basename "$picture")" in left.png | right.png | desktop.png) ;; *) cp "$picture" "$artifacts/" ;; esac
    done
    rm -rf "$work"
    exit "$code"
fi

# --- inside the session ----------------------------------------------------------------------
work=$2
source "$work/standin-lib.sh"
source "$work/e2e-desktop-lib.sh"
source "$work/sway-session-lib.sh"
cd "$work" || exit 2
enter_sway_session "$work"
export TOVRIK_TEST_HOOK=1 OMP_THREAD_LIMIT=1
pids=()
cleanup() { end_processes; }
trap cleanup EXIT
# same_pixels <picture> <expected>: equal sizes and no pixel different.
same_pixels() {
    [ "$(size_of "$1")" = "$(size_of "$2")" ] && [ "$(compare -metric AE "$1" "$2" null: 2>&1)" = 0 ]
}

# The backgrounds: a pattern for each output at its physical size, and the desktop as the
# program should see it, both side by side (what the scale-2 output does not cover is black).
convert -size 1920x1080 -seed 11 plasma:fractal -blur 0x1 -depth 8 "PNG24:$work/left.png"
convert -size 1280x1024 -seed 23 plasma:fractal -depth 8 "PNG24:$work/right.png"
"$work/tovrik-render-sample" --pixel-size 28 "$work/sample.png" "Hello world from TovrikOcr" "今天天气很好" \
    >/dev/null 2>&1
read -r sample_w sample_h <<<"$(identify -format '%w %h' "$work/sample.png")"
convert "$work/left.png" "$work/sample.png" -geometry +300+600 -composite -depth 8 "PNG24:$work/left.png"
convert "$work/left.png" \( "$work/right.png" -background black -gravity north -extent 1280x1080 \) \
    -gravity northwest +append -depth 8 "PNG24:$work/desktop.png"

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

start_headless_sway "$work/sway.config" "$work/sway.log"
outputs=$(swaymsg -t get_outputs -r | grep -c '"name": "HEADLESS-')
if [ "$outputs" = 2 ]; then pass "sway with two outputs"; else fail "sway with two outputs" "$outputs"; fi
# The premise of the pixel checks: each output shows its pattern pixel for pixel.
grim -o HEADLESS-1 "$work/session-left.png"
grim -o HEADLESS-2 "$work/session-right.png"
if same_pixels "$work/session-left.png" "$work/left.png" && same_pixels "$work/session-right.png" "$work/right.png"; then
    pass "both outputs show their pattern at physical pixels"
else
    fail "both outputs show their pattern at physical pixels" \
        "$(size_of "$work/session-right.png"), AE $(compare -metric AE "$work/session-right.png" "$work/right.png" null: 2>&1)"
fi
# A headless seat has no pointer: the probe adds a virtual one and moves it as told, for as long
# as its input is open. The layout is 1920 + 1280/2 logical pixels wide.
mkfifo "$work/pointer.in"
"$work/tovrik-wayland-probe" pointer 2560 1080 <"$work/pointer.in" >"$work/pointer.out" 2>"$work/pointer.log" &
pids+=("$!")
exec {pointer_hold}>"$work/pointer.in"
if eventually 5 grep -q ready "$work/pointer.out" &&
    eventually 5 bash -c 'swaymsg -t get_seats -r | grep -q "\"capabilities\": [1-9]"'; then
    pass "the seat has a pointer"
else
    fail "the seat has a pointer" "$(cat "$work/pointer.log")"
fi
# The tray: a StatusNotifier host on the session bus before the program starts.
/usr/bin/python3 "$work/sni_host.py" watch "$work/tray.log" 2>"$work/sni-host.log" &
pids+=("$!")
eventually 5 grep -qs watching "$work/tray.log" || fail "the tray host" "$(cat "$work/sni-host.log")"


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
# The pointer in the compositor's logical coordinates.
pointer_to() { echo "move $1 $2" >&"$pointer_hold"; }
press() { echo press >&"$pointer_hold"; }
release() { echo release >&"$pointer_hold"; }
# drag_and_finish <x1> <y1> <x2> <y2> (logical): a selection, then a double-click inside it.
drag_and_finish() {
    pointer_to "$1" "$2"
    sleep 0.1
    press
    sleep 0.05
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
# The screen as the user sees it now (the program's windows included), both outputs side by
# side in physical pixels as the program sees them.
remember_screen() {
    grim -o HEADLESS-1 "$work/before-left.png" && grim -o HEADLESS-2 "$work/before-right.png" &&
        convert "$work/before-left.png" \( "$work/before-right.png" -background black -gravity north \
            -extent 1280x1080 \) -gravity northwest +append -depth 8 "PNG24:$work/screen-before.png"
}
# expected <WxH+X+Y> <out>: that part of the screen as remember_screen saw it.
expected() { convert "$work/screen-before.png" -crop "$1" +repage "$2"; }
mean_of() { convert "$1" -colorspace gray -format '%[fx:int(mean*1000)]' info:; }
# trigger <check> <key>: the key runs sway's binding, which runs the command trigger; true once
# the overlay covers both outputs.
trigger() {
    remember_screen
    m=$(mark)
    wtype -M ctrl -k "$2" -m ctrl
    if wait_for "$m" '^TOVRIK-HOOK overlay shown 0,0,3200x1080 outputs 2' 10 >/dev/null; then
        pass "$1 shows the overlay over both outputs"
        sleep 0.3
        return 0
    fi
    fail "$1 shows the overlay over both outputs" "$(tail -n 2 "$out" | tr '\n' ' ')"
    return 1
}

start_program
if wait_for 0 '^TOVRIK-HOOK tray added statusnotifier' 40 >/dev/null; then
    pass "the program starts as a Wayland client with its tray icon"
else
    fail "the program starts as a Wayland client with its tray icon" "$(tail -n 3 "$work/program.log")"
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
if trigger "the capture-to-file trigger" F8; then
    dimmed() {
        grim -o HEADLESS-1 "$work/overlay-left.png" && grim -o HEADLESS-2 "$work/overlay-right.png" &&
            [ "$(size_of "$work/overlay-right.png")" = 1280x1024 ] &&
            [ "$(mean_of "$work/overlay-left.png")" -lt "$(mean_of "$work/left.png")" ] &&
            [ "$(mean_of "$work/overlay-right.png")" -lt "$(mean_of "$work/right.png")" ]
    }
    if eventually 3 dimmed; then
        pass "both outputs show the dimmed frozen picture"
    else
        swaymsg -t get_tree >"$work/tree-overlay.log"
        fail "both outputs show the dimmed frozen picture" \
            "mean gray $(mean_of "$work/overlay-left.png") and $(mean_of "$work/overlay-right.png")"
    fi
    # Logical 1700,200 on the left output (physical the same) to logical 2160,350 on the right
    # one, which is physical 2400,700 there: 700x500 physical pixels.
    drag_and_finish 1700 200 2160 350
    wait_for "$m" '^TOVRIK-HOOK overlay closed' 5 >/dev/null
    file=""
    eventually 5 test -n "$(find "$work/program/截图" -maxdepth 1 -name '*.png' 2>/dev/null)"
    file=$(find "$work/program/截图" -maxdepth 1 -name '*.png' 2>/dev/null | head -n 1)
    expected 700x500+1700+200 "$work/expected-file.png"
    if [ -n "$file" ] && cp "$file" "$work/saved.png" && same_pixels "$file" "$work/expected-file.png"; then
        pass "the saved PNG is the desktop at physical pixels across both outputs (700x500)"
    else
        fail "the saved PNG equals the pattern" \
            "file '${file}' $(size_of "$file") AE $(compare -metric AE "$file" "$work/expected-file.png" null: 2>&1)"
    fi
fi

# --- capture and copy: the picture on the clipboard, read from outside -----------------------
pointer_to 5 5
if trigger "the capture-and-copy trigger" F9; then
    # Logical 1800,300 (left) to 2050,400 (right, physical 2180,800): 380x500.
    drag_and_finish 1800 300 2050 400
    wait_for "$m" '^TOVRIK-HOOK overlay closed' 5 >/dev/null
    sleep 0.5
    timeout 5 wl-paste -t image/png >"$work/clip.png" 2>"$work/wl-paste.log"
    expected 380x500+1800+300 "$work/expected-clip.png"
    if same_pixels "$work/clip.png" "$work/expected-clip.png"; then
        pass "wl-paste -t image/png gives the desktop at physical pixels across both outputs (380x500)"
    else
        fail "wl-paste gives the captured picture" "$(size_of "$work/clip.png") $(head -c 200 "$work/wl-paste.log")"
    fi
fi

# --- capture and translate: the rendered strip recognised into the result window -------------
pointer_to 5 5
if trigger "the capture-and-translate trigger" F11; then
    drag_and_finish 300 600 $((300 + sample_w)) $((600 + sample_h))
    ocr=$(wait_for "$m" '^TOVRIK-HOOK text 主窗口/编辑框_OCR .+' 60)
    if grep -q 'Hello' <<<"$ocr" && grep -q '天气' <<<"$ocr"; then
        pass "capture-and-translate recognises the strip into 编辑框_OCR"
    else
        fail "capture-and-translate recognises the strip into 编辑框_OCR" "${ocr:-nothing}"
    fi
    sleep 1
    grim -o HEADLESS-1 "$work/main-window.png"
fi

# --- a second start ends with its message ----------------------------------------------------
m=$(mark)
(cd "$work/program" && exec ./TovrikOcr) >>"$out" 2>>"$work/program.log" &
second_pid=$!
pids+=("$second_pid")
if wait_for "$m" '^TOVRIK-HOOK message 友情提醒: 托维OCR设置程序已在运行!$' 10 >/dev/null; then
    pass "a second start shows the already-running message"
    sleep 0.5
    grim -o HEADLESS-1 "$work/second-start.png"
    # The message box closed through its close box (sway's kill asks the window to close); a
    # Return from wtype was now and then lost to the keymap of its new virtual keyboard.
    eventually 5 swaymsg '[title="^友情提醒"] kill' >/dev/null
else
    fail "a second start shows the already-running message"
fi
wait_exit "$second_pid" 10
code=$?
if [ "$code" -eq 0 ]; then pass "the second start ends with code 0"; else fail "the second start ends with code 0" "code $code"; fi
if kill -0 "$program_pid" 2>/dev/null; then pass "the first copy keeps running"; else fail "the first copy keeps running"; fi

# --- the tray menu's exit entry ends it --------------------------------------------------------
read -r _ service path < <(grep -m 1 '^registered ' "$work/tray.log")
exit_entry=""
if [ -n "${service:-}" ]; then
    /usr/bin/python3 "$work/sni_host.py" menu "$service" "$path" >"$work/tray-menu.log" 2>&1
    exit_entry=$(awk '$2 == "退出程序" {print $1}' "$work/tray-menu.log")
fi
if [ -n "$exit_entry" ]; then
    /usr/bin/python3 "$work/sni_host.py" click "$service" "$path" "$exit_entry" 2>>"$work/tray-menu.log"
    wait_exit "$program_pid" 10
    code=$?
    if [ "$code" -eq 0 ]; then
        pass "退出程序 in the tray menu ends the program with code 0"
    else
        fail "退出程序 in the tray menu ends the program with code 0" "code $code"
    fi
else
    fail "退出程序 in the tray menu" "no tray item or entry: $(head -c 300 "$work/tray-menu.log" 2>/dev/null)"
fi

echo "e2e-wayland: ${passed} passed, ${failed} failed"
[ "$failed" -eq 0 ]
