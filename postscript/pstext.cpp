// pstext.cpp: the PostScript back end of the label and text markup.
#include "postscript/pstext.h"

#include <string>
#include <vector>

#include "model/primitive.h"
#include "postscript/psformat.h"
#include "postscript/psstate.h"
#include "render/colors.h"
#include "render/markup.h"
#include "render/view.h"

const char* makepsstr(const char* s, int n) {
  static std::string buf;
  buf.clear();
  for (int i = 0; i < n; i++) {
    char c = s[i];
    if (c == '(' || c == ')' || c == '\\') buf += '\\';
    if (c == '\0')
      buf += "\\000";
    else
      buf += c;
  }
  return buf.c_str();
}

static void psshow(FILE* out, const char* s, int n, int halo) {
  psprintf(out, "(%s) %s\n", makepsstr(s, n), halo ? "haloshow" : "show");
}

static void normalfont(FILE* out) {
  setPSfont(out, "Times-Italic", gfontsize);
}

void PSsubsuperdraw(FILE* out, const char* s, int n, int sub, int halo) {
  fputs("currentpoint /ysave exch store /xsave exch store\n", out);
  if (sub)
    psprintf(out, "xsave ysave %f sub moveto\n", gfontsize * 0.018 / 16);
  else
    psprintf(out, "xsave ysave %f add moveto\n", gfontsize * 0.027 / 16);
  setPSfont(out, "Times-Italic", (int)(0.8 * gfontsize));
  psshow(out, s, n, halo);
  fputs("currentpoint pop ysave moveto\n", out);
}

void PSoverdraw(FILE* out, int kind, int size) {
  double h = size * 0.038 / 16;
  if (kind == 1) {
    psprintf(out, "xsave ysave %f .8 mul add moveto\n", h);
    psprintf(out,
             "xnewsave .333 mul xsave .666 mul add ynewsave %f add\n"
             "xnewsave .666 mul xsave .333 mul add ynewsave %f add\n"
             "xnewsave ynewsave %f .8 mul add curveto stroke\n",
             h, h, h);
  } else {
    psprintf(out, "xsave ysave %f add moveto\n", h);
    psprintf(out, "xnewsave ynewsave %f add lineto stroke\n", h);
  }
  fputs("xnewsave ynewsave moveto\n", out);
}

// A group with an arch or a bar: its characters one by one, then the mark.
static void overgroup(FILE* out, const std::string& g, int kind, int halo) {
  fputs("currentpoint /ysave exch store /xsave exch store\n", out);
  normalfont(out);
  for (size_t i = 0; i < g.size(); i++) psshow(out, &g[i], 1, halo);
  fputs("currentpoint /ynewsave exch store /xnewsave exch store\n", out);
  PSoverdraw(out, kind, gfontsize);
}

void PScharstr(FILE* out, const char* s, double x, double y, int halo) {
  std::vector<markupitem> items;
  parsemarkup(s, &items);
  psprintf(out, "%f %f moveto\n", x, y);
  for (const markupitem& m : items) {
    switch (m.kind) {
      case MK_RUN:
        normalfont(out);
        psshow(out, m.text.data(), (int)m.text.size(), halo);
        break;
      case MK_NEWLINE:
        yinfo -= fbsize;
        psprintf(out, "%f %f moveto\n", x, yinfo);
        break;
      case MK_SYMBOL: {
        char c = (char)m.code;
        setPSfont(out, "Symbol", gfontsize);
        psshow(out, &c, 1, halo);
        break;
      }
      case MK_ARC: overgroup(out, m.text, 1, halo); break;
      case MK_OVERLINE: overgroup(out, m.text, 2, halo); break;
      case MK_SUPER:
      case MK_SUB:
        PSsubsuperdraw(out, m.text.data(), (int)m.text.size(), m.kind == MK_SUB,
                       halo);
        break;
      default:  // MK_BACKSLASH: a literal backslash
        normalfont(out);
        psshow(out, "\\", 1, halo);
        break;
    }
  }
}

// Both passes start from the same info-column position, so a label of
// several lines gets its halo exactly under its letters, and the column is
// lowered once per line, as on screen.
void PSlabel(FILE* out, const char* s, double x, double y) {
  double keep = yinfo;
  PScharstr(out, s, x, y, 1);
  yinfo = keep;
  PScharstr(out, s, x, y, 0);
}

void textPostScript(FILE* out, const text* t) {
  if (!t->string || !t->string[0] || !showinfo) return;
  if (!choosecolor(t->color, t->layercolor).drawn) return;
  double keep = yinfo;
  PScharstr(out, t->string, -0.99f, yinfo, 1);
  yinfo = keep;
  PScharstr(out, t->string, -0.99f, yinfo, 0);
  yinfo -= fbsize;
}
