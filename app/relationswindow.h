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
extern Fl_Button* relationsform;  // turns between summary and full report
extern int showingsummary;        // the display shows the summary
extern double progressdelay;  // seconds of a test start before progress shows
extern Fl_Window* progresswindow;  // the progress bar and Cancel; null at first
extern Fl_Progress* progressbar;
extern Fl_Button* progresscancel;  // stops the start (`stopbuilding`)

// Shows the report `text` and its `summary` in the window, the summary
// first (the full report only when `summary` is null), from the first line.
void showrelations(const char* text, const char* summary);

// Picks the summary entry at a position of the displayed text: selects it
// and makes its objects blink; a position outside every entry stops the
// blinking. What a click on the summary does.
void pickentry(int position);

// Shows how far starting a test has come in the prompt field and in the
// progress window, once the start has taken half a second, and lets the
// windows repaint and take a click on Cancel; 100 hides the window.
void showtestprogress(int percent);

// Binds the finder's report, file name and progress hooks to this window,
// the current file and the prompt field.
void bindrelationshooks();

// Forgets the progress timing (the window itself stays built).
void resetrelationswindow();
