// options.cpp: the "Edit Preferences" dialog: its widgets, their immediate
// effects, and the Cancel, Defaults and Save buttons.
#include "prefs/options.h"

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Check_Button.H>
#include <FL/Fl_Choice.H>
#include <FL/Fl_Input.H>
#include <FL/Fl_Int_Input.H>
#include <FL/Fl_Tooltip.H>
#include <FL/Fl_Window.H>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/dialogscale.h"
#include "app/geomwindow.h"
#include "app/startup.h"
#include "engine/continuity.h"
#include "model/notify.h"
#include "model/worldlist.h"
#include "postscript/eps.h"
#include "prefs/prefchoices.h"
#include "prefs/preffile.h"
#include "render/colors.h"
#include "render/view.h"

Fl_Window* optionswindow;
Fl_Int_Input* intwidthinput;
Fl_Int_Input* intheightinput;
Fl_Choice* choicefont;
Fl_Choice* choicestyle;
Fl_Choice* choicesize;
Fl_Choice* choiceeditsize;
Fl_Choice* choicevertexsize;
Fl_Choice* choicescale;
Fl_Check_Button* rgbbut;
Fl_Check_Button* bwbut;
Fl_Check_Button* tipsbut;
Fl_Check_Button* vertbut;
Fl_Check_Button* layerbut;
Fl_Check_Button* infobut;
Fl_Check_Button* bigfontbut;
Fl_Check_Button* continuousbut;
Fl_Check_Button* smoothbut;
Fl_Input* printinput;

const int OPTIONSWIDTH = 400;
const int OPTIONSHEIGHT = 249;
const int ROWSTEP = 24;
const int DIALOGTEXTSIZE = 12;

// Menu states follow the settings (the layer buttons among them).
static void setmenu() {
  selectprim(pselected);
}

static void widthchanged(Fl_Widget*, void*) {
  WIDTH = atoi(intwidthinput->value());
}

static void heightchanged(Fl_Widget*, void*) {
  HEIGHT = atoi(intheightinput->value());
}

static void fontchanged(Fl_Widget*, void*) {
  fontnumber = fontchoices[choicefont->value()].value;
}

static void stylechanged(Fl_Widget*, void*) {
  fontstyle = stylechoices[choicestyle->value()].value;
}

static void sizechanged(Fl_Widget*, void*) {
  fontsize = gfontsize = sizechoices[choicesize->value()].value;
}

static void editsizechanged(Fl_Widget*, void*) {
  edittextsize = sizechoices[choiceeditsize->value()].value;
}

static void vertexsizechanged(Fl_Widget*, void*) {
  gvertexsize = sizechoices[choicevertexsize->value()].value;
}

// The check buttons: each writes the int its user data points at.
static void checkchanged(Fl_Widget* w, void* flag) {
  *(int*)flag = ((Fl_Check_Button*)w)->value();
}

static void layerschanged(Fl_Widget* w, void* flag) {
  checkchanged(w, flag);
  setmenu();
}

static void tooltipschanged(Fl_Widget* w, void* flag) {
  checkchanged(w, flag);
  Fl_Tooltip::enable(showinfomsg);
}

static void bigfontchanged(Fl_Widget* w, void* flag) {
  checkchanged(w, flag);
  showmessagewindow("Restart Tessarin to effect change", 1);
}

static void smoothchanged(Fl_Widget* w, void* flag) {
  checkchanged(w, flag);
  redrawgeometry();
}

// The drawing follows at once; the panel and the menus are laid out at
// start-up.
static void scalechanged(Fl_Widget*, void*) {
  scalechoice = scalechoices[choicescale->value()].value;
  setscreenscale(chosenscale());
  redrawgeometry();
  showmessagewindow("Restart Tessarin to effect change", 1);
}

static void printchanged(Fl_Widget*, void*) {
  snprintf(printcmdstring, PRINTCMDSIZE, "%s", printinput->value());
}

static void cancelpressed(Fl_Widget* w, void*) {
  closeoptions(w, 1);
}

static void savepressed(Fl_Widget* w, void*) {
  closeoptions(w, 0);
}

static void defaultspressed(Fl_Widget*, void*) {
  defaults();
}

static void label(int x, int y, const char* text) {
  Fl_Box* b = new Fl_Box(x, y, 10, 20, text);
  b->align(FL_ALIGN_LEFT | FL_ALIGN_INSIDE);
}

static Fl_Choice* choice(int x, int y, int w, const prefchoice* items, int n,
                         Fl_Callback* cb) {
  Fl_Choice* c = new Fl_Choice(x, y, w, 20);
  for (int i = 0; i < n; i++) c->add(items[i].label);
  c->callback(cb);
  return c;
}

static Fl_Check_Button* check(int x, int y, const char* text, int* flag,
                              Fl_Callback* cb = checkchanged) {
  Fl_Check_Button* b = new Fl_Check_Button(x, y, 200, 24, text);
  b->callback(cb, flag);
  return b;
}

static Fl_Int_Input* intinput(int x, int y, const char* text, Fl_Callback* cb) {
  Fl_Int_Input* in = new Fl_Int_Input(x, y, 50, 20, text);
  in->when(FL_WHEN_CHANGED);
  in->callback(cb);
  return in;
}

static void buildrows(int y) {
  label(3, y, "Draw Area Size:");
  intwidthinput = intinput(160, y, "Width=", widthchanged);
  intheightinput = intinput(270, y, "Height=", heightchanged);
  y += ROWSTEP;
  label(3, y, "Font:");
  choicefont = choice(50, y, 90, fontchoices, NFONTCHOICES, fontchanged);
  choicestyle = choice(150, y, 90, stylechoices, NSTYLECHOICES, stylechanged);
  choicesize = choice(250, y, 70, sizechoices, NSIZECHOICES, sizechanged);
  y += ROWSTEP;
  label(3, y, "Edit Text Size:");
  choiceeditsize =
      choice(100, y, 70, sizechoices, NSIZECHOICES, editsizechanged);
  label(203, y, "Point Size:");
  choicevertexsize =
      choice(285, y, 70, sizechoices, NSIZECHOICES, vertexsizechanged);
  y += ROWSTEP;
  rgbbut = check(3, y, "RGB Mode", &rgbmode);
  bwbut = check(200, y, "Print Black and White", &printbw);
  y += ROWSTEP;
  tipsbut = check(3, y, "Show Tips on Startup", &showthetips);
  vertbut = check(200, y, "Create Point Names", &addvertexnames);
  y += ROWSTEP;
  layerbut = check(3, y, "Show Layers", &showthelayers, layerschanged);
  infobut = check(200, y, "Show Tool Tips", &showinfomsg, tooltipschanged);
  y += ROWSTEP;
  bigfontbut = check(3, y, "Large UI Font", &bigfont, bigfontchanged);
  continuousbut =
      check(200, y, "Keep intersections continuous", &keepcontinuous);
  y += ROWSTEP;
  smoothbut = check(3, y, "Smooth Drawing", &smoothdrawing, smoothchanged);
  label(203, y, "Scale:");
  choicescale = choice(250, y, 90, scalechoices, NSCALECHOICES, scalechanged);
  y += ROWSTEP;
  printinput = new Fl_Input(78, y, 320, 20, "Print cmd:");
  printinput->when(FL_WHEN_CHANGED);
  printinput->callback(printchanged);
  y += ROWSTEP + 5;
  (new Fl_Button(140, y, 80, 22, "Cancel"))->callback(cancelpressed);
  (new Fl_Button(225, y, 80, 22, "Defaults"))->callback(defaultspressed);
  (new Fl_Button(310, y, 80, 22, "Save"))->callback(savepressed);
}

static void buildoptions() {
  int normal = unscaledfonts();
  optionswindow =
      new Fl_Window(OPTIONSWIDTH, OPTIONSHEIGHT, "Edit Preferences");
  buildrows(3);
  optionswindow->end();
  // The rows' fixed positions leave room for labels of this size only.
  for (int i = 0; i < optionswindow->children(); i++)
    optionswindow->child(i)->labelsize(DIALOGTEXTSIZE);
  scalewindow(optionswindow, normal);
  // The window's close box is Cancel.
  optionswindow->callback(cancelpressed);
}

static void setintinput(Fl_Int_Input* in, int v) {
  char buf[16];
  snprintf(buf, sizeof buf, "%d", v);
  in->value(buf);
}

static int choiceindex(const prefchoice* items, int n, int value) {
  for (int i = 0; i < n; i++)
    if (items[i].value == value) return i;
  return 0;
}

void setoptionvalues() {
  if (!optionswindow) return;
  setintinput(intwidthinput, WIDTH);
  setintinput(intheightinput, HEIGHT);
  choicefont->value(choiceindex(fontchoices, NFONTCHOICES, fontnumber));
  choicestyle->value(choiceindex(stylechoices, NSTYLECHOICES, fontstyle));
  choicesize->value(nearestfontsize(fontsize));
  choiceeditsize->value(nearestfontsize(edittextsize));
  choicevertexsize->value(nearestfontsize(gvertexsize));
  choicescale->value(choiceindex(scalechoices, NSCALECHOICES, scalechoice));
  rgbbut->value(rgbmode != 0);
  bwbut->value(printbw != 0);
  tipsbut->value(showthetips != 0);
  vertbut->value(addvertexnames != 0);
  layerbut->value(showthelayers != 0);
  infobut->value(showinfomsg != 0);
  bigfontbut->value(bigfont != 0);
  continuousbut->value(keepcontinuous != 0);
  smoothbut->value(smoothdrawing != 0);
  printinput->value(printcmdstring);
}

void changeoptions() {
  if (!optionswindow) buildoptions();
  setoptionvalues();
  if (main_window)
    optionswindow->position(
        main_window->x() + main_window->w() / 2 - OPTIONSWIDTH / 2,
        main_window->y() + main_window->h() / 2 - OPTIONSHEIGHT / 2);
  optionswindow->set_modal();
  optionswindow->show();
}

void defaults() {
  setdefaultprefs();
  setoptionvalues();
}

void clampdrawsize() {
  if (WIDTH < 200) WIDTH = 200;
  if (HEIGHT < 200) HEIGHT = 200;
  if (WIDTH > 8191) WIDTH = 8191;
  if (HEIGHT > 8191) HEIGHT = 8191;
}

void closeoptions(Fl_Widget*, int cancel) {
  if (optionswindow) optionswindow->hide();
  clampdrawsize();
  if (!cancel) savedefaults();  // alerts itself when it cannot
  reshapeall(WIDTH, HEIGHT);
  setmenu();
}
