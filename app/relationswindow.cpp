// relationswindow.cpp: the report window of the relation finder, and the
// progress shown while a test starts on a large diagram: in the prompt
// field, and in a small window whose Cancel button stops the start.
#include "app/relationswindow.h"

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Double_Window.H>
#include <FL/Fl_Progress.H>
#include <FL/Fl_Text_Buffer.H>
#include <FL/Fl_Text_Display.H>
#include <FL/Fl_Window.H>

#include <chrono>
#include <cstdio>

#include "app/files.h"
#include "app/geomwindow.h"
#include "app/ui.h"
#include "relations/finder.h"

Fl_Double_Window* relationswindow;
Fl_Text_Display* relationsdisplay;
Fl_Text_Buffer* relationstext;
double progressdelay = 0.5;
Fl_Window* progresswindow;
Fl_Progress* progressbar;
Fl_Button* progresscancel;

namespace {

const double PROGRESSDELAY = 0.5;    // seconds before progress is shown
const double PROGRESSSTEP = 0.1;     // seconds between two repaints
double progressstart, lastprogress;  // seconds on the steady clock

double now() {
  using namespace std::chrono;
  return duration<double>(steady_clock::now().time_since_epoch()).count();
}

void closerelations(Fl_Widget*, void*) {
  relationswindow->hide();
}

void makerelationswindow() {
  relationswindow = new Fl_Double_Window(445, 445, "Geometric Relationships");
  Fl_Box* title = new Fl_Box(3, 5, 250, 22, "Geometric Relationships");
  title->labelfont(FL_BOLD);
  title->labelsize(20);
  title->align(FL_ALIGN_INSIDE | FL_ALIGN_LEFT);
  Fl_Button* close = new Fl_Button(330, 5, 80, 25, "Close");
  close->callback(closerelations);
  relationstext = new Fl_Text_Buffer();
  // The display brings its own scrollbar, where a separate one would sit.
  relationsdisplay = new Fl_Text_Display(3, 33, 439, 407);
  relationsdisplay->buffer(relationstext);
  relationsdisplay->textfont(FL_COURIER);
  relationsdisplay->textsize(12);
  relationswindow->end();
  relationswindow->resizable(relationsdisplay);
}

// Centred on the main window as far as the main window is known.
void placerelationswindow() {
  if (!main_window) return;
  int x = main_window->x() + main_window->w() / 2 - 210;
  int y = main_window->y() + main_window->h() / 2 - 230;
  relationswindow->position(x > 0 ? x : 0, y > 0 ? y : 0);
}

void cancelbuilding(Fl_Widget*, void*) {
  stopbuilding = 1;
}

void makeprogresswindow() {
  progresswindow = new Fl_Window(300, 70, "Testing Diagram");
  progressbar = new Fl_Progress(10, 10, 280, 20);
  progressbar->minimum(0);
  progressbar->maximum(100);
  progressbar->selection_color(FL_BLUE);
  progresscancel = new Fl_Button(210, 38, 80, 25, "Cancel");
  progresscancel->callback(cancelbuilding);
  progresswindow->end();
  progresswindow->set_non_modal();
}

// The bar with its Cancel button, over the main window.
void showprogresswindow(int percent) {
  if (!progresswindow) makeprogresswindow();
  static char label[8];
  snprintf(label, sizeof label, "%d%%", percent);
  progressbar->value((float)percent);
  progressbar->label(label);
  if (!progresswindow->shown() && main_window)
    progresswindow->position(main_window->x() + 20, main_window->y() + 40);
  progresswindow->show();
}

}  // namespace

void showrelations(const char* text) {
  if (!relationswindow) makerelationswindow();
  relationstext->text(text ? text : "");
  relationsdisplay->insert_position(0);
  relationsdisplay->scroll(1, 0);
  placerelationswindow();
  relationswindow->show();
}

void showtestprogress(int percent) {
  double t = now();
  if (percent == 0) {
    progressstart = t;
    lastprogress = 0;
    return;
  }
  if (percent == 100) {
    if (progresswindow) progresswindow->hide();
    return;
  }
  if (t - progressstart < progressdelay || t - lastprogress < PROGRESSSTEP)
    return;
  lastprogress = t;
  char text[64];
  snprintf(text, sizeof text, "Testing Diagram: finding relations %d%%",
           percent);
  showmessage(text);
  showprogresswindow(percent);
  Fl::check();
}

void bindrelationshooks() {
  showrelationshook = showrelations;
  currentfilehook = getcurrentfilename;
  testprogresshook = showtestprogress;
}

void resetrelationswindow() {
  progressdelay = 0.5;
  progressstart = lastprogress = 0;
}
