# e2e_lib.sh: what the window scripts share, sourced first: the move onto a
# virtual display of the script's own, a scratch home (preferences without
# the tips window, recovery files inside it), the program `app` killed and
# the scratch removed at exit, `check NAME COMMAND...` counting results,
# `summary` printing "N passed, N failed" and giving the exit status, and
# the person's moves: start, at, click, key, drag, the windows asked for.
if [ -z "${E2E_ON_XVFB:-}" ]; then
  E2E_ON_XVFB=1 exec bash "$(dirname "$0")/xvfb.sh" bash "$0" "$@"
fi
work=$(mktemp -d)
passed=0
failed=0
app=""
wid=""

cleanup() {
  [ -n "$app" ] && kill -9 "$app" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

check() {  # check NAME COMMAND...: passes when the command succeeds
  local name=$1
  shift
  if "$@"; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAILED: $name"; fi
}

summary() {
  echo "$passed passed, $failed failed"
  [ "$failed" -eq 0 ]
}

export HOME=$work
export XDG_STATE_HOME=$work/state
# No tips window; the drags and clicks of the scripts are placed in a
# 400 x 450 drawing area, 24 pixels under the menu bar.
printf 'size 400 450\nnotips\n' >"$work/.tessarinrc"

# waitwindow TITLE-REGEX [tail]: the id of the first (or last) visible
# window so named, within 15 s.
waitwindow() {
  local w=""
  for _ in $(seq 150); do
    w=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | "${2:-head}" -1)
    [ -n "$w" ] && break
    sleep 0.1
  done
  echo "$w"
}
# start PROGRAM ARGS...: runs the program on its first file from the
# current folder and waits for its window, `wid`, named after that file.
start() {
  "$@" &
  app=$!
  local name
  name=$(basename "$2")
  wid=$(waitwindow "${name//./\\.}")
  sleep 1
}
running() { kill -0 "$app" 2>/dev/null; }
stop() { kill -9 "$app" 2>/dev/null; wait "$app" 2>/dev/null; app=""; }
gone() {  # gone: 0 once the program has ended (within 5 s), its `status`
  for _ in $(seq 50); do
    running || { wait "$app" 2>/dev/null; status=$?; app=""; return 0; }
    sleep 0.1
  done
  return 1
}
title() { xdotool getwindowname "$wid"; }
# Window pixels of the main window; draw X Y is a pixel of the drawing area.
at() { xdotool mousemove --window "$wid" "$1" "$2"; sleep 0.15; }
click() { at "$1" "$2"; xdotool click 1; sleep 0.3; }
draw() { click "$1" $(($2 + 24)); }
key() { xdotool key "$@"; sleep 0.5; }
# drag BUTTON X0 Y0 X1 Y1: press at window pixel (X0, Y0), move there in
# four steps, release.
drag() {
  at "$2" "$3"
  xdotool mousedown "$1"
  sleep 0.2
  for f in 1 2 3 4; do
    xdotool mousemove --window "$wid" $(($2 + ($4 - $2) * f / 4)) $(($3 + ($5 - $3) * f / 4))
    sleep 0.1
  done
  xdotool mouseup "$1"
  sleep 0.4
}
# window NAME: waits for a visible window whose title matches, focuses it
# and puts the pointer over it.
window() {
  local w
  w=$(waitwindow "$1" tail)
  [ -n "$w" ] || return 1
  xdotool windowfocus "$w" 2>/dev/null
  xdotool mousemove --window "$w" 20 20
  sleep 0.5
}
# mark: notes the windows shown now; question: waits for a window of the
# program shown since, focuses it and puts the pointer over it.
seen=""
mark() { seen=$(xdotool search --onlyvisible --pid "$app" 2>/dev/null); }
question() {
  local w=""
  for _ in $(seq 30); do
    w=$(xdotool search --onlyvisible --pid "$app" 2>/dev/null | grep -vxF "$seen" | tail -1)
    [ -n "$w" ] && break
    sleep 0.1
  done
  [ -n "$w" ] || return 1
  xdotool windowfocus "$w" 2>/dev/null
  xdotool mousemove --window "$w" 5 5
  sleep 0.4
}
pointA() { grep '^A = ' "$1"; }  # pointA FILE: the line of the point A
