// tempfile.h: the program's temporary files.
//
// Every temporary file (print files, the editing round trip) goes to one
// folder, chosen in one order: $TMPDIR, else $TMP, else "/tmp". Each file
// gets a fresh name nobody could guess, is created exclusively (an existing
// file or a planted symbolic link of that name is never opened) and is
// readable and writable by the user only.
#pragma once

// The temporary folder: $TMPDIR, else $TMP, else "/tmp" (an empty or
// unusably long variable counts as unset).
const char* tempfolder();

// Creates "<folder>/<stem>XXXXXX<suffix>" exclusively with mode 0600 and
// writes its name into path (`size` bytes). Returns the open descriptor,
// or -1 with errno set (path then holds "").
int maketempfile(char* path, int size, const char* stem, const char* suffix);
