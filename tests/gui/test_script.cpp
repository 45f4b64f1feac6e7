// Scripts and Edit Geometry in the running program: a run through the real
// idle loop with Script Print writing its frames, keys that stop a run, and
// a text edit with a syntax error answered through the real editor window.

// clang-format off
// gtest before the X headers, whose macros (None) it would not survive.
#include <gtest/gtest.h>
#include <FL/Fl.H>
#include <FL/Fl_Double_Window.H>
#include <FL/x.H>
// clang-format on
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/commands.h"
#include "app/files.h"
#include "app/geomwindow.h"
#include "editor/editbuffer.h"
#include "editor/editwindow.h"
#include "language/parser.h"
#include "language/symtable.h"
#include "model/shell.h"
#include "model/state.h"
#include "model/style.h"
#include "model/worldlist.h"
#include "tests/gui/guitest.h"

namespace {

const std::string dir = TESSARIN_BINARY_DIR "/guiscript-test";

// Writes the diagram text to dir/name and opens it as the current file.
void opendiagram(const char* name, const char* text) {
  std::string path = dir + "/" + name;
  FILE* f = fopen(path.c_str(), "w");
  ASSERT_NE(f, nullptr);
  fputs(text, f);
  fclose(f);
  cleardiagram();
  ASSERT_EQ(readgeometry(path.c_str()), 1);
  setcurrentfilename(path.c_str());
  dirtyfile = 0;
}

// Lets the program run until the script stops (at most `seconds`).
void waitforscript(double seconds) {
  for (double t = 0; t < seconds && runningscript; t += 0.01) Fl::wait(0.01);
}

struct ScriptWindow : ::testing::Test {
  void SetUp() override {
    ASSERT_EQ(
        system(("rm -rf '" + dir + "' && mkdir -p '" + dir + "'").c_str()), 0);
  }
  void TearDown() override {
    runningscript = 0;
    dumpingeps = 0;
    layerset = 0xffffffffu;
    cleardiagram();
    clearcurrentfilename();
  }
};

TEST_F(ScriptWindow, RunThroughTheIdleLoopWritesEveryFrame) {
  opendiagram("demo.T",
              ".geometry \"version 0.65\";\nt = .script(0, 1, 0.25);\n"
              "A = .free(0.5, 0, .smear);\nP = .v.vrotate(A, t, .smear);\n");
  ASSERT_NE(Script, nullptr);
  handlemenu(100015);  // Script Print on
  handlemenu(200244);  // Run Script
  EXPECT_EQ(runningscript, 1);
  waitforscript(10);
  EXPECT_EQ(runningscript, 0);
  EXPECT_EQ(Script->value, 1.0);
  for (int i = 0; i < 5; i++) {
    char name[32];
    snprintf(name, sizeof name, "/demo%03d.eps", i);
    EXPECT_TRUE(exists(dir + name)) << name;
  }
  EXPECT_FALSE(exists(dir + "/demo005.eps"));
}

TEST_F(ScriptWindow, KeysStopARunAndRestoreTheFileLayers) {
  opendiagram("long.T",
              ".geometry \"version 0.65\";\n.l0; .l1;\n"
              "t = .script(0, 100000, 1);\nA = .free(0.5, 0);\n");
  EXPECT_EQ(filelayerset, 3u);
  handlemenu(200234);  // Start Proof
  EXPECT_EQ(layerset, 1u);
  handlemenu(200244);
  pump(0.5);
  ASSERT_EQ(runningscript, 1);
  EXPECT_GT(Script->value, 0.0);
  focus(main_window);
  // x stops it; typing s runs it again from the start; an arrow stops it.
  const struct {
    const char* key;
    int running;
  } keys[] = {{"x", 0}, {"s", 1}, {"Left", 0}};
  for (const auto& k : keys) {
    xdo(std::string("key ") + k.key);
    pump(0.3);
    EXPECT_EQ(runningscript, k.running) << k.key;
    EXPECT_EQ(layerset, 3u) << k.key;
    if (!k.running) {
      EXPECT_EQ(Script->value, 0.0) << k.key;
    }
  }
}

TEST_F(ScriptWindow, EditGeometryReopensOnTheFailingLine) {
  opendiagram("edit.T",
              ".geometry \"version 0.65\";\nA = .free(0.1, 0.2, \"A\");\n"
              "B = .free(0.3, 0.4, \"B\");\nl = .l.vv(A, B);\n");
  int firstline = -1, reopenline = -1, reopenmark = -1;
  std::string tmpedit;
  withsteps({[&] {
               tmpedit = ed.editpath;
               firstline = ed.pointline;
               focus(editorwindow);
               // Line 3 (B) becomes a statement the reader refuses.
               xdo("key --delay 20 Down Down ctrl+k");
               xdo("type --delay 10 'B = .free(0.3, ;'");
               xdo("key ctrl+s");
             },
             [&] {
               reopenline = ed.pointline;
               reopenmark = ed.markchar;
               focus(editorwindow);
               xdo("key ctrl+shift+q");  // Quit (No Save)
             }},
            [] { handlemenu(200238); });
  EXPECT_EQ(firstline, 0);
  EXPECT_EQ(reopenline, 2);
  EXPECT_EQ(reopenmark, (int)strlen("B = .free(0.3, ;"));
  ASSERT_FALSE(guialerts.empty());
  EXPECT_EQ(guialerts[0].rfind("Line 3: ", 0), 0u) << guialerts[0];
  // The diagram as it was, marked modified; the temporary files gone.
  symtableentry* b = lookup(idtable, "B");
  ASSERT_NE(b, nullptr);
  EXPECT_DOUBLE_EQ(((vertex*)b->prim)->x, 0.3);
  EXPECT_NE(lookup(idtable, "l"), nullptr);
  EXPECT_EQ(dirtyfile, 1);
  EXPECT_FALSE(tmpedit.empty());
  EXPECT_FALSE(exists(tmpedit));
  EXPECT_FALSE(editorwindow->shown());
}

}  // namespace
