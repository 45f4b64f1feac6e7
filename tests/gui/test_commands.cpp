// Every mouse construction driven by clicks on the real drawing area: each
// row builds a fresh diagram of known points, lines, circles, an angle and
// a conic, presses the construction's command, clicks the listed spots
// (some of which the construction must ignore) and checks the new record's
// type, kind, parents, name and style, and where the geometry is simple a
// hand-worked position.
#include <FL/Fl.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Light_Button.H>
#include <FL/Fl_Output.H>
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/commands.h"
#include "app/construction.h"
#include "app/geomwindow.h"
#include "app/ui.h"
#include "engine/recompute.h"
#include "language/symtable.h"
#include "model/construct.h"
#include "model/notify.h"
#include "model/shell.h"
#include "model/style.h"
#include "model/worldlist.h"
#include "tests/gui/guitest.h"

namespace {

// The diagram every row starts from, by name, with a click spot each.
struct fixture {
  std::map<std::string, primitive*> obj;
  std::map<std::string, std::pair<double, double>> spot;
};

fixture fx;

vertex* point(const char* name, double x, double y) {
  vertex* v = addpoint(x, y);
  fx.obj[name] = v;
  fx.spot[name] = {x, y};
  return v;
}

void curve(const char* name, primitive* p, double x, double y) {
  addprimitive(p);
  fx.obj[name] = p;
  fx.spot[name] = {x, y};
}

void buildfixture() {
  if (!idtable) idtable = newtable(50);  // start-up builds it with the tables
  cleardiagram();
  fx = fixture();
  vertex* A = point("A", -0.6, -0.6);
  vertex* B = point("B", 0.6, -0.6);
  vertex* C = point("C", -0.8, -0.9);
  vertex* D = point("D", -0.8, 0.9);
  vertex* E = point("E", -0.25, 0);
  vertex* F = point("F", 0.15, 0);
  vertex* G = point("G", 0.25, 0);
  vertex* H = point("H", -0.15, 0);
  vertex* K = point("K", 0.7, 0.7);
  vertex* M = point("M", 0.5, 0.9);
  vertex* N = point("N", 0.9, 0.8);
  vertex* P1 = point("P1", 0.2, 0.6);
  vertex* P2 = point("P2", -0.2, 0.6);
  vertex* P3 = point("P3", 0, 0.8);
  vertex* P4 = point("P4", 0, 0.4);
  vertex* P5 = point("P5", 0.2 * std::sqrt(0.5), 0.6 + 0.2 * std::sqrt(0.5));
  curve("lAB", linevertvert(A, B), 0.3, -0.6);  // y = -0.6
  curve("lCD", linevertvert(C, D), -0.8, 0.5);  // x = -0.8
  curve("lEG", linevertvert(E, G), 0.05, 0);    // y = 0
  curve("lKM", linevertvert(K, M), 0.6, 0.8);
  curve("lKN", linevertvert(K, N), 0.8, 0.75);
  curve("lP", linevertvert(P1, P2), 0.05, 0.6);  // y = 0.6
  curve("c1", circvertvert(E, F), -0.25, 0.4);   // (-0.25, 0), r 0.4
  curve("c2", circvertvert(G, H), 0.25, 0.4);    // (0.25, 0), r 0.4
  // Spots on the circles nearer one of two solutions.
  fx.spot["c1r"] = {-0.25 + 0.4 * std::sqrt(0.5), 0.4 * std::sqrt(0.5)};
  fx.obj["c1r"] = fx.obj["c1"];
  fx.spot["c2u"] = {0.25 - 0.2, 0.4 * std::sqrt(0.75)};
  fx.obj["c2u"] = fx.obj["c2"];
  curve("ang", avvv(N, K, M), 0.77, 0.77);  // apex K, 26.6 to 135 degrees
  vertex* five[5] = {P1, P2, P3, P4, P5};
  curve("con", vvvvvtoconic(five), -0.2 * std::sqrt(0.5),
        0.6 - 0.2 * std::sqrt(0.5));  // the circle (0, 0.6), r 0.2
  fx.spot["conr"] = {0.2 * std::sqrt(0.75), 0.5};
  fx.obj["conr"] = fx.obj["con"];
  fx.spot["empty"] = {0.45, -0.25};
  fx.obj["empty"] = nullptr;
  currentlinetype = RW_LONGLINE;
  currentlinestyle = RW_DOTLINE;
  currentlinemark = RW_LINE2SLASH;
  selectprim(nullptr);
  checkconstraints();
  dirtyfile = 0;
  pump(0.05);
}

// One click on a named spot through the drawing area's event handler.
void clickon(const std::string& name) {
  auto s = fx.spot.at(name);
  mousepress(s.first, s.second);
  mouserelease();
}

struct row {
  int code;
  std::vector<std::string> clicks;  // spots, ignored ones included
  int type;
  std::vector<int> kinds;            // any of these
  std::vector<std::string> parents;  // in slot order
  std::function<void(primitive*)> check;
};

double X(const primitive* p) {
  const vertex* v = (const vertex*)p;
  return v->x / v->w;
}
double Y(const primitive* p) {
  const vertex* v = (const vertex*)p;
  return v->y / v->w;
}

// Computed positions are exact; clicked ones are within a pixel (0.005).
void at(primitive* p, double x, double y, double tol = 1e-6) {
  ASSERT_TRUE(p->valid);
  EXPECT_NEAR(X(p), x, tol);
  EXPECT_NEAR(Y(p), y, tol);
}
const double PIXEL = 0.006;

// a x + b y + c = 0 holds at (x, y).
void through(primitive* p, double x, double y) {
  const line* l = (const line*)p;
  ASSERT_TRUE(l->valid);
  double n = std::hypot(l->a, l->b);
  EXPECT_NEAR((l->a * x + l->b * y + l->c) / n, 0, 1e-6);
}

void radius(primitive* p, double r) {
  ASSERT_TRUE(p->valid);
  EXPECT_NEAR(((circle*)p)->radius, r, 1e-6);
}

const std::vector<row>& rows() {
  static const std::vector<row> r = {
      {200001,
       {"empty"},
       RW_VERTEX,
       {FREE},
       {},
       [](primitive* p) { at(p, 0.45, -0.25, PIXEL); }},
      {200004,
       {"empty"},
       RW_VERTEX,
       {PINNED},
       {},
       [](primitive* p) { at(p, 0.45, -0.25, PIXEL); }},
      {200008,
       {"empty", "lAB"},
       RW_VERTEX,
       {VONL},
       {"lAB"},
       [](primitive* p) {
         at(p, 0.3, -0.6, PIXEL);
         EXPECT_NEAR(Y(p), -0.6, 1e-9);  // moved onto the line exactly
       }},
      {200013,
       {"empty", "c1"},
       RW_VERTEX,
       {VONC},
       {"c1"},
       [](primitive* p) {
         EXPECT_NEAR(std::hypot(X(p) + 0.25, Y(p)), 0.4, 1e-6);
       }},
      {200016, {"lP", "con"}, RW_VERTEX, {VONCONIC}, {"con"}, nullptr},
      {200003,
       {"c2"},
       RW_VERTEX,
       {V_CCENTER},
       {"c2"},
       [](primitive* p) { at(p, 0.25, 0); }},
      {200006,
       {"lAB", "lAB", "A", "lCD"},
       RW_VERTEX,
       {V_LL},
       {"lAB", "lCD"},
       [](primitive* p) { at(p, -0.8, -0.6); }},
      {200012,
       {"A", "A", "lAB", "B"},
       RW_VERTEX,
       {V_VVMID},
       {"A", "B"},
       [](primitive* p) { at(p, 0, -0.6); }},
      {200018,
       {"lEG", "c1r"},
       RW_VERTEX,
       {V_LC1, V_LC2},
       {"lEG", "c1"},
       [](primitive* p) { at(p, 0.15, 0); }},
      {200025,
       {"c1", "c1", "c2u"},
       RW_VERTEX,
       {V_CC1, V_CC2},
       {"c1", "c2"},
       [](primitive* p) { at(p, 0, std::sqrt(0.16 - 0.0625)); }},
      {200041,
       {"A", "K", "K", "A", "B"},
       RW_VERTEX,
       {V_VVVBISECT},
       {"A", "K", "B"},
       nullptr},
      {200009,
       {"lAB", "K"},
       RW_VERTEX,
       {V_LVMIRROR},
       {"lAB", "K"},
       [](primitive* p) { at(p, 0.7, -1.9); }},
      {200014, {"K", "c1"}, RW_VERTEX, {V_VCINV}, {"K", "c1"}, nullptr},
      {200015,
       {"A", "ang", "A", "A"},
       RW_VERTEX,
       {V_AVV},
       {"ang", "A", "A"},
       nullptr},
      {200030,
       {"lP", "conr"},
       RW_VERTEX,
       {V_LCONIC1, V_LCONIC2},
       {"lP", "con"},
       [](primitive* p) { at(p, 0.2, 0.6); }},
      {200045,
       {"lAB", "c1", "A"},
       RW_VERTEX,
       {V_LCVOTHER},
       {"lAB", "c1", "A"},
       nullptr},
      {200046,
       {"c1", "c1", "c2", "E"},
       RW_VERTEX,
       {V_CCVOTHER},
       {"c1", "c2", "E"},
       nullptr},
      {200047,
       {"A", "B", "B", "C"},
       RW_VERTEX,
       {V_VVVHARMONIC},
       {"A", "B", "C"},
       nullptr},
      {200002,
       {"A", "A", "B"},
       RW_LINE,
       {L_VV},
       {"A", "B"},
       [](primitive* p) {
         through(p, -0.6, -0.6);
         through(p, 0.6, -0.6);
       }},
      {200007,
       {"lAB", "K", "empty", "lAB"},
       RW_LINE,
       {L_VLPERP},
       {"K", "lAB"},
       [](primitive* p) {
         through(p, 0.7, 0.7);
         through(p, 0.7, -0.6);
       }},
      {200011,
       {"K", "lAB"},
       RW_LINE,
       {L_VLPAR},
       {"K", "lAB"},
       [](primitive* p) {
         through(p, 0.7, 0.7);
         through(p, -0.7, 0.7);
       }},
      {200021,
       {"K", "c1"},
       RW_LINE,
       {L_VC1, L_VC2},
       {"K", "c1"},
       [](primitive* p) {
         // A tangent: its distance from the centre is the radius.
         const line* l = (const line*)p;
         ASSERT_TRUE(l->valid);
         EXPECT_NEAR(std::fabs(l->a * -0.25 + l->c) / std::hypot(l->a, l->b),
                     0.4, 1e-6);
         through(p, 0.7, 0.7);
       }},
      {200023,
       {"c1", "c1", "c2"},
       RW_LINE,
       {L_CCEXT1, L_CCEXT2},
       {"c1", "c2"},
       [](primitive* p) {
         // Equal circles on y = 0: the outer tangents are y = +-0.4;
         // the click at the top of c2 picks y = 0.4.
         through(p, -0.25, 0.4);
         through(p, 0.25, 0.4);
       }},
      {200024,
       {"c1", "c2"},
       RW_LINE,
       {L_CCINT1, L_CCINT2},
       {"c1", "c2"},
       [](primitive* p) { EXPECT_FALSE(p->valid); }},  // overlapping
      {200042,
       {"A", "B"},
       RW_LINE,
       {L_VVPERP},
       {"A", "B"},
       [](primitive* p) {
         through(p, 0, 0.3);
         through(p, 0, -0.9);
       }},
      {200029,
       {"K", "con"},
       RW_LINE,
       {L_CONICV1, L_CONICV2},
       {"con", "K"},
       nullptr},
      {200010,
       {"E", "E", "F"},
       RW_CIRCLE,
       {C_VV},
       {"E", "F"},
       [](primitive* p) { radius(p, 0.4); }},
      {200027,
       {"A", "B", "B", "D"},
       RW_CIRCLE,
       {C_VVV},
       {"A", "B", "D"},
       nullptr},
      {200022,
       {"K", "c2"},
       RW_CIRCLE,
       {C_VCRAD},
       {"K", "c2"},
       [](primitive* p) { radius(p, 0.4); }},
      {200044,
       {"K", "A", "A", "B"},
       RW_CIRCLE,
       {C_CTRVV},
       {"K", "A", "B"},
       [](primitive* p) { radius(p, 1.2); }},
      {200017, {"lAB", "c1"}, RW_CIRCLE, {C_LCINV}, {"lAB", "c1"}, nullptr},
      {200019, {"c1", "c2"}, RW_CIRCLE, {C_CCINV}, {"c1", "c2"}, nullptr},
      {200031,
       {"lAB", "lAB", "lCD", "lCD", "lAB", "lKM"},
       RW_CIRCLE,
       {C_LLL1, C_LLL2, C_LLL3, C_LLL4},
       {"lAB", "lCD", "lKM"},
       nullptr},
      {200026,
       {"A", "E", "E", "B"},
       RW_ANGLE,
       {A_VVV},
       {"A", "E", "B"},
       nullptr},
      {200040,
       {"A", "B", "A", "C", "D", "K"},
       RW_CONIC,
       {CONIC_VVVVV},
       {"A", "B", "C", "D", "K"},
       nullptr},
      {200005,
       {"lAB", "lCD", "lEG", "lAB", "lKM", "lKN"},
       RW_CONIC,
       {CONIC_LLLLL},
       {"lAB", "lCD", "lEG", "lKM", "lKN"},
       nullptr},
      {200028, {"A", "E", "B"}, RW_ARC, {ARC_VVV}, {"A", "E", "B"}, nullptr},
      {200020,
       {"A", "B", "C", "D"},
       RW_BEZIER,
       {BEZ_VVVV},
       {"A", "B", "C", "D"},
       nullptr},
      {200043,
       {"A", "B", "A", "C", "A"},
       RW_POLYGON,
       {POLYGON},
       {"A", "B", "C"},
       [](primitive* p) { EXPECT_EQ(((polygon*)p)->nvert, 3); }},
  };
  return r;
}

int listlength() {
  int n = 0;
  for (primitive* p = plist; p; p = p->next) n++;
  return n;
}

struct Commands : ::testing::Test {
  void SetUp() override {
    buildfixture();
    sticky = 0;
    setselect();
  }
};

TEST_F(Commands, EveryConstructionByClicksOnTheDrawingArea) {
  for (const row& r : rows()) {
    SCOPED_TRACE(r.code);
    buildfixture();
    int before = listlength();
    handlemenu(r.code);
    char first[64];
    prompttext(UIstate, first, sizeof first);
    EXPECT_STREQ(promptfield->value(), first);
    for (const std::string& c : r.clicks) clickon(c);
    ASSERT_EQ(listlength(), before + 1);
    primitive* p = plisttail;
    EXPECT_EQ(p->type, r.type);
    bool kindok = false;
    for (int k : r.kinds) kindok |= p->kind == k;
    EXPECT_TRUE(kindok) << "kind " << p->kind;
    for (size_t i = 0; i < r.parents.size(); i++)
      EXPECT_EQ(p->parents[i], fx.obj.at(r.parents[i])) << "parent " << i;
    EXPECT_EQ(p->parents[r.parents.size()], nullptr);
    EXPECT_EQ(pselected, p);
    EXPECT_EQ(dirtyfile, 1);
    EXPECT_EQ(UIstate, 0);
    EXPECT_STREQ(promptfield->value(), "Manipulation Mode");
    ASSERT_NE(p->symbol, nullptr);
    if (r.type == RW_VERTEX) {
      ASSERT_NE(p->label, nullptr);
      EXPECT_STREQ(p->label, "A");  // the fixture's points have no labels
    }
    if (r.type == RW_LINE) {
      EXPECT_EQ(((line*)p)->linetype, RW_LONGLINE);
      EXPECT_EQ(((line*)p)->linestyle, RW_DOTLINE);
      EXPECT_EQ(((line*)p)->linemark, RW_LINE2SLASH);
    }
    if (r.check) r.check(p);
  }
}

TEST_F(Commands, AClickedPointIsDrawnWhereTheClickWas) {
  frame before = drawframe();
  EXPECT_FALSE(inknear(before, 0.45, -0.25, 3));
  handlemenu(200001);
  clickon("empty");
  frame after = drawframe();
  EXPECT_TRUE(inknear(after, 0.45, -0.25, 3));
}

TEST_F(Commands, EveryPanelButtonStartsItsConstruction) {
  int seen = 0;
  for (int slot = 0; slot < NUIBUTS; slot++) {
    Fl_Button* b = uibuts[slot];
    if (!b || slot == COLORSLOT || (slot >= 17 && slot <= 20)) continue;
    SCOPED_TRACE(b->label());
    int code = (int)(long)b->user_data();
    EXPECT_EQ(constructionslot(code), slot);
    ASSERT_NE(b->tooltip(), nullptr);
    Fl::e_state = 0;
    Fl::e_clicks = 0;
    b->do_callback();
    EXPECT_EQ(UIstate, firststate(code));
    EXPECT_EQ(sticky, 0);
    for (int other = 0; other < NUIBUTS; other++) {
      if (uibuts[other]) {
        EXPECT_EQ(uibuts[other]->value(), other == slot) << other;
      }
    }
    char first[64];
    prompttext(UIstate, first, sizeof first);
    EXPECT_STREQ(promptfield->value(), first);
    seen++;
  }
  EXPECT_EQ(seen, 20);  // 8 point, 6 line, 1 conic, 3 circle, 1 angle, 1
                        // polygon buttons
  // "Rpt Set Color" always asks for repeat mode.
  uibuts[COLORSLOT]->do_callback();
  EXPECT_EQ(UIstate, 29);
  EXPECT_EQ(sticky, 1);
  EXPECT_STREQ(promptfield->value(), "Pick Item to Color");
  handlemenu(200219);
}

TEST_F(Commands, RepeatModeFromADoubleClickedButtonAndCtrlG) {
  // A Ctrl-click on the panel's PP=>L button asks for repeat mode.
  Fl_Button* b = uibuts[7];
  ASSERT_NE(b, nullptr);
  Fl::e_state = FL_CTRL;
  Fl::e_clicks = 0;
  b->do_callback();
  Fl::e_state = 0;
  EXPECT_EQ(sticky, 1);
  EXPECT_EQ(cancelrepeat->value(), 1);
  EXPECT_EQ(b->value(), 1);
  clickon("A");
  clickon("B");
  EXPECT_EQ(plisttail->kind, L_VV);
  EXPECT_STREQ(promptfield->value(), "Pick Point 1");
  clickon("C");
  clickon("D");
  EXPECT_EQ(plisttail->parents[0], fx.obj["C"]);
  EXPECT_STREQ(promptfield->value(), "Pick Point 1");
  // A style command keeps repeat mode; Next Step leaves it.
  handlemenu(200201);
  EXPECT_EQ(sticky, 1);
  EXPECT_EQ(((line*)plisttail)->linestyle, RW_DASHLINE);
  handlemenu(200235);
  EXPECT_EQ(sticky, 0);
  EXPECT_EQ(cancelrepeat->value(), 0);
  EXPECT_EQ(b->value(), 0);
  EXPECT_STREQ(promptfield->value(), "Manipulation Mode");
  // Cancel Repeat Mode abandons a half-made construction.
  handlemenu(200027 + REPEATCODE);
  clickon("A");
  EXPECT_STREQ(promptfield->value(), "Pick Point 2");
  int n = listlength();
  handlemenu(200219);
  EXPECT_EQ(UIstate, 0);
  EXPECT_EQ(sticky, 0);
  clickon("B");
  clickon("C");
  EXPECT_EQ(listlength(), n);
  EXPECT_EQ(pselected, fx.obj["C"]);  // plain selection again
}

}  // namespace
