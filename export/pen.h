// pen.h: the table of drawing operations every export back end fills in,
// and the one walk over the view that drives it.
//
// The walk (export/walk.cpp) decides everything the page shows, exactly as
// the PostScript writer does: which records are drawn, in which order and
// colour, with which dash and width, where every stroke, mark and label
// goes. A back end (SVG, cairo, TikZ) only turns these operations into its
// own syntax; none of them looks at a record's geometry itself.
//
// Coordinates are world coordinates (y upwards). Paths are built with
// move/line/curve/arc/close and consumed by stroke, fill or clip, as in
// PostScript. Widths and dash lengths are in world units; width 0 is the
// thinnest line the device can show.
#pragma once

#include <string>

struct primitive;
struct markupitem;

// The white outline painted under labels, world units.
const double HALOWIDTH = 0.013;

// Width 0 on a page that has no pixels (SVG, PDF), in points: one pixel at
// 150 dpi. A true hairline would all but vanish from a printed document.
const double THINNEST = 0.48;

// The graphics state a stroke or fill is made with.
struct penstate {
  float rgb[3];    // 0..1
  int dash;        // psdash style (PSDASH_INVISIBLE .. PSDASH_DOTTED)
  double phase;    // how far into the dash pattern the path starts
  double width;    // line width, world units; 0: one device pixel
  int cap;         // 0 butt, 1 round, 2 projecting square
};

// The on and off lengths (world units) of a dash style; 0 entries when the
// style is solid. Returns the number of lengths (0 or 2).
int dashlengths(int dash, double lengths[2]);

// Fonts of the page: the italic text face and the upright symbol face.
enum penface { FACE_ITALIC = 0, FACE_SYMBOL = 1 };

// A piece of a laid-out label or text: one face, one size, one baseline.
struct textrun {
  double x, y;       // start of the baseline, world units
  double size;       // font size, world units
  int face;          // penface
  std::string utf8;  // the characters
  double advance;    // width of the run, world units
};

struct pen {
  // A visible record starts (open = 1) and ends (open = 0); `p` is null for
  // what belongs to no record (smear traces, the value column's frame).
  void (*group)(void* c, const primitive* p, int open);
  void (*move)(void* c, double x, double y);
  void (*line)(void* c, double x, double y);
  void (*curve)(void* c, double x1, double y1, double x2, double y2, double x3,
                double y3);
  // A counter-clockwise arc about (cx, cy) from angle a0 to a1 (degrees,
  // a1 >= a0), joined to the current point by a line when there is one.
  void (*arc)(void* c, double cx, double cy, double r, double a0, double a1);
  void (*close)(void* c);
  void (*stroke)(void* c, const penstate* s);
  void (*fill)(void* c, const penstate* s);
  // push = 1: clip to the current path (consuming it) until the matching
  // push = 0.
  void (*clip)(void* c, int push);
  // One run of a label; `halo` runs paint the white outline under the
  // letters and come before the coloured ones.
  void (*text)(void* c, const textrun* r, const penstate* s, int halo);
  // One line of a label (its markup items) at (x, y); a back end that sets
  // labels itself (TikZ) fills this in, returns 1 and then gets no runs,
  // marks or halo for it. Null in the others.
  int (*label)(void* c, const markupitem* items, int n, double x, double y,
               const penstate* st);
};

// Walks the current view (as last recomputed) and draws it with `p`:
// smear traces, every record of the world list and the macro scratch list,
// the value and info columns, point marks last, all clipped to the view.
// Moves the value and info columns (`ym`, `yinfo`) as a frame does.
void walkview(const pen* p, void* c);
