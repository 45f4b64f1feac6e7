// dialogscale.cpp: windows laid out for an ordinary display, scaled.
#include "app/dialogscale.h"

#include <FL/Fl.H>
#include <FL/Fl_Browser_.H>
#include <FL/Fl_Input_.H>
#include <FL/Fl_Menu_.H>
#include <FL/Fl_Window.H>

#include <algorithm>
#include <cmath>

#include "render/view.h"

const int ORDINARYTEXTSIZE = 14;  // the toolkit's normal size at 100 %

int scaledpixels(int n) {
  return (int)std::lround(n * screenscale);
}

int unscaledfonts() {
  int normal = FL_NORMAL_SIZE;
  FL_NORMAL_SIZE = ORDINARYTEXTSIZE;
  return normal;
}

// Text sizes of the widget kinds that have one besides their label's.
static void scaletext(Fl_Widget* w) {
  if (Fl_Input_* i = dynamic_cast<Fl_Input_*>(w))
    i->textsize(scaledpixels(i->textsize()));
  else if (Fl_Menu_* m = dynamic_cast<Fl_Menu_*>(w))
    m->textsize(scaledpixels(m->textsize()));
  else if (Fl_Browser_* b = dynamic_cast<Fl_Browser_*>(w))
    b->textsize(scaledpixels(b->textsize()));
}

// Children's coordinates are the window's, so every one scales alike;
// each is placed on its own (a group's resize would move its children a
// second time) and groups remember the new layout for later resizing.
static void scalechildren(Fl_Group* g) {
  for (int i = 0; i < g->children(); i++) {
    Fl_Widget* w = g->child(i);
    w->Fl_Widget::resize(scaledpixels(w->x()), scaledpixels(w->y()),
                         scaledpixels(w->w()), scaledpixels(w->h()));
    w->labelsize(scaledpixels(w->labelsize()));
    scaletext(w);
    if (Fl_Group* sub = w->as_group()) scalechildren(sub);
  }
  g->init_sizes();
}

void scalewindow(Fl_Window* w, int normalsize) {
  FL_NORMAL_SIZE = normalsize;
  if (screenscale == 1) return;
  scalechildren(w);
  w->Fl_Widget::resize(w->x(), w->y(), scaledpixels(w->w()),
                       scaledpixels(w->h()));
  w->labelsize(scaledpixels(w->labelsize()));
  w->init_sizes();
  // A window that can be resized is kept within the screen (a chosen
  // scale may be too large for a small one).
  int sx, sy, sw, sh;
  Fl::screen_work_area(sx, sy, sw, sh);
  if (w->resizable() && (w->w() > sw || w->h() > sh))
    w->size(std::min(w->w(), sw), std::min(w->h(), sh));
}
