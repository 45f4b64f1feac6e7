// bench_export: the 10,000-record diagram of bench_eps written as SVG,
// PDF, PNG (800 x 800 pixels) and TikZ, each into memory, beside the EPS
// for a ratio measured in the same run.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>

#include "bench/bigdiagram.h"
#include "export/export.h"
#include "model/reset.h"
#include "render/view.h"

namespace {

// Writes the view in `format` into memory each round; `square` makes the
// view 400 x 400 points, 800 x 800 pixels at 144 dpi.
void writeformat(benchmark::State& state, int format, int square) {
  bigdiagram::builddiagram();
  if (square) {
    xsize = ysize = 400;
    recalcsizes(1);
    exportdpi = 144;
  }
  double keepym = ym, keepyinfo = yinfo;
  char* buf = nullptr;
  size_t len = 0;
  for (auto _ : state) {
    ym = keepym, yinfo = keepyinfo;
    FILE* out = open_memstream(&buf, &len);
    if (!writeexport(out, format)) state.SkipWithError("export failed");
    fclose(out);
    state.counters["bytes"] = (double)len;
    free(buf);
    buf = nullptr;
  }
  resetall();
}

void BM_EPS(benchmark::State& s) { writeformat(s, EXPORT_EPS, 0); }
void BM_SVG(benchmark::State& s) { writeformat(s, EXPORT_SVG, 0); }
void BM_PDF(benchmark::State& s) { writeformat(s, EXPORT_PDF, 0); }
void BM_PNG800(benchmark::State& s) { writeformat(s, EXPORT_PNG, 1); }
void BM_TikZ(benchmark::State& s) { writeformat(s, EXPORT_TIKZ, 0); }

}  // namespace

// The PNG is drawn on two threads: CPU is the whole process's time, Time
// the wall clock's.
#define EXPORTBENCH(f)                \
  BENCHMARK(f)                        \
      ->Unit(benchmark::kMillisecond) \
      ->Repetitions(7)                \
      ->ReportAggregatesOnly(true)    \
      ->MeasureProcessCPUTime()
EXPORTBENCH(BM_EPS);
EXPORTBENCH(BM_SVG);
EXPORTBENCH(BM_PDF);
EXPORTBENCH(BM_PNG800);
EXPORTBENCH(BM_TikZ);

BENCHMARK_MAIN();
