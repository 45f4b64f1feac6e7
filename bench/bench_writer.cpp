// writer.cpp: writing a generated diagram of 100,000 statements with the
// writer, to an in-memory stream, in bytes per second.
#include "language/writer.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>

#include "bench/gendiagram.h"
#include "language/parser.h"
#include "model/notify.h"
#include "model/reset.h"
#include "model/state.h"

static void quiet(const char*) {}

static void BM_WriteDiagram(benchmark::State& state) {
  std::string text = gendiagram::generate((int)state.range(0), 7);
  resetall();
  alerthook = quiet;
  resetstate(1);
  if (!parsetext(text.c_str())) state.SkipWithError("reading failed");
  size_t written = 0;
  char* buf = nullptr;
  size_t size = 0;
  FILE* f = open_memstream(&buf, &size);
  for (auto _ : state) {
    rewind(f);
    if (!printdiagram(f)) state.SkipWithError("writing failed");
    written = size;
  }
  fclose(f);
  free(buf);
  state.SetBytesProcessed(state.iterations() * (int64_t)written);
  resetall();
}
BENCHMARK(BM_WriteDiagram)->Arg(100000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
