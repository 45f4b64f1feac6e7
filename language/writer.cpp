// writer.cpp: the diagram written back as text of the diagram language.
//
// Statement heads of table-read constructors come from the constructor
// table itself, so reading and writing cannot disagree about a keyword or
// an argument order. The file is written beside its target and renamed over
// it only once every byte is known to be on disk.
#include "language/writer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

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
  if (comma) fputs(", ", fpout);
  if (code >= -5 && code <= 7)
    fputs(colornames[code + 5], fpout);
  else
    fprintf(fpout, ".c%d", code);
}

void printlayercolors(const uint8_t* list) {
  int s = NLAYERS - 1;
  while (s > 0 && list[s - 1] == list[NLAYERS - 1]) s--;
  if (s == 0) {
    printcolorname((int8_t)list[0], 1);
    return;
  }
  fputs(", [", fpout);
  for (int i = 0; i < s;) {
    if (i > 0) fputs(", ", fpout);
    int n = 1;
    while (i + n < s && list[i + n] == list[i]) n++;
    if (n >= 2) fprintf(fpout, "%d ", n);
    printcolorname((int8_t)list[i], 0);
    i += n;
  }
  printcolorname((int8_t)list[s], 1);
  fputs("]", fpout);
}

// Layers 0..n as ".tolN" when the run covers at least 0 and 1, then single
// layers or ".lNon" for a set that runs to layer 31.
static void printlayerproperty(uint32_t layers) {
  if (layers == 0) {  // on no layer: the one property that empties the set
    fputs(", .layercondition", fpout);
    return;
  }
  if ((layers & 3u) == 3u) {
    int n = 1;
    while (n < 31 && (layers & (1u << (n + 1)))) n++;
    fprintf(fpout, ", .tol%d", n);
    layers &= n == 31 ? 0 : ~((2u << n) - 1);
  }
  for (int i = 0; i < NLAYERS && layers; i++) {
    uint32_t upward = 0xffffffffu << i;
    if ((layers & upward) == upward) {
      fprintf(fpout, ", .l%don", i);
      return;
    }
    if (layers & (1u << i)) fprintf(fpout, ", .l%d", i);
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
  if (code != deflt && code >= first && code <= last && names[code - first][0])
    fprintf(fpout, ", %s", names[code - first]);
}

static void printlinestyle(const line* l) {
  if (l->linetype == RW_RAY12) fputs(", .ray12", fpout);
  if (l->linetype == RW_LONGLINE) fputs(", .longline", fpout);
  if (l->linemark >= RW_LINE1SLASH && l->linemark <= RW_LINE3SLASH)
    fprintf(fpout, ", .line%dslash", l->linemark - RW_LINE0SLASH);
  if (l->linestyle == RW_DASHLINE) fputs(", .dashline", fpout);
  if (l->linestyle == RW_DOTLINE) fputs(", .dotline", fpout);
}

void printstate(primitive* p, int type) {
  if (!(p->width == 1.0)) fprintf(fpout, ", .width=%f", p->width);
  if (p->color == COLOR_PERLAYER)
    printlayercolors(p->layercolor);
  else if (p->color != COLOR_WHITE)
    printcolorname(p->color, 1);
  if (p->layers != 0xffffffffu) printlayerproperty(p->layers);
  if (p->display) fputs(", .display", fpout);
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
  if (p->label) fprintf(fpout, ", \"%s\"", p->label);
  fputs(");\n", fpout);
}

// A number as "%f" writes it.
static void putf(double x) {
  char b[400];
  fwrite(b, 1, formatf(b, x), fpout);
}

// The value a number slot of the row stands for, by its position.
static void printnumber(primitive* p, int nth) {
  switch (p->type) {
    case RW_VERTEX: {
      vertex* v = static_cast<vertex*>(p);
      fprintf(fpout, "%g", nth == 0 ? v->x : v->y);
      break;
    }
    case RW_ANGLE: putf(static_cast<angle*>(p)->value); break;
    case RW_FLT: {
      flt* f = static_cast<flt*>(p);
      putf(nth == 0 ? f->start : nth == 1 ? f->stop : f->step);
      break;
    }
    default: fputs("0", fpout); break;  // no other row has number slots
  }
}

// name = keyword(args  -- from the constructor's table row
static void printconstructor(primitive* p, const prserow* row, int branch) {
  fprintf(fpout, "%s = %s(", primname(p), reswordname(row->code));
  int parent = 0, number = 0;
  for (int i = 0; i < 6 && row->slot[i] != RW_ARGEND; i++) {
    if (i > 0) fputs(", ", fpout);
    int s = row->slot[i];
    if (s == RW_ARGLITERAL)
      printnumber(p, number++);
    else if (s == RW_ARGBRANCH2 || s == RW_ARGBRANCH4)
      fprintf(fpout, "%d", branch);
    else if (s == RW_FLT)
      fputs(genfltname(p->parents[parent++]), fpout);
    else
      fputs(primname(p->parents[parent++]), fpout);
  }
  printstate(p, p->type);
}

static void printpolygon(polygon* g) {
  fprintf(fpout, "%s = .polygon(%d", primname(g), g->nvert);
  for (int i = 0; i < g->nvert && i < MAXPARENTS; i++)
    fprintf(fpout, ", %s", primname(g->parents[i]));
  printstate(g, RW_POLYGON);
}

static void printrpnitem(const rpnitem* it) {
  switch (it->tag) {
    case RPN_NUMBER: putf(it->number); break;
    case RPN_ANGLE:
    case RPN_FLT: fputs(primname(it->prim), fpout); break;
    case RPN_OPERATOR: fputs(reswordname(it->op), fpout); break;
    default: break;  // no other tags are made
  }
}

static void printrpn(flt* f) {
  fprintf(fpout, "%s = .f.rpn(", primname(f));
  for (int i = 0; i < f->nrpn; i++) {
    printrpnitem(&f->rpn[i]);
    if (i + 1 < f->nrpn) fputs(", ", fpout);
    if ((i + 1) % 5 == 0 && i + 1 < f->nrpn) fputs("\n        ", fpout);
  }
  printstate(f, RW_FLT);
}

static void printf9(primitive* x) {
  primitive** a = x->parents;
  fprintf(fpout, "%s = .x.f9(%s, %s, %s, %s,\n", primname(x), primname(a[0]),
          genfltname(a[1]), genfltname(a[2]), genfltname(a[3]));
  fprintf(fpout, "               %s, %s, %s,\n", genfltname(a[4]),
          genfltname(a[5]), genfltname(a[6]));
  fprintf(fpout, "               %s, %s, %s", genfltname(a[7]),
          genfltname(a[8]), genfltname(a[9]));
  printstate(x, RW_XFORM);
}

// A comment always ends its line, even when its text was cut.
static void printcomment(comment* c) {
  fprintf(fpout, "//%s", c->textbuf);
  size_t n = strlen(c->textbuf);
  if (n == 0 || c->textbuf[n - 1] != '\n') fputc('\n', fpout);
}

static void printlayercondition(layercondition* c) {
  primitive** a = c->parents;
  fprintf(fpout, ".layercondition(%s, %s, %s, ", genfltname(a[0]),
          genfltname(a[1]), genfltname(a[2]));
  fprintf(fpout, "0x%x);\n", c->layermask);
}

void printprim(primitive* p) {
  if (p->kind == PARAMHOLDER) return;
  switch (p->type) {
    case RW_TEXT: {
      text* t = static_cast<text*>(p);
      fprintf(fpout, ".text(\"%s\"", t->string ? t->string : "");
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
      fprintf(fpout, ".c%d = (%f, %f, %f);\n", i, ctab[i][0], ctab[i][1],
              ctab[i][2]);
}

void printlayers() {
  if (filelayerset == 0xffffffffu) return;
  for (int i = 0; i < NLAYERS; i++) {
    uint32_t upward = 0xffffffffu << i;
    if (i > 0 && (filelayerset & upward) == upward) {
      fprintf(fpout, ".l%don;\n", i);
      return;
    }
    if (filelayerset & (1u << i)) fprintf(fpout, ".l%d; ", i);
  }
  fputc('\n', fpout);
}

int printdiagram(FILE* out) {
  FILE* saved = fpout;
  fpout = out;
  fprintf(fpout, ".geometry \"version %.2f\";\n", thisversion);
  printcolors();
  printlayers();
  if (degreemode == 0) fputs(".radianmode;\n", fpout);
  for (primitive* p = plist; p; p = p->next) {
    if (p->kind == LITERAL && p->type == RW_FLT) continue;
    if (p->kind == PARAMHOLDER || p->generated) continue;
    printprim(p);
  }
  int ok = fflush(fpout) == 0 && !ferror(fpout);
  fpout = saved;
  return ok;
}

// A new file beside the target, with the target's permissions (or the
// usual ones for a new file).
static FILE* opentemp(const char* path, std::string* tmp) {
  *tmp = std::string(path) + ".XXXXXX";
  int fd = mkstemp(&(*tmp)[0]);
  if (fd < 0) return nullptr;
  struct stat st;
  mode_t mode;
  if (stat(path, &st) == 0) {
    mode = st.st_mode & 07777;
  } else {
    mode_t mask = umask(0);
    umask(mask);
    mode = 0666 & ~mask;
  }
  fchmod(fd, mode);
  FILE* f = fdopen(fd, "w");
  if (!f) {
    close(fd);
    unlink(tmp->c_str());
  }
  return f;
}

int printall(const char* path) {
  std::string tmp;
  FILE* f = opentemp(path, &tmp);
  if (!f) {
    alert("can't open %s\n", path);
    return 0;
  }
  int ok = printdiagram(f);
  ok = fsync(fileno(f)) == 0 && ok;
  ok = fclose(f) == 0 && ok;
  if (!ok || rename(tmp.c_str(), path) != 0) {
    unlink(tmp.c_str());
    alert("can't write %s\n", path);
    return 0;
  }
  return 1;
}
