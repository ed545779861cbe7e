# Sourced by the checks that need a display of their own.
#
# X: Xvfb picks the first free display number itself and writes it to fd 3
# once it accepts connections, so checks started one right after another
# never race for a number the way `xvfb-run -a` does (a server still
# shutting down on :99).
#   private_display FOLDER   starts it, exports DISPLAY, sets $xvfb to its pid
private_display() {
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$1/display" 2>/dev/null &
    xvfb=$!
    for _ in $(seq 100); do
        [ -s "$1/display" ] && break
        sleep 0.1
    done
    DISPLAY=:$(cat "$1/display")
    export DISPLAY
}

# Wayland: a headless weston whose socket lies in a runtime folder of its
# own, FOLDER/runtime, so that no name can clash with another compositor's.
# Weston 10 (Debian 12) names its backends by their modules, later releases
# by short names.
#   private_compositor FOLDER   starts it, exports XDG_RUNTIME_DIR and
#                               WAYLAND_DISPLAY, sets $weston to its pid
private_compositor() {
    mkdir -p "$1/runtime" && chmod 700 "$1/runtime"
    XDG_RUNTIME_DIR=$1/runtime WAYLAND_DISPLAY=wayland-morvex
    export XDG_RUNTIME_DIR WAYLAND_DISPLAY
    backend=headless
    case $(weston --version 2>/dev/null) in "weston "[0-9].* | "weston 10."*) backend=headless-backend.so ;; esac
    weston --backend=$backend --socket="$WAYLAND_DISPLAY" --no-config --idle-time=0 \
        >"$1/weston.log" 2>&1 &
    weston=$!
    for _ in $(seq 100); do
        [ -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY" ] && break
        sleep 0.1
    done
}
