// construct.cpp: the construction helpers that turn picked records into a
// new record, including the choice between two solutions by the click.
#include "model/construct.h"

#include <initializer_list>
#include <vector>

#include "engine/conics.h"
#include "engine/recompute.h"
#include "model/style.h"
#include "model/worldlist.h"

static void setparents(primitive* p, int kind,
                       std::initializer_list<primitive*> parents) {
  p->kind = kind;
  int i = 0;
  for (primitive* q : parents) p->parents[i++] = q;
}

// The common tail of every helper: selected, and unsettled so that the
// next recomputation computes it (a branch helper leaves the coordinates of
// its last trial behind).
template <class T>
static T* done(T* p) {
  p->satisfied = 0;
  selectprim(p);
  return p;
}

static vertex* newvertex(int kind, std::initializer_list<primitive*> ps) {
  vertex* v = new vertex;
  genname(v);
  addvertexname(v);
  setparents(v, kind, ps);
  return v;
}

static line* newline(int kind, std::initializer_list<primitive*> ps) {
  line* l = new line;
  genname(l);
  setparents(l, kind, ps);
  l->linetype = currentlinetype;
  l->linestyle = currentlinestyle;
  l->linemark = currentlinemark;
  return l;
}

template <class T>
static T* newrecord(int kind, std::initializer_list<primitive*> ps) {
  T* p = new T;
  genname(p);
  setparents(p, kind, ps);
  return p;
}

line* linevertvert(vertex* a, vertex* b) {
  return done(newline(L_VV, {a, b}));
}

polygon* vertlisttopolygon(int count, vertex** v) {
  polygon* p = newrecord<polygon>(POLYGON, {});
  if (count > MAXPOLYVERT) count = MAXPOLYVERT;
  if (count < 0) count = 0;
  for (int i = 0; i < count; i++) p->parents[i] = v[i];
  p->nvert = count;
  p->polytype = currentpolytype;
  return done(p);
}

vertex* vertvertvertmid(vertex* a, vertex* b) {
  return done(newvertex(V_VVMID, {a, b}));
}

line* vertvertlineperp(vertex* a, vertex* b) {
  return done(newline(L_VVPERP, {a, b}));
}

vertex* vertlinevertmirror(vertex* v, line* l) {
  return done(newvertex(V_LVMIRROR, {l, v}));
}

circle* circlinecircinv(line* l, circle* c) {
  return done(newrecord<circle>(C_LCINV, {l, c}));
}

circle* circcirccircinv(circle* c, circle* k) {
  return done(newrecord<circle>(C_CCINV, {c, k}));
}

vertex* vertvertcircinv(vertex* v, circle* c) {
  return done(newvertex(V_VCINV, {v, c}));
}

vertex* vertanglevertvert(angle* a, vertex* v, vertex* z) {
  return done(newvertex(V_AVV, {a, v, z}));
}

circle* circvertcircrad(vertex* v, circle* c) {
  return done(newrecord<circle>(C_VCRAD, {v, c}));
}

circle* circvertvert(vertex* centre, vertex* on) {
  return done(newrecord<circle>(C_VV, {centre, on}));
}

vertex* vertlineline(line* l0, line* l1) {
  return done(newvertex(V_LL, {l0, l1}));
}

line* linevertlineperp(vertex* v, line* l) {
  return done(newline(L_VLPERP, {v, l}));
}

line* linevertlinepar(vertex* v, line* l) {
  return done(newline(L_VLPAR, {v, l}));
}

// 1 when `p` is built, directly or through others, on `v`.
static int dependson(primitive* p, const primitive* v) {
  std::vector<primitive*> todo = {p};
  std::vector<primitive*> seen;
  while (!todo.empty()) {
    primitive* q = todo.back();
    todo.pop_back();
    if (q == v) return 1;
    int known = 0;
    for (primitive* s : seen) known |= s == q;
    if (known) continue;
    seen.push_back(q);
    for (primitive* r : q->parents)
      if (r) todo.push_back(r);
  }
  return 0;
}

static int tietocurve(vertex* v, primitive* curve, int kind) {
  if (v->kind != NOCONSTRAINT && !isfreestanding(v)) return 0;
  if (dependson(curve, v)) return 0;
  for (primitive*& q : v->parents) q = nullptr;
  v->kind = kind;
  v->parents[0] = curve;
  v->satisfied = 0;  // the next recomputation moves it onto the curve
  return 1;
}

int verttoline(vertex* v, line* l) {
  return tietocurve(v, l, VONL);
}

int verttocirc(vertex* v, circle* c) {
  return tietocurve(v, c, VONC);
}

static double sqdist(double x0, double y0, double x1, double y1) {
  return (x0 - x1) * (x0 - x1) + (y0 - y1) * (y0 - y1);
}

// Computes v as branch `kind` and returns its squared distance to (x, y).
static double vertextrial(vertex* v, int kind, double x, double y) {
  v->kind = kind;
  checkconstraint(v);
  return sqdist(v->x, v->y, x, y);
}

// The first branch only when the second lands strictly farther: on a tie
// the second stays.
static vertex* nearervertex(vertex* v, int k1, int k2, double x, double y) {
  double d1 = vertextrial(v, k1, x, y);
  double d2 = vertextrial(v, k2, x, y);
  if (d2 > d1) v->kind = k1;
  return done(v);
}

vertex* linecirctovert1(line* l, circle* c, double x, double y) {
  return nearervertex(newvertex(V_LC1, {l, c}), V_LC1, V_LC2, x, y);
}

vertex* circcirctovert1(circle* c0, circle* c1, double x, double y) {
  return nearervertex(newvertex(V_CC1, {c0, c1}), V_CC1, V_CC2, x, y);
}

vertex* circcirctovert2(circle* c0, circle* c1) {
  return done(newvertex(V_CC2, {c0, c1}));
}

// For tangent lines, both defining points of each candidate are measured:
// the second branch stays unless both of its points are farther than the
// first candidate's first point, or both farther than its second point.
static line* nearertangent(line* l, int k1, int k2, double x, double y) {
  l->kind = k1;
  checkconstraint(l);
  double d1p = sqdist(l->p1.x, l->p1.y, x, y);
  double d1q = sqdist(l->p2.x, l->p2.y, x, y);
  l->kind = k2;
  checkconstraint(l);
  double d2p = sqdist(l->p1.x, l->p1.y, x, y);
  double d2q = sqdist(l->p2.x, l->p2.y, x, y);
  if ((d2p > d1p && d2q > d1p) || (d2p > d1q && d2q > d1q)) l->kind = k1;
  return done(l);
}

line* vertcirctoline1(vertex* v, circle* c, double x, double y) {
  return nearertangent(newline(L_VC1, {v, c}), L_VC1, L_VC2, x, y);
}

line* circcirctolineext1(circle* c0, circle* c1, double x, double y) {
  return nearertangent(newline(L_CCEXT1, {c0, c1}), L_CCEXT1, L_CCEXT2, x, y);
}

line* circcirctolineint1(circle* c0, circle* c1, double x, double y) {
  return nearertangent(newline(L_CCINT1, {c0, c1}), L_CCINT1, L_CCINT2, x, y);
}

circle* vvvtocircle(vertex* a, vertex* b, vertex* c) {
  return done(newrecord<circle>(C_VVV, {a, b, c}));
}

circle* ctrvvtocircle(vertex* centre, vertex* a, vertex* b) {
  return done(newrecord<circle>(C_CTRVV, {centre, a, b}));
}

arc* vvvtoarc(vertex* a, vertex* b, vertex* c) {
  return done(newrecord<arc>(ARC_VVV, {a, b, c}));
}

vertex* anglebisect(vertex* a, vertex* apex, vertex* c) {
  return done(newvertex(V_VVVBISECT, {a, apex, c}));
}

angle* avvv(vertex* a, vertex* apex, vertex* c) {
  return done(newrecord<angle>(A_VVV, {a, apex, c}));
}

conic* vvvvvtoconic(vertex** v) {
  return done(newrecord<conic>(CONIC_VVVVV, {v[0], v[1], v[2], v[3], v[4]}));
}

conic* llllltoconic(line** l) {
  return done(newrecord<conic>(CONIC_LLLLL, {l[0], l[1], l[2], l[3], l[4]}));
}

bezier* vvvvbez(vertex* a, vertex* b, vertex* c, vertex* d) {
  return done(newrecord<bezier>(BEZ_VVVV, {a, b, c, d}));
}

line* vertcontangent(vertex* v, conic* k, double x, double y) {
  line* l = newline(L_CONICV1, {k, v});
  l->valid = 1;
  linetangenttoconic(l);
  double d1 = sqdist(l->p1.x, l->p1.y, x, y);
  l->kind = L_CONICV2;
  l->valid = 1;
  linetangenttoconic(l);
  double d2 = sqdist(l->p1.x, l->p1.y, x, y);
  if (d2 > d1) l->kind = L_CONICV1;
  return done(l);
}

vertex* vertlineconic(line* l, conic* k, double x, double y) {
  vertex* v = newvertex(V_LCONIC1, {l, k});
  vert_lineconic(v);
  double d1 = sqdist(v->x, v->y, x, y);
  v->kind = V_LCONIC2;
  vert_lineconic(v);
  double d2 = sqdist(v->x, v->y, x, y);
  if (d2 > d1) v->kind = V_LCONIC1;
  return done(v);
}

circle* llltocircle(line* l0, line* l1, line* l2, const double xy[6]) {
  circle* c = newrecord<circle>(C_LLL4, {l0, l1, l2});
  int best = C_LLL4;
  double bestsum = 0;
  for (int kind = C_LLL4; kind >= C_LLL1; kind--) {
    c->kind = kind;
    checkconstraint(c);
    double sum = 0;
    for (int i = 0; i < 3; i++)
      sum += sqdist(c->center.x, c->center.y, xy[2 * i], xy[2 * i + 1]);
    if (kind == C_LLL4 || sum < bestsum) {
      best = kind;
      bestsum = sum;
    }
  }
  c->kind = best;
  return done(c);
}
