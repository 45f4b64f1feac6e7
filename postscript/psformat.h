// psformat.h: printf for the PostScript writer, fast for "%f".
//
// A document holds hundreds of thousands of numbers in "%f"; the C
// library formats each through arbitrary-precision arithmetic. `psprintf`
// writes exactly what fprintf would for the conversions the writer uses
// ("%f", "%d", "%s", "%%", and any other double conversion such as "%g" or
// "%6.3f" through snprintf), but formats plain "%f" itself whenever the
// rounding to six decimals is unambiguous, falling back to the library
// otherwise.
#pragma once

#include <cstdio>

// Formats like fprintf(out, fmt, ...). Only the conversions above may
// appear; %d takes an int, %s a C string, every other conversion a double.
void psprintf(FILE* out, const char* fmt, ...);

// Writes x as "%f" would into buf (at least 32 bytes when |x| < 1e6, else
// 400); returns the length.
int formatf(char* buf, double x);
