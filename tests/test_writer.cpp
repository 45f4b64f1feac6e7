// The writer: rows of diagram text and the exact text written back, and
// the safe replacement of the file on disk.
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <fstream>
#include <sstream>

#include "language/rpn.h"
#include "render/palette.h"
#include "tests/langtest.h"

namespace {
using namespace langtest;

const std::string H = ".geometry \"version 0.65\";\n";
const char* const PTS = "A = .free(0, 0); B = .free(1, 0); C = .free(0, 1);\n";
const std::string WPTS =
    "A = .free(0, 0);\nB = .free(1, 0);\nC = .free(0, 1);\n";

struct writerow {
  const char* text;     // read after PTS
  const char* written;  // written after the header and the three points
};

TEST_F(Lang, WrittenStatements) {
  const writerow rows[] = {
      /* 1 */ {"", ""},
      /* 2 */ {"x = .free(0.1234567, 2);", "x = .free(0.123457, 2);\n"},
      /* 3 */
      {"l = .l.vv(A, B, .dashline, .ray12);",
       "l = .l.vv(A, B, .ray12, .dashline);\n"},
      /* 4 */
      {"x = .free(0, 0, .tol2, .l7);", "x = .free(0, 0, .tol2, .l7);\n"},
      /* 5 */ {"x = .free(0, 0, .l3on);", "x = .free(0, 0, .l3on);\n"},
      /* 6 */
      {"x = .free(0, 0, .l0, .l1, .l2, .l7);",
       "x = .free(0, 0, .tol2, .l7);\n"},
      /* 7 */
      {"x = .free(0, 0, [3 .red, .blue]);",
       "x = .free(0, 0, [3 .red, .blue]);\n"},
      /* 8 */ {"x = .free(0, 0, [.red, .red]);", "x = .free(0, 0, .red);\n"},
      /* 9 */
      {"x = .free(0, 0, [.red, .green, 2 .in, .blue]);",
       "x = .free(0, 0, [.red, .green, 2 .in, .blue]);\n"},
      /* 10 */ {"x = .v.vvf(A, B, 2);", "x = .v.vvf(A, B, 2.000000);\n"},
      /* 11 */ {"x = .free(0, 0, .red, .blue);", "x = .free(0, 0, .blue);\n"},
      /* 12 */
      {"x = .free(0, 0, \"X\", .width=2, .square, .display, .c12);",
       "x = .free(0, 0, .width=2.000000, .c12, .display, .square, "
       "\"X\");\n"},
      /* 13 */ {"g = .a.vvv(A, B, C, .angle1);", "g = .a.vvv(A, B, C);\n"},
      /* 14 */
      {"g = .a.vvv(A, B, C, .angle5, .smear);",
       "g = .a.vvv(A, B, C, .smear, .slash2);\n"},
      /* 15 */
      {"P = .polygon(3, A, B, C, .hashpoly2);",
       "P = .polygon(3, A, B, C, .hashpoly2);\n"},
      /* 16 */
      {"l = .l.vv(A, B, .line3slash, .longline, .dotline);",
       "l = .l.vv(A, B, .longline, .line3slash, .dotline);\n"},
      /* 17 */ {"c = .c.vv(A, B); k = .c.lll(l1, l2, l3, 2);", nullptr},
      /* 18 */
      {"l = .l.vv(A, B); m = .l.vv(B, C); n = .l.vv(C, A);\n"
       "k = .c.lll(l, m, n, 4); v = .v.lcvother(l, k, A);",
       "l = .l.vv(A, B);\nm = .l.vv(B, C);\nn = .l.vv(C, A);\n"
       "k = .c.lll(l, m, n, 4);\nv = .v.lcvother(l, k, A);\n"},
      /* 19 */
      {"g = .a.float(0.5); s = .script(0, 1, 0.25);",
       "g = .a.float(0.500000);\ns = .script(0.000000, 1.000000, "
       "0.250000);\n"},
      /* 20 */
      {"d = .f.rpn(1 2 .add 3 .mul 4 .sub, .red, \"d\");",
       "d = .f.rpn(1.000000, 2.000000, .add, 3.000000, .mul, \n"
       "        4.000000, .sub, .red, \"d\");\n"},
      /* 21 */ {"d = .f.rpn();", "d = .f.rpn();\n"},
      /* 22 */ {"x = .x.identity(, .red);", "x = .x.identity(, .red);\n"},
      /* 23 */
      {"x = .x.identity(); y = .x.f9(x, 1, 2, 3, 4, 5, 6, 7, 8, 9);",
       "x = .x.identity();\n"
       "y = .x.f9(x, 1.000000, 2.000000, 3.000000,\n"
       "               4.000000, 5.000000, 6.000000,\n"
       "               7.000000, 8.000000, 9.000000);\n"},
      /* 24 */ {".text(\"a\nb\", .cyan);", ".text(\"a\nb\", .cyan);\n"},
      /* 25 */ {"// note\n", "// note\n"},
      /* 26 */
      {"f = .f.vv(A, B); .layercondition(f, 0.5, 1, 0xF0);",
       "f = .f.vv(A, B);\n"
       ".layercondition(f, 0.500000, 1.000000, 0xf0);\n"},
      /* 27 */ {"x = .v.lconic(l, k, 2);", nullptr},
      /* 28 */
      {"x = .free(0, 0, .layercondition);",
       "x = .free(0, 0, .layercondition);\n"},
      /* 29 */
      {"t = .vvfcondition(A, B, 2); u = .vvvvcondition(A, B, C, A);",
       "t = .vvfcondition(A, B, 2.000000);\n"
       "u = .vvvvcondition(A, B, C, A);\n"},
      /* 30 */ {"r = .ratio.vvv(A, B, C); q = .f.perimeter(P);", nullptr},
      /* 31 */
      {"P = .polygon(3, A, B, C); q = .f.perimeter(P);",
       "P = .polygon(3, A, B, C);\nq = .f.perimeter(P);\n"},
      /* 32 */
      {"x = .free(0, 0, .blink2); y = .free(0, 0, .in);",
       "x = .free(0, 0, .blink2);\ny = .free(0, 0, .in);\n"},
  };
  for (size_t r = 0; r < sizeof rows / sizeof rows[0]; r++) {
    SetUp();
    int ok = readtext(std::string(PTS) + rows[r].text);
    if (!rows[r].written) {  // rows that must fail to read
      EXPECT_EQ(ok, 0) << "row " << r + 1;
      continue;
    }
    EXPECT_EQ(ok, 1) << "row " << r + 1 << ": " << firstalert();
    EXPECT_EQ(written(), H + WPTS + rows[r].written) << "row " << r + 1;
  }
}

TEST_F(Lang, WrittenDiagramStatements) {
  ASSERT_EQ(readtext(""), 1);
  EXPECT_EQ(written(), H);
  ASSERT_EQ(readtext(".radianmode;"), 1);
  EXPECT_EQ(written(), H + ".radianmode;\n");
  ASSERT_EQ(readtext(".l2; .l5;"), 1);
  EXPECT_EQ(written(), H + ".l2; .l5; \n");
  ASSERT_EQ(readtext(".l0; .l3on;"), 1);
  EXPECT_EQ(written(), H + ".l0; .l3on;\n");
  ASSERT_EQ(readtext(".red = (0.8, 0, 0); .c20 = (0.1, 0.2, 0.3);"), 1);
  EXPECT_EQ(written(), H + ".c1 = (0.800000, 0.000000, 0.000000);\n" +
                           ".c20 = (0.100000, 0.200000, 0.300000);\n");
  // the header carries this program's version, whatever the file's
  ASSERT_EQ(readtext(".geometry \"version 0.50\";"), 1);
  EXPECT_EQ(written(), H);
}

TEST_F(Lang, CutCommentStillEndsItsLine) {
  std::string text = "//" + std::string(400, 'c') + "\nB = .free(1, 2);\n";
  ASSERT_EQ(readtext(text), 1);
  std::string once = written();
  ASSERT_EQ(readtext(once), 1) << firstalert();
  EXPECT_NE(named("B"), nullptr);  // not swallowed by the comment
  EXPECT_EQ(written(), once);
  ASSERT_EQ(readtext("A = .free(0, 0);\n// last, no line end"), 1);
  once = written();
  EXPECT_EQ(once.back(), '\n');
  ASSERT_EQ(readtext(once + "B = .free(0, 0);"), 1);
  EXPECT_NE(named("B"), nullptr);
}

TEST_F(Lang, F9MadeOnSomeLayersReadsBack) {
  ASSERT_EQ(readtext(".l1; .l2;\nx = .x.identity();\n"
                     "y = .x.f9(x, 1, 0, 0, 0, 1, 0, 0, 0, 1, [.in, .red]);"),
            1)
      << firstalert();
  std::string once = written();
  ASSERT_EQ(readtext(once), 1) << firstalert() << once;
  EXPECT_EQ(written(), once);
  EXPECT_EQ(named("y")->color, COLOR_PERLAYER);
}

std::string slurp(const std::string& path) {
  std::ifstream in(path);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
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
  remove(path.c_str());

  // A write that fails half-way (the file size limit stands in for a full
  // disk) is reported, and the previous file is still there, whole.
  ASSERT_EQ(readtext("A = .free(1, 2);"), 1);
  ASSERT_EQ(printall(path.c_str()), 1);
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
  EXPECT_EQ(firstalert(), "can't write " + path + "\n");
  EXPECT_EQ(slurp(path), H + "A = .free(1, 2);\n");
  remove(path.c_str());

  alerts().clear();
  EXPECT_EQ(printall("/nonexistent/dir/x.T"), 0);
  EXPECT_EQ(firstalert(), "can't open /nonexistent/dir/x.T\n");
  // a full disk: the previous file must survive untouched
  if (access("/dev/full", W_OK) == 0) {
    alerts().clear();
    FILE* full = fopen("/dev/full", "w");
    ASSERT_NE(full, nullptr);
    setvbuf(full, nullptr, _IONBF, 0);
    EXPECT_EQ(printdiagram(full), 0);
    fclose(full);
  }
}

}  // namespace

namespace {
using namespace langtest;

TEST_F(Lang, CommentOfTheLimitAtTheEndReadsBackWhole) {
  for (int len = 146; len <= 152; len++) {
    std::string text = "//" + std::string(len, 'c');  // no line end
    ASSERT_EQ(readtext(text), 1);
    std::string once = written();
    ASSERT_EQ(readtext(once), 1);
    EXPECT_EQ(written(), once) << len;
  }
}

}  // namespace
