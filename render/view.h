// view.h: the mapping of world coordinates onto the drawing area, the sizes
// that follow the window, and the moves of the whole diagram.
//
// World coordinates put the origin at the centre of the drawing area, x to
// the right and y upwards, with the shorter side of the window spanning -1
// to +1. The view rectangle never pans or zooms: moving, zooming and turning
// the diagram rewrite the stored positions of its free-standing points and
// let recomputation do the rest. The OpenGL half of the frame (drawgeom,
// Ortho2D on the matrix stack, fonts) lives in render/gl*.cpp.
#pragma once

extern int xsize, ysize;           // drawing area in pixels (set by Reshape)
extern double fxmin, fxmax;        // visible world x range, fxmin = -fxmax
extern double fymin, fymax;        // visible world y range, fymin = -fymax
extern double dpbsize;             // half-size of a point mark, world units
extern double spbsize;             // half-diagonal of square and cross marks
extern double fbsize;              // height of one text line, world units
extern double psfontsize;          // font size handed to PostScript export
extern double PSxscale;            // long/short side when wider than tall
extern int gvertexsize;            // point-mark size in pixels
extern int gfontsize;              // text size for line spacing, PostScript
extern int fontsize;               // screen font size (at most 40)
extern int fontnumber, fontstyle;  // screen font face and style
extern int blinkonly;              // this redraw only refreshes blinkers
extern int drawgeominited;         // the background was painted once
extern int smearflag;              // echo smear-coloured records as PS
extern double ym, yinfo;           // running y of the two text columns
extern int smoothdrawing;          // antialiased strokes in an RGB window
// Screen pixels per pixel of the exports: point marks, text, line widths
// and the label line height are drawn this much larger on a display of
// high resolution. The EPS and the other exports always draw at 1.
extern double screenscale;

// Called at the end of recalcsizes so the window can load its screen font
// at `fontsize` and rebuild the cached outline of the circle mark. Unbound
// in the headless core.
extern void (*recalcsizeshook)();

// The view rectangle and the mark and text sizes from xsize and ysize; a
// non-zero argument forces the text sizes to be recomputed. Does nothing
// while either side is 0.
void recalcsizes(int force);

// Sets `screenscale` and the mark and line sizes that follow it (nothing
// else: no font is loaded). The exports set 1 while they write and put
// the screen's scale back after.
void setscreenscale(double s);

// The screen font's size in pixels: `fontsize` at `screenscale`.
int screenfontsize();

// The two-dimensional orthographic projection as a column-major 4x4 matrix
// (what the window multiplies onto its projection matrix).
void ortho2dmatrix(double left, double right, double bottom, double top,
                   double m[16]);

// World point of a pixel; py counts from the bottom edge.
void getpoint(double* x, double* y, int px, int py);

// Scale, turn clockwise by t radians, or shift by 0.01 world units per step
// the free-standing points; every record is then recomputed.
void zoomworld(double f);
void rotateworld(double t);
void moveworld(int dx, int dy);

// Scales the free-standing points by f about the world point (cx, cy),
// which keeps its place on the screen (zooming about the mouse pointer).
void zoomworldabout(double f, double cx, double cy);

// Shifts the free-standing points by (dx, dy) world units, as the arrow
// keys do 0.01 at a time.
void panworld(double dx, double dy);

// World units per pixel, the same across and up (pixels are square).
double worldperpixel();

// Puts every view global back to its start-up value.
void resetview();
