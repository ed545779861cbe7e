# Sourced by the checks that need an X display of their own. Xvfb picks the
# first free display number itself and writes it to fd 3 once it accepts
# connections, so checks started one right after another never race for a
# number the way `xvfb-run -a` does (a server still shutting down on :99).
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
