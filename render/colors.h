// colors.h: whether a record is shown, and in which colour.
//
// Every drawing routine, on the screen and on the page, asks here before it
// draws. The decision depends on the record's colour code, its per-layer
// colours when the code is -6, the lowest layer in force (`minlayer`),
// whether invisible records are being shown, and the blink phase. This
// module decides; it never touches a toolkit. The window's `setcolor`
// (render/gl*) calls `choosecolor` and hands the result to OpenGL, using
// `rgb` in RGB mode and `index` in colour-index mode.
#pragma once

#include <cstdint>
#include <vector>

struct primitive;

const int COLOR_BACKGROUND = -7;  // the screen's background
const int COLOR_MARKFILL = -10;   // the white inside of point marks on paper

extern int rgbmode;  // RGB window, else colour-index window
extern int blinkon;  // blink phase 0, 1 or 2

// The colour a choice comes to: whether to draw at all, and the colour in
// both window modes.
struct colorchoice {
  int drawn;     // 0: the record is not drawn
  float rgb[3];  // RGB mode, 0..1
  int index;     // colour-index mode
};

// The colour code in force for `code`: the code itself, or for -6 the byte
// of `layercolors` at `minlayer` read as signed. With no layer in force
// (`minlayer` outside 0..31) or no bytes, -6 comes to -1 (invisible): a
// per-layer colour is never read at index -1.
int effectivecolor(int code, const uint8_t* layercolors, int minlayer);

// The pure decision. Codes 0..31 take the palette entry; -7 is the black
// background; -1 is grey and drawn only with `showinvisible`; -2 the smear
// grey; -3..-5 the blinking colours, each dimmed in one phase; anything
// else is not drawn. Reads `ctab` for the palette.
colorchoice decidecolor(int code, const uint8_t* layercolors, int minlayer,
                        int showinvisible, int blinkphase);

// decidecolor with the globals `minlayer`, `showinvisible` and `blinkon`.
colorchoice choosecolor(int code, const uint8_t* layercolors);

// Non-zero unless the record's colour in force is -1; an invisible record
// counts as visible while `showinvisible` is on.
int isvisible(const primitive* p);

// Non-zero when the record's colour in force is -1 (whether shown or not).
int isinvisible(const primitive* p);

// Non-zero when the record's colour in force is the smear colour (-2).
int issmear(const primitive* p);

// Non-zero when the record has a blinking colour: code -3..-5, or -6 with
// a blinking colour on `minlayer`. A blink-only redraw draws only these.
int isblinking(const primitive* p);

// Records shown in the blinking colour whatever their own colour, so that
// the user sees which objects a relation names; compared by address only.
// Empty by default; the relations window sets and clears it.
void setemphasis(const std::vector<const primitive*>& records);
int emphasized(const primitive* p);
// The colour code a record is drawn with: .blink while emphasized, else
// its own.
int drawncolor(const primitive* p);

// Puts every display switch of this module back to its start-up value.
void resetcolors();
