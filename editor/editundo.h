// editundo.h: undo and redo in the diagram text editor.
//
// Before an editing command the buffer's text and cursor are kept; a run
// of commands of one kind (typing, deleting) with nothing else between is
// one step. Loading a file empties the history.
#pragma once

// Call before an editing command of `kind` (EDIT_TYPING, EDIT_DELETING,
// EDIT_OTHER): keeps the text unless it continues the previous run.
void editundobegin(int kind);

// Ends a run: the next editing command is a step of its own.
void editundobreak();

// Undo and redo one step; 1 when done.
int editundo();
int editredo();

// Steps held for undo and for redo.
int editundocount();
int editredocount();

// Empties the history.
void reseteditundo();

enum { EDIT_TYPING = 1, EDIT_DELETING = 2, EDIT_OTHER = 3 };
