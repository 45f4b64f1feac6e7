#!/bin/bash
# e2e_files.sh: file dialogs, a failed open, the buttons that may drag and
# the ways out, driven with real X events the way a person would:
#  1. Save As, type "tri", Enter: tri.T is written in the folder the dialog
#     shows (not the working folder), in the desktop's dialog and in the
#     toolkit's own (chosen through the toolkit's preferences);
#  2. the overwrite question: Escape keeps the file, Enter overwrites;
#  3. Open of a file with an error: Escape on the error changes nothing (the
#     text a save writes is the same byte for byte, the title too); Enter
#     opens the failing text in the editor, a mended line loads it;
#  4. a right- or middle-button drag never moves the selected point;
#  5. Escape in the main window never ends the program; Quit on a
#     modified diagram, and the editor's Quit Tessarin, ask whether to save,
#     and Escape (Cancel) keeps the program running.
#   e2e_files.sh PROGRAM
# Needs xvfb-run and xdotool. Prints "N passed, N failed" at the end.
set -u
. "$(dirname "$0")/e2e_lib.sh"
bin=$(readlink -f "$1")
mkdir -p "$work/d" "$work/elsewhere"
cd "$work/elsewhere"  # the program runs from another folder
file=$work/d/a.T
diagram='.geometry "version 0.65";\nA = .free(0, 0, "A");\nB = .free(0.5, 0.5, "B");\nl = .l.vv(A, B);\n'
typename() {  # typename NAME: in the file dialog, replaces the name field
  window 'File name:' || return 1
  key ctrl+a
  xdotool type --delay 80 "$1"
  sleep 0.3
  key Return
}
# A sits at the centre of the drawing area: window pixel (200, 249).

# 1. A typed name, in both dialogs.
for dialog in desktop toolkit; do
  rm -f "$work/d/tri.T" "$work/elsewhere/"*
  if [ $dialog = toolkit ]; then
    mkdir -p "$work/.fltk/fltk.org"
    printf '; FLTK preferences file format 1.0\n[./options]\nFNFCUsesGTK:0\n' >"$work/.fltk/fltk.org/fltk.prefs"
  fi
  printf "$diagram" >"$file"
  start "$bin" "$file"
  at 200 100
  key ctrl+shift+s
  typename tri
  check "$dialog dialog: a typed name is saved in the folder shown" test -f "$work/d/tri.T"
  check "$dialog dialog: nothing in the working folder" test -z "$(ls "$work/elsewhere")"
  check "$dialog dialog: the title names the new file ($(title))" test "$(title)" = "$work/d/tri.T"
  stop
done

# 2. The overwrite question (toolkit dialog still chosen).
start "$bin" "$work/d/tri.T"
drag 1 200 249 100 149
saved=$(pointA "$work/d/tri.T")
at 200 100
key ctrl+shift+s
mark
typename tri
question && key Escape  # "File Exists: Overwrite it?": No
check "Escape at the overwrite question keeps the file" test "$(pointA "$work/d/tri.T")" = "$saved"
at 200 100
key ctrl+shift+s
mark
typename tri
question && key Return  # Yes
check "Enter at the overwrite question overwrites" test "$(pointA "$work/d/tri.T")" != "$saved"
check "after the save the title has no mark ($(title))" test "$(title)" = "$work/d/tri.T"

# 3. A failed open: nothing changes; the editor mends it.
printf '.geometry "version 0.65";\nR = .free(0, 0.5, "R");\nS = .nosuch(R);\n' >"$work/d/bad.T"
at 200 100
key ctrl+o
mark
typename "$work/d/bad.T"
question && key Escape  # the error: Escape opens nothing
check "Escape on the error opens no editor" test -z "$(xdotool search --onlyvisible --name 'tessarin-xgeom' 2>/dev/null)"
check "the title is as before ($(title))" test "$(title)" = "$work/d/tri.T"
at 200 100
key ctrl+shift+s
typename "$work/d/after.T"
check "a save after the failed open writes the same text byte for byte" cmp -s "$work/d/tri.T" "$work/d/after.T"
at 200 100
key ctrl+o
mark
typename "$work/d/bad.T"
question && key Return  # Edit
sleep 1
window 'Edit Geometry' && key ctrl+k ctrl+k ctrl+s  # the failing line goes; save and return
sleep 1
check "the mended text is loaded, marked modified ($(title))" test "$(title)" = "$work/d/bad.T*"
check "the file itself is not written" grep -q nosuch "$work/d/bad.T"
at 200 100
key ctrl+s
check "Save writes the mended text" test "$(grep -c nosuch "$work/d/bad.T")" = 0
stop

# 4. Only the left button moves a point: a right drag from it does
# nothing, a middle drag pans the whole diagram (one step for Undo).
printf "$diagram" >"$file"
start "$bin" "$file"
before=$(pointA "$file")
at 200 249
xdotool click 1  # selects A
sleep 0.4
drag 3 200 249 300 349
at 200 100
key ctrl+s
check "a right drag from a point leaves it where it was" test "$(pointA "$file")" = "$before"
drag 2 200 249 120 300
at 200 100
key ctrl+s
check "a middle drag takes A along with the whole diagram" test "$(pointA "$file")" != "$before"
key ctrl+z
key ctrl+s
check "Undo puts the panned diagram back" test "$(pointA "$file")" = "$before"

# 5. The ways out. Escape on an unmodified diagram used to close the
# window and end the program without a word.
at 500 300  # over the control panel
key Escape
check "Escape in the main window does not end the program" running
drag 1 200 249 100 149
at 200 100
mark
key ctrl+q
question && key Escape  # "File modified -- save changes?": Cancel
check "Cancel at the exit question keeps the program running" running
at 200 100
key ctrl+e
window 'Edit Geometry'
ew=$(xdotool search --onlyvisible --name 'Edit Geometry' | tail -1)
xdotool mousemove --window "$ew" 20 8 click 1  # the editor's File menu
sleep 0.4
# Its last item, Quit Tessarin, in the menu under the menu bar (the
# editor's window sits at the screen's corner without a window manager).
mark
xdotool mousemove --window "$ew" 50 72 click 1
sleep 0.5
question && key Return  # "Do you really want to exit from Tessarin entirely?"
question && key Escape  # "File modified -- save changes?": Cancel
check "the editor's Quit Tessarin asks too, and Cancel keeps running" running
check "and shows nothing more" test -z "$(xdotool search --onlyvisible --pid "$app" 2>/dev/null | grep -vxF "$seen")"
check "the diagram is back, still marked modified ($(title))" test "$(title)" = "$file*"
stop

summary
