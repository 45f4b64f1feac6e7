// sampler.cpp: random sampling of a diagram for the relation finder.
//
// A user finds relations by dragging free points while a test runs; here
// the free-standing points are jittered around the position they start in
// instead. Points built on a line, circle or conic are jittered too and
// pulled back onto their curve by the recomputation, just as a drag does.
#include "relations/sampler.h"

#include <vector>

#include "engine/continuity.h"
#include "engine/recompute.h"
#include "model/worldlist.h"
#include "relations/finder.h"

namespace {

struct startpoint {
  vertex* v;
  double x, y;
};

int ismoving(const primitive* p) {
  if (p->type != RW_VERTEX) return 0;
  switch (p->kind) {
    case FREE:
    case VONL:
    case VONC:
    case VONCONIC: return 1;
    default: return 0;  // pinned and constructed points stay
  }
}

// What a drawn frame does before its relation test.
void recompute() {
  clearmacroplist();
  checkconstraints();
}

int stillvalid(const std::vector<primitive*>& wasvalid) {
  for (primitive* p : wasvalid)
    if (!p->valid) return 0;
  return 1;
}

void place(const std::vector<startpoint>& pts, uint64_t* state, double step) {
  for (const startpoint& s : pts) {
    s.v->x = s.x + (state ? randomoffset(state, step) : 0);
    s.v->y = s.y + (state ? randomoffset(state, step) : 0);
    s.v->satisfied = 0;
  }
  followmotion = state != nullptr;  // samples move as a drag does
}

// Intersections follow the samples and may change kind on the way; the
// starting position comes back with the kinds it started with.
struct startkind {
  primitive* p;
  int32_t kind;
};

}  // namespace

uint64_t nextrandom(uint64_t* state) {
  uint64_t z = (*state += 0x9e3779b97f4a7c15ull);
  z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
  z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
  return z ^ (z >> 31);
}

double randomoffset(uint64_t* state, double step) {
  double unit = (double)(nextrandom(state) >> 11) * 0x1.0p-53;  // [0, 1)
  return (2 * unit - 1) * step;
}

samplingresult sampletest(int samples, double step, uint64_t seed) {
  samplingresult r = {0, 0, 0, 0};
  recompute();
  std::vector<startpoint> pts;
  std::vector<primitive*> wasvalid;
  std::vector<startkind> kinds;
  for (primitive* p = plist; p; p = p->next) {
    if (ismoving(p))
      pts.push_back({(vertex*)p, ((vertex*)p)->x, ((vertex*)p)->y});
    if (p->valid) wasvalid.push_back(p);
    if (hassiblings(p->kind)) kinds.push_back({p, p->kind});
  }
  if (!begindiagramtest()) {
    r.stopped = 1;
    return r;
  }
  testlist();
  // The step is a share of the diagram's size, as the tolerances are: the
  // same diagram drawn a thousand times larger is moved as much.
  double reach = step * relationscale;
  uint64_t state = seed;
  for (int s = 0; s < samples; s++) {
    int draws = 0;
    for (;;) {
      place(pts, &state, reach);
      recompute();
      if (stillvalid(wasvalid)) break;
      r.redrawn++;
      if (++draws == MAXDRAWS) break;
    }
    if (draws == MAXDRAWS) {
      r.dropped++;
      continue;
    }
    testlist();
    r.taken++;
  }
  place(pts, nullptr, 0);
  for (const startkind& k : kinds) {
    k.p->kind = k.kind;
    k.p->satisfied = 0;
  }
  recompute();
  testlist();
  return r;
}
