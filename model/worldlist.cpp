// worldlist.cpp: the ordered list of a diagram's records, names and labels.
#include "model/worldlist.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unordered_set>
#include <vector>

#include "language/lexer.h"
#include "language/symtable.h"
#include "model/notify.h"
#include "model/state.h"
#include "render/palette.h"

primitive* plist;
primitive* plisttail;
primitive* pselected;
primitive* selectedtextprim;
primitive* macroplist;
int parsingmacro;
macro* openmacro;
int addvertexnames = 1;
int vnumber = 1;
int dirtyfile;
int changepending;
const char* changename;

void addprimitive(primitive* p) {
  p->next = nullptr;
  if (parsingmacro && openmacro) {
    primitive** at = &openmacro->body;
    while (*at) at = &(*at)->next;
    *at = p;
  } else {
    if (plisttail)
      plisttail->next = p;
    else
      plist = p;
    plisttail = p;
  }
  setdirtyfile();
}

static void destroylist(primitive* p) {
  while (p) {
    primitive* n = p->next;
    destroyprimitive(p);
    p = n;
  }
}

void clearplist() {
  // Macro bodies are separate lists owned by their macro record.
  for (primitive* p = plist; p; p = p->next)
    if (p->type == RW_MACRO) destroylist(static_cast<macro*>(p)->body);
  destroylist(plist);
  plist = plisttail = nullptr;
  selectedtextprim = nullptr;
  selectprim(nullptr);
  linecount = 1;
}

void clearmacroplist() {
  destroylist(macroplist);
  macroplist = nullptr;
}

void clearbuffer() {
  vnumber = 1;
  if (idtable) cleartable(idtable);
  clearmacroplist();
  clearplist();
  initcolors();
}

int isconstrained(primitive* p) {
  for (primitive* q = plist; q; q = q->next)
    for (primitive* parent : q->parents)
      if (parent == p) return 1;
  return 0;
}

static int inexpression(const primitive* q, const primitive* p) {
  if (q->type != RW_FLT) return 0;
  const flt* f = static_cast<const flt*>(q);
  for (int i = 0; i < f->nrpn; i++)
    if ((f->rpn[i].tag == RPN_ANGLE || f->rpn[i].tag == RPN_FLT) &&
        f->rpn[i].prim == p)
      return 1;
  return 0;
}

static int inmacrocall(const primitive* q, const primitive* p) {
  if (q->type != RW_MACROCALL) return 0;
  const macrocall* m = static_cast<const macrocall*>(q);
  if (m->result == p || m->macroref == p) return 1;
  for (symtableentry* e : m->args)
    if (e && e->prim == p) return 1;
  return 0;
}

int isreferenced(primitive* p) {
  if (isconstrained(p)) return 1;
  for (primitive* q = plist; q; q = q->next)
    if (inexpression(q, p) || inmacrocall(q, p)) return 1;
  return 0;
}

int deleteprimitive(primitive* p) {
  if (isreferenced(p)) {
    alert("Cannot delete constrained primitive");
    return 0;
  }
  if (pselected == p) selectprim(nullptr);
  if (selectedtextprim == p) selectedtextprim = nullptr;
  primitive* prev = nullptr;
  primitive* q = plist;
  while (q && q != p) {
    prev = q;
    q = q->next;
  }
  if (!q) return 0;  // not in the world list
  if (prev)
    prev->next = p->next;
  else
    plist = p->next;
  if (plisttail == p) plisttail = prev;
  if (p->symbol && idtable) {
    p->symbol->prim = nullptr;
    p->symbol->name[0] = 0;
  }
  if (p->type == RW_MACRO) destroylist(static_cast<macro*>(p)->body);
  destroyprimitive(p);
  return 1;
}

void flipangle(primitive* p) {
  if (!p || p->kind != A_VVV) return;
  primitive* t = p->parents[0];
  p->parents[0] = p->parents[2];
  p->parents[2] = t;
}

static const char* nameprefix(int type) {
  switch (type) {
    case RW_VERTEX: return "v";
    case RW_LINE: return "l";
    case RW_CIRCLE: return "c";
    case RW_BEZIER: return "bez";
    case RW_FLT: return "flt";
    case RW_CONIC: return "con";
    case RW_ANGLE: return "ang";
    case RW_POLYGON: return "poly";
    case RW_ARC: return "arc";
    case RW_CONDITION: return "cond";
    default: return nullptr;  // texts, comments, macros: not named this way
  }
}

void genname(primitive* p) {
  const char* prefix = nameprefix(p->type);
  if (!prefix || !idtable) return;
  char name[SYMNAMESIZE];
  for (int n = 1;; n++) {
    snprintf(name, sizeof name, "%s%d", prefix, n);
    if (!lookup(idtable, name)) break;
  }
  symtableentry* e = addentry(idtable, name, p->type);
  e->prim = p;
  p->symbol = e;
}

void labelfornumber(int n, char* buf, int size) {
  if (n >= 1 && n <= 26)
    snprintf(buf, size, "%c", 64 + n);
  else if (n >= 27 && n <= 52)
    snprintf(buf, size, "%c", 70 + n);
  else
    snprintf(buf, size, "%d", n - 52);
}

int numberforlabel(const char* label) {
  size_t len = strlen(label);
  if (len == 1 && label[0] >= 'A' && label[0] <= 'Z') return label[0] - 64;
  if (len == 1 && label[0] >= 'a' && label[0] <= 'z') return label[0] - 70;
  if ((len == 1 || len == 2) && label[0] >= '0' && label[0] <= '9' &&
      (len == 1 || (label[1] >= '0' && label[1] <= '9')))
    return atoi(label) + 52;
  return 0;
}

void addvertexname(vertex* v) {
  if (!addvertexnames) return;
  free(v->label);
  // Room for any label number: five bytes hold labels up to "9999" only.
  const int size = 12;
  v->label = (char*)malloc(size);
  labelfornumber(vnumber, v->label, size);
  vnumber++;
}

vertex* makevertex(double x, double y) {
  vertex* v = new vertex;
  v->x = x;
  v->y = y;
  v->w = 1;
  selectprim(v);
  genname(v);
  addvertexname(v);
  return v;
}

void selectprim(primitive* p) {
  pselected = p;
  if (selecthook) selecthook(p);
}

void setdirtyfile() {
  dirtyfile = 1;
  changepending = 1;
  if (dirtyhook) dirtyhook();
}

void notechange(const char* action) {
  if (!changename) changename = action;
  setdirtyfile();
}

// 1 when q refers to a record of `set`: a parent, an expression reference,
// a macro call's argument, result or macro.
static int refersto(const primitive* q,
                    const std::unordered_set<const primitive*>& set) {
  for (primitive* parent : q->parents)
    if (parent && set.count(parent)) return 1;
  if (q->type == RW_FLT) {
    const flt* f = static_cast<const flt*>(q);
    for (int i = 0; i < f->nrpn; i++)
      if ((f->rpn[i].tag == RPN_ANGLE || f->rpn[i].tag == RPN_FLT) &&
          set.count(f->rpn[i].prim))
        return 1;
  }
  if (q->type == RW_MACROCALL) {
    const macrocall* m = static_cast<const macrocall*>(q);
    if (set.count(m->result) || set.count(m->macroref)) return 1;
    for (symtableentry* e : m->args)
      if (e && set.count(e->prim)) return 1;
  }
  return 0;
}

// Everything built on p, in list order; walked to a fixpoint because a
// record may precede one of its parents.
static std::vector<primitive*> closure(primitive* p) {
  std::unordered_set<const primitive*> set{p};
  for (size_t before = 0; before != set.size();) {
    before = set.size();
    for (primitive* q = plist; q; q = q->next)
      if (!set.count(q) && refersto(q, set)) set.insert(q);
  }
  std::vector<primitive*> ordered;
  for (primitive* q = plist; q; q = q->next)
    if (q != p && set.count(q)) ordered.push_back(q);
  return ordered;
}

int dependants(primitive* p, primitive** out, int max) {
  std::vector<primitive*> d = closure(p);
  for (int i = 0; i < max && i < (int)d.size(); i++) out[i] = d[i];
  return (int)d.size();
}

// Frees a record already taken out of the world list.
static void destroyunlinked(primitive* p) {
  if (pselected == p) selectprim(nullptr);
  if (selectedtextprim == p) selectedtextprim = nullptr;
  if ((primitive*)Script == p) Script = nullptr;
  if (p->symbol && idtable) {
    p->symbol->prim = nullptr;
    p->symbol->name[0] = 0;
  }
  if (p->type == RW_MACRO) destroylist(static_cast<macro*>(p)->body);
  destroyprimitive(p);
}

int deletewithdependants(primitive* p) {
  primitive* q = plist;
  while (q && q != p) q = q->next;
  if (!q) return 0;  // not in the world list
  std::vector<primitive*> doomed = closure(p);
  std::unordered_set<const primitive*> set(doomed.begin(), doomed.end());
  set.insert(p);
  // The set is closed: whatever refers to a doomed record is doomed, so
  // one pass takes them all out of the list before any is freed.
  primitive* prev = nullptr;
  int found = 0;
  for (primitive *q = plist, *next; q; q = next) {
    next = q->next;
    if (!set.count(q)) {
      prev = q;
      continue;
    }
    found++;
    if (prev)
      prev->next = next;
    else
      plist = next;
    if (plisttail == q) plisttail = prev;
  }
  destroyunlinked(p);
  for (primitive* q : doomed) destroyunlinked(q);
  setdirtyfile();
  return found;
}

void resetmodel() {
  clearmacroplist();
  clearplist();
  if (idtable)
    cleartable(idtable);
  else
    idtable = newtable(50);
  pselected = selectedtextprim = nullptr;
  parsingmacro = 0;
  openmacro = nullptr;
  addvertexnames = 1;
  vnumber = 1;
  dirtyfile = 0;
  changepending = 0;
  changename = nullptr;
}
