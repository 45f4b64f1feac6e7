// summaryfacts.h: what the summary's rules know of a diagram: straight
// sets of points, direction classes of lines, circles by construction.
// Shared by summary.cpp (angles, directions, groups) and products.cpp.
#pragma once

#include <cstdint>
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

// An open-addressed table from 64-bit keys (never ~0) to ints: the
// summary looks up thousands of points and segments, and a node-based map
// spends that time allocating nodes and dividing by its bucket count.
struct keytable {
  std::vector<uint64_t> keys;
  std::vector<int> values;
  size_t count = 0;
  int shift = 64;
  size_t slot(uint64_t k) const {
    size_t mask = keys.size() - 1;
    size_t i = (size_t)((k * 0x9e3779b97f4a7c15ull) >> shift);
    while (keys[i] != k && keys[i] != ~(uint64_t)0) i = (i + 1) & mask;
    return i;
  }
  // The value of k, or -1.
  int find(uint64_t k) const {
    if (keys.empty()) return -1;
    size_t i = slot(k);
    return keys[i] == k ? values[i] : -1;
  }
  void put(uint64_t k, int v) {
    if (2 * (count + 1) > keys.size()) grow();
    size_t i = slot(k);
    if (keys[i] != k) keys[i] = k, count++;
    values[i] = v;
  }
  void grow() {
    std::vector<uint64_t> k0;
    std::vector<int> v0;
    k0.swap(keys);
    v0.swap(values);
    size_t n = k0.empty() ? 64 : 2 * k0.size();
    keys.assign(n, ~(uint64_t)0);
    values.assign(n, -1);
    shift = 64 - __builtin_ctzll(n);
    count = 0;
    for (size_t i = 0; i < k0.size(); i++)
      if (k0[i] != ~(uint64_t)0) put(k0[i], v0[i]);
  }
};

inline uint64_t pointerkey(const void* p) {
  return (uint64_t)(uintptr_t)p;
}

struct summaryfacts {
  relreport* r;
  int nv, nl, nc;
  // Straight sets: every line's points by construction (node l), then
  // every collinear entry's points (node nl + k for the k-th of them).
  std::vector<std::vector<int>> straight;
  std::vector<int> straightentry;  // entry of a collinear node, else -1
  std::vector<std::vector<uint64_t>> mask;  // the same sets, one bit a point
  std::vector<std::pair<int, int>> sharing;  // (t, s), t < s: two common
                                             // points or more; ascending
  dirclasses def, all;  // the construction alone; with entries
  std::vector<std::vector<int>> circles;  // points on each circle by constr.
  std::vector<int> centre;                // a circle's centre vertex, or -1
  keytable vindex;                        // vertex -> its index (pointerkey)
};

int contains(const std::vector<int>& s, int v);
// Whether point v lies in straight set s.
inline int onstraight(const summaryfacts& f, int s, int v) {
  return (int)(f.mask[s][v >> 6] >> (v & 63)) & 1;
}

// The straight node through a and b: a line first, then (with `reported`)
// a collinear entry; -1 when none.
int straightthrough(const summaryfacts& f, int a, int b, int reported);

// Folds equal segments, equal areas and product lines (products.cpp).
void foldproducts(summaryfacts& f);
