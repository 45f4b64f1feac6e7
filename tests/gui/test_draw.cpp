// Drawing in the real window: every primitive lands where its geometry
// puts it, in its colour; layers, invisible records, blinking and
// blink-only frames; the value and info columns; labels and their markup.
#include <FL/Fl_Window.H>
#include <FL/gl.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/geomwindow.h"
#include "app/hover.h"
#include "model/style.h"
#include "model/worldlist.h"
#include "prefs/preffile.h"
#include "render/colors.h"
#include "render/gldraw.h"
#include "render/palette.h"
#include "render/view.h"
#include "tests/gui/guitest.h"

namespace {

const rgbcolor BLACK = {0, 0, 0}, RED = {255, 0, 0}, GREEN = {0, 255, 0},
               BLUE = {0, 0, 255}, WHITE = {255, 255, 255},
               YELLOW = {255, 255, 0}, GREY = {128, 128, 128},
               DIMORANGE = {128, 64, 0};

struct Draw : ::testing::Test {
  void SetUp() override { cleardiagram(); }
  void TearDown() override { cleardiagram(); }
};
using Text = Draw;

vertex* hiddenpoint(double x, double y) {
  vertex* v = addpoint(x, y);
  v->pointtype = RW_NOMARK;
  return v;
}

vertex* solidpoint(double x, double y, int color) {
  vertex* v = addpoint(x, y, FREE, color);
  v->pointtype = RW_SOLIDDIAMOND;
  return v;
}

// Ink of colour c expected (or not) within `radius` pixels of world points.
struct inkrow {
  double x, y;
  rgbcolor c;
  int radius;
  bool present;
};

void expectink(const frame& f, std::initializer_list<inkrow> rows) {
  for (const inkrow& r : rows)
    EXPECT_EQ(colornear(f, r.x, r.y, r.c, r.radius) != 0, r.present)
        << "at " << r.x << ", " << r.y;
}

// Ink of colour c in the whole of the world rectangle, sampled every 0.004.
int inkin(const frame& f, double x0, double x1, double y0, double y1,
          rgbcolor c) {
  int ink = 0;
  for (double x = x0; x < x1; x += 0.004)
    for (double y = y0; y < y1; y += 0.004) ink += colornear(f, x, y, c, 0);
  return ink;
}

TEST_F(Draw, EmptyFrameIsBackgroundOnly) {
  frame f = drawframe();
  EXPECT_EQ(f.w * f.h, 400 * 450);  // the tests' preferences ask for that
  EXPECT_EQ(countcolor(f, BLACK, 0), 400 * 450);
}

TEST_F(Draw, PointMarksAndLabels) {
  struct {
    int type;
    double x, y;
  } marks[] = {{RW_DIAMOND, -0.6, 0.6},    {RW_PLUS, -0.2, 0.6},
               {RW_CROSS, 0.2, 0.6},       {RW_NOMARK, 0.6, 0.6},
               {RW_SOLIDDIAMOND, -0.6, 0}, {RW_SQUARE, -0.2, 0},
               {RW_DOT, 0.2, 0},           {RW_CIRCPOINT, 0.6, 0}};
  for (auto& m : marks) addpoint(m.x, m.y, FREE, COLOR_RED)->pointtype = m.type;
  addpoint(0, -0.6, FREE, COLOR_YELLOW)->label = strdup("ABC");
  frame f = drawframe();
  double d = dpbsize, s = spbsize;
  expectink(
      f,
      {
          {-0.6 + d, 0.6, RED, 1, true},  // the diamond's corner
          {-0.6, 0.6, RED, 1, true},      // and its centre dot
          // Plus: the arms, not the quadrants. Cross: the diagonals, not the
          // axes.
          {-0.2 + d * 0.7, 0.6, RED, 1, true},
          {-0.2 + d * 0.6, 0.6 + d * 0.6, RED, 0, false},
          {0.2 + s * 0.7, 0.6 + s * 0.7, RED, 1, true},
          {0.2 + d * 0.9, 0.6, RED, 0, false},
          // The solid diamond is filled, the square is an outline, then the
          // dot.
          {-0.6 + d * 0.3, d * 0.3, RED, 0, true},
          {-0.2 + s, 0, RED, 1, true},
          {-0.2 + s * 0.5, s * 0.5, RED, 0, false},
          {0.2, 0, RED, 0, true},
          // The circle mark is a ring of radius 0.707 d around an empty centre.
          {0.6 + 0.707 * d, 0, RED, 1, true},
          {0.6, 0, RED, 0, false},
      });
  EXPECT_FALSE(inknear(f, 0.6, 0.6, 4));  // no mark
  // The label starts at (x + d/2, y + d/2), to the right of and above it.
  EXPECT_GT(inkin(f, d, 0.15, -0.6 + d, -0.52, YELLOW), 10);
  EXPECT_FALSE(colornear(f, -0.05, -0.65, YELLOW, 3));
}

// Coloured pixels along the row of the line y = wy between x0 and x1, and
// the number of changes between on and off.
int runlength(const frame& f, double wy, double x0, double x1, rgbcolor c,
              int* transitions) {
  int px0, px1, py, n = 0, last = -1;
  worldtopixel(x0, wy, &px0, &py);
  worldtopixel(x1, wy, &px1, &py);
  *transitions = 0;
  for (int x = px0; x < px1; x++) {
    int on = 0;
    for (int y = py - 1; y <= py + 1; y++) on |= samecolor(f.at(x, y), c);
    n += on;
    if (last >= 0 && on != last) (*transitions)++;
    last = on;
  }
  return n;
}

TEST_F(Draw, SegmentsRaysLinesDashesAndTicks) {
  addline(hiddenpoint(-0.5, 0.5), hiddenpoint(0.5, 0.5), COLOR_GREEN);
  addline(hiddenpoint(-0.5, 0.2), hiddenpoint(0.5, 0.2), COLOR_RED, RW_RAY12);
  addline(hiddenpoint(-0.2, -0.1), hiddenpoint(0.2, -0.1), COLOR_BLUE,
          RW_LONGLINE);
  frame f = drawframe();
  expectink(f, {{0, 0.5, GREEN, 1, true},
                {-0.45, 0.5, GREEN, 1, true},
                {0.7, 0.5, GREEN, 2, false},  // past the ends
                {-0.7, 0.5, GREEN, 2, false},
                {0.95, 0.2, RED, 1, true},     // the ray runs on
                {-0.7, 0.2, RED, 2, false},    // not behind its start
                {-0.95, -0.1, BLUE, 1, true},  // whole line
                {0.95, -0.1, BLUE, 1, true}});
  cleardiagram();
  addline(hiddenpoint(-0.8, 0.6), hiddenpoint(0.8, 0.6), COLOR_GREEN);
  addline(hiddenpoint(-0.8, 0.3), hiddenpoint(0.8, 0.3), COLOR_GREEN)
      ->linestyle = RW_DASHLINE;
  addline(hiddenpoint(-0.8, 0.0), hiddenpoint(0.8, 0.0), COLOR_GREEN)
      ->linestyle = RW_DOTLINE;
  addline(hiddenpoint(-0.8, -0.5), hiddenpoint(0.8, -0.5), COLOR_RED)
      ->linemark = RW_LINE3SLASH;
  f = drawframe();
  int t;
  EXPECT_GE(runlength(f, 0.6, -0.7, 0.7, GREEN, &t), 278);  // 280, unbroken
  EXPECT_EQ(t, 0);
  EXPECT_NEAR(runlength(f, 0.3, -0.7, 0.7, GREEN, &t), 140, 10);
  EXPECT_NEAR(t, 280 / 8, 3);  // eight on, eight off
  EXPECT_NEAR(runlength(f, 0.0, -0.7, 0.7, GREEN, &t), 140, 10);
  EXPECT_NEAR(t, 280 / 2, 6);  // two on, two off
  // Three ticks across the midpoint at -0.02, 0 and +0.02 along the line;
  // each runs along (1, -1) / sqrt 2 for 0.03 either side.
  double r = 0.03 * 0.7071;
  for (double mx : {-0.02, 0.0, 0.02}) {
    EXPECT_TRUE(colornear(f, mx + 0.8 * r, -0.5 - 0.8 * r, RED, 1));
    EXPECT_TRUE(colornear(f, mx - 0.8 * r, -0.5 + 0.8 * r, RED, 1));
  }
  EXPECT_FALSE(colornear(f, 0.01 + 0.8 * r, -0.5 + 0.8 * r, RED, 0));
}

TEST_F(Draw, SelectionIsDrawnThicker) {
  line* l = addline(hiddenpoint(-0.8, 0.0), hiddenpoint(0.8, 0.0));
  int px, py;
  worldtopixel(0.1, 0.0, &px, &py);
  auto lit = [&] {
    frame f = drawframe();
    int n = 0;
    for (int y = py - 6; y <= py + 6; y++) n += f.at(px, y)[0] > 200;
    return n;
  };
  EXPECT_EQ(lit(), 1);
  selectprim(l);
  EXPECT_EQ(lit(), 3);
}

TEST_F(Draw, CirclesSmallHugeAndDegenerate) {
  addrecord(RW_CIRCLE, C_VV, {hiddenpoint(0.1, -0.1), hiddenpoint(0.6, -0.1)},
            COLOR_BLUE);
  frame f = drawframe();
  for (double t = 0; t < 6.28; t += 0.5)
    EXPECT_TRUE(colornear(f, 0.1 + 0.5 * std::cos(t), -0.1 + 0.5 * std::sin(t),
                          BLUE, 1))
        << t;
  EXPECT_FALSE(colornear(f, 0.1 + 0.45, -0.1, BLUE, 2));
  cleardiagram();
  // Radius 250 about (0, -250.5): only its top shows, practically straight.
  addrecord(RW_CIRCLE, C_VV, {hiddenpoint(0, -250.5), hiddenpoint(0, -0.5)},
            COLOR_GREEN);
  expectink(drawframe(), {{0, -0.5, GREEN, 1, true},
                          {0.9, -0.5 - 0.81 / 500, GREEN, 1, true},
                          {-0.9, -0.5, GREEN, 1, true},
                          {0, -0.45, GREEN, 3, false}});
  cleardiagram();
  // Three collinear points: the circle through them is their line.
  circle* k = static_cast<circle*>(addrecord(
      RW_CIRCLE, C_VVV,
      {hiddenpoint(-0.4, -0.4), hiddenpoint(0, 0), hiddenpoint(0.4, 0.4)},
      COLOR_YELLOW));
  expectink(drawframe(), {{0.8, 0.8, YELLOW, 1, true},
                          {-0.9, -0.9, YELLOW, 1, true},
                          {0.5, -0.5, YELLOW, 3, false}});
  EXPECT_EQ(k->center.w, 0);
}

// Runs of directions, out of 2000, in which no pixel of colour c lies
// within a pixel of the circle of radius r about (cx, cy).
static int circlegaps(const frame& f, double cx, double cy, double r,
                      rgbcolor c) {
  const int n = 2000;
  std::vector<int> lit(n);
  for (int k = 0; k < n; k++)
    lit[k] = colornear(f, cx + r * std::cos(2 * M_PI * k / n),
                       cy + r * std::sin(2 * M_PI * k / n), c, 1);
  int gaps = 0;
  for (int k = 0; k < n; k++) gaps += lit[k] && !lit[(k + 1) % n];
  return gaps;
}

TEST_F(Draw, DashedAndDottedCircles) {
  // Radius 0.5 is 100 pixels: 628 pixels round, dashes of eight pixels on
  // and eight off leave about 39 gaps; a solid circle none.
  circle* k = static_cast<circle*>(addrecord(
      RW_CIRCLE, C_VV, {hiddenpoint(0, 0), hiddenpoint(0.5, 0)}, COLOR_BLUE));
  EXPECT_EQ(circlegaps(drawframe(), 0, 0, 0.5, BLUE), 0);
  k->linestyle = RW_DASHLINE;
  EXPECT_NEAR(circlegaps(drawframe(), 0, 0, 0.5, BLUE), 39, 5);
  // Dots of two pixels on and two off light about half of what a solid
  // circle lights, sampled at 628 places round it.
  int lit[2] = {0, 0};
  for (int dotted : {0, 1}) {
    k->linestyle = dotted ? RW_DOTLINE : RW_SOLIDLINE;
    frame f = drawframe();
    for (int i = 0; i < 628; i++)
      lit[dotted] += colornear(f, 0.5 * std::cos(i / 100.0),
                               0.5 * std::sin(i / 100.0), BLUE, 0);
  }
  EXPECT_GT(lit[0], 300);
  EXPECT_GT(lit[1], lit[0] / 4);
  EXPECT_LT(lit[1], lit[0] * 3 / 4);
}

// Gaps round a circle where its colour, smoothed, shows within a pixel.
int smoothgaps(const frame& f, double r, rgbcolor c) {
  const int n = 2000;
  std::vector<int> lit(n);
  for (int k = 0; k < n; k++)
    lit[k] = colornear(f, r * std::cos(2 * M_PI * k / n),
                       r * std::sin(2 * M_PI * k / n), c, 1, 100);
  int gaps = 0;
  for (int k = 0; k < n; k++) gaps += lit[k] && !lit[(k + 1) % n];
  return gaps;
}

// Smoothed, dashes are cut into the gathered strokes; the rasteriser's own
// stipple of the same strokes is the reference, at scale 1 and 2 (a bit
// of the pattern two pixels long), for lines at several slopes, circles
// large and small, an arc and a dotted circle. A line that runs out of the
// view is dashed from where it enters it, so there only the period is
// checked.
TEST_F(Draw, SmoothedDashesAreTheRasterisersOwn) {
  const double slopes[] = {0, 0.5, 1.1, 1.57, 2.4};
  for (int i = 0; i < 5; i++) {
    double a = slopes[i], x = -0.7 + 0.15 * i;
    addline(hiddenpoint(x, -0.8),
            hiddenpoint(x + 0.6 * std::cos(a), -0.8 + 0.6 * std::sin(a)),
            COLOR_GREEN)
        ->linestyle = i % 2 ? RW_DOTLINE : RW_DASHLINE;
  }
  const double radii[] = {0.5, 0.12, 0.03};
  for (double r : radii)
    static_cast<circle*>(addrecord(RW_CIRCLE, C_VV,
                                   {hiddenpoint(0, 0), hiddenpoint(r, 0)},
                                   COLOR_BLUE))
        ->linestyle = RW_DASHLINE;
  static_cast<circle*>(addrecord(RW_CIRCLE, C_VV,
                                 {hiddenpoint(0.6, 0.5), hiddenpoint(0.8, 0.5)},
                                 COLOR_YELLOW))
      ->linestyle = RW_DOTLINE;
  static_cast<arc*>(addrecord(RW_ARC, ARC_VVV,
                              {hiddenpoint(-0.8, 0.3), hiddenpoint(-0.6, 0.6),
                               hiddenpoint(-0.4, 0.3)},
                              COLOR_RED))
      ->linestyle = RW_DASHLINE;
  smoothdrawing = 1;
  double saved = screenscale;
  for (double scale : {1.0, 2.0}) {
    setscreenscale(scale);
    frame cut = drawframe();
    cutdashes = 0;
    frame stipple = drawframe();
    cutdashes = 1;
    int differ = 0, worst = 0;
    for (size_t k = 0; k < cut.rgb.size(); k++) {
      int d = std::abs(cut.rgb[k] - stipple.rgb[k]);
      differ += d > 2;
      worst = std::max(worst, d);
    }
    EXPECT_EQ(differ, 0) << "scale " << scale << ", worst " << worst;
    // Dashes eight pixels on and off (sixteen at scale 2) round the
    // large circle, 628 pixels round at scale 1.
    EXPECT_NEAR(smoothgaps(cut, 0.5, BLUE), 39 / scale, 3) << scale;
  }
  setscreenscale(saved);
  // A whole line across the view, 380 pixels of it sampled.
  cleardiagram();
  addline(hiddenpoint(-0.3, 0.6), hiddenpoint(0.2, 0.6), COLOR_GREEN,
          RW_LONGLINE)
      ->linestyle = RW_DASHLINE;
  smoothdrawing = 1;
  frame f = drawframe();
  int lit = 0, changes = 0, last = -1;
  for (int i = 0; i < 380; i++) {
    // On a row boundary: two rows of half the colour.
    int on = colornear(f, -0.95 + i / 200.0, 0.6, GREEN, 1, 160);
    lit += on;
    changes += last >= 0 && on != last;
    last = on;
  }
  // Eight on and eight off; a pixel either side of each dash is near it.
  EXPECT_NEAR(lit, 380 * 10 / 16, 12);
  EXPECT_NEAR(changes, 380 / 8, 3);
}

TEST_F(Draw, PaletteInvisibleLayersAndPerLayerColours) {
  solidpoint(-0.5, 0.5, 12);
  solidpoint(0, 0.5, COLOR_INVISIBLE);
  vertex* r = solidpoint(0.5, 0.5, COLOR_PERLAYER);
  memset(r->layercolor, 255, sizeof r->layercolor);
  r->layercolor[0] = COLOR_RED;
  r->layercolor[3] = COLOR_BLUE;
  solidpoint(-0.5, -0.5, COLOR_WHITE)->layers = 1u << 3;
  frame f = drawframe();
  EXPECT_TRUE(colornear(f, -0.5, 0.5, {113, 113, 198}, 0));  // palette 12
  EXPECT_FALSE(inknear(f, 0, 0.5, 4));                       // invisible
  EXPECT_TRUE(colornear(f, 0.5, 0.5, RED, 0));  // layer 0 is the lowest
  layerset = 1u << 2;  // only the layers in force are drawn
  updateminlayer();
  EXPECT_FALSE(inknear(drawframe(), -0.5, -0.5, 4));
  definecolor(12, 1, 0.5, 0);
  showinvisible = 1;
  layerset = 1u << 3;
  updateminlayer();
  f = drawframe();
  EXPECT_TRUE(colornear(f, -0.5, -0.5, WHITE, 0));
  EXPECT_TRUE(colornear(f, -0.5, 0.5, {255, 128, 0}, 0, 2));
  EXPECT_TRUE(colornear(f, 0, 0.5, GREY, 0, 2));
  EXPECT_TRUE(colornear(f, 0.5, 0.5, BLUE, 0));  // its colour on layer 3
  layerset = 1u << 4;  // no colour on layer 4: hidden, grey while shown
  updateminlayer();
  EXPECT_TRUE(colornear(drawframe(), 0.5, 0.5, GREY, 0, 2));
  showinvisible = 0;
  EXPECT_FALSE(inknear(drawframe(), 0.5, 0.5, 4));
}

// A red point and a blinker, drawn once; then the red point turns green
// and a blink-only frame is asked for in the next phase.
void blinkonlyframe(Fl_Gl_Window* w) {
  w->make_current();
  vertex* still = solidpoint(-0.5, 0, COLOR_RED);
  solidpoint(0.5, 0, COLOR_BLINK);
  blinkon = 1;
  drawgeom();
  if (w->mode() & FL_DOUBLE) w->swap_buffers();  // what was drawn is shown
  still->color = COLOR_GREEN;
  blinkon = 2;
  blinkonly = 1;
  drawgeom();
  glFinish();
}

TEST_F(Draw, BlinkOnlyFramePaintsOverASingleBuffer) {
  // A single-buffered drawing area of its own, bound like the program's.
  Fl_Window win(200, 200);
  Fl_Geom_Window single(0, 0, 200, 200);
  single.mode(FL_RGB | FL_SINGLE);
  single.displayfunc = drawgeom;
  single.reshapefunc = Reshape;
  win.end();
  win.show();
  pump(0.2);
  xsize = ysize = 200;
  blinkonlyframe(&single);
  // What shows is the previous frame with only the blinker updated.
  frame f;
  f.w = f.h = 200;
  f.rgb.resize(3 * 200 * 200);
  glReadBuffer(GL_FRONT);
  glReadPixels(0, 0, 200, 200, GL_RGB, GL_UNSIGNED_BYTE, f.rgb.data());
  EXPECT_TRUE(colornear(f, -0.5, 0, RED, 0));
  EXPECT_TRUE(colornear(f, 0.5, 0, DIMORANGE, 0, 2));
  win.hide();
  pump(0.1);
  xsize = geom_window->w();  // back to the program's own window
  ysize = geom_window->h();
}

TEST_F(Draw, BlinkOnlyFrameWithTwoBuffersIsWhole) {
  // The back buffer is undefined after a swap: the frame is drawn whole.
  blinkonlyframe(geom_window);
  frame f = readback();
  EXPECT_TRUE(colornear(f, -0.5, 0, GREEN, 0));
  EXPECT_TRUE(colornear(f, 0.5, 0, DIMORANGE, 0, 2));
  EXPECT_EQ(countcolor(f, BLACK, 0) + countcolor(f, GREEN, 0) +
                countcolor(f, DIMORANGE, 2),
            f.w * f.h);
}

void addsquare(double x0, double y0, double side, int type, int color) {
  polygon* p = static_cast<polygon*>(
      addrecord(RW_POLYGON, POLYGON,
                {hiddenpoint(x0, y0), hiddenpoint(x0 + side, y0),
                 hiddenpoint(x0 + side, y0 + side), hiddenpoint(x0, y0 + side)},
                color));
  p->nvert = 4;
  p->polytype = type;
}

// Coloured pixels inside the square, as a fraction.
double coverage(const frame& f, double x0, double y0, double side, rgbcolor c) {
  int px0, py0, px1, py1, n = 0, on = 0;
  worldtopixel(x0 + 0.02, y0 + 0.02, &px0, &py0);
  worldtopixel(x0 + side - 0.02, y0 + side - 0.02, &px1, &py1);
  for (int y = py0; y < py1; y++)
    for (int x = px0; x < px1; x++, n++) on += samecolor(f.at(x, y), c);
  return (double)on / n;
}

TEST_F(Draw, PolygonOutlinesAndFills) {
  addsquare(-0.9, 0.3, 0.4, RW_OUTLINEPOLY, COLOR_WHITE);
  addsquare(-0.3, 0.3, 0.4, RW_SOLIDPOLY, COLOR_RED);
  addsquare(0.3, 0.3, 0.4, RW_HASHPOLY, COLOR_GREEN);
  addsquare(-0.9, -0.3, 0.4, RW_HASHPOLY1, COLOR_BLUE);
  addsquare(-0.3, -0.3, 0.4, RW_HASHPOLY2, COLOR_YELLOW);
  frame f = drawframe();
  EXPECT_TRUE(colornear(f, -0.7, 0.3, WHITE, 1));  // outline edges
  EXPECT_TRUE(colornear(f, -0.9, 0.5, WHITE, 1));
  EXPECT_EQ(coverage(f, -0.9, 0.3, 0.4, WHITE), 0);
  EXPECT_EQ(coverage(f, -0.3, 0.3, 0.4, RED), 1);
  // One-pixel hatching every eight pixels.
  EXPECT_NEAR(coverage(f, 0.3, 0.3, 0.4, GREEN), 1.0 / 8, 0.02);
  EXPECT_NEAR(coverage(f, -0.9, -0.3, 0.4, BLUE), 1.0 / 8, 0.02);
  EXPECT_NEAR(coverage(f, -0.3, -0.3, 0.4, YELLOW), 1.0 / 8, 0.02);
  // Vertical lines: one column in every eight is fully drawn.
  int px, py, cols = 0;
  worldtopixel(-0.2, -0.1, &px, &py);
  for (int x = px; x < px + 48; x++) cols += f.at(x, py)[0] > 200;
  EXPECT_EQ(cols, 6);
}

// Smoothed dots are gathered and drawn with the strokes around them, but
// still before a fill that comes after them in the list.
TEST_F(Draw, SmoothedDotsLieUnderLaterFills) {
  vertex* free = addpoint(-0.5, 0.5, FREE, COLOR_RED);
  vertex* under = addpoint(0.5, 0.5, FREE, COLOR_RED);
  free->pointtype = under->pointtype = RW_DOT;
  addsquare(0.4, 0.4, 0.2, RW_SOLIDPOLY, COLOR_GREEN);
  smoothdrawing = 1;
  frame f = drawframe();
  EXPECT_TRUE(colornear(f, -0.5, 0.5, RED, 1, 60));
  EXPECT_FALSE(colornear(f, 0.5, 0.5, RED, 3, 60));
  EXPECT_TRUE(colornear(f, 0.5, 0.5, GREEN, 0));
}

TEST_F(Draw, ConicsOfEveryShape) {
  auto addconic = [](std::initializer_list<double> k, int color) {
    conic* c = static_cast<conic*>(newprimitive(RW_CONIC));
    c->kind = CONIC_VVVVV;  // no parents: the coefficients stay as given
    int i = 0;
    for (double v : k) c->coef[i++] = v;
    c->color = color;
    addprimitive(c);
  };
  addconic({4, 0, 1 / 0.09, 0, 0, -1}, COLOR_RED);  // x^2/0.25 + y^2/0.09 = 1
  expectink(drawframe(), {{0.5, 0, RED, 1, true},
                          {0, 0.3, RED, 1, true},
                          {0.5 * std::cos(1), 0.3 * std::sin(1), RED, 1, true},
                          {0, 0, RED, 3, false}});
  cleardiagram();
  addconic({0, 1, 0, 0, 0, -0.1}, COLOR_GREEN);  // x y = 0.1
  addconic({-1, 0, -1, 0, 0, -1}, COLOR_RED);    // no real points
  addconic({1, 0, -1, 0, 0, 0}, COLOR_RED);      // two lines: not drawn
  addconic({1, 0, 0, 0, -1, 0}, COLOR_BLUE);     // y = x^2
  frame f = drawframe();
  expectink(f, {{0.5, 0.2, GREEN, 1, true},
                {-0.25, -0.4, GREEN, 1, true},
                {0.9, 0.1 / 0.9, GREEN, 1, true},
                {0.5, -0.2, GREEN, 2, false},
                {0, 0, BLUE, 1, true},
                {0.5, 0.25, BLUE, 1, true},
                {-0.9, 0.81, BLUE, 1, true},
                {0.5, 0.5, BLUE, 2, false}});
  EXPECT_EQ(countcolor(f, RED), 0);
}

TEST_F(Draw, BezierAnglesAndArcs) {
  bezier* b = static_cast<bezier*>(newprimitive(RW_BEZIER));
  b->kind = BEZ_VVVV;  // no parents: the control points stay as given
  vertex* ctl[4] = {&b->p1, &b->p2, &b->p3, &b->p4};
  double cx[4] = {-0.9, -0.9, -0.3, -0.3}, cy[4] = {0.2, 0.8, 0.8, 0.2};
  for (int i = 0; i < 4; i++)
    ctl[i]->x = cx[i], ctl[i]->y = cy[i], ctl[i]->w = 1;
  b->color = COLOR_RED;
  addprimitive(b);
  // B(1/2) = (-0.6, 0.2/8 + 3*0.8/8 + 3*0.8/8 + 0.2/8) = (-0.6, 0.65).
  angle* a = static_cast<angle*>(addrecord(
      RW_ANGLE, A_VVV,
      {hiddenpoint(0.6, 0.2), hiddenpoint(0.2, 0.2), hiddenpoint(0.2, 0.6)},
      COLOR_GREEN));
  a->angletype = RW_RING1;
  addrecord(
      RW_ARC, ARC_VVV,
      {hiddenpoint(0.4, -0.5), hiddenpoint(0, -0.5), hiddenpoint(-0.3, -0.1)},
      COLOR_BLUE);
  // Ring radius 0.09 grows with width/height: 0.09 * 400 / 450 = 0.08.
  double R = 0.09 * 400 / 450, c = std::cos(0.7), s = std::sin(0.7);
  expectink(
      drawframe(),
      {{-0.6, 0.65, RED, 1, true},
       {-0.9, 0.2, RED, 1, true},
       {-0.6, 0.8, RED, 3, false},
       {0.2 + R * c, 0.2 + R * s, GREEN, 1, true},
       {0.2 + R * c, 0.2 - R * s, GREEN, 2, false},
       // The arc keeps its true radius 0.4 from A counter-clockwise
       // to CB.
       {0.4 * std::cos(1.0), -0.5 + 0.4 * std::sin(1.0), BLUE, 1, true},
       {0.4 * std::cos(1.0), -0.5 - 0.4 * std::sin(1.0), BLUE, 2, false}});
  a->angletype = RW_RIGHT;
  // The corner's middle point lies 0.07 sqrt 2 * 400/450 along the bisector.
  double m = 0.07 * std::sqrt(2.0) * 400 / 450;
  EXPECT_TRUE(
      colornear(drawframe(), 0.2 + m * 0.7071, 0.2 + m * 0.7071, GREEN, 1));
  // A label on the apex reaches 4 + 1.3 * 16 = 24.8 pixels from it (half
  // the 8-pixel mark, a 16-point line); the ring, 16 pixels out, moves out
  // to there: 0.124 world units.
  a->angletype = RW_RING1;
  a->parents[1]->label = strdup("A");
  expectink(drawframe(), {{0.2 + 0.124 * c, 0.2 + 0.124 * s, GREEN, 1, true},
                          {0.2 + R * c, 0.2 + R * s, GREEN, 1, false}});
}

TEST_F(Draw, TextValuesAndMarkup) {
  text* t = static_cast<text*>(newprimitive(RW_TEXT));
  t->string = strdup("Hello");
  t->color = COLOR_YELLOW;
  addprimitive(t);
  line* l = addline(hiddenpoint(0.2, 0.2), hiddenpoint(0.6, 0.5), COLOR_CYAN);
  l->display = 1;
  l->label = strdup("s");
  frame f = drawframe();
  // The text sits in the info column from y = -0.5, one line high.
  EXPECT_GT(inkin(f, -0.99, -0.7, -0.5, -0.5 + fbsize, YELLOW), 20);
  EXPECT_FALSE(colornear(f, -0.8, -0.5 - 0.02, YELLOW, 2));
  // "s = 0.500" listed from the top of the left edge in the line's colour.
  EXPECT_GT(inkin(f, -0.99, -0.5, 0.9, 0.9 + fbsize, {0, 255, 255}), 20);
  // A start outside the view draws nothing at all.
  cleardiagram();
  addpoint(1.2, 0, FREE, COLOR_RED)->label = strdup("XXXXXXXX");
  EXPECT_EQ(countcolor(drawframe(), RED), 0);
}

// The bounds (pixels) of the ink of a green label drawn alone.
struct inkbox {
  int xlo = 1 << 20, xhi = -1, ylo = 1 << 20, yhi = -1;
  int width() const { return xhi - xlo; }
  int height() const { return yhi - ylo; }
};

inkbox labelink(const char* s) {
  cleardiagram();
  vertex* v = hiddenpoint(-0.5, 0);
  v->color = COLOR_GREEN;
  v->label = strdup(s);
  frame f = drawframe();
  inkbox b;
  for (int y = 0; y < f.h; y++)
    for (int x = 0; x < f.w; x++)
      if (samecolor(f.at(x, y), GREEN)) {
        b.xlo = std::min(b.xlo, x), b.xhi = std::max(b.xhi, x);
        b.ylo = std::min(b.ylo, y), b.yhi = std::max(b.yhi, y);
      }
  return b;
}

TEST_F(Draw, SubscriptsSuperscriptsBarsAndBlanks) {
  inkbox one = labelink("1"), sub = labelink("\\sub{1}"),
         sup = labelink("\\sup{1}");
  ASSERT_GT(one.height(), 0);
  // The smaller digit stands on a baseline moved by 0.3 and 0.45 of the
  // font size (16): down 4.8, up 7.2 pixels, cut to whole pixels.
  EXPECT_NEAR(one.ylo - sub.ylo, 4.8, 1.0);
  EXPECT_NEAR(sup.ylo - one.ylo, 7.2, 1.0);
  EXPECT_LT(sub.height(), one.height());  // and is smaller
  inkbox ab = labelink("AB"), bar = labelink("\\overline{AB}");
  EXPECT_EQ(bar.ylo, ab.ylo);
  EXPECT_GT(bar.yhi, ab.yhi);                        // the bar sits above
  EXPECT_GT(labelink("\\arc{AB}").yhi, ab.yhi + 1);  // so does the arch
  EXPECT_GE(labelink("\\alpha").yhi, 0);             // the symbol font drew
  // Blanks separate words.
  int joined = ab.width(), spaced = labelink("A B").width(),
      wide = labelink("A   B").width();
  EXPECT_GT(spaced, joined + 2);
  EXPECT_GT(wide, spaced + 4);
}

TEST(DisplayMode, ColourIndexFallsBackToRGB) {
  int savedrgb = rgbmode, savedsingle = singlebuffer;
  // The virtual display offers no colour-index visual: RGB is taken
  // instead of failing, and drawing follows the mode actually in use.
  rgbmode = 0;
  singlebuffer = 0;
  int mode = choosedisplaymode();
  if (!Fl_Gl_Window::can_do(FL_INDEX | FL_DOUBLE)) {
    EXPECT_EQ(mode, FL_RGB | FL_DOUBLE);
    EXPECT_EQ(rgbmode, 1);
  } else {
    EXPECT_EQ(mode, FL_INDEX | FL_DOUBLE);
  }
  rgbmode = savedrgb;
  singlebuffer = savedsingle;
}

// The labels of a frame drawn from the font atlas and drawn as bitmaps
// must be the same pixels: same glyphs, same places, same colours. (Markup
// is drawn as bitmaps either way, but before the atlas labels, so where
// labels overlap the two frames may differ; the labels here are plain.)
int atlasmismatch(int* ink) {
  useglyphatlas = 1;
  frame a = drawframe();
  useglyphatlas = 0;
  frame b = drawframe();
  useglyphatlas = 1;
  int differ = 0;
  *ink = 0;
  for (size_t i = 0; i < a.rgb.size(); i += 3) {
    differ += a.rgb[i] != b.rgb[i] || a.rgb[i + 1] != b.rgb[i + 1] ||
              a.rgb[i + 2] != b.rgb[i + 2];
    *ink += a.rgb[i] || a.rgb[i + 1] || a.rgb[i + 2];
  }
  return differ;
}

TEST_F(Text, AtlasLabelsAreTheBitmapFontsOwnPixels) {
  const char* labels[] = {"P1",         "Hello World", "x = 3.25", "{[(|)]}~_^",
                          "gjpqy QW@#", "A_1 $%&'*+",  "  lead",   "tail  "};
  const int colors[] = {COLOR_WHITE, COLOR_RED,     COLOR_GREEN, COLOR_YELLOW,
                        COLOR_CYAN,  COLOR_MAGENTA, COLOR_BLUE,  COLOR_WHITE};
  for (int i = 0; i < 8; i++) {
    // Positions off the pixel grid, so rounding is exercised too.
    vertex* v = addpoint(-0.83 + 0.0137 * i, 0.85 - 0.21 * i, FREE, colors[i]);
    v->pointtype = RW_NOMARK;
    v->label = strdup(labels[i]);
  }
  text* t = static_cast<text*>(newprimitive(RW_TEXT));
  t->string = strdup("Descriptive text, in the info column");
  t->color = COLOR_YELLOW;
  addprimitive(t);
  int savedsize = fontsize, savedface = fontnumber;
  for (int size : {16, 24, 10, 40}) {
    fontsize = size;
    int ink;
    EXPECT_EQ(atlasmismatch(&ink), 0) << "font size " << size;
    EXPECT_GT(ink, 300) << "font size " << size;
  }
  fontnumber = 4;  // another face: the atlas is made again
  int ink;
  EXPECT_EQ(atlasmismatch(&ink), 0);
  EXPECT_GT(ink, 300);
  fontsize = savedsize;
  fontnumber = savedface;
  recalcsizes(1);
}

}  // namespace
