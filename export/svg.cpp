// svg.cpp: the view as an SVG 1.1 document.
//
// Coordinates are points of the page (the EPS's bounding box), y downwards.
// Each drawn record is a group whose id is the record's identifier; a
// circle is a <circle>, everything else a <path>, labels are <text> with
// one <tspan> per run of one font, and dashes are stroke-dasharray. The
// halo under a label is a white copy of it stroked white.
#include <cmath>
#include <string>

#include "export/backends.h"
#include "export/glyphs.h"
#include "export/pen.h"
#include "language/symtable.h"
#include "model/primitive.h"
#include "postscript/psstate.h"
#include "render/view.h"

void putnumber(std::string* out, double v, int decimals) {
  static const double scale[7] = {1, 10, 100, 1e3, 1e4, 1e5, 1e6};
  if (!std::isfinite(v) || fabs(v) > 1e12) {
    char buf[64];
    snprintf(buf, sizeof buf, "%.*f", decimals, std::isfinite(v) ? v : 0.0);
    *out += buf;
    return;
  }
  long long n = llround(fabs(v) * scale[decimals]);
  if (n == 0) {
    *out += '0';
    return;
  }
  if (v < 0) *out += '-';
  long long ip = n / (long long)scale[decimals], fp = n % (long long)scale[decimals];
  *out += std::to_string(ip);
  if (!fp) return;
  char digits[8];
  int k = decimals;
  while (fp % 10 == 0) fp /= 10, k--;
  for (int i = k - 1; i >= 0; i--) digits[i] = (char)('0' + fp % 10), fp /= 10;
  *out += '.';
  out->append(digits, k);
}

namespace {

struct svgpen {
  std::string out;
  std::string d;  // the path being built
  double half, cx, cy;
  const primitive* pending;  // a record whose group is not open yet
  int groupopen;
  int textopen, texthalo;
  float textrgb[3];
  int ncircle;     // path is one full circle so far
  double circ[3];  // its centre and radius, page units
  int nops;
  int nclip;
};

double X(const svgpen* s, double x) { return s->cx + s->half * x; }
double Y(const svgpen* s, double y) { return s->cy - s->half * y; }

void pt(svgpen* s, double x, double y) {
  putnumber(&s->d, X(s, x), 2);
  s->d += ' ';
  putnumber(&s->d, Y(s, y), 2);
}

void escape(std::string* out, const std::string& t) {
  for (char c : t) {
    switch (c) {
      case '<': *out += "&lt;"; break;
      case '>': *out += "&gt;"; break;
      case '&': *out += "&amp;"; break;
      case '"': *out += "&quot;"; break;
      default:
        // Control characters are not allowed in XML 1.0.
        if ((unsigned char)c >= 0x20 || c == '\t') *out += c;
        break;
    }
  }
}

void closetext(svgpen* s) {
  if (!s->textopen) return;
  s->out += "</text>\n";
  s->textopen = 0;
}

// Opens the group of the pending record before its first drawing.
void opengroup(svgpen* s) {
  closetext(s);
  if (!s->pending || s->groupopen) return;
  s->out += "<g";
  if (s->pending->symbol && s->pending->symbol->name[0]) {
    s->out += " id=\"";
    escape(&s->out, s->pending->symbol->name);
    s->out += '"';
  }
  s->out += ">\n";
  s->groupopen = 1;
}

void group(void* c, const primitive* p, int open) {
  svgpen* s = (svgpen*)c;
  closetext(s);
  if (open) {
    s->pending = p;
    s->groupopen = 0;
    return;
  }
  if (s->groupopen) s->out += "</g>\n";
  s->pending = nullptr;
  s->groupopen = 0;
}

void move(void* c, double x, double y) {
  svgpen* s = (svgpen*)c;
  s->d += 'M';
  pt(s, x, y);
  s->ncircle = 0;
  s->nops++;
}

void line(void* c, double x, double y) {
  svgpen* s = (svgpen*)c;
  s->d += 'L';
  pt(s, x, y);
  s->ncircle = 0;
  s->nops++;
}

void curve(void* c, double x1, double y1, double x2, double y2, double x3,
           double y3) {
  svgpen* s = (svgpen*)c;
  s->d += 'C';
  pt(s, x1, y1);
  s->d += ' ';
  pt(s, x2, y2);
  s->d += ' ';
  pt(s, x3, y3);
  s->ncircle = 0;
  s->nops++;
}

// In pieces of at most 90 degrees, so no piece needs the large-arc flag;
// counter-clockwise in the world is sweep 0 with y downwards.
void arc(void* c, double cx, double cy, double r, double a0, double a1) {
  svgpen* s = (svgpen*)c;
  int first = s->nops == 0;
  double t = a0 * M_PI / 180;
  s->d += first ? 'M' : 'L';
  pt(s, cx + r * cos(t), cy + r * sin(t));
  int n = (int)ceil((a1 - a0) / 90 - 1e-9);
  for (int i = 1; i <= n; i++) {
    double b = (a0 + (a1 - a0) * i / n) * M_PI / 180;
    s->d += 'A';
    putnumber(&s->d, r * s->half, 2);
    s->d += ' ';
    putnumber(&s->d, r * s->half, 2);
    s->d += " 0 0 0 ";
    pt(s, cx + r * cos(b), cy + r * sin(b));
  }
  s->ncircle = first && a1 - a0 >= 360;
  s->circ[0] = X(s, cx), s->circ[1] = Y(s, cy), s->circ[2] = r * s->half;
  s->nops++;
}

void closepath(void* c) {
  ((svgpen*)c)->d += 'Z';
}

void color(std::string* out, const float rgb[3]) {
  static const char hex[] = "0123456789abcdef";
  *out += '#';
  for (int i = 0; i < 3; i++) {
    int v = (int)lround(rgb[i] * 255);
    *out += hex[v >> 4];
    *out += hex[v & 15];
  }
}

// The path or circle element, then a fresh path.
void shape(svgpen* s) {
  if (s->ncircle) {
    s->out += "<circle cx=\"";
    putnumber(&s->out, s->circ[0], 2);
    s->out += "\" cy=\"";
    putnumber(&s->out, s->circ[1], 2);
    s->out += "\" r=\"";
    putnumber(&s->out, s->circ[2], 2);
  } else {
    s->out += "<path d=\"";
    s->out += s->d;
  }
  s->out += '"';
  s->d.clear();
  s->nops = 0;
  s->ncircle = 0;
}

void stroke(void* c, const penstate* st) {
  svgpen* s = (svgpen*)c;
  if (s->d.empty()) return;
  opengroup(s);
  // A <circle> runs clockwise on the page, the page's arc the other way:
  // dashes must follow the arc.
  if (st->dash != PSDASH_SOLID) s->ncircle = 0;
  shape(s);
  s->out += " stroke=\"";
  color(&s->out, st->rgb);
  s->out += "\" stroke-width=\"";
  putnumber(&s->out, st->width > 0 ? st->width * s->half : THINNEST, 3);
  s->out += '"';
  double len[2];
  if (dashlengths(st->dash, len)) {
    s->out += " stroke-dasharray=\"";
    putnumber(&s->out, len[0] * s->half, 3);
    s->out += ' ';
    putnumber(&s->out, len[1] * s->half, 3);
    s->out += '"';
    if (st->phase > 0) {
      s->out += " stroke-dashoffset=\"";
      putnumber(&s->out, st->phase * s->half, 3);
      s->out += '"';
    }
  }
  if (st->cap == 1) s->out += " stroke-linecap=\"round\"";
  if (st->cap == 2) s->out += " stroke-linecap=\"square\"";
  s->out += "/>\n";
}

void fill(void* c, const penstate* st) {
  svgpen* s = (svgpen*)c;
  if (s->d.empty()) return;
  opengroup(s);
  shape(s);
  s->out += " fill=\"";
  color(&s->out, st->rgb);
  s->out += "\"/>\n";
}

void clip(void* c, int push) {
  svgpen* s = (svgpen*)c;
  opengroup(s);
  if (!push) {
    s->out += "</g>\n";
    return;
  }
  std::string id = "clip" + std::to_string(s->nclip++);
  s->out += "<clipPath id=\"" + id + "\"><path d=\"" + s->d +
            "\"/></clipPath>\n<g clip-path=\"url(#" + id + ")\">\n";
  s->d.clear();
  s->nops = 0;
  s->ncircle = 0;
}

void text(void* c, const textrun* r, const penstate* st, int halo) {
  svgpen* s = (svgpen*)c;
  if (s->textopen && (s->texthalo != halo || s->textrgb[0] != st->rgb[0] ||
                      s->textrgb[1] != st->rgb[1] ||
                      s->textrgb[2] != st->rgb[2]))
    closetext(s);
  if (!s->textopen) {
    opengroup(s);
    s->out += "<text fill=\"";
    static const float white[3] = {1, 1, 1};
    color(&s->out, halo ? white : st->rgb);
    if (halo) {
      s->out += "\" stroke=\"#ffffff\" stroke-width=\"";
      putnumber(&s->out, HALOWIDTH * s->half, 3);
      s->out += "\" stroke-linejoin=\"round\" stroke-linecap=\"round";
    }
    s->out += "\">";
    s->textopen = 1;
    s->texthalo = halo;
    for (int i = 0; i < 3; i++) s->textrgb[i] = st->rgb[i];
  }
  s->out += "<tspan x=\"";
  putnumber(&s->out, X(s, r->x), 2);
  s->out += "\" y=\"";
  putnumber(&s->out, Y(s, r->y), 2);
  s->out += "\" font-size=\"";
  putnumber(&s->out, r->size * s->half, 2);
  if (r->face == FACE_ITALIC) {
    s->out += "\" font-style=\"italic\">";
  } else {
    s->out += "\" font-family=\"'";
    s->out += exportfamily(r->face);
    s->out += "', ";
    s->out += exportfallback(r->face);
    s->out += "\">";
  }
  escape(&s->out, r->utf8);
  s->out += "</tspan>";
}

const pen svgtable = {group, move,  line, curve, arc,    closepath,
                      stroke, fill, clip, text,  nullptr};

}  // namespace

int writesvg(FILE* out) {
  svgpen s{};
  s.half = fxmax > fymax ? ysize / 2.0 : xsize / 2.0;
  s.cx = xsize / 2.0, s.cy = ysize / 2.0;
  s.out.reserve(1 << 20);
  char head[640];
  snprintf(head, sizeof head,
           "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" "
           "width=\"%dpt\" height=\"%dpt\" viewBox=\"0 0 %d %d\">\n"
           "<title>Tessarin diagram</title>\n"
           "<g fill=\"none\" stroke-miterlimit=\"10\" font-family=\"'%s', "
           "%s\" xml:space=\"preserve\">\n",
           xsize, ysize, xsize, ysize, exportfamily(FACE_ITALIC),
           exportfallback(FACE_ITALIC));
  s.out += head;
  walkview(&svgtable, &s);
  closetext(&s);
  s.out += "</g>\n</svg>\n";
  fwrite(s.out.data(), 1, s.out.size(), out);
  return 1;
}
