// Records, the world list, automatic names and labels.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "language/symtable.h"
#include "model/notify.h"
#include "model/reset.h"
#include "model/style.h"
#include "model/worldlist.h"

namespace {

std::vector<std::string> alerts;
void recordalert(const char* text) {
  alerts.push_back(text);
}

struct Model : ::testing::Test {
  void SetUp() override {
    resetall();
    alerts.clear();
    alerthook = recordalert;
  }
  void TearDown() override { resetall(); }
};

vertex* addfree(double x, double y) {
  vertex* v = makevertex(x, y);
  v->kind = FREE;
  addprimitive(v);
  return v;
}

TEST_F(Model, RecordDefaults) {
  line l;
  EXPECT_EQ(l.type, RW_LINE);
  EXPECT_EQ(l.linetype, RW_SEGMENT);
  EXPECT_EQ(l.linemark, RW_LINE0SLASH);
  EXPECT_EQ(l.p1.w, 0);
  EXPECT_EQ(l.color, COLOR_WHITE);
  EXPECT_EQ(l.layers, 0xffffffffu);
  angle a;
  EXPECT_DOUBLE_EQ(a.value, 1.5707963267948);
  arc r;
  EXPECT_EQ(r.arcradius, 1e30);
  flt f;
  EXPECT_EQ(f.named, 1);
  EXPECT_EQ(f.rpn, nullptr);
  xform x;
  EXPECT_EQ(x.m[0], 1);
  EXPECT_EQ(x.m[4], 1);
  EXPECT_EQ(x.m[8], 1);
  EXPECT_EQ(x.m[1], 0);
}

TEST_F(Model, ColourAtConstructionFollowsLayers) {
  currentcolor = COLOR_INVISIBLE;
  vertex all;
  EXPECT_EQ(all.color, COLOR_WHITE);  // never created invisible
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
}

TEST_F(Model, DeletionKeepsTheListSound) {
  vertex* a = addfree(0, 0);
  vertex* b = addfree(1, 0);
  line* l = new line;
  l->kind = L_VV;
  l->parents[0] = a;
  l->parents[1] = b;
  genname(l);
  addprimitive(l);
  EXPECT_EQ(deleteprimitive(a), 0);
  ASSERT_EQ(alerts.size(), 1u);
  EXPECT_EQ(alerts[0], "Cannot delete constrained primitive");
  EXPECT_EQ(plist, a);

  ASSERT_TRUE(deleteprimitive(l));  // the last record
  EXPECT_EQ(plisttail, b);
  EXPECT_EQ(b->next, nullptr);
  ASSERT_TRUE(deleteprimitive(a));
  ASSERT_TRUE(deleteprimitive(b));
  EXPECT_EQ(plist, nullptr);
  EXPECT_EQ(plisttail, nullptr);
}

TEST_F(Model, ExpressionReferencesBlockDeletion) {
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
  EXPECT_EQ(deleteprimitive(f1), 0);
  EXPECT_EQ(alerts.at(0), "Cannot delete constrained primitive");
  EXPECT_TRUE(deleteprimitive(f2));
  EXPECT_TRUE(deleteprimitive(f1));
}

TEST_F(Model, FlipAngleOnlyTouchesThreePointAngles) {
  vertex* a = addfree(1, 0);
  vertex* o = addfree(0, 0);
  vertex* b = addfree(0, 1);
  angle* g = new angle;
  g->kind = A_VVV;
  g->parents[0] = a;
  g->parents[1] = o;
  g->parents[2] = b;
  flipangle(g);
  EXPECT_EQ(g->parents[0], b);
  EXPECT_EQ(g->parents[2], a);
  g->kind = A_F;
  flipangle(g);
  EXPECT_EQ(g->parents[0], b);
  destroyprimitive(g);
}

TEST_F(Model, BucketGrowthKeepsBackPointers) {
  // Names of equal byte sum share a bucket; 60 of them overflow its 50 slots.
  std::vector<vertex*> v;
  for (int i = 0; i < 60; i++) {
    // moving one 'b' along a run of 'a's keeps the byte sum, so the bucket
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

namespace {

struct ModelRefs : ::testing::Test {
  void SetUp() override { resetall(); }
  void TearDown() override { resetall(); }
};

TEST_F(ModelRefs, CalledMacrosAndLongLabelNumbers) {
  std::vector<std::string> seen;
  static std::vector<std::string>* sink;
  sink = &seen;
  alerthook = [](const char* t) { sink->push_back(t); };
  macro* m = new macro;
  addprimitive(m);
  macrocall* c = new macrocall;
  c->kind = MACROCALL;
  c->macroref = m;
  addprimitive(c);
  // the call names the macro only through macroref
  EXPECT_EQ(deleteprimitive(m), 0);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0], "Cannot delete constrained primitive");
  EXPECT_TRUE(deleteprimitive(c));
  EXPECT_TRUE(deleteprimitive(m));
  // label number 10052 + 52 is "10052": more than five bytes, not cut
  vnumber = 10052 + 52;
  vertex* v = makevertex(0, 0);
  EXPECT_STREQ(v->label, "10052");
  EXPECT_EQ(vnumber, 10052 + 53);
  destroyprimitive(v);
  selectprim(nullptr);
}

}  // namespace
