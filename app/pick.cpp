// pick.cpp: selection by the mouse in the drawing area, bound until the
// construction commands take over the mouse.
#include "app/pick.h"

#include <FL/Fl.H>

#include "app/geomwindow.h"
#include "engine/drag.h"
#include "model/worldlist.h"
#include "render/gldraw.h"
#include "render/hittest.h"
#include "render/smear.h"
#include "render/view.h"

int ctrlheld() {
  return Fl::event_state(FL_CTRL) != 0;
}

void pickmouse(int button, int state, int x, int y) {
  if (state != 0) return;
  clearsmearlist();
  if (button == 0) {
    double wx, wy;
    getpoint(&wx, &wy, x, ysize - y);
    if (ctrlheld())
      selectnextvertex(wx, wy);
    else
      selectvertex(wx, wy);
  }
  blinkonly = 0;
  redrawgeometry();
}

void motion(int x, int y) {
  if (!dragvertex(x, y)) return;
  draggedrecord = pselected;
  redrawgeometry();
}
