#!/bin/bash
# e2e_commands.sh: drives the real program with X events the way a person
# would (panel buttons, clicks and a drag in the drawing area, the colour
# choice, keys, Ctrl-S), then reads the saved diagram back and checks it.
#   e2e_commands.sh PROGRAM [SCREENSHOT.png]
# Needs xvfb-run and xdotool. Prints "N passed, N failed" at the end.
set -u
. "$(dirname "$0")/e2e_lib.sh"
bin=$1
shot=${2:-}
saved=$work/e2e.T
printf '.geometry "version 0.65";\n' >"$saved"
start "$bin" "$saved"
[ -n "$wid" ] || { echo "no window"; echo "0 passed, 1 failed"; exit 1; }

# Free P, double-clicked on the panel: repeat mode, three points.
at 430 26
xdotool click --repeat 2 --delay 120 1
sleep 0.3
draw 100 300   # A (-0.5, -0.375)
draw 300 300   # B ( 0.5, -0.375)
draw 200 100   # C ( 0,    0.625)
at 200 200
key ctrl+g     # leave repeat mode
# PP=>L on the panel, then A and B.
click 521 26
draw 100 300
draw 300 300
# Drag C to (250, 80): world (0.25, 0.725).
drag 1 200 124 250 104
# C is selected: the Color choice, one step up from White is Cyan... six
# steps up is Red.
click 444 228
for _ in 1 2 3 4 5 6; do key Up; done
key Return
# Keys in the drawing area: select A, Ctrl-Shift-3 makes it yellow; then
# the plain key 2 (PP=>L) and B, C make a second line.
draw 100 300
key ctrl+shift+3
key 2
draw 300 300
draw 250 80
at 200 200
sleep 0.5
[ -n "$shot" ] && import -window root "$shot" 2>/dev/null
key ctrl+s

check "the title lost its modified mark ($(title))" test "$(title)" = "$saved"
frees=$(grep -c '\.free(' "$saved")
check "three free points saved (found $frees)" [ "$frees" = 3 ]
lines=$(grep -c '\.l\.vv(' "$saved")
check "two lines saved (found $lines)" [ "$lines" = 2 ]
check "a red point" grep -q '\.free(.*\.red' "$saved"
check "a yellow point" grep -q '\.free(.*\.yellow' "$saved"
# Free points within a pixel of (x, y).
near() {
  grep '\.free(' "$saved" | sed 's/.*\.free( *\([-0-9.e]*\) *, *\([-0-9.e]*\).*/\1 \2/' |
    awk -v x="$1" -v y="$2" '{ dx = $1 - x; dy = $2 - y; if (dx*dx + dy*dy < 0.0002) n++ } END { print n + 0 }'
}
check "the dragged point at (0.25, 0.725)" [ "$(near 0.25 0.725)" = 1 ]
check "point A at (-0.5, -0.375)" [ "$(near -0.5 -0.375)" = 1 ]

# Ctrl-Q on an unmodified diagram ends the program without a question.
at 200 200
key ctrl+q
status=none
check "Ctrl-Q ended the program" gone
check "exit status 0 (got $status)" [ "$status" = 0 ]

[ "$failed" != 0 ] || [ -n "${E2E_SHOW:-}" ] && { echo "--- saved file:"; cat "$saved"; }
summary
