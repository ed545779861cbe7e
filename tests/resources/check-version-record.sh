#!/bin/sh
# Compiles the Windows resource script with windres, or takes the resources
# out of a built executable, and checks the version record byte by byte: the
# fixed versions, the version texts, the Japanese comment and names as
# UTF-16LE, the Japanese/Unicode language block and the icon.
#   check-version-record.sh WINDRES RC-FILE|EXE-FILE MAJOR.MINOR.REVISION.BUILD
set -eu
windres=$1 rc=$2 version=$3

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
case $rc in
*.exe) format=coff ;;
*) format=rc ;;
esac
# Cross toolchains without their own compiler preprocess with the host's cpp;
# the script only needs comments and #define expanded.
"$windres" --preprocessor=cpp --input-format=$format --output-format=res \
    --input="$rc" --output="$tmp/out.res"

# Bytes as " xx xx xx": searches stay aligned to whole bytes.
hex() { od -An -v -tx1 | tr -s ' \n' '  ' | sed 's/ *$//'; }
res=$(hex < "$tmp/out.res")
utf16() { printf '%s' "$1" | iconv -f UTF-8 -t UTF-16LE | hex; }
le16() { printf ' %02x %02x' $(($1 & 255)) $(($1 >> 8 & 255)); }

failures=0
expect() { # description, extended regular expression over $res
    if printf '%s\n' "$res" | grep -Eq -- "$2"; then
        echo "ok   $1"
    else
        echo "FAIL $1"
        failures=$((failures + 1))
    fi
}

IFS=. read -r major minor revision build <<EOF2
$version
EOF2
# VS_FIXEDFILEINFO: signature, structure version 1.0, then the file and the
# product version, each as (major << 16 | minor, revision << 16 | build).
ms="$(le16 "$minor")$(le16 "$major")"
ls="$(le16 "$build")$(le16 "$revision")"
expect "fixed file and product version $version" \
    " bd 04 ef fe 00 00 01 00$ms$ls$ms$ls"

# A string value: key, its terminator, padding to 32 bits, value, terminator.
string_value() { # key, value
    expect "$1 = $2" "$(utf16 "$1") 00 00( 00 00)?$(utf16 "$2") 00 00"
}
text=$(printf '%d.%02d' "$major" "$minor")
[ "$revision" -eq 0 ] || text=$(printf '%s.%04d' "$text" "$revision")
string_value FileVersion "$text"
string_value ProductVersion "$text"
string_value Comments "追い上げによる投資額の算出"
string_value ProductName Morvex
string_value InternalName Morvex
string_value OriginalFilename Morvex.exe

expect "string block 041104b0" "$(utf16 StringFileInfo) 00 00( 00 00)?( [0-9a-f]{2}){6}$(utf16 041104b0) 00 00"
expect "translation Japanese (0x0411), code page 1200" "$(utf16 Translation) 00 00( 00 00)? 11 04 b0 04"
# Resource headers: type, name, data version, memory flags, language.
# windres loses the language when it reads an executable; wrestool lists it.
if [ "$format" = rc ]; then
    expect "version resource in Japanese" " ff ff 10 00 ff ff 01 00 00 00 00 00( [0-9a-f]{2}){2} 11 04"
elif wrestool -l --type=16 "$rc" | grep -q -- '--name=1 --language=1041 '; then
    echo "ok   version resource in Japanese"
else
    echo "FAIL version resource in Japanese"
    failures=$((failures + 1))
fi
expect "icon group" " ff ff 0e 00$(utf16 IDI_ICON1) 00 00"
icons=$(printf '%s\n' "$res" | grep -Eo " ff ff 03 00 ff ff 0[1-9] 00" | wc -l)
if [ "$icons" -eq 4 ]; then echo "ok   4 icon images"; else echo "FAIL $icons icon images, expected 4"; failures=$((failures + 1)); fi

echo "$failures failed"
[ "$failures" -eq 0 ]
