#!/bin/bash
# e2e_history.sh: undo, the modified mark and the recovery file, driven
# with real X events the way a person would:
#  1. drag a point, Ctrl-Q: the save question comes, Enter (Yes) saves the
#     new position;
#  2. drag again, Ctrl-Z, Ctrl-S: the file is as before the drag;
#  3. drag, then the program is killed (SIGKILL): a restart offers the
#     recovery file, Enter (Yes) brings the drag back, Ctrl-S saves it, and
#     a clean exit leaves no recovery file behind.
#   e2e_history.sh PROGRAM
# Needs xvfb-run and xdotool. Prints "N passed, N failed" at the end.
set -u
if [ -z "${E2E_ON_XVFB:-}" ]; then
  E2E_ON_XVFB=1 exec bash "$(dirname "$0")/xvfb.sh" bash "$0" "$@"
fi
bin=$1
. "$(dirname "$0")/e2e_lib.sh"
file=$work/drag.T
printf '.geometry "version 0.65";\nA = .free(0, 0, "A");\nB = .free(0.5, 0.5, "B");\nl = .l.vv(A, B);\n' >"$file"
wid=""

start() {  # start: runs the program on the file, waits for its window
  "$bin" "$file" &
  app=$!
  wid=""
  for _ in $(seq 100); do
    wid=$(xdotool search --onlyvisible --name 'drag\.T' 2>/dev/null | head -1)
    [ -n "$wid" ] && break
    sleep 0.1
  done
  sleep 1
}
gone() {  # gone: 0 once the program has ended (within 5 s)
  for _ in $(seq 50); do
    kill -0 "$app" 2>/dev/null || { wait "$app" 2>/dev/null; app=""; return 0; }
    sleep 0.1
  done
  return 1
}
at() { xdotool mousemove --window "$wid" "$1" "$2"; sleep 0.15; }
key() { xdotool key "$@"; sleep 0.5; }
# drag X0 Y0 X1 Y1: press at window pixel (X0, Y0), move to (X1, Y1),
# release. A starts at the centre of the 400 x 450 drawing area, which
# lies 24 pixels under the menu bar: (200, 249).
drag() {
  at "$1" "$2"
  xdotool mousedown 1
  sleep 0.2
  for f in 1 2 3 4; do
    xdotool mousemove --window "$wid" $(($1 + ($3 - $1) * f / 4)) $(($2 + ($4 - $2) * f / 4))
    sleep 0.1
  done
  xdotool mouseup 1
  sleep 0.4
}
pointA() { grep '^A = ' "$file"; }
original=$(pointA)

start
check "window" test -n "$wid"
drag 200 249 100 149
key ctrl+q
sleep 0.5
key Return  # "File modified -- save changes?": Yes
check "a drag then Quit asks and Yes saves and ends" gone
check "the saved file holds the dragged point" test "$(pointA)" != "$original"
check "the line still reads" grep -q '^l = .l.vv(A, B' "$file"
dragged=$(pointA)

start
drag 100 149 300 349
key ctrl+z
key ctrl+s
check "Ctrl-Z then Ctrl-S saves the point where it was" test "$(pointA)" = "$dragged"
title=$(xdotool getwindowname "$wid")
check "back at the saved state the title has no mark ($title)" test "${title%\*}" = "$title"
key ctrl+shift+z
title=$(xdotool getwindowname "$wid")
check "redo marks it modified again ($title)" test "${title%\*}" != "$title"
key ctrl+s
check "redo brought the drag back" test "$(pointA)" != "$dragged"

drag 300 349 150 199
sleep 0.5
rec=$(ls "$XDG_STATE_HOME"/tessarin/*.T 2>/dev/null | head -1)
check "a modified diagram has a recovery file" test -n "$rec"
check "the recovery file is private" test "$(stat -c %a "$rec" 2>/dev/null)" = 600
kill -9 "$app"
wait "$app" 2>/dev/null
app=""
beforecrash=$(pointA)
start
key Return  # "Recover unsaved changes to ...?": Yes
title=$(xdotool getwindowname "$wid")
check "the recovered diagram is marked modified ($title)" test "${title%\*}" != "$title"
key ctrl+s
check "the recovered drag is saved" test "$(pointA)" != "$beforecrash"
key ctrl+q
check "a clean exit ends the program" gone
left=$(ls "$XDG_STATE_HOME"/tessarin/ 2>/dev/null)
check "a clean exit leaves no recovery file ($left)" test -z "$left"

summary
