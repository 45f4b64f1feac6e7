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

#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/cmdline.h"
#include "app/files.h"
#include "app/geomwindow.h"
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

static void closemain(Fl_Widget*, void*) {
  exit(0);
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

// Whatever size the preferences ask for, the window starts inside the
// screen's work area (and never beyond what the GL library can draw).
static void fittoscreen() {
  int x, y, w, h;
  Fl::screen_work_area(x, y, w, h);
  if (WIDTH > w - MENUWIDTH) WIDTH = w - MENUWIDTH;
  if (HEIGHT > h - 24) HEIGHT = h - 24;
  clampdrawsize();
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
  fittoscreen();
  main_window = new Fl_Window(WIDTH + MENUWIDTH, HEIGHT + 24, "No File Name");
  main_window->callback(closemain);
  makeui();
  fitlabels();
  // A missing file starts empty, silently; so does a folder or a FIFO,
  // which is never opened in a way that could wait for a writer.
  if (!filename.empty() && !isreadablefile(filename.c_str())) filename.clear();
  if (!filename.empty()) main_window->copy_label(filename.c_str());
  geom_window = new Fl_Geom_Window(0, 24, WIDTH, HEIGHT, "Tessarin");
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
