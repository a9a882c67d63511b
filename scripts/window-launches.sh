#!/usr/bin/env bash
# Starts the window many times under a real window manager (openbox on a virtual X
# server) while every core is kept busy and the window manager runs at a lower priority
# than the load, so that it answers late, and reports for each start where the window
# and a start-up error box come up. Run by hand, not part of the test command:
#
#   bash scripts/window-launches.sh [launches]   (30 when not given)
#
# For each launch it waits until the window has kept one place for a second, then reads
# the window manager's frame window: its outer size (frame included) must be 640x480,
# its place the middle of the screen, and the smallest size the window allows, frame
# included, 640x480 as well. A second round starts the program with a log file it
# cannot write, and reads the error box that comes up before the window: it must sit in
# the middle of the screen. The exit status is 0 when every launch was right.
#
# VASKAREL_LOAD sets the number of busy loops (twice the number of cores when not set),
# VASKAREL_WM_NICE the window manager's niceness (15 when not set; 0 runs it beside the
# load as an equal).
set -euo pipefail
cd "$(dirname "$0")/.."
launches=${1:-30}
load=${VASKAREL_LOAD:-$((2 * $(nproc)))}
wm_nice=${VASKAREL_WM_NICE:-15}
build=${VASKAREL_BUILD_DIR:-build}
screen_w=1024
screen_h=768

# Xvfb, openbox, xdotool and xwininfo/xprop, installed when missing.
scripts/install-missing.sh xvfb openbox xdotool x11-utils

scripts/deps.sh
cmake -S . -B "$build" -G Ninja >/dev/null
cmake --build "$build" -j"${VASKAREL_JOBS:-2}" --target vaskarel

tmp=$(mktemp -d "${TMPDIR:-/tmp}/vaskarel-launches.XXXXXX")
pids=()
app_pid=""
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$tmp"
}
trap cleanup EXIT

# The program runs from a folder of its own, its configuration naming a log file there;
# the second round's configuration names a folder as the log file.
mkdir -p "$tmp/program" "$tmp/unwritable" "$tmp/work"
cp "$build/src/window/qt/vaskarel" docs/vaskarel.txt "$tmp/program/"

Xvfb -displayfd 3 -screen 0 "${screen_w}x${screen_h}x24" -nolisten tcp 3>"$tmp/display" 2>/dev/null &
pids+=($!)
for _ in $(seq 50); do [ -s "$tmp/display" ] && break; sleep 0.1; done
export DISPLAY=":$(cat "$tmp/display")"
nice -n "$wm_nice" openbox >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 100); do
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
  sleep 0.1
done
sleep 1  # the window manager's start-up, unloaded

for _ in $(seq "$load"); do
  (while :; do :; done) &
  pids+=($!)
done
echo "openbox (niceness $wm_nice) on $DISPLAY (${screen_w}x${screen_h}), $load busy loop(s)"

# The window manager's frame around a client window: "x y width height" of the frame
# window (the client's parent), border included.
frame_of() {
  local parent info
  parent=$(xwininfo -children -id "$1" | awk '/Parent window id:/ {print $4}')
  info=$(xwininfo -id "$parent")
  awk -v info="$info" 'BEGIN {
    n = split(info, lines, "\n")
    for (i = 1; i <= n; i++) {
      if (lines[i] ~ /Absolute upper-left X:/) { split(lines[i], f, ":"); x = f[2] + 0 }
      if (lines[i] ~ /Absolute upper-left Y:/) { split(lines[i], f, ":"); y = f[2] + 0 }
      if (lines[i] ~ /Width:/) { split(lines[i], f, ":"); w = f[2] + 0 }
      if (lines[i] ~ /Height:/) { split(lines[i], f, ":"); h = f[2] + 0 }
      if (lines[i] ~ /Border width:/) { split(lines[i], f, ":"); b = f[2] + 0 }
    }
    print x, y, w + 2 * b, h + 2 * b
  }'
}

# The smallest outer size the window allows: its minimum size plus the frame's extents.
minimum_of() {
  local hints extents
  hints=$(xprop -id "$1" WM_NORMAL_HINTS | awk '/minimum size:/ {print $(NF-2), $NF}')
  extents=$(xprop -id "$1" _NET_FRAME_EXTENTS | awk -F'= ' '{print $2}' | tr -d ',')
  set -- $hints $extents
  if [ $# -eq 6 ]; then echo "$(($1 + $3 + $4))x$(($2 + $5 + $6))"; else echo "?"; fi
}

# Waits for a window named $1 and until its frame has kept one place and size for a
# second (at most 8 s); prints the window's id and "x y width height" of its frame.
settled_window() {
  local window="" previous="" current="" steady=0
  # Searched for again and again: a window that goes away in the middle of a search (the
  # last launch's, a frame being rebuilt) ends that search with an X error.
  for _ in $(seq 150); do
    window=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1)
    [ -n "$window" ] && break
    sleep 0.2
  done
  [ -n "$window" ] || return 1
  for _ in $(seq 40); do
    current=$(frame_of "$window" 2>/dev/null) || current=""
    if [ -n "$current" ] && [ "$current" = "$previous" ]; then
      steady=$((steady + 1))
      [ $steady -ge 5 ] && break
    else
      steady=0
    fi
    previous=$current
    sleep 0.2
  done
  echo "$window $current"
}

start_program() {
  printf '[Start]\nLogFile=%s\n' "$1" >"$tmp/program/vaskarel.ini"
  (cd "$tmp/work" && exec env LANG=C.UTF-8 "$tmp/program/vaskarel") >/dev/null 2>&1 &
  app_pid=$!
}

# Ends the program and waits until the window system has taken its windows down, so
# that the next launch cannot find one of them.
stop_program() {
  kill "$app_pid" 2>/dev/null || true
  wait "$app_pid" 2>/dev/null || true
  app_pid=""
  for _ in $(seq 50); do
    xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 || break
    sleep 0.1
  done
}

centred() {  # x y width height: the rectangle's middle within a pixel of the screen's
  [ $# -eq 4 ] || return 1
  for n in "$@"; do [[ $n =~ ^-?[0-9]+$ ]] || return 1; done
  local dx=$((2 * $1 + $3 - screen_w)) dy=$((2 * $2 + $4 - screen_h))
  [ ${dx#-} -le 1 ] && [ ${dy#-} -le 1 ]
}

# The verdicts on one launch: window id, x, y, width and height of its frame; each sets
# `detail` to what it read.
window_verdict() {
  local minimum
  minimum=$(minimum_of "$1" 2>/dev/null || echo "?")
  detail="outer ${4}x${5} at $2,$3, minimum $minimum"
  [ "${4}x${5}" = 640x480 ] && [ "$minimum" = 640x480 ] && centred "$2" "$3" "$4" "$5"
}
box_verdict() {
  detail="box outer ${4}x${5} at $2,$3"
  centred "$2" "$3" "$4" "$5"
}

# One round of launches: the log file the configuration names, the name of the window
# to read, what it is, and its verdict. Counts the right launches in `right`.
launch_round() {
  local i found x y w h detail
  right=0
  for i in $(seq "$launches"); do
    start_program "$1"
    found="" x="" y="" w="" h="" detail=""
    read -r found x y w h < <(settled_window "$2" 2>/dev/null)
    if [ -z "$found" ]; then
      printf 'launch %2d: no %s within 30 s: WRONG\n' "$i" "$3"
    elif "$4" "$found" "$x" "$y" "$w" "$h"; then
      printf 'launch %2d: %s: right\n' "$i" "$detail"
      right=$((right + 1))
    else
      printf 'launch %2d: %s: WRONG\n' "$i" "$detail"
    fi
    stop_program "$2"
  done
}

# From here on a failed reading is a wrong launch, not the end of the run.
set +e
echo "== the window"
launch_round "$tmp/program/vaskarel.log" '^Merge dialog strings$' window window_verdict
window_right=$right
echo "== the start-up error box"
launch_round "$tmp/unwritable" '^vaskarel$' box box_verdict
box_right=$right

echo "$window_right of $launches launches at 640x480 outside and centred"
echo "$box_right of $launches start-up error boxes centred"
[ "$window_right" -eq "$launches" ] && [ "$box_right" -eq "$launches" ]
