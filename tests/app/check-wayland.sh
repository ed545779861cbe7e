#!/bin/sh
# The real program on Wayland, which neither tells a window's place nor lets
# a program set it: under a private headless weston, with a settings file
# that holds a place for every window (one of them the garbage an older
# version saved there), the test plugin (drive.cpp) types new inputs, opens
# every window and draws a new bankroll; then the windows are closed once
# by a termination signal (the version window still open) and once by
# their close boxes, the main window last. Each time the program must end
# with status 0 and leave the settings file as it was, byte for byte, but
# for the new inputs and bankroll: no stored place is changed.
#   check-wayland.sh EXECUTABLE PLUGIN-FOLDER
set -u
exe=$1 plugins=$2
work=$(mktemp -d)
pid= weston=
trap 'kill $pid $weston 2>/dev/null; wait $pid $weston 2>/dev/null; rm -rf "$work"' EXIT
. "$(dirname "$0")/../private-display.sh"
private_compositor "$work"
mkdir "$work/config"
settings=$work/config/morvex.ini

seed() { # start amount, odds, defeats, bankroll [, what the record window saves]
    printf '%s\n' "[MainWindow]" "WindowTop=3000" "WindowLeft=4500" "" \
        "[Condition]" "StartAmount=$1" "Odds=$2" "Defeats=$3" "" \
        "[AboutWindow]" "WindowTop=-735" "WindowLeft=-165" "" \
        "[UsageWindow]" "WindowTop=1,800" "WindowLeft=2550" "" \
        "[TableWindow]" "WindowLeft=1500" "WindowTop=1E+08" "" \
        "[ChartWindow]" "WindowTop=2250" "WindowLeft=3000" "Bankroll=$4" ${5:+"Ticket=単勝"} "" \
        "[RaceLogWindow]" "WindowTop=900" "WindowLeft=-45" ${5:+"TargetProfit=$5" "Coefficient=1.0"}
}

# Under AddressSanitizer (make check-sanitize) stacks are unwound slowly:
# the fast unwinder stops in Mesa's driver, short of the Qt frames that
# tests/lsan.supp names.
ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}fast_unwind_on_malloc=0
export ASAN_OPTIONS

failures=0
for how in signal close; do
    seed 1000 3 0 100000 >"$settings"
    # A headless weston has no seat: no input method, which would ask the
    # seat's keyboard about every key the plugin sends.
    env -u DISPLAY XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" \
        QT_QPA_PLATFORM=wayland QT_IM_MODULE=none \
        QT_PLUGIN_PATH="$plugins" QT_QPA_GENERIC_PLUGINS="morvexdrive:$how" \
        "$exe" >"$work/output" 2>&1 &
    pid=$!
    if [ "$how" = signal ]; then
        for _ in $(seq 300); do
            grep -q ' ready$' "$work/output" && break
            kill -0 $pid 2>/dev/null || break
            sleep 0.1
        done
        kill -TERM $pid 2>/dev/null
    fi
    status=timeout
    for _ in $(seq 300); do
        kill -0 $pid 2>/dev/null || { wait $pid; status=$?; pid=; break; }
        sleep 0.1
    done
    seed 2000 4.5 3 75000 3000 >"$work/expected"
    if [ "$status" = 0 ] && grep -qx 'platform wayland' "$work/output" &&
        cmp -s "$work/expected" "$settings"; then
        echo "ok   closed by $how: status 0, every place as it was, the new inputs saved"
    else
        echo "FAIL closed by $how: status $status; the program printed:"
        cat "$work/output"
        echo "the settings file against what it should be:"
        diff "$work/expected" "$settings"
        failures=$((failures + 1))
    fi
done
echo "$failures failed"
[ "$failures" -eq 0 ]
