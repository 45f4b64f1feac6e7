// export.h: the current view as SVG, PDF, PNG or TikZ, beside the EPS of
// postscript/.
//
// Every format draws what the EPS document draws, from the same walk over
// the view (export/pen.h): the same view rectangle and clip, the page's
// colours (white paper, `printbw`), every record type, marks, labels and
// markup. The picture measures xsize x ysize points, as the EPS's bounding
// box does; a PNG has `exportdpi` pixels per inch of it. Nothing here
// recomputes: the view shows the last recomputation.
#pragma once

#include <cstdio>
#include <string>

enum exportformat {
  EXPORT_NONE = 0,
  EXPORT_SVG,
  EXPORT_PDF,
  EXPORT_PNG,
  EXPORT_TIKZ,
  EXPORT_EPS
};

extern int exportdpi;          // PNG resolution, pixels per inch
extern int exporttransparent;  // PNG without the white background
extern int exportstandalone;   // TikZ wrapped in a standalone document
extern int exportthreads;      // threads drawing a PNG; 0: one per core

// The format a file name's extension asks for (.svg .pdf .png .tex .tikz
// .eps, any case); EXPORT_NONE for anything else.
int exportformatof(const char* path);

// The extensions the formats are chosen by, for messages: ".svg, .pdf,
// .png, .tex, .tikz, .eps".
const char* exportextensions();

// The format's usual extension (".svg" ...) and its name ("SVG" ...).
const char* exportextension(int format);
const char* exportname(int format);

// Writes the view in `format` to `out` (EPS through writePostScript).
// Returns 0 when the back end failed (cairo reports its own error).
int writeexport(FILE* out, int format);

// The TikZ picture of the view, as `writeexport` writes it.
std::string tikztext();

// Writes the view in `format` to `path` as the diagram writer saves
// (fileio/safesave.h: a new file beside it, renamed over it once complete),
// so a failure never leaves a broken file behind.
// Returns 1 on success; 0 after an alert naming the file and the system's
// reason (permission, full disk, ...).
int exportfile(const char* path, int format);

// Puts the export switches back to their start-up values.
void resetexport();
