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

const char* const HEAD =
    "A = .free(0, 0); B = .free(1, 0); C = .free(0, 1);\n"
    "l = .l.vv(A, B); m = .l.vv(B, C); n = .l.vv(C, A);\n"
    "c = .c.vv(A, B); f = .f.vv(A, B);\n";

struct alertrow {
  const char* text;                 // read after HEAD
  std::vector<const char*> alerts;  // every alert, in order, without
                                    // "Line N: " before and "\n" after
};

// Every message of the reader, each from the smallest text that gives it.
TEST_F(Lang, ErrorMessages) {
  const alertrow rows[] = {
      {"(", {"Unexpected token"}},
      {"5;", {"Unexpected token"}},
      {".nonsense;", {"bad initial token"}},
      {".l.vv(A, B);", {"missing identifier"}},
      {"A = .free(1, 2);", {"A already declared"}},
      {"x = .red(1);", {"wacko constructor: .red"}},
      {"x = .len.vv(A, B);", {"wacko constructor: .len.vv"}},
      {"x = .zz(A);", {"unrecognized reserved word: .zz"}},
      {"x = 5;", {"Expected reserved word or macro id"}},
      {"x = A(B);", {"Expected macro id"}},
      {"x .free(1, 2);", {"Expected '='"}},
      {"x = .free 1, 2);", {"Expected '('"}},
      {"x = .free(1 2);", {"Expected ','"}},
      {"x = .free(1, 2;", {"bad properties"}},
      {"x = .free(1, 2)", {"Expected ';'"}},
      {".geometry 5;", {"Expected string"}},
      {"x = .free(A, 2);", {"Expected float"}},
      {"x = .v.lc(l, c, A);", {"Expected integer"}},
      {"x = .l.vv(A, Q);", {"expected point"}},
      {"x = .l.vv(A, 3);", {"Expected identifier", "expected point"}},
      {"x = .v.ll(l, A);", {"expected line"}},
      {"x = .v.ccenter(A);", {"expected circle"}},
      {"x = .l.conicv(A, A, 1);", {"expected conic"}},
      {"x = .v.avv(A, B, C);", {"expected angle"}},
      {"x = .f.area(A);", {"expected polygon"}},
      {"x = .c.vf(A, A);", {"expected flt"}},
      {"x = .c.vf(A, \"s\");", {"Expected identifier", "expected flt"}},
      {"x = .v.vx(A, 3);", {"expected xform"}},
      {"x = .v.lc(l, c, 3);", {"Type must be 1 or 2"}},
      {"x = .v.lcvother(l, c, A, 3);", {"Type must be 1 or 2"}},
      {"x = .v.lcvother(l, c, A;", {"bad properties"}},
      {"x = .v.ccvother(c, c, A, 2)", {"Expected ';'"}},
      {"x = .c.lll(l, m, n, 5);", {"Type must be 1, 2, 3, or 4"}},
      {"P = .polygon(2, A, B);", {"illegal point count: 3 <= count <= 10"}},
      {"P = .polygon(11, A, B);", {"illegal point count: 3 <= count <= 10"}},
      {"s = .script(0, 1, 0.1); t = .script(0, 1, 0.1);",
       {"More than one script"}},
      {".macro mac() { .macro n() { } }", {"nested macro definitions"}},
      {".return x = .free(1, 1);", {"return outside macro definition"}},
      {".c5 = (1, 0.5);", {"Expected ','", "bad color command"}},
      {".in = (1, 0, 0);", {"bad color command"}},
      {".c5 = (1, 0.5, 1e39);", {"bad color command"}},
      {".c5 = (1, 0.5, 0;", {"Expected ')'", "bad color command"}},
      {".layercondition(f, 1, 2, 0x1;", {"Expected ')'", "bad layercondition"}},
      {".l3 .l4;", {"Expected ';'", "bad layer command"}},
      {".layercondition(f, 1, 2, 3);",
       {"Expected hex number", "bad layercondition"}},
      {".layercondition(A, 1, 2, 0x1);",
       {"expected flt", "bad layercondition"}},
      {"x = .free(1, 2, .zz);", {"unrecognized reserved word"}},
      {"x = .free(1, 2, .l.vv);", {"bad properties"}},
      {"x = .free(1, 2, 5);", {"bad properties"}},
      {"x = .free(1, 2, .width 2);", {"Expected '='", "width: expected '='"}},
      {"x = .free(1, 2, [.l.vv]);", {"bad layer color"}},
      {"x = .free(1, 2, []);", {"No layer colors specified"}},
      {"x = .free(1, 2, [.red, (]);", {"garbage in layer color list"}},
      {"x = .f.rpn(1, Q);", {"expected angle or flt"}},
      {"x = .f.rpn(1, .zz);", {"expected stack operator"}},
      {"x = .f.rpn(1, =);",
       {"Expected float, close, angle, flt, or stack operator"}},
      {".macro .zz mac() {}", {"unknown reserved word"}},
      {".macro .red mac() {}", {"illegal macro type"}},
      {".macro .ratio mac() {}", {"illegal macro type"}},
      {".macro 5", {"bad macro name"}},
      {".macro A() {}", {"A already defined"}},
      {".macro mac(.red a) {}", {"missing or illegal type"}},
      {".macro mac(.ratio a) {}", {"missing or illegal type"}},
      {".macro mac(.vertex 5) {}", {"expected identifier"}},
      {".macro mac(.vertex a, .line a) {}", {"duplicate macro parameter"}},
      {".macro mac(.vertex a .line b) {}", {"expected ',' or ')'"}},
      {".macro mac(5) {}", {"bad macro parameter list"}},
      {".macro mac(.vertex a) ( }", {"Expected '{'"}},
      {".macro mac(.vertex a) { .return .text(\"t\"); }",
       {"illegal return in macro"}},
      {".macro mac(.vertex a) { }\nmac(Q);", {"undefined parameter"}},
      {".macro mac(.vertex a) { }\nmac(l);", {"parameter type mismatch"}},
      {".macro mac(.vertex a) { }\nmac(2);", {"bad parameter"}},
      {".macro mac(.vertex a) { }\nmac(=);", {"garbage in macro call"}},
      {".macro mac(.vertex a, .vertex b) { }\nmac(A B);",
       {"expected comma or close-paren"}},
      {".macro mac(.vertex a, .vertex b) { }\nmac(A);",
       {"wrong number of parameters"}},
      {".macro mac(.vertex a) { }\nmac(A, B);", {"bad properties"}},
      {".macro mac(.vertex a) { }\nmac A;", {"Expected '('"}},
      {".macro mac(.vertex a) { x = mac(a); }", {"recursive macro call"}},
      {".macro mac(.flt a0, .flt a1, .flt a2, .flt a3, .flt a4, .flt a5, .flt "
       "a6, .flt a7, .flt a8, .flt a9, .flt a10) {}",
       {"too many macro parameters"}},
      {"x = .free(1, 2, [33 .red, .green, .blue, .red, .green, .blue, .red, "
       ".green, .blue, .red, .green, .blue, .red, .green, .blue, .red, .green, "
       ".blue, .red, .green, .blue, .red, .green, .blue, .red, .green, .blue, "
       ".red, .green, .blue, .red, .green, .blue]);",
       {"Too many layer colors"}},
      {"x = .f.rpn(1, 2",
       {"Expected float, close, angle, flt, or stack operator"}},
      {"}", {}},  // a stray closing brace fails silently
  };
  for (const alertrow& r : rows) {
    SetUp();
    EXPECT_EQ(readtext(std::string(HEAD) + r.text), 0) << r.text;
    std::string line =
        "Line " +
        std::to_string(4 + std::count(r.text, r.text + strlen(r.text), '\n')) +
        ": ";
    std::vector<std::string> want;
    for (const char* a : r.alerts) want.push_back(line + a + "\n");
    EXPECT_EQ(alerts(), want) << r.text;
    EXPECT_EQ(parsingmacro, 0) << r.text;
    EXPECT_NE(named("A"), nullptr) << r.text;  // what was read stays
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
  vertex* a = (vertex*)named("A");
  vertex* b = (vertex*)named("B");
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a->x, 1);
  EXPECT_EQ(a->y, 2);
  EXPECT_EQ(b->x, -0.5);
  EXPECT_EQ(b->y, 10);
  EXPECT_EQ(named("l")->parents[0], a);
  EXPECT_EQ(named("l")->parents[1], b);
  // the literal 0.5 is an anonymous flt, entered before M
  primitive* m = named("M");
  flt* half = (flt*)m->parents[2];
  EXPECT_EQ(half->named, 0);
  EXPECT_EQ(half->kind, LITERAL);
  EXPECT_EQ(half->value, 0.5);
  EXPECT_STREQ(half->symbol->name, "0.500000");
  EXPECT_EQ(half->next, m);
  EXPECT_EQ(((polygon*)named("P"))->nvert, 4);
  EXPECT_EQ(((angle*)named("g"))->value, 0.25);
  flt* s = (flt*)named("s");
  EXPECT_EQ(Script, s);
  EXPECT_EQ(s->stop, 2);
  EXPECT_EQ(s->step, 0.5);
  // 1e30 counts as not given and 5 takes its place: one number, no position
  vertex* q = (vertex*)named("q");
  EXPECT_EQ(q->x, 0);
  EXPECT_EQ(q->y, 0);
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
  SetUp();
  EXPECT_EQ(readtext(".geometry \"version 1.5\";\nx = 5;"), 0);
  ASSERT_EQ(alerts().size(), 2u);
  EXPECT_EQ(alerts()[0],
            "Possible mismatch: file version: 1.50\nTessarin version: 0.65");
  EXPECT_EQ(alerts()[1], "Line 2: Expected reserved word or macro id\n");
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

TEST_F(Lang, ReadAFileOrFailToOpenIt) {
  EXPECT_EQ(readgeometry("/nonexistent/x.T"), 0);
  EXPECT_EQ(firstalert(),
            "Couldn't open /nonexistent/x.T: No such file or directory");
  std::string path = std::string(TESSARIN_BINARY_DIR) + "/readtest.T";
  FILE* f = fopen(path.c_str(), "w");
  fputs("A = .free(1, 2);\nB = .free(3, 4);\n", f);
  fclose(f);
  ASSERT_EQ(readgeometry(path.c_str()), 1);
  EXPECT_NE(named("B"), nullptr);
  // inserted twice: two sets of names, apart from each other and the first
  ASSERT_EQ(insertgeometry(path.c_str()), 1);
  ASSERT_EQ(insertgeometry(path.c_str()), 1);
  int count = 0;
  for (primitive* p = plist; p; p = p->next) count++;
  EXPECT_EQ(count, 6);
  EXPECT_NE(strcmp(plist->next->next->symbol->name,
                   plist->next->next->next->next->symbol->name),
            0);
  EXPECT_EQ(strncmp(plist->next->next->symbol->name, "A__", 3), 0);
  remove(path.c_str());
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
