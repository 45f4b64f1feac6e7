// relationswindow.h: the "Geometric Relationships" window that shows the
// relation finder's report, and the progress of starting a test in the
// prompt field.
//
// The window is built on first use and kept for the whole run.
#pragma once

class Fl_Double_Window;
class Fl_Text_Display;
class Fl_Text_Buffer;

extern Fl_Double_Window* relationswindow;  // null until the first report
extern Fl_Text_Display* relationsdisplay;  // the report's read-only text
extern Fl_Text_Buffer* relationstext;      // what the display shows
extern double progressdelay;  // seconds of a test start before progress shows

// Shows `text` in the window, from its first line.
void showrelations(const char* text);

// Shows how far starting a test has come in the prompt field, once the
// start has taken half a second, and lets the window repaint.
void showtestprogress(int percent);

// Binds the finder's report, file name and progress hooks to this window,
// the current file and the prompt field.
void bindrelationshooks();

// Forgets the progress timing (the window itself stays built).
void resetrelationswindow();
