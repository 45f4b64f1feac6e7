// construct.h: the construction helpers that turn picked records into a new
// record.
//
// The construction state machine calls one of these once the user has
// picked the parents. Each helper allocates the record, names it (vertices
// also get an automatic label), sets its kind and parents, gives a line the
// current line styles, selects it and returns it. It does not add it to the
// world list: the caller passes it to `addprimitive` and recomputes.
//
// Helpers whose names end in 1 (and `llltocircle`) choose between the
// solutions of their construction by the point where the user clicked: they
// compute each branch once and keep the one nearer the click. The record is
// returned unsettled, so the next recomputation computes the chosen branch.
#pragma once

#include "model/primitive.h"

line* linevertvert(vertex* a, vertex* b);
polygon* vertlisttopolygon(int count, vertex** v);
vertex* vertvertvertmid(vertex* a, vertex* b);
line* vertvertlineperp(vertex* a, vertex* b);
vertex* vertlinevertmirror(vertex* v, line* l);
circle* circlinecircinv(line* l, circle* c);
circle* circcirccircinv(circle* c, circle* k);
vertex* vertvertcircinv(vertex* v, circle* c);
vertex* vertanglevertvert(angle* a, vertex* v, vertex* z);
circle* circvertcircrad(vertex* v, circle* c);
circle* circvertvert(vertex* centre, vertex* on);
vertex* vertlineline(line* l0, line* l1);
line* linevertlineperp(vertex* v, line* l);
line* linevertlinepar(vertex* v, line* l);

// Ties a vertex made at the click (or an existing free vertex) to a line or
// a circle; no new record. Returns 0, changing nothing, when the vertex is
// computed from parents or the curve is built on the vertex (the point
// would depend on itself).
int verttoline(vertex* v, line* l);
int verttocirc(vertex* v, circle* c);

// Branch chosen by the click (x, y).
vertex* linecirctovert1(line* l, circle* c, double x, double y);
line* vertcirctoline1(vertex* v, circle* c, double x, double y);
line* circcirctolineext1(circle* c0, circle* c1, double x, double y);
line* circcirctolineint1(circle* c0, circle* c1, double x, double y);
vertex* circcirctovert1(circle* c0, circle* c1, double x, double y);
vertex* circcirctovert2(circle* c0, circle* c1);

circle* vvvtocircle(vertex* a, vertex* b, vertex* c);
circle* ctrvvtocircle(vertex* centre, vertex* a, vertex* b);
arc* vvvtoarc(vertex* a, vertex* b, vertex* c);
vertex* anglebisect(vertex* a, vertex* apex, vertex* c);
angle* avvv(vertex* a, vertex* apex, vertex* c);
conic* vvvvvtoconic(vertex** v);
conic* llllltoconic(line** l);
bezier* vvvvbez(vertex* a, vertex* b, vertex* c, vertex* d);
line* vertcontangent(vertex* v, conic* k, double x, double y);
vertex* vertlineconic(line* l, conic* k, double x, double y);

// The circle tangent to three lines whose centre lies nearest the three
// click points (one per line, xy = x0, y0, x1, y1, x2, y2).
circle* llltocircle(line* l0, line* l1, line* l2, const double xy[6]);
