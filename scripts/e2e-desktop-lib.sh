# Shell functions for the end-to-end scripts' desktops; sourced.

# desktop_pattern WIDTH HEIGHT OUT_PNG: a picture whose every pixel tells where it is, for
# pixel-exact comparisons of captures: red and green count along a 251x241 tile, blue mixes
# both, the tile repeats (no shift or scale of a capture keeps it).
desktop_pattern() {
    local tile="${3%.png}-tile.png"
    convert -size 251x241 xc: -channel R -fx 'i/255' -channel G -fx 'j/255' -channel B -fx '((i+2*j)%256)/255' \
        +channel "$tile" 2>/dev/null &&
        convert -size "$1x$2" tile:"$tile" -depth 8 "$3" 2>/dev/null
}

# show_on_root PNG: the picture as the root window's background; true when the screen shows it
# pixel for pixel.
show_on_root() {
    local seen="${1%.png}-seen.png"
    # display ends with 1 even when it has set the background: the screen tells.
    display -window root "$1" 2>/dev/null
    import -window root "$seen" 2>/dev/null &&
        [ "$(compare -metric AE "$seen" "$1" null: 2>&1)" = 0 ]
}

# --- checks and waits shared by the end-to-end scripts ------------------------------------
# They count into $passed and $failed, read the program's output from $out (the markers a test
# build prints with TOVRIK_TEST_HOOK=1) and put screenshots into $artifacts.
passed=0
failed=0
# pass, fail and start_xvfb.
source "$(dirname "${BASH_SOURCE[0]}")/check-lib.sh"
missing() {
    echo "MISSING $1${2:+: $2}"
    failed=$((failed + 1))
}
# check <name> <command...>: PASS when the command is true.
check() {
    local name=$1
    shift
    if "$@"; then pass "$name"; else fail "$name"; fi
}

# end_processes: every process in pids ended and waited for.
end_processes() {
    local pid
    for pid in "${pids[@]}"; do
        kill "$pid" 2>/dev/null
    done
    for pid in "${pids[@]}"; do
        wait "$pid" 2>/dev/null
    done
}

# Lines of the program's output so far; wait_for looks only at lines after a mark.
mark() { wc -l <"$out"; }
# wait_for <mark> <grep pattern> [seconds]: the first matching line after the mark.
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
# wait_exit <pid> [seconds]: the exit code, or 124 when still running.
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
# eventually <seconds> <command...>: true once the command is.
eventually() {
    local seconds=$1
    shift
    for _ in $(seq 1 $((seconds * 10))); do
        "$@" && return 0
        sleep 0.1
    done
    return 1
}
# The newest window of the form.
window_of() { grep -E "^TOVRIK-HOOK window $1 " "$out" | tail -n 1 | awk '{print $4}'; }
# answer_message <mark>: Enter on the first message box shown after the mark.
answer_message() {
    local box
    box=$(wait_for "$1" '^TOVRIK-HOOK messagebox ' 5 | awk '{print $3}')
    [ -z "$box" ] && return 1
    for _ in $(seq 1 40); do
        xwininfo -id "$box" 2>/dev/null | grep -q 'IsViewable' && break
        sleep 0.05
    done
    xdotool windowfocus --sync "$box" key Return
}
# The tray icon: the program's window docked in the tray's panel, as "X Y".
tray_icon_position() {
    xwininfo -root -tree | grep -E '"TovrikOcr": \("TovrikOcr" "TovrikOcr"\)  22x22' |
        sed -E 's/.* \+(-?[0-9]+)\+(-?[0-9]+)$/\1 \2/' | tail -n 1
}
tray_docked() { [ -n "$(tray_icon_position)" ]; }
# True once a menu of the program is on the screen: a mapped override-redirect window of its own
# at the top level (the tray icon is a child of the tray; the overlay is unmapped between captures).
menu_shown() {
    local window
    for window in $(xwininfo -root -children | awk '/"TovrikOcr": \("TovrikOcr" "TovrikOcr"\)/ {print $1}'); do
        xwininfo -id "$window" | grep -q 'Override Redirect State: yes' &&
            xwininfo -id "$window" | grep -q IsViewable && return 0
    done
    return 1
}
# drag_and_finish <x1> <y1> <x2> <y2>: a selection on the overlay, then a double-click inside it.
drag_and_finish() {
    xdotool mousemove "$1" "$2" sleep 0.1 mousedown 1 sleep 0.05 mousemove $((($1 + $3) / 2)) $((($2 + $4) / 2)) \
        sleep 0.05 mousemove "$3" "$4" sleep 0.05 mouseup 1 sleep 0.2
    xdotool mousemove $((($1 + $3) / 2)) $((($2 + $4) / 2)) sleep 0.1 click --repeat 2 --delay 60 1
}
size_of() { identify -format '%wx%h' "$1" 2>/dev/null; }
# The geometry of a window as WxH+X+Y.
window_geometry() {
    xwininfo -id "$1" | awk '/Absolute upper-left X/{x=$4} /Absolute upper-left Y/{y=$4} /Width:/{w=$2}
        /Height:/{h=$2} END{printf "%dx%d+%d+%d\n", w, h, x, y}'
}
window_viewable() { xwininfo -id "$1" 2>/dev/null | grep -q 'Map State: IsViewable'; }
screenshot() { import -window "${2:-root}" "$artifacts/$1.png" 2>/dev/null; }
# differing_pixels <picture> <WxH+X+Y> [screen]: how many pixels differ from that part of the
# screen picture (by default the bare desktop, $work/desktop.png).
differing_pixels() {
    convert "${3:-$work/desktop.png}" -crop "$2" +repage "$work/expected.png" 2>/dev/null
    compare -metric AE "$1" "$work/expected.png" null: 2>&1
}
# The screen as the user sees it now, the program's windows included (not the pointer).
remember_screen() { import -window root "$work/screen-before.png" 2>/dev/null; }
# pixel_exact <name> <picture> <WxH+X+Y>: the picture is exactly that part of the screen as
# remember_screen saw it.
pixel_exact() {
    local differing
    differing=$(differing_pixels "$2" "$3" "$work/screen-before.png")
    if [ "$differing" = 0 ]; then pass "$1 is pixel-exact"; else fail "$1 is pixel-exact" "$differing pixels differ"; fi
}
# The newest capture in the program folder $dir.
newest_shot() {
    find "$dir/截图" -maxdepth 1 -regextype egrep -regex '.*/[0-9]{10}(_[0-9]+)?\.png' -printf '%T@ %p\n' |
        sort -n | tail -n 1 | cut -d' ' -f2-
}
# newer_shot_than <file>: the newest capture is another one (for eventually, which runs its
# command again each time: a $(...) in its arguments would be read only once).
newer_shot_than() { [ "$(newest_shot)" != "$1" ]; }
