// editgeom.cpp: the Edit Geometry round trip: two private temporary
// files, the editor, and reading the edited text back.
#include "editor/editgeom.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "editor/editbuffer.h"
#include "fileio/tempfile.h"
#include "language/lexer.h"
#include "language/parser.h"
#include "language/symtable.h"
#include "language/writer.h"
#include "model/notify.h"
#include "model/state.h"
#include "model/worldlist.h"

int (*editorrunhook)();

const char* edittempdir() {
  return tempfolder();
}

// Makes a new private file in the temporary directory holding the diagram
// text; its name goes into path. 1, or 0 (nothing left behind) on failure.
static int writetempdiagram(char* path, const char* stem) {
  int fd = maketempfile(path, EDITPATHSIZE, stem, ".T");
  if (fd < 0) {
    alert("Can't create a temporary file in %s", edittempdir());
    path[0] = 0;
    return 0;
  }
  FILE* f = fdopen(fd, "w");
  int ok = f && printdiagram(f);
  if (f) {
    if (fclose(f) != 0) ok = 0;
  } else {
    close(fd);
  }
  if (!ok) {
    alert("Can't write %s", path);
    unlink(path);
    path[0] = 0;
  }
  return ok;
}

static void removetemps() {
  if (ed.origpath[0]) unlink(ed.origpath);
  if (ed.editpath[0]) unlink(ed.editpath);
  ed.origpath[0] = ed.editpath[0] = 0;
}

// Empties the diagram and reads the file at path in its place. 1 when
// the whole text was read; otherwise the line where reading stopped is
// in `linecount` (the reader has reported it).
static int readback(const char* path) {
  FILE* f = fopen(path, "r");
  if (!f) {
    alert("Couldn't open %s", path);
    linecount = 1;
    return 0;
  }
  if (idtable) cleartable(idtable);
  clearmacroplist();
  clearplist();
  resetstate(0);
  linecount = 1;
  int ok = parsefile(f);
  fclose(f);
  return ok;
}

int editgeomtext() {
  if (!writetempdiagram(ed.origpath, "tessarin-geom")) return 0;
  if (!writetempdiagram(ed.editpath, "tessarin-xgeom")) {
    removetemps();
    return 0;
  }
  ed.starteditline = 1;
  for (;;) {
    int done = editorrunhook ? editorrunhook() : 1;
    if (done == 2) {
      // The program ends: what may be saved then is the diagram as it was.
      readback(ed.origpath);
      removetemps();
      return 2;
    }
    if (readback(ed.editpath)) break;
    ed.starteditline = linecount > INT32_MAX ? INT32_MAX : (int)linecount;
  }
  removetemps();
  return 1;
}
