// tables.cpp: the index tables a test works on.
//
// Vertices, lines and circles are taken in world-list order; angles sit at
// the corners where two lines meet at a point built on both, segments join
// points built on one line, and triangles close three such segments. Every
// derived item is unique (an angle by apex and unordered ends, a segment by
// unordered ends, a triangle by its point set) and keeps creation order,
// which the candidate lists and the report depend on.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdint>
#include <set>
#include <unordered_map>
#include <unordered_set>

#include "model/worldlist.h"
#include "relations/finder.h"
#include "render/colors.h"

namespace {

uint64_t pairkey(int a, int b) {
  if (a > b) std::swap(a, b);
  return (uint64_t)(uint32_t)a << 32 | (uint32_t)b;
}

void collectprimitives() {
  for (primitive* p = plist; p; p = p->next) {
    switch (p->type) {
      case RW_VERTEX: vertlist.push_back((vertex*)p); break;
      case RW_LINE: linelist.push_back((line*)p); break;
      case RW_CIRCLE: circlist.push_back((circle*)p); break;
      default: break;  // no other record takes part in relations
    }
  }
}

void buildmatrices() {
  size_t nv = vertlist.size(), nl = linelist.size(), nc = circlist.size();
  onlmatrix.assign(nv * nl, 0);
  oncmatrix.assign(nv * nc, 0);
  for (size_t v = 0; v < nv; v++) {
    for (size_t l = 0; l < nl; l++)
      onlmatrix[v * nl + l] = (char)vonldef(vertlist[v], linelist[l]);
    for (size_t c = 0; c < nc; c++)
      oncmatrix[v * nc + c] = (char)voncdef(vertlist[v], circlist[c]);
  }
}

// The first vertex other than k built on line l, or -1.
int firstonline(int l, int k) {
  size_t nl = linelist.size();
  for (size_t v = 0; v < vertlist.size(); v++)
    if ((int)v != k && onlmatrix[v * nl + l]) return (int)v;
  return -1;
}

void buildangles() {
  int nl = (int)linelist.size(), nv = (int)vertlist.size();
  std::set<std::array<int, 3>> seen;  // apex and unordered ends
  for (int i = 0; i < nl; i++) {
    if (!shown(linelist[i])) continue;
    for (int j = i + 1; j < nl; j++) {
      if (!shown(linelist[j])) continue;
      for (int k = 0; k < nv; k++) {
        if (!onlmatrix[k * nl + i] || !onlmatrix[k * nl + j]) continue;
        int p = firstonline(i, k), q = firstonline(j, k);
        if (p < 0 || q < 0 || p == q) continue;
        if (!shown(vertlist[p]) || !shown(vertlist[q]) || !shown(vertlist[k]))
          continue;
        if (!seen.insert({k, std::min(p, q), std::max(p, q)}).second) continue;
        anglelist.push_back({{p, k, q}, 0});
        anglelist.back().cos = findcosine((int)anglelist.size() - 1);
      }
    }
  }
}

// The points of line l that take part, in list order.
void pointsonline(int l, std::vector<int>& on) {
  int nl = (int)linelist.size(), nv = (int)vertlist.size();
  on.clear();
  for (int v = 0; v < nv; v++)
    if (onlmatrix[v * nl + l] && shown(vertlist[v])) on.push_back(v);
}

// Segments the shown lines would give, counted before any is built (a
// line carrying n points gives n(n-1)/2).
double segmentestimate() {
  double n = 0;
  std::vector<int> on;
  for (int l = 0; l < (int)linelist.size(); l++)
    if (shown(linelist[l])) {
      pointsonline(l, on);
      n += (double)on.size() * ((double)on.size() - 1) / 2;
    }
  return n;
}

// Three points built on one line are no triangle in any position.
int onelinedef(int a, int b, int c) {
  int nl = (int)linelist.size();
  for (int l = 0; l < nl; l++)
    if (onlmatrix[a * nl + l] && onlmatrix[b * nl + l] && onlmatrix[c * nl + l])
      return 1;
  return 0;
}

void buildsegments() {
  int nl = (int)linelist.size();
  std::unordered_set<uint64_t> seen;
  std::vector<int> on;
  for (int l = 0; l < nl; l++) {
    if (!shown(linelist[l])) continue;
    pointsonline(l, on);
    for (size_t i = 0; i < on.size(); i++)
      for (size_t j = i + 1; j < on.size(); j++) {
        if (!seen.insert(pairkey(on[i], on[j])).second) continue;
        segmentlist.push_back({{on[i], on[j]}, 0});
        segmentlist.back().len2 =
            findsegmentlength((int)segmentlist.size() - 1);
      }
  }
}

// Three segments close a triangle exactly when the third joins the free
// ends of two that share one end. Segments are unique by their ends, so for
// segments i < j the closing segment is determined, and each point set is
// met once, as segments in ascending order. Returns 0 when there would be
// more than MAXITEMS triangles.
int buildtriangles() {
  int ns = (int)segmentlist.size();
  std::unordered_map<uint64_t, int> segindex;
  std::vector<std::vector<int>> touching(vertlist.size());
  for (int s = 0; s < ns; s++) {
    segindex[pairkey(segmentlist[s].v[0], segmentlist[s].v[1])] = s;
    touching[segmentlist[s].v[0]].push_back(s);
    touching[segmentlist[s].v[1]].push_back(s);
  }
  std::vector<int> later;
  for (int i = 0; i < ns; i++) {
    int a = segmentlist[i].v[0], b = segmentlist[i].v[1];
    later.clear();
    for (int s : touching[a])
      if (s > i) later.push_back(s);
    for (int s : touching[b])
      if (s > i) later.push_back(s);
    std::sort(later.begin(), later.end());
    for (int j : later) {
      const int* e = segmentlist[j].v;
      int shared = (e[0] == a || e[0] == b) ? e[0] : e[1];
      int c = e[0] == shared ? e[1] : e[0];
      int t = shared == a ? b : a;  // the end of i that j does not touch
      auto k = segindex.find(pairkey(t, c));
      if (k == segindex.end() || k->second <= j) continue;
      if (onelinedef(a, b, c)) continue;
      if ((long)trianglelist.size() == MAXITEMS) return 0;
      trianglelist.push_back({{a, b, c}, 0});
      trianglelist.back().area2 =
          findtrianglearea((int)trianglelist.size() - 1);
    }
  }
  return 1;
}

}  // namespace

int shown(const primitive* p) {
  if (!isvisible(p) || !p->valid) return 0;
  switch (p->type) {
    case RW_VERTEX: return ((const vertex*)p)->w != 0;
    case RW_LINE: {
      const line* l = (const line*)p;
      return l->a != 0 || l->b != 0;  // a line needs a direction
    }
    case RW_CIRCLE: {
      // Three collinear points give a centre at infinity (drawn as a line).
      const circle* c = (const circle*)p;
      return c->center.w != 0 && std::isfinite(c->radius);
    }
    default: return 1;  // other records are not indexed
  }
}

char toolarge[200];

int allocateall() {
  freeall();
  toolarge[0] = 0;
  collectprimitives();
  setrelationscale(vertlist);
  buildmatrices();
  if (linelist.size() > 2) buildangles();
  double segments = segmentestimate();
  if (segments > MAXITEMS) {
    snprintf(toolarge, sizeof toolarge, "%.0f segments along its lines",
             segments);
    return 0;
  }
  if (!linelist.empty()) buildsegments();
  if (vertlist.size() > 3 && !buildtriangles()) {
    snprintf(toolarge, sizeof toolarge, "more than %ld triangles", MAXITEMS);
    return 0;
  }
  return 1;
}
