// hittest.cpp: distances from a world point to each kind of primitive, the
// searches of the world list and selection by the mouse.
#include "render/hittest.h"

#include <cmath>

#include "model/style.h"
#include "model/worldlist.h"
#include "render/view.h"

static const double TWOPI = 6.2831853071794;

double vertextolerance() {
  return 1.9 * dpbsize;
}
double curvetolerance() {
  return 1.9 * dpbsize / 2;
}
double conictolerance() {
  return 1.9 * dpbsize;
}

int hiddenforpicking(const primitive* p) {
  if (showinvisible) return 0;
  if (p->color == COLOR_INVISIBLE) return 1;
  if (p->color == COLOR_PERLAYER) {
    // With no layer in force nothing is shown, so nothing can be picked.
    if (minlayer < 0 || minlayer >= NLAYERS) return 1;
    return p->layercolor[minlayer] == 255;
  }
  return 0;
}

// Signed distance from (x, y) to a*x + b*y + c = 0 and the foot of the
// perpendicular; returns NOHITF when the coefficients define no line.
static double footonline(double a, double b, double c, double x, double y,
                         double* fx, double* fy) {
  if (a == 0 && b == 0) return NOHITF;
  double n = std::sqrt(a * a + b * b);
  double d = (a * x + b * y + c) / n;
  *fx = x - d * a / n;
  *fy = y - d * b / n;
  return d;
}

static int between(double v, double e1, double e2, double slack) {
  double lo = e1 < e2 ? e1 : e2, hi = e1 < e2 ? e2 : e1;
  return v >= lo - slack && v <= hi + slack;
}

// The segment test: the foot must fall within the end points' x range; a
// segment that is vertical within that slack is bounded in y instead, since
// the x range would admit its whole supporting line.
static double segmentdist(double a, double b, double c, double x1, double y1,
                          double x2, double y2, double x, double y) {
  double fx, fy;
  double d = footonline(a, b, c, x, y, &fx, &fy);
  if (d == NOHITF) return NOHITF;
  if (std::fabs(x1 - x2) < 0.001) {
    if (!between(fy, y1, y2, 0.001)) return NOHIT;
  } else if (!between(fx, x1, x2, 0.001)) {
    return NOHIT;
  }
  return std::fabs(d);
}

double disttoline(const line* l, double x, double y) {
  if (l->linetype == RW_LONGLINE || l->linetype == RW_RAY12) {
    double fx, fy;
    double d = footonline(l->a, l->b, l->c, x, y, &fx, &fy);
    return d == NOHITF ? NOHITF : std::fabs(d);
  }
  return segmentdist(l->a, l->b, l->c, l->p1.x, l->p1.y, l->p2.x, l->p2.y, x,
                     y);
}

double disttosegment(double x1, double y1, double x2, double y2, double x,
                     double y) {
  // The line through the two points: the cross product of (x1, y1, 1) and
  // (x2, y2, 1).
  double a = y1 - y2, b = x2 - x1, c = x1 * y2 - x2 * y1;
  return segmentdist(a, b, c, x1, y1, x2, y2, x, y);
}

double disttocircle(const circle* c, double x, double y) {
  if (c->center.w == 0) return NOHIT;
  double cx = c->center.x / c->center.w, cy = c->center.y / c->center.w;
  return std::fabs(std::hypot(x - cx, y - cy) - c->radius);
}

double disttobezier(const bezier* b, double x, double y) {
  if (b->p1.w == 0 || b->p2.w == 0 || b->p3.w == 0 || b->p4.w == 0)
    return NOHIT;
  double best = NOHIT;
  for (int i = 0; i <= 1000; i++) {
    double t = i * 0.001, s = 1 - t;
    double k1 = s * s * s, k2 = 3 * s * s * t, k3 = 3 * s * t * t,
           k4 = t * t * t;
    double bx = k1 * b->p1.x + k2 * b->p2.x + k3 * b->p3.x + k4 * b->p4.x;
    double by = k1 * b->p1.y + k2 * b->p2.y + k3 * b->p3.y + k4 * b->p4.y;
    double d = std::hypot(bx - x, by - y);
    if (d < best) best = d;
  }
  return best;
}

// Roots of q2*t^2 + q1*t + q0 = 0 (one for a linear equation); returns how
// many were stored.
static int quadroots(double q2, double q1, double q0, double* r) {
  if (q2 == 0) {
    if (q1 == 0) return 0;
    r[0] = -q0 / q1;
    return 1;
  }
  double disc = q1 * q1 - 4 * q2 * q0;
  if (disc < 0) return 0;
  double s = std::sqrt(disc);
  r[0] = (-q1 + s) / (2 * q2);
  r[1] = (-q1 - s) / (2 * q2);
  return 2;
}

double disttoconic(const conic* cn, double x, double y) {
  const double* k = cn->coef;
  double a = k[0], b = k[1], c = k[2], d = k[3], e = k[4], f = k[5];
  double best = NOHIT, r[2];
  // Only the visible part is sampled: what lies outside cannot be clicked.
  for (double X = fxmin; X <= fxmax; X += 0.01) {
    int n = quadroots(c, b * X + e, a * X * X + d * X + f, r);
    for (int i = 0; i < n; i++)
      best = std::fmin(best, std::hypot(X - x, r[i] - y));
  }
  for (double Y = fymin; Y <= fymax; Y += 0.01) {
    int n = quadroots(a, b * Y + d, c * Y * Y + e * Y + f, r);
    for (int i = 0; i < n; i++)
      best = std::fmin(best, std::hypot(r[i] - x, Y - y));
  }
  return best;
}

static double direction(double dx, double dy) {
  double t = std::atan2(dy, dx);
  return t < 0 ? t + TWOPI : t;
}

// Whether direction g lies in the sector swept counter-clockwise from
// direction al to direction be.
static double sectordist(double al, double be, double g, double inside) {
  if (be < al) be += TWOPI;
  if (be < TWOPI) return (al < g && g < be) ? inside : NOHIT;
  return (g > al || g < be - TWOPI) ? 1e-07 : NOHIT;
}

static const vertex* parentvertex(const primitive* p, int i) {
  const primitive* q = p->parents[i];
  if (!q || q->type != RW_VERTEX) return nullptr;
  const vertex* v = static_cast<const vertex*>(q);
  return v->w != 0 ? v : nullptr;
}

double disttoangle(const angle* a, double x, double y) {
  if (a->kind != A_VVV) return NOHIT;
  const vertex* p = parentvertex(a, 0);
  const vertex* v = parentvertex(a, 1);
  const vertex* q = parentvertex(a, 2);
  if (!p || !v || !q) return NOHIT;
  double vx = v->x / v->w, vy = v->y / v->w;
  double dx = x - vx, dy = y - vy;
  // The reach is compared as a squared distance against a length, so it is
  // a disc of radius sqrt(1.9 * dpbsize) around the apex.
  if (dx * dx + dy * dy > 1.9 * dpbsize) return NOHIT;
  double al = direction(p->x / p->w - vx, p->y / p->w - vy);
  double be = direction(q->x / q->w - vx, q->y / q->w - vy);
  return sectordist(al, be, direction(dx, dy), 1e-05);
}

double disttoarc(const arc* a, double x, double y) {
  if (a->kind != ARC_VVV) return NOHIT;
  const vertex* p = parentvertex(a, 0);
  const vertex* c = parentvertex(a, 1);
  const vertex* q = parentvertex(a, 2);
  if (!p || !c || !q) return NOHIT;
  double cx = c->x / c->w, cy = c->y / c->w;
  double px = p->x / p->w, py = p->y / p->w;
  double r = std::hypot(px - cx, py - cy);
  if (std::fabs(std::hypot(x - cx, y - cy) - r) > curvetolerance())
    return NOHIT;
  double al = direction(px - cx, py - cy);
  double be = direction(q->x / q->w - cx, q->y / q->w - cy);
  return sectordist(al, be, direction(x - cx, y - cy), 1e-07);
}

int hitvertex(const vertex* v, double x, double y) {
  if (hiddenforpicking(v) || v->w == 0) return 0;
  double t = vertextolerance();
  return v->x - t <= x && x <= v->x + t && v->y - t <= y && y <= v->y + t;
}

int hitline(const line* l, double x, double y) {
  return !hiddenforpicking(l) && disttoline(l, x, y) < curvetolerance();
}

int hitcircle(const circle* c, double x, double y) {
  return !hiddenforpicking(c) && disttocircle(c, x, y) < curvetolerance() &&
         c->kind != PARAMHOLDER;
}

// Whether (x, y) lies further than `reach` outside the box [x0, x1] x
// [y0, y1]. The curve tests sample hundreds of points; a curve inside a
// box far from the pointer (every curve but one or two, as the pointer
// rests) cannot be hit, and the box says so at once.
static int beyondbox(double x0, double x1, double y0, double y1, double x,
                     double y, double reach) {
  return x < x0 - reach || x > x1 + reach || y < y0 - reach || y > y1 + reach;
}

// A Bezier curve lies inside the box of its control points.
static int farfrombezier(const bezier* b, double x, double y, double reach) {
  const vertex* v[4] = {&b->p1, &b->p2, &b->p3, &b->p4};
  double x0 = v[0]->x, x1 = x0, y0 = v[0]->y, y1 = y0;
  for (const vertex* p : v) {
    if (p->w == 0) return 0;
    x0 = std::fmin(x0, p->x), x1 = std::fmax(x1, p->x);
    y0 = std::fmin(y0, p->y), y1 = std::fmax(y1, p->y);
  }
  return beyondbox(x0, x1, y0, y1, x, y, reach);
}

// An ellipse's extent in x is where its equation, read as a quadratic in
// y, has a double root, and the same in y; other conics have no box.
static int farfromconic(const conic* cn, double x, double y, double reach) {
  const double* k = cn->coef;
  double a = k[0], b = k[1], c = k[2], d = k[3], e = k[4], f = k[5];
  double D = b * b - 4 * a * c, xr[2], yr[2];
  if (!(D < 0) ||
      quadroots(D, 2 * b * e - 4 * c * d, e * e - 4 * c * f, xr) < 2 ||
      quadroots(D, 2 * b * d - 4 * a * e, d * d - 4 * a * f, yr) < 2)
    return 0;
  // The sampled points are roots worked out in floating point: a margin.
  double slack = 1e-9 * (1 + std::fabs(xr[0]) + std::fabs(xr[1]) +
                         std::fabs(yr[0]) + std::fabs(yr[1]));
  return beyondbox(std::fmin(xr[0], xr[1]), std::fmax(xr[0], xr[1]),
                   std::fmin(yr[0], yr[1]), std::fmax(yr[0], yr[1]), x, y,
                   reach + slack);
}

int hitbezier(const bezier* b, double x, double y) {
  double reach = curvetolerance();
  return !hiddenforpicking(b) && !farfrombezier(b, x, y, reach) &&
         disttobezier(b, x, y) < reach && b->kind != PARAMHOLDER;
}

int hitconic(const conic* c, double x, double y) {
  double reach = conictolerance();
  return !hiddenforpicking(c) && !farfromconic(c, x, y, reach) &&
         disttoconic(c, x, y) < reach;
}

int hitangle(const angle* a, double x, double y) {
  return !hiddenforpicking(a) && disttoangle(a, x, y) < curvetolerance();
}

int hitarc(const arc* a, double x, double y) {
  return !hiddenforpicking(a) && disttoarc(a, x, y) < curvetolerance();
}

int hittext(const text* t, double, double y) {
  return !hiddenforpicking(t) && t->ylow < y && y < t->yhigh;
}

// Polygons have no visibility test: even an invisible polygon is picked.
int hitpolygon(const polygon* p, double x, double y) {
  int n = p->nvert;
  if (n > MAXPOLYVERT) n = MAXPOLYVERT;
  for (int i = 0; i < n; i++) {
    const vertex* u = parentvertex(p, i);
    const vertex* v = parentvertex(p, (i + 1) % n);
    if (!u || !v) continue;
    if (disttosegment(u->x, u->y, v->x, v->y, x, y) < curvetolerance())
      return 1;
  }
  return 0;
}

vertex* hitvertex(double x, double y) {
  for (int pass = 0; pass < 2; pass++)
    for (primitive* p = plist; p; p = p->next) {
      if (p->type != RW_VERTEX || p->kind == PARAMHOLDER) continue;
      if (!(p->layers & layerset)) continue;
      if (pass == 0 && p->kind == PINNED) continue;
      vertex* v = static_cast<vertex*>(p);
      if (hitvertex(v, x, y)) return v;
    }
  return nullptr;
}

line* hitanotherline(double x, double y, primitive* other) {
  for (primitive* p = plist; p; p = p->next) {
    if (p->type != RW_LINE || p->kind == PARAMHOLDER || p == other) continue;
    line* l = static_cast<line*>(p);
    if (hitline(l, x, y)) return l;
  }
  return nullptr;
}

line* hitline(double x, double y) {
  return hitanotherline(x, y, nullptr);
}

circle* hitanothercircle(double x, double y, primitive* other) {
  for (primitive* p = plist; p; p = p->next) {
    if (p->type != RW_CIRCLE || p->kind == PARAMHOLDER || p == other) continue;
    circle* c = static_cast<circle*>(p);
    if (hitcircle(c, x, y)) return c;
  }
  return nullptr;
}

circle* hitcircle(double x, double y) {
  return hitanothercircle(x, y, nullptr);
}

conic* hitconic(double x, double y) {
  for (primitive* p = plist; p; p = p->next)
    if (p->type == RW_CONIC && p->kind != PARAMHOLDER &&
        hitconic(static_cast<conic*>(p), x, y))
      return static_cast<conic*>(p);
  return nullptr;
}

angle* hitangle(double x, double y) {
  for (primitive* p = plist; p; p = p->next)
    if (p->type == RW_ANGLE && p->kind != PARAMHOLDER &&
        hitangle(static_cast<angle*>(p), x, y))
      return static_cast<angle*>(p);
  return nullptr;
}

arc* hitarc(double x, double y) {
  for (primitive* p = plist; p; p = p->next)
    if (p->type == RW_ARC && p->kind != PARAMHOLDER &&
        hitarc(static_cast<arc*>(p), x, y))
      return static_cast<arc*>(p);
  return nullptr;
}

// One primitive of any pickable type; flts, transforms, conditions and the
// other records without a drawing are never hit.
static int hitany(primitive* p, double x, double y) {
  switch (p->type) {
    case RW_VERTEX:
      return p->kind != PINNED && hitvertex(static_cast<vertex*>(p), x, y);
    case RW_LINE: return hitline(static_cast<line*>(p), x, y);
    case RW_CIRCLE: return hitcircle(static_cast<circle*>(p), x, y);
    case RW_BEZIER: return hitbezier(static_cast<bezier*>(p), x, y);
    case RW_TEXT: return hittext(static_cast<text*>(p), x, y);
    case RW_CONIC: return hitconic(static_cast<conic*>(p), x, y);
    case RW_ANGLE: return hitangle(static_cast<angle*>(p), x, y);
    case RW_POLYGON: return hitpolygon(static_cast<polygon*>(p), x, y);
    case RW_ARC: return hitarc(static_cast<arc*>(p), x, y);
    default:  // numbers, transforms, conditions, comments, macros
      return 0;
  }
}

primitive* hitprimitivehelp(double x, double y, primitive* after) {
  selectedtextprim = nullptr;
  for (primitive* p = after ? after->next : plist; p; p = p->next) {
    if (!(p->layers & layerset) || !hitany(p, x, y)) continue;
    if (p->type == RW_TEXT) selectedtextprim = p;
    return p;
  }
  return nullptr;
}

primitive* hitprimitive(double x, double y) {
  return hitprimitivehelp(x, y, nullptr);
}

void selectvertex(double x, double y) {
  vertex* v = hitvertex(x, y);
  if (v)
    selectprim(v);
  else
    selectprim(hitprimitive(x, y));
}

void selectnextvertex(double x, double y) {
  if (!pselected) {
    selectvertex(x, y);
    return;
  }
  primitive* p = hitprimitivehelp(x, y, pselected);
  if (p)
    selectprim(p);
  else
    selectvertex(x, y);
}
