// psprims.cpp: the PostScript of points, lines, circles, curves, angles,
// arcs, polygons and listed values.
#include "postscript/psprims.h"

#include <cmath>
#include <string>

#include "model/codes.h"
#include "model/style.h"
#include "postscript/psformat.h"
#include "postscript/psstate.h"
#include "postscript/pstext.h"
#include "render/colors.h"
#include "render/shapes.h"
#include "render/smear.h"
#include "render/view.h"

static const double MARKLINE = 0.002;  // outline width of point marks

// Written at all: valid, and not an invisible record while those are hidden.
static int psgate(const primitive* p) {
  return p->valid && (!isinvisible(p) || showinvisible);
}

// The dash style: thin dashes for an invisible record being shown.
static int psdash(const primitive* p, int own) {
  return isinvisible(p) ? PSDASH_INVISIBLE : own;
}

// The record's own dash style at `width`; a style code that is none leaves
// the dash in force.
static void setdashof(FILE* out, const primitive* p, double width) {
  int dash = psdash(p, dashofstyle(strokestyle(p)));
  if (dash >= 0) setlinestyle(out, dash, width);
}

// ---- point marks ----

static void outlineend(FILE* out) {
  psprintf(out, "%f setlinewidth stroke 1 setlinecap\n", MARKLINE);
}

void PSdrawdiamondvert(FILE* out, int color, const uint8_t* lc, double x,
                       double y) {
  setlinestyle(out, PSDASH_SOLID, 1.0);
  setPScolor(COLOR_MARKFILL, nullptr, out);
  psprintf(out, "%f %f %f diamond\n", x, y, dpbsize);
  fputs("gsave fill grestore\n", out);
  setPScolor(color, lc, out);
  outlineend(out);
  psprintf(out, "%f %f drawdot\n", x, y);
}

// The two strokes of a plus or cross mark.
static void twostrokes(FILE* out, int color, const uint8_t* lc,
                       const double p[8]) {
  setlinestyle(out, PSDASH_SOLID, 1.0);
  fputs("2 setlinecap\n", out);
  setPScolor(color, lc, out);
  psprintf(out,
           "%f %f moveto %f %f lineto %f %f moveto %f %f lineto closepath "
           "stroke\n",
           p[0], p[1], p[2], p[3], p[4], p[5], p[6], p[7]);
  outlineend(out);
}

void PSdrawplusvert(FILE* out, int color, const uint8_t* lc, double x,
                    double y) {
  double d = dpbsize;
  const double p[8] = {x, y - d, x, y + d, x + d, y, x - d, y};
  twostrokes(out, color, lc, p);
}

void PSdrawcrossvert(FILE* out, int color, const uint8_t* lc, double x,
                     double y) {
  double s = 0.707107 * dpbsize;
  const double p[8] = {x - s, y - s, x + s, y + s, x + s, y - s, x - s, y + s};
  twostrokes(out, color, lc, p);
}

void PSdrawsoliddiamondvert(FILE* out, int color, const uint8_t* lc, double x,
                            double y) {
  double d = dpbsize;
  setPScolor(color, lc, out);
  psprintf(out,
           "%f %f moveto %f %f lineto %f %f lineto %f %f lineto closepath "
           "fill\n",
           x - d, y, x, y + d, x + d, y, x, y - d);
}

void PSdrawsquarevert(FILE* out, int color, const uint8_t* lc, double x,
                      double y) {
  double s = 0.707107 * dpbsize;
  setlinestyle(out, PSDASH_SOLID, 1.0);
  setPScolor(COLOR_MARKFILL, nullptr, out);
  fputs("newpath 2 setlinecap\n", out);
  psprintf(out,
           "%f %f moveto %f %f lineto %f %f lineto %f %f lineto closepath\n",
           x - s, y - s, x + s, y - s, x + s, y + s, x - s, y + s);
  fputs("gsave fill grestore\n", out);
  setPScolor(color, lc, out);
  outlineend(out);
  psprintf(out, "%f %f drawdot\n", x, y);
}

void PSdrawdotvert(FILE* out, int color, const uint8_t* lc, double x,
                   double y) {
  setPScolor(color, lc, out);
  psprintf(out, "%f %f drawdot\n", x, y);
}

void PSdrawcircpointvert(FILE* out, int color, const uint8_t* lc, double x,
                         double y) {
  setlinestyle(out, PSDASH_SOLID, 1.0);
  setPScolor(COLOR_MARKFILL, nullptr, out);
  fputs("newpath 2 setlinecap\n", out);
  psprintf(out, "%f %f %f 0 360 arc closepath\n", x, y, 0.707107 * dpbsize);
  fputs("gsave fill grestore\n", out);
  setPScolor(color, lc, out);
  outlineend(out);
}

void PSdrawpoint(FILE* out, int pointtype, int color, const uint8_t* lc,
                 double x, double y) {
  switch (pointtype) {
    case RW_DIAMOND: PSdrawdiamondvert(out, color, lc, x, y); break;
    case RW_PLUS: PSdrawplusvert(out, color, lc, x, y); break;
    case RW_CROSS: PSdrawcrossvert(out, color, lc, x, y); break;
    case RW_SOLIDDIAMOND: PSdrawsoliddiamondvert(out, color, lc, x, y); break;
    case RW_SQUARE: PSdrawsquarevert(out, color, lc, x, y); break;
    case RW_DOT: PSdrawdotvert(out, color, lc, x, y); break;
    case RW_CIRCPOINT: PSdrawcircpointvert(out, color, lc, x, y); break;
    default: break;  // .nomark and unknown markers draw nothing
  }
}

void vertexPostScript(FILE* out, const vertex* v) {
  if (!psgate(v) || v->w == 0) return;
  PSdrawpoint(out, v->pointtype, v->color, v->layercolor, v->x, v->y);
  if (!v->label) return;
  setlinestyle(out, PSDASH_SOLID, 1.0);
  PSlabel(out, v->label, v->x + dpbsize, v->y + dpbsize);
}

// ---- lines ----

void drawline(FILE* out, double x1, double y1, double x2, double y2) {
  psprintf(out, "newpath %f %f moveto %f %f lineto stroke\n", x1, y1, x2, y2);
}

static void tickmarks(FILE* out, int linemark, wpoint P, wpoint Q) {
  wpoint t[3][2];
  int n = linetickmarks(linemark, P, Q, PAGETICKROOT, t);
  if (n == 0) return;
  setlinestyle(out, PSDASH_SOLID, 1.0);
  for (int i = 0; i < n; i++) {
    psprintf(out, "%f %f moveto %f %f lineto", t[i][0].x, t[i][0].y, t[i][1].x,
             t[i][1].y);
    if (i == n - 1)
      fputs(" stroke\n", out);
    else
      fputs(i == 1 ? "\n" : " ", out);
  }
}

void linePostScript(FILE* out, const line* l) {
  if (!psgate(l)) return;
  wpoint P, Q;
  lineendpoints(l, ONPAGE, &P, &Q);
  // The page keeps the ends in single precision.
  P = {(float)P.x, (float)P.y};
  Q = {(float)Q.x, (float)Q.y};
  setdashof(out, l, l->width);
  drawline(out, P.x, P.y, Q.x, Q.y);
  if (l->linemark != RW_LINE0SLASH) tickmarks(out, l->linemark, P, Q);
  if (l->label) {
    wpoint m = linelabelanchor(P, Q);
    PSlabel(out, l->label, m.x, m.y);
  }
}

// ---- circles and curves ----

void circlePostScript(FILE* out, const circle* c) {
  if (!psgate(c) || c->center.w == 0) return;
  setdashof(out, c, c->width);
  fputs("newpath\n", out);
  psprintf(out, "%f %f %f 0 360 arc closepath stroke\n", c->center.x,
           c->center.y, c->radius);
}

void bezierPostScript(FILE* out, const bezier* b) {
  if (!psgate(b)) return;
  if (b->p1.w == 0 || b->p2.w == 0 || b->p3.w == 0 || b->p4.w == 0) return;
  setlinestyle(out, psdash(b, PSDASH_SOLID), b->width);
  fputs("newpath\n", out);
  psprintf(out, "%f %f moveto\n", b->p1.x, b->p1.y);
  psprintf(out, "%f %f %f %f %f %f curveto\n", b->p2.x, b->p2.y, b->p3.x,
           b->p3.y, b->p4.x, b->p4.y);
  fputs("stroke\n", out);
}

// The two branches of the unit hyperbola as path text. The branches are
// the same for every conic (the transformation is written before them), so
// the text is formatted once.
static const std::string& hyperbolatext() {
  static std::string text;
  if (!text.empty()) return text;
  char buf[64];
  for (int upper = 1; upper >= 0; upper--) {
    const wpoint* b = hyperbolabranch(upper);
    for (int i = 0; i < HYPPOINTS; i++) {
      snprintf(buf, sizeof buf, "%g %g %s\n", b[i].x, b[i].y,
               i == 0 ? "moveto" : "lineto");
      text += buf;
    }
    text += upper ? "closepath stroke newpath\n" : "closepath stroke\n";
  }
  return text;
}

void conicPostScript(FILE* out, const conic* k) {
  if (!psgate(k) || !choosecolor(k->color, k->layercolor).drawn) return;
  conicaxes ax;
  pageconic(k->coef, &ax);
  if (ax.shape != CONIC_ELLIPSE && ax.shape != CONIC_HYPERBOLA) return;
  fputs("gsave\n", out);
  psprintf(out, "%g rotate\n", ax.theta * 180 / 3.141592653589793);
  psprintf(out, "%g %g translate\n", ax.uc, ax.vc);
  psprintf(out, "%g %g scale\n", ax.sx, ax.sy);
  if (ax.shape == CONIC_ELLIPSE) {
    fputs("newpath\n", out);
    fputs("0 0 1 0 360 arc closepath stroke\n", out);
  } else {
    if (ax.sx > 5 || ax.sy > 5) fputs("0 setlinewidth\n", out);
    if (ax.turn90) fputs("90 rotate\n", out);
    fputs("newpath\n", out);
    const std::string& h = hyperbolatext();
    fwrite(h.data(), 1, h.size(), out);
  }
  fputs("grestore\n", out);
}

// ---- angles and arcs ----

static const double PSDEGREES = 180 / 3.1415926535897;

// A direction brought into [0, 2 pi).
static double fullturn(double a) {
  return a < 0 ? a + 6.2831853071794 : a;
}

void drawPSangle(FILE* out, double Px, double Py, double Vx, double Vy,
                 double Qx, double Qy, double r) {
  double R = r * anglemarkscale();
  double a = fullturn(atan2(Py - Vy, Px - Vx));
  double b = fullturn(atan2(Qy - Vy, Qx - Vx));
  fputs("newpath\n", out);
  psprintf(out, "%f %f %f %f %f arc stroke\n", Vx, Vy, R, a * PSDEGREES,
           b * PSDEGREES);
}

void drawPSrightangle(FILE* out, double Px, double Py, double Vx, double Vy,
                      double Qx, double Qy, double r) {
  double a, b;
  wpoint p[3];
  anglearms({Px, Py}, {Vx, Vy}, {Qx, Qy}, &a, &b);
  rightanglepoints({Vx, Vy}, r * anglemarkscale(), a, b, PAGEDIAG, p);
  fputs("newpath\n", out);
  psprintf(out, "%f %f moveto %f %f lineto %f %f lineto stroke\n", p[0].x,
           p[0].y, p[1].x, p[1].y, p[2].x, p[2].y);
}

void drawPSslash(FILE* out, double Px, double Py, double Vx, double Vy,
                 double Qx, double Qy, double r1, double r2, int n) {
  double a, b;
  anglearms({Px, Py}, {Vx, Vy}, {Qx, Qy}, &a, &b);
  double m = (a + b) / 2, s = anglemarkscale();
  const double single[1] = {m}, pair[2] = {m - 0.05, m + 0.05};
  const double* dirs = n == 1 ? single : pair;
  for (int i = 0; i < (n == 1 ? 1 : 2); i++) {
    wpoint seg[2];
    slashsegment({Vx, Vy}, r1 * s, r2 * s, dirs[i], seg);
    psprintf(out, "newpath %f %f moveto %f %f lineto stroke\n", seg[0].x,
             seg[0].y, seg[1].x, seg[1].y);
  }
}

void anglePostScript(FILE* out, const angle* an) {
  wpoint P, V, Q;
  if (!psgate(an) || !anglecorners(an, &P, &V, &Q)) return;
  setlinestyle(out, psdash(an, PSDASH_SOLID), 1.0);
  const anglemarkset* m = anglemarkfor(an->angletype);
  if (m && m->right) {
    drawPSrightangle(out, P.x, P.y, V.x, V.y, Q.x, Q.y, m->rings[0]);
  } else if (m) {
    for (int i = 0; i < m->nrings; i++)
      drawPSangle(out, P.x, P.y, V.x, V.y, Q.x, Q.y, m->rings[i]);
    if (m->nslash)
      drawPSslash(out, P.x, P.y, V.x, V.y, Q.x, Q.y, m->r1, m->r2, m->nslash);
  }
  if (!an->label) return;
  double a, b;
  anglearms(P, V, Q, &a, &b);
  wpoint L = anglelabelanchor(V, (a + b) / 2);
  PSlabel(out, an->label, L.x, L.y);
}

void arcPostScript(FILE* out, const arc* ar) {
  wpoint A, C, B;
  if (!psgate(ar) || !arccorners(ar, &A, &C, &B)) return;
  setdashof(out, ar, ar->width);
  drawPSangle(out, A.x, A.y, C.x, C.y, B.x, B.y, arcmarkradius(A, C));
}

// ---- polygons ----

static const char* hatchprocedure(int polytype) {
  switch (polytype) {
    case RW_HASHPOLY: return "drawhash ";
    case RW_HASHPOLY1: return "drawhash1 ";
    case RW_HASHPOLY2: return "drawhash2 ";
    default: return nullptr;  // solid, outline and unknown styles
  }
}

void polygonPostScript(FILE* out, const polygon* p) {
  if (!psgate(p) || !polygoncorner(p, 0)) return;
  const char* hatch = hatchprocedure(p->polytype);
  setlinestyle(out, psdash(p, PSDASH_SOLID), p->width);
  fputs(hatch ? "gsave newpath\n" : "newpath\n", out);
  int first = 1;
  for (int i = 0; i < p->nvert && i < MAXPOLYVERT; i++) {
    const vertex* v = polygoncorner(p, i);
    if (!v) continue;  // a parent that is not a point has no corner
    psprintf(out, first ? "%f %f moveto\n" : "%f %f lineto\n", v->x, v->y);
    first = 0;
  }
  if (hatch) {
    fputs("closepath clip\n", out);
    fputs(hatch, out);
    fputs("grestore\n", out);
  } else if (p->polytype == RW_SOLIDPOLY) {
    fputs("closepath fill\n", out);
  } else {
    fputs("closepath stroke\n", out);
  }
}

// ---- values ----

void fltPostScript(FILE* out, const flt* f) {
  if (!f->label) return;
  std::string s = f->label;
  char num[64];
  snprintf(num, sizeof num, " = %6.3f", f->value);
  s += num;
  PSlabel(out, s.c_str(), -0.99f, ym);
  ym -= fbsize;
}

void primitivePostScript(FILE* out, const primitive* p) {
  switch (p->type) {
    case RW_VERTEX: vertexPostScript(out, (const vertex*)p); break;
    case RW_LINE: linePostScript(out, (const line*)p); break;
    case RW_CIRCLE: circlePostScript(out, (const circle*)p); break;
    case RW_BEZIER: bezierPostScript(out, (const bezier*)p); break;
    case RW_FLT: fltPostScript(out, (const flt*)p); break;
    case RW_TEXT: textPostScript(out, (const text*)p); break;
    case RW_CONIC: conicPostScript(out, (const conic*)p); break;
    case RW_ANGLE: anglePostScript(out, (const angle*)p); break;
    case RW_POLYGON: polygonPostScript(out, (const polygon*)p); break;
    case RW_ARC: arcPostScript(out, (const arc*)p); break;
    default: break;  // transforms, conditions, comments, macros: not drawn
  }
}

// ---- smear traces ----

// Temporary records stand in for the traced ones: shown, valid, colour 1
// (so they pass the gate; their colour is never written), solid.
static void tracerecord(primitive* p) {
  p->valid = 1;
  p->color = COLOR_RED;
  p->layers = 0xffffffffu;
  p->width = widthmultiplier;
}

static void setpoint(vertex* v, double x, double y) {
  v->x = x;
  v->y = y;
  v->w = 1;
}

static void tracesegment(FILE* out, const smearrec* r) {
  line l;
  tracerecord(&l);
  setpoint(&l.p1, r->a, r->b);
  setpoint(&l.p2, r->c, r->d);
  l.linetype = RW_SEGMENT;
  l.linestyle = RW_SOLIDLINE;
  l.linemark = RW_LINE0SLASH;
  linePostScript(out, &l);
}

static void tracecircle(FILE* out, const smearrec* r) {
  circle c;
  tracerecord(&c);
  setpoint(&c.center, r->a, r->b);
  c.radius = r->c;
  circlePostScript(out, &c);
}

static void traceconic(FILE* out, const smearrec* r, const smearrec* s) {
  conic k;
  tracerecord(&k);
  double q[6] = {r->a, r->b, r->c, r->d, s->a, s->b};
  for (int i = 0; i < 6; i++) k.coef[i] = q[i];
  conicPostScript(out, &k);
}

static void tracebezier(FILE* out, const smearrec* r, const smearrec* s) {
  bezier b;
  tracerecord(&b);
  setpoint(&b.p1, r->a, r->b);
  setpoint(&b.p2, r->c, r->d);
  setpoint(&b.p3, s->a, s->b);
  setpoint(&b.p4, s->c, s->d);
  bezierPostScript(out, &b);
}

void PSdrawsmearlist(FILE* out) {
  for (smearrec* r = firstrec(); r; r = nextrec()) {
    switch (r->code) {
      case SMEAR_POINT:
        PSdrawpoint(out, r->pointtype, COLOR_WHITE, nullptr, r->a, r->b);
        break;
      case SMEAR_SEGMENT: tracesegment(out, r); break;
      case SMEAR_CIRCLE: tracecircle(out, r); break;
      case SMEAR_CONIC:
      case SMEAR_BEZIER: {
        smearrec first = *r;
        smearrec* second = nextrec();
        if (!second) return;  // a lone first half: the trace was cut
        if (first.code == SMEAR_CONIC)
          traceconic(out, &first, second);
        else
          tracebezier(out, &first, second);
        break;
      }
      default: break;  // no other record codes are written
    }
  }
}
