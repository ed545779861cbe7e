#!/bin/sh
# The command line of the real executable: --version and --help print their
# text and exit 0 without a window (no display here, so a window would abort
# the program), in English or, under a Japanese locale, in Japanese.
#   check-command-line.sh EXECUTABLE "TITLE VERSION"
set -u
exe=$1 version=$2
failures=0
check() { # description, expected status, expected text (grep -F), actual status, output
    if [ "$4" -eq "$2" ] && printf '%s\n' "$5" | grep -qF -- "$3"; then
        echo "ok   $1"
    else
        printf 'FAIL %s: status %s, output:\n%s\n' "$1" "$4" "$5"
        failures=$((failures + 1))
    fi
}
run() { # environment assignments… -- arguments…
    env -u DISPLAY -u WAYLAND_DISPLAY -u LANGUAGE -u LC_ALL -u LC_MESSAGES -u LANG \
        QT_QPA_PLATFORM=xcb "$@" 2>&1
}

out=$(run LC_ALL=C.UTF-8 "$exe" --version); check "--version" 0 "$version" $? "$out"
[ "$out" = "$version" ] || { echo "FAIL --version printed more than '$version'"; failures=$((failures + 1)); }
out=$(run LANG=ja_JP.UTF-8 "$exe" -v); check "-v" 0 "$version" $? "$out"
out=$(run LC_ALL=C "$exe" --help); check "--help in English" 0 "Usage: $(basename "$exe") [--help | --version]" $? "$out"
out=$(run LANG=en_US.UTF-8 "$exe" -h --no-such-option); check "-h among unknown options" 0 "  -v, --version" $? "$out"
out=$(run LANG=ja_JP.UTF-8 "$exe" --help); check "--help under LANG=ja_JP" 0 "使い方: $(basename "$exe")" $? "$out"
out=$(run LANG=C LC_ALL=ja_JP.UTF-8 "$exe" stray --help); check "--help under LC_ALL=ja_JP" 0 "バージョンを表示して終了します" $? "$out"
# Qt's own single-dash options are words, not bundles of -r -e -v …
out=$(run LC_ALL=C.UTF-8 timeout 10 "$exe" -reverse); status=$?
if [ "$status" -ne 0 ] && ! printf '%s' "$out" | grep -qF "$version"; then
    echo "ok   -reverse is no version request (the program tried to start: status $status)"
else
    printf 'FAIL -reverse: status %s, output:\n%s\n' "$status" "$out"
    failures=$((failures + 1))
fi

echo "$failures failed"
[ "$failures" -eq 0 ]
