// kindsvertex.cpp: points computed in place, and points kept on a line or a
// circle.
#include <cmath>

#include "engine/kinds.h"
#include "engine/recompute.h"
#include "engine/solvers.h"

static const vertex* vparent(const primitive* p, int i) {
  return static_cast<const vertex*>(p->parents[i]);
}
static double fvalue(const primitive* p, int i) {
  return static_cast<const flt*>(p->parents[i])->value;
}

static void setpoint(vertex* P, double x, double y, double w) {
  P->x = x;
  P->y = y;
  P->w = w;
}

double radiansof(double t) {
  return degreemode ? t * 3.1415926535897 / 180 : t;
}

// A point already on its curve as closely as rounding allows stays put:
// reading back a saved point then gives the very numbers that were saved,
// and saving again writes them unchanged.
static const double ROUNDING = 4 * 2.220446049250313e-16;

void projecttoline(vertex* P) {
  const line* L = static_cast<const line*>(P->parents[0]);
  double ax = L->a * P->x, by = L->b * P->y;
  if (P->w == 1 &&
      std::fabs(ax + by + L->c) <=
          ROUNDING * (std::fabs(ax) + std::fabs(by) + std::fabs(L->c)))
    return;
  line perp;
  perp.a = -L->b;
  perp.b = L->a;
  perp.c = -(-L->b * P->x + L->a * P->y);
  vertonlineline(P, &perp, L);
}

void projecttocircle(vertex* P) {
  const circle* C = static_cast<const circle*>(P->parents[0]);
  double dx = P->x - C->center.x, dy = P->y - C->center.y;
  double d = std::sqrt(dx * dx + dy * dy);
  double size = std::fabs(P->x) + std::fabs(P->y) + std::fabs(C->center.x) +
                std::fabs(C->center.y) + C->radius;
  if (P->w == 1 && std::fabs(d - C->radius) <= ROUNDING * size) return;
  P->x = C->center.x + dx * C->radius / d;
  P->y = C->center.y + dy * C->radius / d;
}

void v_ccenter(vertex* P) {
  const circle* C = static_cast<const circle*>(P->parents[0]);
  P->x = C->center.x;
  P->y = C->center.y;
}

void v_vvmid(vertex* P) {
  const vertex* A = vparent(P, 0);
  const vertex* B = vparent(P, 1);
  const vertex* far = A->w == 0 ? A : B->w == 0 ? B : nullptr;
  if (far) {
    setpoint(P, far->x, far->y, 0);
    P->valid = 0;
    return;
  }
  setpoint(P, (A->x + B->x) / 2, (A->y + B->y) / 2, 1);
}

void v_ff(vertex* P) {
  setpoint(P, fvalue(P, 0), fvalue(P, 1), 1);
}

void v_vx(vertex* P) {
  const vertex* V = vparent(P, 0);
  const double* m = static_cast<const xform*>(P->parents[1])->m;
  double x = V->x, y = V->y, w = V->w;
  setpoint(P, x * m[0] + y * m[3] + w * m[6], x * m[1] + y * m[4] + w * m[7],
           x * m[2] + y * m[5] + w * m[8]);
}

void v_vtranslate(vertex* P) {
  const vertex* V = vparent(P, 0);
  P->x = V->x + fvalue(P, 1);
  P->y = V->y + fvalue(P, 2);
}

void v_vscale(vertex* P) {
  const vertex* V = vparent(P, 0);
  P->x = V->x * fvalue(P, 1);
  P->y = V->y * fvalue(P, 2);
}

void v_vrotate(vertex* P) {
  const vertex* V = vparent(P, 0);
  double t = radiansof(fvalue(P, 1));
  double x = V->x, y = V->y;
  P->x = x * std::cos(t) - y * std::sin(t);
  P->y = x * std::sin(t) + y * std::cos(t);
}

void v_lcvother(vertex* P) {
  const line* L = static_cast<const line*>(P->parents[0]);
  const circle* C = static_cast<const circle*>(P->parents[1]);
  const vertex* V = vparent(P, 2);
  vertex other;
  solvevlc(L, C, &other, 2);
  solvevlc(L, C, P, 1);
  if (!P->valid) return;
  double dx = P->x - V->x, dy = P->y - V->y;
  double ox = other.x - V->x, oy = other.y - V->y;
  if (otherisbranch2(dx * dx + dy * dy, ox * ox + oy * oy, C->radius,
                     P->kind == V_LCVOTHER2))
    copyvertex(P, &other);
}

// One coordinate of the harmonic conjugate of b with respect to a and c,
// taken relative to a so that no digits are lost far from the origin. A
// coordinate that does not vary (against `spread`, the largest variation
// of either coordinate) is a's. Returns 0 when it is at infinity.
static int harmonic(double a, double b, double c, double spread, double* out) {
  b -= a;
  c -= a;
  if (std::fmax(std::fabs(b), std::fabs(c)) <= 1e-12 * spread) {
    *out = a;
    return 1;
  }
  double den = 2 * b - c;
  if (den == 0) return 0;
  *out = a + b * c / den;
  return 1;
}

void v_vvvharmonic(vertex* P) {
  const vertex* A = vparent(P, 0);
  const vertex* B = vparent(P, 1);
  const vertex* C = vparent(P, 2);
  double spread =
      std::fmax(std::fmax(std::fabs(B->x - A->x), std::fabs(C->x - A->x)),
                std::fmax(std::fabs(B->y - A->y), std::fabs(C->y - A->y)));
  if (!harmonic(A->x, B->x, C->x, spread, &P->x) ||
      !harmonic(A->y, B->y, C->y, spread, &P->y)) {
    P->w = 0;
    return;
  }
  P->w = 1;
}
