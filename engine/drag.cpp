// drag.cpp: dragging the selected point with the mouse.
#include "engine/drag.h"

#include "engine/continuity.h"
#include "model/worldlist.h"
#include "render/view.h"

int (*inselectstatehook)();

static int draggable(const primitive* p) {
  if (!p || p->type != RW_VERTEX || p->kind == PINNED) return 0;
  return inselectstatehook ? inselectstatehook() : 1;
}

int dragvertex(int px, int py) {
  py = ysize - py;
  if (!draggable(pselected)) return 0;
  double x, y;
  getpoint(&x, &y, px, py);
  // Past the right edge the motion is ignored; at the other three edges
  // the point stops just inside the view.
  if (x > 0.999 * fxmax) return 0;
  if (x < -0.999 * fxmax) x = -0.999 * fxmax;
  if (y > 0.999 * fymax) y = 0.999 * fymax;
  if (y < -0.999 * fymax) y = -0.999 * fymax;
  vertex* v = static_cast<vertex*>(pselected);
  v->x = x;
  v->y = y;
  v->w = 1;
  v->satisfied = 0;
  followmotion = 1;
  blinkonly = 0;
  return 1;
}
