// The PostScript writer: the exact text of every record type (golden texts
// in tests/data/postscript.txt), the style caches, the document frame,
// printing and failures.
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "model/style.h"
#include "postscript/eps.h"
#include "postscript/psformat.h"
#include "postscript/psprims.h"
#include "postscript/psstate.h"
#include "postscript/pstext.h"
#include "prefs/preffile.h"
#include "render/markup.h"
#include "render/smear.h"
#include "render/view.h"
#include "tests/langtest.h"

namespace {
using langtest::alerts;

using langtest::captured;

const std::map<std::string, std::string> G = langtest::golden("postscript.txt");

struct PostScript : langtest::Lang {
  void SetUp() override {
    Lang::SetUp();
    xsize = 400;
    ysize = 400;
    recalcsizes(1);  // d = 0.02, fbsize = 0.086
    psfontscale = 200;
    initcolorflag();
  }
};

// Records made here go to the world list, which the fixture frees.
vertex* point(double x, double y, int type = RW_CIRCPOINT) {
  vertex* v = new vertex;
  v->x = x, v->y = y, v->w = 1;
  v->pointtype = type;
  addprimitive(v);
  return v;
}

line* segment(double x1, double y1, double x2, double y2) {
  line* l = new line;
  l->p1.x = x1, l->p1.y = y1, l->p1.w = 1;
  l->p2.x = x2, l->p2.y = y2, l->p2.w = 1;
  l->a = y1 - y2, l->b = x2 - x1, l->c = x1 * y2 - x2 * y1;
  addprimitive(l);
  return l;
}

// What the writer writes for p from fresh caches, or with the solid style
// of width 1 already in force.
std::string ps(const primitive* p, bool styled = false) {
  return captured([&](FILE* f) {
    initcolorflag();
    if (styled) lastlinestyle = 1, lastwidth = 1;
    primitivePostScript(f, p);
  });
}

TEST_F(PostScript, Lines) {
  const struct {
    double y;  // of the segment from (0, y) to (1, y)
    int type, style, mark;
    double width;
  } rows[] = {{0, RW_SEGMENT, RW_SOLIDLINE, RW_LINE0SLASH, 1},
              {0, RW_SEGMENT, RW_DASHLINE, RW_LINE0SLASH, 2},
              {0, RW_RAY12, RW_DOTLINE, RW_LINE0SLASH, 1},
              {0.5, RW_LONGLINE, RW_SOLIDLINE, RW_LINE0SLASH, 1},
              {0, RW_SEGMENT, RW_SOLIDLINE, RW_LINE1SLASH, 1},
              {0, RW_SEGMENT, RW_SOLIDLINE, RW_LINE2SLASH, 1},
              {0, RW_SEGMENT, RW_SOLIDLINE, RW_LINE3SLASH, 1}};
  std::string all;
  for (const auto& r : rows) {
    line* l = segment(0, r.y, 1, r.y);
    l->linetype = r.type, l->linestyle = r.style, l->linemark = r.mark;
    l->width = r.width;
    all += ps(l);
  }
  line* l = segment(0, 0, 1, 0);
  l->label = strdup("a");
  EXPECT_EQ(all + ps(l), G.at("lines"));
  // Shown invisible: thin dashes, a tenth of the width; hidden: nothing.
  l->color = COLOR_INVISIBLE;
  showinvisible = 1;
  EXPECT_EQ(ps(l).substr(0, 46),
            "[0.020 0.010] 0 setdash\n0.000200 setlinewidth\n");
  showinvisible = 0;
  EXPECT_EQ(ps(l), "");
  l->color = COLOR_RED;
  l->valid = 0;
  EXPECT_EQ(ps(l), "");
}

TEST_F(PostScript, CirclesCurvesPolygons) {
  circle* k = new circle;
  addprimitive(k);
  k->center.x = 0.1, k->center.y = 0.2, k->center.w = 1;
  k->radius = 250;
  std::string all = ps(k);
  k->center.w = 0;  // degenerated into a line: not written
  all += ps(k);
  bezier* b = new bezier;
  addprimitive(b);
  vertex* bp[4] = {&b->p1, &b->p2, &b->p3, &b->p4};
  for (int i = 0; i < 4; i++)
    bp[i]->x = i * 0.25, bp[i]->y = i % 2, bp[i]->w = 1;
  all += ps(b);
  b->p3.w = 0;
  all += ps(b);
  polygon* p = new polygon;
  addprimitive(p);
  p->nvert = 3;
  p->parents[0] = point(0, 0), p->parents[1] = point(1, 0);
  p->parents[2] = point(0, 1);
  for (int type : {RW_OUTLINEPOLY, RW_SOLIDPOLY, RW_HASHPOLY, RW_HASHPOLY1,
                   RW_HASHPOLY2}) {
    p->polytype = type;
    all += ps(p, true);
  }
  EXPECT_EQ(all, G.at("circles curves polygons"));
}

TEST_F(PostScript, Conics) {
  conic* k = new conic;
  addprimitive(k);
  // 4(x-1)^2 + (y-1)^2 = 4: semi-axes 1 along x and 2 along y about (1, 1).
  double e[6] = {4, 0, 1, -8, -2, 1};
  memcpy(k->coef, e, sizeof e);
  EXPECT_EQ(ps(k),
            "gsave\n0 rotate\n1 1 translate\n1 2 scale\nnewpath\n"
            "0 0 1 0 360 arc closepath stroke\ngrestore\n");

  // xy = 1: turned 45 degrees, scaled by sqrt 2, opening along u.
  double h[6] = {0, 1, 0, 0, 0, -1};
  memcpy(k->coef, h, sizeof h);
  std::string t = ps(k);
  EXPECT_EQ(t.substr(0, 71),
            "gsave\n45 rotate\n-0 0 translate\n1.41421 1.41421 scale\n"
            "90 rotate\nnewpath\n");
  EXPECT_NE(t.find("-1e+06 1e+06 moveto\n-5 5.09902 lineto\n"),
            std::string::npos);
  EXPECT_NE(t.find("1e+06 1e+06 lineto\nclosepath stroke newpath\n"
                   "-1e+06 -1e+06 moveto\n-5 -5.09902 lineto\n"),
            std::string::npos);
  EXPECT_EQ(t.substr(t.size() - 46),
            "1e+06 -1e+06 lineto\nclosepath stroke\ngrestore\n");
  EXPECT_EQ(t.find("setlinewidth"), std::string::npos);

  // A flat hyperbola x^2/100 - y^2 = 1: scale 10 > 5, thinnest line.
  double f[6] = {0.01, 0, -1, 0, 0, -1};
  memcpy(k->coef, f, sizeof f);
  EXPECT_NE(ps(k).find("10 1 scale\n0 setlinewidth\n90 rotate\n"),
            std::string::npos);

  // No real points, a parabola and a line pair: nothing, never "nan".
  double none[3][6] = {
      {-1, 0, -1, 0, 0, -1}, {1, 0, 0, 0, -1, 0}, {1, 0, -1, 0, 0, 0}};
  for (auto& q : none) {
    memcpy(k->coef, q, sizeof q);
    EXPECT_EQ(ps(k), "");
  }
}

TEST_F(PostScript, AnglesAndArcs) {
  vertex* P = point(1, 0);
  vertex* V = point(0, 0);
  vertex* Q = point(0, 1);
  angle* a = new angle;
  addprimitive(a);
  a->kind = A_VVV;
  a->parents[0] = P, a->parents[1] = V, a->parents[2] = Q;
  std::string all;
  for (int type : {RW_NOANGLE, RW_RING1, RW_RING2, RW_RIGHT, RW_SLASH1}) {
    a->angletype = type;
    all += ps(a, true);
  }
  EXPECT_EQ(all, G.at("angle marks"));
  // Double slashes at 45 +- 0.05 rad: 0.11 cos(0.735398) = 0.081572,
  // 0.11 sin(0.735398) = 0.073797; inwards to 0.07.
  a->angletype = RW_DSLASH1;
  EXPECT_NE(ps(a).find("newpath 0.081572 0.073797 moveto 0.051909 "
                       "0.046962 lineto stroke\n"
                       "newpath 0.073797 0.081572 moveto"),
            std::string::npos);
  // An arm below the apex is written as 270 degrees, not -90.
  P->y = -1, P->x = 0;
  a->angletype = RW_RING1;
  EXPECT_NE(ps(a).find("0.090000 270.000000 90.000000 arc stroke\n"),
            std::string::npos);
  // In a window twice as wide as tall the marks double.
  xsize = 800;
  recalcsizes(0);
  EXPECT_NE(ps(a).find("0.180000 270.000000"), std::string::npos);
  // The arc's radius stays |A - C| whatever the window.
  arc* r = new arc;
  addprimitive(r);
  r->kind = ARC_VVV;
  r->parents[0] = point(0.3, 0.4), r->parents[1] = V, r->parents[2] = Q;
  EXPECT_NE(ps(r).find("newpath\n0.000000 0.000000 0.500000 53.130102 "
                       "90.000000 arc stroke\n"),
            std::string::npos);
  a->kind = A_F;  // an angle given by a number is not drawn
  EXPECT_EQ(ps(a), "");
}

TEST_F(PostScript, PointMarks) {
  std::string all;
  for (int type : {RW_DIAMOND, RW_PLUS, RW_CROSS, RW_NOMARK, RW_SOLIDDIAMOND,
                   RW_SQUARE, RW_DOT, RW_CIRCPOINT}) {
    vertex* v = point(0.1, 0.2, type);
    v->color = COLOR_RED;
    all += ps(v, true);
  }
  EXPECT_EQ(all, G.at("point marks"));
  // A point at infinity writes nothing; a label goes at (x + d, y + d).
  vertex* v = point(0.1, 0.2, RW_DOT);
  v->w = 0;
  EXPECT_EQ(ps(v), "");
  v->w = 1;
  v->label = strdup("P");
  EXPECT_NE(ps(v).find("0.120000 0.220000 moveto\n"), std::string::npos);
  // Black-and-white printing: strokes black, the mark fill stays white.
  printbw = 1;
  v = point(0.1, 0.2, RW_DIAMOND);
  v->color = COLOR_RED;
  std::string bw = ps(v);
  EXPECT_NE(bw.find("1 1 1 setrgbcolor\n0.100000"), std::string::npos);
  EXPECT_NE(bw.find("0 0 0 setrgbcolor\n0.002000 setlinewidth"),
            std::string::npos);
}

TEST_F(PostScript, StyleCaches) {
  std::string all;
  for (int code : {0, 1, 2, 3, 4, 5, 6, 7, 12, -3, -10, -2})
    all += captured([&](FILE* f) {
      initcolorflag();
      setPScolor(code, nullptr, f);
      setPScolor(code, nullptr, f);  // the same colour again: nothing
    });
  all += captured([](FILE* f) {
    initcolorflag();
    setPScolor(COLOR_INVISIBLE, nullptr, f);  // hidden: nothing, no cache
    EXPECT_EQ(lastcolor, -2);
    uint8_t lc[NLAYERS];
    memset(lc, 255, sizeof lc);
    lc[4] = COLOR_BLUE;
    minlayer = 4;
    setPScolor(COLOR_PERLAYER, lc, f);
    minlayer = -1;  // no layer in force: invisible, the bytes are not read
    setPScolor(COLOR_PERLAYER, lc, f);
    showinvisible = 1;
    setPScolor(COLOR_PERLAYER, lc, f);
    setlinestyle(f, 3, 1.5);
    setlinestyle(f, 3, 1.5);
    setlinestyle(f, 3, 2);
    setPSfont(f, "Symbol", 16);
    setPSfont(f, "Symbol", 16);
    setPSfont(f, "Times-Italic", 16);
    setPSfont(f, "Times-Italic", 12);
  });
  EXPECT_EQ(all, G.at("style caches"));
}

std::string pstext(const char* s, int halo) {
  return captured([&](FILE* f) {
    initcolorflag();
    PScharstr(f, s, 0.1, 0.2, halo);
  });
}

TEST_F(PostScript, TextMarkup) {
  std::string all;
  for (const char* in :
       {"A", "(x)", "A\\sub{1}", "x\\sup{2}", "\\overline{AB}", "\\arc{C}",
        "\\101", "\\pie", "\\therefore", "\\9", "\\000"})
    all += pstext(in, 0);
  all += pstext("A", 1);
  yinfo = -0.5;
  all += pstext("a\nb", 0);
  EXPECT_NEAR(yinfo, -0.586, 1e-12);
  initcolorflag();
  yinfo = -0.5;
  all += captured([](FILE* f) { PSlabel(f, "a\nb", 0.1, 0.2); });
  EXPECT_EQ(all, G.at("markup"));
  EXPECT_NEAR(yinfo, -0.586, 1e-12);

  // Escaping has no fixed limit.
  std::string big(3000, '(');
  std::string esc = makepsstr(big.c_str(), (int)big.size());
  EXPECT_EQ(esc.size(), 6000u);
  EXPECT_EQ(esc.substr(0, 4), "\\(\\(");
}

TEST_F(PostScript, ValuesAndTexts) {
  flt* f = new flt;
  addprimitive(f);
  f->value = 1.5;
  EXPECT_EQ(ps(f), "");  // no label: nothing
  f->label = strdup("r");
  std::string all = ps(f);
  EXPECT_NEAR(ym, 0.9f - 0.086, 1e-9);
  text* t = new text;
  addprimitive(t);
  t->string = strdup("two\nlines");
  yinfo = -0.5;
  EXPECT_EQ(all + ps(t), G.at("values and texts"));
  EXPECT_NEAR(yinfo, -0.5 - 0.086 * 2, 1e-12);
  showinfo = 0;
  EXPECT_EQ(ps(t), "");
}

// The document of a 400 x 450 view around what it draws. The prologue's
// procedures are left to Ghostscript (test_psrender) to prove.
struct Document : PostScript {
  void SetUp() override {
    PostScript::SetUp();
    xsize = 400;
    ysize = 450;
    recalcsizes(1);
  }
  std::string write() { return captured(writePostScript); }
  // What the document draws, after the frame's clip.
  std::string body() {
    std::string t = write(), head = G.at("document frame");
    size_t at = t.find(G.at("document clip"));
    EXPECT_EQ(t.substr(0, head.size()), head);
    EXPECT_NE(at, std::string::npos);
    EXPECT_EQ(t.substr(t.size() - 9), "showpage\n");
    return at == std::string::npos
               ? t
               : t.substr(at + G.at("document clip").size());
  }
};

TEST_F(Document, EmptyAndInvisible) {
  std::string empty = write();
  EXPECT_EQ(body(), "showpage\n");
  // Only invisible records: no colour lines at all.
  segment(0, 0, 1, 1)->color = COLOR_INVISIBLE;
  point(0, 0)->color = COLOR_INVISIBLE;
  EXPECT_EQ(write(), empty);
}

// The screen's scale (a display of high resolution) leaves the page as
// it is: marks, label spacing and line widths keep their page sizes, and
// the screen gets its scale back.
TEST_F(Document, TheScreenScaleLeavesThePageAlone) {
  point(-0.5, 0, RW_DIAMOND)->label = strdup("A");
  segment(0, 0, 0.5, 0.2)->width = 2;
  std::string plain = write();
  double mark = dpbsize, spacing = fbsize;
  setscreenscale(2);
  EXPECT_DOUBLE_EQ(dpbsize, 2 * mark);  // the screen's marks and lines
  EXPECT_DOUBLE_EQ(fbsize, 2 * spacing);
  EXPECT_EQ(write(), plain);
  EXPECT_DOUBLE_EQ(dpbsize, 2 * mark);
  setscreenscale(1);
  EXPECT_DOUBLE_EQ(dpbsize, mark);
}

TEST_F(Document, OrderAndColours) {
  point(-0.5, 0, RW_DOT)->color = COLOR_GREEN;
  segment(0, 0, 0.5, 0)->color = COLOR_RED;
  segment(0, 0.5, 0.5, 0.5)->color = COLOR_RED;
  line* hidden = segment(0, 0, 1, 1);
  hidden->color = COLOR_BLUE;
  hidden->layers = 1u << 3;
  layerset = 1u << 0;
  EXPECT_EQ(body(), G.at("order and colours"));
}

TEST_F(Document, PrintPageAndSmear) {
  EPS = 0;
  std::string t = write(), head = G.at("printed page");
  EXPECT_EQ(t.substr(0, head.size()), head);
  EXPECT_EQ(xsize, 400);  // restored
  EXPECT_EQ(ysize, 450);
  EPS = 1;
  addsmearitem(SMEAR_SEGMENT, 0, 0, 0.25, 0.25, 0);
  addsmearitem(SMEAR_POINT, 0.5, 0.5, 0, 0, RW_DOT);
  addsmearitem(SMEAR_CIRCLE, 0, 0, 0.5, 0, 0);
  addsmearitem(SMEAR_BEZIER, 0, 0, 0.1, 0.1, 0);
  addsmearitem(SMEAR_BEZIER, 0.2, 0.2, 0.3, 0, 0);
  EXPECT_EQ(body(), G.at("smear"));
}

TEST_F(Document, ScratchListAndWideView) {
  // Labelled angles of the macro scratch list get a row of their own.
  angle* a = new angle;
  a->kind = A_VVV;
  a->angletype = RW_NOANGLE;
  a->parents[0] = point(0.5, 0, RW_NOMARK);
  a->parents[1] = point(0, 0, RW_NOMARK);
  a->parents[2] = point(0, 0.5, RW_NOMARK);
  a->label = strdup("x");
  a->color = COLOR_BLUE;
  angle* b = new angle;
  *b = *a;
  b->label = strdup("y");
  a->next = b;
  b->next = nullptr;
  macroplist = a;
  std::string t = write();
  size_t first = t.find("-0.99 0.000000 moveto\n");
  size_t second = t.find("-0.99 -0.086000 moveto\n");
  ASSERT_NE(first, std::string::npos) << t;
  ASSERT_NE(second, std::string::npos);
  EXPECT_LT(first, t.find("(x) haloshow"));
  EXPECT_LT(t.find("(x) show"), second);
  EXPECT_LT(second, t.find("(y) haloshow"));

  // A view wider than tall is scaled by half its height.
  xsize = 600;
  ysize = 400;
  recalcsizes(0);
  t = write();
  EXPECT_NE(t.find("%%BoundingBox: 0 0 600 400\n%%EndComments\n"
                   "0 setlinewidth\n300.000000 200.000000 translate\n"
                   "200.000000 200.000000 scale\n"),
            std::string::npos);
  EXPECT_DOUBLE_EQ(PSxscale, 1.5);
  EXPECT_DOUBLE_EQ(psfontscale, 200);
  EXPECT_NE(t.find("-1.500000 -1.000000 moveto -1.500000 1.000000 lineto "
                   "1.500000 1.000000 lineto 1.500000 -1.000000 lineto\n"
                   "closepath clip\n"),
            std::string::npos);
}

using langtest::slurp;

// (A file that cannot be opened: the command line's tests.)
TEST_F(Document, FilesAndPrinting) {
  if (access("/dev/full", W_OK) == 0) {
    EXPECT_EQ(dumpPostScript("/dev/full"), 0);  // the disk is full
    EXPECT_EQ(langtest::firstalert(),
              "Couldn't write /dev/full: No space left on device");
  }

  langtest::scratch tmp;
  const std::string& dir = tmp.dir;
  // Run from `dir`, an injected command would create "pwned" there.
  std::string path = dir + "/my page; touch pwned $(touch pwned) 'q'.ps";
  char keepdir[4096];
  ASSERT_NE(getcwd(keepdir, sizeof keepdir), nullptr);
  ASSERT_EQ(chdir(dir.c_str()), 0);
  EPS = 0;
  alerts().clear();
  printcmdstring[0] = '\0';
  EXPECT_EQ(dumpPostScript(path.c_str()), 0);
  EXPECT_EQ(alerts(), std::vector<std::string>{
                          "No print command in Preferences file.\n"
                          "Under the Edit pulldown, use Edit Preferences.\n"
                          "Also look under Help:Documentation:Printing."});
  std::string page = slurp(path);  // the file is complete all the same
  EXPECT_EQ(page.substr(0, 4), "%!PS");
  EXPECT_EQ(page.substr(page.size() - 9), "showpage\n");

  snprintf(printcmdstring, PRINTCMDSIZE, "cp %%s %s/printed.ps", dir.c_str());
  EXPECT_EQ(dumpPostScript(path.c_str()), 1);
  EXPECT_EQ(slurp(dir + "/printed.ps"), page);
  EXPECT_NE(access((dir + "/pwned").c_str(), F_OK), 0);  // nothing else ran
  snprintf(printcmdstring, PRINTCMDSIZE, "false %%s");
  EXPECT_EQ(dumpPostScript(path.c_str()), 0);  // a failing command fails
  ASSERT_EQ(chdir(keepdir), 0);
}

// The writer's own "%f" agrees with the C library's, ties included.
TEST(PSFormat, AgreesWithPrintf) {
  char mine[512], lib[512];
  std::vector<double> xs = {
      0,      -0.0,          0.5e-6,    -0.5e-6,        1.5e-6,
      2.5e-6, 0.0000005,     0.1234565, 999999.9999995, 1e6,
      -1e6,   123456789.125, 1e300,     -1e-300,        0.1,
      -0.25,  3.0000005};
  unsigned s = 12345;
  for (int i = 0; i < 200000; i++) {
    s = s * 1103515245 + 12345;
    double m = (s >> 8) / 16777216.0;
    s = s * 1103515245 + 12345;
    int e = (int)(s >> 27) - 12;  // magnitudes 1e-12 .. 1e7
    xs.push_back((s & 1 ? -1 : 1) * m * pow(10.0, e));
    xs.push_back(round(m * 2e6) / 2e6);  // exact and near ties
  }
  for (double x : xs) {
    formatf(mine, x);
    snprintf(lib, sizeof lib, "%f", x);
    ASSERT_STREQ(mine, lib) << x;
  }
  EXPECT_EQ(captured([](FILE* f) {
              psprintf(f, "%%!PS %d %s %f %g %6.3f|%f\n", 42, "ab", 0.25, 1e6,
                       3.14159, -2.5);
            }),
            "%!PS 42 ab 0.250000 1e+06  3.142|-2.500000\n");
  std::string big(3000, 'x');  // longer than the line buffer
  EXPECT_EQ(captured([&](FILE* f) { psprintf(f, "(%s) show\n", big.c_str()); }),
            "(" + big + ") show\n");
}

}  // namespace
