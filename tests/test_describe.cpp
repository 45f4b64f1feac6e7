// "Describe Geometry": the sentence for each kind, the names it uses and
// the argument orders that differ from the parent order.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "model/reset.h"
#include "relations/describe.h"
#include "relations_helpers.h"

using namespace relhelp;

namespace {

struct Describe : ::testing::Test {
  void SetUp() override { resetall(); }
  void TearDown() override { resetall(); }
};

std::string describe(const primitive* p) {
  char buf[512];
  describeprimitive(p, buf, sizeof buf);
  return buf;
}

TEST_F(Describe, Sentences) {
  vertex* a = pt(0, 0);
  vertex* b = pt(1, 0);
  vertex* c = pt(0, 1);
  line* l = mkl(L_VV, {a, b});
  EXPECT_EQ(describe(a), "\"A\": free point");
  EXPECT_EQ(describe(l), "(l1): line connecting points \"A\" and \"B\"");
  circle* k = mkc(C_VVV, {a, b, c});
  EXPECT_EQ(describe(k), "(c1): circle through points \"A\", \"B\" and \"C\"");
  vertex* m = mkv(V_VVMID, {a, b});
  EXPECT_EQ(describe(m), "\"D\": midpoint of points \"A\" and \"B\"");
  line* perp = mkl(L_VLPERP, {c, l});
  EXPECT_EQ(describe(perp), "(l2): line through \"C\" perpendicular to (l1)");
  vertex* x = mkv(V_LL, {l, perp});
  EXPECT_EQ(describe(x), "\"E\": intersection of lines (l1) and (l2)");
  vertex* on = mkv(VONC, {k});
  EXPECT_EQ(describe(on), "\"F\": point on circle (c1)");
  circle* ctr = mkc(C_CTRVV, {a, b, c});
  EXPECT_EQ(describe(ctr),
            "(c2): circle: center \"A\"; radius = dist(\"B\", \"C\")");

  // The ratio comes first although it is the third parent.
  flt* f = (flt*)newprimitive(RW_FLT);
  genname(f);
  addprimitive(f);
  vertex* r = mkv(V_VVF, {a, b, f});
  EXPECT_EQ(describe(r),
            "\"G\": point set at ratio (flt1) between points \"A\" and \"B\"");
  // An anonymous number is named by its value.
  flt* lit = (flt*)newprimitive(RW_FLT);
  lit->named = 0;
  lit->value = 0.25;
  lit->kind = LITERAL;
  addprimitive(lit);
  circle* cf = mkc(C_VF, {a, lit});
  EXPECT_EQ(describe(cf), "(c3): circle centered at \"A\" with radius 0.25");

  // Five parents, with the double blanks of the conic sentences.
  vertex* d = pt(1, 1);
  vertex* e = pt(2, 3);
  primitive* con = mk(RW_CONIC, CONIC_VVVVV, {a, b, c, d, e});
  EXPECT_EQ(describe(con),
            "(con1): conic through points: \"A\",  \"B\",  \"C\",  \"H\", "
            "\"I\"");

  primitive* poly = mk(RW_POLYGON, POLYGON, {a, b, c});
  EXPECT_EQ(describe(poly), "polygon");
  primitive* g = mk(RW_ANGLE, A_VVV, {a, b, c});
  EXPECT_EQ(describe(g),
            "(ang1): angle made from points \"A\", \"B\", and \"C\"");
  EXPECT_EQ(describe(f), "(flt1): no description");
  vertex* pin = pt(0.5, 0.5, PINNED);
  EXPECT_EQ(describe(pin), "\"J\": pinned point");
}

TEST_F(Describe, LongNamesAndSmallBuffers) {
  vertex* a = pt(0, 0);
  free(a->label);
  a->label = strdup(std::string(300, 'x').c_str());
  vertex* b = pt(1, 0);
  line* l = mkl(L_VV, {a, b});
  char small[16];
  describeprimitive(l, small, sizeof small);
  EXPECT_STREQ(small, "(l1): line conn");
  std::string whole(1000, '\0');
  describeprimitive(l, &whole[0], (int)whole.size());
  EXPECT_NE(whole.find(std::string(250, 'x')), std::string::npos);
  // A missing parent is named "?" rather than read through.
  line* broken = mkl(L_VV, {a});
  describeprimitive(broken, &whole[0], (int)whole.size());
  std::string text = whole.c_str();
  EXPECT_EQ(text.substr(text.size() - 6), " and ?");
}

}  // namespace
