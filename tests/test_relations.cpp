// The relation finder on diagrams built record by record: its measures and
// predicates against hand-worked values, the relations the construction
// guarantees (never reported), a candidate's life across frames, and the
// exact text and grouping of the report.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "model/style.h"
#include "relations/finder.h"
#include "relations_helpers.h"
#include "tests/langtest.h"

using namespace relhelp;

namespace {

struct Relations : langtest::Lang {};
const auto R = langtest::golden("relations_reports.txt");

// The report body of the tables and lists as they stand.
std::string report() {
  return body(captured([](FILE* f) { writerelations(f, "out.txt"); }));
}

void addcand(candlist& l, int a, int b = 0, int c = 0, int d = 0,
             int mode = 0) {
  l.push_back({{a, b, c, d}, mode, 1});
}

// n labelled points A, B, ... along the x axis, as the vertex table.
std::vector<vertex*> row(int n) {
  std::vector<vertex*> v;
  for (int i = 0; i < n; i++) v.push_back(pt(i, 0));
  vertlist = v;
  return v;
}

vertex at(double x, double y) {
  vertex v;
  v.x = x, v.y = y;
  return v;
}

TEST_F(Relations, MeasuresAndPredicates) {
  vertex* a = pt(1, 0);
  vertex* c = pt(0, 2);
  vertlist = {a, pt(0, 0), c, pt(0.5, std::sqrt(3) / 2)};
  anglelist = {{{0, 1, 2}, 0}, {{0, 1, 3}, 0}};
  EXPECT_NEAR(findcosine(0), 0, 1e-12);    // right angle at B
  EXPECT_NEAR(findcosine(1), 0.5, 1e-12);  // 60 degrees
  segmentlist = {{{0, 2}, 0}};
  EXPECT_NEAR(findsegmentlength(0), 5, 1e-12);  // 1 + 4
  trianglelist = {{{0, 1, 2}, 0}};
  EXPECT_NEAR(findtrianglearea(0), 2, 1e-12);  // legs 1 and 2
  c->w = 0;
  EXPECT_EQ(findcosine(0), 2.0);
  EXPECT_EQ(findsegmentlength(0), 1e6);
  EXPECT_EQ(findtrianglearea(0), 1e6);
  EXPECT_EQ(vertdist(a, c), 1e30);

  // Angle relations through stored cosines.
  anglelist = {{{0, 1, 2}, 0.5},
               {{0, 1, 2}, 0.50005},
               {{0, 1, 2}, -0.5},
               {{0, 1, 2}, 0.0},
               {{0, 1, 2}, 0.0},
               {{0, 1, 2}, 1.0},
               {{0, 1, 2}, std::sqrt(0.75)}};
  EXPECT_TRUE(equalangles(0, 1));
  EXPECT_FALSE(equalangles(0, 2));
  EXPECT_FALSE(equalangles(3, 4));  // right angles are never "equal"
  EXPECT_TRUE(supplementary(0, 2));
  EXPECT_FALSE(supplementary(3, 4));
  EXPECT_FALSE(complementary(3, 4));
  EXPECT_TRUE(complementary(3, 5));  // 90 and 0 degrees
  EXPECT_TRUE(complementary(0, 6));  // 60 and 30 degrees
  EXPECT_TRUE(complementary(6, 0));

  // y = x, y = x + 1, y = -x, the x axis, the y axis, 2x - 2y = 0, y = 1
  // and y = 2 (distinct horizontals).
  line L[8];
  const double abc[8][3] = {{1, -1, 0}, {1, -1, 1}, {1, 1, 0},  {0, 1, 0},
                            {1, 0, 0},  {2, -2, 0}, {0, 1, -1}, {0, 1, -2}};
  for (int i = 0; i < 8; i++) setline(&L[i], abc[i][0], abc[i][1], abc[i][2]);
  // Two lines; whether parallel, perpendicular, equal.
  const int pairs[][5] = {{0, 1, 1, 0, 0}, {0, 2, 0, 1, 0}, {3, 3, 1, 0, 1},
                          {3, 4, 0, 1, 0}, {4, 3, 0, 1, 0}, {0, 5, 1, 0, 1},
                          {6, 7, 1, 0, 0}};
  for (const auto& p : pairs) {
    const line *l1 = &L[p[0]], *l2 = &L[p[1]];
    EXPECT_EQ(parallellines(l1, l2), p[2]) << p[0] << " " << p[1];
    EXPECT_EQ(perpendicularlines(l1, l2), p[3]) << p[0] << " " << p[1];
    EXPECT_EQ(equallines(l1, l2), p[4]) << p[0] << " " << p[1];
  }
  EXPECT_TRUE(threelonvp(&L[0], &L[2], &L[3]));   // all through the origin
  EXPECT_FALSE(threelonvp(&L[1], &L[2], &L[3]));  // y = x + 1 misses it

  vertex p = at(0, 0), q = at(1, 1), r = at(3, 3), s = at(3, 3.1);
  EXPECT_TRUE(threevonlp(&p, &q, &r));
  EXPECT_FALSE(threevonlp(&p, &q, &s));
  vertex t = at(3.00004, 3);
  EXPECT_TRUE(equalvertices(&r, &t));
  t.w = 0;
  EXPECT_FALSE(equalvertices(&r, &t));
}

TEST_F(Relations, IncidencePredicates) {
  circle* k = circ(C_VF, 0, 0, 1);
  vertex out = at(2, 0), in = at(0.5, 0), opp = at(-0.5, 0), off = at(0.5, .01);
  EXPECT_TRUE(inversetest(&out, &in, k));    // 2 * 0.5 = 1
  EXPECT_FALSE(inversetest(&out, &opp, k));  // centre between them
  EXPECT_FALSE(inversetest(&out, &off, k));  // not on a ray from O

  // Two unit circles touching at (1, 0), and a third through that point.
  circle* c0 = circ(C_VF, 0, 0, 1);
  circle* c1 = circ(C_VF, 2, 0, 1);
  EXPECT_TRUE(concurrentcircles(c0, c1, circ(C_VF, 1, 1, 1)));
  EXPECT_NEAR(CircX, 1, 1e-12);
  EXPECT_NEAR(CircY, 0, 1e-12);
  EXPECT_FALSE(concurrentcircles(c0, c1, circ(C_VF, 1, 1.5, 1)));

  // Points of the unit circle, and one just off it.
  vertex a = at(1, 0), b = at(0, 1), c = at(-1, 0), d = at(0.6, -0.8);
  vertex e = at(0.6, -0.81), m = at(0, 0);
  EXPECT_TRUE(fourvoncp(&a, &b, &c, &d));
  EXPECT_FALSE(fourvoncp(&a, &b, &c, &e));
  EXPECT_FALSE(fourvoncp(&a, &m, &c, &d));  // the first three collinear

  // 0, 1/3, 1 and -1 on the x axis: (A, C; B, D) is harmonic.
  vertex h0 = at(0, 0), h1 = at(1.0 / 3, 0), h2 = at(1, 0), h3 = at(-1, 0);
  EXPECT_EQ(harmonicv(&h0, &h1, &h2, &h3), 1);
  EXPECT_EQ(harmonicv(&h0, &h2, &h1, &h3), 3);  // AC.BD = AD.BC
  EXPECT_EQ(harmonicv(&h0, &h3, &h2, &h1), 1);
  h3.x = -1.1;
  EXPECT_EQ(harmonicv(&h0, &h1, &h2, &h3), 0);

  // Which products agree: 1 for ab = cd, 2 for ac = bd, 3 for ad = bc; the
  // four-term test takes the first that holds, the area ratio the last.
  // Products of ordinary size differ by less than 1e-5; larger ones by
  // less than 1e-5 of themselves (a point far off makes them huge).
  const struct {
    double a, b, c, d;
    int first, last;
  } products[] = {{2, 3, 1, 6, 1, 1},
                  {2, 1, 3, 6, 2, 2},
                  {2, 1, 6, 3, 3, 3},
                  {2, 1, 6, 4, 0, 0},
                  {1, 1, 1, 1, 1, 3},
                  {0.2, 3, 0.1, 6 + 5e-5, 1, 1},
                  {0.2, 3, 0.1, 6 + 2e-4, 0, 0},
                  {2e4, 3e4, 1e4, 6e4 * (1 + 5e-6), 1, 1},
                  {2e4, 3e4, 1e4, 6e4 * (1 + 2e-5), 0, 0}};
  for (const auto& p : products) {
    EXPECT_EQ(goodratio4(p.a, p.b, p.c, p.d), p.first) << p.a << " " << p.d;
    EXPECT_EQ(arearatio(p.a, p.b, p.c, p.d), p.last) << p.a << " " << p.d;
  }
  // a^2 = bc, b^2 = ac, c^2 = ab.
  const double means[][4] = {
      {2, 1, 4, 1}, {1, 2, 4, 2}, {1, 4, 2, 3}, {1, 5, 2, 0}};
  for (const auto& m : means)
    EXPECT_EQ(goodratio3(m[0], m[1], m[2]), m[3]) << m[0] << m[1] << m[2];
}

TEST_F(Relations, DefinitionTests) {
  vertex* a = pt(0, 0);
  vertex* b = pt(2, 0);
  line* ab = ln(L_VV, a, b);
  vertex* m = pt(1, 0, V_VVMID, a, b);
  vertex* p = pt(0.5, 0, VONL, ab);
  vertex* c = pt(0, 1);
  line* par = ln(L_VLPAR, c, ab);
  line* perp = ln(L_VLPERP, c, ab);
  vertex* x = pt(0, 0, V_LL, par, perp);
  // m has both ends on ab; x is on both lines it was cut from.
  const std::pair<vertex*, line*> onl[] = {
      {a, ab}, {b, ab}, {m, ab}, {p, ab}, {c, par}, {x, par}, {x, perp}};
  for (auto [v, l] : onl) EXPECT_TRUE(vonldef(v, l)) << v->label;
  EXPECT_FALSE(vonldef(c, ab));
  EXPECT_FALSE(vonldef(m, par));
  EXPECT_TRUE(lpardef(par, ab));
  EXPECT_TRUE(lpardef(ab, par));
  EXPECT_FALSE(lpardef(perp, ab));
  EXPECT_TRUE(lperpdef(ab, perp));
  EXPECT_TRUE(threevonldef(b, m, a));
  EXPECT_FALSE(threevonldef(a, b, p));

  circle* k = circ(C_VV, 0, 0, 2, {a, b});
  vertex* on = pt(0, 2, VONC, k);
  circle* k3 = circ(C_VVV, 0, 0, 1, {a, b, c});
  EXPECT_TRUE(voncdef(b, k));
  EXPECT_FALSE(voncdef(a, k));  // the centre
  EXPECT_TRUE(voncdef(on, k));
  EXPECT_TRUE(voncdef(c, k3));
  EXPECT_FALSE(voncdef(on, k3));

  // [A M] = [M B] for the midpoint; [A B] = [A ON] for a point on the
  // circle centred at A through B.
  vertlist = {a, b, m, on};
  segmentlist = {{{0, 2}, 0}, {{2, 1}, 0}, {{0, 1}, 0}, {{3, 0}, 0}};
  EXPECT_TRUE(segequaldef(0, 1));
  EXPECT_TRUE(segequaldef(2, 3));
  EXPECT_FALSE(segequaldef(0, 2));
}

TEST_F(Relations, TruthsOfConstructionAreNotReported) {
  vertex* a = pt(0, 0);
  vertex* b = pt(2, 0);
  ln(L_VV, a, b);
  pt(1, 0, V_VVMID, a, b);
  begindiagramtest();
  EXPECT_EQ(segmentlist.size(), 3u);
  EXPECT_EQ(body(endreport()), "");  // neither collinear nor equal halves

  // Two lines built parallel to a third are parallel to each other; each is
  // not reported parallel to the line it was built from. All are
  // horizontal, where a loose test of equal lines would hide the pair.
  resetall();
  line* base = ln(L_VV, pt(0, 0), pt(1, 0));
  setline(ln(L_VLPAR, pt(0.3, 1), base), 0, 1, -1);
  setline(ln(L_VLPAR, pt(0.7, 2), base), 0, 1, -2);
  pt(0.25, 0, VONL, base);
  begindiagramtest();
  EXPECT_EQ(body(endreport()), "Parallel lines:\n    (l2) (l3) \n");
}

TEST_F(Relations, UndefinedObjectsTakeNoPart) {
  // X is the common direction of two parallel lines: every segment ending
  // there has the sentinel length, so [A X] and [B X] would "agree".
  vertex* a = pt(0, 0);
  vertex* x = pt(1, 0);
  x->w = 0;
  ln(L_VV, a, x);
  ln(L_VV, pt(0, 1), x);
  vertex* u = pt(0.3, 0.2);
  u->valid = 0;
  line* undefinedline = ln(L_VV, u, pt(0.7, 0.9));
  undefinedline->valid = 0;
  circle* flat = circ(C_VVV, 1, 1, 1e30);
  flat->center.w = 0;
  line* nodirection = ln(L_VLPAR, a, nullptr);
  setline(nodirection, 0, 0, 0);
  for (primitive* p : std::initializer_list<primitive*>{x, u, undefinedline,
                                                        flat, nodirection})
    EXPECT_FALSE(shown(p)) << p->type;
  EXPECT_TRUE(shown(a));
  begindiagramtest();
  EXPECT_TRUE(segmentlist.empty());
  EXPECT_EQ(body(endreport()), "");
  // The invisible colour takes no part either, unless it is being shown.
  a->color = COLOR_INVISIBLE;
  EXPECT_FALSE(shown(a));
  showinvisible = 1;
  EXPECT_TRUE(shown(a));
}

TEST_F(Relations, AFailureInOneFrameIsFinal) {
  pt(0, 0);
  pt(1, 1);
  vertex* c = pt(2, 2);
  begindiagramtest();
  ASSERT_EQ(threevonl.size(), 1u);
  testlist();
  c->y = 2.5;
  testlist();
  c->y = 2;
  testlist();
  EXPECT_EQ(body(endreport()), "");
  EXPECT_FALSE(testingdiagram);

  begindiagramtest();
  testlist();
  EXPECT_EQ(body(endreport()), "Points on a line:\n    A  B  C  \n");
}

TEST_F(Relations, GroupsAndHeadings) {
  std::vector<vertex*> v = row(8);
  // Walked from the front: the last tuple made seeds the first group.
  addcand(threevonl, 0, 1, 2);
  addcand(threevonl, 0, 1, 3);
  addcand(threevonl, 4, 5, 6);
  addcand(fourvonc, 0, 1, 2, 3);
  addcand(fourvonc, 1, 2, 3, 4);
  addcand(fourvonc, 2, 3, 4, 5);
  addcand(fourvonc, 3, 4, 5, 6);
  addcand(fourvonc, 0, 1, 2, 7);
  fourvonc[4].alive = 0;
  EXPECT_EQ(report(), R.at("points"));

  // Three mutually parallel lines make one group; two separate pairs two.
  linelist.clear();
  for (int i = 0; i < 7; i++) linelist.push_back(ln(L_VV, v[i], v[i + 1]));
  for (int i : {0, 1, 3, 5}) addcand(speciallines, i, i + 1, 0, 0, 1);
  addcand(speciallines, 0, 5, 0, 0, 2);
  EXPECT_EQ(report(), R.at("lines"));

  // A right angle found at the start keeps its heading when it dies.
  anglelist = {{{0, 1, 2}, 0}};
  addcand(righta, 0);
  righta[0].alive = 0;
  EXPECT_EQ(report(), "Right angles:\n");
  addcand(righta, 0);
  EXPECT_EQ(report(), "Right angles:\n    (A B C) \n");
}

TEST_F(Relations, SupplementaryAndComplementarySplit) {
  row(9);
  // One angle of 60 degrees supplementary to two of 120 degrees.
  anglelist = {{{0, 1, 2}, 0.5}, {{3, 4, 5}, -0.5}, {{6, 7, 8}, -0.5}};
  addcand(specialangles, 0, 1, 0, 0, 2);
  addcand(specialangles, 0, 2, 0, 0, 2);
  addcand(specialangles, 1, 2, 0, 0, 3);
  EXPECT_EQ(report(), R.at("one supplementary to two"));
  // Two equal angles first, then the one they are supplementary to.
  anglelist = {{{0, 1, 2}, 0.5}, {{3, 4, 5}, 0.5}, {{6, 7, 8}, -0.5}};
  addcand(specialangles, 0, 2, 0, 0, 2);
  addcand(specialangles, 1, 2, 0, 0, 2);
  EXPECT_EQ(report(), R.at("two supplementary to one"));
  // 30 degrees complementary to two angles of 60 degrees.
  anglelist = {
      {{0, 1, 2}, std::sqrt(0.75)}, {{3, 4, 5}, 0.5}, {{6, 7, 8}, 0.5}};
  addcand(specialangles, 0, 1, 0, 0, 1);
  addcand(specialangles, 0, 2, 0, 0, 1);
  EXPECT_EQ(report(), R.at("complementary"));
}

TEST_F(Relations, ConcurrentCirclesGroupByTheirPoint) {
  typedef std::pair<double, double> xy;
  const struct {
    std::vector<xy> centres;  // unit circles
    std::vector<std::vector<int>> triples;
    const char* report;
  } rows[] = {
      // Four circles through (-35, -35) and four through (300, 250): far
      // from the origin, each set is still one group.
      {{{-36, -35},
        {-34, -35},
        {-35, -34},
        {-35, -36},
        {299, 250},
        {301, 250},
        {300, 251},
        {300, 249}},
       {{0, 1, 2}, {0, 1, 3}, {4, 5, 6}, {4, 5, 7}},
       "Concurrent circles:\n    c5 c6 c7 c8 \n"
       "Concurrent circles:\n    c1 c2 c3 c4 \n"},
      // c1 and c2 meet at (1, 0) and (0, 1), whose coordinates have the
      // same sum; c3 passes through the first only, c4 the second only.
      {{{0, 0}, {1, 1}, {2, 0}, {0, 2}},
       {{0, 1, 2}, {0, 1, 3}},
       "Concurrent circles:\n    c1 c2 c4 \n"
       "Concurrent circles:\n    c1 c2 c3 \n"},
  };
  for (const auto& r : rows) {
    resetall();
    for (auto [x, y] : r.centres) circlist.push_back(circ(C_VF, x, y, 1));
    for (const auto& t : r.triples) addcand(threecircles, t[0], t[1], t[2]);
    EXPECT_EQ(report(), r.report);
  }
}

TEST_F(Relations, MoreThanFiveThousandItems) {
  std::vector<vertex*> owned;
  for (int i = 0; i < 5010; i++) {
    owned.push_back(new vertex);
    owned.back()->label = strdup(("P" + std::to_string(i)).c_str());
  }
  vertlist = owned;
  addcand(threevonl, 5001, 5002, 5003);
  addcand(threevonl, 5002, 5003, 5004);
  addcand(threevonl, 1, 2, 3);
  addcand(threevonl, 4999, 5000, 5009);
  EXPECT_EQ(report(), R.at("five thousand"));
  vertlist.clear();
  for (vertex* v : owned) destroyprimitive(v);
}

TEST_F(Relations, SingleLineSections) {
  std::vector<vertex*> v = row(6);
  // 0, 1/3, 1, -1 on the x axis, in the file order A B C D.
  v[1]->x = 1.0 / 3, v[2]->x = 1, v[3]->x = -1;
  circlist = {circ(C_VF, 0, 0, 1)};
  addcand(harmonic, 0, 1, 2, 3, 1);
  addcand(inverselist, 4, 5, 0);
  EXPECT_EQ(report(), R.at("harmonic and inverse"));
  // A harmonic set that no longer holds at the end writes nothing.
  v[3]->x = -1.2;
  addcand(harmonic, 0, 1, 2, 3, 1);
  EXPECT_EQ(report(), "");
}

TEST_F(Relations, ProductsAndTheirTrivialCases) {
  row(8);
  // Squared lengths 1, 2, 3, 6 and 4.
  segmentlist = {
      {{0, 1}, 1}, {{2, 3}, 2}, {{4, 5}, 3}, {{6, 7}, 6}, {{0, 2}, 4}};
  addcand(quadseglist, 0, 3, 1, 2, 1);  // 1 * 6 = 2 * 3
  addcand(quadseglist, 0, 1, 0, 1, 1);  // s1 = s3 and s2 = s4: trivial
  addcand(tripseglist, 1, 0, 4, 0, 1);  // 2 * 2 = 1 * 4
  EXPECT_EQ(report(), R.at("ratios"));
  trianglelist = {{{0, 1, 2}, 1},
                  {{1, 2, 3}, 2},
                  {{2, 3, 4}, 3},
                  {{3, 4, 5}, 6},
                  {{4, 5, 6}, 1}};
  addcand(trianglepairlist, 0, 4);
  addcand(trianglequadlist, 0, 1, 2, 3, 3);  // 1 * 6 = 2 * 3, mode 3
  addcand(trianglequadlist, 0, 1, 4, 1, 2);  // a1 = a3, a2 = a4: kept
  addcand(trianglequadlist, 0, 1, 1, 4, 1);  // a1 = a4, a2 = a3: trivial
  EXPECT_EQ(report(), R.at("triangle areas"));
}

TEST_F(Relations, ReportFileLocation) {
  setenv("HOME", "/home/someone", 1);
  const struct {
    const char *diagram, *file;
  } rows[] = {{"/x/y/d.T", "/x/y/relations.txt"},
              {"c:\\x\\d.T", "c:\\x\\relations.txt"},
              {"d.T", "relations.txt"},
              {nullptr, "/home/someone/Desktop/relations.txt"}};
  char buf[400];
  for (const auto& r : rows) {
    ASSERT_TRUE(relationsfilename(r.diagram, buf, sizeof buf)) << r.file;
    EXPECT_STREQ(buf, r.file);
  }
  EXPECT_FALSE(relationsfilename("/a/very/long/path/d.T", buf, 10));

  // Unwritable: the alert, and nothing shown.
  static std::string shown, diagram;
  showrelationshook = [](const char* t, const char*) { shown = t; };
  currentfilehook = []() -> const char* { return diagram.c_str(); };
  diagram = "/nonexistent-dir/x/d.T";
  pt(0, 0);
  begindiagramtest();
  enddiagramtest();
  EXPECT_EQ(langtest::alerts(),
            std::vector<std::string>{"Can't open relations file."});
  EXPECT_EQ(shown, "");

  // Writable: the file is written and its text shown (in a folder of its
  // own, since the report's name is fixed).
  langtest::scratch tmp;
  diagram = tmp.dir + "/d.T";
  begindiagramtest();
  enddiagramtest();
  EXPECT_EQ(shown, "This is file: " + tmp.dir + "/relations.txt\n\n");
  EXPECT_TRUE(std::filesystem::exists(tmp.dir + "/relations.txt"));
}

std::vector<int> progress;
int endedwhilebuilding;  // what enddiagramtest left of the flag

TEST_F(Relations, StartingATestReportsItsProgress) {
  // Twelve points on a circle of radius 1: every four are concyclic, so
  // the concyclic step alone finds C(12,4) = 495 candidates.
  for (int k = 0; k < 12; k++)
    pt(std::cos(k * M_PI / 6), std::sin(k * M_PI / 6));
  progress.clear();
  endedwhilebuilding = 0;
  testprogresshook = [](int percent) {
    progress.push_back(percent);
    // The window lets events through here: End Test or a redraw may come.
    enddiagramtest();
    testlist();
    endedwhilebuilding = testingdiagram;
  };
  begindiagramtest();
  testprogresshook = nullptr;
  ASSERT_GE(progress.size(), 12u);
  EXPECT_EQ(progress.front(), 0);
  EXPECT_EQ(progress.back(), 100);
  int between = 0;
  for (size_t i = 1; i < progress.size(); i++) {
    EXPECT_LE(progress[i - 1], progress[i]) << i;
    between += progress[i] > 0 && progress[i] < 100;
  }
  EXPECT_GE(between, 10);
  // End Test asked for half-way was ignored; the test runs on whole.
  EXPECT_EQ(endedwhilebuilding, 1);
  EXPECT_EQ(testingdiagram, 1);
  EXPECT_EQ(fourvonc.size(), 495u);
  EXPECT_NE(endreport(), "");
  EXPECT_EQ(testingdiagram, 0);
}

}  // namespace
