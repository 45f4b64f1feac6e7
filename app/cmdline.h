// cmdline.h: the program's own command-line switches (--help, --version)
// and the files beyond the one diagram that can be open.
#pragma once

// Handles --help and --version, which print and end the program before
// any window or display is needed. Returns -1 when the program should
// start, else the exit status.
int infoswitches(int argc, char** argv);

// Says that only the first of several files given at start (a file
// manager hands over every file the user selected) was opened. `extra` is
// the number of files left unopened.
void sayoneopen(const char* first, int extra);
