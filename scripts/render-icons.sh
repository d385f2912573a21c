#!/usr/bin/env bash
# Renders the application icon's PNG sizes from its SVG (run after editing the SVG, then
# commit the PNGs; the build installs them as they are).
# Needs rsvg-convert (librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")/../resources/desktop/icons"
for size in 16 22 24 32 48 64 128 256; do
    rsvg-convert -w "$size" -h "$size" org.brevoir.Brevoir.svg -o "org.brevoir.Brevoir-$size.png"
done
