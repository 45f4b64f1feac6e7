// The mouse on the real drawing area. Every construction driven by clicks:
// each row builds a fresh diagram, presses the construction's command,
// clicks the listed spots (some of which it must ignore) and checks the new
// record's type, kind, parents, name and style, and, where the geometry is
// simple, a hand-worked position. Picking and dragging: Ctrl-click
// cycling, a pinned point under a free one, a point bound to a line, and
// the smear trace a drag leaves. (Tolerances and the view's edges are
// checked on the picking and dragging code itself.)
#include "tests/gui/guitest.h"
// The rest after the test framework: X11's macros clash with it.
#include <FL/Fl_Button.H>
#include <FL/Fl_Light_Button.H>
#include <FL/Fl_Output.H>

#include <cmath>
#include <map>
#include <sstream>

#include "app/construction.h"
#include "engine/recompute.h"
#include "model/construct.h"
#include "model/style.h"
#include "render/smear.h"
#include "render/view.h"

namespace {

// The diagram every row starts from, by name, with a click spot each.
std::map<std::string, primitive*> obj;
std::map<std::string, std::pair<double, double>> spot;

// Names a record (or an empty spot) and the spot where it is clicked.
primitive* named(const char* name, primitive* p, double x, double y) {
  obj[name] = p;
  spot[name] = {x, y};
  return p;
}

primitive* curve(const char* name, primitive* p, double x, double y) {
  addprimitive(p);
  return named(name, p, x, y);
}

vertex* V(const char* name) {
  return (vertex*)obj.at(name);
}

void buildfixture() {
  cleardiagram();
  obj.clear();
  spot.clear();
  const double h = std::sqrt(0.5);
  const struct {
    const char* name;
    double x, y;
  } points[] = {{"A", -0.6, -0.6}, {"B", 0.6, -0.6},
                {"C", -0.8, -0.9}, {"D", -0.8, 0.9},
                {"E", -0.25, 0},   {"F", 0.15, 0},
                {"G", 0.25, 0},    {"H", -0.15, 0},
                {"K", 0.7, 0.7},   {"M", 0.5, 0.9},
                {"N", 0.9, 0.8},   {"P1", 0.2, 0.6},
                {"P2", -0.2, 0.6}, {"P3", 0, 0.8},
                {"P4", 0, 0.4},    {"P5", 0.2 * h, 0.6 + 0.2 * h}};
  for (const auto& p : points) named(p.name, addpoint(p.x, p.y), p.x, p.y);
  curve("lAB", linevertvert(V("A"), V("B")), 0.3, -0.6);  // y = -0.6
  curve("lCD", linevertvert(V("C"), V("D")), -0.8, 0.5);  // x = -0.8
  curve("lEG", linevertvert(V("E"), V("G")), 0.05, 0);    // y = 0
  curve("lKM", linevertvert(V("K"), V("M")), 0.6, 0.8);
  curve("lKN", linevertvert(V("K"), V("N")), 0.8, 0.75);
  curve("lP", linevertvert(V("P1"), V("P2")), 0.05, 0.6);  // y = 0.6
  // c1 (-0.25, 0) and c2 (0.25, 0), radius 0.4, and spots on them nearer
  // one of two solutions.
  primitive* c1 = curve("c1", circvertvert(V("E"), V("F")), -0.25, 0.4);
  primitive* c2 = curve("c2", circvertvert(V("G"), V("H")), 0.25, 0.4);
  named("c1r", c1, -0.25 + 0.4 * h, 0.4 * h);
  named("c2u", c2, 0.25 - 0.2, 0.4 * std::sqrt(0.75));
  // The angle has its apex at K, from 26.6 to 135 degrees; the conic is the
  // circle (0, 0.6), radius 0.2.
  curve("ang", avvv(V("N"), V("K"), V("M")), 0.77, 0.77);
  vertex* five[5] = {V("P1"), V("P2"), V("P3"), V("P4"), V("P5")};
  primitive* con = curve("con", vvvvvtoconic(five), -0.2 * h, 0.6 - 0.2 * h);
  named("conr", con, 0.2 * std::sqrt(0.75), 0.5);
  named("empty", nullptr, 0.45, -0.25);
  currentlinetype = RW_LONGLINE;
  currentlinestyle = RW_DOTLINE;
  currentlinemark = RW_LINE2SLASH;
  selectprim(nullptr);
  checkconstraints();
  dirtyfile = 0;
  pump(0.05);
}

// Clicks on the named spots, blank-separated, through the drawing area.
void clickon(const std::string& names) {
  std::istringstream in(names);
  for (std::string name; in >> name;) {
    mousepress(spot.at(name).first, spot.at(name).second);
    mouserelease();
  }
}

double X(const primitive* p) {
  return ((const vertex*)p)->x / ((const vertex*)p)->w;
}
double Y(const primitive* p) {
  return ((const vertex*)p)->y / ((const vertex*)p)->w;
}

// Computed positions are exact; clicked ones are within a pixel.
const double PIXEL = 0.006;
void at(primitive* p, double x, double y, double tol = 1e-6) {
  ASSERT_TRUE(p->valid);
  EXPECT_NEAR(X(p), x, tol);
  EXPECT_NEAR(Y(p), y, tol);
}

// The line a x + b y + c = 0 passes through both points.
void through(primitive* p, double x0, double y0, double x1, double y1) {
  const line* l = (const line*)p;
  ASSERT_TRUE(l->valid);
  double n = std::hypot(l->a, l->b);
  EXPECT_NEAR((l->a * x0 + l->b * y0 + l->c) / n, 0, 1e-6);
  EXPECT_NEAR((l->a * x1 + l->b * y1 + l->c) / n, 0, 1e-6);
}

void radius(primitive* p, double r) {
  ASSERT_TRUE(p->valid);
  EXPECT_NEAR(((circle*)p)->radius, r, 1e-6);
}

struct row {
  int code;
  const char* clicks;  // spots, ignored ones included
  int type, kind;
  const char* parents;  // in slot order
  std::function<void(primitive*)> check = nullptr;
  int alternatives = 1;  // kinds kind, kind + 1, ... are all right
};

using P = primitive*;
const std::vector<row> rows = {
    {200001, "empty", RW_VERTEX, FREE, "",
     [](P p) {
       at(p, 0.45, -0.25, PIXEL);
       EXPECT_TRUE(inknear(drawframe(), 0.45, -0.25, 3));  // drawn there
     }},
    {200004, "empty", RW_VERTEX, PINNED, "",
     [](P p) { at(p, 0.45, -0.25, PIXEL); }},
    {200008, "empty lAB", RW_VERTEX, VONL, "lAB",
     [](P p) {
       at(p, 0.3, -0.6, PIXEL);
       EXPECT_NEAR(Y(p), -0.6, 1e-9);  // moved onto the line exactly
     }},
    {200013, "empty c1", RW_VERTEX, VONC, "c1",
     [](P p) { EXPECT_NEAR(std::hypot(X(p) + 0.25, Y(p)), 0.4, 1e-6); }},
    {200016, "lP con", RW_VERTEX, VONCONIC, "con"},
    {200003, "c2", RW_VERTEX, V_CCENTER, "c2", [](P p) { at(p, 0.25, 0); }},
    {200006, "lAB lAB A lCD", RW_VERTEX, V_LL, "lAB lCD",
     [](P p) { at(p, -0.8, -0.6); }},
    {200012, "A A lAB B", RW_VERTEX, V_VVMID, "A B",
     [](P p) { at(p, 0, -0.6); }},
    {200018, "lEG c1r", RW_VERTEX, V_LC1, "lEG c1", [](P p) { at(p, 0.15, 0); },
     2},
    {200025, "c1 c1 c2u", RW_VERTEX, V_CC1, "c1 c2",
     [](P p) { at(p, 0, std::sqrt(0.16 - 0.0625)); }, 2},
    {200041, "A K K A B", RW_VERTEX, V_VVVBISECT, "A K B"},
    {200009, "lAB K", RW_VERTEX, V_LVMIRROR, "lAB K",
     [](P p) { at(p, 0.7, -1.9); }},
    {200014, "K c1", RW_VERTEX, V_VCINV, "K c1"},
    {200015, "A ang A A", RW_VERTEX, V_AVV, "ang A A"},
    {200030, "lP conr", RW_VERTEX, V_LCONIC1, "lP con",
     [](P p) { at(p, 0.2, 0.6); }, 2},
    {200045, "lAB c1 A", RW_VERTEX, V_LCVOTHER, "lAB c1 A"},
    {200046, "c1 c1 c2 E", RW_VERTEX, V_CCVOTHER, "c1 c2 E"},
    {200047, "A B B C", RW_VERTEX, V_VVVHARMONIC, "A B C"},
    {200002, "A A B", RW_LINE, L_VV, "A B",
     [](P p) { through(p, -0.6, -0.6, 0.6, -0.6); }},
    {200007, "lAB K empty lAB", RW_LINE, L_VLPERP, "K lAB",
     [](P p) { through(p, 0.7, 0.7, 0.7, -0.6); }},
    {200011, "K lAB", RW_LINE, L_VLPAR, "K lAB",
     [](P p) { through(p, 0.7, 0.7, -0.7, 0.7); }},
    {200021, "K c1", RW_LINE, L_VC1, "K c1",
     [](P p) {
       // A tangent: its distance from the centre is the radius.
       const line* l = (const line*)p;
       through(p, 0.7, 0.7, 0.7, 0.7);
       EXPECT_NEAR(std::fabs(l->a * -0.25 + l->c) / std::hypot(l->a, l->b), 0.4,
                   1e-6);
     },
     2},
    // Equal circles on y = 0: the outer tangents are y = +-0.4; the click
    // at the top of c2 picks y = 0.4. The inner ones do not exist.
    {200023, "c1 c1 c2", RW_LINE, L_CCEXT1, "c1 c2",
     [](P p) { through(p, -0.25, 0.4, 0.25, 0.4); }, 2},
    {200024, "c1 c2", RW_LINE, L_CCINT1, "c1 c2",
     [](P p) { EXPECT_FALSE(p->valid); }, 2},
    {200042, "A B", RW_LINE, L_VVPERP, "A B",
     [](P p) { through(p, 0, 0.3, 0, -0.9); }},
    {200029, "K con", RW_LINE, L_CONICV1, "con K", nullptr, 2},
    {200010, "E E F", RW_CIRCLE, C_VV, "E F", [](P p) { radius(p, 0.4); }},
    {200027, "A B B D", RW_CIRCLE, C_VVV, "A B D"},
    {200022, "K c2", RW_CIRCLE, C_VCRAD, "K c2", [](P p) { radius(p, 0.4); }},
    {200044, "K A A B", RW_CIRCLE, C_CTRVV, "K A B",
     [](P p) { radius(p, 1.2); }},
    {200017, "lAB c1", RW_CIRCLE, C_LCINV, "lAB c1"},
    {200019, "c1 c2", RW_CIRCLE, C_CCINV, "c1 c2"},
    {200031, "lAB lAB lCD lCD lAB lKM", RW_CIRCLE, C_LLL1, "lAB lCD lKM",
     nullptr, 4},
    {200026, "A E E B", RW_ANGLE, A_VVV, "A E B"},
    {200040, "A B A C D K", RW_CONIC, CONIC_VVVVV, "A B C D K"},
    {200005, "lAB lCD lEG lAB lKM lKN", RW_CONIC, CONIC_LLLLL,
     "lAB lCD lEG lKM lKN"},
    {200028, "A E B", RW_ARC, ARC_VVV, "A E B"},
    {200020, "A B C D", RW_BEZIER, BEZ_VVVV, "A B C D"},
    {200043, "A B A C A", RW_POLYGON, POLYGON, "A B C",
     [](P p) { EXPECT_EQ(((polygon*)p)->nvert, 3); }}};

struct Commands : ::testing::Test {
  void SetUp() override {
    buildfixture();
    sticky = 0;
    setselect();
  }
};

TEST_F(Commands, EveryConstructionByClicksOnTheDrawingArea) {
  for (const row& r : rows) {
    SCOPED_TRACE(r.code);
    buildfixture();
    int before = records();
    handlemenu(r.code);
    char first[64];
    prompttext(UIstate, first, sizeof first);
    EXPECT_STREQ(promptfield->value(), first);
    clickon(r.clicks);
    ASSERT_EQ(records(), before + 1);
    primitive* p = plisttail;
    EXPECT_EQ(p->type, r.type);
    EXPECT_GE(p->kind, r.kind);
    EXPECT_LT(p->kind, r.kind + r.alternatives);
    std::istringstream parents(r.parents);
    int i = 0;
    for (std::string name; parents >> name; i++)
      EXPECT_EQ(p->parents[i], obj.at(name)) << "parent " << i;
    EXPECT_EQ(p->parents[i], nullptr);
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
  EXPECT_EQ(seen, 20);  // point 8, line 6, circle 3, conic, angle, polygon
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
  clickon("A B");
  EXPECT_EQ(plisttail->kind, L_VV);
  EXPECT_STREQ(promptfield->value(), "Pick Point 1");
  clickon("C D");
  EXPECT_EQ(plisttail->parents[0], obj["C"]);
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
  int n = records();
  handlemenu(200219);
  EXPECT_EQ(UIstate, 0);
  EXPECT_EQ(sticky, 0);
  clickon("B C");
  EXPECT_EQ(records(), n);
  EXPECT_EQ(pselected, obj["C"]);  // plain selection again
}

struct Drag : ::testing::Test {
  void SetUp() override {
    cleardiagram();
    drawframe();  // sizes known
  }
  void TearDown() override {
    mouserelease();
    cleardiagram();
  }
};

TEST_F(Drag, CtrlClicksCycleAndPinnedPointsGiveWay) {
  vertex* p = addpoint(-0.2, 0);
  vertex* q = addpoint(-0.2, 0);
  line* l = addline(addpoint(-0.8, 0), addpoint(0.8, 0));
  drawframe();
  primitive* turns[] = {p, q, l, p};
  for (int i = 0; i < 4; i++) {
    mousepress(-0.2, 0, i > 0);
    EXPECT_EQ(pselected, turns[i]) << i;
    mouserelease();
  }
  // A pinned point under a free one yields the free one; alone it is
  // picked, but does not move.
  vertex* pinned = addpoint(0.5, 0.5, PINNED);
  vertex* free = addpoint(0.5, 0.5);
  drawframe();
  mousepress(0.5, 0.5);
  EXPECT_EQ(pselected, free);
  mouserelease();
  free->x = -0.5;
  drawframe();
  mousepress(0.5, 0.5);
  EXPECT_EQ(pselected, pinned);
  mousedragto(0.7, 0.7);
  EXPECT_DOUBLE_EQ(pinned->x, 0.5);
  EXPECT_DOUBLE_EQ(pinned->y, 0.5);
}

TEST_F(Drag, PointOnALineStaysOnItAtTheFoot) {
  // The line y = x / 2 through (-0.8, -0.4) and (0.8, 0.4).
  line* l = addline(addpoint(-0.8, -0.4), addpoint(0.8, 0.4));
  vertex* p = addpoint(0, 0, VONL);
  p->parents[0] = l;
  drawframe();
  mousepress(0, 0);
  ASSERT_EQ(pselected, p);
  mousedragto(0.1, 0.6);
  // The line runs along (2, 1); the foot of the perpendicular from M is
  // (2t, t) with t = (2, 1).M / 5: for (0.1, 0.6), t = 0.16.
  double mx, my;
  getpoint(&mx, &my, Fl::event_x(), ysize - Fl::event_y());
  double t = (2 * mx + my) / 5;
  EXPECT_NEAR(p->x, 2 * t, 1e-9);
  EXPECT_NEAR(p->y, t, 1e-9);
  EXPECT_NEAR(t, 0.16, 0.01);
}

// The y of the first end of every segment in the smear trace.
std::vector<double> tracedystarts() {
  std::vector<double> ys;
  for (smearrec* r = firstrec(); r; r = nextrec()) {
    EXPECT_EQ(r->code, SMEAR_SEGMENT);
    ys.push_back(std::round(r->b * 1000) / 1000);
  }
  return ys;
}

TEST_F(Drag, SmearTraceRecordsOneDrag) {
  vertex* a = addpoint(-0.5, 0);
  vertex* b = addpoint(0.5, -0.8);
  a->pointtype = b->pointtype = RW_NOMARK;
  addline(a, b, COLOR_SMEAR);
  drawframe();
  mousepress(-0.5, 0);
  ASSERT_EQ(pselected, a);
  // The press started a new trace: only frames drawn since are in it.
  EXPECT_EQ(tracedystarts(), std::vector<double>(smearcount(), 0.0));
  const double ys[4] = {0.1, 0.3, 0.5, 0.7};
  for (double y : ys) mousedragto(-0.5, y);
  frame f = drawframe();
  // Every position the segment took is still drawn, in the smear grey.
  for (double y : ys) {
    double mx = -0.5 + 0.3, my = y + 0.3 * (-0.8 - y) / 1.0;
    EXPECT_TRUE(colornear(f, mx, my, {153, 153, 153}, 1)) << y;
  }
  EXPECT_GE(smearcount(), 4);
  mouserelease();
  mousepress(0.9, 0.9);  // the next press clears the trace
  EXPECT_EQ(pselected, nullptr);
  f = drawframe();
  EXPECT_EQ(tracedystarts(), std::vector<double>(smearcount(), 0.7));
  EXPECT_FALSE(colornear(f, -0.2, 0.1 + 0.3 * (-0.9), {153, 153, 153}, 0));
}

}  // namespace
