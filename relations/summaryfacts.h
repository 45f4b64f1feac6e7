// summaryfacts.h: what the summary's rules know of a diagram: straight
// sets of points, direction classes of lines, circles by construction.
// Shared by summary.cpp (angles, directions, groups) and products.cpp.
#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "relations/report.h"

struct primitive;

// Direction classes: union-find with a parity (0 parallel, 1 turned by a
// right angle); each link remembers the entry that made it (-1: the
// construction).
struct dirclasses {
  std::vector<int> parent, parity, via;
  int add();
  // Root and parity of n; the entries on the way are added to `vias`.
  int find(int n, int* par, std::vector<int>* vias = nullptr) const;
  void join(int a, int b, int par, int why);
};

struct summaryfacts {
  relreport* r;
  int nv, nl, nc;
  // Straight sets: every line's points by construction (node l), then
  // every collinear entry's points (node nl + k for the k-th of them).
  std::vector<std::vector<int>> straight;
  std::vector<int> straightentry;  // entry of a collinear node, else -1
  std::vector<std::vector<uint64_t>> mask;  // the same sets, one bit a point
  dirclasses def, all;  // the construction alone; with entries
  std::vector<std::vector<int>> circles;  // points on each circle by constr.
  std::vector<int> centre;                // a circle's centre vertex, or -1
  std::unordered_map<const primitive*, int> vindex;
};

int contains(const std::vector<int>& s, int v);
// Whether point v lies in straight set s.
inline int onstraight(const summaryfacts& f, int s, int v) {
  return (int)(f.mask[s][v >> 6] >> (v & 63)) & 1;
}
// How many points two straight sets share.
int sharedcount(const summaryfacts& f, int s, int t);
// The straight node through a and b: a line first, then (with `reported`)
// a collinear entry; -1 when none.
int straightthrough(const summaryfacts& f, int a, int b, int reported);

// Folds equal segments, equal areas and product lines (products.cpp).
void foldproducts(summaryfacts& f);
