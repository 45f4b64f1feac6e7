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

namespace {

// Each test works in a folder of its own: ctest runs them side by side.
std::string workdir;

struct PSRender : ::testing::Test {
  void SetUp() override {
    if (system("gs --version >/dev/null 2>&1") != 0)
      GTEST_SKIP() << "Ghostscript is not installed";
    resetall();
    workdir = std::string(TESSARIN_BINARY_DIR "/ps-render-test/") +
              ::testing::UnitTest::GetInstance()->current_test_info()->name();
    ASSERT_EQ(system(("mkdir -p '" + workdir + "'").c_str()), 0);
    xsize = 400;
    ysize = 400;
    recalcsizes(1);
  }
  void TearDown() override { resetall(); }
};

// Writes the diagram to <name>.eps and renders it to <name>.png; returns
// gs's exit status, its messages in *log.
int render(const std::string& name, std::string* log) {
  std::string base = workdir + "/" + name;
  printcmdstring[0] = '\0';
  dumpPostScript((base + ".eps").c_str());  // print mode: 0 without a command
  std::string cmd =
      "gs -q -dSAFER -dBATCH -dNOPAUSE -dEPSCrop -r72 -sDEVICE=png16m "
      "-sOutputFile='" +
      base + ".png' '" + base + ".eps' >'" + base + ".log' 2>&1";
  int status = system(cmd.c_str());
  std::ifstream in(base + ".log");
  *log = std::string(std::istreambuf_iterator<char>(in), {});
  return status;
}

vertex* addpoint(double x, double y, int type, int color) {
  vertex* v = new vertex;
  v->x = x, v->y = y, v->w = 1;
  v->pointtype = type;
  v->color = color;
  addprimitive(v);
  return v;
}

line* addsegment(vertex* A, vertex* B, int color, double width) {
  line* l = new line;
  copyvertex(&l->p1, A);
  copyvertex(&l->p2, B);
  l->a = A->y - B->y, l->b = B->x - A->x, l->c = A->x * B->y - B->x * A->y;
  l->parents[0] = A, l->parents[1] = B;
  l->color = color;
  l->width = width;
  addprimitive(l);
  return l;
}

// One record of every drawable type, with every mark and markup item.
void buildeverything() {
  static const int marks[] = {RW_DIAMOND, RW_PLUS,         RW_CROSS,
                              RW_NOMARK,  RW_SOLIDDIAMOND, RW_SQUARE,
                              RW_DOT,     RW_CIRCPOINT};
  std::vector<vertex*> v;
  for (int i = 0; i < 8; i++) {
    v.push_back(addpoint(-0.8 + 0.2 * i, -0.8, marks[i], i % 7));
    v.back()->label = strdup("P\\sub{1}");
  }
  line* l = addsegment(v[0], v[2], COLOR_RED, 1);
  l->linemark = RW_LINE3SLASH;
  l->label = strdup("\\overline{AB} (x)");
  line* r = addsegment(v[1], v[5], COLOR_BLUE, 2);
  r->linetype = RW_RAY12, r->linestyle = RW_DASHLINE;
  line* w = addsegment(v[3], v[4], COLOR_GREEN, 1);
  w->linetype = RW_LONGLINE, w->linestyle = RW_DOTLINE;
  circle* c = new circle;
  c->center.x = 0.2, c->center.y = 0.2, c->center.w = 1;
  c->radius = 0.3;
  addprimitive(c);
  bezier* b = new bezier;
  vertex* bp[4] = {&b->p1, &b->p2, &b->p3, &b->p4};
  for (int i = 0; i < 4; i++)
    bp[i]->x = -0.9 + 0.2 * i, bp[i]->y = i % 2 * 0.3, bp[i]->w = 1;
  addprimitive(b);
  double q[3][6] = {{4, 0, 1, -2, 0, -0.5},  // ellipse
                    {0, 1, 0, 0, 0, -0.1},   // hyperbola
                    {0.01, 0, -1, 0, 0, -0.01}};
  for (auto& k : q) {
    conic* n = new conic;
    memcpy(n->coef, k, sizeof k);
    addprimitive(n);
  }
  for (int t = RW_NOANGLE; t <= RW_RIGHT; t++) {
    angle* a = new angle;
    a->kind = A_VVV;
    a->angletype = t;
    a->parents[0] = v[t % 8], a->parents[1] = v[(t + 3) % 8];
    a->parents[2] = v[(t + 5) % 8];
    a->label = strdup("\\alpha\\sup{2}");
    addprimitive(a);
  }
  arc* ar = new arc;
  ar->kind = ARC_VVV;
  ar->parents[0] = v[0], ar->parents[1] = v[3], ar->parents[2] = v[6];
  addprimitive(ar);
  for (int t = RW_SOLIDPOLY; t <= RW_HASHPOLY2; t++) {
    polygon* p = new polygon;
    p->nvert = 3;
    p->polytype = t;
    p->parents[0] = v[t % 8], p->parents[1] = v[(t + 2) % 8];
    p->parents[2] = addpoint(0.1 * (t - 40), 0.8, RW_DOT, 1);
    addprimitive(p);
  }
  flt* f = new flt;
  f->value = M_PI;
  f->label = strdup("\\pi \\arc{AB} \\101\\9\\therefore");
  addprimitive(f);
  // Texts that would break a careless writer.
  std::string two = "Text \\triangle ABC\nsecond (line) \\\\";
  const char* texts[] = {
      two.c_str(), "(",     ")",          "\\",        "a\\",      "\\)",  "%!",
      "\\sub{(}",  "\\050", "\\051\\134", "\\arc{\\}", "\xe9\xff", "\\377"};
  for (const char* s : texts) {
    text* n = new text;
    n->string = strdup(s);
    addprimitive(n);
  }
  addsmearitem(SMEAR_POINT, 0.1, 0.1, 0, 0, RW_DIAMOND);
  addsmearitem(SMEAR_SEGMENT, 0, 0, 0.3, 0.1, 0);
  addsmearitem(SMEAR_CIRCLE, 0, 0, 0.05, 0, 0);
  addsmearitem(SMEAR_CONIC, 1, 0, 1, 0, 0);
  addsmearitem(SMEAR_CONIC, 0, -0.04, 0, 0, 0);
  addsmearitem(SMEAR_BEZIER, 0, 0, 0.1, 0.2, 0);
  addsmearitem(SMEAR_BEZIER, 0.2, -0.2, 0.3, 0, 0);
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
struct image {
  int w = 0, h = 0;
  std::vector<unsigned char> rgb;
  const unsigned char* at(int x, int y) const { return &rgb[3 * (y * w + x)]; }
  // The pixels for which `is` holds.
  int count(std::function<bool(int, int, const unsigned char*)> is) const {
    int n = 0;
    for (int y = 0; y < h; y++)
      for (int x = 0; x < w; x++) n += is(x, y, at(x, y));
    return n;
  }
};

bool readpng(const std::string& path, image* im) {
  png_image p;
  memset(&p, 0, sizeof p);
  p.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&p, path.c_str())) return false;
  p.format = PNG_FORMAT_RGB;
  im->w = p.width;
  im->h = p.height;
  im->rgb.resize(PNG_IMAGE_SIZE(p));
  int ok = png_image_finish_read(&p, nullptr, im->rgb.data(), 0, nullptr);
  png_image_free(&p);
  return ok;
}

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
