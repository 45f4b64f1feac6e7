// writer.cpp: the diagram written back as text of the diagram language.
//
// Statement heads of table-read constructors come from the constructor
// table itself, so reading and writing cannot disagree about a keyword or
// an argument order. A file is saved through the safe-save routine.
#include "language/writer.h"

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "fileio/safesave.h"
#include "language/constructors.h"
#include "language/lexer.h"
#include "language/macro.h"
#include "language/rpn.h"
#include "language/symtable.h"
#include "model/notify.h"
#include "model/state.h"
#include "model/worldlist.h"
#include "postscript/psformat.h"
#include "render/palette.h"

FILE* fpout;

// Statements are gathered in a buffer of our own and handed to the stream
// in large pieces; a failed hand-over is remembered for printdiagram.
static char obuf[1 << 16];
static size_t olen;
static int owriteerror;
static int inprintall;  // printdiagram flushes once at its end

void writerflush() {
  if (olen && fwrite(obuf, 1, olen, fpout) != olen) owriteerror = 1;
  olen = 0;
}

void putbytes(const char* s, size_t n) {
  if (olen + n > sizeof obuf) {
    writerflush();
    if (n > sizeof obuf) {
      if (fwrite(s, 1, n, fpout) != n) owriteerror = 1;
      return;
    }
  }
  memcpy(obuf + olen, s, n);
  olen += n;
}

void putstr(const char* s) {
  putbytes(s, strlen(s));
}

void putint(long v) {
  char b[24], *e = b + sizeof b, *q = e;
  unsigned long u = v < 0 ? 0ul - (unsigned long)v : (unsigned long)v;
  do *--q = (char)('0' + u % 10);
  while (u /= 10);
  if (v < 0) *--q = '-';
  putbytes(q, e - q);
}

void putfmt(const char* fmt, ...) {
  char b[1024];
  va_list ap;
  va_start(ap, fmt);
  int n = vsnprintf(b, sizeof b, fmt, ap);
  va_end(ap);
  if (n < (int)sizeof b) {
    putbytes(b, n > 0 ? n : 0);
    return;
  }
  std::string big(n + 1, 0);  // a long label or text
  va_start(ap, fmt);
  vsnprintf(&big[0], n + 1, fmt, ap);
  va_end(ap);
  putbytes(big.data(), n);
}

const char* hackdollar(const char* name) {
  const char* d = strchr(name, '$');
  return d ? d + 1 : name;
}

const char* primname(const primitive* p) {
  return p && p->symbol ? hackdollar(p->symbol->name) : "";
}

// Nine rotating buffers: the most literal arguments one statement has.
const char* genfltname(primitive* p) {
  static char bufs[9][400];  // "%f" of any double fits
  static int next;
  const flt* f = static_cast<const flt*>(p);
  if (p->type != RW_FLT || f->named) return primname(p);
  char* b = bufs[next];
  next = (next + 1) % 9;
  formatf(b, f->value);
  return b;
}

static const char* colornames[] = {
    ".blink2", ".blink1", ".blink", ".smear",   ".in",   ".black", ".red",
    ".green",  ".yellow", ".blue",  ".magenta", ".cyan", ".white"};
static_assert(sizeof colornames / sizeof colornames[0] == 13,
              "codes -5 to 7 have names");

void printcolorname(int code, int comma) {
  if (comma) putstr(", ");
  if (code >= -5 && code <= 7) {
    putstr(colornames[code + 5]);
    return;
  }
  putstr(".c");
  putint(code);
}

void printlayercolors(const uint8_t* list) {
  int s = NLAYERS - 1;
  while (s > 0 && list[s - 1] == list[NLAYERS - 1]) s--;
  if (s == 0) {
    printcolorname((int8_t)list[0], 1);
    return;
  }
  putstr(", [");
  for (int i = 0; i < s;) {
    if (i > 0) putstr(", ");
    int n = 1;
    while (i + n < s && list[i + n] == list[i]) n++;
    if (n >= 2) {
      putint(n);
      putstr(" ");
    }
    printcolorname((int8_t)list[i], 0);
    i += n;
  }
  printcolorname((int8_t)list[s], 1);
  putstr("]");
}

// Layers 0..n as ".tolN" when the run covers at least 0 and 1, then single
// layers or ".lNon" for a set that runs to layer 31.
static void printlayerproperty(uint32_t layers) {
  if (layers == 0) {  // on no layer: the one property that empties the set
    putstr(", .layercondition");
    return;
  }
  if ((layers & 3u) == 3u) {
    int n = 1;
    while (n < 31 && (layers & (1u << (n + 1)))) n++;
    putstr(", .tol");
    putint(n);
    layers &= n == 31 ? 0 : ~((2u << n) - 1);
  }
  for (int i = 0; i < NLAYERS && layers; i++) {
    uint32_t upward = 0xffffffffu << i;
    if ((layers & upward) == upward) {
      putstr(", .l");
      putint(i);
      putstr("on");
      return;
    }
    if (layers & (1u << i)) {
      putstr(", .l");
      putint(i);
    }
  }
}

static const char* const pointmarks[] = {".diamond", ".plus",         ".cross",
                                         ".nomark",  ".soliddiamond", ".square",
                                         ".dot"};
static const char* const anglemarks[] = {
    ".noangle", "",         ".ring2",   ".ring3",   ".slash1", ".slash2",
    ".slash3",  ".dslash1", ".dslash2", ".dslash3", ".right"};
static const char* const polystyles[] = {".solidpoly", "", ".hashpoly",
                                         ".hashpoly1", ".hashpoly2"};
static_assert(sizeof anglemarks / sizeof anglemarks[0] ==
                  RW_RIGHT - RW_NOANGLE + 1,
              "one name per angle mark");

static void printmark(int code, int first, int last, const char* const* names,
                      int deflt) {
  if (code != deflt && code >= first && code <= last &&
      names[code - first][0]) {
    putstr(", ");
    putstr(names[code - first]);
  }
}

static void printlinestyle(const line* l) {
  if (l->linetype == RW_RAY12) putstr(", .ray12");
  if (l->linetype == RW_LONGLINE) putstr(", .longline");
  if (l->linemark >= RW_LINE1SLASH && l->linemark <= RW_LINE3SLASH)
    putfmt(", .line%dslash", l->linemark - RW_LINE0SLASH);
}

// Lines, circles and arcs may be dashed or dotted.
static void printdash(const primitive* p) {
  if (strokestyle(p) == RW_DASHLINE) putstr(", .dashline");
  if (strokestyle(p) == RW_DOTLINE) putstr(", .dotline");
}

void printstate(primitive* p, int type) {
  if (!(p->width == 1.0)) putfmt(", .width=%f", p->width);
  if (p->color == COLOR_PERLAYER)
    printlayercolors(p->layercolor);
  else if (p->color != COLOR_WHITE)
    printcolorname(p->color, 1);
  if (p->layers != 0xffffffffu) printlayerproperty(p->layers);
  if (p->display) putstr(", .display");
  switch (type) {
    case RW_VERTEX:
      printmark(static_cast<vertex*>(p)->pointtype, RW_DIAMOND, RW_DOT,
                pointmarks, RW_CIRCPOINT);
      break;
    case RW_ANGLE:
      printmark(static_cast<angle*>(p)->angletype, RW_NOANGLE, RW_RIGHT,
                anglemarks, RW_RING1);
      break;
    case RW_POLYGON:
      printmark(static_cast<polygon*>(p)->polytype, RW_SOLIDPOLY, RW_HASHPOLY2,
                polystyles, RW_OUTLINEPOLY);
      break;
    case RW_LINE: printlinestyle(static_cast<line*>(p)); break;
    default: break;  // other types have no markers
  }
  printdash(p);
  if (p->label) {
    putstr(", \"");
    putstr(p->label);
    putstr("\"");
  }
  putstr(");\n");
}

// A number as "%f" writes it.
static void putf(double x) {
  char b[400];
  putbytes(b, formatf(b, x));
}

// A point on a curve is read back onto the curve, which moves a rounded
// position a little and would round differently at the next save; written
// with every digit it needs to read back exactly, it stays where it is
// (the shortest such form, so round values stay short).
static void putexact(double x) {
  char b[40];
  for (int digits = 6; digits <= 17; digits++) {
    snprintf(b, sizeof b, "%.*g", digits, x);
    if (strtod(b, nullptr) == x) break;
  }
  putstr(b);
}

// The value a number slot of the row stands for, by its position.
static void printnumber(primitive* p, int nth) {
  switch (p->type) {
    case RW_VERTEX: {
      vertex* v = static_cast<vertex*>(p);
      double x = nth == 0 ? v->x : v->y;
      if (p->kind == VONL || p->kind == VONC || p->kind == VONCONIC)
        putexact(x);
      else
        putfmt("%g", x);
      break;
    }
    case RW_ANGLE: putf(static_cast<angle*>(p)->value); break;
    case RW_FLT: {
      flt* f = static_cast<flt*>(p);
      putf(nth == 0 ? f->start : nth == 1 ? f->stop : f->step);
      break;
    }
    default: putstr("0"); break;  // no other row has number slots
  }
}

// name = keyword(args  -- from the constructor's table row
static void printconstructor(primitive* p, const prserow* row, int branch) {
  putstr(primname(p));
  putstr(" = ");
  putstr(reswordname(row->code));
  putstr("(");
  int parent = 0, number = 0;
  for (int i = 0; i < 6 && row->slot[i] != RW_ARGEND; i++) {
    int s = row->slot[i];
    if (s == RW_ARGBRANCHOPT && branch == 1) break;  // written as it always was
    if (i > 0) putstr(", ");
    if (s == RW_ARGLITERAL)
      printnumber(p, number++);
    else if (s == RW_ARGBRANCH2 || s == RW_ARGBRANCH4 || s == RW_ARGBRANCHOPT)
      putint(branch);
    else if (s == RW_FLT)
      putstr(genfltname(p->parents[parent++]));
    else
      putstr(primname(p->parents[parent++]));
  }
  printstate(p, p->type);
}

static void printpolygon(polygon* g) {
  putfmt("%s = .polygon(%d", primname(g), g->nvert);
  for (int i = 0; i < g->nvert && i < MAXPARENTS; i++)
    putfmt(", %s", primname(g->parents[i]));
  printstate(g, RW_POLYGON);
}

static void printrpnitem(const rpnitem* it) {
  switch (it->tag) {
    case RPN_NUMBER: putf(it->number); break;
    case RPN_ANGLE:
    case RPN_FLT: putstr(primname(it->prim)); break;
    case RPN_OPERATOR: putstr(reswordname(it->op)); break;
    default: break;  // no other tags are made
  }
}

static void printrpn(flt* f) {
  putfmt("%s = .f.rpn(", primname(f));
  for (int i = 0; i < f->nrpn; i++) {
    printrpnitem(&f->rpn[i]);
    if (i + 1 < f->nrpn) putstr(", ");
    if ((i + 1) % 5 == 0 && i + 1 < f->nrpn) putstr("\n        ");
  }
  printstate(f, RW_FLT);
}

static void printf9(primitive* x) {
  primitive** a = x->parents;
  putfmt("%s = .x.f9(%s, %s, %s, %s,\n", primname(x), primname(a[0]),
         genfltname(a[1]), genfltname(a[2]), genfltname(a[3]));
  putfmt("               %s, %s, %s,\n", genfltname(a[4]), genfltname(a[5]),
         genfltname(a[6]));
  putfmt("               %s, %s, %s", genfltname(a[7]), genfltname(a[8]),
         genfltname(a[9]));
  printstate(x, RW_XFORM);
}

// A comment always ends its line, even when its text was cut.
static void printcomment(comment* c) {
  putfmt("//%s", c->textbuf);
  size_t n = strlen(c->textbuf);
  if (n == 0 || c->textbuf[n - 1] != '\n') putstr("\n");
}

static void printlayercondition(layercondition* c) {
  primitive** a = c->parents;
  putfmt(".layercondition(%s, %s, %s, ", genfltname(a[0]), genfltname(a[1]),
         genfltname(a[2]));
  putfmt("0x%x);\n", c->layermask);
}

static void printprimbody(primitive* p);

void printprim(primitive* p) {
  printprimbody(p);
  if (!inprintall) writerflush();
}

static void printprimbody(primitive* p) {
  if (p->kind == PARAMHOLDER) return;
  switch (p->type) {
    case RW_TEXT: {
      text* t = static_cast<text*>(p);
      putfmt(".text(\"%s\"", t->string ? t->string : "");
      printstate(p, RW_TEXT);
      return;
    }
    case RW_COMMENT: printcomment(static_cast<comment*>(p)); return;
    case RW_LAYERCONDITION:
      printlayercondition(static_cast<layercondition*>(p));
      return;
    case RW_MACRO: printmacro(static_cast<macro*>(p)); return;
    case RW_MACROCALL: printmacrocall(static_cast<macrocall*>(p)); return;
    case RW_POLYGON: printpolygon(static_cast<polygon*>(p)); return;
    default: break;  // the constructors below
  }
  if (p->type == RW_FLT && p->kind == F_RPN) return printrpn((flt*)p);
  if (p->type == RW_XFORM && p->kind == X_F9) return printf9(p);
  int branch;
  const prserow* row = rowforkind(p->type, p->kind, &branch);
  if (row) printconstructor(p, row, branch);
  // a record of no constructor (literal flts, placeholders) writes nothing
}

void printcolors() {
  for (int i = 0; i < NCOLORS; i++)
    if (cdefs[i])
      putfmt(".c%d = (%f, %f, %f);\n", i, ctab[i][0], ctab[i][1], ctab[i][2]);
}

void printlayers() {
  if (filelayerset == 0xffffffffu) return;
  for (int i = 0; i < NLAYERS; i++) {
    uint32_t upward = 0xffffffffu << i;
    if (i > 0 && (filelayerset & upward) == upward) {
      putfmt(".l%don;\n", i);
      return;
    }
    if (filelayerset & (1u << i)) putfmt(".l%d; ", i);
  }
  putstr("\n");
}

int printdiagram(FILE* out) {
  FILE* saved = fpout;
  fpout = out;
  olen = 0;
  owriteerror = 0;
  inprintall = 1;
  putfmt(".geometry \"version %.2f\";\n", thisversion);
  printcolors();
  printlayers();
  if (degreemode == 0) putstr(".radianmode;\n");
  for (primitive* p = plist; p; p = p->next) {
    if (p->kind == LITERAL && p->type == RW_FLT) continue;
    if (p->kind == PARAMHOLDER || p->generated) continue;
    printprimbody(p);
  }
  writerflush();
  inprintall = 0;
  int ok = !owriteerror && fflush(fpout) == 0 && !ferror(fpout);
  fpout = saved;
  return ok;
}

int printall(const char* path) {
  safesave s;
  int ok = beginsave(&s, path);
  if (ok) {
    ok = printdiagram(s.f);
    if (ok) {
      ok = endsave(&s);
    } else {
      int err = errno;
      abandonsave(&s);
      errno = err;
    }
  }
  if (!ok) alert("can't write %s: %s", path, strerror(errno ? errno : EIO));
  return ok;
}
