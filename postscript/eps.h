// eps.h: the current view as an Encapsulated PostScript document or a
// printed page.
//
// An EPS document measures the drawing area in points as it measures in
// pixels; a print page fits it into 550 x 730 points centred on a letter
// page and hands the file to the user's print command. One world unit is
// half the shorter side; the picture is clipped to the view. The document
// shows the state of the last recomputation: nothing here recomputes.
#pragma once

#include <cstdio>

extern int EPS;      // 1: an EPS file of the view; 0: a page to print
extern int printbw;  // print every colour as black

// Writes the document for the current view to `out`: header, prologue,
// clip, smear traces, then every record of the world list and the macro
// scratch list, point marks last. In print mode `xsize`/`ysize` are fitted
// to the page for the duration of the call and restored afterwards.
void writePostScript(FILE* out);

// Writes the document to `path`; in print mode then runs the print command
// with the file name quoted for the shell. Returns 1 on success, 0 (after
// an alert) when the file cannot be opened or written, when print mode has
// no print command, or when the print command cannot be run or fails.
int dumpPostScript(const char* path);

// Prints the current view: the page goes into a new private file in the
// temporary folder (fileio/tempfile.h: a fresh name, created exclusively,
// mode 0600), the print command runs on it, and the file is removed once
// the command has finished. 1 when printed; 0 after an alert otherwise.
int printview();

// Puts every export global back to its start-up value.
void resetpostscript();
