// tips.cpp: the tip-of-the-day window and its buttons.
#include "prefs/tips.h"

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Check_Button.H>
#include <FL/Fl_Multiline_Output.H>
#include <FL/Fl_Window.H>

#include <cstdlib>
#include <ctime>
#include <string>

#include "app/dialogscale.h"
#include "app/geomwindow.h"
#include "prefs/options.h"
#include "prefs/preffile.h"
#include "prefs/tiptext.h"

Fl_Window* tipswindow;
Fl_Multiline_Output* tipstext;
Fl_Check_Button* tipsstartbut;

const int TIPSWIDTH = 420;
const int TIPSHEIGHT = 260;

static int randomnumber() {
  return rand();
}

// A tip's text as one paragraph: its line breaks are only where the text
// was cut for the source, and the window wraps it to its own width.
static std::string reflowed(const char* tip) {
  std::string text = tip;
  for (size_t i = 0; i < text.size(); i++)
    if (text[i] == '\n' && text[i + 1] != '\n' &&
        (i == 0 || text[i - 1] != '\n'))
      text[i] = ' ';
  return text;
}

static void showcurrenttip() {
  if (tipstext && curtip >= 0 && curtip < tipcount)
    tipstext->value(reflowed(helpmsgs[curtip]).c_str());
}

static void prevpressed(Fl_Widget* w, void*) {
  nexttip(w, -1);
}

static void nextpressed(Fl_Widget* w, void*) {
  nexttip(w, 1);
}

static void startpressed(Fl_Widget*, void*) {
  toggletips();
}

static void closepressed(Fl_Widget*, void*) {
  closetips();
}

static void buildtips() {
  srand((unsigned)time(nullptr));
  int normal = unscaledfonts();
  tipswindow = new Fl_Window(TIPSWIDTH, TIPSHEIGHT, "Tip of the day");
  Fl_Box* title = new Fl_Box(3, 5, 410, 22, "Tip of the day");
  title->labelfont(FL_BOLD);
  title->labelsize(20);
  tipstext = new Fl_Multiline_Output(3, 33, 414, 200);
  // Long lines wrap at the window's edge instead of running past it.
  tipstext->wrap(1);
  tipsstartbut = new Fl_Check_Button(3, 235, 220, 22, "Show tip at startup");
  tipsstartbut->callback(startpressed);
  (new Fl_Button(165, 235, 80, 22, "Prev Tip"))->callback(prevpressed);
  (new Fl_Button(250, 235, 80, 22, "Next Tip"))->callback(nextpressed);
  (new Fl_Button(335, 235, 80, 22, "Close"))->callback(closepressed);
  tipswindow->end();
  scalewindow(tipswindow, normal);
  tipswindow->border(0);
  tipswindow->callback(closepressed);
}

void showtips() {
  if (!tipswindow) buildtips();
  tipsstartbut->value(showthetips != 0);
  starttips(randomnumber);
  showcurrenttip();
  if (main_window)
    tipswindow->position(
        main_window->x() + main_window->w() / 2 - tipswindow->w() / 2,
        main_window->y() + main_window->h() / 2 - tipswindow->h() / 2);
  tipswindow->set_modal();
  tipswindow->show();
}

void nexttip(Fl_Widget*, int direction) {
  advancetip(direction);
  showcurrenttip();
}

void toggletips() {
  showthetips = tipsstartbut ? tipsstartbut->value() : !showthetips;
}

void closetips() {
  if (tipswindow) tipswindow->hide();
  closeoptions(nullptr, 0);
}
