// view.cpp: the mapping of world coordinates onto the drawing area.
#include "render/view.h"

int xsize = 0, ysize = 0;
double fxmin = -1, fxmax = 1, fymin = -1, fymax = 1;
double dpbsize = 0, spbsize = 0, fbsize = 0, psfontsize = 0;
double PSxscale = 1;
int gvertexsize = 8;
int gfontsize = 16;
int fontsize = 16, fontnumber = 0, fontstyle = 0;
int blinkonly = 0, drawgeominited = 0, smearflag = 0;
double ym = 0.9f, yinfo = -0.5;

static int firstsizes = 1;  // the text sizes are still to be fixed

void recalcsizes(int force) {
  if (xsize == 0 || ysize == 0) return;
  int m = xsize < ysize ? xsize : ysize;
  if (xsize > ysize) {
    fymax = 1;
    fxmax = (double)xsize / ysize;
    PSxscale = fxmax;
  } else {
    fxmax = 1;
    PSxscale = 1;
    fymax = (double)ysize / xsize;
  }
  fxmin = -fxmax;
  fymin = -fymax;
  if (firstsizes || force) {
    psfontsize = gfontsize;
    fbsize = psfontsize * 2.15 / m;
  }
  dpbsize = (double)gvertexsize / m;
  spbsize = 0.7071067811865 * dpbsize;
  if (fontsize > 40) fontsize = 40;
  firstsizes = 0;
}

void resetview() {
  xsize = ysize = 0;
  fxmin = -1, fxmax = 1, fymin = -1, fymax = 1;
  dpbsize = spbsize = fbsize = psfontsize = 0;
  PSxscale = 1;
  gvertexsize = 8;
  gfontsize = 16;
  fontsize = 16, fontnumber = 0, fontstyle = 0;
  blinkonly = drawgeominited = smearflag = 0;
  ym = 0.9f, yinfo = -0.5;
  firstsizes = 1;
}
