// Picking and dragging with the mouse through the real window's handler:
// Ctrl-click cycling, a pinned point under a free one, a point bound to a
// line, and the smear trace a drag leaves. (Tolerances and the view's edges
// are checked on the picking and dragging code itself.)
#include <FL/Fl.H>

#include <cmath>
#include <vector>

#include "model/worldlist.h"
#include "render/smear.h"
#include "render/view.h"
#include "tests/gui/guitest.h"

namespace {

struct Drag : ::testing::Test {
  void SetUp() override {
    cleardiagram();
    drawframe();  // sizes known
  }
  void TearDown() override {
    mouserelease();
    cleardiagram();
  }
};

TEST_F(Drag, CtrlClicksCycleAndPinnedPointsGiveWay) {
  vertex* p = addpoint(-0.2, 0);
  vertex* q = addpoint(-0.2, 0);
  line* l = addline(addpoint(-0.8, 0), addpoint(0.8, 0));
  drawframe();
  primitive* turns[] = {p, q, l, p};
  for (int i = 0; i < 4; i++) {
    mousepress(-0.2, 0, i > 0);
    EXPECT_EQ(pselected, turns[i]) << i;
    mouserelease();
  }
  // A pinned point under a free one yields the free one; alone it is
  // picked, but does not move.
  vertex* pinned = addpoint(0.5, 0.5, PINNED);
  vertex* free = addpoint(0.5, 0.5);
  drawframe();
  mousepress(0.5, 0.5);
  EXPECT_EQ(pselected, free);
  mouserelease();
  free->x = -0.5;
  drawframe();
  mousepress(0.5, 0.5);
  EXPECT_EQ(pselected, pinned);
  mousedragto(0.7, 0.7);
  EXPECT_DOUBLE_EQ(pinned->x, 0.5);
  EXPECT_DOUBLE_EQ(pinned->y, 0.5);
}

TEST_F(Drag, PointOnALineStaysOnItAtTheFoot) {
  // The line y = x / 2 through (-0.8, -0.4) and (0.8, 0.4).
  line* l = addline(addpoint(-0.8, -0.4), addpoint(0.8, 0.4));
  vertex* p = addpoint(0, 0, VONL);
  p->parents[0] = l;
  drawframe();
  mousepress(0, 0);
  ASSERT_EQ(pselected, p);
  mousedragto(0.1, 0.6);
  // The line runs along (2, 1); the foot of the perpendicular from M is
  // (2t, t) with t = (2, 1).M / 5: for (0.1, 0.6), t = 0.16.
  double mx, my;
  getpoint(&mx, &my, Fl::event_x(), ysize - Fl::event_y());
  double t = (2 * mx + my) / 5;
  EXPECT_NEAR(p->x, 2 * t, 1e-9);
  EXPECT_NEAR(p->y, t, 1e-9);
  EXPECT_NEAR(t, 0.16, 0.01);
}

// The y of the first end of every segment in the smear trace.
std::vector<double> tracedystarts() {
  std::vector<double> ys;
  for (smearrec* r = firstrec(); r; r = nextrec()) {
    EXPECT_EQ(r->code, SMEAR_SEGMENT);
    ys.push_back(std::round(r->b * 1000) / 1000);
  }
  return ys;
}

TEST_F(Drag, SmearTraceRecordsOneDrag) {
  vertex* a = addpoint(-0.5, 0);
  vertex* b = addpoint(0.5, -0.8);
  a->pointtype = b->pointtype = RW_NOMARK;
  addline(a, b, COLOR_SMEAR);
  drawframe();
  mousepress(-0.5, 0);
  ASSERT_EQ(pselected, a);
  // The press started a new trace: only frames drawn since are in it.
  EXPECT_EQ(tracedystarts(), std::vector<double>(smearcount(), 0.0));
  const double ys[4] = {0.1, 0.3, 0.5, 0.7};
  for (double y : ys) mousedragto(-0.5, y);
  frame f = drawframe();
  // Every position the segment took is still drawn, in the smear grey.
  for (double y : ys) {
    double mx = -0.5 + 0.3, my = y + 0.3 * (-0.8 - y) / 1.0;
    EXPECT_TRUE(colornear(f, mx, my, {153, 153, 153}, 1)) << y;
  }
  EXPECT_GE(smearcount(), 4);
  mouserelease();
  mousepress(0.9, 0.9);  // the next press clears the trace
  EXPECT_EQ(pselected, nullptr);
  f = drawframe();
  EXPECT_EQ(tracedystarts(), std::vector<double>(smearcount(), 0.7));
  EXPECT_FALSE(colornear(f, -0.2, 0.1 + 0.3 * (-0.9), {153, 153, 153}, 0));
}

}  // namespace
