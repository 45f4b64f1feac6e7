// reader.cpp: libFuzzer target for the diagram reader. Each input is read
// as diagram text from a clean state, recomputed and written; when it reads
// without error, what was written must read again and write the same text,
// and the view must export in every format (into memory, the image at a
// low resolution to keep runs quick). All state is reset after every input
// so that nothing leaks between runs.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "engine/recompute.h"
#include "export/export.h"
#include "language/parser.h"
#include "language/symtable.h"
#include "language/writer.h"
#include "model/notify.h"
#include "model/reset.h"
#include "model/state.h"
#include "model/worldlist.h"
#include "render/view.h"

static void quiet(const char*) {}

static std::string writeall() {
  char* buf = nullptr;
  size_t size = 0;
  FILE* f = open_memstream(&buf, &size);
  printdiagram(f);
  fclose(f);
  std::string s(buf, size);
  free(buf);
  return s;
}

static int readall(const std::string& text) {
  clearbuffer();
  resetstate(1);
  return parsetext(text.c_str());
}

static void exportall() {
  xsize = 400, ysize = 450;  // the command line's view
  recalcsizes(1);
  exportdpi = 10;
  for (int f : {EXPORT_SVG, EXPORT_PDF, EXPORT_PNG, EXPORT_TIKZ, EXPORT_EPS}) {
    char* buf = nullptr;
    size_t size = 0;
    FILE* out = open_memstream(&buf, &size);
    int ok = writeexport(out, f);
    fclose(out);
    free(buf);
    if (!ok) {
      fprintf(stderr, "the %s export failed\n", exportname(f));
      abort();
    }
  }
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  resetall();
  alerthook = quiet;
  std::string text((const char*)data, size);  // an inner NUL ends the text
  if (readall(text)) {
    checkconstraints();
    std::string once = writeall();
    if (!readall(once)) {
      fprintf(stderr, "written text does not read back:\n%s\n", once.c_str());
      abort();
    }
    if (writeall() != once) {
      fprintf(stderr, "second writing differs:\n%s\n", once.c_str());
      abort();
    }
    exportall();
  }
  resetall();
  return 0;
}
