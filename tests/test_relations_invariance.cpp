// The relation finder finds the same relations wherever a diagram lies,
// however it is turned and however large it is: classical theorems turned
// through a full circle in steps of one degree and scaled from 1e-3 to 1e3
// give the very report they give in their own position.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "engine/recompute.h"
#include "langtest.h"
#include "relations/finder.h"
#include "relations/sampler.h"
#include "relations_helpers.h"

namespace {

struct RelationInvariance : langtest::Lang {};

// Two lines through the origin at the given directions (radians).
void linesat(line* l1, line* l2, double t1, double t2) {
  relhelp::setline(l1, -std::sin(t1), std::cos(t1), 0);
  relhelp::setline(l2, -std::sin(t2), std::cos(t2), 3);
}

// Lines a hair from horizontal or vertical: slopes there run to millions,
// but the angle between two lines is what decides. The tolerance is 0.002
// rad either side of parallel or perpendicular (what a slope tolerance of
// 0.004 gives at 45 degrees, where the slope moves twice as fast).
TEST_F(RelationInvariance, DirectionsCompareByTheirAngle) {
  const double bases[] = {0,        1e-9,
                          1e-6,     1e-4,
                          M_PI / 4, M_PI / 2 - 1e-7,
                          M_PI / 2, M_PI - 1e-8,
                          1.0,      3 * M_PI / 2 + 1e-9};
  // Difference of directions; whether parallel; whether perpendicular.
  const struct {
    double d;
    int par, perp;
  } rows[] = {{0, 1, 0},
              {1e-9, 1, 0},
              {0.0019, 1, 0},
              {-0.0019, 1, 0},
              {0.0021, 0, 0},
              {M_PI, 1, 0},
              {M_PI / 2, 0, 1},
              {M_PI / 2 + 1e-9, 0, 1},
              {-M_PI / 2, 0, 1},
              {M_PI / 2 + 0.0019, 0, 1},
              {M_PI / 2 - 0.0021, 0, 0}};
  line l1, l2;
  for (double b : bases)
    for (const auto& r : rows) {
      linesat(&l1, &l2, b, b + r.d);
      EXPECT_EQ(parallellines(&l1, &l2), r.par) << b << " " << r.d;
      EXPECT_EQ(perpendicularlines(&l1, &l2), r.perp) << b << " " << r.d;
      // Coefficients of any length and sign describe the same lines.
      relhelp::setline(&l2, -1e3 * l2.a, -1e3 * l2.b, 0);
      EXPECT_EQ(parallellines(&l1, &l2), r.par) << b << " " << r.d;
    }
}

int moving(const primitive* p) {
  if (p->type != RW_VERTEX) return 0;
  switch (p->kind) {
    case FREE:
    case PINNED:
    case VONL:
    case VONC:
    case VONCONIC: return 1;
    default: return 0;  // built points follow their parents
  }
}

struct start {
  vertex* v;
  double x, y;
};

// Report of the diagram turned by t about the origin, scaled by s and moved
// by (s, -s), sampled with steps that follow the diagram's size.
std::string turned(const std::vector<start>& pts, double t, double s) {
  for (const start& p : pts) {
    p.v->x = s * (p.x * std::cos(t) - p.y * std::sin(t)) + s;
    p.v->y = s * (p.x * std::sin(t) + p.y * std::cos(t)) - s;
    p.v->satisfied = 0;
  }
  checkconstraints();
  sampletest(12, 0.05, 7);
  return relhelp::body(relhelp::endreport());
}

// The directions that make some line of the diagram horizontal or
// vertical, where slopes were at their worst.
std::vector<double> alignments() {
  std::vector<double> out;
  for (primitive* p = plist; p; p = p->next)
    if (p->type == RW_LINE && p->valid) {
      const line* l = (const line*)p;
      double dir = std::atan2(l->a, -l->b);
      for (int k = 0; k < 4; k++) out.push_back(k * M_PI / 2 - dir);
    }
  return out;
}

TEST_F(RelationInvariance, TheoremsAtEveryDirectionAndScale) {
  const char* files[] = {"midline.T",          "rhombus.T",
                         "euler_line.T",       "miquel.T",
                         "tangent_lengths.T",  "polar_harmonic.T",
                         "polar_inverse.T",    "intersecting_chords.T",
                         "median_area.T",      "cyclic_quadrilateral.T",
                         "trap_axes.T",        "geometric_mean.T",
                         "inscribed_angles.T", "midline_horizontal.T",
                         "ceva_harmonic.T"};
  const double scales[] = {1e-3, 0.03, 1, 30, 1e3};
  for (const char* f : files) {
    std::string path =
        std::string(TESSARIN_SOURCE_DIR) + "/tests/data/theorems/" + f;
    ASSERT_EQ(langtest::readtext(langtest::slurp(path)), 1) << f;
    std::vector<start> pts;
    for (primitive* p = plist; p; p = p->next)
      if (moving(p))
        pts.push_back({(vertex*)p, ((vertex*)p)->x, ((vertex*)p)->y});
    checkconstraints();
    std::vector<double> dirs = alignments();
    for (int deg = 0; deg < 360; deg++) dirs.push_back(deg * M_PI / 180);
    std::string base = turned(pts, 0, 1);
    // A theorem reports something; a trap nothing.
    EXPECT_EQ(base.empty(), std::string(f).rfind("trap", 0) == 0) << f << base;
    int failures = 0;
    for (double s : scales)
      for (double t : dirs) {
        std::string r = turned(pts, t, s);
        if (r != base && failures++ < 3)
          ADD_FAILURE() << f << " turned " << t << " scaled " << s << ":\n"
                        << r << "instead of\n"
                        << base;
      }
  }
}

}  // namespace
