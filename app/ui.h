// ui.h: the menu bar and the control panel, and the widget state that
// follows the selection and the construction state.
//
// Every menu item, panel button and choice item carries an integer command
// code and hands it to the one dispatcher `handlemenu` (app/commands.h).
// The widgets are built once by `makeui` and live for the whole run.
#pragma once

class Fl_Menu_Bar;
class Fl_Button;
class Fl_Choice;
class Fl_Group;
class Fl_Output;
class Fl_Light_Button;
class Fl_Widget;
struct Fl_Menu_Item;
struct primitive;

const int NUIBUTS = 80;          // slots of the construction and proof buttons
const int NLAYERBUTS = 16;       // layer buttons on the panel
const int REPEATCODE = 1000000;  // added to a code: repeat mode requested

extern Fl_Menu_Bar* menubar;              // the menu bar above the drawing
extern Fl_Group* controlpanel;            // the panel right of the drawing
extern Fl_Button* uibuts[NUIBUTS];        // construction and proof buttons
extern Fl_Button* statebuts[3];           // Show Text, Show Invis, Run Script
extern Fl_Choice* choices[4];             // colour, line, angle, point type
extern Fl_Button* layerbuts[NLAYERBUTS];  // layer toggles 0 .. 15
extern Fl_Group* layergroup;              // the group of layer buttons
extern Fl_Output* promptfield;            // what the machine expects next
extern Fl_Light_Button* cancelrepeat;     // the "Cancel Repeat Mode" light

// Indexes of `statebuts` and `choices`.
enum { SHOWTEXTBUT = 0, SHOWINVISBUT = 1, RUNSCRIPTBUT = 2 };
enum { COLORCHOICE = 0, LINECHOICE = 1, ANGLECHOICE = 2, POINTCHOICE = 3 };

// Builds the menu bar and the control panel inside the current group (the
// main window), at the metrics of `bigfont`, and binds the hooks through
// which the core and the state machine reach these widgets.
void makeui();

// The labels of the panel's check and radio buttons are set in the panel's
// size, but a display's fonts may be wider than the layout allows: a label
// that would run into its neighbour or off the panel is set smaller until
// it fits. Needs the display open.
void fitlabels();

// Releases every button of `uibuts` except slot n, then presses slot n
// (n = -1 releases them all).
void clearbuttons(int n);

// Shows the layer group when `showthelayers` is set, hides it otherwise.
void setlayerdisplay();

// Grows the main window when it is too short to show the whole panel.
void fitpanel();

// Enables "Run Script" (a script was read).
void activatescript();

// Puts text into the prompt field and redraws the panel.
void showmessage(const char* text);

// Redraws the panel (the blink phase changed).
void fixcontrolpanel();

// Brings the menu items' enabled and checked states in line with p and the
// display toggles.
void updatemenus(primitive* p);

// `selectprim(pselected)`: refreshes the menu states.
void setmenu();

// The menu item with command code `code`, or null.
Fl_Menu_Item* menuitem(int code);

// Callbacks: menu and choice items, panel buttons, construction buttons.
void menucallback(Fl_Widget* w, void* code);
void setlevel(Fl_Widget* w, void* code);
void setlevelp(Fl_Widget* w, void* code);

// Shows the widgets' start-up values again after a full state reset.
void resetwidgets(int full);

// The window side's counterpart of the core's `resetall`: the command,
// file and key modules and the panel back to their start-up state (the
// widgets themselves stay built).
void resetui();
