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

# The checks' tally: every check prints PASS, FAIL (check-lib.sh) or MISSING (the program lacks
# the piece the check needs); `passed` and `failed` count them for the closing line.
source "$(dirname "${BASH_SOURCE[0]}")/check-lib.sh"
passed=0
failed=0
missing() {
    echo "MISSING $1${2:+: $2}"
    failed=$((failed + 1))
}

# The program's output goes to the file named by `out`. Lines of it so far; wait_for looks only
# at lines after a mark.
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
size_of() { identify -format '%wx%h' "$1" 2>/dev/null; }
