// The line and circle solvers on the cases the 50-digit reference
// (geometry_reference.py) does not reach: which branch is which, touching
// and equal circles, points on the circle, lines through the centre of
// inversion, points at infinity.
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
  b.x = 8, b.y = 10, b.w = 2;  // (4, 5), scaled
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

TEST_F(Engine, TangentsFromAndAtAPoint) {
  circle* c = circ(0, 0, 1);
  line* t1 = add<line>(L_VC1, {freept(2, 0), c});
  line* t2 = add<line>(L_VC2, {t1->parents[0], c});
  vertex* touch = add<vertex>(V_LC2, {t1, c});
  line* bad = add<line>(L_VC1, {freept(0.5, 0), c});  // from inside
  vertex* dep = add<vertex>(V_LL, {bad, t1});
  vertex* o = freept(0, 0);
  vertex* v = freept(0.6, 0.8);
  line* t = add<line>(L_VC1, {v, add<circle>(C_VV, {o, v})});
  vertex* e = freept(1, 0);  // level with the centre, on the x axis
  line* vert = add<line>(L_VC2, {e, add<circle>(C_VV, {o, e})});
  vertex* f = freept(3, 2);
  line* vert2 = add<line>(L_VC1, {f, add<circle>(C_VV, {freept(1, 2), f})});
  checkconstraints();
  // tangent points from (2, 0) to the unit circle: (1/2, +-sqrt(3)/2)
  EXPECT_TRUE(values({t1->p2.x, t1->p2.y, t2->p2.y, t1->p1.x},
                     {0.5, S3 / 2, -S3 / 2, 2}));
  // the intersection with the circle it touches is the tangent point
  EXPECT_XY(touch, t1->p2.x, t1->p2.y);
  EXPECT_EQ(bad->valid + dep->valid, 0);
  // the tangent at V on the circle is perpendicular to OV through V
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
  // equal circles: the parallels to the line of centres at distance 1
  circle* u0 = circ(0, 0, 1);
  circle* u1 = circ(4, 0, 1);
  line* f1 = add<line>(L_CCEXT1, {u0, u1});
  line* f2 = add<line>(L_CCEXT2, {u0, u1});
  line* j1 = add<line>(L_CCINT1, {u0, u1});
  line* same = add<line>(L_CCEXT1, {u0, circ(0, 0, 1)});
  checkconstraints();
  // external: from the similitude centre (12, 0) the tangent point on c0 is
  // (1/3, sqrt(35)/3) and on c1 (6 + 1/6, sqrt(35)/6)
  const double s35 = std::sqrt(35.0);
  EXPECT_TRUE(values({e1->p2.x, e1->p2.y, e1->p1.x, e1->p1.y, e2->p2.y},
                     {1.0 / 3, s35 / 3, 6 + 1.0 / 6, s35 / 6, -s35 / 3}));
  // internal: through (4, 0), touching c0 at (1, sqrt 3), c1 at (5.5, -sqrt3/2)
  EXPECT_TRUE(values({i1->p2.x, i1->p2.y, i1->p1.x, i1->p1.y, i2->p2.y},
                     {1, S3, 5.5, -S3 / 2, -S3}));
  EXPECT_EQ(touch->x, e1->p1.x);
  EXPECT_TRUE(values({f1->p1.x, f1->p1.y, f1->p2.x, f1->p2.y, f2->p1.y, f1->a},
                     {0, -1, 4, -1, 1, 0}));
  // the internal tangents of equal circles cross at the midpoint of the
  // centres and touch both
  EXPECT_EQ(j1->valid, 1);
  EXPECT_TRUE(values(
      {std::fabs(side(j1, 0, 0)), std::fabs(side(j1, 4, 0)), side(j1, 2, 0)},
      {1, 1, 0}, 1e-15));
  EXPECT_EQ(same->valid, 0);
}

TEST_F(Engine, CirclesThroughPointsAndTangentToLines) {
  vertex* a = freept(0, 0);
  circle* flat = add<circle>(C_VVV, {a, freept(1, 1), freept(2, 2)});
  circle* bad = add<circle>(C_VVV, {a, freept(4, 0), infinitept()});
  line* l0 = linethru(0, 0, 4, 0);  // y = 0
  circle* in =
      add<circle>(C_LLL1, {l0, linethru(0, 0, 0, 3), linethru(4, 0, 0, 3)});
  vertex* foot = add<vertex>(V_LC1, {l0, in});
  checkconstraints();
  // three points on a line: a line, kept through the points
  EXPECT_EQ(flat->valid, 1);
  EXPECT_TRUE(
      values({flat->center.w, flat->aux[1].x, flat->aux[2].y}, {0, 1, 2}));
  EXPECT_EQ(bad->valid, 0);
  // the incircle of the 3-4-5 triangle touches y = 0 exactly at (1, 0)
  EXPECT_NEAR(foot->x, 1, 1e-12);
  EXPECT_EQ(foot->y, 0);
}

TEST_F(Engine, InversionInACircle) {
  circle* unit = circ(0, 0, 1);
  // a circle through the centre, and one whose lowest point is the centre
  circle* ti = add<circle>(C_CCINV, {circ(1, 0, 1), circ(0, 0, 2)});
  circle* bi = add<circle>(C_CCINV, {circ(0, 1, 1), unit});
  circle* ri = add<circle>(C_LCINV, {linethru(0, 1, 0, 2), unit});
  checkconstraints();
  // a circle through the centre becomes the line x = R^2 / diameter = 2
  EXPECT_TRUE(values({ti->center.w, ti->aux[0].x, ti->aux[0].y, ti->aux[1].x,
                      ti->aux[1].y, ti->aux[2].w},
                     {0, 2, 2, 2, -2, 0}));
  // ... also when one of the sample points is the centre itself: y = 1/2
  EXPECT_EQ(bi->valid, 1);
  EXPECT_TRUE(
      values({bi->center.w, bi->aux[0].y, bi->aux[1].y}, {0, 0.5, 0.5}));
  EXPECT_NE(bi->aux[0].x, bi->aux[1].x);
  // a line through the centre: the sentinel circle
  EXPECT_TRUE(values({ri->center.x, ri->radius}, {1e30, 1}));
}

TEST_F(Engine, BisectorsDivisionsAndRatios) {
  vertex* o = freept(0, 0);
  vertex* b1 = add<vertex>(V_VVVBISECT, {freept(1, 0), o, freept(0, 1)});
  vertex* b2 = add<vertex>(V_VVVBISECT, {freept(0, 1), o, freept(1, 0)});
  vertex* d2 = add<vertex>(V_VVRATIO, {o, freept(4, 2), number(-1)});
  angle* g = add<angle>(A_VVV, {freept(1, 0), o, freept(0, 1)});
  flt* far = add<flt>(F_VVVRATIO, {o, freept(1, 0), o});
  checkconstraints();
  EXPECT_XY(b1, 0.3 * std::cos(M_PI / 4), 0.3 * std::sin(M_PI / 4));
  // counterclockwise from the up ray to the right ray: the reflex angle,
  // bisected at 5pi/4 (up to the rounded 2pi)
  const double rx = 0.3 * std::cos(5 * M_PI / 4);
  EXPECT_NEAR_XY(b2, rx, 0.3 * std::sin(5 * M_PI / 4), 1e-7);
  EXPECT_XY(d2, -4, -2);
  EXPECT_DOUBLE_EQ(g->value, M_PI / 2);
  flipangle(g);
  g->satisfied = 0;
  checkconstraints();
  EXPECT_TRUE(
      values({g->value, far->value}, {3 * M_PI / 2, 1.0000000150474662e30}));
}

}  // namespace
