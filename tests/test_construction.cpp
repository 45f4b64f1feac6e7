// The construction state machine without a window: scripted clicks at world
// points, checked against the prompts after each pick, the distinctness
// rules, repeat mode, the polygon and colouring. (Every construction's
// result through the real window is checked by the window tests.)
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "app/construction.h"
#include "engine/recompute.h"
#include "model/construct.h"
#include "model/notify.h"
#include "model/reset.h"
#include "model/shell.h"
#include "model/style.h"
#include "model/worldlist.h"
#include "render/view.h"

namespace {

std::string prompt;
int repeatlight;
std::vector<int> pressed;

void recordprompt(const char* text, int on) {
  prompt = text;
  repeatlight = on;
}
void recordbuttons(int slot) {
  pressed.push_back(slot);
}

void fresh() {
  resetall();
  prompt.clear();
  repeatlight = -1;
  pressed.clear();
  prompthook = recordprompt;
  buttonshook = recordbuttons;
  xsize = ysize = 400;  // dpbsize 0.02: points are hit within 0.038
  recalcsizes(1);
}

struct Machine : ::testing::Test {
  void SetUp() override { fresh(); }
  void TearDown() override { resetall(); }
};

vertex* addfree(double x, double y) {
  vertex* v = makevertex(x, y);
  v->kind = FREE;
  addprimitive(v);
  return v;
}

// A click at a world point, then the recomputation a frame would run.
void click(double x, double y) {
  handleworldpick(x, y, 0);
  checkconstraints();
}

void start(int code) {
  startconstruction(code);
  setmessage();
}

// Points a (-0.5, 0), b (0.5, 0), c (0, 0.5); the lines ab (y = 0) and cd
// (x = 0, to d (0, -0.5)); the circle k of radius 0.3 about (0.6, -0.6).
std::map<std::string, primitive*> diagram() {
  std::map<std::string, primitive*> o;
  vertex* a = addfree(-0.5, 0);
  vertex* b = addfree(0.5, 0);
  vertex* c = addfree(0, 0.5);
  o = {{"a", a}, {"b", b}, {"c", c}};
  o["ab"] = linevertvert(a, b);
  o["cd"] = linevertvert(c, addfree(0, -0.5));
  o["k"] = circvertvert(addfree(0.6, -0.6), addfree(0.9, -0.6));
  for (const char* name : {"ab", "cd", "k"}) addprimitive(o[name]);
  checkconstraints();
  return o;
}

struct step {
  double x, y;
  const char* prompt;  // after the click
};

TEST_F(Machine, PromptsFollowThePicksAndRepeatedPicksAreRefused) {
  const char* done = "Manipulation Mode";
  const struct {
    int code;
    const char* first;
    std::vector<step> steps;
    int kind;
    std::vector<const char*> parents;
  } rows[] = {
      // nothing under the first click; the same point twice
      {200002,
       "Pick Point 1",
       {{0.8, 0.8, "Pick Point 1"},
        {-0.49, 0.02, "Pick Point 2"},
        {-0.5, 0, "Pick Point 2"},
        {0.52, -0.01, done}},
       L_VV,
       {"a", "b"}},
      {200006,
       "Pick Line 1",
       {{-0.25, 0, "Pick Line 2"}, {0.25, 0, "Pick Line 2"}, {0, 0.25, done}},
       V_LL,
       {"ab", "cd"}},
      // all three points must differ
      {200027,
       "Pick Point 1",
       {{-0.5, 0, "Pick Point 2"},
        {-0.5, 0, "Pick Point 2"},
        {0.5, 0, "Pick Point 3"},
        {0.5, 0.01, "Pick Point 3"},
        {0, 0.5, done}},
       C_VVV,
       {"a", "b", "c"}},
      // where the table allows it, the same pick twice
      {200042,
       "Pick Point 1",
       {{-0.5, 0, "Pick Point 2"}, {-0.5, 0, done}},
       L_VVPERP,
       {"a", "a"}},
      {200019,
       "Pick Circle 1",
       {{0.6, -0.3, "Pick Circle 2"}, {0.6, -0.3, done}},
       C_CCINV,
       {"k", "k"}},
      // the first reference may be the centre, the second not the first
      {200044,
       "Pick Center Point",
       {{-0.5, 0, "Pick Reference Point 1"},
        {-0.5, 0, "Pick Reference Point 2"},
        {-0.5, 0, "Pick Reference Point 2"},
        {0.5, 0, done}},
       C_CTRVV,
       {"a", "a", "b"}},
      // closing needs three points; a point already in the list is refused
      {200043,
       "Pick first Point",
       {{-0.5, 0, "Close or New Point 2"},
        {0.5, 0, "Close or New Point 3"},
        {-0.5, 0, "Close or New Point 3"},
        {0.5, 0, "Close or New Point 3"},
        {0, 0.5, "Close or New Point 4"},
        {-0.5, 0, done}},
       POLYGON,
       {"a", "b", "c"}},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.code);
    fresh();
    std::map<std::string, primitive*> o = diagram();
    primitive* tail = plisttail;
    start(r.code);
    EXPECT_EQ(prompt, r.first);
    for (const step& s : r.steps) {
      click(s.x, s.y);
      EXPECT_EQ(prompt, s.prompt)
          << "after the click at " << s.x << ", " << s.y;
    }
    ASSERT_EQ(plisttail->next, nullptr);
    ASSERT_EQ(tail->next, plisttail);  // one record made
    EXPECT_EQ(plisttail->kind, r.kind);
    for (size_t i = 0; i < r.parents.size(); i++)
      EXPECT_EQ(plisttail->parents[i], o[r.parents[i]]) << i;
    EXPECT_EQ(plisttail->parents[r.parents.size()], nullptr);
    EXPECT_EQ(repeatlight, 0);
    EXPECT_EQ(pressed.back(), -1);  // buttons released on completion
  }
}

TEST_F(Machine, RepeatModeRestartsAndAPolygonClosesAtTenPoints) {
  diagram();
  sticky = 1;
  start(200027);
  click(-0.5, 0);
  click(0.5, 0);
  click(0, 0.5);
  EXPECT_EQ(plisttail->kind, C_VVV);
  EXPECT_EQ(prompt, "Pick Point 1");  // back to the first state
  EXPECT_EQ(repeatlight, 1);
  EXPECT_EQ(UIstate, 26);
  std::vector<vertex*> v;
  for (int i = 0; i < 10; i++)
    v.push_back(addfree(-0.9 + 0.17 * i, 0.7 + 0.1 * (i % 3)));
  start(200043);
  for (int i = 0; i < 10; i++) click(v[i]->x, v[i]->y);
  polygon* p = (polygon*)plisttail;
  ASSERT_EQ(p->type, RW_POLYGON);
  EXPECT_EQ(p->nvert, 10);
  EXPECT_EQ(p->parents[9], v[9]);
  EXPECT_EQ(prompt, "Pick first Point");
}

// (Selecting by clicks, Ctrl-clicks included: see the window tests.)
TEST_F(Machine, ColouringByClicks) {
  vertex* a = addfree(0, 0);
  dirtyfile = 0;
  currentcolor = COLOR_RED;
  sticky = 1;
  start(200048);
  EXPECT_EQ(prompt, "Pick Item to Color");
  EXPECT_EQ(pressed.back(), COLORSLOT);
  click(0.5, 0.5);  // nothing there
  EXPECT_EQ(a->color, COLOR_WHITE);
  EXPECT_EQ(dirtyfile, 0);
  click(0, 0);
  EXPECT_EQ(a->color, COLOR_RED);
  EXPECT_EQ(dirtyfile, 1);
  EXPECT_EQ(prompt, "Pick Item to Color");
  // With only layers 1 and 3 in force the colour goes to those layers.
  layerset = (1u << 1) | (1u << 3);
  a->layers = 0xffffffffu;
  currentcolor = COLOR_BLUE;
  click(0, 0);
  EXPECT_EQ(a->color, COLOR_PERLAYER);
  const int want[4] = {COLOR_RED, COLOR_BLUE, COLOR_RED, COLOR_BLUE};
  for (int i = 0; i < 4; i++) EXPECT_EQ(a->layercolor[i], want[i]) << i;
}

TEST_F(Machine, PromptsOfEveryState) {
  char buf[64];
  const struct {
    int state;
    const char* text;
  } rows[] = {{0, "Manipulation Mode"},
              {5, "New Point on Line"},
              {7, "Pick Perpendicular Line"},
              {9, "Pick Parallel Line"},
              {12, "Pick Edge Point"},
              {15, "New Point on Circle"},
              {29, "Pick Item to Color"},
              {34, "Pick Point 5"},
              {53, "Pick Line 5"},
              {58, "Pick Angle"},
              {61, "Pick Conic"},
              {82, "Pick Reference Point 2"},
              {85, "Pick Other Point"},
              {91, "Pick Point 3"}};
  for (const auto& r : rows) {
    prompttext(r.state, buf, sizeof buf);
    EXPECT_STREQ(buf, r.text) << r.state;
  }
  for (int code : {200001, 200004}) {
    prompttext(firststate(code), buf, sizeof buf);
    EXPECT_STREQ(buf, "Make New Point") << code;
  }
  EXPECT_EQ(firststate(200049), -1);
  // A construction without a panel button presses none.
  start(200031);
  EXPECT_TRUE(pressed.empty());
  EXPECT_EQ(prompt, "Pick Line 1");
}

}  // namespace
