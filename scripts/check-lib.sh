# Shell functions of the check scripts that count PASS/FAIL lines and run an Xvfb; sourced.
# The caller keeps the counters passed and failed and the array pids (ended by its cleanup).

# require_built PROGRAM...: ends the script with code 2 unless every program is built.
require_built() {
    local tool
    for tool in "$@"; do
        if [ ! -x "$tool" ]; then
            echo "FAIL setup: $tool is not built" >&2
            exit 2
        fi
    done
}
# require_commands COMMAND...: ends the script with code 2 unless every command is installed.
require_commands() {
    local command
    for command in "$@"; do
        if ! command -v "$command" >/dev/null; then
            echo "FAIL setup: $command is missing (scripts/setup.sh installs it)" >&2
            exit 2
        fi
    done
}

pass() {
    echo "PASS $1"
    passed=$((passed + 1))
}
fail() {
    echo "FAIL $1${2:+: $2}"
    failed=$((failed + 1))
}
# start_xvfb FIRST_NUMBER WIDTHxHEIGHT LOG: an Xvfb on the first free display from FIRST_NUMBER
# on, exported as DISPLAY, added to pids; returns once it takes clients (or after 10 s).
start_xvfb() {
    local number=$1
    while [ -e "/tmp/.X11-unix/X$number" ] || [ -e "/tmp/.X$number-lock" ]; do
        number=$((number + 1))
    done
    export DISPLAY=":$number"
    # -noreset: what was set on the screen (a background, monitors) outlives a moment with no client.
    Xvfb "$DISPLAY" -screen 0 "$2x24" -noreset -nolisten tcp >"$3" 2>&1 &
    pids+=("$!")
    for _ in $(seq 1 100); do
        xdotool getdisplaygeometry >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    return 1
}
