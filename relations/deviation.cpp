// deviation.cpp: how far each alive candidate misses its exact equation in
// the current frame, kept as its worst over the frames of a test.
//
// The measure is the quantity that the candidate's own test compares with
// its tolerance (a determinant, a difference of cosines or of squared
// lengths, a Ptolemy or product miss), except for lines, where it is the
// sine (parallel) or cosine (perpendicular) of the angle between the two
// directions: a slope difference says nothing comparable between lines of
// different directions. The report prints it, so a reader can tell a
// relation that held to rounding from one that scraped its tolerance.
#include <algorithm>
#include <cmath>

#include "engine/solvers.h"
#include "relations/finder.h"

namespace {

double det3(double a0, double a1, double a2, double b0, double b1, double b2,
            double c0, double c1, double c2) {
  return a0 * (b1 * c2 - b2 * c1) - a1 * (b0 * c2 - b2 * c0) +
         a2 * (b0 * c1 - b1 * c0);
}

double collinearmiss(const candidate& c) {
  const vertex *a = vertlist[c.m[0]], *b = vertlist[c.m[1]],
               *d = vertlist[c.m[2]];
  return std::fabs(det3(a->x, a->y, a->w, b->x, b->y, b->w, d->x, d->y, d->w));
}

double concurrentmiss(const candidate& c) {
  const line *a = linelist[c.m[0]], *b = linelist[c.m[1]],
             *d = linelist[c.m[2]];
  return std::fabs(det3(a->a, a->b, a->c, b->a, b->b, b->c, d->a, d->b, d->c));
}

double min3(double a, double b, double c) {
  return std::min(a, std::min(b, c));
}

double concyclicmiss(const candidate& c) {
  const vertex* v[4];
  for (int k = 0; k < 4; k++) v[k] = vertlist[c.m[k]];
  double p = vertdist(v[0], v[1]) * vertdist(v[2], v[3]);
  double q = vertdist(v[1], v[2]) * vertdist(v[0], v[3]);
  double r = vertdist(v[0], v[2]) * vertdist(v[1], v[3]);
  return min3(std::fabs(p + q - r), std::fabs(r + q - p), std::fabs(p + r - q));
}

// Products are compared relative to their size once they pass the size of
// a product of ordinary measures; the miss is given at that ordinary size.
double relmiss(double p, double q, double unit) {
  return std::fabs(p - q) / productspan(p, q, unit) * unit;
}

double harmonicmiss(const candidate& c) {
  const vertex* v[4];
  for (int k = 0; k < 4; k++) v[k] = vertlist[c.m[k]];
  double ab = vertdist(v[0], v[1]), ac = vertdist(v[0], v[2]);
  double ad = vertdist(v[0], v[3]), bc = vertdist(v[1], v[2]);
  double bd = vertdist(v[1], v[3]), cd = vertdist(v[2], v[3]);
  double u = areatol(1);
  return min3(relmiss(ab * cd, bc * ad, u), relmiss(ab * cd, ac * bd, u),
              relmiss(ac * bd, ad * bc, u));
}

double inversemiss(const candidate& c) {
  const circle* k = circlist[c.m[2]];
  double oa = vertdist(&k->center, vertlist[c.m[0]]);
  double ob = vertdist(&k->center, vertlist[c.m[1]]);
  return std::fabs(oa * ob - k->radius * k->radius);
}

double circlesmiss(const candidate& c) {
  const circle* k[3];
  for (int i = 0; i < 3; i++) k[i] = circlist[c.m[i]];
  double best = HUGE_VAL;
  for (int branch = 1; branch <= 2; branch++) {
    vertex p;
    p.parents[0] = (primitive*)k[0];
    p.parents[1] = (primitive*)k[1];
    p.valid = 1;
    vert_circcircle(&p, branch);
    if (!p.valid) continue;
    double dx = p.x - k[2]->center.x, dy = p.y - k[2]->center.y;
    best = std::min(best,
                    std::fabs(dx * dx + dy * dy - k[2]->radius * k[2]->radius));
  }
  return best;
}

// Sine (mode 1) or cosine (mode 2) of the angle between two lines.
double linemiss(const candidate& c) {
  const line *l = linelist[c.m[0]], *m = linelist[c.m[1]];
  double n = std::hypot(l->a, l->b) * std::hypot(m->a, m->b);
  double s =
      c.mode == 1 ? l->a * m->b - l->b * m->a : l->a * m->a + l->b * m->b;
  return n > 0 ? std::fabs(s) / n : HUGE_VAL;
}

double anglemiss(const candidate& c) {
  double ci = anglelist[c.m[0]].cos, cj = anglelist[c.m[1]].cos;
  switch (c.mode) {
    case 1: return std::fabs(cj - std::sqrt(std::max(0.0, 1 - ci * ci)));
    case 2: return std::fabs(ci + cj);
    default: return std::fabs(ci - cj);
  }
}

double len2(int s) {
  return segmentlist[s].len2 = findsegmentlength(s);
}

double productmiss(const candidate& c) {
  double a = len2(c.m[0]), b = len2(c.m[1]), d = len2(c.m[2]), e = len2(c.m[3]);
  double u = productunit();
  return min3(relmiss(a * b, d * e, u), relmiss(a * d, b * e, u),
              relmiss(a * e, b * d, u));
}

double meanmiss(const candidate& c) {
  double a = len2(c.m[0]), b = len2(c.m[1]), d = len2(c.m[2]);
  double u = productunit();
  return min3(relmiss(a * a, b * d, u), relmiss(b * b, a * d, u),
              relmiss(d * d, a * b, u));
}

double area(int t) {
  return trianglelist[t].area2;
}

double areapairmiss(const candidate& c) {
  return std::fabs(area(c.m[0]) - area(c.m[1]));
}

double areaproductmiss(const candidate& c) {
  double a[4];
  for (int k = 0; k < 4; k++) a[k] = area(c.m[k]);
  double u = productunit();
  switch (c.mode) {
    case 1: return relmiss(a[0] * a[1], a[2] * a[3], u);
    case 2: return relmiss(a[0] * a[2], a[1] * a[3], u);
    default: return relmiss(a[0] * a[3], a[1] * a[2], u);
  }
}

double rightmiss(const candidate& c) {
  return std::fabs(anglelist[c.m[0]].cos);
}

double segmentmiss(const candidate& c) {
  return std::fabs(len2(c.m[0]) - len2(c.m[1]));
}

typedef double (*missfn)(const candidate& c);

struct listmiss {
  candlist* list;
  missfn miss;
};

// Angle cosines and triangle areas are fresh after the re-test; squared
// lengths are recomputed here, as the re-test recomputes them only for
// the candidates that use them.
const listmiss misses[] = {
    {&threevonl, collinearmiss},       {&threelonv, concurrentmiss},
    {&fourvonc, concyclicmiss},        {&righta, rightmiss},
    {&specialangles, anglemiss},       {&speciallines, linemiss},
    {&specialsegments, segmentmiss},   {&threecircles, circlesmiss},
    {&harmonic, harmonicmiss},         {&inverselist, inversemiss},
    {&trianglepairlist, areapairmiss}, {&trianglequadlist, areaproductmiss},
    {&quadseglist, productmiss},       {&tripseglist, meanmiss},
};
static_assert(sizeof misses / sizeof misses[0] == 14, "one per list");

}  // namespace

void measuredeviations() {
  for (const listmiss& l : misses)
    for (candidate& c : *l.list)
      if (c.alive) {
        double d = l.miss(c);
        if (!(d <= c.worst)) c.worst = d;  // NaN sticks as the worst
      }
}
