// reader.cpp: reading a generated diagram of 100,000 statements from memory
// (recomputation excluded), in bytes per second, and the memory the
// diagram takes per record beyond its text.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include "bench/gendiagram.h"
#include "language/parser.h"
#include "language/symtable.h"
#include "model/notify.h"
#include "model/reset.h"
#include "model/state.h"
#include "model/worldlist.h"

static void quiet(const char*) {}

static void BM_ReadDiagram(benchmark::State& state) {
  std::string text = gendiagram::generate((int)state.range(0), 7);
  double perrecord = 0;
  for (auto _ : state) {
    state.PauseTiming();
    resetall();
    alerthook = quiet;
    resetstate(1);
    size_t before = mallinfo2().uordblks;
    state.ResumeTiming();
    if (!parsetext(text.c_str())) state.SkipWithError("reading failed");
    state.PauseTiming();
    size_t used = mallinfo2().uordblks - before;
    int records = 0;
    for (primitive* p = plist; p; p = p->next) records++;
    perrecord = (double)used / records;
    state.ResumeTiming();
  }
  state.SetBytesProcessed(state.iterations() * (int64_t)text.size());
  state.counters["bytes_per_record"] = perrecord;
  state.counters["text_bytes"] = (double)text.size();
  resetall();
}
BENCHMARK(BM_ReadDiagram)->Arg(100000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
