// tikz.cpp: the view as a TikZ picture a LaTeX user can read and edit.
//
// One world unit is the x and y unit of the picture, so its size is the
// EPS's bounding box. Every named point of the view is a \coordinate, and
// drawing commands name it wherever they pass through it; colours are the
// page's named colours; labels are nodes in math mode with the markup
// translated. Hatches are the page's lines clipped to the polygon.
#include <cctype>
#include <cmath>
#include <cstring>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

#include "export/backends.h"
#include "export/glyphs.h"
#include "export/pen.h"
#include "language/symtable.h"
#include "model/style.h"
#include "model/worldlist.h"
#include "render/colors.h"
#include "render/markup.h"
#include "render/view.h"

namespace {

// ORDER: the page's colours 0 .. 7 (white paper).
const struct {
  const char* name;
  float rgb[3];
} tikzcolors[] = {
    {"diagramwhite", {1, 1, 1}},  {"diagramred", {1, 0, 0}},
    {"diagramgreen", {0, 1, 0}},  {"diagramyellow", {1, 1, 0}},
    {"diagramblue", {0, 0, 1}},   {"diagrammagenta", {1, 0, 1}},
    {"diagramcyan", {0, 1, 1}},   {"diagramblack", {0, 0, 0}},
};
static_assert(sizeof(tikzcolors) / sizeof(tikzcolors[0]) == 8,
              "the eight page colours");

struct tikzpen {
  std::string body;
  std::string path;
  double half;
  int used[8];
  std::unordered_map<std::string, std::string> named;  // "(x,y)" -> "(A)"
  int pathempty;
  int circle;  // path is one full circle: written as `circle`
};

// The point as the picture writes it: its name, or its coordinates.
std::string point(tikzpen* t, double x, double y) {
  std::string s = "(";
  putnumber(&s, x, 4);
  s += ',';
  putnumber(&s, y, 4);
  s += ')';
  auto found = t->named.find(s);
  return found == t->named.end() ? s : found->second;
}

void group(void*, const primitive*, int) {}

void move(void* c, double x, double y) {
  tikzpen* t = (tikzpen*)c;
  if (!t->pathempty) t->path += ' ';
  t->path += point(t, x, y);
  t->pathempty = 0;
  t->circle = 0;
}

void line(void* c, double x, double y) {
  tikzpen* t = (tikzpen*)c;
  t->path += " -- " + point(t, x, y);
  t->circle = 0;
}

void curve(void* c, double x1, double y1, double x2, double y2, double x3,
           double y3) {
  tikzpen* t = (tikzpen*)c;
  t->path += " .. controls " + point(t, x1, y1) + " and " + point(t, x2, y2) +
             " .. " + point(t, x3, y3);
  t->circle = 0;
}

void arc(void* c, double cx, double cy, double r, double a0, double a1) {
  tikzpen* t = (tikzpen*)c;
  std::string centre = point(t, cx, cy), radius;
  putnumber(&radius, r, 4);
  if (t->pathempty && a1 - a0 >= 360) {
    t->path += centre + " circle[radius=" + radius + "]";
    t->pathempty = 0;
    t->circle = 1;
    return;
  }
  std::string from, to;
  putnumber(&from, a0, 2);
  putnumber(&to, a1, 2);
  std::string start = "([shift={(" + from + ":" + radius + ")}]" +
                      centre.substr(1);
  t->path += t->pathempty ? start : " -- " + start;
  t->path += " arc[start angle=" + from + ", end angle=" + to +
             ", radius=" + radius + "]";
  t->pathempty = 0;
  t->circle = 0;
}

void closepath(void* c) {
  tikzpen* t = (tikzpen*)c;
  if (!t->circle && !t->pathempty) t->path += " -- cycle";
}

const char* colorname(tikzpen* t, const float rgb[3]) {
  for (int i = 0; i < 8; i++)
    if (tikzcolors[i].rgb[0] == rgb[0] && tikzcolors[i].rgb[1] == rgb[1] &&
        tikzcolors[i].rgb[2] == rgb[2]) {
      t->used[i] = 1;
      return tikzcolors[i].name;
    }
  t->used[7] = 1;
  return tikzcolors[7].name;  // every page colour is one of the eight
}

// A length in PostScript points, as the EPS measures.
std::string pt(tikzpen* t, double world) {
  std::string s;
  putnumber(&s, world * t->half, 3);
  return s + "bp";
}

void command(tikzpen* t, const char* verb, const std::string& options) {
  if (t->pathempty) return;
  t->body += verb;
  t->body += '[';
  t->body += options;
  t->body += "] ";
  t->body += t->path;
  t->body += ";\n";
  t->path.clear();
  t->pathempty = 1;
  t->circle = 0;
}

void stroke(void* c, const penstate* s) {
  tikzpen* t = (tikzpen*)c;
  std::string o = colorname(t, s->rgb);
  o += ", line width=" + (s->width > 0 ? pt(t, s->width) : "0.25bp");
  double len[2];
  if (dashlengths(s->dash, len))
  {
    o += ", dash pattern=on " + pt(t, len[0]) + " off " + pt(t, len[1]);
    if (s->phase > 0) o += ", dash phase=" + pt(t, s->phase);
  }
  if (s->cap == 1) o += ", line cap=round";
  if (s->cap == 2) o += ", line cap=rect";
  command(t, "\\draw", o);
}

void fill(void* c, const penstate* s) {
  tikzpen* t = (tikzpen*)c;
  command(t, "\\fill", colorname(t, s->rgb));
}

void clip(void* c, int push) {
  tikzpen* t = (tikzpen*)c;
  if (!push) {
    t->body += "\\end{scope}\n";
    return;
  }
  t->body += "\\begin{scope}\n\\clip " + t->path + ";\n";
  t->path.clear();
  t->pathempty = 1;
  t->circle = 0;
}

void text(void*, const textrun*, const penstate*, int) {}

// One character of a label in math mode.
void mathchar(std::string* out, unsigned char c) {
  if (isalnum(c) || strchr("+-*/=<>()[]|!?.,;:@", c)) {
    *out += (char)c;
    return;
  }
  switch (c) {
    case ' ': *out += "\\ "; break;
    case '\\': *out += "\\backslash "; break;
    case '{': *out += "\\{"; break;
    case '}': *out += "\\}"; break;
    case '$': *out += "\\$"; break;
    case '%': *out += "\\%"; break;
    case '#': *out += "\\#"; break;
    case '&': *out += "\\&"; break;
    case '_': *out += "\\_"; break;
    case '~': *out += "\\sim "; break;
    case '^': *out += "\\text{\\textasciicircum}"; break;
    case '\'': *out += "'"; break;
    case '"': *out += "\\text{\"}"; break;
    case '`': *out += "\\text{`}"; break;
    default: {
      if (c < 0x20) break;  // control characters show nothing
      char buf[32];
      snprintf(buf, sizeof buf, "\\text{\\char\"%02X}", c);
      *out += buf;
      break;
    }
  }
}

void mathtext(std::string* out, const std::string& s) {
  for (char c : s) mathchar(out, (unsigned char)c);
}

// The markup of one line as LaTeX math.
std::string mathlabel(const markupitem* items, int n) {
  std::string m;
  for (int i = 0; i < n; i++) {
    const markupitem& it = items[i];
    switch (it.kind) {
      case MK_RUN: mathtext(&m, it.text); break;
      case MK_SYMBOL: {
        const char* l = symbollatex(it.code);
        if (l) {
          m += l;
          m += ' ';
        } else {
          mathchar(&m, it.code);
        }
        break;
      }
      case MK_ARC:
        m += "\\overset{\\frown}{";
        mathtext(&m, it.text);
        m += '}';
        break;
      case MK_OVERLINE:
        m += "\\overline{";
        mathtext(&m, it.text);
        m += '}';
        break;
      case MK_SUPER:
      case MK_SUB:
        m += it.kind == MK_SUB ? "{}_{" : "{}^{";
        mathtext(&m, it.text);
        m += '}';
        break;
      default: m += "\\backslash "; break;  // MK_BACKSLASH
    }
  }
  return m;
}

int label(void* c, const markupitem* items, int n, double x, double y,
          const penstate* st) {
  tikzpen* t = (tikzpen*)c;
  std::string m = mathlabel(items, n);
  if (m.empty()) return 1;
  t->body += "\\node[diagram label, text=";
  t->body += colorname(t, st->rgb);
  t->body += "] at " + point(t, x, y) + " {$" + m + "$};\n";
  return 1;
}

const pen tikztable = {group, move,  line, curve, arc,    closepath,
                       stroke, fill, clip, text,  label};

// A name TikZ takes as it is: letters, digits and '_' (which TikZ does not
// typeset in names); anything else becomes its code, "x24" for '$'.
std::string tikzname(const char* name) {
  std::string s;
  for (const char* p = name; *p; p++) {
    unsigned char c = (unsigned char)*p;
    if (isalnum(c) || c == '_') {
      s += (char)c;
    } else {
      char buf[8];
      snprintf(buf, sizeof buf, "x%02x", c);
      s += buf;
    }
  }
  return s;
}

void coordinate(tikzpen* t, const primitive* p,
                std::map<std::string, int>* taken, std::string* out) {
  const vertex* v = (const vertex*)p;
  if (!p->valid || v->w == 0 || !(p->layers & layerset) || !isvisible(p))
    return;
  std::string at = "(";
  putnumber(&at, v->x, 4);
  at += ',';
  putnumber(&at, v->y, 4);
  at += ')';
  if (t->named.count(at)) return;  // coincident points keep the first name
  std::string name = tikzname(p->symbol->name);
  if ((*taken)[name]++) name += "x" + std::to_string((*taken)[name]);
  t->named[at] = "(" + name + ")";
  *out += "\\coordinate (" + name + ") at " + at + ";\n";
}

// A name the user typed: not made by a macro's expansion.
int typedname(const primitive* p) {
  return !p->generated && !strchr(p->symbol->name, '$');
}

// The named points the view shows. Where points coincide, the first name
// the user typed names them, else the first generated one.
void coordinates(tikzpen* t, std::string* out) {
  std::map<std::string, int> taken;
  for (int pass = 0; pass < 2; pass++)
    for (primitive* p = plist; p; p = p->next)
      if (p->type == RW_VERTEX && p->symbol && p->symbol->name[0] &&
          typedname(p) == !pass)
        coordinate(t, p, &taken, out);
}

}  // namespace

void writetikz(std::string* out, int standalone) {
  tikzpen t{};
  t.half = fxmax > fymax ? ysize / 2.0 : xsize / 2.0;
  t.pathempty = 1;
  std::string coords;
  coordinates(&t, &coords);
  walkview(&tikztable, &t);
  std::string unit;
  putnumber(&unit, t.half, 3);
  if (standalone)
    *out += "\\RequirePackage{fix-cm}\n\\documentclass[tikz]{standalone}\n\\usepackage{amsmath,amssymb}\n"
            "\\begin{document}\n";
  *out +=
      "% A Tessarin diagram. Needs \\usepackage{tikz}, \\usepackage{amsmath}\n"
      "% and \\usepackage{amssymb} (for \\text, \\overset and symbols in "
      "labels).\n";
  for (int i = 0; i < 8; i++) {
    if (!t.used[i]) continue;
    char buf[96];
    snprintf(buf, sizeof buf, "\\definecolor{%s}{rgb}{%g,%g,%g}\n",
             tikzcolors[i].name, tikzcolors[i].rgb[0], tikzcolors[i].rgb[1],
             tikzcolors[i].rgb[2]);
    *out += buf;
  }
  std::string fsize = std::to_string(gfontsize);
  *out += "\\begin{tikzpicture}[x=" + unit + "bp, y=" + unit +
          "bp, diagram label/.style={anchor=base west, inner sep=0pt, "
          "font=\\fontsize{" + fsize + "}{" + std::to_string(gfontsize * 6 / 5) +
          "}\\selectfont}]\n";
  std::string x0, x1, y0, y1;
  putnumber(&x0, fxmin, 4), putnumber(&x1, fxmax, 4);
  putnumber(&y0, fymin, 4), putnumber(&y1, fymax, 4);
  *out += "\\useasboundingbox (" + x0 + "," + y0 + ") rectangle (" + x1 + "," +
          y1 + ");\n";
  *out += coords;
  *out += t.body;
  *out += "\\end{tikzpicture}\n";
  if (standalone) *out += "\\end{document}\n";
}
