// editcmds.h: the commands of the diagram text editor.
//
// Every key, menu item and clipboard event of the editor becomes an integer
// command code handed to `handleeditorcmd`: codes below 500 insert that
// character, codes from 500 are the commands below. What needs the toolkit
// (the clipboard, the search question, hiding the window) goes through the
// hooks, which the editor window binds and tests replace by recorders.
#pragma once

// ORDER EDITCMD: the command codes of the editor.
enum editcmd {
  EC_TAB = 500,        // insert a tab
  EC_NEWLINE = 501,    // split the line at the cursor
  EC_BACKSPACE = 502,  // delete the selection or the character before
  EC_BACKSPACE2 = 503,
  EC_SAVE = 504,  // save and return to the diagram
  EC_CUT = 505,
  EC_COPY = 506,
  EC_PASTE = 507,
  EC_FIND = 508,
  EC_TOP = 509,  // start of the buffer
  EC_END = 510,  // start of the extra last line
  EC_UP = 511,
  EC_DOWN = 512,
  EC_LEFT = 513,
  EC_RIGHT = 514,
  EC_LINESTART = 515,
  EC_LINEEND = 516,
  EC_KILLLINE = 517,    // delete to the line end, or the line end itself
  EC_KILLBACK = 518,    // delete from the line start to the cursor
  EC_DELETE = 519,      // delete the character under the cursor
  EC_OPENLINE = 520,    // insert a line end, cursor before it
  EC_QUITNOSAVE = 521,  // back to the text as it was, then return
  EC_QUITPROGRAM = 522,
  EC_UNDO = 523,
  EC_REDO = 524,
  EC_LAST = 524
};

// Puts the text on the system clipboard.
extern void (*editcopyhook)(const char* text, int length);
// Asks the toolkit for the clipboard; it arrives through `pastetext`.
extern void (*editpastehook)();
// Asks for a string (prompt, previous answer); null when cancelled. The
// answer stays valid until the next call.
extern const char* (*editaskhook)(const char* prompt, const char* previous);
// Hides the editor window and gives the focus back to the main window.
extern void (*edithidehook)();

// Performs one command (see above); unknown codes do nothing. After it the
// selection is scrolled into view.
void handleeditorcmd(int code);

// Copies the selection, line ends included, to the clipboard.
void docopy();

// Asks for a string and selects its next occurrence after the selection.
void dofind();

// Selects the next occurrence of s after the selection; 1 when found.
int findstringforward(const char* s);

// A paste event's text, inserted as if typed; ignored unless a Paste
// command asked for it.
void pastetext(const char* text, int length);

// Puts the editor's hooks back to their unbound state.
void reseteditorhooks();
