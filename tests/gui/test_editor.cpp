// The text editor's window on the virtual display: real key presses sent
// by xdotool through the X server while the editor runs its modal loop,
// the drawing of the text, the selection and the cursor, and the mouse.
// Scripts and Edit Geometry in the running program: a run through the real
// idle loop with Script Print writing its frames, keys that stop a run, and
// a text edit with a syntax error answered through the real editor window.
#include "tests/gui/guitest.h"
// The rest after the test framework: X11's macros clash with it.
#include <FL/Fl_Double_Window.H>
#include <FL/fl_draw.H>
#include <FL/x.H>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/files.h"
#include "app/geomwindow.h"
#include "editor/editbuffer.h"
#include "editor/editcmds.h"
#include "editor/editwindow.h"
#include "language/parser.h"
#include "language/symtable.h"
#include "model/shell.h"
#include "model/state.h"
#include "model/style.h"

namespace {

// "line:char" of the point, and "-line:char" of the mark when asked.
std::string where(int withmark = 0) {
  std::string s =
      std::to_string(ed.pointline) + ":" + std::to_string(ed.pointchar);
  if (withmark)
    s += "-" + std::to_string(ed.markline) + ":" + std::to_string(ed.markchar);
  return s;
}

// Moves the mouse to pixel (x, y) of the text view, then does `then`.
void mouseat(int x, int y, const std::string& then) {
  xdo("mousemove --window " + std::to_string((unsigned long)fl_xid(editview)) +
      " " + std::to_string(x) + " " + std::to_string(y) + " " + then);
}

// Edits `text` (opened on line `startline`) with the steps; returns the
// done code and leaves the saved file's text in *saved.
int editround(const std::string& text, int startline,
              const std::vector<std::function<void()>>& steps,
              std::string* saved) {
  std::string dir = testfolder("guiedit-test");
  std::string orig = dir + "/orig.T", edit = dir + "/edit.T";
  writefile(orig, text);
  writefile(edit, text);
  snprintf(ed.origpath, sizeof ed.origpath, "%s", orig.c_str());
  snprintf(ed.editpath, sizeof ed.editpath, "%s", edit.c_str());
  ed.starteditline = startline;
  int done = 0;
  withsteps(steps, [&] { done = runeditor(); });
  *saved = readtext(edit);
  return done;
}

struct EditorWindow : ::testing::Test {
  void SetUp() override {
    alerthook = nullptr;
    askhook = nullptr;
    if (!editorwindow) makeeditorwindow();  // the first call only builds
  }
};

TEST_F(EditorWindow, KeysEditTheText) {
  std::string saved;
  int done = editround(
      "a = 1;\nold line\nc = 3;\nd\nlonger line\n", 2,
      {[] { focus(editorwindow); },
       // Line 2 opens selected; typing replaces it. Backspace at the start
       // of line 3 joins it to line 2.
       [] { xdo("type --delay 20 'B = 2;'"); },
       [] { xdo("key --delay 20 Down ctrl+a BackSpace"); },
       // Tab, then Down through the short "d" keeps column 3; kill the rest
       // of that line and save with the menu's shortcut.
       [] { xdo("key --delay 20 ctrl+Home Tab Right Right Down Down Down"); },
       [] { xdo("key --delay 20 ctrl+k ctrl+s"); }},
      &saved);
  EXPECT_EQ(done, 1);
  EXPECT_EQ(saved, "\ta = 1;\nB = 2;c = 3;\nd\nlon\n");
  EXPECT_FALSE(editorwindow->shown());
}

TEST_F(EditorWindow, CopyPasteWithLineEndsAndFind) {
  std::string pasted, found, saved;
  int done = editround("x1\nx2\ny\n", 1,
                       {[] { focus(editorwindow); },
                        // Select "x1\nx2": copy it, paste it at the end.
                        [] {
                          setpoint(lineat(0), 0);
                          setmark(lineat(1), 2);
                          damageall();
                          editview->redraw();
                          xdo("key --delay 20 ctrl+c ctrl+End End");
                        },
                        [] { xdo("key --delay 20 ctrl+v"); },
                        [&] {
                          pasted = edittext();
                          // Find asks in a dialog; answer it with the keyboard.
                          Fl::add_timeout(0.2, [](void*) {
                            Fl_Window* dialog = Fl::first_window();
                            if (dialog && dialog != editorwindow) focus(dialog);
                            xdo("key ctrl+a");
                            xdo("type --delay 20 'x2'");
                            xdo("key Return");
                          });
                          handleeditorcmd(EC_TOP);
                          xdo("key ctrl+f");
                        },
                        [&] {
                          found = where(1);
                          focus(editorwindow);
                          xdo("key --delay 20 ctrl+shift+q");
                        }},
                       &saved);
  EXPECT_EQ(done, 1);
  EXPECT_EQ(pasted, "x1\nx2\ny\nx1\nx2\n");
  EXPECT_EQ(found, "1:0-1:2");
  EXPECT_EQ(saved, "x1\nx2\ny\n");  // Quit (No Save) put the text back
}

TEST_F(EditorWindow, DrawsTextSelectionAndCursor) {
  int grey = 0, red = 0, black = 0;
  std::string clicked, extended;
  std::string saved;
  editround(
      "abcdefgh\n\tz\n", 1,
      {[] { focus(editorwindow); },
       // A click in row 1, in the tab's blanks nearer its end: after it.
       [] { mouseat(5 + 6 * ed.charwidth, ed.fontheight * 3 / 2, "click 1"); },
       // Shift-click at row 0, column 3: the selection runs from the click
       // before to this one.
       [&] {
         clicked = where();
         mouseat(5 + 3 * ed.charwidth, ed.fontheight / 2,
                 "keydown shift click 1 keyup shift");
       },
       [&] {
         extended = where(1);
         setpoint(lineat(0), 1);
         setmark(lineat(0), 4);
         damageall();
         editview->redraw();
         Fl::flush();
         // Row 0 of the view, read back.
         editview->make_current();
         std::vector<unsigned char> px(3 * editview->w() * ed.fontheight);
         fl_read_image(px.data(), 0, 3, editview->w(), ed.fontheight);
         for (size_t i = 0; i + 2 < px.size(); i += 3) {
           int r = px[i], g = px[i + 1], b = px[i + 2];
           if (r == g && g == b && r > 150 && r < 250) grey++;
           if (r > 200 && g < 60 && b < 60) red++;
           if (r < 60 && g < 60 && b < 60) black++;
         }
         handleeditorcmd(EC_QUITNOSAVE);
       }},
      &saved);
  EXPECT_EQ(clicked, "1:1");          // after the tab
  EXPECT_EQ(extended, "1:1-0:3");     // the mark moved to the shift-click
  EXPECT_GT(grey, 3 * ed.charwidth);  // the selection's band
  EXPECT_EQ(red, 0);                  // no cursor with a selection
  EXPECT_GT(black, 20);               // the text
}

std::string dir;  // a fresh folder per test

// Writes the diagram text to dir/name and opens it as the current file.
void opendiagram(const char* name, const char* text) {
  std::string path = dir + "/" + name;
  writefile(path, text);
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
  void SetUp() override { dir = testfolder("guiscript-test"); }
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
  vertex* b = (vertex*)named("B");
  ASSERT_NE(b, nullptr);
  EXPECT_DOUBLE_EQ(b->x, 0.3);
  EXPECT_NE(named("l"), nullptr);
  EXPECT_EQ(dirtyfile, 1);
  EXPECT_FALSE(tmpedit.empty());
  EXPECT_FALSE(exists(tmpedit));
  EXPECT_FALSE(editorwindow->shown());
}

}  // namespace
