#!/bin/sh
# Regenerates the program icon's PNG sizes and the Windows .ico from
# morvex.svg. Needs rsvg-convert (librsvg2-bin) and icotool (icoutils):
#   scripts/install-deps release && resources/icons/render.sh
set -eu
cd "$(dirname "$0")"

# The sizes are the ones resources/CMakeLists.txt lists.
for n in $(sed -n 's/^set(MORVEX_ICON_SIZES \([0-9 ]*\))$/\1/p' ../CMakeLists.txt); do
    rsvg-convert --width "$n" --height "$n" --output "morvex-$n.png" morvex.svg
done

# Windows wants 16, 32 and 48 as bitmaps; the 256 entry is stored as PNG.
icotool --create --output morvex.ico \
    morvex-16.png morvex-32.png morvex-48.png --raw=morvex-256.png
