// solvers.cpp: homogeneous basics, line and circle intersections, the
// point constructions and the measures.
//
// Tangent lines are in solverstangent.cpp, circles in solverscircle.cpp.
// Arithmetic follows the diagram format's long-standing formulas, including
// their rounded constants, so that saved diagrams keep their look.
#include "engine/solvers.h"

#include <cmath>

static vertex* vparent(primitive* p, int i) {
  return static_cast<vertex*>(p->parents[i]);
}
static line* lparent(primitive* p, int i) {
  return static_cast<line*>(p->parents[i]);
}
static circle* cparent(primitive* p, int i) {
  return static_cast<circle*>(p->parents[i]);
}
static flt* fparent(primitive* p, int i) {
  return static_cast<flt*>(p->parents[i]);
}

static void setpoint(vertex* P, double x, double y, double w) {
  P->x = x;
  P->y = y;
  P->w = w;
}

void vertonlineline(vertex* P, const line* L1, const line* L2) {
  double x = L1->b * L2->c - L2->b * L1->c;
  double y = L1->c * L2->a - L2->c * L1->a;
  double w = L1->a * L2->b - L2->a * L1->b;
  if (w != 0)
    setpoint(P, x / w, y / w, 1);
  else
    setpoint(P, x, y, 0);  // parallel: the common direction
}

double vvdist(const vertex* A, const vertex* B) {
  if (A->w == 0 || B->w == 0) return FARDISTANCE;
  double dx = A->x / A->w - B->x / B->w;
  double dy = A->y / A->w - B->y / B->w;
  return std::sqrt(dx * dx + dy * dy);
}

double vldist(const vertex* V, const line* L) {
  if (V->w == 0 || (L->a == 0 && L->b == 0)) return FARDISTANCE;
  return std::fabs(L->a * V->x + L->b * V->y + L->c) /
         std::sqrt(L->a * L->a + L->b * L->b);
}

void linethrough(double x1, double y1, double w1, double x2, double y2,
                 double w2, double abc[3]) {
  if ((x1 == 0 && y1 == 0 && w1 == 0) || (x2 == 0 && y2 == 0 && w2 == 0)) {
    abc[0] = abc[1] = abc[2] = 0;
    return;
  }
  abc[0] = y1 * w2 - y2 * w1;
  abc[1] = x2 * w1 - x1 * w2;
  // x1*y2 - y1*x2 cancels catastrophically far from the origin; through a
  // finite point, c = -(a*x + b*y) / w keeps the digits of the direction.
  if (w1 != 0)
    abc[2] = -(abc[0] * x1 + abc[1] * y1) / w1;
  else if (w2 != 0)
    abc[2] = -(abc[0] * x2 + abc[1] * y2) / w2;
  else
    abc[2] = x1 * y2 - y1 * x2;
  if (abc[2] < 0)
    for (int i = 0; i < 3; i++) abc[i] = -abc[i];
}

void homogenizeline(line* L) {
  double abc[3];
  linethrough(L->p1.x, L->p1.y, L->p1.w, L->p2.x, L->p2.y, L->p2.w, abc);
  L->a = abc[0];
  L->b = abc[1];
  L->c = abc[2];
}

// The foot of the perpendicular from (x, y) to L.
static void footonline(vertex* P, double x, double y, const line* L) {
  line perp;
  perp.a = -L->b;
  perp.b = L->a;
  perp.c = -(-L->b * x + L->a * y);
  vertonlineline(P, &perp, L);
}

static int isparent(const primitive* child, const primitive* p, int n) {
  for (int i = 0; i < n; i++)
    if (child->parents[i] == p) return 1;
  return 0;
}

// A line built tangent to C touches it at a point the construction already
// knows; returning that point keeps tangency exact instead of leaving it to
// a discriminant that rounding may push below zero.
static int tangentpoint(const line* L, const circle* C, vertex* P) {
  switch (L->kind) {
    case L_VC1:
    case L_VC2:
      if (L->parents[1] != C) return 0;
      copyvertex(P, &L->p2);
      return 1;
    case L_CCEXT1:
    case L_CCEXT2:
    case L_CCINT1:
    case L_CCINT2:
      if (L->parents[0] == C) {
        copyvertex(P, &L->p2);
        return 1;
      }
      if (L->parents[1] != C) return 0;
      copyvertex(P, &L->p1);
      return 1;
    default:  // other lines: only the circle side can say more
      break;
  }
  if (C->kind >= C_LLL1 && C->kind <= C_LLL4 && isparent(C, L, 3)) {
    footonline(P, C->center.x, C->center.y, L);
    return 1;
  }
  return 0;
}

// Both intersections of L and C, branch 1 in s[0], s[1] and branch 2 in
// s[2], s[3]; 0 when they do not meet.
static int vlcroots(const line* L, const circle* C, double s[4]) {
  const vertex& p1 = L->p1;
  const vertex& p2 = L->p2;
  double ax = p1.w != 0 ? p1.x / p1.w : p2.x + p1.x;
  double ay = p1.w != 0 ? p1.y / p1.w : p2.y + p1.y;
  double bx = p2.w != 0 ? p2.x / p2.w : p1.x + p2.x;
  double by = p2.w != 0 ? p2.y / p2.w : p1.y + p2.y;
  int finite = p1.w != 0 || p2.w != 0;
  double ox = C->center.x / C->center.w, oy = C->center.y / C->center.w;
  double r = C->radius;
  double dx = ax - bx, dy = ay - by;
  double ex = bx - ox, ey = by - oy;
  double q = dx * dx + dy * dy;
  double h = 2 * (dx * ex + dy * ey);
  double disc = h * h - 4 * q * (ex * ex + ey * ey - r * r);
  if (disc < 0 || !finite) return 0;
  double root = std::sqrt(disc);
  double t1 = (root - h) / (2 * q);
  double t2 = (-h - root) / (2 * q);
  s[0] = (1 - t1) * bx + t1 * ax, s[1] = (1 - t1) * by + t1 * ay;
  s[2] = (1 - t2) * bx + t2 * ax, s[3] = (1 - t2) * by + t2 * ay;
  return 1;
}

void solvevlc(const line* L, const circle* C, vertex* P, int branch) {
  double s[4];
  if (tangentpoint(L, C, P)) return;
  if (!vlcroots(L, C, s)) {
    setpoint(P, 0, 0, 0);
    P->valid = 0;
    return;
  }
  int i = branch == 1 ? 0 : 2;
  setpoint(P, s[i], s[i + 1], 1);
}

// A fixed distance would mistake two close intersections for one, so the
// rule that has always applied (within 0.01 of branch 1, take branch 2)
// only serves, relative to the radius, when V is neither intersection.
// The second choice takes the other solution then.
int otherisbranch2(double d1, double d2, double r, int second) {
  double known = 1e-12 * r * r;  // squared: V is that intersection
  if (std::fmin(d1, d2) <= known) return d1 < d2;
  return (d1 < 0.0001 * r * r) != (second != 0);
}

static double sqdist(double x, double y, const vertex* V) {
  double dx = x - V->x / V->w, dy = y - V->y / V->w;
  return dx * dx + dy * dy;
}

// Both intersections of P's two circle parents, as vlcroots.
static int ccroots(vertex* P, double s[4]) {
  const circle* C0 = cparent(P, 0);
  const circle* C1 = cparent(P, 1);
  double x0 = C0->center.x, y0 = C0->center.y, r0 = C0->radius;
  double x1 = C1->center.x, y1 = C1->center.y, r1 = C1->radius;
  double d = std::sqrt((x1 - x0) * (x1 - x0) + (y1 - y0) * (y1 - y0));
  double h = (r1 * r1 - r0 * r0 - d * d) / (-2 * d);
  double k2 = r0 * r0 - h * h;
  if (k2 < 0) return 0;
  double k = std::sqrt(k2);
  double fx = x0 + (x1 - x0) * h / d, fy = y0 + (y1 - y0) * h / d;
  double ux = (y1 - y0) * k / d, uy = (x0 - x1) * k / d;
  s[0] = fx + ux, s[1] = fy + uy, s[2] = fx - ux, s[3] = fy - uy;
  return 1;
}

void vert_circcircle(vertex* P, int branch) {
  double s[4];
  if (!ccroots(P, s)) {
    setpoint(P, 0, 0, 0);
    P->valid = 0;
    return;
  }
  int i = branch == 2 ? 2 : 0;
  if (branch >= 3) {
    const vertex* V = vparent(P, 2);
    double d1 = sqdist(s[0], s[1], V), d2 = sqdist(s[2], s[3], V);
    double r0 = cparent(P, 0)->radius;
    if (otherisbranch2(d1, d2, r0, branch == 4)) i = 2;
  }
  setpoint(P, s[i], s[i + 1], 1);
}

// Takes the solution of s (two points) nearer to (px, py), the one of
// branch `own` (0 or 1) on a tie; returns its branch.
static int nearer(const double s[4], double px, double py, int own) {
  double d0 = (s[0] - px) * (s[0] - px) + (s[1] - py) * (s[1] - py);
  double d1 = (s[2] - px) * (s[2] - px) + (s[3] - py) * (s[3] - py);
  if (own == 0) return d1 < d0 ? 1 : 0;
  return d0 < d1 ? 0 : 1;
}

int followvertex(vertex* P, double px, double py) {
  double s[4];
  int first = P->kind == V_LC1 || P->kind == V_CC1;
  if (P->kind == V_LC1 || P->kind == V_LC2) {
    const line* L = lparent(P, 0);
    const circle* C = cparent(P, 1);
    if (tangentpoint(L, C, P)) return 1;  // one solution: the kind stays
    if (!vlcroots(L, C, s)) return 0;
  } else if (!ccroots(P, s)) {
    return 0;
  }
  int b = nearer(s, px, py, first ? 0 : 1);
  int lc = P->kind == V_LC1 || P->kind == V_LC2;
  P->kind = lc ? (b ? V_LC2 : V_LC1) : (b ? V_CC2 : V_CC1);
  setpoint(P, s[2 * b], s[2 * b + 1], 1);
  return 1;
}

void v_vcinvert(vertex* P) {
  const vertex* V = vparent(P, 0);
  const circle* K = cparent(P, 1);
  double dx = V->x - K->center.x, dy = V->y - K->center.y;
  double k = K->radius * K->radius / (dx * dx + dy * dy);
  setpoint(P, K->center.x + dx * k, K->center.y + dy * k, 1);
}

void vlvmirror(vertex* P) {
  const line* L = lparent(P, 0);
  const vertex* V = vparent(P, 1);
  if (V->w == 0) {
    P->valid = 0;
    return;
  }
  double x1 = L->p1.x, y1 = L->p1.y, x2 = L->p2.x, y2 = L->p2.y;
  double t = ((x2 - V->x) * (x2 - x1) + (y2 - V->y) * (y2 - y1)) /
             ((x2 - x1) * (x2 - x1) + (y2 - y1) * (y2 - y1));
  double fx = (1 - t) * x2 + t * x1, fy = (1 - t) * y2 + t * y1;
  setpoint(P, 2 * fx - V->x, 2 * fy - V->y, 1);
}

void v_avv(vertex* P) {
  const angle* A = static_cast<const angle*>(P->parents[0]);
  const vertex* V = vparent(P, 1);
  const vertex* Z = vparent(P, 2);
  if (V->w == 0 || Z->w == 0) {
    P->valid = 0;
    return;
  }
  double dx = V->x - Z->x, dy = V->y - Z->y;
  double c = std::cos(A->value), s = std::sin(A->value);
  setpoint(P, Z->x + dx * c - dy * s, Z->y + dx * s + dy * c, 1);
}

void vert_anglebisect(vertex* P) {
  const vertex* A = vparent(P, 0);
  const vertex* B = vparent(P, 1);
  const vertex* C = vparent(P, 2);
  if (A->w == 0 || B->w == 0 || C->w == 0) {
    P->valid = 0;
    return;
  }
  double t1 = std::atan2(A->y - B->y, A->x - B->x);
  double t2 = std::atan2(C->y - B->y, C->x - B->x);
  if (t1 > t2) t2 += 6.2831853;
  double m = (t1 + t2) / 2;
  setpoint(P, B->x + 0.3 * std::cos(m), B->y + 0.3 * std::sin(m), 1);
}

void v_vvflt(vertex* P) {
  const vertex* A = vparent(P, 0);
  const vertex* B = vparent(P, 1);
  if (A->w == 0 || B->w == 0) {
    P->valid = 0;
    return;
  }
  double f = fparent(P, 2)->value;
  setpoint(P, (1 - f) * A->x + f * B->x, (1 - f) * A->y + f * B->y, 1);
}

void v_vvratio(vertex* P) {
  v_vvflt(P);
}

void a_vvv(angle* G) {
  const vertex* A = vparent(G, 0);
  const vertex* B = vparent(G, 1);
  const vertex* C = vparent(G, 2);
  if (A->w == 0 || B->w == 0 || C->w == 0) {
    G->valid = 0;
    return;
  }
  double v = std::atan2(C->y - B->y, C->x - B->x) -
             std::atan2(A->y - B->y, A->x - B->x);
  if (v < 0) v += 6.283185307179586;
  G->value = v;
}

void f_vvvratio(flt* F) {
  const vertex* A = vparent(F, 0);
  const vertex* B = vparent(F, 1);
  const vertex* C = vparent(F, 2);
  double ac = vvdist(A, C);
  double r = ac == 0 ? FARFLOAT : vvdist(A, B) / ac;
  double dot = (B->x - A->x) * (C->x - A->x) + (B->y - A->y) * (C->y - A->y);
  F->value = dot < 0 ? -r : r;
}
