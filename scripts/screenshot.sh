#!/usr/bin/env bash
# Takes the picture of the window shown in the README: starts the real program on a
# virtual X server (Xvfb), loads the sample script pair tests/data/sample/dialog.c with
# its header by the keyboard (Ctrl+L, the path typed into the open dialog), merges
# (Ctrl+M) and writes the window as docs/screenshot.png (or the path given).
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-docs/screenshot.png}
build=${VASKAREL_BUILD_DIR:-build}

# Xvfb, xdotool, xwd and the netpbm converters, installed when missing.
scripts/install-missing.sh xvfb xdotool x11-apps netpbm

scripts/deps.sh
cmake -S . -B "$build" -G Ninja >/dev/null
cmake --build "$build" -j"${VASKAREL_JOBS:-2}" --target vaskarel

# The program runs from a folder of its own: its configuration names a log file there,
# and the sample pair lies in a work folder beside it. The folder has a plain name,
# since its paths show in the picture.
tmp=${TMPDIR:-/tmp}/vaskarel-screenshot
rm -rf "$tmp"
xvfb_pid=""
app_pid=""
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$tmp"
}
trap cleanup EXIT
mkdir -p "$tmp/program" "$tmp/work"
cp "$build/src/window/qt/vaskarel" docs/vaskarel.txt "$tmp/program/"
printf '[Start]\nLogFile=%s\n' "$tmp/program/vaskarel.log" >"$tmp/program/vaskarel.ini"
cp tests/data/sample/dialog.c tests/data/sample/dialog.h "$tmp/work/"

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$tmp/display" 2>/dev/null &
xvfb_pid=$!
for _ in $(seq 50); do [ -s "$tmp/display" ] && break; sleep 0.1; done
export DISPLAY=":$(cat "$tmp/display")"

(cd "$tmp/work" && exec env LANG=C.UTF-8 "$tmp/program/vaskarel") >/dev/null 2>&1 &
app_pid=$!
window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Merge dialog strings$' | head -1)

# Keys go to the window under the pointer; resting it on the log pane also puts the
# page's hint into the status bar.
eval "$(xdotool getwindowgeometry --shell "$window")"
xdotool mousemove $((X + 320)) $((Y + 300))
sleep 0.5

xdotool key ctrl+l
dialog=$(timeout 20 xdotool search --sync --onlyvisible --name '^Open$' | head -1)
xdotool type --delay 10 "$tmp/work/dialog.c"
xdotool key Return
for _ in $(seq 100); do
  xdotool search --onlyvisible --name '^Open$' >/dev/null 2>&1 || break
  sleep 0.1
done
[ -n "$dialog" ]
xdotool mousemove $((X + 320)) $((Y + 300))
xdotool key ctrl+m
sleep 1

mkdir -p "$(dirname "$out")"
xwd -silent -id "$window" | xwdtopnm 2>/dev/null | pnmtopng >"$out"
echo "Wrote $out"
