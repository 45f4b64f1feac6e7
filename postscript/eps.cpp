// eps.cpp: the PostScript document: header, prologue, clip, the records in
// drawing order, and printing.
#include "postscript/eps.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "fileio/tempfile.h"
#include "model/notify.h"
#include "model/style.h"
#include "model/worldlist.h"
#include "postscript/psformat.h"
#include "postscript/psprims.h"
#include "postscript/psstate.h"
#include "prefs/preffile.h"
#include "prefs/printcommand.h"
#include "render/view.h"

int EPS = 1;
int printbw = 0;

// The procedures every document defines, in this order.
static const char* const prologue[] = {
    "/diamond { newpath 2 setlinecap\n",
    "/dpbsize exch store 2 copy exch dpbsize sub exch moveto\n"
    "2 copy dpbsize add lineto 2 copy exch dpbsize add exch lineto\n"
    "dpbsize sub lineto closepath gsave fill grestore } bind def\n",
    "/haloshow {\n",
    "gsave\n",
    "currentlinewidth /curwid exch store 0.013 setlinewidth\n",
    "1 setlinecap\n",
    "1 setlinejoin\n",
    "currentrgbcolor\n",
    "/bval exch store /gval exch store /rval exch store\n",
    "1 setgray\n",
    "dup false charpath stroke\n",
    "grestore 1 setgray show\n",
    "rval gval bval setrgbcolor\n",
    "curwid setlinewidth\n",
    "} bind def\n",
    "/drawhash {\n",
    "45 rotate -2 .03 2 { dup -2 moveto 2 lineto } for stroke -45 rotate } "
    "bind def\n",
    "/drawhash1 {\n",
    "-45 rotate -2 .03 2 { dup -2 moveto 2 lineto } for stroke 45 rotate } "
    "bind def\n",
    "/drawhash2 {\n",
    "-2 .043 2 { dup -2 moveto 2 lineto } for stroke } bind def\n",
    "/centershow {\n",
    "dup\n",
    "stringwidth pop -2 div 0 rmoveto\n",
    "haloshow\n",
    "} def\n",
    "/drawdot { .005 setlinewidth 0 setlinecap 2 copy .0025 sub newpath\n",
    "moveto .0025 add lineto stroke 1 setlinecap .002 setlinewidth } bind "
    "def\n",
};
static_assert(sizeof(prologue) / sizeof(prologue[0]) == 28, "prologue lines");

// Print mode: fit the drawing area into the 550 x 730 page box.
static void fittopage() {
  if (xsize * 730 > ysize * 550) {
    ysize = ysize * 550 / xsize;
    xsize = 550;
  } else {
    xsize = xsize * 730 / ysize;
    ysize = 730;
  }
}

static void writeheader(FILE* out) {
  psprintf(out, "%%!PS-Adobe-2.0 EPSF-1.2\n");
  psprintf(out, "%%%%Creator: Tessarin\n");
  psprintf(out, "%%%%BoundingBox: 0 0 %d %d\n", xsize, ysize);
  psprintf(out, "%%%%EndComments\n");
  fputs("0 setlinewidth\n", out);
  if (EPS)
    psprintf(out, "%f %f translate\n", xsize / 2.0, ysize / 2.0);
  else
    fputs("306 396 translate\n", out);
  double half = fxmax > fymax ? ysize / 2.0 : xsize / 2.0;
  psprintf(out, "%f %f scale\n", half, half);
  PSxscale = fxmax > fymax ? fxmax / fymax : 1;
  psfontscale = half;
  for (const char* line : prologue) fputs(line, out);
}

static void writeclip(FILE* out) {
  psprintf(out, "%f %f moveto %f %f lineto %f %f lineto %f %f lineto\n", fxmin,
           fymin, fxmin, fymax, fxmax, fymax, fxmax, fymin);
  fputs("closepath clip\n", out);
}

// Everything but the points; the macro scratch list also places the
// labelled angles' column.
static void writelines(FILE* out, primitive* list, int scratch) {
  double y = 0;
  for (primitive* p = list; p; p = p->next) {
    setPScolor(p->color, p->layercolor, out);
    if (!(p->layers & layerset) || !p->valid || p->type == RW_VERTEX) continue;
    if (scratch && p->type == RW_ANGLE && p->label) {
      psprintf(out, "-0.99 %f moveto\n", y);
      y -= fbsize;
    }
    primitivePostScript(out, p);
  }
}

// The point marks, on top of all lines and curves.
static void writepoints(FILE* out, primitive* list) {
  for (primitive* p = list; p; p = p->next) {
    if (p->type != RW_VERTEX) continue;
    setPScolor(p->color, p->layercolor, out);
    if (p->layers & layerset) vertexPostScript(out, (const vertex*)p);
  }
}

void writePostScript(FILE* out) {
  int keepx = xsize, keepy = ysize;
  double keepscale = screenscale;
  setscreenscale(1);  // the page does not follow the screen's resolution
  if (!EPS && xsize > 0 && ysize > 0) fittopage();
  writeheader(out);
  initcolorflag();
  writeclip(out);
  setPSfont(out, "Times-Italic", (int)psfontsize);
  PSdrawsmearlist(out);
  writelines(out, plist, 0);
  writelines(out, macroplist, 1);
  writepoints(out, plist);
  writepoints(out, macroplist);
  fputs("showpage\n", out);
  xsize = keepx;
  ysize = keepy;
  setscreenscale(keepscale);
}

// Runs the print command on `path`; 0 when there is none or it fails.
static int printfile(const char* path) {
  if (!printcmdstring[0]) {
    alert(
        "No print command in Preferences file.\n"
        "Under the Edit pulldown, use Edit Preferences.\n"
        "Also look under Help:Documentation:Printing.");
    return 0;
  }
  static char command[4096];
  if (!formatprintcommand(command, sizeof command, path)) return 0;
  int status = system(command);
  return status != -1 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Writes the document into `out` and closes it; 0 after "Couldn't write".
static int writedocument(FILE* out, const char* path) {
  // Large documents (a hyperbola alone is 16 kB) go out in few writes.
  static char buffer[1 << 18];
  setvbuf(out, buffer, _IOFBF, sizeof buffer);
  errno = 0;
  writePostScript(out);
  int failed = ferror(out) ? (errno ? errno : EIO) : 0;
  if (fclose(out) != 0 && !failed) failed = errno ? errno : EIO;
  if (failed) alert("Couldn't write %s: %s", path, strerror(failed));
  return !failed;
}

int dumpPostScript(const char* path) {
  FILE* out = fopen(path, "w");
  if (!out) {
    alert("Couldn't open %s: %s", path, strerror(errno));
    return 0;
  }
  if (!writedocument(out, path)) return 0;
  if (!EPS) return printfile(path);
  return 1;
}

int printview() {
  if (!printcmdstring[0]) return printfile("");  // says what is missing
  char path[1024];
  int fd = maketempfile(path, sizeof path, "geom", ".ps");
  FILE* out = fd < 0 ? nullptr : fdopen(fd, "w");
  if (!out) {
    alert("Couldn't create a print file in %s: %s", tempfolder(),
          strerror(errno));
    if (fd >= 0) close(fd), unlink(path);
    return 0;
  }
  int keep = EPS;
  EPS = 0;
  int ok = writedocument(out, path) && printfile(path);
  EPS = keep;
  unlink(path);
  return ok;
}

void resetpostscript() {
  EPS = 1;
  printbw = 0;
  resetpsstate();
}
