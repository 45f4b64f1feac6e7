// report.cpp: the relations report written when a test ends.
//
// Surviving candidates of one kind are merged into groups that share
// members (all mutually parallel lines, all points on one line...), each
// group under its own heading; the other sections are one statement per
// line. Lists are walked from their front, the most recent node first.
//
// Grouping members are 64-bit: item indexes are never confused with the
// tags that concurrent circles carry in their fourth column (tags live from
// TAGBASE up), however many items a diagram has and wherever the circles
// meet.
#include <array>
#include <cerrno>
#include <cstdarg>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "fileio/safesave.h"
#include "language/symtable.h"
#include "model/notify.h"
#include "model/worldlist.h"
#include "relations/finder.h"
#include "relations/report.h"

showrelationsfn showrelationshook;
const char* (*currentfilehook)();

namespace {

const int64_t TAGBASE = (int64_t)1 << 40;   // members from here on are tags

struct tuple {
  int64_t m[4];
  int used;
  double worst;
};

std::vector<char> itemlist;    // one mark per item of the section
std::vector<tuple> tuplelist;  // the section's alive tuples, walk order
int tuplesize;                 // 2, 3 or 4

typedef void (*printer)(std::string& out, int item);
typedef void (*namer)(relentry& e, int item);  // adds the objects of an item

void initprintlists(int maxitems, int size) {
  itemlist.assign(maxitems > 0 ? maxitems : 0, 0);
  tuplelist.clear();
  tuplesize = size;
}

void addtuple(const candidate& c, int64_t a, int64_t b, int64_t d = 0,
              int64_t e = 0) {
  tuplelist.push_back({{a, b, d, e}, 0, c.worst});
}

int isitem(int64_t m) {
  return m >= 0 && m < TAGBASE;
}

void marktuple(tuple& t, double* worst) {
  for (int c = 0; c < tuplesize; c++)
    if (isitem(t.m[c]) && t.m[c] < (int64_t)itemlist.size())
      itemlist[t.m[c]] = 1;
  t.used = 1;
  if (!(t.worst <= *worst)) *worst = t.worst;
}

int sharedmembers(const tuple& t, const tuple& seed) {
  int n = 0;
  for (int c = 0; c < tuplesize; c++) {
    if (c == 3 && !isitem(seed.m[3])) {
      n += !isitem(t.m[3]) && std::llabs(t.m[3] - seed.m[3]) <= 2;
    } else if (isitem(t.m[c]) && t.m[c] < (int64_t)itemlist.size()) {
      n += itemlist[t.m[c]];
    }
  }
  return n;
}

// Grows the group of `seed` until a scan absorbs nothing.
void absorbgroup(const tuple& seed, double* worst) {
  int absorbed;
  do {
    absorbed = 0;
    for (tuple& t : tuplelist)
      if (!t.used && sharedmembers(t, seed) >= tuplesize - 1) {
        marktuple(t, worst);
        absorbed = 1;
      }
  } while (absorbed);
}

void appendf(std::string& s, const char* fmt, ...) {
  va_list ap, again;
  va_start(ap, fmt);
  va_copy(again, ap);
  int n = vsnprintf(nullptr, 0, fmt, ap);
  va_end(ap);
  if (n > 0) {
    size_t at = s.size();
    s.resize(at + n + 1);
    vsnprintf(&s[at], n + 1, fmt, again);
    s.resize(at + n);
  }
  va_end(again);
}

// Items six to a line, each line led by four blanks; ends without newline.
void printitems(std::string& out, const std::vector<int>& items,
                printer print) {
  for (size_t i = 0; i < items.size(); i++) {
    if (i % 6 == 0) out += i ? "\n    " : "    ";
    print(out, items[i]);
  }
}

void printgroup(std::string& out, std::vector<int> items, printer print,
                int splitmode) {
  std::vector<int> rest;
  if (splitmode && !items.empty()) {
    std::vector<int> first;
    for (int i : items)
      (i == items[0] || equalangles(items[0], i) ? first : rest).push_back(i);
    printitems(out, first, print);
    out += first.size() == 1 ? "  is " : " are ";
    out += splitmode == 1 ? "supplementary to \n" : "complementary to \n";
    items = rest;
  }
  printitems(out, items, print);
  if (!items.empty()) out += "\n";
}

void addobject(relentry& e, const primitive* p) {
  for (const primitive* q : e.objects)
    if (q == p) return;
  e.objects.push_back(p);
  e.ids.push_back(p->symbol ? p->symbol->name : "");
}

relentry newentry(int kind) {
  relentry e;
  e.kind = kind;
  e.worst = 0;
  e.fold = RF_NONE;
  e.impliedby = -1;
  e.score = 0;
  return e;
}

void processtuples(relreport* r, int kind, printer print, namer name,
                   int splitmode) {
  for (;;) {
    tuple* seed = nullptr;
    for (tuple& t : tuplelist)
      if (!t.used) {
        seed = &t;
        break;
      }
    if (!seed) return;
    std::fill(itemlist.begin(), itemlist.end(), 0);
    relentry e = newentry(kind);
    marktuple(*seed, &e.worst);
    absorbgroup(*seed, &e.worst);
    for (int i = 0; i < (int)itemlist.size(); i++)
      if (itemlist[i]) {
        e.items.push_back(i);
        name(e, i);
      }
    printgroup(e.text, e.items, print, splitmode);
    r->entries.push_back(std::move(e));
  }
}

void printvertex(std::string& out, int i) {
  appendf(out, "%s  ", bestname(vertlist[i]));
}
void printline(std::string& out, int i) {
  appendf(out, "(%s) ", bestname(linelist[i]));
}
void printcircle(std::string& out, int i) {
  appendf(out, "%s ", bestname(circlist[i]));
}
void printsegment(std::string& out, int i) {
  const segmentrec& s = segmentlist[i];
  appendf(out, "[%s ", bestname(vertlist[s.v[0]]));
  appendf(out, "%s] ", bestname(vertlist[s.v[1]]));
}
void printtriangle(std::string& out, int i) {
  const trianglerec& t = trianglelist[i];
  appendf(out, "[%s ", bestname(vertlist[t.v[0]]));
  appendf(out, "%s ", bestname(vertlist[t.v[1]]));
  appendf(out, "%s]", bestname(vertlist[t.v[2]]));
}
void printangle(std::string& out, int i) {
  const anglerec& a = anglelist[i];
  appendf(out, "(%s ", bestname(vertlist[a.v[0]]));
  appendf(out, "%s ", bestname(vertlist[a.v[1]]));
  appendf(out, "%s) ", bestname(vertlist[a.v[2]]));
}

void namevertex(relentry& e, int i) {
  addobject(e, vertlist[i]);
}
void nameline(relentry& e, int i) {
  addobject(e, linelist[i]);
}
void namecircle(relentry& e, int i) {
  addobject(e, circlist[i]);
}
void namesegment(relentry& e, int i) {
  for (int v : segmentlist[i].v) addobject(e, vertlist[v]);
}
void nametriangle(relentry& e, int i) {
  for (int v : trianglelist[i].v) addobject(e, vertlist[v]);
}
void nameangle(relentry& e, int i) {
  for (int v : anglelist[i].v) addobject(e, vertlist[v]);
}

// Groups the alive nodes of `list` (of mode `mode`, or any when 0).
void groupsection(relreport* r, const candlist& list, int mode, int maxitems,
                  int size, int kind, printer print, namer name,
                  int splitmode) {
  initprintlists(maxitems, size);
  for (auto c = list.rbegin(); c != list.rend(); ++c)
    if (c->alive && (!mode || c->mode == mode))
      addtuple(*c, c->m[0], c->m[1], c->m[2], c->m[3]);
  processtuples(r, kind, print, name, splitmode);
}

void collectrightangles(relreport* r) {
  r->rightheading = !righta.empty();
  for (auto c = righta.rbegin(); c != righta.rend(); ++c)
    if (c->alive) {
      relentry e = newentry(RK_RIGHT);
      e.items.push_back(c->m[0]);
      e.worst = c->worst;
      nameangle(e, c->m[0]);
      printangle(e.text, c->m[0]);
      r->entries.push_back(std::move(e));
    }
}

// The points where the surviving circle triples meet, as far as found.
std::vector<std::array<double, 2>> circlepoints;

// The tag of the point where three circles meet in the final position:
// triples through one point (within 0.01) share a tag, and tags of
// different points lie 10 apart, so grouping never joins them, wherever
// the diagram lies and however it is turned or scaled.
int64_t circletag(const candidate& c) {
  concurrentcircles(circlist[c.m[0]], circlist[c.m[1]], circlist[c.m[2]]);
  size_t i = 0;
  while (i < circlepoints.size() &&
         !(std::hypot(circlepoints[i][0] - CircX, circlepoints[i][1] - CircY) <
           lengthtol(0.01)))
    i++;
  if (i == circlepoints.size()) circlepoints.push_back({CircX, CircY});
  return TAGBASE + 10 * (int64_t)i;
}

void collectcircles(relreport* r) {
  initprintlists((int)circlist.size(), 4);
  circlepoints.clear();
  for (auto c = threecircles.rbegin(); c != threecircles.rend(); ++c)
    if (c->alive) addtuple(*c, c->m[0], c->m[1], c->m[2], circletag(*c));
  processtuples(r, RK_CIRCLES, printcircle, namecircle, 0);
}

void collectharmonic(relreport* r) {
  static const int order[4][4] = {
      {0, 0, 0, 0}, {0, 2, 1, 3}, {0, 3, 2, 1}, {0, 1, 2, 3}};
  for (auto c = harmonic.rbegin(); c != harmonic.rend(); ++c) {
    if (!c->alive) continue;
    const vertex* v[4];
    for (int k = 0; k < 4; k++) v[k] = vertlist[c->m[k]];
    int mode = harmonicv(v[0], v[1], v[2], v[3]);
    if (!mode) continue;
    relentry e = newentry(RK_HARMONIC);
    e.worst = c->worst;
    for (int k : order[mode]) {
      e.items.push_back(c->m[k]);
      namevertex(e, c->m[k]);
    }
    const int* o = order[mode];
    appendf(e.text, "Points [%s ", bestname(v[o[0]]));
    appendf(e.text, "%s, ", bestname(v[o[1]]));
    appendf(e.text, "%s ", bestname(v[o[2]]));
    appendf(e.text, "%s] form an harmonic set.\n", bestname(v[o[3]]));
    r->entries.push_back(std::move(e));
  }
}

void collectinverses(relreport* r) {
  for (auto c = inverselist.rbegin(); c != inverselist.rend(); ++c) {
    if (!c->alive) continue;
    relentry e = newentry(RK_INVERSE);
    e.worst = c->worst;
    e.items = {c->m[0], c->m[1], c->m[2]};
    namevertex(e, c->m[0]);
    namevertex(e, c->m[1]);
    namecircle(e, c->m[2]);
    appendf(e.text, "Points %s ", bestname(vertlist[c->m[0]]));
    appendf(e.text, "and %s ", bestname(vertlist[c->m[1]]));
    appendf(e.text, "are inverse relative to circle %s.\n",
            bestname(circlist[c->m[2]]));
    r->entries.push_back(std::move(e));
  }
}

// Squared lengths and doubled areas alike.
int same(double a, double b) {
  return std::fabs(a - b) < areatol(0.001);
}

// The four members in the order a product of the given mode is written.
void productorder(const candidate& c, int* o) {
  static const int order[4][4] = {
      {0, 1, 2, 3}, {0, 1, 2, 3}, {0, 2, 1, 3}, {0, 3, 1, 2}};
  for (int k = 0; k < 4; k++) o[k] = c.m[order[c.mode & 3][k]];
}

int trivialarea(const candidate& c) {
  double a[4];
  for (int k = 0; k < 4; k++) a[k] = trianglelist[c.m[k]].area2;
  if (same(a[0], a[3]) && same(a[1], a[2])) return 1;
  if (c.mode == 1) return same(a[0], a[2]) && same(a[1], a[3]);
  return same(a[0], a[1]) && same(a[2], a[3]);
}

// One product line: four blanks, then a x b = c x d.
void productentry(relreport* r, int kind, const candidate& c, const int* o) {
  relentry e = newentry(kind);
  e.worst = c.worst;
  printer print = kind == RK_RATIO ? printsegment : printtriangle;
  namer name = kind == RK_RATIO ? namesegment : nametriangle;
  static const char* const ratio[] = {"", "x ", "= ", "x "};
  static const char* const area[] = {"", " x ", " = ", " x "};
  e.text = "    ";
  for (int k = 0; k < 4; k++) {
    e.text += kind == RK_RATIO ? ratio[k] : area[k];
    print(e.text, o[k]);
    e.items.push_back(o[k]);
    name(e, o[k]);
  }
  e.text += "\n";
  r->entries.push_back(std::move(e));
}

void collecttriangles(relreport* r) {
  groupsection(r, trianglepairlist, 0, (int)trianglelist.size(), 2,
               RK_EQUALAREA, printtriangle, nametriangle, 0);
  for (auto c = trianglequadlist.rbegin(); c != trianglequadlist.rend(); ++c) {
    if (!c->alive || trivialarea(*c)) continue;
    int o[4];
    productorder(*c, o);
    productentry(r, RK_AREARATIO, *c, o);
  }
}

int trivialsegments(const candidate& c) {
  double s[4];
  for (int k = 0; k < 4; k++) s[k] = segmentlist[c.m[k]].len2;
  int s12 = same(s[0], s[1]), s13 = same(s[0], s[2]), s14 = same(s[0], s[3]);
  int s23 = same(s[1], s[2]), s24 = same(s[1], s[3]), s34 = same(s[2], s[3]);
  switch (c.mode) {
    case 1: return (s13 && s24) || (s14 && s23);
    case 2: return (s12 && s34) || (s14 && s23);
    case 3: return (s12 && s34) || (s13 && s24);
    default: return 1;  // no other mode is ever stored
  }
}

int trivialmean(const candidate& c) {
  double s0 = segmentlist[c.m[0]].len2, s1 = segmentlist[c.m[1]].len2;
  double s2 = segmentlist[c.m[2]].len2;
  return c.mode == 3 ? same(s0, s2) : same(s0, s1);
}

void collectratios(relreport* r) {
  for (auto c = quadseglist.rbegin(); c != quadseglist.rend(); ++c) {
    if (!c->alive || trivialsegments(*c)) continue;
    int o[4];
    productorder(*c, o);
    productentry(r, RK_RATIO, *c, o);
  }
  static const int order[4][4] = {
      {0, 0, 1, 2}, {0, 0, 1, 2}, {1, 1, 0, 2}, {2, 2, 0, 1}};
  for (auto c = tripseglist.rbegin(); c != tripseglist.rend(); ++c) {
    if (!c->alive || trivialmean(*c)) continue;
    int o[4];
    for (int k = 0; k < 4; k++) o[k] = c->m[order[c->mode & 3][k]];
    productentry(r, RK_RATIO, *c, o);
  }
}

template <typename T>
void release(std::vector<T>& v) {
  std::vector<T>().swap(v);
}

struct kindrow {
  const char* heading;
  const char* name;
};
const kindrow kinds[RK_COUNT] = {
    {"Points on a line:", "collinear points"},
    {"Concurrent lines:", "concurrent lines"},
    {"Points on a circle:", "concyclic points"},
    {"Right angles:", "right angle"},
    {"Equal angles:", "equal angles"},
    {"Complementary angles:", "complementary angles"},
    {"Supplementary angles:", "supplementary angles"},
    {"Parallel lines:", "parallel lines"},
    {"Perpendicular lines:", "perpendicular lines"},
    {"Equal length segments:", "equal segments"},
    {"Concurrent circles:", "concurrent circles"},
    {nullptr, "harmonic set"},
    {nullptr, "inverse points"},
    {"Equal area triangles:", "equal area triangles"},
    {"Triangle area ratios:", "triangle area ratio"},
    {"Ratios:", "ratio"},
};

// Sections whose entries are listed under one heading, not one per group.
int listed(int kind) {
  return kind == RK_RIGHT || kind == RK_AREARATIO || kind == RK_RATIO;
}

}  // namespace

relreport lastreport;

const char* relheading(int kind) {
  return kinds[kind].heading;
}

const char* relkindname(int kind) {
  return kinds[kind].name;
}

std::string itemstext(int kind, const std::vector<int>& items) {
  printer print;
  switch (kind) {
    case RK_CONCURRENT:
    case RK_PARALLEL:
    case RK_PERPENDICULAR: print = printline; break;
    case RK_CIRCLES: print = printcircle; break;
    case RK_EQUALSEGMENTS: print = printsegment; break;
    case RK_EQUALAREA: print = printtriangle; break;
    case RK_RIGHT:
    case RK_EQUALANGLES: print = printangle; break;
    default: print = printvertex; break;  // points on a line, on a circle
  }
  std::string s;
  printgroup(s, items, print, 0);
  return s;
}

void collectrelations(relreport* r) {
  int nv = (int)vertlist.size(), nl = (int)linelist.size();
  int na = (int)anglelist.size(), ns = (int)segmentlist.size();
  r->entries.clear();
  r->summary.clear();
  groupsection(r, threevonl, 0, nv, 3, RK_COLLINEAR, printvertex, namevertex,
               0);
  release(threevonl);
  groupsection(r, threelonv, 0, nl, 3, RK_CONCURRENT, printline, nameline, 0);
  release(threelonv);
  groupsection(r, fourvonc, 0, nv, 4, RK_CONCYCLIC, printvertex, namevertex,
               0);
  release(fourvonc);
  collectrightangles(r);
  release(righta);
  groupsection(r, specialangles, 3, na, 2, RK_EQUALANGLES, printangle,
               nameangle, 0);
  groupsection(r, specialangles, 1, na, 2, RK_COMPLEMENTARY, printangle,
               nameangle, 2);
  groupsection(r, specialangles, 2, na, 2, RK_SUPPLEMENTARY, printangle,
               nameangle, 1);
  release(specialangles);
  groupsection(r, speciallines, 1, nl, 2, RK_PARALLEL, printline, nameline, 0);
  groupsection(r, speciallines, 2, nl, 2, RK_PERPENDICULAR, printline,
               nameline, 0);
  release(speciallines);
  groupsection(r, specialsegments, 0, ns, 2, RK_EQUALSEGMENTS, printsegment,
               namesegment, 0);
  release(specialsegments);
  collectcircles(r);
  release(threecircles);
  collectharmonic(r);
  release(harmonic);
  collectinverses(r);
  release(inverselist);
  collecttriangles(r);
  release(trianglepairlist);
  release(trianglequadlist);
  collectratios(r);
  release(quadseglist);
  release(tripseglist);
  release(itemlist);
  release(tuplelist);
}

// Right angles are written six to a line, as one list.
void writerightangles(FILE* out, const relreport& r) {
  if (!r.rightheading) return;
  fputs("Right angles:\n", out);
  int n = 0;
  for (const relentry& e : r.entries)
    if (e.kind == RK_RIGHT) {
      fputs(n % 6 == 0 ? (n ? "\n    " : "    ") : "", out);
      fputs(e.text.c_str(), out);
      n++;
    }
  if (n) fputs("\n", out);
}

void writefull(FILE* out, const relreport& r) {
  fprintf(out, "This is file: %s\n\n", r.name.c_str());
  for (int kind = 0; kind < RK_COUNT; kind++) {
    if (kind == RK_RIGHT) {
      writerightangles(out, r);
      continue;
    }
    int first = 1;
    for (const relentry& e : r.entries) {
      if (e.kind != kind) continue;
      if (relheading(kind) && (first || !listed(kind)))
        fprintf(out, "%s\n", relheading(kind));
      first = 0;
      fputs(e.text.c_str(), out);
    }
  }
}

std::string summarytext(const relreport& r, std::vector<int>* lines) {
  std::string s;
  appendf(s, "Summary: %d of %d relations\n\n", (int)r.summary.size(),
          (int)r.entries.size());
  int line = 2, previous = -1;
  for (int e : r.summary) {
    const relentry& x = r.entries[e];
    if (lines) lines->push_back(line);
    size_t from = s.size();
    const char* heading = relheading(x.kind);
    if (heading && !(listed(x.kind) && previous == x.kind))
      s.append(heading).append("\n");
    const std::string& text = x.summarytext.empty() ? x.text : x.summarytext;
    s += x.kind == RK_RIGHT ? "    " + text + "\n" : text;
    line += (int)std::count(s.begin() + from, s.end(), '\n');
    previous = x.kind;
  }
  return s;
}

void writerelationsas(FILE* out, const char* name, int form) {
  relreport r;
  r.name = name;
  collectrelations(&r);
  if (form & (REPORT_SUMMARY | REPORT_JSON)) summarize(&r);
  if (form & REPORT_JSON)
    writejson(out, r, form & REPORT_SUMMARY);
  else if (form & REPORT_SUMMARY)
    fputs(summarytext(r, nullptr).c_str(), out);
  else
    writefull(out, r);
}

void writerelations(FILE* out, const char* name) {
  writerelationsas(out, name, 0);
}

int relationsfilename(const char* diagram, char* buf, int size) {
  std::string path;
  if (diagram && *diagram) {
    path = diagram;
  } else {
    const char* home = getenv("HOME");
    path = home ? std::string(home) + "/Desktop/" : "~/Desktop/";
  }
  size_t cut = path.find_last_of("/\\");
  if (cut == std::string::npos || cut == 0)
    path = "relations.txt";
  else
    path = path.substr(0, cut + 1) + "relations.txt";
  if ((int)path.size() >= size) return 0;
  memcpy(buf, path.c_str(), path.size() + 1);
  return 1;
}

void dumprelations() {
  char name[1024];
  const char* diagram = currentfilehook ? currentfilehook() : nullptr;
  safesave save;
  if (!relationsfilename(diagram, name, sizeof name) ||
      !beginsave(&save, name)) {
    alert("Can't open relations file.");
    return;
  }
  lastreport = relreport();
  lastreport.name = name;
  collectrelations(&lastreport);
  summarize(&lastreport);
  writefull(save.f, lastreport);
  if (!endsave(&save)) {
    alert("can't write %s: %s", name, strerror(errno));
    return;
  }
  FILE* in = fopen(name, "r");
  if (!in) return;
  std::string text;
  char chunk[4096];
  size_t n;
  while ((n = fread(chunk, 1, sizeof chunk, in)) > 0) text.append(chunk, n);
  fclose(in);
  if (showrelationshook)
    showrelationshook(text.c_str(), summarytext(lastreport, nullptr).c_str());
}

const char* bestname(const primitive* p) {
  static char buffers[6][40];
  static int next;
  if (p->label) return p->label;
  if (p->type == RW_LINE) {
    const char* found[2];
    int n = 0;
    for (primitive* v = plist; v && n < 2; v = v->next)
      if (v->type == RW_VERTEX && v->label && vonldef(v, p))
        found[n++] = v->label;
    if (n == 2) {
      char* buf = buffers[next];
      next = (next + 1) % 6;
      snprintf(buf, sizeof buffers[0], "%.19s%.19s", found[0], found[1]);
      return buf;
    }
  }
  return p->symbol ? p->symbol->name : "";
}
