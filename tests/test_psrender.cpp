// PostScript documents rendered by Ghostscript: every record type renders
// without an error, strokes land where the geometry puts them, and black-
// and-white output has no colour. Skipped when gs is not installed.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#ifdef TESSARIN_HAVE_PNG
#include <png.h>
#endif

#include "model/reset.h"
#include "model/style.h"
#include "model/worldlist.h"
#include "postscript/eps.h"
#include "prefs/preffile.h"
#include "render/smear.h"
#include "render/view.h"
#include "tests/everything.h"
#include "tests/langtest.h"

namespace {
using namespace everything;

// Each test works in a folder of its own: ctest runs them side by side.
std::string workdir;

struct PSRender : ::testing::Test {
  void SetUp() override {
    if (system("gs --version >/dev/null 2>&1") != 0)
      GTEST_SKIP() << "Ghostscript is not installed";
    resetall();
    workdir = langtest::testfolder("ps-render-test");
    xsize = 400;
    ysize = 400;
    recalcsizes(1);
  }
  void TearDown() override { resetall(); }
};

// Writes the diagram to <name>.eps and renders it to <name>.png at `dpi`
// (72: one pixel a point); returns gs's exit status, its messages in *log.
int render(const std::string& name, std::string* log, int dpi = 72) {
  std::string base = workdir + "/" + name;
  printcmdstring[0] = '\0';
  dumpPostScript((base + ".eps").c_str());  // print mode: 0 without a command
  std::string cmd = "gs -q -dSAFER -dBATCH -dNOPAUSE -dEPSCrop -r" +
                    std::to_string(dpi) + " -sDEVICE=png16m -sOutputFile='" +
                    base + ".png' '" + base + ".eps' >'" + base + ".log' 2>&1";
  int status = system(cmd.c_str());
  std::ifstream in(base + ".log");
  *log = std::string(std::istreambuf_iterator<char>(in), {});
  return status;
}

TEST_F(PSRender, EveryRecordTypeRendersWithoutError) {
  buildeverything();
  struct mode {
    int eps, bw, invisible;
  } modes[] = {{1, 0, 0}, {1, 1, 1}, {0, 0, 0}};
  std::string log;
  for (const mode& m : modes) {
    EPS = m.eps, printbw = m.bw, showinvisible = m.invisible;
    EXPECT_EQ(render("all", &log), 0) << log;
    EXPECT_EQ(log.find("Error"), std::string::npos) << log;
  }
}

#ifdef TESSARIN_HAVE_PNG
bool isred(const unsigned char* p) {
  return p[0] > 180 && p[1] < 100 && p[2] < 100;
}

TEST_F(PSRender, StrokesLandOnTheGeometry) {
  vertex* A = addpoint(-0.5, -0.3, RW_NOMARK, COLOR_BLACK);
  vertex* B = addpoint(0.6, 0.4, RW_NOMARK, COLOR_BLACK);
  addsegment(A, B, COLOR_RED, 5);
  std::string log;
  ASSERT_EQ(render("seg", &log), 0) << log;
  image im;
  ASSERT_TRUE(readpng(workdir + "/seg.png", &im));
  ASSERT_EQ(im.w, 400);
  ASSERT_EQ(im.h, 400);
  // A and B in pixels (y down): (100, 260) and (320, 120).
  const double ax = 100, ay = 260, dx = 220, dy = -140;
  for (double t = 0.05; t < 1; t += 0.05) {
    int px = (int)lround(ax + dx * t), py = (int)lround(ay + dy * t);
    int near = 0;
    for (int j = -1; j <= 1; j++)
      for (int i = -1; i <= 1; i++) near += isred(im.at(px + i, py + j));
    EXPECT_GT(near, 0) << "t = " << t;
  }
  // No red pixel more than 4 pixels from AB.
  int stray = im.count([&](int x, int y, const unsigned char* p) {
    double u = ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy);
    u = std::min(1.0, std::max(0.0, u));
    return isred(p) && hypot(x - ax - u * dx, y - ay - u * dy) > 4;
  });
  EXPECT_EQ(stray, 0);
  const unsigned char* corner = im.at(5, 5);  // white where nothing is drawn
  EXPECT_EQ(corner[0] + corner[1] + corner[2], 3 * 255);
}

// The gaps in a red circle of radius r about (cx, cy): runs of directions,
// out of 4000, in which no reddish pixel (a thin red stroke comes out
// partly pale) lies within about 2 pixels of the radius.
int gapsincircle(const image& im, double cx, double cy, double r) {
  const int n = 4000;
  std::vector<int> lit(n);
  for (int k = 0; k < n; k++) {
    double t = 2 * M_PI * k / n;
    for (double d = -2; d <= 2 && !lit[k]; d += 0.5) {
      int x = (int)lround(cx + (r + d) * cos(t));
      int y = (int)lround(cy + (r + d) * sin(t));
      // A thin stroke steps diagonally; a ray can pass between its pixels.
      for (int j = -1; j <= 1; j++)
        for (int i = -1; i <= 1; i++) {
          const unsigned char* p = im.at(x + i, y + j);
          lit[k] |= p[0] - p[1] > 60 && p[0] - p[2] > 60;
        }
    }
  }
  int gaps = 0;
  for (int k = 0; k < n; k++) gaps += lit[k] && !lit[(k + 1) % n];
  return gaps;
}

TEST_F(PSRender, DashedAndDottedCirclesShowGaps) {
  // A circle of radius 0.5 about the origin: at four pixels a point, 400
  // pixels about (800, 800), 2513 pixels round. Dashes of 0.02 world units
  // on and off are 16 pixels each, so about 2513 / 32 = 79 gaps; dots of
  // 0.007 are 5.6 pixels, about 224 gaps.
  struct row {
    int style;
    int lo, hi;
  } rows[] = {
      {RW_SOLIDLINE, 0, 0}, {RW_DASHLINE, 70, 88}, {RW_DOTLINE, 190, 240}};
  for (const row& r : rows) {
    SetUp();
    circle* c = new circle;
    c->center.x = 0, c->center.y = 0, c->center.w = 1;
    c->radius = 0.5;
    c->color = COLOR_RED;
    c->linestyle = r.style;
    addprimitive(c);
    std::string log, name = "circle" + std::to_string(r.style);
    ASSERT_EQ(render(name, &log, 288), 0) << log;
    image im;
    ASSERT_TRUE(readpng(workdir + "/" + name + ".png", &im));
    ASSERT_EQ(im.w, 1600);
    int gaps = gapsincircle(im, 800, 800, 400);
    EXPECT_GE(gaps, r.lo) << r.style;
    EXPECT_LE(gaps, r.hi) << r.style;
  }
}

TEST_F(PSRender, BlackAndWhiteHasNoColour) {
  buildeverything();
  std::string log;
  image im;
  printbw = 1;
  ASSERT_EQ(render("bw", &log), 0) << log;
  ASSERT_TRUE(readpng(workdir + "/bw.png", &im));
  int coloured = im.count([](int, int, const unsigned char* p) {
    return std::max({p[0], p[1], p[2]}) - std::min({p[0], p[1], p[2]}) > 8;
  });
  int dark = im.count([](int, int, const unsigned char* p) {
    return std::max({p[0], p[1], p[2]}) < 100;
  });
  EXPECT_EQ(coloured, 0);
  EXPECT_GT(dark, 1000);  // something was drawn
  // The same diagram in colour does have colour.
  printbw = 0;
  ASSERT_EQ(render("colour", &log), 0) << log;
  ASSERT_TRUE(readpng(workdir + "/colour.png", &im));
  int red = im.count([](int, int, const unsigned char* p) { return isred(p); });
  EXPECT_GT(red, 100);
}
#endif

}  // namespace
