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
const char* const PTS = "A = .free(0, 0); B = .free(1, 0); C = .free(0, 1);\n";
const std::string WPTS =
    "A = .free(0, 0);\nB = .free(1, 0);\nC = .free(0, 1);\n";

struct writerow {
  const char* text;     // read after PTS
  const char* written;  // written after the header and the three points
};

TEST_F(Lang, WrittenStatements) {
  const writerow rows[] = {
      {"", ""},
      {"x = .free(0.1234567, 2);", "x = .free(0.123457, 2);\n"},
      {"l = .l.vv(A, B, .dashline, .ray12);",
       "l = .l.vv(A, B, .ray12, .dashline);\n"},
      {"x = .free(0, 0, .tol2, .l7);", "x = .free(0, 0, .tol2, .l7);\n"},
      {"x = .free(0, 0, .l3on);", "x = .free(0, 0, .l3on);\n"},
      {"x = .free(0, 0, .l0, .l1, .l2, .l7);",
       "x = .free(0, 0, .tol2, .l7);\n"},
      {"x = .free(0, 0, [3 .red, .blue]);",
       "x = .free(0, 0, [3 .red, .blue]);\n"},
      {"x = .free(0, 0, [.red, .red]);", "x = .free(0, 0, .red);\n"},
      {"x = .free(0, 0, [.red, .green, 2 .in, .blue]);",
       "x = .free(0, 0, [.red, .green, 2 .in, .blue]);\n"},
      {"x = .v.vvf(A, B, 2);", "x = .v.vvf(A, B, 2.000000);\n"},
      {"x = .free(0, 0, .red, .blue);", "x = .free(0, 0, .blue);\n"},
      {"x = .free(0, 0, \"X\", .width=2, .square, .display, .c12);",
       "x = .free(0, 0, .width=2.000000, .c12, .display, .square, "
       "\"X\");\n"},
      {"g = .a.vvv(A, B, C, .angle1);", "g = .a.vvv(A, B, C);\n"},
      {"g = .a.vvv(A, B, C, .angle5, .smear);",
       "g = .a.vvv(A, B, C, .smear, .slash2);\n"},
      {"P = .polygon(3, A, B, C, .hashpoly2);",
       "P = .polygon(3, A, B, C, .hashpoly2);\n"},
      {"l = .l.vv(A, B, .line3slash, .longline, .dotline);",
       "l = .l.vv(A, B, .longline, .line3slash, .dotline);\n"},
      {"l = .l.vv(A, B); c = .c.vv(A, B); y = .v.lc(l, c, 2);\n"
       "z = .V.LCOTHER(l, c, A); w = .arc(A, B, C);",
       "l = .l.vv(A, B);\nc = .c.vv(A, B);\ny = .v.lc(l, c, 2);\n"
       "z = .v.lcvother(l, c, A);\nw = .arc.vvv(A, B, C);\n"},
      {"l = .l.vv(A, B); m = .l.vv(B, C); n = .l.vv(C, A);\n"
       "k = .c.lll(l, m, n, 4); v = .v.lcvother(l, k, A);",
       "l = .l.vv(A, B);\nm = .l.vv(B, C);\nn = .l.vv(C, A);\n"
       "k = .c.lll(l, m, n, 4);\nv = .v.lcvother(l, k, A);\n"},
      {"l = .l.vv(A, B); c = .c.vv(A, B); y = .v.lcvother(l, c, A, 2);\n"
       "z = .v.lcvother(l, c, A, 1, .red); w = .v.ccother(c, c, A, 2, .red);",
       "l = .l.vv(A, B);\nc = .c.vv(A, B);\ny = .v.lcvother(l, c, A, 2);\n"
       "z = .v.lcvother(l, c, A, .red);\nw = .v.ccvother(c, c, A, 2, .red);\n"},
      {"g = .a.float(0.5); s = .script(0, 1, 0.25);",
       "g = .a.float(0.500000);\ns = .script(0.000000, 1.000000, "
       "0.250000);\n"},
      {"d = .f.rpn(1 2 .add 3 .mul 4 .sub, .red, \"d\");",
       "d = .f.rpn(1.000000, 2.000000, .add, 3.000000, .mul, \n"
       "        4.000000, .sub, .red, \"d\");\n"},
      {"d = .f.rpn();", "d = .f.rpn();\n"},
      {"x = .x.identity(, .red);", "x = .x.identity(, .red);\n"},
      {"x = .x.identity(); y = .x.f9(x, 1, 2, 3, 4, 5, 6, 7, 8, 9);",
       "x = .x.identity();\n"
       "y = .x.f9(x, 1.000000, 2.000000, 3.000000,\n"
       "               4.000000, 5.000000, 6.000000,\n"
       "               7.000000, 8.000000, 9.000000);\n"},
      {".text(\"a\nb\", .cyan);", ".text(\"a\nb\", .cyan);\n"},
      {"// note\n", "// note\n"},
      {"f = .f.vv(A, B); .layercondition(f, 0.5, 1, 0xF0);",
       "f = .f.vv(A, B);\n"
       ".layercondition(f, 0.500000, 1.000000, 0xf0);\n"},
      {"x = .free(0, 0, .layercondition);",
       "x = .free(0, 0, .layercondition);\n"},
      {"t = .vvfcondition(A, B, 2); u = .vvvvcondition(A, B, C, A);",
       "t = .vvfcondition(A, B, 2.000000);\n"
       "u = .vvvvcondition(A, B, C, A);\n"},
      {"P = .polygon(3, A, B, C); q = .f.perimeter(P);",
       "P = .polygon(3, A, B, C);\nq = .f.perimeter(P);\n"},
      {"x = .free(0, 0, .blink2); y = .free(0, 0, .in);",
       "x = .free(0, 0, .blink2);\ny = .free(0, 0, .in);\n"},
      // Circles and arcs keep their dash; other records have none to keep.
      {"c = .c.vv(A, B, .dashline, .red); d = .c.vvv(A, B, C, .dotline);",
       "c = .c.vv(A, B, .red, .dashline);\nd = .c.vvv(A, B, C, .dotline);\n"},
      {"w = .arc(A, B, C, .dotline); v = .arc(C, B, A, .solidline);",
       "w = .arc.vvv(A, B, C, .dotline);\nv = .arc.vvv(C, B, A);\n"},
      {"g = .a.vvv(A, B, C, .dashline);", "g = .a.vvv(A, B, C);\n"},
  };
  for (const writerow& r : rows) {
    SetUp();
    EXPECT_EQ(readtext(std::string(PTS) + r.text), 1) << r.text << firstalert();
    EXPECT_EQ(written(), H + WPTS + r.written) << r.text;
  }
}

TEST_F(Lang, WrittenDiagramStatements) {
  const writerow rows[] = {
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
  for (const writerow& r : rows) {
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

  alerts().clear();
  EXPECT_EQ(printall("/nonexistent/dir/x.T"), 0);
  EXPECT_EQ(firstalert(),
            "can't write /nonexistent/dir/x.T: No such file or directory");
  if (access("/dev/full", W_OK) == 0) {  // a full disk is reported
    FILE* full = fopen("/dev/full", "w");
    ASSERT_NE(full, nullptr);
    setvbuf(full, nullptr, _IONBF, 0);
    EXPECT_EQ(printdiagram(full), 0);
    fclose(full);
  }
}

}  // namespace
