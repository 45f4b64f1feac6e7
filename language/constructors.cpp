// constructors.cpp: the table of geometric constructors and the generic
// routine that reads any of them from its row, plus the two constructors
// with argument lists of their own (.polygon and .x.f9).
#include "language/constructors.h"

#include <cstring>

#include "language/lexer.h"
#include "language/parser.h"
#include "language/properties.h"
#include "language/symtable.h"
#include "model/notify.h"
#include "model/state.h"
#include "model/style.h"
#include "model/worldlist.h"

namespace {
const int P = RW_VERTEX, L = RW_LINE, C = RW_CIRCLE, F = RW_FLT;
const int K = RW_CONIC, A = RW_ANGLE, G = RW_POLYGON, X = RW_XFORM;
const int N = RW_ARGLITERAL, B2 = RW_ARGBRANCH2, B4 = RW_ARGBRANCH4;
const int B = RW_ARGBRANCHOPT, E = RW_ARGEND;
}  // namespace

static const prserow prselist[] = {
    {RW_FREE, {N, N, E, E, E, E}, P, FREE},
    {RW_PINNED, {N, N, E, E, E, E}, P, PINNED},
    {RW_VONL, {L, N, N, E, E, E}, P, VONL},
    {RW_VONC, {C, N, N, E, E, E}, P, VONC},
    {RW_VONCONIC, {K, N, N, E, E, E}, P, VONCONIC},
    {RW_V_LL, {L, L, E, E, E, E}, P, V_LL},
    {RW_V_VVMID, {P, P, E, E, E, E}, P, V_VVMID},
    {RW_V_LC, {L, C, B2, E, E, E}, P, V_LC1},
    {RW_V_CC, {C, C, B2, E, E, E}, P, V_CC1},
    {RW_V_AVV, {A, P, P, E, E, E}, P, V_AVV},
    {RW_V_CCENTER, {C, E, E, E, E, E}, P, V_CCENTER},
    {RW_V_LVMIRROR, {L, P, E, E, E, E}, P, V_LVMIRROR},
    {RW_V_VCINV, {P, C, E, E, E, E}, P, V_VCINV},
    {RW_V_LCONIC, {L, K, B2, E, E, E}, P, V_LCONIC1},
    {RW_V_VVVBISECT, {P, P, P, E, E, E}, P, V_VVVBISECT},
    {RW_V_FF, {F, F, E, E, E, E}, P, V_FF},
    {RW_V_VVF, {P, P, F, E, E, E}, P, V_VVF},
    {RW_V_VVRATIO, {P, P, F, E, E, E}, P, V_VVRATIO},
    {RW_V_VX, {P, X, E, E, E, E}, P, V_VX},
    {RW_V_VTRANSLATE, {P, F, F, E, E, E}, P, V_VTRANSLATE},
    {RW_V_VSCALE, {P, F, F, E, E, E}, P, V_VSCALE},
    {RW_V_VROTATE, {P, F, E, E, E, E}, P, V_VROTATE},
    {RW_V_LCVOTHER, {L, C, P, B, E, E}, P, V_LCVOTHER},
    {RW_V_CCVOTHER, {C, C, P, B, E, E}, P, V_CCVOTHER},
    {RW_V_VVVHARMONIC, {P, P, P, E, E, E}, P, V_VVVHARMONIC},
    {RW_RATIO_VVV, {P, P, P, E, E, E}, P, RATIO_VVV},
    {RW_L_VV, {P, P, E, E, E, E}, L, L_VV},
    {RW_L_VLPAR, {P, L, E, E, E, E}, L, L_VLPAR},
    {RW_L_VLPERP, {P, L, E, E, E, E}, L, L_VLPERP},
    {RW_L_VC, {P, C, B2, E, E, E}, L, L_VC1},
    {RW_L_CCEXT, {C, C, B2, E, E, E}, L, L_CCEXT1},
    {RW_L_CCINT, {C, C, B2, E, E, E}, L, L_CCINT1},
    {RW_L_CONICV, {K, P, B2, E, E, E}, L, L_CONICV1},
    {RW_L_VVPERP, {P, P, E, E, E, E}, L, L_VVPERP},
    {RW_C_VV, {P, P, E, E, E, E}, C, C_VV},
    {RW_C_VVV, {P, P, P, E, E, E}, C, C_VVV},
    {RW_C_LLL, {L, L, L, B4, E, E}, C, C_LLL1},
    {RW_C_CCINV, {C, C, E, E, E, E}, C, C_CCINV},
    {RW_C_LCINV, {L, C, E, E, E, E}, C, C_LCINV},
    {RW_C_VCRAD, {P, C, E, E, E, E}, C, C_VCRAD},
    {RW_C_VF, {P, F, E, E, E, E}, C, C_VF},
    {RW_C_CTRVV, {P, P, P, E, E, E}, C, C_CTRVV},
    {RW_C_VLEN, {P, P, E, E, E, E}, C, C_VLEN},
    {RW_BEZ_VVVV, {P, P, P, P, E, E}, RW_BEZIER, BEZ_VVVV},
    {RW_A_VVV, {P, P, P, E, E, E}, A, A_VVV},
    {RW_A_F, {F, E, E, E, E, E}, A, A_F},
    {RW_A_FLOAT, {N, E, E, E, E, E}, A, A_FLOAT},
    {RW_A_LEN, {P, E, E, E, E, E}, A, A_LEN},
    {RW_CONIC_VVVVV, {P, P, P, P, P, E}, K, CONIC_VVVVV},
    {RW_CONIC_LLLLL, {L, L, L, L, L, E}, K, CONIC_LLLLL},
    {RW_ARC_VVV, {P, P, P, E, E, E}, RW_ARC, ARC_VVV},
    {RW_ARC, {P, P, P, E, E, E}, RW_ARC, ARC_VVV},
    {RW_F_AREA, {G, E, E, E, E, E}, F, F_AREA},
    {RW_F_VV, {P, P, E, E, E, E}, F, F_VV},
    {RW_F_VVVRATIO, {P, P, P, E, E, E}, F, F_VVVRATIO},
    {RW_F_PERIMETER, {G, E, E, E, E, E}, F, F_PERIMETER},
    {RW_F_VXCOORD, {P, E, E, E, E, E}, F, F_VXCOORD},
    {RW_F_VYCOORD, {P, E, E, E, E, E}, F, F_VYCOORD},
    {RW_SCRIPT, {N, N, N, E, E, E}, F, SCRIPT},
    {RW_X_TRANSLATE, {X, F, F, E, E, E}, X, X_TRANSLATE},
    {RW_X_SCALE, {X, F, F, E, E, E}, X, X_SCALE},
    {RW_X_ROTATE, {X, F, E, E, E, E}, X, X_ROTATE},
    {RW_X_XXF, {X, X, F, E, E, E}, X, X_XXF},
    {RW_X_IDENTITY, {E, E, E, E, E, E}, X, X_IDENTITY},
    {RW_VVCONDITION, {P, P, E, E, E, E}, RW_CONDITION, VVCOND},
    {RW_VVVVCONDITION, {P, P, P, P, E, E}, RW_CONDITION, VVVVCOND},
    {RW_VONLCONDITION, {P, L, E, E, E, E}, RW_CONDITION, VONLCOND},
    {RW_VONCCONDITION, {P, C, E, E, E, E}, RW_CONDITION, VONCCOND},
    {RW_VVFCONDITION, {P, P, F, E, E, E}, RW_CONDITION, VVFCOND},
};
static_assert(sizeof prselist / sizeof prselist[0] == 69,
              "one row per table-read constructor keyword");

const prserow* findconstructor(int code) {
  for (const prserow& r : prselist)
    if (r.code == code) return &r;
  return nullptr;
}

// The kind a row's statement makes with branch b (1 to 4). Branch kinds
// follow their first kind, except the second choices of the "other
// intersection" kinds, which came later.
static int branchkind(const prserow* r, int b) {
  if (b == 1) return r->kind;
  for (int s : r->slot)
    if (s == RW_ARGBRANCHOPT)
      return r->kind == V_LCVOTHER ? V_LCVOTHER2 : V_CCVOTHER2;
  return r->kind + b - 1;
}

static int branchcount(const prserow* r) {
  int n = 0;
  for (int s : r->slot)
    n = s == RW_ARGBRANCH4                           ? 4
        : s == RW_ARGBRANCH2 || s == RW_ARGBRANCHOPT ? 2
                                                     : n;
  return n;
}

// The row and branch of each kind, found once: the writer asks for every
// record it writes.
struct kindrow {
  const prserow* row;
  int branch;
};
const int NKINDS = A_LEN + 1;
static kindrow kindrows[NKINDS];

static void indexkinds() {
  for (const prserow& r : prselist) {
    int n = branchcount(&r);
    for (int b = 1; b <= (n ? n : 1); b++) {
      int k = branchkind(&r, b);
      if (!kindrows[k].row)  // the first spelling (.arc.vvv) wins
        kindrows[k] = {&r, n ? b : 0};
    }
  }
}

const prserow* rowforkind(int type, int kind, int* branch) {
  if (!kindrows[FREE].row) indexkinds();
  if (kind < 0 || kind >= NKINDS) return nullptr;
  const kindrow& k = kindrows[kind];
  if (!k.row || k.row->result != type) return nullptr;
  *branch = k.branch;
  return k.row;
}

static const char* typemessage(int type) {
  switch (type) {
    case RW_VERTEX: return "expected point";
    case RW_LINE: return "expected line";
    case RW_CIRCLE: return "expected circle";
    case RW_CONIC: return "expected conic";
    case RW_ANGLE: return "expected angle";
    case RW_ARC: return "expected arc";
    case RW_POLYGON: return "expected polygon";
    case RW_FLT: return "expected flt";
    default: return "expected xform";  // the only other slot type
  }
}

// primarg -> identifier (a flt slot also takes a literal number)
static primitive* readprimarg(int type) {
  if (type == RW_FLT) return readfltarg();
  int tok = gettoken(globalfp);
  if (tok == badtoken) return nullptr;
  if (tok != identifier) {
    if (type != RW_XFORM) parseerror("Expected identifier");
    parseerror(typemessage(type));
    return nullptr;
  }
  symtableentry* e = lookupname(texttoken);
  if (!e || e->type != type || !e->prim) {
    parseerror(typemessage(type));
    return nullptr;
  }
  return e->prim;
}

// Number slots start at single-precision 1e30; a number that is that much
// or more in single precision counts as not given.
const double SENTINEL = (double)1e30f;
static int notgiven(double v) {
  return (float)v >= 1e30f;
}

struct ctorargs {
  primitive* parents[5];
  int nparents;
  double nums[3];  // SENTINEL or more: not given
  int branch;
  int first;   // the token that begins the property list, or -1
  int closed;  // the ')' that ends the property list has been read
};

static int readbranch(int top, ctorargs* a) {
  if (longtoken < 1 || longtoken > top) {
    parseerror(top == 2 ? "Type must be 1 or 2" : "Type must be 1, 2, 3, or 4");
    return 0;
  }
  a->branch = longtoken;
  return 1;
}

// An optional last branch: after the last argument comes ')', or ',' and
// then the branch or the first property.
static int readoptionalbranch(ctorargs* a) {
  int tok = gettoken(globalfp);
  if (tok == closeparen) return a->closed = 1;
  if (tok == badtoken) return 0;
  if (tok != comma) {
    parseerror("bad properties");
    return 0;
  }
  tok = gettoken(globalfp);
  if (tok == integer) return readbranch(2, a);
  a->first = tok;
  return 1;
}

static int readslot(int slot, ctorargs* a) {
  switch (slot) {
    case RW_ARGLITERAL: {
      if (!readfloat()) return 0;
      int i = 0;
      while (i < 2 && !notgiven(a->nums[i])) i++;
      a->nums[i] = floattoken;
      return 1;
    }
    case RW_ARGBRANCH2:
    case RW_ARGBRANCH4:
      if (!expect(integer, "Expected integer")) return 0;
      return readbranch(slot == RW_ARGBRANCH2 ? 2 : 4, a);
    case RW_ARGBRANCHOPT: return readoptionalbranch(a);
    default: {  // a primitive of the slot's type
      primitive* p = readprimarg(slot);
      if (!p) return 0;
      a->parents[a->nparents++] = p;
      return 1;
    }
  }
}

// args -> '(' slot (',' slot)* ; the closing ')' is the property list's
static int readargs(const prserow* row, ctorargs* a) {
  if (!expect(openparen, "Expected '('")) return 0;
  for (int i = 0; i < 6 && row->slot[i] != RW_ARGEND; i++) {
    if (!readslot(row->slot[i], a)) return 0;
    int next = i + 1 < 6 ? row->slot[i + 1] : RW_ARGEND;
    if (next != RW_ARGEND && next != RW_ARGBRANCHOPT &&
        !expect(comma, "Expected ','"))
      return 0;
  }
  return 1;
}

static int givennumbers(const ctorargs* a) {
  int n = 0;
  for (double v : a->nums) n += !notgiven(v);
  return n;
}

// The numbers of a statement become a point's position, an angle's value
// or a script's range.
static int setnumbers(primitive* p, const ctorargs* a) {
  int n = givennumbers(a);
  if (p->type == RW_VERTEX && n == 2) {
    vertex* v = static_cast<vertex*>(p);
    v->x = a->nums[0];
    v->y = a->nums[1];
    v->w = 1;
  } else if (p->type == RW_ANGLE && n == 1) {
    static_cast<angle*>(p)->value = a->nums[0];
  } else if (p->type == RW_FLT && n > 0) {
    flt* f = static_cast<flt*>(p);
    f->start = a->nums[0];
    f->stop = a->nums[1];
    f->step = a->nums[2];
    if (Script) {
      parseerror("More than one script");
      return 0;
    }
    Script = f;
    if (scripthook) scripthook();
  }
  return 1;
}

// constructor -> name '=' keyword '(' args properties
int parsealine(const prserow* row, const char* name) {
  checksymtablesize(idtable);
  ctorargs a;
  memset(&a, 0, sizeof a);
  for (double& v : a.nums) v = SENTINEL;
  a.branch = 1;
  a.first = -1;
  if (!readargs(row, &a)) return 0;
  setdefaultproperties();
  if (a.closed ? !expect(semicolon, "Expected ';'") : !parseproperties(a.first))
    return 0;
  symtableentry* e = addentry(idtable, name, row->result);
  int kind = branchkind(row, a.branch);
  primitive* p = addprim(row->result, a.parents, a.nparents, kind, e);
  if (!p) return 0;
  lastparsed = p;
  return setnumbers(p, &a);
}

// polygon -> name '=' '.polygon' '(' count (',' point)+ properties
int parsemakepolygon(const char* name) {
  checksymtablesize(idtable);
  if (!expect(openparen, "Expected '('") || !readfloat()) return 0;
  double count = floattoken;
  if (!(count >= 3 && count < 11)) {
    parseerror("illegal point count: 3 <= count <= 10");
    return 0;
  }
  int n = (int)count;
  primitive* verts[MAXPARENTS];
  for (int i = 0; i < n; i++) {
    if (!expect(comma, "Expected ','")) return 0;
    if (!(verts[i] = readprimarg(RW_VERTEX))) return 0;
  }
  setdefaultproperties();
  if (!parseproperties(-1)) return 0;
  symtableentry* e = addentry(idtable, name, RW_POLYGON);
  primitive* p = addprim(RW_POLYGON, verts, n, POLYGON, e);
  polygon* g = static_cast<polygon*>(p);
  g->nvert = n;
  g->polytype = defpolytype;
  lastparsed = p;
  return 1;
}

// f9 -> name '=' '.x.f9' '(' xform (',' flt){9} properties
// The property list is optional in effect (")" ";" ends it at once); it is
// accepted so that an .x.f9 written with per-layer colours reads back.
int parse_f9(const char* name) {
  checksymtablesize(idtable);
  if (!expect(openparen, "Expected '('")) return 0;
  primitive* parents[MAXPARENTS];
  if (!(parents[0] = readprimarg(RW_XFORM))) return 0;
  for (int i = 1; i < MAXPARENTS; i++) {
    if (!expect(comma, "Expected ','")) return 0;
    if (!(parents[i] = readfltarg())) return 0;
  }
  setdefaultproperties();
  if (!parseproperties(-1)) return 0;
  symtableentry* e = addentry(idtable, name, RW_XFORM);
  lastparsed = addprim(RW_XFORM, parents, MAXPARENTS, X_F9, e);
  return 1;
}
