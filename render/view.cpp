// view.cpp: the mapping of world coordinates onto the drawing area.
#include "render/view.h"

int gvertexsize = 8;
int gfontsize = 16;
int fontsize = 16;
int fontnumber = 0;
int fontstyle = 0;

void resetview() {
  gvertexsize = 8;
  gfontsize = 16;
  fontsize = 16;
  fontnumber = 0;
  fontstyle = 0;
}
