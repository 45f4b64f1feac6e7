// rpn.cpp: postfix expressions of computed numbers: reading the items of an
// .f.rpn statement and evaluating them on a stack of doubles.
#include "language/rpn.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "language/lexer.h"
#include "language/parser.h"
#include "language/properties.h"
#include "language/symtable.h"
#include "model/worldlist.h"

int evalrpnerror;
static char rpnerror[64];

// item -> number | angle | flt | operator; returns 1 for an item, 2 when
// the expression ended (with its property list), 0 on error.
static int readitem(int tok, rpnitem* item) {
  switch (tok) {
    case comma: return 3;  // commas between items are optional
    case integer:
    case floatnum:
      item->tag = RPN_NUMBER;
      item->number = floattoken;
      return 1;
    case identifier: {
      symtableentry* e = lookupname(texttoken);
      if (e && e->prim && (e->type == RW_ANGLE || e->type == RW_FLT)) {
        item->tag = e->type == RW_ANGLE ? RPN_ANGLE : RPN_FLT;
        item->prim = e->prim;
        return 1;
      }
      parseerror("expected angle or flt");
      return 0;
    }
    case reserved: {
      symtableentry* e = lookup(restable, texttoken);
      if (!e) {
        parseerror("expected stack operator");
        return 0;
      }
      if (reswordtype(e->type) == kwrpnop) {
        item->tag = RPN_OPERATOR;
        item->op = e->type;
        return 1;
      }
      setdefaultproperties();  // any other keyword starts the properties
      return parseproperties(reserved) ? 2 : 0;
    }
    case strtoken:
    case openbracket:  // the writer may start the properties with colours
      setdefaultproperties();
      return parseproperties(tok) ? 2 : 0;
    case closeparen:
      setdefaultproperties();
      return expect(semicolon, "Expected ';'") ? 2 : 0;
    case badtoken: return 0;
    default:  // anything else cannot be an item
      parseerror("Expected float, close, angle, flt, or stack operator");
      return 0;
  }
}

// rpn -> name '=' '.f.rpn' '(' item* (')' ';' | properties)
int parserpn(const char* name) {
  rpnitem items[MAXRPN];
  int n = 0;
  checksymtablesize(idtable);
  if (!expect(openparen, "Expected '('")) return 0;
  for (;;) {
    rpnitem item;
    int r = readitem(gettoken(globalfp), &item);
    if (r == 0) return 0;
    if (r == 2) break;
    if (r == 3) continue;
    if (n == MAXRPN) {
      parseerror("expression longer than 100 items");
      return 0;
    }
    items[n++] = item;
  }
  symtableentry* e = addentry(idtable, name, RW_FLT);
  flt* f = static_cast<flt*>(addprim(RW_FLT, nullptr, 0, F_RPN, e));
  f->nrpn = n;
  if (n > 0) {
    f->rpn = (rpnitem*)malloc(n * sizeof(rpnitem));
    memcpy(f->rpn, items, n * sizeof(rpnitem));
  }
  lastparsed = f;
  return 1;
}

// The evaluation stack and the failure it may end in.
struct rpnstack {
  double v[MAXRPN];
  int n;
};

static int fail(const char* why) {
  snprintf(rpnerror, sizeof rpnerror, "%s", why);
  return 0;
}

static int push(rpnstack* s, double x) {
  if (s->n == MAXRPN) return fail("stack overflow");
  s->v[s->n++] = x;
  return 1;
}

// "add: stack underflow" and so on: the keyword without its dot.
static int underflow(int op) {
  char why[48];
  const char* name = reswordname(op);
  snprintf(why, sizeof why, "%s: stack underflow", name ? name + 1 : "?");
  return fail(why);
}

static double todegrees(double x) {
  return x * 180.0 / 3.14159265358;
}
static double fromdegrees(double x) {
  return degreemode ? x * 3.1415926535897 / 180.0 : x;
}

static int binary(rpnstack* s, int op) {
  double b = s->v[--s->n];
  double a = s->v[--s->n];
  double r;
  switch (op) {
    case RW_ADD: r = a + b; break;
    case RW_SUB: r = a - b; break;
    case RW_MUL: r = a * b; break;
    case RW_DIV:
      if (b == 0) return fail("division by zero");
      r = a / b;
      break;
    case RW_MOD: {
      // Computed in doubles so that no value can overflow a 32-bit cast or
      // make the raising of a negative dividend loop for long.
      double m = trunc(b);
      if (m == 0 || !(fabs(m) < 2147483648.0)) return fail("illegal mod");
      if (a < 0) {
        a = fmod(a, fabs(m));
        if (a < 0) a += fabs(m);
      }
      r = fmod(trunc(a), m);
      break;
    }
    case RW_ATAN2:
      r = atan2(a, b);
      if (degreemode) r *= 57.29577951308402;
      break;
    case RW_EQ: r = a == b; break;
    case RW_NE: r = a != b; break;
    case RW_GT: r = a > b; break;
    case RW_GE: r = a >= b; break;
    case RW_LT: r = a < b; break;
    case RW_LE: r = a <= b; break;
    case RW_EXCH:
      s->v[s->n++] = b;
      r = a;
      break;
    default: r = 0; break;  // only the two-operand codes come here
  }
  s->v[s->n++] = r;
  return 1;
}

static int unary(rpnstack* s, int op) {
  double a = s->v[s->n - 1], r;
  switch (op) {
    case RW_NEG: r = -a; break;
    case RW_ABS: r = fabs(a); break;
    case RW_SIN: r = sin(fromdegrees(a)); break;
    case RW_COS: r = cos(fromdegrees(a)); break;
    case RW_TAN: r = tan(fromdegrees(a)); break;
    case RW_SQRT:
      if (a < 0) return fail("negative square root");
      r = sqrt(a);
      break;
    case RW_EXP: r = exp(a); break;
    case RW_LOG:
      if (a <= 0) return fail("negative log");
      r = log(a);
      break;
    case RW_TRUNCATE: r = a >= 0 ? floor(a) : ceil(a); break;
    case RW_CEILING: r = ceil(a); break;
    case RW_FLOOR: r = floor(a); break;
    case RW_ROUND: r = floor(a + 0.5); break;
    default: r = a; break;  // only the one-operand codes come here
  }
  s->v[s->n - 1] = r;
  return 1;
}

// x1 .. xn n j .roll: j times the deepest of the n moves to the top.
static int roll(rpnstack* s) {
  if (s->n < 2) return underflow(RW_ROLL);
  double dn = trunc(s->v[s->n - 2]), dj = trunc(s->v[s->n - 1]);
  if (!(dn + 2 <= s->n)) return underflow(RW_ROLL);
  // A group of no entries has no rotation; such a roll fails.
  if (!(dn > 0) || !std::isfinite(dj)) return fail("roll: bad count");
  int n = (int)dn;
  s->n -= 2;
  int j = (int)fmod(fmod(dj, n) + n, n);
  double* g = s->v + s->n - n;
  for (int k = 0; k < j; k++) {
    double deep = g[0];
    memmove(g, g + 1, (n - 1) * sizeof(double));
    g[n - 1] = deep;
  }
  return 1;
}

// x1 .. xn n .copy -> x1 .. xn x1 .. xn
static int copyn(rpnstack* s) {
  if (s->n < 1) return underflow(RW_COPY);
  double dn = trunc(s->v[s->n - 1]);
  if (dn < 0) return 1;  // a negative count does nothing
  if (!(dn < s->n)) return underflow(RW_COPY);
  int n = (int)dn;
  s->n--;
  if (s->n + n > MAXRPN) return fail("stack overflow");
  memcpy(s->v + s->n, s->v + s->n - n, n * sizeof(double));
  s->n += n;
  return 1;
}

static int needs(int op) {
  switch (op) {
    case RW_CLEAR:
    case RW_RAND: return 0;
    case RW_NEG:
    case RW_ABS:
    case RW_DUP:
    case RW_POP:
    case RW_SIN:
    case RW_COS:
    case RW_TAN:
    case RW_SQRT:
    case RW_EXP:
    case RW_LOG:
    case RW_TRUNCATE:
    case RW_CEILING:
    case RW_FLOOR:
    case RW_ROUND: return 1;
    case RW_IF: return 3;
    default: return 2;  // the two-operand operators (.roll, .copy apart)
  }
}

static int operate(rpnstack* s, int op) {
  if (op == RW_ROLL) return roll(s);
  if (op == RW_COPY) return copyn(s);
  if (s->n < needs(op)) return underflow(op);
  switch (op) {
    case RW_CLEAR: s->n = 0; return 1;
    case RW_RAND: return push(s, (float)(rand() & 0x7fff) / 32767.0f);
    case RW_DUP: return push(s, s->v[s->n - 1]);
    case RW_POP: s->n--; return 1;
    case RW_IF: {
      double c = s->v[--s->n], b = s->v[--s->n], a = s->v[s->n - 1];
      s->v[s->n - 1] = (c != 0 || std::isnan(c)) ? b : a;
      return 1;
    }
    default: return needs(op) == 1 ? unary(s, op) : binary(s, op);
  }
}

static int evalitem(rpnstack* s, const rpnitem* it) {
  switch (it->tag) {
    case RPN_NUMBER: return push(s, it->number);
    case RPN_ANGLE: {
      double v = static_cast<const angle*>(it->prim)->value;
      return push(s, degreemode ? todegrees(v) : v);
    }
    case RPN_FLT: return push(s, static_cast<const flt*>(it->prim)->value);
    case RPN_OPERATOR: return operate(s, it->op);
    default: return fail("bad item");  // no other tags are made
  }
}

void evalrpn(flt* f) {
  rpnstack s;
  s.n = 0;
  rpnerror[0] = 0;
  for (int i = 0; i < f->nrpn; i++)
    if (!evalitem(&s, &f->rpn[i])) {
      f->value = 1e30;
      evalrpnerror = 1;
      return;
    }
  if (s.n == 0) {  // no top value: undefined, like a failed evaluation
    fail("empty stack");
    f->value = 1e30;
    evalrpnerror = 1;
    return;
  }
  f->value = s.v[s.n - 1];
}

const char* lastrpnerror() {
  return rpnerror;
}

void resetrpn() {
  evalrpnerror = 0;
  rpnerror[0] = 0;
}
