// bench_history.cpp: the cost of the undo history: one step (a change, the
// diagram written into memory and compared, the text kept) on a diagram of
// 1,000 statements, with the memory a step holds besides the diagram's
// text; and an undo and a redo (the text read back and recomputed) on one
// of 10,000 statements.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <string>

#include "bench/gendiagram.h"
#include "engine/recompute.h"
#include "history/history.h"
#include "language/parser.h"
#include "model/notify.h"
#include "model/reset.h"
#include "model/state.h"
#include "render/view.h"

static void quiet(const char*) {}

static void load(int statements) {
  resetall();
  alerthook = quiet;
  resetstate(1);
  std::string text = gendiagram::generate(statements, 7);
  parsetext(text.c_str());
  checkconstraints();
  historyreset(1);
}

static void BM_HistoryStep(benchmark::State& state) {
  load((int)state.range(0));
  size_t text = historytext().size();
  size_t before = mallinfo2().uordblks;
  int steps = 0;
  for (auto _ : state) {
    zoomworld(steps % 2 ? 1 / 1.01 : 1.01);
    historycommit("Zoom", 0);
    steps++;
  }
  double held = (double)(mallinfo2().uordblks - before) /
                (steps < HISTORYSTEPS ? steps : HISTORYSTEPS);
  state.counters["text_bytes"] = (double)text;
  state.counters["bytes_per_step"] = held;
  state.counters["beyond_text"] = held - (double)text;
  resetall();
}
BENCHMARK(BM_HistoryStep)->Arg(1000)->Unit(benchmark::kMicrosecond);

static void BM_UndoRedo(benchmark::State& state) {
  load((int)state.range(0));
  zoomworld(1.01);
  historycommit("Zoom", 0);
  for (auto _ : state) {
    historyundo();
    checkconstraints();
    historyredo();
    checkconstraints();
  }
  state.counters["text_bytes"] = (double)historytext().size();
  resetall();
}
// Each iteration is an undo and a redo: half the time is one of them.
BENCHMARK(BM_UndoRedo)->Arg(10000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
