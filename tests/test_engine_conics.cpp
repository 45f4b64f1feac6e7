// The conic solvers: five points, five tangents, line intersections,
// tangents from a point, projection onto a conic, and the 5x5 solver.
#include <cmath>

#include "engine/conics.h"
#include "engine/recompute.h"
#include "engine/solvers.h"
#include "render/view.h"
#include "tests/engine_fixture.h"

namespace {
using namespace enginetest;

const double S3 = std::sqrt(3.0);
const double R = std::sqrt(0.5);

double onconic(const conic* k, double x, double y) {
  const double* c = k->coef;
  return c[0] * x * x + c[1] * x * y + c[2] * y * y + c[3] * x + c[4] * y +
         c[5];
}

// The conic (x-2)^2 + y^2 = 1 through five points, the first given.
conic* circlethrough(vertex* first) {
  return add<conic>(CONIC_VVVVV, {first, freept(1, 0), freept(2, 1),
                                  freept(2, -1), freept(2 + R, R)});
}

// The tangent to the circle of radius r about the origin at angle t.
line* tangentline(double r, double t) {
  double x = r * std::cos(t), y = r * std::sin(t);
  return linethru(x, y, x - std::sin(t), y + std::cos(t));
}

TEST_F(Engine, LinearSolver) {
  double a[5][5] = {{2, 1, 0, 0, 3},
                    {0, 0, 1, 4, 0},
                    {1, 1, 1, 1, 1},
                    {5, 0, 0, 2, 0},
                    {0, 3, 0, 0, 1}};
  const double x[5] = {1, 2, 3, 4, 5};
  double b[5] = {0, 0, 0, 0, 0};
  for (int i = 0; i < 5; i++)
    for (int j = 0; j < 5; j++) b[i] += a[i][j] * x[j];
  int indx[5];
  ASSERT_EQ(ludecompose(a, indx), 1);
  lubksb(a, indx, b);
  for (int i = 0; i < 5; i++) EXPECT_NEAR(b[i], x[i], 1e-12) << i;
  double z[5][5] = {{1, 2, 3, 4, 5}, {0, 0, 0, 0, 0}};
  EXPECT_EQ(ludecompose(z, indx), 0);
}

// (General conics through five points and tangent to five lines are
// checked against a 50-digit derivation by geometry_reference.py.)
TEST_F(Engine, ConicsThroughTheOriginAndLargeOnes) {
  conic* o = circlethrough(freept(0, 0));
  line* m[5];
  const double t[5] = {0.3, 1.5, 2.7, 4.0, 5.2};
  for (int i = 0; i < 5; i++) m[i] = tangentline(100, t[i]);
  conic* big = add<conic>(CONIC_LLLLL, {m[0], m[1], m[2], m[3], m[4]});
  checkconstraints();
  // through the origin F would be 0: not representable
  EXPECT_EQ(o->valid, 0);
  for (double c : o->coef) EXPECT_EQ(c, 0);
  // a large leading coefficient is scaled to 1: x^2 + y^2 - 10^4
  EXPECT_EQ(big->coef[0], 1);
  EXPECT_TRUE(values({big->coef[2], big->coef[5]}, {1, -1e4}, 1e-5));
}

TEST_F(Engine, LineMeetsConic) {
  conic* k = fixedconic(1, 0, 1, 0, 0, -1);  // the unit circle
  line* h = linethru(-2, 0.5, 2, 0.5);       // horizontal: a = 0
  vertex* h1 = add<vertex>(V_LCONIC1, {h, k});
  vertex* h2 = add<vertex>(V_LCONIC2, {h, k});
  line* v = linethru(0.6, -2, 0.6, 2);
  vertex* v1 = add<vertex>(V_LCONIC1, {v, k});
  vertex* v2 = add<vertex>(V_LCONIC2, {v, k});
  vertex* none = add<vertex>(V_LCONIC1, {linethru(2, -2, 2, 2), k});
  flt* d = add<flt>(F_VV, {none, v1});
  checkconstraints();
  EXPECT_EQ(h->a, 0);
  EXPECT_TRUE(values({h1->x, h1->y, h2->x}, {S3 / 2, 0.5, -S3 / 2}));
  EXPECT_TRUE(values({v1->x, v1->y, v2->y}, {0.6, 0.8, -0.8}));
  // no intersection: (0, 0, 0), still valid, and measures from it are 1e30
  EXPECT_EQ(none->valid, 1);
  EXPECT_TRUE(values({none->w, d->value}, {0, 1e30}));
}

TEST_F(Engine, TangentsToAConic) {
  conic* k = fixedconic(1, 0, 1, 0, 0, -1);
  vertex* above = freept(0, 2);
  line* t1 = add<line>(L_CONICV1, {k, above});
  line* t2 = add<line>(L_CONICV2, {k, above});
  vertex* level = freept(2, 0);  // the polar is vertical here
  line* s1 = add<line>(L_CONICV1, {k, level});
  line* s2 = add<line>(L_CONICV2, {k, level});
  line* bad = add<line>(L_CONICV1, {k, freept(0.1, 0.2)});
  checkconstraints();
  // from (0, 2): touching points (+-sqrt(3)/2, 1/2)
  EXPECT_TRUE(values({t1->p1.x, t1->p1.y, t2->p1.x, t1->p2.y},
                     {S3 / 2, 0.5, -S3 / 2, 2}));
  // from (2, 0): (1/2, +-sqrt(3)/2), both drawn
  EXPECT_EQ(s1->valid + s2->valid, 2);
  EXPECT_TRUE(values({s1->p1.x, std::fabs(s1->p1.y), s1->p1.y},
                     {0.5, S3 / 2, -s2->p1.y}));
  // the touching point is on the circle and the radius there is normal
  for (line* l : {t1, t2, s1, s2})
    EXPECT_TRUE(
        values({onconic(k, l->p1.x, l->p1.y), l->a * l->p1.y - l->b * l->p1.x},
               {0, 0}, 1e-12));
  // from inside: invalid, the line at infinity
  EXPECT_EQ(bad->valid, 0);
  EXPECT_TRUE(values({bad->a, bad->b, bad->c}, {0, 0, 2000}));
}

TEST_F(Engine, TangentAtADefiningPoint) {
  vertex* p = freept(3, 0);
  conic* k = circlethrough(p);
  line* t = add<line>(L_CONICV1, {k, p});
  line* ti = add<line>(L_CONICV1, {k, infinitept()});
  checkconstraints();
  // the tangent at (3, 0) to (x-2)^2 + y^2 = 1 is the vertical x = 3
  EXPECT_EQ(t->valid, 1);
  EXPECT_TRUE(values({t->b, t->a * 3 + t->c}, {0, 0}, 1e-12));
  EXPECT_NEAR(t->a * 3 + t->b * 5 + t->c, 0, 1e-9);
  // from a point at infinity: the line at infinity, still valid
  EXPECT_EQ(ti->valid, 1);
  EXPECT_TRUE(values({ti->a, ti->b}, {0, 0}));
}

TEST_F(Engine, PointOnAConic) {
  vertex* p = add<vertex>(VONCONIC, {fixedconic(1, 0, 1, 0, 0, -1)});
  p->x = p->y = 1.5;
  // (x-10)^2 + (y-10)^2 = 1
  vertex* q = add<vertex>(VONCONIC, {fixedconic(1, 0, 1, -20, -20, 199)});
  q->x = q->y = 0.5;
  checkconstraints();
  // nearest point of the unit circle, within the search's resolution
  EXPECT_NEAR_XY(p, R, R, 5e-4);
  EXPECT_EQ(p->w, 1);
  // not in view anywhere: the point disappears but keeps its place
  EXPECT_TRUE(values({q->w, q->x}, {0, 0.5}));
}

TEST_F(Engine, ProjectionFarFromTheOriginEnds) {
  // x^2 - (1 + 1e14) x + 1e14 = 0: the vertical lines x = 1 and x = 1e14.
  // Near x = 1e14 a step of 0.0003 does not change x; the search must end.
  vertex* p =
      add<vertex>(VONCONIC, {fixedconic(1e-14, 0, 0, -(1 + 1e-14), 0, 1)});
  p->x = 1e14;
  p->y = 0.5;
  checkconstraints();
  EXPECT_EQ(p->w, 1);
  EXPECT_NEAR(p->x, 1e14, 1);
  EXPECT_NEAR(p->y, 0.5, 0.01);
}

}  // namespace
