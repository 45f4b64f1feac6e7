// history.cpp: undo and redo of the diagram as snapshots of its own text.
//
// Each state has an id; the saved state's id is kept, so the modified mark
// after any undo or redo is simply "present id differs from saved id".
// The undo stack drops its oldest steps past HISTORYSTEPS or HISTORYBYTES.
#include "history/history.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <deque>

#include "language/parser.h"
#include "language/symtable.h"
#include "language/writer.h"
#include "model/notify.h"
#include "model/state.h"
#include "model/worldlist.h"

namespace {

struct step {
  std::string text;     // the diagram in this state
  std::string selname;  // the selected record's name in it ("" none)
  int selindex;         // its place in the list, for records without names
  const char* action;   // the change between this state and the next
  int id;
};

std::deque<step> undos;
std::deque<step> redos;
std::string current;
int currentid, savedid = 0, nextid = 1;
size_t bytes;  // text held by undos and redos
int markbefore;  // the modified mark when the change began

std::string selbefore;
int selindexbefore = -1, began;
const char* burstaction;  // the last step's action while it may grow
double lastcommit;

double now() {
  using namespace std::chrono;
  return duration<double>(steady_clock::now().time_since_epoch()).count();
}

std::string writtentext() {
  char* buf = nullptr;
  size_t size = 0;
  FILE* f = open_memstream(&buf, &size);
  if (!f) return current;  // out of memory: record nothing
  printdiagram(f);
  fclose(f);
  std::string s(buf, size);
  free(buf);
  return s;
}

void selectionof(std::string* name, int* index) {
  name->clear();
  *index = -1;
  if (!pselected) return;
  *name = primname(pselected);
  int i = 0;
  for (primitive* p = plist; p; p = p->next, i++)
    if (p == pselected) *index = i;
}

void setmark() {
  dirtyfile = currentid != savedid;
  markbefore = dirtyfile;  // a save or an undo inside a command holds
  changepending = 0;
  changename = nullptr;
  if (dirtyhook) dirtyhook();
}

void trim() {
  while (!undos.empty() &&
         ((int)undos.size() > HISTORYSTEPS || bytes > HISTORYBYTES)) {
    bytes -= undos.front().text.size();
    undos.pop_front();
  }
}

void clearredos() {
  for (const step& s : redos) bytes -= s.text.size();
  redos.clear();
}

step held;  // the state historyhold keeps aside

// Reads a state's text in place of the diagram and selects its record.
void restore(const step& s) {
  clearbuffer();  // the palette too: a state may lack an entry of this one
  resetstate(0);
  if (!parsetext(s.text.c_str()))
    alert("The diagram could not be read back from the history.");
  primitive* sel = nullptr;
  if (!s.selname.empty() && idtable)
    if (symtableentry* e = lookup(idtable, s.selname.c_str())) sel = e->prim;
  if (!sel && s.selindex >= 0 && s.selname.empty()) {
    int i = 0;
    for (primitive* p = plist; p && !sel; p = p->next, i++)
      if (i == s.selindex) sel = p;
  }
  selectprim(sel);
}

// The present state as a step, for the opposite stack.
step present(const char* action) {
  step s{current, "", -1, action, currentid};
  selectionof(&s.selname, &s.selindex);
  return s;
}

// One step from `from` to `to`: the present state goes onto `to` under
// the step's action and the step's state is read back. A pending change
// is committed first (which empties the redo steps).
int travel(std::deque<step>* from, std::deque<step>* to) {
  if (changepending) historycommit(changename ? changename : "Change", 0);
  if (from->empty()) return 0;
  step s = std::move(from->back());
  from->pop_back();
  bytes -= s.text.size();
  step back = present(s.action);
  bytes += back.text.size();
  to->push_back(std::move(back));
  current = s.text;
  currentid = s.id;
  restore(s);
  burstaction = nullptr;
  trim();
  setmark();
  return 1;
}

}  // namespace

void historyreset(int clean) {
  undos.clear();
  redos.clear();
  bytes = 0;
  current = writtentext();
  currentid = nextid++;
  savedid = clean ? currentid : 0;
  burstaction = nullptr;
  began = 0;
  setmark();
}

void historybegin() {
  selectionof(&selbefore, &selindexbefore);
  markbefore = dirtyfile;
  began = 1;
}

int historycommit(const char* action, int burst) {
  std::string text = writtentext();
  int changed = text != current;
  if (changed) {
    clearredos();
    double t = now();
    int grow = burst && burstaction == action && t - lastcommit < 1.0 &&
               !undos.empty();
    if (!grow) {
      step s{std::move(current), selbefore, selindexbefore, action, currentid};
      if (!began) selectionof(&s.selname, &s.selindex);
      bytes += s.text.size();
      undos.push_back(std::move(s));
    }
    current = std::move(text);
    currentid = nextid++;
    burstaction = burst ? action : nullptr;
    lastcommit = t;
    trim();
    setmark();
  } else {
    // Nothing a save would write changed: the mark is what it was when
    // the change began (a mark set without a begin is left alone).
    if (began) dirtyfile = markbefore || currentid != savedid;
    changepending = 0;
    changename = nullptr;
    if (dirtyhook) dirtyhook();
  }
  began = 0;
  return changed;
}

void historybreak() {
  burstaction = nullptr;
}

int historyundo() {
  return travel(&undos, &redos);
}

int historyredo() {
  return travel(&redos, &undos);
}

const char* historyundoname() {
  return undos.empty() ? nullptr : undos.back().action;
}

const char* historyredoname() {
  return redos.empty() ? nullptr : redos.back().action;
}

void historysaved() {
  if (changepending) historycommit(changename ? changename : "Change", 0);
  savedid = currentid;
  burstaction = nullptr;
  setmark();
}

void historyhold() {
  if (changepending) historycommit(changename ? changename : "Change", 0);
  held = present(nullptr);
}

void historyputback() {
  restore(held);
  current = held.text;
  dirtyfile = currentid != savedid;
  changepending = 0;
  changename = nullptr;
  if (dirtyhook) dirtyhook();
}

const std::string& historytext() {
  return current;
}

int historyundocount() {
  return (int)undos.size();
}

int historyredocount() {
  return (int)redos.size();
}

size_t historybytes() {
  return bytes;
}

void resethistory() {
  undos.clear();
  redos.clear();
  current.clear();
  bytes = 0;
  currentid = savedid = 0;
  nextid = 1;
  selbefore.clear();
  selindexbefore = -1;
  began = markbefore = 0;
  burstaction = nullptr;
  lastcommit = 0;
  held = step{"", "", -1, nullptr, 0};
}
