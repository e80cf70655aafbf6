#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Jabbly developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Renders dist/jabbly.svg into dist/icons/jabbly<size>.png at the hicolor sizes. The PNGs
# are checked in, so building needs no SVG renderer; run this after changing the drawing.
# Needs rsvg-convert (Debian package librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")"
# The sizes are listed once, in cmake/JabblyLayout.cmake.
sizes=$(sed -n 's/^set(JABBLY_ICON_SIZES \(.*\))$/\1/p' ../cmake/JabblyLayout.cmake)
for size in $sizes; do
  rsvg-convert --width "$size" --height "$size" --keep-aspect-ratio jabbly.svg --output "icons/jabbly$size.png"
done
