// parser.h: reading diagram text into the world list.
//
// One function per statement form; constructor argument lists come from a
// table and one generic routine. Every error is reported once through
// parseerror and ends the reading; what was built before it stays.
#pragma once

#include <cstdio>

#include "language/symtable.h"
#include "model/primitive.h"

const int VERSIONSIZE = 40;  // bytes of the header string kept

extern FILE* globalfp;             // the stream being read, null for text
extern primitive* lastparsed;      // record of the last constructor statement
extern char version[VERSIONSIZE];  // the header string

// Reads the file into the open diagram (which the caller has cleared when
// it wants a new one). Only a regular file is read, without ever waiting on
// a FIFO: "Couldn't open %s: %s" with the reason otherwise (see
// fileio/openfile.h). A read error ends the reading as an error. 1 or 0.
int readgeometry(const char* path);

// Reads the file into the open diagram with a suffix added to every name
// it defines, keeping them apart from the diagram's own. 1 or 0.
int insertgeometry(const char* path);

// Reads statements from the stream (null: the in-memory text set up with
// initfakefile) to the end. 1 or 0.
int parsefile(FILE* stream);

// Reads in-memory diagram text: initfakefile and parsefile. 1 or 0.
int parsetext(const char* text);

// Reads one statement: 1 done, 0 error, -1 end of input, 2 a closing brace.
int parseline();

// Reads the next token; 1 when it is of kind `tok`, else reports `message`
// (unless the lexer already reported a bad token) and returns 0.
int expect(int tok, const char* message);

// Reads one number argument (integer or float) into floattoken, reading
// the token itself. 1, or 0 after "Expected float".
int readfloat();

// Reads a flt argument: a flt name or a literal number (which becomes an
// anonymous flt appended to the list). The flt, or null after reporting.
primitive* readfltarg();

// Looks a name up as written, and inside a macro body also without its
// macro prefix.
symtableentry* lookupname(const char* name);

// An anonymous literal flt for `value`, entered under its "%f" text.
primitive* newliteral(double value);

// Puts the parser globals back to their start-up values.
void resetparser();
