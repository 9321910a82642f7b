#!/bin/sh
# Renders the skin's artwork: every art/skin/<path>.svg becomes skin/<path>.png at its
# own size and skin/<path>@2x.png at twice that size; art/mirado.svg becomes the
# 256x256 window and desktop icon skin/mirado_icon.png. Run it after editing any SVG
# and commit the PNGs with their sources.
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

if ! command -v rsvg-convert >/dev/null 2>&1; then
    echo "render-skin-art: rsvg-convert not found (Debian package librsvg2-bin)" >&2
    exit 1
fi

find art/skin -name '*.svg' | LC_ALL=C sort | while IFS= read -r svg; do
    rel=${svg#art/skin/}
    out=skin/${rel%.svg}
    mkdir -p "$(dirname "$out")"
    rsvg-convert --zoom=1 --output="$out.png" "$svg"
    rsvg-convert --zoom=2 --output="$out@2x.png" "$svg"
done

rsvg-convert --width=256 --height=256 --output=skin/mirado_icon.png art/mirado.svg

echo "render-skin-art: $(find art/skin -name '*.svg' | wc -l) skin images at 1x and 2x, and skin/mirado_icon.png"
