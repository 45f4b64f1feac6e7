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
#include <cstdlib>
#include <random>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "engine/recompute.h"
#include "fileio/safesave.h"
#include "language/parser.h"
#include "model/notify.h"
#include "model/reset.h"
#include "model/worldlist.h"
#include "relations/finder.h"
#include "relations/report.h"
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

candlist* const everylist[] = {
    &inverselist,     &threecircles,     &speciallines,     &specialangles,
    &specialsegments, &righta,           &fourvonc,         &quadseglist,
    &tripseglist,     &trianglepairlist, &trianglequadlist, &threevonl,
    &threelonv,       &harmonic,
};

// The report of End Test built in memory, after the sampling: the full
// report alone (0), or with the summary and its text as the report window
// shows them (1). Each iteration starts from the same surviving candidates.
void BM_ReportInMemory(benchmark::State& state) {
  gendiagram(60, 60, 10, 1);
  sampletest(20, 0.05, 1);
  std::vector<candlist> saved;
  for (candlist* l : everylist) saved.push_back(*l);
  FILE* sink = fopen("/dev/null", "w");
  size_t entries = 0, kept = 0;
  for (auto _ : state) {
    state.PauseTiming();
    for (size_t i = 0; i < saved.size(); i++) *everylist[i] = saved[i];
    state.ResumeTiming();
    relreport r;
    r.name = "relations.txt";
    collectrelations(&r);
    if (state.range(0)) {
      summarize(&r);
      benchmark::DoNotOptimize(summarytext(r, nullptr));
    }
    writefull(sink, r);
    entries = r.entries.size();
    kept = r.summary.size();
  }
  fclose(sink);
  state.counters["relations"] = (double)entries;
  state.counters["summary"] = (double)kept;
  freeall();
  testingdiagram = 0;
  resetall();
}
BENCHMARK(BM_ReportInMemory)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Times the summary (and its text) of the relations the sampling found.
void timesummary(benchmark::State& state) {
  relreport collected, r;
  collectrelations(&collected);
  for (auto _ : state) {
    state.PauseTiming();
    r = collected;  // the last copy goes here, outside the timing
    state.ResumeTiming();
    summarize(&r);
    benchmark::DoNotOptimize(summarytext(r, nullptr));
  }
  state.counters["relations"] = (double)collected.entries.size();
  state.counters["summary"] = (double)r.summary.size();
}

// The summary alone (and its text) on the same report.
void BM_SummaryOnly(benchmark::State& state) {
  gendiagram(60, 60, 10, 1);
  sampletest(20, 0.05, 1);
  timesummary(state);
  freeall();
  testingdiagram = 0;
  resetall();
}
BENCHMARK(BM_SummaryOnly)->Unit(benchmark::kMillisecond);

const char* reportdiagram() {
  return "/tmp/tessarin-bench-relations/diagram.T";
}

// The previous End Test: the full report saved as relations.txt and read
// back for the window.
void fullreportonly() {
  safesave save;
  if (!beginsave(&save, "/tmp/tessarin-bench-relations/relations.txt")) return;
  writerelations(save.f, "relations.txt");
  endsave(&save);
  FILE* in = fopen("/tmp/tessarin-bench-relations/relations.txt", "r");
  std::string text;
  char chunk[4096];
  size_t n;
  while ((n = fread(chunk, 1, sizeof chunk, in)) > 0) text.append(chunk, n);
  fclose(in);
  benchmark::DoNotOptimize(text);
}

// End Test as the menu command runs it after the sampling: the report
// saved beside the diagram and read back (0), and now with the summary
// built and its text made for the window (1, `dumprelations`).
void BM_EndTest(benchmark::State& state) {
  gendiagram(60, 60, 10, 1);
  sampletest(20, 0.05, 1);
  if (system("mkdir -p /tmp/tessarin-bench-relations") != 0) {
    state.SkipWithError("no folder for the report");
    return;
  }
  currentfilehook = reportdiagram;
  std::vector<candlist> saved;
  for (candlist* l : everylist) saved.push_back(*l);
  for (auto _ : state) {
    state.PauseTiming();
    for (size_t i = 0; i < saved.size(); i++) *everylist[i] = saved[i];
    state.ResumeTiming();
    if (state.range(0))
      dumprelations();
    else
      fullreportonly();
  }
  currentfilehook = nullptr;
  freeall();
  testingdiagram = 0;
  resetall();
}
BENCHMARK(BM_EndTest)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// A pencil of k lines from one point cut by a base line and m - 1 lines
// built parallel to it: thousands of product lines and area ratios.
std::string pencil(int k, int m) {
  std::string t = ".geometry \"version 0.65\";\nO = .free(0.0, 0.9);\n";
  char b[160];
  for (int i = 0; i < k; i++) {
    snprintf(b, sizeof b, "P%d = .free(%.3f, -0.8);\nr%d = .l.vv(O, P%d);\n", i,
             -0.8 + 1.6 * i / (k - 1) + 0.03 * i * i, i, i);
    t += b;
  }
  snprintf(b, sizeof b, "base = .l.vv(P0, P%d);\n", k - 1);
  t += b;
  for (int j = 1; j < m; j++) {
    double s = (double)j / m + 0.05 * j * j;
    snprintf(b, sizeof b,
             "Q%d = .vonl(r0, %.3f, %.3f);\np%d = .l.vlpar(Q%d, base);\n", j,
             -0.8 * s, 0.9 - 1.7 * s, j, j);
    t += b;
    for (int i = 1; i < k; i++) {
      snprintf(b, sizeof b, "X%d%d = .v.ll(p%d, r%d);\n", i, j, j, i);
      t += b;
    }
  }
  return t;
}

// Building the summary alone (and its text) for a report of some
// thousands of relations.
void BM_SummaryOfPencil(benchmark::State& state) {
  resetall();
  alerthook = [](const char*) {};
  if (!parsetext(pencil((int)state.range(0), (int)state.range(1)).c_str())) {
    state.SkipWithError("reading failed");
    return;
  }
  checkconstraints();
  sampletest(10, 0.05, 1);
  timesummary(state);
  freeall();
  testingdiagram = 0;
  resetall();
}
BENCHMARK(BM_SummaryOfPencil)
    ->Args({6, 5})
    ->Args({5, 6})
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
