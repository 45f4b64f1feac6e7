// recompute.cpp: the recomputation of the world list and the computation of
// one record according to its kind.
//
// No dependency graph is kept beyond the `parents` slots: a fixpoint over the
// ordered list does the scheduling. Since parents precede their dependants,
// one propagation pass and one settling walk normally do all the work; the
// repetitions only matter for records edited into an earlier position than
// a parent, and are skipped when a walk shows they would change nothing.
#include "engine/recompute.h"

#include <cmath>
#include <vector>

#include "engine/conics.h"
#include "engine/continuity.h"
#include "engine/drag.h"
#include "engine/kinds.h"
#include "engine/solvers.h"
#include "language/macro.h"
#include "language/rpn.h"
#include "model/notify.h"
#include "model/worldlist.h"

int appliedconstraint;
int degreemode = 1;

// Parent slots each kind waits for, indexed by kind (ORDER KINDS, codes 0 to
// 85; C_VLEN, 84, is never computed). 0: settled without looking at the parents
// (free data, or kinds that never reach the table); WAITSPECIAL: the count
// depends on the record.
const int WAITSPECIAL = -1;
// clang-format off
static const signed char kindparents[] = {
    0, 0, 0,                       // none, LITERAL, PARAMHOLDER
    WAITSPECIAL,                   // MACROCALL
    0, 3, 0,                       // SCRIPT, LAYERCOND, FREE
    1, 1, 2, 2, 2, 2, 2,           // VONL, VONC, V_LL, V_LC1/2, V_CC1/2
    1, 2, 2, 2, 3, 2, 2,           // V_CCENTER .. V_AVV, V_LCONIC1/2
    1, 0, 3, 2, 3, 2, 3, 3, 2,     // VONCONIC, PINNED, .. V_VROTATE
    3, 3, 3,                       // V_LCVOTHER, V_CCVOTHER, V_VVVHARMONIC
    2, 2, 2, 2, 2, 2, 2, 2, 2,     // L_VV .. L_CCINT2
    2, 2, 2,                       // L_CONICV1/2, L_VVPERP
    2, 3, 3, 3, 3, 3,              // C_VV, C_VVV, C_LLL1..4
    2, 2, 2, 2, 3,                 // C_CCINV, C_LCINV, C_VCRAD, C_VF, C_CTRVV
    4, 3, 1, 5, 5,                 // BEZ_VVVV, A_VVV, A_F, CONIC_VVVVV/LLLLL
    WAITSPECIAL, 0,                // POLYGON, ARC_VVV
    WAITSPECIAL, 2, 3, 0,          // F_AREA, F_VV, F_VVVRATIO, F_PERIMETER
    WAITSPECIAL, 1, 1,             // F_RPN, F_VXCOORD, F_VYCOORD
    3, 3, 3, 2, 10, 0,             // X_XXF .. X_F9, X_IDENTITY
    0, 0, 0, 0, 0,                 // the condition kinds
    0, 3,                          // RATIO_VVV, V_VVRATIO
    3, 0, 3,                       // V_LCVOTHER2, C_VLEN, V_CCVOTHER2
};
// clang-format on
const int NCOMPUTED = V_CCVOTHER2 + 1;
static_assert(sizeof kindparents == NCOMPUTED, "one entry per kind");

// Types each kind expects in its parent slots (ORDER KINDS, codes 0 to 85):
// V vertex, L line, C circle, K conic, A angle, F flt, X xform, P polygon.
// A record whose parents have other types (a damaged file, a macro bound
// to the wrong arguments) is undefined rather than read as something else.
// clang-format off
static const char* const kindsignature[] = {
    "", "", "", "", "", "FFF", "",                     // .. FREE
    "L", "C", "LL", "LC", "LC", "CC", "CC",            // VONL .. V_CC2
    "C", "VV", "LV", "VC", "AVV", "LK", "LK",          // .. V_LCONIC2
    "K", "", "VVV", "FF", "VVF", "VX", "VFF", "VFF",   // .. V_VSCALE
    "VF", "LCV", "CCV", "VVV",                         // .. V_VVVHARMONIC
    "VV", "VL", "VL", "VC", "VC", "CC", "CC", "CC",    // L_VV .. L_CCINT1
    "CC", "KV", "KV", "VV",                            // .. L_VVPERP
    "VV", "VVV", "LLL", "LLL", "LLL", "LLL",           // C_VV .. C_LLL4
    "CC", "LC", "VC", "VF", "VVV",                     // .. C_CTRVV
    "VVVV", "VVV", "F", "VVVVV", "LLLLL",              // .. CONIC_LLLLL
    "VVVVVVVVVV", "VVV",                               // POLYGON, ARC_VVV
    "P", "VV", "VVV", "P", "", "V", "V",               // F_AREA .. F_VYCOORD
    "XXF", "XFF", "XFF", "XF", "XFFFFFFFFF", "",       // X_XXF .. X_IDENTITY
    "VV", "VVVV", "VL", "VC", "VVF",                   // the conditions
    "VVV", "VVF",                                      // RATIO_VVV, V_VVRATIO
    "LCV", "", "CCV",                                  // .. V_CCVOTHER2
};
// clang-format on
static_assert(sizeof kindsignature / sizeof *kindsignature == NCOMPUTED,
              "one signature per kind");

static int typeofletter(char c) {
  switch (c) {
    case 'V': return RW_VERTEX;
    case 'L': return RW_LINE;
    case 'C': return RW_CIRCLE;
    case 'K': return RW_CONIC;
    case 'A': return RW_ANGLE;
    case 'F': return RW_FLT;
    case 'X': return RW_XFORM;
    case 'P': return RW_POLYGON;
    default: return RW_NONE;  // no other letter is used in the table
  }
}

// A circle through three collinear points, or the inverse of a circle
// through the centre of inversion, is drawn as a straight line: its centre
// is at infinity and its radius means nothing, so nothing built on it as a
// circle is defined.
static int isstraight(const primitive* q) {
  return q->type == RW_CIRCLE && static_cast<const circle*>(q)->center.w == 0;
}

int parenttype(int kind, int slot) {
  if (kind < 0 || kind >= NCOMPUTED || slot < 0) return RW_NONE;
  const char* sig = kindsignature[kind];
  for (int i = 0; i < slot; i++)
    if (!sig[i]) return RW_NONE;
  return typeofletter(sig[slot]);
}

// 1 when every present parent has the type its kind expects and every
// circle parent is a true circle.
static int parentsusable(const primitive* p) {
  const char* sig = kindsignature[p->kind];
  for (int i = 0; sig[i] && i < MAXPARENTS; i++) {
    const primitive* q = p->parents[i];
    if (q && (q->type != typeofletter(sig[i]) || isstraight(q))) return 0;
  }
  return 1;
}

// A missing parent never settles, so the record is reported rather than
// computed from a null pointer.
int notsatisfied(primitive* p, int n) {
  if (n > MAXPARENTS) n = MAXPARENTS;
  for (int i = 0; i < n; i++)
    if (!p->parents[i] || !p->parents[i]->satisfied) return 1;
  return 0;
}

int invalid(primitive* p, int n) {
  if (n > MAXPARENTS) n = MAXPARENTS;
  for (int i = 0; i < n; i++)
    if (p->parents[i] && !p->parents[i]->valid) {
      p->valid = 0;
      return 1;
    }
  return 0;
}

static int clampcount(int n) {
  return n < 0 ? 0 : n > MAXPARENTS ? MAXPARENTS : n;
}

// Polygons and area measures wait for every vertex; any invalid vertex
// makes the result invalid (an area of undefined points means nothing).
static int waitpolygon(primitive* p, primitive* poly) {
  int n = clampcount(static_cast<polygon*>(poly)->nvert);
  if (notsatisfied(poly, n)) return 0;
  for (int i = 0; i < n; i++)
    if (!poly->parents[i]->valid) p->valid = 0;
  return 1;
}

// An expression waits for every record it refers to and is invalid when
// any of them is.
static int waitexpression(flt* f) {
  if (!f->rpn) return 1;  // nothing to wait for (evalrpn sees the same)
  for (int i = 0; i < f->nrpn; i++) {
    const rpnitem& it = f->rpn[i];
    if (it.tag != RPN_ANGLE && it.tag != RPN_FLT) continue;
    if (!it.prim || !it.prim->satisfied) return 0;
    if (!it.prim->valid) f->valid = 0;
  }
  return 1;
}

static int waitmacrocall(macrocall* m) {
  int n = m->macroref ? clampcount(m->macroref->nparams) : 0;
  return !notsatisfied(m, n);
}

// 1 when p's parents are settled, with p->valid cleared if one is invalid.
static int parentsready(primitive* p) {
  int n = kindparents[p->kind];
  if (n != WAITSPECIAL) {
    if (notsatisfied(p, n)) return 0;
    invalid(p, n);
    return 1;
  }
  switch (p->kind) {
    case MACROCALL: return waitmacrocall(static_cast<macrocall*>(p));
    case POLYGON: return waitpolygon(p, p);
    case F_AREA:  // a flt: its first slot was not checked for null
      if (!p->parents[0] || !p->parents[0]->satisfied) return 0;
      if (p->parents[0]->type != RW_POLYGON) return 1;  // the types decide
      return waitpolygon(p, p->parents[0]);
    case F_RPN: return waitexpression(static_cast<flt*>(p));
    default: return 1;  // no other kind is marked WAITSPECIAL
  }
}

static void computevertex(vertex* P) {
  switch (P->kind) {
    case VONL: projecttoline(P); return;
    case VONC: projecttocircle(P); return;
    case VONCONIC:
      projecttoconic(P, static_cast<const conic*>(P->parents[0]));
      return;
    case V_LL:
      vertonlineline(P, static_cast<line*>(P->parents[0]),
                     static_cast<line*>(P->parents[1]));
      return;
    case V_LC1:
    case V_LC2:
      solvevlc(static_cast<line*>(P->parents[0]),
               static_cast<circle*>(P->parents[1]), P,
               P->kind == V_LC1 ? 1 : 2);
      return;
    case V_CC1: vert_circcircle(P, 1); return;
    case V_CC2: vert_circcircle(P, 2); return;
    case V_CCVOTHER: vert_circcircle(P, 3); return;
    case V_CCVOTHER2: vert_circcircle(P, 4); return;
    case V_LCONIC1:
    case V_LCONIC2: vert_lineconic(P); return;
    case V_LVMIRROR: vlvmirror(P); return;
    case V_VCINV: v_vcinvert(P); return;
    case V_AVV: v_avv(P); return;
    case V_VVVBISECT: vert_anglebisect(P); return;
    case V_VVF: v_vvflt(P); return;
    case V_VVRATIO: v_vvratio(P); return;
    case V_CCENTER: v_ccenter(P); return;
    case V_VVMID: v_vvmid(P); return;
    case V_FF: v_ff(P); return;
    case V_VX: v_vx(P); return;
    case V_VTRANSLATE: v_vtranslate(P); return;
    case V_VSCALE: v_vscale(P); return;
    case V_VROTATE: v_vrotate(P); return;
    case V_LCVOTHER:
    case V_LCVOTHER2: v_lcvother(P); return;
    case V_VVVHARMONIC: v_vvvharmonic(P); return;
    default: return;  // FREE, PINNED, RATIO_VVV: free data
  }
}

static void computeline(line* L) {
  switch (L->kind) {
    case L_VV: l_vv(L); return;
    case L_VLPAR: l_vlpar(L); return;
    case L_VLPERP: l_vlperp(L); return;
    case L_VVPERP: l_vvperp(L); return;
    case L_VC1:
    case L_VC2: line_vertcircletan(L); return;
    case L_CCEXT1:
    case L_CCEXT2: line_circcircleext(L); return;
    case L_CCINT1:
    case L_CCINT2: line_circcircleint(L); return;
    case L_CONICV1:
    case L_CONICV2: linetangenttoconic(L); return;
    default: return;  // a line of a point or circle kind: nothing to do
  }
}

static void computecircle(circle* C) {
  switch (C->kind) {
    case C_VV: c_vv(C); return;
    case C_VVV: circle_vvv(C); return;
    case C_LLL1:
    case C_LLL2:
    case C_LLL3:
    case C_LLL4: circle_lll(C); return;
    case C_CCINV: circle_ccinvert(C); return;
    case C_LCINV: circle_linecinvert(C); return;
    case C_VCRAD: c_vcrad(C); return;
    case C_VF: c_vf(C); return;
    case C_CTRVV: c_ctrvv(C); return;
    default: return;  // a circle of another family's kind: nothing to do
  }
}

static void computeflt(flt* F) {
  switch (F->kind) {
    case F_AREA: f_polyarea(F); return;
    case F_VV: f_vv(F); return;
    case F_VVVRATIO: f_vvvratio(F); return;
    case F_RPN: evalrpn(F); return;
    case F_VXCOORD:
    case F_VYCOORD: f_vcoord(F); return;
    default: return;  // SCRIPT, F_PERIMETER: the value stays as it is
  }
}

static void computexform(xform* X) {
  switch (X->kind) {
    case X_XXF: x_xxf(X); return;
    case X_SCALE: x_scale(X); return;
    case X_TRANSLATE: x_translate(X); return;
    case X_ROTATE: x_rotate(X); return;
    case X_F9: x_f9(X); return;
    default: return;  // X_IDENTITY: the matrix stays as constructed
  }
}

// Computes p from its settled, valid parents, by type and then kind.
static void compute(primitive* p) {
  switch (p->type) {
    case RW_VERTEX: computevertex(static_cast<vertex*>(p)); return;
    case RW_LINE: computeline(static_cast<line*>(p)); return;
    case RW_CIRCLE: computecircle(static_cast<circle*>(p)); return;
    case RW_FLT: computeflt(static_cast<flt*>(p)); return;
    case RW_XFORM: computexform(static_cast<xform*>(p)); return;
    case RW_BEZIER:
      if (p->kind == BEZ_VVVV) bez_vvvv(static_cast<bezier*>(p));
      return;
    case RW_ANGLE:
      if (p->kind == A_VVV) a_vvv(static_cast<angle*>(p));
      if (p->kind == A_F) a_f(static_cast<angle*>(p));
      return;
    case RW_CONIC:
      if (p->kind == CONIC_VVVVV) conic_vvvvv(static_cast<conic*>(p));
      if (p->kind == CONIC_LLLLL) conic_lllll(static_cast<conic*>(p));
      return;
    case RW_LAYERCONDITION:
      if (p->kind == LAYERCOND) layercond(static_cast<layercondition*>(p));
      return;
    default: return;  // arcs, texts, conditions: nothing is computed
  }
}

static int walkdepth;  // nested recomputations (from macro expansion)
static int following;  // this walk follows the nearest solutions

static int finitepoint(const vertex* v) {
  return std::isfinite(v->x) && std::isfinite(v->y) && std::isfinite(v->w);
}

static int finitearray(const double* d, int n) {
  for (int i = 0; i < n; i++)
    if (!std::isfinite(d[i])) return 0;
  return 1;
}

int finiteresult(const primitive* p) {
  switch (p->type) {
    case RW_VERTEX: return finitepoint(static_cast<const vertex*>(p));
    case RW_LINE: {
      const line* l = static_cast<const line*>(p);
      return finitepoint(&l->p1) && finitepoint(&l->p2) &&
             std::isfinite(l->a) && std::isfinite(l->b) && std::isfinite(l->c);
    }
    case RW_CIRCLE: {
      const circle* c = static_cast<const circle*>(p);
      return finitepoint(&c->center) && std::isfinite(c->radius) &&
             finitepoint(&c->aux[0]) && finitepoint(&c->aux[1]) &&
             finitepoint(&c->aux[2]);
    }
    case RW_BEZIER: {
      const bezier* b = static_cast<const bezier*>(p);
      return finitepoint(&b->p1) && finitepoint(&b->p2) &&
             finitepoint(&b->p3) && finitepoint(&b->p4);
    }
    case RW_FLT: return std::isfinite(static_cast<const flt*>(p)->value);
    case RW_CONIC: return finitearray(static_cast<const conic*>(p)->coef, 6);
    case RW_ANGLE: return std::isfinite(static_cast<const angle*>(p)->value);
    case RW_POLYGON: return std::isfinite(static_cast<const polygon*>(p)->area);
    case RW_XFORM: return finitearray(static_cast<const xform*>(p)->m, 9);
    default: return 1;  // texts, arcs, conditions, macros: no numbers
  }
}

// The stored position of a point kept on a curve is data the user placed;
// a projection that comes out non-finite (a point at the very centre of its
// circle, a line without direction) must not overwrite it.
static void computeguarded(primitive* p, int wasvalid) {
  if (!isfreestanding(p)) {
    if (following && hassiblings(p->kind))
      computefollowing(p, wasvalid, compute);
    else
      compute(p);
    return;
  }
  vertex* v = static_cast<vertex*>(p);
  double x = v->x, y = v->y, w = v->w;
  compute(p);
  if (finitepoint(v)) return;
  v->x = x;
  v->y = y;
  v->w = w;
  v->valid = 0;
}

static void setsettled(primitive* p) {
  p->satisfied = 1;
  appliedconstraint = 1;
}

void checkconstraint(primitive* p) {
  int wasvalid = p->valid;
  p->valid = 1;
  if (p->kind != FREE && p->type != RW_FLT && !p->parents[0]) {
    p->satisfied = 1;
    return;
  }
  if (p->kind < MACROCALL || p->kind >= NCOMPUTED || p->kind == C_VLEN) {
    setsettled(p);
    return;
  }
  if (!parentsready(p)) {
    // A later walk computes it; the record must still know whether its
    // last result was usable, to follow it.
    if (hassiblings(p->kind)) p->valid = wasvalid;
    return;
  }
  if (!parentsusable(p)) {
    p->valid = 0;
    setsettled(p);
    return;
  }
  // A macro call does not look at its arguments' validity, and a polygon
  // with an undefined corner still gets its area; the rest are computed
  // only from valid parents.
  if (p->kind == MACROCALL)
    expandmacrocall(static_cast<macrocall*>(p));
  else if (p->kind == POLYGON)
    setpolyarea(static_cast<polygon*>(p));
  else if (p->valid)
    computeguarded(p, wasvalid);
  if (p->valid && !finiteresult(p)) p->valid = 0;
  setsettled(p);
}

// Every recomputation has its own number; a record whose `visit` carries it
// has already been passed in this recomputation's propagation walk.
static uint32_t walkstamp;

// Records to settle, in list order. Kept between frames so that its
// capacity is reused: a frame allocates nothing once the list has grown.
static std::vector<primitive*> pending;

static void unsettleresult(macrocall* m, uint32_t stamp, int* missed) {
  primitive* r = m->result;
  if (!r) return;
  if (r->visit == stamp && r->satisfied) *missed = 1;  // already passed
  r->satisfied = 0;
}

// The world list as an array, as it was last walked. Walking an array lets
// the processor fetch many records at once, where following `next` waits
// for each record before it can ask for the following one. The array is
// checked against the links as it is walked, so it is never trusted beyond
// the point where the list was changed.
static std::vector<primitive*> order;

static void rebuildorder() {
  order.clear();
  for (primitive* p = plist; p; p = p->next) order.push_back(p);
}

// Step 1 and the first step 2 walk for one record.
static void markandcheck(primitive* p, uint32_t stamp, int* missed) {
  p->visit = stamp;
  if (p->type == RW_FLT) p->satisfied = 0;
  if (p->type == RW_MACROCALL) {
    p->satisfied = 0;
    unsettleresult(static_cast<macrocall*>(p), stamp, missed);
  }
  for (primitive* q : p->parents) {
    if (!p->satisfied || !q) continue;
    if (!q->satisfied) p->satisfied = 0;
    if (q->visit != stamp) *missed = 1;  // q comes later, or not at all
  }
}

// Steps 1 and 2 in one walk over `order`: unsettles every flt and macro
// call, and every record with an unsettled parent, and collects the
// unsettled records. Returns 0 as soon as `order` no longer matches the
// list (nothing done is wrong, only unfinished); otherwise sets *missed
// when a record was passed before something it depends on (a parent later
// in the list), in which case the full propagation fixpoint must follow.
static int walkorder(std::vector<primitive*>& work, int* missed) {
  uint32_t stamp = ++walkstamp;
  if (stamp == 0) stamp = ++walkstamp;
  size_t n = order.size();
  if ((n ? order[0] : nullptr) != plist) return 0;
  work.clear();
  for (size_t i = 0; i < n; i++) {
    primitive* p = order[i];
    if (p->next != (i + 1 < n ? order[i + 1] : nullptr)) return 0;
    markandcheck(p, stamp, missed);
    if (!p->satisfied) work.push_back(p);
  }
  return 1;
}

static int markandpropagate(std::vector<primitive*>& work) {
  int missed = 0;
  if (pselected) pselected->satisfied = 0;
  if (walkorder(work, &missed)) return missed;
  rebuildorder();
  missed = 0;
  walkorder(work, &missed);
  return missed;
}

static int hasunsettledparent(const primitive* p) {
  for (const primitive* q : p->parents)
    if (q && !q->satisfied) return 1;
  return 0;
}

// Step 2 as a fixpoint over the whole list, for lists in which a record
// comes before one of its parents.
static void propagate(std::vector<primitive*>& work) {
  int changed;
  do {
    changed = 0;
    for (primitive* p = plist; p; p = p->next)
      if (p->satisfied && hasunsettledparent(p)) {
        p->satisfied = 0;
        changed = 1;
      }
  } while (changed);
  work.clear();
  for (primitive* p = plist; p; p = p->next)
    if (!p->satisfied) work.push_back(p);
}

// Step 3: settling walks over the unsettled records, in list order, while
// a walk settles something. Leaves in `work` those that never settled.
static void settle(std::vector<primitive*>& work) {
  size_t n = work.size();
  do {
    appliedconstraint = 0;
    size_t left = 0;
    for (size_t i = 0; i < n; i++) {
      primitive* p = work[i];
      if (p->satisfied) continue;
      checkconstraint(p);
      if (!p->satisfied) work[left++] = p;
    }
    n = left;
  } while (n && appliedconstraint);
  work.resize(n);
}

void checkconstraints() {
  std::vector<primitive*> nested;
  std::vector<primitive*>& work = walkdepth ? nested : pending;
  walkdepth++;
  // Only the top-level walk follows; records a macro expands into are
  // made afresh.
  int outer = following;
  following = walkdepth == 1 && followmotion && keepcontinuous;
  if (markandpropagate(work)) propagate(work);
  settle(work);
  following = outer;
  walkdepth--;
  if (!walkdepth) followmotion = 0;
  for (size_t i = 0; i < work.size(); i++) alert("Wacko constraints");
}

void resetengine() {
  appliedconstraint = 0;
  // walkstamp keeps counting: records made before the reset may still
  // carry stamps, and a reused number could pass them as already walked.
  walkdepth = 0;
  following = 0;
  pending.clear();
  order.clear();
  degreemode = 1;  // a new diagram is in degree mode, as reading resets it
  inselectstatehook = nullptr;
  keepcontinuous = 1;
  followmotion = 0;
}
