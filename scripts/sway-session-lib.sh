# Shell functions for the scripts that run the program in a headless sway session; sourced.
# sway refuses to run as root, and CI runs as root: then the session runs as a throwaway user.

# sway_session_run WORK SCRIPT: runs `bash WORK/SCRIPT --session WORK` on a session bus of its
# own, as the user tovrik-e2e when run as root (WORK is then handed to that user), with a clean
# environment; returns the script's exit code.
sway_session_run() {
    local work=$1 script=$2 user=tovrik-e2e runner=()
    chmod 755 "$work"
    if [ "$(id -u)" -eq 0 ]; then
        if ! id "$user" >/dev/null 2>&1; then
            useradd --no-create-home --home-dir "$work/home" --shell /bin/sh "$user" || {
                echo "FAIL setup: cannot create the user $user" >&2
                return 2
            }
        fi
        chown -R "$user:" "$work"
        runner=(runuser -u "$user" --)
    fi
    "${runner[@]}" env -i PATH="$PATH" LANG=C.UTF-8 LC_ALL=C.UTF-8 HOME="$work/home" \
        dbus-run-session -- bash "$work/$script" --session "$work"
}

# enter_sway_session WORK: inside the session, the user's folders under WORK.
enter_sway_session() {
    export XDG_RUNTIME_DIR="$1/runtime" XDG_CONFIG_HOME="$1/config" XDG_DATA_HOME="$1/data" HOME="$1/home"
    mkdir -p "$XDG_RUNTIME_DIR" "$HOME" "$XDG_CONFIG_HOME"
    chmod 700 "$XDG_RUNTIME_DIR"
}

# start_headless_sway CONFIG LOG: sway with two headless outputs (the config places them), added
# to pids; exports SWAYSOCK, WAYLAND_DISPLAY and XDG_SESSION_TYPE for the clients started after.
start_headless_sway() {
    # -D noscanout: on an output without the (software) cursor, sway hands a full-screen
    # window's buffer to the headless output as it is, and screencopy then reads the desktop
    # below it, not what the output shows: an overlay looked missing there until the pointer
    # came. Real outputs cannot show a client's shared-memory buffer that way; they composite
    # it, as this does.
    WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 WLR_HEADLESS_OUTPUTS=1 \
        sway -D noscanout -c "$1" >"$2" 2>&1 &
    pids+=("$!")
    for _ in $(seq 1 100); do
        SWAYSOCK=$(ls "$XDG_RUNTIME_DIR"/sway-ipc.*.sock 2>/dev/null | head -n 1)
        [ -n "$SWAYSOCK" ] && swaymsg -s "$SWAYSOCK" -t get_version >/dev/null 2>&1 && break
        sleep 0.1
    done
    export SWAYSOCK
    WAYLAND_DISPLAY=$(cd "$XDG_RUNTIME_DIR" && ls wayland-* 2>/dev/null | grep -v lock | head -n 1)
    export WAYLAND_DISPLAY XDG_SESSION_TYPE=wayland
    unset DISPLAY
    swaymsg create_output >/dev/null
    sleep 1
}
