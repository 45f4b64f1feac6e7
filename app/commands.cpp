// commands.cpp: the command dispatcher and the commands that edit styles,
// colours, layers, names and texts of the diagram.
//
// `handlemenu` is the only entry for user commands: it runs the common
// preamble, dispatches on the code (ranges of codes share one routine,
// mostly table-driven), and ends with a redraw and the prompt of the
// current state. File, print and help commands live in app/files.cpp.
#include "app/commands.h"

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Light_Button.H>
#include <FL/Fl_Multiline_Input.H>
#include <FL/Fl_Tooltip.H>
#include <FL/Fl_Window.H>

#include <cstdlib>
#include <cstring>
#include <string>

#include "app/construction.h"
#include "app/exportcmd.h"
#include "app/files.h"
#include "app/geomwindow.h"
#include "app/recentmenu.h"
#include "app/script.h"
#include "app/ui.h"
#include "app/undo.h"
#include "editor/editwindow.h"
#include "language/rpn.h"
#include "language/symtable.h"
#include "model/notify.h"
#include "model/shell.h"
#include "model/state.h"
#include "model/style.h"
#include "model/worldlist.h"
#include "prefs/options.h"
#include "prefs/preffile.h"
#include "prefs/tips.h"
#include "relations/describe.h"
#include "relations/finder.h"
#include "render/gldraw.h"
#include "render/markup.h"
#include "render/smear.h"

const char* (*textdialoghook)(const char* current, int withcancel);

namespace {

const char TESTINGMESSAGE[] =
    "Testing Diagram.  The only valid command is 'End Test' in the 'Proof' "
    "pull-down menu.";

const int ENDTEST = 200251;
const int FIRSTCONSTRUCTION = 200001, LASTCONSTRUCTION = 200131;

// A range of codes, all inclusive.
struct coderange {
  int from, to;
};

// Commands that leave repeat mode alone: colours, styles, and the edits of
// the selection that a repeated construction may be interleaved with.
const coderange keepsrepeat[] = {
    {200145, 200169}, {200175, 200182}, {200190, 200194}, {200200, 200209},
    {200220, 200220}, {200231, 200231}, {200240, 200240}, {200245, 200247},
    {200249, 200249}, {200253, 200253}, {200350, 200355},
};

// Point marker by code 200175 .. 200182.
const int pointtypes[] = {RW_DIAMOND,      RW_PLUS,   RW_CROSS, RW_SQUARE,
                          RW_SOLIDDIAMOND, RW_NOMARK, RW_DOT,   RW_CIRCPOINT};
static_assert(sizeof pointtypes / sizeof pointtypes[0] == 200182 - 200175 + 1,
              "one marker per point-style code");

// Polygon style by code 200190 .. 200194.
const int polytypes[] = {RW_SOLIDPOLY, RW_OUTLINEPOLY, RW_HASHPOLY,
                         RW_HASHPOLY1, RW_HASHPOLY2};
static_assert(sizeof polytypes / sizeof polytypes[0] == 200194 - 200190 + 1,
              "one style per polygon-style code");

// Line extent by code 200203 .. 200205.
const int linetypes[] = {RW_LONGLINE, RW_SEGMENT, RW_RAY12};
static_assert(sizeof linetypes / sizeof linetypes[0] == 3,
              "one extent per line-extent code");

// Width by code 200350 .. 200355.
const double widths[] = {0.5, 1.0, 2.0, 3.0, 4.0, 6.0};
static_assert(sizeof widths / sizeof widths[0] == 200355 - 200350 + 1,
              "one width per width code");

int inrange(int code, int from, int to) {
  return code >= from && code <= to;
}

int commandheld() {
  return Fl::event_state(FL_COMMAND) ? 1 : 0;
}
int altheld() {
  return Fl::event_state(FL_ALT) ? 1 : 0;
}

void setrepeatlight(int on) {
  if (cancelrepeat) cancelrepeat->value(on);
}

void leaverepeat() {
  sticky = 0;
  setrepeatlight(0);
  setselect();
}

primitive* selectedof(int type) {
  return pselected && pselected->type == type ? pselected : nullptr;
}

void colourcommand(int code) {
  currentcolor = code - 200150;
  if (!pselected) return;
  setdirtyfile();
  setprimcolor(pselected);
}

void layercommand(int code) {
  int n = code - 200100;
  if (altheld())
    layerset ^= 0xffffffffu << n;
  else
    layerset ^= 1u << n;
  setselect();
  setlayerbuttons();
}

void widthcommand(int code) {
  double w = widths[code - 200350];
  widthmultiplier = w;
  if (!pselected) return;
  pselected->width = w;
  // The width is written with the diagram, so it is a change to save.
  setdirtyfile();
}

void toggletooltips() {
  showinfomsg = !showinfomsg;
  if (showinfomsg)
    Fl_Tooltip::enable();
  else
    Fl_Tooltip::disable();
  setmenu();
}

void describeselection() {
  char sentence[1024];
  describeprimitive(pselected, sentence, sizeof sentence);
  inform("%s", sentence);
}

// Style commands: set the current style, then give it to the selection.
int stylecommand(int code) {
  if (inrange(code, 200159, 200169)) {
    currentangletype = code == 200159 ? RW_NOANGLE : code - 200132;
    checkangletype();
  } else if (inrange(code, 200175, 200182)) {
    currentpointtype = pointtypes[code - 200175];
    checkvertextype();
  } else if (inrange(code, 200190, 200194)) {
    currentpolytype = polytypes[code - 200190];
    checkpolytype();
  } else if (inrange(code, 200200, 200202)) {
    currentlinestyle = RW_SOLIDLINE + code - 200200;
    checklinestyle();
  } else if (inrange(code, 200203, 200205)) {
    currentlinetype = linetypes[code - 200203];
    checklinetype();
  } else if (inrange(code, 200206, 200209)) {
    currentlinemark = RW_LINE0SLASH + code - 200206;
    checklinemark();
  } else {
    return 0;
  }
  return 1;
}

// Commands that edit the selection or toggle a display setting.
int editcommand(int code) {
  switch (code) {
    case 200214: showinvisible = !showinvisible; break;
    case 200219: leaverepeat(); break;
    case 200220: deleteselected(); break;
    case 200231:
      if (pselected) {
        flipangle(pselected);
        setdirtyfile();
      }
      break;
    case 200236: showinfo = !showinfo; break;
    case 200240:
      if (pselected && editname(pselected)) setdirtyfile();
      break;
    case 200244: runscript(); break;
    case 200238:
      switch (editgeometry()) {
        case 1: setdirtyfile(); break;
        case 2: handlequitcmd(); break;  // "Quit Tessarin" in the editor
      }
      break;
    case 200247:
      changeoptions();
      setmenu();
      break;
    case 200249: showtips(); break;
    case 200245:
      addvertexnames = !addvertexnames;
      setmenu();
      break;
    case 200246:
      if (pselected) {
        pselected->display = !pselected->display;
        setdirtyfile();
      }
      setmenu();
      break;
    case 200248:
      if (edittext(selectedtextprim, 1)) setdirtyfile();
      break;
    case 200237:
      if (pselected) describeselection();
      break;
    case 200250:
      begindiagramtest();
      setmenu();
      break;
    case 200251:
      enddiagramtest();
      setmenu();
      break;
    case 200252: toggletooltips(); break;
    case 200253:
      showthelayers = !showthelayers;
      setmenu();
      break;
    case 200254:
      defaultwidth = 3 - defaultwidth;
      setmenu();
      break;
    case UNDOCODE: undocommand(); break;
    case REDOCODE: redocommand(); break;
    default: return 0;  // not an edit or toggle command
  }
  return 1;
}

// File, print and help commands; 0 when the command ended early.
int filecommand(int code) {
  switch (code) {
    case 100001: return handlenewcmd();
    case 100002: return handleopencmd();
    case 100003: return handlesavecmd();
    case 100004: return handlesaveascmd();
    case 100005: return handleinsertcmd();
    case 100006: return handleprintcmd();
    case 100007: return handlequitcmd();
    case 100008:
    case 100009:
    case 100010: handlehelpcmd(code); return 1;
    case 100012: return handleepscmd();
    case 100013: return handlereopencmd();
    case 100014: showabout(); return 1;
    case 100040: return handleexamplescmd();
    case 100015:
      dumpingeps = !dumpingeps;
      setmenu();
      return 1;
    case 200239: cleardirtyfile(); return handlequitcmd();
    default: notavailable(code); return 1;  // 100011: no such command
  }
}

// The command itself; 0 when it ended early (no redraw, no prompt).
int runcommand(int code) {
  if (inrange(code, 200001, 200048)) {
    startconstruction(code);
  } else if (code == 200049) {
    makenewtextprim();
  } else if (inrange(code, 200100, 200115)) {
    layercommand(code);
  } else if (inrange(code, 200145, 200157)) {
    colourcommand(code);
  } else if (stylecommand(code) || editcommand(code)) {
    // done
  } else if (inrange(code, 200232, 200235)) {
    proofcommand(code);
  } else if (inrange(code, 200350, 200355)) {
    widthcommand(code);
  } else if (inrange(code, FIRSTRECENT, LASTRECENT)) {
    return openrecent(code);
  } else if (inrange(code, 100001, 100015) || code == 100040 ||
             code == 200239) {
    return filecommand(code);
  } else if (exportcommand(code)) {
    // done
  } else {
    notavailable(code);
  }
  return 1;
}

// Text dialog: built once, run modally on one text record.
struct textdialog {
  Fl_Window* window;
  Fl_Multiline_Input* input;
  Fl_Button* cancel;
  Fl_Button* save;
  int saved;
};
textdialog dlg;

void textdialogdone(Fl_Widget* w, void*) {
  dlg.saved = w == dlg.save;
  dlg.window->hide();
}

void maketextdialog() {
  dlg.window = new Fl_Window(440, 282);
  Fl_Box* title = new Fl_Box(0, 0, 440, 25, "Descriptive text");
  title->labelfont(FL_HELVETICA_BOLD);
  title->labelsize(20);
  dlg.input = new Fl_Multiline_Input(3, 25, 434, 224);
  dlg.cancel = new Fl_Button(200, 252, 80, 25, "Cancel");
  dlg.save = new Fl_Button(300, 252, 80, 25, "Save");
  dlg.cancel->callback(textdialogdone);
  dlg.save->callback(textdialogdone);
  dlg.window->end();
  dlg.window->set_modal();
}

// The dialog's answer, or null when cancelled.
const char* runtextdialog(const char* current, int withcancel) {
  if (!dlg.window) maketextdialog();
  dlg.input->value(current ? current : "");
  if (withcancel)
    dlg.cancel->show();
  else
    dlg.cancel->hide();
  if (main_window)
    dlg.window->position(main_window->x() + (main_window->w() - 440) / 2,
                         main_window->y() + (main_window->h() - 282) / 2);
  dlg.saved = 0;
  dlg.window->show();
  while (dlg.window->shown()) Fl::wait();
  return dlg.saved ? dlg.input->value() : nullptr;
}

}  // namespace

void handlemenu(int code) {
  if (testingdiagram && code != ENDTEST) {
    alert("%s", TESTINGMESSAGE);
    return;
  }
  if (code > REPEATCODE) {
    code -= REPEATCODE;
    sticky = 1;
    setrepeatlight(1);
  } else if (unstick(code)) {
    leaverepeat();
  }
  if (commandheld() && inrange(code, FIRSTCONSTRUCTION, LASTCONSTRUCTION)) {
    sticky = 1;
    setrepeatlight(1);
  }
  beginchange();
  int ran = runcommand(code);
  endchange(code);
  if (!ran) return;
  redrawgeometry();
  setmessage();
}

int unstick(int code) {
  for (const coderange& r : keepsrepeat)
    if (inrange(code, r.from, r.to)) return 0;
  return 1;
}

void checkvertextype() {
  if (vertex* v = (vertex*)selectedof(RW_VERTEX)) {
    v->pointtype = currentpointtype;
    setdirtyfile();
  }
}

void checklinetype() {
  if (line* l = (line*)selectedof(RW_LINE)) {
    l->linetype = currentlinetype;
    setdirtyfile();
  }
}

// Circles and arcs take the dash of lines too.
void checklinestyle() {
  if (int32_t* style = pselected ? linestyleof(pselected) : nullptr) {
    *style = currentlinestyle;
    setdirtyfile();
  }
}

void checklinemark() {
  if (line* l = (line*)selectedof(RW_LINE)) {
    l->linemark = currentlinemark;
    setdirtyfile();
  }
}

void checkangletype() {
  if (angle* a = (angle*)selectedof(RW_ANGLE)) {
    a->angletype = currentangletype;
    setdirtyfile();
  }
}

void checkpolytype() {
  if (polygon* p = (polygon*)selectedof(RW_POLYGON)) {
    p->polytype = currentpolytype;
    setdirtyfile();
  }
}

int editname(primitive* p) {
  const char* answer = askinput("Primitive name:", p->label ? p->label : "");
  if (!answer) return 0;
  free(p->label);
  p->label = nullptr;
  if (!*answer) return 1;
  std::string label;
  for (const char* s = answer; *s; s++)
    if (*s != '"') label += *s;
  p->label = strdup(label.c_str());
  return 1;
}

int edittext(primitive* p, int withcancel) {
  if (!p || p->type != RW_TEXT) {
    alert("No selected text.");
    return 0;
  }
  text* t = (text*)p;
  const char* answer = textdialoghook ? textdialoghook(t->string, withcancel)
                                      : runtextdialog(t->string, withcancel);
  if (!answer) return 0;
  std::string s(answer);
  for (char& c : s)
    if (c == '"') c = '\'';
  if (!s.empty() && s.back() == '\n') s.pop_back();
  free(t->string);
  t->string = strdup(s.c_str());
  redrawgeometry();
  return 1;
}

primitive* makenewtextprim() {
  text* t = new text;
  t->string = strdup("");
  addprimitive(t);
  selectedtextprim = t;
  if (idtable) {
    symtableentry* e = addentry(idtable, "", RW_TEXT);
    e->prim = t;
    t->symbol = e;
  }
  selectprim(t);
  edittext(t, 0);
  return t;
}

void resetstatewidgets(int full) {
  dumpingeps = 0;
  sticky = 0;
  if (full) showinfo = 1;
  clearsmearlist();
  resetwidgets(full);
  setselect();
}

void notavailable(int code) {
  alert("This command (%d) is not available yet.", code);
}

void resetcommands() { textdialoghook = nullptr; }
