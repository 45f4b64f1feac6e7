// eps.h: the current view as an Encapsulated PostScript document.
#pragma once

// Puts every export global back to its start-up value.
void resetpostscript();
