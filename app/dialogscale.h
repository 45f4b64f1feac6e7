// dialogscale.h: the program's own windows at the screen scale.
//
// The dialogs and the editor are laid out in the pixels of an ordinary
// display. Built between `unscaledfonts` and `scalewindow`, a window
// grows by `screenscale` as a whole: its size, its widgets' places and
// sizes, and their label and text sizes, so a display of high resolution
// shows the same layout, larger.
#pragma once

class Fl_Window;

// Sets the toolkit's normal text size to that of an ordinary display for
// the widgets made next; returns the size in force, for `scalewindow`.
int unscaledfonts();

// Scales the window built since `unscaledfonts` (not yet shown) and
// restores the normal text size `normalsize`.
void scalewindow(Fl_Window* w, int normalsize);

// A length in pixels of an ordinary display at the screen scale.
int scaledpixels(int n);
