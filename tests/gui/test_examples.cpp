// Every shipped example drawn in the real window: each visible point,
// segment, circle and text leaves ink where its geometry puts it, in its
// colour, and nothing raises an alert. And the screen and the page agree:
// an example drawn in the window and written by `tessarin-cli eps` at the
// window's size, rendered by Ghostscript, has its strokes in the same
// places (colours differ by design: the page swaps black and white).
#include "tests/gui/guitest.h"
// The rest after the test framework: X11's macros clash with it.
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "model/style.h"
#include "render/colors.h"
#include "render/view.h"

namespace {

int inview(double x, double y, double margin) {
  return x > fxmin + margin && x < fxmax - margin && y > fymin + margin &&
         y < fymax - margin;
}

// The colour a primitive shows in, when it is a plain palette colour.
int palettecolor(const primitive* p, rgbcolor* c) {
  colorchoice k = choosecolor(p->color, p->layercolor);
  if (!k.drawn) return 0;
  *c = {(int)std::lround(k.rgb[0] * 255), (int)std::lround(k.rgb[1] * 255),
        (int)std::lround(k.rgb[2] * 255)};
  return !(c->r == 0 && c->g == 0 && c->b == 0);
}

struct Checked {
  int points = 0, segments = 0, circles = 0, texts = 0;
};

void checkpoint(const frame& f, vertex* v, Checked* n) {
  rgbcolor c;
  if (!v->valid || v->w == 0 || v->pointtype == RW_NOMARK) return;
  if (!(v->layers & layerset) || !inview(v->x, v->y, 0.05)) return;
  if (!palettecolor(v, &c)) return;
  EXPECT_TRUE(colornear(f, v->x, v->y, c, 5))
      << "point " << (v->label ? v->label : "") << " at " << v->x << ", "
      << v->y;
  n->points++;
}

void checkline(const frame& f, line* l, Checked* n) {
  rgbcolor c;
  if (!l->valid || l->linetype != RW_SEGMENT || l->p1.w == 0 || l->p2.w == 0)
    return;
  if (!(l->layers & layerset) || !palettecolor(l, &c)) return;
  double mx = (l->p1.x + l->p2.x) / 2, my = (l->p1.y + l->p2.y) / 2;
  if (!inview(mx, my, 0.05)) return;
  // A dashed or dotted line may have a gap at the midpoint: look along it.
  int found = 0;
  for (double t = 0.3; t <= 0.7 && !found; t += 0.02)
    found = colornear(f, l->p1.x + t * (l->p2.x - l->p1.x),
                      l->p1.y + t * (l->p2.y - l->p1.y), c, 2);
  EXPECT_TRUE(found) << "segment at " << mx << ", " << my;
  n->segments++;
}

void checkcircle(const frame& f, circle* k, Checked* n) {
  rgbcolor c;
  if (!k->valid || k->center.w == 0 || k->radius > 3) return;
  if (!(k->layers & layerset) || !palettecolor(k, &c)) return;
  double cx = k->center.x / k->center.w, cy = k->center.y / k->center.w;
  int found = 0, tried = 0;
  for (double t = 0; t < 6.28 && !found; t += 0.1) {
    double x = cx + k->radius * std::cos(t), y = cy + k->radius * std::sin(t);
    if (!inview(x, y, 0.05)) continue;
    tried++;
    found = colornear(f, x, y, c, 2);
  }
  if (!tried) return;
  EXPECT_TRUE(found) << "circle about " << cx << ", " << cy;
  n->circles++;
}

void checktext(const frame& f, text* t, Checked* n) {
  if (!t->string || !t->string[0] || !(t->layers & layerset)) return;
  if (!isvisible(t) || t->yhigh <= t->ylow) return;
  int ink = 0;
  for (double x = -0.99; x < -0.5; x += 0.01)
    ink += inknear(f, x, (t->ylow + t->yhigh) / 2, 3);
  EXPECT_GT(ink, 0) << "text " << t->string;
  n->texts++;
}

TEST(Examples, EveryExampleDrawsWhereItsGeometryIs) {
  std::vector<std::string> files = langtest::examples();
  ASSERT_FALSE(files.empty());
  Checked total;
  for (const std::string& file : files) {
    SCOPED_TRACE(file);
    ASSERT_EQ(loaddiagram(file.c_str()), 1);
    frame f = drawframe();
    f = drawframe();  // texts know their band after one frame
    EXPECT_TRUE(guialerts.empty()) << guialerts.front();
    EXPECT_GT(f.w * f.h - countcolor(f, {0, 0, 0}, 0), 100);
    for (primitive* p = plist; p; p = p->next) {
      switch (p->type) {
        case RW_VERTEX: checkpoint(f, static_cast<vertex*>(p), &total); break;
        case RW_LINE: checkline(f, static_cast<line*>(p), &total); break;
        case RW_CIRCLE: checkcircle(f, static_cast<circle*>(p), &total); break;
        case RW_TEXT: checktext(f, static_cast<text*>(p), &total); break;
        default: break;  // the rest are checked by the drawing tests
      }
    }
  }
  // The examples hold enough of each kind for the checks to mean something.
  EXPECT_GT(total.points, 20);
  EXPECT_GT(total.segments, 10);
  EXPECT_GT(total.circles, 3);
  EXPECT_GT(total.texts, 0);
  cleardiagram();
}

// The next number of a PPM header, past blanks and comment lines.
int headernumber(FILE* in) {
  int c = fgetc(in);
  while (c == '#' || c == ' ' || c == '\n' || c == '\r' || c == '\t') {
    if (c == '#')
      while (c != '\n' && c != EOF) c = fgetc(in);
    c = fgetc(in);
  }
  int v = 0;
  for (; c >= '0' && c <= '9'; c = fgetc(in)) v = v * 10 + (c - '0');
  return v;  // the one blank after the number is consumed
}

// Reads a binary PPM written by Ghostscript, bottom row first like a frame.
int readppm(const std::string& path, frame* f) {
  FILE* in = fopen(path.c_str(), "rb");
  if (!in) return 0;
  int ok = fgetc(in) == 'P' && fgetc(in) == '6';
  int w = headernumber(in), h = headernumber(in);
  ok = ok && headernumber(in) == 255 && w > 0 && h > 0;
  if (ok) {
    f->w = w, f->h = h;
    f->rgb.resize(3 * w * h);
    for (int y = h - 1; y >= 0 && ok; y--)
      ok = fread(&f->rgb[3 * y * w], 3, w, in) == (size_t)w;
  }
  fclose(in);
  return ok;
}

// Share of the ink pixels of `a` (not `abg`) that have ink of `b` (not
// `bbg`) within `r` pixels.
double covered(const frame& a, int abg, const frame& b, int bbg, int r) {
  auto ink = [](const frame& f, int x, int y, int bg) {
    const unsigned char* p = f.at(x, y);
    return std::abs(p[0] - bg) + std::abs(p[1] - bg) + std::abs(p[2] - bg) > 60;
  };
  int n = 0, hit = 0;
  for (int y = r; y < a.h - r; y++)
    for (int x = r; x < a.w - r; x++) {
      if (!ink(a, x, y, abg)) continue;
      n++;
      int found = 0;
      for (int dy = -r; dy <= r && !found; dy++)
        for (int dx = -r; dx <= r && !found; dx++)
          found = ink(b, x + dx, y + dy, bbg);
      hit += found;
    }
  return n ? (double)hit / n : 0;
}

TEST(ScreenAndPage, StrokesFallInTheSamePlaces) {
  std::string bin = TESSARIN_BINARY_DIR, src = TESSARIN_SOURCE_DIR;
  std::string example = src + "/examples/centres.T";
  std::string eps = bin + "/guitest-centres.eps",
              ppm = bin + "/guitest-centres.ppm";
  if (system("gs --version >/dev/null 2>&1") != 0) GTEST_SKIP() << "no gs";
  ASSERT_EQ(loaddiagram(example.c_str()), 1);
  frame screen = drawframe();
  char cmd[2048];
  snprintf(cmd, sizeof cmd, "'%s/tessarin-cli' eps '%s' -o '%s' --size %dx%d",
           bin.c_str(), example.c_str(), eps.c_str(), xsize, ysize);
  ASSERT_EQ(system(cmd), 0) << cmd;
  // One point per pixel: the page is the window's size in points.
  snprintf(cmd, sizeof cmd,
           "gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=ppmraw -r72 -g%dx%d "
           "-sOutputFile='%s' '%s'",
           xsize, ysize, ppm.c_str(), eps.c_str());
  ASSERT_EQ(system(cmd), 0) << cmd;
  frame page;
  ASSERT_TRUE(readppm(ppm, &page));
  ASSERT_EQ(page.w, screen.w);
  ASSERT_EQ(page.h, screen.h);
  // Ink on the black screen against ink on the white page, both ways;
  // labels are set in different fonts, so a little stays unmatched.
  double screenonpage = covered(screen, 0, page, 255, 2);
  double pageonscreen = covered(page, 255, screen, 0, 2);
  EXPECT_GT(screenonpage, 0.85);
  EXPECT_GT(pageonscreen, 0.85);
  // And a shifted page does not match: the comparison can fail.
  frame shifted = page;
  for (int y = 0; y < page.h; y++)
    for (int x = 0; x < page.w; x++)
      for (int c = 0; c < 3; c++)
        shifted.rgb[3 * (y * page.w + x) + c] =
            x >= 12 ? page.at(x - 12, y)[c] : 255;
  EXPECT_LT(covered(screen, 0, shifted, 255, 2), 0.6);
  cleardiagram();
}

}  // namespace
