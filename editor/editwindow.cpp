// editwindow.cpp: the editor window with its menu and scrollbar, the view
// that draws the buffer and routes keys, clicks and pastes to the editor's
// commands, and the modal loop of one editing round.
#include "editor/editwindow.h"

#include <FL/Fl.H>
#include <FL/Fl_Double_Window.H>
#include <FL/Fl_Menu_Bar.H>
#include <FL/Fl_Scrollbar.H>
#include <FL/fl_ask.H>
#include <FL/fl_draw.H>

#include <cstdio>
#include <cstdlib>

#include "app/dialogscale.h"
#include "app/geomwindow.h"
#include "editor/editbuffer.h"
#include "editor/editcmds.h"
#include "editor/editgeom.h"
#include "editor/editkeys.h"
#include "model/notify.h"
#include "prefs/preffile.h"

Fl_Double_Window* editorwindow;
text_window* editview;
Fl_Scrollbar* editscroll;
Fl_Menu_Bar* editmenubar;

const int EDITORWIDTH = 700;
const int EDITORHEIGHT = 400;
const int EDITMENUHEIGHT = 20;
const int SCROLLWIDTH = 20;
const int TEXTLEFT = 5;  // pixels left of column 0
const int TEXTTOP = 3;   // pixels above row 0's band
const Fl_Color SELECTIONCOLOR = 47;
const Fl_Color CURSORCOLOR = 88;

int editorfontsize() {
  return scaledpixels(edittextsize >= 6 && edittextsize <= 32 ? edittextsize
                                                              : 12);
}

int getkeyboardcmd() {
  return keytocommand(Fl::event_key(), Fl::event_state());
}

// Asks the view to draw what the last command changed.
static void redrawdamage() {
  if (!editview) return;
  if (ed.mindamage == DAMAGEALL)
    editview->redraw();
  else if (ed.mindamage != DAMAGENONE)
    editview->damage(FL_DAMAGE_USER1);
}

static void docommand(int code) {
  handleeditorcmd(code);
  redrawdamage();
}

text_window::text_window(int x, int y, int w, int h) : Fl_Window(x, y, w, h) {
  box(FL_FLAT_BOX);
  color(FL_WHITE);
}

static int columnx(int col) {
  return TEXTLEFT + col * ed.charwidth;
}

void text_window::drawline(_line* l, int index, int row) {
  int y0 = row * ed.fontheight + TEXTTOP;
  fl_color(FL_WHITE);
  fl_rectf(0, y0, w(), ed.fontheight);
  _line *l1, *l2;
  int c1, c2;
  orderedselection(&l1, &c1, &l2, &c2);
  int i1 = lineindex(l1), i2 = lineindex(l2);
  int xa = columnx(dispcolumn(l1, c1)), xb = columnx(dispcolumn(l2, c2));
  if (selectionempty()) {
    if (index == ed.pointline) {
      fl_color(CURSORCOLOR);
      fl_yxline(xa, y0, y0 + ed.fontheight - 1);
      fl_yxline(xa + 1, y0, y0 + ed.fontheight - 1);
    }
  } else if (index >= i1 && index <= i2) {
    int left = index == i1 ? xa : 0;
    int right = index == i2 ? xb : w();
    fl_color(SELECTIONCOLOR);
    fl_rectf(left, y0, right - left, ed.fontheight);
  }
  fl_color(FL_BLACK);
  fl_draw(l->disp, TEXTLEFT, (row + 1) * ed.fontheight);
}

static void updatescrollbar() {
  if (!editscroll) return;
  editscroll->value(ed.topdisplineoffset, ed.displines, 0, ed.nlines + 5);
  editscroll->linesize(1);
}

void text_window::draw() {
  fl_font(FL_COURIER, editorfontsize());
  ed.fontheight = fl_height() > 0 ? fl_height() : 1;
  ed.charwidth = fl_width("a") >= 1 ? (int)fl_width("a") : 1;
  ed.displines = h() / ed.fontheight;
  int all = (damage() & ~FL_DAMAGE_USER1) || ed.mindamage == DAMAGEALL;
  if (all) {
    fl_color(FL_WHITE);
    fl_rectf(0, 0, w(), h());
  }
  int row = 0, index = ed.topdisplineoffset;
  for (_line* l = ed.topdispline; l && row * ed.fontheight < h();
       l = l->next, row++, index++) {
    if (all ||
        (ed.mindamage >= 0 && index >= ed.mindamage && index <= ed.maxdamage))
      drawline(l, index, row);
  }
  // Lines deleted at the end leave rows to clear.
  if (!all && ed.mindamage >= 0 && ed.maxdamage >= index) {
    fl_color(FL_WHITE);
    fl_rectf(0, row * ed.fontheight + TEXTTOP, w(), h());
  }
  ed.mindamage = ed.maxdamage = DAMAGENONE;
  updatescrollbar();
}

// The line and character under window position (x, y).
static void positionat(int x, int y, _line** l, int* c) {
  int row = y < 0 ? 0 : y / ed.fontheight;
  *l = lineat(ed.topdisplineoffset + row);
  int col = (x - TEXTLEFT + ed.charwidth / 2) / ed.charwidth;
  *c = charatcolumn(*l, col < 0 ? 0 : col);
}

void text_window::clicked(int x, int y, int extend) {
  _line* l;
  int c;
  positionat(x, y, &l, &c);
  damageall();
  if (!extend) {
    setcursor(l, c);
    return;
  }
  // The end farther from the click stays; the click moves the other.
  int i = lineindex(l);
  int dp = abs(i - ed.pointline) * 100000 + abs(c - ed.pointchar);
  int dm = abs(i - ed.markline) * 100000 + abs(c - ed.markchar);
  if (dm > dp) setpoint(ed.mark, ed.markchar);
  setmark(l, c);
}

void text_window::dragged(int x, int y) {
  if (y < 0 && ed.topdisplineoffset > 0)
    settopline(ed.topdisplineoffset - 1);
  else if (y > h() && ed.topdisplineoffset + ed.displines + 5 <= ed.nlines)
    settopline(ed.topdisplineoffset + 1);
  _line* l;
  int c;
  positionat(x, y > h() ? h() - 1 : y, &l, &c);
  setmark(l, c);
  damageall();
}

int text_window::handle(int event) {
  switch (event) {
    case FL_PUSH:
      take_focus();
      clicked(Fl::event_x(), Fl::event_y(), Fl::event_state(FL_SHIFT));
      break;
    case FL_DRAG:
    case FL_RELEASE: dragged(Fl::event_x(), Fl::event_y()); break;
    case FL_KEYBOARD: {
      int code = getkeyboardcmd();
      handleeditorcmd(code);
      // Keys without a command (Escape among them) stop here too, so
      // that none of them closes the window behind the editor's back.
      break;
    }
    case FL_PASTE: pastetext(Fl::event_text(), Fl::event_length()); break;
    case FL_SHOW:
      damageall();
      Fl_Window::handle(event);
      break;
    case FL_ENTER:
    case FL_LEAVE:
    case FL_FOCUS:
    case FL_UNFOCUS:
    case FL_MOVE: break;
    default: return Fl_Window::handle(event);  // everything else
  }
  redrawdamage();
  return 1;
}

static void menucommand(Fl_Widget*, void* code) {
  docommand((int)(long)code);
}

static void scrolled(Fl_Widget*, void*) {
  settopline(editscroll->value());
  redrawdamage();
}

// The window's close box returns to the diagram with the text as edited.
static void closeeditor(Fl_Widget*, void*) {
  if (Fl::event() == FL_SHORTCUT && Fl::event_key() == FL_Escape) return;
  docommand(EC_SAVE);
}

static void copytoclipboard(const char* text, int length) {
  Fl::copy(text, length, 1);
}

static void askforpaste() {
  if (editview) Fl::paste(*editview, 1);
}

static const char* askforstring(const char* prompt, const char* previous) {
  return fl_input("%s", previous, prompt);
}

static void hideeditor() {
  if (editorwindow) editorwindow->hide();
  if (geom_window) geom_window->take_focus();
}

static void bindeditorhooks() {
  editcopyhook = copytoclipboard;
  editpastehook = askforpaste;
  editaskhook = askforstring;
  edithidehook = hideeditor;
  editorrunhook = runeditor;
}

#define EDITITEM(label, key, code) \
  { label, key, menucommand, (void*)(long)(code), 0, 0, 0, 0, 0 }

static Fl_Menu_Item editmenu[] = {
    {"File", 0, nullptr, nullptr, FL_SUBMENU, 0, 0, 0, 0},
    EDITITEM("Save and Return to Tessarin", FL_COMMAND + 's', EC_SAVE),
    EDITITEM("Quit (No Save)", FL_COMMAND + FL_SHIFT + 'q', EC_QUITNOSAVE),
    EDITITEM("Quit Tessarin", 0, EC_QUITPROGRAM),
    {nullptr, 0, nullptr, nullptr, 0, 0, 0, 0, 0},
    {"Edit", 0, nullptr, nullptr, FL_SUBMENU, 0, 0, 0, 0},
    EDITITEM("Cut", FL_COMMAND + 'x', EC_CUT),
    EDITITEM("Copy", FL_COMMAND + 'c', EC_COPY),
    EDITITEM("Paste", FL_COMMAND + 'v', EC_PASTE),
    EDITITEM("Find", FL_COMMAND + 'f', EC_FIND),
    {nullptr, 0, nullptr, nullptr, 0, 0, 0, 0, 0},
    {nullptr, 0, nullptr, nullptr, 0, 0, 0, 0, 0}};

static void buildeditorwindow() {
  if (editorwindow) return;
  if (!ed.top) reseteditor();
  int normal = unscaledfonts();
  editorwindow = new Fl_Double_Window(EDITORWIDTH, EDITORHEIGHT);
  editorwindow->callback(closeeditor);
  editmenubar = new Fl_Menu_Bar(0, 0, EDITORWIDTH, EDITMENUHEIGHT);
  editmenubar->menu(editmenu);
  editmenubar->textsize(bigfont ? 16 : 14);
  int texth = EDITORHEIGHT - EDITMENUHEIGHT;
  editscroll = new Fl_Scrollbar(EDITORWIDTH - SCROLLWIDTH, EDITMENUHEIGHT,
                                SCROLLWIDTH, texth);
  editscroll->type(FL_VERTICAL);
  editscroll->callback(scrolled);
  editview =
      new text_window(0, EDITMENUHEIGHT, EDITORWIDTH - SCROLLWIDTH, texth);
  editview->end();
  editorwindow->resizable(editview);
  editorwindow->end();
  scalewindow(editorwindow, normal);
  bindeditorhooks();
}

void makeeditorwindow() {
  if (!editorwindow) {
    buildeditorwindow();
    return;
  }
  runeditor();
}

// Loads the file being edited; 0 when it cannot be read.
static int readgeomfile() {
  FILE* f = fopen(ed.editpath, "r");
  if (!f) {
    alert("Can't open %s", ed.editpath);
    return 0;
  }
  readfile(f);
  fclose(f);
  return 1;
}

int runeditor() {
  buildeditorwindow();
  bindeditorhooks();
  ed.editdone = 0;
  if (!readgeomfile()) return ed.editdone = 1;
  editorwindow->label("Edit Geometry");
  editorwindow->set_modal();
  editorwindow->show();
  editview->show();
  editview->take_focus();
  editorwindow->position(editorwindow->x() + 1, editorwindow->y() + 1);
  damageall();
  redrawdamage();
  while (!ed.editdone) {
    Fl::wait();
    // Hidden without a done code: the copy on disk, untouched by this
    // round, is what the caller reads back.
    if (!ed.editdone && !editorwindow->shown()) ed.editdone = 1;
  }
  return ed.editdone;
}

int editgeometry() {
  buildeditorwindow();
  editorrunhook = runeditor;
  return editgeomtext();
}

int editfile(const char* path, int line) {
  buildeditorwindow();
  editorrunhook = runeditor;
  return editfiletext(path, line);
}
