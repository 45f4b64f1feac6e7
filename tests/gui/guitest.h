// guitest.h: helpers of the window tests: the real program window on a
// virtual display, frames read back from OpenGL, synthetic mouse events
// through the drawing area's handler and real X events through xdotool.
#pragma once

// What nearly every window test uses; the toolkit after the test
// framework, and no X header here: X11's macros clash with gtest.
#include <FL/Fl.H>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/commands.h"
#include "app/ui.h"
#include "model/notify.h"
#include "model/primitive.h"
#include "model/worldlist.h"
#include "tests/langtest.h"

class Fl_Window;

// Files, records, the diagram text a save would write and the editor's
// buffer: as the core tests have them.
using langtest::edittext;
using langtest::exists;
using langtest::named;
using langtest::records;
using langtest::testfolder;
using langtest::writefile;
using langtest::written;

// One frame read back from the drawing area, bottom row first.
struct frame {
  int w = 0, h = 0;
  std::vector<unsigned char> rgb;
  const unsigned char* at(int x, int y) const { return &rgb[3 * (y * w + x)]; }
};

struct rgbcolor {
  int r, g, b;
};

using strings = std::vector<std::string>;

// Alerts, information boxes and messages shown since the last
// `cleardiagram`.
extern strings guialerts, guiinfos, guimessages;

// Lets the toolkit handle pending events for about `seconds`.
void pump(double seconds);

// Empties the diagram and puts styles, layers, view switches, the smear
// trace, the hover highlight and the recorded alerts back to their start-up
// values; drawing is left unsmoothed.
void cleardiagram();

// Reads a diagram file into the emptied world list; 1 on success.
int loaddiagram(const char* path);

// Draws one frame into the back buffer and reads it.
frame drawframe();

// Reads the back buffer as it is (after a drawgeom of the caller's own).
frame readback();

// World point to window pixel (x right, y up from the bottom row).
void worldtopixel(double wx, double wy, int* px, int* py);

// 1 when the pixel has colour c, each channel within `tol`.
int samecolor(const unsigned char* p, rgbcolor c, int tol = 3);

// 1 when some pixel within `radius` pixels of the world point has colour c
// (or, for inknear, differs from the black background).
int colornear(const frame& f, double wx, double wy, rgbcolor c, int radius,
              int tol = 3);
int inknear(const frame& f, double wx, double wy, int radius);

// Number of pixels of colour c in the whole frame.
int countcolor(const frame& f, rgbcolor c, int tol = 3);

// Records made by the caller, appended to the world list.
vertex* addpoint(double x, double y, int kind = FREE, int color = COLOR_WHITE);
primitive* addrecord(int type, int kind, std::vector<primitive*> parents,
                     int color = COLOR_WHITE);
line* addline(vertex* a, vertex* b, int color = COLOR_WHITE,
              int linetype = RW_SEGMENT);

// Delivers a mouse press, drag or release at world point (wx, wy) through
// the drawing area's handler.
void mousepress(double wx, double wy, int ctrl = 0);
void mousedragto(double wx, double wy);
void mouserelease();
// Delivers a key press (its text, the modifier state) the same way.
void keypress(int keysym, const char* text = "", int state = 0);

// A file's text, or "<missing>".
std::string readtext(const std::string& path);

// The file chooser answered from a script: each call records where it
// started and its filter, and takes the next answer (none left: cancel).
// `cleardiagram` empties the three lists and puts the script in place.
extern strings chooserstarts, chooserfilters, chooseranswers;

// Runs xdotool with the arguments on the tests' display; gives a window
// the X server's keyboard focus.
void xdo(const std::string& args);
void focus(Fl_Window* w);
// A real click of the first button at screen pixel (x, y).
void clickroot(int x, int y);

// Calls `modal` (which runs the editor's modal loop) while the steps run
// one after another from timeouts; a round still open after 30 seconds
// fails and is closed.
void withsteps(const std::vector<std::function<void()>>& steps,
               const std::function<void()>& modal);
