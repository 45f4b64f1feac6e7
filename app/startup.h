// startup.h: the program's start-up, its main window and its exit.
#pragma once

// Everything `main` does before the event loop: preferences, the main
// window and its drawing area, the callbacks, the diagram named on the
// command line, the idle loop. Returns 0 when the program can run, or the
// exit status when it cannot (no display: a plain message was printed).
int startup(int argc, char** argv);

// Builds the tables and the palette and reads the diagram `name` (nothing
// when empty), clearing the modified mark.
void geommain(const char* name);

// Binds the core's notification hooks to the toolkit's dialogs.
void bindnotifyhooks();

// Asks, while the diagram is modified, whether to save it (at exit).
void askdirty();

// Saves the current diagram for `askdirty`; bound by the file commands.
// Returns 1 when saved.
extern int (*savefilehook)();

// The diagram file named on the command line ("" for none).
const char* startfilename();

// The screen scale in force: the options' Scale choice, or for Auto what
// the display's resolution asks for (1 up to 120 dpi, else dpi / 96).
double chosenscale();
