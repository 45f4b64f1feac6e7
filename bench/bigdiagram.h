// bigdiagram.h: the 10,000-record diagram the page benchmarks write: one
// thousand records of each of the ten drawable types, with labels, marks,
// line styles, hatches and markup, in a 400 x 450 view.
#pragma once

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "model/reset.h"
#include "model/worldlist.h"
#include "render/view.h"

namespace bigdiagram {

inline vertex* addpoint(double x, double y, int mark) {
  vertex* v = new vertex;
  v->x = x, v->y = y, v->w = 1;
  v->pointtype = mark;
  v->color = (int)(fabs(x * 7)) % 8;
  addprimitive(v);
  return v;
}

// 1000 records of each of the ten drawable types.
inline void builddiagram() {
  resetall();
  xsize = 400, ysize = 450;
  recalcsizes(1);
  const int n = 1000;
  std::vector<vertex*> v;
  for (int i = 0; i < n; i++) {
    double t = i * 0.0063;
    v.push_back(addpoint(cos(t) * 0.9, sin(3 * t) * 0.9, RW_DIAMOND + i % 8));
    if (i % 3 == 0) v.back()->label = strdup("P\\sub{1}");
  }
  for (int i = 0; i < n; i++) {
    vertex *A = v[i], *B = v[(i + 7) % n];
    line* l = new line;
    copyvertex(&l->p1, A);
    copyvertex(&l->p2, B);
    l->a = A->y - B->y, l->b = B->x - A->x, l->c = A->x * B->y - B->x * A->y;
    l->linetype = RW_RAY12 + i % 3;
    l->linestyle = RW_SOLIDLINE + i % 3;
    l->linemark = RW_LINE0SLASH + i % 4;
    l->color = i % 8;
    if (i % 5 == 0) l->label = strdup("\\overline{AB}");
    addprimitive(l);
    circle* c = new circle;
    copyvertex(&c->center, A);
    c->radius = 0.05 + (i % 10) * 0.05;
    addprimitive(c);
    bezier* b = new bezier;
    copyvertex(&b->p1, A);
    copyvertex(&b->p2, B);
    copyvertex(&b->p3, v[(i + 13) % n]);
    copyvertex(&b->p4, v[(i + 17) % n]);
    addprimitive(b);
    flt* f = new flt;
    f->value = i * 0.01;
    f->label = strdup("r\\sub{i}");
    addprimitive(f);
    text* t = new text;
    t->string = strdup("Text \\alpha\\sup{2} (a)");
    addprimitive(t);
    conic* k = new conic;
    double e[6] = {1.0 + i % 3, 0.3, i % 2 ? -1.0 : 2.0, 0.1, -0.2, -0.3};
    memcpy(k->coef, e, sizeof e);
    addprimitive(k);
    angle* a = new angle;
    a->kind = A_VVV;
    a->angletype = RW_NOANGLE + i % 11;
    a->parents[0] = A, a->parents[1] = B, a->parents[2] = v[(i + 3) % n];
    if (i % 4 == 0) a->label = strdup("\\alpha");
    addprimitive(a);
    polygon* p = new polygon;
    p->nvert = 4;
    p->polytype = RW_SOLIDPOLY + i % 5;
    for (int j = 0; j < 4; j++) p->parents[j] = v[(i + 5 * j) % n];
    addprimitive(p);
    arc* r = new arc;
    r->kind = ARC_VVV;
    r->parents[0] = A, r->parents[1] = B, r->parents[2] = v[(i + 11) % n];
    addprimitive(r);
  }
}

}  // namespace bigdiagram
