// cairopen.cpp: the view through cairo, as a PDF page or a PNG image.
//
// cairo's user space is the world: the page's points are scaled by the
// view's points per world unit and flipped so y runs upwards. Text is set
// in the exports' font (export/glyphs.h) with a flipped font matrix.
#include <cairo-pdf.h>
#include <cairo.h>

#include <cmath>

#include "export/backends.h"
#include "export/glyphs.h"
#include "export/pen.h"
#include "model/notify.h"
#include "render/view.h"

namespace {

struct cairopen {
  cairo_t* cr;
  double pixel;  // one device pixel in world units
};

void group(void*, const primitive*, int) {}

void move(void* c, double x, double y) {
  cairo_move_to(((cairopen*)c)->cr, x, y);
}

void line(void* c, double x, double y) {
  cairo_line_to(((cairopen*)c)->cr, x, y);
}

void curve(void* c, double x1, double y1, double x2, double y2, double x3,
           double y3) {
  cairo_curve_to(((cairopen*)c)->cr, x1, y1, x2, y2, x3, y3);
}

void arc(void* c, double cx, double cy, double r, double a0, double a1) {
  cairo_arc(((cairopen*)c)->cr, cx, cy, r, a0 * M_PI / 180, a1 * M_PI / 180);
}

void closepath(void* c) { cairo_close_path(((cairopen*)c)->cr); }

void source(cairo_t* cr, const penstate* s) {
  cairo_set_source_rgb(cr, s->rgb[0], s->rgb[1], s->rgb[2]);
}

void stroke(void* c, const penstate* s) {
  cairopen* p = (cairopen*)c;
  source(p->cr, s);
  cairo_set_line_width(p->cr, s->width > 0 ? s->width : p->pixel);
  double len[2];
  cairo_set_dash(p->cr, len, dashlengths(s->dash, len), s->phase);
  static const cairo_line_cap_t caps[3] = {
      CAIRO_LINE_CAP_BUTT, CAIRO_LINE_CAP_ROUND, CAIRO_LINE_CAP_SQUARE};
  cairo_set_line_cap(p->cr, caps[s->cap]);
  cairo_stroke(p->cr);
}

void fill(void* c, const penstate* s) {
  cairopen* p = (cairopen*)c;
  source(p->cr, s);
  cairo_fill(p->cr);
}

void clip(void* c, int push) {
  cairopen* p = (cairopen*)c;
  if (push) {
    cairo_save(p->cr);
    cairo_clip(p->cr);
  } else {
    cairo_restore(p->cr);
  }
}

void setfont(cairo_t* cr, const textrun* r) {
  cairo_set_font_face(cr, exportface(r->face));
  cairo_matrix_t m;
  cairo_matrix_init(&m, r->size, 0, 0, -r->size, 0, 0);
  cairo_set_font_matrix(cr, &m);
}

void text(void* c, const textrun* r, const penstate* s, int halo) {
  cairo_t* cr = ((cairopen*)c)->cr;
  setfont(cr, r);
  cairo_move_to(cr, r->x, r->y);
  if (!halo) {
    source(cr, s);
    cairo_show_text(cr, r->utf8.c_str());
    cairo_new_path(cr);
    return;
  }
  cairo_text_path(cr, r->utf8.c_str());
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_set_line_width(cr, HALOWIDTH);
  cairo_set_dash(cr, nullptr, 0, 0);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_stroke_preserve(cr);
  cairo_fill(cr);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_MITER);
}

const pen cairotable = {group, move,  line, curve, arc,    closepath,
                        stroke, fill, clip, text,  nullptr};

// Draws the view onto `surface`, `k` device units per point.
int drawview(cairo_surface_t* surface, double k, int background) {
  cairo_t* cr = cairo_create(surface);
  if (background) {
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
  }
  double half = fxmax > fymax ? ysize / 2.0 : xsize / 2.0;
  cairo_translate(cr, k * xsize / 2.0, k * ysize / 2.0);
  cairo_scale(cr, k * half, -k * half);
  cairo_set_miter_limit(cr, 10);
  cairopen p = {cr, 1 / (k * half)};
  walkview(&cairotable, &p);
  cairo_status_t status = cairo_status(cr);
  cairo_destroy(cr);
  if (status != CAIRO_STATUS_SUCCESS) {
    alert("Couldn't draw the picture: %s", cairo_status_to_string(status));
    return 0;
  }
  return 1;
}

cairo_status_t tofile(void* closure, const unsigned char* data,
                      unsigned int length) {
  FILE* out = (FILE*)closure;
  return fwrite(data, 1, length, out) == length ? CAIRO_STATUS_SUCCESS
                                                : CAIRO_STATUS_WRITE_ERROR;
}

}  // namespace

int writepdf(FILE* out) {
  cairo_surface_t* s =
      cairo_pdf_surface_create_for_stream(tofile, out, xsize, ysize);
  cairo_pdf_surface_set_metadata(s, CAIRO_PDF_METADATA_CREATOR, "Tessarin");
  int ok = drawview(s, 1, 0);
  cairo_surface_finish(s);
  if (ok && cairo_surface_status(s) != CAIRO_STATUS_SUCCESS) ok = 0;
  cairo_surface_destroy(s);
  return ok;
}

int writepng(FILE* out, int dpi, int transparent) {
  double k = dpi / 72.0;
  int w = (int)lround(xsize * k), h = (int)lround(ysize * k);
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
  if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS) {
    alert("Couldn't make a %d x %d image: %s", w, h,
          cairo_status_to_string(cairo_surface_status(s)));
    cairo_surface_destroy(s);
    return 0;
  }
  int ok = drawview(s, k, !transparent);
  if (ok) ok = cairo_surface_write_to_png_stream(s, tofile, out) ==
               CAIRO_STATUS_SUCCESS;
  cairo_surface_destroy(s);
  return ok;
}
