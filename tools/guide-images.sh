#!/usr/bin/env bash
# Regenerates the pictures of the user's guide (docs/images) from velmora-windowshots.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
shots="$(mktemp -d)"
trap 'rm -rf "$shots"' EXIT
QT_QPA_PLATFORM=xcb xvfb-run -a -s '-screen 0 1280x900x24' build/tools/velmora-windowshots "$shots"
mkdir -p docs/images
for shot in main-window chart-type data-entry-one-chart place-picker FrmNatale listing dignities \
            appearance-tab0 ephemerides-planets library events; do
  if [ -f "$shots/$shot.png" ]; then
    cp "$shots/$shot.png" "docs/images/$shot.png"
  fi
done
echo "wrote docs/images"
