// everything.h: a diagram with one record of every drawable type, every
// point mark, line style, tick mark, hatch, angle mark and markup item,
// and the PNG reader of the rendering tests.
#pragma once

#include <cmath>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#ifdef TESSARIN_HAVE_PNG
#include <png.h>
#endif

#include "model/worldlist.h"
#include "render/smear.h"

namespace everything {

inline vertex* addpoint(double x, double y, int type, int color) {
  vertex* v = new vertex;
  v->x = x, v->y = y, v->w = 1;
  v->pointtype = type;
  v->color = color;
  addprimitive(v);
  return v;
}

inline line* addsegment(vertex* A, vertex* B, int color, double width) {
  line* l = new line;
  copyvertex(&l->p1, A);
  copyvertex(&l->p2, B);
  l->a = A->y - B->y, l->b = B->x - A->x, l->c = A->x * B->y - B->x * A->y;
  l->parents[0] = A, l->parents[1] = B;
  l->color = color;
  l->width = width;
  addprimitive(l);
  return l;
}

// One record of every drawable type, with every mark and markup item.
inline void buildeverything() {
  static const int marks[] = {RW_DIAMOND, RW_PLUS,         RW_CROSS,
                              RW_NOMARK,  RW_SOLIDDIAMOND, RW_SQUARE,
                              RW_DOT,     RW_CIRCPOINT};
  std::vector<vertex*> v;
  for (int i = 0; i < 8; i++) {
    v.push_back(addpoint(-0.8 + 0.2 * i, -0.8, marks[i], i % 7));
    v.back()->label = strdup("P\\sub{1}");
  }
  line* l = addsegment(v[0], v[2], COLOR_RED, 1);
  l->linemark = RW_LINE3SLASH;
  l->label = strdup("\\overline{AB} (x)");
  line* r = addsegment(v[1], v[5], COLOR_BLUE, 2);
  r->linetype = RW_RAY12, r->linestyle = RW_DASHLINE;
  line* w = addsegment(v[3], v[4], COLOR_GREEN, 1);
  w->linetype = RW_LONGLINE, w->linestyle = RW_DOTLINE;
  circle* c = new circle;
  c->center.x = 0.2, c->center.y = 0.2, c->center.w = 1;
  c->radius = 0.3;
  addprimitive(c);
  bezier* b = new bezier;
  vertex* bp[4] = {&b->p1, &b->p2, &b->p3, &b->p4};
  for (int i = 0; i < 4; i++)
    bp[i]->x = -0.9 + 0.2 * i, bp[i]->y = i % 2 * 0.3, bp[i]->w = 1;
  addprimitive(b);
  double q[3][6] = {{4, 0, 1, -2, 0, -0.5},  // ellipse
                    {0, 1, 0, 0, 0, -0.1},   // hyperbola
                    {0.01, 0, -1, 0, 0, -0.01}};
  for (auto& k : q) {
    conic* n = new conic;
    memcpy(n->coef, k, sizeof k);
    addprimitive(n);
  }
  for (int t = RW_NOANGLE; t <= RW_RIGHT; t++) {
    angle* a = new angle;
    a->kind = A_VVV;
    a->angletype = t;
    a->parents[0] = v[t % 8], a->parents[1] = v[(t + 3) % 8];
    a->parents[2] = v[(t + 5) % 8];
    a->label = strdup("\\alpha\\sup{2}");
    addprimitive(a);
  }
  arc* ar = new arc;
  ar->kind = ARC_VVV;
  ar->parents[0] = v[0], ar->parents[1] = v[3], ar->parents[2] = v[6];
  addprimitive(ar);
  for (int t = RW_SOLIDPOLY; t <= RW_HASHPOLY2; t++) {
    polygon* p = new polygon;
    p->nvert = 3;
    p->polytype = t;
    p->parents[0] = v[t % 8], p->parents[1] = v[(t + 2) % 8];
    p->parents[2] = addpoint(0.1 * (t - 40), 0.8, RW_DOT, 1);
    addprimitive(p);
  }
  flt* f = new flt;
  f->value = M_PI;
  f->label = strdup("\\pi \\arc{AB} \\101\\9\\therefore");
  addprimitive(f);
  // Texts that would break a careless writer.
  std::string two = "Text \\triangle ABC\nsecond (line) \\\\";
  const char* texts[] = {
      two.c_str(), "(",     ")",          "\\",        "a\\",      "\\)",  "%!",
      "\\sub{(}",  "\\050", "\\051\\134", "\\arc{\\}", "\xe9\xff", "\\377"};
  for (const char* s : texts) {
    text* n = new text;
    n->string = strdup(s);
    addprimitive(n);
  }
  addsmearitem(SMEAR_POINT, 0.1, 0.1, 0, 0, RW_DIAMOND);
  addsmearitem(SMEAR_SEGMENT, 0, 0, 0.3, 0.1, 0);
  addsmearitem(SMEAR_CIRCLE, 0, 0, 0.05, 0, 0);
  addsmearitem(SMEAR_CONIC, 1, 0, 1, 0, 0);
  addsmearitem(SMEAR_CONIC, 0, -0.04, 0, 0, 0);
  addsmearitem(SMEAR_BEZIER, 0, 0, 0.1, 0.2, 0);
  addsmearitem(SMEAR_BEZIER, 0.2, -0.2, 0.3, 0, 0);
}

#ifdef TESSARIN_HAVE_PNG
struct image {
  int w = 0, h = 0;
  std::vector<unsigned char> rgb;
  const unsigned char* at(int x, int y) const { return &rgb[3 * (y * w + x)]; }
  // The pixels for which `is` holds.
  int count(std::function<bool(int, int, const unsigned char*)> is) const {
    int n = 0;
    for (int y = 0; y < h; y++)
      for (int x = 0; x < w; x++) n += is(x, y, at(x, y));
    return n;
  }
};

inline bool readpng(const std::string& path, image* im) {
  png_image p;
  memset(&p, 0, sizeof p);
  p.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&p, path.c_str())) return false;
  p.format = PNG_FORMAT_RGB;
  im->w = p.width;
  im->h = p.height;
  im->rgb.resize(PNG_IMAGE_SIZE(p));
  int ok = png_image_finish_read(&p, nullptr, im->rgb.data(), 0, nullptr);
  png_image_free(&p);
  return ok;
}

#endif

}  // namespace everything
