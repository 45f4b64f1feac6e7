// Dragging points and the view arithmetic: sizes that follow the window,
// pixel to world conversion, and moving, zooming and turning the diagram.
#include <cmath>

#include "engine/drag.h"
#include "engine/recompute.h"
#include "render/view.h"
#include "tests/engine_fixture.h"

namespace {
using namespace enginetest;

void setwindow(int w, int h) {
  xsize = w;
  ysize = h;
  recalcsizes(0);
}

struct Drag : Engine {
  void SetUp() override {
    Engine::SetUp();
    setwindow(600, 400);  // x from -1.5 to 1.5, y from -1 to 1
  }
};

int constructing() {
  return 0;
}

TEST_F(Drag, FreePointFollowsTheMouseInsideTheView) {
  vertex* a = freept(0, 0);
  vertex* b = freept(1, 1);
  vertex* m = add<vertex>(V_VVMID, {a, b});
  checkconstraints();
  selectprim(b);
  blinkonly = 1;
  // pixel (450, 100) from the top is world (0.75, 0.5)
  EXPECT_EQ(dragvertex(450, 100), 1);
  EXPECT_XY(b, 0.75, 0.5);
  EXPECT_EQ(b->satisfied, 0);
  EXPECT_EQ(blinkonly, 0);
  checkconstraints();
  EXPECT_XY(m, 0.375, 0.25);
  EXPECT_EQ(dragvertex(600, 200), 0);  // past the right edge: ignored
  EXPECT_EQ(b->x, 0.75);
  EXPECT_EQ(b->satisfied, 1);
  EXPECT_EQ(dragvertex(0, 0), 1);  // top left corner: clamped
  EXPECT_XY(b, -0.999 * 1.5, 0.999);
  EXPECT_EQ(dragvertex(300, 400), 1);  // bottom edge
  EXPECT_XY(b, 0, -0.999);
}

TEST_F(Drag, WhatCannotBeDragged) {
  vertex* p = freept(0.2, 0.3, PINNED);
  vertex* f = freept(0.1, 0.1);
  line* l = add<line>(L_VV, {p, f});
  vertex* m = add<vertex>(V_VVMID, {p, f});
  checkconstraints();
  for (primitive* q : {(primitive*)p, (primitive*)l, (primitive*)nullptr}) {
    selectprim(q);
    EXPECT_EQ(dragvertex(450, 100), 0);
  }
  EXPECT_EQ(p->x, 0.2);
  selectprim(f);
  inselectstatehook = constructing;
  EXPECT_EQ(dragvertex(450, 100), 0);
  EXPECT_EQ(f->x, 0.1);
  inselectstatehook = nullptr;
  // a computed point moves, then the recomputation puts it back
  selectprim(m);
  EXPECT_EQ(dragvertex(450, 100), 1);
  checkconstraints();
  EXPECT_XY(m, 0.15, 0.2);
}

// Reading a diagram, dragging a point held on a line, and writing it back:
// the writer saves the new place.
TEST_F(Drag, DraggedPlacesAreWhatIsSaved) {
  ASSERT_EQ(langtest::readtext(".geometry \"version 0.65\";\n"
                               "A = .free(-0.5, 0);\n"
                               "B = .free(0.5, 0);\n"
                               "l = .l.vv(A, B);\n"
                               "X = .vonl(l, 0.1, 0.3);\n"
                               "M = .v.vvmid(A, X);\n"),
            1)
      << langtest::firstalert();
  setwindow(600, 400);
  checkconstraints();
  vertex* x = static_cast<vertex*>(langtest::named("X"));
  vertex* m = static_cast<vertex*>(langtest::named("M"));
  ASSERT_NE(x, nullptr);
  EXPECT_XY(x, 0.1, 0);  // pulled onto y = 0
  selectprim(x);
  // pixel (375, 100) is world (0.375, 0.5); the foot on y = 0 is x = 0.375
  ASSERT_EQ(dragvertex(375, 100), 1);
  checkconstraints();
  EXPECT_XY(x, 0.375, 0);
  EXPECT_DOUBLE_EQ(m->x, -0.0625);
  std::string text = langtest::written();
  EXPECT_NE(text.find("X = .vonl(l, 0.375, "), std::string::npos) << text;
  EXPECT_NE(text.find("A = .free(-0.5, 0"), std::string::npos) << text;
}

TEST_F(Engine, ViewRectangleAndSizes) {
  int calls = 0;
  static int* counter;
  counter = &calls;
  recalcsizeshook = [] { (*counter)++; };
  recalcsizes(0);  // no window yet: nothing changes
  EXPECT_EQ(fxmax, 1);
  EXPECT_EQ(calls, 0);
  fontsize = 55;
  setwindow(600, 400);
  EXPECT_EQ(calls, 1);
  // marks 8 pixels edge to edge; fonts cut to 40 on screen, 16 on paper
  EXPECT_TRUE(values({fxmin, fxmax, fymin, fymax, PSxscale, dpbsize, spbsize,
                      fbsize, (double)psfontsize, (double)fontsize},
                     {-1.5, 1.5, -1, 1, 1.5, 0.02, 0.7071067811865 * 0.02,
                      16 * 2.15 / 400, 16, 40}));
  // a square window; the text line height stays that of the first frame
  setwindow(800, 800);
  EXPECT_TRUE(values({fxmax, fymax, PSxscale, dpbsize, fbsize},
                     {1, 1, 1, 0.01, 16 * 2.15 / 400}));
  recalcsizes(1);
  EXPECT_DOUBLE_EQ(fbsize, 16 * 2.15 / 800);
  setwindow(400, 500);  // taller than wide
  EXPECT_TRUE(values({fymin, fymax, PSxscale}, {-1.25, 1.25, 1}));
  ysize = 0;
  recalcsizes(1);  // nothing while a side is 0
  EXPECT_DOUBLE_EQ(fymax, 1.25);
  // resetting brings back the start-up state, the first-frame rule too
  resetview();
  EXPECT_TRUE(values({(double)xsize, fxmax, (double)gvertexsize}, {0, 1, 8}));
  EXPECT_EQ(recalcsizeshook, nullptr);
  setwindow(100, 100);
  EXPECT_DOUBLE_EQ(fbsize, 16 * 2.15 / 100);
}

TEST_F(Drag, PixelsAndProjection) {
  double x, y, u, v;
  getpoint(&x, &y, 300, 200);
  getpoint(&u, &v, 600, 400);
  EXPECT_TRUE(values({x, y, u, v}, {0, 0, 1.5, 1}));
  double m[16];
  ortho2dmatrix(fxmin, fxmax, fymin, fymax, m);
  // column-major: the corner (1.5, 1) maps to (1, 1)
  EXPECT_TRUE(values({m[0] * 1.5 + m[4] * 1 + m[12],
                      m[1] * 1.5 + m[5] * 1 + m[13], m[10], m[15]},
                     {1, 1, -1, 1}));
  ortho2dmatrix(0, 4, 2, 6, m);
  EXPECT_TRUE(values({m[12], m[5] * 6 + m[13]}, {-1, 1}));
}

TEST_F(Engine, ZoomTurnAndMoveTheDiagram) {
  vertex* a = freept(0.5, 0.2);
  vertex* b = freept(-0.3, 0.4);
  vertex* m = add<vertex>(V_VVMID, {a, b});
  vertex* on = add<vertex>(VONL, {add<line>(L_VV, {a, b})});
  on->x = 0.5, on->y = 0.2;
  vertex* pin = freept(0.1, -0.1, PINNED);
  checkconstraints();
  for (int i = 0; i < 10; i++) zoomworld(1.01);
  for (primitive* p = plist; p; p = p->next) EXPECT_EQ(p->satisfied, 0);
  double f = std::pow(1.01, 10);
  // computed points are not touched until recomputed
  EXPECT_TRUE(values({a->x, pin->y, m->x}, {0.5 * f, -0.1 * f, 0.1}, 1e-15));
  checkconstraints();
  // a point on a line scales too
  EXPECT_TRUE(values({m->x, m->y, on->x}, {0.1 * f, 0.3 * f, 0.5 * f}, 1e-14));

  vertex* r = freept(1, 0);
  rotateworld(M_PI / 2);  // clockwise: (1, 0) goes to (0, -1)
  EXPECT_NEAR_XY(r, 0, -1, 1e-15);
  moveworld(-1, 0);
  moveworld(0, 3);
  EXPECT_NEAR_XY(r, -0.01, -0.97, 1e-15);
}

}  // namespace
