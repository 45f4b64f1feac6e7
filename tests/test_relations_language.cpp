// Classical configurations written in the diagram language, sampled and
// reported; and the two command-line verbs of the relation finder.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
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

const char* const ALTITUDES =
    "A = .free(-0.4, -0.3, \"A\");\n"
    "B = .free(0.6, -0.25, \"B\");\n"
    "C = .free(0.05, 0.5, \"C\");\n"
    "a = .l.vv(B, C);\nb = .l.vv(C, A);\nc = .l.vv(A, B);\n"
    "ha = .l.vlperp(A, a);\nhb = .l.vlperp(B, b);\nhc = .l.vlperp(C, c);\n";

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

using langtest::slurp;

// Names of this process's own, so that test runs side by side (two build
// folders, or two checkouts) do not write over each other's files.
std::string tempname(const char* name) {
  return testing::TempDir() + "/" + std::to_string(getpid()) + "-" + name;
}

const std::string errfile = tempname("cli-stderr");

// Runs tessarin-cli with the arguments; returns its standard output and
// sets *status to its exit status.
std::string cli(const std::string& args, int* status) {
  std::string cmd = std::string(TESSARIN_BINARY_DIR) + "/tessarin-cli " + args +
                    " 2>" + errfile;
  FILE* p = popen(cmd.c_str(), "r");
  std::string out;
  char buf[4096];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
  int st = pclose(p);
  *status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
  return out;
}

TEST_F(LanguageRelations, CommandLine) {
  std::string diagram = tempname("alt.T");
  std::ofstream(diagram) << ".geometry \"version 0.65\";\n" << ALTITUDES;
  const std::string found = "Concurrent lines:\n    (ha) (hb) (hc) \n";
  int st;
  std::string rel = "relations " + diagram;
  EXPECT_EQ(cli(rel, &st), "This is file: -\n\n" + found);
  EXPECT_EQ(st, 0) << slurp(errfile);
  // The same seed gives the same report; a bigger step and another seed
  // still keep the theorem.
  EXPECT_EQ(cli(rel + " --samples 50 --seed 9", &st),
            cli(rel + " --samples 50 --seed 9", &st));
  EXPECT_EQ(cli(rel + " --step 0.2 --seed 3", &st),
            "This is file: -\n\n" + found);

  // The summary, and either form as JSON.
  EXPECT_EQ(cli(rel + " --summary", &st),
            "Summary: 1 of 1 relations\n\n" + found);
  std::string json = cli(rel + " --json --summary", &st);
  EXPECT_EQ(json.rfind("{\"file\": \"-\", \"form\": \"summary\", "
                       "\"relations\": 1, \"summarized\": 1,",
                       0),
            0u)
      << json;
  EXPECT_NE(json.find("\"objects\": [{\"id\": \"ha\", \"label\": null}, "
                      "{\"id\": \"hb\", \"label\": null}, {\"id\": \"hc\", "
                      "\"label\": null}]"),
            std::string::npos)
      << json;

  std::string out = tempname("rel-out.txt");
  EXPECT_EQ(cli(rel + " -o " + out, &st), "");
  EXPECT_EQ(st, 0);
  EXPECT_EQ(slurp(out), "This is file: " + out + "\n\n" + found);

  cli(rel + " -o /nonexistent-dir/r.txt", &st);
  EXPECT_EQ(st, 1);
  EXPECT_EQ(slurp(errfile),
            "can't write /nonexistent-dir/r.txt: No such file or directory\n");
  for (const char* bad : {"--samples -3", "--samples x", "--step -1",
                          "--step nan", "--seed -1", "--bogus"}) {
    cli(rel + " " + bad, &st);
    EXPECT_EQ(st, 2) << bad;
    EXPECT_EQ(slurp(errfile),
              "usage: tessarin-cli relations FILE [--samples N] [--step S] "
              "[--seed K] [-o OUT] [--max-candidates N] [--summary] [--json]\n")
        << bad;
  }
  cli("relations /nonexistent-dir/x.T", &st);
  EXPECT_EQ(st, 2);

  std::string desc = "describe " + diagram;
  EXPECT_EQ(cli(desc + " A", &st), "\"A\": free point\n");
  EXPECT_EQ(cli(desc + " ha", &st),
            "(ha): line through \"A\" perpendicular to (a)\n");
  EXPECT_EQ(cli(desc + " Z", &st), "");
  EXPECT_EQ(st, 1);
  EXPECT_EQ(slurp(errfile), "No primitive named Z\n");
  cli(desc, &st);
  EXPECT_EQ(st, 2);
}

}  // namespace
