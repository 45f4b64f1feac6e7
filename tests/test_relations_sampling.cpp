// Configurations sampled the way `tessarin-cli relations` does: what
// geometry guarantees survives every sample, what only held in the first
// position dies, and the sampler's own draws.
#include <gtest/gtest.h>

#include <string>

#include "model/notify.h"
#include "model/reset.h"
#include "relations/finder.h"
#include "relations/sampler.h"
#include "relations_helpers.h"

using namespace relhelp;

namespace {

struct Sampling : ::testing::Test {
  void SetUp() override {
    resetall();
    alerthook = [](const char*) {};
  }
  void TearDown() override { resetall(); }
};

std::string sampledreport(int samples, uint64_t seed = 1) {
  sampletest(samples, 0.05, seed);
  return body(endreport());
}

// A triangle ABC with its sides l1 = AB, l2 = BC, l3 = CA.
struct triangle {
  vertex *a, *b, *c;
  line *ab, *bc, *ca;
};

triangle maketriangle() {
  triangle t;
  t.a = pt(-0.4, -0.3);
  t.b = pt(0.6, -0.25);
  t.c = pt(0.05, 0.5);
  t.ab = mkl(L_VV, {t.a, t.b});
  t.bc = mkl(L_VV, {t.b, t.c});
  t.ca = mkl(L_VV, {t.c, t.a});
  return t;
}

TEST_F(Sampling, NinePointCircle) {
  triangle t = maketriangle();
  mkv(V_VVMID, {t.b, t.c});  // D
  mkv(V_VVMID, {t.c, t.a});  // E
  mkv(V_VVMID, {t.a, t.b});  // F
  line* ha = mkl(L_VLPERP, {t.a, t.bc});
  line* hb = mkl(L_VLPERP, {t.b, t.ca});
  line* hc = mkl(L_VLPERP, {t.c, t.ab});
  mkv(V_LL, {ha, t.bc});  // G
  mkv(V_LL, {hb, t.ca});  // H
  mkv(V_LL, {hc, t.ab});  // I
  std::string rep = sampledreport(200);
  // The feet of two altitudes lie on the circle over the third side; the
  // altitudes meet, each named by its vertex and its foot.
  for (const char* part : {"Points on a circle:\n    D  E  F  G  H  I  \n",
                           "Points on a circle:\n    B  C  H  I  \n",
                           "Concurrent lines:\n    (AG) (BH) (CI) \n"})
    EXPECT_NE(rep.find(part), std::string::npos) << part << rep;
  // Midpoints and feet lie on the sides by construction.
  EXPECT_EQ(rep.find("Points on a line:"), std::string::npos) << rep;
}

TEST_F(Sampling, BuiltInverseIsNotNewsItsRayIs) {
  vertex* o = pt(0, 0);
  circle* k = mkc(C_VV, {o, pt(0.4, 0.1)});
  mkv(V_VCINV, {pt(0.9, 0.35), k});
  EXPECT_EQ(sampledreport(50), "Points on a line:\n    A  C  D  \n");
}

TEST_F(Sampling, TheStartIsRestoredAndDrawsCoverTheStep) {
  triangle t = maketriangle();
  mkv(V_VVMID, {t.b, t.c});
  mkl(L_VLPERP, {t.a, t.bc});
  sampletest(20, 0.05, 7);
  endreport();
  EXPECT_DOUBLE_EQ(t.a->x, -0.4);
  EXPECT_DOUBLE_EQ(t.c->y, 0.5);

  uint64_t s1 = 7, s2 = 7, s3 = 8;
  EXPECT_EQ(nextrandom(&s1), nextrandom(&s2));
  EXPECT_NE(nextrandom(&s1), nextrandom(&s3));
  double lo = 1, hi = -1;
  for (int i = 0; i < 10000; i++) {
    double d = randomoffset(&s1, 0.05);
    lo = std::min(lo, d);
    hi = std::max(hi, d);
  }
  EXPECT_GE(lo, -0.05);
  EXPECT_LE(hi, 0.05);
  EXPECT_LT(lo, -0.049);  // the whole range is used
  EXPECT_GT(hi, 0.049);
}

TEST_F(Sampling, InvalidDrawsAreDrawnAgain) {
  // A point just outside a circle: about half the draws put it inside,
  // where its tangent does not exist. In every valid draw the tangent is
  // perpendicular to the radius at its point of contact.
  vertex* o = pt(0, 0);                    // A
  circle* k = mkc(C_VV, {o, pt(0.5, 0)});  // through B
  line* t = mkl(L_VC1, {pt(0, 0.51), k});  // from C
  mkl(L_VV, {o, mkv(V_LC1, {t, k})});      // to D
  samplingresult res = sampletest(100, 0.05, 3);
  EXPECT_GT(res.redrawn, 0);
  EXPECT_EQ(res.taken + res.dropped, 100);
  EXPECT_EQ(body(endreport()), "Perpendicular lines:\n    (CD) (AD) \n");
}

}  // namespace
