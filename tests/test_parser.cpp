// The statement parser, properties, colours and layers: rows of diagram
// text and the alerts they give, and the records they make.
#include <cmath>
#include <cstring>

#include "language/properties.h"
#include "language/rpn.h"
#include "model/state.h"
#include "model/style.h"
#include "render/palette.h"
#include "tests/langtest.h"

namespace {
using namespace langtest;

const char* const HEAD =
    "A = .free(0, 0); B = .free(1, 0); C = .free(0, 1);\n"
    "l = .l.vv(A, B); m = .l.vv(B, C); n = .l.vv(C, A);\n"
    "c = .c.vv(A, B); f = .f.vv(A, B);\n";

struct alertrow {
  const char* text;                 // read after HEAD
  std::vector<const char*> alerts;  // every alert, in order
};

// Every message of the reader, each from the smallest text that gives it.
TEST_F(Lang, ErrorMessages) {
  const alertrow rows[] = {
      /* 1 */ {"(", {"Line 4: Unexpected token\n"}},
      /* 2 */ {"5;", {"Line 4: Unexpected token\n"}},
      /* 3 */ {".nonsense;", {"Line 4: bad initial token\n"}},
      /* 4 */ {".l.vv(A, B);", {"Line 4: missing identifier\n"}},
      /* 5 */ {"A = .free(1, 2);", {"Line 4: A already declared\n"}},
      /* 6 */ {"x = .red(1);", {"Line 4: wacko constructor: .red\n"}},
      /* 7 */ {"x = .len.vv(A, B);", {"Line 4: wacko constructor: .len.vv\n"}},
      /* 8 */ {"x = .zz(A);", {"Line 4: unrecognized reserved word: .zz\n"}},
      /* 9 */ {"x = 5;", {"Line 4: Expected reserved word or macro id\n"}},
      /* 10 */ {"x = A(B);", {"Line 4: Expected macro id\n"}},
      /* 11 */ {"x .free(1, 2);", {"Line 4: Expected '='\n"}},
      /* 12 */ {"x = .free 1, 2);", {"Line 4: Expected '('\n"}},
      /* 13 */ {"x = .free(1 2);", {"Line 4: Expected ','\n"}},
      /* 14 */ {"x = .free(1, 2;", {"Line 4: bad properties\n"}},
      /* 15 */ {"x = .free(1, 2)", {"Line 4: Expected ';'\n"}},
      /* 16 */ {".geometry 5;", {"Line 4: Expected string\n"}},
      /* 17 */ {"x = .free(A, 2);", {"Line 4: Expected float\n"}},
      /* 18 */ {"x = .v.lc(l, c, A);", {"Line 4: Expected integer\n"}},
      /* 19 */ {"x = .l.vv(A, Q);", {"Line 4: expected point\n"}},
      /* 20 */
      {"x = .l.vv(A, 3);",
       {"Line 4: Expected identifier\n", "Line 4: expected point\n"}},
      /* 21 */ {"x = .v.ll(l, A);", {"Line 4: expected line\n"}},
      /* 22 */ {"x = .v.ccenter(A);", {"Line 4: expected circle\n"}},
      /* 23 */ {"x = .l.conicv(A, A, 1);", {"Line 4: expected conic\n"}},
      /* 24 */ {"x = .v.avv(A, B, C);", {"Line 4: expected angle\n"}},
      /* 25 */ {"x = .f.area(A);", {"Line 4: expected polygon\n"}},
      /* 26 */ {"x = .c.vf(A, A);", {"Line 4: expected flt\n"}},
      /* 27 */
      {"x = .c.vf(A, \"s\");",
       {"Line 4: Expected identifier\n", "Line 4: expected flt\n"}},
      /* 28 */ {"x = .v.vx(A, 3);", {"Line 4: expected xform\n"}},
      /* 29 */ {"x = .v.lc(l, c, 3);", {"Line 4: Type must be 1 or 2\n"}},
      /* 30 */
      {"x = .c.lll(l, m, n, 5);", {"Line 4: Type must be 1, 2, 3, or 4\n"}},
      /* 31 */
      {"P = .polygon(2, A, B);",
       {"Line 4: illegal point count: 3 <= count <= 10\n"}},
      /* 32 */
      {"P = .polygon(11, A, B);",
       {"Line 4: illegal point count: 3 <= count <= 10\n"}},
      /* 33 */
      {"s = .script(0, 1, 0.1); t = .script(0, 1, 0.1);",
       {"Line 4: More than one script\n"}},
      /* 34 */
      {".macro mac() { .macro n() { } }",
       {"Line 4: nested macro definitions\n"}},
      /* 35 */
      {".return x = .free(1, 1);",
       {"Line 4: return outside macro definition\n"}},
      /* 36 */
      {".c5 = (1, 0.5);",
       {"Line 4: Expected ','\n", "Line 4: bad color command\n"}},
      /* 37 */ {".in = (1, 0, 0);", {"Line 4: bad color command\n"}},
      /* 38 */ {".c5 = (1, 0.5, 1e39);", {"Line 4: bad color command\n"}},
      /* 39 */
      {".c5 = (1, 0.5, 0;",
       {"Line 4: Expected ')'\n", "Line 4: bad color command\n"}},
      /* 40 */
      {".layercondition(f, 1, 2, 0x1;",
       {"Line 4: Expected ')'\n", "Line 4: bad layercondition\n"}},
      /* 41 */
      {".l3 .l4;", {"Line 4: Expected ';'\n", "Line 4: bad layer command\n"}},
      /* 42 */
      {".layercondition(f, 1, 2, 3);",
       {"Line 4: Expected hex number\n", "Line 4: bad layercondition\n"}},
      /* 43 */
      {".layercondition(A, 1, 2, 0x1);",
       {"Line 4: expected flt\n", "Line 4: bad layercondition\n"}},
      /* 44 */
      {"x = .free(1, 2, .zz);", {"Line 4: unrecognized reserved word\n"}},
      /* 45 */ {"x = .free(1, 2, .l.vv);", {"Line 4: bad properties\n"}},
      /* 46 */ {"x = .free(1, 2, 5);", {"Line 4: bad properties\n"}},
      /* 47 */
      {"x = .free(1, 2, .width 2);",
       {"Line 4: Expected '='\n", "Line 4: width: expected '='\n"}},
      /* 48 */ {"x = .free(1, 2, [.l.vv]);", {"Line 4: bad layer color\n"}},
      /* 49 */
      {"x = .free(1, 2, []);", {"Line 4: No layer colors specified\n"}},
      /* 50 */
      {"x = .free(1, 2, [.red, (]);",
       {"Line 4: garbage in layer color list\n"}},
      /* 51 */ {"x = .f.rpn(1, Q);", {"Line 4: expected angle or flt\n"}},
      /* 52 */ {"x = .f.rpn(1, .zz);", {"Line 4: expected stack operator\n"}},
      /* 53 */
      {"x = .f.rpn(1, =);",
       {"Line 4: Expected float, close, angle, flt, or stack "
        "operator\n"}},
      /* 54 */ {".macro .zz mac() {}", {"Line 4: unknown reserved word\n"}},
      /* 55 */ {".macro .red mac() {}", {"Line 4: illegal macro type\n"}},
      /* 56 */ {".macro .ratio mac() {}", {"Line 4: illegal macro type\n"}},
      /* 57 */ {".macro 5", {"Line 4: bad macro name\n"}},
      /* 58 */ {".macro A() {}", {"Line 4: A already defined\n"}},
      /* 59 */ {".macro mac(.red a) {}", {"Line 4: missing or illegal type\n"}},
      /* 60 */
      {".macro mac(.ratio a) {}", {"Line 4: missing or illegal type\n"}},
      /* 61 */ {".macro mac(.vertex 5) {}", {"Line 4: expected identifier\n"}},
      /* 62 */
      {".macro mac(.vertex a, .line a) {}",
       {"Line 4: duplicate macro parameter\n"}},
      /* 63 */
      {".macro mac(.vertex a .line b) {}", {"Line 4: expected ',' or ')'\n"}},
      /* 64 */ {".macro mac(5) {}", {"Line 4: bad macro parameter list\n"}},
      /* 65 */ {".macro mac(.vertex a) ( }", {"Line 4: Expected '{'\n"}},
      /* 66 */
      {".macro mac(.vertex a) { .return .text(\"t\"); }",
       {"Line 4: illegal return in macro\n"}},
      /* 67 */
      {".macro mac(.vertex a) { }\nmac(Q);", {"Line 5: undefined parameter\n"}},
      /* 68 */
      {".macro mac(.vertex a) { }\nmac(l);",
       {"Line 5: parameter type mismatch\n"}},
      /* 69 */
      {".macro mac(.vertex a) { }\nmac(2);", {"Line 5: bad parameter\n"}},
      /* 70 */
      {".macro mac(.vertex a) { }\nmac(=);",
       {"Line 5: garbage in macro call\n"}},
      /* 71 */
      {".macro mac(.vertex a, .vertex b) { }\nmac(A B);",
       {"Line 5: expected comma or close-paren\n"}},
      /* 72 */
      {".macro mac(.vertex a, .vertex b) { }\nmac(A);",
       {"Line 5: wrong number of parameters\n"}},
      /* 73 */
      {".macro mac(.vertex a) { }\nmac(A, B);", {"Line 5: bad properties\n"}},
      /* 74 */
      {".macro mac(.vertex a) { }\nmac A;", {"Line 5: Expected '('\n"}},
      /* 75 */
      {".macro mac(.vertex a) { x = mac(a); }",
       {"Line 4: recursive macro call\n"}},
      /* 76 */
      {".macro mac(.flt a0, .flt a1, .flt a2, .flt a3, .flt a4, .flt "
       "a5, .flt a6, .flt a7, .flt a8, .flt a9, .flt a10) {}",
       {"Line 4: too many macro parameters\n"}},
      /* 77 */
      {"x = .free(1, 2, [33 .red, .green, .blue, .red, .green, .blue, "
       ".red, .green, .blue, .red, .green, .blue, .red, .green, .blue, "
       ".red, .green, .blue, .red, .green, .blue, .red, .green, .blue, "
       ".red, .green, .blue, .red, .green, .blue, .red, .green, "
       ".blue]);",
       {"Line 4: Too many layer colors\n"}},
      /* 78 */
      {"x = .f.rpn(1, 2",
       {"Line 4: Expected float, close, angle, "
        "flt, or stack operator\n"}},
  };
  for (size_t r = 0; r < sizeof rows / sizeof rows[0]; r++) {
    SetUp();
    EXPECT_EQ(readtext(std::string(HEAD) + rows[r].text), 0) << "row " << r + 1;
    ASSERT_EQ(alerts().size(), rows[r].alerts.size())
        << "row " << r + 1 << ": " << firstalert();
    for (size_t i = 0; i < alerts().size(); i++)
      EXPECT_EQ(alerts()[i], rows[r].alerts[i]) << "row " << r + 1;
    EXPECT_EQ(parsingmacro, 0) << "row " << r + 1;
  }
}

TEST_F(Lang, ExpressionOfMoreThanAHundredItemsIsRejected) {
  std::string items;
  for (int i = 0; i < 100; i++) items += "1 ";
  EXPECT_EQ(readtext("x = .f.rpn(" + items + ");"), 1);
  EXPECT_EQ(static_cast<flt*>(named("x"))->nrpn, 100);
  SetUp();
  EXPECT_EQ(readtext("x = .f.rpn(" + items + "1);"), 0);
  EXPECT_EQ(firstalert(), "Line 1: expression longer than 100 items\n");
}

TEST_F(Lang, AStrayClosingBraceFailsSilently) {
  EXPECT_EQ(readtext("A = .free(0, 0);\n}"), 0);
  EXPECT_TRUE(alerts().empty());
  EXPECT_NE(named("A"), nullptr);  // what was read stays
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
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a->kind, FREE);
  EXPECT_EQ(a->x, 1);
  EXPECT_EQ(a->y, 2);
  EXPECT_EQ(a->w, 1);
  EXPECT_EQ(a->symbol->type, RW_VERTEX);
  vertex* b = (vertex*)named("B");
  EXPECT_EQ(b->x, -0.5);
  EXPECT_EQ(b->y, 10);
  line* l = (line*)named("l");
  EXPECT_EQ(l->kind, L_VV);
  EXPECT_EQ(l->parents[0], a);
  EXPECT_EQ(l->parents[1], b);
  // the literal 0.5 is an anonymous flt, entered before M
  primitive* m = named("M");
  flt* half = (flt*)m->parents[2];
  EXPECT_EQ(half->named, 0);
  EXPECT_EQ(half->kind, LITERAL);
  EXPECT_EQ(half->value, 0.5);
  EXPECT_STREQ(half->symbol->name, "0.500000");
  EXPECT_EQ(half->next, m);
  polygon* p = (polygon*)named("P");
  EXPECT_EQ(p->nvert, 4);
  EXPECT_EQ(p->kind, POLYGON);
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

TEST_F(Lang, BranchesAndSynonyms) {
  ASSERT_EQ(readtext(std::string(HEAD) +
                     "x = .c.lll(l, m, n, 3); y = .v.lc(l, c, 2);\n"
                     "z = .V.LCOTHER(l, c, A); w = .arc(A, B, C);"),
            1)
      << firstalert();
  EXPECT_EQ(named("x")->kind, C_LLL3);
  EXPECT_EQ(named("y")->kind, V_LC2);
  EXPECT_EQ(named("z")->kind, V_LCVOTHER);
  EXPECT_EQ(named("w")->kind, ARC_VVV);
  EXPECT_EQ(named("w")->type, RW_ARC);
}

TEST_F(Lang, Properties) {
  ASSERT_EQ(
      readtext("A = .free(0, 0, .l1, .l3);\n"
               "B = .free(0, 0, .tol2);\n"
               "C = .free(0, 0, .l30on, .red, .blue, .square, .display);\n"
               "D = .free(0, 0, .width=2, \"Q7\");\n"
               "E = .free(0, 0, [3 .red, .in, .blue]);\n"
               "F = .free(0, 0, [40 .red]);\n"
               "l = .l.vv(A, B, .dashline, .ray12, .line2slash);\n"
               "g = .a.vvv(A, B, C, .angle4);\n"
               "P = .polygon(3, A, B, C, .hashpoly);\n"),
      1)
      << firstalert();
  EXPECT_EQ(named("A")->layers, (1u << 1) | (1u << 3));
  EXPECT_EQ(named("B")->layers, 7u);
  primitive* c = named("C");
  EXPECT_EQ(c->layers, (1u << 30) | (1u << 31));
  EXPECT_EQ(c->color, COLOR_BLUE);
  EXPECT_EQ(((vertex*)c)->pointtype, RW_SQUARE);
  EXPECT_EQ(c->display, 1);
  primitive* d = named("D");
  EXPECT_EQ(d->width, 2.0);
  EXPECT_STREQ(d->label, "Q7");
  primitive* e = named("E");
  EXPECT_EQ(e->color, COLOR_PERLAYER);
  for (int i = 0; i < NLAYERS; i++)
    EXPECT_EQ(e->layercolor[i], i < 3 ? 1 : i == 3 ? 255 : 4) << i;
  EXPECT_EQ(named("F")->color, COLOR_RED);  // one colour on every layer
  line* l = (line*)named("l");
  EXPECT_EQ(l->linestyle, RW_DASHLINE);
  EXPECT_EQ(l->linetype, RW_RAY12);
  EXPECT_EQ(l->linemark, RW_LINE2SLASH);
  EXPECT_EQ(((angle*)named("g"))->angletype, RW_SLASH1);
  EXPECT_EQ(((polygon*)named("P"))->polytype, RW_HASHPOLY);
  EXPECT_EQ(named("A")->layers & 1, 0u);
  EXPECT_EQ(named("l")->layers, 0xffffffffu);  // no layer property: all
}

TEST_F(Lang, LabelsSetAutomaticNumbering) {
  ASSERT_EQ(readtext("A = .free(0, 0, \"C\"); B = .free(0, 0, \"Q7\");"), 1);
  EXPECT_EQ(vnumber, 4);  // after "C" comes "D"
  ASSERT_EQ(readtext("A = .free(0, 0, \"b\"); B = .free(0, 0, \"12\");"), 1);
  EXPECT_EQ(vnumber, 65);  // "12" counts 64
}

TEST_F(Lang, PaletteLayersAndModes) {
  ASSERT_EQ(readtext(".c5 = (1, 0.5, 0);\n.red = (0.8, 0, 0);\n"
                     ".l2; .l5;\n.radianmode;\n"),
            1)
      << firstalert();
  EXPECT_EQ(cdefs[5], 1);
  EXPECT_FLOAT_EQ(ctab[5][1], 0.5f);
  EXPECT_EQ(cdefs[1], 1);
  EXPECT_FLOAT_EQ(ctab[1][0], 0.8f);
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

TEST_F(Lang, TextsAndComments) {
  ASSERT_EQ(
      readtext("// first\n.text(\"two\nlines\", .red);\nA = .free(0, 0);"), 1);
  comment* c = (comment*)plist;
  ASSERT_EQ(c->type, RW_COMMENT);
  EXPECT_STREQ(c->textbuf, " first\n");
  text* t = (text*)c->next;
  ASSERT_EQ(t->type, RW_TEXT);
  EXPECT_STREQ(t->string, "two\nlines");
  EXPECT_EQ(t->color, COLOR_RED);
  EXPECT_EQ(linecount, 4);
  // a long comment keeps 149 characters and still ends its line
  std::string longc = "//" + std::string(300, 'c') + "\nB = .free(0, 0);";
  ASSERT_EQ(readtext(longc), 1);
  c = (comment*)plist;
  EXPECT_EQ(strlen(c->textbuf), 149u);
  EXPECT_EQ(c->textbuf[148], '\n');
  EXPECT_NE(named("B"), nullptr);
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
  EXPECT_EQ(firstalert(), "Couldn't open /nonexistent/x.T");
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
