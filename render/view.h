// view.h: the mapping of world coordinates onto the drawing area.
//
// World coordinates put the origin at the centre of the drawing area with
// y upwards; the shorter side of the window spans -1 to +1. The globals
// below are derived from the window size by `recalcsizes` and read by every
// drawing routine, the screen's and the page's alike.
#pragma once

extern int xsize, ysize;     // drawing area in pixels (0 until known)
extern double fxmin, fxmax;  // world x shown; fxmin = -fxmax
extern double fymin, fymax;  // world y shown; fymin = -fymax
extern double dpbsize;       // half-size of a point mark, world units
extern double spbsize;       // 0.7071067811865 * dpbsize
extern double fbsize;        // height of one text line, world units
extern double psfontsize;    // font size handed to PostScript export
extern double PSxscale;      // long/short side ratio when wider, else 1
extern int gvertexsize;      // point-mark size in pixels
extern int gfontsize;        // text size in points (spacing, PostScript)
extern int fontsize;         // size of the screen font
extern int fontnumber;       // face of the screen font
extern int fontstyle;        // style of the screen font
extern int blinkonly;        // this redraw refreshes blinking records only
extern int drawgeominited;   // the background was painted at least once
extern int smearflag;        // copy smear-coloured records to stdout as PS
extern double ym;            // next row of the value column
extern double yinfo;         // next row of the info (text) column

// Derives the view rectangle and the mark and text sizes from `xsize` and
// `ysize`; does nothing while either is 0. The text sizes (`fbsize`,
// `psfontsize`) are fixed by the first call of the run unless `force` is
// non-zero. Loading the screen font is the window's business, not this.
void recalcsizes(int force);

// Puts every view global back to its start-up value.
void resetview();
