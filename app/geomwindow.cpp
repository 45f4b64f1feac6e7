// geomwindow.cpp: the drawing area: event routing to the callbacks, the
// draw entry, the size and visibility callbacks and the display mode.
#include "app/geomwindow.h"

#include <FL/Fl.H>
#include <FL/Fl_Window.H>

#include "app/hover.h"
#include "app/undo.h"
#include "model/shell.h"
#include "prefs/preffile.h"
#include "render/colors.h"
#include "render/gldraw.h"
#include "render/view.h"

Fl_Window* main_window;
Fl_Geom_Window* geom_window;

Fl_Geom_Window::Fl_Geom_Window(int w, int h, const char* l)
    : Fl_Gl_Window(w, h, l) {
  clearcallbacks();
}

Fl_Geom_Window::Fl_Geom_Window(int x, int y, int w, int h, const char* l)
    : Fl_Gl_Window(x, y, w, h, l) {
  clearcallbacks();
}

void Fl_Geom_Window::clearcallbacks() {
  mousedown = 0;
  displayfunc = nullptr;
  reshapefunc = nullptr;
  keyboardfunc = nullptr;
  mousefunc = nullptr;
  motionfunc = nullptr;
  visibilityfunc = nullptr;
  specialfunc = nullptr;
  wheelfunc = nullptr;
  hoverfunc = nullptr;
  panfunc = nullptr;
}

void Fl_Geom_Window::make_current() {
  if (shown()) Fl_Gl_Window::make_current();
}

void Fl_Geom_Window::draw() {
  if (!valid()) {
    if (reshapefunc) reshapefunc(w(), h());
    valid(1);
  }
  if (displayfunc) displayfunc();
}

// Key codes as the special-key callback receives them: function keys as
// their number, everything else as the toolkit's key code.
static int specialcode(int k) {
  if (k > FL_F && k <= FL_F_Last) return k - FL_F;
  return k;
}

// A change an event leaves pending is taken into the history once no
// button is held: a whole drag or pan with the mouse is one step, and so
// is a whole turn of the wheel.
int Fl_Geom_Window::handle(int event) {
  if (event == FL_MOUSEWHEEL) {
    beginwheel();
    int used = route(event);
    endwheel();
    return used;
  }
  if (event == FL_PUSH || event == FL_KEYBOARD) beginchange();
  int used = route(event);
  commitpending();
  return used;
}

int Fl_Geom_Window::route(int event) {
  make_current();
  int x = Fl::event_x(), y = Fl::event_y();
  fixcursor();
  switch (event) {
    case FL_PUSH: {
      int b = Fl::event_button() - 1;
      if (b < 0) b = 0;
      if (b > 2) b = 2;
      mousedown |= 1 << b;
      if (mousefunc) {
        mousefunc(b, 0, x, y);
        return 1;
      }
      return motionfunc != nullptr;
    }
    case FL_RELEASE:
      // The drag is over: the images of what it left still go.
      draggedrecord = nullptr;
      dropstill();
      for (int b = 0; b < 3; b++)
        if ((mousedown & (1 << b)) && mousefunc) mousefunc(b, 1, x, y);
      mousedown = 0;
      return 1;
    case FL_DRAG:
      if (!motionfunc) return 0;
      // Only the left button selects and drags points; the others pan.
      if (Fl::event_state(FL_BUTTON1))
        motionfunc(x, y);
      else if (panfunc)
        panfunc(x, y);
      return 1;
    case FL_MOUSEWHEEL:
      if (!wheelfunc) return 0;
      wheelfunc(Fl::event_dx(), Fl::event_dy(), x, y);
      return 1;
    case FL_ENTER:  // taking it brings the motion events
    case FL_MOVE:
      if (hoverfunc) hoverfunc(x, y);
      return 1;
    case FL_LEAVE:
      if (hoverfunc) hoverfunc(-1, -1);
      return 1;
    case FL_FOCUS: return 1;
    case FL_KEYBOARD: {
      int k = Fl::event_key();
      if (k == FL_KP + '9' || k == FL_KP + '3') {
        if (!specialfunc) return 0;
        specialfunc(k, x, y);
      } else if (Fl::event_length() > 0) {
        if (!keyboardfunc) return 0;
        keyboardfunc((unsigned char)Fl::event_text()[0], x, y);
      } else {
        if (!specialfunc) return 0;
        specialfunc(specialcode(k), x, y);
      }
      return 1;
    }
    case FL_HIDE:
      if (visibilityfunc) visibilityfunc(0);
      return Fl_Gl_Window::handle(event);
    case FL_SHOW:
      if (visibilityfunc) visibilityfunc(1);
      return Fl_Gl_Window::handle(event);
    default:  // the rest: the toolkit's own
      return Fl_Gl_Window::handle(event);
  }
}

void redrawgeometry() {
  if (geom_window) geom_window->redraw();
}

void Reshape(int width, int height) {
  xsize = width;
  ysize = height;
  redrawgeometry();
}

void visibility(int) {
  blinkonly = 0;
}

void reshapeall(int width, int height) {
  if (main_window)
    main_window->size(MENUWIDTH + width, height + MENUBARHEIGHT + statusheight());
}

void fixcursor() {
  if (main_window) main_window->cursor(FL_CURSOR_ARROW, FL_WHITE, FL_BLACK);
}

int choosedisplaymode() {
  int mode = (rgbmode ? FL_RGB : FL_INDEX) | (singlebuffer ? 0 : FL_DOUBLE);
  if (!rgbmode && !Fl_Gl_Window::can_do(mode)) {
    // Most current displays offer no colour-index visual at all.
    rgbmode = 1;
    mode = FL_RGB | (singlebuffer ? 0 : FL_DOUBLE);
  }
  if (!Fl_Gl_Window::can_do(mode) && !singlebuffer) {
    singlebuffer = 1;
    mode = (rgbmode ? FL_RGB : FL_INDEX);
  }
  return mode;
}
