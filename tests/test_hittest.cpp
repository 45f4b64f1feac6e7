// Hit testing: tolerances, the square around a point, segments against
// rays and whole lines, curves, visibility, and what a search offers.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <initializer_list>

#include "model/style.h"
#include "model/worldlist.h"
#include "render/hittest.h"
#include "render/view.h"
#include "tests/langtest.h"

namespace {

struct Hit : langtest::Lang {
  void SetUp() override {
    Lang::SetUp();
    xsize = ysize = 400;  // dpbsize = 8 / 400 = 0.02
    recalcsizes(0);
  }
};

// A new record of the given type and kind, in the world list.
template <class T>
T* record(int type, int kind) {
  T* p = static_cast<T*>(newprimitive(type));
  p->kind = kind;
  addprimitive(p);
  return p;
}

vertex* point(double x, double y, int kind = FREE) {
  vertex* v = record<vertex>(RW_VERTEX, kind);
  v->x = x;
  v->y = y;
  v->w = 1;
  return v;
}

// The segment through two points with its coefficients worked by hand by
// the caller: a*x + b*y + c = 0.
line* segment(double x1, double y1, double x2, double y2, double a, double b,
              double c) {
  line* l = record<line>(RW_LINE, L_VV);
  l->p1.x = x1, l->p1.y = y1, l->p1.w = 1;
  l->p2.x = x2, l->p2.y = y2, l->p2.w = 1;
  l->a = a, l->b = b, l->c = c;
  l->linetype = RW_SEGMENT;
  return l;
}

TEST_F(Hit, TolerancesFollowTheMarkSize) {
  EXPECT_DOUBLE_EQ(dpbsize, 0.02);
  EXPECT_DOUBLE_EQ(vertextolerance(), 0.038);
  EXPECT_DOUBLE_EQ(curvetolerance(), 0.019);
  EXPECT_DOUBLE_EQ(conictolerance(), 0.038);
  xsize = 800, ysize = 600;  // the shorter side decides
  recalcsizes(0);
  EXPECT_DOUBLE_EQ(vertextolerance(), 1.9 * 8 / 600);
}

TEST_F(Hit, PointIsFoundInASquareNotADisc) {
  vertex* v = point(0.1, 0.2);
  double d = dpbsize;
  EXPECT_EQ(hitvertex(0.1 + 1.5 * d, 0.2 + 1.5 * d), v);
  // 1.8 d along both axes is 2.55 d away: outside a disc of 1.9 d, inside
  // the square
  EXPECT_EQ(hitvertex(0.1 + 1.8 * d, 0.2 - 1.8 * d), v);
  EXPECT_EQ(hitvertex(0.1 + 2.0 * d, 0.2), nullptr);
  EXPECT_EQ(hitvertex(0.1, 0.2 - 2.0 * d), nullptr);
  v->w = 0;  // a point at infinity is never hit
  EXPECT_EQ(hitvertex(0.1, 0.2), nullptr);
}

// (A free point over a pinned one, and Ctrl-click cycling, through the
// mouse: see the window tests.)
TEST_F(Hit, TheGeneralSearchNeverOffersAPinnedPoint) {
  vertex* pinned = point(0, 0, PINNED);
  EXPECT_EQ(hitprimitive(0, 0), nullptr);
  EXPECT_EQ(hitvertex(0, 0), pinned);
  line* l = segment(-1, 0, 1, 0, 0, 1, 0);
  selectvertex(0.7, -0.7);  // nothing there
  EXPECT_EQ(pselected, nullptr);
  selectnextvertex(0.3, 0.001);  // nothing selected: as a plain click
  EXPECT_EQ(pselected, l);
}

TEST_F(Hit, SegmentRayAndWholeLine) {
  line* s = segment(0, 0, 0.5, 0.5, 1, -1, 0);  // y = x: x - y = 0
  // 0.01 off in y is 0.00707 from the line, inside 0.019
  EXPECT_NEAR(disttoline(s, 0.25, 0.26), 0.01 / std::sqrt(2.0), 1e-12);
  EXPECT_EQ(hitline(0.25, 0.26), s);
  EXPECT_EQ(hitline(0.25, 0.30), nullptr);  // 0.0354 away
  // beyond the end of the segment, on its supporting line
  EXPECT_EQ(disttoline(s, 0.6, 0.6), NOHIT);
  EXPECT_EQ(hitline(0.6, 0.6), nullptr);
  s->linetype = RW_RAY12;  // a ray is picked along its whole line
  EXPECT_EQ(hitline(-0.3, -0.3), s);
  s->linetype = RW_LONGLINE;
  EXPECT_EQ(hitline(0.9, 0.9), s);
  s->a = s->b = 0;
  EXPECT_EQ(disttoline(s, 0, 0), NOHITF);
  // a vertical segment is bounded in y
  line* v = segment(0.5, -0.5, 0.5, 0, 1, 0, -0.5);
  EXPECT_EQ(hitline(0.501, -0.25), v);
  EXPECT_EQ(hitline(0.501, 0.4), nullptr);
  EXPECT_EQ(hitline(0.501, -0.7), nullptr);
  // crossing lines: the first is found first, then the other
  line* h = segment(-1, -0.25, 1, -0.25, 0, 1, 0.25);
  EXPECT_EQ(hitline(0.5, -0.25), v);
  EXPECT_EQ(hitanotherline(0.5, -0.25, v), h);
}

TEST_F(Hit, Circles) {
  circle* c = record<circle>(RW_CIRCLE, C_VV);
  c->center.x = 0.2, c->center.y = 0, c->center.w = 1;
  c->radius = 0.5;
  EXPECT_NEAR(disttocircle(c, 0.71, 0), 0.01, 1e-12);
  EXPECT_EQ(hitcircle(0.71, 0), c);
  EXPECT_EQ(hitcircle(0.2, 0.515), c);
  EXPECT_EQ(hitcircle(0.73, 0), nullptr);
  EXPECT_EQ(hitcircle(0.2, 0), nullptr);  // the centre is not the circle
  c->center.x = 0.4, c->center.w = 2;     // the same centre, scaled
  EXPECT_EQ(hitcircle(0.71, 0), c);
  c->center.w = 0;  // centre at infinity: never hit
  EXPECT_EQ(disttocircle(c, 0.71, 0), NOHIT);
  EXPECT_EQ(hitcircle(0.71, 0), nullptr);
}

TEST_F(Hit, HiddenLayersInvisibleAndPerLayerColours) {
  vertex* v = point(0, 0);
  v->layers = 1u << 3;
  layerset = 1u << 2;
  EXPECT_EQ(hitvertex(0, 0), nullptr);
  layerset = 0xffffffffu;
  EXPECT_EQ(hitvertex(0, 0), v);
  v->color = COLOR_INVISIBLE;
  EXPECT_EQ(hitvertex(0, 0), nullptr);
  showinvisible = 1;
  EXPECT_EQ(hitvertex(0, 0), v);
  showinvisible = 0;
  v->color = COLOR_PERLAYER;
  for (int i = 0; i < NLAYERS; i++) v->layercolor[i] = 1;
  v->layercolor[0] = 255;  // not shown on layer 0, the lowest in force
  updateminlayer();
  EXPECT_EQ(hitvertex(0, 0), nullptr);
  layerset = ~1u;
  updateminlayer();
  EXPECT_EQ(hitvertex(0, 0), v);
  // An invisible polygon is still picked, by its edges only.
  polygon* p = record<polygon>(RW_POLYGON, POLYGON);
  p->nvert = 3;
  p->parents[0] = point(0.5, 0.5);
  p->parents[1] = point(0.9, 0.5);
  p->parents[2] = point(0.7, 0.9);
  p->color = COLOR_INVISIBLE;
  EXPECT_TRUE(hitpolygon(p, 0.7, 0.505));  // bottom edge
  EXPECT_TRUE(hitpolygon(p, 0.6, 0.7));    // left edge, (0.5,0.5)-(0.7,0.9)
  EXPECT_FALSE(hitpolygon(p, 0.7, 0.6));
  EXPECT_EQ(hitprimitive(0.7, 0.505), p);
}

TEST_F(Hit, ConicOnlyWhereVisible) {
  conic* c = record<conic>(RW_CONIC, CONIC_VVVVV);
  auto setcoef = [c](std::initializer_list<double> k) {
    std::copy(k.begin(), k.end(), c->coef);
  };
  setcoef({1, 0, 1, 0, 0, -0.25});         // x^2 + y^2 = 0.25
  EXPECT_EQ(hitconic(0.53, 0.003), c);     // 0.03 from the curve
  EXPECT_EQ(hitconic(0.3, 0.3), nullptr);  // 0.076 inside
  c->coef[5] = -100;  // radius 10: nothing of it is in the view
  EXPECT_NEAR(disttoconic(c, 0.99, 0), 10 - 0.99, 0.02);
  EXPECT_EQ(hitconic(0.99, 0), nullptr);
  // x = 5: no sample column of the view meets it, and the rows find it only
  // outside the view
  setcoef({0, 0, 0, 1, 0, -5});
  EXPECT_EQ(hitconic(0.99, 0.5), nullptr);
  // Semi-axes 0.5 and 0.15 turned by 45 degrees: the tip at x = y =
  // 0.3536 reaches past the box of the unturned terms (x up to 0.203).
  setcoef({2 + 1 / 0.045, 4 - 2 / 0.045, 2 + 1 / 0.045, 0, 0, -1});
  EXPECT_EQ(hitconic(0.37, 0.37), c);        // 0.0233 beyond the tip
  EXPECT_EQ(hitconic(0.40, 0.40), nullptr);  // 0.0657 beyond
  setcoef({1, 0, 1, 0, 0, 1});               // no points at all
  EXPECT_EQ(disttoconic(c, 0, 0), NOHIT);
}

TEST_F(Hit, AnglesArePickedInTheirSectorNearTheApex) {
  vertex* P = point(1, 0);
  vertex* V = point(0, 0);
  vertex* Q = point(0, 1);
  angle* a = record<angle>(RW_ANGLE, A_VVV);
  a->parents[0] = P, a->parents[1] = V, a->parents[2] = Q;
  // the reach is a squared distance compared with 1.9 dpbsize = 0.038
  EXPECT_TRUE(hitangle(a, 0.15, 0.1));     // 0.0325
  EXPECT_FALSE(hitangle(a, 0.2, 0.1));     // 0.05
  EXPECT_FALSE(hitangle(a, -0.05, 0.05));  // outside the quarter
  // the other way round the sector is the remaining three quarters
  a->parents[0] = Q, a->parents[2] = P;
  EXPECT_TRUE(hitangle(a, -0.05, 0.05));
  EXPECT_TRUE(hitangle(a, 0.05, -0.05));
  EXPECT_FALSE(hitangle(a, 0.05, 0.05));
  a->kind = A_F;
  EXPECT_EQ(disttoangle(a, -0.05, 0.05), NOHIT);
}

TEST_F(Hit, ArcsNearTheirCircleInTheirSweep) {
  arc* r = record<arc>(RW_ARC, ARC_VVV);
  r->parents[0] = point(0.5, 0), r->parents[1] = point(0, 0);
  r->parents[2] = point(0, 1);
  auto at = [](double radius, double t) {
    return hitarc(radius * std::cos(t), radius * std::sin(t));
  };
  EXPECT_EQ(at(0.5, 0.5), r);
  EXPECT_EQ(at(0.51, 1.0), r);
  EXPECT_EQ(at(0.5, 2.0), nullptr);  // outside the sweep
  EXPECT_EQ(at(0.45, 0.5), nullptr);
}

TEST_F(Hit, BezierAndText) {
  bezier* b = record<bezier>(RW_BEZIER, BEZ_VVVV);
  // control points evenly on the x axis make B(t) = (t, 0)
  vertex* ctl[4] = {&b->p1, &b->p2, &b->p3, &b->p4};
  for (int i = 0; i < 4; i++) ctl[i]->x = i / 3.0, ctl[i]->y = 0, ctl[i]->w = 1;
  EXPECT_NEAR(disttobezier(b, 0.5, 0.01), 0.01, 1e-9);
  EXPECT_EQ(hitprimitive(0.5, 0.01), b);
  EXPECT_EQ(hitprimitive(1.1, 0), nullptr);
  text* t = record<text>(RW_TEXT, NOCONSTRAINT);
  t->ylow = -0.6, t->yhigh = -0.5;
  EXPECT_EQ(hitprimitive(0.9, -0.55), t);  // x is not tested
  EXPECT_EQ(selectedtextprim, t);
  EXPECT_EQ(hitprimitive(0.9, -0.45), nullptr);
  EXPECT_EQ(selectedtextprim, nullptr);
}

}  // namespace
