// tips.h: the "Tip of the day" window.
//
// A borderless modal window, built on first use and kept, that shows one
// usage tip at a time (prefs/tiptext.h holds the texts and the stepping)
// with Prev Tip, Next Tip, Close and the start-up switch.
#pragma once

class Fl_Window;
class Fl_Multiline_Output;
class Fl_Check_Button;
class Fl_Widget;

extern Fl_Window* tipswindow;          // the window, once built
extern Fl_Multiline_Output* tipstext;  // the tip shown
extern Fl_Check_Button* tipsstartbut;  // "Show tip at startup"

// Shows the window at a random tip with a random step between tips.
void showtips();

// "Next Tip" (direction 1) and "Prev Tip" (direction -1).
void nexttip(Fl_Widget* w, int direction);

// "Show tip at startup": follows the check button.
void toggletips();

// "Close": hides the window and saves the preferences as the options
// dialog's Save does (so the start-up choice is kept).
void closetips();
