// Undo and redo of the diagram: a seeded random session of constructions,
// deletions with their dependants, drags, colours, styles, layers, palette
// entries, Edit Geometry replacements and moves of the whole view, undone
// to the first text and redone to the last, byte for byte; the modified
// mark across a save; bursts, limits and the selection.
#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "app/construction.h"
#include "engine/drag.h"
#include "engine/recompute.h"
#include "history/history.h"
#include "langtest.h"
#include "model/construct.h"
#include "model/style.h"
#include "render/palette.h"
#include "render/view.h"

namespace {

using langtest::readtext;
using langtest::written;

const std::string START =
    langtest::slurp(TESSARIN_SOURCE_DIR "/tests/data/history.T");

struct History : langtest::Lang {
  void SetUp() override {
    langtest::Lang::SetUp();
    xsize = ysize = 400;
    recalcsizes(1);
    ASSERT_EQ(readtext(START), 1) << langtest::firstalert();
    checkconstraints();
    historyreset(1);
  }
};

primitive* pick(std::mt19937& rng, int type) {
  std::vector<primitive*> found;
  for (primitive* p = plist; p; p = p->next)
    if (type < 0 || (p->type == type && (type != RW_VERTEX || p->kind == FREE)))
      found.push_back(p);
  if (found.empty()) return nullptr;
  return found[rng() % found.size()];
}

// Picks as the mouse would: the construction's clicks on points.
const char* construct(std::mt19937& rng) {
  static const int codes[] = {200001, 200002, 200012, 200010, 200027, 200026};
  int code = codes[rng() % 6];
  startconstruction(code);
  int clicks = code == 200001 ? 1 : code >= 200026 ? 3 : 2;
  for (int i = 0; i < clicks; i++) {
    primitive* v = code == 200001 ? nullptr : pick(rng, RW_VERTEX);
    double x = v ? static_cast<vertex*>(v)->x : (int)(rng() % 160) / 100.0 - 0.8;
    double y = v ? static_cast<vertex*>(v)->y : (int)(rng() % 160) / 100.0 - 0.8;
    handleworldpick(x, y, 0);
    checkconstraints();
  }
  startconstruction(200001);  // leaves any half-built construction
  return "Construction";
}

const char* drag(std::mt19937& rng) {
  primitive* v = pick(rng, RW_VERTEX);
  if (!v) return "Drag";
  selectprim(v);
  for (int i = 0; i < 3; i++) {
    dragvertex(40 + (int)(rng() % 300), 40 + (int)(rng() % 300));
    checkconstraints();
  }
  return "Drag";
}

// Replaces the diagram with edited text, as the Edit Geometry round trip
// reads its file back: one more free point at the end.
const char* editgeometry(std::mt19937& rng) {
  std::string text = written();
  char extra[80];
  snprintf(extra, sizeof extra, "E%u = .free(0.%02u, -0.%02u);\n",
           (unsigned)rng() % 100000, (unsigned)rng() % 90, (unsigned)rng() % 90);
  text += extra;
  if (idtable) cleartable(idtable);
  clearmacroplist();
  clearplist();
  resetstate(0);
  EXPECT_EQ(parsetext(text.c_str()), 1) << langtest::firstalert();
  setdirtyfile();
  return "Edit Geometry";
}

const char* restyle(std::mt19937& rng) {
  primitive* p = pick(rng, -1);
  if (!p) return "Style";
  if (p->type == RW_VERTEX)
    static_cast<vertex*>(p)->pointtype = RW_DIAMOND + (int)(rng() % 3);
  else if (p->type == RW_LINE)
    static_cast<line*>(p)->linestyle = RW_SOLIDLINE + (int)(rng() % 3);
  p->width = 1 + (int)(rng() % 3);
  setdirtyfile();
  return "Style";
}

// One random action; its name for the history.
const char* act(std::mt19937& rng) {
  primitive* p;
  switch (rng() % 10) {
    case 0:
    case 1: return construct(rng);
    case 2:
      if ((p = pick(rng, -1))) deletewithdependants(p);
      return "Delete";
    case 3: return drag(rng);
    case 4:
      if ((p = pick(rng, -1))) {
        currentcolor = (int)(rng() % 8);
        setprimcolor(p);
        setdirtyfile();
      }
      return "Colour";
    case 5: return restyle(rng);
    case 6:
      if ((p = pick(rng, -1))) p->layers = 1u << (rng() % 4);
      setdirtyfile();
      return "Layer";
    case 7:
      definecolor((int)(rng() % NCOLORS), (rng() % 100) / 100.0f,
                  (rng() % 100) / 100.0f, (rng() % 100) / 100.0f);
      setdirtyfile();
      return "Palette";
    case 8: return editgeometry(rng);
    default:
      if (rng() % 2)
        zoomworld(rng() % 2 ? 1.01 : 0.99);
      else
        rotateworld(0.0174533);
      return "Zoom";
  }
}

TEST_F(History, RandomSessionUndoesAndRedoesByteForByte) {
  std::mt19937 rng(12);
  std::vector<std::string> states{written()};
  EXPECT_EQ(states[0], historytext());
  for (int i = 0; i < 320; i++) {
    historybegin();
    const char* action = act(rng);
    checkconstraints();
    if (historycommit(action, 0)) states.push_back(written());
    ASSERT_EQ(historytext(), written()) << "action " << i;
    ASSERT_EQ(historyundocount(), (int)states.size() - 1);
  }
  ASSERT_GT(states.size(), 250u);
  EXPECT_TRUE(langtest::alerts().empty()) << langtest::firstalert();
  for (size_t i = states.size() - 1; i > 0; i--) {
    ASSERT_EQ(historyundo(), 1);
    ASSERT_EQ(written(), states[i - 1]) << "undo to state " << i - 1;
  }
  EXPECT_EQ(historyundo(), 0);
  EXPECT_EQ(dirtyfile, 0);  // back at the state that was opened
  for (size_t i = 1; i < states.size(); i++) {
    ASSERT_EQ(historyredo(), 1);
    checkconstraints();
    ASSERT_EQ(written(), states[i]) << "redo to state " << i;
  }
  EXPECT_EQ(historyredo(), 0);
  EXPECT_EQ(dirtyfile, 1);
  EXPECT_TRUE(langtest::alerts().empty()) << langtest::firstalert();
}

TEST_F(History, ModifiedMarkFollowsTheSavedState) {
  EXPECT_EQ(dirtyfile, 0);
  zoomworld(2);
  historycommit("Zoom", 0);
  EXPECT_EQ(dirtyfile, 1);
  historysaved();
  EXPECT_EQ(dirtyfile, 0);
  selectprim(langtest::named("A"));
  dragvertex(10, 10);
  historycommit("Drag", 0);
  EXPECT_EQ(dirtyfile, 1);
  EXPECT_STREQ(historyundoname(), "Drag");
  historyundo();
  EXPECT_EQ(dirtyfile, 0);  // the saved state again
  EXPECT_STREQ(historyredoname(), "Drag");
  historyundo();
  EXPECT_EQ(dirtyfile, 1);  // before the save
  historyredo();
  EXPECT_EQ(dirtyfile, 0);
  historyredo();
  EXPECT_EQ(dirtyfile, 1);
  // A new change after undo drops the redo steps.
  historyundo();
  deletewithdependants(langtest::named("C"));
  historycommit("Delete", 0);
  EXPECT_EQ(historyredoname(), nullptr);
  EXPECT_EQ(dirtyfile, 1);
}

TEST_F(History, WhatWritesTheSameTextIsNoChange) {
  vertex* a = static_cast<vertex*>(langtest::named("A"));
  selectprim(a);
  historybegin();  // the press
  double x = a->x, y = a->y;
  dragvertex(200, 200);
  a->x = x;  // the drag ended where it began
  a->y = y;
  EXPECT_EQ(dirtyfile, 1);
  EXPECT_EQ(historycommit("Drag", 0), 0);
  EXPECT_EQ(dirtyfile, 0);
  EXPECT_EQ(historyundocount(), 0);
  EXPECT_EQ(historyundoname(), nullptr);
  // A mark set by hand, with no change begun, is left alone.
  setdirtyfile();
  EXPECT_EQ(historycommit("Change", 0), 0);
  EXPECT_EQ(dirtyfile, 1);
}

TEST_F(History, BurstsAreOneStepAndBreaksEndThem) {
  std::string start = written();
  for (int i = 0; i < 5; i++) {
    zoomworld(1.01);
    historycommit("Zoom", 1);
  }
  EXPECT_EQ(historyundocount(), 1);
  rotateworld(0.1);
  historycommit("Rotate", 1);
  zoomworld(1.01);
  historycommit("Zoom", 1);
  historybreak();
  zoomworld(1.01);
  historycommit("Zoom", 1);
  EXPECT_EQ(historyundocount(), 4);
  for (int i = 0; i < 4; i++) historyundo();
  EXPECT_EQ(written(), start);
  EXPECT_EQ(dirtyfile, 0);
}

TEST_F(History, UndoSelectsWhatWasSelectedAndKeepsTheLimit) {
  primitive* m = langtest::named("M");
  selectprim(m);
  historybegin();
  int before = langtest::records();
  EXPECT_EQ(deletewithdependants(m), 2);  // M and the circle on it
  EXPECT_EQ(langtest::records(), before - 2);
  EXPECT_EQ(pselected, nullptr);
  historycommit("Delete", 0);
  historyundo();
  ASSERT_NE(pselected, nullptr);
  EXPECT_STREQ(primname(pselected), "M");
  EXPECT_EQ(langtest::records(), before);
  for (int i = 0; i < HISTORYSTEPS + 20; i++) {
    zoomworld(i % 2 ? 1.5 : 1 / 1.5);
    historycommit("Zoom", 0);
  }
  EXPECT_EQ(historyundocount(), HISTORYSTEPS);
  EXPECT_LE(historybytes(), HISTORYBYTES);
}

}  // namespace
