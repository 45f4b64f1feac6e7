// bench_editor.cpp: the text editor's buffer on a large diagram text:
// loading it, typing at its end, pasting a block with line ends into its
// middle, and a search that finds nothing.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "editor/editbuffer.h"
#include "editor/editcmds.h"
#include "model/reset.h"

namespace {

// A diagram text of n statements, one a line.
std::string bigtext(int n) {
  std::string t = ".geometry \"version 0.65\";\n";
  char line[96];
  for (int i = 0; i < n; i++) {
    snprintf(line, sizeof line, "v%d = .free(%g, %g, \"P%d\");\n", i,
             i * 0.0001, -i * 0.0002, i);
    t += line;
  }
  return t;
}

void load(const std::string& t) {
  FILE* f = fmemopen((void*)t.data(), t.size(), "r");
  readfile(f);
  fclose(f);
}

void BM_LoadText(benchmark::State& state) {
  resetall();
  std::string t = bigtext((int)state.range(0));
  for (auto _ : state) load(t);
  state.SetBytesProcessed(state.iterations() * (int64_t)t.size());
}
BENCHMARK(BM_LoadText)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_TypeLineAtEnd(benchmark::State& state) {
  resetall();
  load(bigtext(10000));
  for (auto _ : state) {
    handleeditorcmd(EC_END);
    for (const char* s = "w = .free(0.5, 0.5);"; *s; s++)
      handleeditorcmd((unsigned char)*s);
    handleeditorcmd(EC_NEWLINE);
  }
}
BENCHMARK(BM_TypeLineAtEnd)->Unit(benchmark::kMicrosecond);

void BM_PasteBlockInMiddle(benchmark::State& state) {
  resetall();
  std::string block = bigtext(200);
  for (auto _ : state) {
    state.PauseTiming();
    load(bigtext(5000));
    setcursor(lineat(2500), 0);
    state.ResumeTiming();
    handleeditorcmd(EC_PASTE);
    pastetext(block.data(), (int)block.size());
  }
}
BENCHMARK(BM_PasteBlockInMiddle)->Unit(benchmark::kMillisecond);

void BM_FindNothing(benchmark::State& state) {
  resetall();
  load(bigtext(10000));
  for (auto _ : state) {
    setcursor(ed.top, 0);
    benchmark::DoNotOptimize(findstringforward("no such text"));
  }
}
BENCHMARK(BM_FindNothing)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
