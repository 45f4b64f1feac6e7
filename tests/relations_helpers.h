// relations_helpers.h: small diagrams built record by record for the
// relation finder's tests, and its reports read back as strings.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <string>

#include "model/worldlist.h"
#include "relations/finder.h"
#include "tests/langtest.h"

namespace relhelp {

// A labelled vertex at (x, y) of the given kind and parents, in the list.
inline vertex* pt(double x, double y, int kind = FREE, primitive* p0 = nullptr,
                  primitive* p1 = nullptr) {
  vertex* v = makevertex(x, y);
  v->kind = kind;
  v->parents[0] = p0;
  v->parents[1] = p1;
  addprimitive(v);
  return v;
}

inline void setline(line* l, double a, double b, double c) {
  l->a = a;
  l->b = b;
  l->c = c;
}

// A record of the given type and kind on the given parents, named (and for
// a vertex labelled) as the construction helpers do; computed by the next
// checkconstraints.
inline primitive* mk(int type, int kind, std::initializer_list<primitive*> ps) {
  primitive* p = newprimitive(type);
  genname(p);
  if (type == RW_VERTEX) addvertexname((vertex*)p);
  p->kind = kind;
  int i = 0;
  for (primitive* q : ps) p->parents[i++] = q;
  addprimitive(p);
  return p;
}
inline vertex* mkv(int kind, std::initializer_list<primitive*> ps) {
  return (vertex*)mk(RW_VERTEX, kind, ps);
}
inline line* mkl(int kind, std::initializer_list<primitive*> ps) {
  return (line*)mk(RW_LINE, kind, ps);
}
inline circle* mkc(int kind, std::initializer_list<primitive*> ps) {
  return (circle*)mk(RW_CIRCLE, kind, ps);
}

// A line of the given kind; through the two points when both parents are
// vertices, else its coefficients are left to the caller.
inline line* ln(int kind, primitive* p0, primitive* p1) {
  line* l = mkl(kind, {p0, p1});
  if (p0 && p1 && p0->type == RW_VERTEX && p1->type == RW_VERTEX) {
    vertex *a = (vertex*)p0, *b = (vertex*)p1;
    setline(l, a->y - b->y, b->x - a->x, a->x * b->y - a->y * b->x);
  }
  return l;
}

inline circle* circ(int kind, double cx, double cy, double r,
                    std::initializer_list<primitive*> ps = {}) {
  circle* c = mkc(kind, ps);
  c->center.x = cx;
  c->center.y = cy;
  c->center.w = 1;
  c->radius = r;
  return c;
}

using langtest::captured;

// Ends the running test and returns the report it writes.
inline std::string endreport() {
  return captured([](FILE* f) { enddiagramtestto(f, "-"); });
}

// The report without its first two lines ("This is file: ...", blank).
inline std::string body(const std::string& report) {
  size_t cut = report.find("\n\n");
  return cut == std::string::npos ? report : report.substr(cut + 2);
}

}  // namespace relhelp
