// colors.cpp: the decision whether a record is shown and in which colour.
#include "render/colors.h"

#include "model/codes.h"
#include "model/primitive.h"
#include "model/style.h"
#include "render/palette.h"

int rgbmode = 1;
int blinkon = 1;
static std::vector<const primitive*> emphasis;

int effectivecolor(int code, const uint8_t* layercolors, int minlayer) {
  if (code != COLOR_PERLAYER) return code;
  if (!layercolors || minlayer < 0 || minlayer >= NLAYERS)
    return COLOR_INVISIBLE;
  return (int8_t)layercolors[minlayer];
}

static colorchoice makechoice(float r, float g, float b, int index) {
  colorchoice c;
  c.drawn = 1;
  c.rgb[0] = r;
  c.rgb[1] = g;
  c.rgb[2] = b;
  c.index = index;
  return c;
}

// The three blinking colours, bright and dim, and the phase that dims each.
struct blinkentry {
  float bright[3], dim[3];
  int index, dimphase;
};
static const blinkentry blinktable[3] = {
    {{1, 0.5f, 0}, {0.5f, 0.25f, 0}, 3, 2},      // -3 .blink
    {{0, 1, 0.5f}, {0, 0.5f, 0.25f}, 4, 0},      // -4 .blink1
    {{0.5f, 1, 1}, {0.25f, 0.5f, 0.5f}, 5, 1}};  // -5 .blink2

colorchoice decidecolor(int code, const uint8_t* layercolors, int minlayer,
                        int showinvisible, int blinkphase) {
  int k = effectivecolor(code, layercolors, minlayer);
  if (k >= 0 && k < NCOLORS)
    return makechoice(ctab[k][0], ctab[k][1], ctab[k][2], k);
  switch (k) {
    case COLOR_BACKGROUND: return makechoice(0, 0, 0, 0);
    case COLOR_INVISIBLE: {
      colorchoice c = makechoice(0.5f, 0.5f, 0.5f, 10);
      c.drawn = showinvisible != 0;
      return c;
    }
    case COLOR_SMEAR: return makechoice(0.6f, 0.6f, 0.6f, 9);
    case COLOR_BLINK:
    case COLOR_BLINK1:
    case COLOR_BLINK2: {
      const blinkentry& e = blinktable[COLOR_BLINK - k];
      if (blinkphase == e.dimphase)
        return makechoice(e.dim[0], e.dim[1], e.dim[2], 0);
      return makechoice(e.bright[0], e.bright[1], e.bright[2], e.index);
    }
    default: {  // unknown codes (and -6 found on a layer byte) are not drawn
      colorchoice c = makechoice(0, 0, 0, 0);
      c.drawn = 0;
      return c;
    }
  }
}

colorchoice choosecolor(int code, const uint8_t* layercolors) {
  return decidecolor(code, layercolors, minlayer, showinvisible, blinkon);
}

void setemphasis(const std::vector<const primitive*>& records) {
  emphasis = records;
}

int emphasized(const primitive* p) {
  for (const primitive* q : emphasis)
    if (q == p) return 1;
  return 0;
}

int drawncolor(const primitive* p) {
  return emphasized(p) ? COLOR_BLINK : p->color;
}

static int colorof(const primitive* p) {
  return effectivecolor(p->color, p->layercolor, minlayer);
}

int isinvisible(const primitive* p) {
  return colorof(p) == COLOR_INVISIBLE;
}

int isvisible(const primitive* p) {
  return showinvisible || !isinvisible(p);
}

int issmear(const primitive* p) {
  return colorof(p) == COLOR_SMEAR;
}

int isblinking(const primitive* p) {
  int k = effectivecolor(drawncolor(p), p->layercolor, minlayer);
  return k == COLOR_BLINK || k == COLOR_BLINK1 || k == COLOR_BLINK2;
}

void resetcolors() {
  rgbmode = 1;
  blinkon = 1;
  emphasis.clear();
}
