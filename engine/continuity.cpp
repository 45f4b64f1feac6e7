// continuity.cpp: following the nearest solution among sibling kinds.
#include "engine/continuity.h"

#include <cmath>

#include "engine/solvers.h"

int keepcontinuous = 1;
int followmotion;

namespace {

// Kinds computed by one routine that differ only in the solution they take.
// clang-format off
constexpr int32_t siblinggroups[][4] = {
    {V_LC1, V_LC2, -1, -1},         {V_CC1, V_CC2, -1, -1},
    {V_LCONIC1, V_LCONIC2, -1, -1}, {L_VC1, L_VC2, -1, -1},
    {L_CCEXT1, L_CCEXT2, -1, -1},   {L_CCINT1, L_CCINT2, -1, -1},
    {L_CONICV1, L_CONICV2, -1, -1}, {C_LLL1, C_LLL2, C_LLL3, C_LLL4},
    {V_LCVOTHER, V_LCVOTHER2, -1, -1}, {V_CCVOTHER, V_CCVOTHER2, -1, -1},
};
// clang-format on

const int32_t* groupof(int kind) {
  for (const auto& g : siblinggroups)
    for (int k : g)
      if (k == kind) return g;
  return nullptr;
}

// Where a result lies: the finite points it is drawn through (a point; a
// line's two defining points, which carry its tangent points; a circle's
// centre and, as a third coordinate, its radius).
struct place {
  double v[5];
  int n;
};

int addpoint(place* s, const vertex& v) {
  if (v.w == 0 || !std::isfinite(v.x / v.w) || !std::isfinite(v.y / v.w))
    return 0;
  s->v[s->n++] = v.x / v.w;
  s->v[s->n++] = v.y / v.w;
  return 1;
}

// 0 when the result has no finite place to follow.
int placeof(const primitive* p, place* s) {
  s->n = 0;
  switch (p->type) {
    case RW_VERTEX: return addpoint(s, *static_cast<const vertex*>(p));
    case RW_LINE: {
      const line* l = static_cast<const line*>(p);
      return addpoint(s, l->p1) && addpoint(s, l->p2);
    }
    case RW_CIRCLE: {
      const circle* c = static_cast<const circle*>(p);
      if (!addpoint(s, c->center) || !std::isfinite(c->radius)) return 0;
      s->v[s->n++] = c->radius;
      return 1;
    }
    default: return 0;  // no other type has sibling kinds
  }
}

double distance(const place& a, const place& b) {
  double d = 0;
  for (int i = 0; i < a.n; i++) d += (a.v[i] - b.v[i]) * (a.v[i] - b.v[i]);
  return d;
}

}  // namespace

static_assert(A_LEN < sizeof siblingtable::has, "every kind fits the table");

static constexpr siblingtable makesiblingtable() {
  siblingtable t{};
  for (const auto& g : siblinggroups)
    for (int k : g)
      if (k >= 0) t.has[k] = 1;
  return t;
}

const siblingtable siblingkinds = makesiblingtable();

// A point's previous place, taken from the record itself (it still holds
// the last result): 0 when it has none that is finite.
static int lastplace(const vertex& v, double* x, double* y) {
  *x = v.x, *y = v.y;
  if (v.w == 1) return 1;  // a valid result is finite: no division needed
  if (v.w == 0) return 0;
  *x /= v.w, *y /= v.w;
  return std::isfinite(*x) && std::isfinite(*y);
}

// The common kinds choose between their two solutions at the cost of one
// computation; with fewer than two solutions their own rule decides.
// Returns 0 for the other kinds, or when there is no previous place.
static int followquickly(primitive* p, void (*compute)(primitive*)) {
  double x, y;
  int chosen;
  switch (p->kind) {
    case V_LC1:
    case V_LC2:
    case V_CC1:
    case V_CC2: {
      vertex* v = static_cast<vertex*>(p);
      if (!lastplace(*v, &x, &y)) return 0;
      chosen = followvertex(v, x, y);
      break;
    }
    case L_VC1:
    case L_VC2: {  // the tangent point is the second defining point
      line* l = static_cast<line*>(p);
      if (!lastplace(l->p2, &x, &y)) return 0;
      chosen = followtangent(l, x, y);
      break;
    }
    default: return 0;
  }
  if (!chosen) compute(p);
  return 1;
}

void computefollowing(primitive* p, int wasvalid, void (*compute)(primitive*)) {
  place before, now;
  if (!wasvalid) {
    compute(p);
    return;
  }
  if (followquickly(p, compute)) return;
  if (!placeof(p, &before)) {
    compute(p);
    return;
  }
  const int32_t* group = groupof(p->kind);
  if (!group) {
    compute(p);
    return;
  }
  // The record's own kind is tried last and wins ties, so the usual case
  // (no flip) needs no final recomputation.
  int own = p->kind, best = -1;
  double bestd = INFINITY;
  for (int i = 0; i < 4; i++) {
    int k = group[i];
    if (k < 0 || k == own) continue;
    p->kind = k;
    p->valid = 1;
    compute(p);
    if (!p->valid || !placeof(p, &now)) continue;
    double d = distance(before, now);
    if (d < bestd) bestd = d, best = k;
  }
  p->kind = own;
  p->valid = 1;
  compute(p);
  if (best < 0 ||
      (p->valid && placeof(p, &now) && distance(before, now) <= bestd))
    return;
  p->kind = best;
  p->valid = 1;
  compute(p);
}
