// tessarin-cli: the exit status and standard error of its verbs, run as the
// user runs them.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

namespace {

const std::string CLI = std::string(TESSARIN_BINARY_DIR) + "/tessarin-cli";
// Each test has files of its own: ctest runs them at the same time.
std::string TMP;

struct result {
  int status;
  std::string out, err;
};

std::string slurp(const std::string& path) {
  std::ifstream in(path);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

result run(const std::string& args) {
  std::string cmd = CLI + " " + args + " >" + TMP + ".out 2>" + TMP + ".err";
  int r = system(cmd.c_str());
  return {WIFEXITED(r) ? WEXITSTATUS(r) : -1, slurp(TMP + ".out"),
          slurp(TMP + ".err")};
}

void put(const std::string& path, const std::string& text) {
  std::ofstream(path) << text;
}

struct Cli : ::testing::Test {
  void SetUp() override {
    if (access(CLI.c_str(), X_OK) != 0) GTEST_SKIP() << "no " << CLI;
    TMP = std::string(TESSARIN_BINARY_DIR) + "/clitest_" +
          ::testing::UnitTest::GetInstance()->current_test_info()->name();
  }
};

TEST_F(Cli, CheckReportsEachAlertOnItsOwnLine) {
  put(TMP + ".T", "A = .free(0, 0);\nl = .l.vv(A, 3);\n");
  result r = run("check " + TMP + ".T");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "Line 2: Expected identifier\nLine 2: expected point\n");
  put(TMP + ".T", ".geometry \"version 0.70\";\nx = 5;\n");
  r = run("check " + TMP + ".T");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err,
            "Possible mismatch: file version: 0.70\nTessarin version: 0.65\n"
            "Line 2: Expected reserved word or macro id\n");
  put(TMP + ".T", "A = .free(0, 0);\n");
  r = run("check " + TMP + ".T");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "");
  r = run("check /nonexistent.T");
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.err, "Couldn't open /nonexistent.T\n");
  EXPECT_EQ(run("check").status, 2);
  EXPECT_EQ(run("frobnicate x").status, 2);
  r = run("--help");
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("check"), std::string::npos);
  EXPECT_NE(r.out.find("format"), std::string::npos);
}

TEST_F(Cli, FormatWritesTheDiagramText) {
  put(TMP + ".T", "A = .free(0.1234567, 2, .RED);\n");
  result r = run("format " + TMP + ".T");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out,
            ".geometry \"version 0.65\";\nA = .free(0.123457, 2, .red);\n");
  r = run("format " + TMP + ".T -o " + TMP + ".out.T");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(slurp(TMP + ".out.T"),
            ".geometry \"version 0.65\";\nA = .free(0.123457, 2, .red);\n");
  put(TMP + ".T", "A = .free(0, 0;\n");
  r = run("format " + TMP + ".T");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, "Line 1: bad properties\n");
  EXPECT_EQ(run("format").status, 2);
  put(TMP + ".T", "A = .free(0, 0);\n");
  r = run("format " + TMP + ".T -o /nonexistent/dir/x.T");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "can't open /nonexistent/dir/x.T\n");
  remove((TMP + ".T").c_str());
  remove((TMP + ".out.T").c_str());
  remove((TMP + ".out").c_str());
  remove((TMP + ".err").c_str());
}

}  // namespace
