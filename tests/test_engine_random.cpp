// Generated diagrams of every kind, full of coincidences (points on a small
// grid, repeated parents, zero and negative numbers) and of parents of the
// wrong type: recomputing and dragging them must never crash, never leave a
// non-finite number in a valid record, and never lose the stored place of a
// point held on a curve.
#include <cmath>
#include <cstdint>
#include <vector>

#include "engine/recompute.h"
#include "render/view.h"
#include "tests/engine_fixture.h"

namespace {
using namespace enginetest;

// A small deterministic generator, so that a failure repeats.
struct lcg {
  uint64_t s;
  int below(int n) {
    s = s * 6364136223846793005ull + 1442695040888963407ull;
    return (int)((s >> 33) % (uint64_t)n);
  }
};

// The record type each kind computes (ORDER KINDS, codes 0 to 85).
int resulttype(int kind) {
  if (kind == LAYERCOND) return RW_LAYERCONDITION;
  if (kind == MACROCALL || kind == C_VLEN) return RW_NONE;  // not generated
  if (kind == SCRIPT || (kind >= F_AREA && kind <= F_VYCOORD)) return RW_FLT;
  if ((kind >= FREE && kind <= V_VVVHARMONIC) || kind == RATIO_VVV ||
      kind == V_VVRATIO || kind == V_LCVOTHER2 || kind == V_CCVOTHER2)
    return RW_VERTEX;
  if (kind >= L_VV && kind <= L_VVPERP) return RW_LINE;
  if (kind >= C_VV && kind <= C_CTRVV) return RW_CIRCLE;
  if (kind == BEZ_VVVV) return RW_BEZIER;
  if (kind == A_VVV || kind == A_F) return RW_ANGLE;
  if (kind == CONIC_VVVVV || kind == CONIC_LLLLL) return RW_CONIC;
  if (kind == POLYGON) return RW_POLYGON;
  if (kind == ARC_VVV) return RW_ARC;
  if (kind >= X_XXF && kind <= X_IDENTITY) return RW_XFORM;
  if (kind >= VVCOND && kind <= VVFCOND) return RW_CONDITION;
  return RW_NONE;
}

struct generator {
  lcg r;
  std::vector<primitive*> bytype[400];

  double grid() { return (r.below(9) - 4) * 0.25; }

  primitive* pick(int type) {
    std::vector<primitive*>& v = bytype[type];
    if (v.empty() || r.below(40) == 0) {  // sometimes a wrong type
      int other = r.below(3) == 0 ? RW_FLT : RW_VERTEX;
      if (!bytype[other].empty())
        return bytype[other][r.below((int)bytype[other].size())];
    }
    if (v.empty()) return nullptr;
    // mostly defined parents, so that undefinedness does not swamp all
    for (int tries = 0; tries < 8; tries++) {
      primitive* q = v[r.below((int)v.size())];
      if (q->valid || r.below(10) == 0) return q;
    }
    return v[r.below((int)v.size())];
  }

  primitive* make(int kind) {
    int type = resulttype(kind);
    primitive* p = newprimitive(type);
    p->kind = kind;
    for (int i = 0; i < MAXPARENTS && parenttype(kind, i) != RW_NONE; i++)
      p->parents[i] = pick(parenttype(kind, i));
    if (type == RW_VERTEX) {
      vertex* v = static_cast<vertex*>(p);
      v->x = grid();
      v->y = grid();
    }
    if (type == RW_FLT) {
      static const double values[] = {0, 1, -1, 0.5, 90, 2};
      static_cast<flt*>(p)->value = values[r.below(6)];
    }
    if (type == RW_POLYGON)
      static_cast<polygon*>(p)->nvert = 3 + r.below(MAXPOLYVERT - 2);
    addprimitive(p);
    checkconstraint(p);
    bytype[type].push_back(p);
    return p;
  }
};

void checkrecords(const char* when) {
  for (primitive* p = plist; p; p = p->next)
    if (p->valid && p->satisfied) {
      ASSERT_TRUE(finiteresult(p)) << when << ": kind " << p->kind;
    }
}

int unsettled() {
  int n = 0;
  for (primitive* p = plist; p; p = p->next) n += !p->satisfied;
  return n;
}

TEST_F(Engine, GeneratedDiagramsNeverHoldNonFiniteValidResults) {
  for (uint64_t seed = 1; seed <= 20; seed++) {
    resetall();
    xsize = ysize = 200;  // a small view keeps the conic searches quick
    recalcsizes(0);
    alerthook = recordalert;
    generator g;
    g.r.s = seed;
    for (int i = 0; i < 12; i++) g.make(FREE);
    for (int i = 0; i < 4; i++) g.make(SCRIPT);
    g.make(X_IDENTITY);
    for (int i = 0; i < 600; i++) {
      int kind = LAYERCOND + g.r.below(V_CCVOTHER2 - LAYERCOND + 1);
      if (resulttype(kind) != RW_NONE) g.make(kind);
    }
    checkconstraints();
    checkrecords("built");
    int valid = 0, invalid = 0;
    for (primitive* p = plist; p; p = p->next) {
      valid += p->satisfied && p->valid;
      invalid += p->satisfied && !p->valid;
    }
    // the diagram must be mostly defined for the drags to mean something
    EXPECT_GT(valid, invalid) << "seed " << seed;
    EXPECT_EQ(unsettled(), 0) << "seed " << seed;
    std::vector<primitive*>& v = g.bytype[RW_VERTEX];
    for (int step = 0; step < 30; step++) {
      vertex* p = static_cast<vertex*>(v[g.r.below((int)v.size())]);
      if (!isfreestanding(p)) continue;
      double keepx = p->x, keepy = p->y;
      p->x = g.grid();
      p->y = g.grid();
      p->satisfied = 0;
      checkconstraints();
      checkrecords("dragged");
      // a point held on a curve has a finite place, whatever happened
      EXPECT_TRUE(std::isfinite(p->x) && std::isfinite(p->y))
          << "kind " << p->kind << " from " << keepx << ", " << keepy;
    }
    EXPECT_EQ(unsettled(), 0) << "seed " << seed;  // nor after the drags
  }
}

}  // namespace
