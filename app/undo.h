// undo.h: the program's side of the history and of the recovery file.
//
// Every change reaches the history through two doors: the command
// dispatcher (`beginchange` before a command, `endchange` after it) and the
// drawing area (a change a mouse, key or wheel event left pending is taken
// in once no mouse button is held, so a drag or a pan with the mouse is one
// step; the clicks of a turned wheel go in together once it rests). Moves
// of the whole view taken in within a second of each other grow one step.
// After each step the title, the Edit menu's Undo and Redo items and the
// recovery file follow.
#pragma once

const int UNDOCODE = 200256, REDOCODE = 200257;

// Before a command or an event that may change the diagram: takes in any
// change still pending and remembers the selection.
void beginchange();

// After a command: takes its change in as the step named for `code`.
void endchange(int code);

// Takes in a change left pending by an event, when no button is held.
void commitpending();

// Around a wheel click in the drawing area: the clicks of one turn are one
// pending change, taken in when the wheel rests or something else begins.
void beginwheel();
void endwheel();

// Forgets a turn of the wheel not yet taken in.
void resetundo();

// Edit > Undo and Edit > Redo.
void undocommand();
void redocommand();

// The Undo and Redo menu items: "Undo Drag", greyed when empty.
void setundomenu();

// A diagram was loaded or emptied (New, Open, ReOpen, start-up): a fresh
// history, clean unless `clean` is 0; the old recovery file goes.
void diagramloaded(int clean);

// The diagram was saved: the saved state, no recovery file.
void diagramsaved();

// Delete on the selection, asking before it takes the records built on it.
void deleteselected();

// Offers a recovery file left for `diagram` (null: the unnamed diagram);
// loads it, marked modified, when the user says Yes; No removes it.
void offerrecovery(const char* diagram);

// Starts the recovery timer and the signal handlers; a clean exit removes
// the recovery file.
void startrecovery();
