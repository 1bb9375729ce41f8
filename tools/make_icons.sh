#!/usr/bin/env bash
# Renders the program's icon, packaging/icons/pellmar.svg, to the PNG sizes a desktop's menus
# and file managers use (packaging/icons/<size>/pellmar.png). Run it after changing the SVG and
# commit the pictures, so that the build needs no renderer. Needs rsvg-convert (librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")/../packaging/icons"
for size in 16 22 24 32 48 64 128 256; do
  mkdir -p "$size"
  rsvg-convert --width "$size" --height "$size" --output "$size/pellmar.png" pellmar.svg
done
