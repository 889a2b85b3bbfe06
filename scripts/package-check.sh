#!/usr/bin/env bash
# The .deb of a linux-preset build: builds it with cpack, checks what it holds (program,
# stand-in, dictionary, menu entry, icons, software-centre entry) with desktop-file-validate and
# appstreamcli, installs it with apt-get, starts the installed /usr/bin/TovrikOcr once under Xvfb
# with a fresh HOME (a first run: the settings file in ~/.local/share/TovrikOcr and the settings
# window), starts the installed stand-in, then removes the package again.
#
#   scripts/package-check.sh build/linux
#
# Installing needs root (CI) or sudo. Every check prints PASS or FAIL; the exit code is non-zero
# when any check did not pass.
set -uo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
source scripts/standin-lib.sh
source scripts/check-lib.sh

if [ $# -ne 1 ] || [ ! -f "$1/CMakeCache.txt" ]; then
    echo "usage: $0 <configured linux build folder>" >&2
    exit 2
fi
build=$(cd "$1" && pwd)
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
require_commands cpack dpkg-deb dpkg-shlibdeps apt-get desktop-file-validate appstreamcli identify Xvfb xdotool \
    import iconv $SUDO

work=$(mktemp -d "${TMPDIR:-/tmp}/tovrik-package.XXXXXX")
artifacts="$build/package-artifacts"
mkdir -p "$artifacts"
passed=0
failed=0
pids=()
installed=0
cleanup() {
    cp "$work"/*.log "$work"/*.out "$artifacts/" 2>/dev/null
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
    for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null; done
    if [ "$installed" = 1 ]; then
        $SUDO env DEBIAN_FRONTEND=noninteractive apt-get remove -y -q tovrikocr >"$work/remove.log" 2>&1
    fi
    rm -rf "$work"
}
trap cleanup EXIT

# --- the package -----------------------------------------------------------------------------
start=$(date +%s)
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
deb="$build/tovrikocr_${version}_amd64.deb"
rm -f "$deb"
if nice -n 10 cmake --build "$build" --target TovrikOcr tovrik-standin tovrik-icons >"$work/build.log" 2>&1 &&
    (cd "$build" && cpack -G DEB) >"$work/cpack.log" 2>&1 && [ -f "$deb" ]; then
    pass "cpack made $(basename "$deb") ($(($(stat -c %s "$deb") / 1024)) KiB, $(($(date +%s) - start)) s)"
else
    fail "cpack made tovrikocr_${version}_amd64.deb" "see $artifacts/build.log, cpack.log"
    tail -n 20 "$work/build.log" "$work/cpack.log"
    exit 1
fi

depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
# Found by dpkg-shlibdeps from the executables, and the data the stand-in loads by name.
missing=""
for package in libqt6widgets6 libqt6gui6 libcurl4 libtesseract5 libespeak-ng1 libc6 tesseract-ocr-eng \
    tesseract-ocr-chi-sim espeak-ng-data; do
    grep -qE "(^|, )$package( |,|$)" <<<"$depends" || missing+=" $package"
done
if [ -z "$missing" ]; then pass "dependencies found by dpkg-shlibdeps and the data ones"; else fail "dependencies" "missing$missing"; fi

dpkg-deb -c "$deb" | awk '{print $6}' | sed 's#^\./#/#' >"$work/contents.log"
missing=""
for file in /usr/bin/TovrikOcr /usr/bin/tovrik-standin /usr/share/tovrikocr/dictionary.idx \
    /usr/share/applications/tovrikocr.desktop /usr/share/metainfo/io.github.tovrik.tovrikocr.metainfo.xml \
    /usr/share/icons/hicolor/scalable/apps/tovrikocr.svg /usr/share/doc/tovrikocr/copyright; do
    grep -qxF "$file" "$work/contents.log" || missing+=" $file"
done
if [ -z "$missing" ]; then pass "the package holds the programs, the dictionary, the desktop files and the copyright"; else
    fail "the package's files" "missing$missing"
fi

root="$work/root"
dpkg-deb -x "$deb" "$root"
if desktop-file-validate "$root/usr/share/applications/tovrikocr.desktop" >"$work/desktop-validate.log" 2>&1 &&
    ! grep -q . "$work/desktop-validate.log"; then
    pass "desktop-file-validate: the menu entry is clean"
else
    fail "desktop-file-validate" "$(cat "$work/desktop-validate.log")"
fi
if appstreamcli validate --no-net "$root/usr/share/metainfo/io.github.tovrik.tovrikocr.metainfo.xml" \
    >"$work/appstream-validate.log" 2>&1; then
    pass "appstreamcli validate --no-net: the metainfo file is valid"
else
    fail "appstreamcli validate" "$(cat "$work/appstream-validate.log")"
fi
# Each hicolor size a PNG of that size, the program's blue tile (not an empty picture).
bad=""
for size in 16 22 24 32 48 64 128 256; do
    png="$root/usr/share/icons/hicolor/${size}x${size}/apps/tovrikocr.png"
    geometry=$(identify -format '%m %wx%h' "$png" 2>/dev/null)
    centre=$(convert "$png" -crop "1x1+$((size / 8))+$((size / 2))" -depth 8 txt:- 2>/dev/null | grep -o '#[0-9A-F]\{6\}')
    if [ "$geometry" != "PNG ${size}x${size}" ] || [ "$centre" != "#0A7CCA" ]; then
        bad+=" ${size}: '$geometry' $centre"
    fi
done
if [ -z "$bad" ]; then pass "hicolor icons 16 to 256 are PNGs of their size showing the icon"; else fail "hicolor icons" "$bad"; fi

# --- installed -------------------------------------------------------------------------------
if $SUDO env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "$deb" \
    >"$work/install.log" 2>&1 && [ -x /usr/bin/TovrikOcr ]; then
    installed=1
    pass "apt-get install of the package"
else
    fail "apt-get install of the package" "$(tail -n 5 "$work/install.log")"
    exit 1
fi

start_xvfb 120 1280x800 "$work/xvfb.log" || fail "Xvfb takes clients" "$(cat "$work/xvfb.log")"

# A user who never ran it: a fresh HOME, no XDG folders of the caller's.
home="$work/home"
mkdir -p "$home"
(cd / && exec env -u XDG_DATA_HOME -u XDG_CONFIG_HOME -u DBUS_SESSION_BUS_ADDRESS -u WAYLAND_DISPLAY \
    HOME="$home" LANG=C.UTF-8 TOVRIK_TEST_HOOK=1 /usr/bin/TovrikOcr) >"$work/program.out" 2>"$work/program.log" &
program_pid=$!
pids+=("$program_pid")
settings_file="$home/.local/share/TovrikOcr/ZuDur.ini"
window=""
for _ in $(seq 1 200); do
    if grep -q '^TOVRIK-HOOK shown 设置窗口' "$work/program.out" 2>/dev/null; then
        window=$(xdotool search --onlyvisible --pid "$program_pid" 2>/dev/null | head -n 1)
        [ -n "$window" ] && break
    fi
    sleep 0.1
done
if [ -n "$window" ]; then
    sleep 0.5
    import -window root "$artifacts/installed-first-run.png" 2>/dev/null
    pass "the installed program's first run shows the settings window ($(xdotool getwindowname "$window"))"
else
    fail "the installed program's first run shows the settings window" "$(tail -n 5 "$work/program.log")"
fi
if [ -f "$settings_file" ] && iconv -f GBK -t UTF-8 "$settings_file" | grep -q '^截图并翻译热键=Ctrl+F11'; then
    pass "first run wrote ~/.local/share/TovrikOcr/ZuDur.ini"
else
    fail "first run wrote ~/.local/share/TovrikOcr/ZuDur.ini" "$(ls -la "$home/.local/share/TovrikOcr" 2>&1)"
fi
if [ ! -e /usr/bin/ZuDur.ini ] && [ ! -e "/usr/bin/截图" ]; then
    pass "nothing written beside the installed executable"
else
    fail "nothing written beside the installed executable" "$(ls -d /usr/bin/ZuDur.ini /usr/bin/截图 2>&1)"
fi
kill "$program_pid" 2>/dev/null
wait "$program_pid" 2>/dev/null

# The installed stand-in finds its dictionary under /usr/share and answers a translation.
/usr/bin/tovrik-standin --port 0 --api-key k --secret-key s >"$work/standin.out" 2>"$work/standin.log" &
standin_pid=$!
pids+=("$standin_pid")
port=$(standin_port "$work/standin.out" "$standin_pid")
reply=""
if [ -n "$port" ]; then
    reply=$(curl -s --max-time 10 "http://127.0.0.1:$port/translate?doctype=json&type=AUTO&i=%E6%B2%A1%E6%9C%89%E7%BA%B8")
fi
if grep -q 'dictionary of [1-9][0-9]* headwords' "$work/standin.log" && grep -qi 'paper' <<<"$reply"; then
    pass "the installed stand-in loads its dictionary and translates (没有纸: $reply)"
else
    fail "the installed stand-in" "port '$port', reply '$reply': $(tail -n 3 "$work/standin.log")"
fi
kill "$standin_pid" 2>/dev/null
wait "$standin_pid" 2>/dev/null

if $SUDO env DEBIAN_FRONTEND=noninteractive apt-get remove -y -q tovrikocr >"$work/remove.log" 2>&1 &&
    [ ! -e /usr/bin/TovrikOcr ] && [ ! -e /usr/share/tovrikocr/dictionary.idx ]; then
    installed=0
    pass "apt-get remove takes the files away"
else
    fail "apt-get remove" "$(tail -n 5 "$work/remove.log")"
fi

echo "package check: $passed passed, $failed failed ($(($(date +%s) - start)) s)"
[ "$failed" -eq 0 ]
