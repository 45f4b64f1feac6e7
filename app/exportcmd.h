// exportcmd.h: File > Export... and Edit > Copy as TikZ.
#pragma once

// The commands' codes in the menus.
const int EXPORTCMD = 100030;     // File > Export... (Ctrl-Shift-E)
const int COPYTIKZCMD = 100031;   // Edit > Copy as TikZ

// Runs one of the two commands; 0 when `code` is neither.
int exportcommand(int code);

// The name Export offers for diagram `name` in format `format`: the same
// folder and name with the format's extension ("geom" when there is no
// diagram file). 0 when it does not fit in `size` bytes.
int exportstartname(const char* name, int format, char* buf, int size);

// The format of the last export (SVG at start-up).
extern int lastexportformat;

// Puts the module's globals back to their start-up values.
void resetexportcmd();
