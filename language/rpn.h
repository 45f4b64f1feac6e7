// rpn.h: postfix expressions of computed numbers.
//
// `name = .f.rpn(items [, properties]);` keeps its items in the flt; the
// engine calls evalrpn whenever it settles the flt.
#pragma once

#include "engine/recompute.h"  // degreemode
#include "model/primitive.h"

const int MAXRPN = 100;  // items of one expression, and stack depth

extern int evalrpnerror;  // an evaluation failed since the last reading

// Reads the rest of an .f.rpn statement after the keyword and creates the
// flt under `name`. Returns 1, or 0 after reporting the error.
int parserpn(const char* name);

// Evaluates the flt's expression into its `value`; a failure leaves 1e30
// and sets evalrpnerror.
void evalrpn(flt* f);

// The cause of the last failed evaluation ("div: stack underflow", ...),
// empty when none failed.
const char* lastrpnerror();

// Puts the expression globals back to their start-up values.
void resetrpn();
