// The dispatcher and its commands on the real program window: test mode,
// the repeat flag, styles and colours on the selection, layers with and
// without Alt, names, texts, deletion, menu item states, the key map and
// the view keys, the mouse during a script run.
#include "tests/gui/guitest.h"
// The rest after the test framework: X11's macros clash with it.
#include <FL/Fl_Choice.H>
#include <FL/Fl_Light_Button.H>
#include <FL/Fl_Menu_Item.H>
#include <FL/Fl_Window.H>
#include <FL/fl_draw.H>
#include <FL/x.H>

#include <cmath>
#include <cstring>

#include "app/construction.h"
#include "app/geomwindow.h"
#include "app/hover.h"
#include "app/keys.h"
#include "engine/recompute.h"
#include "history/history.h"
#include "model/construct.h"
#include "model/shell.h"
#include "model/state.h"
#include "model/style.h"
#include "prefs/preffile.h"
#include "relations/finder.h"
#include "render/gldraw.h"

// From render/markup.h, whose symbol table `special` shares its name with
// the special-key callback.
extern int showinfo;

namespace {

std::string answer;      // what the input dialog answers
int answernull;          // the input dialog is cancelled
std::string dialogtext;  // what the text dialog answers
int dialogcancel;
int dialogwithcancel;

const char* scriptedinput(const char*, const char*) {
  return answernull ? nullptr : answer.c_str();
}
const char* scriptedtext(const char*, int withcancel) {
  dialogwithcancel = withcancel;
  return dialogcancel ? nullptr : dialogtext.c_str();
}

struct Menu : ::testing::Test {
  void SetUp() override {
    cleardiagram();
    resetui();
    inputhook = scriptedinput;
    textdialoghook = scriptedtext;
    answernull = 0;
    dialogcancel = 0;
    Fl::e_state = 0;
    sticky = 0;
    testingdiagram = 0;
    setselect();
  }
  void TearDown() override {
    textdialoghook = nullptr;
    inputhook = nullptr;
    testingdiagram = 0;
    Fl::e_state = 0;
  }
};

vertex* freepoint(double x, double y) {
  vertex* v = makevertex(x, y);  // named and selected
  v->kind = FREE;
  addprimitive(v);
  return v;
}

TEST_F(Menu, TestModeRefusesEverythingButEndTest) {
  freepoint(0, 0);
  handlemenu(200250);
  EXPECT_EQ(testingdiagram, 1);
  EXPECT_FALSE(menuitem(200250)->active());
  EXPECT_TRUE(menuitem(200251)->active());
  handlemenu(200001 + REPEATCODE);
  EXPECT_EQ(
      guialerts,
      strings{"Testing Diagram.  The only valid command is 'End Test' in the "
              "'Proof' pull-down menu."});
  EXPECT_EQ(UIstate, 0);
  EXPECT_EQ(sticky, 0);
  handlemenu(200220);  // Delete, refused too
  EXPECT_EQ(guialerts.size(), 2u);
  EXPECT_NE(plisttail, nullptr);
  handlemenu(200251);
  EXPECT_EQ(testingdiagram, 0);
  EXPECT_TRUE(menuitem(200250)->active());
  EXPECT_FALSE(menuitem(200251)->active());
}

TEST_F(Menu, RepeatSurvivesStylesAndEditsButNotOtherCommands) {
  // Colours, styles, widths and edits of the selection; the ends of their
  // ranges and the codes just outside.
  for (int c : {200145, 200169, 200175, 200209, 200220, 200247, 200355})
    EXPECT_EQ(unstick(c), 0) << c;
  for (int c : {200001, 200170, 200210, 200219, 200244, 200250, 100003})
    EXPECT_EQ(unstick(c), 1) << c;
}

TEST_F(Menu, ColoursGoToTheSelectionAndMarkItModified) {
  handlemenu(200151);  // red with nothing selected
  EXPECT_EQ(currentcolor, COLOR_RED);
  EXPECT_EQ(dirtyfile, 0);
  vertex* v = freepoint(0, 0);
  dirtyfile = 0;
  handlemenu(200146);  // Blink1
  EXPECT_EQ(v->color, COLOR_BLINK1);
  EXPECT_EQ(dirtyfile, 1);
  // Layers 2 and 4 in force: the colour goes to those layers only.
  layerset = (1u << 2) | (1u << 4);
  handlemenu(200154);
  EXPECT_EQ(v->color, COLOR_PERLAYER);
  EXPECT_EQ(v->layercolor[2], COLOR_BLUE);
  EXPECT_EQ(v->layercolor[4], COLOR_BLUE);
  EXPECT_EQ(v->layercolor[3], (uint8_t)COLOR_BLINK1);
  // The Color choice runs the same command, even for the item it shows.
  layerset = 0xffffffffu;
  Fl_Choice* ch = choices[COLORCHOICE];
  const Fl_Menu_Item* green = ch->menu() + 1;
  ASSERT_EQ((long)green->user_data(), 200152);
  ch->value(green);
  ch->picked(green);
  EXPECT_EQ(v->color, COLOR_GREEN);
  ch->picked(green);
  EXPECT_EQ(currentcolor, COLOR_GREEN);
}

// The colour entries as the choice and its menu draw them (into a buffer
// of their own, so no other window can cover them): each name in black on
// the grey box, after a swatch of its colour (yellow and cyan names in
// their own colour could not be read).
TEST_F(Menu, ColourEntriesShowASwatchAndADarkName) {
  Fl_Choice* ch = choices[COLORCHOICE];
  struct row {
    int item;
    rgbcolor swatch;
  } rows[] = {{2, {255, 255, 0}}, {5, {0, 255, 255}}, {0, {255, 0, 0}}};
  const int w = 100, h = 20;
  main_window->make_current();
  Fl_Offscreen buffer = fl_create_offscreen(w, h);
  for (const row& r : rows) {
    std::vector<unsigned char> px(3 * w * h);
    fl_begin_offscreen(buffer);
    fl_color(FL_BACKGROUND_COLOR);
    fl_rectf(0, 0, w, h);
    ch->menu()[r.item].draw(0, 0, w, h, ch, 0);
    fl_read_image(px.data(), 0, 0, w, h);
    fl_end_offscreen();
    int swatch = 0, dark = 0;
    for (size_t i = 0; i < px.size(); i += 3) {
      swatch += samecolor(&px[i], r.swatch, 40);
      dark += px[i] < 80 && px[i + 1] < 80 && px[i + 2] < 80;
    }
    EXPECT_GT(swatch, 30) << r.item;  // a filled square of about 8 x 8
    EXPECT_GT(dark, 40) << r.item;    // the name's strokes
  }
  fl_delete_offscreen(buffer);
}

TEST_F(Menu, StylesReachOnlyTheMatchingType) {
  vertex* a = freepoint(-0.5, 0);
  line* l = linevertvert(a, freepoint(0.5, 0));
  addprimitive(l);
  selectprim(l);
  historyreset(1);     // the diagram as opened: clean
  handlemenu(200181);  // point style Dot, a line is selected
  EXPECT_EQ(currentpointtype, RW_DOT);
  EXPECT_EQ(dirtyfile, 0);
  handlemenu(200202);  // dotted
  handlemenu(200205);  // ray
  handlemenu(200209);  // three slashes
  EXPECT_EQ(l->linestyle, RW_DOTLINE);
  EXPECT_EQ(l->linetype, RW_RAY12);
  EXPECT_EQ(l->linemark, RW_LINE3SLASH);
  EXPECT_EQ(dirtyfile, 1);
  selectprim(a);
  handlemenu(200178);
  EXPECT_EQ(a->pointtype, RW_SQUARE);
  const struct {
    int code, *style, value;
  } rows[] = {{200159, &currentangletype, RW_NOANGLE},
              {200169, &currentangletype, RW_RIGHT},
              {200163, &currentangletype, RW_SLASH1},
              {200192, &currentpolytype, RW_HASHPOLY},
              {200190, &currentpolytype, RW_SOLIDPOLY}};
  for (const auto& r : rows) {
    handlemenu(r.code);
    EXPECT_EQ(*r.style, r.value) << r.code;
  }
  // Widths: the selection and the default for new records.
  dirtyfile = 0;
  handlemenu(200355);
  EXPECT_EQ(a->width, 6.0);
  EXPECT_EQ(widthmultiplier, 6.0);
  EXPECT_EQ(dirtyfile, 1);
  handlemenu(200350);
  EXPECT_EQ(a->width, 0.5);
}

TEST_F(Menu, LayerButtonsAltAndProofSteps) {
  handlemenu(200103);
  EXPECT_EQ(layerset, 0xffffffffu & ~(1u << 3));
  EXPECT_EQ(layerbuts[3]->value(), 0);
  EXPECT_EQ(layerbuts[2]->value(), 1);
  Fl::e_state = FL_ALT;
  handlemenu(200103);  // toggles layers 3 to 31
  Fl::e_state = 0;
  EXPECT_EQ(layerset, 0x7u | (1u << 3));
  EXPECT_EQ(layerbuts[4]->value(), 0);
  EXPECT_EQ(minlayer, 0);
  handlemenu(200100);
  EXPECT_EQ(minlayer, 1);
  // Start, Next, Previous and Off.
  const uint32_t after[][2] = {
      {200234, 1u}, {200235, 2u}, {200235, 4u}, {200232, 2u}, {200233, ~0u}};
  for (const auto& r : after) {
    handlemenu(r[0]);
    EXPECT_EQ(layerset, r[1]) << r[0];
  }
}

TEST_F(Menu, NamesTextsDeletionAndFlips) {
  vertex* a = freepoint(-0.5, 0);
  vertex* b = freepoint(0.5, 0);
  vertex* c = freepoint(0, 0.5);
  angle* g = avvv(a, c, b);
  addprimitive(g);
  dirtyfile = 0;
  selectprim(a);
  answer = "P\"1\"";
  handlemenu(200240);
  EXPECT_STREQ(a->label, "P1");  // double quotes removed
  EXPECT_EQ(dirtyfile, 1);
  answernull = 1;
  handlemenu(200240);
  EXPECT_STREQ(a->label, "P1");  // cancel keeps it
  answernull = 0;
  answer = "";
  handlemenu(200240);
  EXPECT_EQ(a->label, nullptr);  // empty removes it
  selectprim(g);
  handlemenu(200231);
  EXPECT_EQ(g->parents[0], b);
  EXPECT_EQ(g->parents[2], a);
  dirtyfile = 0;
  handlemenu(200246);
  EXPECT_EQ(g->display, 1);
  EXPECT_EQ(dirtyfile, 1);
  EXPECT_TRUE(menuitem(200246)->value());
  handlemenu(200220);
  EXPECT_EQ(plisttail, c);
  EXPECT_EQ(pselected, nullptr);
  EXPECT_FALSE(menuitem(200220)->active());
  // Descriptive text: made, selected, edited without Cancel; Edit Text
  // opens it again with Cancel.
  dialogtext = "say \"hi\"\n";
  handlemenu(200049);
  ASSERT_EQ(plisttail->type, RW_TEXT);
  text* t = (text*)plisttail;
  EXPECT_EQ(dialogwithcancel, 0);
  EXPECT_STREQ(t->string, "say 'hi'");
  EXPECT_EQ(pselected, t);
  EXPECT_TRUE(menuitem(200248)->active());
  dialogcancel = 1;
  handlemenu(200248);
  EXPECT_EQ(dialogwithcancel, 1);
  EXPECT_STREQ(t->string, "say 'hi'");
  selectedtextprim = nullptr;
  handlemenu(200248);
  EXPECT_EQ(guialerts.back(), "No selected text.");
}

TEST_F(Menu, MenuStatesFollowTheSelectionAndToggles) {
  selectprim(nullptr);
  for (int code : {200220, 200240, 200231, 200248})
    EXPECT_FALSE(menuitem(code)->active()) << code;
  selectprim(freepoint(0, 0));
  EXPECT_TRUE(menuitem(200220)->active());
  EXPECT_TRUE(menuitem(200237)->active());
  EXPECT_FALSE(menuitem(200231)->active());
  const struct {
    int code, *flag, hasitem;
  } toggles[] = {{200245, &addvertexnames, 1},
                 {100015, &dumpingeps, 1},
                 {200214, &showinvisible, 0},
                 {200236, &showinfo, 0}};
  for (const auto& r : toggles) {
    int was = *r.flag;
    handlemenu(r.code);
    EXPECT_EQ(*r.flag, !was) << r.code;
    if (r.hasitem) {
      EXPECT_EQ(menuitem(r.code)->value() != 0, !was) << r.code;
    }
    handlemenu(r.code);
    EXPECT_EQ(*r.flag, was) << r.code;
  }
  int w = defaultwidth;
  handlemenu(200254);
  EXPECT_EQ(defaultwidth, 3 - w);
  EXPECT_EQ(menuitem(200254)->value() != 0, defaultwidth == 2);
  handlemenu(200254);
}

TEST_F(Menu, KeyMap) {
  char msg[40];
  int smear;
  const struct {
    unsigned char c;
    int control, shift, digit, code;
    const char* message;
  } rows[] = {{'1', 0, 0, -1, 200001, ""},
              {'6', 0, 0, -1, 0, ""},
              {'P', 0, 1, -1, 200232, ""},
              {'x', 0, 0, -1, 0, ""},
              {1, 0, 0, -1, 200231, ""},  // Ctrl-a
              {4, 0, 1, -1, 0, ""},       // Ctrl-Shift-D does nothing
              {17, 0, 0, -1, 100007, ""},
              {17, 0, 1, -1, 200239, ""},
              {'1', 1, 0, 1, 200001, ""},
              {'!', 1, 1, 1, 200151, ""},  // the digit key, not the '!'
              {')', 1, 1, 0, 200150, ""},
              {'7', 1, 0, 7, 0, ""},
              {25, 0, 0, -1, 200257, ""},  // Ctrl-y: Redo
              {11, 0, 0, -1, 0, "Unknown command: Ctrl-k"},
              {2, 0, 1, -1, 0, "Unknown command: Ctrl-Shift-B"},
              {'8', 1, 0, 8, 0, "Unknown command: Ctrl-8"}};
  for (const auto& r : rows) {
    EXPECT_EQ(keycommand(r.c, r.control, r.shift, r.digit, msg, &smear), r.code)
        << (int)r.c;
    EXPECT_STREQ(msg, r.message) << (int)r.c;
  }
  keycommand(24, 0, 0, -1, msg, &smear);  // Ctrl-x: the smear switch
  EXPECT_EQ(smear, 1);
  EXPECT_STREQ(msg, "");
}

TEST_F(Menu, KeysThroughTheDrawingArea) {
  keypress(FL_Tab, "\t", 0);  // Ctrl-i: the colour Invisible
  EXPECT_EQ(currentcolor, COLOR_INVISIBLE);
  keypress('k', "\x0b", FL_CTRL);  // unknown, said in the message window
  EXPECT_EQ(guimessages, strings{"Unknown command: Ctrl-k"});
  // Ctrl-1 starts Free P in repeat mode (the Command key was held).
  keypress('1', "1", FL_CTRL);
  EXPECT_EQ(UIstate, 10);
  EXPECT_EQ(sticky, 1);
  EXPECT_EQ(cancelrepeat->value(), 1);
  keypress('g', "\x07", FL_CTRL);
  EXPECT_EQ(sticky, 0);
  EXPECT_EQ(UIstate, 0);
}

TEST_F(Menu, ViewKeysMoveTurnAndZoomTheFreePoints) {
  vertex* a = freepoint(0.5, 0.25);
  const double c = std::cos(M_PI / 180), s = std::sin(M_PI / 180);
  const struct {
    int key, state;
    double x, y;
  } rows[] = {{FL_Left, 0, 0.49, 0.25},
              {FL_Up, 0, 0.49, 0.26},
              {FL_Page_Up, 0, 0.49 * 1.01, 0.26 * 1.01},
              {FL_KP + '3', 0, 0.49, 0.26},
              {FL_Home, 0, 0.49 * c + 0.26 * s, 0.26 * c - 0.49 * s},
              {FL_End, 0, 0.49, 0.26},
              {FL_Page_Down, FL_CTRL, 0.49 * c - 0.26 * s, 0.26 * c + 0.49 * s},
              {FL_KP + '9', FL_CTRL, 0.49, 0.26},
              {FL_Right, 0, 0.50, 0.26},
              {FL_Down, 0, 0.50, 0.25}};
  for (const auto& r : rows) {
    Fl::e_state = r.state;
    special(r.key, 0, 0);
    checkconstraints();
    EXPECT_NEAR(a->x, r.x, 1e-9) << r.key;
    EXPECT_NEAR(a->y, r.y, 1e-9) << r.key;
  }
  Fl::e_state = 0;
  special(FL_F + 3, 0, 0);  // nothing
  EXPECT_NEAR(a->x, 0.5, 1e-9);
}

TEST_F(Menu, AMousePressDuringAScriptOnlyStopsIt) {
  flt f;
  f.start = 0;
  f.stop = 1;
  f.step = 0.3;
  f.value = 0.6;
  Script = &f;
  runningscript = 1;
  filelayerset = 0x5u;
  layerset = 1u;
  handlemenu(200001);
  mousepress(0.2, 0.2);
  EXPECT_EQ(runningscript, 0);
  EXPECT_EQ(layerset, 0x5u);
  EXPECT_EQ(plist, nullptr);  // the press made no point
  mouserelease();
  EXPECT_EQ(plist, nullptr);
  f.value = 0.9;
  mousepress(0.2, 0.2);  // now it counts, and rewinds the script
  mouserelease();
  EXPECT_EQ(f.value, 0.0);
  ASSERT_NE(plist, nullptr);
  EXPECT_EQ(plist->kind, FREE);
  Script = nullptr;
  filelayerset = 0xffffffffu;
}

TEST_F(Menu, LayerDisplayFitsTheWindow) {
  int w = main_window->w(), h = main_window->h();
  if (showthelayers) handlemenu(200253);
  handlemenu(200253);  // layer buttons shown
  pump(0.2);
  ASSERT_TRUE(layergroup->visible());
  EXPECT_TRUE(menuitem(200253)->value());
  Fl_Widget* last = layerbuts[NLAYERBUTS - 1];
  EXPECT_LE(last->y() + last->h(), main_window->h());
  EXPECT_EQ(geom_window->h(),
            main_window->h() - 24 - statusheight());  // the drawing grew
  handlemenu(200253);  // hidden again: the window gets its height back
  pump(0.2);
  EXPECT_FALSE(layergroup->visible());
  EXPECT_EQ(main_window->h(), h);
  EXPECT_EQ(main_window->w(), w);
}

}  // namespace
