// File > Open Recent: the last ten diagrams opened or saved, most recent
// first, kept in the preferences file; chosen through the real menu with
// X events; a file that is gone is dropped with a message.
#include <FL/Fl.H>
#include <FL/Fl_Menu_Bar.H>
#include <FL/Fl_Window.H>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/chooser.h"
#include "app/commands.h"
#include "app/files.h"
#include "app/geomwindow.h"
#include "app/recentmenu.h"
#include "app/ui.h"
#include "model/notify.h"
#include "prefs/preffile.h"
#include "prefs/recent.h"
#include "tests/gui/guitest.h"

namespace {

std::string scratch;  // a fresh directory per test
std::vector<const char*> chooseranswers;

struct Recent : ::testing::Test {
  void SetUp() override {
    cleardiagram();
    resetui();
    resetrecent();
    char tmpl[] = "/tmp/tessarin-recent-XXXXXX";
    scratch = mkdtemp(tmpl);
    choosefilehook = [](const char*, const char*, const char*) -> const char* {
      if (chooseranswers.empty()) return nullptr;
      const char* a = chooseranswers.front();
      chooseranswers.erase(chooseranswers.begin());
      return a;
    };
  }
  void TearDown() override {
    resetui();
    resetrecent();
    saverecentfiles();
    std::string rm = "rm -rf '" + scratch + "'";
    if (system(rm.c_str()) != 0) ADD_FAILURE() << "cannot remove " << scratch;
  }
};

// A small diagram file d<i>.T in the scratch folder, its path.
std::string diagram(int i) {
  std::string path = scratch + "/d" + std::to_string(i) + ".T";
  FILE* f = fopen(path.c_str(), "w");
  fprintf(f, ".geometry \"version 0.65\";\nP%d = .free(0.1, 0.2);\n", i);
  fclose(f);
  return path;
}

// The "recent" lines of the preferences file, in order.
std::vector<std::string> recentlines() {
  std::vector<std::string> lines;
  std::string text = readtext(defaultfilename()), line;
  for (char c : text) {
    if (c != '\n') {
      line += c;
      continue;
    }
    if (line.compare(0, 7, "recent ") == 0) lines.push_back(line.substr(7));
    line.clear();
  }
  return lines;
}

TEST_F(Recent, LastTenOpenedOrSavedMostRecentFirst) {
  std::vector<std::string> paths;
  for (int i = 0; i < 12; i++) paths.push_back(diagram(i));
  for (int i = 0; i < 12; i++) opendocument(paths[i].c_str());
  // Opening d3 again moves it to the top; saving under a new name puts
  // that name above it.
  opendocument(paths[3].c_str());
  std::string saved = scratch + "/saved.T";
  chooseranswers = {saved.c_str()};
  handlemenu(100004);  // Save As
  std::vector<std::string> want = {saved,    paths[3], paths[11], paths[10],
                                   paths[9], paths[8], paths[7],  paths[6],
                                   paths[5], paths[4]};
  ASSERT_EQ(nrecent, 10);
  for (int i = 0; i < 10; i++) EXPECT_EQ(recentfiles[i], want[i]) << i;
  // The preferences file keeps the list in that order beside its settings.
  EXPECT_EQ(recentlines(), want);
  EXPECT_NE(readtext(defaultfilename()).find("notips\n"), std::string::npos);
  // The menu lists them in that order, and nothing else.
  for (int i = 0; i < 10; i++) {
    const Fl_Menu_Item* m = menuitem(FIRSTRECENT + i);
    ASSERT_TRUE(m);
    EXPECT_TRUE(m->visible());
    EXPECT_NE(std::string(m->label()).find(want[i].substr(want[i].rfind('/'))),
              std::string::npos);
  }
  EXPECT_FALSE(menuitem(NORECENT)->visible());
  // Read back at the next start, the file gives the same list.
  resetrecent();
  parsedefaultfile();
  ASSERT_EQ(nrecent, 10);
  EXPECT_EQ(recentfiles[9], paths[4]);
}

// The open menu runs a loop of its own until it closes, so the keys are
// sent from timeouts that run inside it, one at a time; should they go
// astray, the menu is closed rather than left waiting.
const char* const menukeynames[] = {"Down",  "Down", "Down",
                                    "Right", "Down", "Return"};
size_t menukeysent;
void menukeys(void*) {
  if (menukeysent == sizeof menukeynames / sizeof menukeynames[0]) return;
  xdo(std::string("key ") + menukeynames[menukeysent++]);
  Fl::repeat_timeout(0.3, menukeys);
}
void closemenu(void*) {
  if (Fl::grab()) xdo("key Escape Escape Escape");
}

TEST_F(Recent, ChosenThroughTheMenuWithTheKeyboardAndMouse) {
  std::string a = diagram(1), b = diagram(2), c = diagram(3);
  for (const std::string& p : {a, b, c}) opendocument(p.c_str());
  handlenewcmd();
  pump(0.2);
  // Windows earlier tests left open (the help viewer) must not cover the
  // menu bar.
  std::vector<Fl_Window*> others;
  for (Fl_Window* w = Fl::first_window(); w; w = Fl::next_window(w))
    if (w != main_window && !w->parent()) others.push_back(w);
  for (Fl_Window* w : others) w->hide();
  main_window->show();
  pump(0.2);
  // File, then down to Open Recent, into it, down to its second entry.
  focus(main_window);
  menukeysent = 0;
  Fl::add_timeout(1.0, menukeys);
  Fl::add_timeout(8.0, closemenu);
  int x = main_window->x_root() + 20, y = main_window->y_root() + 12;
  xdo("mousemove " + std::to_string(x) + " " + std::to_string(y) + " click 1");
  for (int i = 0; i < 100 && std::string(currentfilename) != b; i++) pump(0.1);
  Fl::remove_timeout(menukeys);
  Fl::remove_timeout(closemenu);
  EXPECT_EQ(std::string(currentfilename), b);  // c, b, a: the second is b
  EXPECT_EQ(recentfiles[0], b);
}

TEST_F(Recent, AFileThatIsGoneIsDroppedWithAMessage) {
  std::string a = diagram(1), b = diagram(2);
  opendocument(a.c_str());
  opendocument(b.c_str());
  ASSERT_EQ(remove(a.c_str()), 0);
  handlemenu(FIRSTRECENT + 1);  // a
  ASSERT_EQ(guialerts.size(), 1u);
  EXPECT_NE(guialerts[0].find(a), std::string::npos);
  EXPECT_NE(guialerts[0].find("taken off Open Recent"), std::string::npos);
  EXPECT_EQ(nrecent, 1);
  EXPECT_EQ(recentlines(), std::vector<std::string>{b});
  EXPECT_EQ(std::string(currentfilename), b);  // the diagram stays
  EXPECT_FALSE(menuitem(FIRSTRECENT + 1)->visible());
}

}  // namespace
