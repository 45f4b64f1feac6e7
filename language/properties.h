// properties.h: property lists, palette, layer and layer-condition
// statements, and the creation of parsed records.
#pragma once

#include <cstdint>

#include "language/symtable.h"
#include "model/primitive.h"

const int DEFNAMESIZE = 64;  // a label is at most 63 characters

// Property defaults, reset before each property list and then overwritten
// by the properties read.
extern int defcolor;                  // colour code, -6 for per-layer
extern uint8_t layercolors[NLAYERS];  // per-layer colours for defcolor -6
extern uint32_t deflayers;            // layer mask
extern int deflinetype;               // line extent
extern int deflinestyle;              // dash style
extern int deflinemark;               // slash marks
extern int defverttype;               // point marker
extern int defangletype;              // angle marker
extern char defname[DEFNAMESIZE];     // label, empty for none
extern double defwidth;               // width multiplier
extern int displayprim;               // the .display flag
extern int namemaxchar;               // highest automatic label number read

// The defaults (the per-layer colour list is kept).
void setdefaultproperties();

// Reads a property list up to and including ");". With first = -1 the next
// token is read; otherwise `first` is the kind of a token already read
// (reserved or strtoken), handled as if a comma had preceded it. 1 or 0.
int parseproperties(int first);

// Reads a per-layer colour list after '['. 1 or 0.
int readlayercolors();

// Makes a record of `type` with the property defaults, the given parents,
// kind and identifier entry (linked both ways), appends it with
// addprimitive and returns it. An unknown type alerts "bad primitive type"
// and returns null.
primitive* addprim(int type, primitive* const* parents, int nparents, int kind,
                   symtableentry* entry);

// `.cN = (r, g, b);` after the colour keyword of code `code`.
int parsecolor(int code);

// `.lN;` and relatives after the layer keyword of code `code`.
int parselayer(int code);

// `.layercondition(flt, flt, flt, 0xMASK);` after the keyword.
int parselayercondition();

// Puts the property globals back to their start-up values.
void resetproperties();
