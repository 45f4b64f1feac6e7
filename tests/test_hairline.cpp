// Thin strokes drawn into pixels: their ink against the area and centre
// of the ideal stroke worked out by hand, no pixel painted twice, nothing
// outside the clip box.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "export/hairline.h"

namespace {

const int N = 96;

struct canvas {
  std::vector<uint32_t> px = std::vector<uint32_t>(N * N, 0xffffff);
  hairline h;
  canvas(int x0 = 0, int y0 = 0, int x1 = N, int y1 = N) {
    hairbegin(&h, px.data(), N, 0, x0, y0, x1, y1);
  }
  // Ink of the red channel (black strokes on white), in pixels, and its
  // centre.
  double ink(double* cx = nullptr, double* cy = nullptr) const {
    double sum = 0, sx = 0, sy = 0;
    for (int y = 0; y < N; y++)
      for (int x = 0; x < N; x++) {
        double k = (255 - ((px[y * N + x] >> 16) & 255)) / 255.0;
        sum += k, sx += k * (x + 0.5), sy += k * (y + 0.5);
      }
    if (cx) *cx = sx / sum, *cy = sy / sum;
    return sum;
  }
};

// The ideal cover of each pixel by the rectangle of points within `half`
// of segment ab lengthened by `half` at both ends, sampled 64 x 64 times
// a pixel near it.
std::vector<double> rectangle(double ax, double ay, double bx, double by,
                              double half) {
  std::vector<double> c(N * N);
  double l = hypot(bx - ax, by - ay), ux = (bx - ax) / l, uy = (by - ay) / l;
  for (int j = 0; j < N; j++)
    for (int i = 0; i < N; i++) {
      double cu = (i + 0.5 - ax) * ux + (j + 0.5 - ay) * uy;
      double cs = (i + 0.5 - ax) * uy - (j + 0.5 - ay) * ux;
      if (fabs(cs) > half + 1 || cu < -half - 1 || cu > l + half + 1) continue;
      for (int v = 0; v < 64; v++)
        for (int u = 0; u < 64; u++) {
          double x = i + (u + 0.5) / 64 - ax, y = j + (v + 0.5) / 64 - ay;
          double along = x * ux + y * uy, off = x * uy - y * ux;
          if (fabs(off) <= half && along >= -half && along <= l + half)
            c[j * N + i] += 1 / 4096.0;
        }
    }
  return c;
}

// Segments at each angle and width: every pixel within a tenth of the
// ideal cover beside the segment and a fifth at its ends; the ink within
// 1 % of the ideal's, its centre within a twenty-fifth of a pixel.
TEST(Hairline, SegmentsCoverWhatTheIdealStrokeCovers) {
  const double angles[] = {0, 7, 30, 45, 60, 90, 133};
  const double widths[] = {0.5, 0.8, 1.0, 1.5};
  for (double a : angles)
    for (double w : widths) {
      canvas c;
      c.h.half = w / 2;
      double dx = 30 * cos(a * M_PI / 180), dy = 30 * sin(a * M_PI / 180);
      double ax = 48.2 - dx, ay = 47.9 - dy, bx = 48.2 + dx, by = 47.9 + dy;
      hairmove(&c.h, ax, ay);
      hairlineto(&c.h, bx, by);
      hairpaint(&c.h, 0);
      std::vector<double> ideal = rectangle(ax, ay, bx, by, w / 2);
      double sum = 0, sx = 0, sy = 0;
      for (int j = 0; j < N; j++)
        for (int i = 0; i < N; i++) {
          double k = ideal[j * N + i],
                 got = (255 - (c.px[j * N + i] & 255)) / 255.0;
          sum += k, sx += k * (i + 0.5), sy += k * (j + 0.5);
          double near = std::fmin(hypot(i + 0.5 - ax, j + 0.5 - ay),
                                  hypot(i + 0.5 - bx, j + 0.5 - by));
          EXPECT_NEAR(got, k, near < 1.5 ? 0.2 : 0.1)
              << a << " " << w << " at " << i << "," << j;
        }
      double x, y;
      EXPECT_NEAR(c.ink(&x, &y), sum, 0.01 * sum) << a << " " << w;
      EXPECT_NEAR(x, sx / sum, 0.04) << a << " " << w;
      EXPECT_NEAR(y, sy / sum, 0.04) << a << " " << w;
    }
}

// A circle of radius 30 as an arc: ink 2 pi r w within 3 %, centred, every
// inked pixel within w/2 + 0.71 of the circle. Going back over a path
// paints nothing twice; the clip box holds.
TEST(Hairline, CirclesRetracedPathsAndTheClipBox) {
  canvas c;
  c.h.half = 0.4;
  hairarc(&c.h, 47.3, 48.6, 30, 0, 2 * M_PI, -1);
  hairclose(&c.h);
  hairpaint(&c.h, 0);
  double x, y;
  EXPECT_NEAR(c.ink(&x, &y), 2 * M_PI * 30 * 0.8, 0.03 * 2 * M_PI * 30 * 0.8);
  EXPECT_NEAR(x, 47.3, 0.05);
  EXPECT_NEAR(y, 48.6, 0.05);
  for (int j = 0; j < N; j++)
    for (int i = 0; i < N; i++)
      if (c.px[j * N + i] != 0xffffff) {
        // half the width, half a pixel's diagonal, the flattening
        EXPECT_NEAR(hypot(i + 0.5 - 47.3, j + 0.5 - 48.6), 30, 0.4 + 0.71 + 0.1);
      }

  canvas once, twice;
  for (canvas* k : {&once, &twice}) {
    k->h.half = 0.5;
    hairmove(&k->h, 10, 10.3);
    hairlineto(&k->h, 80, 61);
    if (k == &twice) hairlineto(&k->h, 10, 10.3);
    hairpaint(&k->h, 0x336699);
  }
  EXPECT_EQ(once.px, twice.px);

  canvas clipped(20, 30, 50, 60);
  clipped.h.half = 0.75;
  hairmove(&clipped.h, 0, 45.5);  // the middle of row 45: wholly covered
  hairlineto(&clipped.h, N, 45.5);
  hairpaint(&clipped.h, 0x102030);
  for (int i = 0; i < N; i++)
    EXPECT_EQ(clipped.px[45 * N + i],
              i >= 20 && i < 50 ? 0xff102030u : 0xffffffu)
        << i;
  EXPECT_NEAR(clipped.ink(), 30 * 1.5 * (255 - 0x10) / 255.0, 0.3);
}

// Dashes 4 pixels on, 4 off, started a pixel into the pattern: a line
// from far outside keeps its phase (each pixel of the row covered by the
// share of it the dashes cover, sampled here), round caps add half the
// width at each dash's ends, the pattern runs on across a joint and starts
// afresh on each subpath.
TEST(Hairline, DashesFollowThePatternAlongThePath) {
  for (int capped : {0, 1}) {
    canvas c;
    c.h.half = 0.5;
    hairdash(&c.h, 4, 4, 1, capped);
    hairmove(&c.h, -10000, 40.5);  // the middle of row 40
    hairlineto(&c.h, N, 40.5);
    hairpaint(&c.h, 0);
    double ext = capped ? 0.5 : 0;
    for (int i = 0; i < N; i++) {
      double lit = 0;
      for (int k = 0; k < 1000; k++) {
        double pos = fmod(i + (k + 0.5) / 1000 + 10000 + 1, 8);
        lit += (pos < 4 + ext || pos > 8 - ext) / 1000.0;
      }
      double ink = (255 - (c.px[40 * N + i] & 255)) / 255.0;
      EXPECT_NEAR(ink, lit, 0.01) << i << " capped " << capped;
    }
    EXPECT_NEAR(c.ink(), N * (4 + 2 * ext) / 8, 1);

    canvas one, two;
    for (canvas* k : {&one, &two}) {
      k->h.half = 0.4;
      hairdash(&k->h, 3, 2, 0.7, capped);
      hairmove(&k->h, 10.2, 70.3);
      if (k == &two) hairlineto(&k->h, 23.45, 70.3);
      hairlineto(&k->h, 60, 70.3);
      hairmove(&k->h, 10.2, 80.3);  // afresh, as the first
      hairlineto(&k->h, 60, 80.3);
      hairpaint(&k->h, 0);
    }
    EXPECT_EQ(one.px, two.px);
    for (int i = 0; i < N; i++)
      for (int j = 69; j <= 71; j++)
        EXPECT_EQ(one.px[j * N + i], one.px[(j + 10) * N + i]) << i << " " << j;
  }
}

// Shares worked out by hand: a line across a square clip (corners on
// pixel centres) is cut square where it crosses the edges, a pixel half
// covered there; two squares wound alike clip to their union, wound
// against each other to their difference; along the clip's own edge only
// the inner half of the stroke shows; a bar's butt ends cut its pixels.
TEST(Hairline, PolygonClipsEdgesAndBars) {
  auto square = [](double x0, double y0, double x1, double y1, int turn) {
    std::vector<double> e = {x0, y0, x1, y0, x1, y0, x1, y1,
                             x1, y1, x0, y1, x0, y1, x0, y0};
    if (turn < 0)  // the other way round
      for (size_t i = 0; i < e.size(); i += 4)
        std::swap(e[i], e[i + 2]), std::swap(e[i + 1], e[i + 3]);
    return e;
  };
  auto shade = [](const canvas& c, int x, int y) {
    return (255 - (c.px[y * N + x] & 255)) / 255.0;
  };
  for (int turn : {1, -1}) {
    canvas c;
    c.h.half = 0.5;
    std::vector<double> e = square(20.5, 20.5, 60.5, 60.5, 1);
    std::vector<double> f = square(40.5, 10.5, 80.5, 30.5, turn);
    e.insert(e.end(), f.begin(), f.end());
    hairclip(&c.h, e);
    hairmove(&c.h, 0, 25.5);  // through both squares
    hairlineto(&c.h, N, 25.5);
    hairmove(&c.h, 0, 50.5);  // through the first only
    hairlineto(&c.h, N, 50.5);
    hairpaint(&c.h, 0);
    for (int x = 0; x < N; x++) {
      double in25 = x > 20 && x < 80 && (turn > 0 || x < 40 || x > 60);
      if (x == 20 || x == 80 || (turn < 0 && (x == 40 || x == 60))) in25 = 0.5;
      double in50 = x > 20 && x < 60 ? 1 : x == 20 || x == 60 ? 0.5 : 0;
      EXPECT_NEAR(shade(c, x, 25), in25, 0.01) << x << " turn " << turn;
      EXPECT_NEAR(shade(c, x, 50), in50, 0.01) << x;
    }
  }
  canvas edge;
  edge.h.half = 0.5;
  hairclip(&edge.h, square(20, 30, 60, 70, 1));
  hairedge(&edge.h, 20, 30, 60, 30);  // the top edge
  hairpaint(&edge.h, 0);
  EXPECT_NEAR(shade(edge, 40, 30), 0.5, 0.01);
  EXPECT_NEAR(shade(edge, 40, 29), 0, 0.01);
  EXPECT_NEAR(edge.ink(), 40 * 0.5, 0.3);

  canvas bar;
  bar.h.half = 1;
  hairbar(&bar.h, 10.25, 5.5, 20.75, 5.5);
  hairpaint(&bar.h, 0);
  for (int y = 3; y <= 7; y++)
    for (int x = 9; x <= 21; x++) {
      double across = y == 5 ? 1 : y == 4 || y == 6 ? 0.5 : 0;
      double along = x > 10 && x < 20 ? 1 : x == 10 || x == 20 ? 0.75 : 0;
      EXPECT_NEAR(shade(bar, x, y), across * along, 0.01) << x << " " << y;
    }
}

// The share of pixel (i, j) that the ring of radius r, half width w about
// (cx, cy) covers: exact along each of 256 strips of the pixel's rows.
double ringshare(int i, int j, double cx, double cy, double r, double w) {
  double share = 0;
  for (int k = 0; k < 256; k++) {
    double y = j + (k + 0.5) / 256 - cy, x0 = i - cx, x1 = i + 1 - cx;
    double out = (r + w) * (r + w) - y * y, in = (r - w) * (r - w) - y * y;
    if (out <= 0) continue;
    double xo = sqrt(out), xi = in > 0 ? sqrt(in) : 0;
    for (double sign : {-1, 1}) {  // x from xi to xo on either side
      double lo = sign > 0 ? xi : -xo, hi = sign > 0 ? xo : -xi;
      share += std::max(0.0, std::min(hi, x1) - std::max(lo, x0)) / 256;
    }
  }
  return share;
}

// Whole circles, flattened into pieces that meet at cuts. The pieces
// stray up to a tenth of a pixel either side of the circle (the first and
// last, ending on it, up to 0.15 inside), so each pixel is held to the
// shares of it that the ideal ring covers with its radius moved by
// -0.15 ... 0.1: within 0.045 of the least and the most (the pieces
// bend at their joints, the ring does not). The ink within 2 % of the
// ring's area (the pieces run a little longer than the circle); a half
// circle's too, with the ends lengthened by w (as square caps).
TEST(Hairline, CirclesCoverWhatTheIdealRingCovers) {
  const double cx = 47.3, cy = 48.6;
  const double moved[] = {-0.15, -0.1, -0.05, 0, 0.05, 0.1};
  for (double r : {5.2, 17.9, 40.6})
    for (double w : {0.25, 0.5, 0.75}) {
      canvas c;
      c.h.half = w;
      hairarc(&c.h, cx, cy, r, 0.3, 0.3 + 2 * M_PI, -1);
      hairclose(&c.h);
      hairpaint(&c.h, 0);
      double worst = 0;
      for (int j = 0; j < N; j++)
        for (int i = 0; i < N; i++) {
          double got = (255 - (c.px[j * N + i] & 255)) / 255.0;
          double lo = 1, hi = 0;
          if (fabs(hypot(i + 0.5 - cx, j + 0.5 - cy) - r) > w + 1)
            lo = 0;  // out of reach
          else
            for (double d : moved) {
              double share = ringshare(i, j, cx, cy, r + d, w);
              lo = std::min(lo, share), hi = std::max(hi, share);
            }
          worst = std::max({worst, lo - got, got - hi});
        }
      EXPECT_LT(worst, 0.045) << r << " " << w;
      double area = 4 * M_PI * r * w;
      EXPECT_NEAR(c.ink(), area, 0.02 * area) << r << " " << w;

      canvas half;
      half.h.half = w;
      hairarc(&half.h, cx, cy, r, 0.3, 0.3 + M_PI, -1);
      hairpaint(&half.h, 0);
      double ideal = 2 * M_PI * r * w + 4 * w * w;
      EXPECT_NEAR(half.ink(), ideal, 0.02 * ideal) << r << " " << w;
    }
}

}  // namespace
