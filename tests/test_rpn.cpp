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

TEST_F(Lang, Evaluation) {
  std::vector<rpnrow> rows = {
      {"3, 4, .sub", -1, ""},
      {"7, 2, .div", 3.5, ""},
      {"-7, 3, .mod", 2, ""},
      {"7, -3, .mod", 1, ""},
      {"7.9, 3, .mod", 1, ""},
      {"1, 0, .div", 1e30, "division by zero"},
      {"1, 0.5, .mod", 1e30, "illegal mod"},
      {"-1e300, 7, .mod", std::fmod(std::fmod(-1e300, 7) + 7, 7), ""},
      {"1, 2, 3, 3, 1, .roll", 1, ""},
      {"1, 2, 3, 3, 1, .roll, .pop, .pop", 2, ""},
      {"1, 2, 3, 3, -1, .roll", 2, ""},
      {"1, 2, 3, 3, -1, .roll, .pop, .pop", 3, ""},
      {"1, 2, 0, 0, .roll", 1e30, "roll: bad count"},
      {"1, 5, 1, .roll", 1e30, "roll: stack underflow"},
      {"5, 6, 2, .copy", 6, ""},
      {"5, 6, 2, .copy, .pop, .pop, .pop", 5, ""},
      {"5, 6, 2, .copy, .add, .add, .add", 22, ""},
      {"5, 0, .copy", 5, ""},
      {"5, -1, .copy", -1, ""},
      {"5, 3, .copy", 1e30, "copy: stack underflow"},
      {"0, 10, 20, .if", 10, ""},
      {"10, 20, 0, .if", 10, ""},
      {"2, .sqrt", std::sqrt(2.0), ""},
      {"-2, .sqrt", 1e30, "negative square root"},
      {"0, .log", 1e30, "negative log"},
      {"1, .exp, .log", 1, ""},
      {"-2.5, .truncate", -2, ""},
      {"2.5, .truncate", 2, ""},
      {"-2.5, .ceiling", -2, ""},
      {"-2.5, .floor", -3, ""},
      {"2.5, .round", 3, ""},
      {"-2.5, .round", -2, ""},
      {"-3, .abs, .neg", -3, ""},
      {"2, .dup, .mul", 4, ""},
      {"1, 2, .exch, .sub", 1, ""},
      {"1, 2, .clear, 7", 7, ""},
      {"1, 2, .eq, 1, 2, .ne, .add, 2, 1, .gt, .add, 2, 2, .ge, .add, 1, 2, "
       ".lt, .add, 3, 2, .le, .add",
       4, ""},
      {"30, .sin", 0.5, ""},
      {"30, .sin", std::sin(30.0), "", 0},
      {"60, .cos", 0.5, ""},
      {"45, .tan", 1, ""},
      {"1, 1, .atan2", 45, ""},
      {"1, 1, .atan2", M_PI / 4, "", 0},
      {ones(100), 1, ""},
      {ones(98) + ".dup .dup", 1, ""},  // 100 values fit
      {ones(60) + "59 .copy", 1e30, "stack overflow"},
      {"1, .if", 1e30, "if: stack underflow"},
      {"1, .pop", 1e30, "empty stack"},
      {"", 1e30, "empty stack"},
  };
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
