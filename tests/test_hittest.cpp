// Hit testing: tolerances, the square around a point, segments against
// rays and whole lines, curves, visibility, and Ctrl-click cycling.
#include <gtest/gtest.h>

#include <cmath>

#include "model/reset.h"
#include "model/style.h"
#include "model/worldlist.h"
#include "render/hittest.h"
#include "render/view.h"

namespace {

struct Hit : ::testing::Test {
  void SetUp() override {
    resetall();
    xsize = ysize = 400;  // dpbsize = 8 / 400 = 0.02
    recalcsizes(0);
  }
  void TearDown() override { resetall(); }
};

vertex* point(double x, double y, int kind = FREE) {
  vertex* v = static_cast<vertex*>(newprimitive(RW_VERTEX));
  v->x = x;
  v->y = y;
  v->w = 1;
  v->kind = kind;
  addprimitive(v);
  return v;
}

// The segment through two points with its coefficients worked by hand by
// the caller: a*x + b*y + c = 0.
line* segment(double x1, double y1, double x2, double y2, double a, double b,
              double c, int linetype = RW_SEGMENT) {
  line* l = static_cast<line*>(newprimitive(RW_LINE));
  l->kind = L_VV;
  l->p1.x = x1, l->p1.y = y1, l->p1.w = 1;
  l->p2.x = x2, l->p2.y = y2, l->p2.w = 1;
  l->a = a, l->b = b, l->c = c;
  l->linetype = linetype;
  addprimitive(l);
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
  // 1.8 d along both axes lies 2.55 d away: outside a disc of 1.9 d, inside
  // the square.
  EXPECT_EQ(hitvertex(0.1 + 1.8 * d, 0.2 - 1.8 * d), v);
  EXPECT_EQ(hitvertex(0.1 + 2.0 * d, 0.2), nullptr);
  EXPECT_EQ(hitvertex(0.1, 0.2 - 2.0 * d), nullptr);
  v->w = 0;  // a point at infinity is never hit
  EXPECT_EQ(hitvertex(0.1, 0.2), nullptr);
}

TEST_F(Hit, FreePointWinsOverPinnedPoint) {
  vertex* pinned = point(0, 0, PINNED);
  vertex* free = point(0.01, 0);
  EXPECT_EQ(hitvertex(0.005, 0), free);
  EXPECT_EQ(hitvertex(-0.03, 0), pinned);  // only the pinned one is there
  // The general search never offers a pinned point.
  deleteprimitive(free);
  EXPECT_EQ(hitprimitive(0, 0), nullptr);
  EXPECT_EQ(hitvertex(0, 0), pinned);
}

TEST_F(Hit, PointsOnHiddenLayersAreSkipped) {
  vertex* v = point(0, 0);
  v->layers = 1u << 3;
  layerset = 1u << 2;
  EXPECT_EQ(hitvertex(0, 0), nullptr);
  layerset |= 1u << 3;
  EXPECT_EQ(hitvertex(0, 0), v);
}

TEST_F(Hit, SegmentRayAndWholeLine) {
  // y = x from (0, 0) to (0.5, 0.5): x - y = 0.
  line* s = segment(0, 0, 0.5, 0.5, 1, -1, 0);
  // 0.01 off in y is 0.00707 from the line, inside 0.019.
  EXPECT_NEAR(disttoline(s, 0.25, 0.26), 0.01 / std::sqrt(2.0), 1e-12);
  EXPECT_EQ(hitline(0.25, 0.26), s);
  EXPECT_EQ(hitline(0.25, 0.30), nullptr);  // 0.0354 away
  // Beyond the end of the segment, on its supporting line.
  EXPECT_EQ(disttoline(s, 0.6, 0.6), NOHIT);
  EXPECT_EQ(hitline(0.6, 0.6), nullptr);
  s->linetype = RW_RAY12;  // a ray is picked along its whole line
  EXPECT_EQ(hitline(-0.3, -0.3), s);
  s->linetype = RW_LONGLINE;
  EXPECT_EQ(hitline(0.9, 0.9), s);
  s->a = s->b = 0;
  EXPECT_EQ(disttoline(s, 0, 0), NOHITF);
}

TEST_F(Hit, VerticalSegmentIsBoundedInY) {
  line* s = segment(0, 0, 0, 0.5, 1, 0, 0);
  EXPECT_EQ(hitline(0.001, 0.25), s);
  EXPECT_EQ(hitline(0.001, 0.9), nullptr);
  EXPECT_EQ(hitline(0.001, -0.2), nullptr);
}

TEST_F(Hit, AnotherLineSkipsTheFirst) {
  line* l1 = segment(-1, 0, 1, 0, 0, 1, 0);
  line* l2 = segment(0, -1, 0, 1, 1, 0, 0);
  EXPECT_EQ(hitline(0, 0), l1);
  EXPECT_EQ(hitanotherline(0, 0, l1), l2);
}

TEST_F(Hit, Circles) {
  circle* c = static_cast<circle*>(newprimitive(RW_CIRCLE));
  c->kind = C_VV;
  c->center.x = 0.2, c->center.y = 0, c->center.w = 1;
  c->radius = 0.5;
  addprimitive(c);
  EXPECT_NEAR(disttocircle(c, 0.71, 0), 0.01, 1e-12);
  EXPECT_EQ(hitcircle(0.71, 0), c);
  EXPECT_EQ(hitcircle(0.2, 0.515), c);
  EXPECT_EQ(hitcircle(0.73, 0), nullptr);
  EXPECT_EQ(hitcircle(0.2, 0), nullptr);  // the centre is not the circle
  // Homogeneous centre (0.4, 0, 2) is the same point.
  c->center.x = 0.4, c->center.w = 2;
  EXPECT_EQ(hitcircle(0.71, 0), c);
  c->center.w = 0;  // centre at infinity: never hit
  EXPECT_EQ(disttocircle(c, 0.71, 0), NOHIT);
  EXPECT_EQ(hitcircle(0.71, 0), nullptr);
}

TEST_F(Hit, InvisibleAndPerLayerHidden) {
  vertex* v = point(0, 0);
  v->color = COLOR_INVISIBLE;
  EXPECT_EQ(hitvertex(0, 0), nullptr);
  showinvisible = 1;
  EXPECT_EQ(hitvertex(0, 0), v);
  showinvisible = 0;
  v->color = COLOR_PERLAYER;
  for (int i = 0; i < NLAYERS; i++) v->layercolor[i] = 1;
  v->layercolor[0] = 255;  // not shown on layer 0, the lowest in force
  EXPECT_EQ(hitvertex(0, 0), nullptr);
  layerset = ~1u;
  updateminlayer();
  EXPECT_EQ(hitvertex(0, 0), v);
  // An invisible polygon is still picked.
  polygon* p = static_cast<polygon*>(newprimitive(RW_POLYGON));
  p->kind = POLYGON;
  p->nvert = 3;
  p->parents[0] = point(0.5, 0.5);
  p->parents[1] = point(0.9, 0.5);
  p->parents[2] = point(0.7, 0.9);
  p->color = COLOR_INVISIBLE;
  addprimitive(p);
  EXPECT_TRUE(hitpolygon(p, 0.7, 0.505));  // bottom edge
  EXPECT_TRUE(hitpolygon(p, 0.6, 0.7));    // left edge, (0.5,0.5)-(0.7,0.9)
  EXPECT_FALSE(hitpolygon(p, 0.7, 0.6));   // inside, away from the edges
  EXPECT_EQ(hitprimitive(0.7, 0.505), p);
}

TEST_F(Hit, ConicOnlyWhereVisible) {
  conic* c = static_cast<conic*>(newprimitive(RW_CONIC));
  c->kind = CONIC_VVVVV;
  double k[6] = {1, 0, 1, 0, 0, -0.25};  // x^2 + y^2 = 0.25
  for (int i = 0; i < 6; i++) c->coef[i] = k[i];
  addprimitive(c);
  EXPECT_EQ(hitconic(0.53, 0.003), c);     // 0.03 from the curve, < 0.038
  EXPECT_EQ(hitconic(0.3, 0.3), nullptr);  // 0.076 inside
  c->coef[5] = -100;  // radius 10: nothing of it is in the view
  EXPECT_NEAR(disttoconic(c, 0.99, 0), 10 - std::hypot(0.99, 0.0), 0.02);
  EXPECT_EQ(hitconic(0.99, 0), nullptr);
  // x = 5 (a degenerate conic, x^2 - 25 = 0 with x > 0): no sample column
  // of the view meets it, and the rows find it only outside the view.
  double far[6] = {0, 0, 0, 1, 0, -5};
  for (int i = 0; i < 6; i++) c->coef[i] = far[i];
  EXPECT_EQ(hitconic(0.99, 0.5), nullptr);
  c->coef[0] = 1, c->coef[2] = 1, c->coef[3] = 0, c->coef[5] = 1;  // no points
  EXPECT_EQ(disttoconic(c, 0, 0), NOHIT);
}

TEST_F(Hit, AnglesArePickedInTheirSectorNearTheApex) {
  vertex* P = point(1, 0);
  vertex* V = point(0, 0);
  vertex* Q = point(0, 1);
  angle* a = static_cast<angle*>(newprimitive(RW_ANGLE));
  a->kind = A_VVV;
  a->parents[0] = P, a->parents[1] = V, a->parents[2] = Q;
  addprimitive(a);
  // The reach is a squared distance compared with 1.9 dpbsize = 0.038.
  EXPECT_TRUE(hitangle(a, 0.15, 0.1));     // 0.0325
  EXPECT_FALSE(hitangle(a, 0.2, 0.1));     // 0.05
  EXPECT_FALSE(hitangle(a, -0.05, 0.05));  // outside the quarter
  // The other way round the sector is the remaining three quarters.
  a->parents[0] = Q, a->parents[2] = P;
  EXPECT_TRUE(hitangle(a, -0.05, 0.05));
  EXPECT_TRUE(hitangle(a, 0.05, -0.05));
  EXPECT_FALSE(hitangle(a, 0.05, 0.05));
  a->kind = A_F;
  EXPECT_EQ(disttoangle(a, -0.05, 0.05), NOHIT);
}

TEST_F(Hit, ArcsNearTheirCircleInTheirSweep) {
  vertex* A = point(0.5, 0);
  vertex* C = point(0, 0);
  vertex* B = point(0, 1);
  arc* r = static_cast<arc*>(newprimitive(RW_ARC));
  r->kind = ARC_VVV;
  r->parents[0] = A, r->parents[1] = C, r->parents[2] = B;
  addprimitive(r);
  EXPECT_EQ(hitarc(0.5 * std::cos(0.5), 0.5 * std::sin(0.5)), r);
  EXPECT_EQ(hitarc(0.51 * std::cos(1.0), 0.51 * std::sin(1.0)), r);
  EXPECT_EQ(hitarc(0.5 * std::cos(2.0), 0.5 * std::sin(2.0)), nullptr);
  EXPECT_EQ(hitarc(0.45 * std::cos(0.5), 0.45 * std::sin(0.5)), nullptr);
}

TEST_F(Hit, BezierAndText) {
  bezier* b = static_cast<bezier*>(newprimitive(RW_BEZIER));
  b->kind = BEZ_VVVV;
  // Control points evenly on the x axis make B(t) = (t, 0).
  vertex* ctl[4] = {&b->p1, &b->p2, &b->p3, &b->p4};
  for (int i = 0; i < 4; i++) ctl[i]->x = i / 3.0, ctl[i]->y = 0, ctl[i]->w = 1;
  addprimitive(b);
  EXPECT_NEAR(disttobezier(b, 0.5, 0.01), 0.01, 1e-9);
  EXPECT_EQ(hitprimitive(0.5, 0.01), b);
  EXPECT_EQ(hitprimitive(1.1, 0), nullptr);
  text* t = static_cast<text*>(newprimitive(RW_TEXT));
  t->ylow = -0.6, t->yhigh = -0.5;
  addprimitive(t);
  EXPECT_EQ(hitprimitive(0.9, -0.55), t);  // x is not tested
  EXPECT_EQ(selectedtextprim, t);
  EXPECT_EQ(hitprimitive(0.9, -0.45), nullptr);
  EXPECT_EQ(selectedtextprim, nullptr);
}

TEST_F(Hit, CtrlClicksCycleThroughWhatLiesThere) {
  vertex* a = point(0, 0);
  line* l = segment(-1, 0, 1, 0, 0, 1, 0);
  vertex* b = point(0, 0);
  point(0.5, 0.5);  // elsewhere
  selectvertex(0.001, 0.001);
  EXPECT_EQ(pselected, a);  // a point wins, the earlier one
  selectnextvertex(0.001, 0.001);
  EXPECT_EQ(pselected, l);
  selectnextvertex(0.001, 0.001);
  EXPECT_EQ(pselected, b);
  selectnextvertex(0.001, 0.001);
  EXPECT_EQ(pselected, a);  // after the last one: start again
  selectvertex(0.7, -0.7);
  EXPECT_EQ(pselected, nullptr);
  selectnextvertex(0.3, 0.001);  // nothing selected: as a plain click
  EXPECT_EQ(pselected, l);
}

}  // namespace
