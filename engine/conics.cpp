// conics.cpp: the 5x5 solver, the conics through five points and tangent to
// five lines, line-conic intersections, tangents from a point, and the
// projection of a point onto a conic.
//
// Several formulas divide by a coefficient of the line or the conic that
// can vanish; the engine treats any non-finite result as not drawn
// (recompute.cpp), so these routines do not guard their denominators except
// where a sound answer exists by another route.
#include "engine/conics.h"

#include <cmath>

#include "engine/solvers.h"
#include "render/view.h"

static void setpoint(vertex* P, double x, double y, double w) {
  P->x = x;
  P->y = y;
  P->w = w;
}

static const double TINY = 1e-20;  // stands in for an exactly zero pivot

// Picks the row at or below j with the largest scaled entry in column j;
// the first such row on ties.
static int pivotrow(double a[5][5], const double scale[5], int j) {
  double big = 0;
  int imax = j;
  for (int i = j; i < 5; i++) {
    double sum = a[i][j];
    for (int k = 0; k < j; k++) sum -= a[i][k] * a[k][j];
    a[i][j] = sum;
    double d = scale[i] * std::fabs(sum);
    if (d > big) {
      big = d;
      imax = i;
    }
  }
  return imax;
}

int ludecompose(double a[5][5], int indx[5]) {
  double scale[5];
  for (int i = 0; i < 5; i++) {
    double big = 0;
    for (int j = 0; j < 5; j++) big = std::fmax(big, std::fabs(a[i][j]));
    if (big == 0) return 0;
    scale[i] = 1 / big;
  }
  for (int j = 0; j < 5; j++) {
    for (int i = 0; i < j; i++) {
      double sum = a[i][j];
      for (int k = 0; k < i; k++) sum -= a[i][k] * a[k][j];
      a[i][j] = sum;
    }
    int imax = pivotrow(a, scale, j);
    if (imax != j) {
      for (int k = 0; k < 5; k++) {
        double t = a[imax][k];
        a[imax][k] = a[j][k];
        a[j][k] = t;
      }
      scale[imax] = scale[j];
    }
    indx[j] = imax;
    if (j < 4) {
      if (a[j][j] == 0) a[j][j] = TINY;
      for (int i = j + 1; i < 5; i++) a[i][j] /= a[j][j];
    }
  }
  if (a[4][4] == 0) a[4][4] = TINY;
  return 1;
}

void lubksb(double a[5][5], const int indx[5], double b[5]) {
  int first = -1;  // first non-zero entry of the right-hand side
  for (int i = 0; i < 5; i++) {
    int ip = indx[i];
    double sum = b[ip];
    b[ip] = b[i];
    if (first >= 0)
      for (int j = first; j < i; j++) sum -= a[i][j] * b[j];
    else if (sum != 0)
      first = i;
    b[i] = sum;
  }
  for (int i = 4; i >= 0; i--) {
    double sum = b[i];
    for (int j = i + 1; j < 5; j++) sum -= a[i][j] * b[j];
    b[i] = sum / a[i][i];
  }
}

static void zeroconic(conic* K) {
  for (double& k : K->coef) k = 0;
  K->valid = 0;
}

// The conic K' (x - x0, y - y0) = 0, written out around the origin.
static void translateconic(double* k, double x0, double y0) {
  double A = k[0], B = k[1], C = k[2], D = k[3], E = k[4], F = k[5];
  k[3] = D - 2 * A * x0 - B * y0;
  k[4] = E - B * x0 - 2 * C * y0;
  k[5] = A * x0 * x0 + B * x0 * y0 + C * y0 * y0 - D * x0 - E * y0 + F;
}

// The conic through five points relative to (ox, oy), with F = 1 there.
// Returns 0 when the system is singular or the solution is not finite.
static int conicaround(const conic* K, double ox, double oy, double* k) {
  double a[5][5], b[5];
  int indx[5];
  for (int i = 0; i < 5; i++) {
    const vertex* V = static_cast<const vertex*>(K->parents[i]);
    double x = V->x - ox, y = V->y - oy;
    a[i][0] = x * x;
    a[i][1] = x * y;
    a[i][2] = y * y;
    a[i][3] = x;
    a[i][4] = y;
    b[i] = -1;
  }
  if (!ludecompose(a, indx)) return 0;
  lubksb(a, indx, b);
  for (int i = 0; i < 5; i++) k[i] = b[i];
  k[5] = 1;
  translateconic(k, ox, oy);
  for (int i = 0; i < 6; i++)
    if (!std::isfinite(k[i])) return 0;
  return 1;
}

// The system is set up around the centroid of the five points: far from
// the origin the squared coordinates would otherwise swamp the terms that
// tell the points apart. The result is moved back and normalised so that
// F = 1, as before; a conic through the origin still cannot be written so
// and, like a point at the origin, leaves the conic undefined.
void conic_vvvvv(conic* K) {
  double cx = 0, cy = 0;
  for (int i = 0; i < 5; i++) {
    const vertex* V = static_cast<const vertex*>(K->parents[i]);
    if (V->w == 0) {
      K->valid = 0;
      return;
    }
    if (V->x == 0 && V->y == 0) {  // F = 1 cannot hold there
      zeroconic(K);
      return;
    }
    cx += V->x / 5;
    cy += V->y / 5;
  }
  double* k = K->coef;
  // A conic through the centroid cannot be solved for there; the origin
  // then serves, as it always did.
  if (!conicaround(K, cx, cy, k) && !conicaround(K, 0, 0, k)) {
    zeroconic(K);
    return;
  }
  double f = k[5];
  for (int i = 0; i < 6; i++) k[i] /= f;
  k[5] = 1;
}

// The offset of line L from (ox, oy): c for the line moved by (-ox, -oy),
// from one of its finite points when it has one, for the digits.
static double localoffset(const line* L, double ox, double oy) {
  const vertex& p = L->p1.w != 0 ? L->p1 : L->p2;
  if (p.w == 0) return L->c + L->a * ox + L->b * oy;
  return -(L->a * (p.x / p.w - ox) + L->b * (p.y / p.w - oy));
}

// A point near the lines: the mean of their finite defining points.
static void linescentre(const conic* K, double* ox, double* oy) {
  int n = 0;
  *ox = *oy = 0;
  for (int i = 0; i < 5; i++) {
    const line* L = static_cast<const line*>(K->parents[i]);
    if (L->p1.w == 0) continue;
    *ox += L->p1.x / L->p1.w;
    *oy += L->p1.y / L->p1.w;
    n++;
  }
  if (n) *ox /= n, *oy /= n;
}

// Solved relative to a point near the lines and moved back, so that far
// from the origin the offsets keep their digits.
void conic_lllll(conic* K) {
  double a[5][5], b[5];
  int indx[5];
  double ox, oy;
  linescentre(K, &ox, &oy);
  for (int i = 0; i < 5; i++) {
    const line* L = static_cast<const line*>(K->parents[i]);
    double c = localoffset(L, ox, oy);
    a[i][0] = L->a * L->a;
    a[i][1] = L->a * L->b;
    a[i][2] = L->b * L->b;
    a[i][3] = L->a * c;
    a[i][4] = L->b * c;
    b[i] = -c * c;
  }
  if (!ludecompose(a, indx)) {
    zeroconic(K);
    return;
  }
  lubksb(a, indx, b);
  // The point conic is the adjugate of the dual conic's matrix.
  double U = b[0], V = b[1], W = b[2], X = b[3], Y = b[4];
  double* k = K->coef;
  k[0] = W - Y * Y / 4;
  k[1] = X * Y / 2 - V;
  k[2] = U - X * X / 4;
  k[3] = V * Y / 2 - W * X;
  k[4] = V * X / 2 - U * Y;
  k[5] = U * W - V * V / 4;
  translateconic(k, ox, oy);
  if (k[0] > 1000 || k[0] < -1000) {
    for (int i = 1; i < 6; i++) k[i] /= k[0];
    k[0] = 1;
  }
}

void vert_lineconic(vertex* P) {
  const line* L = static_cast<const line*>(P->parents[0]);
  const double* k = static_cast<const conic*>(P->parents[1])->coef;
  double A = k[0], B = k[1], C = k[2], D = k[3], E = k[4], F = k[5];
  double a = L->a, b = L->b, c = L->c;
  int first = P->kind == V_LCONIC1;
  if (a == 0) {  // horizontal: solve for x at y0
    double y0 = -c / b;
    double q = D + B * y0, r = C * y0 * y0 + E * y0 + F;
    double disc = q * q - 4 * A * r;
    if (disc < 0) {
      setpoint(P, 0, 0, 0);
      return;
    }
    double x = first ? (std::sqrt(disc) - q) / (2 * A)
                     : (-q - std::sqrt(disc)) / (2 * A);
    setpoint(P, x, y0, 1);
    return;
  }
  double p = A * b * b / (a * a) - B * b / a + C;
  double q = 2 * A * b * c / (a * a) - B * c / a - D * b / a + E;
  double r = A * c * c / (a * a) - D * c / a + F;
  double disc = q * q - 4 * p * r;
  if (disc < 0) {
    setpoint(P, 0, 0, 0);
    return;
  }
  double y = first ? (std::sqrt(disc) - q) / (2 * p)
                   : (-q - std::sqrt(disc)) / (2 * p);
  setpoint(P, -b * y / a - c / a, y, 1);
}

static int isparent(const primitive* child, const primitive* p, int n) {
  for (int i = 0; i < n; i++)
    if (child->parents[i] == p) return 1;
  return 0;
}

static int onconicbyconstruction(const vertex* V, const conic* K) {
  if (K->kind == CONIC_VVVVV && isparent(K, V, 5)) return 1;
  switch (V->kind) {
    case VONCONIC: return V->parents[0] == K;
    case V_LCONIC1:
    case V_LCONIC2: return V->parents[1] == K;
    default: return 0;  // any other point may lie anywhere
  }
}

static void lineatinfinity(line* L) {
  setpoint(&L->p1, 1000, -1, 0);
  setpoint(&L->p2, 1000, 1, 0);
  homogenizeline(L);
}

// The tangent point on the polar line P x + Q y + R = 0 when Q is zero: the
// polar is the vertical x = -R/P, so solve the conic for y there.
static void verticalpolar(line* L, const double* k, double P, double R,
                          int first) {
  double A = k[0], B = k[1], C = k[2], D = k[3], E = k[4], F = k[5];
  double x = -R / P;
  double beta = B * x + E, gamma = A * x * x + D * x + F;
  double disc = beta * beta - 4 * C * gamma;
  if (disc < 0) {
    lineatinfinity(L);
    L->valid = 0;
    return;
  }
  double y = first ? (std::sqrt(disc) - beta) / (2 * C)
                   : (-beta - std::sqrt(disc)) / (2 * C);
  setpoint(&L->p1, x, y, 1);
}

void linetangenttoconic(line* L) {
  const conic* K = static_cast<const conic*>(L->parents[0]);
  const vertex* V = static_cast<const vertex*>(L->parents[1]);
  double x0 = V->x, y0 = V->y;
  // The polar construction is made with V as the origin: far from the
  // origin the squared coordinates would swamp the conic's shape.
  double k[6];
  for (int i = 0; i < 6; i++) k[i] = K->coef[i];
  translateconic(k, -x0, -y0);
  double A = k[0], B = k[1], C = k[2], D = k[3], E = k[4], F = k[5];
  int first = L->kind == L_CONICV1;
  if (V->w == 0) {
    lineatinfinity(L);
    return;
  }
  if (onconicbyconstruction(V, K)) {  // the gradient at V is (D, E)
    double n = std::fabs(D) + std::fabs(E);
    setpoint(&L->p1, x0, y0, 1);
    setpoint(&L->p2, x0 + E / n, y0 - D / n, 1);
    homogenizeline(L);
    return;
  }
  // the polar line of V: P x + Q y + R = 0
  double P = D / 2, Q = E / 2, R = F;
  if (Q == 0) {
    verticalpolar(L, k, P, R, first);
    if (!L->valid) return;
  } else {
    double alpha = C * P * P + A * Q * Q - B * P * Q;
    double beta = 2 * C * P * R - B * Q * R + D * Q * Q - E * P * Q;
    double gamma = F * Q * Q + C * R * R - E * R * Q;
    double disc = beta * beta - 4 * alpha * gamma;
    if (disc < 0) {  // V inside the conic
      lineatinfinity(L);
      L->valid = 0;
      return;
    }
    double x = first ? (std::sqrt(disc) - beta) / (2 * alpha)
                     : (-beta - std::sqrt(disc)) / (2 * alpha);
    setpoint(&L->p1, x, (-R - x * P) / Q, 1);
  }
  setpoint(&L->p1, L->p1.x + x0, L->p1.y + y0, 1);
  setpoint(&L->p2, x0, y0, 1);
  homogenizeline(L);
}

// Search state of projecttoconic: the best point so far and its squared
// distance to the point being projected.
struct conicsearch {
  double px, py;
  double best, bx, by;
};

static void consider(conicsearch* s, double x, double y) {
  double d = (x - s->px) * (x - s->px) + (y - s->py) * (y - s->py);
  if (d < s->best) {  // non-finite roots never win
    s->best = d;
    s->bx = x;
    s->by = y;
  }
}

// Roots in y on the vertical x (a is C, b is E + B x, c is A x^2 + D x + F).
static void scanvertical(conicsearch* s, const double* k, double x) {
  double b = k[4] + k[1] * x, c = k[0] * x * x + k[3] * x + k[5];
  double disc = b * b - 4 * k[2] * c;
  if (disc < 0) return;
  consider(s, x, (std::sqrt(disc) - b) / (2 * k[2]));
  consider(s, x, (-b - std::sqrt(disc)) / (2 * k[2]));
}

static void scanhorizontal(conicsearch* s, const double* k, double y) {
  double b = k[3] + k[1] * y, c = k[2] * y * y + k[4] * y + k[5];
  double disc = b * b - 4 * k[0] * c;
  if (disc < 0) return;
  consider(s, (std::sqrt(disc) - b) / (2 * k[0]), y);
  consider(s, (-b - std::sqrt(disc)) / (2 * k[0]), y);
}

// Steps of the fine scans: 0.02 / 0.0003, rounded up. Far from the origin
// adding 0.0003 may not change x at all, so the scans count their steps
// rather than trust the sum to pass the end.
static const int FINESTEPS = 67;

// Q(x, y) and its gradient.
static double conicvalue(const double* k, double x, double y, double* gx,
                         double* gy) {
  *gx = 2 * k[0] * x + k[1] * y + k[3];
  *gy = k[1] * x + 2 * k[2] * y + k[4];
  return k[0] * x * x + k[1] * x * y + k[2] * y * y + k[3] * x + k[4] * y +
         k[5];
}

// 1 when (x, y) lies on the conic as closely as its rounding allows.
static int onconic(const double* k, double x, double y) {
  double gx, gy;
  double q = conicvalue(k, x, y, &gx, &gy);
  double g = std::hypot(gx, gy);
  double scale = 1 + std::fabs(x) + std::fabs(y);
  return g > 0 && std::fabs(q) <= 1e-14 * g * scale;
}

// Newton's method on "on the conic, and the normal there passes through
// (px, py)", started from the scan's answer, which is close. Keeps the
// start when the iteration does not settle.
static void refinefoot(const double* k, double px, double py, double* bx,
                       double* by) {
  double x = *bx, y = *by;
  double start = std::hypot(x - px, y - py);
  for (int i = 0; i < 30; i++) {
    double qx, qy;
    double f1 = conicvalue(k, x, y, &qx, &qy);
    double f2 = (x - px) * qy - (y - py) * qx;
    double j11 = qx, j12 = qy;
    double j21 = qy + (x - px) * k[1] - (y - py) * 2 * k[0];
    double j22 = (x - px) * 2 * k[2] - qx - (y - py) * k[1];
    double det = j11 * j22 - j12 * j21;
    if (det == 0 || !std::isfinite(det)) return;
    double dx = (f2 * j12 - f1 * j22) / det;
    double dy = (f1 * j21 - f2 * j11) / det;
    x += dx;
    y += dy;
    if (!std::isfinite(x) || !std::isfinite(y)) return;
    if (std::fabs(dx) + std::fabs(dy) <= 1e-16 * (std::fabs(x) + std::fabs(y)))
      break;
  }
  // A step that ran off to another part of the conic is not the refinement
  // of the scan's answer.
  if (!(std::hypot(x - px, y - py) <= start * (1 + 1e-9))) return;
  *bx = x;
  *by = y;
}

static int inview(double x, double y) {
  return x >= fxmin && x <= fxmax && y >= fymin && y <= fymax;
}

void projecttoconic(vertex* P, const conic* K) {
  // A point already on the conic stays put, so that reading back a saved
  // point gives the very numbers that were saved.
  if (P->w != 0 && inview(P->x, P->y) && onconic(K->coef, P->x, P->y)) {
    P->w = 1;
    return;
  }
  conicsearch s = {P->x, P->y, 1e30, 0, 0};
  const double* k = K->coef;
  for (double x = fxmin; x <= fxmax; x += 0.01) scanvertical(&s, k, x);
  for (double y = fymin; y <= fymax; y += 0.01) scanhorizontal(&s, k, y);
  // the refining windows are fixed before each scan moves the best point
  double bx = s.bx;
  double x = bx - 0.01;
  for (int i = 0; i < FINESTEPS && x <= bx + 0.01; i++, x += 0.0003)
    scanvertical(&s, k, x);
  double by = s.by;
  double y = by - 0.01;
  for (int i = 0; i < FINESTEPS && y <= by + 0.01; i++, y += 0.0003)
    scanhorizontal(&s, k, y);
  if (s.best < 1e7) {
    refinefoot(k, s.px, s.py, &s.bx, &s.by);
    setpoint(P, s.bx, s.by, 1);
  } else
    P->w = 0;
}
