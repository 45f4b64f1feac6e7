// rpn.cpp: postfix expressions of computed numbers.
#include "language/rpn.h"

// Placeholder until the expression evaluator lands: leaves the value as is.
void evalrpn(flt* f) { (void)f; }
