#!/bin/bash
# installed_window.sh: starts an installed program the way the desktop
# does (the desktop entry's %F: every file the user opened), and checks
# that the first diagram opens in the window and that Help > Documentation
# finds the installed help pages.
#   installed_window.sh PROGRAM DIAGRAM [MORE DIAGRAMS...]
# Needs xvfb-run and xdotool. Prints "N passed, N failed" at the end.
set -u
if [ -z "${INSTALLED_ON_XVFB:-}" ]; then
  INSTALLED_ON_XVFB=1 exec bash "$(dirname "$0")/xvfb.sh" bash "$0" "$@"
fi
bin=$1
diagram=$2
. "$(dirname "$0")/e2e_lib.sh"

# waitwindow TITLE-REGEX: the id of the first visible window so named.
waitwindow() {
  local wid=""
  for _ in $(seq 150); do
    wid=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1)
    [ -n "$wid" ] && break
    sleep 0.1
  done
  echo "$wid"
}

shift
"$bin" "$@" 2>"$work/stderr" &
app=$!
name=$(basename "$diagram")
wid=$(waitwindow "${name//./\\.}")
check "the window opens on $name" test -n "$wid"
if [ -n "$wid" ]; then
  # The title is the first file's full path: the others were not opened.
  title=$(xdotool getwindowname "$wid")
  check "title is the first file ($title)" test "$title" = "$diagram"
  # Several files: the message window (100 pixels high) says that only
  # the first was opened.
  if [ $# -gt 1 ]; then
    said=""
    for _ in $(seq 40); do
      said=$(xwininfo -root -children | grep -E '"?\)?  *[0-9]+x100\+' | head -1)
      [ -n "$said" ] && break
      sleep 0.1
    done
    check "says that only one diagram is open" test -n "$said"
  fi
  sleep 1
  xdotool windowfocus --sync "$wid" key ctrl+h
  help=$(waitwindow 'Tessarin Documentation')
  check "the help viewer shows Index.html" test -n "$help"
  if [ -z "$help" ]; then
    xwininfo -root -tree | grep '"' | head -20
  fi
fi
check "nothing on standard error" test ! -s "$work/stderr"
cat "$work/stderr"
summary
