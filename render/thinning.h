// thinning.h: polylines thinned on their way to the screen.
//
// Many curves of a diagram come from fixed tables (points of a Bezier
// curve or a hyperbola, 17 points for a circle mark), so a
// small curve hands the rasteriser many segments shorter than a pixel, and
// a software rasteriser pays for every segment. Thinning leaves a point out
// while every point left out since the last one kept lies within a set
// tolerance of the chord that replaces them; the stroke then covers the
// same pixels to within that tolerance. The first and last points of a
// polyline are always kept.
#pragma once

#include "render/shapes.h"

const int THINHELD = 32;  // at most this many points replaced by one chord

struct thinning {
  double tolerance;          // greatest distance from the chord
  int seen;                  // points fed since thinbegin
  wpoint anchor;             // the last point kept
  wpoint held;               // the newest point, not yet kept
  wpoint skipped[THINHELD];  // points between anchor and held, left out
  int nskipped;
};

// Starts a polyline.
void thinbegin(thinning* t, double tolerance);

// Feeds the next point; returns 1 and sets *out when a point is kept.
int thinput(thinning* t, wpoint p, wpoint* out);

// Ends the polyline: returns 1 and sets *out to its last point, unless it
// was kept already (a polyline of one point) or none was fed.
int thinend(thinning* t, wpoint* out);
