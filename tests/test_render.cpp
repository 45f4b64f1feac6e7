// The headless rendering core: colour decisions, the smear list, shared
// shape geometry and the text markup.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "model/reset.h"
#include "model/style.h"
#include "render/colors.h"
#include "render/markup.h"
#include "render/palette.h"
#include "render/shapes.h"
#include "render/smear.h"
#include "render/view.h"
#include "tests/langtest.h"

namespace {

struct Render : langtest::Lang {};

void setwindow(int w, int h) {
  xsize = w;
  ysize = h;
  recalcsizes(1);
}

// Every colour decision: the code, the record's layer colours, the lowest
// layer in force, whether invisibles are shown and the blink phase give
// the index and rgb drawn, or (index -1) nothing.
TEST_F(Render, ColourDecisions) {
  uint8_t lc[NLAYERS];  // red on layer 3, hidden on the others
  for (auto& b : lc) b = 255;
  lc[3] = COLOR_RED;
  const float p = 113 / 255.f, q = 198 / 255.f;
  const struct {
    int code;
    const uint8_t* layers;
    int minlayer, shown, phase, index;
    float rgb[3];
  } rows[] = {
      {12, nullptr, 0, 0, 0, 12, {p, p, q}},
      {COLOR_PERLAYER, lc, 3, 0, 0, COLOR_RED, {1, 0, 0}},
      {COLOR_PERLAYER, lc, 0, 0, 0, -1, {}},
      {COLOR_PERLAYER, lc, 0, 1, 0, 10, {.5f, .5f, .5f}},  // shown grey
      // no layer in force, or no layer colours: invisible, never read
      {COLOR_PERLAYER, lc, -1, 1, 0, 10, {.5f, .5f, .5f}},
      {COLOR_PERLAYER, lc, 32, 1, 0, 10, {.5f, .5f, .5f}},
      {COLOR_PERLAYER, nullptr, 3, 1, 0, 10, {.5f, .5f, .5f}},
      {COLOR_PERLAYER, lc, -1, 0, 0, -1, {}},
      {40, nullptr, 0, 1, 0, -1, {}},  // unknown codes
      {-8, nullptr, 0, 1, 0, -1, {}},
      {COLOR_BACKGROUND, nullptr, 0, 0, 0, 0, {0, 0, 0}},
      {COLOR_SMEAR, nullptr, 0, 0, 0, 9, {.6f, .6f, .6f}},
      // phase 0 dims .blink1 only, phase 1 .blink2, phase 2 .blink; a dim
      // colour has index 0
      {COLOR_BLINK, nullptr, 0, 0, 0, 3, {1, .5f, 0}},
      {COLOR_BLINK, nullptr, 0, 0, 2, 0, {.5f, .25f, 0}},
      {COLOR_BLINK1, nullptr, 0, 0, 0, 0, {0, .5f, .25f}},
      {COLOR_BLINK1, nullptr, 0, 0, 2, 4, {0, 1, .5f}},
      {COLOR_BLINK2, nullptr, 0, 0, 0, 5, {.5f, 1, 1}},
      {COLOR_BLINK2, nullptr, 0, 0, 1, 0, {.25f, .5f, .5f}},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(::testing::Message() << "code " << r.code << " layer "
                                      << r.minlayer << " phase " << r.phase);
    colorchoice c = decidecolor(r.code, r.layers, r.minlayer, r.shown, r.phase);
    EXPECT_EQ(c.drawn, r.index >= 0);
    if (r.index < 0) continue;
    EXPECT_EQ(c.index, r.index);
    for (int i = 0; i < 3; i++) EXPECT_FLOAT_EQ(c.rgb[i], r.rgb[i]) << i;
  }
  minlayer = 3;  // the globals in force
  EXPECT_EQ(choosecolor(COLOR_PERLAYER, lc).index, COLOR_RED);

  vertex v;
  v.color = COLOR_PERLAYER;
  for (auto& x : v.layercolor) x = 255;
  minlayer = 0;
  v.layercolor[0] = 253;  // -3 read as signed
  EXPECT_TRUE(isblinking(&v));
  EXPECT_FALSE(issmear(&v));
  v.layercolor[0] = 254;
  EXPECT_TRUE(issmear(&v));
  EXPECT_TRUE(isvisible(&v));
  v.layercolor[0] = 255;
  EXPECT_FALSE(isvisible(&v));
  showinvisible = 1;
  EXPECT_TRUE(isvisible(&v));
  EXPECT_TRUE(isinvisible(&v));
}

TEST_F(Render, SmearListChunks) {
  EXPECT_EQ(firstrec(), nullptr);
  for (int i = 0; i < 201; i++) addsmearitem(SMEAR_POINT, i, -i, 0, 0, RW_DOT);
  EXPECT_EQ(smearcount(), 201);
  EXPECT_EQ(smearchunks(), 2);  // the 201st starts a second chunk
  int n = 0;
  for (smearrec* r = firstrec(); r; r = nextrec(), n++)
    EXPECT_TRUE(r->a == n && r->b == -n && r->pointtype == RW_DOT) << n;
  EXPECT_EQ(n, 201);
  EXPECT_EQ(nextrec(), nullptr);
  clearsmearlist();
  EXPECT_EQ(smearcount(), 0);
  EXPECT_EQ(smearchunks(), 0);
  EXPECT_EQ(firstrec(), nullptr);
}

TEST_F(Render, LineEnds) {
  line l;
  l.p1.x = 0, l.p1.y = 0, l.p1.w = 1;
  l.p2.x = 0.1, l.p2.y = 0, l.p2.w = 1;
  l.a = 0, l.b = 1, l.c = 0;
  wpoint P, Q;
  l.linetype = RW_SEGMENT;
  lineendpoints(&l, ONSCREEN, &P, &Q);
  EXPECT_DOUBLE_EQ(Q.x, 0.1);
  l.linetype = RW_RAY12;
  lineendpoints(&l, ONSCREEN, &P, &Q);
  EXPECT_NEAR(Q.x, 10.1, 1e-12);
  // a whole line, 2x - y + 1 = 0 (|b| < |a|: solved for x)
  l.linetype = RW_LONGLINE;
  l.a = 2, l.b = -1, l.c = 1;
  lineendpoints(&l, ONSCREEN, &P, &Q);
  EXPECT_DOUBLE_EQ(P.y, -10);
  EXPECT_DOUBLE_EQ(P.x, -5.5);  // 2x + 10 + 1 = 0
  EXPECT_DOUBLE_EQ(Q.x, 4.5);
  // a segment whose second end is at infinity is drawn whole
  l.linetype = RW_SEGMENT;
  l.p2.w = 0;
  l.a = 0, l.b = 1, l.c = -0.5;
  lineendpoints(&l, ONPAGE, &P, &Q);
  EXPECT_DOUBLE_EQ(P.x, -10);
  EXPECT_DOUBLE_EQ(P.y, 0.5);
  EXPECT_DOUBLE_EQ(Q.y, 0.5);
  wholeline(0, 0, 1, &P, &Q);
  EXPECT_EQ(P.x, 1e30);
  EXPECT_EQ(Q.y, 1e30);
  // through (1, 1) and the point at infinity in direction (1, 0): y = 1
  vertex p, q;
  p.x = 1, p.y = 1, p.w = 1;
  q.x = 1, q.y = 0, q.w = 0;
  lineofpoints(&p, &q, &P, &Q);
  EXPECT_DOUBLE_EQ(P.y, 1);
  EXPECT_DOUBLE_EQ(Q.y, 1);
}

TEST_F(Render, LabelAnchorAndTicks) {
  setwindow(400, 400);
  ASSERT_NEAR(fbsize, 16 * 2.15 / 400, 1e-15);
  wpoint m = linelabelanchor({0, 0}, {1, 1});  // rising: below the line
  EXPECT_NEAR(m.y, 0.5 + 0.02 - fbsize, 1e-7);
  m = linelabelanchor({0, 1}, {1, 0});  // falling: above
  EXPECT_NEAR(m.y, 0.52, 1e-7);
  EXPECT_DOUBLE_EQ(m.x, 0.5);

  wpoint t[3][2];  // (the tick geometry is pinned by the PostScript tests)
  EXPECT_EQ(linetickmarks(RW_LINE0SLASH, {0, 0}, {1, 0}, PAGETICKROOT, t), 0);
  EXPECT_EQ(linetickmarks(RW_LINE2SLASH, {1, 1}, {1, 1}, PAGETICKROOT, t), 0);
}

TEST_F(Render, Circles) {
  setwindow(600, 400);
  EXPECT_EQ(circlestylefor(3.9), CIRCLE_ROUGH);
  EXPECT_EQ(circlestylefor(4.0), CIRCLE_FINE);
  EXPECT_EQ(circlestylefor(200), CIRCLE_FINE);
  EXPECT_EQ(circlestylefor(250), CIRCLE_HUGE);
  // the point outline follows the mark size, whatever the window's shape
  const double corner = 0.707106781188 * 0.02;
  EXPECT_NEAR(std::hypot(circpointoutline()[10], circpointoutline()[11]),
              corner, 1e-8);
  setwindow(800, 400);
  EXPECT_NEAR(std::hypot(circpointoutline()[0], circpointoutline()[1]), corner,
              1e-8);

  setwindow(400, 400);
  EXPECT_NEAR(circpointoutline()[0], corner, 1e-8);
  // Radius 250 about (0, -250): the top and bottom edges are crossed
  // (square view: sides first, and they are crossed too at x = +-1).
  wpoint s[2][2];
  ASSERT_EQ(hugecirclestrokes(0, -250, 250, s), 2);
  EXPECT_DOUBLE_EQ(s[0][0].x, 1);
  EXPECT_NEAR(s[0][0].y, -250 + std::sqrt(250.0 * 250 - 1), 1e-9);
  EXPECT_EQ(hugecirclestrokes(1000, 1000, 250, s), 0);  // far away
  // crossing the lines of the top and bottom edges only
  ASSERT_EQ(hugecirclestrokes(1000, 0, 1000.5, s), 2);
  EXPECT_DOUBLE_EQ(s[0][0].y, 1);
  EXPECT_NEAR(s[1][0].x, 1000 - std::sqrt(1000.5 * 1000.5 - 1), 1e-9);

  // a straight "circle" is drawn through its finite sample points
  circle k;
  k.center.w = 0;
  for (vertex& a : k.aux) a.w = 0;
  const vertex *p, *q;
  EXPECT_EQ(degeneratecirclepoints(&k, &p, &q), 0);
  k.aux[2].w = 1;
  ASSERT_EQ(degeneratecirclepoints(&k, &p, &q), 1);
  EXPECT_EQ(p, &k.aux[2]);
  EXPECT_EQ(q, &k.aux[0]);
  k.aux[0].w = 1;
  ASSERT_EQ(degeneratecirclepoints(&k, &p, &q), 1);
  EXPECT_EQ(p, &k.aux[0]);
  EXPECT_EQ(q, &k.aux[2]);
}

// (Rings, slashes, arms past 180 degrees and arcs on the page are pinned
// by the PostScript tests.)
TEST_F(Render, AngleMarks) {
  setwindow(800, 400);  // twice as wide as tall: marks grow by 2
  EXPECT_EQ(anglemarkfor(RW_SOLIDPOLY), nullptr);  // not an angle mark
  double a, b;
  anglearms({1, 0}, {0, 0}, {0, 1}, &a, &b);
  EXPECT_DOUBLE_EQ(a, 0);
  EXPECT_NEAR(b, M_PI / 2, 1e-15);
  wpoint pts[3];
  rightanglepoints({0, 0}, 0.07 * anglemarkscale(), a, b, SCREENDIAG, pts);
  EXPECT_NEAR(std::hypot(pts[1].x, pts[1].y), 0.07 * std::sqrt(2.0) * 2, 1e-10);
  EXPECT_NEAR(pts[1].x, pts[1].y, 1e-12);
  std::vector<wpoint> strip;
  anglestrip({0, 0}, 1, a, b, 0.1, &strip);
  EXPECT_EQ(strip.size(), 17u);                        // 16 steps of pi/32
  EXPECT_NEAR(strip[1].y, 0.0980171403295606, 1e-15);  // sin(pi/32)
  EXPECT_NEAR(strip.back().y, 1, 1e-15);
  // Ring chords stray at most the tolerance (2 acos(1 - tol / R), from
  // mpmath), run along at most LONGESTCHORD pixels and never span more
  // than a quarter turn.
  EXPECT_NEAR(ringstep(20, 0.5), 0.448150570603639, 1e-14);
  EXPECT_NEAR(ringstep(60, 0.25), 0.182637639155087, 1e-14);
  EXPECT_NEAR(ringstep(300, 0.25), LONGESTCHORD / 300, 1e-14);
  EXPECT_EQ(ringstep(1.5, 0.5), M_PI / 2);
  EXPECT_EQ(ringstep(NAN, 0.5), M_PI / 2);
  strip.clear();  // a ring far larger than the window: points capped
  anglestrip({0, 0}, 1, 0, 2 * M_PI, ringstep(1e12, 0.5), &strip);
  EXPECT_EQ(strip.size(), (size_t)RINGPOINTS);
  EXPECT_NEAR(anglelabelanchor({1, 1}, M_PI / 2).y, 1.14, 1e-12);

  vertex P, V, Q;
  P.x = 2, P.y = 0, P.w = 2;
  V.w = 1;
  Q.x = 0, Q.y = 1, Q.w = 1;
  angle ang;
  ang.kind = A_VVV;
  ang.parents[0] = &P, ang.parents[1] = &V, ang.parents[2] = &Q;
  wpoint p, v, q;
  ASSERT_TRUE(anglecorners(&ang, &p, &v, &q));
  EXPECT_DOUBLE_EQ(p.x, 1);  // divided through by w
  Q.w = 0;
  EXPECT_FALSE(anglecorners(&ang, &p, &v, &q));
}

// (Circles, hyperbolas, line pairs and conics without points are drawn by
// the window tests and written by the PostScript tests.)
TEST_F(Render, Conics) {
  conicaxes k;
  // Ellipse with semi-axes 2 and 0.5 about (1, -1): x-1 = 2cos, y+1 = sin/2.
  // a < c turns the frame by 90 degrees, so u runs along y.
  double ell[6] = {0.25, 0, 4, -0.5, 8, 0.25 + 4 - 1};
  pageconic(ell, &k);
  EXPECT_EQ(k.shape, CONIC_ELLIPSE);
  EXPECT_NEAR(k.theta, M_PI / 2, 1e-12);
  EXPECT_NEAR(k.uc * cos(k.theta) - k.vc * sin(k.theta), 1, 1e-12);
  EXPECT_NEAR(k.uc * sin(k.theta) + k.vc * cos(k.theta), -1, 1e-12);
  EXPECT_NEAR(k.sx, 0.5, 1e-12);  // along y
  EXPECT_NEAR(k.sy, 2, 1e-12);    // along x
  // y = x^2: D = 0, but only E is divided by: the screen draws it
  double par[6] = {1, 0, 0, 0, -1, 0};
  screenconic(par, &k);
  EXPECT_EQ(k.shape, CONIC_PARABOLA_V);
  double par2[6] = {1, 0, 0, 0.5, -1, 0};
  screenconic(par2, &k);
  ASSERT_EQ(k.shape, CONIC_PARABOLA_V);
  setwindow(400, 400);
  std::vector<wpoint> pts;
  parabolapoints(&k, &pts);
  // steps of 2 * 4 / 400 = 0.01 from x = -1.2 to 1.2
  EXPECT_NEAR((double)pts.size(), 240, 1);
  EXPECT_NEAR(pts.front().x, -1.2, 1e-12);
  for (const wpoint& w : pts) EXPECT_NEAR(w.x * w.x + 0.5 * w.x - w.y, 0, 1e-9);

  // the unit hyperbola's branches (their ends: see the PostScript tests)
  const wpoint* up = hyperbolabranch(1);
  const wpoint* lo = hyperbolabranch(0);
  for (int i = 1; i < HYPPOINTS - 1; i++) {
    EXPECT_NEAR(up[i].y * up[i].y - up[i].x * up[i].x, 1, 1e-9);
    EXPECT_EQ(lo[i].y, -up[i].y);
  }
}

TEST_F(Render, BezierAndStipples) {
  wpoint c[4] = {{0, 0}, {1, 2}, {3, 2}, {4, 0}};
  wpoint b[BEZIERPOINTS];
  bezierpoints(c, b);
  EXPECT_DOUBLE_EQ(b[0].x, 0);
  EXPECT_DOUBLE_EQ(b[32].x, 4);
  EXPECT_DOUBLE_EQ(b[16].x, (0 + 3 + 9 + 4) / 8.0);  // (P1+3P2+3P3+P4)/8
  EXPECT_DOUBLE_EQ(b[16].y, (0 + 6 + 6 + 0) / 8.0);
  EXPECT_NE(polygonstipple(RW_HASHPOLY2), nullptr);  // only hatching has one
  EXPECT_EQ(polygonstipple(RW_SOLIDPOLY), nullptr);
}

std::string describe(const char* s) {
  std::vector<markupitem> items;
  parsemarkup(s, &items);
  std::string out;
  for (const markupitem& m : items) {
    static const char* names[] = {"run",  "nl",  "sym", "arc",
                                  "over", "sup", "sub", "bs"};
    out += names[m.kind];
    if (m.kind == MK_SYMBOL) out += std::to_string(m.code);
    if (!m.text.empty()) out += "[" + m.text + "]";
    out += " ";
  }
  return out;
}

// (Markup as the PostScript writer sets it is tested there.)
TEST_F(Render, Markup) {
  const struct {
    const char* in;
    const char* items;
  } rows[] = {
      {"", ""},
      {"A\\subscript{12}B", "run[A] sub[12] run[B] "},
      {"\\alpha\\beta", "run sym97 run sym98 "},
      {"\\400", "run sym0 "},     // code mod 256
      {"\\8", "run bs run[8] "},  // not an octal digit
      {"\\", "run bs "},
      {"\\arc{AB", "run arc[AB] "},  // unclosed: to the end
      {"\\arc{A\nB}", "run arc[A] run nl run[B}] "},
      {"\\sub{\\alpha}", "run sub[\\alpha] "},  // no nesting
      {"\\multiply", "run sym180 "},            // found before "mu"
      {"\\mu", "run sym109 "},
      {"\\Delta\\triangle", "run sym68 run sym68 "},
      {"\\cdot\\dotmath", "run sym215 run sym215 "},
      {"a\nb", "run[a] nl run[b] "},
      {"\\sqrtx", "run sym214 run[x] "},
      {"\\12", "run bs run[12] "},
  };
  for (const auto& r : rows) EXPECT_EQ(describe(r.in), r.items) << r.in;
  for (const specialsymbol& s : special)
    EXPECT_EQ((int)strlen(s.name), s.len) << s.name;

  // A group far longer than any fixed buffer is kept whole.
  std::string big = "\\overline{" + std::string(5000, 'x') + "}";
  std::vector<markupitem> items;
  parsemarkup(big.c_str(), &items);
  ASSERT_EQ(items.size(), 2u);
  EXPECT_EQ(items[1].text.size(), 5000u);

  // Random strings of markup characters: plain runs and newlines rebuild
  // the text around the items; group texts never hold their terminators.
  unsigned seed = 7;
  const char alphabet[] = "ab\\{}\n0178supbcarlinepi()";
  for (int k = 0; k < 2000; k++) {
    std::string in;
    for (int i = 0; i < 40; i++) {
      seed = seed * 1103515245 + 12345;
      in += alphabet[(seed >> 16) % (sizeof alphabet - 1)];
    }
    std::vector<markupitem> got;
    parsemarkup(in.c_str(), &got);
    size_t plain = 0;
    for (const markupitem& m : got) {
      if (m.kind == MK_RUN) plain += m.text.size();
      if (m.kind == MK_NEWLINE) plain++;
      if (m.kind >= MK_ARC && m.kind <= MK_SUB) {
        EXPECT_EQ(m.text.find_first_of("}\n"), std::string::npos) << in;
      }
    }
    EXPECT_LE(plain, in.size());
    ASSERT_FALSE(got.empty());
    EXPECT_EQ(got[0].kind, MK_RUN);
  }
}

}  // namespace
