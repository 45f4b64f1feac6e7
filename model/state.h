// state.h: the per-diagram application state that reading a file resets.
//
// The shell owns the widgets, but what a new reading starts from (layers in
// force, style defaults, the script, degree mode) is core state the reader,
// the writer and the engine share; `resetstate` puts it back and then lets
// the program bring its widgets in line through `resetstatehook`.
#pragma once

#include <cstdint>

struct flt;

extern flt* Script;            // the diagram's one .script value, or null
extern uint32_t filelayerset;  // layers set by the file's layer statements
extern int layersinited;       // next layer statement replaces all-layers

// New diagram, file reading, text editing: with `full` also the style
// defaults, the layers in force and the text column. Always: no script, no
// EPS frames, all file layers, degree mode on, no smear trace, nothing
// selected. Then `resetstatehook(full)` lets the window release its buttons
// and show the state; the layer buttons follow `layerset`.
void resetstate(int full);

// Puts this module's globals back to their start-up values.
void resetappstate();
