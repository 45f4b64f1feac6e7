// startup.cpp: the order of start-up, the main window with its drawing area
// and the exit-time question about unsaved changes.
#include "app/startup.h"

#include <FL/Fl.H>
#include <FL/Fl_Group.H>
#include <FL/Fl_Menu_Bar.H>
#include <FL/Fl_Tooltip.H>
#include <FL/Fl_Window.H>
#include <FL/x.H>
#include <X11/Xlib.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/cmdline.h"
#include "app/files.h"
#include "app/geomwindow.h"
#include "app/hover.h"
#include "app/idle.h"
#include "app/keys.h"
#include "app/pick.h"
#include "app/recentmenu.h"
#include "app/relationswindow.h"
#include "app/ui.h"
#include "app/undo.h"
#include "editor/editwindow.h"
#include "engine/drag.h"
#include "fileio/openfile.h"
#include "language/parser.h"
#include "language/symtable.h"
#include "model/notify.h"
#include "model/shell.h"
#include "model/style.h"
#include "model/worldlist.h"
#include "prefs/options.h"
#include "prefs/preffile.h"
#include "prefs/tips.h"
#include "render/gldraw.h"
#include "render/palette.h"
#include "render/view.h"

int (*savefilehook)();

static std::string filename;  // held whole, whatever its length
static int extrafiles;        // files given after it, left unopened

const char* startfilename() {
  return filename.c_str();
}

void askdirty() {
  while (dirtyfile) {
    if (!askquestion("File modified -- save changes?")) return;
    if (!savefilehook) return;  // nothing is there to save with
    if (savefilehook()) dirtyfile = 0;
  }
}

static int savediagram() {
  return savecurrentfile(0);
}

// Closing the main window is Quit: the save question may keep the program
// running. Escape, which the toolkit also sends here, never quits.
static void closemain(Fl_Widget*, void*) {
  if (Fl::event() == FL_SHORTCUT && Fl::event_key() == FL_Escape) return;
  handlequitcmd();
}

// Opens the display for the toolkit, which would otherwise end the process
// with its own error when it cannot. The connection is kept and handed
// over: closing a trial connection can make a fresh server reset just as
// the toolkit connects.
static int opendisplay() {
  Display* d = XOpenDisplay(nullptr);
  if (!d) return 0;
  fl_open_display(d);
  return 1;
}

static void nodisplaymessage() {
  const char* d = getenv("DISPLAY");
  if (!d || !*d)
    fprintf(stderr,
            "tessarin: there is no display to open the window on (DISPLAY "
            "is not set).\n");
  else
    fprintf(stderr, "tessarin: cannot open the display \"%s\".\n", d);
  fprintf(stderr,
          "Without a window, use tessarin-cli (for instance \"tessarin-cli "
          "eps FILE\" writes a diagram as EPS).\n");
}

// The display's resolution in dots per inch: the desktop's Xft.dpi
// setting when there is one, else the screen's physical size.
static double displaydpi() {
  if (const char* rm = XResourceManagerString(fl_display)) {
    const char* at = strstr(rm, "Xft.dpi:");
    double d = at ? atof(at + 8) : 0;
    if (d > 0) return d;
  }
  int mm = DisplayHeightMM(fl_display, fl_screen);
  return mm > 0 ? DisplayHeight(fl_display, fl_screen) * 25.4 / mm : 96;
}

static double displayscale = 1;  // what Auto means on this display

double chosenscale() {
  return scalechoice ? scalechoice / 100.0 : displayscale;
}

// Text, marks and lines of the drawing, and the toolkit's text, panel and
// menu bar, grow on a display of high resolution. Ordinary displays (up to
// 120 dpi) keep the sizes they always had.
static void scaletodisplay() {
  double dpi = displaydpi();
  // Auto never grows the panel (about 500 pixels tall, 640 with big fonts)
  // past the screen's height.
  int x, y, w, h;
  Fl::screen_work_area(x, y, w, h);
  double fit = std::max(1.0, h / (bigfont ? 640.0 : 500.0));
  displayscale = dpi > 120 ? std::min(dpi / 96, fit) : 1;
  double s = chosenscale();
  setscreenscale(s);
  FL_NORMAL_SIZE = (int)lround(14 * s);
  Fl_Tooltip::size(FL_NORMAL_SIZE);
  MENUWIDTH = (int)lround(MENUWIDTH * s);
  MENUBARHEIGHT = (int)lround(24 * s);
}

// Without a size in the preferences the drawing area is a square of two
// thirds of the screen's height (at least 450 pixels). Whatever size is
// asked for, the window starts inside the screen's work area (and never
// beyond what the GL library can draw).
static void fittoscreen() {
  int x, y, w, h;
  Fl::screen_work_area(x, y, w, h);
  if (!sizegiven)
    WIDTH = HEIGHT = std::max(450, (int)lround(Fl::h() * 2.0 / 3));
  if (WIDTH > w - MENUWIDTH) WIDTH = w - MENUWIDTH;
  if (HEIGHT > h - MENUBARHEIGHT - statusheight())
    HEIGHT = h - MENUBARHEIGHT - statusheight();
  clampdrawsize();
  if (!sizegiven) {
    autowidth = WIDTH;  // the size chosen here is not written back
    autoheight = HEIGHT;
  }
}

// The diagram name among the arguments: the first that is not a switch;
// none when the toolkit rejected a switch.
static void takefilename(int argc, char** argv) {
  int i = 1;
  filename.clear();
  extrafiles = 0;
  if (!Fl::args(argc, argv, i)) return;
  if (i < argc && argv[i][0] != '-') filename = argv[i];
  // The desktop hands over every file the user opened with the program.
  if (!filename.empty()) extrafiles = argc - i - 1;
}

void geommain(const char* name) {
  inittables();
  initcolors();
  if (!name || !*name) return;
  int read = readgeometry(name);
  setcurrentfilename(name);
  cleardirtyfile();
  if (read) rememberrecent(name);
}

static void bindcallbacks(Fl_Geom_Window* g) {
  g->displayfunc = drawgeom;
  g->reshapefunc = Reshape;
  g->mousefunc = mouse;
  g->motionfunc = motion;
  g->visibilityfunc = visibility;
  g->keyboardfunc = keyboard;
  g->specialfunc = special;
  g->wheelfunc = wheel;
  g->hoverfunc = hover;
  g->panfunc = panto;
  beforedrawhook = followhover;
}

int startup(int argc, char** argv) {
  startrecovery();  // its exit handler runs after the save question
  atexit(askdirty);
  int prefsopen = parsedefaultfile();
  if (bigfont) MENUWIDTH = 240;
  setchooserprefs();
  takefilename(argc, argv);
  if (!opendisplay()) {
    nodisplaymessage();
    return 1;
  }
  scaletodisplay();
  fittoscreen();
  main_window = new Fl_Window(WIDTH + MENUWIDTH,
                              HEIGHT + MENUBARHEIGHT + statusheight(),
                              "No File Name");
  main_window->callback(closemain);
  makeui();
  fitlabels();
  // A missing file starts empty, silently; so does a folder or a FIFO,
  // which is never opened in a way that could wait for a writer.
  if (!filename.empty() && !isreadablefile(filename.c_str())) filename.clear();
  if (!filename.empty()) main_window->copy_label(filename.c_str());
  geom_window = new Fl_Geom_Window(0, MENUBARHEIGHT, WIDTH, HEIGHT, "Tessarin");
  makestatusline(0, MENUBARHEIGHT + HEIGHT, WIDTH, statusheight());
  main_window->resizable(geom_window);
  geom_window->mode(choosedisplaymode());
  bindcallbacks(geom_window);
  main_window->end();
  bindnotifyhooks();
  bindfltkdialogs();
  bindrelationshooks();
  savefilehook = savediagram;
  // The panel's height is settled before the window is shown: a window
  // grown after its first frame showed that frame off-centre.
  setlayerdisplay();
  main_window->show(argc, argv);
  geom_window->show();
  geommain(filename.c_str());
  diagramloaded(1);
  if (extrafiles > 0 && !filename.empty())
    sayoneopen(filename.c_str(), extrafiles);
  offerrecovery(filename.c_str());
  setlayerbuttons();
  makeeditorwindow();  // built hidden, shown by Edit Geometry
  selectprim(nullptr);
  Fl_Tooltip::enable(showinfomsg);
  if (showthetips && prefsopen) showtips();
  geom_window->take_focus();
  startidle();
  Fl::visible_focus(0);
  return 0;
}
