#!/usr/bin/env bash
# Builds the program (linux preset) and the local stand-in, starts the stand-in on a free port,
# points a fresh program directory at it, renders a sample picture with an English and a
# Chinese line, and recognises and translates it through the program's command line.
# Run scripts/setup.sh once before.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
source scripts/standin-lib.sh

build="${BUILD_DIR:-build/linux}"
echo "== building (preset linux)" >&2
mkdir -p "$build"
if ! { cmake --preset linux -B "$build" && cmake --build "$build" --target TovrikOcr tovrik-standin tovrik-render-sample \
    -- -j"${JOBS:-$(nproc)}"; } >"$build/run-build.log" 2>&1; then
    tail -n 40 "$build/run-build.log" >&2
    echo "run.sh: the build failed (full log: $build/run-build.log)" >&2
    exit 1
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/tovrik-run.XXXXXX")
standin_pid=""
cleanup() {
    if [ -n "$standin_pid" ]; then
        kill "$standin_pid" 2>/dev/null || true
        wait "$standin_pid" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT

api_key=run-api-key
secret_key=run-secret-key

echo "== starting the local stand-in" >&2
"$build/standin/tovrik-standin" --port 0 --api-key "$api_key" --secret-key "$secret_key" \
    >"$work/standin.out" 2>"$work/standin.log" &
standin_pid=$!
port=$(standin_port "$work/standin.out" "$standin_pid")
if [ -z "$port" ]; then
    echo "run.sh: the stand-in did not start:" >&2
    cat "$work/standin.log" >&2
    exit 1
fi
base="http://127.0.0.1:$port"
echo "   listening on $base" >&2

# The program keeps its settings file beside the executable: give it a directory of its own.
# The settings file is in code page 936, like the one the Windows build writes.
program="$work/program"
mkdir -p "$program"
cp "$build/src/main/TovrikOcr" "$program/"
standin_settings "$api_key" "$secret_key" "$base" >"$program/ZuDur.ini"

sample="$work/sample.png"
"$build/standin/tovrik-render-sample" "$sample" "The printer on the second floor is out of paper." "明天下午我们在会议室讨论新的计划。"
echo "== sample picture: an English and a Chinese line" >&2

echo "== TovrikOcr --recognize sample.png" >&2
"$program/TovrikOcr" --recognize "$sample"
echo "== TovrikOcr --recognize sample.png --translate" >&2
"$program/TovrikOcr" --recognize "$sample" --translate
