// editgeom.cpp: the Edit Geometry round trip: two private temporary
// files, the editor, and reading the edited text back.
#include "editor/editgeom.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "editor/editbuffer.h"
#include "fileio/openfile.h"
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

// Makes a new private temporary file holding `text`. 1, or 0 (alert
// given, nothing left behind).
static int writetemptext(char* path, const char* stem,
                         const std::string& text) {
  int fd = maketempfile(path, EDITPATHSIZE, stem, ".T");
  if (fd < 0) {
    alert("Can't create a temporary file in %s: %s", edittempdir(),
          strerror(errno));
    path[0] = 0;
    return 0;
  }
  FILE* f = fdopen(fd, "w");
  int ok = f && fwrite(text.data(), 1, text.size(), f) == text.size();
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

// The whole text of a file; 0 when it cannot be read (alert given).
static int slurp(const char* path, std::string* text) {
  FILE* f = openforreading(path);
  if (!f) return 0;
  char buf[65536];
  size_t n;
  text->clear();
  while ((n = fread(buf, 1, sizeof buf, f)) > 0) text->append(buf, n);
  int ok = !ferror(f);
  fclose(f);
  if (!ok) alert("Couldn't read %s", path);
  return ok;
}

// The same holding the diagram's text.
static int writetempdiagram(char* path, const char* stem) {
  char* buf = nullptr;
  size_t size = 0;
  FILE* f = open_memstream(&buf, &size);
  int ok = f && printdiagram(f);
  if (f) fclose(f);
  std::string text = ok ? std::string(buf, size) : "";
  free(buf);
  if (!ok) {
    alert("Can't write the diagram's text: %s", strerror(ENOMEM));
    path[0] = 0;
    return 0;
  }
  return writetemptext(path, stem, text);
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
    alert("Couldn't open %s: %s", path, strerror(errno));
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

int editfiletext(const char* path, int line) {
  std::string text, edited;
  if (!slurp(path, &text)) return 0;
  if (!writetemptext(ed.origpath, "tessarin-geom", text)) return 0;
  if (!writetemptext(ed.editpath, "tessarin-xgeom", text)) {
    removetemps();
    return 0;
  }
  ed.starteditline = line < 1 ? 1 : line;
  int result = 0;
  for (;;) {
    int done = editorrunhook ? editorrunhook() : 1;
    if (done == 2) {
      result = 2;
      break;
    }
    // The file's own text (unchanged, or "Quit (No Save)") would fail the
    // same way again: the user gave up.
    if (!slurp(ed.editpath, &edited) || edited == text) break;
    if (readback(ed.editpath)) {
      result = 1;
      break;
    }
    ed.starteditline = linecount > INT32_MAX ? INT32_MAX : (int)linecount;
  }
  removetemps();
  return result;
}
