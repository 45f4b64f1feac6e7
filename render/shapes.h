// shapes.h: the geometry that the screen and the page draw alike.
//
// The window (render/gl*) and the PostScript writer (postscript/) both call
// these pure functions, so where a line ends, where its tick marks go, how
// big an angle mark is and which curve a conic is are decided once. All
// points are world coordinates; functions that depend on the window read
// the view globals of render/view.h (xsize, ysize, fxmin.., dpbsize).
// Nothing here draws or allocates except the unit tables, which are built
// once on first use and live for the run.
#pragma once

#include <cstdint>
#include <vector>

#include "model/primitive.h"

struct wpoint {
  double x, y;
};

// ---- lines ----

// Which surface a line is drawn on: a ray runs out of any view on screen,
// but ends three world units beyond its second point on paper.
enum surface { ONSCREEN = 0, ONPAGE = 1 };

// The whole line a*x + b*y + c = 0 over the span -10..10 (the coordinate
// with the larger coefficient is solved for); (1e30, 1e30) twice when a
// and b are both 0.
void wholeline(double a, double b, double c, wpoint* P, wpoint* Q);

// The two points a line is drawn between: its defining points for a
// segment, pushed out beyond the second for a .ray12, and the whole line
// for a .longline or a line without two finite defining points.
void lineendpoints(const line* l, int where, wpoint* P, wpoint* Q);

// The whole line through two homogeneous points (their cross product);
// either may lie at infinity.
void lineofpoints(const vertex* p, const vertex* q, wpoint* P, wpoint* Q);

// Where a line's label goes: the midpoint raised by 0.02, and one text line
// (`fbsize`) lower on a rising line so the label sits below it.
wpoint linelabelanchor(wpoint P, wpoint Q);

// The 1/sqrt(2) the tick direction is built with on each surface.
const double SCREENTICKROOT = 0.707106781188;
const double PAGETICKROOT = 0.7071067;

// The tick marks of `linemark` on PQ: up to three strokes from C + 0.03 v
// to C - 0.03 v, v the direction PQ turned by -45 degrees. Returns the
// count (0 for .line0slash or an unknown mark); ticks are in drawing order
// (two ticks: M - 0.01u, M + 0.01u; three: M - 0.02u, M + 0.02u, M).
int linetickmarks(int linemark, wpoint P, wpoint Q, double root,
                  wpoint ticks[3][2]);

// ---- circles ----

const int ROUGHCIRCLEPOINTS = 80;
const int FINECIRCLEPOINTS = 800;
const int CIRCPOINTPOINTS = 17;

// How a circle of radius r is drawn on screen: the 80-point loop below 4.0,
// the 800-point loop up to 200, two straight strokes above.
enum circlestyle { CIRCLE_ROUGH, CIRCLE_FINE, CIRCLE_HUGE };
int circlestylefor(double r);

// The stride through an n-point unit-circle table, and the factor its
// points are pushed out by, with which a circle of `radius` pixels is drawn
// in chords that straddle it: each chord's ends lie outside the circle and
// its middle as far inside, within `tolerance` pixels, which takes about a
// third fewer chords than chords whose ends lie on it. Stride 1 and factor
// 1 (every point, on the circle) where the table is no finer than that.
// However close it keeps, no chord runs longer than LONGESTCHORD pixels
// of the curve: on a large circle a longer one shows as a straight piece
// with a corner at each end.
// An ellipse is the image of the unit circle under a linear map that
// stretches no direction by more than its larger semi-axis, so with that
// semi-axis as `radius` its chords stray no further either.
const double LONGESTCHORD = 20;
int straddlestep(double radius, double tolerance, int n, double* factor);

// The largest angle a chord of a ring of `radius` pixels may span, its
// ends on the ring, to stray no more than `tolerance` pixels from it and
// run along no more than LONGESTCHORD pixels of it.
double ringstep(double radius, double tolerance);

// Unit circles (cos, sin pairs, single precision) of 80 and 800 points.
const float* roughcircletable();
const float* finecircletable();

// The outline of the .circpoint mark for the current `dpbsize`: 17 points
// (x, y pairs) at radius 0.707106781188 * dpbsize around the origin; rebuilt
// whenever `dpbsize` has changed since the last call.
const float* circpointoutline();

// The two strokes a huge circle is reduced to: its crossings of two
// opposite edges of the view. Returns 2, or 0 when it misses them.
int hugecirclestrokes(double cx, double cy, double r, wpoint strokes[2][2]);

// The line a circle degenerated into (centre at infinity) runs through
// two of its auxiliary points; returns 0 when none is finite.
int degeneratecirclepoints(const circle* c, const vertex** p, const vertex** q);

// ---- angles and arcs ----

// The marks of one angle type: rings by `drawangle` from the smallest
// radius up, then `nslash` slashes (1 or 2) from r1 inwards to r2, or the
// right-angle corner at `rings[0]`.
struct anglemarkset {
  int nrings;
  double rings[3];
  int nslash;
  double r1, r2;
  int right;
};

// The marks of `angletype` (RW_NOANGLE .. RW_RIGHT); null for other codes.
const anglemarkset* anglemarkfor(int angletype);

// Mark radii grow with the window's width-to-height ratio: R = r * this.
double anglemarkscale();

// Arm directions of the angle P V Q: alpha = atan2(P - V), beta =
// atan2(Q - V), beta raised by 2 pi when below alpha, so the mark runs
// counter-clockwise from the arm through P to the arm through Q.
void anglearms(wpoint P, wpoint V, wpoint Q, double* alpha, double* beta);

// The points of the counter-clockwise ring of radius R about V from alpha
// to beta in equal steps of at most `step` radians (and no more than
// RINGPOINTS of them), starting and ending exactly at alpha and beta.
const int RINGPOINTS = 1000;
void anglestrip(wpoint V, double R, double alpha, double beta, double step,
                std::vector<wpoint>* out);

// The square root of 2 the corner is built with on each surface.
const double SCREENDIAG = 1.41421356237;
const double PAGEDIAG = 1.4142135;

// The corner of a right-angle mark: R along the first arm, diag·R along the
// bisector, R along the second arm.
void rightanglepoints(wpoint V, double R, double alpha, double beta,
                      double diag, wpoint pts[3]);

// One slash from V + R1·dir(m) to V + R2·dir(m).
void slashsegment(wpoint V, double R1, double R2, double m, wpoint seg[2]);

// The label anchor of an angle: V + (gfontsize·0.14/16)·dir(m).
wpoint anglelabelanchor(wpoint V, double m);

// The three points of a drawable angle (kind A_VVV, all parents finite),
// divided through by w. Returns 0 when the angle is not drawable.
int anglecorners(const angle* a, wpoint* P, wpoint* V, wpoint* Q);

// The three points A, C, B of a drawable arc (kind ARC_VVV, all finite).
int arccorners(const arc* a, wpoint* A, wpoint* C, wpoint* B);

// The radius handed to the ring routines for an arc, chosen so that the
// drawn radius is exactly |A - C|: |A - C| * ysize / xsize.
double arcmarkradius(wpoint A, wpoint C);

// ---- polygons ----

// Corner i of a polygon: the record its parent's identifier currently
// names (the parent itself when it has none); null beyond `nvert`.
const vertex* polygoncorner(const polygon* p, int i);

// The 32x32 stipple (128 bytes, bottom row first) of a hatched polygon
// type, or null for solid, outline and unknown types.
const uint8_t* polygonstipple(int polytype);

// ---- conics ----

enum conicshape {
  CONIC_NONE,        // nothing to draw (also: non-finite numbers)
  CONIC_PARABOLA_U,  // |A| small: u as a function of v
  CONIC_PARABOLA_V,  // |B| small: v as a function of u
  CONIC_LINEPAIR,    // |F| < 1e-8: two lines, not drawn
  CONIC_IMAGINARY,   // A' > 0 and B' > 0: no real points
  CONIC_ELLIPSE,     // scaled unit circle
  CONIC_HYPERBOLA    // scaled unit hyperbola, turned 90 degrees if `turn90`
};

// A conic rotated onto its axes: A u^2 + B v^2 + D u + E v + f = 0 in the
// frame turned by theta; for central shapes the centre (uc, vc), F, the
// normalised A' = A/F, B' = B/F and the scale factors (sx, sy) that map
// the unit circle or unit hyperbola onto the curve.
struct conicaxes {
  double theta;  // radians
  double A, B, D, E, f;
  double uc, vc, F, Ap, Bp;
  double sx, sy;
  int turn90;  // hyperbola opening along u: turn the unit one by 90 deg
  int shape;   // conicshape
};

// The screen's reading: parabolas and line pairs recognised first.
void screenconic(const double coef[6], conicaxes* k);

// The page's reading: always central (ellipse, hyperbola or imaginary);
// any non-finite angle, centre or scale gives CONIC_NONE.
void pageconic(const double coef[6], conicaxes* k);

// Points of a parabola in the rotated frame, across the view plus 20 steps
// on each side (400 steps over twice the view's extent).
void parabolapoints(const conicaxes* k, std::vector<wpoint>* out);

const int HYPPOINTS = 400;

// One branch of the unit hyperbola y^2 - x^2 = 1 (upper: y > 0), 400
// points; the end points lie at (-+1e6, +-1e6) so the branch runs out
// along the asymptotes beyond any view.
const wpoint* hyperbolabranch(int upper);

// ---- Bezier curves ----

const int BEZIERPOINTS = 33;

// 33 points of the cubic with control points P1..P4, t = 0, 1/32, .. 1.
void bezierpoints(const wpoint ctl[4], wpoint out[BEZIERPOINTS]);

// ---- the value column ----

// The name a listed value shows: the label, else the identifier, else "".
const char* valuename(const primitive* p);
