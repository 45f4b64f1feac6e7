// Drawing in the real window: every primitive lands where its geometry
// puts it, in its colour; layers, invisible records, blinking phases and
// blink-only frames; the value and info columns.
#include <FL/Fl.H>
#include <FL/Fl_Window.H>
#include <FL/gl.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/geomwindow.h"
#include "model/style.h"
#include "model/worldlist.h"
#include "prefs/preffile.h"
#include "render/colors.h"
#include "render/gldraw.h"
#include "render/markup.h"
#include "render/palette.h"
#include "render/view.h"
#include "tests/gui/guitest.h"

namespace {

const rgbcolor BLACK = {0, 0, 0}, RED = {255, 0, 0}, GREEN = {0, 255, 0},
               BLUE = {0, 0, 255}, WHITE = {255, 255, 255},
               YELLOW = {255, 255, 0}, GREY = {128, 128, 128},
               SMEARGREY = {153, 153, 153}, C12 = {113, 113, 198};

struct Draw : ::testing::Test {
  void SetUp() override { cleardiagram(); }
  void TearDown() override { cleardiagram(); }
};

line* addline(vertex* a, vertex* b, int color, int linetype = RW_SEGMENT) {
  line* l = static_cast<line*>(newprimitive(RW_LINE));
  l->kind = L_VV;
  l->parents[0] = a;
  l->parents[1] = b;
  l->color = color;
  l->linetype = linetype;
  addprimitive(l);
  return l;
}

vertex* hiddenpoint(double x, double y) {
  vertex* v = addpoint(x, y);
  v->pointtype = RW_NOMARK;
  return v;
}

circle* addcircle(vertex* c, vertex* p, int color) {
  circle* k = static_cast<circle*>(newprimitive(RW_CIRCLE));
  k->kind = C_VV;
  k->parents[0] = c;
  k->parents[1] = p;
  k->color = color;
  addprimitive(k);
  return k;
}

TEST_F(Draw, WindowLayoutAndEmptyFrame) {
  EXPECT_STREQ(main_window->label(), "No File Name");
  EXPECT_EQ(main_window->w(), 400 + 180);
  EXPECT_EQ(main_window->h(), 450 + 24);
  EXPECT_EQ(geom_window->x(), 0);
  EXPECT_EQ(geom_window->y(), 24);
  frame f = drawframe();
  EXPECT_EQ(f.w, 400);
  EXPECT_EQ(f.h, 450);
  EXPECT_DOUBLE_EQ(fxmax, 1);
  EXPECT_DOUBLE_EQ(fymax, 450.0 / 400);
  EXPECT_DOUBLE_EQ(dpbsize, 8.0 / 400);
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
  vertex* labelled = addpoint(0, -0.6, FREE, COLOR_YELLOW);
  labelled->label = strdup("ABC");
  frame f = drawframe();
  if (getenv("SAVEFRAMES")) saveframe(f, "/tmp/marks.ppm");
  double d = dpbsize, s = spbsize;
  // The diamond's corners and its centre dot.
  EXPECT_TRUE(colornear(f, -0.6 + d, 0.6, RED, 1));
  EXPECT_TRUE(colornear(f, -0.6, 0.6, RED, 1));
  // Plus: the arms, not the quadrants.
  EXPECT_TRUE(colornear(f, -0.2 + d * 0.7, 0.6, RED, 1));
  EXPECT_FALSE(colornear(f, -0.2 + d * 0.6, 0.6 + d * 0.6, RED, 0));
  // Cross: the diagonals, not the axes.
  EXPECT_TRUE(colornear(f, 0.2 + s * 0.7, 0.6 + s * 0.7, RED, 1));
  EXPECT_FALSE(colornear(f, 0.2 + d * 0.9, 0.6, RED, 0));
  // No mark: nothing at all.
  EXPECT_FALSE(inknear(f, 0.6, 0.6, 4));
  // The solid diamond is filled, the square is an outline with a dot.
  EXPECT_TRUE(colornear(f, -0.6 + d * 0.3, 0 + d * 0.3, RED, 0));
  EXPECT_TRUE(colornear(f, -0.2 + s, 0, RED, 1));
  EXPECT_FALSE(colornear(f, -0.2 + s * 0.5, 0 + s * 0.5, RED, 0));
  EXPECT_TRUE(colornear(f, 0.2, 0, RED, 0));  // the dot
  // The circle mark is a ring of radius 0.707 d around an empty centre.
  EXPECT_TRUE(colornear(f, 0.6 + 0.707 * d, 0, RED, 1));
  EXPECT_FALSE(colornear(f, 0.6, 0, RED, 0));
  // The label starts at (x + d/2, y + d/2), to the right of and above it.
  int labelink = 0;
  for (double x = d; x < 0.15; x += 0.005)
    for (double y = d; y < 0.08; y += 0.005)
      labelink += colornear(f, x, -0.6 + y, YELLOW, 0);
  EXPECT_GT(labelink, 10);
  EXPECT_FALSE(colornear(f, -0.05, -0.65, YELLOW, 3));
}

TEST_F(Draw, SegmentsRaysLinesAndStyles) {
  vertex* a = hiddenpoint(-0.5, 0.5);
  vertex* b = hiddenpoint(0.5, 0.5);
  addline(a, b, COLOR_GREEN);
  vertex* c = hiddenpoint(-0.5, 0.2);
  vertex* d = hiddenpoint(0.5, 0.2);
  addline(c, d, COLOR_RED, RW_RAY12);
  vertex* e = hiddenpoint(-0.2, -0.1);
  vertex* g = hiddenpoint(0.2, -0.1);
  addline(e, g, COLOR_BLUE, RW_LONGLINE);
  frame f = drawframe();
  EXPECT_TRUE(colornear(f, 0, 0.5, GREEN, 1));
  EXPECT_TRUE(colornear(f, -0.45, 0.5, GREEN, 1));
  EXPECT_FALSE(colornear(f, 0.7, 0.5, GREEN, 2));  // past the end
  EXPECT_FALSE(colornear(f, -0.7, 0.5, GREEN, 2));
  EXPECT_TRUE(colornear(f, 0.95, 0.2, RED, 1));     // the ray runs on
  EXPECT_FALSE(colornear(f, -0.7, 0.2, RED, 2));    // not behind its start
  EXPECT_TRUE(colornear(f, -0.95, -0.1, BLUE, 1));  // whole line
  EXPECT_TRUE(colornear(f, 0.95, -0.1, BLUE, 1));
}

// Coloured pixels along the row of the line y = wy between x0 and x1.
int runlength(const frame& f, double wy, double x0, double x1, rgbcolor c,
              int* transitions) {
  int px0, px1, py;
  worldtopixel(x0, wy, &px0, &py);
  worldtopixel(x1, wy, &px1, &py);
  int n = 0, last = -1;
  *transitions = 0;
  for (int x = px0; x < px1; x++) {
    int on = 0;
    for (int y = py - 1; y <= py + 1; y++)
      on |= std::abs(f.at(x, y)[0] - c.r) <= 3 &&
            std::abs(f.at(x, y)[1] - c.g) <= 3 &&
            std::abs(f.at(x, y)[2] - c.b) <= 3;
    n += on;
    if (last >= 0 && on != last) (*transitions)++;
    last = on;
  }
  return n;
}

TEST_F(Draw, DashAndDotStylesAndTickMarks) {
  line* solid = addline(hiddenpoint(-0.8, 0.6), hiddenpoint(0.8, 0.6), 2);
  line* dash = addline(hiddenpoint(-0.8, 0.3), hiddenpoint(0.8, 0.3), 2);
  dash->linestyle = RW_DASHLINE;
  line* dot = addline(hiddenpoint(-0.8, 0.0), hiddenpoint(0.8, 0.0), 2);
  dot->linestyle = RW_DOTLINE;
  line* ticked = addline(hiddenpoint(-0.8, -0.5), hiddenpoint(0.8, -0.5), 1);
  ticked->linemark = RW_LINE3SLASH;
  frame f = drawframe();
  int t;
  int len = runlength(f, 0.6, -0.7, 0.7, GREEN, &t);
  EXPECT_GE(len, 278);  // 280 pixels, unbroken
  EXPECT_EQ(t, 0);
  len = runlength(f, 0.3, -0.7, 0.7, GREEN, &t);
  EXPECT_NEAR(len, 140, 10);  // eight on, eight off
  EXPECT_NEAR(t, 280 / 8, 3);
  len = runlength(f, 0.0, -0.7, 0.7, GREEN, &t);
  EXPECT_NEAR(len, 140, 10);  // two on, two off
  EXPECT_NEAR(t, 280 / 2, 6);
  (void)solid;
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
  line* l = addline(hiddenpoint(-0.8, 0.0), hiddenpoint(0.8, 0.0), 7);
  frame f = drawframe();
  int thin = 0, thick = 0;
  int px, py;
  worldtopixel(0.1, 0.0, &px, &py);
  for (int y = py - 6; y <= py + 6; y++) thin += f.at(px, y)[0] > 200;
  selectprim(l);
  f = drawframe();
  for (int y = py - 6; y <= py + 6; y++) thick += f.at(px, y)[0] > 200;
  EXPECT_EQ(thin, 1);
  EXPECT_EQ(thick, 3);
}

TEST_F(Draw, CirclesSmallHugeAndDegenerate) {
  vertex* o = hiddenpoint(0.1, -0.1);
  addcircle(o, hiddenpoint(0.6, -0.1), COLOR_BLUE);
  frame f = drawframe();
  for (double t = 0; t < 6.28; t += 0.5)
    EXPECT_TRUE(colornear(f, 0.1 + 0.5 * std::cos(t), -0.1 + 0.5 * std::sin(t),
                          BLUE, 1))
        << t;
  EXPECT_FALSE(colornear(f, 0.1 + 0.45, -0.1, BLUE, 2));
  cleardiagram();
  // Radius 250 about (0, -250.5): only its top shows, practically straight.
  addcircle(hiddenpoint(0, -250.5), hiddenpoint(0, -0.5), COLOR_GREEN);
  f = drawframe();
  EXPECT_TRUE(colornear(f, 0, -0.5, GREEN, 1));
  EXPECT_TRUE(colornear(f, 0.9, -0.5 - 0.81 / 500, GREEN, 1));
  EXPECT_TRUE(colornear(f, -0.9, -0.5, GREEN, 1));
  EXPECT_FALSE(colornear(f, 0, -0.45, GREEN, 3));
  cleardiagram();
  // Three collinear points: the circle through them is their line.
  circle* k = static_cast<circle*>(newprimitive(RW_CIRCLE));
  k->kind = C_VVV;
  k->parents[0] = hiddenpoint(-0.4, -0.4);
  k->parents[1] = hiddenpoint(0, 0);
  k->parents[2] = hiddenpoint(0.4, 0.4);
  k->color = COLOR_YELLOW;
  addprimitive(k);
  f = drawframe();
  EXPECT_EQ(k->center.w, 0);
  EXPECT_TRUE(colornear(f, 0.8, 0.8, YELLOW, 1));
  EXPECT_TRUE(colornear(f, -0.9, -0.9, YELLOW, 1));
  EXPECT_FALSE(colornear(f, 0.5, -0.5, YELLOW, 3));
}

TEST_F(Draw, PaletteInvisibleAndPerLayerColours) {
  vertex* p = addpoint(-0.5, 0.5, FREE, 12);
  p->pointtype = RW_SOLIDDIAMOND;
  vertex* q = addpoint(0, 0.5, FREE, COLOR_INVISIBLE);
  q->pointtype = RW_SOLIDDIAMOND;
  vertex* r = addpoint(0.5, 0.5);
  r->pointtype = RW_SOLIDDIAMOND;
  r->color = COLOR_PERLAYER;
  memset(r->layercolor, 255, sizeof r->layercolor);
  r->layercolor[0] = COLOR_RED;
  r->layercolor[3] = COLOR_BLUE;
  frame f = drawframe();
  EXPECT_TRUE(colornear(f, -0.5, 0.5, C12, 0));
  EXPECT_FALSE(inknear(f, 0, 0.5, 4));          // invisible
  EXPECT_TRUE(colornear(f, 0.5, 0.5, RED, 0));  // layer 0 is the lowest
  definecolor(12, 1, 0.5, 0);
  showinvisible = 1;
  layerset = 1u << 3;
  updateminlayer();
  f = drawframe();
  EXPECT_TRUE(colornear(f, -0.5, 0.5, {255, 128, 0}, 0, 2));
  EXPECT_TRUE(colornear(f, 0, 0.5, GREY, 0, 2));
  EXPECT_TRUE(colornear(f, 0.5, 0.5, BLUE, 0));  // its colour on layer 3
  layerset = 1u << 4;  // no colour on layer 4: hidden, grey while shown
  updateminlayer();
  f = drawframe();
  EXPECT_TRUE(colornear(f, 0.5, 0.5, GREY, 0, 2));
  showinvisible = 0;
  f = drawframe();
  EXPECT_FALSE(inknear(f, 0.5, 0.5, 4));
}

TEST_F(Draw, OnlyLayersInForceAreDrawn) {
  vertex* p = addpoint(0, 0, FREE, COLOR_WHITE);
  p->pointtype = RW_SOLIDDIAMOND;
  p->layers = 1u << 3;
  layerset = 1u << 2;
  updateminlayer();
  EXPECT_FALSE(inknear(drawframe(), 0, 0, 4));
  layerset |= 1u << 3;
  updateminlayer();
  EXPECT_TRUE(colornear(drawframe(), 0, 0, WHITE, 0));
}

TEST_F(Draw, BlinkingColoursPulseInTurn) {
  int codes[3] = {COLOR_BLINK, COLOR_BLINK1, COLOR_BLINK2};
  for (int i = 0; i < 3; i++)
    addpoint(-0.5 + 0.5 * i, 0, FREE, codes[i])->pointtype = RW_SOLIDDIAMOND;
  const rgbcolor bright[3] = {{255, 128, 0}, {0, 255, 128}, {128, 255, 255}};
  const rgbcolor dim[3] = {{128, 64, 0}, {0, 128, 64}, {64, 128, 128}};
  const int dimphase[3] = {2, 0, 1};
  for (int phase = 0; phase < 3; phase++) {
    blinkon = phase;
    frame f = drawframe();
    for (int i = 0; i < 3; i++) {
      rgbcolor want = phase == dimphase[i] ? dim[i] : bright[i];
      EXPECT_TRUE(colornear(f, -0.5 + 0.5 * i, 0, want, 0, 2))
          << "phase " << phase << " colour " << i;
    }
  }
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
  vertex* still = addpoint(-0.5, 0, FREE, COLOR_RED);
  still->pointtype = RW_SOLIDDIAMOND;
  addpoint(0.5, 0, FREE, COLOR_BLINK)->pointtype = RW_SOLIDDIAMOND;
  single.make_current();
  xsize = ysize = 200;
  blinkon = 1;
  drawgeom();
  // The red point changed, but a blink-only frame must not redraw it:
  // what shows is the previous frame with only the blinker updated.
  still->color = COLOR_GREEN;
  blinkon = 2;
  blinkonly = 1;
  drawgeom();
  glFinish();
  frame f;
  f.w = f.h = 200;
  f.rgb.resize(3 * 200 * 200);
  glReadBuffer(GL_FRONT);
  glReadPixels(0, 0, 200, 200, GL_RGB, GL_UNSIGNED_BYTE, f.rgb.data());
  EXPECT_EQ(blinkonly, 0);
  EXPECT_TRUE(colornear(f, -0.5, 0, RED, 0));
  EXPECT_TRUE(colornear(f, 0.5, 0, {128, 64, 0}, 0, 2));
  win.hide();
  pump(0.1);
  xsize = geom_window->w();  // back to the program's own window
  ysize = geom_window->h();
}

TEST_F(Draw, BlinkOnlyFrameWithTwoBuffersIsWhole) {
  vertex* still = addpoint(-0.5, 0, FREE, COLOR_RED);
  still->pointtype = RW_SOLIDDIAMOND;
  addpoint(0.5, 0, FREE, COLOR_BLINK)->pointtype = RW_SOLIDDIAMOND;
  blinkon = 1;
  drawframe();
  geom_window->swap_buffers();  // what was drawn is on show
  blinkon = 2;
  blinkonly = 1;
  frame f = drawframe();
  EXPECT_EQ(blinkonly, 0);
  EXPECT_TRUE(colornear(f, -0.5, 0, RED, 0));
  EXPECT_TRUE(colornear(f, 0.5, 0, {128, 64, 0}, 0, 2));
  EXPECT_EQ(countcolor(f, BLACK, 0) + countcolor(f, RED, 0) +
                countcolor(f, {128, 64, 0}, 2),
            f.w * f.h);
}

polygon* addsquare(double x0, double y0, double side, int type, int color) {
  polygon* p = static_cast<polygon*>(newprimitive(RW_POLYGON));
  p->kind = POLYGON;
  p->nvert = 4;
  p->parents[0] = hiddenpoint(x0, y0);
  p->parents[1] = hiddenpoint(x0 + side, y0);
  p->parents[2] = hiddenpoint(x0 + side, y0 + side);
  p->parents[3] = hiddenpoint(x0, y0 + side);
  p->polytype = type;
  p->color = color;
  addprimitive(p);
  return p;
}

// Coloured pixels inside the square, as a fraction.
double coverage(const frame& f, double x0, double y0, double side, rgbcolor c) {
  int px0, py0, px1, py1, n = 0, on = 0;
  worldtopixel(x0 + 0.02, y0 + 0.02, &px0, &py0);
  worldtopixel(x0 + side - 0.02, y0 + side - 0.02, &px1, &py1);
  for (int y = py0; y < py1; y++)
    for (int x = px0; x < px1; x++, n++)
      on += std::abs(f.at(x, y)[0] - c.r) <= 3 &&
            std::abs(f.at(x, y)[1] - c.g) <= 3 &&
            std::abs(f.at(x, y)[2] - c.b) <= 3;
  return (double)on / n;
}

TEST_F(Draw, PolygonOutlinesAndFills) {
  addsquare(-0.9, 0.3, 0.4, RW_OUTLINEPOLY, COLOR_WHITE);
  addsquare(-0.3, 0.3, 0.4, RW_SOLIDPOLY, COLOR_RED);
  addsquare(0.3, 0.3, 0.4, RW_HASHPOLY, COLOR_GREEN);
  addsquare(-0.9, -0.3, 0.4, RW_HASHPOLY1, COLOR_BLUE);
  addsquare(-0.3, -0.3, 0.4, RW_HASHPOLY2, COLOR_YELLOW);
  frame f = drawframe();
  if (getenv("SAVEFRAMES")) saveframe(f, "/tmp/polys.ppm");
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

TEST_F(Draw, ConicsOfEveryShape) {
  auto addconic = [](std::initializer_list<double> k, int color) {
    conic* c = static_cast<conic*>(newprimitive(RW_CONIC));
    c->kind = CONIC_VVVVV;  // no parents: the coefficients stay as given
    int i = 0;
    for (double v : k) c->coef[i++] = v;
    c->color = color;
    addprimitive(c);
    return c;
  };
  // x^2/0.25 + y^2/0.09 = 1, turned by nothing.
  addconic({4, 0, 1 / 0.09, 0, 0, -1}, COLOR_RED);
  frame f = drawframe();
  EXPECT_TRUE(colornear(f, 0.5, 0, RED, 1));
  EXPECT_TRUE(colornear(f, 0, 0.3, RED, 1));
  EXPECT_TRUE(colornear(f, 0.5 * std::cos(1), 0.3 * std::sin(1), RED, 1));
  EXPECT_FALSE(colornear(f, 0, 0, RED, 3));
  cleardiagram();
  addconic({0, 1, 0, 0, 0, -0.1}, COLOR_GREEN);  // x y = 0.1
  addconic({-1, 0, -1, 0, 0, -1}, COLOR_RED);    // no real points
  addconic({1, 0, -1, 0, 0, 0}, COLOR_RED);      // two lines: not drawn
  f = drawframe();
  EXPECT_TRUE(colornear(f, 0.5, 0.2, GREEN, 1));
  EXPECT_TRUE(colornear(f, -0.25, -0.4, GREEN, 1));
  EXPECT_TRUE(colornear(f, 0.9, 0.1 / 0.9, GREEN, 1));
  EXPECT_FALSE(colornear(f, 0.5, -0.2, GREEN, 2));
  EXPECT_EQ(countcolor(f, RED), 0);
  cleardiagram();
  addconic({1, 0, 0, 0, -1, 0}, COLOR_BLUE);  // y = x^2
  f = drawframe();
  if (getenv("SAVEFRAMES")) saveframe(f, "/tmp/parabola.ppm");
  EXPECT_TRUE(colornear(f, 0, 0, BLUE, 1));
  EXPECT_TRUE(colornear(f, 0.5, 0.25, BLUE, 1));
  EXPECT_TRUE(colornear(f, -0.9, 0.81, BLUE, 1));
  EXPECT_FALSE(colornear(f, 0.5, 0.5, BLUE, 2));
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
  vertex* P = hiddenpoint(0.6, 0.2);
  vertex* V = hiddenpoint(0.2, 0.2);
  vertex* Q = hiddenpoint(0.2, 0.6);
  angle* a = static_cast<angle*>(newprimitive(RW_ANGLE));
  a->kind = A_VVV;
  a->parents[0] = P, a->parents[1] = V, a->parents[2] = Q;
  a->angletype = RW_RING1;
  a->color = COLOR_GREEN;
  addprimitive(a);
  vertex* A = hiddenpoint(0.4, -0.5);
  vertex* C = hiddenpoint(0, -0.5);
  vertex* B = hiddenpoint(-0.3, -0.1);
  arc* r = static_cast<arc*>(newprimitive(RW_ARC));
  r->kind = ARC_VVV;
  r->parents[0] = A, r->parents[1] = C, r->parents[2] = B;
  r->color = COLOR_BLUE;
  addprimitive(r);
  frame f = drawframe();
  EXPECT_TRUE(colornear(f, -0.6, 0.65, RED, 1));
  EXPECT_TRUE(colornear(f, -0.9, 0.2, RED, 1));
  EXPECT_FALSE(colornear(f, -0.6, 0.8, RED, 3));
  // Ring radius 0.09 grows with width/height: 0.09 * 400 / 450 = 0.08.
  double R = 0.09 * 400 / 450;
  EXPECT_TRUE(
      colornear(f, 0.2 + R * std::cos(0.7), 0.2 + R * std::sin(0.7), GREEN, 1));
  EXPECT_FALSE(colornear(f, 0.2 + R * std::cos(-0.7), 0.2 + R * std::sin(-0.7),
                         GREEN, 2));
  // The arc keeps its true radius 0.4 from A counter-clockwise to CB.
  EXPECT_TRUE(
      colornear(f, 0.4 * std::cos(1.0), -0.5 + 0.4 * std::sin(1.0), BLUE, 1));
  EXPECT_FALSE(
      colornear(f, 0.4 * std::cos(-1.0), -0.5 + 0.4 * std::sin(-1.0), BLUE, 2));
  a->angletype = RW_RIGHT;
  V->x = 0.2;
  f = drawframe();
  // The corner's middle point lies 0.07 sqrt 2 * 400/450 along the bisector.
  double m = 0.07 * std::sqrt(2.0) * 400 / 450;
  EXPECT_TRUE(colornear(f, 0.2 + m * 0.7071, 0.2 + m * 0.7071, GREEN, 1));
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
  EXPECT_DOUBLE_EQ(t->yhigh, -0.5 + fbsize);
  EXPECT_DOUBLE_EQ(t->ylow, -0.5);
  int ink = 0;
  for (double x = -0.99; x < -0.7; x += 0.004)
    for (double y = -0.5; y < -0.5 + fbsize; y += 0.004)
      ink += colornear(f, x, y, YELLOW, 0);
  EXPECT_GT(ink, 20);
  EXPECT_FALSE(colornear(f, -0.8, -0.5 - 0.02, YELLOW, 2));
  // "s = 0.500" listed from the top of the left edge in the line's colour.
  ink = 0;
  for (double x = -0.99; x < -0.5; x += 0.004)
    for (double y = 0.9; y < 0.9 + fbsize; y += 0.004)
      ink += colornear(f, x, y, {0, 255, 255}, 0);
  EXPECT_GT(ink, 20);
  // A start outside the view draws nothing at all.
  cleardiagram();
  vertex* off = addpoint(1.2, 0, FREE, COLOR_RED);
  off->label = strdup("XXXXXXXX");
  f = drawframe();
  EXPECT_EQ(countcolor(f, RED), 0);
}

// Rows (pixel y) in which the text drawn in colour c has ink.
void inkrows(const frame& f, rgbcolor c, int* lo, int* hi) {
  *lo = f.h, *hi = -1;
  for (int y = 0; y < f.h; y++)
    for (int x = 0; x < f.w; x++)
      if (std::abs(f.at(x, y)[0] - c.r) <= 3 &&
          std::abs(f.at(x, y)[1] - c.g) <= 3 &&
          std::abs(f.at(x, y)[2] - c.b) <= 3) {
        if (y < *lo) *lo = y;
        if (y > *hi) *hi = y;
      }
}

TEST_F(Draw, SubscriptsSuperscriptsAndBars) {
  auto rows = [](const char* s, int* lo, int* hi) {
    cleardiagram();
    vertex* v = addpoint(0, 0, FREE, COLOR_GREEN);
    v->pointtype = RW_NOMARK;
    v->label = strdup(s);
    frame f = drawframe();
    if (getenv("SAVEFRAMES"))
      saveframe(f,
                (std::string("/tmp/text") + std::to_string(strlen(s)) + ".ppm")
                    .c_str());
    inkrows(f, GREEN, lo, hi);
  };
  int lo, hi, slo, shi, plo, phi, olo, ohi;
  rows("1", &lo, &hi);
  ASSERT_GT(hi, lo);
  rows("\\sub{1}", &slo, &shi);
  rows("\\sup{1}", &plo, &phi);
  // The smaller digit stands on a baseline moved by 0.3 and 0.45 of the
  // font size (16): down 4.8, up 7.2 pixels, cut to whole pixels.
  EXPECT_NEAR(lo - slo, 4.8, 1.0);
  EXPECT_NEAR(plo - lo, 7.2, 1.0);
  EXPECT_LT(shi - slo, hi - lo);  // and is smaller
  rows("AB", &lo, &hi);
  rows("\\overline{AB}", &olo, &ohi);
  EXPECT_EQ(olo, lo);
  EXPECT_GT(ohi, hi);  // the bar sits above the letters
  rows("\\arc{AB}", &olo, &ohi);
  EXPECT_GT(ohi, hi + 1);  // so does the arch
  int alo, ahi;
  rows("\\alpha", &alo, &ahi);
  EXPECT_GE(ahi, alo);  // the symbol font drew something
}

}  // namespace

namespace {

TEST(DisplayMode, ColourIndexFallsBackToRGB) {
  int savedrgb = rgbmode, savedsingle = singlebuffer;
  rgbmode = 1;
  singlebuffer = 0;
  EXPECT_EQ(choosedisplaymode(), FL_RGB | FL_DOUBLE);
  singlebuffer = 1;
  EXPECT_EQ(choosedisplaymode(), FL_RGB | FL_SINGLE);
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

}  // namespace

namespace {

struct Text : ::testing::Test {
  void SetUp() override { cleardiagram(); }
  void TearDown() override { cleardiagram(); }
};

// Columns (pixel x) holding ink of colour c.
std::vector<int> inkcolumns(const frame& f, rgbcolor c) {
  std::vector<int> cols;
  for (int x = 0; x < f.w; x++)
    for (int y = 0; y < f.h; y++)
      if (std::abs(f.at(x, y)[0] - c.r) <= 3 &&
          std::abs(f.at(x, y)[1] - c.g) <= 3 &&
          std::abs(f.at(x, y)[2] - c.b) <= 3) {
        cols.push_back(x);
        break;
      }
  return cols;
}

TEST_F(Text, BlanksSeparateWords) {
  auto width = [](const char* s) {
    cleardiagram();
    vertex* v = addpoint(-0.5, 0, FREE, COLOR_GREEN);
    v->pointtype = RW_NOMARK;
    v->label = strdup(s);
    std::vector<int> c = inkcolumns(drawframe(), GREEN);
    return c.empty() ? 0 : c.back() - c.front() + 1;
  };
  int joined = width("AB"), spaced = width("A B"), wide = width("A   B");
  ASSERT_GT(joined, 0);
  EXPECT_GT(spaced, joined + 2);
  EXPECT_GT(wide, spaced + 4);
}

}  // namespace

namespace {

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
