// The line and circle solvers, checked against hand-worked configurations
// and classical identities (tangency, inversion, triangle centres).
#include <cmath>

#include "engine/recompute.h"
#include "engine/solvers.h"
#include "tests/engine_fixture.h"

namespace {
using namespace enginetest;

const double S3 = std::sqrt(3.0);

// Signed value of a point in a line's equation, normalised to a distance.
double side(const line* l, double x, double y) {
  return (l->a * x + l->b * y + l->c) / std::hypot(l->a, l->b);
}

TEST_F(Engine, HomogeneousBasics) {
  line* l = linethru(1, 2, 3, 4);  // y = x + 1
  checkconstraints();
  // cross product (2 - 4, 3 - 1, 4 - 6) = (-2, 2, -2), negated so c >= 0
  EXPECT_TRUE(values({l->a, l->b, l->c}, {2, -2, 2}));
  vertex o;
  o.x = o.y = 0;
  EXPECT_DOUBLE_EQ(vldist(&o, l), 1 / std::sqrt(2.0));
  o.w = 0;
  EXPECT_EQ(vldist(&o, l), 1e30);
  line z;  // through the origin twice
  z.p1.x = z.p1.y = z.p1.w = 0;
  z.p2.x = 5;
  homogenizeline(&z);
  EXPECT_TRUE(values({z.a, z.b, z.c}, {0, 0, 0}));
  vertex a, b;
  a.x = 1, a.y = 1;
  b.x = 4, b.y = 5;
  EXPECT_DOUBLE_EQ(vvdist(&a, &b), 5);
  b.x = 8, b.y = 10, b.w = 2;  // the same point, scaled
  EXPECT_DOUBLE_EQ(vvdist(&a, &b), 5);
}

TEST_F(Engine, LineMeetsCircle) {
  circle* c = circ(0, 0, 1);
  line* l = linethru(-2, 0.6, 2, 0.6);
  vertex* p1 = add<vertex>(V_LC1, {l, c});
  vertex* p2 = add<vertex>(V_LC2, {l, c});
  vertex* none = add<vertex>(V_LC1, {linethru(-2, 2, 2, 2), c});
  vertex* dep = add<vertex>(V_VVMID, {none, p1});
  checkconstraints();
  // branch 1 is the intersection nearer the line's first point
  EXPECT_XY(p1, -0.8, 0.6);
  EXPECT_TRUE(values({p2->x, p2->y, p2->w}, {0.8, 0.6, 1}));
  EXPECT_EQ(none->valid + dep->valid, 0);
  EXPECT_TRUE(values({none->x, none->w}, {0, 0}));

  // A line given by a direction and a point.
  line d;
  d.p1.x = 1, d.p1.y = 0, d.p1.w = 0;
  d.p2.x = 0, d.p2.y = 0.6, d.p2.w = 1;
  vertex v;
  solvevlc(&d, c, &v, 1);
  EXPECT_XY(&v, 0.8, 0.6);
  solvevlc(&d, c, &v, 2);
  EXPECT_DOUBLE_EQ(v.x, -0.8);
  d.p2.w = 0;  // no finite point at all
  solvevlc(&d, c, &v, 1);
  EXPECT_EQ(v.valid, 0);
}

TEST_F(Engine, OtherIntersections) {
  circle* c = circ(0, 0, 1);
  vertex* v = freept(-0.8, 0.6);
  line* l = add<line>(L_VV, {v, freept(2, 0.6)});
  vertex* other = add<vertex>(V_LCVOTHER, {l, c, v});
  circle* c0 = circ(0, 0, 5);
  circle* c1 = circ(6, 0, 5);
  vertex* x1 = add<vertex>(V_CC1, {c0, c1});
  vertex* x2 = add<vertex>(V_CC2, {c0, c1});
  vertex* o1 = add<vertex>(V_CCVOTHER, {c0, c1, freept(3, -4)});
  vertex* o2 = add<vertex>(V_CCVOTHER, {c0, c1, x2});
  circle* touch = circ(10, 0, 5);
  vertex* t1 = add<vertex>(V_CC1, {c0, touch});
  vertex* t2 = add<vertex>(V_CC2, {c0, touch});
  vertex* none = add<vertex>(V_CC1, {c0, circ(20, 0, 5)});
  checkconstraints();
  EXPECT_XY(other, 0.8, 0.6);
  // circles of radius 5 at (0,0) and (6,0) meet at (3, -4) and (3, 4)
  EXPECT_XY(x1, 3, -4);
  EXPECT_XY(x2, 3, 4);
  EXPECT_TRUE(values({o1->y, o2->y}, {4, -4}));
  // externally touching circles: both branches give the touching point
  EXPECT_XY(t1, 5, 0);
  EXPECT_XY(t2, 5, 0);
  EXPECT_EQ(none->valid, 0);
}

TEST_F(Engine, TangentFromAPoint) {
  circle* c = circ(0, 0, 1);
  line* t1 = add<line>(L_VC1, {freept(2, 0), c});
  line* t2 = add<line>(L_VC2, {t1->parents[0], c});
  vertex* touch = add<vertex>(V_LC2, {t1, c});
  line* bad = add<line>(L_VC1, {freept(0.5, 0), c});  // from inside
  vertex* dep = add<vertex>(V_LL, {bad, t1});
  checkconstraints();
  // tangent points from (2, 0) to the unit circle: (1/2, +-sqrt(3)/2)
  EXPECT_TRUE(values({t1->p2.x, t1->p2.y, t2->p2.y, t1->p1.x},
                     {0.5, S3 / 2, -S3 / 2, 2}));
  // through V and tangent
  EXPECT_TRUE(
      values({side(t1, 2, 0), std::fabs(side(t1, 0, 0))}, {0, 1}, 1e-12));
  // the intersection with the circle it touches is the tangent point
  EXPECT_XY(touch, t1->p2.x, t1->p2.y);
  EXPECT_EQ(bad->valid + dep->valid, 0);
  EXPECT_TRUE(values({bad->a, bad->b, bad->c, bad->p1.w}, {0, 0, 0, 0}));
}

TEST_F(Engine, TangentAtAPointOfTheCircle) {
  vertex* o = freept(0, 0);
  vertex* v = freept(0.6, 0.8);
  line* t = add<line>(L_VC1, {v, add<circle>(C_VV, {o, v})});
  vertex* e = freept(1, 0);  // level with the centre, on the x axis
  line* vert = add<line>(L_VC2, {e, add<circle>(C_VV, {o, e})});
  vertex* f = freept(3, 2);
  line* vert2 = add<line>(L_VC1, {f, add<circle>(C_VV, {freept(1, 2), f})});
  checkconstraints();
  // the tangent at V is perpendicular to OV and passes through V
  EXPECT_EQ(t->valid + vert->valid, 2);
  EXPECT_TRUE(values(
      {side(t, 0.6, 0.8), t->a * 0.8 - t->b * 0.6, std::fabs(side(t, 0, 0))},
      {0, 0, 1}, 1e-12));
  // vertical tangents, including the one at a point on the x axis
  EXPECT_TRUE(values({vert->b, vert2->b}, {0, 0}));
  EXPECT_TRUE(values({side(vert, 1, 5), side(vert2, 3, -7)}, {0, 0}, 1e-12));
}

TEST_F(Engine, CommonTangents) {
  circle* c0 = circ(0, 0, 2);
  circle* c1 = circ(6, 0, 1);
  line* e1 = add<line>(L_CCEXT1, {c0, c1});
  line* e2 = add<line>(L_CCEXT2, {c0, c1});
  line* i1 = add<line>(L_CCINT1, {c0, c1});
  line* i2 = add<line>(L_CCINT2, {c0, c1});
  vertex* touch = add<vertex>(V_LC1, {e1, c1});
  checkconstraints();
  // external: from the similitude centre (12, 0) the tangent point on c0 is
  // (1/3, sqrt(35)/3) and on c1 (6 + 1/6, sqrt(35)/6)
  const double s35 = std::sqrt(35.0);
  EXPECT_TRUE(values({e1->p2.x, e1->p2.y, e1->p1.x, e1->p1.y, e2->p2.y},
                     {1.0 / 3, s35 / 3, 6 + 1.0 / 6, s35 / 6, -s35 / 3}));
  // internal: through (4, 0), touching c0 at (1, sqrt 3), c1 at (5.5, -sqrt3/2)
  EXPECT_TRUE(values({i1->p2.x, i1->p2.y, i1->p1.x, i1->p1.y, i2->p2.y},
                     {1, S3, 5.5, -S3 / 2, -S3}));
  for (line* l : {e1, e2, i1, i2})
    EXPECT_TRUE(values({std::fabs(side(l, 0, 0)), std::fabs(side(l, 6, 0))},
                       {2, 1}, 1e-12));
  // external tangents leave both centres on one side, internal ones between
  EXPECT_GT(side(e1, 0, 0) * side(e1, 6, 0), 0);
  EXPECT_LT(side(i1, 0, 0) * side(i1, 6, 0), 0);
  EXPECT_EQ(touch->x, e1->p1.x);
}

TEST_F(Engine, CommonTangentsOfEqualCircles) {
  circle* c0 = circ(0, 0, 1);
  circle* c1 = circ(4, 0, 1);
  line* e1 = add<line>(L_CCEXT1, {c0, c1});
  line* e2 = add<line>(L_CCEXT2, {c0, c1});
  line* i1 = add<line>(L_CCINT1, {c0, c1});
  line* same = add<line>(L_CCEXT1, {c0, circ(0, 0, 1)});
  checkconstraints();
  // the parallels to the line of centres at distance 1
  EXPECT_TRUE(values({e1->p1.x, e1->p1.y, e1->p2.x, e1->p2.y, e2->p1.y, e1->a},
                     {0, -1, 4, -1, 1, 0}));
  // the internal tangents cross at the midpoint of the centres and touch
  // both circles
  EXPECT_EQ(i1->valid, 1);
  EXPECT_TRUE(values(
      {std::fabs(side(i1, 0, 0)), std::fabs(side(i1, 4, 0)), side(i1, 2, 0)},
      {1, 1, 0}, 1e-15));
  EXPECT_EQ(same->valid, 0);
}

TEST_F(Engine, CircleThroughThreePoints) {
  vertex* a = freept(0, 0);
  vertex* b = freept(4, 0);
  circle* k = add<circle>(C_VVV, {a, b, freept(0, 3)});
  circle* flat = add<circle>(C_VVV, {a, freept(1, 1), freept(2, 2)});
  circle* bad = add<circle>(C_VVV, {a, b, infinitept()});
  checkconstraints();
  // the circumcentre of a right triangle is the midpoint of the hypotenuse
  EXPECT_TRUE(values({k->center.x, k->center.y, k->center.w, k->radius},
                     {2, 1.5, 1, 2.5}));
  // three points on a line: a line, kept through the points
  EXPECT_EQ(flat->valid, 1);
  EXPECT_TRUE(
      values({flat->center.w, flat->aux[1].x, flat->aux[2].y}, {0, 1, 2}));
  EXPECT_EQ(bad->valid, 0);
}

TEST_F(Engine, IncircleAndExcircles) {
  line* l0 = linethru(0, 0, 4, 0);  // y = 0
  line* l1 = linethru(0, 0, 0, 3);  // x = 0
  line* l2 = linethru(4, 0, 0, 3);  // 3x + 4y = 12
  circle* k[4];
  for (int i = 0; i < 4; i++) k[i] = add<circle>(C_LLL1 + i, {l0, l1, l2});
  vertex* foot = add<vertex>(V_LC1, {l0, k[0]});
  // concurrent lines have no such circle
  circle* flat = add<circle>(C_LLL1, {l0, l1, linethru(0, 0, 1, 1)});
  checkconstraints();
  // 3-4-5 triangle: incircle (1,1) r 1; excircles opposite (4,0): (-2,2)
  // r 2, opposite (0,3): (3,-3) r 3, opposite (0,0): (6,6) r 6
  const double want[4][3] = {{1, 1, 1}, {-2, 2, 2}, {3, -3, 3}, {6, 6, 6}};
  for (int i = 0; i < 4; i++) {
    SCOPED_TRACE(i);
    const double r = want[i][2];
    EXPECT_TRUE(values({k[i]->center.x, k[i]->center.y, k[i]->radius,
                        vldist(&k[i]->center, l1), vldist(&k[i]->center, l2)},
                       {want[i][0], want[i][1], r, r, r}, 1e-12));
  }
  // meeting a side of the triangle gives the exact touching point
  EXPECT_NEAR(foot->x, 1, 1e-12);
  EXPECT_EQ(foot->y, 0);
  EXPECT_EQ(flat->valid, 0);
}

TEST_F(Engine, InversionInACircle) {
  circle* unit = circ(0, 0, 1);
  vertex* vi = add<vertex>(V_VCINV, {freept(2, 0), unit});
  circle* si = add<circle>(C_CCINV, {circ(3, 0, 1), unit});
  // a circle through the centre, and one whose lowest point is the centre
  circle* ti = add<circle>(C_CCINV, {circ(1, 0, 1), circ(0, 0, 2)});
  circle* bi = add<circle>(C_CCINV, {circ(0, 1, 1), unit});
  circle* li = add<circle>(C_LCINV, {linethru(2, 0, 2, 1), unit});
  circle* ri = add<circle>(C_LCINV, {linethru(0, 1, 0, 2), unit});
  checkconstraints();
  EXPECT_XY(vi, 0.5, 0);
  // (2,0) and (4,0) invert to 1/2 and 1/4: centre 3/8, radius 1/8
  EXPECT_TRUE(values({si->center.x, si->center.y, si->radius},
                     {0.375, 0, 0.125}, 1e-15));
  // a circle through the centre becomes the line x = R^2 / diameter = 2
  EXPECT_TRUE(values({ti->center.w, ti->aux[0].x, ti->aux[0].y, ti->aux[1].x,
                      ti->aux[1].y, ti->aux[2].w},
                     {0, 2, 2, 2, -2, 0}));
  // ... also when one of the sample points is the centre itself: y = 1/2
  EXPECT_EQ(bi->valid, 1);
  EXPECT_TRUE(
      values({bi->center.w, bi->aux[0].y, bi->aux[1].y}, {0, 0.5, 0.5}));
  EXPECT_NE(bi->aux[0].x, bi->aux[1].x);
  // the line x = 2 becomes the circle on the diameter from 0 to 1/2
  EXPECT_TRUE(
      values({li->center.x, li->center.y, li->radius}, {0.25, 0, 0.25}, 1e-15));
  // a line through the centre: the sentinel circle
  EXPECT_TRUE(values({ri->center.x, ri->radius}, {1e30, 1}));
}

TEST_F(Engine, MirrorRotationBisectorAndDivision) {
  vertex* m = add<vertex>(V_LVMIRROR, {linethru(0, 0, 1, 1), freept(1, 2)});
  angle* right = add<angle>(A_VVV, {freept(1, 0), freept(0, 0), freept(0, 1)});
  vertex* r = add<vertex>(V_AVV, {right, freept(2, 1), freept(1, 1)});
  vertex* o = freept(0, 0);
  vertex* b1 = add<vertex>(V_VVVBISECT, {freept(1, 0), o, freept(0, 1)});
  vertex* b2 = add<vertex>(V_VVVBISECT, {freept(0, 1), o, freept(1, 0)});
  vertex* b = freept(4, 2);
  vertex* d1 = add<vertex>(V_VVF, {o, b, number(0.25)});
  vertex* d2 = add<vertex>(V_VVRATIO, {o, b, number(-1)});
  checkconstraints();
  EXPECT_XY(m, 2, 1);
  EXPECT_DOUBLE_EQ(right->value, M_PI / 2);
  EXPECT_NEAR_XY(r, 1, 2, 1e-15);  // (2,1) turned a quarter about (1,1)
  EXPECT_XY(b1, 0.3 * std::cos(M_PI / 4), 0.3 * std::sin(M_PI / 4));
  // counterclockwise from the up ray to the right ray: the reflex angle,
  // bisected at 5pi/4 (up to the rounded 2pi)
  const double rx = 0.3 * std::cos(5 * M_PI / 4);
  EXPECT_NEAR_XY(b2, rx, 0.3 * std::sin(5 * M_PI / 4), 1e-7);
  EXPECT_XY(d1, 1, 0.5);
  EXPECT_XY(d2, -4, -2);
}

TEST_F(Engine, AnglesAndRatios) {
  vertex* o = freept(0, 0);
  angle* g = add<angle>(A_VVV, {freept(1, 0), o, freept(0, 1)});
  flt* neg = add<flt>(F_VVVRATIO, {o, freept(-2, 0), freept(4, 0)});
  flt* pos = add<flt>(F_VVVRATIO, {o, freept(3, 0), freept(0, 4)});
  flt* far = add<flt>(F_VVVRATIO, {o, freept(1, 0), o});
  checkconstraints();
  EXPECT_DOUBLE_EQ(g->value, M_PI / 2);
  flipangle(g);
  g->satisfied = 0;
  checkconstraints();
  EXPECT_TRUE(values({g->value, neg->value, pos->value, far->value},
                     {3 * M_PI / 2, -0.5, 0.75, 1.0000000150474662e30}));
}

}  // namespace
