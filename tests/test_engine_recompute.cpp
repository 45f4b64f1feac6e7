// The recomputation frame: scheduling, propagation of changes and of
// invalidity, the "Wacko constraints" alert, and the in-place kinds.
#include <cmath>

#include "engine/recompute.h"
#include "engine/solvers.h"
#include "model/style.h"
#include "tests/engine_fixture.h"

namespace {
using namespace enginetest;

// Moves a free point and tells the engine so.
void move(vertex* v, double x, double y) {
  v->x = x;
  v->y = y;
  v->satisfied = 0;
}

TEST_F(Engine, DragRecomputesOnlyWhatDepends) {
  vertex* a = freept(0, 0);
  vertex* b = freept(2, 4);
  vertex* m = add<vertex>(V_VVMID, {a, b});
  vertex* c = freept(5, 5);
  vertex* n = add<vertex>(V_VVMID, {c, c});
  checkconstraints();
  EXPECT_XY(m, 1, 2);
  EXPECT_EQ(m->valid, 1);
  b->x = 4;  // moved without telling the engine: nothing is recomputed
  checkconstraints();
  EXPECT_DOUBLE_EQ(m->x, 1);
  move(b, 4, 4);  // now the moved point's dependants are, and only they
  n->x = 99;
  checkconstraints();
  EXPECT_TRUE(values({m->x, n->x}, {2, 99}));
  // changes reach dependants listed before their parents, also through a
  // record between them
  vertex* early = add<vertex>(V_VVMID, {a, nullptr});
  vertex* late = freept(2, 2);
  early->parents[1] = add<vertex>(V_VVMID, {late, late});  // edited so
  checkconstraints();
  EXPECT_DOUBLE_EQ(early->x, 1);
  move(late, 6, 2);
  checkconstraints();
  EXPECT_DOUBLE_EQ(early->x, 3);
  EXPECT_TRUE(alerts().empty());
}

TEST_F(Engine, CyclesAndMissingParentsAreWacko) {
  vertex* a = freept(0, 0);
  vertex* p = add<vertex>(V_VVMID, {a, nullptr});
  vertex* q = add<vertex>(V_VVMID, {a, p});
  p->parents[1] = q;                      // p and q depend on each other
  add<vertex>(V_LVMIRROR, {a, nullptr});  // waits forever for its second
  checkconstraints();
  ASSERT_EQ(alerts().size(), 3u);
  for (const std::string& s : alerts()) EXPECT_EQ(s, "Wacko constraints");
  EXPECT_EQ(a->satisfied, 1);
  EXPECT_EQ(p->satisfied, 0);
}

TEST_F(Engine, ParallelLinesMeetAtInfinityAndInvaliditySpreads) {
  line* l1 = linethru(0, 1, 1, 1);
  vertex* x = add<vertex>(V_LL, {linethru(0, 0, 1, 0), l1});
  vertex* o = freept(3, 3);
  vertex* m = add<vertex>(V_VVMID, {x, o});
  line* l = add<line>(L_VV, {m, o});
  circle* c = add<circle>(C_VV, {o, m});
  checkconstraints();
  EXPECT_EQ(x->valid, 1);
  EXPECT_TRUE(values({x->w, x->y, m->w, m->x}, {0, 0, 0, x->x}));
  EXPECT_NE(x->x, 0);  // the lines' direction (b1 c2 - b2 c1, c1 a2 - c2 a1)
  EXPECT_EQ(m->valid + l->valid + c->valid, 0);
  // tilted to y = x + 1, l1 meets y = 0 at (-1, 0): all is defined again
  move(static_cast<vertex*>(l1->parents[1]), 1, 2);
  checkconstraints();
  EXPECT_TRUE(values({x->x, x->y, x->w}, {-1, 0, 1}));
  EXPECT_XY(m, 1, 1.5);
  EXPECT_EQ(m->valid + l->valid + c->valid, 3);
  EXPECT_DOUBLE_EQ(c->radius, std::sqrt(4 + 2.25));
}

// (Each kind on general configurations is checked against a 50-digit
// derivation by geometry_reference.py; here the special cases.)
TEST_F(Engine, PerpendicularsParallelsBisectorsAndConjugates) {
  line* l = linethru(0, 0, 2, 2);  // y = x
  line* p = add<line>(L_VLPERP, {freept(0, 2), l});
  line* q = add<line>(L_VLPERP, {freept(1, 1), l});  // through a point on l
  line* k = linethru(0, 0, 1, 2);
  vertex* inf = add<vertex>(V_LL, {k, add<line>(L_VLPAR, {freept(3, 0), k})});
  line* bad = add<line>(L_VLPAR, {inf, k});
  vertex* a = freept(-1, 0.5);
  line* bis = add<line>(L_VVPERP, {a, freept(3, 0.5 + 5e-7)});
  // the harmonic conjugate of the midpoint is at infinity
  vertex* h =
      add<vertex>(V_VVVHARMONIC, {freept(0, 0), freept(1, 2), freept(2, 4)});
  checkconstraints();
  // the foot of the perpendicular from (0, 2) to y = x is (1, 1)
  EXPECT_XY(&p->p2, 1, 1);
  // through (1, 1) on the line: p2 = V + 10 (-b, a) of the new line
  EXPECT_XY(&q->p2, 1 - 10 * q->b, 1 + 10 * q->a);
  EXPECT_NE(q->p2.x - 1, 0);
  EXPECT_DOUBLE_EQ(q->a * l->a + q->b * l->b, 0);
  EXPECT_EQ(inf->w, 0);
  EXPECT_EQ(bad->valid, 0);
  // a nearly level pair gives the level bisector x = 1, and the pair is
  // left as it was
  EXPECT_EQ(a->y, 0.5);
  EXPECT_TRUE(
      values({bis->p1.x, bis->p2.x, bis->p2.y - bis->p1.y}, {1, 1, 20}));
  EXPECT_EQ(h->w, 0);
}

TEST_F(Engine, LayerConditionUpperBoundIsExclusive) {
  flt* x = number(1);
  layercondition* c = add<layercondition>(LAYERCOND, {number(1), x, number(2)});
  c->layermask = 0x6;
  checkconstraints();
  EXPECT_EQ(layerset, 0x6u);  // x = low switches
  layerset = 0xffffffffu;
  x->value = 2;
  checkconstraints();
  EXPECT_EQ(layerset, 0xffffffffu);  // x = high does not
}

TEST_F(Engine, AngleFromNumberInDegreeMode) {
  angle* a = add<angle>(A_F, {number(90)});
  degreemode = 0;
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
  // a full matrix with the translation row (4, 5)
  xform* f9 =
      add<xform>(X_F9, {id, number(1), number(0), number(0), number(0),
                        number(1), number(0), number(4), number(5), number(1)});
  vertex* v = freept(1, 0);
  vertex* r = add<vertex>(V_VX, {v, tr});
  vertex* s = add<vertex>(V_VX, {v, pick});
  vertex* t = add<vertex>(V_VROTATE, {v, number(90)});
  vertex* u = add<vertex>(V_VTRANSLATE, {v, number(-1), number(5)});
  vertex* w = add<vertex>(V_VSCALE, {v, number(3), number(7)});
  vertex* z = add<vertex>(V_VX, {v, f9});
  checkconstraints();
  // (1, 0) turned a quarter counterclockwise is (0, 1), then moved by (1, 2)
  EXPECT_TRUE(values({r->x, r->y, r->w}, {1, 3, 1}, 1e-12));
  EXPECT_XY(s, 2, 0);  // the flt is 0: the second matrix
  EXPECT_NEAR_XY(t, 0, 1, 1e-12);
  EXPECT_XY(u, 0, 5);
  EXPECT_XY(w, 3, 0);
  EXPECT_XY(z, 5, 5);
}

TEST_F(Engine, PolygonAreaAndItsInvalidity) {
  vertex* v[4] = {freept(0, 0), freept(2, 0), freept(2, 3), freept(0, 3)};
  polygon* p = add<polygon>(POLYGON, {v[0], v[1], v[2], v[3]});
  p->nvert = 4;
  flt* xc = add<flt>(F_VXCOORD, {v[2]});
  flt* yc = add<flt>(F_VYCOORD, {v[2]});
  // an undefined corner makes the polygon and its area undefined
  vertex* bad = add<vertex>(V_VVMID, {infinitept(), v[0]});
  polygon* q = add<polygon>(POLYGON, {v[0], v[1], bad});
  q->nvert = 3;
  flt* qa = add<flt>(F_AREA, {q});
  checkconstraints();
  EXPECT_TRUE(values({p->area, xc->value, yc->value}, {6, 2, 3}));
  EXPECT_EQ(q->valid + qa->valid, 0);
}

TEST_F(Engine, CirclesToInfinityAndBezierFromPoints) {
  vertex* o = freept(1, 1);
  vertex* a = freept(4, 5);
  vertex* inf = infinitept();  // radii measured to a point at infinity
  circle* far = add<circle>(C_VV, {o, inf});
  circle* ctr = add<circle>(C_CTRVV, {o, inf, a});
  bezier* b = add<bezier>(BEZ_VVVV, {o, freept(1, 2), freept(3, 2), a});
  checkconstraints();
  EXPECT_TRUE(values({far->radius, ctr->radius}, {1e30, 1e10}));
  EXPECT_TRUE(values({b->p2.y, b->p4.x, b->p1.w}, {2, 4, 1}));
}

TEST_F(Engine, NonFiniteResultsAreInvalidNotPropagated) {
  // Concentric circles: the intersection formula divides by zero.
  vertex* o = freept(0, 0);
  circle* c0 = add<circle>(C_VF, {o, number(1)});
  vertex* x = add<vertex>(V_CC1, {c0, add<circle>(C_VF, {o, number(1)})});
  line* l = add<line>(L_VV, {x, freept(1, 1)});
  // A point on a circle dragged onto the centre keeps its stored place.
  vertex* on = add<vertex>(VONC, {c0});
  on->x = on->y = 0;
  vertex* inv = add<vertex>(V_VCINV, {o, c0});  // the centre of inversion
  checkconstraints();
  EXPECT_EQ(x->valid + l->valid + on->valid + inv->valid, 0);
  EXPECT_XY(on, 0, 0);
  // Once moved off the centre, the point is projected onto the circle.
  move(on, 3, 4);
  checkconstraints();
  EXPECT_EQ(on->valid, 1);
  EXPECT_XY(on, 0.6, 0.8);
  EXPECT_TRUE(alerts().empty());
}

TEST_F(Engine, ListChangesBetweenRecomputations) {
  vertex* a = freept(0, 0);
  vertex* b = freept(2, 0);
  vertex* lone = freept(5, 5);
  vertex* m = add<vertex>(V_VVMID, {a, b});
  vertex* last = freept(7, 7);
  checkconstraints();
  // deletions from the middle, the end and the front of the list, and
  // additions, must each be seen by the next recomputation
  ASSERT_TRUE(deleteprimitive(lone));
  move(b, 4, 0);
  checkconstraints();
  EXPECT_DOUBLE_EQ(m->x, 2);
  ASSERT_TRUE(deleteprimitive(last));
  move(b, 6, 0);
  checkconstraints();
  EXPECT_DOUBLE_EQ(m->x, 3);
  vertex* n = add<vertex>(V_VVMID, {m, b});
  checkconstraints();
  EXPECT_DOUBLE_EQ(n->x, 4.5);
  for (primitive* q : {(primitive*)n, (primitive*)m, (primitive*)a})
    ASSERT_TRUE(deleteprimitive(q));
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
  flt* g = add<flt>(F_VXCOORD, {add<vertex>(V_VVMID, {infinitept(), p})});
  flt* h = add<flt>(F_RPN, {});
  rpnitem items[2];
  items[0].tag = items[1].tag = RPN_FLT;
  items[0].prim = f;
  items[1].prim = g;
  h->rpn = items;
  h->nrpn = 2;
  checkconstraints();
  EXPECT_EQ(g->valid + h->valid, 0);
  EXPECT_EQ(h->satisfied, 1);
  h->nrpn = 0;  // the items are the test's, not the record's
  h->rpn = nullptr;
}

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
  EXPECT_EQ(m->valid + x->valid + p->valid + area->valid, 0);
  EXPECT_EQ(area->satisfied, 1);
  EXPECT_EQ(ok->valid, 1);
  EXPECT_DOUBLE_EQ(ok->radius, 1);
  EXPECT_TRUE(alerts().empty());
}

TEST_F(Engine, NothingIsBuiltOnACircleThatIsAStraightLine) {
  vertex* c = freept(2, 2);
  circle* flat = add<circle>(C_VVV, {freept(0, 0), freept(1, 1), c});
  vertex* centre = add<vertex>(V_CCENTER, {flat});
  vertex* on = add<vertex>(VONC, {flat});
  on->x = 3;
  on->y = 0;
  vertex* x = add<vertex>(V_CC1, {flat, circ(2, 0, 1)});
  line* t = add<line>(L_VC1, {freept(5, 0), flat});
  checkconstraints();
  EXPECT_EQ(flat->valid, 1);  // drawn as the line through the points
  EXPECT_EQ(flat->center.w, 0);
  EXPECT_EQ(centre->valid + on->valid + x->valid + t->valid, 0);
  EXPECT_EQ(on->x, 3);  // its place is kept for when the circle returns
  // moving a point off the line makes it a circle again: (0,0), (1,1), (2,0)
  move(c, 2, 0);
  checkconstraints();
  EXPECT_EQ(centre->valid + on->valid + x->valid, 3);
  EXPECT_XY(centre, 1, 0);
  EXPECT_XY(on, 2, 0);
  EXPECT_XY(x, 1.5, -std::sqrt(0.75));
}

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
  vertex* a = add<vertex>(V_VVMID, {nullptr, nullptr});
  a->parents[0] = a;  // never settles
  macrocall* call = add<macrocall>(MACROCALL, {a});
  call->macroref = mac;
  checkconstraint(call);
  EXPECT_EQ(call->satisfied, 0);  // a call waits for its arguments
  // kinds outside the table settle at once, untouched, and count as applied
  flt* lit = add<flt>(LITERAL, {});
  lit->value = 4;
  angle* g = add<angle>(A_LEN, {freept(0, 0)});
  g->value = 0.5;
  appliedconstraint = 0;
  checkconstraint(g);
  EXPECT_EQ(appliedconstraint, 1);
  checkconstraint(lit);
  EXPECT_EQ(g->satisfied + lit->satisfied, 2);
  EXPECT_TRUE(values({g->value, lit->value}, {0.5, 4}));
  // free records without parents settle untouched
  angle* f = add<angle>(A_FLOAT, {});
  f->value = 0.25;
  arc* r = add<arc>(ARC_VVV, {freept(0, 0), freept(1, 0), freept(1, 1)});
  flt* s = number(7);
  vertex* p = freept(1, 1, PINNED);
  checkconstraints();
  EXPECT_TRUE(values({f->value, s->value, p->x}, {0.25, 7, 1}));
  EXPECT_EQ(f->satisfied + r->satisfied + p->satisfied, 3);
}

}  // namespace
