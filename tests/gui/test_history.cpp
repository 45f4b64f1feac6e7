// Undo and redo through the program's own dispatcher and drawing area: the
// delete question and its one step, the Edit menu's labels, and a seeded
// session of constructions by clicks, drags, deletions, colours, styles,
// widths and zooming by key, undone to the first text and redone to the
// last, byte for byte.
#include "tests/gui/guitest.h"
// The rest after the test framework: X11's macros clash with it.
#include <FL/Fl_Menu_Item.H>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>

#include "app/geomwindow.h"
#include "app/undo.h"
#include "history/history.h"
#include "language/parser.h"
#include "language/symtable.h"
#include "language/writer.h"
#include "model/state.h"
#include "tests/langtest.h"

namespace {

std::vector<std::string> asked;
int yes;

struct HistoryWindow : ::testing::Test {
  void SetUp() override {
    // The core history tests' diagram.
    ASSERT_EQ(loaddiagram(TESSARIN_SOURCE_DIR "/tests/data/history.T"), 1);
    drawframe();
    diagramloaded(1);
    asked.clear();
    yes = 0;
    askhook = [](const char* q) {
      asked.push_back(q);
      return yes;
    };
  }
  void TearDown() override {
    mouserelease();
    cleardiagram();
    diagramloaded(1);
  }
};

std::string label(int code) {
  Fl_Menu_Item* m = menuitem(code);
  return std::string(m->label()) + (m->active() ? "" : " (greyed)");
}

TEST_F(HistoryWindow, DeleteAsksFirstAndUndoBringsEverythingBack) {
  EXPECT_EQ(label(UNDOCODE), "Undo (greyed)");
  EXPECT_EQ(label(REDOCODE), "Redo (greyed)");
  std::string start = written();
  int before = records();
  selectprim(named("M"));
  handlemenu(200220);  // No: nothing goes
  EXPECT_EQ(asked, strings{"Delete M and the 1 objects built on it?"});
  EXPECT_EQ(guialerts, strings{"Cannot delete constrained primitive"});
  EXPECT_EQ(records(), before);
  EXPECT_EQ(dirtyfile, 0);
  EXPECT_EQ(label(UNDOCODE), "Undo (greyed)");
  yes = 1;
  selectprim(named("B"));
  handlemenu(200220);  // B, the line a, M and the circle k on M
  EXPECT_EQ(asked.back(), "Delete B and the 3 objects built on it?");
  EXPECT_EQ(records(), before - 4);
  EXPECT_EQ(dirtyfile, 1);
  EXPECT_EQ(label(UNDOCODE), "Undo Delete");
  handlemenu(UNDOCODE);
  EXPECT_EQ(written(), start);
  EXPECT_EQ(dirtyfile, 0);
  ASSERT_NE(pselected, nullptr);
  EXPECT_STREQ(primname(pselected), "B");
  EXPECT_EQ(label(UNDOCODE), "Undo (greyed)");
  EXPECT_EQ(label(REDOCODE), "Redo Delete");
  handlemenu(REDOCODE);
  EXPECT_EQ(records(), before - 4);
  EXPECT_EQ(dirtyfile, 1);
}

// A record at random (a free point only, when asked), or none.
primitive* pick(std::mt19937& rng, int freeonly = 0) {
  std::vector<primitive*> v;
  for (primitive* p = plist; p; p = p->next)
    if (!freeonly || (p->type == RW_VERTEX && p->kind == FREE)) v.push_back(p);
  return v.empty() ? nullptr : v[rng() % v.size()];
}

double spot(std::mt19937& rng) {
  return (int)(rng() % 140) / 100.0 - 0.7;
}

void act(std::mt19937& rng) {
  primitive* p;
  switch (rng() % 8) {
    case 0: {  // a construction: Free P, PP=>L or midpoint, by clicks
      static const int codes[] = {200001, 200002, 200012};
      int code = codes[rng() % 3];
      handlemenu(code);
      for (int i = 0; i < (code == 200001 ? 1 : 2); i++) {
        vertex* v = static_cast<vertex*>(pick(rng, 1));
        if (code == 200001 || !v)
          mousepress(spot(rng), spot(rng));
        else
          mousepress(v->x, v->y);
        mouserelease();
      }
      handlemenu(200219);  // Cancel Repeat Mode: leaves a half-built one
      break;
    }
    case 1:
      if ((p = pick(rng))) {
        selectprim(p);
        handlemenu(200220);
      }
      break;
    case 2:
      if ((p = pick(rng, 1))) {
        vertex* v = static_cast<vertex*>(p);
        mousepress(v->x, v->y);
        mousedragto(spot(rng), spot(rng));
        mousedragto(spot(rng), spot(rng));
        mouserelease();
      }
      break;
    case 3:
      if ((p = pick(rng))) selectprim(p);
      handlemenu(200145 + (int)(rng() % 13));
      break;
    case 4: {
      static const int styles[] = {200175, 200176, 200177, 200200, 200201,
                                   200203, 200204, 200206, 200207};
      if ((p = pick(rng))) selectprim(p);
      handlemenu(styles[rng() % 9]);
      break;
    }
    case 5:
      if ((p = pick(rng))) selectprim(p);
      handlemenu(200350 + (int)(rng() % 6));
      break;
    default: keypress(rng() % 2 ? FL_Page_Up : FL_Page_Down); break;
  }
}

TEST_F(HistoryWindow, SessionThroughTheDispatcherUndoesAndRedoesExactly) {
  yes = 1;
  std::mt19937 rng(7);
  std::vector<std::string> states{written()};
  for (int i = 0; i < 300; i++) {
    int steps = historyundocount();
    act(rng);
    ASSERT_FALSE(changepending) << "action " << i;
    if (historyundocount() > steps)
      states.push_back(historytext());
    else
      states.back() = historytext();  // a run of zooming grew its step
    ASSERT_EQ(historytext(), written()) << "action " << i;
  }
  ASSERT_GT(states.size(), 60u);  // no-ops and grown zoom steps add none
  for (size_t i = states.size() - 1; i > 0; i--) {
    handlemenu(UNDOCODE);
    ASSERT_EQ(written(), states[i - 1]) << "undo to state " << i - 1;
  }
  EXPECT_EQ(dirtyfile, 0);
  EXPECT_EQ(label(UNDOCODE), "Undo (greyed)");
  for (size_t i = 1; i < states.size(); i++) {
    handlemenu(REDOCODE);
    drawframe();
    ASSERT_EQ(written(), states[i]) << "redo to state " << i;
  }
  EXPECT_EQ(dirtyfile, 1);
}

}  // namespace
