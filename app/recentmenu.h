// recentmenu.h: File > Open Recent, the diagrams last opened or saved.
#pragma once

const int FIRSTRECENT = 100041;  // command of the most recent diagram
const int LASTRECENT = FIRSTRECENT + 9;
const int NORECENT = 100051;  // the greyed "No Recent Files" item

// Shows the list (prefs/recent.h) in the submenu, one item a diagram.
void updaterecentmenu();

// Puts a diagram just opened or saved at the top of the list, keeps the
// list in the preferences file and refreshes the submenu.
void rememberrecent(const char* path);

// Opens entry `code` - FIRSTRECENT of the list as a diagram handed over by
// the desktop is opened. A file that is gone is taken off the list with a
// message. Returns 1.
int openrecent(int code);
