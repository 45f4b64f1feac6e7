// thinning.cpp: polylines thinned within a tolerance (see thinning.h).
#include "render/thinning.h"

#include <cmath>

// Whether p lies within `tol` of the segment from a to c. The projection
// must fall on the segment too: a path that runs out and comes back along
// one line keeps its far end.
static int nearchord(wpoint a, wpoint c, wpoint p, double tol) {
  double dx = c.x - a.x, dy = c.y - a.y;
  double px = p.x - a.x, py = p.y - a.y;
  double len2 = dx * dx + dy * dy;
  if (len2 <= tol * tol) return px * px + py * py <= tol * tol;
  double cross = dx * py - dy * px;
  if (cross * cross > tol * tol * len2) return 0;
  double along = dx * px + dy * py, slack = tol * std::sqrt(len2);
  return along >= -slack && along <= len2 + slack;
}

void thinbegin(thinning* t, double tolerance) {
  t->tolerance = tolerance;
  t->seen = 0;
  t->nskipped = 0;
}

int thinput(thinning* t, wpoint p, wpoint* out) {
  if (t->seen++ == 0) {
    t->anchor = *out = p;
    return 1;
  }
  if (t->seen == 2) {
    t->held = p;
    return 0;
  }
  // Can the chord from the anchor to p replace `held` and everything
  // left out before it?
  int fits =
      t->nskipped < THINHELD && nearchord(t->anchor, p, t->held, t->tolerance);
  for (int i = 0; fits && i < t->nskipped; i++)
    fits = nearchord(t->anchor, p, t->skipped[i], t->tolerance);
  if (fits) {
    t->skipped[t->nskipped++] = t->held;
    t->held = p;
    return 0;
  }
  t->anchor = *out = t->held;
  t->held = p;
  t->nskipped = 0;
  return 1;
}

int thinend(thinning* t, wpoint* out) {
  if (t->seen < 2) return 0;
  *out = t->held;
  t->seen = 0;
  return 1;
}
