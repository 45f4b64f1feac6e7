#!/bin/bash
# e2e_commands.sh: drives the real program with X events the way a person
# would (panel buttons, clicks and a drag in the drawing area, the colour
# choice, keys, Ctrl-S), then reads the saved diagram back and checks it.
#   e2e_commands.sh PROGRAM [SCREENSHOT.png]
# Needs xvfb-run and xdotool. Prints "N passed, N failed" at the end.
set -u
# A virtual display of its own, through the window tests' wrapper.
if [ -z "${E2E_ON_XVFB:-}" ]; then
  E2E_ON_XVFB=1 exec bash "$(dirname "$0")/xvfb.sh" bash "$0" "$@"
fi
bin=$1
shot=${2:-}
. "$(dirname "$0")/e2e_lib.sh"

printf '.geometry "version 0.65";\n' >"$work/e2e.T"
"$bin" "$work/e2e.T" &
app=$!
wid=""
for _ in $(seq 100); do
  wid=$(xdotool search --onlyvisible --name 'e2e\.T' 2>/dev/null | head -1)
  [ -n "$wid" ] && break
  sleep 0.1
done
[ -n "$wid" ] || { echo "no window"; echo "0 passed, 1 failed"; exit 1; }
sleep 1

# Window coordinates; the drawing area starts 24 pixels down, under the
# menu bar, and is 400 x 450 pixels.
at() { xdotool mousemove --window "$wid" "$1" "$2"; sleep 0.15; }
click() { at "$1" "$2"; xdotool click 1; sleep 0.3; }
draw() { click "$1" $(($2 + 24)); }
key() { xdotool key "$@"; sleep 0.4; }

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
at 200 124
xdotool mousedown 1
sleep 0.2
for x in 210 220 230 240 250; do
  xdotool mousemove --window "$wid" $x $((124 - (x - 200) * 20 / 50))
  sleep 0.1
done
xdotool mouseup 1
sleep 0.3

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
sleep 0.5

saved="$work/e2e.T"
check "the title lost its modified mark" \
  bash -c "! xdotool getwindowname $wid | grep -q '\\*\$'"
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
for _ in $(seq 30); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
check "Ctrl-Q ended the program" bash -c "! kill -0 $app 2>/dev/null"
wait "$app" 2>/dev/null
status=$?
app=""
check "exit status 0 (got $status)" [ "$status" = 0 ]

[ "$failed" != 0 ] || [ -n "${E2E_SHOW:-}" ] && { echo "--- saved file:"; cat "$saved"; }
summary
