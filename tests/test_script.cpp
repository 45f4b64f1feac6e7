// The script player and the proof steps without a window: the values of a
// run frame by frame, the EPS frames and their numbering, a press during a
// run, the proof table, and `tessarin-cli script`.
#include <gtest/gtest.h>

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
#include "tests/langtest.h"

namespace {

std::string dir;  // one per test: ctest runs tests side by side
const std::string cli = TESSARIN_BINARY_DIR "/tessarin-cli";
const std::string header = ".geometry \"version 0.65\";\n";

using langtest::exists;

// Frames base000.eps to base(n-1).eps exist in dir, and no further one.
void expectframes(const std::string& base, int n) {
  char name[64];
  for (int i = 0; i <= n; i++) {
    snprintf(name, sizeof name, "%03d.eps", i);
    EXPECT_EQ(exists(dir + "/" + base + name), i < n) << base << name;
  }
}

struct Script_ : ::testing::Test {
  void SetUp() override {
    dir = langtest::testfolder("script-test");
    inittables();
    resetall();
    xsize = 400;
    ysize = 450;
    recalcsizes(1);
  }
  void TearDown() override { resetall(); }
};

// Reads diagram text into the empty world list and recomputes it.
void load(const std::string& text) {
  clearbuffer();
  resetstate(1);
  ASSERT_EQ(parsetext((header + text).c_str()), 1);
  checkconstraints();
}

// Lets the idle step draw one frame.
void drawnframe(const char* base = nullptr) {
  scriptdrawn = 1;
  scriptstep(base);
}

// The value of every frame drawn until the run ends (at most 100).
std::vector<double> runframes(const char* base = nullptr) {
  std::vector<double> values;
  startscriptrun();
  for (int i = 0; i < 100 && runningscript; i++) {
    checkconstraints();
    values.push_back(Script->value);
    drawnframe(base);
  }
  return values;
}

TEST_F(Script_, ValuesOfARunEndExactlyAtStop) {
  const struct {
    const char* script;
    std::vector<double> frames;
    double last;
  } rows[] = {
      {"t = .script(0, 1, 0.3);\n", {0, 0.3, 0.6, 0.9, 1}, 1},  // not 1.2
      // A step of 0 would never reach the stop: the run ends there at once.
      {"t = .script(2, 5, 0);\n", {2, 5}, 5},
      // Start beyond stop: one frame at start, then the value is stop.
      {"t = .script(9, 5, 1);\n", {9}, 5},
  };
  for (const auto& r : rows) {
    load(r.script);
    ASSERT_NE(Script, nullptr);
    std::vector<double> v = runframes();
    ASSERT_EQ(v.size(), r.frames.size()) << r.script;
    for (size_t i = 0; i < v.size(); i++)
      EXPECT_NEAR(v[i], r.frames[i], 1e-12) << r.script << i;
    EXPECT_EQ(v.back(), r.frames.back()) << r.script;  // exactly
    EXPECT_EQ(Script->value, r.last) << r.script;
    EXPECT_EQ(runningscript, 0);
  }
  load(rows[0].script);
  runframes();
  // The next press puts the value back at start.
  scriptpress();
  EXPECT_EQ(Script->value, 0.0);
  // Idle rounds before a frame is drawn do not advance the value.
  startscriptrun();
  for (int i = 0; i < 5; i++) EXPECT_EQ(scriptstep(nullptr), IDLE_REDRAW);
  EXPECT_EQ(Script->value, 0.0);
  EXPECT_EQ(pselected, Script);  // the menus follow the script
  drawnframe();
  EXPECT_DOUBLE_EQ(Script->value, 0.3);
}

TEST_F(Script_, DependantsFollowTheValue) {
  load("t = .script(0, 90, 45);\nA = .free(0.5, 0);\nP = .v.vrotate(A, t);\n");
  vertex* P = (vertex*)plisttail;
  // A at (0.5, 0) turned about the origin by 0, 45 and 90 degrees.
  const double r = 0.5 / std::sqrt(2.0),
               expected[][2] = {{0.5, 0}, {r, r}, {0, 0.5}};
  startscriptrun();
  int frames = 0;
  for (; runningscript && frames < 3; frames++) {
    checkconstraints();
    EXPECT_NEAR(P->x, expected[frames][0], 1e-9) << frames;
    EXPECT_NEAR(P->y, expected[frames][1], 1e-9) << frames;
    drawnframe();
  }
  EXPECT_EQ(frames, 3);
  EXPECT_EQ(runningscript, 0);
}

TEST_F(Script_, FramesAreNumberedFrom000AndRestart) {
  load("t = .script(0, 1, 0.3);\n");
  std::string base = dir + "/demo";
  dumpingeps = 1;
  runframes(base.c_str());
  expectframes("demo", 5);
  EXPECT_EQ(dumpingeps, 1);  // Script Print stays on
  // The second run starts at 000 again and overwrites.
  remove((dir + "/demo000.eps").c_str());
  runframes(base.c_str());
  expectframes("demo", 5);
  EXPECT_EQ(epsframe, 5);
  // A run stopped by a press restarts the numbering too.
  startscriptrun();
  checkconstraints();
  drawnframe(base.c_str());
  scriptpress();
  EXPECT_EQ(restartepsframes, 1);
  // A frame that cannot be written turns Script Print off.
  startscriptrun();
  drawnframe((dir + "/missing/x").c_str());
  EXPECT_EQ(dumpingeps, 0);
  EXPECT_EQ(epsframeerrors, 1);
}

TEST_F(Script_, WithoutAScriptScriptPrintWritesOneFrame) {
  load("A = .free(0, 0);\n");
  ASSERT_EQ(Script, nullptr);
  std::string base = dir + "/one";
  dumpingeps = 1;
  startscriptrun();
  EXPECT_EQ(scriptstep(base.c_str()), IDLE_REDRAW | IDLE_DUMPEPS);
  EXPECT_EQ(runningscript, 0);
  EXPECT_EQ(dumpingeps, 0);
  // Without Script Print nothing more is written.
  startscriptrun();
  EXPECT_EQ(scriptstep(base.c_str()), IDLE_REDRAW);
  expectframes("one", 1);
}

TEST_F(Script_, PressDuringARunStopsItAndRestoresTheFileLayers) {
  load("t = .script(0, 10, 1);\n.l0; .l2;\n");
  uint32_t file = filelayerset;
  EXPECT_EQ(file, 5u);  // layers 0 and 2
  layerset = 1;         // a proof step in force when the run starts
  startscriptrun();
  for (int i = 0; i < 3; i++) drawnframe();
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
  while (runningscript) drawnframe();
  EXPECT_EQ(layerset, file);
}

TEST_F(Script_, ProofSteps) {
  const struct {
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
  for (const auto& r : rows)
    EXPECT_EQ(proofstep(r.code, r.before), r.after)
        << r.code << " " << r.before;
}

TEST_F(Script_, FrameNames) {
  setenv("HOME", "/home/u", 1);
  // A file, or a prefix and a frame number (-1: the file's prefix); the
  // name made in a buffer of `size`, "" when it does not fit.
  const struct {
    const char* in;
    int frame, size;
    const char* out;
  } rows[] = {{"/x/demo.T", -1, 64, "/x/demo"},
              {"a.geo.d", -1, 64, "a.geo"},
              {"/x/demo", -1, 64, "/x/demo"},  // no extension: kept whole
              {"", -1, 64, "/home/u/Desktop/GeomFile"},
              {"/long/name.T", -1, 8, ""},
              {"/x/demo", 7, 64, "/x/demo007.eps"},
              {"p", 1234, 64, "p1234.eps"},
              {"/x/demo", 1, 10, ""}};
  for (const auto& r : rows) {
    char out[64];
    int ok = r.frame < 0 ? scriptframebase(out, r.size, r.in)
                         : scriptframename(out, r.size, r.in, r.frame);
    EXPECT_EQ(ok, *r.out != 0) << r.in;
    EXPECT_STREQ(ok ? out : "", r.out) << r.in;
  }
}

// Runs the tool; returns its exit status.
int runcli(const std::string& args) {
  std::string cmd = "'" + cli + "' " + args + " 2>'" + dir + "/err.txt'";
  int status = system(cmd.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST_F(Script_, CommandLineWritesEveryFrame) {
  if (!exists(cli)) GTEST_SKIP() << "tessarin-cli is not built";
  std::string diagram = dir + "/anim.T";
  std::ofstream(diagram) << header
                         << "t = .script(0, 1, 0.3);\nA = .free(0.5, 0, "
                            ".smear);\nP = .v.vrotate(A, t, .smear);\n";
  // The prefix defaults to the file without its extension.
  std::string script = "script '" + diagram + "'";
  EXPECT_EQ(runcli(script), 0);
  expectframes("anim", 5);
  EXPECT_EQ(runcli(script + " -o '" + dir + "/p-' --size 200x300"), 0);
  expectframes("p-", 5);
  // The frame size is the drawing area's.
  EXPECT_NE(langtest::slurp(dir + "/p-000.eps")
                .find("\n%%BoundingBox: 0 0 200 300\n"),
            std::string::npos);
  // Usage errors, a missing file, an unwritable prefix, too many frames.
  EXPECT_EQ(runcli("script"), 2);
  EXPECT_EQ(runcli(script + " --size 0x5"), 2);
  EXPECT_EQ(langtest::slurp(dir + "/err.txt")
                .rfind("tessarin-cli: bad size '0x5' (expected WxH)\n", 0),
            0u);
  EXPECT_EQ(runcli("script '" + dir + "/none.T'"), 2);
  EXPECT_EQ(runcli(script + " -o '" + dir + "/no/such/p'"), 1);
  EXPECT_EQ(runcli(script + " -o '" + dir + "/m' --max-frames 3"), 1);
}

}  // namespace
