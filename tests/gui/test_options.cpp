// The preferences dialog and the tips window on the virtual display: the
// sizes shown, each widget's immediate effect, Cancel, Defaults and Save,
// and stepping through the tips.

// clang-format off
// gtest before the X headers, whose macros (None) it would not survive.
#include <gtest/gtest.h>
#include <FL/Fl.H>
#include <FL/Fl_Check_Button.H>
#include <FL/Fl_Choice.H>
#include <FL/Fl_Input.H>
#include <FL/Fl_Int_Input.H>
#include <FL/Fl_Multiline_Output.H>
#include <FL/Fl_Window.H>
// clang-format on

#include <cstdio>
#include <cstring>
#include <set>
#include <string>

#include "app/geomwindow.h"
#include "model/notify.h"
#include "model/shell.h"
#include "model/worldlist.h"
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
  FILE* f = fopen(defaultfilename(), "r");
  if (!f) return "<missing>";
  std::string r;
  int c;
  while ((c = fgetc(f)) != EOF) r += (char)c;
  fclose(f);
  return r;
}

void settle() {
  for (int i = 0; i < 20; i++) Fl::wait(0.01);
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
    settle();
  }
};

TEST_F(Options, SizesShowAsTheNearestEntry) {
  fontsize = 14;
  edittextsize = 7;
  gvertexsize = 40;
  WIDTH = 333;
  strcpy(printcmdstring, "lpr %s");
  changeoptions();
  settle();
  EXPECT_TRUE(optionswindow->shown());
  EXPECT_STREQ(choicesize->text(), "16 pt");
  EXPECT_STREQ(choiceeditsize->text(), "8 pt");
  EXPECT_STREQ(choicevertexsize->text(), "32 pt");
  EXPECT_STREQ(intwidthinput->value(), "333");
  EXPECT_STREQ(intheightinput->value(), "450");
  EXPECT_STREQ(printinput->value(), "lpr %s");
  EXPECT_STREQ(choicefont->text(), "Helvetica");
  EXPECT_EQ(optionswindow->w(), 400);
  EXPECT_EQ(optionswindow->h(), 225);
  // Centred on the main window.
  EXPECT_EQ(optionswindow->x(), main_window->x() + main_window->w() / 2 - 200);
}

TEST_F(Options, WidgetsTakeEffectAtOnceAndCancelKeepsThem) {
  changeoptions();
  settle();
  intwidthinput->value("520");
  intwidthinput->do_callback();
  EXPECT_EQ(WIDTH, 520);
  choicefont->value(1);
  choicefont->do_callback();
  EXPECT_EQ(fontnumber, 8);
  choicestyle->value(3);
  choicestyle->do_callback();
  EXPECT_EQ(fontstyle, 3);
  choicesize->value(6);
  choicesize->do_callback();
  EXPECT_EQ(fontsize, 24);
  EXPECT_EQ(gfontsize, 24);
  choiceeditsize->value(0);
  choiceeditsize->do_callback();
  EXPECT_EQ(edittextsize, 6);
  bwbut->value(1);
  bwbut->do_callback();
  EXPECT_EQ(printbw, 1);
  vertbut->value(0);
  vertbut->do_callback();
  EXPECT_EQ(addvertexnames, 0);
  printinput->value("lp -d x %s");
  printinput->do_callback();
  EXPECT_STREQ(printcmdstring, "lp -d x %s");
  // Cancel keeps the changes, resizes the main window, writes nothing.
  closeoptions(nullptr, 1);
  settle();
  EXPECT_FALSE(optionswindow->shown());
  EXPECT_EQ(main_window->w(), 520 + MENUWIDTH);
  EXPECT_EQ(prefstext(), "<missing>");
  EXPECT_EQ(fontnumber, 8);
  // A width nobody could use is raised to 200 on closing.
  WIDTH = 3;
  closeoptions(nullptr, 1);
  EXPECT_EQ(WIDTH, 200);
  addvertexnames = 1;
}

TEST_F(Options, DefaultsThenSaveWritesOnlyTheBrowser) {
  WIDTH = 640;
  fontsize = 30;
  gvertexsize = 12;
  printbw = 1;
  showthetips = 0;
  changeoptions();
  defaults();
  EXPECT_EQ(WIDTH, 400);
  EXPECT_STREQ(intwidthinput->value(), "400");
  EXPECT_STREQ(choicesize->text(), "16 pt");
  EXPECT_EQ(tipsbut->value(), 1);
  closeoptions(nullptr, 0);
  EXPECT_EQ(prefstext(), "browser explorer.exe\n");
  // Settings that differ are written.
  changeoptions();
  choicevertexsize->value(2);
  choicevertexsize->do_callback();
  rgbbut->value(0);
  rgbbut->do_callback();
  closeoptions(nullptr, 0);
  EXPECT_EQ(prefstext(), "browser explorer.exe\nvertexsize 10\nindexmode\n");
  rgbmode = 1;
}

TEST_F(Options, TipsStepThroughEveryTipAndCloseSaves) {
  showtips();
  settle();
  EXPECT_TRUE(tipswindow->shown());
  EXPECT_EQ(tipswindow->border(), 0);
  ASSERT_EQ(tipcount, 41);
  EXPECT_STREQ(tipstext->value(), helpmsgs[curtip]);
  int first = curtip;
  std::set<int> seen;
  for (int i = 0; i < 41; i++) {
    seen.insert(curtip);
    nexttip(nullptr, 1);
    EXPECT_STREQ(tipstext->value(), helpmsgs[curtip]);
  }
  EXPECT_EQ(seen.size(), 41u);
  EXPECT_EQ(curtip, first);
  nexttip(nullptr, -1);
  nexttip(nullptr, 1);
  EXPECT_EQ(curtip, first);
  // The start-up switch follows the check button.
  tipsstartbut->value(0);
  tipsstartbut->do_callback();
  EXPECT_EQ(showthetips, 0);
  // Close saves even when nothing else changed and undoes a dragged size.
  main_window->size(900, 700);
  closetips();
  settle();
  EXPECT_FALSE(tipswindow->shown());
  EXPECT_EQ(prefstext(), "browser explorer.exe\nnotips\n");
  EXPECT_EQ(main_window->w(), WIDTH + MENUWIDTH);
  EXPECT_EQ(main_window->h(), HEIGHT + 24);
}

}  // namespace
