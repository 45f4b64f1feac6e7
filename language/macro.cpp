// macro.cpp: macro definitions, calls, their writing and their expansion.
#include "language/macro.h"

#include <cstdlib>
#include <cstring>

#include "engine/recompute.h"
#include "language/lexer.h"
#include "language/parser.h"
#include "language/properties.h"
#include "language/writer.h"
#include "model/notify.h"
#include "model/worldlist.h"
#include "postscript/psformat.h"

// Types a parameter or a result may have. `.ratio` passes no check here:
// no record of that type can be built.
static int isprimitive(int type) {
  switch (type) {
    case RW_VERTEX:
    case RW_LINE:
    case RW_CIRCLE:
    case RW_BEZIER:
    case RW_FLT:
    case RW_CONIC:
    case RW_ANGLE:
    case RW_ARC:
    case RW_XFORM: return 1;
    default: return 0;  // .ratio, .animation and non-type codes
  }
}

// Results and scratch copies exist only for drawable curve and point types.
static int isdrawncopy(int type) {
  switch (type) {
    case RW_VERTEX:
    case RW_LINE:
    case RW_CIRCLE:
    case RW_BEZIER:
    case RW_CONIC: return 1;
    default: return 0;  // numbers, angles, transforms, texts ...
  }
}

static void closemacro() {
  parsingmacro = 0;
  openmacro = nullptr;
  macroname[0] = 0;
}

// rettype -> type keyword?, then the macro's name
static int readmacrohead(int* rettype) {
  int t = gettoken(globalfp);
  *rettype = 0;
  if (t == reserved) {
    symtableentry* e = lookup(restable, texttoken);
    if (!e) {
      parseerror("unknown reserved word");
      return 0;
    }
    if (reswordtype(e->type) != kwtype || !isprimitive(e->type)) {
      parseerror("illegal macro type");
      return 0;
    }
    *rettype = e->type;
    t = gettoken(globalfp);
  }
  if (t != identifier) {
    if (t != badtoken) parseerror("bad macro name");
    return 0;
  }
  return 1;
}

// body -> '{' statement* '}'
static int readmacrobody() {
  if (!expect(opencurly, "Expected '{'")) return 0;
  for (;;) {
    int r = parseline();
    if (r == 1) continue;
    return r == 2;  // 0: an error, -1: end of input inside the body
  }
}

// macrodef -> '.macro' type? name '(' params ')' body
int readmacrodef() {
  int rettype;
  if (!readmacrohead(&rettype)) return 0;
  if (lookup(idtable, texttoken)) {
    parseerrorf("%s already defined", texttoken);
    return 0;
  }
  checksymtablesize(idtable);
  symtableentry* e = addentry(idtable, texttoken, RW_MACRO);
  setdefaultproperties();
  macro* m = static_cast<macro*>(addprim(RW_MACRO, nullptr, 0, 0, e));
  m->rettype = rettype;
  copycut(macroname, sizeof macroname, e->name);
  parsingmacro = 1;
  openmacro = m;
  int ok = expect(openparen, "Expected '('") && parsemacroparams(m) &&
           readmacrobody();
  closemacro();
  return ok;
}

// A placeholder record stands for the parameter in the body's parents; it
// lives in the world list, so it is made with the body list closed.
static int addparam(macro* m, int type) {
  if (lookup(idtable, texttoken)) {
    parseerror("duplicate macro parameter");
    return 0;
  }
  if (m->nparams == MAXPARAMS) {
    parseerror("too many macro parameters");
    return 0;
  }
  symtableentry* e = addentry(idtable, texttoken, type);
  parsingmacro = 0;
  setdefaultproperties();
  primitive* p = addprim(type, nullptr, 0, PARAMHOLDER, e);
  parsingmacro = 1;
  m->params[m->nparams++] = e;
  return p != nullptr;
}

// params -> (type identifier (',' type identifier)*)? ')'
int parsemacroparams(macro* m) {
  for (;;) {
    int t = gettoken(globalfp);
    if (t == closeparen) return 1;
    if (t != reserved) {
      if (t != badtoken) parseerror("bad macro parameter list");
      return 0;
    }
    symtableentry* k = lookup(restable, texttoken);
    if (!k || reswordtype(k->type) != kwtype || !isprimitive(k->type)) {
      parseerror("missing or illegal type");
      return 0;
    }
    if (!expect(identifier, "expected identifier")) return 0;
    if (!addparam(m, k->type)) return 0;
    t = gettoken(globalfp);
    if (t == closeparen) return 1;
    if (t != comma) {
      if (t != badtoken) parseerror("expected ',' or ')'");
      return 0;
    }
  }
}

// return -> '.return' statement
int parsereturn() {
  lastparsed = nullptr;
  int r = parseline();
  if (r == 0) return 0;
  if (r != 1 || !lastparsed) {
    parseerror("illegal return in macro");
    return 0;
  }
  openmacro->retprim = lastparsed;
  return 1;
}

// The literal a number argument stands for. Literals are shared by their
// "%f" text, the text the writer gives them; the whole text is compared,
// since a name is cut at SYMNAMESIZE and numbers from 1e192 up are longer.
static symtableentry* literalentry(double value) {
  char text[NUMBERSIZE], known[NUMBERSIZE];
  formatf(text, value);
  symtableentry* e = lookup(idtable, text);
  if (e && e->prim && e->type == RW_FLT) {
    formatf(known, static_cast<flt*>(e->prim)->value);
    if (!strcmp(text, known)) return e;
  }
  return newliteral(value)->symbol;
}

// One actual argument for a formal parameter of type `type`.
static symtableentry* readcallarg(int type) {
  int t = gettoken(globalfp);
  if (t == identifier) {
    symtableentry* e = lookupname(texttoken);
    if (!e || !e->prim) {
      parseerror("undefined parameter");
      return nullptr;
    }
    if (e->type != type) {
      parseerror("parameter type mismatch");
      return nullptr;
    }
    return e;
  }
  if (t == integer || t == floatnum) {
    if (type != RW_FLT) {
      parseerror("bad parameter");
      return nullptr;
    }
    return literalentry(floattoken);
  }
  if (t != badtoken) parseerror("garbage in macro call");
  return nullptr;
}

// callargs -> arg (',' arg)* properties
macrocall* readcallparamlist(macro* m) {
  macrocall* c = new macrocall;
  c->kind = MACROCALL;
  c->macroref = m;
  for (int i = 0; i < m->nparams; i++) {
    checksymtablesize(idtable);
    symtableentry* e = readcallarg(m->params[i]->type);
    if (!e) break;
    c->args[i] = e;
    c->parents[i] = e->prim;
    if (i + 1 == m->nparams) break;
    int t = gettoken(globalfp);
    if (t == comma) continue;
    if (t == closeparen)
      parseerror("wrong number of parameters");
    else if (t != badtoken)
      parseerror("expected comma or close-paren");
    c->args[0] = nullptr;  // marks the failure
    break;
  }
  int ok = m->nparams == 0 || (c->args[0] && c->args[m->nparams - 1]);
  setdefaultproperties();
  if (!ok || !parseproperties(-1)) {
    destroyprimitive(c);
    return nullptr;
  }
  return c;
}

// The result record: a copy of the returned body record, with the call's
// properties. Named under `resultname`, or under an empty name.
static primitive* makeresult(macro* m, const char* resultname) {
  primitive* r = copyprimitive(m->retprim);
  r->generated = 1;
  if (defname[0]) r->label = strdup(defname);
  r->color = defcolor;
  if (defcolor == COLOR_PERLAYER)
    memcpy(r->layercolor, layercolors, sizeof layercolors);
  r->layers = deflayers;
  r->width = defwidth;
  r->display = (uint8_t)displayprim;
  symtableentry* e = addentry(idtable, resultname ? resultname : "", r->type);
  e->prim = r;
  r->symbol = e;
  return r;
}

// Every record of the body counts once, a nested call also with all it
// expands into. Counted once per macro (a call names only macros defined
// before it, so the body is complete) and held at MAXEXPANSION + 1, so
// neither the count nor its cost can grow with the nesting.
static int64_t expansionsize(macro* m) {
  if (m->expansion) return m->expansion;
  int64_t n = 1;
  for (primitive* b = m->body; b && n <= MAXEXPANSION; b = b->next) {
    n++;
    macrocall* c = static_cast<macrocall*>(b);
    if (b->type == RW_MACROCALL && c->macroref && c->macroref != m)
      n += expansionsize(c->macroref);
  }
  m->expansion = n > MAXEXPANSION ? MAXEXPANSION + 1 : n;
  return m->expansion;
}

// call -> ('name' '=')? macro '(' callargs
int parsemacrocall(symtableentry* entry, const char* resultname) {
  macro* m = static_cast<macro*>(entry->prim);
  if (parsingmacro && m == openmacro) {
    parseerror("recursive macro call");
    return 0;
  }
  if (expansionsize(m) > MAXEXPANSION) {
    parseerror("macro expansion too large");
    return 0;
  }
  if (!expect(openparen, "Expected '('")) return 0;
  macrocall* c = readcallparamlist(m);
  if (!c) return 0;
  c->symbol = addentry(idtable, "", RW_MACROCALL);
  c->symbol->prim = c;
  addprimitive(c);
  if (m->retprim && isdrawncopy(m->retprim->type)) {
    c->result = makeresult(m, resultname);
    addprimitive(c->result);
  }
  return 1;
}

primitive* copyprimitive(const primitive* p) {
  primitive* q;
  switch (p->type) {
    case RW_VERTEX: q = new vertex(*static_cast<const vertex*>(p)); break;
    case RW_LINE: q = new line(*static_cast<const line*>(p)); break;
    case RW_CIRCLE: q = new circle(*static_cast<const circle*>(p)); break;
    case RW_BEZIER: q = new bezier(*static_cast<const bezier*>(p)); break;
    case RW_CONIC: q = new conic(*static_cast<const conic*>(p)); break;
    case RW_ANGLE: q = new angle(*static_cast<const angle*>(p)); break;
    case RW_ARC: q = new arc(*static_cast<const arc*>(p)); break;
    case RW_XFORM: q = new xform(*static_cast<const xform*>(p)); break;
    case RW_POLYGON: q = new polygon(*static_cast<const polygon*>(p)); break;
    case RW_CONDITION:
      q = new condition(*static_cast<const condition*>(p));
      break;
    case RW_FLT: {
      flt* f = new flt(*static_cast<const flt*>(p));
      f->rpn = nullptr;  // the expression stays with the original
      f->nrpn = 0;
      q = f;
      break;
    }
    default:  // texts, comments, macros, calls: only their base is copied
      q = new primitive(*p);
      q->type = RW_CONDITION;
      break;
  }
  q->next = nullptr;
  q->label = nullptr;
  return q;
}

// The placeholder takes the argument's geometric state; its own links,
// kind and identity stay.
static void loadparam(primitive* ph, const primitive* a) {
  if (!ph || !a || ph->type != a->type) return;
  ph->valid = a->valid;
  ph->satisfied = 1;
  switch (a->type) {
    case RW_VERTEX: copyvertex((vertex*)ph, (const vertex*)a); break;
    case RW_LINE: {
      line* l = (line*)ph;
      const line* s = (const line*)a;
      copyvertex(&l->p1, &s->p1);
      copyvertex(&l->p2, &s->p2);
      l->a = s->a, l->b = s->b, l->c = s->c;
      break;
    }
    case RW_CIRCLE: {
      circle* c = (circle*)ph;
      const circle* s = (const circle*)a;
      copyvertex(&c->center, &s->center);
      c->radius = s->radius;
      for (int i = 0; i < 3; i++) copyvertex(&c->aux[i], &s->aux[i]);
      break;
    }
    case RW_BEZIER: {
      bezier* b = (bezier*)ph;
      const bezier* s = (const bezier*)a;
      copyvertex(&b->p1, &s->p1), copyvertex(&b->p2, &s->p2);
      copyvertex(&b->p3, &s->p3), copyvertex(&b->p4, &s->p4);
      break;
    }
    case RW_FLT: ((flt*)ph)->value = ((const flt*)a)->value; break;
    case RW_ANGLE: ((angle*)ph)->value = ((const angle*)a)->value; break;
    case RW_ARC: ((arc*)ph)->arcangle = ((const arc*)a)->arcangle; break;
    case RW_CONIC:
      memcpy(((conic*)ph)->coef, ((const conic*)a)->coef, 6 * sizeof(double));
      break;
    case RW_XFORM:
      memcpy(((xform*)ph)->m, ((const xform*)a)->m, 9 * sizeof(double));
      break;
    default: break;  // no other type can be a parameter
  }
}

static void loadparams(macro* m, macrocall* c) {
  for (int i = 0; i < m->nparams; i++) {
    primitive* ph = m->params[i] ? m->params[i]->prim : nullptr;
    primitive* a = c->args[i] ? c->args[i]->prim : nullptr;
    loadparam(ph, a);
  }
}

static void resetparamkinds(macro* m) {
  for (int i = 0; i < m->nparams; i++)
    if (m->params[i] && m->params[i]->prim)
      m->params[i]->prim->kind = PARAMHOLDER;
}

// The result keeps its own list link, label, name, colours and layers.
static void fillresult(primitive* r, const primitive* b) {
  if (!r || r->type != b->type) return;
  primitive keep = *r;
  primitive* copy = copyprimitive(b);
  switch (r->type) {
    case RW_VERTEX: *(vertex*)r = *(vertex*)copy; break;
    case RW_LINE: *(line*)r = *(line*)copy; break;
    case RW_CIRCLE: *(circle*)r = *(circle*)copy; break;
    case RW_BEZIER: *(bezier*)r = *(bezier*)copy; break;
    case RW_CONIC: *(conic*)r = *(conic*)copy; break;
    default: break;  // results exist only for the drawable types above
  }
  destroyprimitive(copy);
  r->next = keep.next;
  r->label = keep.label;
  r->symbol = keep.symbol;
  r->color = keep.color;
  memcpy(r->layercolor, keep.layercolor, sizeof keep.layercolor);
  r->layers = keep.layers;
  r->width = keep.width;
  r->display = keep.display;
  r->generated = 1;
  r->satisfied = 1;
}

static void pushscratch(const primitive* b) {
  primitive* q = copyprimitive(b);
  q->generated = 1;
  q->next = macroplist;
  macroplist = q;
}

// Nested calls expand their own macros; a depth bound keeps a diagram that
// was edited into a cycle from recursing without end.
static int expanddepth;
const int MAXEXPANDDEPTH = 64;

void expandmacrocall(macrocall* c) {
  macro* m = c->macroref;
  if (!m || expanddepth >= MAXEXPANDDEPTH) return;
  expanddepth++;
  for (primitive* b = m->body; b; b = b->next) {
    if (b->generated) continue;  // results of nested calls: their call fills
    loadparams(m, c);
    checkconstraint(b);
    if (b == m->retprim)
      fillresult(c->result, b);
    else if (isdrawncopy(b->type))
      pushscratch(b);
    resetparamkinds(m);
  }
  expanddepth--;
}

void printparamtype(int type) {
  const char* name = reswordname(type);
  if (type == RW_XFORM || !name) return;  // the xform type has no keyword
  putfmt("%s ", name);
}

// .macro type name(type a, type b)
// {
//     body statements, the returned one after ".return "
// }
void printmacro(macro* m) {
  putstr(".macro ");
  if (m->rettype) printparamtype(m->rettype);
  putfmt("%s(", primname(m));
  for (int i = 0; i < m->nparams; i++) {
    if (i > 0) putstr(", ");
    printparamtype(m->params[i]->type);
    putstr(hackdollar(m->params[i]->name));
  }
  putstr(")\n{\n");
  for (primitive* b = m->body; b; b = b->next) {
    if ((b->kind == LITERAL && b->type == RW_FLT) || b->generated) continue;
    putstr(b == m->retprim ? "    .return " : "    ");
    printprim(b);
  }
  putstr("}\n");
}

// A literal argument is written as its value: its name may be cut short.
static const char* argname(symtableentry* e) {
  primitive* p = e->prim;
  if (p && p->type == RW_FLT && p->kind == LITERAL) return genfltname(p);
  return hackdollar(e->name);
}

// [result =] macro(args, properties);
void printmacrocall(macrocall* c) {
  if (c->result && primname(c->result)[0]) putfmt("%s = ", primname(c->result));
  putfmt("%s(", primname(c->macroref));
  int n = c->macroref ? c->macroref->nparams : 0;
  for (int i = 0; i < n; i++) {
    if (i > 0) putstr(", ");
    putstr(c->args[i] ? argname(c->args[i]) : "");
  }
  if (c->result)
    printstate(c->result, 0);
  else
    putstr(");\n");
}
