// editundo.cpp: undo and redo in the diagram text editor, as snapshots of
// the buffer's text and cursor (a buffer is one diagram's text: small).
#include "editor/editundo.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "editor/editbuffer.h"

namespace {

struct snapshot {
  std::string text;
  int line, chr;
};

std::vector<snapshot> undos, redos;
int runkind;  // the kind of the run under way, 0 none
const size_t MAXSTEPS = 1000;

snapshot take() {
  snapshot s;
  char* t = buffertext();
  s.text = t ? t : "";
  free(t);
  s.line = ed.pointline;
  s.chr = ed.pointchar;
  return s;
}

void put(const snapshot& s) {
  FILE* f = fmemopen((void*)s.text.data(), s.text.size(), "r");
  int start = ed.starteditline;
  ed.starteditline = 1;
  // Loading empties the history: keep it across this loading.
  std::vector<snapshot> u, r;
  u.swap(undos);
  r.swap(redos);
  readfile(s.text.empty() ? nullptr : f);
  undos.swap(u);
  redos.swap(r);
  if (f) fclose(f);
  ed.starteditline = start;
  setcursor(lineat(s.line), s.chr);
  ed.dirtyfile = 1;
  damageall();
  runkind = 0;
}

}  // namespace

void editundobegin(int kind) {
  if (kind == runkind && kind != EDIT_OTHER) return;
  undos.push_back(take());
  if (undos.size() > MAXSTEPS) undos.erase(undos.begin());
  redos.clear();
  runkind = kind;
}

void editundobreak() {
  runkind = 0;
}

int editundo() {
  if (undos.empty()) return 0;
  redos.push_back(take());
  snapshot s = std::move(undos.back());
  undos.pop_back();
  put(s);
  return 1;
}

int editredo() {
  if (redos.empty()) return 0;
  undos.push_back(take());
  snapshot s = std::move(redos.back());
  redos.pop_back();
  put(s);
  return 1;
}

int editundocount() {
  return (int)undos.size();
}

int editredocount() {
  return (int)redos.size();
}

void reseteditundo() {
  undos.clear();
  redos.clear();
  runkind = 0;
}
