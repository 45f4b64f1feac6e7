// describe.cpp: the one-sentence definitions of "Describe Geometry".
//
// A table maps each kind to a sentence whose %s slots take names in a fixed
// order: 0 the primitive itself, 1 to 5 its parents. The slots are filled by
// hand rather than through printf, so a sentence can never read more
// arguments than it was given.
#include "relations/describe.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "language/symtable.h"

namespace {

struct sentence {
  int kind;
  const char* format;
  const char* order;  // which name fills each %s: '0' self, '1'..'5' parents
};

const sentence sentences[] = {
    {MACROCALL, "part of macro", ""},
    {FREE, "%s: free point", "0"},
    {VONL, "%s: point on line %s", "01"},
    {VONC, "%s: point on circle %s", "01"},
    {V_LL, "%s: intersection of lines %s and %s", "012"},
    {V_LC1, "%s: intersection of line %s and circle %s", "012"},
    {V_LC2, "%s: intersection of line %s and circle %s", "012"},
    {V_LCVOTHER, "%s: intersection of line %s and circle %s", "012"},
    {V_LCVOTHER2, "%s: intersection of line %s and circle %s", "012"},
    {V_CC1, "%s: intersection of circles %s and %s", "012"},
    {V_CC2, "%s: intersection of circles %s and %s", "012"},
    {V_CCVOTHER, "%s: intersection of circle %s and circle %s", "012"},
    {V_CCVOTHER2, "%s: intersection of circle %s and circle %s", "012"},
    {V_CCENTER, "%s: center of circle %s", "01"},
    {V_VVMID, "%s: midpoint of points %s and %s", "012"},
    {V_LVMIRROR, "%s: mirror through line %s of point %s", "012"},
    {V_VCINV, "%s: point %s inverted through %s", "012"},
    {V_AVV, "%s: point an angle offset from %s and %s", "012"},
    {V_LCONIC1, "%s: point intersection of line %s and conic %s", "012"},
    {V_LCONIC2, "%s: point intersection of line %s and conic %s", "012"},
    {VONCONIC, "%s: point on conic %s", "01"},
    {PINNED, "%s: pinned point", "0"},
    {V_VVVBISECT, "%s: point on angle bisector of %s %s %s", "0123"},
    {V_FF, "%s: point with coordinates %s and %s", "012"},
    {V_VVF, "%s: point set at ratio %s between points %s and %s", "0312"},
    {V_VX, "%s: point transformed from %s by xform %s", "012"},
    {V_VTRANSLATE, "%s: point translated from %s by %s and %s", "0123"},
    {V_VSCALE, "%s: point scaled from %s by %s and %s", "0123"},
    {V_VROTATE, "%s: point rotated from %s by %s", "012"},
    {V_VVVHARMONIC, "%s: point harmonic fourth to points %s %s and %s", "0123"},
    {L_VV, "%s: line connecting points %s and %s", "012"},
    {L_VLPAR, "%s: line through %s parallel to %s", "012"},
    {L_VLPERP, "%s: line through %s perpendicular to %s", "012"},
    {L_VC1, "%s: line through %s tangent to circle %s", "012"},
    {L_VC2, "%s: line through %s tangent to circle %s", "012"},
    {L_CCEXT1, "%s: exterior tangent to circles %s and %s", "012"},
    {L_CCEXT2, "%s: exterior tangent to circles %s and %s", "012"},
    {L_CCINT1, "%s: interior tangent to circles %s and %s", "012"},
    {L_CCINT2, "%s: interior tangent to circles %s and %s", "012"},
    {L_CONICV1, "%s: line tangent to conic %s through %s", "012"},
    {L_CONICV2, "%s: line tangent to conic %s through %s", "012"},
    {L_VVPERP, "%s: perpendicular bisector of points %s and %s", "012"},
    {C_VV, "%s: circle: center %s; edge %s", "012"},
    {C_VVV, "%s: circle through points %s, %s and %s", "0123"},
    {C_LLL1, "%s: circle tangent to lines %s, %s and %s", "0123"},
    {C_LLL2, "%s: circle tangent to lines %s, %s and %s", "0123"},
    {C_LLL3, "%s: circle tangent to lines %s, %s and %s", "0123"},
    {C_LLL4, "%s: circle tangent to lines %s, %s and %s", "0123"},
    {C_CCINV, "%s: circle inverse of circle %s, through circle %s", "012"},
    {C_LCINV, "%s: circle inverse of line %s, through circle %s", "012"},
    {C_VCRAD, "%s: circle centered at %s with same radius as %s", "012"},
    {C_VF, "%s: circle centered at %s with radius %s", "012"},
    {C_CTRVV, "%s: circle: center %s; radius = dist(%s, %s)", "0123"},
    {C_VLEN, "%s: circle with center %s and length radius", "01"},
    {BEZ_VVVV, "%s: bezier with control points %s, %s, %s, and %s", "01234"},
    {A_VVV, "%s: angle made from points %s, %s, and %s", "0123"},
    {CONIC_VVVVV, "%s: conic through points: %s,  %s,  %s,  %s, %s", "012345"},
    {CONIC_LLLLL, "%s: conic through lines: %s,  %s,  %s,  %s, %s", "012345"},
    {POLYGON, "polygon", ""},
    {ARC_VVV, "%s: arc based on points %s, %s, and %s", "0123"},
};
static_assert(sizeof sentences / sizeof sentences[0] == 60,
              "one sentence per described kind");

const sentence fallback = {NOCONSTRAINT, "%s: no description", "0"};

const sentence* findsentence(const primitive* p) {
  for (const sentence& s : sentences)
    if (s.kind == p->kind) return &s;
  return &fallback;
}

std::string nameof(const primitive* p) {
  char buf[256];
  describename(p, buf, sizeof buf);
  return buf;
}

}  // namespace

void describename(const primitive* p, char* buf, int size) {
  if (size <= 0) return;
  if (!p) {
    snprintf(buf, size, "?");
  } else if (p->label) {
    snprintf(buf, size, "\"%s\"", p->label);
  } else if (p->type == RW_FLT && !((const flt*)p)->named) {
    snprintf(buf, size, "%g", ((const flt*)p)->value);
  } else {
    snprintf(buf, size, "(%s)", p->symbol ? p->symbol->name : "?");
  }
}

void describeprimitive(const primitive* p, char* buf, int size) {
  if (size <= 0) return;
  const sentence* s = findsentence(p);
  std::string text;
  const char* order = s->order;
  for (const char* f = s->format; *f; f++) {
    if (f[0] == '%' && f[1] == 's') {
      int slot = *order ? *order++ - '0' : 0;
      text += nameof(slot == 0 ? p : p->parents[slot - 1]);
      f++;
    } else {
      text += *f;
    }
  }
  snprintf(buf, size, "%s", text.c_str());
}
