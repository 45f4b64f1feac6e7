// eps.h: the current view as an Encapsulated PostScript document.
#pragma once

extern int printbw;  // print every colour as black

// Puts every export global back to its start-up value.
void resetpostscript();
