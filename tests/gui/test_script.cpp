// Scripts, proof steps and Edit Geometry in the running program: a run
// through the real idle loop with Script Print writing its frames, a key
// press that stops a run, the proof buttons' commands, and a text edit
// with a syntax error answered through the real editor window.

// clang-format off
// gtest before the X headers, whose macros (None) it would not survive.
#include <gtest/gtest.h>
#include <FL/Fl.H>
#include <FL/Fl_Double_Window.H>
#include <FL/x.H>
// clang-format on
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "app/commands.h"
#include "app/files.h"
#include "app/geomwindow.h"
#include "editor/editbuffer.h"
#include "editor/editwindow.h"
#include "language/parser.h"
#include "language/symtable.h"
#include "model/primitive.h"
#include "model/shell.h"
#include "model/state.h"
#include "model/style.h"
#include "model/worldlist.h"
#include "tests/gui/guitest.h"

namespace {

const std::string dir = TESSARIN_BINARY_DIR "/guiscript-test";

int exists(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0;
}

void xdo(const std::string& args) {
  std::string cmd = "xdotool " + args + " >/dev/null 2>&1";
  EXPECT_EQ(system(cmd.c_str()), 0) << cmd;
}

void focus(Fl_Window* w) {
  Fl::flush();
  xdo("windowfocus --sync " + std::to_string((unsigned long)fl_xid(w)));
}

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
  EXPECT_EQ(dumpingeps, 1);
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
  // The next run numbers its frames from 000 again.
  remove((dir + "/demo000.eps").c_str());
  handlemenu(200244);
  waitforscript(10);
  EXPECT_TRUE(exists(dir + "/demo000.eps"));
  EXPECT_FALSE(exists(dir + "/demo005.eps"));
  handlemenu(100015);  // Script Print off
  EXPECT_EQ(dumpingeps, 0);
}

TEST_F(ScriptWindow, KeyPressStopsARunAndRestoresTheFileLayers) {
  opendiagram("long.T",
              ".geometry \"version 0.65\";\n.l0; .l1;\n"
              "t = .script(0, 100000, 1);\nA = .free(0.5, 0);\n");
  uint32_t file = filelayerset;
  EXPECT_EQ(file, 3u);
  handlemenu(200234);  // Start Proof
  EXPECT_EQ(layerset, 1u);
  handlemenu(200244);
  pump(0.5);
  ASSERT_EQ(runningscript, 1);
  EXPECT_GT(Script->value, 0.0);
  focus(main_window);
  xdo("key x");
  pump(0.3);
  EXPECT_EQ(runningscript, 0);
  EXPECT_EQ(Script->value, 0.0);
  EXPECT_EQ(layerset, file);
  // Typing s runs it again from the start.
  xdo("key s");
  pump(0.3);
  EXPECT_EQ(runningscript, 1);
  xdo("key x");
  pump(0.2);
  EXPECT_EQ(runningscript, 0);
  EXPECT_EQ(Script->value, 0.0);
}

TEST_F(ScriptWindow, ArrowKeyStopsARun) {
  opendiagram("arrow.T",
              ".geometry \"version 0.65\";\n"
              "t = .script(0, 100000, 1);\nA = .free(0.5, 0);\n");
  handlemenu(200244);
  pump(0.5);
  ASSERT_EQ(runningscript, 1);
  focus(main_window);
  xdo("key Left");
  pump(0.3);
  EXPECT_EQ(runningscript, 0);
  EXPECT_EQ(Script->value, 0.0);
}

TEST_F(ScriptWindow, ProofCommands) {
  layerset = 0xffffffffu;
  handlemenu(200234);
  EXPECT_EQ(layerset, 1u);
  EXPECT_EQ(minlayer, 0);
  handlemenu(200235);
  handlemenu(200235);
  EXPECT_EQ(layerset, 4u);
  EXPECT_EQ(minlayer, 2);
  handlemenu(200232);
  EXPECT_EQ(layerset, 2u);
  handlemenu(200233);
  EXPECT_EQ(layerset, 0xffffffffu);
  handlemenu(200235);  // after Off: every layer but layer 0
  EXPECT_EQ(layerset, 0xfffffffeu);
}

// The steps of an Edit Geometry round, run from timeouts while the editor
// waits in its modal loop.
std::vector<std::function<void()>> steps;
size_t nextstep;

void runstep(void*) {
  if (Fl::modal() && Fl::modal() != editorwindow) {
    Fl::add_timeout(0.3, runstep);
    return;
  }
  if (nextstep < steps.size()) {
    steps[nextstep++]();
    Fl::add_timeout(0.4, runstep);
  }
}

void watchdog(void*) {
  ADD_FAILURE() << "Edit Geometry did not end";
  ed.editdone = 1;
  if (editorwindow) editorwindow->hide();
}

TEST_F(ScriptWindow, EditGeometryReopensOnTheFailingLine) {
  opendiagram("edit.T",
              ".geometry \"version 0.65\";\nA = .free(0.1, 0.2, \"A\");\n"
              "B = .free(0.3, 0.4, \"B\");\nl = .l.vv(A, B);\n");
  int firstline = -1, reopenline = -1, reopenmark = -1;
  std::string tmpedit;
  steps = {
      [&] {
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
      },
  };
  nextstep = 0;
  Fl::add_timeout(0.5, runstep);
  Fl::add_timeout(30, watchdog);
  handlemenu(200238);
  Fl::remove_timeout(runstep);
  Fl::remove_timeout(watchdog);
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
