// The recomputation frame: scheduling, propagation of changes and of
// invalidity, the "Wacko constraints" alert, and the in-place kinds.
#include <cmath>

#include "engine/recompute.h"
#include "engine/solvers.h"
#include "model/style.h"
#include "tests/engine_fixture.h"

namespace {
using namespace enginetest;

TEST_F(Engine, DragRecomputesOnlyWhatDepends) {
  vertex* a = freept(0, 0);
  vertex* b = freept(2, 4);
  vertex* m = add<vertex>(V_VVMID, {a, b});
  vertex* c = freept(5, 5);
  vertex* n = add<vertex>(V_VVMID, {c, c});
  checkconstraints();
  EXPECT_DOUBLE_EQ(m->x, 1);
  EXPECT_DOUBLE_EQ(m->y, 2);
  EXPECT_EQ(m->satisfied, 1);
  EXPECT_EQ(m->valid, 1);

  // Move b without telling the engine: nothing is recomputed.
  b->x = 4;
  checkconstraints();
  EXPECT_DOUBLE_EQ(m->x, 1);
  // Clearing the moved point's flag recomputes its dependants only.
  b->satisfied = 0;
  n->x = 99;  // a stale value that must survive
  checkconstraints();
  EXPECT_DOUBLE_EQ(m->x, 2);
  EXPECT_DOUBLE_EQ(n->x, 99);
  EXPECT_TRUE(alerts().empty());
}

TEST_F(Engine, ChangesReachDependantsListedBeforeTheirParents) {
  vertex* a = freept(0, 0);
  vertex* m = add<vertex>(V_VVMID, {a, nullptr});
  vertex* b = freept(2, 2);
  m->parents[1] = b;  // edited to depend on a later record
  checkconstraints();
  EXPECT_DOUBLE_EQ(m->x, 1);
  b->x = 6;
  b->satisfied = 0;
  checkconstraints();
  EXPECT_DOUBLE_EQ(m->x, 3);
  EXPECT_TRUE(alerts().empty());
}

TEST_F(Engine, CyclesAndMissingParentsAreWacko) {
  vertex* a = freept(0, 0);
  vertex* p = add<vertex>(V_VVMID, {a, nullptr});
  vertex* q = add<vertex>(V_VVMID, {a, p});
  p->parents[1] = q;  // p and q depend on each other
  vertex* r = add<vertex>(V_VVMID, {a, nullptr});
  r->parents[0] = a;  // second parent missing: never settles
  r->parents[1] = nullptr;
  r->kind = V_LVMIRROR;
  checkconstraints();
  // r has a null second slot but a non-null first: it waits forever too.
  ASSERT_EQ(alerts().size(), 3u);
  for (const std::string& s : alerts()) EXPECT_EQ(s, "Wacko constraints");
  EXPECT_EQ(a->satisfied, 1);
  EXPECT_EQ(p->satisfied, 0);
}

TEST_F(Engine, ParallelLinesMeetAtInfinityAndInvalidityspreads) {
  line* l0 = linethru(0, 0, 1, 0);
  line* l1 = linethru(0, 1, 1, 1);
  vertex* x = add<vertex>(V_LL, {l0, l1});
  vertex* o = freept(3, 3);
  vertex* m = add<vertex>(V_VVMID, {x, o});
  line* l = add<line>(L_VV, {m, o});
  circle* c = add<circle>(C_VV, {o, m});
  checkconstraints();
  EXPECT_EQ(x->valid, 1);
  EXPECT_EQ(x->w, 0);
  // direction of the lines: (b1 c2 - b2 c1, c1 a2 - c2 a1) for y = 0, y = 1
  EXPECT_NE(x->x, 0);
  EXPECT_DOUBLE_EQ(x->y, 0);
  EXPECT_EQ(m->valid, 0);
  EXPECT_EQ(m->w, 0);
  EXPECT_DOUBLE_EQ(m->x, x->x);
  EXPECT_EQ(l->valid, 0);
  EXPECT_EQ(c->valid, 0);

  // Tilting one line makes them meet at (-1, 1)... then all is valid.
  vertex* q = static_cast<vertex*>(l1->parents[1]);
  q->y = 2;  // line through (0,1) and (1,2): y = x + 1; meets y = 0 at -1
  q->satisfied = 0;
  checkconstraints();
  EXPECT_EQ(x->w, 1);
  EXPECT_DOUBLE_EQ(x->x, -1);
  EXPECT_DOUBLE_EQ(x->y, 0);
  EXPECT_EQ(m->valid, 1);
  EXPECT_DOUBLE_EQ(m->x, 1);
  EXPECT_DOUBLE_EQ(m->y, 1.5);
  EXPECT_EQ(l->valid, 1);
  EXPECT_EQ(c->valid, 1);
  EXPECT_DOUBLE_EQ(c->radius, std::sqrt(4 + 2.25));
}

TEST_F(Engine, PerpendicularThroughAPointOnTheLine) {
  line* l = linethru(0, 0, 2, 2);  // y = x
  vertex* off = freept(0, 2);
  vertex* on = freept(1, 1);
  line* p = add<line>(L_VLPERP, {off, l});
  line* q = add<line>(L_VLPERP, {on, l});
  checkconstraints();
  // foot of the perpendicular from (0, 2) to y = x is (1, 1)
  EXPECT_DOUBLE_EQ(p->p2.x, 1);
  EXPECT_DOUBLE_EQ(p->p2.y, 1);
  EXPECT_DOUBLE_EQ(p->a * 0 + p->b * 2 + p->c, 0);
  // through (1, 1) on the line: p2 = V + 10 (-b, a) of the new line
  EXPECT_DOUBLE_EQ(q->p2.x, 1 - 10 * q->b);
  EXPECT_DOUBLE_EQ(q->p2.y, 1 + 10 * q->a);
  EXPECT_NE(q->p2.x - 1, 0);
  // perpendicular: the normals are orthogonal
  EXPECT_DOUBLE_EQ(q->a * l->a + q->b * l->b, 0);
}

TEST_F(Engine, ParallelThroughAPoint) {
  line* l = linethru(0, 0, 1, 2);
  vertex* v = freept(3, 0);
  line* p = add<line>(L_VLPAR, {v, l});
  vertex* inf = add<vertex>(V_LL, {l, p});
  line* bad = add<line>(L_VLPAR, {inf, l});
  checkconstraints();
  EXPECT_DOUBLE_EQ(p->a * 3 + p->b * 0 + p->c, 0);
  EXPECT_DOUBLE_EQ(p->a * 4 + p->b * 2 + p->c, 0);  // (3,0) + (1,2)
  EXPECT_EQ(inf->w, 0);
  EXPECT_EQ(bad->valid, 0);
}

TEST_F(Engine, PerpendicularBisectorSnapsNearlyLevelPairs) {
  vertex* a = freept(-1, 0.5);
  vertex* b = freept(3, 0.5 + 5e-7);
  line* l = add<line>(L_VVPERP, {a, b});
  vertex* c = freept(0, 0);
  vertex* d = freept(2, 2);
  line* k = add<line>(L_VVPERP, {c, d});
  checkconstraints();
  EXPECT_EQ(a->y, b->y);  // snapped
  EXPECT_DOUBLE_EQ(l->p1.x, 1);
  EXPECT_DOUBLE_EQ(l->p2.x, 1);
  EXPECT_DOUBLE_EQ(l->p2.y - l->p1.y, 20);
  // bisector of (0,0)-(2,2) is x + y = 2
  EXPECT_NEAR(k->a * 2 + k->b * 0 + k->c, 0, 1e-12);
  EXPECT_NEAR(k->a * 0 + k->b * 2 + k->c, 0, 1e-12);
}

TEST_F(Engine, HarmonicConjugate) {
  vertex* a = freept(0, 0);
  vertex* b = freept(0.5, 1);
  vertex* c = freept(2, 4);
  vertex* h = add<vertex>(V_VVVHARMONIC, {a, b, c});
  vertex* mid = freept(1, 2);
  vertex* inf = add<vertex>(V_VVVHARMONIC, {a, mid, c});
  checkconstraints();
  // (A, C; B, D) = -1 on the line y = 2x: D = (-1, -2)
  EXPECT_DOUBLE_EQ(h->x, -1);
  EXPECT_DOUBLE_EQ(h->y, -2);
  EXPECT_EQ(h->w, 1);
  EXPECT_EQ(inf->w, 0);
}

TEST_F(Engine, LayerConditionUpperBoundIsExclusive) {
  flt* low = number(1);
  flt* x = number(1);
  flt* high = number(2);
  layercondition* c = add<layercondition>(LAYERCOND, {low, x, high});
  c->layermask = 0x6;
  checkconstraints();
  EXPECT_EQ(layerset, 0x6u);  // x = low switches
  layerset = 0xffffffffu;
  x->value = 2;
  checkconstraints();
  EXPECT_EQ(layerset, 0xffffffffu);  // x = high does not
}

TEST_F(Engine, AngleFromNumberInDegreeMode) {
  flt* f = number(90);
  angle* a = add<angle>(A_F, {f});
  checkconstraints();
  EXPECT_DOUBLE_EQ(a->value, 90);
  degreemode = 1;
  checkconstraints();  // flts are recomputed every frame, so is a
  EXPECT_DOUBLE_EQ(a->value, 1.570796325);
}

TEST_F(Engine, TransformsAndTransformedPoints) {
  degreemode = 1;
  xform* id = add<xform>(X_IDENTITY, {});
  xform* rot = add<xform>(X_ROTATE, {id, number(90)});
  xform* tr = add<xform>(X_TRANSLATE, {rot, number(1), number(2)});
  xform* sc = add<xform>(X_SCALE, {id, number(2), number(3)});
  xform* pick = add<xform>(X_XXF, {tr, sc, number(0)});
  vertex* v = freept(1, 0);
  vertex* r = add<vertex>(V_VX, {v, tr});
  vertex* s = add<vertex>(V_VX, {v, pick});
  vertex* t = add<vertex>(V_VROTATE, {v, number(90)});
  vertex* u = add<vertex>(V_VTRANSLATE, {v, number(-1), number(5)});
  vertex* w = add<vertex>(V_VSCALE, {v, number(3), number(7)});
  std::initializer_list<primitive*> nine = {number(1), number(0), number(0),
                                            number(0), number(1), number(0),
                                            number(4), number(5), number(1)};
  std::vector<primitive*> ps = {id};
  ps.insert(ps.end(), nine.begin(), nine.end());
  xform* f9 = new xform;
  f9->kind = X_F9;
  for (int i = 0; i < 10; i++) f9->parents[i] = ps[i];
  addprimitive(f9);
  vertex* z = add<vertex>(V_VX, {v, f9});
  checkconstraints();
  // (1, 0) turned a quarter counterclockwise is (0, 1), then moved by (1, 2)
  EXPECT_NEAR(r->x, 1, 1e-12);
  EXPECT_NEAR(r->y, 3, 1e-12);
  EXPECT_DOUBLE_EQ(r->w, 1);
  EXPECT_DOUBLE_EQ(s->x, 2);  // the flt is 0: the second matrix
  EXPECT_DOUBLE_EQ(s->y, 0);
  EXPECT_NEAR(t->x, 0, 1e-12);
  EXPECT_NEAR(t->y, 1, 1e-12);
  EXPECT_DOUBLE_EQ(u->x, 0);
  EXPECT_DOUBLE_EQ(u->y, 5);
  EXPECT_DOUBLE_EQ(w->x, 3);
  EXPECT_DOUBLE_EQ(w->y, 0);
  EXPECT_DOUBLE_EQ(z->x, 5);  // translation row (4, 5)
  EXPECT_DOUBLE_EQ(z->y, 5);
}

TEST_F(Engine, PolygonAreaAndItsInvalidity) {
  vertex* v[4] = {freept(0, 0), freept(2, 0), freept(2, 3), freept(0, 3)};
  polygon* p = add<polygon>(POLYGON, {v[0], v[1], v[2], v[3]});
  p->nvert = 4;
  flt* a = add<flt>(F_AREA, {p});
  flt* d = add<flt>(F_VV, {v[0], v[2]});
  flt* xc = add<flt>(F_VXCOORD, {v[2]});
  flt* yc = add<flt>(F_VYCOORD, {v[2]});
  checkconstraints();
  EXPECT_DOUBLE_EQ(p->area, 6);
  EXPECT_DOUBLE_EQ(a->value, 6);
  EXPECT_DOUBLE_EQ(d->value, std::sqrt(13.0));
  EXPECT_DOUBLE_EQ(xc->value, 2);
  EXPECT_DOUBLE_EQ(yc->value, 3);
  // An undefined corner (a midpoint with a point at infinity) makes both
  // the polygon and its area undefined.
  line* l0 = linethru(0, 0, 1, 0);
  line* l1 = linethru(0, 1, 1, 1);
  vertex* inf = add<vertex>(V_LL, {l0, l1});
  vertex* bad = add<vertex>(V_VVMID, {inf, v[0]});
  polygon* q = add<polygon>(POLYGON, {v[0], v[1], bad});
  q->nvert = 3;
  flt* qa = add<flt>(F_AREA, {q});
  checkconstraints();
  EXPECT_EQ(q->valid, 0);
  EXPECT_EQ(qa->valid, 0);
}

TEST_F(Engine, CirclesFromPointsAndNumbers) {
  vertex* o = freept(1, 1);
  vertex* a = freept(4, 5);
  circle* c = add<circle>(C_VV, {o, a});
  circle* k = add<circle>(C_VCRAD, {a, c});
  circle* t = add<circle>(C_CTRVV, {o, a, freept(4, 1)});
  vertex* m = add<vertex>(V_CCENTER, {k});
  checkconstraints();
  EXPECT_DOUBLE_EQ(c->radius, 5);
  EXPECT_DOUBLE_EQ(c->center.x, 1);
  EXPECT_DOUBLE_EQ(k->radius, 5);
  EXPECT_DOUBLE_EQ(t->radius, 4);
  EXPECT_DOUBLE_EQ(m->x, 4);
  EXPECT_DOUBLE_EQ(m->y, 5);
  // a radius measured to a point at infinity
  line* l0 = linethru(0, 0, 1, 0);
  vertex* inf = add<vertex>(V_LL, {l0, linethru(0, 1, 1, 1)});
  circle* far = add<circle>(C_VV, {o, inf});
  circle* ctr = add<circle>(C_CTRVV, {o, inf, a});
  checkconstraints();
  EXPECT_EQ(far->radius, 1e30);
  EXPECT_EQ(ctr->radius, 1e10);
}

TEST_F(Engine, BezierCopiesItsControlPoints) {
  vertex* v[4] = {freept(0, 0), freept(1, 2), freept(3, 2), freept(4, 0)};
  bezier* b = add<bezier>(BEZ_VVVV, {v[0], v[1], v[2], v[3]});
  checkconstraints();
  EXPECT_EQ(b->p2.y, 2);
  EXPECT_EQ(b->p4.x, 4);
  EXPECT_EQ(b->p1.w, 1);
}

TEST_F(Engine, NonFiniteResultsAreInvalidNotPropagated) {
  // Concentric circles: the intersection formula divides by zero.
  vertex* o = freept(0, 0);
  circle* c0 = add<circle>(C_VF, {o, number(1)});
  circle* c1 = add<circle>(C_VF, {o, number(1)});
  vertex* x = add<vertex>(V_CC1, {c0, c1});
  line* l = add<line>(L_VV, {x, freept(1, 1)});
  // A point on a circle dragged onto the centre keeps its stored place.
  vertex* on = add<vertex>(VONC, {c0});
  on->x = 0;
  on->y = 0;
  // Inverting the centre of inversion itself.
  vertex* inv = add<vertex>(V_VCINV, {o, c0});
  checkconstraints();
  EXPECT_EQ(x->valid, 0);
  EXPECT_EQ(l->valid, 0);
  EXPECT_EQ(on->valid, 0);
  EXPECT_EQ(on->x, 0);
  EXPECT_EQ(on->y, 0);
  EXPECT_EQ(inv->valid, 0);
  // Once moved off the centre, the point is projected onto the circle.
  on->x = 3;
  on->y = 4;
  on->satisfied = 0;
  checkconstraints();
  EXPECT_EQ(on->valid, 1);
  EXPECT_DOUBLE_EQ(on->x, 0.6);
  EXPECT_DOUBLE_EQ(on->y, 0.8);
  EXPECT_TRUE(alerts().empty());
}

TEST_F(Engine, PointOnLineSlidesToTheFoot) {
  line* l = linethru(0, 1, 2, 3);  // y = x + 1
  vertex* p = add<vertex>(VONL, {l});
  p->x = 3;
  p->y = 0;
  checkconstraints();
  // foot of the perpendicular from (3, 0) to y = x + 1 is (1, 2)
  EXPECT_DOUBLE_EQ(p->x, 1);
  EXPECT_DOUBLE_EQ(p->y, 2);
  EXPECT_DOUBLE_EQ(p->w, 1);
}

TEST_F(Engine, FreeRecordsWithoutParentsSettleUntouched) {
  angle* a = add<angle>(A_FLOAT, {});
  a->value = 0.25;
  arc* r = add<arc>(ARC_VVV, {freept(0, 0), freept(1, 0), freept(1, 1)});
  flt* s = number(7);
  vertex* p = freept(1, 1, PINNED);
  checkconstraints();
  EXPECT_EQ(a->value, 0.25);
  EXPECT_EQ(a->satisfied, 1);
  EXPECT_EQ(r->satisfied, 1);
  EXPECT_EQ(s->value, 7);
  EXPECT_EQ(p->x, 1);
  EXPECT_EQ(p->satisfied, 1);
}

}  // namespace

namespace {
using namespace enginetest;

TEST_F(Engine, ListChangesBetweenRecomputations) {
  vertex* a = freept(0, 0);
  vertex* b = freept(2, 0);
  vertex* lone = freept(5, 5);
  vertex* m = add<vertex>(V_VVMID, {a, b});
  vertex* last = freept(7, 7);
  checkconstraints();
  // deleting from the middle, the end and the front of the list, then
  // adding, must each be seen by the next recomputation
  ASSERT_TRUE(deleteprimitive(lone));
  b->x = 4;
  b->satisfied = 0;
  checkconstraints();
  EXPECT_DOUBLE_EQ(m->x, 2);
  ASSERT_TRUE(deleteprimitive(last));
  b->x = 6;
  b->satisfied = 0;
  checkconstraints();
  EXPECT_DOUBLE_EQ(m->x, 3);
  vertex* n = add<vertex>(V_VVMID, {m, b});
  checkconstraints();
  EXPECT_DOUBLE_EQ(n->x, 4.5);
  ASSERT_TRUE(deleteprimitive(n));
  ASSERT_TRUE(deleteprimitive(m));
  ASSERT_TRUE(deleteprimitive(a));
  b->satisfied = 0;
  checkconstraints();
  EXPECT_EQ(plist, b);
  clearplist();
  checkconstraints();
  EXPECT_EQ(plist, nullptr);
  vertex* c = freept(1, 1);
  vertex* d = add<vertex>(V_VVMID, {c, c});
  checkconstraints();
  EXPECT_DOUBLE_EQ(d->x, 1);
  EXPECT_TRUE(alerts().empty());
}

TEST_F(Engine, NumbersAreRecomputedEveryFrameAndWaitForTheirReferences) {
  flt* f = number(2);
  vertex* p = add<vertex>(V_FF, {f, f});
  checkconstraints();
  EXPECT_EQ(p->x, 2);
  f->value = 3;  // a script changes a number without unsettling anything
  checkconstraints();
  EXPECT_EQ(p->x, 3);
  // An expression refers to records only through its items: it waits for
  // every one of them and is undefined when any is.
  line* l0 = linethru(0, 0, 1, 0);
  vertex* inf = add<vertex>(V_LL, {l0, linethru(0, 1, 1, 1)});
  vertex* bad = add<vertex>(V_VVMID, {inf, p});
  flt* g = add<flt>(F_VXCOORD, {bad});
  flt* h = add<flt>(F_RPN, {});
  rpnitem items[2];
  items[0].tag = RPN_FLT;
  items[0].prim = f;
  items[1].tag = RPN_FLT;
  items[1].prim = g;
  h->rpn = items;
  h->nrpn = 2;
  checkconstraints();
  EXPECT_EQ(g->valid, 0);
  EXPECT_EQ(h->valid, 0);
  EXPECT_EQ(h->satisfied, 1);
  h->nrpn = 0;  // the items are the test's, not the record's
  h->rpn = nullptr;
}

}  // namespace

namespace {
using namespace enginetest;

TEST_F(Engine, ParentsOfTheWrongTypeMakeTheRecordUndefined) {
  vertex* a = freept(0, 0);
  vertex* b = freept(1, 0);
  circle* c = circ(0, 0, 1);
  line* l = add<line>(L_VV, {a, b});
  // a line where a vertex belongs, a vertex where a circle belongs
  vertex* m = add<vertex>(V_VVMID, {a, l});
  vertex* x = add<vertex>(V_LC1, {l, a});
  polygon* p = add<polygon>(POLYGON, {a, b, c});
  p->nvert = 3;
  flt* area = add<flt>(F_AREA, {a});
  circle* ok = add<circle>(C_VCRAD, {b, c});
  checkconstraints();
  EXPECT_EQ(m->valid, 0);
  EXPECT_EQ(x->valid, 0);
  EXPECT_EQ(p->valid, 0);
  EXPECT_EQ(ok->valid, 1);
  EXPECT_DOUBLE_EQ(ok->radius, 1);
  EXPECT_EQ(area->valid, 0);
  EXPECT_EQ(area->satisfied, 1);
  EXPECT_TRUE(alerts().empty());
}

}  // namespace

namespace {
using namespace enginetest;

TEST_F(Engine, NothingIsBuiltOnACircleThatIsAStraightLine) {
  vertex* a = freept(0, 0);
  vertex* b = freept(1, 1);
  vertex* c = freept(2, 2);
  circle* flat = add<circle>(C_VVV, {a, b, c});
  vertex* centre = add<vertex>(V_CCENTER, {flat});
  vertex* on = add<vertex>(VONC, {flat});
  on->x = 3;
  on->y = 0;
  circle* other = circ(2, 0, 1);
  vertex* x = add<vertex>(V_CC1, {flat, other});
  line* t = add<line>(L_VC1, {freept(5, 0), flat});
  checkconstraints();
  EXPECT_EQ(flat->valid, 1);  // drawn as the line through the points
  EXPECT_EQ(flat->center.w, 0);
  EXPECT_EQ(centre->valid, 0);
  EXPECT_EQ(on->valid, 0);
  EXPECT_EQ(on->x, 3);  // its place is kept for when the circle returns
  EXPECT_EQ(x->valid, 0);
  EXPECT_EQ(t->valid, 0);
  // moving a point off the line makes it a circle again: (0,0), (1,1), (2,0)
  c->y = 0;
  c->satisfied = 0;
  checkconstraints();
  EXPECT_EQ(centre->valid, 1);
  EXPECT_DOUBLE_EQ(centre->x, 1);
  EXPECT_DOUBLE_EQ(centre->y, 0);
  EXPECT_EQ(on->valid, 1);
  EXPECT_DOUBLE_EQ(on->x, 2);
  EXPECT_DOUBLE_EQ(on->y, 0);
  EXPECT_EQ(x->valid, 1);
  EXPECT_DOUBLE_EQ(x->x, 1.5);
  EXPECT_DOUBLE_EQ(x->y, -std::sqrt(0.75));
}

}  // namespace

namespace {
using namespace enginetest;

TEST_F(Engine, MacroCallsAndRecordsWithoutComputation) {
  macro* mac = add<macro>(NOCONSTRAINT, {});
  mac->nparams = 1;
  macrocall* none = add<macrocall>(MACROCALL, {});
  none->macroref = mac;
  appliedconstraint = 0;
  checkconstraint(none);
  // no arguments: settled by the empty first slot, nothing applied
  EXPECT_EQ(none->satisfied, 1);
  EXPECT_EQ(appliedconstraint, 0);
  // a call waits for its arguments
  vertex* a = add<vertex>(V_VVMID, {nullptr, nullptr});
  a->parents[0] = a;  // never settles
  macrocall* call = add<macrocall>(MACROCALL, {a});
  call->macroref = mac;
  checkconstraint(call);
  EXPECT_EQ(call->satisfied, 0);
  // kinds outside the table settle at once and count as applied
  flt* lit = add<flt>(LITERAL, {});
  lit->value = 4;
  angle* g = add<angle>(A_LEN, {freept(0, 0)});
  g->value = 0.5;
  appliedconstraint = 0;
  checkconstraint(g);
  EXPECT_EQ(g->satisfied, 1);
  EXPECT_EQ(appliedconstraint, 1);
  EXPECT_EQ(g->value, 0.5);
  checkconstraint(lit);
  EXPECT_EQ(lit->value, 4);
  EXPECT_EQ(lit->satisfied, 1);
}

}  // namespace

namespace {
using namespace enginetest;

TEST_F(Engine, WaitingAndInvalidityHelpers) {
  vertex* a = freept(0, 0);
  vertex* b = freept(1, 0);
  vertex* p = add<vertex>(V_VVMID, {a, b});
  a->satisfied = 1;
  b->satisfied = 0;
  EXPECT_EQ(notsatisfied(p, 1), 0);
  EXPECT_EQ(notsatisfied(p, 2), 1);
  EXPECT_EQ(notsatisfied(p, 3), 1);  // a missing parent never settles
  b->valid = 0;
  p->valid = 1;
  EXPECT_EQ(invalid(p, 1), 0);
  EXPECT_EQ(p->valid, 1);
  EXPECT_EQ(invalid(p, 2), 1);
  EXPECT_EQ(p->valid, 0);
  p->valid = 1;
  EXPECT_EQ(invalid(p, 50), 1);  // counts past the slots are cut
}

}  // namespace
