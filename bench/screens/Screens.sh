#!/usr/bin/env bash
# Renders the screens of a list (bench/screens/*.list) as real programs show them under Xvfb and
# openbox, and writes for each screen NAME.png (what a user selects: a terminal's text area, a
# dialog or a list window with its title bar) and NAME.txt (the text it shows, line by line, in
# reading order, a tab between columns: buttons side by side, a list's cells). The text comes from bench/screens/text, taken from Debian's packages.
#   bash bench/screens/Screens.sh LIST OUTPUT_DIR QT_DIALOG
# A list line: NAME|KIND|THEME|SCALE|TITLE|TEXT|LABELS, where TEXT is FILE:FIRST-LAST (lines of a
# file under text/) and KIND is one of
#   term      xterm showing the lines; SCALE is the font size in points; TITLE and LABELS unused
#   question  a GTK question dialog (zenity) with the lines as its message; LABELS "OK,CANCEL"
#   list      a GTK list (zenity) of two columns, the lines split at their first ": ";
#             LABELS the two column headers
#   qt        a Qt dialog; LABELS "GROUP;OPTION,OPTION;BUTTON,BUTTON"
# THEME is light or dark; SCALE of the dialogs is 1, 1.5 or 2 (the desktop's scale).
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
list=$1
out=$2
qtdialog=$3
for command in Xvfb openbox xterm zenity xdotool xprop xwininfo import convert; do
    command -v "$command" >/dev/null || { echo "Screens: missing $command (scripts/setup.sh)" >&2; exit 2; }
done
mkdir -p "$out"
export XDG_RUNTIME_DIR="$out/runtime"
mkdir -p -m 0700 "$XDG_RUNTIME_DIR"

display_number=140
while [ -e "/tmp/.X11-unix/X$display_number" ] || [ -e "/tmp/.X$display_number-lock" ]; do
    display_number=$((display_number + 1))
done
export DISPLAY=":$display_number"
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; done
}
trap cleanup EXIT
Xvfb "$DISPLAY" -screen 0 1920x1200x24 -dpi 96 -nolisten tcp >"$out/xvfb.log" 2>&1 &
pids+=($!)
for _ in $(seq 1 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
openbox >"$out/openbox.log" 2>&1 &
pids+=($!)
sleep 1
xsetroot -solid '#808890' 2>/dev/null || true

lines() { # FILE:FIRST-LAST
    local file=${1%%:*} range=${1#*:}
    sed -n "${range%-*},${range#*-}p" "$here/text/$file"
}

# Waits for the window titled $1, moves it to the top left and prints its id.
window() {
    local id
    id=$(xdotool search --sync --limit 1 --name "^$1\$")
    xdotool windowmove --sync "$id" 40 60 2>/dev/null || true
    sleep 1.2
    echo "$id"
}

# Screenshot of the window with the window manager's frame (title bar included).
shoot_framed() {
    local id=$1 file=$2 extents left right top bottom x y w h
    extents=$(xprop -id "$id" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
    read -r left right top bottom <<<"${extents:-0 0 0 0}"
    eval "$(xwininfo -id "$id" | awk '/Absolute upper-left X/ { print "x=" $NF } /Absolute upper-left Y/ { print "y=" $NF }
        /Width:/ { print "w=" $NF } /Height:/ { print "h=" $NF }')"
    import -window root -crop "$((w + left + right))x$((h + top + bottom))+$((x - left))+$((y - top))" +repage "$file"
}

close() { kill "$1" 2>/dev/null || true; wait "$1" 2>/dev/null || true; }

gtk_env() { # THEME SCALE
    local theme=$1 scale=$2
    echo "GTK_THEME=Adwaita$([ "$theme" = dark ] && echo :dark)"
    case $scale in
        2) echo "GDK_SCALE=2" ;;
        1.5) echo "GDK_DPI_SCALE=1.5" ;;
    esac
}

while IFS='|' read -r name kind theme scale title text labels; do
    case $name in '' | '#'*) continue ;; esac
    lines "$text" >"$out/$name.lines"
    case $kind in
        term)
            colours=(-bg white -fg black)
            [ "$theme" = dark ] && colours=(-bg '#1e1e1e' -fg '#d0d0d0')
            rows=$(wc -l <"$out/$name.lines")
            xterm -T "$name" -fa 'DejaVu Sans Mono' -fd 'WenQuanYi Micro Hei Mono' -fs "$scale" -u8 "${colours[@]}" \
                -geometry "64x$rows" -e sh -c "printf '\033[?25l'; head -c -1 '$out/$name.lines'; sleep 600" &
            pid=$!
            id=$(window "$name")
            import -window "$id" "$out/$name.png"
            cp "$out/$name.lines" "$out/$name.txt"
            ;;
        question)
            env $(gtk_env "$theme" "$scale") zenity --question --title "$title" --text "$(cat "$out/$name.lines")" \
                --ok-label "${labels%%,*}" --cancel-label "${labels#*,}" --no-wrap &
            pid=$!
            id=$(window "$title")
            shoot_framed "$id" "$out/$name.png"
            { echo "$title"; cat "$out/$name.lines"; printf '%s\t%s\n' "${labels#*,}" "${labels%%,*}"; } >"$out/$name.txt"
            ;;
        list)
            sed 's/: /\t/' "$out/$name.lines" | tr '\t' '\n' >"$out/$name.cells"
            # Tall enough for every row: a larger font (GDK_DPI_SCALE) makes the rows taller but
            # not the window, GDK_SCALE makes both larger.
            height=$(awk -v rows="$(wc -l <"$out/$name.lines")" -v scale="$scale" \
                'BEGIN { font = (scale == 1.5) ? scale : 1; printf "%d", 170 + 23 * rows * font }')
            env $(gtk_env "$theme" "$scale") zenity --list --title "$title" --width 900 --height "$height" \
                --column "${labels%%,*}" --column "${labels#*,}" <"$out/$name.cells" &
            pid=$!
            id=$(window "$title")
            # The first row selected: light text on the selection's colour.
            xdotool key --window "$id" Down
            sleep 0.5
            shoot_framed "$id" "$out/$name.png"
            { echo "$title"; echo "Select items from the list below."; printf '%s\t%s\n' "${labels%%,*}" "${labels#*,}"
              sed 's/: /\t/' "$out/$name.lines"; printf 'Cancel\tOK\n'; } >"$out/$name.txt"
            ;;
        qt)
            IFS=';' read -r group options buttons <<<"$labels"
            flags=()
            [ "$theme" = dark ] && flags=(--dark)
            QT_SCALE_FACTOR=$scale QT_QPA_PLATFORM=xcb "$qtdialog" "${flags[@]}" "$title" "$(cat "$out/$name.lines")" \
                "$group" "$options" "$buttons" &
            pid=$!
            id=$(window "$title")
            shoot_framed "$id" "$out/$name.png"
            { echo "$title"; cat "$out/$name.lines"; echo "$group"; tr ',' '\n' <<<"$options"; tr ',' '\t' <<<"$buttons"; } >"$out/$name.txt"
            ;;
        *) echo "Screens: unknown kind $kind in $list" >&2; exit 2 ;;
    esac
    close "$pid"
    rm -f "$out/$name.lines" "$out/$name.cells"
done <"$list"
rm -rf "$XDG_RUNTIME_DIR"
