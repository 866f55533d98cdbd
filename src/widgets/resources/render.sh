#!/usr/bin/env bash
# Renders the SVG artwork to the PNG files the program compiles in (one-x and
# two-x sizes for HiDPI screens). Needs rsvg-convert (Debian: librsvg2-bin);
# run it after changing an SVG and commit the PNGs.
set -euo pipefail
cd "$(dirname "$0")"
for svg in glyphs/*.svg images/*.svg; do
  base=${svg%.svg}
  rsvg-convert -z 1 -o "$base.png" "$svg"
  rsvg-convert -z 2 -o "$base@2x.png" "$svg"
done

# The same icon for the desktop's menus and task bar, in the sizes the hicolor
# theme looks for first.
for size in 32 48 64 128; do
  mkdir -p "../../../packaging/icons/$size"
  rsvg-convert -w "$size" -h "$size" -o "../../../packaging/icons/$size/letterloom.png" images/appicon.svg
done
