// The keyword table and the identifier table: classes and sub-codes of
// reserved words, and tables that grow far beyond their first size.
#include <string>
#include <vector>

#include "language/symtable.h"
#include "tests/langtest.h"

namespace {
using namespace langtest;

const int KEEP = 12345;

struct wordrow {
  const char* name;
  int cls, minor;  // KEEP: the sub-code means nothing and is left alone
};

// The class and sub-code of each range of codes at its ends, and of
// synonyms; the words in between are read and written in test_writer,
// test_parser and test_rpn, and the constructions are computed against
// independent values by geometry_reference.py.
TEST_F(Lang, ReservedWords) {
  int n = 0;
  for (int i = 0; i < restable->nbuckets; i++) n += restable->buckets[i].count;
  EXPECT_EQ(n, NRESERVED);
  const wordrow rows[] = {
      {".geometry", kwheader, 0},  {".circpoint", kwpointmark, 8},
      {".angle4", kwanglemark, 4}, {".slash1", kwanglemark, 4},
      {".right", kwanglemark, 10}, {".blue", kwcolor, 4},
      {".yellow", kwcolor, 3},     {".invisible", kwcolor, -1},
      {".in", kwcolor, -1},        {".c0", kwcolor, 0},
      {".c31", kwcolor, 31},       {".l0", kwlayer, 0},
      {".l31", kwlayer, 31},       {".l0on", kwlayer, 32},
      {".l31on", kwlayer, 63},     {".tol0", kwlayer, 64},
      {".tol31", kwlayer, 95},     {".layercondition", kwlayer, 96},
      {".pinned", kwvertex, 15},   {".bez.vvvv", kwbezier, 1},
      {".ratio.vvv", kwratio, 1},  {".len.polyarea", kwlength, 8},
      {".a.f", kwangle, 4},        {".arc", kwarc, 0},
      {".arc.vvv", kwarc, 0},      {".display", kwdisplay, KEEP},
      {".width", kwwidth, KEEP},   {".include", kwheader, KEEP},
  };
  for (const wordrow& r : rows) {
    symtableentry* e = lookup(restable, r.name);
    ASSERT_NE(e, nullptr) << r.name;
    minortype = KEEP;
    EXPECT_EQ(reswordtype(e->type), r.cls) << r.name;
    EXPECT_EQ(minortype, r.minor) << r.name;
  }
  EXPECT_EQ(reswordtype(RW_COMMENT), kwcomment);
  EXPECT_TRUE(alerts().empty());
  EXPECT_EQ(reswordtype(RW_ARGEND), kwheader);
  EXPECT_EQ(firstalert(), "Bad reserved word\n");
  EXPECT_EQ(lookup(restable, ".RED"), nullptr);  // the lexer lowers words
}

TEST_F(Lang, HashIsTheByteSum) {
  EXPECT_EQ(hash("ab"), (97 + 98) % 153);
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
  // a name entered many times is found by its first entry, and removed
  // with all of them
  for (int i = 0; i < 3000; i++) addentry(idtable, "v7", RW_LINE);
  checksymtablesize(idtable);
  EXPECT_EQ(lookup(idtable, "v7"), v[7]->symbol);
  removeentry(idtable, "v7");
  EXPECT_EQ(lookup(idtable, "v7"), nullptr);
  symtableentry* again = addentry(idtable, "v7", RW_FLT);
  EXPECT_EQ(lookup(idtable, "v7"), again);
  EXPECT_EQ(strippedlookup(idtable, "mac$v9"), v[9]->symbol);
  EXPECT_EQ(strippedlookup(idtable, "v9"), nullptr);
  cleartable(idtable);
  EXPECT_EQ(idtable->slots, nullptr);
  EXPECT_EQ(lookup(idtable, "v1"), nullptr);
  for (vertex* p : v) destroyprimitive(p);
}

}  // namespace
