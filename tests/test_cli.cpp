// tessarin-cli: the exit status and output of its verbs, run as the user
// runs them.
#include <glob.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "tests/langtest.h"

namespace {

const std::string CLI = std::string(TESSARIN_BINARY_DIR) + "/tessarin-cli";
// Each test has a folder of its own: ctest runs them at the same time.
std::string TMP;

using langtest::slurp;

struct clirow {
  const char* file;  // written to TMP.T first, unless null
  std::string args;  // TMP stands for itself
  int status;
  std::string out, err;  // "*": anything
};

void runrows(const std::vector<clirow>& rows) {
  for (const clirow& r : rows) {
    if (r.file) std::ofstream(TMP + ".T") << r.file;
    std::string cmd =
        CLI + " " + r.args + " >" + TMP + ".out 2>" + TMP + ".err";
    int status = system(cmd.c_str());
    EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, r.status) << r.args;
    EXPECT_EQ(r.out == "*" ? r.out : slurp(TMP + ".out"), r.out) << r.args;
    EXPECT_EQ(r.err == "*" ? r.err : slurp(TMP + ".err"), r.err) << r.args;
  }
}

struct Cli : ::testing::Test {
  langtest::scratch tmp;
  void SetUp() override {
    if (access(CLI.c_str(), X_OK) != 0) GTEST_SKIP() << "no " << CLI;
    TMP = tmp.dir + "/cli";
  }
};

TEST_F(Cli, CheckReportsEachAlertOnItsOwnLine) {
  const std::string T = TMP + ".T";
  runrows({
      {"A = .free(0, 0);\nl = .l.vv(A, 3);\n", "check " + T, 1, "",
       "Line 2: Expected identifier\nLine 2: expected point\n"},
      {".geometry \"version 0.70\";\nx = 5;\n", "check " + T, 1, "",
       "Possible mismatch: file version: 0.70\nTessarin version: 0.65\n"
       "Line 2: Expected reserved word or macro id\n"},
      {"A = .free(0, 0);\n", "check " + T, 0, "", ""},
      {nullptr, "check /nonexistent.T", 2, "",
       "Couldn't open /nonexistent.T: No such file or directory\n"},
      {nullptr, "check", 2, "", "usage: tessarin-cli check FILE\n"},
      {nullptr, "frobnicate x", 2, "", "*"},
      {nullptr, "--help", 0, "*", ""},
  });
  std::string help = slurp(TMP + ".out");
  EXPECT_NE(help.find("check"), std::string::npos);
  EXPECT_NE(help.find("format"), std::string::npos);
}

TEST_F(Cli, FormatWritesTheDiagramText) {
  const std::string T = TMP + ".T";
  const std::string A =
      ".geometry \"version 0.65\";\nA = .free(0.123457, 2, .red);\n";
  runrows({
      {"A = .free(0.1234567, 2, .RED);\n", "format " + T, 0, A, ""},
      {nullptr, "format " + T + " -o " + TMP + ".out.T", 0, "", ""},
      {"A = .free(0, 0;\n", "format " + T, 1, "", "Line 1: bad properties\n"},
      {nullptr, "format", 2, "", "usage: tessarin-cli format FILE [-o OUT]\n"},
      {"A = .free(0, 0);\n", "format " + T + " -o /nonexistent/dir/x.T", 1, "",
       "can't write /nonexistent/dir/x.T: No such file or directory\n"},
  });
  EXPECT_EQ(slurp(TMP + ".out.T"), A);
}

TEST_F(Cli, ExportPicksTheFormatByExtension) {
  const std::string T = TMP + ".T";
  const std::string U =
      "usage: tessarin-cli export FILE -o OUT [--size WxH] [--dpi N] [--bw] "
      "[--transparent] [--show-invisible] [--standalone]\n";
  runrows({
      {"A = .free(0, 0, \"A\");\n", "export " + T + " -o " + TMP + ".doc", 2,
       "",
       "tessarin-cli: unknown format of '" + TMP +
           ".doc' (known: .svg, .pdf, .png, .tex, .tikz, .eps)\n" + U},
      {nullptr, "export " + T + " -o " + TMP + ".svg --size 300x200", 0, "",
       ""},
      {nullptr, "export " + T + " -o " + TMP + ".png --dpi 0", 2, "",
       "tessarin-cli: bad resolution '0' (1 to 2400 dpi)\n"},
      {nullptr, "export " + T + " -o " + TMP + ".png --dpi 72 --transparent", 0,
       "", ""},
      {nullptr, "export " + T + " -o /nonexistent/x.pdf", 1, "",
       "Couldn't write /nonexistent/x.pdf: No such file or directory\n"},
      {nullptr, "script " + T + " -o " + TMP + "f --format pdf", 0, "", ""},
      {nullptr, "script " + T + " --format gif", 2, "*", "*"},
  });
  EXPECT_NE(slurp(TMP + ".svg").find("width=\"300pt\" height=\"200pt\""),
            std::string::npos);
  // 400 x 450 points at 72 dpi: the PNG's header gives 400 x 450 pixels.
  std::string png = slurp(TMP + ".png");
  ASSERT_GT(png.size(), 24u);
  EXPECT_EQ((unsigned char)png[18] * 256 + (unsigned char)png[19], 400);
  EXPECT_EQ((unsigned char)png[22] * 256 + (unsigned char)png[23], 450);
  EXPECT_EQ(slurp(TMP + "f000.pdf").rfind("%PDF-", 0), 0u);
}

// A file that outgrows the system's size limit (as a full disk does) is
// reported; the signal the system sends would otherwise end the program
// with its temporary file left beside the target.
TEST_F(Cli, ExportBeyondTheFileSizeLimitIsReported) {
  const std::string T = TMP + ".T", P = TMP + ".pdf";
  std::ofstream(P) << "old";
  signal(SIGXFSZ, SIG_DFL);  // as a shell starts the program
  rlimit keep, small = {2000, 2000};
  getrlimit(RLIMIT_FSIZE, &keep);
  small.rlim_max = keep.rlim_max;
  setrlimit(RLIMIT_FSIZE, &small);
  runrows({{"A = .free(0, 0, \"A\");\n", "export " + T + " -o " + P, 1, "",
            "Couldn't write " + P + ": File too large\n"}});
  setrlimit(RLIMIT_FSIZE, &keep);
  EXPECT_EQ(slurp(P), "old");
  glob_t g;
  EXPECT_EQ(glob((P + ".*").c_str(), 0, nullptr, &g), GLOB_NOMATCH);
  globfree(&g);
}

TEST_F(Cli, FoldersAndFifosAreRefusedNotReadNorWaitedOn) {
  const std::string D = TMP + ".dir", F = TMP + ".fifo";
  ASSERT_EQ(mkdir(D.c_str(), 0700), 0);
  ASSERT_EQ(mkfifo(F.c_str(), 0600), 0);
  std::ofstream(TMP + ".out.T") << "kept\n";
  // `timeout` turns a hang into status 124.
  runrows({
      {nullptr, "format " + D + " -o " + TMP + ".out.T", 2, "",
       "Couldn't open " + D + ": Is a directory\n"},
      {nullptr, "check " + F, 2, "",
       "Couldn't open " + F + ": not a regular file\n"},
  });
  EXPECT_EQ(slurp(TMP + ".out.T"), "kept\n");
  int status =
      system(("timeout 10 " + CLI + " check " + F + " 2>/dev/null").c_str());
  EXPECT_EQ(WEXITSTATUS(status), 2);
}

// Five lines that are parallel where they start: ten candidate pairs.
const char* const PARALLELS =
    "A0 = .free(0, 0); B0 = .free(1, 0); l0 = .l.vv(A0, B0);\n"
    "A1 = .free(0, 0.1); B1 = .free(1, 0.1); l1 = .l.vv(A1, B1);\n"
    "A2 = .free(0, 0.2); B2 = .free(1, 0.2); l2 = .l.vv(A2, B2);\n"
    "A3 = .free(0, 0.3); B3 = .free(1, 0.3); l3 = .l.vv(A3, B3);\n"
    "A4 = .free(0, 0.4); B4 = .free(1, 0.4); l4 = .l.vv(A4, B4);\n";

TEST_F(Cli, RelationsReplaceTheReportOnlyWhenComplete) {
  const std::string T = TMP + ".T", O = TMP + ".out.T";
  std::ofstream(O) << "old report\n";
  runrows({
      {PARALLELS,
       "relations " + T + " --samples 5 -o " + O + " --max-candidates 3", 1, "",
       "The relation test found more than 3 candidate relations and "
       "stopped: try it with fewer objects, or with fewer layers shown.\n"},
  });
  EXPECT_EQ(slurp(O), "old report\n");
  runrows({{nullptr, "relations " + T + " --samples 5 -o " + O, 0, "", ""}});
  EXPECT_NE(slurp(O).find(O), std::string::npos) << slurp(O);
  // On a terminal (here the pseudo-terminal of `script`) the search shows
  // its progress on standard error; above, without one, it said nothing.
  std::string tty = "script -qec '" + CLI + " relations " + T +
                    " --samples 5 -o " + O + "' /dev/null 2>&1";
  if (system("script -V >/dev/null 2>&1") == 0) {
    std::string shown;
    FILE* p = popen(tty.c_str(), "r");
    ASSERT_NE(p, nullptr);
    char buf[256];
    while (fgets(buf, sizeof buf, p)) shown += buf;
    pclose(p);
    EXPECT_NE(shown.find("\rfinding relations: 100%"), std::string::npos)
        << shown;
  }
  EXPECT_EQ(system(("ls " + TMP + ".out.T.* 2>/dev/null").c_str()) == 0, false);
}

// The altitudes of a triangle: the one relation it has holds at every
// sample, whatever the seed and the step.
const char* const ALTITUDES =
    "A = .free(-0.4, -0.3, \"A\");\nB = .free(0.6, -0.25, \"B\");\n"
    "C = .free(0.05, 0.5, \"C\");\n"
    "a = .l.vv(B, C);\nb = .l.vv(C, A);\nc = .l.vv(A, B);\n"
    "ha = .l.vlperp(A, a);\nhb = .l.vlperp(B, b);\nhc = .l.vlperp(C, c);\n";

TEST_F(Cli, RelationsAndDescribe) {
  const std::string T = TMP + ".T", O = TMP + ".rel", rel = "relations " + T;
  const std::string found = "Concurrent lines:\n    (ha) (hb) (hc) \n";
  const std::string usage =
      "usage: tessarin-cli relations FILE [--samples N] [--step S] "
      "[--seed K] [-o OUT] [--max-candidates N] [--summary] [--json]\n";
  std::vector<clirow> rows = {
      {ALTITUDES, rel, 0, "This is file: -\n\n" + found, ""},
      {nullptr, rel + " --samples 50 --seed 9", 0,
       "This is file: -\n\n" + found, ""},
      {nullptr, rel + " --step 0.2 --seed 3", 0, "This is file: -\n\n" + found,
       ""},
      {nullptr, rel + " --summary", 0, "Summary: 1 of 1 relations\n\n" + found,
       ""},
      {nullptr, rel + " -o " + O, 0, "", ""},
      {nullptr, rel + " -o /nonexistent-dir/r.txt", 1, "",
       "can't write /nonexistent-dir/r.txt: No such file or directory\n"},
      {nullptr, "relations /nonexistent-dir/x.T", 2, "", "*"},
      {nullptr, "describe " + T + " A", 0, "\"A\": free point\n", ""},
      {nullptr, "describe " + T + " ha", 0,
       "(ha): line through \"A\" perpendicular to (a)\n", ""},
      {nullptr, "describe " + T + " Z", 1, "", "No primitive named Z\n"},
      {nullptr, "describe " + T, 2, "", "*"}};
  for (const char* bad : {"--samples -3", "--samples x", "--step -1",
                          "--step nan", "--seed -1", "--bogus"})
    rows.push_back({nullptr, rel + " " + bad, 2, "", usage});
  rows.push_back({nullptr, rel + " --json --summary", 0, "*", ""});
  runrows(rows);
  EXPECT_EQ(slurp(O), "This is file: " + O + "\n\n" + found);
  std::string json = slurp(TMP + ".out");
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
}

// Ten smear lines swept by a script of n + 1 frames: every frame repeats
// the whole trace so far, so the frames grow as the square of their count.
std::string sweep(int n) {
  std::string t = "t = .script(0, " + std::to_string(n) + ", 1);\n";
  for (int k = 1; k <= 10; k++) {
    std::string K = std::to_string(k);
    t += "A" + K + " = .free(0." + std::to_string(k - 1) + ", 0);\n";
    t += "P" + K + " = .v.vrotate(A" + K + ", t);\n";
    t += "l" + K + " = .l.vv(A" + K + ", P" + K + ", .smear);\n";
  }
  return t;
}

TEST_F(Cli, ScriptRefusesFramesAboveOneGigabyte) {
  const std::string T = TMP + ".T", F = TMP + "_f";
  // 201 frames, written: the sizes of the first and the last give the
  // straight line every frame's size lies on.
  runrows({{sweep(200).c_str(), "script " + T + " -o " + F, 0, "", ""}});
  struct stat first, last;
  ASSERT_EQ(stat((F + "000.eps").c_str(), &first), 0);
  ASSERT_EQ(stat((F + "200.eps").c_str(), &last), 0);
  double a = first.st_size, b = (double)(last.st_size - first.st_size) / 200;
  // 3001 frames: the sum of that line, about 2 GB, is refused unwritten.
  const int n = 3000;
  double expect = (n + 1) * a + b * n * (n + 1) / 2;
  EXPECT_EQ(system(("rm -f " + F + "*.eps").c_str()), 0);
  runrows({{sweep(n).c_str(), "script " + T + " -o " + F, 1, "", "*"}});
  std::string err = slurp(TMP + ".err");
  const std::string head = "tessarin-cli: the 3001 frames would take about ";
  ASSERT_EQ(err.rfind(head, 0), 0u) << err;
  double mb = atof(err.c_str() + head.size());
  EXPECT_NEAR(mb * 1e6, expect, 0.02 * expect) << err;
  EXPECT_NE(err.find("use --force"), std::string::npos) << err;
  EXPECT_NE(access((F + "000.eps").c_str(), F_OK), 0);
}

}  // namespace
