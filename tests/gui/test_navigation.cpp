// The mouse on the drawing area, driven with real X events: smoothed and
// plain strokes, the wheel zooming about the pointer, panning with the
// middle and right buttons as the arrow keys pan, and the highlight and
// status line under the resting pointer.
#include <gtest/gtest.h>
// The toolkit after the test framework: X11's macros clash with it.
#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Menu_Item.H>
#include <FL/Fl_Window.H>
#include <FL/x.H>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "app/geomwindow.h"
#include "app/hover.h"
#include "app/keys.h"
#include "app/ui.h"
#include "app/undo.h"
#include "language/parser.h"
#include "language/symtable.h"
#include "model/state.h"
#include "model/worldlist.h"
#include "render/gldraw.h"
#include "render/view.h"
#include "tests/gui/guitest.h"

namespace {

const auto D = langtest::golden("navigation.txt");

struct Navigation : ::testing::Test {
  void SetUp() override {
    cleardiagram();
    main_window->show();
    pointer(-50, -50);
  }
  void TearDown() override {
    // The pointer goes back to where the display put it, the middle of
    // the screen, out of the way of the windows later tests open.
    xdo("mousemove 640 512");
    pump(0.2);
    cleardiagram();
  }
  // Moves the X pointer to pixel (px, py) of the drawing area, y downwards;
  // a negative px puts it beside the main window instead.
  static void pointer(int px, int py) {
    Fl::flush();
    if (px < 0)
      xdo("mousemove " +
          std::to_string(main_window->x() + main_window->w() + 20) + " " +
          std::to_string(main_window->y() + 20));
    else
      xdo("mousemove --window " +
          std::to_string((unsigned long)fl_xid(geom_window)) + " " +
          std::to_string(px) + " " + std::to_string(py));
    pump(0.3);
  }
  // Drags with mouse button b from pixel (x0, y0) to (x1, y1) of the
  // drawing area in two moves, calling `during` before the release.
  static void drag(int b, int x0, int y0, int x1, int y1,
                   void (*during)() = nullptr) {
    pointer(x0, y0);
    xdo("mousedown " + std::to_string(b));
    pointer((x0 + x1) / 2, (y0 + y1) / 2);
    pointer(x1, y1);
    if (during) during();
    xdo("mouseup " + std::to_string(b));
    pump(0.3);
  }
};

// Grey pixels (equal channels, neither black nor white) in the frame:
// white strokes on black blended at their edges.
int greys(const frame& f) {
  int n = 0;
  for (int i = 0; i < f.w * f.h; i++) {
    const unsigned char* p = &f.rgb[3 * i];
    n += p[0] == p[1] && p[1] == p[2] && p[0] > 0 && p[0] < 255;
  }
  return n;
}

// The stored place of every free point.
std::vector<double> freeplaces() {
  std::vector<double> xy;
  for (primitive* p = plist; p; p = p->next)
    if (p->type == RW_VERTEX && p->kind == FREE) {
      xy.push_back(static_cast<vertex*>(p)->x);
      xy.push_back(static_cast<vertex*>(p)->y);
    }
  return xy;
}

std::string undolabel() {
  return menuitem(UNDOCODE)->label();
}

// A diagonal line: grey pixels along its edges when smoothed, none plain
// (then one white pixel in each of its 320 columns, 1.6 / 0.005).
TEST_F(Navigation, SmoothingBlendsEdgesAndTurnsOff) {
  vertex* a = addpoint(-0.8, -0.45);
  vertex* b = addpoint(0.8, 0.35);
  a->pointtype = b->pointtype = RW_NOMARK;
  addline(a, b);
  smoothdrawing = 0;
  frame f = drawframe();
  EXPECT_EQ(greys(f), 0);
  EXPECT_GE(countcolor(f, {255, 255, 255}, 0), 318);
  smoothdrawing = 1;
  EXPECT_GT(greys(drawframe()), 150);
  // The last frame the program draws while a middle-button drag pans the
  // view is smoothed as well.
  smoothdrawing = 1;
  static frame shown, during;
  static void (*draw)() = geom_window->displayfunc;
  geom_window->displayfunc = [] {
    draw();
    shown = readback();
  };
  drag(2, xsize / 2, ysize / 2, xsize / 2 + 30, ysize / 2 + 10,
       [] { during = shown; });
  geom_window->displayfunc = draw;
  EXPECT_GT(greys(during), 150);
  EXPECT_NE(freeplaces()[0], -0.8);  // the drag did pan
}

TEST_F(Navigation, TenWheelClicksZoomAboutThePointer) {
  // The pointer's world point, from the window size: 2 / (shorter side)
  // world units a pixel, the origin in the middle.
  int px = xsize / 2 + 70, py = ysize / 2 - 40;
  double unit = 2.0 / std::min(xsize, ysize);
  double cx = (px - xsize / 2.0) * unit, cy = (ysize / 2.0 - py) * unit;
  addpoint(0.3, 0.2);
  addpoint(-0.4, -0.5);
  vertex* under = addpoint(cx, cy);
  drawframe();
  diagramloaded(1);
  std::vector<double> before = freeplaces();
  pointer(px, py);
  xdo("click --repeat 10 --delay 40 4");
  pump(0.5);
  std::vector<double> after = freeplaces();
  ASSERT_EQ(after.size(), before.size());
  const double f = 2.5937424601;  // 1.1^10
  for (size_t i = 0; i < after.size(); i += 2) {
    EXPECT_NEAR(after[i], cx + f * (before[i] - cx), 1e-9) << i;
    EXPECT_NEAR(after[i + 1], cy + f * (before[i + 1] - cy), 1e-9) << i;
  }
  // The point under the pointer stays there, within two pixels, and its
  // mark is drawn there.
  EXPECT_LT(std::hypot(under->x - cx, under->y - cy), 2 * unit);
  EXPECT_TRUE(colornear(drawframe(), cx, cy, {255, 255, 255}, 2, 0));
  // Ten clicks back down return every point (one click out is 1/1.1).
  xdo("click --repeat 10 --delay 40 5");
  pump(0.5);
  after = freeplaces();
  for (size_t i = 0; i < after.size(); i++)
    EXPECT_NEAR(after[i], before[i], 1e-9) << i;
  EXPECT_EQ(pselected, nullptr);
  EXPECT_EQ(dirtyfile, 1);
  EXPECT_EQ(undolabel(), "Undo Zoom");
  // A turn of three clicks with a middle-button pan begun before the wheel
  // rests, handed straight to the drawing area so that the rest cannot
  // come between: the turn is taken in first, so the pan is a step of its
  // own and undoing it leaves the points zoomed by 1.1^3 about the pointer.
  auto send = [py](int event, int x, int dy, int state) {
    Fl::e_x = x, Fl::e_y = py, Fl::e_dx = 0, Fl::e_dy = dy;
    Fl::e_state = state;
    Fl::e_keysym = FL_Button + 2;
    geom_window->handle(event);
  };
  for (int i = 0; i < 3; i++) send(FL_MOUSEWHEEL, px, -1, 0);
  send(FL_PUSH, px, 0, FL_BUTTON2);
  send(FL_DRAG, px + 20, 0, FL_BUTTON2);
  send(FL_DRAG, px + 40, 0, FL_BUTTON2);
  send(FL_RELEASE, px + 40, 0, 0);
  EXPECT_EQ(undolabel(), "Undo Pan");
  undocommand();
  EXPECT_EQ(undolabel(), "Undo Zoom");
  after = freeplaces();
  for (size_t i = 0; i < after.size(); i += 2) {
    EXPECT_NEAR(after[i], cx + 1.331 * (before[i] - cx), 1e-9) << i;
    EXPECT_NEAR(after[i + 1], cy + 1.331 * (before[i + 1] - cy), 1e-9) << i;
  }
}

TEST_F(Navigation, MiddleDragPansAsTheArrowKeysDo) {
  // Written out, so that undo can bring it back.
  ASSERT_EQ(parsetext(D.at("pan").c_str()), 1);
  frame f0 = drawframe();
  diagramloaded(1);  // the history starts here
  std::vector<double> start = freeplaces();
  // 100 pixels to the right: 100 * 2 / (shorter side) world units, the
  // same as that many hundredths of Right-arrow presses.
  int side = std::min(xsize, ysize);
  double shift = 200.0 / side;
  drag(2, 100, 200, 200, 200);
  std::vector<double> dragged = freeplaces();
  for (size_t i = 0; i < start.size(); i += 2) {
    EXPECT_NEAR(dragged[i], start[i] + shift, 1e-12) << i;
    EXPECT_NEAR(dragged[i + 1], start[i + 1], 1e-12) << i;
  }
  EXPECT_EQ(pselected, nullptr);
  EXPECT_EQ(dirtyfile, 1);
  EXPECT_EQ(undolabel(), "Undo Pan");
  // The picture moved 100 pixels: each inked pixel of the first frame is
  // inked 100 pixels to its right.
  frame f1 = drawframe();
  int inked = 0, moved = 0;
  for (int y = 0; y < f0.h; y++)
    for (int x = 0; x + 100 < f0.w; x++)
      if (!samecolor(f0.at(x, y), {0, 0, 0}, 0)) {
        inked++;
        moved += samecolor(f1.at(x + 100, y),
                           {f0.at(x, y)[0], f0.at(x, y)[1], f0.at(x, y)[2]});
      }
  EXPECT_GT(inked, 100);
  EXPECT_GE(moved, inked * 98 / 100);
  // Undone, then the same distance by the arrow keys' own handler (the
  // keys themselves are sent by the script tests).
  undocommand();
  EXPECT_EQ(freeplaces(), start);
  int presses = (int)std::lround(shift / 0.01);
  for (int i = 0; i < presses; i++) special(FL_Right, 0, 0);
  std::vector<double> bykeys = freeplaces();
  for (size_t i = 0; i < start.size(); i++)
    EXPECT_NEAR(bykeys[i], dragged[i], 1e-12) << i;
}

TEST_F(Navigation, RightDragPansOnlyFromEmptySpace) {
  vertex* a = addpoint(0.3, 0.2);
  addpoint(-0.4, -0.5);
  drawframe();
  std::vector<double> start = freeplaces();
  int ax, ay;
  worldtopixel(0.3, 0.2, &ax, &ay);
  ay = ysize - ay;
  // On the point: no pan, no selection.
  drag(3, ax, ay, ax + 40, ay + 30);
  EXPECT_EQ(freeplaces(), start);
  EXPECT_EQ(pselected, nullptr);
  // From empty space: 40 pixels right and 30 down.
  double unit = 2.0 / std::min(xsize, ysize);
  drag(3, 50, 60, 90, 90);
  EXPECT_NEAR(a->x, 0.3 + 40 * unit, 1e-12);
  EXPECT_NEAR(a->y, 0.2 - 30 * unit, 1e-12);
  EXPECT_EQ(pselected, nullptr);
}

TEST_F(Navigation, HoverHighlightsWhatAClickTakesAndNamesIt) {
  vertex* a = addpoint(0.3, 0.2);
  a->label = strdup("A");
  vertex* b = addpoint(-0.4, -0.5);
  addline(a, b);
  const rgbcolor AMBER = {255, 184, 51};
  frame f = drawframe();
  diagramloaded(1);
  EXPECT_EQ(countcolor(f, AMBER, 4), 0);
  int ax, ay;
  worldtopixel(0.3, 0.2, &ax, &ay);
  pointer(ax + 2, ysize - ay);
  f = drawframe();
  EXPECT_TRUE(colornear(f, 0.3, 0.2, AMBER, 8, 4));
  // Pixel column ax + 2 is the world x of its distance from the middle
  // column; the status line shows it with the point's description.
  std::string status = statusline->label();
  EXPECT_NE(status.find("\"A\": free point"), std::string::npos) << status;
  char where[40];
  double unit = 2.0 / std::min(xsize, ysize);
  snprintf(where, sizeof where, "x %.3f ", (ax + 2 - xsize / 2.0) * unit);
  EXPECT_EQ(status.rfind(where, 0), 0u) << status;
  // On the line away from its points: the line lights up, not the points.
  pointer(xsize / 2 - (int)(0.05 / unit), ysize / 2 + (int)(0.15 / unit));
  f = drawframe();
  status = statusline->label();
  EXPECT_NE(status.find("line connecting points"), std::string::npos) << status;
  EXPECT_EQ(status.find("free point"), std::string::npos) << status;
  EXPECT_TRUE(colornear(f, -0.05, -0.15, AMBER, 3, 4));
  EXPECT_GT(countcolor(f, AMBER, 4), 50);
  // Nothing hovered, nothing selected, nothing changed.
  pointer(-50, -50);
  f = drawframe();
  EXPECT_EQ(countcolor(f, AMBER, 4), 0);
  EXPECT_EQ(pselected, nullptr);
  EXPECT_EQ(dirtyfile, 0);
}

// Largest difference of one colour channel between two frames, and the
// number of pixels that differ at all.
int maxdiff(const frame& a, const frame& b, int* differing) {
  int most = 0;
  *differing = 0;
  for (size_t i = 0; i < a.rgb.size(); i += 3) {
    int d = 0;
    for (int c = 0; c < 3; c++)
      d = std::max(d, std::abs(a.rgb[i + c] - b.rgb[i + c]));
    most = std::max(most, d);
    *differing += d > 0;
  }
  return most;
}

// While a point is dragged, the records that do not move are shown from
// images; the frame must be the one drawn whole, records after the moving
// ones lying over them, within two units of colour where smoothed edges
// blend (the images keep colours in eight bits).
TEST_F(Navigation, DraggingShowsStillRecordsAsDrawnWhole) {
  ASSERT_EQ(parsetext(D.at("stills").c_str()), 1);
  smoothdrawing = 1;
  drawframe();
  static frame shown, during, whole, recoloured, recolouredwhole;
  static long frames;
  static void (*draw)() = geom_window->displayfunc;
  geom_window->displayfunc = [] {
    draw();
    shown = readback();
  };
  int ax, ay;
  worldtopixel(-0.5, 0.3, &ax, &ay);
  frames = stillframes;
  drag(1, ax, ysize - ay, ax + 60, ysize - ay + 40, [] {
    frames = stillframes - frames;
    during = shown;
    // The button is still held: drawn whole, then with a still record
    // changed under the images.
    stillimages = 0;
    whole = drawframe();
    stillimages = 1;
    named("under")->color = COLOR_MAGENTA;
    recoloured = drawframe();
    stillimages = 0;
    recolouredwhole = drawframe();
    stillimages = 1;
  });
  geom_window->displayfunc = draw;
  vertex* a = static_cast<vertex*>(named("A"));
  EXPECT_GT(a->x, -0.5);  // the drag moved the point
  EXPECT_GE(frames, 2);   // and its frames came from the images
  int differing;
  EXPECT_LE(maxdiff(during, whole, &differing), 2);
  EXPECT_LT(differing, during.w * during.h / 100);
  EXPECT_LE(maxdiff(recoloured, recolouredwhole, &differing), 2);
  EXPECT_GT(countcolor(recoloured, {255, 0, 255}, 2), 100);
  // The still record crossing the moving line after it is drawn.
  EXPECT_GT(countcolor(during, {255, 0, 0}, 2), 100);
}

}  // namespace
