// Edit Geometry's round trip without a window: the private temporary
// files, a syntax error that reopens the editor on its line, "Quit (No
// Save)" bringing the diagram back, a successful edit, and quitting.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "editor/editbuffer.h"
#include "editor/editcmds.h"
#include "editor/editgeom.h"
#include "engine/recompute.h"
#include "language/parser.h"
#include "language/symtable.h"
#include "model/state.h"
#include "model/worldlist.h"
#include "tests/langtest.h"

namespace {

std::string dir;  // one per test: ctest runs tests side by side
using langtest::alerts;
using langtest::exists;
using langtest::type;
std::vector<std::function<int()>> rounds;  // one function per opening
size_t round;
std::vector<int> startlines;
std::vector<std::string> paths;  // original and edited copy, each round

// Opens the editor as the window does, without showing anything.
int fakeeditor() {
  startlines.push_back(ed.starteditline);
  paths.push_back(ed.origpath);
  paths.push_back(ed.editpath);
  FILE* f = fopen(ed.editpath, "r");
  if (!f) return -1;
  readfile(f);
  fclose(f);
  ed.editdone = 0;
  if (round >= rounds.size()) return 1;
  return rounds[round++]();
}

struct EditGeom : langtest::Lang {
  void SetUp() override {
    Lang::SetUp();
    dir = langtest::testfolder("editgeom-test");
    setenv("TMPDIR", dir.c_str(), 1);
    editorrunhook = fakeeditor;
    rounds.clear();
    round = 0;
    startlines.clear();
    paths.clear();
    ASSERT_EQ(langtest::readtext(".geometry \"version 0.65\";\n"
                                 "A = .free(0.1, 0.2, \"A\");\n"
                                 "B = .free(0.3, 0.4, \"B\");\n"
                                 "l = .l.vv(A, B);\n"),
              1);
    checkconstraints();
  }
  void TearDown() override {
    unsetenv("TMPDIR");
    Lang::TearDown();
  }
};

vertex* findvertex(const char* name) {
  return (vertex*)langtest::named(name);
}

// The diagram is the one from before editing, and no file is left.
void expectasbefore() {
  vertex* A = findvertex("A");
  ASSERT_NE(A, nullptr);
  EXPECT_DOUBLE_EQ(A->x, 0.1);
  EXPECT_DOUBLE_EQ(A->y, 0.2);
  EXPECT_NE(findvertex("B"), nullptr);
  EXPECT_NE(lookup(idtable, "l"), nullptr);
  EXPECT_EQ(langtest::records(), 3);
  for (const std::string& p : paths) EXPECT_FALSE(exists(p)) << p;
}

TEST_F(EditGeom, SyntaxErrorReopensOnItsLineAndQuitRestores) {
  rounds = {
      [&] {
        EXPECT_EQ(std::string(lineat(1)->linetext).rfind("A = .free(", 0), 0u);
        // Both files are private, unique and in the temporary directory.
        struct stat st;
        for (const char* p : {ed.origpath, ed.editpath}) {
          EXPECT_EQ(stat(p, &st), 0);
          EXPECT_EQ(st.st_mode & 0777, 0600u);
        }
        EXPECT_STRNE(ed.origpath, ed.editpath);
        EXPECT_EQ(std::string(ed.editpath).rfind(dir + "/tessarin-xgeom", 0),
                  0u);
        // Line 3 becomes a statement the reader refuses.
        setcursor(lineat(2), 0);
        handleeditorcmd(EC_KILLLINE);
        type("C = .free(0.5, ;");
        handleeditorcmd(EC_SAVE);
        return ed.editdone;
      },
      [&] {
        // Reopened on the failing line, selected, with the text as edited.
        EXPECT_EQ(ed.pointline, 2);
        EXPECT_EQ(ed.markline, 2);
        EXPECT_EQ(ed.markchar, (int)strlen("C = .free(0.5, ;"));
        EXPECT_STREQ(lineat(2)->linetext, "C = .free(0.5, ;\n");
        handleeditorcmd(EC_QUITNOSAVE);
        return ed.editdone;
      },
  };
  EXPECT_EQ(editgeomtext(), 1);
  EXPECT_EQ(startlines, (std::vector<int>{1, 3}));
  ASSERT_EQ(alerts().size(), 1u);
  EXPECT_EQ(alerts()[0].rfind("Line 3: ", 0), 0u) << alerts()[0];
  EXPECT_EQ(lookup(idtable, "C"), nullptr);
  expectasbefore();
}

TEST_F(EditGeom, ASavedEditReplacesTheDiagram) {
  rounds = {[] {
    setcursor(lineat(ed.nlines - 1), 0);
    type("C = .free(-0.5, 0.25, \"C\");\n");
    handleeditorcmd(EC_SAVE);
    return ed.editdone;
  }};
  EXPECT_EQ(editgeomtext(), 1);
  EXPECT_TRUE(alerts().empty());
  vertex* C = findvertex("C");
  ASSERT_NE(C, nullptr);
  EXPECT_DOUBLE_EQ(C->x, -0.5);
  EXPECT_DOUBLE_EQ(C->y, 0.25);
  EXPECT_EQ(langtest::records(), 4);
  for (const std::string& p : paths) EXPECT_FALSE(exists(p)) << p;
  // Two round trips never share a file name.
  std::vector<std::string> first = paths;
  rounds.clear();
  round = 0;
  EXPECT_EQ(editgeomtext(), 1);
  EXPECT_NE(paths[2], first[0]);
  EXPECT_NE(paths[3], first[1]);
  EXPECT_EQ(langtest::records(), 4);
}

TEST_F(EditGeom, QuittingAfterAFailedReadKeepsTheDiagramAsItWas) {
  rounds = {
      [] {
        setcursor(lineat(1), 0);
        type("junk junk\n");
        handleeditorcmd(EC_SAVE);
        return ed.editdone;
      },
      [] {
        askhook = [](const char*) { return 1; };
        handleeditorcmd(EC_QUITPROGRAM);
        return ed.editdone;
      },
  };
  EXPECT_EQ(editgeomtext(), 2);
  expectasbefore();
}

TEST_F(EditGeom, NoTemporaryFileNoEdit) {
  setenv("TMPDIR", (dir + "/missing").c_str(), 1);
  EXPECT_EQ(editgeomtext(), 0);
  EXPECT_TRUE(startlines.empty());  // the editor never opened
  std::string expected = "Can't create a temporary file in " + dir +
                         "/missing: No such file or directory";
  EXPECT_EQ(alerts(), std::vector<std::string>{expected});
  EXPECT_EQ(langtest::records(), 3);
}

}  // namespace
