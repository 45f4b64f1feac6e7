// bench_recompute.cpp: one recomputation of a 10,000-record diagram after a
// drag, when everything depends on the dragged point and when nothing does.
//
// The diagram: a free point A, a few points built on it, then groups of
// eight records (a point rotated about A, the line and the circle through
// it, a midpoint, a perpendicular, an intersection, a circumcircle and a
// tangent), each group built on the point of the previous one, so every
// record depends on A through a chain thousands of records deep. A last free
// point Z, on which nothing depends, makes the 10,000th record.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <initializer_list>

#include "engine/continuity.h"
#include "engine/recompute.h"
#include "model/reset.h"
#include "model/worldlist.h"

namespace {

const int NRECORDS = 10000;
int count;

template <class T>
T* add(int kind, std::initializer_list<primitive*> parents) {
  T* p = new T;
  p->kind = kind;
  int i = 0;
  for (primitive* q : parents) p->parents[i++] = q;
  addprimitive(p);
  count++;
  return p;
}

vertex* A;
vertex* Z;

void builddiagram() {
  resetall();
  count = 0;
  A = add<vertex>(FREE, {});
  vertex* b = add<vertex>(V_VVVBISECT, {A, A, A});  // A + (0.3, 0)
  line* bis = add<line>(L_VVPERP, {A, b});
  circle* c0 = add<circle>(C_VV, {A, b});
  vertex* q = add<vertex>(V_LC1, {bis, c0});
  angle* g = add<angle>(A_VVV, {b, A, q});
  vertex* p = b;
  while (count + 8 <= NRECORDS - 1) {
    vertex* pk = add<vertex>(V_AVV, {g, p, A});
    line* l = add<line>(L_VV, {A, pk});
    circle* c = add<circle>(C_VV, {pk, A});
    vertex* m = add<vertex>(V_VVMID, {A, pk});
    line* n = add<line>(L_VLPERP, {m, l});
    vertex* x = add<vertex>(V_LC1, {n, c});
    add<circle>(C_VVV, {A, pk, x});
    add<line>(L_VC1, {A, c});
    p = pk;
  }
  while (count < NRECORDS - 1) add<vertex>(V_VVMID, {A, p});
  Z = add<vertex>(FREE, {});
  Z->x = 0.5;
  checkconstraints();
  int invalid = 0;
  for (primitive* r = plist; r; r = r->next) invalid += !r->valid;
  if (count != NRECORDS || invalid) {
    fprintf(stderr, "bad diagram: %d records, %d invalid\n", count, invalid);
    exit(1);
  }
}

// Moves v a little (back and forth) the way dragvertex does.
void drag(vertex* v, int i) {
  v->x = (i & 1) ? 0.01 : -0.01;
  v->y = 0.02;
  v->w = 1;
  v->satisfied = 0;
}

void BM_DragEverythingDepends(benchmark::State& state) {
  builddiagram();
  selectprim(A);
  int i = 0;
  for (auto _ : state) {
    drag(A, i++);
    checkconstraints();
  }
  resetall();
}
BENCHMARK(BM_DragEverythingDepends)->Unit(benchmark::kMillisecond);

// The same drag with intersections kept continuous, as dragvertex asks for:
// the intersections and tangents of every group try both solutions.
void BM_DragEverythingDependsContinuous(benchmark::State& state) {
  builddiagram();
  selectprim(A);
  int i = 0;
  for (auto _ : state) {
    drag(A, i++);
    followmotion = 1;
    checkconstraints();
  }
  resetall();
}
BENCHMARK(BM_DragEverythingDependsContinuous)->Unit(benchmark::kMillisecond);

void BM_DragNothingDepends(benchmark::State& state) {
  builddiagram();
  selectprim(Z);
  int i = 0;
  for (auto _ : state) {
    drag(Z, i++);
    checkconstraints();
  }
  resetall();
}
BENCHMARK(BM_DragNothingDepends)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
