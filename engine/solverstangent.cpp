// solverstangent.cpp: tangent lines to circles, from a point and common to
// two circles.
//
// A tangent line keeps its point of contact as a defining point, so that
// intersections with the circle it touches can return that point exactly
// (see solvevlc).
#include <cmath>

#include "engine/solvers.h"

static void setpoint(vertex* P, double x, double y, double w) {
  P->x = x;
  P->y = y;
  P->w = w;
}

// The line with no points and no coefficients that an impossible tangent
// leaves behind.
static void voidline(line* L) {
  setpoint(&L->p1, 0, 0, 0);
  setpoint(&L->p2, 0, 0, 0);
  L->a = L->b = L->c = 0;
  L->valid = 0;
}

static int isparent(const primitive* child, const primitive* p, int n) {
  for (int i = 0; i < n; i++)
    if (child->parents[i] == p) return 1;
  return 0;
}

// V lies on C because of how one of them was built; rounding must not turn
// the tangent at such a point into "point inside the circle".
static int onbyconstruction(const vertex* V, const circle* C) {
  if (C->kind == C_VV && C->parents[1] == V) return 1;
  if (C->kind == C_VVV && isparent(C, V, 3)) return 1;
  switch (V->kind) {
    case VONC: return V->parents[0] == C;
    case V_LC1:
    case V_LC2:
    case V_LCVOTHER:
    case V_LCVOTHER2: return V->parents[1] == C;
    case V_CC1:
    case V_CC2:
    case V_CCVOTHER:
    case V_CCVOTHER2: return isparent(V, C, 2);
    default: return 0;  // any other point may lie anywhere
  }
}

// The tangent point seen from the point (dx, dy) away from the centre of
// the circle (ox, oy, r), on the side chosen by the sign of s. Returns 0
// when the point is inside.
// Both tangent points, branch 1 in T[0] and branch 2 in T[1].
static int tangentoffsets(double dx, double dy, double ox, double oy,
                          double r, vertex T[2]) {
  double d = std::sqrt(dx * dx + dy * dy);
  double t = r * r / d;
  double q = t / d;
  if (1 - q < 0) return 0;
  double s = r * std::sqrt(1 - q);
  for (int b = 0; b < 2; b++, s = -s)
    setpoint(&T[b], ox + (t * dx / d - s * dy / d),
             oy + (t * dy / d + s * dx / d), 1);
  return 1;
}

static int tangentoffset(double dx, double dy, double ox, double oy, double r,
                         int branch, vertex* T) {
  vertex both[2];
  if (!tangentoffsets(dx, dy, ox, oy, r, both)) return 0;
  copyvertex(T, &both[branch == 2 ? 1 : 0]);
  return 1;
}

static int tangentfrom(double sx, double sy, double ox, double oy, double r,
                       int branch, vertex* T) {
  return tangentoffset(sx - ox, sy - oy, ox, oy, r, branch, T);
}

void line_vertcircletan(line* L) {
  const vertex* V = static_cast<const vertex*>(L->parents[0]);
  const circle* C = static_cast<const circle*>(L->parents[1]);
  const vertex& O = C->center;
  L->p1.w = L->p2.w = 1;
  if (onbyconstruction(V, C)) {
    copyvertex(&L->p1, V);
    if (V->y != O.y)
      setpoint(&L->p2, V->x + 1, V->y - (V->x - O.x) / (V->y - O.y), 1);
    else if (V->y != 0)
      setpoint(&L->p2, V->x, 0, 1);
    else  // (V.x, 0) would be V itself: any other point of the vertical
      setpoint(&L->p2, V->x, 1, 1);
    homogenizeline(L);
    return;
  }
  int branch = L->kind == L_VC2 ? 2 : 1;
  if (!tangentfrom(V->x, V->y, O.x, O.y, C->radius, branch, &L->p2)) {
    voidline(L);
    return;
  }
  copyvertex(&L->p1, V);
  homogenizeline(L);
}

int followtangent(line* L, double px, double py) {
  const vertex* V = static_cast<const vertex*>(L->parents[0]);
  const circle* C = static_cast<const circle*>(L->parents[1]);
  const vertex& O = C->center;
  if (onbyconstruction(V, C)) return 0;  // one tangent: nothing to choose
  vertex T[2];
  if (!tangentoffsets(V->x - O.x, V->y - O.y, O.x, O.y, C->radius, T)) return 0;
  double d0 = (T[0].x - px) * (T[0].x - px) + (T[0].y - py) * (T[0].y - py);
  double d1 = (T[1].x - px) * (T[1].x - px) + (T[1].y - py) * (T[1].y - py);
  int b = L->kind == L_VC2 ? (d0 < d1 ? 0 : 1) : (d1 < d0 ? 1 : 0);
  L->kind = b ? L_VC2 : L_VC1;
  L->p1.w = L->p2.w = 1;
  copyvertex(&L->p2, &T[b]);
  copyvertex(&L->p1, V);
  homogenizeline(L);
  return 1;
}

// Both tangent points from the centre of similitude S, given as S - O0 =
// k0 (O1 - O0) and S - O1 = k1 (O1 - O0) so that no digits are lost far
// from the origin. Without a tangent point on either circle there is no
// common tangent (the previous one must not linger).
static void tangentsfrom(line* L, double k0, double k1, const circle* C0,
                         const circle* C1, int branch) {
  double ux = C1->center.x - C0->center.x, uy = C1->center.y - C0->center.y;
  if (!tangentoffset(k0 * ux, k0 * uy, C0->center.x, C0->center.y, C0->radius,
                     branch, &L->p2) ||
      !tangentoffset(k1 * ux, k1 * uy, C1->center.x, C1->center.y, C1->radius,
                     branch, &L->p1)) {
    voidline(L);
    return;
  }
  homogenizeline(L);
}

void line_circcircleext(line* L) {
  const circle* C0 = static_cast<const circle*>(L->parents[0]);
  const circle* C1 = static_cast<const circle*>(L->parents[1]);
  double x0 = C0->center.x, y0 = C0->center.y, r0 = C0->radius;
  double x1 = C1->center.x, y1 = C1->center.y, r1 = C1->radius;
  int branch = L->kind == L_CCEXT2 ? 2 : 1;
  L->p1.w = L->p2.w = 1;
  if (r0 == r1) {
    // Equal circles have no external centre of similitude: the tangents
    // are the parallels to the line of centres at distance r.
    if (x0 == x1 && y0 == y1) {
      L->valid = 0;
      return;
    }
    double D = std::sqrt((x0 - x1) * (x0 - x1) + (y0 - y1) * (y0 - y1));
    double ox = -r0 * (y0 - y1) / D, oy = r0 * (x0 - x1) / D;
    if (branch == 2) ox = -ox, oy = -oy;
    setpoint(&L->p1, x0 + ox, y0 + oy, 1);
    setpoint(&L->p2, x1 + ox, y1 + oy, 1);
    homogenizeline(L);
    return;
  }
  double k = r1 / (r0 - r1);  // S = O1 + (O1 - O0) k
  tangentsfrom(L, 1 + k, k, C0, C1, branch);
}

void line_circcircleint(line* L) {
  const circle* C0 = static_cast<const circle*>(L->parents[0]);
  const circle* C1 = static_cast<const circle*>(L->parents[1]);
  L->p1.w = L->p2.w = 1;
  // Equal radii need no special case: S is the midpoint of the centres.
  double k = C1->radius / (C0->radius + C1->radius);  // S = O1 - (O1 - O0) k
  tangentsfrom(L, 1 - k, -k, C0, C1, L->kind == L_CCINT2 ? 2 : 1);
}
