// ui.cpp: the menu bar and the control panel.
//
// The menu tree is one static table; each item's user data is its command
// code. The panel is laid out in two columns whose vertical cursors advance
// one row step per widget, at the metrics of the normal or the big font.
// Menu states are refreshed from the selection through the core's
// `selecthook`, and the state machine reaches the prompt field and the
// buttons through its own hooks, all bound at the end of `makeui`.
#include "app/ui.h"

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Check_Button.H>
#include <FL/Fl_Choice.H>
#include <FL/Fl_Group.H>
#include <FL/Fl_Light_Button.H>
#include <FL/Fl_Menu_Bar.H>
#include <FL/Fl_Output.H>
#include <FL/Fl_Round_Button.H>
#include <FL/Fl_Tooltip.H>

#include <algorithm>
#include <cmath>

#include "app/commands.h"
#include "app/construction.h"
#include "app/exportcmd.h"
#include "app/files.h"
#include "app/geomwindow.h"
#include "app/keys.h"
#include "app/menulabels.h"
#include "app/recentmenu.h"
#include "app/relationswindow.h"
#include "app/undo.h"
#include "engine/drag.h"
#include "model/notify.h"
#include "model/shell.h"
#include "model/state.h"
#include "model/style.h"
#include "model/worldlist.h"
#include "prefs/preffile.h"
#include "relations/finder.h"
#include "render/gldraw.h"
#include "render/view.h"

Fl_Menu_Bar* menubar;
Fl_Group* controlpanel;
Fl_Button* uibuts[NUIBUTS];
Fl_Button* statebuts[3];
Fl_Choice* choices[4];
Fl_Button* layerbuts[NLAYERBUTS];
Fl_Group* layergroup;
Fl_Output* promptfield;
Fl_Light_Button* cancelrepeat;

namespace {

#define ITEM(label, key, code, flags) \
  { label, key, menucallback, (void*)(long)(code), flags, 0, 0, 0, 0 }
#define SUB(label) \
  { label, 0, 0, 0, FL_SUBMENU, 0, 0, 0, 0 }
#define END \
  { 0, 0, 0, 0, 0, 0, 0, 0, 0 }

const int CMD = FL_COMMAND, SH = FL_SHIFT, DIV = FL_MENU_DIVIDER,
          TOG = FL_MENU_TOGGLE;

Fl_Menu_Item menutable[] = {
    SUB("File"),
    ITEM("New", 0, 100001, 0),
    ITEM("Open", CMD + 'o', 100002, 0),
    SUB("Open Recent"),
    ITEM("No Recent Files", 0, NORECENT, FL_MENU_INACTIVE),
    ITEM("", 0, FIRSTRECENT, FL_MENU_INVISIBLE),
    ITEM("", 0, FIRSTRECENT + 1, FL_MENU_INVISIBLE),
    ITEM("", 0, FIRSTRECENT + 2, FL_MENU_INVISIBLE),
    ITEM("", 0, FIRSTRECENT + 3, FL_MENU_INVISIBLE),
    ITEM("", 0, FIRSTRECENT + 4, FL_MENU_INVISIBLE),
    ITEM("", 0, FIRSTRECENT + 5, FL_MENU_INVISIBLE),
    ITEM("", 0, FIRSTRECENT + 6, FL_MENU_INVISIBLE),
    ITEM("", 0, FIRSTRECENT + 7, FL_MENU_INVISIBLE),
    ITEM("", 0, FIRSTRECENT + 8, FL_MENU_INVISIBLE),
    ITEM("", 0, LASTRECENT, FL_MENU_INVISIBLE),
    END,
    ITEM("ReOpen", CMD + 'r', 100013, 0),
    ITEM("Save", CMD + 's', 100003, 0),
    ITEM("Save As", CMD + SH + 's', 100004, 0),
    ITEM("Insert File", 0, 100005, DIV),
    ITEM("Print", CMD + 'p', 100006, 0),
    ITEM("Script Print", 0, 100015, TOG),
    ITEM("Save EPS File", 0, 100012, 0),
    ITEM("Export...", CMD + SH + 'e', 100030, DIV),
    ITEM("Quit", CMD + 'q', 100007, 0),
    ITEM("Quit-No Save", CMD + SH + 'q', 200239, DIV),
    END,
    SUB("Edit"),
    ITEM("Undo", CMD + 'z', UNDOCODE, FL_MENU_INACTIVE),
    ITEM("Redo", CMD + SH + 'z', REDOCODE, FL_MENU_INACTIVE | DIV),
    // Ctrl-Y redoes too; an item shows only one shortcut.
    ITEM("Redo", CMD + 'y', REDOCODE, FL_MENU_INVISIBLE),
    ITEM("Edit Name", CMD + 'n', 200240, 0),
    ITEM("Edit Text", 0, 200248, 0),
    ITEM("Edit Geometry", CMD + 'e', 200238, 0),
    ITEM("Flip Angle", CMD + 'a', 200231, 0),
    ITEM("Delete Geometry", CMD + 'd', 200220, 0),
    ITEM("Describe Geometry", 0, 200237, 0),
    ITEM("Copy as TikZ", 0, 100031, DIV),
    ITEM("Point Names", CMD + 't', 200245, TOG),
    ITEM("Display Value", CMD + SH + 't', 200246, TOG),
    ITEM("Layer Display", 0, 200253, TOG),
    ITEM("Edit Preferences", 0, 200247, 0),
    END,
    SUB("Primitives"),
    SUB("Point"),
    ITEM("Free P", '1', 200001, 0),
    ITEM("Pinned P", 0, 200004, 0),
    ITEM("P on L", 0, 200008, 0),
    ITEM("P on C", 0, 200013, 0),
    ITEM("P on Conic", 0, 200016, 0),
    ITEM("LL=>P", '4', 200006, 0),
    ITEM("PP=>P Mid", 0, 200012, 0),
    ITEM("LC=>P", 0, 200018, 0),
    ITEM("CC=>P", 0, 200025, 0),
    ITEM("PPP=>P Bis", 0, 200041, 0),
    ITEM("C=>P Ctr", 0, 200003, 0),
    ITEM("LP=>P Mirror", 0, 200009, 0),
    ITEM("PC=>P Inv", 0, 200014, 0),
    ITEM("APP=>P", 0, 200015, 0),
    ITEM("LCon=>P", 0, 200030, 0),
    ITEM("LCP=>P Other", 0, 200045, 0),
    ITEM("CCP=>P Other", 0, 200046, 0),
    ITEM("PPP=>P Harmonic", 0, 200047, 0),
    END,
    SUB("Line"),
    ITEM("PP=>L", '2', 200002, 0),
    ITEM("PL=>L Perp", 0, 200007, 0),
    ITEM("PL=>L Par", 0, 200011, 0),
    ITEM("PC=>L Tan", 0, 200021, 0),
    ITEM("CC=>Ex Tan", 0, 200023, 0),
    ITEM("CC=>In Tan", 0, 200024, 0),
    ITEM("PP=>L Perp Bis", 0, 200042, 0),
    ITEM("PCon=>L Tan", 0, 200029, 0),
    END,
    SUB("Circle"),
    ITEM("Ctr Edg", '3', 200010, 0),
    ITEM("PPP=>C", 0, 200027, 0),
    ITEM("PC Rad", 0, 200022, 0),
    ITEM("Ctr PP=>C", '5', 200044, 0),
    ITEM("LC=>C Inv", 0, 200017, 0),
    ITEM("CC=>C Inv", 0, 200019, 0),
    ITEM("LLL=>C", 0, 200031, 0),
    END,
    SUB("Angle"),
    ITEM("PPP=>A", 0, 200026, 0),
    END,
    SUB("Conic"),
    ITEM("5P=>Con", 0, 200040, 0),
    ITEM("5L=>Con", 0, 200005, 0),
    END,
    SUB("Arc"),
    ITEM("PPP=>Arc", 0, 200028, 0),
    END,
    SUB("Polygon"),
    ITEM("P..P=>Poly", 0, 200043, 0),
    END,
    SUB("Bezier"),
    ITEM("PPPP=>Bez", 0, 200020, 0),
    END,
    SUB("Text"),
    ITEM("Descriptive Text", 0, 200049, 0),
    END,
    END,
    SUB("Styles"),
    ITEM("Wide Lines", CMD + SH + 'l', 200254, TOG),
    SUB("Point"),
    ITEM("Circle", 0, 200182, 0),
    ITEM("Diamond", 0, 200175, 0),
    ITEM("Plus", 0, 200176, 0),
    ITEM("Cross", 0, 200177, 0),
    ITEM("Square", 0, 200178, 0),
    ITEM("Solid", 0, 200179, 0),
    ITEM("Dot", 0, 200181, 0),
    ITEM("No Mark", 0, 200180, DIV),
    END,
    SUB("Line"),
    ITEM("Solid", 0, 200200, 0),
    ITEM("Dashed", 0, 200201, 0),
    ITEM("Dotted", 0, 200202, DIV),
    ITEM("Infinite", 0, 200203, 0),
    ITEM("Ray", 0, 200205, 0),
    ITEM("Segment", 0, 200204, DIV),
    ITEM("No Mark", 0, 200206, 0),
    ITEM("1 Slash", 0, 200207, 0),
    ITEM("2 Slash", 0, 200208, 0),
    ITEM("3 Slash", 0, 200209, DIV),
    END,
    SUB("Polygon"),
    ITEM("Outline", 0, 200191, 0),
    ITEM("Solid", 0, 200190, 0),
    ITEM("Texture 1", 0, 200192, 0),
    ITEM("Texture 2", 0, 200193, 0),
    ITEM("Texture 3", 0, 200194, DIV),
    END,
    SUB("Angle"),
    ITEM("1 Ring", 0, 200160, 0),
    ITEM("2 Rings", 0, 200161, 0),
    ITEM("3 Rings", 0, 200162, 0),
    ITEM("1 Slash", 0, 200163, 0),
    ITEM("2 Slash", 0, 200164, 0),
    ITEM("3 Slash", 0, 200165, 0),
    ITEM("1 DSlash", 0, 200166, 0),
    ITEM("2 DSlash", 0, 200167, 0),
    ITEM("3 DSlash", 0, 200168, 0),
    ITEM("Right Ang", 0, 200169, 0),
    ITEM("No Angle", 0, 200159, DIV),
    END,
    SUB("Width"),
    ITEM("0.5", 0, 200350, 0),
    ITEM("1.0", 0, 200351, 0),
    ITEM("2.0", 0, 200352, 0),
    ITEM("3.0", 0, 200353, 0),
    ITEM("4.0", 0, 200354, 0),
    ITEM("6.0", 0, 200355, 0),
    END,
    END,
    SUB("Proof"),
    ITEM("Start Proof", 0, 200234, 0),
    ITEM("Next Step", 'n', 200235, 0),
    ITEM("Previous Step", 'p', 200232, DIV),
    ITEM("Test Diagram", 0, 200250, 0),
    ITEM("End Test", 0, 200251, 0),
    END,
    SUB("Help"),
    ITEM("About Tessarin", 0, 100014, DIV),
    ITEM("Documentation", CMD + 'h', 100008, 0),
    ITEM("Tutorial", 0, 100009, 0),
    ITEM("Reference Manual", 0, 100010, 0),
    ITEM("Examples...", 0, 100040, DIV),
    ITEM("Usage Tips", 0, 200249, 0),
    ITEM("Tool Tips", 0, 200252, TOG),
    END,
    END,
};

// The "Color" choice. Each entry is its name in black after a swatch of
// its colour: names drawn in their own colour could not be read on the
// grey menu (yellow and cyan least of all).
Fl_Menu_Item colortable[] = {
    ITEM("Red", 0, 200151, 0),
    ITEM("Green", 0, 200152, 0),
    ITEM("Yellow", 0, 200153, 0),
    ITEM("Blue", 0, 200154, 0),
    ITEM("Magenta", 0, 200155, 0),
    ITEM("Cyan", 0, 200156, 0),
    ITEM("White", 0, 200157, 0),
    ITEM("Invisible", 0, 200149, 0),
    ITEM("Smear", 0, 200148, 0),
    ITEM("Blink", 0, 200147, 0),
    ITEM("Blink1", 0, 200146, 0),
    ITEM("Blink2", 0, 200145, 0),
    END,
};
const int NCOLORITEMS = sizeof colortable / sizeof colortable[0] - 1;
const int WHITEITEM = 6;

Fl_Menu_Item pointtable[] = {
    ITEM("Circle", 0, 200182, 0),
    ITEM("Diamond", 0, 200175, 0),
    ITEM("Plus", 0, 200176, 0),
    ITEM("Cross", 0, 200177, 0),
    ITEM("Square", 0, 200178, 0),
    ITEM("Solid Dmnd", 0, 200179, 0),
    ITEM("Dot", 0, 200181, 0),
    ITEM("No Mark", 0, 200180, 0),
    END,
};
Fl_Menu_Item linetable[] = {
    ITEM("Line", 0, 200203, 0),
    ITEM("Ray", 0, 200205, 0),
    ITEM("Segment", 0, 200204, 0),
    END,
};
const int SEGMENTITEM = 2;
Fl_Menu_Item angletable[] = {
    ITEM("1 Ring", 0, 200160, 0),   ITEM("2 Rings", 0, 200161, 0),
    ITEM("3 Rings", 0, 200162, 0),  ITEM("1 Slash", 0, 200163, 0),
    ITEM("2 Slash", 0, 200164, 0),  ITEM("3 Slash", 0, 200165, 0),
    ITEM("1 DSlash", 0, 200166, 0), ITEM("2 DSlash", 0, 200167, 0),
    ITEM("3 DSlash", 0, 200168, 0), ITEM("Right Ang", 0, 200169, 0),
    ITEM("No Angle", 0, 200159, 0), END,
};

// One construction button of the panel.
struct panelbutton {
  const char* label;
  int code;
  int slot;
  const char* tip;
};

// Sizes of the panel: normal and big font.
struct metrics {
  int rowstep, bw, bh, labelsize, choicew, proofw, proofstep, layerdx,
      promptheight;
};
const metrics normalmetrics = {14, 90, 17, 12, 85, 41, 44, 31, 25};
const metrics bigmetrics = {19, 120, 28, 16, 113, 55, 59, 41, 30};

// Two column cursors of the panel.
struct column {
  int x, titlex, y;
};

metrics panelmetrics;  // the normal or big metrics at the screen scale

// A length of the panel at the screen scale.
int sc(int n) {
  return (int)std::lround(n * screenscale);
}

void scalemetrics() {
  const metrics& m = bigfont ? bigmetrics : normalmetrics;
  panelmetrics = {sc(m.rowstep), sc(m.bw),      sc(m.bh),
                  sc(m.labelsize), sc(m.choicew), sc(m.proofw),
                  sc(m.proofstep), sc(m.layerdx), sc(m.promptheight)};
}

const metrics& M() {
  return panelmetrics;
}

void title(column& c, const char* text) {
  Fl_Box* b = new Fl_Box(c.titlex, c.y, M().bw, M().rowstep, text);
  b->labelfont(FL_HELVETICA_BOLD);
  b->labelsize(M().labelsize);
  b->align(FL_ALIGN_LEFT | FL_ALIGN_INSIDE);
  c.y += M().rowstep + 2;
}

void constructionbutton(column& c, const panelbutton& pb) {
  Fl_Check_Button* b = new Fl_Check_Button(c.x, c.y, M().bw, M().bh, pb.label);
  b->labelsize(M().labelsize);
  b->tooltip(pb.tip);
  b->when(FL_WHEN_CHANGED);
  b->callback(setlevelp, (void*)(long)pb.code);
  uibuts[pb.slot] = b;
  c.y += M().rowstep;
}

void section(column& c, const char* name, const panelbutton* pb, int n) {
  title(c, name);
  for (int i = 0; i < n; i++) constructionbutton(c, pb[i]);
  c.y += 2;
}

Fl_Choice* choice(column& c, const char* name, Fl_Menu_Item* items,
                  const char* tip) {
  title(c, name);
  Fl_Choice* ch = new Fl_Choice(c.x + 2, c.y, M().choicew, M().bh + 3);
  ch->menu(items);
  ch->textsize(M().labelsize);
  ch->tooltip(tip);
  ch->when(FL_WHEN_RELEASE | FL_WHEN_NOT_CHANGED);
  c.y += M().bh + 3 + 4;
  return ch;
}

const panelbutton pointbuttons[] = {
    {"Free P", 200001, 0, "Create an unconstrained, movable point"},
    {"P on L", 200008, 1, "Create a point constrained to lie on a line"},
    {"P on C", 200013, 2, "Create a point constrained to lie on a circle"},
    {"LL=>P", 200006, 3, "Create a point at the intersection of two lines"},
    {"PP=>P Mid", 200012, 4,
     "Create a point at the midpoint between two points"},
    {"LC=>P", 200018, 5,
     "Create a point at the intersection of a line and a circle"},
    {"CC=>P", 200025, 6, "Create a point at the intersection of two circles"},
    {"PPP=>P Bis", 200041, 23,
     "Make a point on the bisector of the angle formed by 3 points"},
};
const panelbutton linebuttons[] = {
    {"PP=>L", 200002, 7, "Create a line passing through two points"},
    {"PL=>L Perp", 200007, 8,
     "Create a line through a point and perpendicular to a line"},
    {"PL=>L Par", 200011, 9,
     "Create a line through a point and parallel to a line"},
    {"PC=>L Tan", 200021, 10,
     "Create a line through a point and tangent to a circle"},
    {"CC=>Ex Tan", 200023, 11,
     "Create a line externally tangent to two circles"},
    {"CC=>In Tan", 200024, 12,
     "Create a line internally tangent to two circles"},
};
const panelbutton conicbuttons[] = {
    {"5P=>Con", 200040, 15, "Create a conic section passing through 5 points"},
};
const panelbutton circlebuttons[] = {
    {"Ctr Edg=>C", 200010, 13,
     "Create a circle from a center point and an edge point"},
    {"PPP=>C", 200027, 14, "Create a circle passing through 3 points"},
    {"Ctr PP=>C", 200044, 24,
     "Make a circle given its center with radius = distance between 2 "
     "points"},
};
const panelbutton anglebuttons[] = {
    {"PPP=>A", 200026, 22, "Given points A, B, C, make angle ABC"},
};
const panelbutton polygonbuttons[] = {
    {"P..P=>Poly", 200043, 25,
     "Create a polygon from a series of points.  Repeat the first point to "
     "close"},
};

#define N(a) (int)(sizeof a / sizeof a[0])

Fl_Button* panelbutton_(int x, int y, int w, int h, const char* label, int code,
                        const char* tip) {
  Fl_Button* b = new Fl_Button(x, y, w, h, label);
  b->labelsize(M().labelsize);
  b->tooltip(tip);
  b->callback(setlevel, (void*)(long)code);
  return b;
}

Fl_Button* roundbutton(int x, int y, const char* label, int code,
                       const char* tip) {
  Fl_Round_Button* b = new Fl_Round_Button(x, y, M().bw, M().bh, label);
  b->labelsize(M().labelsize);
  b->tooltip(tip);
  b->callback(setlevel, (void*)(long)code);
  return b;
}

void proofrow(column& c) {
  static const char* const labels[] = {"Off", "Start", "Next", "Prev"};
  static const int codes[] = {200233, 200234, 200235, 200232};
  static const char* const tips[] = {
      "No Proof Active", "Start a proof if there is one",
      "Go to the next step of a proof", "Go to the previous step of a proof"};
  title(c, "View Proof");
  for (int i = 0; i < 4; i++)
    uibuts[17 + i] = panelbutton_(c.x + 2 + i * M().proofstep, c.y, M().proofw,
                                  M().bh - 3, labels[i], codes[i], tips[i]);
  c.y += M().bh + 4;
}

void layerbuttons(column& c) {
  static char labels[NLAYERBUTS][4];
  static char tips[NLAYERBUTS][32];
  title(c, "Layer Control");
  layergroup = new Fl_Group(c.x + 2, c.y, sc(bigfont ? 180 : 140), sc(100));
  for (int n = 0; n < NLAYERBUTS; n++) {
    snprintf(labels[n], sizeof labels[n], "%d", n);
    snprintf(tips[n], sizeof tips[n], "Toggle display of layer %d", n);
    int x = c.x + 2 + (n % 4) * M().layerdx;
    int y = c.y + (n / 4) * (M().rowstep + 4);
    Fl_Round_Button* b = new Fl_Round_Button(x, y, sc(30), M().bh, labels[n]);
    b->labelsize(M().labelsize);
    b->tooltip(tips[n]);
    b->callback(setlevel, (void*)(long)(200100 + n));
    layerbuts[n] = b;
  }
  layerbuts[0]->value(1);
  layergroup->end();
  c.y += sc(100);
}

// The hooks through which the core and the state machine reach the panel.
void prompttofield(const char* text, int repeat) {
  showmessage(text);
  if (cancelrepeat) cancelrepeat->value(repeat ? 1 : 0);
}
void showlayerbuttons() {
  for (int n = 0; n < NLAYERBUTS; n++)
    if (layerbuts[n]) layerbuts[n]->value((layerset >> n) & 1);
}
int controlkeyheld() {
  return Fl::event_state(FL_CTRL) ? 1 : 0;
}

void setitem(int code, int active, int checked) {
  Fl_Menu_Item* m = menuitem(code);
  if (!m) return;
  if (active)
    m->activate();
  else
    m->deactivate();
  if (checked >= 0) {
    if (checked)
      m->set();
    else
      m->clear();
  }
}

// Where the label of a panel button must end: at the panel's right edge
// or at the next widget to its right in the same row.
int labellimit(const Fl_Widget* b) {
  int limit = controlpanel->x() + controlpanel->w();
  for (int i = 0; i < controlpanel->children(); i++) {
    const Fl_Widget* o = controlpanel->child(i);
    // Rows overlap by a few pixels, so the row is the button's middle line;
    // a title of the same column starts at its box, left of the label.
    int middle = b->y() + b->h() / 2;
    if (o != b && o->x() > b->x() + b->labelsize() && o->y() <= middle &&
        middle < o->y() + o->h())
      limit = std::min(limit, o->x());
  }
  return limit;
}

}  // namespace

void fitlabels() {
  for (int i = 0; i < controlpanel->children(); i++) {
    Fl_Light_Button* b = dynamic_cast<Fl_Light_Button*>(controlpanel->child(i));
    if (!b || !b->label()) continue;
    int limit = labellimit(b);
    for (;;) {
      int w = 0, h = 0;
      b->measure_label(w, h);
      // The box takes about the label size, with margins on both sides.
      int room = limit - b->x() - b->labelsize() - 7;
      if (w <= room || b->labelsize() <= 9) break;
      b->labelsize(b->labelsize() - 1);
    }
  }
}

void makeui() {
  scalemetrics();
  const metrics& m = M();
  menubar = new Fl_Menu_Bar(0, 0, WIDTH, MENUBARHEIGHT);
  menubar->menu(menutable);
  menubar->textsize(sc(bigfont ? 16 : 14));
  for (Fl_Menu_Item& it : menutable)
    if (it.label()) it.labelsize(sc(bigfont ? 16 : 14));
  gaplabels(menutable, N(menutable));

  controlpanel = new Fl_Group(WIDTH, 0, MENUWIDTH, 2000);
  column left = {WIDTH, WIDTH + 2, 2};
  column right = {WIDTH + MENUWIDTH / 2 + 1, WIDTH + MENUWIDTH / 2 + 4, 2};
  section(left, "Point", pointbuttons, N(pointbuttons));
  section(right, "Line", linebuttons, N(linebuttons));
  section(left, "Conic", conicbuttons, N(conicbuttons));
  section(right, "Circle", circlebuttons, N(circlebuttons));
  section(right, "Angle", anglebuttons, N(anglebuttons));
  section(left, "Polygon", polygonbuttons, N(polygonbuttons));
  swatchlabels(colortable, NCOLORITEMS, 200150, m.labelsize);
  choices[COLORCHOICE] = choice(left, "Color", colortable,
                                "Change color of current selected primitive");
  choices[POINTCHOICE] =
      choice(left, "Point Type", pointtable, "Change style of selected point");
  choices[LINECHOICE] = choice(right, "Line Type", linetable,
                               "Change display type of selected line");
  choices[ANGLECHOICE] = choice(right, "Angle Type", angletable,
                                "Change display type of selected angle");

  int y = std::max(left.y, right.y) + 2;
  statebuts[SHOWINVISBUT] = roundbutton(left.x + 2, y, "Show Invis", 200214,
                                        "Show invisible geometric objects");
  statebuts[SHOWTEXTBUT] =
      roundbutton(right.x, y, "Show Text", 200236,
                  "Show the textual description if there is one");
  statebuts[SHOWTEXTBUT]->value(1);
  y += m.rowstep + 4;
  Fl_Check_Button* rpt =
      new Fl_Check_Button(left.x + 2, y, m.bw - sc(30), m.bh, "Rpt Set Color");
  rpt->labelsize(m.labelsize);
  rpt->tooltip("Enter repeat mode to set the color of objects");
  rpt->when(FL_WHEN_CHANGED);
  rpt->callback(setlevel, (void*)(long)1200048);
  uibuts[COLORSLOT] = rpt;
  statebuts[RUNSCRIPTBUT] =
      panelbutton_(right.x, y, sc(85), m.bh, "Run Script", 200244,
                   "Run the script if there is one");
  statebuts[RUNSCRIPTBUT]->deactivate();
  y += m.bh + 4;
  promptfield = new Fl_Output(WIDTH + 2, y, MENUWIDTH - 5, m.promptheight);
  promptfield->textsize(m.labelsize);
  promptfield->tooltip("What Tessarin expects you to do");
  promptfield->value("Manipulation Mode");
  y += m.promptheight + 4;
  cancelrepeat = new Fl_Light_Button(WIDTH + 6, y, MENUWIDTH - 8, m.bh + 5,
                                     "Cancel Repeat Mode");
  cancelrepeat->labelsize(m.labelsize);
  cancelrepeat->tooltip("Get out of repeat creation or color-setting mode");
  cancelrepeat->callback(setlevel, (void*)(long)200219);
  y += m.bh + 5 + 4;
  column bottom = {WIDTH, WIDTH + 2, y};
  proofrow(bottom);
  layerbuttons(bottom);
  controlpanel->end();
  resetwidgets(1);

  prompthook = prompttofield;
  buttonshook = clearbuttons;
  ctrlhook = controlkeyheld;
  selecthook = updatemenus;
  layerbuttonshook = showlayerbuttons;
  inselectstatehook = inselectstate;
  resetstatehook = resetstatewidgets;
  scripthook = activatescript;
  updaterecentmenu();
}

Fl_Menu_Item* menuitem(int code) {
  for (Fl_Menu_Item& it : menutable)
    if (it.label() && it.callback() == menucallback &&
        (long)it.user_data() == code)
      return &it;
  return nullptr;
}

void clearbuttons(int n) {
  for (int i = 0; i < NUIBUTS; i++)
    if (uibuts[i]) uibuts[i]->value(0);
  if (n >= 0 && n < NUIBUTS && uibuts[n]) uibuts[n]->value(1);
}

void setlayerdisplay() {
  if (!layergroup) return;
  if (showthelayers)
    layergroup->show();
  else
    layergroup->hide();
  fitpanel();
}

// The lowest edge of the panel's shown widgets.
static int panelbottom() {
  int bottom = 0;
  for (int i = 0; i < controlpanel->children(); i++) {
    Fl_Widget* w = controlpanel->child(i);
    if (w->visible()) bottom = std::max(bottom, w->y() + w->h());
  }
  return bottom;
}

// A main window shorter than the panel would cut off its lower widgets (the
// layer buttons, or with big fonts everything below the choices); the window
// grows, and the drawing area with it, instead. When the panel fits again the
// window goes back to the height it had, unless the user resized it since.
static int heightbeforefit;  // 0 when the window was not grown
static int heightafterfit;

void fitpanel() {
  if (!controlpanel || !main_window || !geom_window) return;
  int bottom = panelbottom() + 4;
  int h = main_window->h();
  if (h < bottom) {
    if (!heightbeforefit) heightbeforefit = h;
    heightafterfit = bottom;
    main_window->size(main_window->w(), bottom);
  } else if (heightbeforefit && h == heightafterfit &&
             heightbeforefit >= bottom) {
    main_window->size(main_window->w(), heightbeforefit);
    heightbeforefit = 0;
  }
}

void activatescript() {
  if (statebuts[RUNSCRIPTBUT]) statebuts[RUNSCRIPTBUT]->activate();
}

void showmessage(const char* text) {
  if (!promptfield) return;
  promptfield->value(text);
  if (controlpanel) controlpanel->redraw();
}

void fixcontrolpanel() {
  if (controlpanel) controlpanel->redraw();
}

void updatemenus(primitive* p) {
  int testing = testingdiagram;
  setitem(200246, p != nullptr, p && p->display);
  setitem(200220, p != nullptr, -1);
  setitem(200240, p != nullptr, -1);
  setitem(200237, p != nullptr, -1);
  setitem(200231, p && p->type == RW_ANGLE, -1);
  setitem(200248, p && p->type == RW_TEXT, -1);
  setitem(100015, 1, dumpingeps);
  setitem(200245, 1, addvertexnames);
  setitem(200250, !testing, -1);
  setitem(200251, testing, -1);
  setitem(200253, 1, showthelayers);
  setundomenu();
  setlayerdisplay();
  setitem(200254, 1, defaultwidth == 2);
  setitem(200252, 1, showinfomsg);
}

void setmenu() {
  selectprim(pselected);
}

void menucallback(Fl_Widget*, void* code) {
  handlemenu((int)(long)code);
}

void setlevel(Fl_Widget*, void* code) {
  handlemenu((int)(long)code);
}

void setlevelp(Fl_Widget*, void* code) {
  int c = (int)(long)code;
  if (Fl::event_clicks() || Fl::event_state(FL_CTRL)) c += REPEATCODE;
  handlemenu(c);
}

void resetwidgets(int full) {
  if (full) {
    if (choices[COLORCHOICE]) choices[COLORCHOICE]->value(WHITEITEM);
    if (choices[LINECHOICE]) choices[LINECHOICE]->value(SEGMENTITEM);
    if (choices[ANGLECHOICE]) choices[ANGLECHOICE]->value(0);
    if (choices[POINTCHOICE]) choices[POINTCHOICE]->value(0);
    if (statebuts[SHOWTEXTBUT]) statebuts[SHOWTEXTBUT]->value(1);
    if (statebuts[SHOWINVISBUT]) statebuts[SHOWINVISBUT]->value(0);
    if (uibuts[COLORSLOT]) uibuts[COLORSLOT]->value(0);
  }
  if (cancelrepeat) cancelrepeat->value(0);
  clearbuttons(-1);
  showlayerbuttons();
  if (statebuts[RUNSCRIPTBUT]) statebuts[RUNSCRIPTBUT]->deactivate();
}

void resetui() {
  heightbeforefit = heightafterfit = 0;
  resetcommands();
  resetfiles();
  resetexportcmd();
  resetkeys();
  resetrelationswindow();
  resetundo();
  resetwidgets(1);
}
