// prefchoices.h: the values the preferences dialog offers, and its
// Defaults button, without the dialog.
//
// The dialog's font, style and size choices are tables of label and value;
// a size read from the file need not be one of the menu's sizes, so it is
// shown as the nearest entry. The dialog itself (a toolkit window) only
// shows these tables and calls these routines.
#pragma once

const int NFONTCHOICES = 3;
const int NSTYLECHOICES = 4;
const int NSIZECHOICES = 8;
const int NSCALECHOICES = 5;

struct prefchoice {
  const char* label;  // the menu entry
  int value;          // what the setting becomes
};

extern const prefchoice fontchoices[NFONTCHOICES];    // toolkit font numbers
extern const prefchoice stylechoices[NSTYLECHOICES];  // added to the font
extern const prefchoice sizechoices[NSIZECHOICES];    // in points
extern const prefchoice scalechoices[NSCALECHOICES];  // percent, 0 = Auto

// Index of the size entry shown for a size of n points.
int nearestfontsize(int n);

// The Defaults button: every setting it covers back to the program's
// default (tool tips, layer buttons and the large interface font are left
// as they are, since they take effect at once or only after a restart).
void setdefaultprefs();
