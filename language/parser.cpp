// parser.cpp: the statement parser: one function per statement form, the
// entry points that read files and texts, and the shared argument readers.
#include "language/parser.h"

#include <cstdlib>
#include <cstring>
#include <ctime>

#include "fileio/openfile.h"
#include "language/constructors.h"
#include "language/lexer.h"
#include "language/macro.h"
#include "language/properties.h"
#include "language/rpn.h"
#include "model/notify.h"
#include "model/state.h"
#include "model/worldlist.h"
#include "postscript/psformat.h"

FILE* globalfp;
primitive* lastparsed;
char version[VERSIONSIZE];
static char insertprefix[32];
static unsigned insertserial;  // insertions so far in this run

int expect(int tok, const char* message) {
  int t = gettoken(globalfp);
  if (t == tok) return 1;
  if (t != badtoken) parseerror(message);
  return 0;
}

int readfloat() {
  int t = gettoken(globalfp);
  if (t == integer || t == floatnum) return 1;  // floattoken holds it
  if (t != badtoken) parseerror("Expected float");
  return 0;
}

symtableentry* lookupname(const char* name) {
  symtableentry* e = lookup(idtable, name);
  if (!e && parsingmacro) e = strippedlookup(idtable, name);
  return e;
}

primitive* newliteral(double value) {
  char text[NUMBERSIZE];
  formatf(text, value);
  flt* f = new flt;
  f->kind = LITERAL;
  f->named = 0;
  f->value = value;
  symtableentry* e = addentry(idtable, text, RW_FLT);
  e->prim = f;
  f->symbol = e;
  addprimitive(f);
  return f;
}

primitive* readfltarg() {
  int t = gettoken(globalfp);
  if (t == integer || t == floatnum) return newliteral(floattoken);
  if (t == badtoken) return nullptr;
  if (t == identifier) {
    symtableentry* e = lookupname(texttoken);
    if (e && e->type == RW_FLT && e->prim) return e->prim;
  } else {
    parseerror("Expected identifier");
  }
  parseerror("expected flt");
  return nullptr;
}

// header -> ('.geometry' | '.include') string ';'
static int parseheader() {
  if (!expect(strtoken, "Expected string")) return 0;
  // The version number starts at the ninth character ("version 0.65").
  fileversion = strlen(texttoken) >= 9 ? atof(texttoken + 8) : 0;
  copycut(version, sizeof version, texttoken);
  return expect(semicolon, "Expected ';'");
}

// text -> '.text' '(' string properties
static int parsetextstatement() {
  if (!expect(openparen, "Expected '('")) return 0;
  parsingnewlines = 1;
  int ok = expect(strtoken, "Expected string");
  parsingnewlines = 0;
  if (!ok) return 0;
  char* s = strdup(texttoken);
  setdefaultproperties();
  if (!parseproperties(-1)) {
    free(s);
    return 0;
  }
  symtableentry* e = addentry(idtable, "", RW_TEXT);
  text* t = static_cast<text*>(addprim(RW_TEXT, nullptr, 0, 0, e));
  t->string = s;
  return 1;
}

// mode -> ('.degreemode' | '.radianmode') ';'
static int parsemode() {
  int mode = minortype;
  if (!expect(semicolon, "Expected ';'")) return 0;
  degreemode = mode;
  return 1;
}

// comment -> '//' text; kept up to 149 characters, always ending its line
static int parsecomment() {
  setdefaultproperties();
  symtableentry* e = addentry(idtable, "", RW_COMMENT);
  comment* c = static_cast<comment*>(addprim(RW_COMMENT, nullptr, 0, 0, e));
  // At most 149 characters, the line end included; a longer comment keeps
  // 148 and its line end, so that writing it (which ends every comment's
  // line) and reading it again gives the same text.
  const int keep = COMMENTSIZE - 3;
  size_t n = strlen(texttoken);
  size_t content = n > 0 && texttoken[n - 1] == '\n' ? n - 1 : n;
  if ((int)content >= keep) {
    memcpy(c->textbuf, texttoken, keep - 1);
    c->textbuf[keep - 1] = '\n';
    c->textbuf[keep] = 0;
  } else {
    memcpy(c->textbuf, texttoken, n + 1);
  }
  return 1;
}

// A statement that begins with a reserved word.
static int parsereserved() {
  symtableentry* e = lookup(restable, texttoken);
  if (!e) {
    parseerror("bad initial token");
    return 0;
  }
  int code = e->type;
  switch (reswordtype(code)) {
    case kwheader: return parseheader();
    case kwcolor: return parsecolor(code);
    case kwlayer:
      return code == RW_LAYERCONDITION ? parselayercondition()
                                       : parselayer(code);
    case kwtext: return parsetextstatement();
    case kwmacro:
      if (parsingmacro) {
        parseerror("nested macro definitions");
        return 0;
      }
      return readmacrodef();
    case kwreturn:
      if (!parsingmacro) {
        parseerror("return outside macro definition");
        return 0;
      }
      return parsereturn();
    case kwmode: return parsemode();
    default:  // a constructor or property keyword without "name ="
      parseerror("missing identifier");
      return 0;
  }
}

// The constructor named by a reserved word, after "name =".
static int parseconstructor(const char* name) {
  symtableentry* e = lookup(restable, texttoken);
  if (!e) {
    parseerrorf("unrecognized reserved word: %s", texttoken);
    return 0;
  }
  int code = e->type;
  if (code == RW_POLYGON) return parsemakepolygon(name);
  if (code == RW_X_F9) return parse_f9(name);
  if (code == RW_F_RPN) return parserpn(name);
  const prserow* row = findconstructor(code);
  if (!row) {
    parseerrorf("wacko constructor: %s", texttoken);
    return 0;
  }
  return parsealine(row, name);
}

// The macro a name refers to, or null.
static symtableentry* findmacro(const char* name) {
  symtableentry* e = lookup(idtable, name);
  if (e && e->type == RW_MACRO && e->prim) return e;
  if (!e && parsingmacro) {
    e = strippedlookup(idtable, name);
    if (e && e->type == RW_MACRO && e->prim) return e;
  }
  return nullptr;
}

// identstatement -> name '=' (constructor | macrocall) | macrocall
static int parseidentifier() {
  char name[SYMNAMESIZE];
  copycut(name, sizeof name, texttoken);
  symtableentry* m = findmacro(name);
  if (m) return parsemacrocall(m, nullptr);
  if (lookup(idtable, name)) {
    parseerrorf("%s already declared", name);
    return 0;
  }
  if (!expect(equal, "Expected '='")) return 0;
  int t = gettoken(globalfp);
  if (t == reserved) return parseconstructor(name);
  if (t == identifier) {
    m = findmacro(texttoken);
    if (m) return parsemacrocall(m, name);
    parseerror("Expected macro id");
    return 0;
  }
  if (t != badtoken) parseerror("Expected reserved word or macro id");
  return 0;
}

int parseline() {
  int t = gettoken(globalfp);
  switch (t) {
    case commenttoken: return parsecomment();
    case reserved: return parsereserved();
    case identifier: return parseidentifier();
    case endfile: return -1;
    case closecurly: return 2;
    case badtoken: return 0;
    default:  // punctuation, numbers and strings cannot start a statement
      parseerror("Unexpected token");
      return 0;
  }
}

int parsefile(FILE* stream) {
  globalfp = stream;
  parsingmacro = 0;
  openmacro = nullptr;
  macroname[0] = 0;
  namemaxchar = 0;
  for (;;) {
    int r = parseline();
    if (r == 1) continue;
    if (r == -1) {
      vnumber = namemaxchar + 1;
      return 1;
    }
    return 0;  // an error, or a '}' outside a macro body
  }
}

int parsetext(const char* text) {
  initfakefile(text);
  return parsefile(nullptr);
}

int readgeometry(const char* path) {
  FILE* f = openforreading(path);
  if (!f) return 0;
  resetstate(1);
  linecount = 1;  // an inserted file counts its own lines too
  int r = parsefile(f);
  fclose(f);
  return r;
}

// The suffix changes every 8 seconds; a counter within the process keeps
// two insertions inside the same window apart as well.
int insertgeometry(const char* path) {
  unsigned long t = (unsigned long)time(nullptr);
  snprintf(insertprefix, sizeof insertprefix, "__%lx", (t & 0x7ffff8) >> 3);
  if (insertserial)
    snprintf(insertprefix + strlen(insertprefix),
             sizeof insertprefix - strlen(insertprefix), "_%u", insertserial);
  insertserial++;
  suffix = insertprefix;
  int r = readgeometry(path);
  suffix = nullptr;
  return r;
}

void resetparser() {
  globalfp = nullptr;
  lastparsed = nullptr;
  version[0] = 0;
  suffix = nullptr;
  insertserial = 0;
}
