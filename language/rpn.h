// rpn.h: postfix expressions of computed numbers.
#pragma once

#include "model/primitive.h"

// Evaluates the flt's expression items into its `value`.
void evalrpn(flt* f);
