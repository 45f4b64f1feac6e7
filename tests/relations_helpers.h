// relations_helpers.h: building small diagrams record by record for the
// relation finder's tests, with coordinates set by hand.
#pragma once

#include <cstdio>
#include <initializer_list>
#include <string>

#include "model/worldlist.h"
#include "relations/finder.h"

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

// A line of the given kind; a, b, c through the two points when both
// parents are vertices, else left for the caller.
inline line* ln(int kind, primitive* p0, primitive* p1) {
  line* l = (line*)newprimitive(RW_LINE);
  genname(l);
  l->kind = kind;
  l->parents[0] = p0;
  l->parents[1] = p1;
  if (p0 && p1 && p0->type == RW_VERTEX && p1->type == RW_VERTEX) {
    vertex *a = (vertex*)p0, *b = (vertex*)p1;
    l->a = a->y - b->y;
    l->b = b->x - a->x;
    l->c = a->x * b->y - a->y * b->x;
  }
  addprimitive(l);
  return l;
}

inline void setline(line* l, double a, double b, double c) {
  l->a = a;
  l->b = b;
  l->c = c;
}

inline circle* circ(int kind, double cx, double cy, double r,
                    primitive* p0 = nullptr, primitive* p1 = nullptr,
                    primitive* p2 = nullptr) {
  circle* c = (circle*)newprimitive(RW_CIRCLE);
  genname(c);
  c->kind = kind;
  c->parents[0] = p0;
  c->parents[1] = p1;
  c->parents[2] = p2;
  c->center.x = cx;
  c->center.y = cy;
  c->center.w = 1;
  c->radius = r;
  addprimitive(c);
  return c;
}

// Ends the running test and returns the report it writes.
inline std::string endreport() {
  char* buf = nullptr;
  size_t size = 0;
  FILE* f = open_memstream(&buf, &size);
  enddiagramtestto(f, "-");
  fclose(f);
  std::string s(buf, size);
  free(buf);
  return s;
}

// The report without its first two lines ("This is file: ...", blank).
inline std::string body(const std::string& report) {
  size_t cut = report.find("\n\n");
  return cut == std::string::npos ? report : report.substr(cut + 2);
}

}  // namespace relhelp

namespace relhelp {

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

}  // namespace relhelp
