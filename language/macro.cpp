// macro.cpp: macro definitions, calls and their expansion.
#include "language/macro.h"

// Placeholder until macro expansion lands: the call yields nothing.
void expandmacrocall(macrocall* m) { (void)m; }
