// engine_fixture.h: a test fixture and record builders for the engine tests.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <iomanip>
#include <string>
#include <vector>

#include "engine/recompute.h"
#include "tests/langtest.h"

namespace enginetest {

// Each value against the one wanted: within tol, or when tol is 0 within
// 4 ulps as EXPECT_DOUBLE_EQ. Names the first that differs.
inline ::testing::AssertionResult values(std::initializer_list<double> got,
                                         std::initializer_list<double> want,
                                         double tol = 0) {
  if (got.size() != want.size())
    return ::testing::AssertionFailure() << "counts differ";
  const double* w = want.begin();
  for (const double* g = got.begin(); g != got.end(); g++, w++) {
    bool same = tol > 0 ? std::fabs(*g - *w) <= tol
                        : ::testing::DoubleLE("", "", *g, *w) &&
                              ::testing::DoubleLE("", "", *w, *g);
    if (!same)
      return ::testing::AssertionFailure()
             << std::setprecision(17) << "value " << g - got.begin() << " is "
             << *g << ", not " << *w;
  }
  return ::testing::AssertionSuccess();
}

using langtest::alerts;
using langtest::recordalert;
// A reset core recording its alerts.
using Engine = langtest::Lang;

// A record of type T and kind k with the given parents, appended to the
// world list (not yet computed).
template <class T>
T* add(int kind, std::initializer_list<primitive*> parents) {
  T* p = new T;
  p->kind = kind;
  int i = 0;
  for (primitive* q : parents) p->parents[i++] = q;
  addprimitive(p);
  return p;
}

inline vertex* freept(double x, double y, int kind = FREE) {
  vertex* v = add<vertex>(kind, {});
  v->x = x;
  v->y = y;
  v->w = 1;
  return v;
}

inline flt* number(double value) {
  flt* f = add<flt>(SCRIPT, {});
  f->value = value;
  return f;
}

// A line through two new free points.
inline line* linethru(double x1, double y1, double x2, double y2) {
  return add<line>(L_VV, {freept(x1, y1), freept(x2, y2)});
}

// A circle by centre and radius (a new free centre and a number).
inline circle* circ(double x, double y, double r) {
  return add<circle>(C_VF, {freept(x, y), number(r)});
}

// Where the parallels y = 0 and y = 1 meet: a point at infinity.
inline vertex* infinitept() {
  return add<vertex>(V_LL, {linethru(0, 0, 1, 0), linethru(0, 1, 1, 1)});
}

// A conic with fixed coefficients and nothing to compute.
inline conic* fixedconic(double A, double B, double C, double D, double E,
                         double F) {
  conic* k = add<conic>(CONIC_VVVVV, {});
  const double c[6] = {A, B, C, D, E, F};
  for (int i = 0; i < 6; i++) k->coef[i] = c[i];
  return k;
}

}  // namespace enginetest

// A point's coordinates, within 4 ulps or to a tolerance.
#define EXPECT_XY(p, X, Y) \
  EXPECT_TRUE(enginetest::values({(p)->x, (p)->y}, {X, Y}))
#define EXPECT_NEAR_XY(p, X, Y, tol) \
  EXPECT_TRUE(enginetest::values({(p)->x, (p)->y}, {X, Y}, tol))
