// The keyword table and the identifier table: every reserved word, classes
// and sub-codes, and tables that grow far beyond their first size.
#include <string>
#include <vector>

#include "language/symtable.h"
#include "tests/langtest.h"

namespace {
using namespace langtest;

struct wordrow {
  const char* name;
  int code, cls, minor;
};

TEST_F(Lang, ReservedWords) {
  int n = 0;
  for (int i = 0; i < restable->nbuckets; i++) n += restable->buckets[i].count;
  EXPECT_EQ(n, NRESERVED);
  const wordrow rows[] = {
      {".geometry", 1, kwheader, 0},
      {".vertex", 2, kwtype, 1},
      {".ratio", 11, kwtype, 7},
      {".ray12", 16, kwlinetype, 1},
      {".dotline", 45, kwlinetype, 6},
      {".circpoint", 26, kwpointmark, 8},
      {".angle4", 31, kwanglemark, 4},
      {".slash1", 31, kwanglemark, 4},
      {".right", 37, kwanglemark, 10},
      {".hashpoly2", 42, kwpolystyle, 5},
      {".line3slash", 49, kwslash, 3},
      {".blue", 53, kwcolor, 4},
      {".yellow", 54, kwcolor, 3},
      {".invisible", 58, kwcolor, -1},
      {".in", 58, kwcolor, -1},
      {".blink2", 62, kwcolor, -5},
      {".c0", 63, kwcolor, 0},
      {".c31", 94, kwcolor, 31},
      {".l0", 95, kwlayer, 0},
      {".l31", 126, kwlayer, 31},
      {".l0on", 127, kwlayer, 32},
      {".l31on", 158, kwlayer, 63},
      {".tol0", 159, kwlayer, 64},
      {".tol31", 190, kwlayer, 95},
      {".layercondition", 293, kwlayer, 96},
      {".pinned", 192, kwvertex, 15},
      {".v.lcother", 213, kwvertex, 23},
      {".v.vvvharmonic", 215, kwvertex, 25},
      {".l.vvperp", 223, kwline, 8},
      {".c.ctrvv", 232, kwcircle, 9},
      {".bez.vvvv", 233, kwbezier, 1},
      {".ratio.vvv", 234, kwratio, 1},
      {".len.mult", 239, kwlength, 5},
      {".len.polyarea", 244, kwlength, 8},
      {".a.f", 246, kwangle, 4},
      {".arc", 13, kwarc, 0},
      {".arc.vvv", 247, kwarc, 0},
      {".polygon", 12, kwpolygon, 0},
      {".text", 7, kwtext, 0},
      {".conic.lllll", 249, kwconic, 2},
      {".add", 250, kwrpnop, 250},
      {".if", 281, kwrpnop, 281},
      {".f.rpn", 282, kwflt, 1},
      {".f.vvvratio", 283, kwflt, 4},
      {".script", 292, kwflt, 6},
      {".degreemode", 290, kwmode, 1},
      {".radianmode", 291, kwmode, 0},
      {".macro", 300, kwmacro, 0},
      {".return", 302, kwreturn, 0},
      {".x.f9", 307, kwxform, 6},
      {".vvfcondition", 314, kwcondition, 4},
  };
  for (const wordrow& r : rows) {
    symtableentry* e = lookup(restable, r.name);
    ASSERT_NE(e, nullptr) << r.name;
    EXPECT_EQ(e->type, r.code) << r.name;
    minortype = 12345;
    EXPECT_EQ(reswordtype(e->type), r.cls) << r.name;
    EXPECT_EQ(minortype, r.minor) << r.name;
  }
  // words whose sub-code means nothing leave minortype alone
  const char* keep[] = {".display", ".width", ".include"};
  const int keepclass[] = {kwdisplay, kwwidth, kwheader};
  for (int i = 0; i < 3; i++) {
    minortype = 777;
    EXPECT_EQ(reswordtype(lookup(restable, keep[i])->type), keepclass[i]);
    EXPECT_EQ(minortype, 777) << keep[i];
  }
  EXPECT_EQ(reswordtype(RW_COMMENT), kwcomment);
  EXPECT_TRUE(alerts().empty());
  EXPECT_EQ(reswordtype(RW_ARGEND), kwheader);
  EXPECT_EQ(firstalert(), "Bad reserved word\n");
  EXPECT_EQ(lookup(restable, ".RED"), nullptr);  // the lexer lowers words
}

TEST_F(Lang, HashIsTheByteSum) {
  EXPECT_EQ(hash("a"), 97);
  EXPECT_EQ(hash("ab"), (97 + 98) % 153);
  EXPECT_EQ(hash(""), 0);
  EXPECT_EQ(hash("\xff"), 152);  // bytes count as signed: -1 mod 153
}

TEST_F(Lang, CrowdedTablesSpreadAndKeepEveryName) {
  std::vector<vertex*> v;
  for (int i = 0; i < 20000; i++) {
    vertex* p = new vertex;
    std::string name = "v" + std::to_string(i);
    symtableentry* e = addentry(idtable, name.c_str(), RW_VERTEX);
    e->prim = p;
    p->symbol = e;
    v.push_back(p);
    if (i % 100 == 0) checksymtablesize(idtable);
  }
  EXPECT_NE(idtable->slots, nullptr);  // spread
  EXPECT_GE(idtable->nslots, 2 * 20000);
  for (int i = 0; i < 20000; i++) {
    std::string name = "v" + std::to_string(i);
    ASSERT_EQ(lookup(idtable, name.c_str()), v[i]->symbol) << name;
    ASSERT_EQ(v[i]->symbol->prim, v[i]);
  }
  // a duplicate added later is not what lookup finds first
  symtableentry* dup = addentry(idtable, "v7", RW_LINE);
  checksymtablesize(idtable);
  EXPECT_EQ(lookup(idtable, "v7"), v[7]->symbol);
  EXPECT_NE(lookup(idtable, "v7"), dup);
  EXPECT_EQ(strippedlookup(idtable, "mac$v9"), v[9]->symbol);
  EXPECT_EQ(strippedlookup(idtable, "v9"), nullptr);
  removeentry(idtable, "v9");
  EXPECT_EQ(lookup(idtable, "v9"), nullptr);
  cleartable(idtable);
  EXPECT_EQ(idtable->slots, nullptr);
  EXPECT_EQ(lookup(idtable, "v1"), nullptr);
  for (vertex* p : v) destroyprimitive(p);
}

}  // namespace

namespace {
using namespace langtest;

TEST_F(Lang, RepeatedNamesInASpreadTable) {
  for (int i = 0; i < 3000; i++) addentry(idtable, "2.000000", RW_FLT);
  for (int i = 0; i < 3000; i++)
    addentry(idtable, ("w" + std::to_string(i)).c_str(), RW_VERTEX);
  symtableentry* first = nullptr;
  checksymtablesize(idtable);
  ASSERT_NE(idtable->slots, nullptr);
  // the first entry of a repeated name is the one found
  first = lookup(idtable, "2.000000");
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->type, RW_FLT);
  EXPECT_NE(lookup(idtable, "w2999"), nullptr);
  removeentry(idtable, "2.000000");  // every entry of the name goes
  EXPECT_EQ(lookup(idtable, "2.000000"), nullptr);
  symtableentry* again = addentry(idtable, "2.000000", RW_FLT);
  EXPECT_EQ(lookup(idtable, "2.000000"), again);
}

}  // namespace
