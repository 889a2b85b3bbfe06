#!/usr/bin/env bash
# End-to-end test of how the Linux program lives on a desktop: with no tray at all, with an
# XEmbed tray (trayer) that comes and goes, with a StatusNotifier host on the session bus, a
# second start, and the command triggers handed to the running copy. Builds nothing: give it a
# build folder of the preset "linux" in which TovrikOcr and tovrik-x11-probe have been built.
#
#   scripts/e2e-linux-desktop.sh build/linux
#
# The desktop is Xvfb with openbox as its window manager (it iconifies, stacks and activates
# windows as a desktop does) and a private dbus-daemon as the session bus. The StatusNotifier
# host is tests/e2e/linux/sni_host.py. Judged by windows (map state, WM_STATE, stacking),
# files, the clipboard, pixels and the markers of a test build (TOVRIK_TEST_HOOK=1); every
# check prints PASS or FAIL, the exit code is non-zero when any did not pass. Screenshots go to
# <build>/e2e-artifacts-desktop/ (TOVRIK_E2E_ARTIFACTS names another folder).
set -uo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/e2e-desktop-lib.sh"

if [ $# -ne 1 ] || [ ! -d "$1" ]; then
    echo "usage: $0 <build folder>" >&2
    exit 2
fi
build=$(cd "$1" && pwd)
program_bin="$build/src/main/TovrikOcr"
probe="$build/tests/e2e/tovrik-x11-probe"
sni_host="$here/../tests/e2e/linux/sni_host.py"
artifacts="${TOVRIK_E2E_ARTIFACTS:-$build/e2e-artifacts-desktop}"
require_built "$program_bin" "$probe"
require_commands Xvfb xdpyinfo openbox trayer dbus-daemon xdotool xclip xprop xwininfo identify import convert compare \
    display iconv
# The host double needs Debian's Python with its D-Bus and GLib bindings, not whatever python3
# comes first on the path.
if ! /usr/bin/python3 -c 'import dbus, dbus.mainloop.glib, gi.repository.GLib' 2>/dev/null; then
    echo "FAIL setup: /usr/bin/python3 lacks python3-dbus or python3-gi (scripts/setup.sh installs them)" >&2
    exit 2
fi

started_at=$(date +%s)
work=$(mktemp -d "${TMPDIR:-/tmp}/tovrik-e2e-desktop.XXXXXX")
mkdir -p "$artifacts"
pids=()
cleanup() {
    cp "$work"/*.out "$work"/*.err "$work"/*.log "$artifacts/" 2>/dev/null
    end_processes
    rm -rf "$work"
}
trap cleanup EXIT

# --- the desktop: Xvfb, a window manager, a session bus -----------------------------------
check "xvfb answers" start_xvfb 120 1280x800 "$work/xvfb.log"
if desktop_pattern 1280 800 "$work/desktop.png" && show_on_root "$work/desktop.png"; then
    pass "the desktop shows the test pattern"
else
    fail "the desktop shows the test pattern"
fi
mkdir -p "$work/config/openbox"
export XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" HOME="$work/home"
mkdir -p "$HOME"
openbox --sm-disable >"$work/openbox.log" 2>&1 &
pids+=("$!")
wm_running() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
check "openbox manages the desktop" eventually 10 wm_running

dbus-daemon --session --nofork --nopidfile --address="unix:path=$work/bus" >"$work/dbus.log" 2>&1 &
pids+=("$!")
export DBUS_SESSION_BUS_ADDRESS="unix:path=$work/bus"
check "a private session bus" eventually 10 test -S "$work/bus"

export LANG=C.UTF-8 LC_ALL=C.UTF-8 TOVRIK_TEST_HOOK=1
unset WAYLAND_DISPLAY XDG_SESSION_TYPE QT_QPA_PLATFORM

# --- helpers -----------------------------------------------------------------------------
dir="$work/program"
mkdir -p "$dir"
cp "$program_bin" "$dir/TovrikOcr"
# A settings file of an earlier run: with a tray, the settings window would start hidden.
printf '[Hotkey]\r\n截图热键=Ctrl+F8\r\n截屏并复制热键=Ctrl+F9\r\n自助翻译热键=Ctrl+F10\r\n截图并翻译热键=Ctrl+F11\r\n\r\n' |
    iconv -f UTF-8 -t GBK >"$dir/ZuDur.ini"
out="$work/program.out"
: >"$out"
program_pid=""
start_program() {
    (cd "$dir" && exec ./TovrikOcr "$@") >>"$out" 2>>"$work/program.err" &
    program_pid=$!
    pids+=("$program_pid")
}
# trigger <flag>: the program started with one command flag; its exit code in $trigger_code,
# its time in $trigger_ms.
trigger() {
    local started
    started=$(date +%s%N)
    (cd "$dir" && timeout 20 ./TovrikOcr "$1") >>"$out" 2>"$work/trigger.err"
    trigger_code=$?
    trigger_ms=$((($(date +%s%N) - started) / 1000000))
}
alive() { kill -0 "$program_pid" 2>/dev/null; }
# How many times a thread of the program was scheduled so far.
wakeups() { cat "/proc/$program_pid"/task/*/status 2>/dev/null | awk '/ctxt_switches/ { n += $2 } END { print n + 0 }'; }
# The ICCCM state the window manager gives a client window: Normal, Iconic or Withdrawn.
wm_state() {
    local state
    state=$(xprop -id "$1" WM_STATE 2>/dev/null | sed -n 's/.*window state: //p')
    echo "${state:-Withdrawn}"
}
iconic() { [ "$(wm_state "$1")" = Iconic ] && ! window_viewable "$1"; }
shown_normal() { [ "$(wm_state "$1")" = Normal ] && window_viewable "$1"; }
withdrawn() { [ "$(wm_state "$1")" = Withdrawn ] && ! window_viewable "$1"; }
# above <window> <other>: the window manager stacks the window above the other.
above() {
    xprop -root _NET_CLIENT_LIST_STACKING | tr -d ',' | tr ' ' '\n' | grep -E '^0x' |
        awk -v a="$(printf '0x%x' "$1")" -v b="$(printf '0x%x' "$2")" \
            '$1 == a {ia = NR} $1 == b {ib = NR} END {exit !(ia > ib && ib > 0)}'
}
# unhidden <window>: on the screen, every pixel of the window is the window's own (nothing
# covers it); a few may differ (the text cursor, the focus frame).
unhidden() {
    local geometry area differing
    geometry=$(window_geometry "$1")
    area=$(awk -Fx '{split($2, p, "+"); print $1 * p[1]}' <<<"$geometry")
    import -window "$1" "$work/window-own.png" 2>/dev/null
    import -window root -crop "$geometry" +repage "$work/window-seen.png" 2>/dev/null
    differing=$(compare -metric AE -fuzz 8% "$work/window-own.png" "$work/window-seen.png" null: 2>&1)
    [ "$differing" -lt $((area / 50)) ] 2>/dev/null
}
# close_box <window>: what the window manager sends when the user clicks the close box.
close_box() { "$probe" close "$1"; }
# tray_host_ends PID CHECK: with the settings window hidden, the tray host PID ends; the window
# must come back, or the program could not be reached at all.
tray_host_ends() {
    local m
    close_box "$settings_window"
    eventually 5 withdrawn "$settings_window"
    m=$(mark)
    kill "$1"
    wait "$1" 2>/dev/null
    if wait_for "$m" '^TOVRIK-HOOK tray gone' 10 >/dev/null && eventually 5 shown_normal "$settings_window"; then
        pass "$2"
    else
        fail "$2" "state $(wm_state "$settings_window")"
    fi
}
settings_window=""

# --- no tray at start ----------------------------------------------------------------------
m=$(mark)
start_program
if wait_for "$m" '^TOVRIK-HOOK tray added no-tray' 15 >/dev/null; then
    pass "with no tray the program says so (tray added no-tray)"
else
    fail "with no tray the program says so" "$(grep -m1 'TOVRIK-HOOK tray' "$out")"
fi
if wait_for "$m" '^TOVRIK-HOOK shown 设置窗口' 10 >/dev/null; then
    settings_window=$(window_of 设置窗口)
fi
if [ -n "$settings_window" ] && eventually 5 shown_normal "$settings_window"; then
    pass "with no tray the settings window is shown although a settings file exists"
else
    fail "with no tray the settings window is shown" "window '$settings_window'"
fi
sleep 0.5
screenshot no-tray-settings-shown
if [ -n "$settings_window" ] && unhidden "$settings_window"; then
    pass "the settings window is on the screen, painted"
else
    fail "the settings window is on the screen, painted"
fi

# The close box minimises: the program stays reachable from the taskbar.
if [ -n "$settings_window" ]; then
    close_box "$settings_window"
    if eventually 5 iconic "$settings_window"; then
        pass "without a tray the close box minimises the settings window (WM_STATE Iconic)"
    else
        fail "without a tray the close box minimises the settings window" "state $(wm_state "$settings_window")"
    fi
    sleep 0.5
    check "the program keeps running after the close box" alive
    screenshot no-tray-minimised
fi

# --- a second start brings the minimised window forward, over another window --------------
convert -size 700x500 xc:'#3060a0' "$work/cover.png"
display -geometry +0+0 -title cover "$work/cover.png" >/dev/null 2>&1 &
cover_pid=$!
pids+=("$cover_pid")
cover_window=""
for _ in $(seq 1 50); do
    cover_window=$(xdotool search --name '^cover$' 2>/dev/null | head -n 1)
    [ -n "$cover_window" ] && window_viewable "$cover_window" && break
    sleep 0.1
done
m=$(mark)
(cd "$dir" && exec ./TovrikOcr) >>"$out" 2>>"$work/program.err" &
second_pid=$!
pids+=("$second_pid")
if wait_for "$m" '^TOVRIK-HOOK message 友情提醒: 托维OCR设置程序已在运行!$' 10 >/dev/null; then
    pass "the second start shows the already-running message"
else
    fail "the second start shows the already-running message"
fi
if [ -n "$settings_window" ] && eventually 5 shown_normal "$settings_window"; then
    pass "the second start brings the running copy's settings window back (WM_STATE Normal, mapped)"
else
    fail "the second start brings the settings window back" "state $(wm_state "$settings_window")"
fi
sleep 0.5
screenshot second-start-message
answer_message "$m"
wait_exit "$second_pid" 10
code=$?
if [ "$code" -eq 0 ]; then pass "the second start ends with code 0"; else fail "the second start ends with code 0" "code $code"; fi
sleep 0.5
screenshot second-start-forward
if [ -n "$cover_window" ] && above "$settings_window" "$cover_window" && unhidden "$settings_window"; then
    pass "the settings window comes up over the window that covered its place"
else
    fail "the settings window comes up over the window that covered its place" \
        "cover '$cover_window', active $(xprop -root _NET_ACTIVE_WINDOW | awk '{print $NF}')"
fi
kill "$cover_pid" 2>/dev/null

# --- the command triggers, handed to the running copy ---------------------------------------
close_box "$settings_window"
eventually 5 iconic "$settings_window"
trigger --show-settings
if [ "$trigger_code" -eq 0 ] && eventually 5 shown_normal "$settings_window"; then
    pass "--show-settings: exit 0 in ${trigger_ms} ms, the minimised settings window is shown"
else
    fail "--show-settings" "code $trigger_code, state $(wm_state "$settings_window")"
fi

# The captures: the settings window out of the way first, so the pictures show the pattern.
close_box "$settings_window"
eventually 5 iconic "$settings_window"
sleep 0.5
remember_screen
# capture_by_trigger <flag> <x1> <y1> <x2> <y2>: the trigger opens the running copy's overlay,
# which takes that selection.
capture_by_trigger() {
    local m
    m=$(mark)
    trigger "$1"
    if [ "$trigger_code" -ne 0 ] || ! wait_for "$m" '^TOVRIK-HOOK overlay shown' 5 >/dev/null; then
        fail "$1" "code $trigger_code, $(head -c 200 "$work/trigger.err")"
        return 1
    fi
    pass "$1: exit 0 in ${trigger_ms} ms, the running copy opens the overlay"
    sleep 0.4
    drag_and_finish "$2" "$3" "$4" "$5"
    wait_for "$m" '^TOVRIK-HOOK overlay closed' 5 >/dev/null
}
if capture_by_trigger --capture-to-file 700 100 1020 340; then
    eventually 5 newer_shot_than ""
    shot=$(newest_shot)
    if [ -n "$shot" ] && [ "$(size_of "$shot")" = 320x240 ]; then
        pass "--capture-to-file writes $(basename "$shot") of 320x240"
        pixel_exact "the picture of --capture-to-file" "$shot" 320x240+700+100
    else
        fail "--capture-to-file writes a picture of 320x240" "'$shot' $(size_of "$shot")"
    fi
fi

sleep 1.2
if capture_by_trigger --capture-and-copy 800 420 1000 570; then
    sleep 0.5
    xclip -selection clipboard -t image/png -o >"$work/clip.png" 2>/dev/null
    if [ "$(size_of "$work/clip.png")" = 200x150 ]; then
        pass "--capture-and-copy puts a 200x150 picture on the clipboard"
        pixel_exact "the picture of --capture-and-copy" "$work/clip.png" 200x150+800+420
    else
        fail "--capture-and-copy puts a 200x150 picture on the clipboard" "got '$(size_of "$work/clip.png")'"
    fi
fi

m=$(mark)
shots_before=$(find "$dir/截图" -type f | wc -l)
trigger --capture-everything
sleep 1
if [ "$trigger_code" -eq 2 ] && grep -q 'unknown argument: --capture-everything' "$work/trigger.err" &&
    ! wait_for "$m" '^TOVRIK-HOOK (overlay|shown)' 1 >/dev/null && iconic "$settings_window" &&
    [ "$(find "$dir/截图" -type f | wc -l)" -eq "$shots_before" ] && alive; then
    pass "an unknown word: code 2 with its usage, the running copy does nothing"
else
    fail "an unknown word" "code $trigger_code, $(head -c 200 "$work/trigger.err")"
fi

# --- an XEmbed tray appears later -------------------------------------------------------------
m=$(mark)
trayer --edge top --align right --widthtype pixel --width 120 --height 24 --transparent false \
    >"$work/trayer.log" 2>&1 &
trayer_pid=$!
pids+=("$trayer_pid")
if wait_for "$m" '^TOVRIK-HOOK tray added docked' 10 >/dev/null && eventually 5 tray_docked; then
    pass "a tray that appears later gets the icon (embedded in trayer)"
else
    fail "a tray that appears later gets the icon" "$(grep 'TOVRIK-HOOK tray' "$out" | tail -n 1)"
fi
sleep 0.5
screenshot tray-appeared
# With the tray there, the close box hides the window again.
trigger --show-settings
eventually 5 shown_normal "$settings_window"
m=$(mark)
close_box "$settings_window"
if wait_for "$m" '^TOVRIK-HOOK hidden 设置窗口' 5 >/dev/null && eventually 5 withdrawn "$settings_window"; then
    pass "with the tray back the close box hides the settings window"
else
    fail "with the tray back the close box hides the settings window" "state $(wm_state "$settings_window")"
fi
# Waiting in the tray, the program sleeps: trays are noticed through the server's and the bus's
# notices, not looked for by a timer.
sleep 1
woken=$(wakeups)
sleep 3
woken=$(($(wakeups) - woken))
if [ "$woken" -lt 3 ]; then
    pass "waiting in the tray the program sleeps ($woken wake-ups in 3 s)"
else
    fail "waiting in the tray the program sleeps" "$woken wake-ups in 3 s"
fi
# A double-click on the icon brings it back.
position=$(tray_icon_position)
if [ -n "$position" ]; then
    read -r x y <<<"$position"
    m=$(mark)
    xdotool mousemove $((x + 11)) $((y + 11)) sleep 0.2 click --repeat 2 --delay 80 1
    if wait_for "$m" '^TOVRIK-HOOK shown 设置窗口' 5 >/dev/null && eventually 5 shown_normal "$settings_window"; then
        pass "a double-click on the docked icon shows the settings window"
    else
        fail "a double-click on the docked icon shows the settings window" "state $(wm_state "$settings_window")"
    fi
else
    fail "a double-click on the docked icon" "no icon"
fi

# --- the tray goes away -------------------------------------------------------------------
tray_host_ends "$trayer_pid" "when the tray goes away the hidden settings window is shown"
close_box "$settings_window"
if eventually 5 iconic "$settings_window"; then
    pass "with the tray gone the close box minimises again"
else
    fail "with the tray gone the close box minimises again" "state $(wm_state "$settings_window")"
fi
kill "$program_pid"
wait_exit "$program_pid" 10 >/dev/null

# --- a StatusNotifier host that appears after the start ------------------------------------
# As at a login where the panel's host comes up after the autostarted program.
sni_log="$work/sni.log"
start_sni_host() {
    /usr/bin/python3 "$sni_host" watch "$sni_log" >>"$work/sni-host.out" 2>>"$work/sni-host.err" &
    sni_pid=$!
    pids+=("$sni_pid")
    eventually 10 grep -qs '^watching' "$sni_log"
}
# registered_item <count>: "SERVICE PATH" of the count-th registration the host recorded.
registrations() { grep -c '^registered ' "$sni_log" 2>/dev/null; }
registered_at_least() { [ "$(registrations)" -ge "$1" ]; }
registered_item() {
    eventually 10 registered_at_least "$1" && grep '^registered ' "$sni_log" | sed -n "$1p" | cut -d' ' -f2-
}
m=$(mark)
start_program
wait_for "$m" '^TOVRIK-HOOK tray added no-tray' 15 >/dev/null
wait_for "$m" '^TOVRIK-HOOK shown 设置窗口' 10 >/dev/null
settings_window=$(window_of 设置窗口)
m=$(mark)
check "the StatusNotifier host double owns its name" start_sni_host
if wait_for "$m" '^TOVRIK-HOOK tray added statusnotifier' 10 >/dev/null && [ -n "$(registered_item 1)" ]; then
    pass "a StatusNotifier host that appears later gets the item ($(registered_item 1))"
else
    fail "a StatusNotifier host that appears later gets the item" "$(grep 'TOVRIK-HOOK tray' "$out" | tail -n 1)"
fi
m=$(mark)
close_box "$settings_window"
if wait_for "$m" '^TOVRIK-HOOK hidden 设置窗口' 5 >/dev/null && eventually 5 withdrawn "$settings_window"; then
    pass "with the StatusNotifier host there the close box hides the settings window"
else
    fail "with the StatusNotifier host there the close box hides the settings window" \
        "state $(wm_state "$settings_window")"
fi
kill "$program_pid"
wait_exit "$program_pid" 10 >/dev/null

# --- a StatusNotifier host from the start ----------------------------------------------------
m=$(mark)
start_program
if wait_for "$m" '^TOVRIK-HOOK tray added statusnotifier' 15 >/dev/null; then
    pass "on a StatusNotifier host the icon goes on D-Bus"
else
    fail "on a StatusNotifier host the icon goes on D-Bus" "$(grep 'TOVRIK-HOOK tray' "$out" | tail -n 1)"
fi
item=$(registered_item 2)
if [ -n "$item" ]; then pass "the item registers with the watcher ($item)"; else fail "the item registers with the watcher"; fi
wait_for "$m" '^TOVRIK-HOOK text 设置窗口/透明标签_热键提示 热键设置完毕!' 10 >/dev/null
settings_window=$(window_of 设置窗口)
if [ -n "$settings_window" ] && ! window_viewable "$settings_window"; then
    pass "with a StatusNotifier host the settings window starts hidden"
else
    fail "with a StatusNotifier host the settings window starts hidden"
fi
if [ -n "$item" ]; then
    # shellcheck disable=SC2086 # the item is "SERVICE PATH"
    tip=$(/usr/bin/python3 "$sni_host" tip $item 2>>"$work/sni-host.err")
    # The tip is the tool tip's title, with no text under it.
    if [ "$tip" = "双击调出设置页面,右键弹出操作菜单|" ]; then
        pass "the host reads the tip"
    else
        fail "the host reads the tip" "'$tip'"
    fi
    # shellcheck disable=SC2086
    /usr/bin/python3 "$sni_host" menu $item >"$work/sni-menu.log" 2>>"$work/sni-host.err"
    labels=$(cut -d' ' -f2- "$work/sni-menu.log" | tr '\n' '|')
    if [ "$labels" = "截图翻译(Ctrl+F11)|显示界面|OCR设置|退出程序|" ]; then
        pass "the host reads the menu through com.canonical.dbusmenu: $labels"
    else
        fail "the host reads the menu through com.canonical.dbusmenu" "'$labels'"
    fi
    m=$(mark)
    # shellcheck disable=SC2086
    /usr/bin/python3 "$sni_host" activate $item 2>>"$work/sni-host.err"
    if wait_for "$m" '^TOVRIK-HOOK shown 设置窗口' 5 >/dev/null && eventually 5 shown_normal "$settings_window"; then
        pass "activating the item (a click on the icon) shows the settings window"
    else
        fail "activating the item shows the settings window" "state $(wm_state "$settings_window")"
    fi
    sleep 0.5
    screenshot statusnotifier-activated

    # The panel restarts: while its host is away the settings window is shown, and the item
    # registers again with the host that comes back.
    tray_host_ends "$sni_pid" "when the StatusNotifier host goes away the hidden settings window is shown"
    start_sni_host
    item=$(registered_item 3)
    # Once: a second item would leave the host an entry whose object is gone.
    sleep 2
    if [ -n "$item" ] && [ "$(registrations)" -eq 3 ]; then
        pass "the item registers again, once, with the host that comes back ($item)"
    else
        fail "the item registers again, once, with the host that comes back" \
            "$(grep '^registered ' "$sni_log" | tail -n +3 | tr '\n' ' ')"
    fi
    exit_id=$(awk '$2 == "退出程序" {print $1}' "$work/sni-menu.log")
    if [ -n "$exit_id" ]; then
        # shellcheck disable=SC2086
        /usr/bin/python3 "$sni_host" click $item "$exit_id" 2>>"$work/sni-host.err"
        wait_exit "$program_pid" 10
        code=$?
        if [ "$code" -eq 0 ]; then
            pass "退出程序 in the host's menu ends the program with code 0"
        else
            fail "退出程序 in the host's menu ends the program" "code $code"
        fi
        if [ "$("$probe" grab ctrl F8)" = free ]; then
            pass "after that exit another program can grab Ctrl+F8"
        else
            fail "after that exit another program can grab Ctrl+F8"
        fi
    else
        fail "退出程序 in the host's menu" "no such entry"
    fi
fi

echo "e2e-linux-desktop: $passed passed, $failed failed in $(($(date +%s) - started_at)) s; screenshots in $artifacts"
[ "$failed" -eq 0 ]
