#!/usr/bin/env bash
# Regenerates the stored pictures in resources/images and the glyph sheet build/glyph-sheet.png.
# Needs xplanet-images (public-domain NASA Earth images) and fonts-noto-core (Arabic title).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-debian.sh --tools
scripts/build.sh
export QT_QPA_PLATFORM=offscreen
build/tools/imagegen/velmora-imagegen images resources/fonts/VelmoraFonts.ttf resources/images
build/tools/imagegen/velmora-imagegen sheet resources/fonts/VelmoraFonts.ttf build/glyph-sheet.png
