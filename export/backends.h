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

// A cairo image to be written as a PNG: `w` x `h` pixels, rows `stride`
// bytes apart, premultiplied ARGB32 when `alpha` (written RGBA), else
// RGB24 (written RGB).
struct pngimage {
  const unsigned char* data;
  int w, h, stride, alpha;
};

// Rows [piecerow(i), piecerow(i + 1)) of an image packed, apart from the
// rest: deflated, with the check value and length of what was deflated.
struct pngpiece {
  std::string bytes;
  unsigned long adler;
  size_t length;
};

// The pieces of an image `h` rows high, and the first row of piece `i`.
int piececount(int h);
int piecerow(int i, int h);

// Packs piece `i` of `img` into `out` (threads may pack different pieces
// at once); 0 when zlib failed.
int packpiece(const pngimage* img, int i, pngpiece* out);

// Writes `img` to `out` from all its pieces as a PNG of `dpi` pixels per
// inch. Returns 0 when writing failed.
int writepixels(FILE* out, const pngimage* img, const pngpiece* pieces,
                int dpi);

// Appends v with `decimals` (at most 6) digits after the point, no
// trailing zeros, "-" only before a non-zero value.
void putnumber(std::string* out, double v, int decimals);
