// finder.h: sampling a moving diagram for relations.
//
// A test indexes the visible points, lines and circles of the world list,
// derives segments, angles and triangles from them, and lists every relation
// of a fixed catalogue that holds in the current position and is not true by
// construction. Each drawn frame re-tests the surviving candidates; a
// candidate that fails once is dead for good. Ending the test writes the
// survivors as a report (report.cpp).
//
// Tables and candidate lists are vectors in creation order; "the front" of a
// list, where the report starts, is the back of its vector. Members of
// candidates are indexes into the tables below.
#pragma once

#include <cstdio>
#include <vector>

#include "model/primitive.h"

// An angle: vertex indexes of end, apex, end, and its cosine.
struct anglerec {
  int v[3];
  double cos;
};

// A segment: two vertex indexes and the squared length.
struct segmentrec {
  int v[2];
  double len2;
};

// A triangle: three vertex indexes and twice its area.
struct trianglerec {
  int v[3];
  double area2;
};

// A candidate relation; the meaning of m[] and mode depends on its list.
struct candidate {
  int m[4];
  int mode;
  int alive;    // 1 until one re-test fails
  double worst = 0;  // worst miss of its equation over the frames tested
};
typedef std::vector<candidate> candlist;

extern int testingdiagram;                     // a test is running
extern int buildingtest;                       // its candidates are being built
extern std::vector<vertex*> vertlist;          // every vertex, list order
extern std::vector<line*> linelist;            // every line
extern std::vector<circle*> circlist;          // every circle
extern std::vector<anglerec> anglelist;        // angles at construction corners
extern std::vector<segmentrec> segmentlist;    // segments along lines
extern std::vector<trianglerec> trianglelist;  // triangles of segments
extern std::vector<char> onlmatrix;  // [v*lines+l]: vonldef of v and l
extern std::vector<char> oncmatrix;  // [v*circles+c]: voncdef of v and c

extern candlist inverselist;       // vertex, vertex, circle: inverse points
extern candlist threecircles;      // three circles through one point
extern candlist speciallines;      // two lines: 1 parallel, 2 perpendicular
extern candlist specialangles;     // two angles: 1 compl., 2 suppl., 3 equal
extern candlist specialsegments;   // two segments of equal length
extern candlist righta;            // one right angle
extern candlist fourvonc;          // four concyclic vertices
extern candlist quadseglist;       // four segments: product identity, mode
extern candlist tripseglist;       // three segments: mean proportional, mode
extern candlist trianglepairlist;  // two triangles of equal area
extern candlist trianglequadlist;  // four triangles: area products, mode
extern candlist threevonl;         // three collinear vertices
extern candlist threelonv;         // three concurrent lines
extern candlist harmonic;          // four vertices forming a harmonic set
extern double CircX, CircY;        // common point of the last concurrentcircles

// deviation.cpp: the worst miss of every alive candidate.

// Raises each alive candidate's `worst` to its miss in the current frame.
void measuredeviations();

// finder.cpp: the test's life.

// Starts a test in the current position; does nothing while one runs.
// Returns 1 when a test runs afterwards; 0 when the building was stopped
// (by the user, or past `maxcandidates` with the alert "The relation test
// found more than %ld candidate relations: ...") or the diagram is too
// large to begin (alert "The diagram is too large for the relation test
// (...): ..."); no test runs then.
int begindiagramtest();
// Re-tests every alive candidate; does nothing unless a test runs (or
// while its candidates are still being built).
void testlist();
// Re-tests made since the test started in a position other than the
// starting one: with none, nothing was sampled and the report holds only
// what the starting position shows.
extern long movedsamples;
// Writes the report to the relations file next to the diagram, shows it,
// and ends the test. Does nothing while the candidates are being built: the
// progress hook may let the user ask for it half-way.
void enddiagramtest();
// Writes the report to `out` (naming it `name` in its first line) and ends
// the test. Returns 0 when no test was running (nothing is written).
int enddiagramtestto(FILE* out, const char* name);
// The same in another form: REPORT_SUMMARY writes the summary, REPORT_JSON
// either as one JSON document (both bits may be set).
int enddiagramtestas(FILE* out, const char* name, int form);
enum { REPORT_SUMMARY = 1, REPORT_JSON = 2 };
// Releases the index tables and the candidate lists.
void freeall();
// Puts every relation-finder global back to its start-up value.
void resetrelations();

// tables.cpp: the index tables.

// Whether p takes part in a test: visible in its colour, valid, and
// defined in the plane (a finite point, a line with a direction, a circle
// with a finite centre and radius). Undefined objects and points at
// infinity carry only sentinel measures, which would otherwise "agree" with
// each other in every frame.
int shown(const primitive* p);

// Collects vertices, lines and circles and derives angles, segments and
// triangles in list order. Triangles of three points built on one line are
// left out. Returns 0, with the reason in `toolarge`, when the diagram
// would give more than MAXITEMS segments or triangles.
int allocateall();

// The most segments, and the most triangles, a test may index: the search
// for product identities holds every pairwise product of them at once.
const long MAXITEMS = 4000;
// The most tuples the building of candidates may examine: the loops over
// three and four points alone grow as n^3/6 and n^4/24.
const double DEFAULTMAXWORK = 4e9;
extern double maxwork;    // DEFAULTMAXWORK unless changed
extern char toolarge[200];  // why the last test could not start, or ""

// measures.cpp: measures and numeric predicates (exact tolerances).

// The size of the diagram a test runs on (1 for a diagram drawn in the
// window) and its centre; set when the test starts, 1 and the origin
// otherwise. Tolerances are given for size 1 and scaled by the
// power that matches what they compare: a length, an area (or squared
// length), a product of two areas.
extern double relationscale;
extern double relationcx, relationcy;
void setrelationscale(const std::vector<vertex*>& pts);
double lengthtol(double t);
double areatol(double t);
double producttol(double t);
// Products of measures of the dimension whose tolerance at size 1 is
// `unit` (areatol(1) for products of lengths, producttol(1) for products
// of squared lengths or doubled areas): whether p and q differ by less than
// t times the larger of unit, |p| and |q|. productspan is that larger one.
int sameproduct(double p, double q, double t, double unit);
double productspan(double p, double q, double unit);
double productunit();  // producttol(1)

double findcosine(int i);                           // 2.0 when undefined
double findsegmentlength(int i);                    // squared; 1e6 at infinity
double findtrianglearea(int i);                     // doubled; 1e6 at infinity
double vertdist(const vertex* a, const vertex* b);  // 1e30 at infinity
int equalvertices(const vertex* a, const vertex* b);
int equallines(const line* l1, const line* l2);
int parallellines(const line* l1, const line* l2);
int perpendicularlines(const line* l1, const line* l2);
int equalangles(int i, int j);
int complementary(int i, int j);
int supplementary(int i, int j);
int threevonlp(const vertex* a, const vertex* b, const vertex* c);
int threelonvp(const line* l1, const line* l2, const line* l3);
int inversetest(const vertex* a, const vertex* b, const circle* k);
int concurrentcircles(const circle* c1, const circle* c2, const circle* c3);
int fourvoncp(const vertex* a, const vertex* b, const vertex* c,
              const vertex* d);
int harmonicv(const vertex* a, const vertex* b, const vertex* c,
              const vertex* d);
int goodratio4(double a, double b, double c, double d);
int goodratio3(double a, double b, double c);
int arearatio(double a1, double a2, double a3, double a4);  // last mode
int anglepredicate(int mode, int i, int j);  // re-test of a mode
int linepredicate(int mode, const line* l1, const line* l2);

// definitions.cpp: relations true by construction.

int vonldef(const primitive* v, const primitive* l);
int voncdef(const primitive* v, const primitive* c);
int lpardef(const primitive* l1, const primitive* l2);
int lperpdef(const primitive* l1, const primitive* l2);
int threevonldef(const primitive* a, const primitive* b, const primitive* c);
int segequaldef(int s, int t);

// candidates.cpp: the candidate lists of the current position.

// Builds every candidate list, reporting its progress through
// `testprogresshook`: 0 first, then rising percentages, 100 last. Returns
// 1, or 0 when the building stopped early: `stopbuilding` was set, or more
// than `maxcandidates` candidates held (`candidatecount` then exceeds it);
// or did not begin: more than `maxwork` tuples to examine (`toolarge`
// says so).
int buildpossiblelist();

// The most candidate relations a test may keep: a large diagram can hold
// millions, each re-tested in every frame.
const long DEFAULTMAXCANDIDATES = 5000000;
extern long maxcandidates;   // DEFAULTMAXCANDIDATES unless changed
extern long candidatecount;  // candidates found by the last building
extern int stopbuilding;     // set (by the progress hook) to stop building

// How far the building of candidates has come, 0 to 100; called often
// (the receiver decides when to show it). Unbound: nothing is reported.
typedef void (*progressfn)(int percent);
extern progressfn testprogresshook;

// report.cpp: the report.

// Writes the report of the alive candidates; `name` is the report's own
// path for its first line. Frees the candidate lists.
void writerelations(FILE* out, const char* name);
// The same in the form `form` (REPORT_SUMMARY, REPORT_JSON).
void writerelationsas(FILE* out, const char* name, int form);
// The relations file that goes with a diagram file name (null or empty for
// an unnamed diagram) into buf; 0 when it does not fit.
int relationsfilename(const char* diagram, char* buf, int size);
// Writes the report next to the current diagram, keeps it with its summary
// in `lastreport` and shows both through `showrelationshook`; "Can't open relations file." when it cannot.
void dumprelations();
// The name the report uses for p: label, a line's two labelled points,
// or the identifier. Valid until six further calls.
const char* bestname(const primitive* p);

typedef void (*showrelationsfn)(const char* text, const char* summary);
extern showrelationsfn showrelationshook;  // shows the report and summary
extern const char* (*currentfilehook)();   // the diagram's file, or null
