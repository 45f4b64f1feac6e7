// langtest.h: the fixture shared by the diagram-language tests: a reset
// core, an alert recorder, reading text and writing the diagram to a string.
#pragma once

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "editor/editbuffer.h"
#include "editor/editcmds.h"
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

// What `write` puts in a file, as a string.
template <class F>
std::string captured(F write) {
  char* buf = nullptr;
  size_t size = 0;
  FILE* f = open_memstream(&buf, &size);
  write(f);
  fclose(f);
  std::string s(buf, size);
  free(buf);
  return s;
}

// The diagram as the writer writes it.
inline std::string written() {
  return captured(printdiagram);
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

// How many records the world list holds.
inline int records() {
  int n = 0;
  for (primitive* p = plist; p; p = p->next) n++;
  return n;
}

// How many times `what` stands in `text` (overlapping ones too).
inline int occurrences(const std::string& text, const std::string& what) {
  int n = 0;
  for (size_t at = text.find(what); at != std::string::npos;
       at = text.find(what, at + 1))
    n++;
  return n;
}

inline primitive* named(const char* name) {
  symtableentry* e = lookup(idtable, name);
  return e ? e->prim : nullptr;
}

inline std::string slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void writefile(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

// The shipped example diagrams, examples/*.T, by full path in name order.
inline std::vector<std::string> examples() {
  std::vector<std::string> out;
  for (const auto& e :
       std::filesystem::directory_iterator(TESSARIN_SOURCE_DIR "/examples"))
    if (e.path().extension() == ".T") out.push_back(e.path().string());
  std::sort(out.begin(), out.end());
  return out;
}

inline bool exists(const std::string& path) {
  return std::filesystem::exists(path);
}

// Types the characters into the text editor's buffer, one key each.
inline void type(const char* s) {
  for (; *s; s++) handleeditorcmd((unsigned char)*s);
}

// What the text editor's buffer holds.
inline std::string edittext() {
  char* s = buffertext();
  std::string r = s;
  free(s);
  return r;
}

// An empty folder <build>/<under>/<the running test's name>: one per test,
// since ctest runs tests side by side.
inline std::string testfolder(const std::string& under) {
  std::string dir =
      TESSARIN_BINARY_DIR "/" + under + "/" +
      ::testing::UnitTest::GetInstance()->current_test_info()->name();
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  return dir;
}

// The sections of the golden file tests/data/<file>: a line "=== name"
// starts one and the lines up to the next make its text, each with its line
// end, but for empty lines at its end; lines starting with "#" are notes for
// the reader.
inline std::map<std::string, std::string> golden(const std::string& file) {
  std::istringstream in(slurp(TESSARIN_SOURCE_DIR "/tests/data/" + file));
  std::map<std::string, std::string> out;
  std::string line, *at = nullptr;
  while (std::getline(in, line))
    if (line.rfind("===", 0) == 0)
      at = &out[line.substr(std::min<size_t>(4, line.size()))];
    else if (at && line.rfind("#", 0) != 0)
      *at += line + "\n";
  for (auto& s : out) {
    std::string& t = s.second;
    t.erase(t.find_last_not_of('\n') + 1);
    if (!t.empty()) t += "\n";
  }
  EXPECT_FALSE(out.empty()) << file;
  return out;
}

// A golden text on one line: "\\n", "\\r" and "\\t" stand for line ends and
// a tab.
inline std::string unescaped(std::string s) {
  const std::string from = "nrt", to = "\n\r\t";
  for (size_t at = 0; (at = s.find('\\', at)) != std::string::npos; at++)
    if (at + 1 < s.size() && from.find(s[at + 1]) != std::string::npos)
      s.replace(at, 2, 1, to[from.find(s[at + 1])]);
  return s;
}

// A fresh private folder under /tmp, removed with all it holds.
struct scratch {
  std::string dir;
  scratch() {
    char name[] = "/tmp/tessarin-test-XXXXXX";
    EXPECT_NE(mkdtemp(name), nullptr);
    dir = name;
  }
  ~scratch() {
    chmod(dir.c_str(), 0700);
    std::filesystem::remove_all(dir);
  }
};

struct Lang : ::testing::Test {
  void SetUp() override {
    resetall();
    alerts().clear();
    alerthook = recordalert;
  }
  void TearDown() override { resetall(); }
};

}  // namespace langtest
