// palette.h: the diagram's 32 user-definable colours.
//
// Colour codes 0 to 31 index this table. A diagram may redefine any entry;
// the flags in `cdefs` say which, so the writer can write them back.
#pragma once

const int NCOLORS = 32;

extern float ctab[NCOLORS][3];      // the palette in force (r, g, b in 0..1)
extern float ctabsave[NCOLORS][3];  // the default palette
extern int cdefs[NCOLORS];          // entry i was redefined by the diagram

// Copies the default palette into `ctab` and clears every `cdefs` flag.
void initcolors();

// Sets entry i (0..31) and marks it redefined; other indices are ignored.
void definecolor(int i, float r, float g, float b);
