// "Describe Geometry": the sentence for each kind, the names it uses and
// the argument orders that differ from the parent order.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>

#include "model/reset.h"
#include "relations/describe.h"
#include "relations_helpers.h"
#include "tests/langtest.h"

using namespace relhelp;

namespace {

struct Describe : langtest::Lang {};

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
  circle* k = mkc(C_VVV, {a, b, c});
  vertex* m = mkv(V_VVMID, {a, b});
  line* perp = mkl(L_VLPERP, {c, l});
  vertex* x = mkv(V_LL, {l, perp});
  vertex* on = mkv(VONC, {k});
  circle* ctr = mkc(C_CTRVV, {a, b, c});
  flt* f = (flt*)newprimitive(RW_FLT);
  genname(f);
  addprimitive(f);
  vertex* r = mkv(V_VVF, {a, b, f});
  flt* lit = (flt*)newprimitive(RW_FLT);  // an anonymous number
  lit->named = 0;
  lit->value = 0.25;
  lit->kind = LITERAL;
  addprimitive(lit);
  circle* cf = mkc(C_VF, {a, lit});
  primitive* con = mk(RW_CONIC, CONIC_VVVVV, {a, b, c, pt(1, 1), pt(2, 3)});
  primitive* poly = mk(RW_POLYGON, POLYGON, {a, b, c});
  primitive* g = mk(RW_ANGLE, A_VVV, {a, b, c});
  vertex* pin = pt(0.5, 0.5, PINNED);
  const std::pair<primitive*, const char*> rows[] = {
      {a, "\"A\": free point"},
      {l, "(l1): line connecting points \"A\" and \"B\""},
      {k, "(c1): circle through points \"A\", \"B\" and \"C\""},
      {m, "\"D\": midpoint of points \"A\" and \"B\""},
      {perp, "(l2): line through \"C\" perpendicular to (l1)"},
      {x, "\"E\": intersection of lines (l1) and (l2)"},
      {on, "\"F\": point on circle (c1)"},
      {ctr, "(c2): circle: center \"A\"; radius = dist(\"B\", \"C\")"},
      // the ratio comes first although it is the third parent
      {r, "\"G\": point set at ratio (flt1) between points \"A\" and \"B\""},
      // an anonymous number is named by its value
      {cf, "(c3): circle centered at \"A\" with radius 0.25"},
      // five parents, with the double blanks of the conic sentences
      {con,
       "(con1): conic through points: \"A\",  \"B\",  \"C\",  \"H\", \"I\""},
      {poly, "polygon"},
      {g, "(ang1): angle made from points \"A\", \"B\", and \"C\""},
      {f, "(flt1): no description"},
      {pin, "\"J\": pinned point"},
  };
  for (const auto& row : rows) EXPECT_EQ(describe(row.first), row.second);
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
