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
// defaults and the layers in force. Always: no script, all file layers,
// degree mode on, nothing selected. Calls `resetstatehook(full)` last.
void resetstate(int full);

// Puts this module's globals back to their start-up values.
void resetappstate();
