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

showrelationsfn showrelationshook;
const char* (*currentfilehook)();

namespace {

const int64_t TAGBASE = (int64_t)1 << 40;   // members from here on are tags

struct tuple {
  int64_t m[4];
  int used;
};

std::vector<char> itemlist;    // one mark per item of the section
std::vector<tuple> tuplelist;  // the section's alive tuples, walk order
int tuplesize;                 // 2, 3 or 4

typedef void (*printer)(FILE* out, int item);

void initprintlists(int maxitems, int size) {
  itemlist.assign(maxitems > 0 ? maxitems : 0, 0);
  tuplelist.clear();
  tuplesize = size;
}

void addtuple(int64_t a, int64_t b, int64_t c = 0, int64_t d = 0) {
  tuplelist.push_back({{a, b, c, d}, 0});
}

int isitem(int64_t m) {
  return m >= 0 && m < TAGBASE;
}

void marktuple(tuple& t) {
  for (int c = 0; c < tuplesize; c++)
    if (isitem(t.m[c]) && t.m[c] < (int64_t)itemlist.size())
      itemlist[t.m[c]] = 1;
  t.used = 1;
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
void absorbgroup(const tuple& seed) {
  int absorbed;
  do {
    absorbed = 0;
    for (tuple& t : tuplelist)
      if (!t.used && sharedmembers(t, seed) >= tuplesize - 1) {
        marktuple(t);
        absorbed = 1;
      }
  } while (absorbed);
}

// Items six to a line, each line led by four blanks; ends without newline.
void printitems(FILE* out, const std::vector<int>& items, printer print) {
  for (size_t i = 0; i < items.size(); i++) {
    if (i % 6 == 0) fputs(i ? "\n    " : "    ", out);
    print(out, items[i]);
  }
}

void printgroup(FILE* out, printer print, int splitmode) {
  std::vector<int> items, rest;
  for (int i = 0; i < (int)itemlist.size(); i++)
    if (itemlist[i]) items.push_back(i);
  if (splitmode && !items.empty()) {
    std::vector<int> first;
    for (int i : items)
      (i == items[0] || equalangles(items[0], i) ? first : rest).push_back(i);
    printitems(out, first, print);
    fputs(first.size() == 1 ? "  is " : " are ", out);
    fputs(splitmode == 1 ? "supplementary to \n" : "complementary to \n", out);
    items = rest;
  }
  printitems(out, items, print);
  if (!items.empty()) fputs("\n", out);
}

void processtuples(FILE* out, const char* heading, printer print,
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
    marktuple(*seed);
    absorbgroup(*seed);
    fputs(heading, out);
    printgroup(out, print, splitmode);
  }
}

void printvertex(FILE* out, int i) {
  fprintf(out, "%s  ", bestname(vertlist[i]));
}
void printline(FILE* out, int i) {
  fprintf(out, "(%s) ", bestname(linelist[i]));
}
void printcircle(FILE* out, int i) {
  fprintf(out, "%s ", bestname(circlist[i]));
}
void printsegment(FILE* out, int i) {
  const segmentrec& s = segmentlist[i];
  fprintf(out, "[%s %s] ", bestname(vertlist[s.v[0]]),
          bestname(vertlist[s.v[1]]));
}
void printtriangle(FILE* out, int i) {
  const trianglerec& t = trianglelist[i];
  fprintf(out, "[%s %s %s]", bestname(vertlist[t.v[0]]),
          bestname(vertlist[t.v[1]]), bestname(vertlist[t.v[2]]));
}
void printangle(FILE* out, int i) {
  const anglerec& a = anglelist[i];
  fprintf(out, "(%s %s %s) ", bestname(vertlist[a.v[0]]),
          bestname(vertlist[a.v[1]]), bestname(vertlist[a.v[2]]));
}

// Groups the alive nodes of `list` (of mode `mode`, or any when 0).
void groupsection(FILE* out, const candlist& list, int mode, int maxitems,
                  int size, const char* heading, printer print, int splitmode) {
  initprintlists(maxitems, size);
  for (auto c = list.rbegin(); c != list.rend(); ++c)
    if (c->alive && (!mode || c->mode == mode))
      addtuple(c->m[0], c->m[1], c->m[2], c->m[3]);
  processtuples(out, heading, print, splitmode);
}

void writerightangles(FILE* out) {
  if (righta.empty()) return;
  fputs("Right angles:\n", out);
  std::vector<int> items;
  for (auto c = righta.rbegin(); c != righta.rend(); ++c)
    if (c->alive) items.push_back(c->m[0]);
  printitems(out, items, printangle);
  if (!items.empty()) fputs("\n", out);
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

void writeconcurrentcircles(FILE* out) {
  initprintlists((int)circlist.size(), 4);
  circlepoints.clear();
  for (auto c = threecircles.rbegin(); c != threecircles.rend(); ++c)
    if (c->alive) addtuple(c->m[0], c->m[1], c->m[2], circletag(*c));
  processtuples(out, "Concurrent circles:\n", printcircle, 0);
}

void writeharmonic(FILE* out) {
  static const int order[4][4] = {
      {0, 0, 0, 0}, {0, 2, 1, 3}, {0, 3, 2, 1}, {0, 1, 2, 3}};
  for (auto c = harmonic.rbegin(); c != harmonic.rend(); ++c) {
    if (!c->alive) continue;
    const vertex* v[4];
    for (int k = 0; k < 4; k++) v[k] = vertlist[c->m[k]];
    int mode = harmonicv(v[0], v[1], v[2], v[3]);
    if (!mode) continue;
    const int* o = order[mode];
    fprintf(out, "Points [%s %s, %s %s] form an harmonic set.\n",
            bestname(v[o[0]]), bestname(v[o[1]]), bestname(v[o[2]]),
            bestname(v[o[3]]));
  }
}

void writeinverses(FILE* out) {
  for (auto c = inverselist.rbegin(); c != inverselist.rend(); ++c)
    if (c->alive)
      fprintf(out, "Points %s and %s are inverse relative to circle %s.\n",
              bestname(vertlist[c->m[0]]), bestname(vertlist[c->m[1]]),
              bestname(circlist[c->m[2]]));
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

void writetriangles(FILE* out) {
  groupsection(out, trianglepairlist, 0, (int)trianglelist.size(), 2,
               "Equal area triangles:\n", printtriangle, 0);
  int first = 1;
  for (auto c = trianglequadlist.rbegin(); c != trianglequadlist.rend(); ++c) {
    if (!c->alive || trivialarea(*c)) continue;
    if (first) fputs("Triangle area ratios:\n", out);
    first = 0;
    int o[4];
    productorder(*c, o);
    fputs("    ", out);
    printtriangle(out, o[0]);
    fputs(" x ", out);
    printtriangle(out, o[1]);
    fputs(" = ", out);
    printtriangle(out, o[2]);
    fputs(" x ", out);
    printtriangle(out, o[3]);
    fputs("\n", out);
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

void writeratioline(FILE* out, int* first, const int* o) {
  if (*first) fputs("Ratios:\n", out);
  *first = 0;
  fputs("    ", out);
  printsegment(out, o[0]);
  fputs("x ", out);
  printsegment(out, o[1]);
  fputs("= ", out);
  printsegment(out, o[2]);
  fputs("x ", out);
  printsegment(out, o[3]);
  fputs("\n", out);
}

void writeratios(FILE* out) {
  int first = 1;
  for (auto c = quadseglist.rbegin(); c != quadseglist.rend(); ++c) {
    if (!c->alive || trivialsegments(*c)) continue;
    int o[4];
    productorder(*c, o);
    writeratioline(out, &first, o);
  }
  static const int order[4][4] = {
      {0, 0, 1, 2}, {0, 0, 1, 2}, {1, 1, 0, 2}, {2, 2, 0, 1}};
  for (auto c = tripseglist.rbegin(); c != tripseglist.rend(); ++c) {
    if (!c->alive || trivialmean(*c)) continue;
    int o[4];
    for (int k = 0; k < 4; k++) o[k] = c->m[order[c->mode & 3][k]];
    writeratioline(out, &first, o);
  }
}

template <typename T>
void release(std::vector<T>& v) {
  std::vector<T>().swap(v);
}

}  // namespace

void writerelations(FILE* out, const char* name) {
  int nv = (int)vertlist.size(), nl = (int)linelist.size();
  int na = (int)anglelist.size(), ns = (int)segmentlist.size();
  fprintf(out, "This is file: %s\n\n", name);
  groupsection(out, threevonl, 0, nv, 3, "Points on a line:\n", printvertex, 0);
  release(threevonl);
  groupsection(out, threelonv, 0, nl, 3, "Concurrent lines:\n", printline, 0);
  release(threelonv);
  groupsection(out, fourvonc, 0, nv, 4, "Points on a circle:\n", printvertex,
               0);
  release(fourvonc);
  writerightangles(out);
  release(righta);
  groupsection(out, specialangles, 3, na, 2, "Equal angles:\n", printangle, 0);
  groupsection(out, specialangles, 1, na, 2, "Complementary angles:\n",
               printangle, 2);
  groupsection(out, specialangles, 2, na, 2, "Supplementary angles:\n",
               printangle, 1);
  release(specialangles);
  groupsection(out, speciallines, 1, nl, 2, "Parallel lines:\n", printline, 0);
  groupsection(out, speciallines, 2, nl, 2, "Perpendicular lines:\n", printline,
               0);
  release(speciallines);
  groupsection(out, specialsegments, 0, ns, 2, "Equal length segments:\n",
               printsegment, 0);
  release(specialsegments);
  writeconcurrentcircles(out);
  release(threecircles);
  writeharmonic(out);
  release(harmonic);
  writeinverses(out);
  release(inverselist);
  writetriangles(out);
  release(trianglepairlist);
  release(trianglequadlist);
  writeratios(out);
  release(quadseglist);
  release(tripseglist);
  release(itemlist);
  release(tuplelist);
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
  writerelations(save.f, name);
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
  if (showrelationshook) showrelationshook(text.c_str());
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
