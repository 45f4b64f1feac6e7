// walk.cpp: the view as the page shows it, driven through a pen table.
//
// This follows the PostScript writer (postscript/) step by step: the same
// records in the same order, the same gates, and the same graphics state
// as the PostScript interpreter would hold it, including where that writer
// leaves a colour, dash, width or line cap in force for what follows. The
// shapes come from render/shapes.h, colours from render/colors.h and text
// from render/markup.h, so every export lands where the EPS does.
#include <cmath>
#include <vector>

#include "export/glyphs.h"
#include "export/pen.h"
#include "model/codes.h"
#include "model/style.h"
#include "model/worldlist.h"
#include "postscript/eps.h"
#include "postscript/psstate.h"
#include "render/colors.h"
#include "render/markup.h"
#include "render/shapes.h"
#include "render/smear.h"
#include "render/thinning.h"
#include "render/view.h"

static const double LINEWIDTH = 0.002;  // width multiplier 1, world units
static const double MARKLINE = 0.002;   // outline width of point marks
static const double PI = 3.141592653589793;
// How far (points) a polyline may be thinned from the page's: half of the
// flatness cairo itself draws curves with, a tenth of a pixel at 150
// dpi.
static const double FLATNESS = 0.05;

// The walk in progress: the pen, the state the page is in and the caches
// the PostScript writer keeps (what it last wrote, which is not always
// what is in force).
struct walkstate {
  const pen* p;
  void* c;
  penstate st;
  int lastcolor, lastdash;
  double lastwidth;
  double fontscale;  // points per world unit
};
static walkstate W;

int dashlengths(int dash, double lengths[2]) {
  switch (dash) {
    case PSDASH_INVISIBLE: lengths[0] = 0.020, lengths[1] = 0.010; return 2;
    case PSDASH_DASHED: lengths[0] = lengths[1] = 0.02; return 2;
    case PSDASH_DOTTED: lengths[0] = lengths[1] = 0.007; return 2;
    default: return 0;  // solid
  }
}

// ---- state ----

// ORDER: colour codes 0 .. 7 on white paper.
static const float pagecolors[8][3] = {{1, 1, 1}, {1, 0, 0}, {0, 1, 0},
                                       {1, 1, 0}, {0, 0, 1}, {1, 0, 1},
                                       {0, 1, 1}, {0, 0, 0}};

static void setrgb(float r, float g, float b) {
  W.st.rgb[0] = r, W.st.rgb[1] = g, W.st.rgb[2] = b;
}

// As setPScolor: nothing changes for the colour last set, nor for an
// invisible colour while invisibles are hidden.
static void setcolor(int code, const uint8_t* layercolors) {
  int k = effectivecolor(code, layercolors, minlayer);
  if (k == W.lastcolor) return;
  if (k == COLOR_INVISIBLE && !showinvisible) return;
  W.lastcolor = k;
  if (k == COLOR_MARKFILL)
    setrgb(1, 1, 1);
  else if (printbw || k < 0 || k > 7)
    setrgb(0, 0, 0);
  else
    setrgb(pagecolors[k][0], pagecolors[k][1], pagecolors[k][2]);
}

// As setlinestyle: only a change of style or width is written.
static void setstyle(int dash, double width) {
  if (dash == W.lastdash && width == W.lastwidth) return;
  W.lastdash = dash;
  W.lastwidth = width;
  if (dash < PSDASH_INVISIBLE || dash > PSDASH_DOTTED) return;
  W.st.dash = dash;
  W.st.width = LINEWIDTH * width / (dash == PSDASH_INVISIBLE ? 10 : 1);
}

static int gate(const primitive* p) {
  return p->valid && (!isinvisible(p) || showinvisible);
}

static int dashof(const primitive* p, int own) {
  return isinvisible(p) ? PSDASH_INVISIBLE : own;
}

// The record's own dash style at `width`; a style code that is none leaves
// the dash in force.
static void setdashof(const primitive* p, double width) {
  int dash = dashof(p, dashofstyle(strokestyle(p)));
  if (dash >= 0) setstyle(dash, width);
}

// ---- paths ----

static void moveto(double x, double y) { W.p->move(W.c, x, y); }
static void lineto(double x, double y) { W.p->line(W.c, x, y); }
static void stroke() {
  W.p->stroke(W.c, &W.st);
  W.st.phase = 0;
}
static void fill() { W.p->fill(W.c, &W.st); }

// Lines may run far beyond the page (rays, whole lines, hyperbolas out to
// 1e6); back ends with fixed-point or TeX arithmetic cannot take such
// numbers, and every segment costs, so segments are cut to the view widened
// by a margin (0.05, twenty-five normal line widths) in which no cap or
// join can reach back into it.
struct clipper {
  double x0, y0, x1, y1;
  int open;     // a piece has been started
  wpoint last;  // where it ends
};

static clipper widened() {
  const double m = 0.05;
  return {fxmin - m, fymin - m, fxmax + m, fymax + m, 0, {0, 0}};
}

// Liang-Barsky: the part of PQ inside the box; 0 when none.
static int cutsegment(const clipper* k, wpoint* P, wpoint* Q) {
  double t0 = 0, t1 = 1, dx = Q->x - P->x, dy = Q->y - P->y;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {P->x - k->x0, k->x1 - P->x, P->y - k->y0, k->y1 - P->y};
  for (int i = 0; i < 4; i++) {
    if (p[i] == 0) {
      if (q[i] < 0) return 0;
      continue;
    }
    double t = q[i] / p[i];
    if (p[i] < 0 && t > t0) t0 = t;
    if (p[i] > 0 && t < t1) t1 = t;
  }
  if (!(t0 <= t1)) return 0;
  wpoint a = {P->x + t0 * dx, P->y + t0 * dy};
  wpoint b = {P->x + t1 * dx, P->y + t1 * dy};
  if (t0 == 0) a = *P;
  if (t1 == 1) b = *Q;
  *P = a, *Q = b;
  return 1;
}

// One segment of a polyline, joined to the previous piece when they meet.
static void clippedsegment(clipper* k, wpoint P, wpoint Q) {
  if (!(std::isfinite(P.x) && std::isfinite(P.y) && std::isfinite(Q.x) &&
        std::isfinite(Q.y)) ||
      !cutsegment(k, &P, &Q)) {
    k->open = 0;
    return;
  }
  if (!k->open || P.x != k->last.x || P.y != k->last.y) moveto(P.x, P.y);
  lineto(Q.x, Q.y);
  k->open = 1;
  k->last = Q;
}

// A segment cut to the widened view; a cut start is where the page's dash
// pattern would have got to, so the dashes stay where the page puts them.
static void segmentpath(double x1, double y1, double x2, double y2) {
  clipper k = widened();
  wpoint P = {x1, y1}, Q = {x2, y2};
  clippedsegment(&k, P, Q);
  if (k.open) {
    wpoint A = P;
    cutsegment(&k, &A, &Q);
    W.st.phase = hypot(A.x - P.x, A.y - P.y);
  }
}

// ---- text ----

// Where the text goes on: the PostScript current point.
static wpoint textpoint;

static double fontworld(int points) { return points / W.fontscale; }

// Text wholly outside the view is not handed on: the value and info
// columns of a long diagram run far below the page, and a label's halo
// is the dearest thing a pen draws.
static int offview(double x0, double y0, double x1, double y1) {
  return x1 < fxmin || x0 > fxmax || y1 < fymin || y0 > fymax;
}

static void showrun(int face, int points, const std::string& utf8, int halo) {
  textrun r;
  r.x = textpoint.x, r.y = textpoint.y;
  r.size = fontworld(points);
  r.face = face;
  r.utf8 = utf8;
  r.advance = glyphadvance(face, utf8) * r.size;
  if (!utf8.empty() && !offview(r.x - r.size, r.y - r.size,
                                r.x + r.advance + r.size, r.y + r.size))
    W.p->text(W.c, &r, &W.st, halo);
  textpoint.x += r.advance;
}

// The arch (kind 1) or bar (kind 2) over the group from s to e.
static void overdraw(int kind, wpoint s, wpoint e) {
  double h = gfontsize * 0.038 / 16;
  if (kind == 1) {
    moveto(s.x, s.y + h * .8);
    W.p->curve(W.c, e.x * .333 + s.x * .666, e.y + h, e.x * .666 + s.x * .333,
               e.y + h, e.x, e.y + h * .8);
  } else {
    moveto(s.x, s.y + h);
    lineto(e.x, e.y + h);
  }
  stroke();
}

static void showitem(const markupitem& m, int halo) {
  switch (m.kind) {
    case MK_RUN:
      showrun(FACE_ITALIC, gfontsize, latin1toutf8(m.text.data(), m.text.size()),
              halo);
      break;
    case MK_SYMBOL: {
      std::string s;
      uint32_t u = symbolunicode(m.code);
      if (u) pututf8(&s, u);
      showrun(FACE_SYMBOL, gfontsize, s, halo);
      break;
    }
    case MK_ARC:
    case MK_OVERLINE: {
      wpoint s = textpoint;
      showrun(FACE_ITALIC, gfontsize, latin1toutf8(m.text.data(), m.text.size()),
              halo);
      overdraw(m.kind == MK_ARC ? 1 : 2, s, textpoint);
      break;
    }
    case MK_SUPER:
    case MK_SUB: {
      wpoint s = textpoint;
      textpoint.y += m.kind == MK_SUB ? -gfontsize * 0.018 / 16
                                      : gfontsize * 0.027 / 16;
      showrun(FACE_ITALIC, (int)(0.8 * gfontsize),
              latin1toutf8(m.text.data(), m.text.size()), halo);
      textpoint.y = s.y;
      break;
    }
    default:  // MK_BACKSLASH (newlines are handled by the caller)
      showrun(FACE_ITALIC, gfontsize, "\\", halo);
      break;
  }
}

// One pass over a label from (x, y), as PScharstr: a newline goes on at
// (x, yinfo) after lowering `yinfo`. A back end that sets labels itself
// gets each line whole (on the coloured pass only).
static void charstr(const std::vector<markupitem>& items, double x, double y,
                    int halo) {
  textpoint = {x, y};
  size_t i = 0;
  while (i <= items.size()) {
    size_t end = i;
    while (end < items.size() && items[end].kind != MK_NEWLINE) end++;
    double size = fontworld(gfontsize);
    int own = W.p->label &&
              (offview(textpoint.x, textpoint.y - size, fxmax,
                       textpoint.y + size) ||
               W.p->label(W.c, items.data() + i, (int)(end - i), textpoint.x,
                          textpoint.y, &W.st));
    if (!own)
      for (size_t j = i; j < end; j++) showitem(items[j], halo);
    if (end == items.size()) break;
    yinfo -= fbsize;
    textpoint = {x, yinfo};
    i = end + 1;
  }
}

// A label over the drawing: halo pass, then colour pass, both from the
// same info-column position.
static void drawlabel(const char* s, double x, double y) {
  std::vector<markupitem> items;
  parsemarkup(s, &items);
  double keep = yinfo;
  if (!W.p->label) charstr(items, x, y, 1);
  yinfo = keep;
  charstr(items, x, y, 0);
}

// ---- point marks ----

static void outlineend() {
  W.st.width = MARKLINE;
  stroke();
  W.st.cap = 1;
}

// drawdot: a 0.005 square, then width 0.002 and round caps stay in force.
static void drawdot(double x, double y) {
  W.st.width = .005;
  W.st.cap = 0;
  moveto(x, y - .0025);
  lineto(x, y + .0025);
  stroke();
  W.st.cap = 1;
  W.st.width = .002;
}

// A closed outline of n corners.
static void polypath(const double* xy, int n) {
  moveto(xy[0], xy[1]);
  for (int i = 1; i < n; i++) lineto(xy[2 * i], xy[2 * i + 1]);
  W.p->close(W.c);
}

// A white-filled outline, its border in the mark's colour.
static void filledmark(const double* xy, int n, int color, const uint8_t* lc) {
  setstyle(PSDASH_SOLID, 1.0);
  setcolor(COLOR_MARKFILL, nullptr);
  W.st.cap = 2;
  polypath(xy, n);
  fill();
  setcolor(color, lc);
  polypath(xy, n);
  outlineend();
}

static void diamondmark(int color, const uint8_t* lc, double x, double y) {
  double d = dpbsize;
  const double xy[8] = {x - d, y, x, y + d, x + d, y, x, y - d};
  filledmark(xy, 4, color, lc);
  drawdot(x, y);
}

static void twostrokes(int color, const uint8_t* lc, const double p[8]) {
  setstyle(PSDASH_SOLID, 1.0);
  W.st.cap = 2;
  setcolor(color, lc);
  moveto(p[0], p[1]);
  lineto(p[2], p[3]);
  moveto(p[4], p[5]);
  lineto(p[6], p[7]);
  W.p->close(W.c);
  stroke();
  W.st.width = MARKLINE;  // outlineend's stroke finds no path
  W.st.cap = 1;
}

static void squaremark(int color, const uint8_t* lc, double x, double y) {
  double s = 0.707107 * dpbsize;
  const double xy[8] = {x - s, y - s, x + s, y - s, x + s, y + s, x - s, y + s};
  filledmark(xy, 4, color, lc);
  drawdot(x, y);
}

static void circlemark(int color, const uint8_t* lc, double x, double y) {
  double r = 0.707107 * dpbsize;
  setstyle(PSDASH_SOLID, 1.0);
  setcolor(COLOR_MARKFILL, nullptr);
  W.st.cap = 2;
  W.p->arc(W.c, x, y, r, 0, 360);
  W.p->close(W.c);
  fill();
  setcolor(color, lc);
  W.p->arc(W.c, x, y, r, 0, 360);
  W.p->close(W.c);
  outlineend();
}

static void drawpoint(int type, int color, const uint8_t* lc, double x,
                      double y) {
  double d = dpbsize, s = 0.707107 * dpbsize;
  switch (type) {
    case RW_DIAMOND: diamondmark(color, lc, x, y); break;
    case RW_PLUS: {
      const double p[8] = {x, y - d, x, y + d, x + d, y, x - d, y};
      twostrokes(color, lc, p);
      break;
    }
    case RW_CROSS: {
      const double p[8] = {x - s, y - s, x + s, y + s, x + s, y - s, x - s, y + s};
      twostrokes(color, lc, p);
      break;
    }
    case RW_SOLIDDIAMOND: {
      setcolor(color, lc);
      const double xy[8] = {x - d, y, x, y + d, x + d, y, x, y - d};
      polypath(xy, 4);
      fill();
      break;
    }
    case RW_SQUARE: squaremark(color, lc, x, y); break;
    case RW_DOT:
      setcolor(color, lc);
      drawdot(x, y);
      break;
    case RW_CIRCPOINT: circlemark(color, lc, x, y); break;
    default: break;  // .nomark and unknown markers draw nothing
  }
}

static void drawvertex(const vertex* v) {
  if (!gate(v) || v->w == 0) return;
  drawpoint(v->pointtype, v->color, v->layercolor, v->x, v->y);
  if (!v->label) return;
  setstyle(PSDASH_SOLID, 1.0);
  drawlabel(v->label, v->x + dpbsize, v->y + dpbsize);
}

// ---- lines ----

static void drawline(const line* l) {
  if (!gate(l)) return;
  wpoint P, Q;
  lineendpoints(l, ONPAGE, &P, &Q);
  P = {(float)P.x, (float)P.y};
  Q = {(float)Q.x, (float)Q.y};
  setdashof(l, l->width);
  segmentpath(P.x, P.y, Q.x, Q.y);
  stroke();
  wpoint t[3][2];
  int n = l->linemark == RW_LINE0SLASH
              ? 0
              : linetickmarks(l->linemark, P, Q, PAGETICKROOT, t);
  if (n) {
    setstyle(PSDASH_SOLID, 1.0);
    for (int i = 0; i < n; i++) segmentpath(t[i][0].x, t[i][0].y, t[i][1].x,
                                            t[i][1].y);
    stroke();
  }
  if (l->label) {
    wpoint m = linelabelanchor(P, Q);
    drawlabel(l->label, m.x, m.y);
  }
}

// ---- circles and curves ----

static void drawcircle(const circle* c) {
  if (!gate(c) || c->center.w == 0) return;
  setdashof(c, c->width);
  W.p->arc(W.c, c->center.x, c->center.y, c->radius, 0, 360);
  W.p->close(W.c);
  stroke();
}

static void drawbezier(const bezier* b) {
  if (!gate(b)) return;
  if (b->p1.w == 0 || b->p2.w == 0 || b->p3.w == 0 || b->p4.w == 0) return;
  setstyle(dashof(b, PSDASH_SOLID), b->width);
  moveto(b->p1.x, b->p1.y);
  W.p->curve(W.c, b->p2.x, b->p2.y, b->p3.x, b->p3.y, b->p4.x, b->p4.y);
  stroke();
}

// The page draws a conic as the unit circle or hyperbola under a turn, a
// shift and a scale; here the points are carried into the world instead.
struct conicmap {
  double c, s, uc, vc, sx, sy;
  int turn90;
};

static wpoint mapconic(const conicmap* m, double X, double Y) {
  if (m->turn90) {
    double t = X;
    X = -Y, Y = t;
  }
  double u = m->sx * X + m->uc, v = m->sy * Y + m->vc;
  return {m->c * u - m->s * v, m->s * u + m->c * v};
}

static void conicellipse(const conicmap* m) {
  const double k = 0.5522847498307936;  // quarter-circle control distance
  wpoint a = mapconic(m, 1, 0);
  moveto(a.x, a.y);
  for (int q = 0; q < 4; q++) {
    double c0 = cos(q * PI / 2), s0 = sin(q * PI / 2);
    double c1 = cos((q + 1) * PI / 2), s1 = sin((q + 1) * PI / 2);
    wpoint p1 = mapconic(m, c0 - k * s0, s0 + k * c0);
    wpoint p2 = mapconic(m, c1 + k * s1, s1 - k * c1);
    wpoint p3 = mapconic(m, c1, s1);
    W.p->curve(W.c, p1.x, p1.y, p2.x, p2.y, p3.x, p3.y);
  }
  W.p->close(W.c);
}

// Each branch is closed, as on the page, through the far ends. Points
// within FLATNESS of the chord that replaces them are left out: far out a
// branch is nearly straight, and every point kept is a PDF's number to
// write.
static void conichyperbola(const conicmap* m) {
  for (int upper = 1; upper >= 0; upper--) {
    const wpoint* b = hyperbolabranch(upper);
    clipper k = widened();
    thinning t;
    thinbegin(&t, FLATNESS / W.fontscale);
    wpoint first = mapconic(m, b[0].x, b[0].y), last = first, kept;
    thinput(&t, first, &kept);
    for (int i = 1; i < HYPPOINTS; i++)
      if (thinput(&t, mapconic(m, b[i].x, b[i].y), &kept))
        clippedsegment(&k, last, kept), last = kept;
    if (thinend(&t, &kept)) clippedsegment(&k, last, kept), last = kept;
    clippedsegment(&k, last, first);
    stroke();
  }
}

static void drawconic(const conic* k) {
  if (!gate(k) || !choosecolor(k->color, k->layercolor).drawn) return;
  conicaxes ax;
  pageconic(k->coef, &ax);
  if (ax.shape != CONIC_ELLIPSE && ax.shape != CONIC_HYPERBOLA) return;
  conicmap m = {cos(ax.theta), sin(ax.theta), ax.uc, ax.vc, ax.sx, ax.sy, 0};
  double keep = W.st.width;
  // The page's scale widens the pen with the curve; its mean is kept.
  W.st.width = keep * sqrt(ax.sx * ax.sy);
  if (ax.shape == CONIC_ELLIPSE) {
    conicellipse(&m);
    stroke();
  } else {
    if (ax.sx > 5 || ax.sy > 5) W.st.width = 0;
    m.turn90 = ax.turn90;
    conichyperbola(&m);
  }
  W.st.width = keep;
}

// ---- angles and arcs ----

static double fullturn(double a) { return a < 0 ? a + 6.2831853071794 : a; }

// As PostScript's arc: from a0 to a1 counter-clockwise, a1 raised by whole
// turns until it is not below a0.
static void ring(double Vx, double Vy, double R, double a0, double a1) {
  while (a1 < a0) a1 += 360;
  W.p->arc(W.c, Vx, Vy, R, a0, a1);
  stroke();
}

static void anglering(wpoint P, wpoint V, wpoint Q, double r) {
  const double deg = 180 / 3.1415926535897;
  double R = r * anglemarkscale();
  double a = fullturn(atan2(P.y - V.y, P.x - V.x));
  double b = fullturn(atan2(Q.y - V.y, Q.x - V.x));
  ring(V.x, V.y, R, a * deg, b * deg);
}

static void anglemarks(const anglemarkset* m, wpoint P, wpoint V, wpoint Q) {
  double a, b;
  anglearms(P, V, Q, &a, &b);
  if (m->right) {
    wpoint p[3];
    rightanglepoints(V, m->rings[0] * anglemarkscale(), a, b, PAGEDIAG, p);
    moveto(p[0].x, p[0].y);
    lineto(p[1].x, p[1].y);
    lineto(p[2].x, p[2].y);
    stroke();
    return;
  }
  for (int i = 0; i < m->nrings; i++) anglering(P, V, Q, m->rings[i]);
  double mid = (a + b) / 2, s = anglemarkscale();
  const double dirs[2] = {m->nslash == 1 ? mid : mid - 0.05, mid + 0.05};
  for (int i = 0; i < m->nslash; i++) {
    wpoint seg[2];
    slashsegment(V, m->r1 * s, m->r2 * s, dirs[i], seg);
    moveto(seg[0].x, seg[0].y);
    lineto(seg[1].x, seg[1].y);
    stroke();
  }
}

static void drawangle(const angle* an) {
  wpoint P, V, Q;
  if (!gate(an) || !anglecorners(an, &P, &V, &Q)) return;
  setstyle(dashof(an, PSDASH_SOLID), 1.0);
  if (const anglemarkset* m = anglemarkfor(an->angletype))
    anglemarks(m, P, V, Q);
  if (!an->label) return;
  double a, b;
  anglearms(P, V, Q, &a, &b);
  wpoint L = anglelabelanchor(V, (a + b) / 2);
  drawlabel(an->label, L.x, L.y);
}

static void drawarc(const arc* ar) {
  wpoint A, C, B;
  if (!gate(ar) || !arccorners(ar, &A, &C, &B)) return;
  setdashof(ar, ar->width);
  anglering(A, C, B, arcmarkradius(A, C));
}

// ---- polygons ----

// The hatch lines of a polygon type: their turn (degrees) and spacing, as
// the page's procedures draw them from -2 to 2 in the turned frame.
static int hatchof(int polytype, double* turn, double* step) {
  switch (polytype) {
    case RW_HASHPOLY: *turn = 45, *step = .03; return 1;
    case RW_HASHPOLY1: *turn = -45, *step = .03; return 1;
    case RW_HASHPOLY2: *turn = 0, *step = .043; return 1;
    default: return 0;  // solid, outline and unknown styles
  }
}

// Only the hatch lines that can cross the polygon are drawn (the rest
// would be clipped away): those over its extent in the turned frame. The
// page's clip keeps the polygon as the current path, so its outline is
// stroked with the lines (the inner half of it shows).
static void hatchlines(const std::vector<wpoint>& corners, double turn,
                       double step) {
  for (size_t i = 0; i < corners.size(); i++)
    (i ? lineto : moveto)(corners[i].x, corners[i].y);
  W.p->close(W.c);
  double c = cos(turn * PI / 180), s = sin(turn * PI / 180);
  double u0 = 1e300, u1 = -1e300, v0 = 1e300, v1 = -1e300;
  for (const wpoint& p : corners) {
    double u = c * p.x + s * p.y, v = -s * p.x + c * p.y;
    u0 = fmin(u0, u), u1 = fmax(u1, u), v0 = fmin(v0, v), v1 = fmax(v1, v);
  }
  v0 = fmax(v0 - 0.01, -2), v1 = fmin(v1 + 0.01, 2);
  int n = (int)floor(4 / step + 1e-9);
  for (int i = 0; i <= n; i++) {
    double u = -2 + i * step;
    if (u < u0 - 0.01 || u > u1 + 0.01) continue;
    moveto(c * u - s * v0, s * u + c * v0);
    lineto(c * u - s * v1, s * u + c * v1);
  }
  stroke();
}

static void drawpolygon(const polygon* p) {
  if (!gate(p) || !polygoncorner(p, 0)) return;
  std::vector<wpoint> corners;
  for (int i = 0; i < p->nvert && i < MAXPOLYVERT; i++)
    if (const vertex* v = polygoncorner(p, i)) corners.push_back({v->x, v->y});
  setstyle(dashof(p, PSDASH_SOLID), p->width);
  for (size_t i = 0; i < corners.size(); i++)
    (i ? lineto : moveto)(corners[i].x, corners[i].y);
  W.p->close(W.c);
  double turn, step;
  if (hatchof(p->polytype, &turn, &step)) {
    W.p->clip(W.c, 1);
    hatchlines(corners, turn, step);
    W.p->clip(W.c, 0);
  } else if (p->polytype == RW_SOLIDPOLY) {
    fill();
  } else {
    stroke();
  }
}

// ---- values and texts ----

static void drawvalue(const flt* f) {
  if (!f->label) return;
  std::string s = f->label;
  char num[64];
  snprintf(num, sizeof num, " = %6.3f", f->value);
  s += num;
  drawlabel(s.c_str(), -0.99f, ym);
  ym -= fbsize;
}

static void drawtext(const text* t) {
  if (!t->string || !t->string[0] || !showinfo) return;
  if (!choosecolor(t->color, t->layercolor).drawn) return;
  drawlabel(t->string, -0.99f, yinfo);
  yinfo -= fbsize;
}

static void drawrecord(const primitive* p) {
  switch (p->type) {
    case RW_VERTEX: drawvertex((const vertex*)p); break;
    case RW_LINE: drawline((const line*)p); break;
    case RW_CIRCLE: drawcircle((const circle*)p); break;
    case RW_BEZIER: drawbezier((const bezier*)p); break;
    case RW_FLT: drawvalue((const flt*)p); break;
    case RW_TEXT: drawtext((const text*)p); break;
    case RW_CONIC: drawconic((const conic*)p); break;
    case RW_ANGLE: drawangle((const angle*)p); break;
    case RW_POLYGON: drawpolygon((const polygon*)p); break;
    case RW_ARC: drawarc((const arc*)p); break;
    default: break;  // transforms, conditions, comments, macros: not drawn
  }
}

// ---- smear traces ----

// Stand-ins for the traced records, as the page writes them.
static void tracerecord(primitive* p) {
  p->valid = 1;
  p->color = COLOR_RED;
  p->layers = 0xffffffffu;
  p->width = widthmultiplier;
}

static void setpoint(vertex* v, double x, double y) {
  v->x = x, v->y = y, v->w = 1;
}

static void drawtrace(const smearrec* r) {
  switch (r->code) {
    case SMEAR_POINT:
      drawpoint(r->pointtype, COLOR_WHITE, nullptr, r->a, r->b);
      break;
    case SMEAR_SEGMENT: {
      line l;
      tracerecord(&l);
      setpoint(&l.p1, r->a, r->b);
      setpoint(&l.p2, r->c, r->d);
      l.linetype = RW_SEGMENT;
      l.linestyle = RW_SOLIDLINE;
      l.linemark = RW_LINE0SLASH;
      drawline(&l);
      break;
    }
    case SMEAR_CIRCLE: {
      circle c;
      tracerecord(&c);
      setpoint(&c.center, r->a, r->b);
      c.radius = r->c;
      drawcircle(&c);
      break;
    }
    default: break;  // the two-record traces are read by the caller
  }
}

static void drawtwohalves(const smearrec* r, const smearrec* s) {
  if (r->code == SMEAR_CONIC) {
    conic k;
    tracerecord(&k);
    const double q[6] = {r->a, r->b, r->c, r->d, s->a, s->b};
    for (int i = 0; i < 6; i++) k.coef[i] = q[i];
    drawconic(&k);
  } else {
    bezier b;
    tracerecord(&b);
    setpoint(&b.p1, r->a, r->b);
    setpoint(&b.p2, r->c, r->d);
    setpoint(&b.p3, s->a, s->b);
    setpoint(&b.p4, s->c, s->d);
    drawbezier(&b);
  }
}

static void drawsmears() {
  W.p->group(W.c, nullptr, 1);
  for (smearrec* r = firstrec(); r; r = nextrec()) {
    if (r->code != SMEAR_CONIC && r->code != SMEAR_BEZIER) {
      drawtrace(r);
      continue;
    }
    smearrec first = *r;
    smearrec* second = nextrec();
    if (!second) break;  // a lone first half: the trace was cut
    drawtwohalves(&first, second);
  }
  W.p->group(W.c, nullptr, 0);
}

// ---- the view ----

static void drawlist(primitive* list) {
  for (primitive* p = list; p; p = p->next) {
    setcolor(p->color, p->layercolor);
    if (!(p->layers & layerset) || !p->valid || p->type == RW_VERTEX) continue;
    W.p->group(W.c, p, 1);
    drawrecord(p);
    W.p->group(W.c, p, 0);
  }
}

static void drawpoints(primitive* list) {
  for (primitive* p = list; p; p = p->next) {
    if (p->type != RW_VERTEX) continue;
    setcolor(p->color, p->layercolor);
    if (!(p->layers & layerset)) continue;
    W.p->group(W.c, p, 1);
    drawvertex((const vertex*)p);
    W.p->group(W.c, p, 0);
  }
}

void walkview(const pen* p, void* c) {
  W.p = p;
  W.c = c;
  setrgb(0, 0, 0);
  W.st.dash = PSDASH_SOLID;
  W.st.phase = 0;
  W.st.width = 0;
  W.st.cap = 0;
  W.lastcolor = -2;
  W.lastdash = -1;
  W.lastwidth = -1;
  W.fontscale = fxmax > fymax ? ysize / 2.0 : xsize / 2.0;
  moveto(fxmin, fymin);
  lineto(fxmin, fymax);
  lineto(fxmax, fymax);
  lineto(fxmax, fymin);
  p->close(c);
  p->clip(c, 1);
  drawsmears();
  drawlist(plist);
  drawlist(macroplist);
  drawpoints(plist);
  drawpoints(macroplist);
  p->clip(c, 0);
}
