// bench_eps: writing a generated diagram of 10,000 drawable records (one
// thousand of each drawable type) as an EPS document.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "bench/bigdiagram.h"
#include "model/reset.h"
#include "model/worldlist.h"
#include "postscript/eps.h"
#include "render/view.h"

namespace {

using bigdiagram::builddiagram;

void BM_WriteEPS(benchmark::State& state) {
  builddiagram();
  std::string path = "/tmp/bench_eps_" + std::to_string(getpid()) + ".eps";
  double keepym = ym, keepyinfo = yinfo;
  for (auto _ : state) {
    // Each round writes a new file: overwriting the last round's file in
    // place would time the file system's flush of the old one.
    state.PauseTiming();
    remove(path.c_str());
    ym = keepym, yinfo = keepyinfo;
    state.ResumeTiming();
    if (!dumpPostScript(path.c_str())) state.SkipWithError("write failed");
  }
  FILE* f = fopen(path.c_str(), "rb");
  if (f) {
    fseek(f, 0, SEEK_END);
    state.counters["bytes"] = (double)ftell(f);
    fclose(f);
  }
  remove(path.c_str());
  resetall();
}
// The document alone, into memory: formatting without the file system.
void BM_FormatEPS(benchmark::State& state) {
  builddiagram();
  double keepym = ym, keepyinfo = yinfo;
  char* buf = nullptr;
  size_t len = 0;
  for (auto _ : state) {
    ym = keepym, yinfo = keepyinfo;
    FILE* out = open_memstream(&buf, &len);
    writePostScript(out);
    fclose(out);
    free(buf);
    buf = nullptr;
  }
  resetall();
}
BENCHMARK(BM_FormatEPS)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(10)
    ->ReportAggregatesOnly(true);

BENCHMARK(BM_WriteEPS)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(10)
    ->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
