// options.h: the "Edit Preferences" dialog.
//
// A modal window, built on first use and kept, that shows the settings of
// the preferences file and writes each one to its global as soon as its
// widget changes; Save writes the file, Cancel only closes (the changes
// made stay in force for this run), Defaults puts the program's defaults
// into the widgets and the settings.
#pragma once

class Fl_Window;
class Fl_Int_Input;
class Fl_Choice;
class Fl_Check_Button;
class Fl_Input;
class Fl_Widget;

extern Fl_Window* optionswindow;  // the dialog, once built
extern Fl_Int_Input* intwidthinput;
extern Fl_Int_Input* intheightinput;
extern Fl_Choice* choicefont;        // fontnumber
extern Fl_Choice* choicestyle;       // fontstyle
extern Fl_Choice* choicesize;        // fontsize and gfontsize
extern Fl_Choice* choiceeditsize;    // edittextsize
extern Fl_Choice* choicevertexsize;  // gvertexsize
extern Fl_Choice* choicescale;       // scalechoice
extern Fl_Check_Button* rgbbut;      // rgbmode
extern Fl_Check_Button* bwbut;       // printbw
extern Fl_Check_Button* tipsbut;     // showthetips
extern Fl_Check_Button* vertbut;     // addvertexnames
extern Fl_Check_Button* layerbut;    // showthelayers
extern Fl_Check_Button* infobut;     // showinfomsg
extern Fl_Check_Button* bigfontbut;  // bigfont
extern Fl_Check_Button* continuousbut;  // keepcontinuous
extern Fl_Check_Button* smoothbut;      // smoothdrawing
extern Fl_Input* printinput;         // printcmdstring

// Builds the dialog on first use, fills it, centres it on the main window
// and shows it modally.
void changeoptions();

// Puts the current settings into the widgets (sizes as the nearest entry).
void setoptionvalues();

// The Defaults button.
void defaults();

// The Cancel (cancel = 1) and Save (cancel = 0) buttons: hides the dialog,
// writes the file for Save ("Can't open defaults file" when it cannot),
// then resizes the main window to the drawing-area size in force and
// brings the menus up to date.
void closeoptions(Fl_Widget* w, int cancel);

// The drawing-area size a closing dialog applies: WIDTH and HEIGHT raised
// to at least 200 and held below 8192, so no typing leaves a window that
// cannot be seen or cannot be made.
void clampdrawsize();
