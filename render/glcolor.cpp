// glcolor.cpp: colour and line width handed to OpenGL. Whether a primitive
// is shown and in which colour is decided in render/colors.cpp; this file
// only selects the result in the window's mode.
#include <GL/gl.h>

#include "model/worldlist.h"
#include "render/colors.h"
#include "render/gldraw.h"

int defaultwidth = 1;

int setcolor(int code, const uint8_t* layercolors) {
  colorchoice c = choosecolor(code, layercolors);
  if (!c.drawn) return 0;
  batchcolor(c.rgb, c.index);
  return 1;
}

int selectionfactor() {
  return defaultwidth == 1 ? 3 : 6;
}

void setprimwidth(const primitive* p) {
  double f = p == pselected ? selectionfactor() : defaultwidth;
  setlinewidth(p->width * f);
}
