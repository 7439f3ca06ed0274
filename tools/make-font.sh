#!/usr/bin/env bash
# Rebuilds resources/fonts/VelmoraFonts.ttf from DejaVu Sans with FontForge.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-debian.sh --tools
/usr/bin/python3 tools/make_font.py
