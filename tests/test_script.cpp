// The script player and the proof steps without a window: the values of a
// run frame by frame, the EPS frames and their numbering, a press during a
// run, the proof table, and `tessarin-cli script`.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/recompute.h"
#include "language/parser.h"
#include "language/symtable.h"
#include "model/reset.h"
#include "model/scriptplay.h"
#include "model/shell.h"
#include "model/state.h"
#include "model/style.h"
#include "model/worldlist.h"
#include "postscript/scriptframes.h"
#include "render/view.h"

namespace {

// One directory per test: ctest runs tests side by side.
std::string dir;
const std::string cli = TESSARIN_BINARY_DIR "/tessarin-cli";

int exists(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0;
}

struct Script_ : ::testing::Test {
  void SetUp() override {
    dir = std::string(TESSARIN_BINARY_DIR "/script-test/") +
          ::testing::UnitTest::GetInstance()->current_test_info()->name();
    ASSERT_EQ(
        system(("rm -rf '" + dir + "' && mkdir -p '" + dir + "'").c_str()), 0);
    inittables();
    resetall();
    xsize = 400;
    ysize = 450;
    recalcsizes(1);
  }
  void TearDown() override { resetall(); }
};

// Reads diagram text into the empty world list and recomputes it.
void load(const char* text) {
  clearbuffer();
  resetstate(1);
  ASSERT_EQ(parsetext(text), 1);
  checkconstraints();
}

// The value of every frame drawn until the run ends (at most 100).
std::vector<double> runframes(const char* base = nullptr) {
  std::vector<double> values;
  startscriptrun();
  for (int i = 0; i < 100 && runningscript; i++) {
    checkconstraints();
    values.push_back(Script->value);
    scriptdrawn = 1;
    scriptstep(base);
  }
  return values;
}

TEST_F(Script_, ValuesOfARunEndExactlyAtStop) {
  load(".geometry \"version 0.65\";\nt = .script(0, 1, 0.3);\n");
  ASSERT_NE(Script, nullptr);
  std::vector<double> v = runframes();
  ASSERT_EQ(v.size(), 5u);
  EXPECT_DOUBLE_EQ(v[0], 0);
  EXPECT_DOUBLE_EQ(v[1], 0.3);
  EXPECT_DOUBLE_EQ(v[2], 0.6);
  EXPECT_NEAR(v[3], 0.9, 1e-12);
  EXPECT_EQ(v[4], 1.0);  // exactly stop, not 1.2
  EXPECT_EQ(Script->value, 1.0);
  EXPECT_EQ(runningscript, 0);
  // The next press puts the value back at start.
  scriptpress();
  EXPECT_EQ(Script->value, 0.0);
  // Idle rounds before a frame is drawn do not advance the value.
  startscriptrun();
  for (int i = 0; i < 5; i++) EXPECT_EQ(scriptstep(nullptr), IDLE_REDRAW);
  EXPECT_EQ(Script->value, 0.0);
  EXPECT_EQ(pselected, Script);  // the menus follow the script
  scriptdrawn = 1;
  scriptstep(nullptr);
  EXPECT_DOUBLE_EQ(Script->value, 0.3);
}

TEST_F(Script_, RunWithoutProgressEndsAtStop) {
  // A step of 0 would never reach the stop: the run ends there at once.
  load(".geometry \"version 0.65\";\nt = .script(2, 5, 0);\n");
  std::vector<double> v = runframes();
  ASSERT_EQ(v.size(), 2u);
  EXPECT_EQ(v[0], 2.0);
  EXPECT_EQ(v[1], 5.0);
  // Start beyond stop: one frame at start, then the value is stop.
  load(".geometry \"version 0.65\";\nt = .script(9, 5, 1);\n");
  v = runframes();
  ASSERT_EQ(v.size(), 1u);
  EXPECT_EQ(v[0], 9.0);
  EXPECT_EQ(Script->value, 5.0);
}

TEST_F(Script_, DependantsFollowTheValue) {
  load(
      ".geometry \"version 0.65\";\nt = .script(0, 90, 45);\n"
      "A = .free(0.5, 0);\nP = .v.vrotate(A, t);\n");
  vertex* P = (vertex*)plisttail;
  std::vector<double> xs, ys;
  startscriptrun();
  while (runningscript) {
    checkconstraints();
    xs.push_back(P->x);
    ys.push_back(P->y);
    scriptdrawn = 1;
    scriptstep(nullptr);
  }
  ASSERT_EQ(xs.size(), 3u);
  // A at (0.5, 0) turned about the origin by 0, 45 and 90 degrees.
  EXPECT_NEAR(xs[0], 0.5, 1e-9);
  EXPECT_NEAR(ys[0], 0, 1e-9);
  EXPECT_NEAR(xs[1], 0.5 / std::sqrt(2.0), 1e-9);
  EXPECT_NEAR(ys[1], 0.5 / std::sqrt(2.0), 1e-9);
  EXPECT_NEAR(xs[2], 0, 1e-9);
  EXPECT_NEAR(ys[2], 0.5, 1e-9);
}

TEST_F(Script_, FramesAreNumberedFrom000AndRestart) {
  load(".geometry \"version 0.65\";\nt = .script(0, 1, 0.3);\n");
  std::string base = dir + "/demo";
  dumpingeps = 1;
  runframes(base.c_str());
  for (int i = 0; i < 5; i++) {
    char name[32];
    snprintf(name, sizeof name, "/demo%03d.eps", i);
    EXPECT_TRUE(exists(dir + name)) << name;
  }
  EXPECT_FALSE(exists(dir + "/demo005.eps"));
  EXPECT_EQ(dumpingeps, 1);  // Script Print stays on
  // The second run starts at 000 again and overwrites.
  remove((dir + "/demo000.eps").c_str());
  runframes(base.c_str());
  EXPECT_TRUE(exists(dir + "/demo000.eps"));
  EXPECT_FALSE(exists(dir + "/demo005.eps"));
  EXPECT_EQ(epsframe, 5);
  // A run stopped by a press restarts the numbering too.
  startscriptrun();
  checkconstraints();
  scriptdrawn = 1;
  scriptstep(base.c_str());
  scriptpress();
  EXPECT_EQ(restartepsframes, 1);
  // A frame that cannot be written turns Script Print off.
  std::string bad = dir + "/missing/x";
  startscriptrun();
  scriptdrawn = 1;
  scriptstep(bad.c_str());
  EXPECT_EQ(dumpingeps, 0);
  EXPECT_EQ(epsframeerrors, 1);
}

TEST_F(Script_, WithoutAScriptScriptPrintWritesOneFrame) {
  load(".geometry \"version 0.65\";\nA = .free(0, 0);\n");
  ASSERT_EQ(Script, nullptr);
  std::string base = dir + "/one";
  dumpingeps = 1;
  startscriptrun();
  int actions = scriptstep(base.c_str());
  EXPECT_EQ(actions, IDLE_REDRAW | IDLE_DUMPEPS);
  EXPECT_EQ(runningscript, 0);
  EXPECT_EQ(dumpingeps, 0);
  EXPECT_TRUE(exists(dir + "/one000.eps"));
  // Without Script Print nothing is written.
  startscriptrun();
  EXPECT_EQ(scriptstep(base.c_str()), IDLE_REDRAW);
  EXPECT_FALSE(exists(dir + "/one001.eps"));
}

TEST_F(Script_, PressDuringARunStopsItAndRestoresTheFileLayers) {
  load(
      ".geometry \"version 0.65\";\nt = .script(0, 10, 1);\n"
      ".l0; .l2;\n");
  uint32_t file = filelayerset;
  EXPECT_EQ(file, 5u);  // layers 0 and 2
  layerset = 1;         // a proof step in force when the run starts
  startscriptrun();
  for (int i = 0; i < 3; i++) {
    scriptdrawn = 1;
    scriptstep(nullptr);
  }
  EXPECT_EQ(Script->value, 3.0);
  EXPECT_EQ(runningscript, 1);
  scriptpress();
  EXPECT_EQ(runningscript, 0);
  EXPECT_EQ(layerset, file);
  EXPECT_EQ(Script->value, 0.0);
  // Typing s again starts from start.
  startscriptrun();
  EXPECT_EQ(runningscript, 1);
  EXPECT_EQ(Script->value, 0.0);
  // A finished run also returns to the file's layers.
  layerset = 4;
  while (runningscript) {
    scriptdrawn = 1;
    scriptstep(nullptr);
  }
  EXPECT_EQ(layerset, file);
}

TEST_F(Script_, ProofSteps) {
  struct row {
    int code;
    uint32_t before, after;
  } rows[] = {
      {PROOF_START, 0xffffffffu, 1},
      {PROOF_NEXT, 1, 2},
      {PROOF_NEXT, 0x40000000u, 0x80000000u},
      {PROOF_NEXT, 0x80000000u, 0x80000000u},
      {PROOF_PREV, 4, 2},
      {PROOF_PREV, 1, 1},
      {PROOF_PREV, 0x80000000u, 0x40000000u},
      {PROOF_OFF, 8, 0xffffffffu},
      {PROOF_NEXT, 0xffffffffu, 0xfffffffeu},  // every layer but layer 0
      {PROOF_PREV, 0xffffffffu, 0x7fffffffu},  // unsigned shift
      {200236, 5, 5},                          // not a proof command
  };
  for (size_t i = 0; i < sizeof rows / sizeof rows[0]; i++)
    EXPECT_EQ(proofstep(rows[i].code, rows[i].before), rows[i].after)
        << "row " << i;
  layerset = 0xffffffffu;
  applyproofstep(PROOF_START);
  EXPECT_EQ(layerset, 1u);
  EXPECT_EQ(minlayer, 0);
  applyproofstep(PROOF_NEXT);
  applyproofstep(PROOF_NEXT);
  EXPECT_EQ(layerset, 4u);
  EXPECT_EQ(minlayer, 2);
}

TEST_F(Script_, FrameNames) {
  char out[64];
  EXPECT_EQ(scriptframebase(out, sizeof out, "/x/demo.T"), 1);
  EXPECT_STREQ(out, "/x/demo");
  scriptframebase(out, sizeof out, "a.geo.d");
  EXPECT_STREQ(out, "a.geo");
  scriptframebase(out, sizeof out, "/x/demo");  // no extension: kept whole
  EXPECT_STREQ(out, "/x/demo");
  scriptframebase(out, sizeof out, "T");
  EXPECT_STREQ(out, "T");
  setenv("HOME", "/home/u", 1);
  scriptframebase(out, sizeof out, "");
  EXPECT_STREQ(out, "/home/u/Desktop/GeomFile");
  EXPECT_EQ(scriptframebase(out, 8, "/long/name.T"), 0);
  EXPECT_EQ(scriptframename(out, sizeof out, "/x/demo", 7), 1);
  EXPECT_STREQ(out, "/x/demo007.eps");
  scriptframename(out, sizeof out, "p", 1234);
  EXPECT_STREQ(out, "p1234.eps");
  EXPECT_EQ(scriptframename(out, 10, "/x/demo", 1), 0);
}

// Runs the tool; returns its exit status.
int runcli(const std::string& args) {
  std::string cmd = "'" + cli + "' " + args + " 2>'" + dir + "/err.txt'";
  int status = system(cmd.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST_F(Script_, CommandLineWritesEveryFrame) {
  FILE* f = fopen(cli.c_str(), "r");
  if (!f) GTEST_SKIP() << "tessarin-cli is not built";
  fclose(f);
  std::string diagram = dir + "/anim.T";
  f = fopen(diagram.c_str(), "w");
  ASSERT_NE(f, nullptr);
  fputs(
      ".geometry \"version 0.65\";\nt = .script(0, 1, 0.3);\n"
      "A = .free(0.5, 0, .smear);\nP = .v.vrotate(A, t, .smear);\n",
      f);
  fclose(f);
  // The prefix defaults to the file without its extension.
  EXPECT_EQ(runcli("script '" + diagram + "'"), 0);
  for (int i = 0; i < 5; i++) {
    char name[32];
    snprintf(name, sizeof name, "/anim%03d.eps", i);
    EXPECT_TRUE(exists(dir + name)) << name;
  }
  EXPECT_FALSE(exists(dir + "/anim005.eps"));
  EXPECT_EQ(
      runcli("script '" + diagram + "' -o '" + dir + "/p-' --size 200x300"), 0);
  EXPECT_TRUE(exists(dir + "/p-004.eps"));
  // The frame size is the drawing area's.
  f = fopen((dir + "/p-000.eps").c_str(), "r");
  ASSERT_NE(f, nullptr);
  char line[200];
  int box = 0;
  while (fgets(line, sizeof line, f))
    if (std::string(line) == "%%BoundingBox: 0 0 200 300\n") box = 1;
  fclose(f);
  EXPECT_EQ(box, 1);
  // Usage errors, a missing file, an unwritable prefix, too many frames.
  EXPECT_EQ(runcli("script"), 2);
  EXPECT_EQ(runcli("script '" + diagram + "' --size 0x5"), 2);
  EXPECT_EQ(runcli("script '" + dir + "/none.T'"), 2);
  EXPECT_EQ(runcli("script '" + diagram + "' -o '" + dir + "/no/such/p'"), 1);
  EXPECT_EQ(
      runcli("script '" + diagram + "' -o '" + dir + "/m' --max-frames 3"), 1);
}

}  // namespace
