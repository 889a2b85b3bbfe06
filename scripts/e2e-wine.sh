#!/usr/bin/env bash
# End-to-end test of the Windows program under Wine, driven like a user with xdotool.
#
#   scripts/e2e-wine.sh WINDOWS_BUILD LINUX_BUILD [OUTPUT_DIR]
#
# WINDOWS_BUILD holds src/main/TovrikOcr.exe and tests/e2e/tovrik-wine-probe.exe (a build with
# tests, whose program writes the state of its windows to the file named by TOVRIK_TEST_HOOK);
# LINUX_BUILD holds standin/tovrik-standin and standin/tovrik-render-sample. Everything runs in
# a throwaway Wine prefix on a private Xvfb display with trayer as the notification area.
# Screenshots and logs go to OUTPUT_DIR (default WINDOWS_BUILD/e2e-wine).
#
# Prints one "PASS: ...", "FAIL: ..." or "MISSING: ..." line per check (MISSING: a feature the
# program does not offer yet) and exits non-zero unless every check passed. Verdicts come from
# files, the clipboard, the registry and the program's report, never from Wine's exit codes.
#
# TOVRIK_E2E_WINE_DPI=144 (or 192) gives the prefix that DPI (its LogPixels) and runs only the
# first start and the capture checks.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/standin-lib.sh"
source "$(dirname "${BASH_SOURCE[0]}")/e2e-desktop-lib.sh"
dpi="${TOVRIK_E2E_WINE_DPI:-}"
full_pass() { [ -z "$dpi" ]; }

usage="usage: scripts/e2e-wine.sh WINDOWS_BUILD LINUX_BUILD [OUTPUT_DIR]"
win_build=$(realpath "${1:?$usage}")
linux_build=$(realpath "${2:?$usage}")
out=$(realpath -m "${3:-$win_build/e2e-wine}")
exe=$win_build/src/main/TovrikOcr.exe
probe_exe=$win_build/tests/e2e/tovrik-wine-probe.exe
standin_exe=$linux_build/standin/tovrik-standin
render_exe=$linux_build/standin/tovrik-render-sample

failures=0
pass() { echo "PASS: $*"; }
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}
missing() {
    echo "MISSING: $*"
    failures=$((failures + 1))
}

for needed in "$exe" "$probe_exe" "$standin_exe" "$render_exe"; do
    if [ ! -x "$needed" ] && [ ! -f "$needed" ]; then
        fail "missing $needed (build the Windows tests and the Linux stand-in first)"
        exit 1
    fi
done
for tool in Xvfb trayer xdotool xwininfo import identify display compare convert wine wineserver iconv; do
    if ! command -v "$tool" >/dev/null; then
        fail "missing the tool $tool (scripts/setup.sh installs it)"
        exit 1
    fi
done

mkdir -p "$out"
rm -f "$out"/*.png "$out"/*.log
work=$(mktemp -d "${TMPDIR:-/tmp}/tovrik-e2e-wine.XXXXXX")
pids=()
cleanup() {
    wineserver -k 2>/dev/null
    for pid in "${pids[@]}"; do
        kill "$pid" 2>/dev/null
    done
    wait 2>/dev/null
    # The read-only program folder's mount, should the run end inside it.
    umount "$work/readonly" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

# --- the environment -------------------------------------------------------------------------

export WINEPREFIX=$work/prefix
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export LC_ALL=zh_CN.UTF-8 # Wine's ANSI code page 936, as on a Chinese Windows
# MCI plays through ALSA; a null device stands in for a sound card.
export HOME=$work/home
mkdir -p "$HOME"
echo 'pcm.!default { type null }' >"$HOME/.asoundrc"
report=$work/report.txt
export TOVRIK_TEST_HOOK=$report

Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$work/display" >"$out/xvfb.log" 2>&1 &
pids+=($!)
for _ in $(seq 1 100); do
    [ -s "$work/display" ] && break
    sleep 0.1
done
if [ ! -s "$work/display" ]; then
    fail "Xvfb did not start"
    exit 1
fi
export DISPLAY=:$(cat "$work/display")

echo "== preparing the Wine prefix" >&2
wineboot -i >"$out/wineboot.log" 2>&1
wineserver -w
if [ -n "$dpi" ]; then
    # Where Wine reads the DPI from, as winecfg writes it.
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
    wine reg add 'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts' /v LogPixels \
        /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
    wineserver -w
    echo "== DPI $dpi" >&2
fi
if desktop_pattern 1280 800 "$work/desktop.png" && show_on_root "$work/desktop.png"; then
    pass "the desktop shows the test pattern"
else
    fail "the desktop does not show the test pattern"
fi

trayer --edge top --align right --widthtype pixel --width 120 --height 24 >"$out/trayer.log" 2>&1 &
pids+=($!)

api_key=e2e-api-key
secret_key=e2e-secret-key
"$standin_exe" --port 0 --api-key "$api_key" --secret-key "$secret_key" >"$work/standin.out" 2>"$out/standin.log" &
pids+=($!)
port=$(standin_port "$work/standin.out" "$!")
if [ -z "$port" ]; then
    fail "the stand-in did not start"
    exit 1
fi
base="http://127.0.0.1:$port"

program=$work/program
mkdir -p "$program"
cp "$exe" "$program/TovrikOcr.exe"
settings=$program/ZuDur.ini
shots=$program/截图

# --- helpers ---------------------------------------------------------------------------------

# wait_for SECONDS COMMAND...: true as soon as the command succeeds.
wait_for() {
    local deadline=$((SECONDS + $1))
    shift
    while [ $SECONDS -lt $deadline ]; do
        "$@" && return 0
        sleep 0.2
    done
    "$@"
}
not() { ! "$@"; }
running() { kill -0 "$1" 2>/dev/null; }

# The report line of a form ("form 设置窗口 ...") or a control ("设置窗口.编辑框_OCR ...").
report_line() {
    if [ "${1#*.}" = "$1" ]; then
        grep -m1 "^form $1 " "$report" 2>/dev/null
    else
        grep -m1 "^$1 " "$report" 2>/dev/null
    fi
}
report_field() { report_line "$1" | sed -n "s/.* $2=\([^ ]*\).*/\1/p"; }
report_text() { report_line "$1" | sed -n 's/.* text=//p'; }
report_has() { report_line "$1" | grep -q -- "$2"; }

# Clicks the middle of a control, from its place on the screen in the report.
click_control() {
    local at x y w h
    at=$(report_field "$1" at)
    IFS=, read -r x y w h <<<"$at"
    [ -n "$h" ] || return 1
    xdotool mousemove $((x + w / 2)) $((y + h / 2)) click "${2:-1}"
}

# Gives the keyboard focus to the settings window: Wine delivers WM_HOTKEY only while one of
# its windows has the focus.
focus_settings() {
    local at x y w h
    at=$(report_field 设置窗口 at)
    IFS=, read -r x y w h <<<"$at"
    [ -n "$h" ] || return 1
    # The empty strip right of the option boxes belongs to the window itself.
    xdotool mousemove $((x + w - 12)) $((y + 215)) click 1
    sleep 0.3
}

probe() { wine "$probe_exe" "$@" 2>/dev/null | tr -d '\r'; }
hotkey_free() { [ "$(probe hotkey "$@")" = "HOTKEY free" ]; }
shot() { import -window root "$out/$1.png" 2>/dev/null; }

# The position of our icon in trayer: the window docked in trayer's panel.
tray_icon_centre() {
    local panel
    panel=$(xwininfo -root -tree | awk '/"panel": \("panel" "trayer"\)/ {print $1; exit}')
    [ -n "$panel" ] || return 1
    xwininfo -id "$panel" -tree | awk '/explorer.exe/ {print $NF; exit}' |
        sed -n 's/^+\([0-9-]*\)+\([0-9-]*\)$/\1 \2/p'
}
tray_click() {
    local x y
    read -r x y < <(tray_icon_centre) || return 1
    [ -n "$y" ] || return 1
    xdotool mousemove $((x + 10)) $((y + 10)) click ${2:+--repeat $2 --delay 120} "$1"
}
tray_exit() {
    tray_click 3 || return 1
    sleep 1
    shot tray-menu
    # The last entry of the menu is 退出程序.
    xdotool key Up
    sleep 0.2
    xdotool key Return
}

# A window of ours covering the whole screen: the capture overlay.
overlay_shown() { xwininfo -root -tree | grep -q '"tovrikocr.exe".*1280x800+0+0'; }

# Ctrl+<key>, a drag from (x1, y1) to (x2, y2) and a double-click inside: one capture.
capture() {
    local key=$1 x1=$2 y1=$3 x2=$4 y2=$5 name=$6
    focus_settings || return 1
    # What the user sees when pressing the keys: what the capture is to hold.
    import -window root "$work/$name-before.png" 2>/dev/null
    xdotool key "ctrl+$key"
    if ! wait_for 10 overlay_shown; then
        return 1
    fi
    sleep 0.5
    shot "$name-overlay"
    xdotool mousemove "$x1" "$y1" mousedown 1
    xdotool mousemove $(((x1 + x2) / 2)) $(((y1 + y2) / 2))
    xdotool mousemove "$x2" "$y2" mouseup 1
    sleep 0.5
    shot "$name-selected"
    xdotool mousemove $(((x1 + x2) / 2)) $(((y1 + y2) / 2)) click --repeat 2 --delay 100 1
    wait_for 10 not overlay_shown
}

# pixel_exact NAME PICTURE WxH+X+Y: the picture is that part of the screen before the capture.
pixel_exact() {
    local differing
    convert "$work/$1-before.png" -crop "$3" +repage "$work/$1-expected.png" 2>/dev/null
    differing=$(compare -metric AE "$2" "$work/$1-expected.png" null: 2>&1)
    if [ "$differing" = 0 ]; then
        pass "the picture of $1 is pixel-exact"
    else
        fail "the picture of $1 differs from the screen in $differing pixels"
    fi
}

screenshot_file() { ls "$shots" 2>/dev/null | grep -E '^[0-9]{10}\.png$' | head -1; }
has_screenshot_file() { [ -n "$(screenshot_file)" ]; }

registry_has_autostart() {
    wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Run' /v TovrikOcr 2>/dev/null |
        tr -d '\r' | grep -q 'TovrikOcr'
}

start_program() {
    (cd "$program" && wine TovrikOcr.exe >>"$out/program.log" 2>&1) &
    program_pid=$!
}

# --- first run -------------------------------------------------------------------------------

echo "== first run" >&2
start_program
if wait_for 30 test -f "$settings" && wait_for 20 report_has 设置窗口 'visible=1'; then
    expected=$(printf '[Hotkey]\r\n截图热键=Ctrl+F8\r\n截屏并复制热键=Ctrl+F9\r\n自助翻译热键=Ctrl+F10\r\n截图并翻译热键=Ctrl+F11\r\n\r\n')
    if [ "$(iconv -f GBK -t UTF-8 "$settings")" = "$expected" ]; then
        pass "first run writes the default settings file (code page 936) and shows the settings window"
    else
        fail "the default settings file differs: $(iconv -f GBK -t UTF-8 "$settings" | tr '\r\n' '|')"
    fi
else
    fail "first run: no settings file or no visible settings window"
fi
sleep 1
shot settings-window
if [ -d "$shots" ]; then
    pass "the screenshot folder 截图 exists"
else
    fail "no screenshot folder"
fi
if report_has 设置窗口.透明标签_热键提示 'text=热键设置完毕!'; then
    pass "hotkeys registered at start-up (热键设置完毕!)"
else
    fail "the hint line does not say 热键设置完毕!"
fi
if [ "$(probe hotkey 2 0x77)" = "HOTKEY taken" ]; then
    pass "Ctrl+F8 is held by the program"
else
    fail "Ctrl+F8 is not held by the program"
fi

# Up to the captures: the full pass only (the bodies keep their indentation).
if full_pass; then
echo "== second start" >&2
# With a report of its own: the running copy's report stays what the tests read.
(cd "$program" && TOVRIK_TEST_HOOK=$work/second-report.txt wine TovrikOcr.exe >"$out/second.log" 2>&1
    echo "$?" >"$work/second.rc") &
pids+=($!)
if wait_for 20 xdotool search --name "友情提醒:" >/dev/null; then
    sleep 0.5
    shot second-start-message
    box=$(xdotool search --name "友情提醒:" | head -1)
    xdotool windowfocus "$box" 2>/dev/null
    xdotool key --window "$box" Return
    if wait_for 20 test -s "$work/second.rc" && [ "$(cat "$work/second.rc")" = 0 ]; then
        pass "a second start shows 友情提醒: and ends with exit code 0"
    else
        fail "the second start did not end with exit code 0"
    fi
else
    fail "a second start showed no 友情提醒: message"
fi
if running "$program_pid" && report_has 设置窗口 'visible=1'; then
    pass "the first copy keeps running"
else
    fail "the first copy is gone after the second start"
fi

echo "== autostart" >&2
if click_control 设置窗口.选择框_开机启动 && wait_for 10 registry_has_autostart; then
    pass "checking 开机启动 writes the Run value TovrikOcr"
else
    fail "checking 开机启动 wrote no Run value"
fi
if click_control 设置窗口.选择框_开机启动 && wait_for 10 not registry_has_autostart; then
    pass "unchecking 开机启动 deletes the Run value"
else
    fail "unchecking 开机启动 left the Run value"
fi

echo "== typing a hotkey" >&2
# Modifiers held down like a person holds them: the box reads the keyboard's state when the key
# arrives.
press_hotkey() {
    local modifiers=("${@:1:$#-1}") key=${!#}
    for modifier in "${modifiers[@]}"; do
        xdotool keydown "$modifier"
    done
    sleep 0.3
    xdotool key "$key"
    sleep 0.3
    for modifier in "${modifiers[@]}"; do
        xdotool keyup "$modifier"
    done
    sleep 0.3
}
hotkey_item() { iconv -f GBK -t UTF-8 "$settings" | tr -d '\r' | grep -q "^截图并翻译热键=$1\$"; }
click_control 设置窗口.编辑框_截图并翻译
sleep 0.3
press_hotkey ctrl shift F12
if report_has 设置窗口.编辑框_截图并翻译 'text=Ctrl+Shift+F12$'; then
    pass "Ctrl, Shift and F12 pressed in a hotkey box read Ctrl+Shift+F12"
else
    fail "the hotkey box reads '$(report_text 设置窗口.编辑框_截图并翻译)' after Ctrl+Shift+F12"
fi
click_control 设置窗口.编辑框_翻译key
if wait_for 5 hotkey_item 'Ctrl+Shift+F12' && [ "$(probe hotkey 6 0x7B)" = "HOTKEY taken" ] &&
    [ "$(probe hotkey 2 0x7A)" = "HOTKEY free" ]; then
    pass "leaving the box saved Ctrl+Shift+F12 and moved the registration from Ctrl+F11"
else
    fail "the new hotkey was not saved and registered in place of Ctrl+F11"
fi
click_control 设置窗口.编辑框_截图并翻译
sleep 0.3
press_hotkey ctrl F11
click_control 设置窗口.编辑框_翻译key
if wait_for 5 hotkey_item 'Ctrl+F11' && [ "$(probe hotkey 2 0x7A)" = "HOTKEY taken" ]; then
    pass "Ctrl+F11 typed back is saved and registered again"
else
    fail "Ctrl+F11 could not be typed back"
fi

echo "== exit from the tray menu" >&2
if tray_exit && wait_for 20 not running "$program_pid"; then
    pass "the tray menu's 退出程序 ends the program"
    if [ "$(probe hotkey 2 0x77)" = "HOTKEY free" ]; then
        pass "exit released the hotkeys (Ctrl+F8 can be registered again)"
    else
        fail "Ctrl+F8 is still taken after exit"
    fi
else
    fail "the tray menu did not end the program"
    wineserver -k 2>/dev/null
    sleep 1
fi

# --- second run: the cloud keys point at the stand-in ----------------------------------------

echo "== run with the stand-in" >&2
standin_settings "$api_key" "$secret_key" "$base" >>"$settings"
rm -f "$report"
start_program
if wait_for 30 report_has 设置窗口 'visible=0'; then
    pass "a start with a settings file keeps the settings window hidden"
else
    fail "the settings window is not hidden at a normal start"
fi
sleep 1
if tray_click 1 2 && wait_for 10 report_has 设置窗口 'visible=1'; then
    pass "double-clicking the tray icon shows the settings window"
else
    fail "double-clicking the tray icon did not show the settings window"
fi

fi # full_pass

echo "== capture to file" >&2
if capture F8 100 150 300 250 capture-to-file; then
    wait_for 10 has_screenshot_file
    file=$(screenshot_file)
    if [ -n "$file" ] && [ "$(identify -format '%wx%h' "$shots/$file" 2>/dev/null)" = "200x100" ]; then
        pass "Ctrl+F8, drag, double-click writes 截图\\$file of 200x100"
        cp "$shots/$file" "$out/capture-to-file-result.png"
        pixel_exact capture-to-file "$shots/$file" 200x100+100+150
    else
        fail "Ctrl+F8 wrote no 200x100 PNG named by 10 digits: $(ls "$shots" | tr '\n' ' ')"
    fi
else
    fail "Ctrl+F8 showed no overlay"
fi

echo "== save from the overlay's menu" >&2
saved_file() { ls "$program" 2>/dev/null | grep -q '^saved-by-dialog\.png$'; }
focus_settings
xdotool key ctrl+F8
if wait_for 10 overlay_shown; then
    sleep 0.5
    xdotool mousemove 100 150 mousedown 1 mousemove 200 200 mousemove 300 250 mouseup 1
    sleep 0.3
    xdotool click 3
    sleep 1
    shot overlay-menu
    xdotool key s
    if wait_for 10 xdotool search --name "^(保存|另存为|Save|Save As)$" >/dev/null; then
        sleep 0.5
        shot save-dialog
        xdotool type --delay 30 saved-by-dialog
        xdotool key Return
        if wait_for 15 saved_file &&
            [ "$(identify -format '%wx%h' "$program/saved-by-dialog.png" 2>/dev/null)" = "200x100" ]; then
            pass "保存到文件(&S) in the overlay's menu saves the selection through the save dialog"
        else
            fail "the save dialog wrote no 200x100 saved-by-dialog.png"
        fi
    else
        fail "保存到文件(&S) showed no save dialog"
    fi
    wait_for 15 not overlay_shown || fail "the overlay stayed after saving"
else
    fail "Ctrl+F8 showed no overlay for the menu"
fi

echo "== ESC cancels" >&2
count_before=$(ls "$shots" | wc -l)
focus_settings
xdotool key ctrl+F8
if wait_for 10 overlay_shown; then
    sleep 0.5
    xdotool key Escape
    if wait_for 10 not overlay_shown && sleep 1 && [ "$(ls "$shots" | wc -l)" = "$count_before" ]; then
        pass "ESC closes the overlay and no file is written"
    else
        fail "ESC did not cancel the capture"
    fi
else
    fail "Ctrl+F8 showed no overlay to cancel"
fi

echo "== capture and copy" >&2
if capture F9 400 300 520 380 capture-and-copy; then
    sleep 0.5
    copied=$(probe clipboard)
    if [ "$copied" = "CLIPBOARD_BITMAP 120x80" ]; then
        pass "Ctrl+F9, drag, double-click puts a 120x80 bitmap on the clipboard"
    else
        fail "the clipboard holds '$copied' instead of a 120x80 bitmap"
    fi
else
    fail "Ctrl+F9 showed no overlay"
fi

# From the recognition to the restart: the full pass only.
if full_pass; then
echo "== capture and translate" >&2
"$render_exe" --pixel-size 32 "$work/sample.png" "Hello from Wine" >/dev/null 2>&1
display -geometry +560+420 -title tovrik-sample "$work/sample.png" >/dev/null 2>&1 &
pids+=($!)
sleep 2
read -r sample_w sample_h < <(identify -format '%w %h' "$work/sample.png")
if capture F11 550 410 $((560 + sample_w + 10)) $((420 + sample_h + 10)) capture-and-translate; then
    if wait_for 30 report_has 主窗口.编辑框_OCR 'text=.*Hello'; then
        pass "Ctrl+F11 over rendered text: 编辑框_OCR reads '$(report_text 主窗口.编辑框_OCR)'"
    elif report_line 主窗口 >/dev/null; then
        fail "Ctrl+F11: 编辑框_OCR reads '$(report_text 主窗口.编辑框_OCR)'"
    else
        missing "Ctrl+F11 opened no main window"
    fi
    sleep 1
    shot main-window
    if click_control 主窗口.按钮_复制识别 && sleep 0.5 && probe clipboard-text | grep -q '^CLIPBOARD_TEXT .*Hello'; then
        pass "复制识别结果 copies the recognised text"
    else
        fail "复制识别结果 did not copy the recognised text"
    fi
    echo "== translate and read aloud" >&2
    if click_control 主窗口.按钮_翻译 && wait_for 30 report_has 主窗口.编辑框_翻译结果 'text=..'; then
        pass "翻译 fills 编辑框_翻译结果: '$(report_text 主窗口.编辑框_翻译结果)'"
    else
        fail "翻译 left 编辑框_翻译结果 empty"
    fi
    # MCI keeps the speech file open while it plays, so the program's attempt to delete it
    # after starting playback fails and the file stays.
    if click_control 主窗口.按钮_朗读 && wait_for 30 test -s "$program/tts.mp3"; then
        pass "朗读 downloads tts.mp3 and MCI holds it open for playback"
    else
        fail "朗读 left no tts.mp3 in play"
    fi
    shot main-window-translated
else
    fail "Ctrl+F11 showed no overlay"
fi

echo "== screenshot folder" >&2
if click_control 主窗口.按钮_打开截图目录 && wait_for 15 xdotool search --name "^截图$" >/dev/null; then
    pass "打开截图目录 opens the screenshot folder in Explorer"
    sleep 1
    shot explorer
else
    fail "打开截图目录 opened no Explorer window on 截图"
fi

echo "== command line" >&2
sample_windows=$(cd "$work" && winepath -w sample.png 2>/dev/null | tr -d '\r')
cli=$(cd "$program" && wine TovrikOcr.exe --recognize "$sample_windows" 2>"$out/command-line.log" | tr -d '\r')
if grep -q 'Hello from Wine' <<<"$cli"; then
    pass "the command line recognises a picture: '$(head -1 <<<"$cli")'"
else
    fail "the command line printed '$cli'"
fi

echo "== restore defaults and restart" >&2
program_windows() { xwininfo -root -tree | grep -q '"tovrikocr.exe"'; }
# The main window covers the settings window: lift the settings window above it.
xdotool windowraise "$(xdotool search --name "^托维OCR设置\$" | head -1)"
sleep 0.5
if click_control 设置窗口.恢复默认 && wait_for 10 xdotool search --name "^提示$" >/dev/null; then
    sleep 0.5
    shot restore-defaults-question
    box=$(xdotool search --name "^提示$" | head -1)
    xdotool key --window "$box" Return
    rm -f "$report"
    if wait_for 20 not running "$program_pid" && wait_for 30 report_has 设置窗口 'visible=0' &&
        [ "$(probe hotkey 2 0x77)" = "HOTKEY taken" ] && wait_for 10 not test -e "$program/Restart.bat"; then
        pass "恢复默认 restarts the program through Restart.bat, which deletes itself"
    else
        fail "恢复默认 did not restart the program"
    fi
    if [ "$(iconv -f GBK -t UTF-8 "$settings")" = "$expected" ]; then
        pass "恢复默认 rewrote the default settings"
    else
        fail "the settings after 恢复默认: $(iconv -f GBK -t UTF-8 "$settings" | tr '\r\n' '|')"
    fi
else
    fail "恢复默认 asked nothing"
fi

fi # full_pass

echo "== exit" >&2
sleep 1
if tray_exit && wait_for 20 not program_windows; then
    pass "the program ends from the tray menu again"
    # The windows go before the process has ended and Wine has let go of its hotkeys.
    if wait_for 10 hotkey_free 2 0x77; then
        pass "and releases its hotkeys"
    else
        fail "Ctrl+F8 is still taken after the last exit"
    fi
else
    fail "the program did not end from the tray menu"
fi

cp "$report" "$out/last-report.txt" 2>/dev/null

# --- a read-only program folder: the full pass only ------------------------------------------
# The settings go to %APPDATA%\TovrikOcr; the first start says where, later starts are no first
# runs and say nothing about it.
if full_pass; then
echo "== read-only program folder" >&2
ro=$work/readonly
mkdir -p "$ro"
cp "$exe" "$ro/TovrikOcr.exe"
if mount --bind "$ro" "$ro" 2>"$work/mount.err" && mount -o remount,ro,bind "$ro" 2>>"$work/mount.err"; then
    ro_windows=$(winepath -w "$ro" 2>/dev/null | tr -d '\r')
    appdata_windows=$(wine cmd /c echo %APPDATA% 2>/dev/null | tr -d '\r')
    appdata=$(winepath -u "$appdata_windows" 2>/dev/null | tr -d '\r')
    fallback=${appdata%/}/TovrikOcr
    report=$work/readonly-report.txt
    export TOVRIK_TEST_HOOK=$report
    for round in first later; do
        rm -f "$report"
        (cd "$ro" && wine TovrikOcr.exe >>"$out/readonly.log" 2>&1) &
        program_pid=$!
        if [ "$round" = first ]; then
            expected="程序目录 $ro_windows 不可写, 设置保存在 $appdata_windows\\TovrikOcr\\ZuDur.ini"
            visible=1
        else
            expected="热键设置完毕!"
            visible=0
        fi
        # The report writes a backslash as two.
        hint() { report_text 设置窗口.透明标签_热键提示 | sed 's/\\\\/\\/g'; }
        if wait_for 30 test -f "$fallback/ZuDur.ini" && wait_for 20 report_has 设置窗口 "visible=$visible" &&
            wait_for 10 eval '[ "$(hint)" = "$expected" ]'; then
            pass "read-only program folder, $round start: settings window visible=$visible, hint '$expected'"
        else
            fail "read-only program folder, $round start: expected visible=$visible and '$expected'," \
                "got '$(report_line 设置窗口)' and '$(hint)'"
        fi
        [ "$round" = first ] && sleep 0.5 && shot readonly-folder
        if ! { tray_exit && wait_for 20 not running "$program_pid"; }; then
            fail "read-only program folder, $round start: the tray menu did not end the program"
            wineserver -k 2>/dev/null
            sleep 1
        fi
    done
    if [ -f "$fallback/ZuDur.ini" ] && [ ! -e "$ro/ZuDur.ini" ] && [ ! -e "$ro/截图" ] &&
        iconv -f GBK -t UTF-8 "$fallback/ZuDur.ini" | tr -d '\r' | grep -q '^截图热键=Ctrl+F8$'; then
        pass "read-only program folder: the settings are in $appdata_windows\\TovrikOcr, nothing in the program folder"
    else
        fail "read-only program folder: the settings are not (only) in $fallback" "$(ls -la "$fallback" "$ro" 2>&1 | head -n 12)"
    fi
    umount "$ro" || fail "unmount the read-only program folder"
else
    fail "read-only program folder: cannot mount it read-only (root needed): $(cat "$work/mount.err")"
fi
fi # full_pass
echo "screenshots and logs: $out" >&2
if [ "$failures" -eq 0 ]; then
    echo "e2e-wine: all checks passed"
    exit 0
fi
echo "e2e-wine: $failures check(s) failed"
exit 1
