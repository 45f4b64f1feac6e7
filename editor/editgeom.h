// editgeom.h: Edit Geometry, the diagram's round trip through its text.
//
// The diagram is written twice into two private temporary files (unique
// names made by mkstemp in the temporary directory, readable and writable
// by the user only): one keeps the text as it was, the other is edited.
// The editor runs on the second; its text is then read back in place of
// the diagram. When the reading fails (the reader has reported the line),
// the editor opens again with the cursor on that line; "Quit (No Save)"
// brings back the text as it was. Both files are removed afterwards.
#pragma once

// Runs the editor on `ed.editpath` and returns its done code (1 return to
// the diagram, 2 quit the program). The editor window binds it.
extern int (*editorrunhook)();

// The directory of the temporary files: $TMPDIR, else $TMP, else "/tmp".
const char* edittempdir();

// The round trip. Returns 1 when the diagram now holds the edited text,
// 2 when the user chose to quit the program (the diagram is then the one
// from before editing, so that a save at exit loses nothing), 0 when the
// temporary files could not be made or written (alert given; the diagram
// is untouched).
int editgeomtext();

// Edits the text of the file at `path` (which failed to read), starting at
// `line`, in the same way: the edited text is read back in place of the
// diagram until it reads whole. Returns 1 when the diagram now holds the
// edited text; 0 when the user gave up (quit without saving, or returned
// the text unchanged) or the file could not be copied; 2 for "Quit
// Tessarin". On 0 and 2 the diagram may hold a part of the text: the
// caller puts back its own. The file itself is never written.
int editfiletext(const char* path, int line);
