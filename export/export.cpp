// export.cpp: choosing the format and writing the file safely.
#include "export/export.h"

#include <strings.h>

#include <cerrno>
#include <cstring>

#include "export/backends.h"
#include "fileio/safesave.h"
#include "model/notify.h"
#include "postscript/eps.h"
#include "render/view.h"

int exportdpi = 150;
int exporttransparent = 0;
int exportstandalone = 0;
int exportthreads = 0;

struct formatrow {
  const char* extension;
  int format;
  const char* name;
};

// Lookup order; the first row of a format gives its usual extension.
static const formatrow formats[] = {
    {".svg", EXPORT_SVG, "SVG"},   {".pdf", EXPORT_PDF, "PDF"},
    {".png", EXPORT_PNG, "PNG"},   {".tex", EXPORT_TIKZ, "TikZ"},
    {".tikz", EXPORT_TIKZ, "TikZ"}, {".eps", EXPORT_EPS, "EPS"},
};
static_assert(sizeof(formats) / sizeof(formats[0]) == 6, "six extensions");

int exportformatof(const char* path) {
  size_t n = strlen(path);
  for (const formatrow& f : formats) {
    size_t k = strlen(f.extension);
    if (n > k && !strcasecmp(path + n - k, f.extension)) return f.format;
  }
  return EXPORT_NONE;
}

const char* exportextensions() {
  return ".svg, .pdf, .png, .tex, .tikz, .eps";
}

static const formatrow* rowof(int format) {
  for (const formatrow& f : formats)
    if (f.format == format) return &f;
  return nullptr;
}

const char* exportextension(int format) {
  const formatrow* f = rowof(format);
  return f ? f->extension : "";
}

const char* exportname(int format) {
  const formatrow* f = rowof(format);
  return f ? f->name : "";
}

std::string tikztext() {
  std::string s;
  double keep = screenscale;
  setscreenscale(1);  // the page does not follow the screen's resolution
  writetikz(&s, exportstandalone);
  setscreenscale(keep);
  return s;
}

// The format's writer at the page's own sizes.
static int writeformat(FILE* out, int format) {
  switch (format) {
    case EXPORT_SVG: return writesvg(out);
    case EXPORT_PDF: return writepdf(out);
    case EXPORT_PNG: return writepng(out, exportdpi, exporttransparent);
    case EXPORT_TIKZ: {
      std::string s = tikztext();
      fwrite(s.data(), 1, s.size(), out);
      return 1;
    }
    case EXPORT_EPS: {
      int keep = EPS;
      EPS = 1;
      writePostScript(out);
      EPS = keep;
      return 1;
    }
    default: return 0;  // EXPORT_NONE: nothing to write
  }
}

int writeexport(FILE* out, int format) {
  double keep = screenscale;
  setscreenscale(1);  // the page does not follow the screen's resolution
  int ok = writeformat(out, format);
  setscreenscale(keep);
  return ok;
}

int exportfile(const char* path, int format) {
  if (format == EXPORT_NONE) {
    alert("Unknown export format for %s (use %s)", path, exportextensions());
    return 0;
  }
  safesave s;
  if (!beginsave(&s, path)) {
    alert("Couldn't write %s: %s", path, strerror(errno));
    return 0;
  }
  errno = 0;
  if (!writeexport(s.f, format)) {
    // A write that failed stops the back end; anything else it reported.
    int err = ferror(s.f) ? (errno ? errno : EIO) : 0;
    abandonsave(&s);
    if (err) alert("Couldn't write %s: %s", path, strerror(err));
    return 0;
  }
  if (!endsave(&s)) {
    alert("Couldn't write %s: %s", path, strerror(errno));
    return 0;
  }
  return 1;
}

void resetexport() {
  exportdpi = 150;
  exporttransparent = 0;
  exportstandalone = 0;
  exportthreads = 0;
}
