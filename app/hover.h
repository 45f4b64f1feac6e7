// hover.h: what lies under the resting pointer. The object a click would
// take is highlighted in the drawing, and a status line under the drawing
// area shows the pointer's world coordinates with that object's name and
// kind.
#pragma once

class Fl_Box;
struct primitive;

extern Fl_Box* statusline;  // the line under the drawing area

// Its height in pixels, at the screen scale.
int statusheight();

// Builds the status line at the given place of the main window.
void makestatusline(int x, int y, int w, int h);

// The pointer rests or moves at window pixel (x, y) of the drawing area
// (y downwards); a negative x means it left the area.
void hover(int x, int y);

// Once per frame, with the recomputed diagram: the highlight and the
// status line follow whatever now lies under the pointer (the diagram may
// have moved under it, or the record may be gone).
void followhover();

// The status line's text for world point (x, y) and the hovered record p
// (null: none), into buf of `size` bytes.
void statustext(double x, double y, const primitive* p, char* buf, int size);

// Forgets the pointer and the highlight (module reset).
void resethover();
