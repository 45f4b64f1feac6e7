// finder.cpp: the life of a relation test: start, per-frame re-test, end.
//
// Starting indexes the diagram and lists the candidates of the current
// position; every drawn frame then re-tests the alive ones, and a single
// failure kills a candidate for good, so what survives held in every frame
// drawn during the test. Nothing here is proved, only observed within the
// tolerances of measures.cpp.
#include "relations/finder.h"

#include <cmath>

#include "model/notify.h"
#include "relations/report.h"

int testingdiagram;
int buildingtest;
std::vector<vertex*> vertlist;
std::vector<line*> linelist;
std::vector<circle*> circlist;
std::vector<anglerec> anglelist;
std::vector<segmentrec> segmentlist;
std::vector<trianglerec> trianglelist;
std::vector<char> onlmatrix;
std::vector<char> oncmatrix;

candlist inverselist;
candlist threecircles;
candlist speciallines;
candlist specialangles;
candlist specialsegments;
candlist righta;
candlist fourvonc;
candlist quadseglist;
candlist tripseglist;
candlist trianglepairlist;
candlist trianglequadlist;
candlist threevonl;
candlist threelonv;
candlist harmonic;
double CircX, CircY;
long movedsamples;

namespace {

candlist* const alllists[] = {
    &inverselist,     &threecircles,     &speciallines,     &specialangles,
    &specialsegments, &righta,           &fourvonc,         &quadseglist,
    &tripseglist,     &trianglepairlist, &trianglequadlist, &threevonl,
    &threelonv,       &harmonic,
};
static_assert(sizeof alllists / sizeof alllists[0] == 14,
              "one entry per candidate list");

// Where the points were when the test started.
std::vector<double> startposition;

void remembertheposition() {
  startposition.clear();
  for (const vertex* v : vertlist) {
    startposition.push_back(v->x);
    startposition.push_back(v->y);
    startposition.push_back(v->w);
  }
  movedsamples = 0;
}

int moved() {
  for (size_t i = 0; i < vertlist.size(); i++) {
    const vertex* v = vertlist[i];
    if (v->x != startposition[3 * i] || v->y != startposition[3 * i + 1] ||
        v->w != startposition[3 * i + 2])
      return 1;
  }
  return 0;
}

template <typename T>
void release(std::vector<T>& v) {
  std::vector<T>().swap(v);
}

double seglen(int s) {
  return segmentlist[s].len2 = findsegmentlength(s);
}
double anglecos(int a) {
  return anglelist[a].cos = findcosine(a);
}

// Whether an area product still holds the equation of its mode.
int areaholds(const candidate& c) {
  double a[4];
  for (int k = 0; k < 4; k++) a[k] = trianglelist[c.m[k]].area2;
  double p = a[0] * a[1], q = a[2] * a[3];  // mode 1
  if (c.mode == 2) p = a[0] * a[2], q = a[1] * a[3];
  if (c.mode == 3) p = a[0] * a[3], q = a[1] * a[2];
  return sameproduct(p, q, 2e-5, productunit());
}

void testtriangles() {
  for (int i = 0; i < (int)trianglelist.size(); i++)
    trianglelist[i].area2 = findtrianglearea(i);
  for (candidate& c : trianglepairlist)
    if (c.alive && std::fabs(trianglelist[c.m[0]].area2 -
                             trianglelist[c.m[1]].area2) > areatol(0.0001))
      c.alive = 0;
  for (candidate& c : trianglequadlist)
    if (c.alive && !areaholds(c)) c.alive = 0;
}

void testsegmentproducts() {
  for (candidate& c : quadseglist)
    if (c.alive) {
      double a = seglen(c.m[0]), b = seglen(c.m[1]);
      double d = seglen(c.m[2]), e = seglen(c.m[3]);
      if (!goodratio4(a, b, d, e)) c.alive = 0;
    }
  for (candidate& c : tripseglist)
    if (c.alive) {
      double a = seglen(c.m[0]), b = seglen(c.m[1]), d = seglen(c.m[2]);
      if (!goodratio3(a, b, d)) c.alive = 0;
    }
}

void testincidences() {
  std::vector<vertex*>& v = vertlist;
  for (candidate& c : inverselist)
    if (c.alive && !inversetest(v[c.m[0]], v[c.m[1]], circlist[c.m[2]]))
      c.alive = 0;
  for (candidate& c : threecircles)
    if (c.alive && !concurrentcircles(circlist[c.m[0]], circlist[c.m[1]],
                                      circlist[c.m[2]]))
      c.alive = 0;
  for (candidate& c : threevonl)
    if (c.alive && !threevonlp(v[c.m[0]], v[c.m[1]], v[c.m[2]])) c.alive = 0;
  for (candidate& c : threelonv)
    if (c.alive &&
        !threelonvp(linelist[c.m[0]], linelist[c.m[1]], linelist[c.m[2]]))
      c.alive = 0;
  for (candidate& c : fourvonc)
    if (c.alive && !fourvoncp(v[c.m[0]], v[c.m[1]], v[c.m[2]], v[c.m[3]]))
      c.alive = 0;
  for (candidate& c : harmonic)
    if (c.alive && !harmonicv(v[c.m[0]], v[c.m[1]], v[c.m[2]], v[c.m[3]]))
      c.alive = 0;
}

void testanglesandlines() {
  for (candidate& c : righta)
    if (c.alive && std::fabs(anglecos(c.m[0])) > 0.0001) c.alive = 0;
  for (candidate& c : specialangles)
    if (c.alive) {
      anglecos(c.m[0]);
      anglecos(c.m[1]);
      if (!anglepredicate(c.mode, c.m[0], c.m[1])) c.alive = 0;
    }
  for (candidate& c : speciallines)
    if (c.alive && !linepredicate(c.mode, linelist[c.m[0]], linelist[c.m[1]]))
      c.alive = 0;
  for (candidate& c : specialsegments)
    if (c.alive && std::fabs(seglen(c.m[0]) - seglen(c.m[1])) >
                         areatol(1e-5))
      c.alive = 0;
}

}  // namespace

int begindiagramtest() {
  if (testingdiagram) return 1;
  testingdiagram = 1;
  buildingtest = 1;
  int built = allocateall() && buildpossiblelist();
  buildingtest = 0;
  if (built) {
    remembertheposition();
    return 1;
  }
  if (toolarge[0])
    alert(
        "The diagram is too large for the relation test (%s): try it with "
        "fewer objects, or with fewer layers shown.",
        toolarge);
  else if (candidatecount > maxcandidates)
    alert(
        "The relation test found more than %ld candidate relations and "
        "stopped: try it with fewer objects, or with fewer layers shown.",
        maxcandidates);
  testingdiagram = 0;
  freeall();
  return 0;
}

void testlist() {
  if (!testingdiagram || buildingtest) return;
  if (moved()) movedsamples++;
  testtriangles();
  testsegmentproducts();
  testincidences();
  testanglesandlines();
  measuredeviations();
}

void enddiagramtest() {
  if (!testingdiagram || buildingtest) return;
  if (!movedsamples)
    showmessagewindow(
        "The diagram did not move during the test, so the report shows what "
        "holds in this one position. Drag free points while testing to find "
        "what holds in every position.",
        8);
  dumprelations();
  testingdiagram = 0;
  freeall();
}

int enddiagramtestto(FILE* out, const char* name) {
  return enddiagramtestas(out, name, 0);
}

int enddiagramtestas(FILE* out, const char* name, int form) {
  if (!testingdiagram || buildingtest) return 0;
  writerelationsas(out, name, form);
  testingdiagram = 0;
  freeall();
  return 1;
}

void freeall() {
  release(vertlist);
  release(linelist);
  release(circlist);
  release(anglelist);
  release(segmentlist);
  release(trianglelist);
  release(onlmatrix);
  release(oncmatrix);
  for (candlist* l : alllists) release(*l);
  relationscale = 1;
  relationcx = relationcy = 0;
  release(startposition);
}

void resetrelations() {
  freeall();
  testingdiagram = 0;
  buildingtest = 0;
  testprogresshook = nullptr;
  maxcandidates = DEFAULTMAXCANDIDATES;
  maxwork = DEFAULTMAXWORK;
  movedsamples = 0;
  toolarge[0] = 0;
  candidatecount = 0;
  stopbuilding = 0;
  CircX = CircY = 0;
  showrelationshook = nullptr;
  currentfilehook = nullptr;
  lastreport = relreport();
}
