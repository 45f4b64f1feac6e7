// The summary beside the relations report: what it leaves out (the
// construction's own relations, what follows from another entry), how it
// writes itself (text and JSON), and the worst misses kept per candidate,
// against values derived by hand and with mpmath.
#include <gtest/gtest.h>

#include <string>

#include "langtest.h"
#include "relations/finder.h"
#include "relations/report.h"
#include "relations/sampler.h"
#include "relations_helpers.h"

namespace {

struct Summary : langtest::Lang {};
const auto D = langtest::golden("summary_diagrams.txt");

// The diagram sampled as the command line does, ended in `form`.
std::string sampled(const std::string& text, int form) {
  EXPECT_EQ(langtest::readtext(".geometry \"version 0.65\";\n" + text), 1)
      << langtest::firstalert();
  sampletest(60, 0.05, 1);
  return relhelp::captured([&](FILE* f) { enddiagramtestas(f, "-", form); });
}

// Both forms of one diagram, sampled alike.
struct forms {
  std::string full, summary, json;
};
forms bothforms(const std::string& text) {
  forms f;
  f.full = sampled(text, 0);
  f.summary = sampled(text, REPORT_SUMMARY);
  f.json = sampled(text, REPORT_JSON);
  return f;
}

const auto count = langtest::occurrences;

TEST_F(Summary, WorstMissAgainstIndependentValues) {
  using relhelp::pt;
  // Values: mpmath at 30 digits. The sine of atan(0.001) between lines of
  // slopes 0 and 0.001; the cosine between slope 0 and a line 0.002 off
  // vertical; the determinant of (0,0), (1,0), (0.5,0.003) is 0.003;
  // 0.6^2 + 0.8001^2 - 1 = 1.6001e-4.
  vertex* o = pt(0, 0);
  vertex* x = pt(1, 0);
  vertex* y = pt(0, 1);
  vertex* z = pt(1, 1.001);
  vertex* u = pt(0.002, 1);
  vertex* c = pt(0.5, 0.003);
  vertex* d = pt(0.6, 0.8001);
  vertlist = {o, x, y, z, u, c, d};
  linelist = {relhelp::ln(L_VV, o, x), relhelp::ln(L_VV, y, z),
              relhelp::ln(L_VV, o, u)};
  segmentlist = {{{0, 1}, 0}, {{0, 6}, 0}};
  speciallines = {{{0, 1, 0, 0}, 1, 1}, {{0, 2, 0, 0}, 2, 1}};
  threevonl = {{{0, 1, 5, 0}, 0, 1}};
  specialsegments = {{{0, 1, 0, 0}, 0, 1}};
  measuredeviations();
  EXPECT_NEAR(speciallines[0].worst, 0.000999999500000374999687500273437,
              1e-15);
  EXPECT_NEAR(speciallines[1].worst, 0.0019999960000119999600001399995, 1e-15);
  EXPECT_NEAR(threevonl[0].worst, 0.003, 1e-15);
  EXPECT_NEAR(specialsegments[0].worst, 1.6001e-4, 1e-15);
  // A better frame keeps the worst; a worse one raises it (slope 0.0005
  // then 0.001 again; the sine of atan(0.0005) is 4.99999937500012e-4).
  z->y = 1.0005;
  relhelp::setline(linelist[1], y->y - z->y, z->x - y->x,
                   y->x * z->y - y->y * z->x);
  measuredeviations();
  EXPECT_NEAR(speciallines[0].worst, 0.000999999500000374999687500273437,
              1e-15);
  speciallines[0].worst = 0;
  measuredeviations();
  EXPECT_NEAR(speciallines[0].worst, 0.000499999937500011718747558594284,
              1e-15);
  freeall();
}

TEST_F(Summary, WhatTheConstructionSaysNeverAppears) {
  forms f = bothforms(D.at("built"));
  // The full report keeps them: parallels built on one line, and the
  // perpendiculars to them.
  EXPECT_NE(f.full.find("Parallel lines:\n    (p1) (p2) \n"), std::string::npos)
      << f.full;
  EXPECT_NE(f.full.find("Perpendicular lines:"), std::string::npos) << f.full;
  for (const char* never :
       {"Parallel lines:", "Perpendicular lines:", "Right angles:",
        "Equal angles:", "Supplementary angles:", "Complementary angles:"})
    EXPECT_EQ(f.summary.find(never), std::string::npos) << never << f.summary;
  EXPECT_EQ(count(f.json, "\"folded\": \"definition\""),
            count(f.json, "\"entry\": ") - count(f.json, "\"folded\": null"))
      << f.json;
}

// The feet of two altitudes and the two vertices they stand on lie on a
// circle; the inscribed angles of that circle follow from it.
TEST_F(Summary, AnglesFoldIntoTheCircleTheyStandOn) {
  forms f = bothforms(D.at("feet"));
  EXPECT_NE(f.summary.find("Points on a circle:\n    B  C  E  F  \n"),
            std::string::npos)
      << f.summary;
  EXPECT_EQ(f.summary.find("Equal angles:"), std::string::npos) << f.summary;
  // Each equal-angle entry is either built (the altitudes' right angles
  // with a common side) or follows from the circle, entry 2 here.
  size_t circle = f.json.find("\"kind\": \"concyclic points\"");
  ASSERT_NE(circle, std::string::npos) << f.json;
  std::string number = f.json.substr(f.json.rfind("\"entry\": ", circle) + 9);
  number = number.substr(0, number.find(','));
  int implied = count(f.json, "\"impliedby\": " + number + "}");
  EXPECT_GE(implied, 1) << f.json;
  EXPECT_EQ(count(f.json, "\"folded\": \"implied\""), implied) << f.json;
}

// Three lines from O cut by a base line and two lines built parallel to it:
// forty product lines in the full report, one in the summary.
TEST_F(Summary, SimilarTrianglesAppearOnce) {
  forms f = bothforms(D.at("pencil"));
  EXPECT_GE(count(f.full, "\n    ["), 30) << f.full;
  EXPECT_EQ(count(f.summary, "\n    ["), 1) << f.summary;
  EXPECT_EQ(f.summary.rfind("Summary: 1 of ", 0), 0u) << f.summary;
}

// Four lines and the circumcircles of the four triangles they make pass
// through one point.
TEST_F(Summary, CirclesThroughOnePointAreOneEntry) {
  forms f = bothforms(D.at("miquel"));
  EXPECT_EQ(count(f.summary, "Concurrent circles:"), 1) << f.summary;
  EXPECT_NE(f.summary.find("Concurrent circles:\n    c1 c2 c3 c4 \n"),
            std::string::npos)
      << f.summary;
  EXPECT_EQ(f.summary.find("Concurrent circles"), f.summary.find("\n\n") + 2)
      << "the most remarkable entry first\n"
      << f.summary;
}

TEST_F(Summary, FormsCountTheirEntries) {
  forms f = bothforms(D.at("feet"));
  // The full report is the same whether or not a summary is built.
  EXPECT_EQ(f.full, sampled(D.at("feet"), 0));
  int entries = count(f.json, "\"entry\": ");
  int kept = entries - count(f.json, "\"summary\": null");
  char head[64];
  snprintf(head, sizeof head, "Summary: %d of %d relations\n\n", kept, entries);
  EXPECT_EQ(f.summary.rfind(head, 0), 0u) << f.summary << f.json;
  char counts[64];
  snprintf(counts, sizeof counts, "\"relations\": %d, \"summarized\": %d",
           entries, kept);
  EXPECT_NE(f.json.find(counts), std::string::npos) << f.json;
  std::string summaryjson = sampled(D.at("feet"), REPORT_SUMMARY | REPORT_JSON);
  EXPECT_EQ(count(summaryjson, "\"entry\": "), kept) << summaryjson;
  for (int k = 1; k <= kept; k++)
    EXPECT_EQ(count(summaryjson, "\"summary\": " + std::to_string(k) + ","), 1)
        << k << summaryjson;
  // Nothing to report: the forms still say so.
  EXPECT_EQ(sampled("A = .free(0, 0);\n", REPORT_SUMMARY),
            "Summary: 0 of 0 relations\n\n");
  EXPECT_EQ(sampled("", REPORT_JSON),
            "{\"file\": \"-\", \"form\": \"full\", \"relations\": 0, "
            "\"summarized\": 0,\n \"entries\": [\n ]}\n");
}

}  // namespace
