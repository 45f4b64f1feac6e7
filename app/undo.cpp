// undo.cpp: the program's side of the history and of the recovery file.
#include "app/undo.h"

#include <FL/Fl.H>
#include <FL/Fl_Menu_Item.H>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/files.h"
#include "app/geomwindow.h"
#include "app/ui.h"
#include "history/history.h"
#include "history/recovery.h"
#include "language/parser.h"
#include "language/writer.h"
#include "model/notify.h"
#include "model/state.h"
#include "model/worldlist.h"

namespace {

const double RECOVERYSECONDS = 30;

// A turned wheel sends a click every few milliseconds, and each click
// taken in alone would write the whole diagram into the history. The
// clicks of one turn stay pending and go in as one step once the wheel has
// rested this long, or as soon as anything else begins.
const double WHEELREST = 0.25;

// A range of command codes and the name of the step they make.
struct actionrange {
  int from, to;
  const char* name;
};

const actionrange actions[] = {
    {200001, 200131, "Construction"}, {200049, 200049, "New Text"},
    {200100, 200115, "Layers"},       {200145, 200157, "Colour"},
    {200159, 200209, "Style"},        {200220, 200220, "Delete"},
    {200231, 200231, "Flip Angle"},   {200232, 200235, "Proof Step"},
    {200238, 200238, "Edit Geometry"}, {200240, 200240, "Edit Name"},
    {200244, 200244, "Script"},       {200246, 200246, "Show/Hide"},
    {200248, 200248, "Edit Text"},    {200350, 200355, "Width"},
    {100005, 100005, "Insert File"},
};

const char* actionname(int code) {
  // The most specific range wins: text and a few edits sit inside wider ones.
  const actionrange* best = nullptr;
  for (const actionrange& r : actions)
    if (code >= r.from && code <= r.to &&
        (!best || r.to - r.from < best->to - best->from))
      best = &r;
  return best ? best->name : "Change";
}

int viewmove(const char* action) {
  return action && (!strcmp(action, "Zoom") || !strcmp(action, "Rotate") ||
                    !strcmp(action, "Pan"));
}

int recoverywritten;  // this program's recovery file holds the present text

void followrecovery() {
  if (!dirtyfile) {
    recoveryremove();
    recoverywritten = 0;
    return;
  }
  recoveryprepare(currentfilename, historytext());
  // The first change after a clean state is written at once; later ones
  // wait for the timer.
  if (!recoverywritten) recoverywritten = recoverywrite();
}

void afterstep() {
  settitle();
  setundomenu();
  followrecovery();
}

void commit(const char* action) {
  historycommit(action, viewmove(action));
  afterstep();
}

void recoverytick(void*) {
  if (dirtyfile) {
    recoveryprepare(currentfilename, historytext());
    recoverywrite();
  }
  Fl::repeat_timeout(RECOVERYSECONDS, recoverytick);
}

void recoveryatexit() {
  recoveryremove();
}

char undolabel[64], redolabel[64];

void labelitem(int code, const char* verb, const char* action, char* buf) {
  Fl_Menu_Item* m = menuitem(code);
  if (!m) return;
  if (action)
    snprintf(buf, 64, "%s %s", verb, action);
  else
    snprintf(buf, 64, "%s", verb);
  m->label(buf);
  if (action)
    m->activate();
  else
    m->deactivate();
}

int wheelturn;  // the pending change is a turn of the wheel
void wheelrested(void*);

// Takes a turn in whether a button is held or not: a click that comes
// right after it must not fold the turn into what it starts.
void endwheelturn() {
  if (!wheelturn) return;
  wheelturn = 0;
  Fl::remove_timeout(wheelrested);
  if (changepending) commit(changename ? changename : "Zoom");
}

void wheelrested(void*) {
  endwheelturn();
}

}  // namespace

void beginchange() {
  endwheelturn();
  if (changepending) commitpending();
  historybegin();
}

void beginwheel() {
  if (!wheelturn) beginchange();
}

void endwheel() {
  // With a button held the change goes in with what the button does.
  if (!changepending || Fl::event_buttons()) return;
  wheelturn = 1;
  Fl::remove_timeout(wheelrested);
  Fl::add_timeout(WHEELREST, wheelrested);
}

void endchange(int code) {
  // Undo and redo are steps of their own; the ways out change nothing
  // but may drop the mark on purpose ("No" to saving, Quit-No Save).
  if (code == UNDOCODE || code == REDOCODE || code == 100007 || code == 200239)
    return;
  historybreak();
  commit(changename ? changename : actionname(code));
  historybreak();
}

void commitpending() {
  // A pointer moved between two clicks does not end the turn.
  if (wheelturn || !changepending || Fl::event_buttons()) return;
  commit(changename ? changename : "Construction");
}

void resetundo() {
  wheelturn = 0;
  Fl::remove_timeout(wheelrested);
}

void undocommand() {
  historyundo();
  afterstep();
  redrawgeometry();
}

void redocommand() {
  historyredo();
  afterstep();
  redrawgeometry();
}

void setundomenu() {
  labelitem(UNDOCODE, "Undo", historyundoname(), undolabel);
  labelitem(REDOCODE, "Redo", historyredoname(), redolabel);
}

void diagramloaded(int clean) {
  resetundo();  // a turn of the old diagram has nothing left to take in
  historyreset(clean);
  afterstep();
}

void diagramsaved() {
  historysaved();
  afterstep();
}

void deleteselected() {
  primitive* p = pselected;
  if (!p) return;
  if (!isreferenced(p)) {
    deleteprimitive(p);
    return;
  }
  int n = dependants(p, nullptr, 0);
  const char* name = p->label && *p->label ? p->label : primname(p);
  char question[200];
  snprintf(question, sizeof question,
           "Delete %.60s and the %d objects built on it?", name, n);
  if (askquestion(question))
    deletewithdependants(p);
  else
    alert("Cannot delete constrained primitive");
}

void offerrecovery(const char* diagram) {
  std::string found, text, name;
  if (!recoveryfind(diagram, &found)) return;
  char question[400];
  snprintf(question, sizeof question, "Recover unsaved changes to %.300s?",
           diagram && *diagram ? diagram : "No File Name");
  if (!askquestion(question)) {
    // No discards the changes: the file would otherwise be offered at
    // every start until the diagram's file was saved again.
    if (recoveryclaim(found, &text, &name)) recoveryremove();
    return;
  }
  if (!recoveryclaim(found, &text, &name)) return;
  clearbuffer();
  resetstate(1);
  if (!parsetext(text.c_str()))
    alert("The recovered diagram could not be read whole.");
  if (diagram && *diagram) setcurrentfilename(diagram);
  historyreset(0);
  recoverywritten = 0;
  afterstep();
  redrawgeometry();
}

void startrecovery() {
  recoverysignals();
  atexit(recoveryatexit);
  Fl::add_timeout(RECOVERYSECONDS, recoverytick);
}
