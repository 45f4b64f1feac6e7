// commands.h: the one dispatcher of user commands and the commands that
// change styles, colours, layers, names and texts.
//
// Menu items, panel buttons and keys all become integer command codes
// handed to `handlemenu`; a code plus 1000000 asks for repeat mode.
#pragma once

struct primitive;

// Runs command `code`: the common preamble (test-mode refusal, repeat flag,
// leaving repeat mode), the command, then a redraw and the prompt.
void handlemenu(int code);

// 1 when command `code` cancels repeat mode.
int unstick(int code);

// Style checks: when the selected record is of the matching type, give it
// the current style and mark the diagram modified.
void checkvertextype();
void checklinetype();
void checklinestyle();
void checklinemark();
void checkangletype();
void checkpolytype();

// Asks for a new label of p ("Primitive name:"); cancel keeps it, an empty
// answer removes it. Returns 1 when the label changed.
int editname(primitive* p);

// The text dialog on a text record ("No selected text." for anything
// else). Returns 1 when the text was saved.
int edittext(primitive* p, int withcancel);

// A new empty text record, appended, selected and opened in the text
// dialog without its Cancel button.
primitive* makenewtextprim();

// Widget and shell state that follows `resetstate(full)`.
void resetstatewidgets(int full);

// Scripted text dialog for tests: when bound, called instead of the
// window with the current text; returns the new text or null (cancel).
extern const char* (*textdialoghook)(const char* current, int withcancel);

// A code of a command that is not part of this program yet: says so.
void notavailable(int code);

// Puts the module's globals back to their start-up values.
void resetcommands();
