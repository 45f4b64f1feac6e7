// Classical configurations written in the diagram language, sampled and
// reported; and the two command-line verbs of the relation finder.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "langtest.h"
#include "relations/finder.h"
#include "relations/sampler.h"
#include "relations_helpers.h"

namespace {

struct LanguageRelations : langtest::Lang {};

// Reads the diagram, samples it as the command line does, and returns the
// report without its first lines.
std::string relationsof(const std::string& text, int samples = 200) {
  EXPECT_EQ(langtest::readtext(".geometry \"version 0.65\";\n" + text), 1)
      << langtest::firstalert();
  sampletest(samples, 0.05, 1);
  return relhelp::body(relhelp::endreport());
}

int contains(const std::string& s, const std::string& part) {
  return s.find(part) != std::string::npos;
}

const char* const TRIANGLE =
    "A = .free(-0.4, -0.3, \"A\");\n"
    "B = .free(0.6, -0.25, \"B\");\n"
    "C = .free(0.05, 0.5, \"C\");\n"
    "a = .l.vv(B, C);\n"
    "b = .l.vv(C, A);\n"
    "c = .l.vv(A, B);\n";

TEST_F(LanguageRelations, ClassicalTheorems) {
  // The altitudes of a triangle meet in one point.
  std::string alt = std::string(TRIANGLE) +
                    "ha = .l.vlperp(A, a);\n"
                    "hb = .l.vlperp(B, b);\n"
                    "hc = .l.vlperp(C, c);\n";
  EXPECT_EQ(relationsof(alt), "Concurrent lines:\n    (ha) (hb) (hc) \n");

  // Midpoints of the sides and feet of the altitudes: the nine-point
  // circle.
  std::string nine = alt +
                     "Ma = .v.vvmid(B, C, \"Ma\");\n"
                     "Mb = .v.vvmid(C, A, \"Mb\");\n"
                     "Mc = .v.vvmid(A, B, \"Mc\");\n"
                     "Ha = .v.ll(ha, a, \"Ha\");\n"
                     "Hb = .v.ll(hb, b, \"Hb\");\n"
                     "Hc = .v.ll(hc, c, \"Hc\");\n";
  std::string rep = relationsof(nine);
  EXPECT_TRUE(
      contains(rep, "Points on a circle:\n    Ma  Mb  Mc  Ha  Hb  Hc  \n"))
      << rep;

  // Two lines each perpendicular to a third are parallel.
  EXPECT_EQ(relationsof("P = .free(-0.5, -0.1, \"P\");\n"
                        "Q = .free(0.5, 0.2, \"Q\");\n"
                        "base = .l.vv(P, Q);\n"
                        "R = .free(-0.2, 0.5, \"R\");\n"
                        "S = .free(0.3, -0.6, \"S\");\n"
                        "p1 = .l.vlperp(R, base);\n"
                        "p2 = .l.vlperp(S, base);\n"),
            "Parallel lines:\n    (p1) (p2) \n");

  // The chord of contact meets the line to the centre in the inverse.
  rep = relationsof(
      "O = .free(0, 0, \"O\");\n"
      "R = .free(0.4, 0.1, .nomark);\n"
      "k = .c.vv(O, R);\n"
      "P = .free(0.9, 0.35, \"P\");\n"
      "t1 = .l.vc(P, k, 1);\n"
      "t2 = .l.vc(P, k, 2);\n"
      "T1 = .v.lc(t1, k, 1, \"T1\");\n"
      "T2 = .v.lc(t2, k, 1, \"T2\");\n"
      "chord = .l.vv(T1, T2);\n"
      "op = .l.vv(O, P);\n"
      "X = .v.ll(chord, op, \"X\");\n");
  EXPECT_TRUE(
      contains(rep, "Points P and X are inverse relative to circle k.\n"))
      << rep;

  // A harmonic fourth point built as such.
  rep = relationsof(
      "A = .free(-0.5, -0.2, \"A\");\n"
      "B = .free(0.5, 0.3, \"B\");\n"
      "l = .l.vv(A, B);\n"
      "C = .vonl(l, -0.1, 0, \"C\");\n"
      "D = .v.vvvharmonic(A, C, B, \"D\");\n");
  EXPECT_TRUE(contains(rep, "Points [A B, C D] form an harmonic set.\n"))
      << rep;
}

TEST_F(LanguageRelations, AccidentsOfTheFirstPositionDie) {
  const char* iso =
      "A = .free(-0.5, 0, \"A\");\n"
      "B = .free(0.5, 0, \"B\");\n"
      "C = .free(0, 0.7, \"C\");\n"
      "c = .l.vv(A, B);\n"
      "a = .l.vv(B, C);\n"
      "b = .l.vv(C, A);\n";
  std::string first = relationsof(iso, 0);
  EXPECT_TRUE(contains(first, "Equal length segments:\n    [B C] [A C] \n"))
      << first;
  EXPECT_EQ(relationsof(iso), "");
}

// The command line: runs tessarin-cli with the arguments, returns its
// standard output and sets *status to its exit status.
std::string cli(const std::string& args, int* status) {
  std::string cmd = std::string(TESSARIN_BINARY_DIR) + "/tessarin-cli " + args +
                    " 2>" + testing::TempDir() + "/cli-stderr";
  FILE* p = popen(cmd.c_str(), "r");
  std::string out;
  char buf[4096];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
  int st = pclose(p);
  *status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
  return out;
}

std::string clierr() {
  std::ifstream f(testing::TempDir() + "/cli-stderr");
  std::stringstream s;
  s << f.rdbuf();
  return s.str();
}

std::string writefile(const std::string& name, const std::string& text) {
  std::string path = testing::TempDir() + "/" + name;
  std::ofstream(path) << text;
  return path;
}

TEST_F(LanguageRelations, CommandLine) {
  std::string diagram = writefile("alt.T", ".geometry \"version 0.65\";\n" +
                                               std::string(TRIANGLE) +
                                               "ha = .l.vlperp(A, a);\n"
                                               "hb = .l.vlperp(B, b);\n"
                                               "hc = .l.vlperp(C, c);\n");
  int st;
  std::string rep = cli("relations " + diagram, &st);
  EXPECT_EQ(st, 0) << clierr();
  EXPECT_EQ(rep, "This is file: -\n\nConcurrent lines:\n    (ha) (hb) (hc) \n");
  // The same seed gives the same report; a bigger step and another seed
  // still keep the theorem.
  EXPECT_EQ(cli("relations " + diagram + " --samples 50 --seed 9", &st),
            cli("relations " + diagram + " --samples 50 --seed 9", &st));
  EXPECT_EQ(cli("relations " + diagram + " --step 0.2 --seed 3", &st), rep);

  std::string out = testing::TempDir() + "/rel-out.txt";
  EXPECT_EQ(cli("relations " + diagram + " -o " + out, &st), "");
  EXPECT_EQ(st, 0);
  std::ifstream f(out);
  std::stringstream s;
  s << f.rdbuf();
  EXPECT_EQ(s.str(), "This is file: " + out +
                         "\n\nConcurrent lines:\n    (ha) (hb) (hc) \n");

  cli("relations " + diagram + " -o /nonexistent-dir/r.txt", &st);
  EXPECT_EQ(st, 1);
  EXPECT_EQ(clierr(), "Can't open relations file.\n");
  for (const char* bad : {"--samples -3", "--samples x", "--step -1",
                          "--step nan", "--seed -1", "--bogus"}) {
    cli("relations " + diagram + " " + bad, &st);
    EXPECT_EQ(st, 2) << bad;
    EXPECT_EQ(clierr(),
              "usage: tessarin-cli relations FILE [--samples N] [--step S] "
              "[--seed K] [-o OUT]\n")
        << bad;
  }
  cli("relations /nonexistent-dir/x.T", &st);
  EXPECT_EQ(st, 2);

  EXPECT_EQ(cli("describe " + diagram + " A", &st), "\"A\": free point\n");
  EXPECT_EQ(cli("describe " + diagram + " ha", &st),
            "(ha): line through \"A\" perpendicular to (a)\n");
  EXPECT_EQ(cli("describe " + diagram + " Z", &st), "");
  EXPECT_EQ(st, 1);
  EXPECT_EQ(clierr(), "No primitive named Z\n");
  cli("describe " + diagram, &st);
  EXPECT_EQ(st, 2);
}

}  // namespace
