// colors.cpp: how colour codes become screen colours.
#include "render/colors.h"

int rgbmode = 1;

void resetcolors() {
  rgbmode = 1;
}
