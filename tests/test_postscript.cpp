// The PostScript writer: the exact text of every record type, the style
// caches, the document frame, printing and failures.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "model/notify.h"
#include "model/reset.h"
#include "model/style.h"
#include "model/worldlist.h"
#include "postscript/eps.h"
#include "postscript/psformat.h"
#include "postscript/psprims.h"
#include "postscript/psstate.h"
#include "postscript/pstext.h"
#include "prefs/preffile.h"
#include "render/markup.h"
#include "render/smear.h"
#include "render/view.h"

namespace {

std::vector<std::string> alerts;
void recordalert(const char* text) {
  alerts.push_back(text);
}

// Collects what a writer writes.
struct capture {
  char* buf = nullptr;
  size_t len = 0;
  FILE* f;
  capture() { f = open_memstream(&buf, &len); }
  std::string text() {
    fflush(f);
    return std::string(buf, len);
  }
  ~capture() {
    fclose(f);
    free(buf);
  }
};

struct PostScript : ::testing::Test {
  void SetUp() override {
    resetall();
    alerts.clear();
    alerthook = recordalert;
    xsize = 400;
    ysize = 400;
    recalcsizes(1);  // d = 0.02, fbsize = 0.086
    psfontscale = 200;
    initcolorflag();
  }
  void TearDown() override { resetall(); }
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
  capture c;
  initcolorflag();
  if (styled) lastlinestyle = 1, lastwidth = 1;
  primitivePostScript(c.f, p);
  return c.text();
}

const std::string SOLID = "[] 0 setdash\n0.002000 setlinewidth\n";
const std::string UNIT =
    "newpath 0.000000 0.000000 moveto 1.000000 0.000000 lineto stroke\n";

TEST_F(PostScript, Lines) {
  struct row {
    double y;  // of the segment from (0, y) to (1, y)
    int type, style, mark;
    double width;
    std::string out;
  } rows[] = {
      {0, RW_SEGMENT, RW_SOLIDLINE, RW_LINE0SLASH, 1, SOLID + UNIT},
      {0, RW_SEGMENT, RW_DASHLINE, RW_LINE0SLASH, 2,
       "[.02] 0 setdash\n0.004000 setlinewidth\n" + UNIT},
      // a ray ends three units beyond its second point
      {0, RW_RAY12, RW_DOTLINE, RW_LINE0SLASH, 1,
       "[.007] 0 setdash\n0.002000 setlinewidth\n"
       "newpath 0.000000 0.000000 moveto 4.000000 0.000000 lineto stroke\n"},
      {0.5, RW_LONGLINE, RW_SOLIDLINE, RW_LINE0SLASH, 1,
       SOLID + "newpath -10.000000 0.500000 moveto 10.000000 0.500000 "
               "lineto stroke\n"},
      // ticks across the midpoint: 0.03 (1, -1) / sqrt 2 = 0.021213
      {0, RW_SEGMENT, RW_SOLIDLINE, RW_LINE1SLASH, 1,
       SOLID + UNIT +
           "0.521213 -0.021213 moveto 0.478787 0.021213 lineto stroke\n"},
      {0, RW_SEGMENT, RW_SOLIDLINE, RW_LINE2SLASH, 1,
       SOLID + UNIT +
           "0.511213 -0.021213 moveto 0.468787 0.021213 lineto "
           "0.531213 -0.021213 moveto 0.488787 0.021213 lineto stroke\n"},
      {0, RW_SEGMENT, RW_SOLIDLINE, RW_LINE3SLASH, 1,
       SOLID + UNIT +
           "0.501213 -0.021213 moveto 0.458787 0.021213 lineto "
           "0.541213 -0.021213 moveto 0.498787 0.021213 lineto\n"
           "0.521213 -0.021213 moveto 0.478787 0.021213 lineto stroke\n"},
  };
  for (const row& r : rows) {
    line* l = segment(0, r.y, 1, r.y);
    l->linetype = r.type, l->linestyle = r.style, l->linemark = r.mark;
    l->width = r.width;
    EXPECT_EQ(ps(l), r.out) << r.type << " " << r.style << " " << r.mark;
  }
  // A level line counts as rising (within 0.001): the label goes one text
  // line (0.086) below the midpoint raised by 0.02.
  line* l = segment(0, 0, 1, 0);
  l->label = strdup("a");
  EXPECT_EQ(ps(l), SOLID + UNIT +
                       "0.500000 -0.066000 moveto\n"
                       "/Times-Italic findfont 0.080000 scalefont setfont\n"
                       "(a) haloshow\n0.500000 -0.066000 moveto\n(a) show\n");
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
  EXPECT_EQ(ps(k), SOLID +
                       "newpath\n0.100000 0.200000 250.000000 0 360 arc "
                       "closepath stroke\n");
  k->center.w = 0;  // degenerated into a line: not written
  EXPECT_EQ(ps(k), "");

  bezier* b = new bezier;
  addprimitive(b);
  vertex* bp[4] = {&b->p1, &b->p2, &b->p3, &b->p4};
  for (int i = 0; i < 4; i++)
    bp[i]->x = i * 0.25, bp[i]->y = i % 2, bp[i]->w = 1;
  EXPECT_EQ(ps(b), SOLID +
                       "newpath\n0.000000 0.000000 moveto\n0.250000 1.000000 "
                       "0.500000 0.000000 0.750000 1.000000 curveto\n"
                       "stroke\n");
  b->p3.w = 0;
  EXPECT_EQ(ps(b), "");

  polygon* p = new polygon;
  addprimitive(p);
  p->nvert = 3;
  p->parents[0] = point(0, 0), p->parents[1] = point(1, 0);
  p->parents[2] = point(0, 1);
  const std::string path =
      "0.000000 0.000000 moveto\n1.000000 0.000000 lineto\n"
      "0.000000 1.000000 lineto\n";
  struct row {
    int type;
    const char *head, *tail;
  } rows[] = {
      {RW_OUTLINEPOLY, "newpath\n", "closepath stroke\n"},
      {RW_SOLIDPOLY, "newpath\n", "closepath fill\n"},
      {RW_HASHPOLY, "gsave newpath\n", "closepath clip\ndrawhash grestore\n"},
      {RW_HASHPOLY1, "gsave newpath\n", "closepath clip\ndrawhash1 grestore\n"},
      {RW_HASHPOLY2, "gsave newpath\n", "closepath clip\ndrawhash2 grestore\n"},
  };
  for (const row& r : rows) {
    p->polytype = r.type;
    EXPECT_EQ(ps(p, true), r.head + path + r.tail) << r.type;
  }
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
  const char* ring9 =
      "newpath\n0.000000 0.000000 0.090000 0.000000 90.000000 arc stroke\n";
  struct row {
    int type;
    std::string text;
  } rows[] = {
      {RW_NOANGLE, ""},
      {RW_RING1, ring9},
      {RW_RING2,
       "newpath\n0.000000 0.000000 0.070000 0.000000 90.000000 arc "
       "stroke\n" +
           std::string(ring9)},
      {RW_RIGHT,
       "newpath\n0.070000 0.000000 moveto 0.070000 0.070000 lineto "
       "0.000000 0.070000 lineto stroke\n"},
      // bisector 45 degrees; slash from 0.11 in to 0.07
      {RW_SLASH1, ring9 + std::string("newpath 0.077782 0.077782 moveto "
                                      "0.049497 0.049497 lineto stroke\n")},
  };
  for (const row& r : rows) {
    a->angletype = r.type;
    EXPECT_EQ(ps(a, true), r.text) << r.type;
  }
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
  const std::string tail = "0.002000 setlinewidth stroke 1 setlinecap\n";
  const std::string white = "1 1 1 setrgbcolor\n", red = "1 0 0 setrgbcolor\n";
  struct row {
    int type;
    std::string text;
  } rows[] = {
      {RW_DIAMOND, white +
                       "0.100000 0.200000 0.020000 diamond\n"
                       "gsave fill grestore\n" +
                       red + tail + "0.100000 0.200000 drawdot\n"},
      {RW_PLUS, "2 setlinecap\n" + red +
                    "0.100000 0.180000 moveto 0.100000 0.220000 lineto "
                    "0.120000 0.200000 moveto 0.080000 0.200000 lineto "
                    "closepath stroke\n" +
                    tail},
      {RW_CROSS, "2 setlinecap\n" + red +
                     "0.085858 0.185858 moveto 0.114142 0.214142 lineto "
                     "0.114142 0.185858 moveto 0.085858 0.214142 lineto "
                     "closepath stroke\n" +
                     tail},
      {RW_NOMARK, ""},
      {RW_SOLIDDIAMOND,
       red + "0.080000 0.200000 moveto 0.100000 0.220000 lineto "
             "0.120000 0.200000 lineto 0.100000 0.180000 lineto closepath "
             "fill\n"},
      {RW_SQUARE, white +
                      "newpath 2 setlinecap\n"
                      "0.085858 0.185858 moveto 0.114142 0.185858 lineto "
                      "0.114142 0.214142 lineto 0.085858 0.214142 lineto "
                      "closepath\ngsave fill grestore\n" +
                      red + tail + "0.100000 0.200000 drawdot\n"},
      {RW_DOT, red + "0.100000 0.200000 drawdot\n"},
      {RW_CIRCPOINT, white +
                         "newpath 2 setlinecap\n"
                         "0.100000 0.200000 0.014142 0 360 arc "
                         "closepath\ngsave fill grestore\n" +
                         red + tail},
  };
  for (const row& r : rows) {
    vertex* v = point(0.1, 0.2, r.type);
    v->color = COLOR_RED;
    EXPECT_EQ(ps(v, true), r.text) << r.type;
  }
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
  // The page swaps black and white; codes past 7 print black; -10 is the
  // white of mark fills; -2 is also the cache's empty value: the smear
  // colour is not written first in a document, where it is black anyway.
  const int codes[] = {0, 1, 2, 3, 4, 5, 6, 7, 12, -3, -10, -2};
  const char* rgb[] = {"1 1 1", "1 0 0", "0 1 0", "1 1 0", "0 0 1", "1 0 1",
                       "0 1 1", "0 0 0", "0 0 0", "0 0 0", "1 1 1", nullptr};
  for (int i = 0; i < 12; i++) {
    capture c;
    initcolorflag();
    setPScolor(codes[i], nullptr, c.f);
    setPScolor(codes[i], nullptr, c.f);  // the same colour again: nothing
    EXPECT_EQ(c.text(), rgb[i] ? rgb[i] + std::string(" setrgbcolor\n") : "")
        << codes[i];
  }
  capture c;
  initcolorflag();
  setPScolor(COLOR_INVISIBLE, nullptr, c.f);  // hidden: nothing, no cache
  EXPECT_EQ(lastcolor, -2);
  uint8_t lc[NLAYERS];
  memset(lc, 255, sizeof lc);
  lc[4] = COLOR_BLUE;
  minlayer = 4;
  setPScolor(COLOR_PERLAYER, lc, c.f);
  minlayer = -1;  // no layer in force: invisible, the bytes are not read
  setPScolor(COLOR_PERLAYER, lc, c.f);
  EXPECT_EQ(c.text(), "0 0 1 setrgbcolor\n");
  showinvisible = 1;
  setPScolor(COLOR_PERLAYER, lc, c.f);
  EXPECT_EQ(c.text(), "0 0 1 setrgbcolor\n0 0 0 setrgbcolor\n");

  capture s;
  setlinestyle(s.f, 3, 1.5);
  setlinestyle(s.f, 3, 1.5);
  setlinestyle(s.f, 3, 2);
  EXPECT_EQ(s.text(),
            "[.007] 0 setdash\n0.003000 setlinewidth\n"
            "[.007] 0 setdash\n0.004000 setlinewidth\n");
  capture f;
  setPSfont(f.f, "Symbol", 16);
  setPSfont(f.f, "Symbol", 16);
  setPSfont(f.f, "Times-Italic", 16);
  setPSfont(f.f, "Times-Italic", 12);
  EXPECT_EQ(f.text(),
            "/Symbol findfont 0.080000 scalefont setfont\n"
            "/Times-Italic findfont 0.080000 scalefont setfont\n"
            "/Times-Italic findfont 0.060000 scalefont setfont\n");
}

std::string pstext(const char* s, int halo) {
  capture c;
  initcolorflag();
  PScharstr(c.f, s, 0.1, 0.2, halo);
  return c.text();
}

const std::string TIMES = "/Times-Italic findfont 0.080000 scalefont setfont\n";
const std::string START = "0.100000 0.200000 moveto\n" + TIMES;

TEST_F(PostScript, TextMarkup) {
  const std::string sym = "/Symbol findfont 0.080000 scalefont setfont\n";
  const std::string save = "currentpoint /ysave exch store /xsave exch store\n";
  const std::string newsave =
      "currentpoint /ynewsave exch store /xnewsave exch store\n";
  const std::string small =
      "/Times-Italic findfont 0.060000 scalefont setfont\n";
  struct row {
    const char* in;
    std::string out;
  } rows[] = {
      {"A", "(A) show\n"},
      {"(x)", "(\\(x\\)) show\n"},
      {"A\\sub{1}", "(A) show\n" + save + "xsave ysave 0.018000 sub moveto\n" +
                        small + "(1) show\ncurrentpoint pop ysave moveto\n"},
      {"x\\sup{2}", "(x) show\n" + save + "xsave ysave 0.027000 add moveto\n" +
                        small + "(2) show\ncurrentpoint pop ysave moveto\n"},
      {"\\overline{AB}", "() show\n" + save + "(A) show\n(B) show\n" + newsave +
                             "xsave ysave 0.038000 add moveto\n"
                             "xnewsave ynewsave 0.038000 add lineto stroke\n"
                             "xnewsave ynewsave moveto\n"},
      {"\\arc{C}",
       "() show\n" + save + "(C) show\n" + newsave +
           "xsave ysave 0.038000 .8 mul add moveto\n"
           "xnewsave .333 mul xsave .666 mul add ynewsave 0.038000 add\n"
           "xnewsave .666 mul xsave .333 mul add ynewsave 0.038000 add\n"
           "xnewsave ynewsave 0.038000 .8 mul add curveto stroke\n"
           "xnewsave ynewsave moveto\n"},
      {"\\101", "() show\n" + sym + "(A) show\n"},
      {"\\pie", "() show\n" + sym + "(p) show\n" + TIMES + "(e) show\n"},
      {"\\therefore", "() show\n" + sym + "(\\\\) show\n"},
      {"\\9", "() show\n(\\\\) show\n(9) show\n"},
      {"\\000", "() show\n" + sym + "(\\000) show\n"},
  };
  for (const row& r : rows) EXPECT_EQ(pstext(r.in, 0), START + r.out) << r.in;
  EXPECT_EQ(pstext("A", 1), START + "(A) haloshow\n");
  // A newline lowers the info column and moves there.
  yinfo = -0.5;
  EXPECT_EQ(pstext("a\nb", 0),
            START + "(a) show\n0.100000 -0.586000 moveto\n(b) show\n");
  EXPECT_NEAR(yinfo, -0.586, 1e-12);

  // A label's halo and its letters line up, line for line.
  initcolorflag();
  yinfo = -0.5;
  capture lab;
  PSlabel(lab.f, "a\nb", 0.1, 0.2);
  EXPECT_EQ(lab.text(), START +
                            "(a) haloshow\n0.100000 -0.586000 moveto\n"
                            "(b) haloshow\n0.100000 0.200000 moveto\n"
                            "(a) show\n0.100000 -0.586000 moveto\n"
                            "(b) show\n");
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
  EXPECT_EQ(ps(f), "-0.990000 0.900000 moveto\n" + TIMES +
                       "(r =  1.500) haloshow\n"
                       "-0.990000 0.900000 moveto\n(r =  1.500) show\n");
  EXPECT_NEAR(ym, 0.9f - 0.086, 1e-9);

  text* t = new text;
  addprimitive(t);
  t->string = strdup("two\nlines");
  yinfo = -0.5;
  EXPECT_EQ(ps(t), "-0.990000 -0.500000 moveto\n" + TIMES +
                       "(two) haloshow\n-0.990000 -0.586000 moveto\n"
                       "(lines) haloshow\n-0.990000 -0.500000 moveto\n"
                       "(two) show\n-0.990000 -0.586000 moveto\n"
                       "(lines) show\n");
  EXPECT_NEAR(yinfo, -0.5 - 0.086 * 2, 1e-12);
  showinfo = 0;
  EXPECT_EQ(ps(t), "");
}

// The document of a 400 x 450 view around what it draws. The prologue's
// procedures are left to Ghostscript (test_psrender) to prove.
const std::string HEAD =
    "%!PS-Adobe-2.0 EPSF-1.2\n%%Creator: Tessarin\n"
    "%%BoundingBox: 0 0 400 450\n%%EndComments\n0 setlinewidth\n"
    "200.000000 225.000000 translate\n200.000000 200.000000 scale\n";
const std::string CLIP =
    "-1.000000 -1.125000 moveto -1.000000 1.125000 lineto "
    "1.000000 1.125000 lineto 1.000000 -1.125000 lineto\n"
    "closepath clip\n" +
    TIMES;

struct Document : PostScript {
  void SetUp() override {
    PostScript::SetUp();
    xsize = 400;
    ysize = 450;
    recalcsizes(1);
  }
  std::string write() {
    capture c;
    writePostScript(c.f);
    return c.text();
  }
  // What the document draws, after the frame's clip.
  std::string body() {
    std::string t = write();
    size_t at = t.find(CLIP);
    EXPECT_EQ(t.substr(0, HEAD.size()), HEAD);
    EXPECT_NE(at, std::string::npos);
    EXPECT_EQ(t.substr(t.size() - 9), "showpage\n");
    return at == std::string::npos ? t : t.substr(at + CLIP.size());
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
  // Point marks come last; one colour line serves both red segments; the
  // record off the layers in force writes its colour but nothing else.
  EXPECT_EQ(body(),
            "0 1 0 setrgbcolor\n1 0 0 setrgbcolor\n" + SOLID +
                "newpath 0.000000 0.000000 moveto 0.500000 0.000000 lineto "
                "stroke\n"
                "newpath 0.000000 0.500000 moveto 0.500000 0.500000 lineto "
                "stroke\n"
                "0 0 1 setrgbcolor\n"
                "0 1 0 setrgbcolor\n-0.500000 0.000000 drawdot\nshowpage\n");
}

TEST_F(Document, PrintPageAndSmear) {
  EPS = 0;
  std::string t = write();
  const std::string head =
      "%!PS-Adobe-2.0 EPSF-1.2\n%%Creator: Tessarin\n"
      "%%BoundingBox: 0 0 550 618\n%%EndComments\n0 setlinewidth\n"
      "306 396 translate\n275.000000 275.000000 scale\n";
  EXPECT_EQ(t.substr(0, head.size()), head);
  EXPECT_EQ(xsize, 400);  // restored
  EXPECT_EQ(ysize, 450);

  EPS = 1;
  addsmearitem(SMEAR_SEGMENT, 0, 0, 0.25, 0.25, 0);
  addsmearitem(SMEAR_POINT, 0.5, 0.5, 0, 0, RW_DOT);
  addsmearitem(SMEAR_CIRCLE, 0, 0, 0.5, 0, 0);
  addsmearitem(SMEAR_BEZIER, 0, 0, 0.1, 0.1, 0);
  addsmearitem(SMEAR_BEZIER, 0.2, 0.2, 0.3, 0, 0);
  EXPECT_EQ(body(),
            SOLID +
                "newpath 0.000000 0.000000 moveto 0.250000 0.250000 lineto "
                "stroke\n0 0 0 setrgbcolor\n0.500000 0.500000 drawdot\n"
                "newpath\n0.000000 0.000000 0.500000 0 360 arc closepath "
                "stroke\nnewpath\n0.000000 0.000000 moveto\n"
                "0.100000 0.100000 0.200000 0.200000 0.300000 0.000000 "
                "curveto\nstroke\nshowpage\n");
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

std::string slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST_F(Document, FilesAndPrinting) {
  EXPECT_EQ(dumpPostScript("/nonexistent-dir/x.eps"), 0);
  EXPECT_EQ(
      alerts,
      std::vector<std::string>{
          "Couldn't open /nonexistent-dir/x.eps: No such file or directory"});
  if (access("/dev/full", W_OK) == 0) {
    EXPECT_EQ(dumpPostScript("/dev/full"), 0);  // the disk is full
    EXPECT_EQ(alerts.back(),
              "Couldn't write /dev/full: No space left on device");
  }

  std::string dir = TESSARIN_BINARY_DIR "/ps-print-test";
  ASSERT_EQ(system(("rm -rf '" + dir + "' && mkdir -p '" + dir + "'").c_str()),
            0);
  // Run from `dir`, an injected command would create "pwned" there.
  std::string path = dir + "/my page; touch pwned $(touch pwned) 'q'.ps";
  char keepdir[4096];
  ASSERT_NE(getcwd(keepdir, sizeof keepdir), nullptr);
  ASSERT_EQ(chdir(dir.c_str()), 0);
  EPS = 0;
  alerts.clear();
  printcmdstring[0] = '\0';
  EXPECT_EQ(dumpPostScript(path.c_str()), 0);
  EXPECT_EQ(alerts, std::vector<std::string>{
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
  EXPECT_EQ(system(("rm -rf '" + dir + "'").c_str()), 0);
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
  capture c;
  psprintf(c.f, "%%!PS %d %s %f %g %6.3f|%f\n", 42, "ab", 0.25, 1e6, 3.14159,
           -2.5);
  EXPECT_EQ(c.text(), "%!PS 42 ab 0.250000 1e+06  3.142|-2.500000\n");
  std::string big(3000, 'x');  // longer than the line buffer
  capture d;
  psprintf(d.f, "(%s) show\n", big.c_str());
  EXPECT_EQ(d.text(), "(" + big + ") show\n");
}

}  // namespace
