// view.h: the mapping of world coordinates onto the drawing area.
#pragma once

extern int gvertexsize;  // point-mark size in pixels
extern int gfontsize;    // text size in points for line spacing and PostScript
extern int fontsize;     // size of the screen font
extern int fontnumber;   // face of the screen font (toolkit font number)
extern int fontstyle;    // style of the screen font, added to `fontnumber`

// Puts every view global back to its start-up value.
void resetview();
