// definitions.cpp: relations that a diagram's construction guarantees.
//
// The finder must not propose what the user built on purpose (a point on
// the line it was put on, a line parallel to the line it was drawn parallel
// to, a midpoint between its ends). These tests read only kinds and parent
// slots, never coordinates, so they hold in every position.
#include "relations/finder.h"

namespace {

int isparent(const primitive* p, int slot, const primitive* q) {
  return p->parents[slot] == q;
}

int eitherparent(const primitive* p, const primitive* q) {
  return isparent(p, 0, q) || isparent(p, 1, q);
}

// p is built from exactly a and b (in either order) by one of the given
// point kinds that lie on the line through their two parents.
int betweendef(const primitive* p, const primitive* a, const primitive* b) {
  if (p->kind != V_VVMID && p->kind != V_VVF) return 0;
  return (isparent(p, 0, a) && isparent(p, 1, b)) ||
         (isparent(p, 0, b) && isparent(p, 1, a));
}

}  // namespace

int vonldef(const primitive* v, const primitive* l) {
  switch (l->kind) {
    case L_VV:
      if (eitherparent(l, v)) return 1;
      break;
    case L_VLPAR:
    case L_VLPERP:
    case L_VC1:
    case L_VC2:
      if (isparent(l, 0, v)) return 1;
      break;
    default: break;  // lines of other kinds carry no named point
  }
  switch (v->kind) {
    case VONL:
    case V_LC1:
    case V_LC2:
    case V_LCVOTHER:
    case V_LCVOTHER2: return isparent(v, 0, l);
    case V_LL: return eitherparent(v, l);
    case V_VVMID:
      return v->parents[0] && v->parents[1] && vonldef(v->parents[0], l) &&
             vonldef(v->parents[1], l);
    default: return 0;  // other points lie on no line by construction
  }
}

int voncdef(const primitive* v, const primitive* c) {
  if (c->kind == C_VV && isparent(c, 1, v)) return 1;
  if (c->kind == C_VVV &&
      (isparent(c, 0, v) || isparent(c, 1, v) || isparent(c, 2, v)))
    return 1;
  switch (v->kind) {
    case V_LC1:
    case V_LC2:
    case V_LCVOTHER:
    case V_LCVOTHER2: return isparent(v, 1, c);
    case V_CC1:
    case V_CC2:
    case V_CCVOTHER:
    case V_CCVOTHER2: return eitherparent(v, c);
    case VONC: return isparent(v, 0, c);
    default: return 0;  // other points lie on no circle by construction
  }
}

int lpardef(const primitive* l1, const primitive* l2) {
  return (l1->kind == L_VLPAR && isparent(l1, 1, l2)) ||
         (l2->kind == L_VLPAR && isparent(l2, 1, l1));
}

int lperpdef(const primitive* l1, const primitive* l2) {
  return (l1->kind == L_VLPERP && isparent(l1, 1, l2)) ||
         (l2->kind == L_VLPERP && isparent(l2, 1, l1));
}

int threevonldef(const primitive* a, const primitive* b, const primitive* c) {
  return betweendef(a, b, c) || betweendef(b, a, c) || betweendef(c, a, b);
}

int segequaldef(int s, int t) {
  const int* u = segmentlist[s].v;
  const int* w = segmentlist[t].v;
  int m, far1, far2;  // shared end and the two far ends, as vertex indexes
  if (u[0] == w[0]) {
    m = u[0], far1 = u[1], far2 = w[1];
  } else if (u[0] == w[1]) {
    m = u[0], far1 = u[1], far2 = w[0];
  } else if (u[1] == w[0]) {
    m = u[1], far1 = u[0], far2 = w[1];
  } else if (u[1] == w[1]) {
    m = u[1], far1 = u[0], far2 = w[0];
  } else {
    return 0;
  }
  const vertex* pm = vertlist[m];
  const vertex* f[2] = {vertlist[far1], vertlist[far2]};
  if (pm->kind == V_VVMID &&
      ((isparent(pm, 0, f[0]) && isparent(pm, 1, f[1])) ||
       (isparent(pm, 0, f[1]) && isparent(pm, 1, f[0]))))
    return 1;
  for (int k = 0; k < 2; k++) {
    const primitive* c = f[k]->parents[0];
    if (f[k]->kind == VONC && c && c->kind == C_VV && isparent(c, 0, pm) &&
        isparent(c, 1, f[1 - k]))
      return 1;
  }
  return 0;
}
