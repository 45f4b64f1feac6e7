// The construction helpers: kinds, parent order, names, styles, and the
// choice between two solutions by the click, ties included.
#include <cmath>
#include <functional>

#include "engine/recompute.h"
#include "language/symtable.h"
#include "model/construct.h"
#include "model/style.h"
#include "tests/engine_fixture.h"

namespace {
using namespace enginetest;

// Adds a helper's result to the world list and recomputes.
template <class T>
T* place(T* p) {
  addprimitive(p);
  checkconstraints();
  return p;
}

// (Each helper's kind, parents, style and label through the construction
// commands: see the window tests.)
TEST_F(Engine, HelpersMakeButDoNotAddAndNumberEachType) {
  vertex* a = freept(0, 0);
  vertex* b = freept(1, 0);
  vertex* c = freept(0, 1);
  line* l = linethru(0, 2, 1, 2);
  vertex* five[5] = {a, b, c, freept(1, 1), freept(2, 3)};
  line* lines[5] = {l, l, l, l, l};
  checkconstraints();
  primitive* tail = plisttail;
  line* first = linevertvert(a, b);
  EXPECT_EQ(plisttail, tail);
  EXPECT_EQ(pselected, first);
  vertex* v[12];
  for (int i = 0; i < 12; i++) v[i] = freept(std::cos(i), std::sin(i));
  currentpolytype = RW_HASHPOLY;
  polygon* p = vertlisttopolygon(12, v);  // cut at ten corners
  EXPECT_EQ(p->nvert, 10);
  EXPECT_EQ(p->polytype, RW_HASHPOLY);
  EXPECT_EQ(p->parents[9], v[9]);
  const struct {
    primitive* p;
    const char* name;
  } rows[] = {
      {first, "l1"},
      {vertvertlineperp(a, b), "l2"},
      {circvertvert(a, b), "c1"},
      {avvv(b, a, c), "ang1"},
      {p, "poly1"},
      {vvvvvtoconic(five), "con1"},
      {llllltoconic(lines), "con2"},
      {vvvvbez(a, b, c, five[3]), "bez1"},
      {vvvtoarc(a, b, c), "arc1"},
  };
  for (const auto& r : rows) {
    EXPECT_STREQ(r.p->symbol->name, r.name);
    place(r.p);
  }
}

TEST_F(Engine, BranchesChosenByTheClick) {
  circle* c = circ(0, 0, 1);
  line* l = linethru(-2, 0.6, 2, 0.6);  // meets c at (-0.8, .6), (0.8, .6)
  vertex* v = freept(2, 0);             // touches c at (1/2, +-sqrt(3)/2)
  circle* c5 = circ(0, 0, 5);
  circle* c6 = circ(6, 0, 5);  // meet at (3, -4) branch 1, (3, 4) branch 2
  circle* c0 = circ(0, 0, 2);
  circle* c1 = circ(6, 0, 1);
  conic* k = fixedconic(1, 0, 1, 0, 0, -1);
  line* h = linethru(-2, 0.5, 2, 0.5);  // branch 1 at x = +sqrt(3)/2
  vertex* top = freept(0, 2);           // branch 1 touches at x = +sqrt3/2
  checkconstraints();
  using maker = std::function<primitive*(double, double)>;
  maker lc = [&](double x, double y) { return linecirctovert1(l, c, x, y); };
  maker cc = [&](double x, double y) { return circcirctovert1(c5, c6, x, y); };
  maker vc = [&](double x, double y) { return vertcirctoline1(v, c, x, y); };
  maker ext = [&](double x, double y) {
    return circcirctolineext1(c0, c1, x, y);
  };
  maker in = [&](double x, double y) {
    return circcirctolineint1(c0, c1, x, y);
  };
  maker lk = [&](double x, double y) { return vertlineconic(h, k, x, y); };
  maker tk = [&](double x, double y) { return vertcontangent(top, k, x, y); };
  // The third click of each helper is equally far from both solutions
  // (on V, on the line of centres, ...): the second branch stays.
  const struct {
    maker& make;
    double x, y;
    int kind;
    primitive* first;
  } rows[] = {
      {lc, -0.7, 0.6, V_LC1, l},     {lc, 0.7, 0.6, V_LC2, l},
      {lc, 0, 3, V_LC2, l},          {cc, 3, -3, V_CC1, c5},
      {cc, 2, 1, V_CC2, c5},         {cc, 7, 0, V_CC2, c5},
      {vc, 0.5, 0.8, L_VC1, v},      {vc, 0.5, -0.8, L_VC2, v},
      {vc, 2, 0, L_VC2, v},          {ext, 3, 2, L_CCEXT1, c0},
      {ext, 3, -2, L_CCEXT2, c0},    {ext, 3, 0, L_CCEXT2, c0},
      {in, 1, 1.5, L_CCINT1, c0},    {in, 1, -1.5, L_CCINT2, c0},
      {in, 4, 0, L_CCINT2, c0},      {lk, 0.8, 0.5, V_LCONIC1, h},
      {lk, -0.8, 0.5, V_LCONIC2, h}, {lk, 0, 0.5, V_LCONIC2, h},
      {tk, 0.9, 0.5, L_CONICV1, k},  {tk, -0.9, 0.5, L_CONICV2, k},
      {tk, 0, 0, L_CONICV2, k},
  };
  for (const auto& r : rows) {
    primitive* p = place(r.make(r.x, r.y));
    EXPECT_EQ(p->kind, r.kind) << r.x << ", " << r.y;
    EXPECT_EQ(p->parents[0], r.first) << r.kind;  // conic before vertex too
  }
  EXPECT_EQ(place(circcirctovert2(c5, c6))->kind, V_CC2);
}

TEST_F(Engine, CircleTangentToThreeLinesByTheClicks) {
  line* l0 = linethru(0, 0, 4, 0);
  line* l1 = linethru(0, 0, 0, 3);
  line* l2 = linethru(4, 0, 0, 3);
  checkconstraints();
  // the contacts of the incircle, and clicks around each excentre
  const struct {
    double xy[6];
    int kind;
    double radius;
  } rows[] = {{{1, 0, 0, 1, 1.6, 1.8}, C_LLL1, 1},
              {{-2, 0, 0, 2, -2, 4}, C_LLL2, 2},
              {{3, 0, 0, -3, 3, -3}, C_LLL3, 3},
              {{6, 0, 0, 6, 6, 6}, C_LLL4, 6}};
  for (const auto& r : rows) {
    circle* c = place(llltocircle(l0, l1, l2, r.xy));
    EXPECT_EQ(c->kind, r.kind);
    EXPECT_NEAR(c->radius, r.radius, 1e-12);
  }
}

TEST_F(Engine, PointTiedToACurve) {
  line* l = linethru(0, 1, 2, 3);  // y = x + 1
  circle* c = circ(0, 0, 2);
  checkconstraints();
  vertex* p = makevertex(3, 0);
  ASSERT_TRUE(verttoline(p, l));
  EXPECT_EQ(p->kind, VONL);
  EXPECT_EQ(p->parents[0], l);
  place(p);
  EXPECT_XY(p, 1, 2);  // the foot of the perpendicular from (3, 0)
  vertex* q = makevertex(3, 4);
  ASSERT_TRUE(verttocirc(q, c));
  place(q);
  EXPECT_XY(q, 1.2, 1.6);
  // a point may not be tied to a curve built on itself, nor a computed one
  vertex* a = static_cast<vertex*>(l->parents[0]);
  EXPECT_EQ(verttoline(a, l), 0);
  EXPECT_EQ(a->kind, FREE);
  vertex* mid = place(vertvertvertmid(a, q));
  EXPECT_EQ(verttocirc(mid, c), 0);
  EXPECT_EQ(mid->kind, V_VVMID);
}

}  // namespace
