// `tessarin-cli eps`: a diagram file read, recomputed and written as EPS,
// checked against the same steps done here, against the geometry through
// Ghostscript, and for its options and failures.
#include <dirent.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#ifdef TESSARIN_HAVE_PNG
#include <png.h>
#endif

#include "engine/recompute.h"
#include "language/parser.h"
#include "language/symtable.h"
#include "model/reset.h"
#include "model/style.h"
#include "model/worldlist.h"
#include "postscript/eps.h"
#include "render/view.h"

namespace {

const std::string cli = TESSARIN_BINARY_DIR "/tessarin-cli";
// Each test works in a folder of its own: ctest runs them side by side.
std::string dir;

std::string slurp(const std::string& path) {
  std::string s;
  FILE* f = fopen(path.c_str(), "rb");
  if (!f) return s;
  char buf[4096];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, f)) > 0) s.append(buf, n);
  fclose(f);
  return s;
}

void spit(const std::string& path, const std::string& text) {
  FILE* f = fopen(path.c_str(), "wb");
  ASSERT_NE(f, nullptr);
  fwrite(text.data(), 1, text.size(), f);
  fclose(f);
}

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
    dir = std::string(TESSARIN_BINARY_DIR "/cli-eps-test/") +
          ::testing::UnitTest::GetInstance()->current_test_info()->name();
    ASSERT_EQ(system(("mkdir -p '" + dir + "'").c_str()), 0);
    inittables();
    resetall();
  }
  void TearDown() override { resetall(); }
};

// What the tool should write: read, recompute, export at w x h.
std::string expected(const std::string& file, int w, int h) {
  resetall();
  xsize = w;
  ysize = h;
  recalcsizes(1);
  clearbuffer();
  readgeometry(file.c_str());
  checkconstraints();
  updateminlayer();
  ym = 0.9f;
  yinfo = -0.5;
  char* buf = nullptr;
  size_t len = 0;
  FILE* out = open_memstream(&buf, &len);
  writePostScript(out);
  fclose(out);
  std::string s(buf, len);
  free(buf);
  return s;
}

TEST_F(CliEps, ExamplesAsInTheProgram) {
  std::vector<std::string> examples;
  if (DIR* d = opendir(TESSARIN_SOURCE_DIR "/examples")) {
    while (dirent* f = readdir(d)) {
      std::string name = f->d_name;
      if (name.size() > 2 && name.substr(name.size() - 2) == ".T")
        examples.push_back(name.substr(0, name.size() - 2));
    }
    closedir(d);
  }
  ASSERT_GE(examples.size(), 8u);
  std::string err;
  for (const std::string& e : examples) {
    std::string in = std::string(TESSARIN_SOURCE_DIR "/examples/") + e + ".T";
    std::string out = dir + "/" + e + ".eps";
    ASSERT_EQ(run("eps '" + in + "' -o '" + out + "'", &err), 0) << err;
    EXPECT_EQ(err, "");
    std::string got = slurp(out);
    EXPECT_EQ(got, expected(in, 400, 450)) << e;
    EXPECT_NE(got.find("%%BoundingBox: 0 0 400 450\n"), std::string::npos);
    EXPECT_EQ(got.substr(got.size() - 9), "showpage\n");
    if (system("gs --version >/dev/null 2>&1") != 0) continue;
    // Ghostscript renders it without a word of complaint.
    std::string gs =
        "gs -q -dSAFER -dBATCH -dNOPAUSE -dEPSCrop -r72 "
        "-sDEVICE=png16m -sOutputFile='" +
        dir + "/out.png' '" + out + "' >'" + dir + "/gs.txt' 2>&1";
    EXPECT_EQ(system(gs.c_str()), 0) << e;
    EXPECT_EQ(slurp(dir + "/gs.txt"), "") << e;
  }
}

TEST_F(CliEps, Options) {
  std::string in = TESSARIN_SOURCE_DIR "/examples/layers.T";
  std::string out = dir + "/layers.eps", err;
  ASSERT_EQ(run("eps '" + in + "' -o '" + out + "' --size 600x300", &err), 0);
  std::string t = slurp(out);
  EXPECT_EQ(t, expected(in, 600, 300));
  EXPECT_NE(t.find("%%BoundingBox: 0 0 600 300\n"), std::string::npos);
  EXPECT_NE(t.find("300.000000 150.000000 translate\n"
                   "150.000000 150.000000 scale\n"),
            std::string::npos);

  // Black and white: no colour but black, and the white of mark fills.
  ASSERT_EQ(run("eps '" + in + "' --bw -o '" + out + "'", &err), 0);
  t = slurp(out);
  size_t colours = 0;
  for (size_t i = 0; (i = t.find("setrgbcolor\n", i)) != std::string::npos;
       i++) {
    size_t start = t.rfind('\n', i) + 1;
    std::string line = t.substr(start, i - start);
    if (line == "rval gval bval ") continue;  // the prologue's restore
    EXPECT_TRUE(line == "0 0 0 " || line == "1 1 1 ") << line;
    colours++;
  }
  EXPECT_GT(colours, 2u);
  // "MN" is invisible on layer 0: only shown with --show-invisible.
  EXPECT_EQ(t.find("[0.020 0.010] 0 setdash"), std::string::npos);
  ASSERT_EQ(run("eps '" + in + "' --show-invisible -o '" + out + "'", &err), 0);
  EXPECT_NE(slurp(out).find("[0.020 0.010] 0 setdash"), std::string::npos);
}

TEST_F(CliEps, Failures) {
  std::string in = TESSARIN_SOURCE_DIR "/examples/conic.T", err;
  EXPECT_EQ(run("eps '" + in + "' -o x.eps --size 400", &err), 2);
  EXPECT_EQ(err, "tessarin-cli: bad size '400' (expected WxH)\n");
  EXPECT_EQ(run("eps '" + in + "' -o x.eps --size 0x10", &err), 2);
  EXPECT_EQ(run("eps '" + in + "' -o x.eps --size 10x10y", &err), 2);
  const std::string use =
      "usage: tessarin-cli eps FILE -o OUT [--size WxH] [--bw] "
      "[--show-invisible]\n";
  EXPECT_EQ(run("eps '" + in + "'", &err), 2);
  EXPECT_EQ(err, use);
  EXPECT_EQ(run("eps -o x.eps", &err), 2);
  EXPECT_EQ(err, use);
  EXPECT_EQ(run("eps '" + in + "' -o x.eps --colour", &err), 2);
  EXPECT_EQ(run("eps '" + dir + "/missing.T' -o '" + dir + "/m.eps'", &err), 2);
  EXPECT_EQ(err, "Couldn't open " + dir + "/missing.T\n");
  EXPECT_EQ(run("eps '" + in + "' -o /nonexistent-dir/x.eps", &err), 1);
  EXPECT_EQ(err, "Couldn't open /nonexistent-dir/x.eps\n");
  FILE* full = fopen("/dev/full", "w");
  if (full) {
    fclose(full);
    EXPECT_EQ(run("eps '" + in + "' -o /dev/full", &err), 1);
    EXPECT_EQ(err, "Couldn't write /dev/full\n");
  }
}

#ifdef TESSARIN_HAVE_PNG
TEST_F(CliEps, RedSegmentLandsOnItsPoints) {
  if (system("gs --version >/dev/null 2>&1") != 0)
    GTEST_SKIP() << "Ghostscript is not installed";
  std::string in = dir + "/seg.T", out = dir + "/seg.eps",
              png = dir + "/seg.png", err;
  spit(in,
       ".geometry \"version 0.65\";\n"
       "A = .free(-0.5, -0.3, .black, .nomark);\n"
       "B = .free(0.6, 0.4, .black, .nomark);\n"
       "s = .l.vv(A, B, .red, .width=5.000000);\n");
  ASSERT_EQ(run("eps '" + in + "' -o '" + out + "' --size 400x400", &err), 0)
      << err;
  std::string gs =
      "gs -q -dSAFER -dBATCH -dNOPAUSE -dEPSCrop -r72 "
      "-sDEVICE=png16m -sOutputFile='" +
      png + "' '" + out + "' >/dev/null 2>&1";
  ASSERT_EQ(system(gs.c_str()), 0);
  png_image p;
  memset(&p, 0, sizeof p);
  p.version = PNG_IMAGE_VERSION;
  ASSERT_TRUE(png_image_begin_read_from_file(&p, png.c_str()));
  p.format = PNG_FORMAT_RGB;
  std::string px(PNG_IMAGE_SIZE(p), '\0');
  ASSERT_TRUE(png_image_finish_read(&p, nullptr, &px[0], 0, nullptr));
  ASSERT_EQ(p.width, 400u);
  auto red = [&](int x, int y) {
    const unsigned char* c = (const unsigned char*)&px[3 * (y * 400 + x)];
    return c[0] > 180 && c[1] < 100 && c[2] < 100;
  };
  // A at pixel (100, 260), B at (320, 120).
  for (double t = 0.05; t < 1; t += 0.05) {
    int x = (int)(100 + 220 * t + 0.5), y = (int)(260 - 140 * t + 0.5);
    int hit = 0;
    for (int j = -1; j <= 1; j++)
      for (int i = -1; i <= 1; i++) hit |= red(x + i, y + j);
    EXPECT_TRUE(hit) << t;
  }
  int far = 0;
  for (int y = 0; y < 400; y++)
    for (int x = 0; x < 400; x++)
      if (red(x, y)) {
        double u = ((x - 100) * 220.0 + (y - 260) * -140.0) /
                   (220.0 * 220 + 140.0 * 140);
        u = u < 0 ? 0 : u > 1 ? 1 : u;
        double dx = x - 100 - 220 * u, dy = y - 260 + 140 * u;
        if (dx * dx + dy * dy > 16) far++;
      }
  EXPECT_EQ(far, 0);
}
#endif

}  // namespace
