// Postfix expressions: each row an expression and the value it must give,
// worked out by hand; failures give 1e30 and name their cause.
#include <cmath>
#include <vector>

#include "language/rpn.h"
#include "tests/langtest.h"

namespace {
using namespace langtest;

struct rpnrow {
  std::string items;
  double value;     // expected value (1e30 for a failure)
  std::string why;  // expected failure cause, "" when it succeeds
  int degrees = 1;  // the angle mode
};

std::string ones(int n) {
  std::string s;
  for (int i = 0; i < n; i++) s += "1 ";
  return s;
}

double evaluate(const std::string& items, int degrees) {
  EXPECT_EQ(readtext((degrees ? "" : ".radianmode;\n") +
                     std::string("x = .f.rpn(") + items + ");"),
            1)
      << firstalert();
  flt* f = (flt*)named("x");
  if (!f) return NAN;
  evalrpn(f);
  return f->value;
}

// Each row of tests/data/rpn.txt, and the rows made here.
TEST_F(Lang, Evaluation) {
  std::vector<rpnrow> rows = {
      {ones(100), 1, ""},
      {ones(98) + ".dup .dup", 1, ""},  // 100 values fit
      {ones(60) + "59 .copy", 1e30, "stack overflow"},
  };
  for (const auto& row : golden("rpn.txt")) {
    bool radians = row.first.rfind("radians: ", 0) == 0;
    std::string want = row.second.substr(0, row.second.size() - 1);
    bool fails = want.rfind("fails: ", 0) == 0;
    rows.push_back({row.first.substr(radians ? 9 : 0),
                    fails ? 1e30 : std::stod(want), fails ? want.substr(7) : "",
                    !radians});
  }
  ASSERT_EQ(rows.size(), 49u);
  // every operator that takes operands names itself when it has none
  for (const char* op :
       {"add",  "sub",      "mul",     "div",   "mod",   "neg", "dup",   "pop",
        "roll", "copy",     "sin",     "sqrt",  "cos",   "tan", "atan2", "abs",
        "exp",  "log",      "eq",      "ne",    "gt",    "ge",  "lt",    "le",
        "exch", "truncate", "ceiling", "floor", "round", "if"})
    rows.push_back(
        {std::string(".") + op, 1e30, std::string(op) + ": stack underflow"});
  for (const rpnrow& r : rows) {
    SetUp();
    double v = evaluate(r.items, r.degrees);
    if (r.value == 1e30)
      EXPECT_EQ(v, 1e30) << r.items;
    else
      EXPECT_NEAR(v, r.value, 1e-9) << r.items;
    EXPECT_EQ(lastrpnerror(), r.why) << r.items;
    EXPECT_EQ(evalrpnerror, r.why.empty() ? 0 : 1) << r.items;
  }
  SetUp();
  EXPECT_LE(evaluate(".rand", 1), 1);  // needs nothing
  EXPECT_STREQ(lastrpnerror(), "");
}

TEST_F(Lang, AnglesAndReferences) {
  // an angle of pi/2 radians is pushed in degrees with the rounded factor
  ASSERT_EQ(readtext("g = .a.float(1.5707963267948966);\n"
                     "x = .f.rpn(g); y = .f.rpn(g, 2, .mul);"),
            1);
  flt* x = (flt*)named("x");
  evalrpn(x);
  EXPECT_NEAR(x->value, 1.5707963267948966 * 180.0 / 3.14159265358, 1e-12);
  EXPECT_GT(x->value, 90);
  flt* y = (flt*)named("y");
  ASSERT_EQ(y->rpn[0].tag, RPN_ANGLE);
  evalrpn(y);
  EXPECT_NEAR(y->value, 2 * x->value, 1e-12);
  // a flt reference pushes the flt's value
  ASSERT_EQ(readtext("A = .free(0, 0); B = .free(3, 4);\n"
                     "AB = .f.vv(A, B);\n"
                     "d = .f.rpn(AB 2 .div);"),
            1)
      << firstalert();
  flt* d = (flt*)named("d");
  ASSERT_EQ(d->nrpn, 3);
  EXPECT_EQ(d->rpn[0].tag, RPN_FLT);
  EXPECT_EQ(d->rpn[0].prim, named("AB"));
  ((flt*)named("AB"))->value = 5;  // what the engine would compute
  evalrpn(d);
  EXPECT_EQ(d->value, 2.5);
}

}  // namespace
