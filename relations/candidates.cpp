// candidates.cpp: the relations that hold in the position a test starts in.
//
// Each list is defined exhaustively: every tuple of items in ascending index
// order (i < j < k < l) that passes its predicate and is not true by
// construction becomes a node, in that order. Tuples of points, lines and
// circles are enumerated so. Equal lengths and areas, and the product
// identities over four segments or triangles, are found through sorted
// values and sorted pairwise products instead: a tolerance window around
// each value finds every tuple the exhaustive loops would accept, the exact
// predicate then decides, and sorting the tuples restores the exhaustive
// order. The tests keep the exhaustive loops as a reference.
//
// A large diagram makes this slow, so every step reports how far it has
// come, weighted by the number of tuples it examines, and every outer loop
// stops as soon as `stopbuilding` is set (by the user through the progress
// hook, or by the candidate limit).
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

#include "relations/finder.h"

progressfn testprogresshook;
long maxcandidates = DEFAULTMAXCANDIDATES;
double maxwork = DEFAULTMAXWORK;
long candidatecount;
int stopbuilding;

namespace {

// Estimated tuples of all steps, of the steps already done and of the
// current one.
double worktotal, workdone, stepwork;

void reportprogress(double fraction) {
  if (!testprogresshook || !(worktotal > 0)) return;
  double done = (workdone + fraction * stepwork) / worktotal;
  int percent = (int)(100 * done);
  testprogresshook(percent < 0 ? 0 : percent > 99 ? 99 : percent);
}

void beginstep(double work) {
  workdone += stepwork;
  stepwork = work;
  reportprogress(0);
}

// Share of a loop nest of `depth` levels (i < j < ...) done when its outer
// index reaches i of n: early outer indexes carry the most tuples.
void nestprogress(int i, int n, int depth) {
  double rest = n > 0 ? (double)(n - i) / n : 0;
  double left = 1;
  for (int d = 0; d < depth; d++) left *= rest;
  reportprogress(1 - left);
}

std::vector<char> visv, visl, visc;  // visibility when the test starts

int nv() {
  return (int)vertlist.size();
}
int nl() {
  return (int)linelist.size();
}
int nc() {
  return (int)circlist.size();
}
int onl(int v, int l) {
  return onlmatrix[(size_t)v * nl() + l];
}
int onc(int v, int c) {
  return oncmatrix[(size_t)v * nc() + c];
}

// Past `maxcandidates` nothing more is kept and the building stops.
void push(candlist& list, int a, int b, int c, int d, int mode) {
  if (++candidatecount > maxcandidates) {
    stopbuilding = 1;
    return;
  }
  list.push_back({{a, b, c, d}, mode, 1});
}

void setvisibility() {
  visv.resize(nv());
  visl.resize(nl());
  visc.resize(nc());
  for (int i = 0; i < nv(); i++) visv[i] = (char)(shown(vertlist[i]) != 0);
  for (int i = 0; i < nl(); i++) visl[i] = (char)(shown(linelist[i]) != 0);
  for (int i = 0; i < nc(); i++) visc[i] = (char)(shown(circlist[i]) != 0);
}

int isinverseof(const vertex* v, const vertex* of, const circle* c) {
  return v->kind == V_VCINV && v->parents[0] == of && v->parents[1] == c;
}

void findinverses() {
  for (int i = 0; i < nv() && !stopbuilding; i++) {
    nestprogress(i, nv(), 2);
    if (!visv[i]) continue;
    for (int j = i + 1; j < nv(); j++) {
      if (!visv[j]) continue;
      const vertex *a = vertlist[i], *b = vertlist[j];
      for (int c = 0; c < nc(); c++) {
        if (!visc[c] || !inversetest(a, b, circlist[c])) continue;
        if (isinverseof(a, b, circlist[c]) || isinverseof(b, a, circlist[c]))
          continue;
        if (equalvertices(a, b)) continue;
        push(inverselist, i, j, c, 0, 0);
      }
    }
  }
}

int pointonall(int i, int j, int k) {
  for (int v = 0; v < nv(); v++)
    if (onc(v, i) && onc(v, j) && onc(v, k)) return 1;
  return 0;
}

void findconcurrentcircles() {
  for (int i = 0; i < nc() && !stopbuilding; i++, nestprogress(i, nc(), 3))
    for (int j = i + 1; j < nc(); j++)
      for (int k = j + 1; k < nc(); k++) {
        if (!visc[i] || !visc[j] || !visc[k]) continue;
        if (!concurrentcircles(circlist[i], circlist[j], circlist[k])) continue;
        if (!pointonall(i, j, k)) push(threecircles, i, j, k, 0, 0);
      }
}

void findspeciallines() {
  for (int i = 0; i < nl() && !stopbuilding; i++, nestprogress(i, nl(), 2))
    for (int j = i + 1; j < nl(); j++) {
      if (!visl[i] || !visl[j]) continue;
      const line *a = linelist[i], *b = linelist[j];
      if (parallellines(a, b) && !lpardef(a, b) && !equallines(a, b))
        push(speciallines, i, j, 0, 0, 1);
      else if (perpendicularlines(a, b) && !lperpdef(a, b))
        push(speciallines, i, j, 0, 0, 2);
    }
}

void findspecialangles() {
  int n = (int)anglelist.size();
  for (int i = 0; i < n && !stopbuilding; i++, nestprogress(i, n, 2))
    for (int j = i + 1; j < n; j++) {
      int mode = equalangles(i, j)     ? 3
                 : complementary(i, j) ? 1
                 : supplementary(i, j) ? 2
                                       : 0;
      if (mode) push(specialangles, i, j, 0, 0, mode);
    }
}

// Index pairs i < j with |v[i] - v[j]| < tol, in ascending order.
std::vector<std::array<int, 2>> closepairs(const std::vector<double>& v,
                                           const std::vector<int>& items,
                                           double tol) {
  std::vector<int> order;
  for (int i : items)
    if (!std::isnan(v[i])) order.push_back(i);
  std::sort(order.begin(), order.end(),
            [&](int a, int b) { return v[a] < v[b]; });
  std::vector<std::array<int, 2>> out;
  for (size_t p = 0; p < order.size(); p++)
    for (size_t q = p + 1; q < order.size(); q++) {
      int a = order[p], b = order[q];
      if (!(v[b] - v[a] < tol)) break;
      if (std::fabs(v[a] - v[b]) < tol)
        out.push_back({std::min(a, b), std::max(a, b)});
    }
  std::sort(out.begin(), out.end());
  return out;
}

std::vector<double> segmentlengths() {
  std::vector<double> v;
  for (const segmentrec& s : segmentlist) v.push_back(s.len2);
  return v;
}

std::vector<double> triangleareas() {
  std::vector<double> v;
  for (const trianglerec& t : trianglelist) v.push_back(t.area2);
  return v;
}

std::vector<int> allitems(int n) {
  std::vector<int> v(n);
  for (int i = 0; i < n; i++) v[i] = i;
  return v;
}

void findequalsegments() {
  std::vector<double> len = segmentlengths();
  for (auto& p : closepairs(len, allitems((int)len.size()), areatol(1e-5)))
    if (!segequaldef(p[0], p[1])) push(specialsegments, p[0], p[1], 0, 0, 0);
}

void findrightangles() {
  for (int i = 0; i < (int)anglelist.size(); i++)
    if (std::fabs(anglelist[i].cos) < 0.0001) push(righta, i, 0, 0, 0, 0);
}

int coincide(const int* q, int n) {
  for (int a = 0; a < n; a++)
    for (int b = a + 1; b < n; b++)
      if (equalvertices(vertlist[q[a]], vertlist[q[b]])) return 1;
  return 0;
}

// Circles make a concyclic set uninteresting when one carries all four
// points by construction; the coincidence test is bound to the circles.
int concyclicbydefinition(const int* q) {
  for (int c = 0; c < nc(); c++) {
    if (onc(q[0], c) && onc(q[1], c) && onc(q[2], c) && onc(q[3], c)) return 1;
    if (coincide(q, 4)) return 1;
  }
  return 0;
}

void findconcyclic() {
  for (int i = 0; i < nv() && !stopbuilding; i++, nestprogress(i, nv(), 4))
    for (int j = i + 1; j < nv() && !stopbuilding; j++)
      for (int k = j + 1; k < nv(); k++) {
        if (!visv[i] || !visv[j] || !visv[k]) continue;
        const vertex *a = vertlist[i], *b = vertlist[j], *c = vertlist[k];
        if (threevonlp(a, b, c)) continue;  // fourvoncp refuses these
        for (int l = k + 1; l < nv(); l++) {
          if (!visv[l] || !fourvoncp(a, b, c, vertlist[l])) continue;
          int q[4] = {i, j, k, l};
          if (!concyclicbydefinition(q)) push(fourvonc, i, j, k, l, 0);
        }
      }
}

struct product {
  double p;
  int x, y;  // x < y
};

// Every pairwise product of distinct items, sorted; products that can match
// nothing (not finite) are left out.
std::vector<product> sortedproducts(const std::vector<double>& v,
                                    const std::vector<int>& items) {
  std::vector<product> out;
  for (size_t a = 0; a < items.size(); a++)
    for (size_t b = a + 1; b < items.size(); b++) {
      int x = items[a], y = items[b];
      double p = v[x] * v[y];
      if (std::isfinite(p)) out.push_back({p, std::min(x, y), std::max(x, y)});
    }
  std::sort(out.begin(), out.end(),
            [](const product& a, const product& b) { return a.p < b.p; });
  return out;
}

// Sorted, distinct 4-tuples of items with two disjoint pairs whose products
// are the same to t (sameproduct at the unit of products): a superset of
// the tuples the exhaustive product tests accept. Products are never
// negative, so the later of two sorted ones is the larger.
std::vector<std::array<int, 4>> productquads(const std::vector<double>& v,
                                             const std::vector<int>& items,
                                             double t) {
  double unit = productunit();
  std::vector<product> pr = sortedproducts(v, items);
  std::vector<std::array<int, 4>> out;
  for (size_t a = 0; a < pr.size() && !stopbuilding;
       a++, nestprogress((int)a, (int)pr.size(), 1))
    for (size_t b = a + 1; b < pr.size(); b++) {
      if (!(pr[b].p - pr[a].p < t * std::max(unit, pr[b].p))) break;
      int x = pr[a].x, y = pr[a].y, z = pr[b].x, w = pr[b].y;
      if (x == z || x == w || y == z || y == w) continue;
      std::array<int, 4> t = {x, y, z, w};
      std::sort(t.begin(), t.end());
      out.push_back(t);
    }
  std::sort(out.begin(), out.end());
  out.erase(std::unique(out.begin(), out.end()), out.end());
  return out;
}

void findsegmentproducts() {
  std::vector<double> len = segmentlengths();
  for (auto& t : productquads(len, allitems((int)len.size()), 1e-5)) {
    int mode = goodratio4(len[t[0]], len[t[1]], len[t[2]], len[t[3]]);
    if (mode) push(quadseglist, t[0], t[1], t[2], t[3], mode);
  }
}

// Sorted, distinct 3-tuples where one item's square is the same to t as
// the product of the two others.
std::vector<std::array<int, 3>> squaretriples(const std::vector<double>& v,
                                              double t) {
  double unit = productunit();
  std::vector<product> pr = sortedproducts(v, allitems((int)v.size()));
  std::vector<std::array<int, 3>> out;
  for (int x = 0; x < (int)v.size() && !stopbuilding; x++) {
    nestprogress(x, (int)v.size(), 1);
    double sq = v[x] * v[x];
    if (!std::isfinite(sq)) continue;
    // Twice the span of sq covers products up to sq / (1 - t).
    double w = 2 * t * std::max(unit, sq);
    auto from =
        std::lower_bound(pr.begin(), pr.end(), sq - w,
                         [](const product& a, double p) { return a.p < p; });
    for (auto it = from; it != pr.end() && it->p <= sq + w; ++it) {
      if (it->x == x || it->y == x || !sameproduct(sq, it->p, t, unit))
        continue;
      std::array<int, 3> t = {x, it->x, it->y};
      std::sort(t.begin(), t.end());
      out.push_back(t);
    }
  }
  std::sort(out.begin(), out.end());
  out.erase(std::unique(out.begin(), out.end()), out.end());
  return out;
}

void findmeanproportionals() {
  std::vector<double> len = segmentlengths();
  for (auto& t : squaretriples(len, 1e-5)) {
    int mode = goodratio3(len[t[0]], len[t[1]], len[t[2]]);
    if (mode) push(tripseglist, t[0], t[1], t[2], 0, mode);
  }
}

int usablearea(double a) {
  return areatol(0.0001) < a && a < areatol(100000);
}

void findequalareas() {
  std::vector<double> area = triangleareas();
  for (auto& p : closepairs(area, allitems((int)area.size()), areatol(0.0001)))
    if (usablearea(area[p[0]])) push(trianglepairlist, p[0], p[1], 0, 0, 0);
}

void findareaproducts() {
  std::vector<double> area = triangleareas();
  std::vector<int> usable;
  for (int i = 0; i < (int)area.size(); i++)
    if (usablearea(area[i])) usable.push_back(i);
  for (auto& t : productquads(area, usable, 1e-5)) {
    int mode = arearatio(area[t[0]], area[t[1]], area[t[2]], area[t[3]]);
    if (mode) push(trianglequadlist, t[0], t[1], t[2], t[3], mode);
  }
}

int collinearbydefinition(int i, int j, int k) {
  for (int l = 0; l < nl(); l++)
    if (onl(i, l) && onl(j, l) && onl(k, l)) return 1;
  if (threevonldef(vertlist[i], vertlist[j], vertlist[k])) return 1;
  int q[3] = {i, j, k};
  return coincide(q, 3);
}

void findcollinear() {
  for (int i = 0; i < nv() && !stopbuilding; i++, nestprogress(i, nv(), 3))
    for (int j = i + 1; j < nv(); j++)
      for (int k = j + 1; k < nv(); k++) {
        if (!visv[i] || !visv[j] || !visv[k]) continue;
        if (!threevonlp(vertlist[i], vertlist[j], vertlist[k])) continue;
        if (!collinearbydefinition(i, j, k)) push(threevonl, i, j, k, 0, 0);
      }
}

// The parallel and equal-line exclusions sit with the search for a common
// point, so a diagram without points never applies them.
int concurrentbydefinition(int i, int j, int k) {
  const line *a = linelist[i], *b = linelist[j], *c = linelist[k];
  for (int v = 0; v < nv(); v++) {
    if (onl(v, i) && onl(v, j) && onl(v, k)) return 1;
    if (parallellines(a, b) || equallines(a, b) || equallines(a, c) ||
        equallines(b, c))
      return 1;
  }
  return 0;
}

void findconcurrentlines() {
  for (int i = 0; i < nl() && !stopbuilding; i++, nestprogress(i, nl(), 3))
    for (int j = i + 1; j < nl(); j++)
      for (int k = j + 1; k < nl(); k++) {
        if (!visl[i] || !visl[j] || !visl[k]) continue;
        if (!threelonvp(linelist[i], linelist[j], linelist[k])) continue;
        if (!concurrentbydefinition(i, j, k)) push(threelonv, i, j, k, 0, 0);
      }
}

void findharmonic() {
  for (int i = 0; i < nv() && !stopbuilding; i++, nestprogress(i, nv(), 3))
    for (int j = i + 1; j < nv() && !stopbuilding; j++)
      for (int k = j + 1; k < nv(); k++) {
        if (!visv[i] || !visv[j] || !visv[k]) continue;
        const vertex *a = vertlist[i], *b = vertlist[j], *c = vertlist[k];
        if (!threevonlp(a, b, c)) continue;
        for (int l = k + 1; l < nv(); l++) {
          if (!visv[l] || !threevonlp(a, b, vertlist[l])) continue;
          int mode = harmonicv(a, b, c, vertlist[l]);
          if (mode) push(harmonic, i, j, k, l, mode);
        }
      }
}

}  // namespace

namespace {

typedef void (*stepfn)();

// The steps in the order their lists are built, with the tuples each one
// examines.
struct step {
  stepfn run;
  double (*work)();
};

double pairs(double n) {
  return n * n / 2;
}
double triples(double n) {
  return n * n * n / 6;
}

const step steps[] = {
    {findinverses, [] { return pairs(nv()) * nc(); }},
    {findconcurrentcircles, [] { return triples(nc()); }},
    {findspeciallines, [] { return pairs(nl()); }},
    {findspecialangles, [] { return pairs((double)anglelist.size()); }},
    {findequalsegments, [] { return (double)segmentlist.size(); }},
    {findrightangles, [] { return (double)anglelist.size(); }},
    {findconcyclic, [] { return triples(nv()) * nv() / 4; }},
    {findsegmentproducts, [] { return pairs((double)segmentlist.size()); }},
    {findmeanproportionals, [] { return pairs((double)segmentlist.size()); }},
    {findequalareas, [] { return (double)trianglelist.size(); }},
    {findareaproducts, [] { return pairs((double)trianglelist.size()); }},
    {findcollinear, [] { return triples(nv()); }},
    {findconcurrentlines, [] { return triples(nl()); }},
    {findharmonic, [] { return triples(nv()); }},
};
static_assert(sizeof steps / sizeof steps[0] == 14, "one step per list");

}  // namespace

int buildpossiblelist() {
  setvisibility();
  worktotal = workdone = stepwork = 0;
  candidatecount = 0;
  stopbuilding = 0;
  for (const step& s : steps) worktotal += 1 + s.work();
  if (worktotal > maxwork) {
    snprintf(toolarge, sizeof toolarge,
             "about %.2g combinations of its objects to examine", worktotal);
    return 0;
  }
  if (testprogresshook) testprogresshook(0);
  for (const step& s : steps) {
    if (stopbuilding) break;
    beginstep(1 + s.work());
    s.run();
  }
  if (testprogresshook) testprogresshook(100);
  return !stopbuilding;
}
