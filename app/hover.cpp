// hover.cpp: the highlight under the resting pointer and the status line.
#include "app/hover.h"

#include <FL/Fl.H>
#include <FL/Fl_Box.H>

#include <cstdio>
#include <cstring>

#include "app/construction.h"
#include "app/dialogscale.h"
#include "app/geomwindow.h"
#include "relations/describe.h"
#include "render/gldraw.h"
#include "render/view.h"

Fl_Box* statusline;

namespace {

int pointerx = -1, pointery;  // the pointer in the drawing area, or x < 0
char shown[200];              // the status line's text

// The record a click at the pointer would take; none while a button is
// held (a drag or a pan is no moment to point things out) or outside.
const primitive* underpointer(double* wx, double* wy) {
  getpoint(wx, wy, pointerx, ysize - pointery);
  if (pointerx < 0 || Fl::event_buttons()) return nullptr;
  return clickpick(*wx, *wy);
}

void showstatus(const char* text) {
  if (!statusline || strcmp(text, shown) == 0) return;
  snprintf(shown, sizeof shown, "%s", text);
  statusline->label(shown);
  statusline->redraw();
}

// Sets the highlight and the status line for the pointer as it is now;
// 1 when the highlighted record changed.
int update() {
  double wx, wy;
  const primitive* p = underpointer(&wx, &wy);
  char text[sizeof shown] = "";
  if (pointerx >= 0) statustext(wx, wy, p, text, sizeof text);
  showstatus(text);
  int changed = p != highlighted;
  highlighted = p;
  return changed;
}

}  // namespace

int statusheight() {
  return scaledpixels(20);
}

void makestatusline(int x, int y, int w, int h) {
  statusline = new Fl_Box(x, y, w, h);
  statusline->box(FL_FLAT_BOX);
  statusline->align(FL_ALIGN_LEFT | FL_ALIGN_INSIDE | FL_ALIGN_CLIP);
  statusline->labelsize(scaledpixels(12));
  statusline->labelfont(FL_HELVETICA);
}

void statustext(double x, double y, const primitive* p, char* buf, int size) {
  int n = snprintf(buf, size, "x %.3f  y %.3f", x, y);
  if (!p || n < 0 || n >= size - 4) return;
  strcpy(buf + n, "   ");
  describeprimitive(p, buf + n + 3, size - n - 3);
}

void hover(int x, int y) {
  pointerx = x;
  pointery = y;
  if (update()) redrawgeometry();
}

void followhover() {
  update();
}

void resethover() {
  pointerx = -1;
  pointery = 0;
  shown[0] = 0;
  highlighted = nullptr;
}
