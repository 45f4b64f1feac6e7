// editbuffer.cpp: the editor's line pool, its list of lines, positions,
// the editing operations that change the text, loading and saving.
//
// Invariants kept by every operation: each line's text ends with exactly
// one '\n' (its line end) and holds no other; the last line is the extra
// line holding only "\n"; point and mark lie within their lines (at most
// at the index of the line end); each line's display copy agrees with its
// text.
#include "editor/editbuffer.h"

#include <cstdlib>
#include <cstring>

#include "editor/editundo.h"

editorstate ed;

// The pool: blocks of records allocated at once, never freed before reset.
struct poolblock {
  poolblock* next;
  _line lines[LINEPOOLBLOCK];
};
static poolblock* poolblocks;  // every block allocated
static _line* freelines;       // records ready for reuse, chained by next

static void* xrealloc(void* p, size_t n) {
  void* q = realloc(p, n);
  if (!q) abort();  // out of memory: nothing sensible is left to do
  return q;
}

static int roundup32(int n) {
  return (n + 31) / 32 * 32;
}

// Grows l's text so that it holds need bytes (the terminator included).
static void reservetext(_line* l, int need) {
  if (need <= l->textcap) return;
  l->textcap = roundup32(need);
  l->linetext = (char*)xrealloc(l->linetext, l->textcap);
}

static void refillpool() {
  poolblock* b = (poolblock*)calloc(1, sizeof(poolblock));
  if (!b) abort();
  b->next = poolblocks;
  poolblocks = b;
  for (int i = LINEPOOLBLOCK - 1; i >= 0; i--) {
    b->lines[i].next = freelines;
    freelines = &b->lines[i];
  }
}

_line* allocline() {
  if (!freelines) refillpool();
  _line* l = freelines;
  freelines = l->next;
  l->next = l->prev = nullptr;
  reservetext(l, 2);
  strcpy(l->linetext, "\n");
  l->length = 1;
  rebuilddisp(l);
  return l;
}

void freeline(_line* l) {
  l->prev = nullptr;
  l->next = freelines;
  freelines = l;
}

void rebuilddisp(_line* l) {
  int col = 0;
  for (int i = 0; i < l->length - 1; i++)
    col = l->linetext[i] == '\t' ? (col / TABWIDTH + 1) * TABWIDTH : col + 1;
  // Keep at least 10 bytes to spare, growing by 32 at a time.
  if (!l->disp || l->dispcap - (col + 1) < 10) {
    while (l->dispcap - (col + 1) < 10) l->dispcap += 32;
    l->disp = (char*)xrealloc(l->disp, l->dispcap);
  }
  char* d = l->disp;
  col = 0;
  for (int i = 0; i < l->length - 1; i++) {
    if (l->linetext[i] != '\t') {
      d[col++] = l->linetext[i];
      continue;
    }
    do d[col++] = ' ';
    while (col % TABWIDTH);
  }
  d[col] = 0;
}

// Sets l's text to the n bytes of s followed by a line end.
static void settext(_line* l, const char* s, int n) {
  reservetext(l, n + 2);
  memcpy(l->linetext, s, n);
  l->linetext[n] = '\n';
  l->linetext[n + 1] = 0;
  l->length = n + 1;
  rebuilddisp(l);
}

static _line* lastline() {
  return ed.bottom;
}

// Puts nl into the list after l (before the first line when l is null).
static void linkafter(_line* l, _line* nl) {
  nl->prev = l;
  nl->next = l ? l->next : ed.top;
  if (nl->next)
    nl->next->prev = nl;
  else
    ed.bottom = nl;
  if (l)
    l->next = nl;
  else
    ed.top = nl;
  ed.nlines++;
}

static void unlink(_line* l) {
  if (l->prev)
    l->prev->next = l->next;
  else
    ed.top = l->next;
  if (l->next)
    l->next->prev = l->prev;
  else
    ed.bottom = l->prev;
  ed.nlines--;
}

// Text typed into the extra last line makes it a real line: a new extra
// line follows.
static void ensureextraline() {
  _line* last = lastline();
  if (!last || last->length != 1) linkafter(last, allocline());
}

void clearbuffertext() {
  while (ed.top) {
    _line* l = ed.top;
    unlink(l);
    freeline(l);
  }
  ed.nlines = 0;
  linkafter(nullptr, allocline());
  ed.topdispline = ed.top;
  ed.topdisplineoffset = 0;
  setcursor(ed.top, 0);
  damageall();
}

_line* lineat(int i) {
  _line* l = ed.top;
  while (i-- > 0 && l->next) l = l->next;
  return l;
}

int lineindex(const _line* l) {
  int i = 0;
  for (const _line* k = ed.top; k && k != l; k = k->next) i++;
  return i;
}

int dispcolumn(const _line* l, int c) {
  int col = 0;
  for (int i = 0; i < c && i < l->length - 1; i++)
    col = l->linetext[i] == '\t' ? (col / TABWIDTH + 1) * TABWIDTH : col + 1;
  return col;
}

int charatcolumn(const _line* l, int col) {
  int start = 0;
  for (int i = 0; i < l->length - 1; i++) {
    int end =
        l->linetext[i] == '\t' ? (start / TABWIDTH + 1) * TABWIDTH : start + 1;
    if (col <= start) return i;
    if (col < end) return col - start <= end - col ? i : i + 1;
    start = end;
  }
  return l->length - 1;
}

static int clampchar(const _line* l, int c) {
  if (c < 0) return 0;
  return c > l->length - 1 ? l->length - 1 : c;
}

void setpoint(_line* l, int c) {
  ed.point = l;
  ed.pointchar = clampchar(l, c);
  ed.pointline = lineindex(l);
}

void setmark(_line* l, int c) {
  ed.mark = l;
  ed.markchar = clampchar(l, c);
  ed.markline = lineindex(l);
}

void setcursor(_line* l, int c) {
  setpoint(l, c);
  setmark(l, c);
}

int selectionempty() {
  return ed.point == ed.mark && ed.pointchar == ed.markchar;
}

void orderedselection(_line** l1, int* c1, _line** l2, int* c2) {
  int pointfirst = ed.pointline < ed.markline ||
                   (ed.pointline == ed.markline && ed.pointchar <= ed.markchar);
  *l1 = pointfirst ? ed.point : ed.mark;
  *c1 = pointfirst ? ed.pointchar : ed.markchar;
  *l2 = pointfirst ? ed.mark : ed.point;
  *c2 = pointfirst ? ed.markchar : ed.pointchar;
}

void damageline(int i) {
  if (ed.mindamage == DAMAGEALL) return;
  if (ed.mindamage == DAMAGENONE) {
    ed.mindamage = ed.maxdamage = i;
    return;
  }
  if (i < ed.mindamage) ed.mindamage = i;
  if (i > ed.maxdamage) ed.maxdamage = i;
}

void damagefrom(int i) {
  damageline(i);
  if (ed.mindamage != DAMAGEALL) ed.maxdamage = ed.nlines + 1;
}

void damageall() {
  ed.mindamage = DAMAGEALL;
  ed.maxdamage = DAMAGEALL;
}

// Whether deleting from (l1, c1) to (l2, c2) leaves the text as it is: an
// empty range, or the line end of the last line joined with the extra line,
// which gives the last line its line end back.
static int changesnothing(_line* l1, int c1, _line* l2, int c2) {
  if (l1 == l2) return c1 == c2;
  return l2 == ed.bottom && l1->next == l2 && c1 == l1->length - 1 && c2 == 0 &&
         l2->length == 1;
}

void deleterange(_line* l1, int c1, _line* l2, int c2) {
  if (changesnothing(l1, c1, l2, c2)) {
    setcursor(l1, c1);
    return;
  }
  int first = lineindex(l1);
  if (l1 == l2) {
    memmove(l1->linetext + c1, l1->linetext + c2, l1->length - c2 + 1);
    l1->length -= c2 - c1;
    rebuilddisp(l1);
    damageline(first);
  } else {
    int taillen = l2->length - c2;
    reservetext(l1, c1 + taillen + 1);
    memcpy(l1->linetext + c1, l2->linetext + c2, taillen + 1);
    l1->length = c1 + taillen;
    rebuilddisp(l1);
    _line* stop = l2->next;
    for (_line* k = l1->next; k != stop;) {
      _line* next = k->next;
      if (ed.topdispline == k) ed.topdispline = l1;
      unlink(k);
      freeline(k);
      k = next;
    }
    ensureextraline();
    ed.topdisplineoffset = lineindex(ed.topdispline);
    damagefrom(first);
  }
  setcursor(l1, c1);
  ed.dirtyfile = 1;
}

void deleteselection() {
  if (selectionempty()) return;
  _line *l1, *l2;
  int c1, c2;
  orderedselection(&l1, &c1, &l2, &c2);
  deleterange(l1, c1, l2, c2);
}

void insertchar(int c) {
  deleteselection();
  _line* l = ed.point;
  int at = ed.pointchar;
  reservetext(l, l->length + 2);
  memmove(l->linetext + at + 1, l->linetext + at, l->length - at + 1);
  l->linetext[at] = (char)c;
  l->length++;
  rebuilddisp(l);
  ensureextraline();
  setcursor(l, at + 1);
  damageline(ed.pointline);
  ed.dirtyfile = 1;
}

void insertnewline() {
  deleteselection();
  _line* l = ed.point;
  int at = ed.pointchar;
  _line* nl = allocline();
  settext(nl, l->linetext + at, l->length - 1 - at);
  l->linetext[at] = '\n';
  l->linetext[at + 1] = 0;
  l->length = at + 1;
  rebuilddisp(l);
  linkafter(l, nl);
  damagefrom(ed.pointline);
  setcursor(nl, 0);
  ed.dirtyfile = 1;
}

void backspacecmd() {
  if (!selectionempty()) {
    deleteselection();
  } else if (ed.pointchar > 0) {
    deleterange(ed.point, ed.pointchar - 1, ed.point, ed.pointchar);
  } else if (ed.point->prev) {
    _line* p = ed.point->prev;
    deleterange(p, p->length - 1, ed.point, 0);
  }
}

// Appends the n bytes of s as one line before the extra last line; NUL
// bytes cannot be held in a line and are dropped.
static void appendline(const char* s, int n) {
  _line* extra = lastline();
  _line* l = allocline();
  reservetext(l, n + 2);
  int k = 0;
  for (int i = 0; i < n; i++)
    if (s[i]) l->linetext[k++] = s[i];
  l->linetext[k++] = '\n';
  l->linetext[k] = 0;
  l->length = k;
  rebuilddisp(l);
  linkafter(extra->prev, l);
}

void settopline(int i) {
  if (i > ed.nlines - 1) i = ed.nlines - 1;
  if (i < 0) i = 0;
  if (i == ed.topdisplineoffset && ed.topdispline) return;
  ed.topdispline = lineat(i);
  ed.topdisplineoffset = i;
  damageall();
}

void showselection() {
  int first = ed.pointline < ed.markline ? ed.pointline : ed.markline;
  int last = ed.pointline < ed.markline ? ed.markline : ed.pointline;
  if (last < ed.topdisplineoffset) {
    settopline(last < 6 ? 0 : first - 5);
  } else if (first > ed.topdisplineoffset + ed.displines - 2) {
    settopline(first - ed.displines / 2);
  }
}

// Puts the cursor on line `starteditline`; a later line is selected whole
// (without its line end): it is where the reading of the text stopped.
static void placestartline() {
  int real = ed.nlines - 1;
  int n = ed.starteditline < 1 ? 1 : ed.starteditline;
  if (n > real) n = real < 1 ? 1 : real;
  _line* l = lineat(n - 1);
  setpoint(l, 0);
  setmark(l, n > 1 ? l->length - 1 : 0);
}

void readfile(FILE* stream) {
  clearbuffertext();
  char* buf = nullptr;
  size_t cap = 0;
  ssize_t n;
  // Lines of any length stay whole: splitting one would change the text.
  while (stream && (n = getline(&buf, &cap, stream)) > 0) {
    if (buf[n - 1] == '\n') n--;
    appendline(buf, (int)n);
  }
  free(buf);
  ed.topdispline = ed.top;
  ed.topdisplineoffset = 0;
  placestartline();
  ed.goalcolumn = -1;
  ed.dirtyfile = 0;
  ed.pasteenabled = 0;
  reseteditundo();
  showselection();
  damageall();
}

int writefile(FILE* stream) {
  for (_line* l = ed.top; l && l->next; l = l->next)
    if (fwrite(l->linetext, 1, l->length, stream) != (size_t)l->length)
      return 0;
  return fflush(stream) == 0 && !ferror(stream);
}

char* buffertext() {
  size_t n = 0;
  for (_line* l = ed.top; l && l->next; l = l->next) n += l->length;
  char* s = (char*)xrealloc(nullptr, n + 1);
  char* p = s;
  for (_line* l = ed.top; l && l->next; l = l->next) {
    memcpy(p, l->linetext, l->length);
    p += l->length;
  }
  *p = 0;
  return s;
}

void reseteditor() {
  reseteditundo();
  while (poolblocks) {
    poolblock* b = poolblocks;
    poolblocks = b->next;
    for (_line& l : b->lines) {
      free(l.linetext);
      free(l.disp);
    }
    free(b);
  }
  freelines = nullptr;
  memset(&ed, 0, sizeof ed);
  ed.displines = 20;
  ed.fontheight = 16;
  ed.charwidth = 8;
  ed.goalcolumn = -1;
  ed.starteditline = 1;
  strcpy(ed.findstring, "foobar");
  clearbuffertext();
  ed.dirtyfile = 0;
}
