// The preferences dialog and the tips window on the virtual display: the
// sizes shown, each widget's immediate effect, Cancel, Defaults and Save,
// stepping through the tips.

#include "tests/gui/guitest.h"
// The rest after the test framework: X11's macros clash with it.
#include <FL/Fl_Button.H>
#include <FL/Fl_Check_Button.H>
#include <FL/Fl_Choice.H>
#include <FL/Fl_Group.H>
#include <FL/Fl_Input.H>
#include <FL/Fl_Int_Input.H>
#include <FL/Fl_Multiline_Output.H>
#include <FL/Fl_Window.H>

#include <cstdio>
#include <cstring>

#include "app/dialogscale.h"
#include "app/geomwindow.h"
#include "app/hover.h"
#include "engine/continuity.h"
#include "model/shell.h"
#include "postscript/eps.h"
#include "prefs/options.h"
#include "prefs/prefchoices.h"
#include "prefs/preffile.h"
#include "prefs/tips.h"
#include "prefs/tiptext.h"
#include "render/colors.h"
#include "render/view.h"

namespace {

std::string prefstext() {
  return readtext(defaultfilename());
}

// Sets a widget's value as a click or a keystroke would, callback included.
template <class W, class V>
void set(W* w, V v) {
  w->value(v);
  w->do_callback();
}

struct Options : ::testing::Test {
  void SetUp() override {
    alerthook = nullptr;
    resetprefs();
    setdefaultprefs();
    remove(defaultfilename());
  }
  void TearDown() override {
    if (optionswindow) optionswindow->hide();
    if (tipswindow) tipswindow->hide();
    resetprefs();
    setdefaultprefs();
    reshapeall(WIDTH, HEIGHT);
    pump(0.2);
  }
};

TEST_F(Options, SizesShowAsTheNearestEntry) {
  fontsize = 14;
  edittextsize = 7;
  gvertexsize = 40;
  WIDTH = 333;
  strcpy(printcmdstring, "lpr %s");
  changeoptions();
  pump(0.2);
  EXPECT_TRUE(optionswindow->shown());
  EXPECT_STREQ(choicesize->text(), "16 pt");
  EXPECT_STREQ(choiceeditsize->text(), "8 pt");
  EXPECT_STREQ(choicevertexsize->text(), "32 pt");
  EXPECT_STREQ(intwidthinput->value(), "333");
  EXPECT_STREQ(intheightinput->value(), "450");
  EXPECT_STREQ(printinput->value(), "lpr %s");
  EXPECT_STREQ(choicefont->text(), "Helvetica");
  EXPECT_STREQ(choicescale->text(), "Auto");
  // Centred on the main window.
  EXPECT_EQ(optionswindow->x(), main_window->x() + main_window->w() / 2 - 200);
}

TEST_F(Options, WidgetsTakeEffectAtOnceAndCancelKeepsThem) {
  changeoptions();
  pump(0.2);
  // Each widget sets its variable at once.
  const struct {
    std::function<void()> act;
    int *var, want;
  } rows[] = {{[] { set(intwidthinput, "520"); }, &WIDTH, 520},
              {[] { set(choicefont, 1); }, &fontnumber, 8},
              {[] { set(choicestyle, 3); }, &fontstyle, 3},
              {[] { set(choicesize, 6); }, &fontsize, 24},
              {[] {}, &gfontsize, 24},
              {[] { set(choiceeditsize, 0); }, &edittextsize, 6},
              {[] { set(bwbut, 1); }, &printbw, 1},
              {[] { set(vertbut, 0); }, &addvertexnames, 0},
              {[] { set(choicevertexsize, 2); }, &gvertexsize, 10},
              {[] { set(rgbbut, 0); }, &rgbmode, 0},
              {[] { set(continuousbut, 0); }, &keepcontinuous, 0},
              {[] { set(smoothbut, 0); }, &smoothdrawing, 0}};
  for (size_t i = 0; i < sizeof rows / sizeof rows[0]; i++) {
    rows[i].act();
    EXPECT_EQ(*rows[i].var, rows[i].want) << "row " << i;
  }
  set(printinput, "lp -d x %s");
  EXPECT_STREQ(printcmdstring, "lp -d x %s");
  // Cancel keeps the changes, resizes the main window, writes nothing.
  closeoptions(nullptr, 1);
  pump(0.2);
  EXPECT_FALSE(optionswindow->shown());
  EXPECT_EQ(main_window->w(), 520 + MENUWIDTH);
  EXPECT_EQ(prefstext(), "<missing>");
  EXPECT_EQ(fontnumber, 8);
  // A width nobody could use is raised to 200 on closing.
  WIDTH = 3;
  closeoptions(nullptr, 1);
  EXPECT_EQ(WIDTH, 200);
  addvertexnames = 1;
  rgbmode = 1;
  keepcontinuous = 1;
  smoothdrawing = 1;
}

TEST_F(Options, DefaultsThenSaveWritesOnlyTheBrowser) {
  WIDTH = 640;
  fontsize = 30;
  gvertexsize = 12;
  printbw = 1;
  showthetips = 0;
  keepcontinuous = 0;
  smoothdrawing = 0;
  changeoptions();
  EXPECT_EQ(continuousbut->value(), 0);
  EXPECT_EQ(smoothbut->value(), 0);
  defaults();
  EXPECT_EQ(continuousbut->value(), 1);
  EXPECT_EQ(smoothbut->value(), 1);
  EXPECT_EQ(WIDTH, 400);
  EXPECT_STREQ(intwidthinput->value(), "400");
  EXPECT_STREQ(choicesize->text(), "16 pt");
  EXPECT_EQ(tipsbut->value(), 1);
  closeoptions(nullptr, 0);
  EXPECT_EQ(prefstext(), "browser xdg-open\n");
}

// A tip as the window shows it: one paragraph that the window wraps to its
// width (the source's line breaks would run past its right edge).
static std::string oneparagraph(const char* tip) {
  std::string s = tip;
  for (char& c : s)
    if (c == '\n') c = ' ';
  return s;
}

TEST_F(Options, TipsWindowStepsAndCloseSaves) {
  showtips();
  pump(0.2);
  EXPECT_TRUE(tipswindow->shown());
  EXPECT_EQ(tipswindow->border(), 0);
  EXPECT_TRUE(tipstext->wrap());
  EXPECT_EQ(tipstext->value(), oneparagraph(helpmsgs[curtip]));
  int first = curtip;
  nexttip(nullptr, 1);
  EXPECT_NE(curtip, first);
  EXPECT_EQ(tipstext->value(), oneparagraph(helpmsgs[curtip]));
  nexttip(nullptr, -1);
  EXPECT_EQ(curtip, first);
  EXPECT_EQ(tipstext->value(), oneparagraph(helpmsgs[first]));
  // The start-up switch follows the check button.
  set(tipsstartbut, 0);
  EXPECT_EQ(showthetips, 0);
  // Close saves even when nothing else changed and undoes a dragged size.
  main_window->size(900, 700);
  closetips();
  pump(0.2);
  EXPECT_FALSE(tipswindow->shown());
  EXPECT_EQ(prefstext(), "browser xdg-open\nnotips\n");
  EXPECT_EQ(main_window->w(), WIDTH + MENUWIDTH);
  EXPECT_EQ(main_window->h(), HEIGHT + 24 + statusheight());
}

// At 200 % a dialog doubles as a whole: a button inside a group moves once
// (not again with its group), text left at the toolkit's normal size is
// doubled once (not from the already scaled normal size), and the status
// line under the drawing is twice as tall.
TEST(DialogScale, AWindowGrowsAsAWhole) {
  double saved = screenscale;
  int normal = FL_NORMAL_SIZE;
  setscreenscale(2);
  FL_NORMAL_SIZE = 28;  // as start-up sets it at this scale
  int built = unscaledfonts();
  Fl_Window w(100, 50);
  Fl_Group g(10, 10, 80, 30);
  Fl_Button b(20, 15, 40, 20, "OK");
  Fl_Input in(60, 15, 20, 20);
  g.end();
  w.end();
  b.labelsize(12);
  scalewindow(&w, built);
  EXPECT_EQ(FL_NORMAL_SIZE, 28);
  int got[][4] = {{w.w(), w.h(), 0, 0},
                  {g.x(), g.y(), g.w(), g.h()},
                  {b.x(), b.y(), b.w(), b.h()}};
  int want[][4] = {{200, 100, 0, 0}, {20, 20, 160, 60}, {40, 30, 80, 40}};
  for (int i = 0; i < 3; i++)
    for (int k = 0; k < 4; k++) EXPECT_EQ(got[i][k], want[i][k]) << i << k;
  EXPECT_EQ(b.labelsize(), 24);
  EXPECT_EQ(in.textsize(), 28);
  EXPECT_EQ(statusheight(), 40);
  setscreenscale(saved);
  FL_NORMAL_SIZE = normal;
}

}  // namespace
