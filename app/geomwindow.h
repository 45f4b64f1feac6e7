// geomwindow.h: the drawing area of the main window and the callbacks it
// dispatches toolkit events to.
//
// `Fl_Geom_Window` is the one class of the program besides the editor view:
// the toolkit needs a subclass to draw with OpenGL and to receive events.
// It only routes events to the plain callback functions bound at start-up.
#pragma once

#include <FL/Fl_Gl_Window.H>

class Fl_Window;

class Fl_Geom_Window : public Fl_Gl_Window {
 public:
  int mousedown;                      // bit b: mouse button b is down
  void (*displayfunc)();              // draws one frame
  void (*reshapefunc)(int w, int h);  // the size changed
  void (*keyboardfunc)(unsigned char c, int x, int y);
  void (*mousefunc)(int button, int state, int x, int y);
  void (*motionfunc)(int x, int y);  // motion with a button down
  void (*visibilityfunc)(int shown);
  void (*specialfunc)(int key, int x, int y);
  void (*wheelfunc)(int dx, int dy, int x, int y);  // wheel clicks
  void (*hoverfunc)(int x, int y);  // motion without a button; x < 0: left
  int (*panfunc)(int x, int y);     // motion with another button than left

  Fl_Geom_Window(int w, int h, const char* l = nullptr);
  Fl_Geom_Window(int x, int y, int w, int h, const char* l = nullptr);
  ~Fl_Geom_Window() override {}
  void draw() override;
  int handle(int event) override;
  // Makes the GL context current, but only once the window is shown.
  void make_current();

 private:
  void clearcallbacks();
  int route(int event);  // the event to its callback
};

extern Fl_Window* main_window;       // the program's one main window
extern Fl_Geom_Window* geom_window;  // its drawing area

// Asks the toolkit to redraw the drawing area; the diagram is recomputed and
// drawn only inside the draw callback.
void redrawgeometry();

// Stores the drawing area's new size and requests a redraw.
void Reshape(int width, int height);

// A change of visibility ends any blink-only redraw.
void visibility(int shown);

// Resizes the main window around a drawing area of width x height.
void reshapeall(int width, int height);

// The arrow cursor, set at every event of the drawing area.
void fixcursor();

// Mouse press and release in the drawing area: selects (Ctrl cycles through
// what lies under the cursor) and starts a new trace.
void mouse(int button, int state, int x, int y);

// Motion with a button held: drags the selected point.
void motion(int x, int y);

// The toolkit mode for the drawing area from `rgbmode` and `singlebuffer`;
// falls back to RGB (and clears `rgbmode`'s alternative) when the display
// has no colour-index visual.
int choosedisplaymode();
