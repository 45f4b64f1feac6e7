// drag.h: dragging the selected point with the mouse.
//
// Dragging only rewrites the point's stored position and marks it
// unsettled; the recomputation that the following redraw runs pulls a point
// on a curve back onto it and recomputes everything depending on it.
#pragma once

// Bound by the window: 1 while no construction is under way (the state
// machine's plain selection state). Unbound, the core assumes 1.
extern int (*inselectstatehook)();

// The motion callback with a button held, in window pixels (py from the
// top). Returns 1 when the diagram changed and a redraw is due (the caller
// requests it); `blinkonly` is already cleared then.
int dragvertex(int px, int py);
