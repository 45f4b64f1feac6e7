// gldraw.h: the diagram drawn on the screen with OpenGL 1.x.
//
// Every routine works in world coordinates under the projection `drawgeom`
// sets up, takes its geometry from the shared shapes (render/shapes.h) and
// its colour and visibility from render/colors.h. The page's counterparts
// are in postscript/. Nothing here recomputes except `drawgeom` itself.
#pragma once

#include <cstdint>

#include "model/primitive.h"
#include "render/shapes.h"

extern int defaultwidth;  // screen line width in pixels

// ---- frame (glframe.cpp) ----

// One frame: recompute, set up the view, clear (unless blink-only), draw
// the world list, the macro scratch list and the smear trace.
void drawgeom();

// Draws one list; resets the value and info columns first.
void drawprimitivelist(primitive* list);

// Draws the records of a list from `from` up to `to` (null: its end).
void drawrecords(primitive* from, primitive* to);

// The record under the resting pointer, drawn with a glow under it (null:
// none); only compared with the records drawn, never followed, so a
// deleted record cannot be reached through it.
extern const primitive* highlighted;

// Called in each frame once the diagram is recomputed and the sizes are
// known, before anything is drawn: the program sets `highlighted` there.
extern void (*beforedrawhook)();

// Multiplies the current matrix by the two-dimensional orthographic
// projection of the given rectangle.
void Ortho2D(double left, double right, double bottom, double top);

// Pushes a projection of window pixels (origin at the bottom left) and an
// identity model-view; `poppixelview` restores both.
void pushpixelview();
void poppixelview();

// Draws the smear trace in the smear colour.
void drawsmearlist();

// ---- images of what a drag leaves still (glstill.cpp) ----

// The point the left button is dragging, set by the program for each step
// of a drag and cleared when the button is let go; only compared with the
// selected record, never followed. Null: no drag.
extern const primitive* draggedrecord;

// Keep images of the still records during a drag (0: draw every record
// each frame; the pictures are the same within two units of colour), and
// the number of frames shown from them.
extern int stillimages;
extern long stillframes;

// During a drag of the selected point, draws the world list (the columns
// started) from images of what does not move and the moving stretch over
// and under them; 0 when there is no drag and nothing was drawn.
int drawstill();

// Frees the images when the drag is over (names made in another context
// are only forgotten); `resetstill` forgets them and the drag.
void dropstill();
void resetstill();

// ---- colour and width (glcolor.cpp) ----

// Selects the colour of `code` (per-layer colours from `layercolors` for
// code -6); returns 0 when the primitive is not to be drawn.
int setcolor(int code, const uint8_t* layercolors);

// Width factor of the selected primitive: 3 for width 1, else 6.
int selectionfactor();

// Sets the line width of a line-like primitive: its `width` times the
// selection factor when selected, else times `defaultwidth`.
void setprimwidth(const primitive* p);

// ---- gathered strokes (glbatch.cpp) ----

// Selects the colour of the strokes gathered next (and of direct drawing).
void batchcolor(const float rgb[3], int index);

// Line width and dash pattern (0 = solid); a change of width, or of the
// pattern when the dashes are not cut here, draws what is pending.
void setlinewidth(double w);
void setdash(unsigned short pattern);
// Cut dashes into the gathered strokes while smoothing (0: leave them to
// the rasteriser's stipple; the pieces are the same).
extern int cutdashes;
// The dash pattern of a line style (RW_DASHLINE, ...); 0 for a solid line.
unsigned short stipplefor(int linestyle);

// Gathers one segment, a path of n points (closed: back to the first),
// or a loop through every `step`-th of n unit-table points and back to the
// first, the last two through the affine map m = (x: m0 m1 m2, y: m3 m4 m5)
// when given.
void batchsegment(double x1, double y1, double x2, double y2);
void batchpath(const wpoint* p, int n, int closed, const double* m);
void batchloop(const float* table, int n, int step, const double m[6]);

// Gathers a point of `size` pixels, drawn over the strokes gathered with
// it when they are drawn.
void batchdot(double x, double y, float size);

// How far in pixels a gathered stroke may stray from its curve.
double thinpixels();

// The map of a unit shape scaled by (sx, sy), moved to (cx, cy) and the
// whole turned by theta about the origin.
void placement(double theta, double cx, double cy, double sx, double sy,
               double m[6]);

// The polygon stipple of the fills that follow (null: solid); a fill is
// drawn directly, so what is gathered must be drawn before it.
void sethatch(const uint8_t* mask);

// Draws what is gathered; anything drawn directly must come after this.
void flushbatch();

// Forgets the width and dash in force (start of a frame).
void resetbatch();

// While on, every colour selected is the highlight's and every stroke is
// wider by the glow's width: a record drawn then lies as a glow under
// itself drawn again normally.
void setglow(int on);

// Antialiased strokes and point marks when `smoothdrawing` is on in an RGB
// window (`smoothing` says whether they are); plain ones otherwise.
void setsmoothing();
int smoothing();

// The colour of the strokes gathered next.
const float* batchrgb();

// ---- labels from the font atlas (glglyphs.cpp) ----

extern int useglyphatlas;  // plain labels from the atlas (0: as bitmaps)

// Makes the atlas of the screen font when the font or the context changed
// and `maydraw` allows drawing over the whole window (the frame is
// painted afterwards); does nothing in a colour-index window.
void prepareglyphs(int maydraw);

// Gathers plain printable text at world point (x, y) in colour rgb, to be
// drawn over the strokes gathered with it when they are handed to the
// rasteriser, or at the end of the frame; 0 when the atlas cannot show it
// (the caller draws it as bitmaps then). Outside the view nothing is drawn.
int atlastext(const char* s, double x, double y, const float rgb[3]);

// Draws the gathered text; 1 when there was any.
int flushglyphs();

// Forgets the atlas and the gathered text.
void resetglyphs();

// ---- points, lines and circles (glpoints.cpp, gllines.cpp,
// glcircles.cpp) ----

void drawvertex(vertex* v);
void drawline(line* l);
void drawcircle(circle* c);

// Point marks at (x, y), used by vertices and the smear trace.
void drawdiamondvert(double x, double y);
void drawplusvert(double x, double y);
void drawcrossvert(double x, double y);
void drawsoliddiamondvert(double x, double y);
void drawsquarevert(double x, double y);
void drawdotvert(double x, double y);
void drawcircpointvert(double x, double y);
// The mark of `pointtype` (nothing for .nomark or an unknown type).
void drawpointmark(int pointtype, double x, double y);

void roughcircle(double x, double y, double r);
void accuratecircle(double x, double y, double r);
void cir();  // the fine unit circle under the current matrix

// The whole line through two homogeneous points.
void drawaline(const vertex* p, const vertex* q, int selected);

// ---- angles, arcs, polygons, conics, Bezier curves, values
// (glcurves.cpp) ----

void drawangleprim(angle* a);
void drawarc(arc* a);
void drawpolygon(polygon* p);
void drawconicprim(conic* c);
void drawbezierprim(bezier* b);
void drawflt(flt* f);

void drawangle(double px, double py, double vx, double vy, double qx, double qy,
               double r);
void drawrightangle(double px, double py, double vx, double vy, double qx,
                    double qy, double r);
void drawslash(double px, double py, double vx, double vy, double qx, double qy,
               double r1, double r2, int n);
void drawconic(double a, double b, double c, double d, double e, double f);
void drawbezier(double x1, double y1, double x2, double y2, double x3,
                double y3, double x4, double y4);
void hyp();  // the unit hyperbola under the current matrix

// ---- text (gltext.cpp) ----

// Draws `s` with its markup from world point (x, y); nothing at all when
// (x, y) lies outside the view. `underline` underlines every piece.
void charstr(const char* s, double x, double y, int underline);
void bitmap_output(double x, double y, const char* s);

// One entry of the value column at (-0.99, `ym`); lowers `ym`.
void drawvalueentry(const char* s);

void drawtext(text* t);

// Selects the screen font (`fontnumber` + `fontstyle` at `fontsize`) and
// draws nothing with it, so it is loaded before the first label.
void loadscreenfont();

// Puts every screen-drawing global back to its start-up value.
void resetgldraw();
