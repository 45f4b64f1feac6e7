// writer.h: the diagram written back as text of the diagram language.
//
// One statement per record in world-list order after the header and the
// whole-diagram statements. Everything written is read back to the same
// records, with numbers rounded to the precision of their formats.
#pragma once

#include <cstdint>
#include <cstdio>

#include "model/primitive.h"

extern FILE* fpout;  // the stream of the writing under way

// Writes the whole diagram to `path` through the safe-save routine
// (fileio/safesave.h): links followed, the old file kept until the new text
// is complete. "can't write %s: %s" with the reason on failure. 1 or 0.
int printall(const char* path);

// Writes the whole diagram to an open stream; 1, or 0 when a write failed.
int printdiagram(FILE* out);

// One record's statement (nothing for parameter placeholders).
void printprim(primitive* p);

// The property tail of a statement, ending with ");\n".
void printstate(primitive* p, int type);

// A colour keyword (", " first when `comma` is set).
void printcolorname(int code, int comma);

// A per-layer colour list ", [...]" (or ", colour" when all are equal).
void printlayercolors(const uint8_t* list);

// The palette statements of redefined entries.
void printcolors();

// The layer statements of `filelayerset`.
void printlayers();

// Writing pieces: everything the writer writes goes through these, into a
// buffer that printdiagram (or printprim called alone) hands to `fpout`.
void putbytes(const char* s, size_t n);
void putstr(const char* s);
void putint(long v);
void putfmt(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
void writerflush();

// The name without its macro prefix (everything up to the first '$').
const char* hackdollar(const char* name);

// A flt argument: its name, or the value of an anonymous literal ("%f").
const char* genfltname(primitive* p);

// The name a record is written under ("" when it has none).
const char* primname(const primitive* p);
