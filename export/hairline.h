// hairline.h: thin solid strokes drawn straight into an image's pixels.
//
// cairo's antialiasing rasteriser samples every row a stroke crosses
// fifteen times over all the stroke's edges: for lines under a pixel and
// a half wide that is most of a large diagram's image. A thin stroke is
// instead drawn as the union of its segments, each a rectangle reaching
// half the width beyond its ends: a pixel gets the area of it that the
// rectangle covers (exactly beside a segment, nearly so at its ends), the
// largest of any segment, so nothing is painted twice. Ends come out
// square (a butt or round cap differs by at most half the width, a
// fraction of a pixel) and joins as miters up to a right angle. The
// pieces a curve or arc is flattened into meet at the line halving their
// turn instead: each pixel is reckoned once, against its own piece.
#pragma once

#include <cstdint>
#include <vector>

// Where the strokes go: 32-bit pixels as cairo keeps them (RGB24, or
// ARGB32 with premultiplied alpha), rows `stride` pixels apart, the first
// of them row `top`, drawn only within columns [x0, x1) and rows [y0, y1).
// (A band of an image keeps the whole image's coordinates, so that every
// band computes a pixel alike.)
struct hairline {
  uint32_t* px;
  int stride, top;
  int x0, y0, x1, y1;
  double half;                 // half the stroke's width, pixels
  int open;                    // a current point (cx, cy) is set
  double cx, cy, sx, sy;       // current point, start of the subpath
  std::vector<uint8_t> cover;  // per pixel of the clip box, 0 when untouched
  std::vector<int> touched;    // pixels of cover that are not 0
  // Dashes of the stroke being built (pixels; none when `on` is 0), where
  // the pattern stands, and the piece of a dash held back until it is
  // known whether the dash goes on past it.
  double on, off, phase, capw, dashpos;
  int fresh;    // the next piece of a dash starts it
  int pending;  // held: piece[] from its start, lengthened by `pendw0`
  double piece[4], pendw0;
  // Solid strokes are also clipped to the inside (non-zero winding) of
  // the polygon of these edges (x0 y0 x1 y1 each), when there are any.
  std::vector<double> edges;
  // The points of the curve or arc being drawn, the cuts at its joints.
  std::vector<double> chord, cuts;
};

// Sets `h` to draw onto `px` within the box; `cover` is kept zeroed.
void hairbegin(hairline* h, uint32_t* px, int stride, int top, int x0, int y0,
               int x1, int y1);

// Adds segment (ax, ay)-(bx, by), pixel coordinates (a pixel's centre
// at + 0.5), to the stroke being built, `h->half` wide either side.
void hairsegment(hairline* h, double ax, double ay, double bx, double by);

// Segment a-b alone, cut square at its ends: a straight stroke with butt
// caps, exact at any width (nothing when a is b).
void hairbar(hairline* h, double ax, double ay, double bx, double by);

// Path steps in pixel coordinates, as cairo's; curves and arcs are
// flattened within a tenth of a pixel, as cairo flattens them. An arc runs
// about (cx, cy) from angle a0 to a1 (radians, a1 >= a0) through
// (cx + r cos a, cy + flip r sin a), joined to the current point by a
// line when there is one.
void hairmove(hairline* h, double x, double y);
void hairlineto(hairline* h, double x, double y);
void haircurve(hairline* h, double x1, double y1, double x2, double y2,
               double x3, double y3);
void hairarc(hairline* h, double cx, double cy, double r, double a0, double a1,
             double flip);
void hairclose(hairline* h);

// Dashes the stroke being built from here on: `on` and `off` pixels
// long, the pattern started `phase` pixels in on every subpath; `capped`
// lengthens each dash by half the width at its ends (round or square
// caps; a dash's ends are otherwise cut square). Until hairpaint.
void hairdash(hairline* h, double on, double off, double phase, int capped);

// Clips the solid strokes from here on to the polygon of `edges` (x0 y0
// x1 y1 each, pixels), inside by the non-zero winding rule: a stroke is
// cut square where its centre line crosses an edge. No edges: no clip.
void hairclip(hairline* h, const std::vector<double>& edges);

// Segment a-b of the clip's polygon's own outline: only the half of the
// stroke inside the polygon shows, drawn as a strip half as wide beside
// the edge, on each side that is inside.
void hairedge(hairline* h, double ax, double ay, double bx, double by);

// Paints the stroke built so far in opaque colour `rgb` (0xRRGGBB) over
// the pixels and starts the next one.
void hairpaint(hairline* h, uint32_t rgb);
