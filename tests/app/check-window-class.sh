#!/bin/sh
# Starts the real program on an X display, with arguments it does not know,
# and checks that its main window comes up and that its WM_CLASS is the one
# the desktop entry names in StartupWMClass, and the entry's Exec is this
# executable: what docks and task switchers match a window to its launcher
# by. The display is a private Xvfb.
#   check-window-class.sh EXECUTABLE DESKTOP-ENTRY
set -u
exe=$1 entry=$2
config=$(mktemp -d)
pid= xvfb=
trap 'kill $pid $xvfb 2>/dev/null; wait $pid $xvfb 2>/dev/null; rm -rf "$config"' EXIT
. "$(dirname "$0")/../private-display.sh"
private_display "$config"
XDG_CONFIG_HOME="$config" QT_QPA_PLATFORM=xcb "$exe" --no-such-option stray-argument \
    >"$config/output" 2>&1 &
pid=$!

class=""
for _ in $(seq 100); do
    class=$(xprop -name Morvex WM_CLASS 2>/dev/null) && break
    kill -0 $pid 2>/dev/null || break
    sleep 0.1
done
# WM_CLASS(STRING) = "instance", "class"
wm_class=$(printf '%s\n' "$class" | sed -n 's/^WM_CLASS(STRING) = "\(.*\)", "\(.*\)"$/\2/p')
if [ -z "$wm_class" ]; then
    echo "FAIL no main window with a WM_CLASS appeared; the program printed:"
    cat "$config/output"
    exit 1
fi
startup_class=$(sed -n 's/^StartupWMClass=//p' "$entry")
exec_command=$(sed -n 's/^Exec=//p' "$entry")

failures=0
if [ "$wm_class" = "$startup_class" ]; then
    echo "ok   window class $wm_class = StartupWMClass of $(basename "$entry")"
else
    echo "FAIL window class '$wm_class', StartupWMClass '$startup_class'"
    failures=$((failures + 1))
fi
if [ "$exec_command" = "$(basename "$exe")" ]; then
    echo "ok   Exec=$exec_command starts $(basename "$exe")"
else
    echo "FAIL Exec=$exec_command, executable $(basename "$exe")"
    failures=$((failures + 1))
fi
echo "$failures failed"
[ "$failures" -eq 0 ]
