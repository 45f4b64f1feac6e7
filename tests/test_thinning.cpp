// Polylines thinned for the screen: what is left out stays within the
// tolerance, ends and turns are kept, and small curves lose most points.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "render/shapes.h"
#include "render/thinning.h"

namespace {

std::vector<wpoint> thin(const std::vector<wpoint>& in, double tol) {
  thinning t;
  thinbegin(&t, tol);
  std::vector<wpoint> out;
  wpoint k;
  for (const wpoint& p : in)
    if (thinput(&t, p, &k)) out.push_back(k);
  if (thinend(&t, &k)) out.push_back(k);
  return out;
}

double segdist(wpoint p, wpoint a, wpoint b) {
  double dx = b.x - a.x, dy = b.y - a.y, l2 = dx * dx + dy * dy;
  double t = l2 > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / l2 : 0;
  t = t < 0 ? 0 : t > 1 ? 1 : t;
  return std::hypot(p.x - a.x - t * dx, p.y - a.y - t * dy);
}

// Greatest distance of a point of `in` from the polyline `out`.
double straying(const std::vector<wpoint>& in, const std::vector<wpoint>& out) {
  double worst = 0;
  for (const wpoint& p : in) {
    double d = 1e300;
    for (size_t i = 0; i + 1 < out.size(); i++)
      d = std::min(d, segdist(p, out[i], out[i + 1]));
    worst = std::max(worst, d);
  }
  return worst;
}

std::vector<wpoint> circle(double r, int n) {
  std::vector<wpoint> c;
  for (int i = 0; i <= n; i++)
    c.push_back(
        {r * std::cos(i * 2 * M_PI / n), r * std::sin(i * 2 * M_PI / n)});
  return c;
}

TEST(Thinning, CurvesStayWithinTheTolerance) {
  // A 20-pixel circle of the 800-point table in pixel units.
  std::vector<wpoint> c = circle(20, 800);
  std::vector<wpoint> t = thin(c, 0.25);
  EXPECT_LT(t.size(), 60u);
  EXPECT_GT(t.size(), 15u);
  EXPECT_LE(straying(c, t), 0.25 + 1e-9);
  // The loop is still closed: it ends where it began.
  EXPECT_DOUBLE_EQ(t.front().x, 20);
  EXPECT_NEAR(t.back().x, t.front().x, 1e-9);
  EXPECT_NEAR(t.back().y, t.front().y, 1e-9);
  // A big circle keeps every point of a coarse table.
  std::vector<wpoint> big = circle(2000, 80);
  EXPECT_EQ(thin(big, 0.25).size(), big.size());
  // A tolerance of zero keeps every point of a curve.
  EXPECT_EQ(thin(c, 0).size(), c.size());
}

TEST(Thinning, EndsTurnsAndShortPaths) {
  // A straight run of many points becomes a few long segments (one chord
  // replaces at most THINHELD + 1 steps).
  std::vector<wpoint> line;
  for (int i = 0; i <= 100; i++) line.push_back({i * 0.5, i * 0.25});
  std::vector<wpoint> t = thin(line, 0.25);
  EXPECT_EQ(t.size(), 2u + 100 / (THINHELD + 1));
  EXPECT_DOUBLE_EQ(t.back().x, 50);
  EXPECT_LE(straying(line, t), 1e-9);
  // Out along a line and back: the far end is kept although it lies on
  // the chord's line.
  std::vector<wpoint> hairpin = {{0, 0}, {5, 0}, {10, 0}, {5, 0}, {1, 0}};
  t = thin(hairpin, 0.25);
  ASSERT_GE(t.size(), 3u);
  EXPECT_LE(straying(hairpin, t), 0.25);
  bool tip = false;
  for (const wpoint& p : t) tip = tip || p.x == 10;
  EXPECT_TRUE(tip);
  // A right-angle corner is kept.
  t = thin({{0, 0}, {10, 0}, {10, 10}}, 0.25);
  EXPECT_EQ(t.size(), 3u);
  // One point, two points, nothing.
  EXPECT_EQ(thin({{3, 4}}, 0.25).size(), 1u);
  EXPECT_EQ(thin({{3, 4}, {3, 4}}, 0.25).size(), 2u);
  EXPECT_EQ(thin({}, 0.25).size(), 0u);
  // A long wobble within the tolerance is cut into chords of at most
  // THINHELD + 1 steps, so a chord never hides an unbounded stretch.
  std::vector<wpoint> wobble;
  for (int i = 0; i <= 200; i++) wobble.push_back({(double)i, (i % 2) * 0.1});
  t = thin(wobble, 0.25);
  EXPECT_GE(t.size(), 200u / (THINHELD + 1));
  EXPECT_LE(straying(wobble, t), 0.25);
}

TEST(Thinning, CircleChordsStraddleWithinTheTolerance) {
  // Strides and factors worked out at 30 digits (mpmath): the half-angle a
  // of a chord may reach 2 atan(sqrt(tol / R)), the factor is
  // 1 + tan^2(a / 2); `inside` is the stride of chords whose ends lie on
  // the circle, acos(1 - tol / R) n / pi. Where 2 a R exceeds
  // LONGESTCHORD, a is cut to LONGESTCHORD / (2 R) and `inside` is 0. With
  // `ry` set the row is an ellipse of semi-axes r and ry, drawn with the
  // stride of its larger one.
  struct row {
    double r, tol;
    int n, step;
    double factor;
    int inside;
    double ry;
  };
  const row rows[] = {{30, 0.5, 80, 6, 1.0140085687358, 4, 0},
                      {52, 0.5, 80, 4, 1.00619395865711, 3, 0},
                      {100, 0.5, 80, 2, 1.00154371250867, 0, 0},
                      {2, 0.5, 80, 23, 1.23525876979068, 18, 0},
                      {1000, 0.25, 800, 2, 1.00001542141542, 0, 0},
                      {1000, 0.5, 80, 1, 1, 1, 0},
                      {60, 0.5, 800, 42, 1.00683172721831, 0, 7},
                      {28, 0.5, 800, 67, 1.01750815832925, 48, 20}};
  for (const row& w : rows) {
    double f;
    int step = straddlestep(w.r, w.tol, w.n, &f);
    EXPECT_EQ(step, w.step) << w.r;
    EXPECT_NEAR(f, w.factor, 1e-12) << w.r;
    if (step == 1) continue;  // the table as it is: coarser than asked
    // The drawn loop, closing by a shorter chord, against the curve
    // sampled finely: nowhere further than the tolerance either way.
    double ry = w.ry > 0 ? w.ry : w.r;
    std::vector<wpoint> loop, curve;
    for (int i = 0;; i = std::min(i + step, w.n)) {
      double t = 2 * M_PI * i / w.n;
      loop.push_back({w.r * f * std::cos(t), ry * f * std::sin(t)});
      if (i == w.n) break;
    }
    for (int k = 0; k <= 5000; k++) {
      double t = 2 * M_PI * k / 5000;
      curve.push_back({w.r * std::cos(t), ry * std::sin(t)});
    }
    double worst = straying(curve, loop);
    EXPECT_LE(worst, w.tol + 1e-9) << w.r;
    EXPECT_LE(straying(loop, curve), w.tol + 1e-6) << w.r;
    for (size_t j = 0; j + 1 < loop.size(); j++)
      EXPECT_LE(
          std::hypot(loop[j + 1].x - loop[j].x, loop[j + 1].y - loop[j].y),
          LONGESTCHORD)
          << w.r;
    if (!w.inside) continue;
    EXPECT_GT(worst, w.tol / 2) << w.r;  // the allowance is used
    EXPECT_LT(loop.size() - 1, (size_t)(w.n + w.inside - 1) / w.inside);
  }
  double f = 0;
  for (double bad : {(double)NAN, -3.0, 0.0, (double)INFINITY}) {
    EXPECT_EQ(straddlestep(bad, 0.5, 80, &f), 1);
    EXPECT_EQ(f, 1);
  }
}

}  // namespace
