// pdf.cpp: the view as a one-page PDF.
//
// The page is the EPS's bounding box in points with y upwards, as in the
// world, so world point (x, y) is (cx + half x, cy + half y) on the page.
// The drawing is one content stream, deflated at zlib's fastest level.
//
// Text is set in Type 3 fonts whose glyphs are the outlines cairo gives
// for the exports' faces (export/glyphs.h): only the characters a page
// uses are written, no font file is embedded, the letters are the shapes
// the PNG shows, and a ToUnicode map keeps the text selectable and
// searchable. A font holds 255 characters of one face; more open another.
// Each character gets its own code, so two characters drawn with the same
// glyph (a face's missing-glyph box) still read back as themselves.
//
// A label's halo is the outline of its letters stroked wide and white: a
// form per character and size, written once and placed wherever used.
//
// Strokes in one state that follow each other share one path object and
// its one `S`; a dash pattern starts afresh on every subpath, so they are
// dashed as they were alone.
#include <cairo.h>
#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "export/backends.h"
#include "export/glyphs.h"
#include "export/pen.h"
#include "render/view.h"

namespace {

// Glyph space: units per em (the fonts' FontMatrix is its inverse).
const double EM = 1000;

// A character of one face as the page's fonts draw it.
struct pdfglyph {
  int font;          // index into pdfpen::fonts
  int code;          // 1..255 in that font
  uint32_t unicode;  // what it reads back as
  double width;      // advance, glyph units
  double box[4];     // bounds of the outline, glyph units
  std::string path;  // the outline, glyph units, as content operators
};

struct pdffont {
  int face;
  std::vector<int> glyphs;  // code i + 1 is glyphs[i]
};

// What the content stream has set so far (q and Q save and restore it).
struct pdfgraphics {
  penstate stroke;
  int hasstroke;
  float fill[3];
  int hasfill;
};

typedef std::pair<int, double> halokey;  // glyph, size in points

struct pdfpen {
  std::string out;   // the content stream
  std::string path;  // the path being built
  int haspoint;      // it has a current point
  int held;          // a stroke's path is in `out`, its `S` not yet
  double half, cx, cy;
  pdfgraphics gs;
  std::vector<pdfgraphics> saved;  // at each clip's `q`
  std::vector<pdfglyph> glyphs;
  std::unordered_map<uint64_t, int> glyphof;  // face << 32 | unicode
  std::vector<pdffont> fonts;
  int openfont[2];  // the font taking new characters of each face, or -1
  std::map<halokey, int> haloof;  // -> index into halos
  std::vector<halokey> halos;
  cairo_surface_t* scratch;  // where cairo makes glyph outlines
  cairo_t* cr;
};

void num(std::string* out, double v, int decimals = 2) {
  putnumber(out, v, decimals);
  *out += ' ';
}

void point(pdfpen* p, double x, double y) {
  num(&p->path, p->cx + p->half * x);
  num(&p->path, p->cy + p->half * y);
}

void group(void*, const primitive*, int) {}

void move(void* c, double x, double y) {
  pdfpen* p = (pdfpen*)c;
  point(p, x, y);
  p->path += "m\n";
  p->haspoint = 1;
}

// As in PostScript and cairo, a line or curve with no current point
// starts one.
void line(void* c, double x, double y) {
  pdfpen* p = (pdfpen*)c;
  if (!p->haspoint) return move(c, x, y);
  point(p, x, y);
  p->path += "l\n";
}

void curve(void* c, double x1, double y1, double x2, double y2, double x3,
           double y3) {
  pdfpen* p = (pdfpen*)c;
  if (!p->haspoint) move(c, x1, y1);
  point(p, x1, y1);
  point(p, x2, y2);
  point(p, x3, y3);
  p->path += "c\n";
}

// Beziers of at most 90 degrees each (off the circle by 0.03 % of the
// radius at most), joined to the current point as cairo joins an arc.
void arc(void* c, double cx, double cy, double r, double a0, double a1) {
  pdfpen* p = (pdfpen*)c;
  if (r <= 0) return line(c, cx, cy);
  double t0 = a0 * M_PI / 180, t1 = a1 * M_PI / 180;
  line(c, cx + r * cos(t0), cy + r * sin(t0));
  int n = (int)ceil((t1 - t0) / (M_PI / 2) - 1e-9);
  for (int i = 1; i <= n; i++) {
    double a = t0 + (t1 - t0) * (i - 1) / n, b = t0 + (t1 - t0) * i / n;
    double h = 4.0 / 3 * tan((b - a) / 4);
    double ca = cos(a), sa = sin(a), cb = cos(b), sb = sin(b);
    point(p, cx + r * (ca - h * sa), cy + r * (sa + h * ca));
    point(p, cx + r * (cb + h * sb), cy + r * (sb - h * cb));
    point(p, cx + r * cb, cy + r * sb);
    p->path += "c\n";
  }
}

void closepath(void* c) {
  pdfpen* p = (pdfpen*)c;
  if (p->haspoint) p->path += "h\n";
}

// Ends the stroke held back, if any.
void flush(pdfpen* p) {
  if (p->held) p->out += "S\n";
  p->held = 0;
}

// Moves the path being built into the content stream.
void takepath(pdfpen* p) {
  p->out += p->path;
  p->path.clear();
  p->haspoint = 0;
}

void color(std::string* out, const float rgb[3], const char* op) {
  for (int i = 0; i < 3; i++) num(out, rgb[i], 3);
  *out += op;
}

void setfill(pdfpen* p, const float rgb[3]) {
  pdfgraphics* g = &p->gs;
  if (g->hasfill && std::equal(rgb, rgb + 3, g->fill)) return;
  color(&p->out, rgb, "rg\n");
  std::copy(rgb, rgb + 3, g->fill);
  g->hasfill = 1;
}

// Writes what differs between the stream's stroke state and `s`.
void setstroke(pdfpen* p, const penstate* s) {
  pdfgraphics* g = &p->gs;
  const penstate* o = g->hasstroke ? &g->stroke : nullptr;
  std::string* out = &p->out;
  if (!o || !std::equal(s->rgb, s->rgb + 3, o->rgb)) color(out, s->rgb, "RG\n");
  if (!o || s->width != o->width) {
    num(out, s->width > 0 ? s->width * p->half : THINNEST, 3);
    *out += "w\n";
  }
  if (!o || s->dash != o->dash || s->phase != o->phase) {
    double len[2];
    int n = dashlengths(s->dash, len);
    *out += '[';
    for (int i = 0; i < n; i++) num(out, len[i] * p->half, 3);
    *out += "] ";
    num(out, n ? s->phase * p->half : 0, 3);
    *out += "d\n";
  }
  if (!o || s->cap != o->cap) {
    *out += (char)('0' + s->cap);
    *out += " J\n";
  }
  g->stroke = *s;
  g->hasstroke = 1;
}

int samestate(const penstate* a, const penstate* b) {
  return std::equal(a->rgb, a->rgb + 3, b->rgb) && a->dash == b->dash &&
         a->phase == b->phase && a->width == b->width && a->cap == b->cap;
}

void stroke(void* c, const penstate* s) {
  pdfpen* p = (pdfpen*)c;
  if (p->path.empty()) return;
  if (p->held && !samestate(&p->gs.stroke, s)) flush(p);
  if (!p->held) setstroke(p, s);
  takepath(p);
  p->held = 1;
}

void fill(void* c, const penstate* s) {
  pdfpen* p = (pdfpen*)c;
  flush(p);
  if (p->path.empty()) return;
  setfill(p, s->rgb);
  takepath(p);
  p->out += "f\n";
}

// An empty clip path clips everything away, as in cairo.
void clip(void* c, int push) {
  pdfpen* p = (pdfpen*)c;
  flush(p);
  if (!push) {
    if (p->saved.empty()) return;
    p->out += "Q\n";
    p->gs = p->saved.back();
    p->saved.pop_back();
    return;
  }
  p->out += "q\n";
  p->saved.push_back(p->gs);
  if (p->path.empty()) p->path = "0 0 0 0 re\n";
  takepath(p);
  p->out += "W n\n";
}

// ---- characters ----

// The outline of character `one` (UTF-8) of `face` into `g`, in glyph
// units, y upwards, unhinted.
void outline(pdfpen* p, int face, const std::string& one, pdfglyph* g) {
  cairo_t* cr = p->cr;
  cairo_set_font_face(cr, exportface(face));
  cairo_matrix_t m;
  cairo_matrix_init(&m, EM, 0, 0, -EM, 0, 0);
  cairo_set_font_matrix(cr, &m);
  cairo_glyph_t* gl = nullptr;
  int n = 0;
  double* b = g->box;
  b[0] = b[1] = b[2] = b[3] = 0;
  if (cairo_scaled_font_text_to_glyphs(
          cairo_get_scaled_font(cr), 0, 0, one.data(), (int)one.size(), &gl, &n,
          nullptr, nullptr, nullptr) != CAIRO_STATUS_SUCCESS)
    return;
  cairo_new_path(cr);
  cairo_glyph_path(cr, gl, n);
  cairo_glyph_free(gl);
  cairo_path_t* path = cairo_copy_path(cr);
  cairo_new_path(cr);
  int first = 1;
  static const char* ops[4] = {"m\n", "l\n", "c\n", "h\n"};
  static const int points[4] = {1, 1, 3, 0};
  for (int i = 0; i < path->num_data; i += path->data[i].header.length) {
    const cairo_path_data_t* d = &path->data[i];
    int t = d->header.type;
    for (int k = 1; k <= points[t]; k++) {
      double x = d[k].point.x, y = d[k].point.y;
      num(&g->path, x, 1);
      num(&g->path, y, 1);
      if (first) b[0] = b[2] = x, b[1] = b[3] = y, first = 0;
      b[0] = std::min(b[0], x), b[1] = std::min(b[1], y);
      b[2] = std::max(b[2], x), b[3] = std::max(b[3], y);
    }
    g->path += ops[t];
  }
  cairo_path_destroy(path);
}

// The glyph of character `u` (its UTF-8 `one`) of `face`, made on first
// use.
int glyphof(pdfpen* p, int face, uint32_t u, const std::string& one) {
  uint64_t key = (uint64_t)face << 32 | u;
  auto found = p->glyphof.find(key);
  if (found != p->glyphof.end()) return found->second;
  int f = p->openfont[face];
  if (f < 0 || p->fonts[f].glyphs.size() == 255) {
    f = p->openfont[face] = (int)p->fonts.size();
    p->fonts.push_back({face, {}});
  }
  pdfglyph g;
  g.font = f;
  g.code = (int)p->fonts[f].glyphs.size() + 1;
  g.unicode = u;
  g.width = glyphadvance(face, one) * EM;  // the walk's own widths
  outline(p, face, one, &g);
  int index = (int)p->glyphs.size();
  p->glyphs.push_back(std::move(g));
  p->fonts[f].glyphs.push_back(index);
  p->glyphof.emplace(key, index);
  return index;
}

// The glyphs of run `r`.
std::vector<int> runglyphs(pdfpen* p, const textrun* r) {
  std::vector<int> out;
  for (size_t i = 0; i < r->utf8.size();) {
    size_t start = i;
    uint32_t u = nextutf8(r->utf8, &i);
    out.push_back(glyphof(p, r->face, u, r->utf8.substr(start, i - start)));
  }
  return out;
}

// The form of glyph `g`'s halo at `size` points, made on first use.
int haloform(pdfpen* p, int g, double size) {
  halokey key(g, size);
  auto found = p->haloof.find(key);
  if (found != p->haloof.end()) return found->second;
  int index = (int)p->halos.size();
  p->halos.push_back(key);
  p->haloof.emplace(key, index);
  return index;
}

// The letters of a run: one text object, the font switched where a
// character lives in another font of the face.
void letters(pdfpen* p, const textrun* r, const std::vector<int>& gl) {
  std::string* out = &p->out;
  double size = r->size * p->half;
  *out += "BT\n";
  int font = -1;
  static const char hex[] = "0123456789ABCDEF";
  for (int g : gl) {
    const pdfglyph& G = p->glyphs[g];
    if (G.font != font) {
      if (font >= 0) *out += "> Tj\n";
      *out += "/F" + std::to_string(G.font) + ' ';
      num(out, size);
      *out += "Tf\n";
      if (font < 0) {
        num(out, p->cx + p->half * r->x);
        num(out, p->cy + p->half * r->y);
        *out += "Td\n";
      }
      *out += '<';
      font = G.font;
    }
    *out += hex[G.code >> 4];
    *out += hex[G.code & 15];
  }
  *out += "> Tj\nET\n";
}

// The halo of a run: each glyph's form placed at the glyph's origin.
void halo(pdfpen* p, const textrun* r, const std::vector<int>& gl) {
  std::string* out = &p->out;
  double size = r->size * p->half, k = size / EM;
  double x = p->cx + p->half * r->x, y = p->cy + p->half * r->y;
  *out += "q\n";
  for (int g : gl) {
    const pdfglyph& G = p->glyphs[g];
    if (!G.path.empty()) {
      *out += "1 0 0 1 ";
      num(out, x);
      num(out, y);
      *out += "cm /H" + std::to_string(haloform(p, g, size)) + " Do\n";
      x = y = 0;  // cm accumulates: later glyphs move from this one
    }
    x += G.width * k;
  }
  *out += "Q\n";
}

void text(void* c, const textrun* r, const penstate* s, int ishalo) {
  pdfpen* p = (pdfpen*)c;
  flush(p);
  // Letters under a hundredth of a point show nothing; a font or form
  // scaled to nothing would be a singular matrix for the reader.
  if (!(r->size * p->half >= 0.01)) return;
  std::vector<int> gl = runglyphs(p, r);
  if (gl.empty()) return;
  if (ishalo) return halo(p, r, gl);
  setfill(p, s->rgb);
  letters(p, r, gl);
}

const pen pdftable = {group,  move, line, curve, arc,    closepath,
                      stroke, fill, clip, text,  nullptr};

// ---- the file ----

// The objects of the file, numbered from 1, and where each starts.
struct pdffile {
  std::string data;
  std::vector<size_t> offsets;
};

void beginobj(pdffile* f) {
  f->offsets.push_back(f->data.size());
  f->data += std::to_string(f->offsets.size()) + " 0 obj\n";
}

void obj(pdffile* f, const std::string& body) {
  beginobj(f);
  f->data += body;
  f->data += "\nendobj\n";
}

void streamobj(pdffile* f, const std::string& dict, const std::string& s) {
  beginobj(f);
  f->data +=
      "<< " + dict + "/Length " + std::to_string(s.size()) + " >>\nstream\n";
  f->data += s;
  f->data += "\nendstream\nendobj\n";
}

std::string ref(int n) {
  return std::to_string(n) + " 0 R";
}

// Stream `s` deflated at zlib's fastest level into `z`; 0 when zlib
// could not (the stream then goes as it is).
int deflated(const std::string& s, std::string* z) {
  uLongf n = compressBound((uLong)s.size());
  z->resize(n);
  if (compress2((Bytef*)&(*z)[0], &n, (const Bytef*)s.data(), (uLong)s.size(),
                Z_BEST_SPEED) != Z_OK)
    return 0;
  z->resize(n);
  return 1;
}

// A font's map from codes to the characters they read back as.
std::string tounicode(const pdfpen* p, const pdffont& font) {
  std::string s =
      "/CIDInit /ProcSet findresource begin\n12 dict begin\nbegincmap\n"
      "/CIDSystemInfo << /Registry (Adobe) /Ordering (UCS) /Supplement 0 >> "
      "def\n/CMapName /Adobe-Identity-UCS def\n/CMapType 2 def\n"
      "1 begincodespacerange\n<00> <FF>\nendcodespacerange\n";
  char buf[32];
  size_t n = font.glyphs.size();
  for (size_t i = 0; i < n; i += 100) {  // at most 100 to a block
    s += std::to_string(std::min<size_t>(100, n - i)) + " beginbfchar\n";
    for (size_t j = i; j < n && j < i + 100; j++) {
      snprintf(buf, sizeof buf, "<%02X> <%04X>\n", (int)j + 1,
               (unsigned)p->glyphs[font.glyphs[j]].unicode);
      s += buf;
    }
    s += "endbfchar\n";
  }
  return s +
         "endcmap\nCMapName currentdict /CMap defineresource pop\nend\nend\n";
}

// Bounds `b` grown by `grow` to whole units: "x0 y0 x1 y1 ".
std::string corners(const double b[4], double grow) {
  std::string s;
  num(&s, floor(b[0] - grow), 0);
  num(&s, floor(b[1] - grow), 0);
  num(&s, ceil(b[2] + grow), 0);
  num(&s, ceil(b[3] + grow), 0);
  return s;
}

// `font` as objects from number `at`: its dictionary, ToUnicode map and glyph
// procedures. Returns the next free number.
int writefont(pdffile* f, const pdfpen* p, const pdffont& font, int at) {
  int n = (int)font.glyphs.size();
  double all[4] = {0, 0, 0, 0};
  std::string procs, widths, names;
  for (int i = 0; i < n; i++) {
    const pdfglyph& g = p->glyphs[font.glyphs[i]];
    std::string name = "/g" + std::to_string(i + 1);
    procs += name + ' ' + ref(at + 2 + i) + ' ';
    names += name + ' ';
    num(&widths, g.width, 3);
    for (int k = 0; k < 2; k++) all[k] = std::min(all[k], g.box[k]);
    for (int k = 2; k < 4; k++) all[k] = std::max(all[k], g.box[k]);
  }
  obj(f, "<< /Type /Font /Subtype /Type3 /FontBBox [" + corners(all, 0) +
             "] /FontMatrix [0.001 0 0 0.001 0 0] /CharProcs << " + procs +
             ">> /Encoding << /Type /Encoding /Differences [1 " + names +
             "] >> /FirstChar 1 /LastChar " + std::to_string(n) + " /Widths [" +
             widths + "] /ToUnicode " + ref(at + 1) + " /Resources << >> >>");
  streamobj(f, "", tounicode(p, font));
  for (int i = 0; i < n; i++) {
    const pdfglyph& g = p->glyphs[font.glyphs[i]];
    std::string s;
    num(&s, g.width, 3);
    s += "0 " + corners(g.box, 0) + "d1\n" + g.path;
    if (!g.path.empty()) s += "f\n";
    streamobj(f, "", s);
  }
  return at + 2 + n;
}

// A halo form: the glyph's outline in glyph units, scaled to its size,
// stroked white and round, HALOWIDTH wide on the page.
void writehalo(pdffile* f, const pdfpen* p, const halokey& h) {
  const pdfglyph& g = p->glyphs[h.first];
  double k = h.second / EM, w = HALOWIDTH * p->half / k;
  std::string s = "1 1 1 RG ";
  num(&s, w, 2);
  s += "w 1 J 1 j\n" + g.path + "S\n";
  std::string dict = "/Type /XObject /Subtype /Form /BBox [" +
                     corners(g.box, w / 2 + 1) + "] /Matrix [";
  num(&dict, k, 6);
  dict += "0 0 ";
  num(&dict, k, 6);
  dict += "0 0] /Resources << >> ";
  streamobj(f, dict, s);
}

// Catalog, pages, page, content, info, fonts, halo forms; xref, trailer.
std::string pdfdocument(const pdfpen* p, const std::string& content) {
  pdffile f;
  f.data.reserve(content.size() + 4096);
  f.data = "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n";
  std::string fonts, forms;
  int next = 6;
  std::vector<int> fontat;
  for (size_t i = 0; i < p->fonts.size(); i++) {
    fontat.push_back(next);
    fonts += "/F" + std::to_string(i) + ' ' + ref(next) + ' ';
    next += 2 + (int)p->fonts[i].glyphs.size();
  }
  for (size_t i = 0; i < p->halos.size(); i++)
    forms += "/H" + std::to_string(i) + ' ' + ref(next + (int)i) + ' ';
  obj(&f, "<< /Type /Catalog /Pages 2 0 R >>");
  obj(&f, "<< /Type /Pages /Kids [3 0 R] /Count 1 >>");
  obj(&f, "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 " +
              std::to_string(xsize) + ' ' + std::to_string(ysize) +
              "] /Contents 4 0 R /Resources << /Font << " + fonts +
              ">> /XObject << " + forms + ">> >> >>");
  std::string z;
  if (deflated(content, &z))
    streamobj(&f, "/Filter /FlateDecode ", z);
  else
    streamobj(&f, "", content);
  obj(&f, "<< /Producer (Tessarin) /Creator (Tessarin) >>");
  for (size_t i = 0; i < p->fonts.size(); i++)
    writefont(&f, p, p->fonts[i], fontat[i]);
  for (const halokey& h : p->halos) writehalo(&f, p, h);
  size_t xref = f.data.size();
  int count = (int)f.offsets.size() + 1;
  f.data += "xref\n0 " + std::to_string(count) + "\n0000000000 65535 f \n";
  char entry[24];
  for (size_t at : f.offsets) {
    snprintf(entry, sizeof entry, "%010zu 00000 n \n", at);
    f.data += entry;
  }
  f.data += "trailer\n<< /Size " + std::to_string(count) +
            " /Root 1 0 R /Info 5 0 R >>\nstartxref\n" + std::to_string(xref) +
            "\n%%EOF\n";
  return f.data;
}

}  // namespace

int writepdf(FILE* out) {
  pdfpen p{};
  p.half = fxmax > fymax ? ysize / 2.0 : xsize / 2.0;
  p.cx = xsize / 2.0, p.cy = ysize / 2.0;
  p.openfont[0] = p.openfont[1] = -1;
  p.out.reserve(1 << 20);
  p.scratch = cairo_image_surface_create(CAIRO_FORMAT_A8, 1, 1);
  p.cr = cairo_create(p.scratch);
  cairo_font_options_t* o = cairo_font_options_create();
  cairo_font_options_set_hint_metrics(o, CAIRO_HINT_METRICS_OFF);
  cairo_font_options_set_hint_style(o, CAIRO_HINT_STYLE_NONE);
  cairo_set_font_options(p.cr, o);
  cairo_font_options_destroy(o);
  p.out += "10 M\n";
  walkview(&pdftable, &p);
  flush(&p);
  while (!p.saved.empty()) clip(&p, 0);
  cairo_destroy(p.cr);
  cairo_surface_destroy(p.scratch);
  std::string doc = pdfdocument(&p, p.out);
  return fwrite(doc.data(), 1, doc.size(), out) == doc.size();
}
