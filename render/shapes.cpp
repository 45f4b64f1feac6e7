// shapes.cpp: line ends, tick marks, circle tables, angle marks, conic axes
// and curve points shared by the screen and the page.
#include "render/shapes.h"

#include <algorithm>
#include <cmath>

#include "language/symtable.h"
#include "render/view.h"

const double TWOPI = 6.2831853071794;

// ---- lines ----

void wholeline(double a, double b, double c, wpoint* P, wpoint* Q) {
  if (a == 0 && b == 0) {
    *P = *Q = {1e30, 1e30};
  } else if (fabs(b) >= fabs(a)) {
    *P = {-10, -(c - 10 * a) / b};
    *Q = {10, -(c + 10 * a) / b};
  } else {
    *P = {-(c - 10 * b) / a, -10};
    *Q = {-(c + 10 * b) / a, 10};
  }
}

void lineendpoints(const line* l, int where, wpoint* P, wpoint* Q) {
  if (l->p1.w == 0 || l->p2.w == 0 || l->linetype == RW_LONGLINE) {
    wholeline(l->a, l->b, l->c, P, Q);
    return;
  }
  *P = {l->p1.x, l->p1.y};
  *Q = {l->p2.x, l->p2.y};
  if (l->linetype != RW_RAY12) return;
  double dx = Q->x - P->x, dy = Q->y - P->y;
  if (where == ONSCREEN) {
    *Q = {Q->x + 100 * dx, Q->y + 100 * dy};
    return;
  }
  double len = sqrt(dx * dx + dy * dy);
  if (len > 0) *Q = {Q->x + 3 * dx / len, Q->y + 3 * dy / len};
}

void lineofpoints(const vertex* p, const vertex* q, wpoint* P, wpoint* Q) {
  double l0 = p->y * q->w - p->w * q->y;
  double l1 = p->w * q->x - p->x * q->w;
  double l2 = p->x * q->y - q->x * p->y;
  wholeline(l0, l1, l2, P, Q);
}

wpoint linelabelanchor(wpoint P, wpoint Q) {
  wpoint m = {(P.x + Q.x) / 2, (P.y + Q.y) / 2 + 0.02f};
  if ((P.x < Q.x + 0.001 && P.y < Q.y + 0.001) ||
      (P.x > Q.x - 0.001 && P.y > Q.y - 0.001))
    m.y -= fbsize;
  return m;
}

int linetickmarks(int linemark, wpoint P, wpoint Q, double root,
                  wpoint ticks[3][2]) {
  static const double offsets[3][3] = {
      {0, 0, 0}, {-0.01, 0.01, 0}, {-0.02, 0.02, 0}};
  int n = linemark - RW_LINE0SLASH;
  if (n < 1 || n > 3) return 0;
  double dx = Q.x - P.x, dy = Q.y - P.y;
  double len = sqrt(dx * dx + dy * dy);
  if (!(len > 0) || !std::isfinite(len)) return 0;
  wpoint u = {dx / len, dy / len};
  wpoint v = {root * (u.x + u.y), root * (u.y - u.x)};
  wpoint m = {(P.x + Q.x) / 2, (P.y + Q.y) / 2};
  for (int i = 0; i < n; i++) {
    double o = offsets[n - 1][i];
    wpoint c = {m.x + o * u.x, m.y + o * u.y};
    ticks[i][0] = {c.x + 0.03 * v.x, c.y + 0.03 * v.y};
    ticks[i][1] = {c.x - 0.03 * v.x, c.y - 0.03 * v.y};
  }
  return n;
}

// ---- circles ----

int circlestylefor(double r) {
  if (r < 4.0) return CIRCLE_ROUGH;
  if (r <= 200) return CIRCLE_FINE;
  return CIRCLE_HUGE;
}

int straddlestep(double radius, double tolerance, int n, double* factor) {
  *factor = 1;
  if (!(radius > 0) || !(tolerance > 0) || !std::isfinite(radius)) return 1;
  // A chord of half-angle a through points at radius R / cos^2(a/2)
  // strays R tan^2(a/2) either way.
  double a = 2 * std::atan(std::sqrt(tolerance / radius));
  a = std::min(a, LONGESTCHORD / (2 * radius));
  int step = (int)(a * n / M_PI);
  if (step < 2) return 1;
  step = std::min(step, n / 3);
  double h = std::tan(M_PI * step / n / 2);
  *factor = 1 + h * h;
  return step;
}

double ringstep(double radius, double tolerance) {
  // A chord spanning 2a strays R (1 - cos a) at its middle; past a
  // quarter turn a chord shows as a corner whatever the size.
  if (!(radius > tolerance)) return M_PI / 2;
  double a = std::min(2 * std::acos(1 - tolerance / radius), M_PI / 2);
  return std::min(a, LONGESTCHORD / radius);
}

static void fillunitcircle(float* t, int n) {
  for (int k = 0; k < n; k++) {
    t[2 * k] = (float)cos(k * TWOPI / n);
    t[2 * k + 1] = (float)sin(k * TWOPI / n);
  }
}

const float* roughcircletable() {
  static float t[2 * ROUGHCIRCLEPOINTS];
  static int built = 0;
  if (!built) fillunitcircle(t, ROUGHCIRCLEPOINTS), built = 1;
  return t;
}

const float* finecircletable() {
  static float t[2 * FINECIRCLEPOINTS];
  static int built = 0;
  if (!built) fillunitcircle(t, FINECIRCLEPOINTS), built = 1;
  return t;
}

const float* circpointoutline() {
  static float t[2 * CIRCPOINTPOINTS];
  static double builtfor = -1;
  if (builtfor != dpbsize) {
    double r = 0.707106781188 * dpbsize;
    for (int k = 0; k < CIRCPOINTPOINTS; k++) {
      t[2 * k] = (float)(r * cos(k * TWOPI / CIRCPOINTPOINTS));
      t[2 * k + 1] = (float)(r * sin(k * TWOPI / CIRCPOINTPOINTS));
    }
    builtfor = dpbsize;
  }
  return t;
}

// Crossings with the left and right edges; 0 when either edge is missed.
static int sidestrokes(double cx, double cy, double r, wpoint s[2][2]) {
  double d1 = r * r - (fxmax - cx) * (fxmax - cx);
  double d2 = r * r - (fxmin - cx) * (fxmin - cx);
  if (d1 < 0 || d2 < 0) return 0;
  double h1 = sqrt(d1), h2 = sqrt(d2);
  s[0][0] = {fxmax, cy + h1}, s[0][1] = {fxmin, cy + h2};
  s[1][0] = {fxmax, cy - h1}, s[1][1] = {fxmin, cy - h2};
  return 2;
}

// Crossings with the top and bottom edges.
static int topstrokes(double cx, double cy, double r, wpoint s[2][2]) {
  double d1 = r * r - (fymax - cy) * (fymax - cy);
  double d2 = r * r - (fymin - cy) * (fymin - cy);
  if (d1 < 0 || d2 < 0) return 0;
  double g1 = sqrt(d1), g2 = sqrt(d2);
  s[0][0] = {cx + g1, fymax}, s[0][1] = {cx + g2, fymin};
  s[1][0] = {cx - g1, fymax}, s[1][1] = {cx - g2, fymin};
  return 2;
}

int hugecirclestrokes(double cx, double cy, double r, wpoint strokes[2][2]) {
  int tall = fxmax - fxmin <= fymax - fymin;
  if (tall && sidestrokes(cx, cy, r, strokes)) return 2;
  if (topstrokes(cx, cy, r, strokes)) return 2;
  if (tall) return 0;  // the side pair failed already
  return sidestrokes(cx, cy, r, strokes);
}

int degeneratecirclepoints(const circle* c, const vertex** p,
                           const vertex** q) {
  // ORDER: by the sum of 1, 2, 4 for finite aux[0], aux[1], aux[2].
  static const int first[8] = {-1, 0, 1, 0, 2, 0, 0, 0};
  static const int second[8] = {-1, 1, 0, 1, 0, 2, 1, 1};
  int f = (c->aux[0].w != 0) + 2 * (c->aux[1].w != 0) + 4 * (c->aux[2].w != 0);
  if (f == 0) return 0;
  *p = &c->aux[first[f]];
  *q = &c->aux[second[f]];
  return 1;
}

// ---- angles and arcs ----

// ORDER RESERVED: RW_NOANGLE .. RW_RIGHT.
static const anglemarkset anglemarks[] = {
    {0, {0, 0, 0}, 0, 0, 0, 0},                 // .noangle
    {1, {0.09, 0, 0}, 0, 0, 0, 0},              // .ring1
    {2, {0.07, 0.09, 0}, 0, 0, 0, 0},           // .ring2
    {3, {0.05, 0.07, 0.09}, 0, 0, 0, 0},        // .ring3
    {1, {0.09, 0, 0}, 1, 0.11, 0.07, 0},        // .slash1
    {2, {0.07, 0.09, 0}, 1, 0.11, 0.05, 0},     // .slash2
    {3, {0.05, 0.07, 0.09}, 1, 0.11, 0.03, 0},  // .slash3
    {1, {0.09, 0, 0}, 2, 0.11, 0.07, 0},        // .dslash1
    {2, {0.07, 0.09, 0}, 2, 0.11, 0.05, 0},     // .dslash2
    {3, {0.05, 0.07, 0.09}, 2, 0.11, 0.03, 0},  // .dslash3
    {1, {0.07, 0, 0}, 0, 0, 0, 1},              // .right
};
static_assert(sizeof(anglemarks) / sizeof(anglemarks[0]) ==
                  RW_RIGHT - RW_NOANGLE + 1,
              "one mark per angle type");

const anglemarkset* anglemarkfor(int angletype) {
  if (angletype < RW_NOANGLE || angletype > RW_RIGHT) return nullptr;
  return &anglemarks[angletype - RW_NOANGLE];
}

double anglemarkscale() {
  if (ysize == 0) return 1;
  return (double)xsize / ysize;
}

void anglearms(wpoint P, wpoint V, wpoint Q, double* alpha, double* beta) {
  *alpha = atan2(P.y - V.y, P.x - V.x);
  *beta = atan2(Q.y - V.y, Q.x - V.x);
  if (*beta < *alpha) *beta += TWOPI;
}

void anglestrip(wpoint V, double R, double alpha, double beta, double step,
                std::vector<wpoint>* out) {
  double span = beta - alpha, n = 1;
  if (step > 0 && span > 0)
    n = std::min(std::ceil(span / step), RINGPOINTS - 1.0);
  if (!(n >= 1)) n = 1;  // a span or step that is not a number
  for (int i = 0; i < (int)n; i++) {
    double t = alpha + span * i / n;
    out->push_back({V.x + R * cos(t), V.y + R * sin(t)});
  }
  out->push_back({V.x + R * cos(beta), V.y + R * sin(beta)});
}

void rightanglepoints(wpoint V, double R, double alpha, double beta,
                      double diag, wpoint pts[3]) {
  double m = (alpha + beta) / 2;
  pts[0] = {V.x + R * cos(alpha), V.y + R * sin(alpha)};
  pts[1] = {V.x + diag * R * cos(m), V.y + diag * R * sin(m)};
  pts[2] = {V.x + R * cos(beta), V.y + R * sin(beta)};
}

void slashsegment(wpoint V, double R1, double R2, double m, wpoint seg[2]) {
  seg[0] = {V.x + R1 * cos(m), V.y + R1 * sin(m)};
  seg[1] = {V.x + R2 * cos(m), V.y + R2 * sin(m)};
}

wpoint anglelabelanchor(wpoint V, double m) {
  double r = gfontsize * 0.14 / 16;
  return {V.x + r * cos(m), V.y + r * sin(m)};
}

// Parent i as a finite point, divided through by w.
static int finiteparent(const primitive* p, int i, wpoint* out) {
  const primitive* q = p->parents[i];
  if (!q || q->type != RW_VERTEX) return 0;
  const vertex* v = (const vertex*)q;
  if (v->w == 0) return 0;
  *out = {v->x / v->w, v->y / v->w};
  return 1;
}

int anglecorners(const angle* a, wpoint* P, wpoint* V, wpoint* Q) {
  return a->kind == A_VVV && finiteparent(a, 0, P) && finiteparent(a, 1, V) &&
         finiteparent(a, 2, Q);
}

int arccorners(const arc* a, wpoint* A, wpoint* C, wpoint* B) {
  return a->kind == ARC_VVV && finiteparent(a, 0, A) && finiteparent(a, 1, C) &&
         finiteparent(a, 2, B);
}

double arcmarkradius(wpoint A, wpoint C) {
  double r = sqrt((A.x - C.x) * (A.x - C.x) + (A.y - C.y) * (A.y - C.y));
  if (xsize == 0) return r;
  return r * ysize / xsize;
}

// ---- polygons ----

const vertex* polygoncorner(const polygon* p, int i) {
  if (i < 0 || i >= p->nvert || i >= MAXPOLYVERT) return nullptr;
  const primitive* q = p->parents[i];
  if (q && q->symbol && q->symbol->prim) q = q->symbol->prim;
  if (!q || q->type != RW_VERTEX) return nullptr;
  return (const vertex*)q;
}

const uint8_t* polygonstipple(int polytype) {
  static uint8_t masks[3][128];
  static int built = 0;
  if (!built) {
    for (int k = 0; k < 32; k++)
      for (int j = 0; j < 4; j++) {
        masks[0][4 * k + j] = (uint8_t)(1 << (k % 8));
        masks[1][4 * k + j] = (uint8_t)(128 >> (k % 8));
        masks[2][4 * k + j] = 128;
      }
    built = 1;
  }
  switch (polytype) {
    case RW_HASHPOLY: return masks[0];
    case RW_HASHPOLY1: return masks[1];
    case RW_HASHPOLY2: return masks[2];
    default: return nullptr;  // solid, outline and unknown types
  }
}

// ---- conics ----

static void rotateconic(const double q[6], conicaxes* k) {
  double a = q[0], b = q[1], c = q[2], d = q[3], e = q[4];
  k->theta = atan2(b, a - c) / 2;
  double C = cos(k->theta), S = sin(k->theta);
  k->A = a * C * C + b * C * S + c * S * S;
  k->B = a * S * S - b * C * S + c * C * C;
  k->D = d * C + e * S;
  k->E = e * C - d * S;
  k->f = q[5];
  k->uc = k->vc = k->F = k->Ap = k->Bp = 0;
  k->sx = k->sy = 1;
  k->turn90 = 0;
  k->shape = CONIC_NONE;
}

// Centre, F, A', B' and the shape of a central conic.
static void centralconic(conicaxes* k, int linepairs) {
  k->uc = k->D / (-2 * k->A);
  k->vc = k->E / (-2 * k->B);
  k->F = k->A * k->uc * k->uc + k->B * k->vc * k->vc + k->D * k->uc +
         k->E * k->vc + k->f;
  if (linepairs && fabs(k->F) < 1e-8) {
    k->shape = CONIC_LINEPAIR;
    return;
  }
  k->Ap = k->A / k->F;
  k->Bp = k->B / k->F;
  if (k->Ap > 0 && k->Bp > 0) {
    k->shape = CONIC_IMAGINARY;
    return;
  }
  k->sx = 1 / sqrt(fabs(k->Ap));
  k->sy = 1 / sqrt(fabs(k->Bp));
  if (k->Ap < 0 && k->Bp < 0) {
    k->shape = CONIC_ELLIPSE;
  } else {
    k->shape = CONIC_HYPERBOLA;
    k->turn90 = k->Bp > 0;
  }
}

// Drawing non-numbers helps nobody: a shape whose numbers are not all
// finite is not drawn.
static void dropnonfinite(conicaxes* k) {
  double all[] = {k->theta, k->A,  k->B,  k->D,  k->E,  k->f,
                  k->uc,    k->vc, k->Ap, k->Bp, k->sx, k->sy};
  for (double x : all)
    if (!std::isfinite(x)) k->shape = CONIC_NONE;
  if (!(k->sx > 0 && k->sy > 0)) k->shape = CONIC_NONE;
}

void screenconic(const double coef[6], conicaxes* k) {
  rotateconic(coef, k);
  if (fabs(k->A) < 0.005 || fabs(k->B) < 0.005) {
    // Only the coefficient divided by must be away from zero: a parabola
    // whose axis runs through the rotated origin (y = x^2) is drawn too.
    if (fabs(k->A) < 0.005 && fabs(k->D) >= 1e-8)
      k->shape = CONIC_PARABOLA_U;
    else if (fabs(k->B) < 0.005 && fabs(k->E) >= 1e-8)
      k->shape = CONIC_PARABOLA_V;
  } else {
    centralconic(k, 1);
  }
  dropnonfinite(k);
}

void pageconic(const double coef[6], conicaxes* k) {
  rotateconic(coef, k);
  centralconic(k, 0);
  if (k->shape == CONIC_ELLIPSE || k->shape == CONIC_HYPERBOLA)
    dropnonfinite(k);
}

void parabolapoints(const conicaxes* k, std::vector<wpoint>* out) {
  if (k->shape == CONIC_PARABOLA_U) {
    double h = 2 * (fymax - fymin) / 400;
    for (double v = fymin - 20 * h; v < fymax + 20 * h; v += h)
      out->push_back({-(k->B * v * v + k->E * v + k->f) / k->D, v});
  } else if (k->shape == CONIC_PARABOLA_V) {
    double h = 2 * (fxmax - fxmin) / 400;
    for (double u = fxmin - 20 * h; u < fxmax + 20 * h; u += h)
      out->push_back({u, -(k->A * u * u + k->D * u + k->f) / k->E});
  }
}

const wpoint* hyperbolabranch(int upper) {
  static wpoint branch[2][HYPPOINTS];
  static int built = 0;
  if (!built) {
    branch[0][0] = {-1e6, 1e6};
    branch[0][HYPPOINTS - 1] = {1e6, 1e6};
    for (int i = 1; i < HYPPOINTS - 1; i++) {
      double x = (i - 1) * 10.0 / 398 - 5;
      branch[0][i] = {x, sqrt(1 + x * x)};
    }
    for (int i = 0; i < HYPPOINTS; i++)
      branch[1][i] = {branch[0][i].x, -branch[0][i].y};
    built = 1;
  }
  return branch[upper ? 0 : 1];
}

// ---- Bezier curves ----

void bezierpoints(const wpoint ctl[4], wpoint out[BEZIERPOINTS]) {
  for (int i = 0; i < BEZIERPOINTS; i++) {
    double t = i / 32.0, s = 1 - t;
    double w0 = s * s * s, w1 = 3 * s * s * t, w2 = 3 * s * t * t,
           w3 = t * t * t;
    out[i] = {w0 * ctl[0].x + w1 * ctl[1].x + w2 * ctl[2].x + w3 * ctl[3].x,
              w0 * ctl[0].y + w1 * ctl[1].y + w2 * ctl[2].y + w3 * ctl[3].y};
  }
}

// ---- the value column ----

const char* valuename(const primitive* p) {
  if (p->label) return p->label;
  if (p->symbol) return p->symbol->name;
  return "";
}
