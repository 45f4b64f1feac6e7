// constructors.h: the table of geometric constructors and its reader.
#pragma once

#include "model/codes.h"

// One constructor: its keyword code, six argument slots (a type code, or
// RW_ARGLITERAL, RW_ARGBRANCH2, RW_ARGBRANCH4, RW_ARGBRANCHOPT, RW_ARGEND),
// the result type and the kind of branch 1 (the branch number minus one is
// added to it, except for the optional branch of the "other intersection"
// kinds, whose branch 2 is V_LCVOTHER2 or V_CCVOTHER2).
struct prserow {
  int code;
  int slot[6];
  int result;
  int kind;
};

// The row of a constructor keyword, or null when the code has none.
const prserow* findconstructor(int code);

// The row a record of this type and kind is written with; *branch gets the
// branch number (0 when the row has none). Null when no row fits.
const prserow* rowforkind(int type, int kind, int* branch);

// Reads a constructor statement after its keyword, for a record named
// `name`. 1, or 0 after reporting the error.
int parsealine(const prserow* row, const char* name);

// `.polygon(count, point, ...)` after the keyword.
int parsemakepolygon(const char* name);

// `.x.f9(xform, nine flts [, properties])` after the keyword.
int parse_f9(const char* name);
