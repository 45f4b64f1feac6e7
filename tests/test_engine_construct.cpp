// The construction helpers: kinds, parent order, names, styles, and the
// choice between two solutions by the click, ties included.
#include <cmath>

#include "engine/recompute.h"
#include "language/symtable.h"
#include "model/construct.h"
#include "model/style.h"
#include "tests/engine_fixture.h"

namespace {
using namespace enginetest;

// Adds a helper's result to the world list and recomputes.
template <class T>
T* place(T* p) {
  addprimitive(p);
  checkconstraints();
  return p;
}

conic* unitconic() {
  conic* k = add<conic>(CONIC_VVVVV, {});
  k->coef[0] = k->coef[2] = 1;
  k->coef[5] = -1;
  return k;
}

TEST_F(Engine, HelpersSetKindParentsNamesAndStyles) {
  vertex* a = freept(0, 0);
  vertex* b = freept(2, 0);
  checkconstraints();
  currentlinetype = RW_LONGLINE;
  currentlinestyle = RW_DASHLINE;
  currentlinemark = RW_LINE2SLASH;
  primitive* tail = plisttail;
  line* l = linevertvert(a, b);
  EXPECT_EQ(plisttail, tail);  // not added by the helper
  EXPECT_EQ(l->kind, L_VV);
  EXPECT_EQ(l->parents[0], a);
  EXPECT_EQ(l->parents[1], b);
  EXPECT_EQ(l->linetype, RW_LONGLINE);
  EXPECT_EQ(l->linestyle, RW_DASHLINE);
  EXPECT_EQ(l->linemark, RW_LINE2SLASH);
  EXPECT_STREQ(l->symbol->name, "l1");
  EXPECT_EQ(pselected, l);
  place(l);
  vertex* m = vertlinevertmirror(freept(1, 1), l);
  EXPECT_EQ(m->kind, V_LVMIRROR);
  EXPECT_EQ(m->parents[0], l);  // line first, then the vertex
  ASSERT_NE(m->label, nullptr);
  EXPECT_STREQ(m->label, "A");  // the first automatic label
  EXPECT_EQ(m->symbol->type, RW_VERTEX);
  place(m);
  EXPECT_DOUBLE_EQ(m->y, -1);

  circle* c = circvertvert(a, b);
  EXPECT_EQ(c->kind, C_VV);
  EXPECT_STREQ(c->symbol->name, "c1");
  EXPECT_EQ(c->parents[0], a);
  place(c);
  EXPECT_DOUBLE_EQ(c->radius, 2);
  angle* g = avvv(b, a, m);
  EXPECT_STREQ(g->symbol->name, "ang1");
  EXPECT_EQ(g->parents[1], a);
  place(g);
  // from (2,0) counterclockwise round (0,0) to (1,-1): 7pi/4
  EXPECT_DOUBLE_EQ(g->value, 7 * M_PI / 4);

  vertex* v[12];
  for (int i = 0; i < 12; i++) v[i] = freept(std::cos(i), std::sin(i));
  currentpolytype = RW_HASHPOLY;
  polygon* p = vertlisttopolygon(12, v);
  EXPECT_EQ(p->nvert, 10);
  EXPECT_EQ(p->polytype, RW_HASHPOLY);
  EXPECT_EQ(p->parents[9], v[9]);
  EXPECT_STREQ(p->symbol->name, "poly1");
  destroyprimitive(p);
  selectprim(nullptr);

  vertex* five[5] = {v[0], v[1], v[2], v[3], v[4]};
  conic* k = vvvvvtoconic(five);
  EXPECT_STREQ(k->symbol->name, "con1");
  EXPECT_EQ(k->parents[4], v[4]);
  line* t = vertcontangent(a, k, 0, 0);
  EXPECT_EQ(t->parents[0], k);  // conic first, then the vertex
  EXPECT_EQ(t->parents[1], a);
  bezier* z = vvvvbez(v[0], v[1], v[2], v[3]);
  EXPECT_STREQ(z->symbol->name, "bez1");
  arc* r = vvvtoarc(v[0], v[1], v[2]);
  EXPECT_STREQ(r->symbol->name, "arc1");
  for (primitive* q :
       {(primitive*)k, (primitive*)t, (primitive*)z, (primitive*)r})
    destroyprimitive(q);
  selectprim(nullptr);
}

TEST_F(Engine, LineCircleVertexByTheClick) {
  circle* c = circ(0, 0, 1);
  line* l = linethru(-2, 0.6, 2, 0.6);  // meets at (-0.8, .6), (0.8, .6)
  checkconstraints();
  vertex* near1 = place(linecirctovert1(l, c, -0.7, 0.6));
  EXPECT_EQ(near1->kind, V_LC1);
  EXPECT_DOUBLE_EQ(near1->x, -0.8);
  vertex* near2 = place(linecirctovert1(l, c, 0.7, 0.6));
  EXPECT_EQ(near2->kind, V_LC2);
  EXPECT_DOUBLE_EQ(near2->x, 0.8);
  vertex* tie = place(linecirctovert1(l, c, 0, 3));
  EXPECT_EQ(tie->kind, V_LC2);
  EXPECT_EQ(tie->parents[0], l);
  EXPECT_EQ(tie->parents[1], c);
}

TEST_F(Engine, CircleCircleVertexByTheClick) {
  circle* c0 = circ(0, 0, 5);
  circle* c1 = circ(6, 0, 5);  // meet at (3, -4) branch 1, (3, 4) branch 2
  checkconstraints();
  vertex* lower = place(circcirctovert1(c0, c1, 3, -3));
  EXPECT_EQ(lower->kind, V_CC1);
  EXPECT_DOUBLE_EQ(lower->y, -4);
  vertex* upper = place(circcirctovert1(c0, c1, 2, 1));
  EXPECT_EQ(upper->kind, V_CC2);
  vertex* tie = place(circcirctovert1(c0, c1, 7, 0));
  EXPECT_EQ(tie->kind, V_CC2);
  vertex* two = place(circcirctovert2(c0, c1));
  EXPECT_EQ(two->kind, V_CC2);
  EXPECT_DOUBLE_EQ(two->y, 4);
}

TEST_F(Engine, TangentLinesByTheClick) {
  circle* c = circ(0, 0, 1);
  vertex* v = freept(2, 0);  // touching points (1/2, +-sqrt(3)/2)
  checkconstraints();
  line* up = place(vertcirctoline1(v, c, 0.5, 0.8));
  EXPECT_EQ(up->kind, L_VC1);
  EXPECT_GT(up->p2.y, 0);
  line* down = place(vertcirctoline1(v, c, 0.5, -0.8));
  EXPECT_EQ(down->kind, L_VC2);
  EXPECT_LT(down->p2.y, 0);
  // a click on V is equally far from both: the second branch stays
  line* tie = place(vertcirctoline1(v, c, 2, 0));
  EXPECT_EQ(tie->kind, L_VC2);

  circle* c0 = circ(0, 0, 2);
  circle* c1 = circ(6, 0, 1);
  checkconstraints();
  line* e1 = place(circcirctolineext1(c0, c1, 3, 2));
  EXPECT_EQ(e1->kind, L_CCEXT1);
  EXPECT_GT(e1->p1.y, 0);
  line* e2 = place(circcirctolineext1(c0, c1, 3, -2));
  EXPECT_EQ(e2->kind, L_CCEXT2);
  // on the line of centres both tangents are mirror images: a tie
  line* etie = place(circcirctolineext1(c0, c1, 3, 0));
  EXPECT_EQ(etie->kind, L_CCEXT2);
  line* i1 = place(circcirctolineint1(c0, c1, 1, 1.5));
  EXPECT_EQ(i1->kind, L_CCINT1);
  line* i2 = place(circcirctolineint1(c0, c1, 1, -1.5));
  EXPECT_EQ(i2->kind, L_CCINT2);
  line* itie = place(circcirctolineint1(c0, c1, 4, 0));
  EXPECT_EQ(itie->kind, L_CCINT2);
}

TEST_F(Engine, ConicHelpersByTheClick) {
  conic* k = unitconic();
  line* h = linethru(-2, 0.5, 2, 0.5);  // branch 1 at x = +sqrt(3)/2
  vertex* a = freept(0, 2);             // branch 1 touches at x = +sqrt3/2
  checkconstraints();
  vertex* right = place(vertlineconic(h, k, 0.8, 0.5));
  EXPECT_EQ(right->kind, V_LCONIC1);
  EXPECT_DOUBLE_EQ(right->x, std::sqrt(3.0) / 2);
  vertex* left = place(vertlineconic(h, k, -0.8, 0.5));
  EXPECT_EQ(left->kind, V_LCONIC2);
  vertex* tie = place(vertlineconic(h, k, 0, 0.5));
  EXPECT_EQ(tie->kind, V_LCONIC2);
  line* t1 = place(vertcontangent(a, k, 0.9, 0.5));
  EXPECT_EQ(t1->kind, L_CONICV1);
  EXPECT_GT(t1->p1.x, 0);
  line* t2 = place(vertcontangent(a, k, -0.9, 0.5));
  EXPECT_EQ(t2->kind, L_CONICV2);
  line* ttie = place(vertcontangent(a, k, 0, 0));
  EXPECT_EQ(ttie->kind, L_CONICV2);
}

TEST_F(Engine, CircleTangentToThreeLinesByTheClicks) {
  line* l0 = linethru(0, 0, 4, 0);
  line* l1 = linethru(0, 0, 0, 3);
  line* l2 = linethru(4, 0, 0, 3);
  checkconstraints();
  const double in[6] = {1, 0, 0, 1, 1.6, 1.8};  // the incircle's contacts
  circle* c = place(llltocircle(l0, l1, l2, in));
  EXPECT_EQ(c->kind, C_LLL1);
  EXPECT_NEAR(c->radius, 1, 1e-12);
  const double ex[6] = {6, 0, 0, 6, 6, 6};  // around the excentre (6, 6)
  EXPECT_EQ(place(llltocircle(l0, l1, l2, ex))->kind, C_LLL4);
  const double ex2[6] = {-2, 0, 0, 2, -2, 4};  // around (-2, 2)
  EXPECT_EQ(place(llltocircle(l0, l1, l2, ex2))->kind, C_LLL2);
  const double ex3[6] = {3, 0, 0, -3, 3, -3};  // around (3, -3)
  EXPECT_EQ(place(llltocircle(l0, l1, l2, ex3))->kind, C_LLL3);
}

TEST_F(Engine, PointTiedToACurve) {
  line* l = linethru(0, 1, 2, 3);  // y = x + 1
  circle* c = circ(0, 0, 2);
  checkconstraints();
  vertex* p = makevertex(3, 0);
  ASSERT_TRUE(verttoline(p, l));
  EXPECT_EQ(p->kind, VONL);
  EXPECT_EQ(p->parents[0], l);
  place(p);
  EXPECT_DOUBLE_EQ(p->x, 1);
  EXPECT_DOUBLE_EQ(p->y, 2);
  vertex* q = makevertex(3, 4);
  ASSERT_TRUE(verttocirc(q, c));
  place(q);
  EXPECT_DOUBLE_EQ(q->x, 1.2);
  EXPECT_DOUBLE_EQ(q->y, 1.6);
  // a point may not be tied to a curve built on itself, nor a computed one
  vertex* a = static_cast<vertex*>(l->parents[0]);
  EXPECT_EQ(verttoline(a, l), 0);
  EXPECT_EQ(a->kind, FREE);
  vertex* mid = place(vertvertvertmid(a, q));
  EXPECT_EQ(verttocirc(mid, c), 0);
  EXPECT_EQ(mid->kind, V_VVMID);
}

TEST_F(Engine, RemainingHelpersKindsAndParents) {
  vertex* a = freept(0, 0);
  vertex* b = freept(1, 0);
  vertex* c = freept(0, 1);
  line* l = linethru(0, 2, 1, 2);
  circle* k = circ(0, 0, 1);
  angle* g = add<angle>(A_VVV, {b, a, c});
  checkconstraints();
  struct row {
    primitive* p;
    int kind;
    primitive* first;
    primitive* second;
  } rows[] = {
      {vertvertlineperp(a, b), L_VVPERP, a, b},
      {circlinecircinv(l, k), C_LCINV, l, k},
      {circcirccircinv(k, k), C_CCINV, k, k},
      {vertvertcircinv(b, k), V_VCINV, b, k},
      {vertanglevertvert(g, b, a), V_AVV, g, b},
      {circvertcircrad(b, k), C_VCRAD, b, k},
      {vertlineline(l, l), V_LL, l, l},
      {linevertlineperp(a, l), L_VLPERP, a, l},
      {linevertlinepar(a, l), L_VLPAR, a, l},
      {vvvtocircle(a, b, c), C_VVV, a, b},
      {ctrvvtocircle(a, b, c), C_CTRVV, a, b},
      {anglebisect(b, a, c), V_VVVBISECT, b, a},
  };
  EXPECT_EQ(pselected, rows[11].p);  // the last one made
  for (const row& r : rows) {
    EXPECT_EQ(r.p->kind, r.kind);
    EXPECT_EQ(r.p->parents[0], r.first) << r.kind;
    EXPECT_EQ(r.p->parents[1], r.second) << r.kind;
    destroyprimitive(r.p);
  }
  selectprim(nullptr);
  line* five[5];
  for (int i = 0; i < 5; i++) five[i] = l;
  conic* lc = llllltoconic(five);
  EXPECT_EQ(lc->kind, CONIC_LLLLL);
  EXPECT_EQ(lc->parents[4], l);
  destroyprimitive(lc);
  selectprim(nullptr);
}

}  // namespace
