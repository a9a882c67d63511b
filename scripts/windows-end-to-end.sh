#!/usr/bin/env bash
# One whole use of the Windows window, driven by real keys on the virtual X server:
# vaskarel.exe started from the unpacked release archive under Wine, Ctrl+L with a
# path typed into the real open dialog, Ctrl+M, Ctrl+S with a path typed into the real
# save dialog, Alt+F4; then the saved bytes (those of vaskarel-merge.exe from the same
# archive), the backup and the log file are checked. Last, vaskarel.exe is started with
# the code file named on its command line, as "Open with" starts it, and must load it
# and its header as Ctrl+L does. Run by scripts/test.sh in its
# Windows stage, with WINEPREFIX, the Wine settings and the display set there
# (scripts/wine-env.sh, scripts/wine-display.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
zip=$(realpath "${1:-$(ls dist/vaskarel-[0-9]*-win64.zip | head -1)}")
: "${DISPLAY:?a display for Wine (scripts/wine-display.sh)}"
wine=/usr/lib/wine/wine64
tmp=$(mktemp -d "${TMPDIR:-/tmp}/vaskarel-e2e.XXXXXX")
app_pid=""
trap '[ -z "$app_pid" ] || kill "$app_pid" 2>/dev/null || true; rm -rf "$tmp"' EXIT
fail() {
  echo "windows end-to-end: $*" >&2
  exit 1
}
# Waits up to $1 seconds for the command after it to succeed.
wait_for() {
  local limit=$1
  shift
  for _ in $(seq $((limit * 10))); do
    "$@" >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  return 1
}
winpath() { echo "Z:${1//\//\\}"; }
# Presses KEYS in the window until the command after them succeeds (within 10 s), at
# most three times: under load the window manager may hand the focus over late, and a
# key sent before lands nowhere.
press_until() {
  local keys=$1
  shift
  for _ in 1 2 3; do
    xdotool windowactivate --sync "$window" 2>/dev/null || true
    xdotool key --clearmodifiers "$keys"
    wait_for 10 "$@" && return 0
  done
  return 1
}

(cd "$tmp" && cmake -E tar xf "$zip")
app=$(ls -d "$tmp"/vaskarel-[0-9]*-win64)
work="$tmp/scripts"
mkdir -p "$work"
cp tests/data/sample/dialog.c tests/data/sample/dialog.h "$work/"
original=$(cat "$work/dialog.c" | od -An -tx1)
# What the command-line tool of the same release writes for the pair.
"$wine" "$app/vaskarel-merge.exe" "$(winpath "$work/dialog.c")" -o "$(winpath "$tmp/expected.c")" \
  </dev/null >/dev/null 2>&1 || fail "vaskarel-merge.exe failed"

"$wine" "$app/vaskarel.exe" </dev/null >/dev/null 2>&1 &
app_pid=$!
window=""
wait_for 30 xdotool search --name "^Merge dialog strings$" || fail "no window"
window=$(xdotool search --name "^Merge dialog strings$" | head -1)
xdotool windowactivate --sync "$window" 2>/dev/null
log="$app/vaskarel.log"
wait_for 10 grep -q "Initialisation finished" "$log" || fail "no start-up in $log"

# Ctrl+L: the real open dialog, a path typed into its name field.
press_until ctrl+l xdotool search --name "^Open$" || fail "no open dialog"
sleep 0.5
xdotool type --delay 20 "$(winpath "$work/dialog.c")"
xdotool key Return
wait_for 20 grep -q "Assume that corresponding header file" "$log" || fail "Ctrl+L loaded nothing"

press_until ctrl+m grep -q "Merge files finished" "$log" || fail "Ctrl+M merged nothing"

# Ctrl+S: the real save dialog proposes the code file; its name is typed over it.
press_until ctrl+s xdotool search --name "^Save As$" || fail "no save dialog"
sleep 0.5
xdotool key ctrl+a
xdotool type --delay 20 "$(winpath "$work/dialog.c")"
xdotool key Return
wait_for 20 grep -q "Save merged file" "$log" || fail "Ctrl+S saved nothing"

press_until alt+F4 bash -c "! kill -0 $app_pid" || fail "Alt+F4 did not end the program"
app_pid=""

cmp "$work/dialog.c" "$tmp/expected.c" || fail "the saved bytes differ from vaskarel-merge's"
backups=("$work"/dialog.c.????-??-??-??-??-??)
[ -f "${backups[0]}" ] || fail "no backup"
[ "$(od -An -tx1 <"${backups[0]}")" = "$original" ] || fail "the backup is not the code file"
for line in " Load code file :" "Merge files finished" " Save merged file :" \
  "$(winpath "$work/dialog.c")"; do
  grep -qF -- "$line" "$log" || fail "the log lacks: $line"
done

# Started with the file, as "Open with" and a file dropped onto the exe start it.
count() { grep -cF -- "$1" "$log" || true; }
"$wine" "$app/vaskarel.exe" "$(winpath "$work/dialog.c")" </dev/null >/dev/null 2>&1 &
app_pid=$!
wait_for 30 xdotool search --name "^Merge dialog strings$" || fail "no window with a file"
window=$(xdotool search --name "^Merge dialog strings$" | head -1)
wait_for 20 bash -c "[ \$(grep -cF 'Assume that corresponding header file' '$log') -eq 2 ]" ||
  fail "the file named on the command line was not loaded with its header"
[ "$(count " Load code file :")" -eq 2 ] || fail "the file argument was not logged as Ctrl+L logs it"
[ "$(count "$(winpath "$work/dialog.h")")" -eq 2 ] || fail "the header beside it was not named"
press_until alt+F4 bash -c "! kill -0 $app_pid" ||
  fail "Alt+F4 did not end the program started with a file"
app_pid=""
echo "windows end-to-end: Ctrl+L, Ctrl+M, Ctrl+S, Alt+F4 in the real dialogs, and a file argument, passed"
