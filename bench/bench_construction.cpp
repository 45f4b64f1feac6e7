// bench_construction.cpp: the cost of one click of the construction state
// machine on diagrams of growing size: a selection click (every point and
// curve is tested) and a two-click line construction, whose new record is
// removed again so the diagram keeps its size.
#include <benchmark/benchmark.h>

#include <cmath>

#include "app/construction.h"
#include "engine/recompute.h"
#include "model/construct.h"
#include "model/reset.h"
#include "model/worldlist.h"
#include "render/view.h"

namespace {

// n free points on a spiral, joined in pairs by lines.
void buildspiral(int n) {
  resetall();
  xsize = ysize = 600;
  recalcsizes(1);
  vertex* prev = nullptr;
  for (int i = 0; i < n; i++) {
    double r = 0.9 * (i + 1) / n, t = 0.37 * i;
    vertex* v = makevertex(r * std::cos(t), r * std::sin(t));
    v->kind = FREE;
    addprimitive(v);
    if (prev && i % 2) addprimitive(linevertvert(prev, v));
    prev = v;
  }
  checkconstraints();
}

void BM_SelectionClick(benchmark::State& state) {
  buildspiral((int)state.range(0));
  for (auto _ : state) {
    handleworldpick(0.95, 0.95, 0);  // empty space: every record is tried
    benchmark::DoNotOptimize(pselected);
  }
  state.SetComplexityN(state.range(0));
  resetall();
}
BENCHMARK(BM_SelectionClick)->RangeMultiplier(4)->Range(64, 4096)->Complexity();

void BM_LineByTwoClicks(benchmark::State& state) {
  int n = (int)state.range(0);
  buildspiral(n);
  vertex* a = (vertex*)plist;
  vertex* b = (vertex*)plist->next;
  for (auto _ : state) {
    startconstruction(200002);
    handleworldpick(a->x, a->y, 0);
    handleworldpick(b->x, b->y, 0);
    deleteprimitive(plisttail);
  }
  state.SetComplexityN(n);
  resetall();
}
BENCHMARK(BM_LineByTwoClicks)->RangeMultiplier(4)->Range(64, 4096)->Complexity();

}  // namespace

BENCHMARK_MAIN();
