// chooser.h: asking the user for a file name.
//
// Every dialog that names a file goes through `choosefile`: the desktop's
// own file dialog when there is one, the toolkit's otherwise. The dialog
// starts in the folder of the diagram's file; without one in the folder the
// user last chose from (kept in the preferences file), else in the working
// folder. A name typed in the dialog is taken relative to the folder the
// dialog shows.
#pragma once

#include <string>

// Asks for a file. `filter` lists "Name (pattern)" entries separated by
// tabs ("Tessarin Files (*.[DTdt])"). `start` is the offered name, a
// folder ending in "/", or a path; a start without a folder gets the
// start folder above. `forsave` asks for a name to write. Returns the
// chosen absolute path, or null when the user cancelled. The folder of a
// chosen file becomes the last used folder.
const char* choosefile(const char* prompt, const char* filter,
                       const char* start, int forsave);

// The folder a dialog starts in (see above), without a trailing "/".
std::string chooserfolder();

// `name` made absolute: a relative one is taken inside `folder`.
std::string inside(const std::string& folder, const std::string& name);

// "Name (pattern)" entries separated by tabs as the desktop dialog's
// filter: "Name\tpattern" entries separated by newlines.
std::string nativefilter(const char* filter);

// Scripted file chooser for tests: when bound, called instead of the
// dialog with the start path made absolute; returns the chosen path or
// null.
extern const char* (*choosefilehook)(const char* prompt, const char* filter,
                                     const char* start);
