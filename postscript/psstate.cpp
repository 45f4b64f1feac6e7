// psstate.cpp: the colour, dash, width and font caches of the PostScript
// writer.
#include "postscript/psstate.h"

#include <cstring>

#include "model/codes.h"
#include "model/style.h"
#include "postscript/eps.h"
#include "postscript/psformat.h"
#include "render/colors.h"

int lastcolor = -2;
int lastlinestyle = -1;
double lastwidth = -1.0;
int lastpsfontsize = -1;
char psfontname[64] = "";
double psfontscale = 1;

void initcolorflag() {
  lastcolor = -2;
  lastpsfontsize = -1;
  lastlinestyle = -1;
  lastwidth = -1.0;
  psfontname[0] = '\0';
}

// ORDER: colour codes 0 .. 7 as they appear on white paper.
static const char* const pagecolors[] = {
    "1 1 1 setrgbcolor\n", "1 0 0 setrgbcolor\n", "0 1 0 setrgbcolor\n",
    "1 1 0 setrgbcolor\n", "0 0 1 setrgbcolor\n", "1 0 1 setrgbcolor\n",
    "0 1 1 setrgbcolor\n", "0 0 0 setrgbcolor\n"};
static_assert(sizeof(pagecolors) / sizeof(pagecolors[0]) == 8,
              "the eight named colours");

void setPScolor(int code, const uint8_t* layercolors, FILE* out) {
  int k = effectivecolor(code, layercolors, minlayer);
  if (k == lastcolor) return;
  if (k == COLOR_INVISIBLE && !showinvisible) return;
  lastcolor = k;
  if (k == COLOR_MARKFILL)
    fputs("1 1 1 setrgbcolor\n", out);
  else if (printbw || k < 0 || k > 7)
    fputs("0 0 0 setrgbcolor\n", out);
  else
    fputs(pagecolors[k], out);
}

void setlinestyle(FILE* out, int style, double width) {
  if (style == lastlinestyle && width == lastwidth) return;
  lastlinestyle = style;
  lastwidth = width;
  const double w = 0.002;
  switch (style) {
    case PSDASH_INVISIBLE:
      psprintf(out, "[0.020 0.010] 0 setdash\n%f setlinewidth\n",
               w * width / 10);
      break;
    case PSDASH_SOLID:
      psprintf(out, "[] 0 setdash\n%f setlinewidth\n", w * width);
      break;
    case PSDASH_DASHED:
      psprintf(out, "[.02] 0 setdash\n%f setlinewidth\n", w * width);
      break;
    case PSDASH_DOTTED:
      psprintf(out, "[.007] 0 setdash\n%f setlinewidth\n", w * width);
      break;
    default:  // no other style exists; nothing is written
      break;
  }
}

void setPSfont(FILE* out, const char* name, int size) {
  if (size == lastpsfontsize && strcmp(name, psfontname) == 0) return;
  psprintf(out, "/%s findfont %f scalefont setfont\n", name,
           size / psfontscale);
  lastpsfontsize = size;
  snprintf(psfontname, sizeof psfontname, "%s", name);
}

void resetpsstate() {
  initcolorflag();
  psfontscale = 1;
}

int dashofstyle(int linestyle) {
  switch (linestyle) {
    case RW_SOLIDLINE: return PSDASH_SOLID;
    case RW_DASHLINE: return PSDASH_DASHED;
    case RW_DOTLINE: return PSDASH_DOTTED;
    default: return -1;  // unknown styles leave the dash in force
  }
}
