// backends.h: the three pen tables and the writers built on them.
//
// Each writer runs the view walk once with its pen and writes the result
// to `out`. They return 0 only when the back end itself failed.
#pragma once

#include <cstdio>
#include <string>

int writesvg(FILE* out);
int writepdf(FILE* out);
int writepng(FILE* out, int dpi, int transparent);
void writetikz(std::string* out, int standalone);

// Writes `w` x `h` pixels of a cairo image (rows `stride` bytes apart,
// premultiplied ARGB32 when `alpha`, else RGB24) to `out` as a PNG of
// `dpi` pixels per inch: RGBA when `alpha`, else RGB. Returns 0 when
// writing failed.
int writepixels(FILE* out, const unsigned char* data, int w, int h,
                int stride, int alpha, int dpi);

// Appends v with `decimals` (at most 6) digits after the point, no
// trailing zeros, "-" only before a non-zero value.
void putnumber(std::string* out, double v, int decimals);
