# Sourced by the scripts that run Windows executables: a throwaway Wine prefix, no debug noise,
# no Mono/Gecko prompts, and the Chinese locale so that Wine's ANSI code page is 936.
export WINEPREFIX="${WINEPREFIX:-${TMPDIR:-/tmp}/tovrik-wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
export LC_ALL=zh_CN.UTF-8

tovrik_wine_prefix() {
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        mkdir -p "$WINEPREFIX"
        wineboot -i >/dev/null 2>&1 || true
        wineserver -w || true
    fi
}
