// Classical configurations written in the diagram language, sampled and
// reported.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "langtest.h"
#include "relations/finder.h"
#include "relations/sampler.h"
#include "relations_helpers.h"

namespace {

struct LanguageRelations : langtest::Lang {};

// Reads the diagram, samples it as the command line does, and returns the
// report without its first lines.
std::string relationsof(const std::string& text) {
  EXPECT_EQ(langtest::readtext(".geometry \"version 0.65\";\n" + text), 1)
      << langtest::firstalert();
  sampletest(200, 0.05, 1);
  return relhelp::body(relhelp::endreport());
}

// Theorems whose relation is built from definitions alone; the classical
// ones, and traps that hold only where they start, are in the evaluation
// set (tests/data/theorems).
TEST_F(LanguageRelations, ConsequencesOfDefinitions) {
  const struct {
    const char *diagram, *found;
  } rows[] = {
      // Two lines each perpendicular to a third are parallel.
      {"P = .free(-0.5, -0.1, \"P\");\nQ = .free(0.5, 0.2, \"Q\");\n"
       "base = .l.vv(P, Q);\n"
       "R = .free(-0.2, 0.5, \"R\");\nS = .free(0.3, -0.6, \"S\");\n"
       "p1 = .l.vlperp(R, base);\np2 = .l.vlperp(S, base);\n",
       "Parallel lines:\n    (p1) (p2) \n"},
      // A harmonic fourth point built as such.
      {"A = .free(-0.5, -0.2, \"A\");\nB = .free(0.5, 0.3, \"B\");\n"
       "l = .l.vv(A, B);\nC = .vonl(l, -0.1, 0, \"C\");\n"
       "D = .v.vvvharmonic(A, C, B, \"D\");\n",
       "Points [A B, C D] form an harmonic set.\n"},
  };
  for (const auto& r : rows) {
    std::string rep = relationsof(r.diagram);
    EXPECT_NE(rep.find(r.found), std::string::npos) << rep;
  }
}

}  // namespace
