// measures.cpp: the numbers the relation finder compares, and its numeric
// predicates.
//
// Every tolerance here is part of what the finder reports: loosening one
// makes false relations survive sampling, tightening one kills true ones
// through rounding. Points at infinity give sentinels (2.0 for a cosine,
// 1e6 for a squared length or doubled area, 1e30 for a distance) that no
// predicate accepts as an ordinary value.
//
// A relation must not depend on where the diagram lies, how it is turned or
// how large it is. Directions are compared through the sine and cosine of
// the angle between them, never through slopes; lines are compared through
// unit normals; and every tolerance on a length, an area or a product of
// them is given for a diagram of ordinary size and multiplied by the power
// of `relationscale` that matches its dimension.
#include <algorithm>
#include <cmath>

#include "engine/solvers.h"
#include "relations/finder.h"

namespace {

double px(const vertex* v) {
  return v->x / v->w;
}
double py(const vertex* v) {
  return v->y / v->w;
}

double dist2(const vertex* a, const vertex* b) {
  double dx = px(a) - px(b), dy = py(a) - py(b);
  return dx * dx + dy * dy;
}

double det3(double a0, double a1, double a2, double b0, double b1, double b2,
            double c0, double c1, double c2) {
  return a0 * (b1 * c2 - b2 * c1) - a1 * (b0 * c2 - b2 * c0) +
         a2 * (b0 * c1 - b1 * c0);
}

// The angle between two directions is compared at the tolerance that
// slopes compared at 0.004 gave for lines near 45 degrees, where a slope
// moves twice as fast as the angle.
const double ANGLETOL = 0.002;

double normal(const line* l) {
  return std::hypot(l->a, l->b);
}

}  // namespace

double relationscale = 1;
const double REFSIZE = 1.0;  // a diagram's median point distance at size 1
double relationcx, relationcy;

double lengthtol(double t) {
  return t * relationscale;
}
double areatol(double t) {
  return t * relationscale * relationscale;
}
double producttol(double t) {
  return areatol(areatol(t));
}

// A product of measures (a length or squared length times another, a
// doubled area times another) is compared with the tolerance of its
// dimension while it is of ordinary size, and relative to its own size
// once it is larger: a sample that sends a point far off multiplies such
// products by orders of magnitude, and their rounding with them, so a
// fixed tolerance would kill a true relation there.
double productspan(double p, double q, double unit) {
  return std::max(unit, std::max(std::fabs(p), std::fabs(q)));
}
int sameproduct(double p, double q, double t, double unit) {
  return std::fabs(p - q) < t * productspan(p, q, unit);
}
double productunit() {
  return producttol(1);
}

// The size is the median distance between two points of the diagram (of
// its first 400 shown points: far-off intersections do not sway a median)
// against REFSIZE, the median of diagrams drawn in the window, for which
// the tolerances were chosen. The centre is the mean of the same points.
void setrelationscale(const std::vector<vertex*>& pts) {
  relationscale = 1;
  relationcx = relationcy = 0;
  std::vector<const vertex*> use;
  for (const vertex* v : pts)
    if (shown(v) && use.size() < 400) use.push_back(v);
  if (use.empty()) return;
  for (const vertex* v : use) relationcx += px(v), relationcy += py(v);
  relationcx /= (double)use.size();
  relationcy /= (double)use.size();
  std::vector<double> d;
  for (size_t i = 0; i < use.size(); i++)
    for (size_t j = i + 1; j < use.size(); j++) {
      double r = dist2(use[i], use[j]);
      if (r > 0 && std::isfinite(r)) d.push_back(r);
    }
  if (d.empty()) return;
  std::nth_element(d.begin(), d.begin() + d.size() / 2, d.end());
  double median = std::sqrt(d[d.size() / 2]);
  relationscale = median / REFSIZE;
}

double vertdist(const vertex* a, const vertex* b) {
  if (a->w == 0 || b->w == 0) return 1e30;
  return std::sqrt(dist2(a, b));
}

double findcosine(int i) {
  const anglerec& g = anglelist[i];
  const vertex* a = vertlist[g.v[0]];
  const vertex* b = vertlist[g.v[1]];
  const vertex* c = vertlist[g.v[2]];
  if (a->w == 0 || b->w == 0 || c->w == 0) return 2.0;
  double ba = dist2(b, a), bc = dist2(b, c), ac = dist2(a, c);
  if (ba * bc == 0) return 2.0;
  return (ba + bc - ac) / (2 * std::sqrt(ba * bc));
}

double findsegmentlength(int i) {
  const vertex* a = vertlist[segmentlist[i].v[0]];
  const vertex* b = vertlist[segmentlist[i].v[1]];
  if (a->w == 0 || b->w == 0) return 1e6;
  return dist2(a, b);
}

double findtrianglearea(int i) {
  const vertex* p[3];
  for (int k = 0; k < 3; k++) {
    p[k] = vertlist[trianglelist[i].v[k]];
    if (p[k]->w == 0) return 1e6;
  }
  double x1 = px(p[0]), y1 = py(p[0]), x2 = px(p[1]), y2 = py(p[1]);
  double x3 = px(p[2]), y3 = py(p[2]);
  return std::fabs(x1 * y2 - y1 * x2 + x2 * y3 - y2 * x3 + x3 * y1 - y3 * x1);
}

// Within 0.0001 of each other, measured the same in every direction.
int equalvertices(const vertex* a, const vertex* b) {
  return a->w == 1 && b->w == 1 &&
         std::hypot(a->x - b->x, a->y - b->y) < lengthtol(0.0001);
}

// One line: directions within 0.0001 rad, and the second passes within
// 0.0001 of the point of the first nearest the diagram's centre (not of the
// origin, which may lie anywhere).
int equallines(const line* l1, const line* l2) {
  double n1 = normal(l1), n2 = normal(l2);
  if (!(n1 > 0) || !(n2 > 0)) return 0;
  double a1 = l1->a / n1, b1 = l1->b / n1, c1 = l1->c / n1;
  double a2 = l2->a / n2, b2 = l2->b / n2, c2 = l2->c / n2;
  if (std::fabs(a1 * b2 - a2 * b1) >= 0.0001) return 0;
  double off = a1 * relationcx + b1 * relationcy + c1;
  double x = relationcx - off * a1, y = relationcy - off * b1;
  return std::fabs(a2 * x + b2 * y + c2) < lengthtol(0.0001);
}

// The sine of the angle between the lines: near zero for parallels
// whichever way they run.
int parallellines(const line* l1, const line* l2) {
  double n = normal(l1) * normal(l2);
  if (!(n > 0)) return 0;
  return std::fabs(l1->a * l2->b - l2->a * l1->b) < ANGLETOL * n;
}

// The cosine of the angle between the lines.
int perpendicularlines(const line* l1, const line* l2) {
  double n = normal(l1) * normal(l2);
  if (!(n > 0)) return 0;
  return std::fabs(l1->a * l2->a + l1->b * l2->b) < ANGLETOL * n;
}

int equalangles(int i, int j) {
  double ci = anglelist[i].cos, cj = anglelist[j].cos;
  if (std::fabs(ci) < 0.0001 || std::fabs(ci) > 0.9999) return 0;
  if (std::fabs(cj) < 0.0001 || std::fabs(cj) > 0.9999) return 0;
  return std::fabs(ci - cj) < 0.0001;
}

int complementary(int i, int j) {
  double ci = anglelist[i].cos, cj = anglelist[j].cos;
  if (!(ci >= 0 && ci <= 1 && cj >= 0 && cj <= 1)) return 0;
  return std::fabs(cj - std::sqrt(1 - ci * ci)) < 0.0001;
}

int supplementary(int i, int j) {
  double ci = anglelist[i].cos, cj = anglelist[j].cos;
  if (std::fabs(ci) < 0.0001 || std::fabs(cj) < 0.0001) return 0;
  if (ci > 1 || cj > 1) return 0;
  return std::fabs(ci + cj) < 0.0001;
}

// Right, null and straight angles are kept out of angle pairs when a test
// starts, but a pair that holds in every position must not die because one
// sample passes near such an angle: after the start only the identity of
// the mode is tested.
int anglepredicate(int mode, int i, int j) {
  double ci = anglelist[i].cos, cj = anglelist[j].cos;
  if (!(std::fabs(ci) <= 1 && std::fabs(cj) <= 1)) return 0;  // undefined
  switch (mode) {
    case 1: return complementary(i, j);
    case 2: return std::fabs(ci + cj) < 0.0001;
    case 3: return std::fabs(ci - cj) < 0.0001;
    default: return 0;  // no other mode is ever stored
  }
}

int linepredicate(int mode, const line* l1, const line* l2) {
  switch (mode) {
    case 1: return parallellines(l1, l2);
    case 2: return perpendicularlines(l1, l2);
    default: return 0;  // no other mode is ever stored
  }
}

// Twice the area of the triangle for finite points; the determinant of
// the homogeneous rows when a point lies at infinity.
int threevonlp(const vertex* a, const vertex* b, const vertex* c) {
  double d = det3(a->x, a->y, a->w, b->x, b->y, b->w, c->x, c->y, c->w);
  double w = a->w * b->w * c->w;
  if (w != 0) d /= w;
  return std::fabs(d) < areatol(0.0001);
}

// With unit normals the determinant does not change when the diagram is
// moved or turned, and grows with its size.
int threelonvp(const line* l1, const line* l2, const line* l3) {
  double n1 = normal(l1), n2 = normal(l2), n3 = normal(l3);
  if (!(n1 > 0) || !(n2 > 0) || !(n3 > 0)) return 0;
  double d = det3(l1->a / n1, l1->b / n1, l1->c / n1, l2->a / n2, l2->b / n2,
                  l2->c / n2, l3->a / n3, l3->b / n3, l3->c / n3);
  return std::fabs(d) < lengthtol(0.0001);
}

int inversetest(const vertex* a, const vertex* b, const circle* k) {
  const vertex* o = &k->center;
  if (!threevonlp(a, b, o)) return 0;
  double oa = vertdist(o, a), ob = vertdist(o, b), ab = vertdist(a, b);
  if (!(std::fabs(oa + ob - ab) >= lengthtol(0.001))) return 0;
  return std::fabs(oa * ob - k->radius * k->radius) < areatol(0.0001);
}

int concurrentcircles(const circle* c1, const circle* c2, const circle* c3) {
  for (int branch = 1; branch <= 2; branch++) {
    // The intersection exactly as a vertex built on the two circles has it.
    vertex p;
    p.parents[0] = (primitive*)c1;
    p.parents[1] = (primitive*)c2;
    p.valid = 1;
    vert_circcircle(&p, branch);
    if (!p.valid) continue;
    double x = p.x, y = p.y;
    double dx = x - c3->center.x, dy = y - c3->center.y;
    if (std::fabs(dx * dx + dy * dy - c3->radius * c3->radius) <
        areatol(0.001)) {
      CircX = x;
      CircY = y;
      return 1;
    }
  }
  return 0;
}

int fourvoncp(const vertex* a, const vertex* b, const vertex* c,
              const vertex* d) {
  if (threevonlp(a, b, c)) return 0;
  if (a->w == 0 || b->w == 0 || c->w == 0 || d->w == 0) return 0;
  double p = vertdist(a, b) * vertdist(c, d);
  double q = vertdist(b, c) * vertdist(a, d);
  double r = vertdist(a, c) * vertdist(b, d);
  double t = areatol(5e-7);
  return std::fabs(p + q - r) < t || std::fabs(r + q - p) < t ||
         std::fabs(p + r - q) < t;
}

int harmonicv(const vertex* a, const vertex* b, const vertex* c,
              const vertex* d) {
  double ab = vertdist(a, b), ac = vertdist(a, c), ad = vertdist(a, d);
  double bc = vertdist(b, c), bd = vertdist(b, d), cd = vertdist(c, d);
  double m = lengthtol(0.001), u = areatol(1);
  if (!(ab >= m && ac >= m && ad >= m && bc >= m && bd >= m && cd >= m))
    return 0;
  if (sameproduct(ab * cd, bc * ad, 1e-5, u)) return 1;
  if (sameproduct(ab * cd, ac * bd, 1e-5, u)) return 2;
  if (sameproduct(ac * bd, ad * bc, 1e-5, u)) return 3;
  return 0;
}

// Products of two squared lengths: four dimensions of length.
int goodratio4(double a, double b, double c, double d) {
  double u = productunit();
  if (sameproduct(a * b, c * d, 1e-5, u)) return 1;
  if (sameproduct(a * c, b * d, 1e-5, u)) return 2;
  if (sameproduct(a * d, b * c, 1e-5, u)) return 3;
  return 0;
}

int goodratio3(double a, double b, double c) {
  double u = productunit();
  if (sameproduct(a * a, b * c, 1e-5, u)) return 1;
  if (sameproduct(b * b, a * c, 1e-5, u)) return 2;
  if (sameproduct(c * c, a * b, 1e-5, u)) return 3;
  return 0;
}

int arearatio(double a1, double a2, double a3, double a4) {
  double u = productunit();
  int mode = 0;
  if (sameproduct(a1 * a2, a3 * a4, 1e-5, u)) mode = 1;
  if (sameproduct(a1 * a3, a2 * a4, 1e-5, u)) mode = 2;
  if (sameproduct(a1 * a4, a2 * a3, 1e-5, u)) mode = 3;
  return mode;
}
