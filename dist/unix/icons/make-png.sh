#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Makes the PNG icons from the SVG one; run it after changing the drawing and
# commit the PNGs (the build takes them as they are). Needs rsvg-convert
# (Debian: librsvg2-bin).
set -eu
cd "$(dirname "$0")"
for size in 48 64 128 256; do
  rsvg-convert -w $size -h $size org.tenaxo.Tenaxo.svg -o org.tenaxo.Tenaxo-$size.png
done
