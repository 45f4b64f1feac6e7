// bench_relations.cpp: starting a relation test on generated diagrams, and
// one per-frame re-test of the surviving candidates.
//
// The diagram: free points, lines through two earlier points (free ones or
// constructed ones, so lines carry many points by construction), points at
// crossings of two lines, on lines and at midpoints of a line's two
// defining points, and circles through three points or about a centre.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <set>
#include <tuple>
#include <utility>
#include <vector>

#include "engine/recompute.h"
#include "model/notify.h"
#include "model/reset.h"
#include "model/worldlist.h"
#include "relations/finder.h"
#include "relations/sampler.h"

namespace {

primitive* add(int type, int kind, std::vector<primitive*> parents) {
  primitive* p = newprimitive(type);
  genname(p);
  if (type == RW_VERTEX) addvertexname((vertex*)p);
  p->kind = kind;
  for (size_t i = 0; i < parents.size(); i++) p->parents[i] = parents[i];
  addprimitive(p);
  return p;
}

double px(const primitive* p) {
  return ((const vertex*)p)->x;
}
double py(const primitive* p) {
  return ((const vertex*)p)->y;
}

// 1 when the freshly computed record repeats an existing one in place (a
// point where a point is, a line along a line) or came out undefined: a
// generated diagram should not be full of coincidences by accident.
int repeats(const primitive* n, const std::vector<primitive*>& pts,
            const std::vector<primitive*>& lines) {
  if (!n->valid) return 1;
  if (n->type == RW_VERTEX) {
    if (((const vertex*)n)->w == 0) return 1;
    for (const primitive* p : pts)
      if (std::hypot(px(p) - px(n), py(p) - py(n)) < 1e-6) return 1;
    return 0;
  }
  const line* l = (const line*)n;
  double nl = std::hypot(l->a, l->b);
  if (nl < 1e-9) return 1;
  for (const primitive* q : lines) {
    const line* m = (const line*)q;
    double nm = std::hypot(m->a, m->b);
    double cross = (l->a * m->b - l->b * m->a) / (nl * nm);
    double dot = (l->a * m->a + l->b * m->b) / (nl * nm);
    double off = l->c / nl - (dot > 0 ? 1 : -1) * m->c / nm;
    if (std::fabs(cross) < 1e-6 && std::fabs(off) < 1e-6) return 1;
  }
  return 0;
}

// Adds a record and keeps it only when it is new in place.
void tryadd(int type, int kind, std::vector<primitive*> parents,
            std::vector<primitive*>& pts, std::vector<primitive*>& lines,
            double x = 0, double y = 0) {
  primitive* p = add(type, kind, parents);
  if (type == RW_VERTEX) {
    ((vertex*)p)->x = x;
    ((vertex*)p)->y = y;
  }
  checkconstraints();
  if (repeats(p, pts, lines)) {
    deleteprimitive(p);
    return;
  }
  (type == RW_VERTEX ? pts : lines).push_back(p);
}

void gendiagram(int npoints, int nlines, int ncircles, unsigned seed) {
  resetall();
  alerthook = [](const char*) {};
  std::mt19937 rng(seed);
  std::uniform_real_distribution<double> u(-0.9, 0.9);
  std::vector<primitive*> pts, lines;
  auto pick = [&](const std::vector<primitive*>& v) {
    return v[rng() % v.size()];
  };
  int nfree = npoints / 6;
  for (int i = 0; i < nfree; i++)
    tryadd(RW_VERTEX, FREE, {}, pts, lines, u(rng), u(rng));
  while ((int)lines.size() < nlines || (int)pts.size() < npoints) {
    if ((int)lines.size() < nlines) {
      primitive* a = pick(pts);
      primitive* b = pick(pts);
      if (a != b) tryadd(RW_LINE, L_VV, {a, b}, pts, lines);
    }
    if ((int)pts.size() < npoints && lines.size() >= 2) {
      // Most new points go on a few busy lines, which so carry many points.
      auto busy = [&]() {
        size_t n = std::min(lines.size(), (size_t)nlines / 10);
        return rng() % 4 ? lines[rng() % n] : pick(lines);
      };
      primitive* l1 = busy();
      primitive* l2 = busy();
      switch (rng() % 4) {
        case 0:
          if (l1 != l2) tryadd(RW_VERTEX, V_LL, {l1, l2}, pts, lines);
          break;
        case 1:
        case 2:
          tryadd(RW_VERTEX, VONL, {l1}, pts, lines, u(rng), u(rng));
          break;
        default:  // 3: the midpoint of the line's two defining points
          tryadd(RW_VERTEX, V_VVMID, {l1->parents[0], l1->parents[1]}, pts,
                 lines);
          break;
      }
    }
  }
  for (int i = 0; i < ncircles; i++) {
    primitive* a = pick(pts);
    primitive* b = pick(pts);
    primitive* c = pick(pts);
    if (a == b || b == c || a == c) {
      i--;
      continue;
    }
    if (i % 2)
      add(RW_CIRCLE, C_VVV, {a, b, c});
    else
      add(RW_CIRCLE, C_VV, {a, b});
  }
  checkconstraints();
}

size_t candidates() {
  size_t n = 0;
  for (candlist* l : {&inverselist, &threecircles, &speciallines,
                      &specialangles, &specialsegments, &righta, &fourvonc,
                      &quadseglist, &tripseglist, &trianglepairlist,
                      &trianglequadlist, &threevonl, &threelonv, &harmonic})
    for (const candidate& c : *l) n += c.alive;
  return n;
}

void BM_StartTest(benchmark::State& state) {
  gendiagram((int)state.range(0), (int)state.range(1), (int)state.range(2), 1);
  for (auto _ : state) {
    allocateall();
    buildpossiblelist();
    benchmark::DoNotOptimize(candidates());
  }
  state.counters["vertices"] = (double)vertlist.size();
  state.counters["segments"] = (double)segmentlist.size();
  state.counters["triangles"] = (double)trianglelist.size();
  state.counters["angles"] = (double)anglelist.size();
  state.counters["candidates"] = (double)candidates();
  freeall();
  resetall();
}
BENCHMARK(BM_StartTest)
    ->Args({30, 30, 10})
    ->Args({60, 60, 10})
    ->Unit(benchmark::kMillisecond);

// Twenty samples first, so that what is re-tested is what survives a
// moving diagram rather than the accidents of one position.
void BM_TestList(benchmark::State& state) {
  gendiagram((int)state.range(0), (int)state.range(1), (int)state.range(2), 1);
  sampletest(20, 0.05, 1);
  for (auto _ : state) testlist();
  state.counters["surviving"] = (double)candidates();
  freeall();
  testingdiagram = 0;
  resetall();
}
BENCHMARK(BM_TestList)
    ->Args({30, 30, 10})
    ->Args({60, 60, 10})
    ->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
