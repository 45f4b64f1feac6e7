// langtest.h: the fixture shared by the diagram-language tests: a reset
// core, an alert recorder, reading text and writing the diagram to a string.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "language/lexer.h"
#include "language/parser.h"
#include "language/symtable.h"
#include "language/writer.h"
#include "model/notify.h"
#include "model/reset.h"
#include "model/state.h"
#include "model/worldlist.h"

namespace langtest {

inline std::vector<std::string>& alerts() {
  static std::vector<std::string> a;
  return a;
}
inline void recordalert(const char* text) {
  alerts().push_back(text);
}

// The first alert, or "" when there was none.
inline std::string firstalert() {
  return alerts().empty() ? std::string() : alerts()[0];
}

// Reads text as a fresh diagram the way the program opens a file.
inline int readtext(const std::string& text) {
  clearbuffer();
  resetstate(1);
  return parsetext(text.c_str());
}

// The diagram as the writer writes it.
inline std::string written() {
  char* buf = nullptr;
  size_t size = 0;
  FILE* f = open_memstream(&buf, &size);
  printdiagram(f);
  fclose(f);
  std::string s(buf, size);
  free(buf);
  return s;
}

// Reads text, writes it and reads that back, which must write the same;
// returns the first writing.
inline std::string readback(const std::string& text) {
  EXPECT_EQ(readtext(text), 1) << firstalert();
  std::string once = written();
  EXPECT_EQ(readtext(once), 1) << firstalert() << "\n" << once;
  EXPECT_EQ(written(), once);
  return once;
}

inline primitive* named(const char* name) {
  symtableentry* e = lookup(idtable, name);
  return e ? e->prim : nullptr;
}

inline std::string slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

struct Lang : ::testing::Test {
  void SetUp() override {
    resetall();
    alerts().clear();
    alerthook = recordalert;
  }
  void TearDown() override { resetall(); }
};

}  // namespace langtest
