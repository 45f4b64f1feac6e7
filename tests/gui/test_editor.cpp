// The text editor's window on the virtual display: real key presses sent
// by xdotool through the X server while the editor runs its modal loop,
// the drawing of the text, the selection and the cursor, and the mouse.

// clang-format off
// gtest before the X headers, whose macros (None) it would not survive.
#include <gtest/gtest.h>
#include <FL/Fl.H>
#include <FL/Fl_Double_Window.H>
#include <FL/fl_draw.H>
#include <FL/x.H>
// clang-format on
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "editor/editbuffer.h"
#include "editor/editcmds.h"
#include "editor/editwindow.h"
#include "model/notify.h"

namespace {

std::string writetemp(const std::string& contents) {
  char name[] = "/tmp/tessarin-guiedXXXXXX";
  int fd = mkstemp(name);
  if (fd < 0) return "";
  FILE* f = fdopen(fd, "w");
  fputs(contents.c_str(), f);
  fclose(f);
  return name;
}

std::string readall(const std::string& path) {
  std::string r;
  FILE* f = fopen(path.c_str(), "r");
  if (!f) return "<missing>";
  int c;
  while ((c = fgetc(f)) != EOF) r += (char)c;
  fclose(f);
  return r;
}

std::string buffernow() {
  char* s = buffertext();
  std::string r = s;
  free(s);
  return r;
}

// Runs xdotool with the arguments against the display of the tests.
void xdo(const std::string& args) {
  std::string cmd = "xdotool " + args + " >/dev/null 2>&1";
  EXPECT_EQ(system(cmd.c_str()), 0) << cmd;
}

// Gives the window the keyboard focus of the X server.
void focus(Fl_Window* w) {
  Fl::flush();
  xdo("windowfocus --sync " + std::to_string((unsigned long)fl_xid(w)));
}

// The steps of one editing round, run one after another from timeouts
// while `runeditor` waits in its modal loop.
std::vector<std::function<void()>> steps;
size_t nextstep;

void runstep(void*) {
  // While a dialog of the editor waits for its answer, the steps wait.
  if (Fl::modal() && Fl::modal() != editorwindow) {
    Fl::add_timeout(0.3, runstep);
    return;
  }
  if (nextstep < steps.size()) {
    steps[nextstep++]();
    Fl::add_timeout(0.3, runstep);
  }
}

// A round that never ends would hang the tests: stop it.
void watchdog(void*) {
  ADD_FAILURE() << "the editing round did not end";
  ed.editdone = 1;
  editorwindow->hide();
}

// Edits `text` (opened on line `startline`) with the steps; returns the
// done code and leaves the saved file's text in *saved.
int editround(const std::string& text, int startline, std::string* saved) {
  std::string orig = writetemp(text), edit = writetemp(text);
  snprintf(ed.origpath, sizeof ed.origpath, "%s", orig.c_str());
  snprintf(ed.editpath, sizeof ed.editpath, "%s", edit.c_str());
  ed.starteditline = startline;
  nextstep = 0;
  Fl::add_timeout(0.5, runstep);
  Fl::add_timeout(30, watchdog);
  int done = runeditor();
  Fl::remove_timeout(runstep);
  Fl::remove_timeout(watchdog);
  *saved = readall(edit);
  remove(orig.c_str());
  remove(edit.c_str());
  return done;
}

struct EditorWindow : ::testing::Test {
  void SetUp() override {
    alerthook = nullptr;
    askhook = nullptr;
    steps.clear();
    if (!editorwindow) makeeditorwindow();  // the first call only builds
  }
};

TEST_F(EditorWindow, KeysEditTheText) {
  std::string seen[4];
  steps = {
      [] { focus(editorwindow); },
      // Line 2 opens selected; typing replaces it.
      [] { xdo("type --delay 20 'B = 2;'"); },
      [&] {
        seen[0] = buffernow();
        // Backspace at the start of line 3 joins it to line 2.
        xdo("key --delay 20 Down ctrl+a BackSpace");
      },
      [&] {
        seen[1] = buffernow();
        // Tab, then Down through a short line keeps the column.
        xdo("key --delay 20 Home Tab Right Right Down Down Down");
      },
      [&] {
        seen[2] = buffernow();
        char pos[64];
        snprintf(pos, sizeof pos, "%d:%d", ed.pointline, ed.pointchar);
        seen[3] = pos;
        // Kill the rest of the line, then save with the menu's shortcut.
        xdo("key --delay 20 ctrl+k ctrl+s");
      },
  };
  std::string saved;
  int done = editround("a = 1;\nold line\nc = 3;\nd\nlonger line\n", 2, &saved);
  EXPECT_EQ(done, 1);
  EXPECT_EQ(seen[0], "a = 1;\nB = 2;\nc = 3;\nd\nlonger line\n");
  EXPECT_EQ(seen[1], "a = 1;\nB = 2;c = 3;\nd\nlonger line\n");
  EXPECT_EQ(seen[2], "\ta = 1;\nB = 2;c = 3;\nd\nlonger line\n");
  EXPECT_EQ(seen[3], "3:3");  // column 3 again after the short "d"
  EXPECT_EQ(saved, "\ta = 1;\nB = 2;c = 3;\nd\nlon\n");
  EXPECT_FALSE(editorwindow->shown());
}

TEST_F(EditorWindow, CopyPasteWithLineEndsAndFind) {
  std::string seen[2];
  steps = {
      [] { focus(editorwindow); },
      // Select "x1\nx2" with shifted clicks: copy it, paste it at the end.
      [] {
        ed.starteditline = 1;
        setpoint(lineat(0), 0);
        setmark(lineat(1), 2);
        damageall();
        editview->redraw();
        xdo("key --delay 20 ctrl+c ctrl+End End");
      },
      [] { xdo("key --delay 20 ctrl+v"); },
      [&] {
        seen[0] = buffernow();
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
        char pos[64];
        snprintf(pos, sizeof pos, "%d:%d-%d:%d", ed.pointline, ed.pointchar,
                 ed.markline, ed.markchar);
        seen[1] = pos;
        focus(editorwindow);
        xdo("key --delay 20 ctrl+shift+q");
      },
  };
  std::string saved;
  int done = editround("x1\nx2\ny\n", 1, &saved);
  EXPECT_EQ(done, 1);
  EXPECT_EQ(seen[0], "x1\nx2\ny\nx1\nx2\n");
  EXPECT_EQ(seen[1], "1:0-1:2");
  // Quit (No Save) put the text as it was back.
  EXPECT_EQ(saved, "x1\nx2\ny\n");
}

TEST_F(EditorWindow, DrawsTextSelectionAndCursor) {
  std::string seen;
  int grey = 0, red = 0, black = 0;
  int clickline = -1, clickchar = -1, wheeltop = -1;
  std::string extended;
  steps = {
      [] { focus(editorwindow); },
      [&] {
        // A click in row 1, in the tab's blanks nearer its end: after it.
        int x = 5 + 6 * ed.charwidth, y = ed.fontheight + ed.fontheight / 2;
        std::string id = std::to_string((unsigned long)fl_xid(editview));
        xdo("mousemove --window " + id + " " + std::to_string(x) + " " +
            std::to_string(y) + " click 1");
      },
      [&] {
        clickline = ed.pointline;
        clickchar = ed.pointchar;
        // Shift-click at row 0, column 3: the selection runs from the
        // click before to this one.
        std::string id = std::to_string((unsigned long)fl_xid(editview));
        int x = 5 + 3 * ed.charwidth, y = ed.fontheight / 2;
        xdo("mousemove --window " + id + " " + std::to_string(x) + " " +
            std::to_string(y) + " keydown shift click 1 keyup shift");
      },
      [&] {
        extended = std::to_string(ed.pointline) + ":" +
                   std::to_string(ed.pointchar) + "-" +
                   std::to_string(ed.markline) + ":" +
                   std::to_string(ed.markchar);
        // The wheel scrolls three lines a notch (this text has three).
        std::string id = std::to_string((unsigned long)fl_xid(editview));
        xdo("mousemove --window " + id + " 50 20 click 5");
      },
      [&] {
        wheeltop = ed.topdisplineoffset;
        setpoint(lineat(0), 1);
        setmark(lineat(0), 4);
        damageall();
        editview->redraw();
        Fl::flush();
        // Read back row 0 of the view.
        editview->make_current();
        int h = ed.fontheight;
        std::vector<unsigned char> px(3 * editview->w() * h);
        fl_read_image(px.data(), 0, 3, editview->w(), h);
        for (size_t i = 0; i + 2 < px.size(); i += 3) {
          int r = px[i], g = px[i + 1], b = px[i + 2];
          if (r == g && g == b && r > 150 && r < 250) grey++;
          if (r > 200 && g < 60 && b < 60) red++;
          if (r < 60 && g < 60 && b < 60) black++;
        }
        handleeditorcmd(EC_QUITNOSAVE);
      },
  };
  std::string saved;
  editround("abcdefgh\n\tz\n", 1, &saved);
  EXPECT_EQ(clickline, 1);
  EXPECT_EQ(clickchar, 1);            // after the tab
  EXPECT_GT(grey, 3 * ed.charwidth);  // the selection's band
  EXPECT_EQ(red, 0);                  // no cursor with a selection
  EXPECT_GT(black, 20);               // the text
}

}  // namespace
