#!/usr/bin/env bash
# Builds the program (linux preset) and the local stand-in, starts the stand-in on 127.0.0.1 and
# then the desktop program pointed at it, from a program directory of its own that is kept between
# runs (${XDG_DATA_HOME:-~/.local/share}/TovrikOcr/run): press Ctrl+F11, drag a rectangle over some
# text and the result window shows it. The stand-in ends when the program ends (tray menu 退出程序,
# or Ctrl+C here).
#
#   scripts/run.sh          the desktop program; without a display, the demonstration below
#   scripts/run.sh --demo   the demonstration: a sample picture with an English and a Chinese line,
#                           recognised and translated through the program's command line
#
# Run scripts/setup.sh once before.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
source scripts/standin-lib.sh

mode=desktop
case "${1:-}" in
"") if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "run.sh: no display (DISPLAY and WAYLAND_DISPLAY are unset): running the command-line demonstration" >&2
    mode=demo
fi ;;
--demo) mode=demo ;;
*)
    echo "usage: $0 [--demo]" >&2
    exit 2
    ;;
esac

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
program_pid=""
cleanup() {
    for pid in $program_pid $standin_pid; do
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    rm -rf "$work"
}
trap cleanup EXIT
# Ctrl+C or a kill of the script ends the program and the stand-in with it (through the EXIT trap).
trap 'exit 130' INT
trap 'exit 143' TERM

# start_standin PORT API_KEY SECRET_KEY: starts the stand-in; sets standin_pid and port (empty
# when it did not start, e.g. because PORT is taken).
start_standin() {
    "$build/standin/tovrik-standin" --port "$1" --api-key "$2" --secret-key "$3" \
        >"$work/standin.out" 2>"$work/standin.log" &
    standin_pid=$!
    port=$(standin_port "$work/standin.out" "$standin_pid")
    if [ -z "$port" ]; then
        kill "$standin_pid" 2>/dev/null || true
        wait "$standin_pid" 2>/dev/null || true
        standin_pid=""
    fi
}
standin_failed() {
    echo "run.sh: the stand-in did not start:" >&2
    cat "$work/standin.log" >&2
    exit 1
}

# ini_value FILE KEY: the value of KEY= in the settings file (code page 936), in UTF-8.
ini_value() {
    iconv -f GBK -t UTF-8 "$1" 2>/dev/null | sed -n "s/^$2=\\(.*\\)\$/\\1/p" | tr -d '\r' | head -n 1
}

if [ "$mode" = demo ]; then
    api_key=run-api-key
    secret_key=run-secret-key
    echo "== starting the local stand-in" >&2
    start_standin 0 "$api_key" "$secret_key"
    [ -n "$port" ] || standin_failed
    base="http://127.0.0.1:$port"
    echo "   listening on $base" >&2

    # The program keeps its settings file beside the executable: give it a directory of its own.
    # The settings file is in code page 936, like the one the Windows build writes.
    program="$work/program"
    mkdir -p "$program"
    cp "$build/src/main/TovrikOcr" "$program/"
    standin_settings "$api_key" "$secret_key" "$base" >"$program/ZuDur.ini"

    sample="$work/sample.png"
    "$build/standin/tovrik-render-sample" "$sample" "The printer on the second floor is out of paper." \
        "明天下午我们在会议室讨论新的计划。"
    echo "== sample picture: an English and a Chinese line" >&2

    echo "== TovrikOcr --recognize sample.png" >&2
    "$program/TovrikOcr" --recognize "$sample"
    echo "== TovrikOcr --recognize sample.png --translate" >&2
    "$program/TovrikOcr" --recognize "$sample" --translate
    exit 0
fi

# --- the desktop program -------------------------------------------------------------------
program="${XDG_DATA_HOME:-$HOME/.local/share}/TovrikOcr/run"
settings="$program/ZuDur.ini"
mkdir -p "$program"
# A new executable each run (renamed into place: a copy that still runs keeps its own file).
cp "$build/src/main/TovrikOcr" "$program/.TovrikOcr.new"
mv -f "$program/.TovrikOcr.new" "$program/TovrikOcr"

# The stand-in takes the keys of the settings file, so that keys typed into the settings window
# stay valid; a first run writes the file with keys of its own.
api_key=run-api-key
secret_key=run-secret-key
previous_port=0
if [ -f "$settings" ]; then
    api_key=$(ini_value "$settings" 识别ApiKey)
    secret_key=$(ini_value "$settings" 识别SecretKey)
    previous_port=$(ini_value "$settings" OcrBaseUrl | sed -n 's#^http://127\.0\.0\.1:\([0-9]\{1,5\}\)/\{0,1\}$#\1#p')
    previous_port=${previous_port:-0}
fi
if [ -z "$api_key" ] || [ -z "$secret_key" ]; then
    echo "run.sh: $settings has no OCR keys; the stand-in accepts run-api-key / run-secret-key" >&2
    api_key=${api_key:-run-api-key}
    secret_key=${secret_key:-run-secret-key}
fi

echo "== starting the local stand-in" >&2
# The port of the last run, so that the settings file stays as it is; any free one when it is taken.
start_standin "$previous_port" "$api_key" "$secret_key"
if [ -z "$port" ] && [ "$previous_port" != 0 ]; then
    start_standin 0 "$api_key" "$secret_key"
fi
[ -n "$port" ] || standin_failed
base="http://127.0.0.1:$port"
echo "   listening on $base" >&2

if [ ! -f "$settings" ]; then
    # With a settings file there already the program takes no first-run defaults: the hotkeys
    # it would set on its first run come with it.
    {
        standin_settings "$api_key" "$secret_key" "$base"
        iconv -f UTF-8 -t GBK <<INI
[Hotkey]
截图热键=Ctrl+F8
截屏并复制热键=Ctrl+F9
自助翻译热键=Ctrl+F10
截图并翻译热键=Ctrl+F11
INI
    } >"$settings"
    echo "== new program directory $program (settings point at the stand-in)" >&2
else
    # Only the addresses that point at a stand-in of an earlier run move to this one's port; the
    # rest of the file (the user's own settings) stays as it is. Byte-wise: the file is code page 936.
    LC_ALL=C sed -i -E \
        "s#^((Ocr|Translate|Youdao|Speech)BaseUrl=)http://127\\.0\\.0\\.1:[0-9]+/?(\\r?)\$#\\1$base\\3#" "$settings"
    echo "== program directory $program (kept from an earlier run)" >&2
fi

echo "== starting TovrikOcr: press Ctrl+F11 and drag a rectangle over some text to recognise it" >&2
echo "   end it from the tray menu (退出程序), or with Ctrl+C here" >&2
(cd "$program" && exec ./TovrikOcr) &
program_pid=$!
status=0
wait "$program_pid" || status=$?
program_pid=""
echo "== TovrikOcr ended (exit code $status); stopping the stand-in" >&2
exit "$status"
