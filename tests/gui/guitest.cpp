// guitest.cpp: helpers of the window tests.
#include "tests/gui/guitest.h"

// The toolkit after the test framework: X11's macros clash with it.
#include <FL/Fl.H>
#include <FL/Fl_Double_Window.H>
#include <FL/gl.h>
#include <FL/x.H>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

#include "app/chooser.h"
#include "app/geomwindow.h"
#include "app/hover.h"
#include "editor/editbuffer.h"
#include "editor/editwindow.h"
#include "history/history.h"
#include "language/parser.h"
#include "language/symtable.h"
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

strings guialerts, guiinfos, guimessages;
strings chooserstarts, chooserfilters, chooseranswers;

static const char* scriptedchooser(const char*, const char* filter,
                                   const char* start) {
  static std::string answer;
  chooserstarts.push_back(start ? start : "");
  chooserfilters.push_back(filter);
  if (chooseranswers.empty()) return nullptr;
  answer = chooseranswers.front();
  chooseranswers.erase(chooseranswers.begin());
  return answer.c_str();
}

void pump(double seconds) {
  for (double t = 0; t < seconds; t += 0.01) Fl::wait(0.01);
}

void cleardiagram() {
  if (!idtable) idtable = newtable(50);  // start-up makes it with a file
  alerthook = [](const char* t) { guialerts.push_back(t); };
  infohook = [](const char* t) { guiinfos.push_back(t); };
  messagehook = [](const char* t, double) { guimessages.push_back(t); };
  askhook = nullptr;  // exit-time and other questions answer no
  choosefilehook = scriptedchooser;
  for (strings* s : {&guialerts, &guiinfos, &guimessages, &chooserstarts,
                     &chooserfilters, &chooseranswers})
    s->clear();
  clearbuffer();
  resetstyle();
  initcolors();
  clearsmearlist();
  showinfo = 1;
  blinkonly = 0;
  blinkon = 1;
  runningscript = 0;
  // The drawing tests look for exact colours along exact pixel runs, which
  // smoothed edges blend with the background; tests of the smoothing itself
  // turn it back on.
  smoothdrawing = 0;
  resethover();
  dirtyfile = 0;
  historyreset(1);  // the history starts at the cleared diagram
}

int loaddiagram(const char* path) {
  cleardiagram();
  int ok = readgeometry(path);
  dirtyfile = 0;
  historyreset(1);
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

int samecolor(const unsigned char* p, rgbcolor c, int tol) {
  return std::abs(p[0] - c.r) <= tol && std::abs(p[1] - c.g) <= tol &&
         std::abs(p[2] - c.b) <= tol;
}

// 1 when `want` says yes to some pixel within `radius` of the world point.
static int anynear(const frame& f, double wx, double wy, int radius,
                   const std::function<int(const unsigned char*)>& want) {
  int px, py;
  worldtopixel(wx, wy, &px, &py);
  for (int y = py - radius; y <= py + radius; y++)
    for (int x = px - radius; x <= px + radius; x++)
      if (x >= 0 && y >= 0 && x < f.w && y < f.h && want(f.at(x, y))) return 1;
  return 0;
}

int colornear(const frame& f, double wx, double wy, rgbcolor c, int radius,
              int tol) {
  return anynear(f, wx, wy, radius,
                 [&](const unsigned char* p) { return samecolor(p, c, tol); });
}

int inknear(const frame& f, double wx, double wy, int radius) {
  return anynear(f, wx, wy, radius, [](const unsigned char* p) {
    return !samecolor(p, {0, 0, 0}, 0);
  });
}

int countcolor(const frame& f, rgbcolor c, int tol) {
  int n = 0;
  for (int i = 0; i < f.w * f.h; i++) n += samecolor(&f.rgb[3 * i], c, tol);
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

primitive* addrecord(int type, int kind, std::vector<primitive*> parents,
                     int color) {
  primitive* p = newprimitive(type);
  p->kind = kind;
  for (size_t i = 0; i < parents.size(); i++) p->parents[i] = parents[i];
  p->color = color;
  addprimitive(p);
  return p;
}

line* addline(vertex* a, vertex* b, int color, int linetype) {
  line* l = static_cast<line*>(addrecord(RW_LINE, L_VV, {a, b}, color));
  l->linetype = linetype;
  return l;
}

// Window pixel (y downwards) of a world point.
static void worldtowindow(double wx, double wy, int* px, int* py) {
  worldtopixel(wx, wy, px, py);
  *py = ysize - *py;
}

static int heldstate;

static void sendmouse(int event, int px, int py) {
  Fl::e_x = Fl::e_x_root = px;
  Fl::e_y = Fl::e_y_root = py;
  Fl::e_keysym = FL_Button + 1;
  Fl::e_state = heldstate;
  geom_window->handle(event);
  pump(0.03);  // let the requested redraw happen
}

void mousepress(double wx, double wy, int ctrl) {
  int px, py;
  worldtowindow(wx, wy, &px, &py);
  heldstate = FL_BUTTON1 | (ctrl ? FL_CTRL : 0);
  sendmouse(FL_PUSH, px, py);
}

void mousedragto(double wx, double wy) {
  int px, py;
  worldtowindow(wx, wy, &px, &py);
  sendmouse(FL_DRAG, px, py);
}

void mouserelease() {
  heldstate = 0;
  sendmouse(FL_RELEASE, Fl::e_x, Fl::e_y);
}

void keypress(int keysym, const char* text, int state) {
  Fl::e_keysym = keysym;
  Fl::e_text = (char*)text;
  Fl::e_length = (int)strlen(text);
  Fl::e_state = state;
  geom_window->handle(FL_KEYBOARD);
  Fl::e_state = 0;
  Fl::e_length = 0;
}

std::string readtext(const std::string& path) {
  std::ifstream in(path);
  if (!in) return "<missing>";
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

void xdo(const std::string& args) {
  std::string cmd = "xdotool " + args + " >/dev/null 2>&1";
  EXPECT_EQ(system(cmd.c_str()), 0) << cmd;
}

void focus(Fl_Window* w) {
  Fl::flush();
  xdo("windowfocus --sync " + std::to_string((unsigned long)fl_xid(w)));
}

void clickroot(int x, int y) {
  xdo("mousemove " + std::to_string(x) + " " + std::to_string(y) + " click 1");
}

static const std::vector<std::function<void()>>* steps;
static size_t nextstep;

static void runstep(void*) {
  // While a dialog of the editor waits for its answer, the steps wait.
  if (Fl::modal() && Fl::modal() != editorwindow) {
    Fl::add_timeout(0.3, runstep);
    return;
  }
  if (nextstep < steps->size()) {
    (*steps)[nextstep++]();
    Fl::add_timeout(0.4, runstep);
  }
}

static void watchdog(void*) {
  ADD_FAILURE() << "the editing round did not end";
  ed.editdone = 1;
  if (editorwindow) editorwindow->hide();
}

void withsteps(const std::vector<std::function<void()>>& s,
               const std::function<void()>& modal) {
  steps = &s;
  nextstep = 0;
  Fl::add_timeout(0.5, runstep);
  Fl::add_timeout(30, watchdog);
  modal();
  Fl::remove_timeout(runstep);
  Fl::remove_timeout(watchdog);
}
