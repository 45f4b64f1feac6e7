// tessarin-cli: the exit status and output of its verbs, run as the user
// runs them.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

const std::string CLI = std::string(TESSARIN_BINARY_DIR) + "/tessarin-cli";
// Each test has files of its own: ctest runs them at the same time.
std::string TMP;

std::string slurp(const std::string& path) {
  std::ifstream in(path);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

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
    if (r.out != "*") {
      EXPECT_EQ(slurp(TMP + ".out"), r.out) << r.args;
    }
    if (r.err != "*") {
      EXPECT_EQ(slurp(TMP + ".err"), r.err) << r.args;
    }
  }
}

struct Cli : ::testing::Test {
  void SetUp() override {
    if (access(CLI.c_str(), X_OK) != 0) GTEST_SKIP() << "no " << CLI;
    TMP = std::string(TESSARIN_BINARY_DIR) + "/clitest_" +
          ::testing::UnitTest::GetInstance()->current_test_info()->name();
  }
  void TearDown() override {
    for (const char* ext : {".T", ".out", ".err", ".out.T"})
      remove((TMP + ext).c_str());
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
       "Couldn't open /nonexistent.T\n"},
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
       "can't open /nonexistent/dir/x.T\n"},
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
      {nullptr, "export " + T + " -o " + TMP + ".svg --size 300x200", 0, "", ""},
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
  for (const char* ext : {".svg", ".png", "f000.pdf"}) remove((TMP + ext).c_str());
}

}  // namespace
