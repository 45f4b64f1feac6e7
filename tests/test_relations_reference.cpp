// The fast searches of the candidate builder against the exhaustive
// definition: on small diagrams with many exact and near ties, the derived
// triangles and every list found through sorting must be the very lists,
// in the very order, that plain nested loops give.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <random>
#include <set>
#include <vector>

#include "model/reset.h"
#include "relations/finder.h"
#include "relations_helpers.h"

using namespace relhelp;

namespace {

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

// Three points built on one line make no triangle.
bool onelinebydefinition(const std::set<int>& pts) {
  for (line* l : linelist) {
    int on = 0;
    for (int v : pts) on += vonldef(vertlist[v], l);
    if (on == 3) return true;
  }
  return false;
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
        // Three distinct pairs over three points: each shares one end with
        // each other.
        if (ends.size() != 3 || onelinebydefinition(ends) ||
            !seen.insert(ends).second)
          continue;
        int third = -1;
        for (int e : ends)
          if (e != s[0][0] && e != s[0][1]) third = e;
        out.push_back({{s[0][0], s[0][1], third}, 0});
      }
  return out;
}

double L(int i) {
  return segmentlist[i].len2;
}
double A(int i) {
  return trianglelist[i].area2;
}
int usable(double a) {
  return 0.0001 < a && a < 100000;
}

// The relation each list holds for an index tuple: its mode, -1 for none.
int equalsegments(const int* m) {
  if (std::fabs(L(m[0]) - L(m[1])) >= 1e-5) return -1;
  return segequaldef(m[0], m[1]) ? -1 : 0;
}
int segmentproduct(const int* m) {
  int mode = goodratio4(L(m[0]), L(m[1]), L(m[2]), L(m[3]));
  return mode ? mode : -1;
}
int meanproportional(const int* m) {
  int mode = goodratio3(L(m[0]), L(m[1]), L(m[2]));
  return mode ? mode : -1;
}
int equalareas(const int* m) {
  return std::fabs(A(m[0]) - A(m[1])) < 0.0001 && usable(A(m[0])) ? 0 : -1;
}
int areaproduct(const int* m) {
  for (int k = 0; k < 4; k++)
    if (!usable(A(m[k]))) return -1;
  double a1 = A(m[0]), a2 = A(m[1]), a3 = A(m[2]), a4 = A(m[3]);
  int mode = -1;
  if (std::fabs(a1 * a2 - a3 * a4) < 1e-5) mode = 1;
  if (std::fabs(a1 * a3 - a2 * a4) < 1e-5) mode = 2;
  if (std::fabs(a1 * a4 - a2 * a3) < 1e-5) mode = 3;
  return mode;
}

// Every increasing k-tuple of indexes below n, in nested-loop order, that
// holds its relation.
candlist exhaustive(int n, int k, int (*mode)(const int*)) {
  candlist out;
  int m[4] = {0, 0, 0, 0};
  std::function<void(int, int)> walk = [&](int depth, int from) {
    if (depth == k) {
      int found = mode(m);
      if (found >= 0) out.push_back({{m[0], m[1], m[2], m[3]}, found, 1});
      return;
    }
    for (m[depth] = from; m[depth] < n; m[depth]++)
      walk(depth + 1, m[depth] + 1);
  };
  walk(0, 0);
  return out;
}

TEST(Reference, FastSearchesMatchTheExhaustiveLoops) {
  const struct {
    candlist* fast;
    bool oftriangles;
    int k;
    int (*mode)(const int*);
  } lists[] = {{&specialsegments, false, 2, equalsegments},
               {&quadseglist, false, 4, segmentproduct},
               {&tripseglist, false, 3, meanproportional},
               {&trianglepairlist, true, 2, equalareas},
               {&trianglequadlist, true, 4, areaproduct}};
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
    total[0] += tri.size();
    for (int i = 0; i < 5; i++) {
      size_t n = lists[i].oftriangles ? tri.size() : segmentlist.size();
      candlist ref = exhaustive((int)n, lists[i].k, lists[i].mode);
      const candlist& fast = *lists[i].fast;
      ASSERT_EQ(fast.size(), ref.size()) << "list " << i << ", seed " << seed;
      for (size_t c = 0; c < ref.size(); c++) {
        for (int k = 0; k < 4; k++)
          ASSERT_EQ(fast[c].m[k], ref[c].m[k])
              << "list " << i << ", seed " << seed << ", node " << c;
        ASSERT_EQ(fast[c].mode, ref[c].mode) << "list " << i << ", " << c;
      }
      total[i + 1] += ref.size();
    }
  }
  resetall();
  // The diagrams are rich enough for the comparison to mean something.
  for (size_t t : total) EXPECT_GT(t, 20u);
}

}  // namespace
