// glpoints.cpp: the eight point marks and the drawing of a vertex.
#include <GL/gl.h>

#include "model/worldlist.h"
#include "render/colors.h"
#include "render/gldraw.h"
#include "render/smear.h"
#include "render/view.h"

// The one-pixel point at the centre of the outlined marks. Smoothed, it is
// a stroke as long as the point is wide: a point of its own would stop the
// gathering of strokes and switch the rasteriser between its smoothed
// points and lines at every mark.
static void centrepoint(double x, double y, float size) {
  if (smoothing() && size == 1) {
    double h = 0.5 * size * screenscale * worldperpixel();
    batchsegment(x - h, y, x + h, y);
    return;
  }
  if (smoothing()) {
    batchdot(x, y, size);
    return;
  }
  flushbatch();
  glPointSize(size * (float)screenscale);
  glBegin(GL_POINTS);
  glVertex2d(x, y);
  glEnd();
  glPointSize((float)screenscale);
}

// The outline of the diamond marks, corners clockwise from the left.
static void diamondoutline(double x, double y) {
  double d = dpbsize;
  const wpoint c[4] = {{x - d, y}, {x, y + d}, {x + d, y}, {x, y - d}};
  batchpath(c, 4, 1, nullptr);
}

void drawdiamondvert(double x, double y) {
  diamondoutline(x, y);
  setlinewidth(defaultwidth);
  centrepoint(x, y, 1);
}

void drawplusvert(double x, double y) {
  double d = dpbsize;
  batchsegment(x - d, y, x + d, y);
  batchsegment(x, y - d, x, y + d);
}

void drawcrossvert(double x, double y) {
  double s = spbsize;
  batchsegment(x - s, y - s, x + s, y + s);
  batchsegment(x + s, y - s, x - s, y + s);
}

void drawsoliddiamondvert(double x, double y) {
  double d = dpbsize;
  flushbatch();
  sethatch(nullptr);
  glBegin(GL_POLYGON);
  glVertex2d(x - d, y);
  glVertex2d(x, y + d);
  glVertex2d(x + d, y);
  glVertex2d(x, y - d);
  glEnd();
  // A fill has jagged edges; a smoothed outline over it softens them.
  if (smoothing()) diamondoutline(x, y);
}

void drawsquarevert(double x, double y) {
  double s = spbsize;
  const wpoint c[4] = {
      {x - s, y - s}, {x + s, y - s}, {x + s, y + s}, {x - s, y + s}};
  batchpath(c, 4, 1, nullptr);
  setlinewidth(defaultwidth);
  centrepoint(x, y, 1);
}

void drawdotvert(double x, double y) {
  centrepoint(x, y, 2);
}

void drawcircpointvert(double x, double y) {
  const double m[6] = {1, 0, x, 0, 1, y};
  batchloop(circpointoutline(), CIRCPOINTPOINTS, 1, m);
}

void drawpointmark(int pointtype, double x, double y) {
  switch (pointtype) {
    case RW_DIAMOND: drawdiamondvert(x, y); break;
    case RW_PLUS: drawplusvert(x, y); break;
    case RW_CROSS: drawcrossvert(x, y); break;
    case RW_SOLIDDIAMOND: drawsoliddiamondvert(x, y); break;
    case RW_SQUARE: drawsquarevert(x, y); break;
    case RW_DOT: drawdotvert(x, y); break;
    case RW_CIRCPOINT: drawcircpointvert(x, y); break;
    default:  // .nomark and codes that name no mark
      break;
  }
}

void drawvertex(vertex* v) {
  if (v->w == 0 || !v->valid) return;
  if (!setcolor(drawncolor(v), v->layercolor)) return;
  setlinewidth(v == pselected ? selectionfactor() : defaultwidth);
  drawpointmark(v->pointtype, v->x, v->y);
  setlinewidth(defaultwidth);
  if (v->label) bitmap_output(v->x + dpbsize / 2, v->y + dpbsize / 2, v->label);
  if (issmear(v)) addsmearitem(SMEAR_POINT, v->x, v->y, 0, 0, v->pointtype);
}
