// The fast searches of the candidate builder against the exhaustive
// definition: on small diagrams with many exact and near ties, the derived
// triangles and every list found through sorting must be the very lists,
// in the very order, that the plain nested loops give.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <set>
#include <vector>

#include "model/reset.h"
#include "relations/finder.h"
#include "relations_helpers.h"

using namespace relhelp;

namespace {

struct Reference : ::testing::Test {
  void SetUp() override { resetall(); }
  void TearDown() override { resetall(); }
};

// Points on a coarse grid (exact ties in lengths and areas) or, for odd
// seeds, grid points disturbed below the tolerances (near ties); lines
// through pairs; further points on lines, at crossings and at midpoints.
void randomdiagram(unsigned seed) {
  std::mt19937 rng(seed);
  auto coord = [&]() {
    double v = (double)(rng() % 5) * 0.25;
    if (seed % 2) v += (double)(rng() % 3) * 1e-7;
    return v;
  };
  std::vector<primitive*> pts, lines;
  for (int i = 0; i < 6; i++) pts.push_back(pt(coord(), coord()));
  for (int i = 0; i < 7; i++) {
    primitive* a = pts[rng() % pts.size()];
    primitive* b = pts[rng() % pts.size()];
    if (a != b) lines.push_back(ln(L_VV, a, b));
  }
  for (int i = 0; i < 10; i++) {
    int k = (int)(rng() % 3);
    primitive* l1 = lines[rng() % lines.size()];
    primitive* l2 = lines[rng() % lines.size()];
    if (k == 0) pts.push_back(pt(coord(), coord(), VONL, l1));
    if (k == 1 && l1 != l2) pts.push_back(pt(coord(), coord(), V_LL, l1, l2));
    if (k == 2) {
      primitive* a = pts[rng() % pts.size()];
      primitive* b = pts[rng() % pts.size()];
      if (a != b) pts.push_back(pt(coord(), coord(), V_VVMID, a, b));
    }
  }
}

std::vector<trianglerec> referencetriangles() {
  std::vector<trianglerec> out;
  std::set<std::set<int>> seen;
  int n = (int)segmentlist.size();
  for (int i = 0; i < n; i++)
    for (int j = i + 1; j < n; j++)
      for (int k = j + 1; k < n; k++) {
        const int* s[3] = {segmentlist[i].v, segmentlist[j].v,
                           segmentlist[k].v};
        std::set<int> ends = {s[0][0], s[0][1], s[1][0],
                              s[1][1], s[2][0], s[2][1]};
        if (ends.size() != 3) continue;
        // Three distinct pairs over three points: each shares one end with
        // each other.
        int third = -1;
        for (int e : ends)
          if (e != s[0][0] && e != s[0][1]) third = e;
        if (!seen.insert(ends).second) continue;
        out.push_back({{s[0][0], s[0][1], third}, 0});
      }
  return out;
}

candlist referenceequalsegments() {
  candlist out;
  int n = (int)segmentlist.size();
  for (int i = 0; i < n; i++)
    for (int j = i + 1; j < n; j++)
      if (std::fabs(segmentlist[i].len2 - segmentlist[j].len2) < 1e-5 &&
          !segequaldef(i, j))
        out.push_back({{i, j, 0, 0}, 0, 1});
  return out;
}

candlist referencesegmentproducts() {
  candlist out;
  int n = (int)segmentlist.size();
  auto L = [](int i) { return segmentlist[i].len2; };
  for (int i = 0; i < n; i++)
    for (int j = i + 1; j < n; j++)
      for (int k = j + 1; k < n; k++)
        for (int l = k + 1; l < n; l++) {
          int mode = goodratio4(L(i), L(j), L(k), L(l));
          if (mode) out.push_back({{i, j, k, l}, mode, 1});
        }
  return out;
}

candlist referencemeanproportionals() {
  candlist out;
  int n = (int)segmentlist.size();
  auto L = [](int i) { return segmentlist[i].len2; };
  for (int i = 0; i < n; i++)
    for (int j = i + 1; j < n; j++)
      for (int k = j + 1; k < n; k++) {
        int mode = goodratio3(L(i), L(j), L(k));
        if (mode) out.push_back({{i, j, k, 0}, mode, 1});
      }
  return out;
}

int usable(double a) {
  return 0.0001 < a && a < 100000;
}

candlist referenceequalareas() {
  candlist out;
  int n = (int)trianglelist.size();
  for (int i = 0; i < n; i++)
    for (int j = i + 1; j < n; j++) {
      double a = trianglelist[i].area2, b = trianglelist[j].area2;
      if (std::fabs(a - b) < 0.0001 && usable(a))
        out.push_back({{i, j, 0, 0}, 0, 1});
    }
  return out;
}

candlist referenceareaproducts() {
  candlist out;
  int n = (int)trianglelist.size();
  auto A = [](int i) { return trianglelist[i].area2; };
  for (int i = 0; i < n; i++)
    for (int j = i + 1; j < n; j++)
      for (int k = j + 1; k < n; k++)
        for (int l = k + 1; l < n; l++) {
          if (!usable(A(i)) || !usable(A(j)) || !usable(A(k)) || !usable(A(l)))
            continue;
          double a1 = A(i), a2 = A(j), a3 = A(k), a4 = A(l);
          int mode = 0;
          if (std::fabs(a1 * a2 - a3 * a4) < 1e-5) mode = 1;
          if (std::fabs(a1 * a3 - a2 * a4) < 1e-5) mode = 2;
          if (std::fabs(a1 * a4 - a2 * a3) < 1e-5) mode = 3;
          if (mode) out.push_back({{i, j, k, l}, mode, 1});
        }
  return out;
}

void expectsame(const candlist& fast, const candlist& ref, const char* what,
                unsigned seed) {
  ASSERT_EQ(fast.size(), ref.size()) << what << ", seed " << seed;
  for (size_t n = 0; n < ref.size(); n++) {
    for (int k = 0; k < 4; k++)
      ASSERT_EQ(fast[n].m[k], ref[n].m[k])
          << what << ", seed " << seed << ", node " << n;
    ASSERT_EQ(fast[n].mode, ref[n].mode) << what << ", node " << n;
  }
}

TEST_F(Reference, FastSearchesMatchTheExhaustiveLoops) {
  size_t total[6] = {0, 0, 0, 0, 0, 0};
  for (unsigned seed = 1; seed <= 24; seed++) {
    resetall();
    randomdiagram(seed);
    begindiagramtest();
    std::vector<trianglerec> tri = referencetriangles();
    ASSERT_EQ(trianglelist.size(), tri.size()) << "seed " << seed;
    for (size_t n = 0; n < tri.size(); n++)
      for (int k = 0; k < 3; k++)
        ASSERT_EQ(trianglelist[n].v[k], tri[n].v[k]) << "seed " << seed;
    expectsame(specialsegments, referenceequalsegments(), "equal segments",
               seed);
    expectsame(quadseglist, referencesegmentproducts(), "segment products",
               seed);
    expectsame(tripseglist, referencemeanproportionals(), "means", seed);
    expectsame(trianglepairlist, referenceequalareas(), "equal areas", seed);
    expectsame(trianglequadlist, referenceareaproducts(), "area products",
               seed);
    total[0] += trianglelist.size();
    total[1] += specialsegments.size();
    total[2] += quadseglist.size();
    total[3] += tripseglist.size();
    total[4] += trianglepairlist.size();
    total[5] += trianglequadlist.size();
  }
  // The diagrams are rich enough for the comparison to mean something.
  for (size_t t : total) EXPECT_GT(t, 20u);
}

}  // namespace
