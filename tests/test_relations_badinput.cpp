// Diagrams the relation finder cannot do much with: no points, nothing
// defined, nothing defined once it moves, far too many points, and a test
// ended before anything moved. Each ends in a clear message or an empty
// report, and quickly.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/recompute.h"
#include "langtest.h"
#include "relations/finder.h"
#include "relations/sampler.h"
#include "relations_helpers.h"

namespace {

std::vector<std::string> messages;

struct RelationBadInput : langtest::Lang {
  void SetUp() override {
    langtest::Lang::SetUp();
    messages.clear();
    messagehook = [](const char* text, double) { messages.push_back(text); };
  }
};

const std::string HEADER = ".geometry \"version 0.65\";\n";

// Circles of radius 0.2 about (-0.5, 0) and (0.5, 0): they never meet, so
// everything built on their crossings is undefined from the start.
const char* const DISJOINT =
    "O1 = .free(-0.5, 0); R1 = .free(-0.3, 0); k1 = .c.vv(O1, R1);\n"
    "O2 = .free(0.5, 0); R2 = .free(0.3, 0); k2 = .c.vv(O2, R2);\n"
    "P = .v.cc(k1, k2, 1); Q = .v.cc(k1, k2, 2); l = .l.vv(P, Q);\n"
    "M = .v.vvmid(P, Q);\n";

// P needs the radius OF to be at least 0.5 (the line y = 0.5 touches the
// circle), Q needs it at most 0.5 (k1 touches it from inside): both exist
// where F starts and nowhere else F can be moved to.
const char* const PINCHED =
    "O2 = .pinned(0, 0); F = .free(0.5, 0); k2 = .c.vv(O2, F);\n"
    "U = .pinned(-1, 0.5); V = .pinned(1, 0.5); l = .l.vv(U, V);\n"
    "P = .v.lc(l, k2, 1); O1 = .pinned(0.25, 0); R1 = .pinned(0.5, 0);\n"
    "k1 = .c.vv(O1, R1); Q = .v.cc(k1, k2, 1); m = .l.vv(P, Q);\n";

// n points on one line, built on it or merely placed there.
std::string onaline(int n, int built) {
  std::string s = "A = .free(-1, 0); B = .free(1, 0.001); l = .l.vv(A, B);\n";
  for (int i = 0; i < n; i++) {
    double x = -1 + 2.0 * i / n;
    s += "P" + std::to_string(i) + (built ? " = .vonl(l, " : " = .free(") +
         std::to_string(x) + ", " + std::to_string(0.001 * x) + ");\n";
  }
  return s;
}

TEST_F(RelationBadInput, EmptyOrUndefinedDiagramsGiveEmptyReports) {
  for (const char* text : {"", "x = .f.rpn(1);\n", DISJOINT}) {
    ASSERT_EQ(langtest::readtext(HEADER + text), 1) << text;
    samplingresult r = sampletest(20, 0.05, 1);
    EXPECT_EQ(r.taken, 20) << text;
    EXPECT_EQ(relhelp::body(relhelp::endreport()), "") << text;
    EXPECT_TRUE(langtest::alerts().empty()) << text;
  }
}

TEST_F(RelationBadInput, NothingSampledIsSaid) {
  // Every draw away from the start undoes the diagram: each sample is
  // given up after its draws, and the test says it saw one position only.
  ASSERT_EQ(langtest::readtext(HEADER + PINCHED), 1);
  samplingresult r = sampletest(5, 0.05, 1);
  EXPECT_EQ(r.taken, 0);
  EXPECT_EQ(r.dropped, 5);
  EXPECT_EQ(movedsamples, 0);
  std::string shown;
  static std::string* into = &shown;
  showrelationshook = [](const char* text, const char*) { *into = text; };
  // The report is written beside the diagram, in a folder of its own.
  std::string dir = testing::TempDir() + "/relXXXXXX";
  ASSERT_NE(mkdtemp(&dir[0]), nullptr);
  static std::string diagram;
  diagram = dir + "/pinched.T";
  currentfilehook = [] { return diagram.c_str(); };
  enddiagramtest();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0],
            "The diagram did not move during the test, so the report shows "
            "what holds in this one position. Drag free points while testing "
            "to find what holds in every position.");
  EXPECT_NE(shown.find("Points on a line:"), std::string::npos) << shown;
  EXPECT_EQ(testingdiagram, 0);

  // End Test straight after Test Diagram, nothing moved: the same message.
  messages.clear();
  ASSERT_EQ(begindiagramtest(), 1);
  testlist();
  enddiagramtest();
  EXPECT_EQ(messages.size(), 1u);
  // One frame in another position is a sample: no message.
  messages.clear();
  ASSERT_EQ(begindiagramtest(), 1);
  vertex* f = (vertex*)langtest::named("F");
  f->x += 0.01;
  f->satisfied = 0;
  checkconstraints();
  testlist();
  EXPECT_EQ(movedsamples, 1);
  enddiagramtest();
  EXPECT_TRUE(messages.empty());
  EXPECT_TRUE(langtest::alerts().empty());
  remove((dir + "/relations.txt").c_str());
  rmdir(dir.c_str());
}

TEST_F(RelationBadInput, TooManyPointsOnOneLineAreRefusedAtOnce) {
  // 5,002 points on a line (A, B and 5,000 more): 5002 * 5001 / 2
  // segments when built on it; as free points, (5002^3 / 6) * 5002 / 4 =
  // 2.6e13 tuples to examine for concyclic points alone.
  const struct {
    int built;
    const char* reason;
  } rows[] = {{1, "12507501 segments along its lines"},
              {0, "about 2.6e+13 combinations of its objects to examine"}};
  for (const auto& row : rows) {
    langtest::alerts().clear();
    ASSERT_EQ(langtest::readtext(HEADER + onaline(5000, row.built)), 1);
    samplingresult r = sampletest(5, 0.05, 1);
    EXPECT_EQ(r.stopped, 1);
    EXPECT_EQ(testingdiagram, 0);
    ASSERT_EQ(langtest::alerts().size(), 1u);
    EXPECT_EQ(langtest::alerts()[0],
              std::string("The diagram is too large for the relation test (") +
                  row.reason +
                  "): try it with fewer objects, or with fewer layers shown.");
  }
}

}  // namespace
