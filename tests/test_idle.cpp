// The idle step: blink clock every third of a second, blink-only frames,
// and the script animation that stops the blinking while it runs.
#include <gtest/gtest.h>

#include "model/reset.h"
#include "model/shell.h"
#include "model/state.h"
#include "model/style.h"
#include "model/worldlist.h"
#include "render/colors.h"
#include "render/view.h"

namespace {

struct Idle : ::testing::Test {
  void SetUp() override { resetall(); }
  void TearDown() override { resetall(); }
};

TEST_F(Idle, BlinkPhaseAdvancesEveryThirdOfASecond) {
  EXPECT_EQ(blinkon, 1);
  lastblinktime = 1000000;
  EXPECT_EQ(idlestep(1000000 + 333333, 0), 0);  // not more than the interval
  EXPECT_EQ(blinkon, 1);
  EXPECT_EQ(blinkonly, 0);
  int a = idlestep(1000000 + 333334, 0);
  EXPECT_TRUE(a & IDLE_REDRAW);
  EXPECT_TRUE(a & IDLE_FIXPANEL);
  EXPECT_EQ(blinkon, 2);
  EXPECT_EQ(blinkonly, 1);  // nothing else pending: a blink-only frame
  EXPECT_EQ(lastblinktime, 1000000 + 333334);
  idlestep(lastblinktime + 400000, 1);
  EXPECT_EQ(blinkon, 0);  // wraps 2 -> 0
  EXPECT_EQ(blinkonly, 0);  // a redraw was pending: a full frame
  idlestep(lastblinktime + 400000, 0);
  EXPECT_EQ(blinkon, 1);
  // Fifty idle calls within one interval change nothing.
  long long t = lastblinktime;
  for (int i = 1; i <= 16; i++) EXPECT_EQ(idlestep(t + i * 20000, 0), 0);
  EXPECT_EQ(blinkon, 1);
}

TEST_F(Idle, MonotonicClockAdvancesInMicroseconds) {
  long long a = monotonicmicros();
  long long b = monotonicmicros();
  EXPECT_GE(b, a);
  EXPECT_GT(a, 0);
}

TEST_F(Idle, ScriptStepsAfterEachDrawnFrameAndStopsExactly) {
  flt* s = static_cast<flt*>(newprimitive(RW_FLT));
  s->kind = SCRIPT;
  s->value = 0, s->start = 0, s->stop = 1, s->step = 0.3;
  addprimitive(s);
  Script = s;
  runningscript = 1;
  filelayerset = 0x5;
  layerset = 0x2;
  lastblinktime = 0;
  int phase = blinkon;
  // No frame drawn yet: the value stays, but the script is selected.
  int a = idlestep(10000000, 0);
  EXPECT_TRUE(a & IDLE_REDRAW);
  EXPECT_DOUBLE_EQ(s->value, 0);
  EXPECT_EQ(pselected, s);
  EXPECT_EQ(blinkon, phase);  // no blinking while a script runs
  for (int frame = 1; frame <= 3; frame++) {
    scriptdrawn = 1;
    idlestep(10000000 + frame, 0);
    EXPECT_NEAR(s->value, 0.3 * frame, 1e-12);
    EXPECT_EQ(runningscript, 1);
  }
  scriptdrawn = 1;
  a = idlestep(10000010, 0);
  EXPECT_TRUE(a & IDLE_SCRIPTENDED);
  EXPECT_EQ(s->value, 1.0);  // clamped to exactly the stop value
  EXPECT_EQ(runningscript, 0);
  EXPECT_EQ(layerset, 0x5u);
  EXPECT_EQ(minlayer, 0);
}

TEST_F(Idle, RunningWithoutAScriptEndsAndWritesTheLastFrame) {
  runningscript = 1;
  dumpingeps = 1;
  int a = idlestep(5000000, 0);
  EXPECT_EQ(runningscript, 0);
  EXPECT_EQ(dumpingeps, 0);
  EXPECT_TRUE(a & IDLE_DUMPEPS);
  EXPECT_TRUE(a & IDLE_REDRAW);
}

}  // namespace
