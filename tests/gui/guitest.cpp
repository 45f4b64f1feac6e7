// guitest.cpp: helpers of the window tests.
#include "tests/gui/guitest.h"

#include <FL/Fl.H>
#include <FL/gl.h>

#include <cstdlib>

#include "app/geomwindow.h"
#include "language/parser.h"
#include "model/notify.h"
#include "model/shell.h"
#include "model/style.h"
#include "model/worldlist.h"
#include "render/colors.h"
#include "render/gldraw.h"
#include "render/markup.h"
#include "render/palette.h"
#include "render/smear.h"
#include "render/view.h"

std::vector<std::string> guialerts;

static void recordalert(const char* text) {
  guialerts.push_back(text);
}

void pump(double seconds) {
  double t = 0;
  while (t < seconds) {
    Fl::wait(0.01);
    t += 0.01;
  }
}

void cleardiagram() {
  alerthook = recordalert;
  askhook = nullptr;  // exit-time and other questions answer no
  guialerts.clear();
  clearbuffer();
  resetstyle();
  initcolors();
  clearsmearlist();
  showinfo = 1;
  blinkonly = 0;
  blinkon = 1;
  runningscript = 0;
  dirtyfile = 0;
}

int loaddiagram(const char* path) {
  cleardiagram();
  int ok = readgeometry(path);
  dirtyfile = 0;
  return ok;
}

frame readback() {
  frame f;
  f.w = xsize;
  f.h = ysize;
  f.rgb.resize(3 * f.w * f.h);
  glFinish();
  glReadBuffer(GL_BACK);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, f.w, f.h, GL_RGB, GL_UNSIGNED_BYTE, f.rgb.data());
  return f;
}

frame drawframe() {
  geom_window->make_current();
  drawgeom();
  return readback();
}

void worldtopixel(double wx, double wy, int* px, int* py) {
  *px = (int)((wx - fxmin) / (fxmax - fxmin) * xsize);
  *py = (int)((wy - fymin) / (fymax - fymin) * ysize);
}

static int same(const unsigned char* p, rgbcolor c, int tol) {
  return std::abs(p[0] - c.r) <= tol && std::abs(p[1] - c.g) <= tol &&
         std::abs(p[2] - c.b) <= tol;
}

int colornear(const frame& f, double wx, double wy, rgbcolor c, int radius,
              int tol) {
  int px, py;
  worldtopixel(wx, wy, &px, &py);
  for (int y = py - radius; y <= py + radius; y++)
    for (int x = px - radius; x <= px + radius; x++)
      if (x >= 0 && y >= 0 && x < f.w && y < f.h && same(f.at(x, y), c, tol))
        return 1;
  return 0;
}

int inknear(const frame& f, double wx, double wy, int radius) {
  int px, py;
  worldtopixel(wx, wy, &px, &py);
  for (int y = py - radius; y <= py + radius; y++)
    for (int x = px - radius; x <= px + radius; x++)
      if (x >= 0 && y >= 0 && x < f.w && y < f.h &&
          !same(f.at(x, y), {0, 0, 0}, 0))
        return 1;
  return 0;
}

int countcolor(const frame& f, rgbcolor c, int tol) {
  int n = 0;
  for (int i = 0; i < f.w * f.h; i++) n += same(&f.rgb[3 * i], c, tol);
  return n;
}

vertex* addpoint(double x, double y, int kind, int color) {
  vertex* v = static_cast<vertex*>(newprimitive(RW_VERTEX));
  v->x = x;
  v->y = y;
  v->w = 1;
  v->kind = kind;
  v->color = color;
  addprimitive(v);
  return v;
}

// Window pixel (y downwards) of a world point.
static void worldtowindow(double wx, double wy, int* px, int* py) {
  int bx, by;
  worldtopixel(wx, wy, &bx, &by);
  *px = bx;
  *py = ysize - by;
}

static void sendmouse(int event, int px, int py, int button, int state) {
  Fl::e_x = px;
  Fl::e_y = py;
  Fl::e_x_root = px;
  Fl::e_y_root = py;
  Fl::e_keysym = FL_Button + button;
  Fl::e_state = state;
  geom_window->handle(event);
  pump(0.03);  // let the requested redraw happen
}

static int heldstate;

void mousepress(double wx, double wy, int ctrl) {
  int px, py;
  worldtowindow(wx, wy, &px, &py);
  heldstate = FL_BUTTON1 | (ctrl ? FL_CTRL : 0);
  sendmouse(FL_PUSH, px, py, 1, heldstate);
}

void mousedragto(double wx, double wy) {
  int px, py;
  worldtowindow(wx, wy, &px, &py);
  sendmouse(FL_DRAG, px, py, 1, heldstate);
}

void mousedragtopixel(int px, int py) {
  sendmouse(FL_DRAG, px, py, 1, heldstate);
}

void mouserelease() {
  sendmouse(FL_RELEASE, Fl::e_x, Fl::e_y, 1, 0);
  heldstate = 0;
}

void saveframe(const frame& f, const char* path) {
  FILE* out = fopen(path, "wb");
  if (!out) return;
  fprintf(out, "P6\n%d %d\n255\n", f.w, f.h);
  for (int y = f.h - 1; y >= 0; y--) fwrite(f.at(0, y), 3, f.w, out);
  fclose(out);
}
