// The statement parser, properties, colours and layers: rows of diagram
// text and the alerts they give, and the records they make.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "language/properties.h"
#include "language/rpn.h"
#include "model/state.h"
#include "model/style.h"
#include "tests/langtest.h"

namespace {
using namespace langtest;

const std::string HEAD =
    "A = .free(0, 0); B = .free(1, 0); C = .free(0, 1);\n"
    "l = .l.vv(A, B); m = .l.vv(B, C); n = .l.vv(C, A);\n"
    "c = .c.vv(A, B); f = .f.vv(A, B);\n";

// Every message of the reader, each from the smallest text that gives it:
// tests/data/parser_errors.txt holds the texts and their alerts.
TEST_F(Lang, ErrorMessages) {
  for (const auto& row : golden("parser_errors.txt")) {
    std::string text = unescaped(row.first), all;
    SetUp();
    EXPECT_EQ(readtext(HEAD + text), 0) << text;
    for (const std::string& a : alerts()) all += a;
    EXPECT_EQ(all, row.second) << text;
    EXPECT_EQ(parsingmacro, 0) << text;
    EXPECT_NE(named("A"), nullptr) << text;  // what was read stays
  }
}

// A hundred items fit (test_rpn); one more does not.
TEST_F(Lang, ExpressionOfMoreThanAHundredItemsIsRejected) {
  std::string items;
  for (int i = 0; i < 101; i++) items += "1 ";
  EXPECT_EQ(readtext("x = .f.rpn(" + items + ");"), 0);
  EXPECT_EQ(firstalert(), "Line 1: expression longer than 100 items\n");
}

TEST_F(Lang, PointsLinesAndNumbers) {
  ASSERT_EQ(readtext("A = .free(1, 2); B = .free(-.5, 1e1);\n"
                     "l = .l.vv(A, B); M = .v.vvf(A, B, 0.5);\n"
                     "P = .polygon(4.9, A, B, M, A);\n"
                     "g = .a.float(0.25); s = .script(0, 2, 0.5);\n"
                     "q = .free(1e30, 5);"),
            1)
      << firstalert();
  vertex *a = (vertex*)named("A"), *b = (vertex*)named("B");
  vertex* q = (vertex*)named("q");
  flt* s = (flt*)named("s");
  EXPECT_EQ(Script, s);
  // 1e30 counts as not given and 5 takes its place: one number, no position
  EXPECT_EQ((std::vector<double>{a->x, a->y, b->x, b->y, q->x, q->y, s->stop,
                                 s->step, ((angle*)named("g"))->value}),
            (std::vector<double>{1, 2, -0.5, 10, 0, 0, 2, 0.5, 0.25}));
  EXPECT_EQ(named("l")->parents[0], a);
  EXPECT_EQ(named("l")->parents[1], b);
  EXPECT_EQ(((polygon*)named("P"))->nvert, 4);
  // the literal 0.5 is an anonymous flt, entered before M
  primitive* m = named("M");
  flt* half = (flt*)m->parents[2];
  EXPECT_EQ(half->named, 0);
  EXPECT_EQ(half->kind, LITERAL);
  EXPECT_EQ(half->value, 0.5);
  EXPECT_STREQ(half->symbol->name, "0.500000");
  EXPECT_EQ(half->next, m);
}

// Layers and per-layer colours as bits and bytes; how the other properties
// are stored shows in how they are written (test_writer).
TEST_F(Lang, Properties) {
  ASSERT_EQ(readtext("A = .free(0, 0, .l1, .l3);\n"
                     "B = .free(0, 0, .tol2);\n"
                     "C = .free(0, 0, .l30on);\n"
                     "E = .free(0, 0, [3 .red, .in, .blue]);\n"
                     "F = .free(0, 0, [40 .red]);\n"
                     "l = .l.vv(A, B);\n"),
            1)
      << firstalert();
  EXPECT_EQ(named("A")->layers, (1u << 1) | (1u << 3));
  EXPECT_EQ(named("B")->layers, 7u);
  EXPECT_EQ(named("C")->layers, (1u << 30) | (1u << 31));
  primitive* e = named("E");
  EXPECT_EQ(e->color, COLOR_PERLAYER);
  for (int i = 0; i < NLAYERS; i++)
    EXPECT_EQ(e->layercolor[i], i < 3 ? 1 : i == 3 ? 255 : 4) << i;
  EXPECT_EQ(named("F")->color, COLOR_RED);     // one colour on every layer
  EXPECT_EQ(named("l")->layers, 0xffffffffu);  // no layer property: all
}

TEST_F(Lang, LabelsSetAutomaticNumbering) {
  ASSERT_EQ(readtext("A = .free(0, 0, \"C\"); B = .free(0, 0, \"Q7\");"), 1);
  EXPECT_EQ(vnumber, 4);  // after "C" comes "D"
  ASSERT_EQ(readtext("A = .free(0, 0, \"b\"); B = .free(0, 0, \"12\");"), 1);
  EXPECT_EQ(vnumber, 65);  // "12" counts 64
}

// Colour statements are read and written in test_writer.
TEST_F(Lang, LayersAndModes) {
  ASSERT_EQ(readtext(".l2; .l5;\n.radianmode;\n"), 1) << firstalert();
  EXPECT_EQ(layerset, (1u << 2) | (1u << 5));
  EXPECT_EQ(filelayerset, layerset);
  EXPECT_EQ(degreemode, 0);
  ASSERT_EQ(readtext(".l30on;"), 1);
  EXPECT_EQ(layerset, 3u << 30);
  ASSERT_EQ(readtext(".tol30;"), 1);  // a statement counts upward
  EXPECT_EQ(layerset, 3u << 30);
  ASSERT_EQ(readtext("A = .free(0, 0);"), 1);  // no statements: all layers
  EXPECT_EQ(layerset, 0xffffffffu);
  EXPECT_EQ(degreemode, 1);
  ASSERT_EQ(readtext("A = .free(0, 0, .radianmode);"), 1);
  EXPECT_EQ(degreemode, 0);
}

TEST_F(Lang, HeaderVersions) {
  ASSERT_EQ(readtext(".geometry \"version 0.65\";"), 1);
  EXPECT_DOUBLE_EQ(fileversion, 0.65);
  EXPECT_STREQ(version, "version 0.65");
  ASSERT_EQ(readtext(".include \"version 0.40\";"), 1);
  EXPECT_DOUBLE_EQ(fileversion, 0.40);
  ASSERT_EQ(readtext(".geometry \"v\";"), 1);  // no ninth character
  EXPECT_EQ(fileversion, 0);
  std::string longheader = "version 0.50 " + std::string(100, 'x');
  ASSERT_EQ(readtext(".geometry \"" + longheader + "\";"), 1);
  EXPECT_EQ(strlen(version), (size_t)VERSIONSIZE - 1);
  EXPECT_DOUBLE_EQ(fileversion, 0.5);
}

TEST_F(Lang, LongNamesAreCut) {
  std::string n250(250, 'n');
  ASSERT_EQ(readtext(n250 + " = .free(0, 0);"), 1);
  EXPECT_NE(named(std::string(199, 'n').c_str()), nullptr);
  SetUp();
  // two names that agree in their first 199 characters are the same name
  EXPECT_EQ(readtext(n250 + " = .free(0, 0);\n" + n250 + "x = .free(0, 0);"),
            0);
  EXPECT_EQ(firstalert(),
            "Line 2: " + std::string(199, 'n') + " already declared\n");
}

// (Files that cannot be read: test_fileio.)
TEST_F(Lang, ReadAFileAndInsertItTwice) {
  scratch tmp;
  std::string path = tmp.dir + "/readtest.T";
  std::ofstream(path) << "A = .free(1, 2);\nB = .free(3, 4);\n";
  ASSERT_EQ(readgeometry(path.c_str()), 1);
  EXPECT_NE(named("B"), nullptr);
  // inserted twice: two sets of names, apart from each other and the first
  ASSERT_EQ(insertgeometry(path.c_str()), 1);
  ASSERT_EQ(insertgeometry(path.c_str()), 1);
  ASSERT_EQ(records(), 6);
  EXPECT_NE(strcmp(plist->next->next->symbol->name,
                   plist->next->next->next->next->symbol->name),
            0);
  EXPECT_EQ(strncmp(plist->next->next->symbol->name, "A__", 3), 0);
}

}  // namespace

namespace {
using namespace langtest;

int statehookcalls, statehookfull;
void countstate(int full) {
  statehookcalls++;
  statehookfull = full;
}

TEST_F(Lang, ResetStateBeforeAReading) {
  ASSERT_EQ(readtext(".l3; .radianmode;\ns = .script(0, 1, 0.1);"), 1);
  currentcolor = COLOR_RED;
  evalrpnerror = 1;
  resetstatehook = countstate;
  resetstate(0);  // the text editor's reading keeps the style
  EXPECT_EQ(statehookcalls, 1);
  EXPECT_EQ(statehookfull, 0);
  EXPECT_EQ(Script, nullptr);
  EXPECT_EQ(degreemode, 1);
  EXPECT_EQ(filelayerset, 0xffffffffu);
  EXPECT_EQ(currentcolor, COLOR_RED);
  EXPECT_EQ(layerset, 1u << 3);
  EXPECT_EQ(evalrpnerror, 1);
  resetstate(1);
  EXPECT_EQ(statehookfull, 1);
  EXPECT_EQ(currentcolor, COLOR_WHITE);
  EXPECT_EQ(layerset, 0xffffffffu);
  EXPECT_EQ(evalrpnerror, 0);
  EXPECT_EQ(layersinited, 1);  // the next layer statement replaces the set
}

}  // namespace
