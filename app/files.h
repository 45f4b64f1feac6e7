// files.h: the current file, the modified mark and the save questions, the
// file commands, printing and EPS, the help viewer, the About box and the
// transient message window.
//
// File names live in a fixed 320-byte buffer and messages in a 200-byte
// one: a longer name or text is refused with an alert, never cut or
// overrun.
#pragma once

const int FILENAMESIZE = 320;  // bytes of the current file name buffer
const int MESSAGESIZE = 200;   // bytes of the message window's text

extern char currentfilename[FILENAMESIZE];  // the diagram's file, or ""

// The file name, or null when there is none.
const char* getcurrentfilename();

// Makes `name` the current file and the window title. Returns 0 (with the
// alert "File name too long: %s") when it does not fit.
int setcurrentfilename(const char* name);

// No current file; the title becomes "No File Name".
void clearcurrentfilename();

// The window title for the current name and modified mark.
void settitle();

// Clears the modified mark (title without "*").
void cleardirtyfile();
int isdirtyfile();

// 0 when the caller may discard the diagram, 1 when the user cancelled.
int askdirty1();

// Asks for a file name with the chooser; the chosen path (the current file
// name), or null.
const char* collectfilename(const char* prompt, int forreading);

// 1 when `name` ends in a one-letter diagram extension (.T .D .t .d).
int hasdiagramextension(const char* name);

// Saves the diagram to the current file, asking for a name when there is
// none. 1 on success; a failure keeps the diagram marked modified and the
// file on disk as it was.
int savecurrentfile(int announce);

// File commands; each returns 0 when the user cancelled.
int handlenewcmd();
int handleopencmd();
int handlereopencmd();
int handleinsertcmd();
int handlesavecmd();
int handlesaveascmd();
int handleprintcmd();  // print through the user's print command
int handleepscmd();    // the EPS file beside the diagram
int handlequitcmd();   // 0 when cancelled; otherwise does not return

// The EPS file for diagram `name` (null: none) into buf; 0 when too long.
int epspath(const char* name, char* buf, int size);

// Help pages (100008 .. 100010) in the help viewer.
void handlehelpcmd(int code);

// The folder of the help pages and examples (dist/datadir.h), or null.
const char* GetInstallDirURL();

// The About box.
void showabout();

// Help > Examples: the file chooser in the installed examples folder; the
// chosen diagram opens as with Open. 0 when the user cancelled the save
// question.
int handleexamplescmd();

// Adds the documentation directory ($GEOMDOC) to the chooser's favourites.
void setchooserprefs();

// Opens a diagram handed over on the command line or by the desktop.
void opendocument(const char* path);

// Binds the core's dialog hooks to the toolkit's dialogs.
void bindfltkdialogs();

// Ends the program (exit status 0). Tests bind `exithook` instead.
void quitprogram();
extern void (*exithook)(int status);

// Puts the module's globals back to their start-up values.
void resetfiles();
