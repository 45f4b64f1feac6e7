// relationswindow.cpp: the report window of the relation finder, and the
// progress shown while a test starts on a large diagram: in the prompt
// field, and in a small window whose Cancel button stops the start.
//
// The window opens on the summary; a button turns to the full report and
// back. Clicking an entry of the summary selects it and makes the objects
// it names blink in the diagram until another entry is clicked, the full
// report is shown or the window is closed.
#include "app/relationswindow.h"

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Double_Window.H>
#include <FL/Fl_Progress.H>
#include <FL/Fl_Text_Buffer.H>
#include <FL/Fl_Text_Display.H>
#include <FL/Fl_Window.H>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "app/files.h"
#include "app/geomwindow.h"
#include "app/ui.h"
#include "language/symtable.h"
#include "model/worldlist.h"
#include "relations/finder.h"
#include "relations/report.h"
#include "render/colors.h"

Fl_Double_Window* relationswindow;
Fl_Text_Display* relationsdisplay;
Fl_Text_Buffer* relationstext;
Fl_Button* relationsform;
int showingsummary;
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

std::string fulltext, summary;  // the texts of the last report
std::vector<int> entrylines;    // first line of each summary entry

void emphasize(const std::vector<const primitive*>& records) {
  setemphasis(records);
  redrawgeometry();
}

void showform(int summaryform) {
  showingsummary = summaryform;
  relationstext->text(summaryform ? summary.c_str() : fulltext.c_str());
  relationsform->label(summaryform ? "Full report" : "Summary");
  relationsdisplay->insert_position(0);
  relationsdisplay->scroll(1, 0);
  emphasize({});
}

void closerelations(Fl_Widget*, void*) {
  emphasize({});
  relationswindow->hide();
}

void toggleform(Fl_Widget*, void*) {
  showform(!showingsummary);
}

// The records an entry names, found again by identifier (an undo or an
// edit since the report makes new records of the same names), or when
// one has none, by address among the records still there.
std::vector<const primitive*> liveobjects(const relentry& e) {
  std::vector<const primitive*> live;
  for (primitive* p = plist; p; p = p->next)
    for (size_t k = 0; k < e.objects.size(); k++)
      if (e.ids[k].empty() ? p == e.objects[k]
                           : p->symbol && e.ids[k] == p->symbol->name)
        live.push_back(p);
  return live;
}

// The text area of the report: a click on an entry of the summary picks
// it (the toolkit wants a subclass to see the click).
class ReportDisplay : public Fl_Text_Display {
 public:
  ReportDisplay(int x, int y, int w, int h) : Fl_Text_Display(x, y, w, h) {}
  int handle(int event) override {
    int used = Fl_Text_Display::handle(event);
    if (event == FL_RELEASE && showingsummary)
      pickentry(xy_to_position(Fl::event_x(), Fl::event_y()));
    return event == FL_PUSH ? 1 : used;
  }
};

}  // namespace

void pickentry(int position) {
  int line = relationstext->count_lines(0, position);
  int k = (int)entrylines.size() - 1;
  while (k >= 0 && entrylines[k] > line) k--;
  if (k < 0 || k >= (int)lastreport.summary.size()) {
    relationstext->unselect();
    emphasize({});
    return;
  }
  int start = relationstext->skip_lines(0, entrylines[k]);
  int end = k + 1 < (int)entrylines.size()
                ? relationstext->skip_lines(0, entrylines[k + 1])
                : relationstext->length();
  relationstext->select(start, end);
  emphasize(liveobjects(lastreport.entries[lastreport.summary[k]]));
}

namespace {

void makerelationswindow() {
  // Wider than the classic 445 by the summary's button, right of Close.
  relationswindow = new Fl_Double_Window(510, 445, "Geometric Relationships");
  Fl_Box* title = new Fl_Box(3, 5, 250, 22, "Geometric Relationships");
  title->labelfont(FL_BOLD);
  title->labelsize(20);
  title->align(FL_ALIGN_INSIDE | FL_ALIGN_LEFT);
  Fl_Button* close = new Fl_Button(330, 5, 80, 25, "Close");
  close->callback(closerelations);
  relationsform = new Fl_Button(415, 5, 90, 25, "Full report");
  relationsform->callback(toggleform);
  relationswindow->callback(closerelations);
  relationstext = new Fl_Text_Buffer();
  // The display brings its own scrollbar, where a separate one would sit.
  relationsdisplay = new ReportDisplay(3, 33, 504, 407);
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

void showrelations(const char* text, const char* summarytext) {
  if (!relationswindow) makerelationswindow();
  fulltext = text ? text : "";
  summary = summarytext ? summarytext : "";
  entrylines.clear();
  if (summarytext) {
    // The lines as the report that is kept says them.
    std::string check = ::summarytext(lastreport, &entrylines);
    if (check != summary) entrylines.clear();
  }
  showform(summarytext != nullptr);
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
  setemphasis({});
  progressdelay = 0.5;
  progressstart = lastprogress = 0;
}
