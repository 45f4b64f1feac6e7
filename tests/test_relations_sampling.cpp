// Classical configurations sampled the way `tessarin-cli relations` does:
// what geometry guarantees must survive every sample and be reported, what
// only held in the first position must die.
#include <gtest/gtest.h>

#include <string>

#include "engine/recompute.h"
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

vertex* freev(double x, double y) {
  vertex* v = makevertex(x, y);
  v->kind = FREE;
  addprimitive(v);
  return v;
}

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
  t.a = freev(-0.4, -0.3);
  t.b = freev(0.6, -0.25);
  t.c = freev(0.05, 0.5);
  t.ab = mkl(L_VV, {t.a, t.b});
  t.bc = mkl(L_VV, {t.b, t.c});
  t.ca = mkl(L_VV, {t.c, t.a});
  return t;
}

TEST_F(Sampling, AltitudesAreConcurrent) {
  triangle t = maketriangle();
  mkl(L_VLPERP, {t.a, t.bc});
  mkl(L_VLPERP, {t.b, t.ca});
  mkl(L_VLPERP, {t.c, t.ab});
  EXPECT_EQ(sampledreport(200), "Concurrent lines:\n    (l4) (l5) (l6) \n");
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
  EXPECT_NE(rep.find("Points on a circle:\n    D  E  F  G  H  I  \n"),
            std::string::npos)
      << rep;
  // The feet of two altitudes lie on the circle over the third side.
  EXPECT_NE(rep.find("Points on a circle:\n    B  C  H  I  \n"),
            std::string::npos)
      << rep;
  // Midpoints and feet lie on the sides by construction.
  EXPECT_EQ(rep.find("Points on a line:"), std::string::npos) << rep;
  // The altitudes meet; each is named by its vertex and its foot.
  EXPECT_NE(rep.find("Concurrent lines:\n    (AG) (BH) (CI) \n"),
            std::string::npos)
      << rep;
}

TEST_F(Sampling, PerpendicularsToOneLineAreParallel) {
  vertex* a = freev(-0.5, -0.1);
  vertex* b = freev(0.5, 0.2);
  line* base = mkl(L_VV, {a, b});
  vertex* p = freev(-0.2, 0.5);
  vertex* q = freev(0.3, -0.6);
  mkl(L_VLPERP, {p, base});
  mkl(L_VLPERP, {q, base});
  EXPECT_EQ(sampledreport(200), "Parallel lines:\n    (l2) (l3) \n");
}

TEST_F(Sampling, PolarConstructionGivesTheInverse) {
  vertex* o = freev(0, 0);      // A
  vertex* r = freev(0.4, 0.1);  // B
  circle* k = mkc(C_VV, {o, r});
  vertex* p = freev(0.9, 0.35);  // C
  line* t1 = mkl(L_VC1, {p, k});
  line* t2 = mkl(L_VC2, {p, k});
  vertex* u1 = mkv(V_LC1, {t1, k});  // D
  vertex* u2 = mkv(V_LC1, {t2, k});  // E
  line* chord = mkl(L_VV, {u1, u2});
  line* op = mkl(L_VV, {o, p});
  mkv(V_LL, {chord, op});  // F
  std::string rep = sampledreport(200);
  EXPECT_NE(rep.find("Points C and F are inverse relative to circle c1.\n"),
            std::string::npos)
      << rep;
  // A point built as the inverse is not news; that it lies on the ray from
  // the centre is.
  resetall();
  alerthook = [](const char*) {};
  o = freev(0, 0);
  r = freev(0.4, 0.1);
  k = mkc(C_VV, {o, r});
  p = freev(0.9, 0.35);
  mkv(V_VCINV, {p, k});
  EXPECT_EQ(sampledreport(50), "Points on a line:\n    A  C  D  \n");
}

TEST_F(Sampling, HarmonicFourthPoint) {
  vertex* a = freev(-0.5, -0.2);
  vertex* b = freev(0.5, 0.3);
  line* ab = mkl(L_VV, {a, b});
  vertex* c = makevertex(-0.1, 0);  // C, a third of the way
  c->kind = VONL;
  c->parents[0] = ab;
  addprimitive(c);
  mkv(V_VVVHARMONIC, {a, c, b});  // D
  std::string rep = sampledreport(200);
  EXPECT_NE(rep.find("Points [A B, C D] form an harmonic set.\n"),
            std::string::npos)
      << rep;
}

TEST_F(Sampling, AccidentalRelationsDie) {
  // An isosceles-looking triangle: at the start CA = CB and the base
  // angles are equal; no sample keeps them.
  vertex* a = freev(-0.5, 0);
  vertex* b = freev(0.5, 0);
  vertex* c = freev(0, 0.7);
  mkl(L_VV, {a, b});
  mkl(L_VV, {b, c});
  mkl(L_VV, {c, a});
  std::string first = sampledreport(0);
  EXPECT_NE(first.find("Equal length segments:\n    [B C] [A C] \n"),
            std::string::npos)
      << first;
  EXPECT_NE(first.find("Equal angles:\n"), std::string::npos) << first;
  EXPECT_EQ(sampledreport(200), "");
}

TEST_F(Sampling, SameSeedSameReport) {
  triangle t = maketriangle();
  mkv(V_VVMID, {t.b, t.c});
  mkv(V_VVMID, {t.c, t.a});
  mkl(L_VLPERP, {t.a, t.bc});
  sampletest(20, 0.05, 7);
  std::string first = endreport();
  sampletest(20, 0.05, 7);
  EXPECT_EQ(endreport(), first);
  // The starting position is restored after sampling.
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
  // where its tangent does not exist. The tangent is perpendicular to the
  // radius at its point of contact in every valid draw.
  vertex* o = freev(0, 0);    // A
  vertex* r = freev(0.5, 0);  // B
  circle* k = mkc(C_VV, {o, r});
  vertex* p = freev(0, 0.51);      // C
  line* t = mkl(L_VC1, {p, k});    // l1
  vertex* u = mkv(V_LC1, {t, k});  // D
  mkl(L_VV, {o, u});               // l2
  samplingresult res = sampletest(100, 0.05, 3);
  EXPECT_GT(res.redrawn, 0);
  EXPECT_EQ(res.taken + res.dropped, 100);
  EXPECT_EQ(body(endreport()), "Perpendicular lines:\n    (CD) (AD) \n");
}

}  // namespace
