// openfile.h: opening a file the user named, for reading.
//
// Only a regular file is read. The file is opened without waiting, so a
// FIFO or a device never holds up the program, and is then looked at: a
// folder is refused as "Is a directory", anything else that is not a
// regular file as "not a regular file". Every refusal reads
// "Couldn't open %s: %s" with the file's name and that reason.
#pragma once

#include <cstdio>

// Opens `path` for reading. Returns the stream (blocking reads, as usual),
// or null with *why set to the reason (strerror's text, or one of the two
// above); nothing is reported.
FILE* openregular(const char* path, const char** why);

// openregular that reports a refusal through `alert`.
FILE* openforreading(const char* path);

// 1 when `path` is a regular file that can be opened for reading, else 0
// (nothing is reported).
int isreadablefile(const char* path);
