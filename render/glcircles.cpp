// glcircles.cpp: circles with their three tessellations, and circles that
// degenerated into lines.
#include <GL/gl.h>

#include "model/worldlist.h"
#include "render/colors.h"
#include "render/gldraw.h"
#include "render/smear.h"
#include "render/view.h"

// A unit-circle table moved to (x, y) and scaled by r: one table walk, no
// trigonometry per frame. Chords that straddle the circle stray no further
// than the strokes' thinning allows.
static void unitloop(const float* table, int n, double x, double y, double r) {
  double factor;
  int step = straddlestep(r / worldperpixel(), thinpixels(), n, &factor);
  const double m[6] = {r * factor, 0, x, 0, r * factor, y};
  batchloop(table, n, step, m);
}

void roughcircle(double x, double y, double r) {
  unitloop(roughcircletable(), ROUGHCIRCLEPOINTS, x, y, r);
}

void cir() {
  flushbatch();
  glEnableClientState(GL_VERTEX_ARRAY);
  glVertexPointer(2, GL_FLOAT, 0, finecircletable());
  glDrawArrays(GL_LINE_LOOP, 0, FINECIRCLEPOINTS);
  glDisableClientState(GL_VERTEX_ARRAY);
}

void accuratecircle(double x, double y, double r) {
  if (circlestylefor(r) != CIRCLE_HUGE) {
    unitloop(finecircletable(), FINECIRCLEPOINTS, x, y, r);
    return;
  }
  // Within the view a huge circle is practically straight.
  wpoint s[2][2];
  int n = hugecirclestrokes(x, y, r, s);
  for (int i = 0; i < n; i++)
    batchsegment(s[i][0].x, s[i][0].y, s[i][1].x, s[i][1].y);
}

void drawcircle(circle* c) {
  if (!c->valid || !setcolor(drawncolor(c), c->layercolor)) return;
  setprimwidth(c);
  setdash(stipplefor(c->linestyle));
  if (c->center.w != 0) {
    double cx = c->center.x / c->center.w, cy = c->center.y / c->center.w;
    double r = c->radius;
    if (circlestylefor(r) == CIRCLE_ROUGH)
      roughcircle(cx, cy, r);
    else
      accuratecircle(cx, cy, r);
    if (issmear(c)) addsmearitem(SMEAR_CIRCLE, cx, cy, r, 0, 0);
    return;
  }
  const vertex *p, *q;
  if (degeneratecirclepoints(c, &p, &q)) drawaline(p, q, c == pselected);
}
