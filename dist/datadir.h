// datadir.h: where the help pages and the examples are, found from the
// running program's own location so that an installed tree works wherever
// its prefix is moved.
//
// An installed program lives in PREFIX/bin and its data in
// PREFIX/share/tessarin (html/, examples/). A program run from its build
// folder finds html/ and examples/ beside itself (the build copies them
// there).
#pragma once

// The data folder for the executable at `exe` (an absolute path): the
// installed PREFIX/share/tessarin when it holds html/Index.html, else the
// executable's folder when that does, else the installed location when the
// executable is in a folder named bin, else the executable's folder.
// Writes it into out (size bytes); 0 when it does not fit or `exe` has no
// folder.
int datadirfor(const char* exe, char* out, int size);

// The data folder of the running program (from /proc/self/exe), or null
// when the program cannot tell where it is.
const char* datadir();

// datadir()/examples, or null.
const char* examplesdir();
