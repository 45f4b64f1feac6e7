// Macros: definition records, calls and their results, expansion on every
// recomputation (with the engine), and writing.
#include <cmath>
#include <cstring>

#include "engine/recompute.h"
#include "language/macro.h"
#include "tests/langtest.h"

namespace {
using namespace langtest;

const char* const CENTROID =
    ".macro .vertex centroid(.vertex a, .vertex b, .vertex c)\n{\n"
    "    m = .v.vvmid(a, b);\n"
    "    .return g = .v.vvf(c, m, 0.666667);\n}\n";

// The record before `result`: its call.
primitive* callof(const primitive* result) {
  primitive* p = plist;
  while (p && p->next != result) p = p->next;
  return p;
}

// A call, one whose result is not kept and a macro without a body are
// written back in list order.
TEST_F(Lang, DefinitionCallAndWriting) {
  const std::string calls =
      "A = .free(0, 0);\nB = .free(3, 0);\nC = .free(0, 3);\n"
      "G = centroid(A, B, C, .red, \"G\");\ncentroid(C, B, A);\n";
  ASSERT_EQ(readtext(CENTROID + calls + ".macro nothing() { }\nnothing();\n"),
            1)
      << firstalert();
  EXPECT_NE(named("centroid"), nullptr);
  EXPECT_EQ(named("m"), nullptr);  // body names stay inside
  primitive* g = named("G");
  ASSERT_NE(g, nullptr);
  EXPECT_EQ(g->generated, 1);
  EXPECT_EQ(g->color, COLOR_RED);
  EXPECT_STREQ(g->label, "G");
  primitive* call = callof(g);
  ASSERT_EQ(call->type, RW_MACROCALL);
  EXPECT_EQ(((macrocall*)call)->result, g);
  EXPECT_EQ(call->parents[0], named("A"));
  EXPECT_EQ(call->parents[2], named("C"));
  EXPECT_EQ(written(), ".geometry \"version 0.65\";\n" + std::string(CENTROID) +
                           calls + ".macro nothing()\n{\n}\nnothing();\n");
}

TEST_F(Lang, ExpansionFollowsTheArguments) {
  ASSERT_EQ(readtext(std::string(CENTROID) +
                     ".macro .vertex mid(.vertex a, .vertex b)\n"
                     "{ .return m = .v.vvmid(a, b); }\n"
                     "A = .free(0, 0); B = .free(3, 0); C = .free(0, 3);\n"
                     "D = .free(6, 6);\n"
                     "G = centroid(A, B, C); H = centroid(B, C, D);\n"
                     "M = mid(A, D); l = .l.vv(G, M);"),
            1)
      << firstalert();
  checkconstraints();
  vertex* g = (vertex*)named("G");
  vertex* h = (vertex*)named("H");
  vertex* m = (vertex*)named("M");
  EXPECT_NEAR(g->x, 1, 1e-5);  // (0 + 3 + 0) / 3
  EXPECT_NEAR(g->y, 1, 1e-5);
  EXPECT_NEAR(h->x, 3, 1e-5);  // (3 + 0 + 6) / 3
  EXPECT_NEAR(h->y, 3, 1e-5);
  EXPECT_EQ(m->x, 3);
  EXPECT_EQ(m->y, 3);
  EXPECT_EQ(m->w, 1);
  // the intermediate midpoints of both centroid calls are in the scratch list
  int copies = 0;
  for (primitive* p = macroplist; p; p = p->next) {
    EXPECT_EQ(p->generated, 1);
    copies++;
  }
  EXPECT_EQ(copies, 2);
  // a result is an ordinary parent: the line through G and M
  line* l = (line*)named("l");
  EXPECT_NEAR(l->p1.x, 1, 1e-5);
  EXPECT_EQ(l->p2.x, 3);
  // moving an argument moves the result on the next recomputation
  vertex* a = (vertex*)named("A");
  a->x = 3;
  a->satisfied = 0;
  clearmacroplist();
  checkconstraints();
  EXPECT_NEAR(g->x, 2, 1e-5);  // (3 + 3 + 0) / 3
  EXPECT_EQ(m->x, 4.5);
}

TEST_F(Lang, ResultsOfOtherTypesAndLiterals) {
  ASSERT_EQ(readtext(".macro .flt len(.vertex a, .vertex b)\n"
                     "{ .return d = .f.vv(a, b); }\n"
                     ".macro .circle ring(.vertex a, .flt r)\n"
                     "{ .return k = .c.vf(a, r); }\n"
                     "A = .free(0, 0); B = .free(3, 4);\n"
                     "x = len(A, B);\n"
                     "k1 = ring(A, 2); k2 = ring(B, 2.0);"),
            1)
      << firstalert();
  EXPECT_EQ(named("x"), nullptr);  // a flt result makes no record
  primitive* k1 = named("k1");
  primitive* k2 = named("k2");
  ASSERT_NE(k1, nullptr);
  // 2 and 2.0 share one anonymous flt entered as "2.000000"
  symtableentry* two = lookup(idtable, "2.000000");
  ASSERT_NE(two, nullptr);
  EXPECT_EQ(callof(k1)->parents[1], two->prim);
  EXPECT_EQ(callof(k2)->parents[1], two->prim);
  checkconstraints();
  EXPECT_EQ(((circle*)k2)->radius, 2);
  EXPECT_EQ(((circle*)k2)->center.x, 3);
}

struct callrow {
  std::string text;
  double x, y;  // of T after recomputing
};

TEST_F(Lang, CallsInsideABody) {
  const callrow rows[] = {
      // halfway from A to the centroid (1, 1)
      {std::string(CENTROID) +
           ".macro .vertex twice(.vertex a, .vertex b, .vertex c)\n"
           "{ g1 = centroid(a, b, c); .return h = .v.vvmid(g1, a); }\n"
           "A = .free(0, 0); B = .free(3, 0); C = .free(0, 3);\n"
           "T = twice(A, B, C);",
       0.5, 0.5},
      // a call's argument falls back to the diagram's own name, as a
      // constructor's does: r = (2, 0), then halfway to A
      {"A = .free(4, 0);\n"
       ".macro .vertex mid(.vertex a, .vertex b)\n"
       "{ .return m = .v.vvmid(a, b); }\n"
       ".macro .vertex towardA(.vertex p)\n"
       "{ r = mid(p, A); .return q = .v.vvmid(r, A); }\n"
       "B = .free(0, 0);\nT = towardA(B);",
       3, 0},
  };
  for (const callrow& r : rows) {
    SetUp();
    readback(r.text);
    ASSERT_EQ(readtext(r.text), 1) << firstalert();
    checkconstraints();
    vertex* t = (vertex*)named("T");
    EXPECT_NEAR(t->x, r.x, 1e-5);
    EXPECT_NEAR(t->y, r.y, 1e-5);
  }
}

}  // namespace

namespace {

// The number a call's second argument is written as, read back by strtod.
double writtenargument(const std::string& text) {
  size_t at = text.find("k = ring(A, ");
  if (at == std::string::npos) return NAN;
  return strtod(text.c_str() + at + strlen("k = ring(A, "), nullptr);
}

TEST_F(Lang, LiteralArgumentsAreWrittenBackAsTheSameNumber) {
  const char* const numbers[] = {
      ("1000000000000000000000000000000000000000000000000000000000000000"
       "000000000.5"),  // cut to about 1e62 by a 64-byte name
      "123456789012345678901234567890123456789012345678901234567890123",
      "-3e250",  // longer than any name may be
      "1.7976931348623157e308",
      "0.25",
  };
  for (const char* n : numbers) {
    SetUp();
    std::string text = std::string(
                           ".macro .circle ring(.vertex a, .flt r)\n"
                           "{ .return c = .c.vf(a, r); }\n"
                           "A = .free(0, 0);\nk = ring(A, ") +
                       n + ");\n";
    std::string once = readback(text);
    EXPECT_EQ(writtenargument(once), strtod(n, nullptr)) << n << "\n" << once;
  }
  // Two long numbers never share one literal.
  SetUp();
  ASSERT_EQ(readtext(".macro .circle ring(.vertex a, .flt r)\n"
                     "{ .return c = .c.vf(a, r); }\n"
                     "A = .free(0, 0);\nk = ring(A, 3e250);\n"
                     "j = ring(A, 3.0000000000001e250);\n"),
            1);
  checkconstraints();
  EXPECT_EQ(((circle*)named("j"))->radius, 3.0000000000001e250);
}

// Each level calls the one below twice: 2^n copies of the bottom.
std::string doubling(int levels) {
  std::string t =
      ".macro .vertex m0(.vertex a) { .return b = .v.vvmid(a, a); }\n";
  for (int i = 1; i <= levels; i++)
    t += ".macro .vertex m" + std::to_string(i) + "(.vertex a) { x = m" +
         std::to_string(i - 1) + "(a); y = m" + std::to_string(i - 1) +
         "(x); .return z = .v.vvmid(y, y); }\n";
  return t + "A = .free(0, 0);\nB = m" + std::to_string(levels) + "(A);\n";
}

TEST_F(Lang, MacroExpansionIsBounded) {
  // 16 levels: 8 * 2^16 - 6 = 524,282 records per call, read and computed.
  ASSERT_EQ(readtext(doubling(16)), 1) << firstalert();
  checkconstraints();
  EXPECT_EQ(((vertex*)named("B"))->valid, 1);
  // 30 levels would be 8,600 million: refused at once, at the first call
  // past the bound (level 18, on line 19, calls level 17: 1,048,570).
  SetUp();
  EXPECT_EQ(readtext(doubling(30)), 0);
  EXPECT_EQ(firstalert(), "Line 19: macro expansion too large\n");
}

}  // namespace
