#!/usr/bin/env bash
# Renders the program's icon (packaging/voltaria.svg) to the PNG sizes the menu themes use.
# Run after changing the SVG and commit the PNGs with it.
set -euo pipefail
cd "$(dirname "$0")/../packaging"
for size in 48 128; do
  rsvg-convert --width "$size" --height "$size" voltaria.svg --output "voltaria-$size.png"
done
