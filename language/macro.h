// macro.h: macro definitions, calls, their writing and their expansion.
//
// While a definition is read every name is stored with the macro's name and
// '$' in front, and every record goes to the macro's own body list. A call
// makes a macrocall record and, when the macro returns a drawable record, a
// generated result record that the engine refills on every recomputation.
#pragma once

#include <cstdint>

#include "language/symtable.h"
#include "model/primitive.h"

// `.macro [type] name (params) { statements }` after the keyword. 1 or 0.
int readmacrodef();

// The formal parameter list after '('. 1 or 0.
int parsemacroparams(macro* m);

// `.return statement` inside a body, after the keyword. 1 or 0.
int parsereturn();

// The most records one call may expand into, nested calls included: far
// beyond any real diagram, it stops macros that call the next level twice
// from growing exponentially ("macro expansion too large" when reading).
const int64_t MAXEXPANSION = 1000000;

// A call after the macro's name; `resultname` null for a call without
// "name =". 1 or 0.
int parsemacrocall(symtableentry* entry, const char* resultname);

// Reads the actual arguments and the property list of a call; the new
// macrocall record (not yet in any list), or null after reporting.
macrocall* readcallparamlist(macro* m);

// Evaluates the called macro's body with the call's arguments and fills the
// call's `result`; intermediate records are copied to `macroplist`.
void expandmacrocall(macrocall* m);

// Write a definition with its body, a call, and a parameter's type
// keyword with a space, to the writer's stream `fpout`.
void printmacro(macro* m);
void printmacrocall(macrocall* c);
void printparamtype(int type);

// Allocates a copy of a record (same type, own fields), sharing nothing it
// owns: the copy has no label, text, expression or list link.
primitive* copyprimitive(const primitive* p);
