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

// Twice the signed area of the triangle of three points.
static double triangledet(const double x[3], const double y[3]) {
  return (x[0] - x[1]) * (y[1] - y[2]) - (y[0] - y[1]) * (x[1] - x[2]);
}

// Centre and radius of the circle through three finite points, worked out
// relative to the first point (squares of coordinates far from the origin
// would cancel away the digits). Returns the determinant so that callers
// can apply their own degeneracy rule; the centre is written only when the
// determinant is not zero.
static double circlethrough(circle* C, const double x[3], const double y[3]) {
  double det = triangledet(x, y);
  if (det == 0) return det;
  double ux = x[1] - x[0], uy = y[1] - y[0];
  double vx = x[2] - x[0], vy = y[2] - y[0];
  double u2 = ux * ux + uy * uy, v2 = vx * vx + vy * vy;
  double d = 2 * (ux * vy - uy * vx);
  double cx = (vy * u2 - uy * v2) / d, cy = (ux * v2 - vx * u2) / d;
  C->center.x = x[0] + cx;
  C->center.y = y[0] + cy;
  C->radius = std::sqrt(cx * cx + cy * cy);
  return det;
}

// Collinear for drawing purposes: the triangle's area is tiny against the
// square of its longest side (for sides near unit length, the threshold
// that has always applied).
static int nearlycollinear(const double x[3], const double y[3]) {
  double m = 0;
  for (int i = 0; i < 3; i++) {
    int j = (i + 1) % 3;
    double dx = x[i] - x[j], dy = y[i] - y[j];
    m = std::fmax(m, dx * dx + dy * dy);
  }
  return std::fabs(triangledet(x, y)) <= 1e-6 * m;
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
  if (nearlycollinear(x, y)) {
    setpoint(&C->center, 1, 1, 0);
    for (int i = 0; i < 3; i++) copyvertex(&C->aux[i], V[i]);
    return;
  }
  circlethrough(C, x, y);
}

// A line as a unit normal n and an offset c (n.X + c = 0), relative to the
// local origin (ox, oy); `far` is how far its defining points lie from that
// origin. Returns 0 for a line without direction.
struct unitline {
  double nx, ny, c, far;
};

static int tounitline(const line* L, double ox, double oy, unitline* u) {
  double x1 = L->p1.x, y1 = L->p1.y, x2 = L->p2.x, y2 = L->p2.y;
  if (L->p1.w != 0 && L->p2.w != 0) {
    x1 /= L->p1.w, y1 /= L->p1.w, x2 /= L->p2.w, y2 /= L->p2.w;
    double nx = y1 - y2, ny = x2 - x1, n = std::hypot(nx, ny);
    if (n == 0) return 0;
    u->nx = nx / n, u->ny = ny / n;
    u->c = -(u->nx * (x1 - ox) + u->ny * (y1 - oy));
    u->far =
        std::fmax(std::hypot(x1 - ox, y1 - oy), std::hypot(x2 - ox, y2 - oy));
    return 1;
  }
  double n = std::hypot(L->a, L->b);  // a line known only by a, b, c
  if (n == 0) return 0;
  u->nx = L->a / n, u->ny = L->b / n;
  u->c = (L->c + L->a * ox + L->b * oy) / n;
  u->far = std::fabs(u->c);
  return 1;
}

// The corner of lines i and j relative to the local origin: (x, y, w),
// w = 0 for parallel lines, whose common direction (x, y) then comes out of
// the same cross product as for any pair.
static void unitcorner(const unitline& a, const unitline& b, double* x,
                       double* y, double* w) {
  *x = a.ny * b.c - b.ny * a.c;
  *y = a.c * b.nx - b.c * a.nx;
  *w = a.nx * b.ny - b.nx * a.ny;
}

static double side(const unitline& u, double x, double y) {
  return u.nx * x + u.ny * y + u.c;
}

// Signs putting the centre on the triangle's inner side of each line: taken
// at the centroid, or, when lines i and j are parallel, at the midpoint of
// the two finite corners pushed towards the corner at infinity.
static int innersides(const unitline u[3], double s[3]) {
  double cx[3], cy[3], cw[3];  // corner k is opposite line k
  unitcorner(u[1], u[2], &cx[0], &cy[0], &cw[0]);
  unitcorner(u[0], u[2], &cx[1], &cy[1], &cw[1]);
  unitcorner(u[0], u[1], &cx[2], &cy[2], &cw[2]);
  int infinite = -1, count = 0;
  for (int k = 0; k < 3; k++)
    if (std::fabs(cw[k]) <= 1e-15) infinite = k, count++;
  if (count > 1) return 0;  // two or three parallel lines
  double qx = 0, qy = 0;
  for (int k = 0; k < 3; k++)
    if (k != infinite) {
      qx += cx[k] / cw[k] / (infinite < 0 ? 3 : 2);
      qy += cy[k] / cw[k] / (infinite < 0 ? 3 : 2);
    }
  for (int k = 0; k < 3; k++) {
    double v =
        k == infinite ? u[k].nx * cx[k] + u[k].ny * cy[k] : side(u[k], qx, qy);
    if (v == 0) return 0;
    s[k] = v > 0 ? 1 : -1;
  }
  return 1;
}

void circle_lll(circle* C) {
  const line* L[3];
  for (int i = 0; i < 3; i++) L[i] = static_cast<const line*>(C->parents[i]);
  // Worked out relative to a point of the first line, so that far from the
  // origin the offsets keep their digits.
  double ox = L[0]->p1.w != 0 ? L[0]->p1.x / L[0]->p1.w : 0;
  double oy = L[0]->p1.w != 0 ? L[0]->p1.y / L[0]->p1.w : 0;
  unitline u[3];
  double s[3];
  C->center.w = 1;
  for (int i = 0; i < 3; i++)
    if (!tounitline(L[i], ox, oy, &u[i])) {
      C->valid = 0;
      return;
    }
  if (!innersides(u, s)) {
    C->valid = 0;
    return;
  }
  // The incircle lies on the inner side of all three lines; the excircle
  // opposite the corner of lines 0 and 2 (C_LLL2), of lines 1 and 2
  // (C_LLL3) or of lines 0 and 1 (C_LLL4) on the outer side of the line
  // missing from that corner.
  static const int flipped[4] = {-1, 1, 0, 2};
  int f = flipped[C->kind - C_LLL1];
  if (f >= 0) s[f] = -s[f];
  // s_i (n_i.X + c_i) = r for the three lines: three linear equations in
  // X and r, solved by Cramer's rule.
  double m[3][3], rhs[3];
  for (int i = 0; i < 3; i++) {
    m[i][0] = u[i].nx, m[i][1] = u[i].ny, m[i][2] = -s[i];
    rhs[i] = -u[i].c;
  }
  double det = m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) -
               m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
               m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
  if (std::fabs(det) <= 1e-12) {  // this circle runs off to infinity
    C->valid = 0;
    return;
  }
  double sol[3];
  for (int c = 0; c < 3; c++) {
    double t[3][3];
    for (int i = 0; i < 3; i++)
      for (int j = 0; j < 3; j++) t[i][j] = j == c ? rhs[i] : m[i][j];
    sol[c] = (t[0][0] * (t[1][1] * t[2][2] - t[1][2] * t[2][1]) -
              t[0][1] * (t[1][0] * t[2][2] - t[1][2] * t[2][0]) +
              t[0][2] * (t[1][0] * t[2][1] - t[1][1] * t[2][0])) /
             det;
  }
  // Three lines through one point touch no circle but a point.
  double far = std::fmax(std::fmax(u[0].far, u[1].far), u[2].far);
  if (!(std::fabs(sol[2]) > 1e-12 * far)) {
    C->valid = 0;
    return;
  }
  setpoint(&C->center, ox + sol[0], oy + sol[1], 1);
  C->radius = std::fabs(sol[2]);
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
  if (std::fabs(ox * ox + oy * oy - r * r) < 0.0001 * r * r) {
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
  // The image of the circle (centre O + d, radius r) is the circle of
  // centre O + d R^2 / (|d|^2 - r^2) and radius r R^2 / ||d|^2 - r^2|:
  // the circle through the images of three of its points, without the
  // digits lost in taking those points far from the origin.
  double R2 = K->radius * K->radius;
  double dx = -ox, dy = -oy, q = dx * dx + dy * dy - r * r;
  C->center.x = K->center.x + dx * R2 / q;
  C->center.y = K->center.y + dy * R2 / q;
  C->radius = r * R2 / std::fabs(q);
}

void circle_linecinvert(circle* C) {
  const line* L = static_cast<const line*>(C->parents[0]);
  const circle* K = static_cast<const circle*>(C->parents[1]);
  C->center.w = 1;
  // The image is the circle through the centre of inversion O whose
  // diameter from O is the image of the foot F of the perpendicular from O:
  // centre O + (F - O) R^2 / (2 |F - O|^2), radius R^2 / (2 |F - O|).
  double ux = L->p1.x / L->p1.w - K->center.x,
         uy = L->p1.y / L->p1.w - K->center.y;
  double vx = L->p2.x / L->p2.w - L->p1.x / L->p1.w;
  double vy = L->p2.y / L->p2.w - L->p1.y / L->p1.w;
  double t = -(ux * vx + uy * vy) / (vx * vx + vy * vy);
  double fx = ux + t * vx, fy = uy + t * vy, f2 = fx * fx + fy * fy;
  if (f2 == 0) {  // through the centre: the image is the line itself
    C->center.x = C->center.y = FARDISTANCE;
    C->radius = 1;
    return;
  }
  double R2 = K->radius * K->radius;
  C->center.x = K->center.x + fx * R2 / (2 * f2);
  C->center.y = K->center.y + fy * R2 / (2 * f2);
  C->radius = R2 / (2 * std::sqrt(f2));
}
