// macro.h: macro definitions, calls and their expansion.
#pragma once

#include "model/primitive.h"

// Evaluates the called macro's body with the call's arguments and fills the
// call's `result`.
void expandmacrocall(macrocall* m);
