// The construction state machine without a window: scripted clicks at world
// points on a diagram of known points, checked against hand-worked
// geometry, prompts, distinctness rules, repeat mode and the polygon.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "app/construction.h"
#include "engine/recompute.h"
#include "language/symtable.h"
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
std::vector<std::string> alerts;

void recordprompt(const char* text, int on) {
  prompt = text;
  repeatlight = on;
}
void recordbuttons(int slot) {
  pressed.push_back(slot);
}
void recordalert(const char* text) {
  alerts.push_back(text);
}

struct Machine : ::testing::Test {
  void SetUp() override {
    resetall();
    prompt.clear();
    repeatlight = -1;
    pressed.clear();
    alerts.clear();
    alerthook = recordalert;
    prompthook = recordprompt;
    buttonshook = recordbuttons;
    xsize = ysize = 400;  // dpbsize 0.02: points are hit within 0.038
    recalcsizes(1);
  }
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

int count() {
  int n = 0;
  for (primitive* p = plist; p; p = p->next) n++;
  return n;
}

void start(int code) {
  startconstruction(code);
  setmessage();
}

TEST_F(Machine, LineThroughTwoPointsFollowsPromptsAndRefusesRepeats) {
  vertex* a = addfree(-0.5, -0.5);
  vertex* b = addfree(0.5, 0.5);
  dirtyfile = 0;
  currentlinetype = RW_RAY12;
  currentlinestyle = RW_DASHLINE;
  start(200002);
  EXPECT_EQ(prompt, "Pick Point 1");
  ASSERT_EQ(pressed.size(), 1u);
  EXPECT_EQ(pressed[0], 7);  // the PP=>L button
  click(0.8, -0.8);          // nothing there: ignored
  EXPECT_EQ(prompt, "Pick Point 1");
  click(-0.49, -0.52);
  EXPECT_EQ(prompt, "Pick Point 2");
  click(-0.5, -0.5);  // the same point again: ignored
  EXPECT_EQ(prompt, "Pick Point 2");
  EXPECT_EQ(count(), 2);
  click(0.52, 0.49);
  ASSERT_EQ(count(), 3);
  line* l = (line*)plisttail;
  EXPECT_EQ(l->type, RW_LINE);
  EXPECT_EQ(l->kind, L_VV);
  EXPECT_EQ(l->parents[0], a);
  EXPECT_EQ(l->parents[1], b);
  EXPECT_EQ(l->linetype, RW_RAY12);
  EXPECT_EQ(l->linestyle, RW_DASHLINE);
  EXPECT_STREQ(l->symbol->name, "l1");
  EXPECT_EQ(pselected, l);
  EXPECT_EQ(dirtyfile, 1);
  EXPECT_EQ(UIstate, 0);
  EXPECT_EQ(prompt, "Manipulation Mode");
  EXPECT_EQ(repeatlight, 0);
  // The line y = x: a = -b, c = 0 up to scale.
  ASSERT_TRUE(l->valid);
  EXPECT_NEAR(l->a + l->b, 0, 1e-9);
  EXPECT_NEAR(l->c, 0, 1e-9);
  EXPECT_EQ(pressed.back(), -1);  // buttons released on completion
}

TEST_F(Machine, FreePointsAreLabelledAtTheClick) {
  start(200001);
  EXPECT_EQ(prompt, "Make New Point");
  click(0.25, -0.125);
  ASSERT_EQ(count(), 1);
  vertex* v = (vertex*)plist;
  EXPECT_EQ(v->kind, FREE);
  EXPECT_DOUBLE_EQ(v->x, 0.25);
  EXPECT_DOUBLE_EQ(v->y, -0.125);
  EXPECT_STREQ(v->label, "A");
  EXPECT_EQ(prompt, "Manipulation Mode");
  start(200004);
  EXPECT_EQ(prompt, "Make New Point");
  click(-0.25, 0.5);
  EXPECT_EQ(plisttail->kind, PINNED);
  EXPECT_STREQ(plisttail->label, "B");
}

TEST_F(Machine, RepeatModeRestartsAndTheCircumcircleIsRight) {
  addfree(-0.5, 0);
  addfree(0.5, 0);
  addfree(0, 0.5);
  sticky = 1;
  start(200027);
  click(-0.5, 0);
  EXPECT_EQ(prompt, "Pick Point 2");
  click(-0.5, 0);  // all three picks must differ
  EXPECT_EQ(prompt, "Pick Point 2");
  click(0.5, 0);
  EXPECT_EQ(prompt, "Pick Point 3");
  click(0.5, 0.01);  // the second point again
  EXPECT_EQ(prompt, "Pick Point 3");
  click(0, 0.5);
  ASSERT_EQ(count(), 4);
  circle* c = (circle*)plisttail;
  EXPECT_EQ(c->kind, C_VVV);
  EXPECT_EQ(pselected, c);
  EXPECT_EQ(prompt, "Pick Point 1");  // repeat: back to the first state
  EXPECT_EQ(repeatlight, 1);
  EXPECT_EQ(UIstate, 26);
  // Equidistant from (-0.5, 0), (0.5, 0), (0, 0.5): the origin, radius 0.5.
  ASSERT_TRUE(c->valid);
  EXPECT_NEAR(c->center.x / c->center.w, 0, 1e-9);
  EXPECT_NEAR(c->center.y / c->center.w, 0, 1e-9);
  EXPECT_NEAR(c->radius, 0.5, 1e-9);
}

TEST_F(Machine, IntersectionOfTwoLinesAndTheDistinctLineRule) {
  vertex* a = addfree(-0.6, 0.2);
  vertex* b = addfree(0.6, 0.2);
  vertex* c = addfree(0.3, -0.6);
  vertex* d = addfree(0.3, 0.6);
  addprimitive(linevertvert(a, b));  // y = 0.2
  line* horizontal = (line*)plisttail;
  addprimitive(linevertvert(c, d));  // x = 0.3
  line* vertical = (line*)plisttail;
  checkconstraints();
  start(200006);
  EXPECT_EQ(prompt, "Pick Line 1");
  click(-0.3, 0.2);
  EXPECT_EQ(prompt, "Pick Line 2");
  click(0.0, 0.2);  // the first line again
  EXPECT_EQ(prompt, "Pick Line 2");
  click(0.3, -0.3);
  vertex* x = (vertex*)plisttail;
  EXPECT_EQ(x->kind, V_LL);
  EXPECT_EQ(x->parents[0], horizontal);
  EXPECT_EQ(x->parents[1], vertical);
  ASSERT_TRUE(x->valid);
  EXPECT_NEAR(x->x / x->w, 0.3, 1e-9);
  EXPECT_NEAR(x->y / x->w, 0.2, 1e-9);
}

TEST_F(Machine, SamePickAllowedWhereTheTableSaysSo) {
  vertex* a = addfree(-0.5, 0);
  vertex* b = addfree(0.5, 0);
  // Perpendicular bisector: the same point twice is accepted.
  start(200042);
  click(-0.5, 0);
  click(-0.5, 0);
  EXPECT_EQ(plisttail->kind, L_VVPERP);
  EXPECT_EQ(plisttail->parents[0], a);
  EXPECT_EQ(plisttail->parents[1], a);
  // Centre and radius by two points: reference 1 may be the centre,
  // reference 2 must differ from reference 1.
  start(200044);
  EXPECT_EQ(prompt, "Pick Center Point");
  click(-0.5, 0);
  EXPECT_EQ(prompt, "Pick Reference Point 1");
  click(-0.5, 0);
  EXPECT_EQ(prompt, "Pick Reference Point 2");
  click(-0.5, 0);
  EXPECT_EQ(prompt, "Pick Reference Point 2");
  click(0.5, 0);
  circle* c = (circle*)plisttail;
  EXPECT_EQ(c->kind, C_CTRVV);
  EXPECT_EQ(c->parents[0], a);
  EXPECT_EQ(c->parents[1], a);
  EXPECT_EQ(c->parents[2], b);
  ASSERT_TRUE(c->valid);
  EXPECT_NEAR(c->radius, 1.0, 1e-9);
  // Inverse of a circle in itself: the same circle twice is accepted.
  start(200019);
  EXPECT_EQ(prompt, "Pick Circle 1");
  click(-0.5, 1.0);  // on the circle of radius 1 around (-0.5, 0)
  EXPECT_EQ(prompt, "Pick Circle 2");
  click(-0.5, 1.0);
  EXPECT_EQ(plisttail->kind, C_CCINV);
  EXPECT_EQ(plisttail->parents[0], c);
  EXPECT_EQ(plisttail->parents[1], c);
}

TEST_F(Machine, PolygonClosesOnTheFirstPointOrAtTenPoints) {
  std::vector<vertex*> v;
  for (int i = 0; i < 11; i++)
    v.push_back(addfree(-0.9 + 0.17 * i, 0.1 * (i % 3)));
  start(200043);
  EXPECT_EQ(prompt, "Pick first Point");
  EXPECT_EQ(pressed.back(), 25);
  click(v[0]->x, v[0]->y);
  EXPECT_EQ(prompt, "Close or New Point 2");
  click(v[1]->x, v[1]->y);
  EXPECT_EQ(prompt, "Close or New Point 3");
  click(v[0]->x, v[0]->y);  // two points only: a repeat, ignored
  EXPECT_EQ(prompt, "Close or New Point 3");
  click(v[1]->x, v[1]->y);  // already in the list: ignored
  EXPECT_EQ(prompt, "Close or New Point 3");
  click(v[2]->x, v[2]->y);
  EXPECT_EQ(prompt, "Close or New Point 4");
  click(v[0]->x, v[0]->y);  // closes with three points
  polygon* p = (polygon*)plisttail;
  ASSERT_EQ(p->type, RW_POLYGON);
  EXPECT_EQ(p->nvert, 3);
  EXPECT_EQ(p->parents[0], v[0]);
  EXPECT_EQ(p->parents[2], v[2]);
  EXPECT_EQ(p->parents[3], nullptr);
  EXPECT_EQ(prompt, "Manipulation Mode");
  // In repeat mode, the tenth distinct point makes the polygon at once.
  sticky = 1;
  start(200043);
  for (int i = 0; i < 10; i++) click(v[i]->x, v[i]->y);
  p = (polygon*)plisttail;
  ASSERT_EQ(p->type, RW_POLYGON);
  EXPECT_EQ(p->nvert, 10);
  EXPECT_EQ(p->parents[9], v[9]);
  EXPECT_EQ(prompt, "Pick first Point");
}

TEST_F(Machine, SelectionAndColouringByClicks) {
  vertex* a = addfree(0, 0);
  click(0.01, 0.01);
  EXPECT_EQ(pselected, a);
  click(0.7, 0.7);  // empty space clears the selection
  EXPECT_EQ(pselected, nullptr);
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
  EXPECT_EQ(a->layercolor[0], COLOR_RED);
  EXPECT_EQ(a->layercolor[1], COLOR_BLUE);
  EXPECT_EQ(a->layercolor[2], COLOR_RED);
  EXPECT_EQ(a->layercolor[3], COLOR_BLUE);
}

TEST_F(Machine, ControlClicksWalkThroughStackedObjects) {
  vertex* a = addfree(0, 0);
  vertex* b = addfree(0, 0);
  vertex* c = addfree(0.5, 0);
  addprimitive(linevertvert(a, c));  // passes under the click too
  primitive* l = plisttail;
  checkconstraints();
  handleworldpick(0.01, 0, 0);
  EXPECT_EQ(pselected, a);
  handleworldpick(0.01, 0, 1);
  EXPECT_EQ(pselected, b);
  handleworldpick(0.01, 0, 1);
  EXPECT_EQ(pselected, l);
  handleworldpick(0.01, 0, 1);  // past the last: start again
  EXPECT_EQ(pselected, a);
  EXPECT_EQ(prompt, "Manipulation Mode");
}

TEST_F(Machine, PromptsOfEveryState) {
  char buf[64];
  struct row {
    int state;
    const char* text;
  };
  const row rows[] = {{0, "Manipulation Mode"},
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
  for (const row& r : rows) {
    prompttext(r.state, buf, sizeof buf);
    EXPECT_STREQ(buf, r.text) << r.state;
  }
  EXPECT_EQ(firststate(200010), 11);
  EXPECT_EQ(firststate(200031), 77);
  EXPECT_EQ(firststate(200049), -1);
  EXPECT_EQ(constructionslot(200010), 13);
  EXPECT_EQ(constructionslot(200031), NOSLOT);
  // A construction without a panel button presses none.
  pressed.clear();
  start(200031);
  EXPECT_TRUE(pressed.empty());
  EXPECT_EQ(prompt, "Pick Line 1");
}

}  // namespace
