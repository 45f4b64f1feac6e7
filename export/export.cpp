// export.cpp: choosing the format and writing the file safely.
#include "export/export.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <strings.h>

#include "export/backends.h"
#include "model/notify.h"
#include "postscript/eps.h"

int exportdpi = 150;
int exporttransparent = 0;
int exportstandalone = 0;

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
  writetikz(&s, exportstandalone);
  return s;
}

int writeexport(FILE* out, int format) {
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

// A new file in the target's folder: "<path>.XXXXXX", opened for writing.
static FILE* openbeside(const char* path, std::string* temp) {
  *temp = std::string(path) + ".XXXXXX";
  int fd = mkstemp(&(*temp)[0]);
  if (fd < 0) return nullptr;
  // mkstemp makes the file private; an export is read by other programs.
  mode_t mask = umask(0);
  umask(mask);
  fchmod(fd, 0666 & ~mask);
  FILE* f = fdopen(fd, "wb");
  if (!f) close(fd);
  return f;
}

int exportfile(const char* path, int format) {
  if (format == EXPORT_NONE) {
    alert("Unknown export format for %s (use %s)", path, exportextensions());
    return 0;
  }
  std::string temp;
  FILE* out = openbeside(path, &temp);
  if (!out) {
    alert("Couldn't write %s: %s", path, strerror(errno));
    return 0;
  }
  static char buffer[1 << 18];
  setvbuf(out, buffer, _IOFBF, sizeof buffer);
  int ok = writeexport(out, format);
  int err = 0;
  if (ferror(out)) err = errno ? errno : EIO;
  if (fflush(out) != 0 && !err) err = errno;
  if (fsync(fileno(out)) != 0 && !err && errno != EINVAL) err = errno;
  if (fclose(out) != 0 && !err) err = errno;
  if (ok && !err && rename(temp.c_str(), path) != 0) err = errno;
  if (!ok || err) {
    remove(temp.c_str());
    if (err) alert("Couldn't write %s: %s", path, strerror(err));
    return 0;
  }
  return 1;
}

void resetexport() {
  exportdpi = 150;
  exporttransparent = 0;
  exportstandalone = 0;
}
