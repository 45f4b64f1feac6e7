// view.cpp: the view rectangle, the sizes that follow the window, pixel to
// world conversion, and the moves of the whole diagram.
#include "render/view.h"

#include <cmath>

#include "model/worldlist.h"

int xsize, ysize;
double fxmin = -1, fxmax = 1;
double fymin = -1, fymax = 1;
double dpbsize, spbsize, fbsize, psfontsize;
double PSxscale = 1;
int gvertexsize = 8;
int gfontsize = 16;
int fontsize = 16;
int fontnumber, fontstyle;
int blinkonly, drawgeominited, smearflag;
int smoothdrawing = 1;
double ym = 0.9f, yinfo = -0.5;  // as each list's drawing starts them
double screenscale = 1;
void (*recalcsizeshook)();

// The text line height is fixed by the first frame of the run, so that
// resizing the window does not respace the listed values.
static int firstrecalc = 1;
static double basefbsize;  // that height at a scale of 1

// The sizes that follow the scale, from the shorter side m in pixels.
static void scaledsizes(double m) {
  fbsize = basefbsize * screenscale;
  dpbsize = gvertexsize * screenscale / m;  // a mark spans that many pixels
  spbsize = 0.7071067811865 * dpbsize;
}

void setscreenscale(double s) {
  screenscale = s;
  if (xsize > 0 && ysize > 0) scaledsizes(xsize < ysize ? xsize : ysize);
}

int screenfontsize() {
  return (int)std::lround(fontsize * screenscale);
}

void recalcsizes(int force) {
  if (xsize == 0 || ysize == 0) return;
  double m = xsize < ysize ? xsize : ysize;
  if (xsize > ysize) {
    fymax = 1;
    fymin = -1;
    fxmax = (double)xsize / ysize;
    fxmin = -fxmax;
    PSxscale = fxmax;
  } else {
    fxmax = 1;
    fxmin = -1;
    PSxscale = 1;
    fymax = (double)ysize / xsize;
    fymin = -fymax;
  }
  if (firstrecalc || force) {
    psfontsize = gfontsize;
    basefbsize = psfontsize * 2.15 / m;
  }
  scaledsizes(m);
  if (fontsize > 40) fontsize = 40;
  firstrecalc = 0;
  if (recalcsizeshook) recalcsizeshook();
}

void ortho2dmatrix(double left, double right, double bottom, double top,
                   double m[16]) {
  for (int i = 0; i < 16; i++) m[i] = 0;
  m[0] = 2 / (right - left);
  m[5] = 2 / (top - bottom);
  m[10] = -1;
  m[12] = -(right + left) / (right - left);
  m[13] = -(top + bottom) / (top - bottom);
  m[15] = 1;
}

void getpoint(double* x, double* y, int px, int py) {
  // A window of no size has no pixels; avoid dividing by zero anyway.
  double w = xsize > 0 ? xsize : 1, h = ysize > 0 ? ysize : 1;
  *x = fxmin + 2 * fxmax * px / w;
  *y = fymin + 2 * fymax * py / h;
}

// Applies f to the stored position of every free-standing point and marks
// every record unsettled.
static void transformworld(void (*f)(double* x, double* y, const double* k),
                           const double* k) {
  for (primitive* p = plist; p; p = p->next) {
    if (isfreestanding(p)) {
      vertex* v = static_cast<vertex*>(p);
      f(&v->x, &v->y, k);
    }
    p->satisfied = 0;
  }
}

static void scale(double* x, double* y, const double* k) {
  *x *= k[0];
  *y *= k[0];
}

static void turn(double* x, double* y, const double* k) {
  double c = k[0], s = k[1];
  double nx = *x * c + *y * s, ny = *y * c - *x * s;
  *x = nx;
  *y = ny;
}

static void shift(double* x, double* y, const double* k) {
  *x += k[0];
  *y += k[1];
}

// k = (f, cx, cy): (x, y) -> c + f * ((x, y) - c)
static void scaleabout(double* x, double* y, const double* k) {
  *x = k[1] + k[0] * (*x - k[1]);
  *y = k[2] + k[0] * (*y - k[2]);
}

// Each move of the whole diagram is a change to save and, with the moves
// of the same kind around it, one step of the history: every way in (keys,
// wheel, panning with the mouse) comes through these three.
void zoomworld(double f) {
  transformworld(scale, &f);
  notechange("Zoom");
}

void rotateworld(double t) {
  double k[2] = {std::cos(t), std::sin(t)};
  transformworld(turn, k);
  notechange("Rotate");
}

void moveworld(int dx, int dy) {
  panworld(0.01 * dx, 0.01 * dy);
}

void zoomworldabout(double f, double cx, double cy) {
  double k[3] = {f, cx, cy};
  transformworld(scaleabout, k);
  notechange("Zoom");
}

void panworld(double dx, double dy) {
  double k[2] = {dx, dy};
  transformworld(shift, k);
  notechange("Pan");
}

double worldperpixel() {
  return xsize > 0 ? 2 * fxmax / xsize : 0;
}

void resetview() {
  xsize = ysize = 0;
  fxmin = fymin = -1;
  fxmax = fymax = 1;
  dpbsize = spbsize = fbsize = psfontsize = basefbsize = 0;
  screenscale = 1;
  PSxscale = 1;
  gvertexsize = 8;
  gfontsize = 16;
  fontsize = 16;
  fontnumber = fontstyle = 0;
  blinkonly = drawgeominited = smearflag = 0;
  smoothdrawing = 1;
  ym = 0.9f;
  yinfo = -0.5;
  recalcsizeshook = nullptr;
  firstrecalc = 1;
}
