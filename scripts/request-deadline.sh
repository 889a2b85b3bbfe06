#!/usr/bin/env bash
# Times the deadline of a whole request with the real 60 s: the program's command line against
# a server on 127.0.0.1 that sends its reply at two bytes a second, for ever. Builds nothing:
# give it a build folder (preset linux) with TovrikOcr, tovrik-trickle-server and
# tovrik-render-sample built.
#
#   scripts/request-deadline.sh build/linux
#
# For the translation (one request) and the recognition (its token request) it prints the
# elapsed seconds and the message, and PASS when the command gave up within 55-65 s naming the
# server and saying that it took too long. Takes about two minutes.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/check-lib.sh"

if [ $# -ne 1 ] || [ ! -d "$1" ]; then
    echo "usage: $0 <build folder>" >&2
    exit 2
fi
build=$(cd "$1" && pwd)
program_bin="$build/src/main/TovrikOcr"
server_bin="$build/tests/e2e/tovrik-trickle-server"
render_bin="$build/standin/tovrik-render-sample"
require_built "$program_bin" "$server_bin" "$render_bin"

work=$(mktemp -d "${TMPDIR:-/tmp}/tovrik-deadline.XXXXXX")
server_pid=""
cleanup() {
    [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null && wait "$server_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

"$server_bin" >"$work/server.out" 2>&1 &
server_pid=$!
port=""
for _ in $(seq 1 100); do
    port=$(sed -n 's/^listening on 127\.0\.0\.1:\([0-9]*\)$/\1/p' "$work/server.out")
    [ -n "$port" ] && break
    sleep 0.1
done
if [ -z "$port" ]; then
    echo "FAIL setup: the trickling server did not start" >&2
    exit 2
fi

mkdir -p "$work/program"
cp "$program_bin" "$work/program/TovrikOcr"
iconv -f UTF-8 -t GBK >"$work/program/ZuDur.ini" <<INI
[OCR]
识别ApiKey=deadline-api-key
识别SecretKey=deadline-secret-key
[Service]
OcrBaseUrl=http://127.0.0.1:$port
YoudaoBaseUrl=http://127.0.0.1:$port
INI
"$render_bin" "$work/picture.png" "Deadline" >/dev/null 2>&1

failed=0
# time_command <name> <arguments...>
time_command() {
    local name=$1 start end seconds message
    shift
    start=$(date +%s.%N)
    (cd "$work/program" && exec ./TovrikOcr "$@") >/dev/null 2>"$work/$name.err"
    end=$(date +%s.%N)
    seconds=$(awk -v a="$start" -v b="$end" 'BEGIN { printf "%.1f", b - a }')
    message=$(tr '\n' ' ' <"$work/$name.err")
    echo "$name: ${seconds} s, \"$message\""
    if awk -v s="$seconds" 'BEGIN { exit !(s >= 55 && s <= 65) }' && grep -q "127.0.0.1:$port 应答超时" "$work/$name.err"; then
        echo "PASS $name ends at the deadline with a message naming the server"
    else
        echo "FAIL $name"
        failed=$((failed + 1))
    fi
}
echo "load before: $(uptime)"
time_command translate --translate hello
time_command recognize --recognize "$work/picture.png"
echo "load after: $(uptime)"
[ "$failed" -eq 0 ]
