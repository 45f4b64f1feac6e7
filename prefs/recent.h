// recent.h: the diagrams last opened or saved, most recent first.
//
// The list is kept in the preferences file as one "recent PATH" line per
// diagram, in its order. Opening or saving a diagram moves its path to the
// front; the file is then rewritten with its other lines as they were, so
// keeping the list never changes another setting.
#pragma once

#include <cstdio>

const int NRECENT = 10;  // paths kept
// Bytes of one path with its NUL: "recent " and the path fill at most one
// line of the preferences file, which is read in lines of 200 bytes.
const int RECENTNAMESIZE = 193;
extern char recentfiles[NRECENT][RECENTNAMESIZE];
extern int nrecent;  // paths in use, from recentfiles[0]

// Appends a path read from the preferences file (its "recent" line); a
// path already listed, an empty one or one too long is skipped.
void addrecentline(const char* path);

// Moves `path` (made absolute) to the front of the list. 0 when it is too
// long to keep; the list is then unchanged.
int noterecentfile(const char* path);

// Removes entry i (0 = most recent).
void droprecentfile(int i);

// Writes the list as "recent PATH" lines.
void writerecentlines(FILE* out);

// Rewrites the preferences file at `path` with its own lines, the old
// "recent" lines replaced by the list. 1 on success; a failure leaves the
// file as it was and says nothing (the list is a convenience).
int saverecentpath(const char* path);
int saverecentfiles();

// Empties the list.
void resetrecent();
