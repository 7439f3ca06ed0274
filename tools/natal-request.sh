#!/usr/bin/env bash
# Drives Velmora under Xvfb with real input events, as a user would: starts ./run, asks for a
# natal chart of Salma, 4 May 1990 at 08:15 in Cairo (typed into the place picker), shows the
# information panel and the positions listing, saves the chart picture as a bitmap, opens a
# transits and a solar chart too, prints the resident memory with the three windows, and ends
# with the exit button. Writes screenshots and the saved picture to the folder given (default
# /tmp/velmora-natal).
# Needs xvfb, xdotool, imagemagick.
set -euo pipefail
cd "$(dirname "$0")/.."
out=$(realpath -m "${1:-/tmp/velmora-natal}")
if [ -z "${VELMORA_XVFB_DISPLAY:-}" ]; then
  exec env VELMORA_XVFB_DISPLAY=1 xvfb-run -a -s "-screen 0 1280x900x24" "$0" "$@"
fi
export LC_ALL=C.UTF-8 QT_QPA_PLATFORM=xcb
mkdir -p "$out"
rm -f "$out"/natal.bmp

source tools/wait-for-window.sh

# Clicks at a point of a window, relative to its top left corner.
click() { xdotool mousemove --window "$1" "$2" "$3" click 1; sleep 0.3; }

# Sets a box of the place picker: only keypad digits and backspace pass its key check.
set_box() {
  click "$picker" "$1" "$2"
  xdotool key End BackSpace BackSpace BackSpace
  shift 2
  for digit in "$@"; do xdotool key "KP_$digit"; done
  sleep 0.2
}

shot() { sleep 0.5; import -window root "$out/$1.png"; }

# Chooses a kind (its option's row 0..5) and continues to the data entry.
request() {
  click "$main" 1037 16
  local types
  types=$(wait_for 'إختيار نوع الهيئة')
  click "$types" 157 $((36 + 26 * $1))
  click "$types" 137 205
  entry=$(wait_for 'إدخال المعلومات')
}

confirm_entry() {
  eval "$(xdotool getwindowgeometry --shell "$entry")"
  click "$entry" 137 $((HEIGHT - 23))
}

./run &
pid=$!
trap 'kill "$pid" 2>/dev/null || true' EXIT
main=$(wait_for '^برنامج فلمورا$')
sleep 1
shot 01-main-window

request 1
eval "$(xdotool getwindowgeometry --shell "$entry")"
click "$entry" $((WIDTH - 179)) 21
xdotool key ctrl+a type --delay 40 'سلمى'
click "$entry" $((WIDTH - 131)) 49 # the hour; Enter goes on to the minute, day, month, year
xdotool type '8'
for text in 15 4 5 1990; do xdotool key Return type "$text"; done
shot 02-data-entry

click "$entry" 76 155
picker=$(wait_for 'إحداثيات البلد')
# The degree and minute boxes read left to right, as the coordinates are written.
set_box 449 324 3 0 # latitude 30°03' north
set_box 511 324 0 3
set_box 170 324 3 1 # longitude 31°15' east
set_box 232 324 1 5
set_box 474 364 2   # time zone 2
shot 03-place-picker
click "$picker" 51 364
shot 04-data-entry-with-place
confirm_entry
# The chart window is a child of the main window, the first one at the MDI area's top right
# (right to left): its menu items are at these points of the main window.
menu_x=1040
for y in 118 142 166 198 238; do xdotool mousemove --window "$main" "$menu_x" "$y"; sleep 0.1; done
click "$main" "$menu_x" 142 # the information panel
shot 05-natal-window

click "$main" "$menu_x" 118 # the positions listing
listing=$(wait_for 'عرض الأطوال')
shot 06-listing
xdotool key Escape
while xdotool search --onlyvisible --name 'عرض الأطوال' >/dev/null; do sleep 0.05; done

click "$main" "$menu_x" 198 # save the picture
save=$(wait_for '^حفظ الصورة$')
click "$save" 300 360
xdotool key ctrl+a type "$out/natal"
shot 07-save-dialog
click "$save" 50 360
until [ -s "$out/natal.bmp" ]; do sleep 0.1; done
file "$out/natal.bmp"
shot 08-saved

request 2
confirm_entry
request 4
confirm_entry
shot 09-three-windows
grep VmRSS "/proc/$pid/status"

click "$main" 689 16
start=$(date +%s%3N)
while kill -0 "$pid" 2>/dev/null; do sleep 0.01; done
echo "the exit button ended the program after $(($(date +%s%3N) - start)) ms"
