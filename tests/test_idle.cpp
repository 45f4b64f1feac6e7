// The idle step: the blink clock every third of a second, blink-only
// frames, and blinking that only counts on the layers in force.
#include <gtest/gtest.h>

#include "model/reset.h"
#include "model/shell.h"
#include "model/style.h"
#include "model/worldlist.h"
#include "render/colors.h"
#include "render/view.h"

namespace {

struct Idle : ::testing::Test {
  vertex* v;
  void SetUp() override {
    resetall();
    v = makevertex(0, 0);
    v->kind = FREE;
    addprimitive(v);
  }
  void TearDown() override { resetall(); }
};

TEST_F(Idle, BlinkPhaseAdvancesEveryThirdOfASecond) {
  v->color = COLOR_BLINK1;
  EXPECT_EQ(blinkon, 1);
  lastblinktime = 1000000;
  EXPECT_EQ(idlestep(1000000 + 333333, 0), 0);  // not more than the interval
  EXPECT_EQ(blinkon, 1);
  EXPECT_EQ(blinkonly, 0);
  int a = idlestep(1000000 + 333334, 0);
  EXPECT_EQ(a & (IDLE_REDRAW | IDLE_FIXPANEL), IDLE_REDRAW | IDLE_FIXPANEL);
  EXPECT_EQ(blinkon, 2);
  EXPECT_EQ(blinkonly, 1);  // nothing else pending: a blink-only frame
  EXPECT_EQ(lastblinktime, 1000000 + 333334);
  idlestep(lastblinktime + 400000, 1);
  EXPECT_EQ(blinkon, 0);    // wraps 2 -> 0
  EXPECT_EQ(blinkonly, 0);  // a redraw was pending: a full frame
  idlestep(lastblinktime + 400000, 0);
  EXPECT_EQ(blinkon, 1);
  // Many idle calls within one interval change nothing.
  long long t = lastblinktime;
  for (int i = 1; i <= 16; i++) EXPECT_EQ(idlestep(t + i * 20000, 0), 0);
  EXPECT_EQ(blinkon, 1);
  long long t0 = monotonicmicros();
  EXPECT_GT(t0, 0);
  EXPECT_GE(monotonicmicros(), t0);
}

TEST_F(Idle, NothingBlinkingMeansNoRedraw) {
  lastblinktime = 0;
  EXPECT_EQ(idlestep(400000, 0) & IDLE_REDRAW, 0);
  EXPECT_EQ(blinkon, 2);  // the phase still advances
  EXPECT_EQ(blinkonly, 0);
  // A blinking colour on a layer not in force does not count either.
  v->color = COLOR_BLINK;
  v->layers = 1u << 4;
  layerset = 1u << 2;
  EXPECT_EQ(idlestep(800000, 0) & IDLE_REDRAW, 0);
  layerset |= 1u << 4;
  EXPECT_TRUE(idlestep(1200000, 0) & IDLE_REDRAW);
  EXPECT_EQ(blinkonly, 1);
}

}  // namespace
