// measures.cpp: the numbers the relation finder compares, and its numeric
// predicates.
//
// Every tolerance here is part of what the finder reports: loosening one
// makes false relations survive sampling, tightening one kills true ones
// through rounding. Points at infinity give sentinels (2.0 for a cosine,
// 1e6 for a squared length or doubled area, 1e30 for a distance) that no
// predicate accepts as an ordinary value.
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

}  // namespace

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

int equalvertices(const vertex* a, const vertex* b) {
  return a->w == 1 && b->w == 1 &&
         std::fabs(a->x - b->x) + std::fabs(a->y - b->y) < 0.0001;
}

// The third cross term matters only when both a vanish: without it every
// two horizontal lines would count as one line.
int equallines(const line* l1, const line* l2) {
  return std::fabs(l2->a * l1->b - l1->a * l2->b) < 0.0001 &&
         std::fabs(l2->a * l1->c - l1->a * l2->c) < 0.0001 &&
         std::fabs(l2->b * l1->c - l1->b * l2->c) < 0.0001;
}

int parallellines(const line* l1, const line* l2) {
  if (l1->a == 0 && l2->a == 0) return 1;
  // A slope of infinity never matches a finite one.
  if (l1->a == 0 || l2->a == 0) return 0;
  return std::fabs(l1->b / l1->a - l2->b / l2->a) < 0.004;
}

int perpendicularlines(const line* l1, const line* l2) {
  if ((l1->a == 0 && l2->b == 0) || (l1->b == 0 && l2->a == 0)) return 1;
  if (l1->a == 0 || l2->b == 0) return 0;
  return std::fabs(l1->b / l1->a + l2->a / l2->b) < 0.004;
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

int anglepredicate(int mode, int i, int j) {
  switch (mode) {
    case 1: return complementary(i, j);
    case 2: return supplementary(i, j);
    case 3: return equalangles(i, j);
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

int threevonlp(const vertex* a, const vertex* b, const vertex* c) {
  return std::fabs(det3(a->x, a->y, a->w, b->x, b->y, b->w, c->x, c->y, c->w)) <
         0.0001;
}

int threelonvp(const line* l1, const line* l2, const line* l3) {
  return std::fabs(det3(l1->a, l1->b, l1->c, l2->a, l2->b, l2->c, l3->a, l3->b,
                        l3->c)) < 0.0001;
}

int inversetest(const vertex* a, const vertex* b, const circle* k) {
  const vertex* o = &k->center;
  if (!threevonlp(a, b, o)) return 0;
  double oa = vertdist(o, a), ob = vertdist(o, b), ab = vertdist(a, b);
  if (!(std::fabs(oa + ob - ab) >= 0.001)) return 0;
  return std::fabs(oa * ob - k->radius * k->radius) < 0.0001;
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
    if (std::fabs(dx * dx + dy * dy - c3->radius * c3->radius) < 0.001) {
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
  return std::fabs(p + q - r) < 5e-7 || std::fabs(r + q - p) < 5e-7 ||
         std::fabs(p + r - q) < 5e-7;
}

int harmonicv(const vertex* a, const vertex* b, const vertex* c,
              const vertex* d) {
  double ab = vertdist(a, b), ac = vertdist(a, c), ad = vertdist(a, d);
  double bc = vertdist(b, c), bd = vertdist(b, d), cd = vertdist(c, d);
  if (!(ab >= 0.001 && ac >= 0.001 && ad >= 0.001 && bc >= 0.001 &&
        bd >= 0.001 && cd >= 0.001))
    return 0;
  if (std::fabs(ab * cd - bc * ad) < 1e-5) return 1;
  if (std::fabs(ab * cd - ac * bd) < 1e-5) return 2;
  if (std::fabs(ac * bd - ad * bc) < 1e-5) return 3;
  return 0;
}

int goodratio4(double a, double b, double c, double d) {
  if (std::fabs(a * b - c * d) < 1e-5) return 1;
  if (std::fabs(a * c - b * d) < 1e-5) return 2;
  if (std::fabs(a * d - b * c) < 1e-5) return 3;
  return 0;
}

int goodratio3(double a, double b, double c) {
  if (std::fabs(a * a - b * c) < 1e-5) return 1;
  if (std::fabs(b * b - a * c) < 1e-5) return 2;
  if (std::fabs(c * c - a * b) < 1e-5) return 3;
  return 0;
}

int arearatio(double a1, double a2, double a3, double a4) {
  int mode = 0;
  if (std::fabs(a1 * a2 - a3 * a4) < 1e-5) mode = 1;
  if (std::fabs(a1 * a3 - a2 * a4) < 1e-5) mode = 2;
  if (std::fabs(a1 * a4 - a2 * a3) < 1e-5) mode = 3;
  return mode;
}
