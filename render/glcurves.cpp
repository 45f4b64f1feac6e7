// glcurves.cpp: angle marks, arcs, polygons with their fills, conics of
// every shape, Bezier curves and the numbers listed in the value column.
#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "engine/recompute.h"
#include "model/worldlist.h"
#include "render/colors.h"
#include "render/gldraw.h"
#include "render/smear.h"
#include "render/view.h"

static void path(const std::vector<wpoint>& pts, int closed) {
  if (!pts.empty()) batchpath(pts.data(), (int)pts.size(), closed, nullptr);
}

static void segment(const wpoint seg[2]) {
  batchsegment(seg[0].x, seg[0].y, seg[1].x, seg[1].y);
}

void drawangle(double px, double py, double vx, double vy, double qx, double qy,
               double r) {
  double al, be;
  wpoint V = {vx, vy};
  anglearms({px, py}, V, {qx, qy}, &al, &be);
  std::vector<wpoint> pts;
  double R = r * anglemarkscale();
  anglestrip(V, R, al, be, ringstep(R / worldperpixel(), thinpixels()), &pts);
  path(pts, 0);
}

void drawrightangle(double px, double py, double vx, double vy, double qx,
                    double qy, double r) {
  double al, be;
  wpoint V = {vx, vy}, c[3];
  anglearms({px, py}, V, {qx, qy}, &al, &be);
  rightanglepoints(V, r * anglemarkscale(), al, be, SCREENDIAG, c);
  batchpath(c, 3, 0, nullptr);
}

void drawslash(double px, double py, double vx, double vy, double qx, double qy,
               double r1, double r2, int n) {
  double al, be;
  wpoint V = {vx, vy}, seg[2];
  anglearms({px, py}, V, {qx, qy}, &al, &be);
  double m = (al + be) / 2, k = anglemarkscale();
  if (n == 1) {
    slashsegment(V, r1 * k, r2 * k, m, seg);
    segment(seg);
    return;
  }
  slashsegment(V, r1 * k, r2 * k, m + 0.04, seg);
  segment(seg);
  slashsegment(V, r1 * k, r2 * k, m - 0.04, seg);
  segment(seg);
}

// "%s = %6.3f" for a listed value.
static void listvalue(const char* fmt, const primitive* p, double v) {
  char buf[256];
  snprintf(buf, sizeof buf, fmt, valuename(p), v);
  drawvalueentry(buf);
}

// How much an angle's mark is widened on the screen so that its innermost
// ring clears the label of a labelled vertex, which reaches up to half a
// mark and a text line from the point; in a small window the rings would
// run under it.
static double ringclearance(const anglemarkset* m) {
  double perworld = 0.5 * std::min(xsize, ysize);  // pixels per world unit
  double inner = m->rings[0] * anglemarkscale() * perworld;
  double label = (0.5 * gvertexsize + 1.3 * fontsize) * screenscale;
  return inner > 0 && inner < label ? label / inner : 1;
}

void drawangleprim(angle* a) {
  wpoint P, V, Q;
  if (!a->valid || !anglecorners(a, &P, &V, &Q)) return;
  if (!setcolor(a->color, a->layercolor)) return;
  setlinewidth(a == pselected ? 3 : 1);
  const anglemarkset* m = anglemarkfor(a->angletype);
  const primitive* apex = a->parents[1];
  double k = m && apex && apex->label ? ringclearance(m) : 1;
  if (m && m->right) {
    drawrightangle(P.x, P.y, V.x, V.y, Q.x, Q.y, k * m->rings[0]);
  } else if (m) {
    for (int i = 0; i < m->nrings; i++)
      drawangle(P.x, P.y, V.x, V.y, Q.x, Q.y, k * m->rings[i]);
    if (m->nslash)
      drawslash(P.x, P.y, V.x, V.y, Q.x, Q.y, k * m->r1, k * m->r2,
                m->nslash);
  }
  setlinewidth(1);
  double al, be;
  anglearms(P, V, Q, &al, &be);
  if (a->label) {
    // The label keeps outside the rings when they were widened.
    wpoint at = anglelabelanchor(V, (al + be) / 2);
    bitmap_output(V.x + k * (at.x - V.x), V.y + k * (at.y - V.y), a->label);
  }
  if (a->display)
    listvalue("%s = %6.3f", a,
              degreemode ? a->value * 180 / 3.14159265 : a->value);
}

void drawarc(arc* a) {
  wpoint A, C, B;
  if (!a->valid || !arccorners(a, &A, &C, &B)) return;
  if (!setcolor(a->color, a->layercolor)) return;
  setprimwidth(a);
  setdash(stipplefor(a->linestyle));
  drawangle(A.x, A.y, C.x, C.y, B.x, B.y, arcmarkradius(A, C));
}

static void polyoutline(const std::vector<wpoint>& c, unsigned short dash) {
  setdash(dash);
  path(c, 1);
}

void drawpolygon(polygon* p) {
  if (!p->valid || !setcolor(p->color, p->layercolor)) return;
  setprimwidth(p);
  std::vector<wpoint> c;
  for (int i = 0; i < p->nvert; i++) {
    const vertex* v = polygoncorner(p, i);
    if (v && v->w != 0) c.push_back({v->x, v->y});
  }
  polyoutline(c, 0);
  if (p->polytype != RW_OUTLINEPOLY) {
    flushbatch();
    sethatch(polygonstipple(p->polytype));
    glBegin(GL_POLYGON);
    for (const wpoint& q : c) glVertex2d(q.x, q.y);
    glEnd();
  }
  // A dashed outline shows the selection against a solid fill.
  if (p == pselected) polyoutline(c, p->polytype == RW_SOLIDPOLY ? 0xFF00 : 0);
  if (p->display) listvalue("Area %s = %6.3f", p, p->area);
}

void hyp() {
  flushbatch();
  for (int upper = 1; upper >= 0; upper--) {
    const wpoint* b = hyperbolabranch(upper);
    glBegin(GL_LINE_STRIP);
    for (int i = 0; i < HYPPOINTS; i++) glVertex2d(b[i].x, b[i].y);
    glEnd();
  }
}

// The unit hyperbola's branches through the map m, turned by a quarter
// first when the curve opens along the other axis.
static void hyperbola(const double m[6], int turn90) {
  static wpoint turned[HYPPOINTS];
  for (int upper = 1; upper >= 0; upper--) {
    const wpoint* b = hyperbolabranch(upper);
    if (turn90) {
      for (int i = 0; i < HYPPOINTS; i++) turned[i] = {-b[i].y, b[i].x};
      b = turned;
    }
    batchpath(b, HYPPOINTS, 0, m);
  }
}

void drawconic(double a, double b, double c, double d, double e, double f) {
  const double coef[6] = {a, b, c, d, e, f};
  conicaxes k;
  screenconic(coef, &k);
  double m[6];
  switch (k.shape) {
    case CONIC_PARABOLA_U:
    case CONIC_PARABOLA_V: {
      std::vector<wpoint> pts;
      parabolapoints(&k, &pts);
      placement(k.theta, 0, 0, 1, 1, m);
      if (!pts.empty()) batchpath(pts.data(), (int)pts.size(), 0, m);
      setlinewidth(defaultwidth);
      break;
    }
    case CONIC_ELLIPSE: {
      // A small ellipse needs far fewer than the table's 800 points to
      // look the same, and every point costs the rasteriser.
      double f;
      int step = straddlestep(std::max(k.sx, k.sy) / worldperpixel(),
                              thinpixels(), FINECIRCLEPOINTS, &f);
      placement(k.theta, k.uc, k.vc, k.sx * f, k.sy * f, m);
      batchloop(finecircletable(), FINECIRCLEPOINTS, step, m);
      break;
    }
    case CONIC_HYPERBOLA:
      placement(k.theta, k.uc, k.vc, k.sx, k.sy, m);
      hyperbola(m, k.turn90);
      break;
    default:  // no real points, a pair of lines, or nothing finite
      break;
  }
}

void drawconicprim(conic* c) {
  if (!c->valid || !setcolor(c->color, c->layercolor)) return;
  setprimwidth(c);
  const double* k = c->coef;
  drawconic(k[0], k[1], k[2], k[3], k[4], k[5]);
  if (issmear(c)) {
    addsmearitem(SMEAR_CONIC, k[0], k[1], k[2], k[3], 0);
    addsmearitem(SMEAR_CONIC, k[4], k[5], 0, 0, 0);
  }
}

void drawbezier(double x1, double y1, double x2, double y2, double x3,
                double y3, double x4, double y4) {
  const wpoint ctl[4] = {{x1, y1}, {x2, y2}, {x3, y3}, {x4, y4}};
  wpoint pts[BEZIERPOINTS];
  bezierpoints(ctl, pts);
  batchpath(pts, BEZIERPOINTS, 0, nullptr);
}

void drawbezierprim(bezier* b) {
  if (!b->valid || !setcolor(b->color, b->layercolor)) return;
  if (b->p1.w == 0 || b->p2.w == 0 || b->p3.w == 0 || b->p4.w == 0) return;
  setprimwidth(b);
  drawbezier(b->p1.x, b->p1.y, b->p2.x, b->p2.y, b->p3.x, b->p3.y, b->p4.x,
             b->p4.y);
  if (issmear(b)) {
    addsmearitem(SMEAR_BEZIER, b->p1.x, b->p1.y, b->p2.x, b->p2.y, 0);
    addsmearitem(SMEAR_BEZIER, b->p3.x, b->p3.y, b->p4.x, b->p4.y, 0);
  }
}

void drawflt(flt* f) {
  if (!f->label || !setcolor(f->color, f->layercolor)) return;
  listvalue("%s = %6.3f", f, f->value);
}
