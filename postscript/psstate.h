// psstate.h: the colour, dash, width and font of the PostScript document
// being written, each written only when it changes.
//
// The writer keeps what it last wrote in four caches; `initcolorflag`
// forgets them at the start of every document. Colours follow the page's
// own mapping: the screen's black background becomes white paper, so black
// (0) and white (7) trade places, the six bright colours keep their hue and
// every other code is written black.
#pragma once

#include <cstdint>
#include <cstdio>

extern int lastcolor;        // colour code last written; -2 after reset
extern int lastlinestyle;    // dash style last written; -1 after reset
extern double lastwidth;     // width multiplier last written; -1 after reset
extern int lastpsfontsize;   // font size last selected; -1 after reset
extern char psfontname[64];  // font name last selected; "" after reset
extern double psfontscale;   // points per world unit in this document

// Dash styles of `setlinestyle`.
enum psdash {
  PSDASH_INVISIBLE = 0,  // an invisible record shown: thin dashes
  PSDASH_SOLID = 1,
  PSDASH_DASHED = 2,
  PSDASH_DOTTED = 3
};

// The dash style of a line style code (RW_SOLIDLINE, ...); -1 for a code
// that is none, which leaves the dash in force.
int dashofstyle(int linestyle);

// Forgets the four caches.
void initcolorflag();

// Writes the colour of `code` (for -6 the layer byte at `minlayer`; no
// layer in force counts as invisible) unless it is the one last written.
// An invisible colour writes nothing while invisibles are hidden. -10 is
// the white fill of point marks; `printbw` writes every other colour black.
void setPScolor(int code, const uint8_t* layercolors, FILE* out);

// Writes the dash pattern and line width of `style` at `width` times the
// normal width, unless both equal what was last written.
void setlinestyle(FILE* out, int style, double width);

// Selects font `name` at `size` points (turned into world units through
// `psfontscale`), unless it is the font last selected.
void setPSfont(FILE* out, const char* name, int size);

// Puts the caches and `psfontscale` back to their start-up values.
void resetpsstate();
