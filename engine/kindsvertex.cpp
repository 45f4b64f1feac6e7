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

void projecttoline(vertex* P) {
  const line* L = static_cast<const line*>(P->parents[0]);
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
  solvevlc(L, C, P, 1);
  double dx = P->x - V->x, dy = P->y - V->y;
  if (dx * dx + dy * dy < 0.0001) solvevlc(L, C, P, 2);
}

// One coordinate of the harmonic conjugate of b with respect to a and c.
// Returns 0 when it is at infinity.
static int harmonic(double a, double b, double c, double* out) {
  if (std::fabs(a - b) < 0.0001 && std::fabs(b - c) < 0.0001) {
    *out = a;
    return 1;
  }
  double den = 2 * b - a - c;
  if (den == 0) return 0;
  *out = ((c + a) * b - 2 * a * c) / den;
  return 1;
}

void v_vvvharmonic(vertex* P) {
  const vertex* A = vparent(P, 0);
  const vertex* B = vparent(P, 1);
  const vertex* C = vparent(P, 2);
  if (!harmonic(A->x, B->x, C->x, &P->x) ||
      !harmonic(A->y, B->y, C->y, &P->y)) {
    P->w = 0;
    return;
  }
  P->w = 1;
}
