// palette.cpp: the diagram's 32 user-definable colours.
#include "render/palette.h"

// The first sixteen entries follow the toolkit's standard colour map; the
// rest start white until a diagram defines them.
float ctabsave[NCOLORS][3] = {
    {0, 0, 0},
    {1, 0, 0},
    {0, 1, 0},
    {1, 1, 0},
    {0, 0, 1},
    {1, 0, 1},
    {0, 1, 1},
    {1, 1, 1},
    {85 / 255.f, 85 / 255.f, 85 / 255.f},
    {198 / 255.f, 113 / 255.f, 113 / 255.f},
    {113 / 255.f, 198 / 255.f, 113 / 255.f},
    {142 / 255.f, 142 / 255.f, 56 / 255.f},
    {113 / 255.f, 113 / 255.f, 198 / 255.f},
    {142 / 255.f, 56 / 255.f, 142 / 255.f},
    {56 / 255.f, 142 / 255.f, 142 / 255.f},
    {170 / 255.f, 170 / 255.f, 170 / 255.f},
    {1, 1, 1},
    {1, 1, 1},
    {1, 1, 1},
    {1, 1, 1},
    {1, 1, 1},
    {1, 1, 1},
    {1, 1, 1},
    {1, 1, 1},
    {1, 1, 1},
    {1, 1, 1},
    {1, 1, 1},
    {1, 1, 1},
    {1, 1, 1},
    {1, 1, 1},
    {1, 1, 1},
    {1, 1, 1},
};
float ctab[NCOLORS][3];
int cdefs[NCOLORS];

void initcolors() {
  for (int i = 0; i < NCOLORS; i++) {
    for (int k = 0; k < 3; k++) ctab[i][k] = ctabsave[i][k];
    cdefs[i] = 0;
  }
}

void definecolor(int i, float r, float g, float b) {
  if (i < 0 || i >= NCOLORS) return;
  ctab[i][0] = r;
  ctab[i][1] = g;
  ctab[i][2] = b;
  cdefs[i] = 1;
}
