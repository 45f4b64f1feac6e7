// kindsother.cpp: lines, circles, Bezier curves, angles, polygons, numbers,
// transforms and layer conditions computed in place.
#include <cmath>

#include "engine/kinds.h"
#include "engine/recompute.h"
#include "engine/solvers.h"
#include "model/style.h"

static const vertex* vparent(const primitive* p, int i) {
  return static_cast<const vertex*>(p->parents[i]);
}
static double fvalue(const primitive* p, int i) {
  return static_cast<const flt*>(p->parents[i])->value;
}
static const double* mparent(const primitive* p, int i) {
  return static_cast<const xform*>(p->parents[i])->m;
}

static void setpoint(vertex* P, double x, double y, double w) {
  P->x = x;
  P->y = y;
  P->w = w;
}

void l_vv(line* L) {
  copyvertex(&L->p1, vparent(L, 0));
  copyvertex(&L->p2, vparent(L, 1));
  homogenizeline(L);
}

void l_vlpar(line* L) {
  const vertex* V = vparent(L, 0);
  const line* M = static_cast<const line*>(L->parents[1]);
  if (V->w == 0) {
    L->valid = 0;
    return;
  }
  L->a = M->a;
  L->b = M->b;
  L->c = -(L->a * V->x + L->b * V->y);
  copyvertex(&L->p1, V);
  setpoint(&L->p2, V->x - 10 * L->b, V->y + 10 * L->a, 1);
}

void l_vlperp(line* L) {
  const vertex* V = vparent(L, 0);
  const line* M = static_cast<const line*>(L->parents[1]);
  L->a = -M->b;
  L->b = M->a;
  L->c = M->b * V->x - M->a * V->y;
  copyvertex(&L->p1, V);
  vertonlineline(&L->p2, L, M);
  double dx = V->x - L->p2.x, dy = V->y - L->p2.y;
  if (dx * dx + dy * dy < 1e-8)  // V on M: any other point of the normal
    setpoint(&L->p2, V->x - 10 * L->b, V->y + 10 * L->a, 1);
}

void l_vvperp(line* L) {
  const vertex* A = vparent(L, 0);
  const vertex* B = vparent(L, 1);
  if (A->w == 0 || B->w == 0) {
    L->valid = 0;
    return;
  }
  double mx = (A->x + B->x) / 2, my = (A->y + B->y) / 2;
  double dx = B->x - A->x, dy = A->y - B->y;
  // The defining points lie 10 units out. A pair much wider puts them as
  // far out as it is wide, a pair much narrower 10,000 times its width:
  // the rounding of points far out, or far from a tiny pair, would tilt
  // the line by more than the pair can tell.
  double size = std::fabs(dx) + std::fabs(dy);
  double k = size > 10 ? size : size < 1e-3 && size > 0 ? 1e4 * size : 10;
  // Nearly level pairs (against their own width, so the points themselves
  // are left alone) give an exactly vertical bisector rather than a line
  // of enormous slope.
  if (std::fabs(dy) < 1e-6 * std::fabs(dx) || dy == 0) {
    setpoint(&L->p1, mx, my - k, 1);
    setpoint(&L->p2, mx, my + k, 1);
  } else {
    double s = dx / dy;
    setpoint(&L->p1, mx - k, my - k * s, 1);
    setpoint(&L->p2, mx + k, my + k * s, 1);
  }
  homogenizeline(L);
}

void c_vv(circle* C) {
  copyvertex(&C->center, vparent(C, 0));
  C->radius = vvdist(vparent(C, 0), vparent(C, 1));
}

void c_vcrad(circle* C) {
  copyvertex(&C->center, vparent(C, 0));
  C->radius = static_cast<const circle*>(C->parents[1])->radius;
}

void c_vf(circle* C) {
  copyvertex(&C->center, vparent(C, 0));
  C->radius = fvalue(C, 1);
}

void c_ctrvv(circle* C) {
  const vertex* A = vparent(C, 1);
  const vertex* B = vparent(C, 2);
  copyvertex(&C->center, vparent(C, 0));
  if (A->w == 0 || B->w == 0) {
    C->radius = FARRADIUS;
    return;
  }
  C->radius =
      std::sqrt((A->x - B->x) * (A->x - B->x) + (A->y - B->y) * (A->y - B->y));
}

void bez_vvvv(bezier* B) {
  copyvertex(&B->p1, vparent(B, 0));
  copyvertex(&B->p2, vparent(B, 1));
  copyvertex(&B->p3, vparent(B, 2));
  copyvertex(&B->p4, vparent(B, 3));
}

void a_f(angle* A) {
  // The rounded factor is the one diagrams have always been drawn with.
  A->value = degreemode ? fvalue(A, 0) * 0.017453292500000002 : fvalue(A, 0);
}

// Shoelace area of a polygon's vertices, taken cyclically.
// Taken relative to the first vertex: the terms of the plain formula grow
// with the square of the distance from the origin and cancel.
static double shoelace(const polygon* P) {
  int n = P->nvert < 0 ? 0 : P->nvert > MAXPOLYVERT ? MAXPOLYVERT : P->nvert;
  if (n == 0) return 0;
  const vertex* o = vparent(P, 0);
  double s = 0;
  for (int i = 0; i < n; i++) {
    const vertex* a = vparent(P, i);
    const vertex* b = vparent(P, (i + 1) % n);
    s += (a->x - o->x) * (b->y - o->y) - (a->y - o->y) * (b->x - o->x);
  }
  return std::fabs(s) / 2;
}

void setpolyarea(polygon* P) {
  P->area = shoelace(P);
}

void f_polyarea(flt* F) {
  F->value = shoelace(static_cast<const polygon*>(F->parents[0]));
}

void f_vv(flt* F) {
  F->value = vvdist(vparent(F, 0), vparent(F, 1));
}

void f_vcoord(flt* F) {
  const vertex* V = vparent(F, 0);
  F->value = F->kind == F_VXCOORD ? V->x : V->y;
}

static void copymatrix(double* to, const double* from) {
  for (int i = 0; i < 9; i++) to[i] = from[i];
}

void x_xxf(xform* X) {
  double f = fvalue(X, 2);
  copymatrix(X->m, !(f == 0) ? mparent(X, 0) : mparent(X, 1));  // NaN: X0
}

void x_scale(xform* X) {
  const double* s = mparent(X, 0);
  double sx = fvalue(X, 1), sy = fvalue(X, 2);
  for (int r = 0; r < 3; r++) {
    X->m[3 * r] = s[3 * r] * sx;
    X->m[3 * r + 1] = s[3 * r + 1] * sy;
    X->m[3 * r + 2] = s[3 * r + 2];
  }
}

void x_translate(xform* X) {
  const double* s = mparent(X, 0);
  double dx = fvalue(X, 1), dy = fvalue(X, 2);
  for (int r = 0; r < 3; r++) {
    X->m[3 * r] = s[3 * r] + s[3 * r + 2] * dx;
    X->m[3 * r + 1] = s[3 * r + 1] + s[3 * r + 2] * dy;
    X->m[3 * r + 2] = s[3 * r + 2];
  }
}

void x_rotate(xform* X) {
  const double* s = mparent(X, 0);
  double t = radiansof(fvalue(X, 1));
  double c = std::cos(t), n = std::sin(t);
  for (int r = 0; r < 3; r++) {
    double a = s[3 * r], b = s[3 * r + 1];
    X->m[3 * r] = a * c - b * n;
    X->m[3 * r + 1] = b * c + a * n;
    X->m[3 * r + 2] = s[3 * r + 2];
  }
}

void x_f9(xform* X) {
  const double* s = mparent(X, 0);
  double n[9];
  for (int k = 0; k < 9; k++) n[k] = fvalue(X, k + 1);
  for (int i = 0; i < 3; i++)
    for (int j = 0; j < 3; j++) {
      double sum = 0;
      for (int k = 0; k < 3; k++) sum += s[3 * i + k] * n[3 * k + j];
      X->m[3 * i + j] = sum;
    }
}

void layercond(layercondition* C) {
  double low = fvalue(C, 0), x = fvalue(C, 1), high = fvalue(C, 2);
  if (x >= low && high > x) {
    layerset = C->layermask;
    setlayerbuttons();
  }
}
