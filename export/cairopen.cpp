// cairopen.cpp: the view through cairo, as a PNG image.
//
// cairo's user space is the world: the page's points are scaled by the
// view's points per world unit and flipped so y runs upwards. Text is set
// in the exports' font (export/glyphs.h) with a flipped font matrix.
//
// A label's halo is the outline of its letters, stroked wide: the dearest
// thing on a page. Each glyph's halo is therefore drawn once, as an alpha
// mask per quarter-pixel offset, and stamped at whole pixels wherever the
// glyph is used, so that nothing is resampled and the halo lands within an
// eighth of a pixel of the stroked outline.
//
// An image is drawn in horizontal bands, one thread each, sharing one
// pixel buffer: the walk runs once into a pen log (export/penlog.h) and
// each band plays it back. cairo rasterises only the rows of a band's
// surface, and a row's pixels depend on nothing outside it, so the bands
// give the pixels one surface would.
#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <mutex>
#include <thread>
#include <tuple>
#include <vector>

#include "export/backends.h"
#include "export/export.h"
#include "export/glyphs.h"
#include "export/hairline.h"
#include "export/pen.h"
#include "export/penlog.h"
#include "model/notify.h"
#include "render/view.h"

namespace {

// A glyph's halo: face, size (world units), glyph index and the
// quarter-pixel offset (4 x + y) it is drawn at.
typedef std::tuple<int, double, unsigned long, int> halokey;

// A mask whose top left pixel is (x, y) from the glyph's origin.
struct halo {
  cairo_surface_t* s;
  int x, y;
};

// The masks' pixels, made once for all the bands of an image: each band
// reads them through surfaces of its own (cairo changes a surface's
// settings as it uses it, so a surface is not shared between threads).
struct halopixels {
  std::vector<unsigned char> a8;
  int w, h, stride, x, y;
};

struct halostore {
  std::mutex lock;  // guards `masks`; a mask once made stays put
  std::map<halokey, halopixels> masks;
};

// One step of a path: 'm'ove, 'l'ine, 'c'urve, 'a'rc or 'z' (close),
// with its numbers as the pen operation takes them.
struct pathstep {
  char kind;
  double v[6];
};

struct cairopen {
  cairo_t* cr;
  double pixel;  // one device pixel in world units
  std::map<halokey, halo> halos;
  std::vector<pathstep> path;  // the path being built
  int clips;                   // clips in force
  int polyclip;      // the second is a polygon, given to the hairlines
  hairline hair;     // an image's thin strokes, set up by the view's clip
  double origin[2];  // the world's origin in the whole image's pixels
  int top;           // the surface's first row in the whole image
  halostore* store;  // the halo masks all bands share
};

void group(void*, const primitive*, int) {}

void step(void* c, pathstep s) {
  ((cairopen*)c)->path.push_back(s);
}

void move(void* c, double x, double y) {
  step(c, {'m', {x, y}});
}
void line(void* c, double x, double y) {
  step(c, {'l', {x, y}});
}
void curve(void* c, double x1, double y1, double x2, double y2, double x3,
           double y3) {
  step(c, {'c', {x1, y1, x2, y2, x3, y3}});
}
void arc(void* c, double cx, double cy, double r, double a0, double a1) {
  step(c, {'a', {cx, cy, r, a0 * M_PI / 180, a1 * M_PI / 180}});
}
void closepath(void* c) {
  step(c, {'z', {}});
}

// Hands the path being built to cairo.
void handpath(cairopen* p) {
  cairo_t* cr = p->cr;
  cairo_new_sub_path(cr);
  for (const pathstep& s : p->path) {
    const double* v = s.v;
    switch (s.kind) {
      case 'm': cairo_move_to(cr, v[0], v[1]); break;
      case 'l': cairo_line_to(cr, v[0], v[1]); break;
      case 'c': cairo_curve_to(cr, v[0], v[1], v[2], v[3], v[4], v[5]); break;
      case 'a': cairo_arc(cr, v[0], v[1], v[2], v[3], v[4]); break;
      default: cairo_close_path(cr); break;  // 'z'
    }
  }
  p->path.clear();
}

void source(cairo_t* cr, const penstate* s) {
  cairo_set_source_rgb(cr, s->rgb[0], s->rgb[1], s->rgb[2]);
}

// Strokes cairo's path in state `s`.
void strokewith(cairopen* p, const penstate* s) {
  source(p->cr, s);
  cairo_set_line_width(p->cr, s->width > 0 ? s->width : p->pixel);
  double len[2];
  cairo_set_dash(p->cr, len, dashlengths(s->dash, len), s->phase);
  static const cairo_line_cap_t caps[3] = {
      CAIRO_LINE_CAP_BUTT, CAIRO_LINE_CAP_ROUND, CAIRO_LINE_CAP_SQUARE};
  cairo_set_line_cap(p->cr, caps[s->cap]);
  cairo_stroke(p->cr);
}

// One straight segment, solid, with butt caps, within the view's clip:
// drawn exactly by the hairline module at any width.
int bar(const cairopen* p, const penstate* s) {
  double len[2];
  return p->clips == 1 && s->cap == 0 && !dashlengths(s->dash, len) &&
         p->path.size() == 2 && p->path[0].kind == 'm' &&
         p->path[1].kind == 'l';
}

// An image's strokes up to a pixel and a half wide, clipped by the view
// alone, are drawn by the hairline module, not by cairo: dashed ones too
// while their dashes and gaps are at least half a pixel long, and solid
// ones within a polygon's clip (hatches); so are bars up to 16 pixels.
int hairlike(const cairopen* p, const penstate* s) {
  double len[2];
  double w = (s->width > 0 ? s->width : p->pixel) / p->pixel;
  int dashes = dashlengths(s->dash, len);
  if (bar(p, s)) return w <= 16;
  if (p->clips == 2) return p->polyclip && w <= 1.5 && !dashes;
  return p->clips == 1 && w <= 1.5 &&
         (!dashes || std::min(len[0], len[1]) >= p->pixel / 2);
}

// cairo's 8 bits of a colour channel.
uint32_t channel(float v) {
  return (uint32_t)(v * 65535.0 + 0.5) >> 8;
}

// The edges of `path` when it is a polygon (lines only),
// in the image's pixels, each subpath closed as a clip closes it; none
// when it is not.
std::vector<double> polygonedges(const cairopen* p,
                                 const std::vector<pathstep>& path) {
  std::vector<double> e;
  double k = 1 / p->pixel, sx = 0, sy = 0, cx = 0, cy = 0;
  auto edge = [&](double x, double y) {
    if (x != cx || y != cy) e.insert(e.end(), {cx, cy, x, y});
    cx = x, cy = y;
  };
  for (const pathstep& st : path) {
    double x = p->origin[0] + k * st.v[0], y = p->origin[1] - k * st.v[1];
    switch (st.kind) {
      case 'm': edge(sx, sy), cx = sx = x, cy = sy = y; break;
      case 'l': edge(x, y); break;
      case 'z': edge(sx, sy); break;
      default: return {};  // curves and arcs stay with cairo
    }
  }
  edge(sx, sy);
  return e;
}

// Within a polygon's clip, the closed subpaths of a stroke are its
// outline (drawn before its hatch lines, as the inner half of a stroke
// along the clip's edges); they are taken out of the path. Those with
// curves stay with cairo.
void outlines(cairopen* p, const penstate* s) {
  std::vector<pathstep> open, closed;
  size_t start = 0;
  for (size_t i = 0; i <= p->path.size(); i++) {
    if (i < p->path.size() && (p->path[i].kind != 'm' || i == start)) continue;
    int shut = 0;
    for (size_t j = start; j < i; j++) shut |= p->path[j].kind == 'z';
    std::vector<pathstep>& to = shut ? closed : open;
    to.insert(to.end(), p->path.begin() + start, p->path.begin() + i);
    start = i;
  }
  if (closed.empty()) return;
  std::vector<double> e = polygonedges(p, closed);
  for (size_t i = 0; i + 3 < e.size(); i += 4)
    hairedge(&p->hair, e[i], e[i + 1], e[i + 2], e[i + 3]);
  p->path = open;
  if (!e.empty()) return;
  std::swap(p->path, closed);
  handpath(p);
  strokewith(p, s);
  p->path = closed;
}

void hairstroke(cairopen* p, const penstate* s) {
  hairline* h = &p->hair;
  double k = 1 / p->pixel;
  h->half = (s->width > 0 ? s->width : p->pixel) * k / 2;
  double len[2];
  if (dashlengths(s->dash, len))
    hairdash(h, len[0] * k, len[1] * k, s->phase * k, s->cap != 0);
  if (p->clips == 2) outlines(p, s);
  if (bar(p, s)) {
    const double* a = p->path[0].v;
    const double* b = p->path[1].v;
    hairbar(h, p->origin[0] + k * a[0], p->origin[1] - k * a[1],
            p->origin[0] + k * b[0], p->origin[1] - k * b[1]);
    p->path.clear();
  }
  for (const pathstep& st : p->path) {
    const double* v = st.v;
    double x[3], y[3];
    for (int i = 0; i < 3; i++)
      x[i] = p->origin[0] + k * v[2 * i],
      y[i] = p->origin[1] - k * v[2 * i + 1];
    switch (st.kind) {
      case 'm': hairmove(h, x[0], y[0]); break;
      case 'l': hairlineto(h, x[0], y[0]); break;
      case 'c': haircurve(h, x[0], y[0], x[1], y[1], x[2], y[2]); break;
      case 'a': hairarc(h, x[0], y[0], v[2] * k, v[3], v[4], -1); break;
      default: hairclose(h); break;  // 'z'
    }
  }
  p->path.clear();
  cairo_surface_t* target = cairo_get_target(p->cr);
  cairo_surface_flush(target);
  hairpaint(h, channel(s->rgb[0]) << 16 | channel(s->rgb[1]) << 8 |
                   channel(s->rgb[2]));
  cairo_surface_mark_dirty(target);
}

void stroke(void* c, const penstate* s) {
  cairopen* p = (cairopen*)c;
  if (p->path.empty()) return;  // cairo draws nothing for an empty path
  if (hairlike(p, s)) return hairstroke(p, s);
  handpath(p);
  strokewith(p, s);
}

void fill(void* c, const penstate* s) {
  cairopen* p = (cairopen*)c;
  handpath(p);
  source(p->cr, s);
  cairo_fill(p->cr);
}

// The hairlines of an image are drawn within the view's clip: its pixels
// and any it covers in part.
void viewbox(cairopen* p) {
  double x0, y0, x1, y1;
  cairo_clip_extents(p->cr, &x0, &y0, &x1, &y1);
  cairo_user_to_device(p->cr, &x0, &y0);
  cairo_user_to_device(p->cr, &x1, &y1);
  cairo_surface_t* s = cairo_get_target(p->cr);
  int w = cairo_image_surface_get_width(s),
      h = cairo_image_surface_get_height(s);
  hairbegin(&p->hair, (uint32_t*)cairo_image_surface_get_data(s),
            cairo_image_surface_get_stride(s) / 4, p->top,
            std::max(0, (int)floor(std::min(x0, x1))),
            p->top + std::max(0, (int)floor(std::min(y0, y1))),
            std::min(w, (int)ceil(std::max(x0, x1))),
            p->top + std::min(h, (int)ceil(std::max(y0, y1))));
}

void clip(void* c, int push) {
  cairopen* p = (cairopen*)c;
  if (push) {
    if (p->clips == 1) {
      hairclip(&p->hair, polygonedges(p, p->path));
      p->polyclip = !p->hair.edges.empty();
    }
    handpath(p);
    cairo_save(p->cr);
    cairo_clip(p->cr);
    if (!p->clips++) viewbox(p);
  } else {
    cairo_restore(p->cr);
    if (--p->clips == 1) hairclip(&p->hair, {}), p->polyclip = 0;
  }
}

void setfont(cairo_t* cr, const textrun* r) {
  cairo_set_font_face(cr, exportface(r->face));
  cairo_matrix_t m;
  cairo_matrix_init(&m, r->size, 0, 0, -r->size, 0, 0);
  cairo_set_font_matrix(cr, &m);
}

// Strokes the current path as a halo: white, round. The inside of the
// letters needs no fill, as the letters themselves cover it.
void halostroke(cairo_t* cr) {
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_set_line_width(cr, HALOWIDTH);
  cairo_set_dash(cr, nullptr, 0, 0);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_stroke(cr);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_MITER);
}

// Sets up `cr` for the halo of glyph `g` of run `r` with its origin at
// (x, y) device units, its path made.
void halopath(cairo_t* cr, cairopen* p, const textrun* r, unsigned long g,
              double x, double y) {
  cairo_identity_matrix(cr);
  cairo_translate(cr, x, y);
  cairo_scale(cr, 1 / p->pixel, -1 / p->pixel);
  setfont(cr, r);
  cairo_glyph_t one = {g, 0, 0};
  cairo_glyph_path(cr, &one, 1);
}

// The pixels of the halo of glyph `g` of run `r`, its origin at (fx, fy)
// quarter pixels; made by the first band that needs them.
const halopixels* halomaskpixels(cairopen* p, const textrun* r, unsigned long g,
                                 int fx, int fy) {
  std::lock_guard<std::mutex> hold(p->store->lock);
  halokey key(r->face, r->size, g, 4 * fx + fy);
  auto found = p->store->masks.find(key);
  if (found != p->store->masks.end()) return &found->second;
  halopixels& h = p->store->masks[key];
  cairo_t* cr = p->cr;  // measures the stroke, drawing nothing
  cairo_save(cr);
  halopath(cr, p, r, g, fx / 4.0, fy / 4.0);
  cairo_set_line_width(cr, HALOWIDTH);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  double x0, y0, x1, y1;
  cairo_stroke_extents(cr, &x0, &y0, &x1, &y1);
  cairo_user_to_device(cr, &x0, &y0);
  cairo_user_to_device(cr, &x1, &y1);
  cairo_new_path(cr);
  cairo_restore(cr);
  h.x = (int)floor(std::min(x0, x1)) - 1;
  h.y = (int)floor(std::min(y0, y1)) - 1;
  h.w = std::max((int)ceil(std::max(x0, x1)) + 1 - h.x, 1);
  h.h = std::max((int)ceil(std::max(y0, y1)) + 1 - h.y, 1);
  h.stride = cairo_format_stride_for_width(CAIRO_FORMAT_A8, h.w);
  h.a8.assign((size_t)h.stride * h.h, 0);
  cairo_surface_t* s = cairo_image_surface_create_for_data(
      h.a8.data(), CAIRO_FORMAT_A8, h.w, h.h, h.stride);
  cairo_t* mc = cairo_create(s);
  halopath(mc, p, r, g, fx / 4.0 - h.x, fy / 4.0 - h.y);
  halostroke(mc);
  cairo_destroy(mc);
  cairo_surface_finish(s);
  cairo_surface_destroy(s);
  return &h;
}

// The halo of glyph `g` of run `r` as an alpha mask, its origin at
// (fx, fy) quarter pixels; kept for the band.
const halo* halomask(cairopen* p, const textrun* r, unsigned long g, int fx,
                     int fy) {
  halo& h = p->halos[halokey(r->face, r->size, g, 4 * fx + fy)];
  if (h.s) return &h;
  const halopixels* px = halomaskpixels(p, r, g, fx, fy);
  h.x = px->x, h.y = px->y;
  // Only read: the surface is a mask.
  h.s = cairo_image_surface_create_for_data(
      (unsigned char*)px->a8.data(), CAIRO_FORMAT_A8, px->w, px->h, px->stride);
  return &h;
}

// The glyphs of run `r` where cairo sets them; null when there are none.
cairo_glyph_t* runglyphs(cairopen* p, const textrun* r, int* n) {
  cairo_glyph_t* glyphs = nullptr;
  cairo_scaled_font_t* font = cairo_get_scaled_font(p->cr);
  if (cairo_scaled_font_text_to_glyphs(
          font, r->x, r->y, r->utf8.data(), (int)r->utf8.size(), &glyphs, n,
          nullptr, nullptr, nullptr) != CAIRO_STATUS_SUCCESS)
    return nullptr;
  return glyphs;
}

// The halo of a run stamped glyph by glyph from the masks.
void stamphalos(cairopen* p, const textrun* r) {
  int n = 0;
  cairo_glyph_t* glyphs = runglyphs(p, r, &n);
  cairo_t* cr = p->cr;
  for (int i = 0; i < n; i++) {
    double x = glyphs[i].x, y = glyphs[i].y;
    cairo_user_to_device(cr, &x, &y);
    long qx = lround(x * 4), qy = lround(y * 4);
    int ix = (int)floor(qx / 4.0), iy = (int)floor(qy / 4.0);
    const halo* h = halomask(p, r, glyphs[i].index, (int)(qx - 4L * ix),
                             (int)(qy - 4L * iy));
    cairo_save(cr);
    cairo_identity_matrix(cr);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_mask_surface(cr, h->s, ix + h->x, iy + h->y);
    cairo_restore(cr);
  }
  cairo_glyph_free(glyphs);
}

// Whether run `r` can reach the rows of the pen's surface: no glyph or
// halo reaches two ems and the halo beyond its baseline.
int withinrows(cairopen* p, const textrun* r) {
  double x = r->x, y = r->y, e = (2 * r->size + HALOWIDTH) / p->pixel;
  cairo_user_to_device(p->cr, &x, &y);
  int rows = cairo_image_surface_get_height(cairo_get_target(p->cr));
  return y + e >= 0 && y - e <= rows;
}

void text(void* c, const textrun* r, const penstate* s, int halo) {
  cairopen* p = (cairopen*)c;
  cairo_t* cr = p->cr;
  if (!withinrows(p, r)) return;  // another band's
  setfont(cr, r);
  cairo_move_to(cr, r->x, r->y);
  if (!halo) {
    source(cr, s);
    cairo_show_text(cr, r->utf8.c_str());
    cairo_new_path(cr);
  } else {
    cairo_new_path(cr);
    stamphalos(p, r);
  }
}

const pen cairotable = {group,  move, line, curve, arc,    closepath,
                        stroke, fill, clip, text,  nullptr};

// A pen drawing the view on `surface`, `k` device units per point, the
// surface's top row being row `top` of the view's.
cairopen startview(cairo_surface_t* surface, double k, int top,
                   int background) {
  cairo_t* cr = cairo_create(surface);
  if (background) {
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
  }
  double half = fxmax > fymax ? ysize / 2.0 : xsize / 2.0;
  cairo_translate(cr, k * xsize / 2.0, k * ysize / 2.0 - top);
  cairo_scale(cr, k * half, -k * half);
  cairo_set_miter_limit(cr, 10);
  cairopen p = {cr, 1 / (k * half), {}, {}, 0, 0, {}, {}, top, nullptr};
  p.origin[0] = k * xsize / 2.0, p.origin[1] = k * ysize / 2.0;
  return p;
}

// Frees the pen; cairo's verdict on all it drew.
cairo_status_t endview(cairopen* p) {
  cairo_status_t status = cairo_status(p->cr);
  cairo_destroy(p->cr);
  for (auto& h : p->halos) cairo_surface_destroy(h.second.s);
  return status;
}

int reported(cairo_status_t status) {
  if (status == CAIRO_STATUS_SUCCESS) return 1;
  alert("Couldn't draw the picture: %s", cairo_status_to_string(status));
  return 0;
}

// An image being drawn from the walk's log and packed for its file.
struct imagejob {
  penlog* log;
  double k;
  int background;
  halostore halos;
  pngimage img;
  std::vector<pngpiece> pieces;
  std::vector<char> packed;  // 1 when packed, 2 when zlib failed
};

// Packs the pieces lying wholly within rows [top, bottom) not yet packed.
void packrows(imagejob* job, int top, int bottom) {
  int h = job->img.h;
  for (int i = 0; i < piececount(h); i++)
    if (!job->packed[i] && piecerow(i, h) >= top &&
        piecerow(i + 1, h) <= bottom)
      job->packed[i] = packpiece(&job->img, i, &job->pieces[i]) ? 1 : 2;
}

// Rows [top, top + rows) of an image: drawn, then packed as far as its
// own rows go.
struct band {
  cairo_surface_t* s;
  int top, rows;
  cairo_status_t status;
};

void drawband(band* b, imagejob* job) {
  cairopen p = startview(b->s, job->k, b->top, job->background);
  p.store = &job->halos;
  replaylog(job->log, &cairotable, &p);
  b->status = endview(&p);
  cairo_surface_flush(b->s);
  packrows(job, b->top, b->top + b->rows);
}

// Two bands, one per core of the machines this runs on; a band costs
// every stroke its path and setup again, so more gain less.
int bandcount(int rows) {
  if (exportthreads > 0) return std::min(exportthreads, std::max(rows, 1));
  int cores = (int)std::thread::hardware_concurrency();
  return std::max(1, std::min({cores, 2, rows}));
}

// The first row of band `i` of `n`: the calling thread walks the view
// before it draws the first band, so that band has three rows for every
// four of the others'.
int bandtop(int i, int n, int h) {
  return i == 0 ? 0 : (int)((long)h * (4 * i - 1) / (4 * n - 1));
}

// Draws the view on image `s` (`k` pixels per point) in bands and packs
// its rows into `job`'s pieces. The other bands play the log as the walk
// writes it.
int drawimage(cairo_surface_t* s, imagejob* job) {
  penlog log;
  job->log = &log;
  int w = job->img.w, h = job->img.h, stride = job->img.stride;
  unsigned char* data = cairo_image_surface_get_data(s);
  job->pieces.resize(piececount(h));
  job->packed.assign(piececount(h), 0);
  int n = bandcount(h);
  std::vector<band> bands(n);
  std::vector<std::thread> threads;
  for (int i = 0; i < n; i++) {
    band* b = &bands[i];
    b->top = bandtop(i, n, h);
    b->rows = (i + 1 < n ? bandtop(i + 1, n, h) : h) - b->top;
    b->s = cairo_image_surface_create_for_data(
        data + (size_t)b->top * stride, cairo_image_surface_get_format(s), w,
        b->rows, stride);
    if (i > 0) threads.emplace_back(drawband, b, job);
  }
  walkview(&penlogtable, &log);
  endlog(&log);
  drawband(&bands[0], job);
  for (std::thread& t : threads) t.join();
  packrows(job, 0, h);  // the pieces that straddle two bands
  cairo_status_t status = CAIRO_STATUS_SUCCESS;
  for (band& b : bands) {
    if (status == CAIRO_STATUS_SUCCESS) status = b.status;
    cairo_surface_destroy(b.s);
  }
  cairo_surface_mark_dirty(s);
  if (!reported(status)) return 0;
  for (char packed : job->packed)
    if (packed != 1) {
      alert("Couldn't compress the image");
      return 0;
    }
  return 1;
}

}  // namespace

int writepng(FILE* out, int dpi, int transparent) {
  double k = dpi / 72.0;
  int w = (int)lround(xsize * k), h = (int)lround(ysize * k);
  cairo_surface_t* s = cairo_image_surface_create(
      transparent ? CAIRO_FORMAT_ARGB32 : CAIRO_FORMAT_RGB24, w, h);
  if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS) {
    alert("Couldn't make a %d x %d image: %s", w, h,
          cairo_status_to_string(cairo_surface_status(s)));
    cairo_surface_destroy(s);
    return 0;
  }
  imagejob job = {nullptr,
                  k,
                  !transparent,
                  {},
                  {cairo_image_surface_get_data(s), w, h,
                   cairo_image_surface_get_stride(s), transparent},
                  {},
                  {}};
  int ok =
      drawimage(s, &job) && writepixels(out, &job.img, job.pieces.data(), dpi);
  cairo_surface_destroy(s);
  return ok;
}
