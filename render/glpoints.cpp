// glpoints.cpp: the eight point marks and the drawing of a vertex.
#include <GL/gl.h>

#include "model/worldlist.h"
#include "render/colors.h"
#include "render/gldraw.h"
#include "render/smear.h"
#include "render/view.h"

void drawdiamondvert(double x, double y) {
  double d = dpbsize;
  glBegin(GL_LINE_LOOP);
  glVertex2d(x - d, y);
  glVertex2d(x, y + d);
  glVertex2d(x + d, y);
  glVertex2d(x, y - d);
  glEnd();
  glLineWidth((GLfloat)defaultwidth);
  glPointSize(1);
  glBegin(GL_POINTS);
  glVertex2d(x, y);
  glEnd();
}

void drawplusvert(double x, double y) {
  double d = dpbsize;
  glBegin(GL_LINES);
  glVertex2d(x - d, y);
  glVertex2d(x + d, y);
  glVertex2d(x, y - d);
  glVertex2d(x, y + d);
  glEnd();
}

void drawcrossvert(double x, double y) {
  double s = spbsize;
  glBegin(GL_LINES);
  glVertex2d(x - s, y - s);
  glVertex2d(x + s, y + s);
  glVertex2d(x + s, y - s);
  glVertex2d(x - s, y + s);
  glEnd();
}

void drawsoliddiamondvert(double x, double y) {
  double d = dpbsize;
  glBegin(GL_POLYGON);
  glVertex2d(x - d, y);
  glVertex2d(x, y + d);
  glVertex2d(x + d, y);
  glVertex2d(x, y - d);
  glEnd();
}

void drawsquarevert(double x, double y) {
  double s = spbsize;
  glBegin(GL_LINE_LOOP);
  glVertex2d(x - s, y - s);
  glVertex2d(x + s, y - s);
  glVertex2d(x + s, y + s);
  glVertex2d(x - s, y + s);
  glEnd();
  glLineWidth((GLfloat)defaultwidth);
  glPointSize(1);
  glBegin(GL_POINTS);
  glVertex2d(x, y);
  glEnd();
}

void drawdotvert(double x, double y) {
  glPointSize(2);
  glBegin(GL_POINTS);
  glVertex2d(x, y);
  glEnd();
  glPointSize(1);
}

void drawcircpointvert(double x, double y) {
  const float* outline = circpointoutline();
  glPushMatrix();
  glTranslated(x, y, 0);
  glEnableClientState(GL_VERTEX_ARRAY);
  glVertexPointer(2, GL_FLOAT, 0, outline);
  glDrawArrays(GL_LINE_LOOP, 0, CIRCPOINTPOINTS);
  glDisableClientState(GL_VERTEX_ARRAY);
  glPopMatrix();
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
  if (!setcolor(v->color, v->layercolor)) return;
  glLineWidth((GLfloat)(v == pselected ? selectionfactor() : defaultwidth));
  drawpointmark(v->pointtype, v->x, v->y);
  glLineWidth((GLfloat)defaultwidth);
  if (v->label) bitmap_output(v->x + dpbsize / 2, v->y + dpbsize / 2, v->label);
  if (issmear(v)) addsmearitem(SMEAR_POINT, v->x, v->y, 0, 0, v->pointtype);
}
