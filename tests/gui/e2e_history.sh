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
. "$(dirname "$0")/e2e_lib.sh"
bin=$1
file=$work/drag.T
printf '.geometry "version 0.65";\nA = .free(0, 0, "A");\nB = .free(0.5, 0.5, "B");\nl = .l.vv(A, B);\n' >"$file"
# A starts at the centre of the drawing area: window pixel (200, 249).
original=$(pointA "$file")

start "$bin" "$file"
check "window" test -n "$wid"
drag 1 200 249 100 149
key ctrl+q
sleep 0.5
key Return  # "File modified -- save changes?": Yes
check "a drag then Quit asks and Yes saves and ends" gone
check "the saved file holds the dragged point" test "$(pointA "$file")" != "$original"
check "the line still reads" grep -q '^l = .l.vv(A, B' "$file"
dragged=$(pointA "$file")

start "$bin" "$file"
drag 1 100 149 300 349
key ctrl+z
key ctrl+s
check "Ctrl-Z then Ctrl-S saves the point where it was" test "$(pointA "$file")" = "$dragged"
check "back at the saved state the title has no mark ($(title))" test "$(title)" = "$file"
key ctrl+shift+z
check "redo marks it modified again ($(title))" test "$(title)" = "$file*"
key ctrl+s
check "redo brought the drag back" test "$(pointA "$file")" != "$dragged"

drag 1 300 349 150 199
sleep 0.5
rec=$(ls "$XDG_STATE_HOME"/tessarin/*.T 2>/dev/null | head -1)
check "a modified diagram has a recovery file" test -n "$rec"
check "the recovery file is private" test "$(stat -c %a "$rec" 2>/dev/null)" = 600
stop  # killed: no clean exit
beforecrash=$(pointA "$file")
start "$bin" "$file"
key Return  # "Recover unsaved changes to ...?": Yes
check "the recovered diagram is marked modified ($(title))" test "$(title)" = "$file*"
key ctrl+s
check "the recovered drag is saved" test "$(pointA "$file")" != "$beforecrash"
key ctrl+q
check "a clean exit ends the program" gone
left=$(ls "$XDG_STATE_HOME"/tessarin/ 2>/dev/null)
check "a clean exit leaves no recovery file ($left)" test -z "$left"

summary
