// The relation finder driven from the real window: a triangle with its
// altitudes is tested while a vertex is dragged over drawn frames; End Test
// writes relations.txt beside the diagram and shows it in its window. Also
// Describe Geometry and the progress shown while a slow test starts, with
// its Cancel.
#include "tests/gui/guitest.h"
// The rest after the test framework: X11's macros clash with it.
#include <FL/Fl_Button.H>
#include <FL/Fl_Double_Window.H>
#include <FL/Fl_Output.H>
#include <FL/Fl_Text_Display.H>
#include <FL/fl_draw.H>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "app/construction.h"
#include "app/files.h"
#include "app/relationswindow.h"
#include "engine/recompute.h"
#include "relations/finder.h"
#include "relations/report.h"
#include "render/colors.h"

namespace {

const int TESTDIAGRAM = 200250, ENDTEST = 200251, DESCRIBE = 200237;

std::string dir;  // a fresh folder per test
const auto D = langtest::golden("relations_window.txt");

// Reads the diagram text of the section and finds its labelled points.
std::vector<vertex*> diagram(const char* section, const char* names) {
  EXPECT_EQ(langtest::readtext(D.at(section)), 1) << langtest::firstalert();
  checkconstraints();
  drawframe();
  std::vector<vertex*> v;
  for (const char* n = names; *n; n++)
    v.push_back((vertex*)named(std::string(1, *n).c_str()));
  return v;
}

struct RelationsWindow : ::testing::Test {
  void SetUp() override {
    cleardiagram();
    resetui();
    Fl::e_state = 0;
    testingdiagram = 0;
    setselect();
    dir = testfolder("guitest-relations");
    drawframe();
  }
  void TearDown() override {
    mouserelease();
    testprogresshook = showtestprogress;
    if (testingdiagram) {
      freeall();
      testingdiagram = 0;
    }
    if (relationswindow) relationswindow->hide();
    clearcurrentfilename();
    cleardiagram();
  }
};

std::string shownreport() {
  char* t = relationstext->text();
  std::string s = t;
  free(t);
  return s;
}

// A real click on a widget of the relations window.
void clickwidget(Fl_Widget* w, int dx = -1, int dy = -1) {
  Fl::flush();
  pump(0.2);
  clickroot(relationswindow->x() + w->x() + (dx < 0 ? w->w() / 2 : dx),
            relationswindow->y() + w->y() + (dy < 0 ? w->h() / 2 : dy));
  pump(0.4);
}

// A real click on line `line` (0 first) of the report's text.
void clickline(int line) {
  fl_font(relationsdisplay->textfont(), relationsdisplay->textsize());
  int h = fl_height();
  clickwidget(relationsdisplay, 40,
              Fl::box_dy(relationsdisplay->box()) + 1 + line * h + h / 2);
}

const rgbcolor BLINKBRIGHT = {255, 128, 0};

// Whether the point shows in the blinking colour in a frame of phase 0.
int blinks(const vertex* v) {
  blinkon = 0;
  frame f = drawframe();
  return colornear(f, v->x, v->y, BLINKBRIGHT, 4, 2);
}

int blinkingpoints(std::initializer_list<const vertex*> points) {
  int n = 0;
  for (const vertex* v : points) n += blinks(v);
  return n;
}

TEST_F(RelationsWindow, DraggedTriangleKeepsOnlyTheLastingRelations) {
  ASSERT_TRUE(setcurrentfilename((dir + "/altitudes.T").c_str()));
  // Isosceles at the start (CA = CB), generic once C has been dragged.
  vertex* C = diagram("altitudes", "C")[0];

  handlemenu(TESTDIAGRAM);
  ASSERT_EQ(testingdiagram, 1);
  EXPECT_TRUE(guialerts.empty());
  ASSERT_FALSE(specialsegments.empty());  // CA = CB in this position
  ASSERT_EQ(threelonv.size(), 1u);        // the three altitudes
  // Drag C sideways, one drawn frame per step.
  mousepress(0, 0.5);
  ASSERT_EQ(pselected, C);
  // The first step is sampled by the frames the window draws itself.
  mousedragto(0.05, 0.52);
  pump(0.3);
  int aliveequal = 0;
  for (const candidate& c : specialsegments) aliveequal += c.alive;
  EXPECT_EQ(aliveequal, 0);
  for (int k = 2; k <= 6; k++) {
    mousedragto(0.05 * k, 0.5 + 0.02 * k);
    drawframe();
  }
  mouserelease();
  EXPECT_NEAR(C->x, 0.3, 0.02);

  handlemenu(ENDTEST);
  EXPECT_EQ(testingdiagram, 0);
  EXPECT_TRUE(guialerts.empty());
  std::string path = dir + "/relations.txt";
  std::string report = readtext(path);
  EXPECT_EQ(report.rfind("This is file: " + path + "\n\n", 0), 0u) << report;
  EXPECT_NE(report.find("Concurrent lines:\n    (AD) (BE) (CF) \n"),
            std::string::npos)
      << report;
  // Each foot makes right angles with its side.
  EXPECT_NE(report.find("Right angles:\n"), std::string::npos) << report;
  EXPECT_EQ(report.find("Equal length segments:"), std::string::npos) << report;

  ASSERT_NE(relationswindow, nullptr);
  EXPECT_TRUE(relationswindow->shown());
  EXPECT_STREQ(relationswindow->label(), "Geometric Relationships");
  // The window opens on the summary; its button turns to the full report.
  EXPECT_EQ(shownreport().rfind("Summary: ", 0), 0u) << shownreport();
  EXPECT_EQ(relationsdisplay->insert_position(), 0);
  clickwidget(relationsform);
  EXPECT_EQ(shownreport(), report);
  EXPECT_STREQ(relationsform->label(), "Summary");
  clickwidget(relationsform);
  EXPECT_EQ(shownreport().rfind("Summary: ", 0), 0u) << shownreport();
}

TEST_F(RelationsWindow, ClickedSummaryEntryBlinksInTheDiagram) {
  ASSERT_TRUE(setcurrentfilename((dir + "/pencil.T").c_str()));
  // A triangle cut by a parallel: P on AB, Q where the parallel to BC
  // through P meets AC.
  std::vector<vertex*> v = diagram("pencil", "ABCPQ");
  vertex *A = v[0], *B = v[1], *C = v[2], *P = v[3], *Q = v[4];
  handlemenu(TESTDIAGRAM);
  ASSERT_EQ(testingdiagram, 1);
  mousepress(-0.6, 0.6);
  ASSERT_EQ(pselected, A);
  for (int k = 1; k <= 4; k++) {
    mousedragto(-0.6 + 0.03 * k, 0.6 - 0.02 * k);
    drawframe();
  }
  mouserelease();
  handlemenu(ENDTEST);
  ASSERT_NE(relationswindow, nullptr);
  ASSERT_TRUE(relationswindow->shown());
  ASSERT_GE(lastreport.summary.size(), 2u) << shownreport();
  focus(relationswindow);

  std::vector<int> lines;
  summarytext(lastreport, &lines);
  ASSERT_EQ(lines.size(), lastreport.summary.size());
  for (int k = 0; k < 2; k++) {
    clickline(lines[k]);
    const relentry& e = lastreport.entries[lastreport.summary[k]];
    for (const primitive* p : e.objects) EXPECT_TRUE(emphasized(p)) << k;
    for (const vertex* v : {A, B, C, P, Q}) {
      int named =
          std::find(e.objects.begin(), e.objects.end(), v) != e.objects.end();
      EXPECT_EQ(blinks(v), named) << "entry " << k << " point " << v->label;
    }
  }
  // A click below the last entry stops the blinking; Close stops it too.
  clickline(lines[0]);
  EXPECT_EQ(blinkingpoints({A, B, C, P, Q}) > 0, 1);
  clickwidget(relationswindow->child(1));  // Close
  EXPECT_FALSE(relationswindow->shown());
  EXPECT_EQ(blinkingpoints({A, B, C, P, Q}), 0);
}

TEST_F(RelationsWindow, DescribeGeometryOnAMidpoint) {
  vertex* M = diagram("midpoint", "M")[0];
  selectprim(nullptr);
  handlemenu(DESCRIBE);  // nothing selected: nothing said
  EXPECT_TRUE(guiinfos.empty());
  selectprim(M);
  handlemenu(DESCRIBE);
  EXPECT_EQ(guiinfos, strings{"\"M\": midpoint of points \"A\" and \"B\""});
  EXPECT_TRUE(guialerts.empty());
}

TEST_F(RelationsWindow, UnwritableReportOpensNoWindow) {
  ASSERT_TRUE(setcurrentfilename("/nonexistent-dir/x/diagram.T"));
  addpoint(0, 0);
  if (relationswindow) relationswindow->hide();
  handlemenu(TESTDIAGRAM);
  handlemenu(ENDTEST);
  EXPECT_EQ(testingdiagram, 0);
  EXPECT_EQ(guialerts, strings{"Can't open relations file."});
  EXPECT_TRUE(!relationswindow || !relationswindow->shown());
}

std::vector<std::string> prompts;
void recordprompt(int percent) {
  showtestprogress(percent);
  prompts.push_back(promptfield->value());
}

int progressshown() {
  int shown = 0;
  for (const std::string& p : prompts)
    shown += p.rfind("Testing Diagram: finding relations ", 0) == 0;
  return shown;
}

TEST_F(RelationsWindow, SlowStartShowsItsProgressInThePrompt) {
  // A quick start shows nothing.
  for (int k = 0; k < 6; k++) addpoint(k * 0.1, 0.2 * (k % 2));
  prompts.clear();
  testprogresshook = recordprompt;
  handlemenu(TESTDIAGRAM);
  EXPECT_EQ(progressshown(), 0);
  freeall();
  testingdiagram = 0;
  cleardiagram();
  // 60 points on a circle: every four are concyclic, C(60,4) = 487635
  // candidates, some tenths of a second of work. The delay is shortened so
  // that the machine's speed does not decide.
  for (int k = 0; k < 60; k++)
    addpoint(std::cos(k * M_PI / 30), std::sin(k * M_PI / 30));
  progressdelay = 0;
  prompts.clear();
  handlemenu(TESTDIAGRAM);
  ASSERT_EQ(testingdiagram, 1);
  EXPECT_GE(progressshown(), 1);
  // Once the start is over, the prompt says what the machine expects.
  EXPECT_NE(std::string(promptfield->value()).rfind("Testing", 0), 0u)
      << promptfield->value();
}

// Clicks the progress window's Cancel as a person would, as soon as the
// window shows and again every few tenths of a second until it is taken.
double lastclick;
void clickcancel(int percent) {
  showtestprogress(percent);
  if (!progresswindow || !progresswindow->shown() || stopbuilding) return;
  double t = (double)clock() / CLOCKS_PER_SEC;
  if (t - lastclick < 0.3) return;
  lastclick = t;
  clickroot(
      progresswindow->x() + progresscancel->x() + progresscancel->w() / 2,
      progresswindow->y() + progresscancel->y() + progresscancel->h() / 2);
}

TEST_F(RelationsWindow, CancelStopsASlowStart) {
  // 100 points on a circle: C(100,4) = 3,921,225 concyclic candidates,
  // seconds of work unless Cancel stops it.
  for (int k = 0; k < 100; k++)
    addpoint(std::cos(k * M_PI / 50), std::sin(k * M_PI / 50));
  progressdelay = 0;
  lastclick = -1;
  testprogresshook = clickcancel;
  handlemenu(TESTDIAGRAM);
  EXPECT_EQ(stopbuilding, 1);
  EXPECT_LT(candidatecount, 3921225);
  EXPECT_EQ(testingdiagram, 0);  // no test runs, nothing to end
  EXPECT_TRUE(guialerts.empty()) << guialerts[0];
  ASSERT_NE(progresswindow, nullptr);
  EXPECT_FALSE(progresswindow->shown());
}

}  // namespace
