// engine_fixture.h: a test fixture and record builders for the engine tests.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "engine/recompute.h"
#include "model/notify.h"
#include "model/reset.h"
#include "model/worldlist.h"

namespace enginetest {

inline std::vector<std::string>& alerts() {
  static std::vector<std::string> a;
  return a;
}
inline void recordalert(const char* text) {
  alerts().push_back(text);
}

struct Engine : ::testing::Test {
  void SetUp() override {
    resetall();
    alerts().clear();
    alerthook = recordalert;
  }
  void TearDown() override { resetall(); }
};

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

}  // namespace enginetest
