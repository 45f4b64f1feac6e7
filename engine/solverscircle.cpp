// solverscircle.cpp: circles through three points, tangent to three lines,
// and the inverses of circles and lines in a circle.
//
// A circle that degenerates into a straight line keeps a centre at
// infinity (w = 0) and two or three points of that line in `aux`; drawing
// shows the line instead of the circle.
#include <cmath>

#include "engine/solvers.h"

static void setpoint(vertex* P, double x, double y, double w) {
  P->x = x;
  P->y = y;
  P->w = w;
}

// Centre and radius of the circle through three finite points. Returns the
// determinant so that callers can apply their own degeneracy rule; the
// centre is written only when the determinant is not zero.
static double circlethrough(circle* C, const double x[3], const double y[3]) {
  double s1 = (x[0] * x[0] + y[0] * y[0] - x[1] * x[1] - y[1] * y[1]) / 2;
  double s2 = (x[1] * x[1] + y[1] * y[1] - x[2] * x[2] - y[2] * y[2]) / 2;
  double det = (x[0] - x[1]) * (y[1] - y[2]) - (y[0] - y[1]) * (x[1] - x[2]);
  if (det == 0) return det;
  double cx = ((y[1] - y[2]) * s1 - (y[0] - y[1]) * s2) / det;
  double cy = ((x[0] - x[1]) * s2 - (x[1] - x[2]) * s1) / det;
  C->center.x = cx;
  C->center.y = cy;
  C->radius = std::sqrt((cx - x[0]) * (cx - x[0]) + (cy - y[0]) * (cy - y[0]));
  return det;
}

void circle_vvv(circle* C) {
  const vertex* V[3];
  double x[3], y[3];
  C->center.w = 1;
  for (int i = 0; i < 3; i++) {
    V[i] = static_cast<const vertex*>(C->parents[i]);
    if (V[i]->w == 0) {
      C->valid = 0;
      return;
    }
    x[i] = V[i]->x;
    y[i] = V[i]->y;
  }
  double det = (x[0] - x[1]) * (y[1] - y[2]) - (y[0] - y[1]) * (x[1] - x[2]);
  if (std::fabs(det) < 1e-6) {
    setpoint(&C->center, 1, 1, 0);
    for (int i = 0; i < 3; i++) copyvertex(&C->aux[i], V[i]);
    return;
  }
  circlethrough(C, x, y);
}

// Corner i of the triangle of three lines, as a vertex.
static void corner(vertex* P, const circle* C, int i, int j) {
  vertonlineline(P, static_cast<const line*>(C->parents[i]),
                 static_cast<const line*>(C->parents[j]));
}

// The point s*A + (1 - s)*B.
static void between(vertex* P, double s, const vertex* A, const vertex* B) {
  setpoint(P, s * A->x + (1 - s) * B->x, s * A->y + (1 - s) * B->y, 1);
}

void circle_lll(circle* C) {
  int k = C->kind - C_LLL1;
  vertex p01, p02, p12;
  corner(&p01, C, 0, 1);
  corner(&p02, C, 0, 2);
  corner(&p12, C, 1, 2);
  double e = vvdist(&p12, &p02), f = vvdist(&p12, &p01);
  double g = vvdist(&p02, &p01);
  if (e == 0 || f == 0 || g == 0) {
    C->center.x = C->center.y = FARFLOAT;
    C->radius = 1;
    return;
  }
  // X and p02 lie at distance e from p12 on its two sides (Y and p12 at
  // distance e from p02), so the midpoints lie on the bisectors there: the
  // internal ones for the incircle, external ones for the excircles.
  vertex X, Y, Q1, Q2;
  between(&X, k % 2 == 0 ? 1 - e / f : 1 + e / f, &p12, &p01);
  between(&Y, k < 2 ? 1 - e / g : 1 + e / g, &p02, &p01);
  between(&Q1, 0.5, &X, &p02);
  between(&Q2, 0.5, &Y, &p12);
  line M1, M2;
  copyvertex(&M1.p1, &p12);
  copyvertex(&M1.p2, &Q1);
  homogenizeline(&M1);
  copyvertex(&M2.p1, &p02);
  copyvertex(&M2.p2, &Q2);
  homogenizeline(&M2);
  vertonlineline(&C->center, &M1, &M2);
  C->radius = vldist(&C->center, static_cast<const line*>(C->parents[0]));
}

// X' = O + (X - O) * R^2 / |X - O|^2.
static void invert(double* x, double* y, const circle* K) {
  double dx = *x - K->center.x, dy = *y - K->center.y;
  double k = K->radius * K->radius / (dx * dx + dy * dy);
  *x = K->center.x + dx * k;
  *y = K->center.y + dy * k;
}

static int finitepoint(double x, double y) {
  return std::isfinite(x) && std::isfinite(y);
}

void circle_ccinvert(circle* C) {
  const circle* S = static_cast<const circle*>(C->parents[0]);
  const circle* K = static_cast<const circle*>(C->parents[1]);
  double cx = S->center.x, cy = S->center.y, r = S->radius;
  // top, bottom and right-hand points of the circle being inverted
  double x[3] = {cx, cx, cx + r}, y[3] = {cy + r, cy - r, cy};
  for (int i = 0; i < 3; i++) invert(&x[i], &y[i], K);
  C->center.w = 1;
  double ox = K->center.x - cx, oy = K->center.y - cy;
  if (std::fabs(ox * ox + oy * oy - r * r) < 0.0001) {
    // Through the centre of inversion: the image is a line. The top or the
    // bottom point may be that centre itself, whose image is at infinity;
    // the right-hand point then stands in for it.
    int i = finitepoint(x[0], y[0]) ? 0 : 2;
    int j = finitepoint(x[1], y[1]) ? 1 : 2;
    setpoint(&C->center, C->center.x, C->center.y, 0);
    setpoint(&C->aux[0], x[i], y[i], 1);
    setpoint(&C->aux[1], x[j], y[j], 1);
    C->aux[2].w = 0;
    return;
  }
  if (circlethrough(C, x, y) == 0) {
    C->center.x = C->center.y = FARDISTANCE;
    C->radius = 1;
  }
}

void circle_linecinvert(circle* C) {
  const line* L = static_cast<const line*>(C->parents[0]);
  const circle* K = static_cast<const circle*>(C->parents[1]);
  C->center.w = 1;
  double x1 = L->p1.x / L->p1.w, y1 = L->p1.y / L->p1.w;
  double x2 = L->p2.x / L->p2.w, y2 = L->p2.y / L->p2.w;
  double x[3] = {x1, x2, 2 * x2 - x1}, y[3] = {y1, y2, 2 * y2 - y1};
  for (int i = 0; i < 3; i++) invert(&x[i], &y[i], K);
  if (circlethrough(C, x, y) == 0) {
    C->center.x = C->center.y = FARDISTANCE;
    C->radius = 1;
  }
}
