// eps.cpp: the current view as an Encapsulated PostScript document.
#include "postscript/eps.h"

void resetpostscript() {}
