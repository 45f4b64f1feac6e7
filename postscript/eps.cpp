// eps.cpp: the current view as an Encapsulated PostScript document.
#include "postscript/eps.h"

int printbw = 0;

void resetpostscript() {
  printbw = 0;
}
