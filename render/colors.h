// colors.h: how colour codes become screen colours.
#pragma once

extern int rgbmode;  // RGB window, else colour-index window

// Puts every colour-selection global back to its start-up value.
void resetcolors();
