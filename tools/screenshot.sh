#!/usr/bin/env bash
# Starts Velmora under Xvfb as a user would, clicks the splash away as soon as it shows, and
# saves a picture of the main window (default docs/screenshot.png). Prints how long the program
# took from its start to the splash and to the main window. Needs xvfb, xdotool, imagemagick.
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-docs/screenshot.png}
if [ -z "${VELMORA_XVFB_DISPLAY:-}" ]; then
  exec env VELMORA_XVFB_DISPLAY=1 xvfb-run -a -s "-screen 0 1280x800x24" "$0" "$@"
fi
export LC_ALL=C.UTF-8 QT_QPA_PLATFORM=xcb

now_ms() { date +%s%3N; }

source tools/wait-for-window.sh

start=$(now_ms)
build/app/velmora &
pid=$!
trap 'kill "$pid" 2>/dev/null || true' EXIT

splash=$(wait_for '^فلمورا$')
splash_ms=$(($(now_ms) - start))
xdotool mousemove --window "$splash" 40 40 click 1
main=$(wait_for '^برنامج فلمورا$')
main_ms=$(($(now_ms) - start))
echo "splash shown after ${splash_ms} ms, main window after ${main_ms} ms"

# Let the first paint land before the picture is taken.
sleep 0.5
import -window "$main" "$out"
echo "wrote $out"
