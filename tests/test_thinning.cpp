// Polylines thinned for the screen: what is left out stays within the
// tolerance, ends and turns are kept, and small curves lose most points.
#include <gtest/gtest.h>

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

// Greatest distance of an input point from the thinned polyline.
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

TEST(Thinning, EllipseStrideFollowsItsSize) {
  // The stride divides the table, and the chord of a stride larger than
  // one stays within a fifth of a pixel.
  for (double r : {2.0, 10.0, 40.0, 100.0, 400.0, 5000.0, 50000.0}) {
    int k = finecirclestep(r);
    EXPECT_EQ(FINECIRCLEPOINTS % k, 0) << r;
    if (k > 1) {
      EXPECT_LE(r * (1 - std::cos(M_PI * k / FINECIRCLEPOINTS)), 0.2) << r;
    }
  }
  EXPECT_EQ(finecirclestep(2), 50);  // a tiny ellipse: 16 points
  EXPECT_EQ(finecirclestep(5000), 2);
  EXPECT_EQ(finecirclestep(50000), 1);
  EXPECT_EQ(finecirclestep(NAN), 1);
  EXPECT_EQ(finecirclestep(-3), 1);
  EXPECT_EQ(finecirclestep(INFINITY), 1);
}

}  // namespace
