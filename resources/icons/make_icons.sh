#!/bin/sh
# Renders the program icons from their SVG drawings into the 64 x 64 PNGs that
# icons.qrc lists and into the Windows icons (16 to 64 pixels) that the
# programs' .rc files include. Needs ImageMagick. Run it after changing a
# drawing and commit the PNGs and icons with it.
set -eu
cd "$(dirname "$0")"
for name in qm qmdemo qm71sample; do
    convert -background none -density 96 "$name.svg" -resize 64x64 -depth 8 \
        -define png:exclude-chunks=date,time "PNG32:$name.png"
    convert "$name.png" -define icon:auto-resize=64,48,32,16 "$name.ico"
done
