// Records, the world list, automatic names and labels.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "language/symtable.h"
#include "model/notify.h"
#include "model/reset.h"
#include "model/style.h"
#include "model/worldlist.h"
#include "tests/langtest.h"

namespace {

using langtest::alerts;
struct Model : langtest::Lang {};

vertex* addfree(double x, double y) {
  vertex* v = makevertex(x, y);
  v->kind = FREE;
  addprimitive(v);
  return v;
}

// A new record takes the current colour, on the layers in force only, but
// is never made invisible.
TEST_F(Model, ColourAtConstructionFollowsLayers) {
  currentcolor = COLOR_INVISIBLE;
  EXPECT_EQ(vertex().color, COLOR_WHITE);
  currentcolor = COLOR_RED;
  layerset = (1u << 2) | (1u << 5);
  vertex some;
  EXPECT_EQ(some.color, COLOR_PERLAYER);
  for (int i = 0; i < NLAYERS; i++)
    EXPECT_EQ(some.layercolor[i], (i == 2 || i == 5) ? COLOR_RED : 255) << i;
}

TEST_F(Model, LabelsAndNames) {
  std::vector<vertex*> v;
  for (int i = 0; i < 53; i++) v.push_back(addfree(i, 0));
  EXPECT_STREQ(v[0]->label, "A");
  EXPECT_STREQ(v[25]->label, "Z");
  EXPECT_STREQ(v[26]->label, "a");
  EXPECT_STREQ(v[52]->label, "1");
  EXPECT_STREQ(v[1]->symbol->name, "v2");
  EXPECT_EQ(numberforlabel("C"), 3);
  EXPECT_EQ(numberforlabel("b"), 28);
  EXPECT_EQ(numberforlabel("12"), 64);
  EXPECT_EQ(numberforlabel("123"), 0);
  EXPECT_EQ(numberforlabel("AB"), 0);
  // a gap in the numbering is filled first
  ASSERT_TRUE(deleteprimitive(v[1]));
  vertex* again = addfree(0, 1);
  EXPECT_STREQ(again->symbol->name, "v2");
  EXPECT_EQ(lookup(idtable, "v2")->prim, again);
  // label number 10052 + 52 is "10052": more than five bytes, not cut
  vnumber = 10052 + 52;
  EXPECT_STREQ(addfree(0, 2)->label, "10052");
  EXPECT_EQ(vnumber, 10052 + 53);
}

// Parents, expression items and macro calls all hold what they refer to.
TEST_F(Model, ReferencesBlockDeletionAndTheListStaysSound) {
  vertex* a = addfree(0, 0);
  vertex* b = addfree(1, 0);
  line* l = new line;
  l->kind = L_VV;
  l->parents[0] = a;
  l->parents[1] = b;
  genname(l);
  addprimitive(l);
  flt* f1 = new flt;
  f1->kind = F_RPN;
  genname(f1);
  addprimitive(f1);
  flt* f2 = new flt;
  f2->kind = F_RPN;
  f2->nrpn = 1;
  f2->rpn = (rpnitem*)malloc(sizeof(rpnitem));
  f2->rpn[0].tag = RPN_FLT;
  f2->rpn[0].prim = f1;
  genname(f2);
  addprimitive(f2);
  macro* m = new macro;
  addprimitive(m);
  macrocall* c = new macrocall;
  c->kind = MACROCALL;
  c->macroref = m;
  addprimitive(c);
  for (primitive* p : {(primitive*)a, (primitive*)f1, (primitive*)m})
    EXPECT_EQ(deleteprimitive(p), 0);
  EXPECT_EQ(alerts(),
            std::vector<std::string>(3, "Cannot delete constrained primitive"));
  EXPECT_EQ(plist, a);
  // the last record, then the rest
  for (primitive* p : {(primitive*)c, (primitive*)m, (primitive*)f2,
                       (primitive*)f1, (primitive*)l})
    ASSERT_TRUE(deleteprimitive(p));
  EXPECT_EQ(plisttail, b);
  EXPECT_EQ(b->next, nullptr);
  ASSERT_TRUE(deleteprimitive(a));
  ASSERT_TRUE(deleteprimitive(b));
  EXPECT_EQ(plist, nullptr);
  EXPECT_EQ(plisttail, nullptr);
}

TEST_F(Model, FlipAngleOnlyTouchesThreePointAngles) {
  vertex* a = addfree(1, 0);
  vertex* o = addfree(0, 0);
  vertex* b = addfree(0, 1);
  angle g;
  g.kind = A_VVV;
  g.parents[0] = a;
  g.parents[1] = o;
  g.parents[2] = b;
  flipangle(&g);
  EXPECT_EQ(g.parents[0], b);
  EXPECT_EQ(g.parents[2], a);
  g.kind = A_F;
  flipangle(&g);
  EXPECT_EQ(g.parents[0], b);
}

TEST_F(Model, BucketGrowthKeepsBackPointers) {
  // Names of equal byte sum share a bucket; 60 of them overflow its 50
  // slots. Moving one 'b' along a run of 'a's keeps the byte sum.
  std::vector<vertex*> v;
  for (int i = 0; i < 60; i++) {
    std::string s = std::string(i, 'a') + "b" + std::string(59 - i, 'a');
    vertex* p = new vertex;
    symtableentry* e = addentry(idtable, s.c_str(), RW_VERTEX);
    e->prim = p;
    p->symbol = e;
    v.push_back(p);
  }
  for (vertex* p : v) {
    EXPECT_EQ(p->symbol->prim, p);
    EXPECT_EQ(lookup(idtable, p->symbol->name), p->symbol);
  }
  for (vertex* p : v) destroyprimitive(p);
}

}  // namespace
