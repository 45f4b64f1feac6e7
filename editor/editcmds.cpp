// editcmds.cpp: the editor's command dispatcher and the commands that move
// the cursor, kill text, copy, paste, find, save and quit.
#include "editor/editcmds.h"

#include <cstdlib>
#include <cstring>

#include "editor/editbuffer.h"
#include "editor/editgeom.h"
#include "editor/editundo.h"
#include "model/notify.h"

void (*editcopyhook)(const char* text, int length);
void (*editpastehook)();
const char* (*editaskhook)(const char* prompt, const char* previous);
void (*edithidehook)();

void reseteditorhooks() {
  editcopyhook = nullptr;
  editpastehook = nullptr;
  editaskhook = nullptr;
  edithidehook = nullptr;
  editorrunhook = nullptr;
}

// Both ends of the selection move to (l, c); the lines they leave and
// reach are redrawn.
static void movecursor(_line* l, int c) {
  damageline(ed.pointline);
  damageline(ed.markline);
  setcursor(l, c);
  damageline(ed.pointline);
}

static void verticalmove(int direction) {
  _line* l = direction < 0 ? ed.point->prev : ed.point->next;
  if (ed.goalcolumn < 0) ed.goalcolumn = ed.pointchar;
  if (!l) return;
  movecursor(l, ed.goalcolumn);
}

static void moveleft() {
  if (ed.pointchar > 0)
    movecursor(ed.point, ed.pointchar - 1);
  else if (ed.point->prev)
    movecursor(ed.point->prev, ed.point->prev->length - 1);
}

static void moveright() {
  if (ed.pointchar < ed.point->length - 1)
    movecursor(ed.point, ed.pointchar + 1);
  else if (ed.point->next)
    movecursor(ed.point->next, 0);
}

static void killline() {
  _line* l = ed.point;
  if (ed.pointchar < l->length - 1)
    deleterange(l, ed.pointchar, l, l->length - 1);
  else if (l->next)
    deleterange(l, ed.pointchar, l->next, 0);
}

static void deletecmd() {
  if (!selectionempty()) {
    _line *l1, *l2;
    int c1, c2;
    orderedselection(&l1, &c1, &l2, &c2);
    movecursor(l1, c1);
  }
  _line* l = ed.point;
  if (ed.pointchar < l->length - 1)
    deleterange(l, ed.pointchar, l, ed.pointchar + 1);
  else if (l->next)
    deleterange(l, ed.pointchar, l->next, 0);
}

static void openline() {
  _line* l = ed.point;
  int at = ed.pointchar;
  insertnewline();
  movecursor(l, at);
}

void docopy() {
  if (selectionempty()) return;
  _line *l1, *l2;
  int c1, c2;
  orderedselection(&l1, &c1, &l2, &c2);
  size_t n = 0;
  for (_line* l = l1;; l = l->next) {
    n += (l == l2 ? c2 : l->length) - (l == l1 ? c1 : 0);
    if (l == l2) break;
  }
  char* s = (char*)malloc(n + 1);
  if (!s) return;
  char* p = s;
  for (_line* l = l1;; l = l->next) {
    int from = l == l1 ? c1 : 0, to = l == l2 ? c2 : l->length;
    memcpy(p, l->linetext + from, to - from);
    p += to - from;
    if (l == l2) break;
  }
  *p = 0;
  if (editcopyhook) editcopyhook(s, (int)n);
  free(s);
}

// Finds s in l from character from on, without crossing the line end;
// the match's index or -1.
static int findinline(const _line* l, int from, const char* s, int n) {
  for (int i = from; i + n <= l->length - 1; i++)
    if (!memcmp(l->linetext + i, s, n)) return i;
  return -1;
}

int findstringforward(const char* s) {
  int n = (int)strlen(s);
  if (n == 0) return 0;
  _line *l1, *l2;
  int c1, c2;
  orderedselection(&l1, &c1, &l2, &c2);
  int from = c2;
  for (_line* l = l2; l; l = l->next, from = 0) {
    int at = findinline(l, from, s, n);
    if (at < 0) continue;
    damageline(ed.pointline);
    damageline(ed.markline);
    setpoint(l, at);
    setmark(l, at + n);
    damageline(ed.pointline);
    return 1;
  }
  return 0;
}

void dofind() {
  if (!editaskhook) return;
  const char* s = editaskhook("String to search for:", ed.findstring);
  if (!s || !*s) return;
  strncpy(ed.findstring, s, FINDSTRINGSIZE - 1);
  ed.findstring[FINDSTRINGSIZE - 1] = 0;
  findstringforward(ed.findstring);
}

void pastetext(const char* text, int length) {
  if (!ed.pasteenabled) return;
  ed.pasteenabled = 0;
  editundobegin(EDIT_OTHER);
  for (int i = 0; i < length; i++) {
    char c = text[i];
    if (c == '\r' && i + 1 < length && text[i + 1] == '\n') continue;
    if (c == '\n' || c == '\r')
      insertnewline();
    else if (c)
      insertchar((unsigned char)c);
  }
  showselection();
}

static void finishediting(int code) {
  ed.editdone = code;
  if (edithidehook) edithidehook();
}

// Writes the buffer to the file being edited; 1 when every byte reached it.
static int savebuffer() {
  FILE* f = fopen(ed.editpath, "w");
  if (!f) {
    alert("Can't write %s", ed.editpath);
    return 0;
  }
  int ok = writefile(f);
  if (fclose(f) != 0) ok = 0;
  if (!ok) alert("Can't write %s", ed.editpath);
  return ok;
}

static void saveandreturn() {
  if (savebuffer()) finishediting(1);
}

// Back to the text as it was before editing; the edits are dropped.
static void quitnosave() {
  FILE* f = fopen(ed.origpath, "r");
  if (!f) {
    alert("Can't open %s", ed.origpath);
    return;
  }
  int line = ed.starteditline;
  ed.starteditline = 1;
  readfile(f);
  ed.starteditline = line;
  fclose(f);
  if (savebuffer()) finishediting(1);
}

static void quitprogram() {
  if (askquestion("Do you really want to exit from Tessarin entirely?"))
    finishediting(2);
}

// Commands that change the text.
// The kind of edit a command makes, for the undo history; 0 for commands
// that change no text (a paste changes it when its text arrives).
static int editkind(int code) {
  if (code < 500 || code == EC_TAB) return EDIT_TYPING;
  switch (code) {
    case EC_BACKSPACE:
    case EC_BACKSPACE2:
    case EC_DELETE: return EDIT_DELETING;
    case EC_NEWLINE:
    case EC_CUT:
    case EC_KILLLINE:
    case EC_KILLBACK:
    case EC_OPENLINE: return EDIT_OTHER;
    default: return 0;  // moves, copy, find, paste, save, quit
  }
}

static int editingcommand(int code) {
  switch (code) {
    case EC_UNDO: editundo(); break;
    case EC_REDO: editredo(); break;
    case EC_TAB: insertchar('\t'); break;
    case EC_NEWLINE: insertnewline(); break;
    case EC_BACKSPACE:
    case EC_BACKSPACE2: backspacecmd(); break;
    case EC_CUT:
      docopy();
      deleteselection();
      break;
    case EC_PASTE:
      ed.pasteenabled = 1;
      if (editpastehook) editpastehook();
      break;
    case EC_KILLLINE: killline(); break;
    case EC_KILLBACK:
      if (ed.pointchar > 0) deleterange(ed.point, 0, ed.point, ed.pointchar);
      break;
    case EC_DELETE: deletecmd(); break;
    case EC_OPENLINE: openline(); break;
    default: return 0;  // not an editing command
  }
  return 1;
}

// Commands that move the cursor or leave the editor.
static void othercommand(int code) {
  switch (code) {
    case EC_SAVE: saveandreturn(); break;
    case EC_COPY: docopy(); break;
    case EC_FIND: dofind(); break;
    case EC_TOP: movecursor(ed.top, 0); break;
    case EC_END: movecursor(lineat(ed.nlines - 1), 0); break;
    case EC_UP: verticalmove(-1); break;
    case EC_DOWN: verticalmove(1); break;
    case EC_LEFT: moveleft(); break;
    case EC_RIGHT: moveright(); break;
    case EC_LINESTART: movecursor(ed.point, 0); break;
    case EC_LINEEND: movecursor(ed.point, ed.point->length - 1); break;
    case EC_QUITNOSAVE: quitnosave(); break;
    case EC_QUITPROGRAM: quitprogram(); break;
    default: break;  // codes past the table and 0: nothing to do
  }
}

void handleeditorcmd(int code) {
  if (!ed.top) reseteditor();
  if (code != EC_UP && code != EC_DOWN) ed.goalcolumn = -1;
  if (code <= 0) return;
  if (int kind = editkind(code))
    editundobegin(kind);
  else if (code != EC_UNDO && code != EC_REDO)
    editundobreak();
  if (code < 500) {
    // Only bytes are characters; a line end splits the line.
    if (code == '\n' || code == '\r')
      insertnewline();
    else if (code < 256)
      insertchar(code);
  } else if (!editingcommand(code)) {
    othercommand(code);
  }
  showselection();
}
