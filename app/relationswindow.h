// relationswindow.h: the "Geometric Relationships" window that shows the
// relation finder's report, and the progress of starting a test (prompt
// field, and a progress window with Cancel).
//
// The window is built on first use and kept for the whole run.
#pragma once

class Fl_Double_Window;
class Fl_Text_Display;
class Fl_Text_Buffer;
class Fl_Window;
class Fl_Progress;
class Fl_Button;

extern Fl_Double_Window* relationswindow;  // null until the first report
extern Fl_Text_Display* relationsdisplay;  // the report's read-only text
extern Fl_Text_Buffer* relationstext;      // what the display shows
extern double progressdelay;  // seconds of a test start before progress shows
extern Fl_Window* progresswindow;  // the progress bar and Cancel; null at first
extern Fl_Progress* progressbar;
extern Fl_Button* progresscancel;  // stops the start (`stopbuilding`)

// Shows `text` in the window, from its first line.
void showrelations(const char* text);

// Shows how far starting a test has come in the prompt field and in the
// progress window, once the start has taken half a second, and lets the
// windows repaint and take a click on Cancel; 100 hides the window.
void showtestprogress(int percent);

// Binds the finder's report, file name and progress hooks to this window,
// the current file and the prompt field.
void bindrelationshooks();

// Forgets the progress timing (the window itself stays built).
void resetrelationswindow();
