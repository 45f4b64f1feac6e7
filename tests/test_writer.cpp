// The writer: rows of diagram text and the exact text written back, and
// the safe replacement of the file on disk.
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>

#include "tests/langtest.h"

namespace {
using namespace langtest;

const std::string H = ".geometry \"version 0.65\";\n";
const std::string PTS = "A = .free(0, 0); B = .free(1, 0); C = .free(0, 1);\n";
const std::string WPTS =
    "A = .free(0, 0);\nB = .free(1, 0);\nC = .free(0, 1);\n";

// tests/data/writer.txt holds the texts read and what is written back.
TEST_F(Lang, WrittenStatements) {
  for (const auto& row : golden("writer.txt")) {
    std::string text = unescaped(row.first);
    SetUp();
    EXPECT_EQ(readtext(PTS + text), 1) << text << firstalert();
    EXPECT_EQ(written(), H + WPTS + row.second) << text;
  }
}

TEST_F(Lang, WrittenDiagramStatements) {
  const struct {
    const char *text, *written;
  } rows[] = {
      {"", ""},
      {".radianmode;", ".radianmode;\n"},
      {".l2; .l5;", ".l2; .l5; \n"},
      {".l0; .l3on;", ".l0; .l3on;\n"},
      {".red = (0.8, 0, 0); .c20 = (0.1, 0.2, 0.3);",
       ".c1 = (0.800000, 0.000000, 0.000000);\n"
       ".c20 = (0.100000, 0.200000, 0.300000);\n"},
      // the header carries this program's version, whatever the file's
      {".geometry \"version 0.50\";", ""},
  };
  for (const auto& r : rows) {
    EXPECT_EQ(readtext(r.text), 1) << r.text;
    EXPECT_EQ(written(), H + r.written) << r.text;
  }
}

TEST_F(Lang, PrintallReplacesTheFileOnlyWhenAllIsWritten) {
  std::string path = std::string(TESSARIN_BINARY_DIR) + "/printall.T";
  ASSERT_EQ(readtext("A = .free(1, 2);"), 1);
  ASSERT_EQ(printall(path.c_str()), 1);
  EXPECT_EQ(slurp(path), H + "A = .free(1, 2);\n");
  chmod(path.c_str(), 0640);
  ASSERT_EQ(readtext("B = .free(3, 4);"), 1);
  ASSERT_EQ(printall(path.c_str()), 1);
  EXPECT_EQ(slurp(path), H + "B = .free(3, 4);\n");
  struct stat st;
  ASSERT_EQ(stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);  // the permissions stay

  // A write that fails half-way (the file size limit stands in for a full
  // disk) is reported, and the previous file is still there, whole.
  std::string big;
  for (int i = 0; i < 2000; i++)
    big += "P" + std::to_string(i) + " = .free(0.5, 0.25);\n";
  ASSERT_EQ(readtext(big), 1);
  alerts().clear();
  struct rlimit saved, small;
  getrlimit(RLIMIT_FSIZE, &saved);
  small = saved;
  small.rlim_cur = 4096;
  void (*oldxfsz)(int) = signal(SIGXFSZ, SIG_IGN);
  setrlimit(RLIMIT_FSIZE, &small);
  int r = printall(path.c_str());
  setrlimit(RLIMIT_FSIZE, &saved);
  signal(SIGXFSZ, oldxfsz);
  EXPECT_EQ(r, 0);
  EXPECT_EQ(firstalert(), "can't write " + path + ": File too large");
  EXPECT_EQ(slurp(path), H + "B = .free(3, 4);\n");
  remove(path.c_str());
  if (access("/dev/full", W_OK) == 0) {  // a full disk is reported
    FILE* full = fopen("/dev/full", "w");
    ASSERT_NE(full, nullptr);
    setvbuf(full, nullptr, _IONBF, 0);
    EXPECT_EQ(printdiagram(full), 0);
    fclose(full);
  }
}

}  // namespace
