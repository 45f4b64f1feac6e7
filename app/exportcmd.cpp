// exportcmd.cpp: exporting the view from the program: the file chooser
// with the export formats, the format from the chosen name, the message,
// and the TikZ picture on the clipboard.
#include "app/exportcmd.h"

#include <FL/Fl.H>

#include <cstdio>
#include <cstring>
#include <string>

#include "app/chooser.h"
#include "app/files.h"
#include "export/export.h"
#include "model/notify.h"
#include "render/view.h"

int lastexportformat = EXPORT_SVG;

static const char EXPORTFILTER[] =
    "SVG (*.svg)\tPDF (*.pdf)\tPNG (*.png)\tTikZ (*.{tex,tikz})\tEPS (*.eps)";

// The one place the export asks for a file name.
static const char* chooseexportfile(const char* start) {
  return choosefile("Export", EXPORTFILTER, start, 1);
}

int exportstartname(const char* name, int format, char* buf, int size) {
  std::string base = name && *name ? name : "geom";
  size_t slash = base.rfind('/'), dot = base.rfind('.');
  if (dot != std::string::npos && (slash == std::string::npos || dot > slash))
    base.erase(dot);
  int n = snprintf(buf, size, "%s%s", base.c_str(), exportextension(format));
  return n >= 0 && n < size;
}

// The view as a frame starts it: the value and info columns at the top.
static int exportview(const char* path, int format) {
  double keepym = ym, keepyinfo = yinfo;
  ym = 0.9f, yinfo = -0.5;
  int ok = exportfile(path, format);
  ym = keepym, yinfo = keepyinfo;
  return ok;
}

static int handleexport() {
  char start[FILENAMESIZE];
  if (!exportstartname(getcurrentfilename(), lastexportformat, start,
                       sizeof start))
    start[0] = '\0';
  const char* chosen = chooseexportfile(start);
  if (!chosen || !*chosen) return 0;
  std::string path = chosen;
  int format = exportformatof(path.c_str());
  if (format == EXPORT_NONE) {  // no known extension: the last format's
    format = lastexportformat;
    path += exportextension(format);
  }
  if (!exportview(path.c_str(), format)) return 1;  // the alert said why
  lastexportformat = format;
  char msg[MESSAGESIZE + 400];
  snprintf(msg, sizeof msg, "Exported %s", path.c_str());
  showmessagewindow(msg, 1.5);
  return 1;
}

static int copytikz() {
  double keepym = ym, keepyinfo = yinfo;
  ym = 0.9f, yinfo = -0.5;
  std::string t = tikztext();
  ym = keepym, yinfo = keepyinfo;
  Fl::copy(t.c_str(), (int)t.size(), 1);
  showmessagewindow("Copied the TikZ picture to the clipboard", 1.5);
  return 1;
}

int exportcommand(int code) {
  switch (code) {
    case EXPORTCMD: handleexport(); return 1;
    case COPYTIKZCMD: return copytikz();
    default: return 0;  // not an export command
  }
}

void resetexportcmd() {
  lastexportformat = EXPORT_SVG;
}
