# Sourced by the Xvfb scripts. wait_for TITLE waits until a visible window's title matches the
# pattern and prints its id; it gives up when the program ($pid) has ended.
wait_for() {
  local id
  until id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1) && [ -n "$id" ]; do
    kill -0 "$pid" 2>/dev/null || { echo "velmora ended before '$1' showed" >&2; exit 1; }
    sleep 0.005
  done
  echo "$id"
}
