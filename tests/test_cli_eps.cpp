// `tessarin-cli eps`: a diagram file read, recomputed and written as EPS,
// checked against the same steps done here, through Ghostscript, and for
// its options and failures. (Where its strokes land is checked against the
// window in gui/test_eps.)
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "engine/recompute.h"
#include "language/parser.h"
#include "language/symtable.h"
#include "model/reset.h"
#include "model/style.h"
#include "model/worldlist.h"
#include "postscript/eps.h"
#include "render/view.h"
#include "tests/langtest.h"

namespace {

const std::string cli = TESSARIN_BINARY_DIR "/tessarin-cli";
const std::string examples = TESSARIN_SOURCE_DIR "/examples/";
// Each test works in a folder of its own: ctest runs them side by side.
std::string dir;

using langtest::slurp;

// Runs the tool; returns its exit status, its standard error in *err.
int run(const std::string& args, std::string* err) {
  std::string cmd = "'" + cli + "' " + args + " 2>'" + dir + "/err.txt'";
  int status = system(cmd.c_str());
  *err = slurp(dir + "/err.txt");
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

struct CliEps : ::testing::Test {
  void SetUp() override {
    FILE* f = fopen(cli.c_str(), "r");
    if (!f) GTEST_SKIP() << "tessarin-cli is not built";
    fclose(f);
    dir = langtest::testfolder("cli-eps-test");
    inittables();
    resetall();
  }
  void TearDown() override { resetall(); }
};

// What the tool should write: read, recompute, export at w x h.
std::string expected(const std::string& file, int w, int h, int bw = 0,
                     int invisible = 0) {
  resetall();
  xsize = w;
  ysize = h;
  recalcsizes(1);
  clearbuffer();
  readgeometry(file.c_str());
  checkconstraints();
  updateminlayer();
  printbw = bw;
  showinvisible = invisible;
  ym = 0.9f;
  yinfo = -0.5;
  return langtest::captured(writePostScript);
}

TEST_F(CliEps, ExamplesAsInTheProgram) {
  std::vector<std::string> files = langtest::examples();
  ASSERT_GE(files.size(), 8u);
  bool gs = system("gs --version >/dev/null 2>&1") == 0;
  std::string err;
  for (const std::string& e : files) {
    std::string out = dir + "/out.eps";
    ASSERT_EQ(run("eps '" + e + "' -o '" + out + "'", &err), 0) << err;
    EXPECT_EQ(err, "");
    EXPECT_EQ(slurp(out), expected(e, 400, 450)) << e;
    if (!gs) continue;
    // Ghostscript renders it without a word of complaint.
    std::string cmd =
        "gs -q -dSAFER -dBATCH -dNOPAUSE -dEPSCrop -r72 "
        "-sDEVICE=png16m -sOutputFile='" +
        dir + "/out.png' '" + out + "' >'" + dir + "/gs.txt' 2>&1";
    EXPECT_EQ(system(cmd.c_str()), 0) << e;
    EXPECT_EQ(slurp(dir + "/gs.txt"), "") << e;
  }
}

// Whether every colour the document sets is black or white (the prologue's
// restore of the saved colour aside).
bool blackandwhite(const std::string& t) {
  for (size_t i = 0; (i = t.find(" setrgbcolor\n", i)) != std::string::npos;
       i++) {
    size_t start = t.rfind('\n', i) + 1;
    std::string c = t.substr(start, i - start);
    if (c != "0 0 0" && c != "1 1 1" && c != "rval gval bval") return false;
  }
  return true;
}

TEST_F(CliEps, Options) {
  // "MN" of layers.T is invisible on layer 0.
  std::string in = examples + "layers.T", out = dir + "/layers.eps", err;
  struct row {
    const char* args;
    int w, h, bw, invisible;
  } rows[] = {
      {"--size 600x300", 600, 300, 0, 0},
      {"--bw", 400, 450, 1, 0},
      {"--show-invisible", 400, 450, 0, 1},
  };
  for (const row& r : rows) {
    ASSERT_EQ(run("eps '" + in + "' -o '" + out + "' " + r.args, &err), 0);
    std::string t = slurp(out);
    EXPECT_EQ(t, expected(in, r.w, r.h, r.bw, r.invisible)) << r.args;
    EXPECT_EQ(t.find("[0.020 0.010] 0 setdash") != std::string::npos,
              r.invisible == 1)
        << r.args;
    EXPECT_EQ(blackandwhite(t), r.bw == 1) << r.args;
  }
  EXPECT_NE(slurp(out).find("%%BoundingBox: 0 0 400 450\n"), std::string::npos);
}

TEST_F(CliEps, Failures) {
  const std::string in = "'" + examples + "conic.T'";
  const std::string use =
      "usage: tessarin-cli eps FILE -o OUT [--size WxH] [--bw] "
      "[--show-invisible]\n";
  auto bad = [](const char* size) {
    return "tessarin-cli: bad size '" + std::string(size) +
           "' (expected WxH)\n";
  };
  struct row {
    std::string args;
    int status;
    std::string err;
  } rows[] = {
      {in + " -o x.eps --size 400", 2, bad("400")},
      {in + " -o x.eps --size 0x10", 2, bad("0x10")},
      {in + " -o x.eps --size 10x10y", 2, bad("10x10y")},
      {in, 2, use},
      {"-o x.eps", 2, use},
      {in + " -o x.eps --colour", 2, use},
      {"'" + dir + "/missing.T' -o x.eps", 2,
       "Couldn't open " + dir + "/missing.T: No such file or directory\n"},
      {in + " -o /nonexistent-dir/x.eps", 1,
       "Couldn't open /nonexistent-dir/x.eps: No such file or directory\n"},
      {in + " -o /dev/full", 1,
       "Couldn't write /dev/full: No space left on device\n"},
  };
  std::string err;
  for (const row& r : rows) {
    if (r.args.find("/dev/full") != std::string::npos &&
        access("/dev/full", W_OK) != 0)
      continue;
    EXPECT_EQ(run("eps " + r.args, &err), r.status) << r.args;
    EXPECT_EQ(err, r.err) << r.args;
  }
}

}  // namespace
