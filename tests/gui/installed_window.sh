#!/bin/bash
# installed_window.sh: starts an installed program the way the desktop
# does (the desktop entry's %F: every file the user opened), and checks
# that the first diagram opens in the window and that Help > Documentation
# finds the installed help pages.
#   installed_window.sh PROGRAM DIAGRAM [MORE DIAGRAMS...]
# Needs xvfb-run and xdotool. Prints "N passed, N failed" at the end.
set -u
. "$(dirname "$0")/e2e_lib.sh"
diagram=$2
start "$@" 2>"$work/stderr"
check "the window opens on $(basename "$diagram")" test -n "$wid"
if [ -n "$wid" ]; then
  # The title is the first file's full path: the others were not opened.
  check "title is the first file ($(title))" test "$(title)" = "$diagram"
  # Several files: the message window (100 pixels high) says that only
  # the first was opened.
  if [ $# -gt 2 ]; then
    said=""
    for _ in $(seq 40); do
      said=$(xwininfo -root -children | grep -E '"?\)?  *[0-9]+x100\+' | head -1)
      [ -n "$said" ] && break
      sleep 0.1
    done
    check "says that only one diagram is open" test -n "$said"
  fi
  xdotool windowfocus --sync "$wid" key ctrl+h
  help=$(waitwindow 'Tessarin Documentation')
  check "the help viewer shows Index.html" test -n "$help"
  [ -n "$help" ] || xwininfo -root -tree | grep '"' | head -20
fi
check "nothing on standard error" test ! -s "$work/stderr"
cat "$work/stderr"
summary
