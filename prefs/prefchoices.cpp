// prefchoices.cpp: the values the preferences dialog offers, and its
// Defaults button.
#include "prefs/prefchoices.h"

#include <cstring>

#include "engine/continuity.h"
#include "model/worldlist.h"
#include "postscript/eps.h"
#include "prefs/preffile.h"
#include "render/colors.h"
#include "render/view.h"

const prefchoice fontchoices[NFONTCHOICES] = {
    {"Helvetica", 0},
    {"Times", 8},
    {"Courier", 4},
};
static_assert(sizeof fontchoices / sizeof fontchoices[0] == NFONTCHOICES,
              "three faces");

const prefchoice stylechoices[NSTYLECHOICES] = {
    {"Plain", 0},
    {"Bold", 1},
    {"Italic", 2},
    {"Bold Italic", 3},
};
static_assert(sizeof stylechoices / sizeof stylechoices[0] == NSTYLECHOICES,
              "four styles");

const prefchoice sizechoices[NSIZECHOICES] = {
    {"6 pt", 6},   {"8 pt", 8},   {"10 pt", 10}, {"12 pt", 12},
    {"16 pt", 16}, {"20 pt", 20}, {"24 pt", 24}, {"32 pt", 32},
};
static_assert(sizeof sizechoices / sizeof sizechoices[0] == NSIZECHOICES,
              "eight sizes");

const prefchoice scalechoices[NSCALECHOICES] = {
    {"Auto", 0}, {"100 %", 100}, {"125 %", 125}, {"150 %", 150}, {"200 %", 200}};

int nearestfontsize(int n) {
  // Upper bounds of each entry's catchment; sizes above the last go to 32.
  static const int bounds[NSIZECHOICES - 1] = {6, 8, 10, 13, 17, 21, 28};
  for (int i = 0; i < NSIZECHOICES - 1; i++)
    if (n <= bounds[i]) return i;
  return NSIZECHOICES - 1;
}

void setdefaultprefs() {
  WIDTH = autowidth;  // 400 x 450, or the size fitted to the display
  HEIGHT = autoheight;
  strcpy(browsername, DEFAULTBROWSER);
  printcmdstring[0] = '\0';
  fontnumber = 0;
  fontstyle = 0;
  fontsize = 16;
  gfontsize = 16;
  edittextsize = 12;
  gvertexsize = 8;
  printbw = 0;
  rgbmode = 1;
  showthetips = 1;
  addvertexnames = 1;
  keepcontinuous = 1;
  smoothdrawing = 1;
}
