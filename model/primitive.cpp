// primitive.cpp: record constructors, their defaults, and destruction.
#include "model/primitive.h"

#include <cstdlib>
#include <cstring>

#include "model/style.h"

// A record made while not every layer is in force carries per-layer colours
// and shows only on the layers in force; new records are never invisible.
primitive::primitive()
    : next(nullptr),
      kind(NOCONSTRAINT),
      type(RW_NONE),
      visit(0),
      satisfied(0),
      valid(1),
      display(0),
      generated(0),
      label(nullptr),
      symbol(nullptr),
      layers(0xffffffffu),
      width(widthmultiplier) {
  for (int i = 0; i < MAXPARENTS; i++) parents[i] = nullptr;
  int c = currentcolor == COLOR_INVISIBLE ? COLOR_WHITE : currentcolor;
  if (layerset == 0xffffffffu) {
    color = c;
    memset(layercolor, 0, sizeof layercolor);
    return;
  }
  color = COLOR_PERLAYER;
  for (int i = 0; i < NLAYERS; i++)
    layercolor[i] = (layerset & (1u << i)) ? (uint8_t)(c & 0xff) : 255;
}

vertex::vertex() : x(0), y(0), w(1), pointtype(currentpointtype) {
  type = RW_VERTEX;
}

line::line()
    : a(0),
      b(0),
      c(0),
      linetype(RW_SEGMENT),
      linestyle(RW_SOLIDLINE),
      linemark(RW_LINE0SLASH) {
  type = RW_LINE;
  p1.w = 0;
}

circle::circle() : radius(0), linestyle(RW_SOLIDLINE) {
  type = RW_CIRCLE;
  center.w = 0;
}

bezier::bezier() {
  type = RW_BEZIER;
  p1.w = 0;
}

flt::flt()
    : value(0), start(0), stop(0), step(0), named(1), rpn(nullptr), nrpn(0) {
  type = RW_FLT;
}

text::text() : string(nullptr), ylow(0), yhigh(0) {
  type = RW_TEXT;
}

conic::conic() {
  type = RW_CONIC;
  for (double& k : coef) k = 0;
}

angle::angle() : value(1.5707963267948), angletype(currentangletype) {
  type = RW_ANGLE;
}

polygon::polygon() : nvert(0), polytype(defpolytype), area(0) {
  type = RW_POLYGON;
}

arc::arc()
    : arcangle(1.5707963267948), arcradius(1e30), linestyle(RW_SOLIDLINE) {
  type = RW_ARC;
}

xform::xform() {
  type = RW_XFORM;
  for (int i = 0; i < 9; i++) m[i] = (i % 4 == 0) ? 1.0 : 0.0;
}

condition::condition() {
  type = RW_CONDITION;
}

comment::comment() {
  type = RW_COMMENT;
  textbuf[0] = 0;
}

layercondition::layercondition() : layermask(0xffffffffu) {
  type = RW_LAYERCONDITION;
}

macro::macro()
    : body(nullptr), rettype(0), retprim(nullptr), nparams(0), expansion(0) {
  type = RW_MACRO;
  for (auto& e : params) e = nullptr;
}

macrocall::macrocall() : macroref(nullptr), result(nullptr) {
  type = RW_MACROCALL;
  for (auto& e : args) e = nullptr;
}

primitive* newprimitive(int type) {
  switch (type) {
    case RW_VERTEX: return new vertex;
    case RW_LINE: return new line;
    case RW_CIRCLE: return new circle;
    case RW_BEZIER: return new bezier;
    case RW_FLT: return new flt;
    case RW_TEXT: return new text;
    case RW_CONIC: return new conic;
    case RW_ANGLE: return new angle;
    case RW_POLYGON: return new polygon;
    case RW_ARC: return new arc;
    case RW_XFORM: return new xform;
    case RW_CONDITION: return new condition;
    case RW_COMMENT: return new comment;
    case RW_LAYERCONDITION: return new layercondition;
    case RW_MACRO: return new macro;
    case RW_MACROCALL: return new macrocall;
    default: return nullptr;  // .animation, .ratio and non-type codes
  }
}

// The records have no virtual destructor, so deletion goes through the
// concrete type to release exactly what was allocated.
void destroyprimitive(primitive* p) {
  if (!p) return;
  free(p->label);
  switch (p->type) {
    case RW_VERTEX: delete static_cast<vertex*>(p); return;
    case RW_LINE: delete static_cast<line*>(p); return;
    case RW_CIRCLE: delete static_cast<circle*>(p); return;
    case RW_BEZIER: delete static_cast<bezier*>(p); return;
    case RW_FLT: {
      flt* f = static_cast<flt*>(p);
      if (f->nrpn > 0) free(f->rpn);
      delete f;
      return;
    }
    case RW_TEXT: {
      text* t = static_cast<text*>(p);
      free(t->string);
      delete t;
      return;
    }
    case RW_CONIC: delete static_cast<conic*>(p); return;
    case RW_ANGLE: delete static_cast<angle*>(p); return;
    case RW_POLYGON: delete static_cast<polygon*>(p); return;
    case RW_ARC: delete static_cast<arc*>(p); return;
    case RW_XFORM: delete static_cast<xform*>(p); return;
    case RW_CONDITION: delete static_cast<condition*>(p); return;
    case RW_COMMENT: delete static_cast<comment*>(p); return;
    case RW_LAYERCONDITION: delete static_cast<layercondition*>(p); return;
    case RW_MACRO: delete static_cast<macro*>(p); return;
    case RW_MACROCALL: delete static_cast<macrocall*>(p); return;
    default: delete p; return;  // a bare base record
  }
}

void copyvertex(vertex* to, const vertex* from) {
  to->x = from->x;
  to->y = from->y;
  to->w = from->w;
}

int isfreestanding(const primitive* p) {
  if (p->type != RW_VERTEX) return 0;
  switch (p->kind) {
    case FREE:
    case VONL:
    case VONC:
    case VONCONIC:
    case PINNED: return 1;
    default: return 0;
  }
}

int32_t* linestyleof(primitive* p) {
  switch (p->type) {
    case RW_LINE: return &static_cast<line*>(p)->linestyle;
    case RW_CIRCLE: return &static_cast<circle*>(p)->linestyle;
    case RW_ARC: return &static_cast<arc*>(p)->linestyle;
    default: return nullptr;  // no other record is stroked with a dash
  }
}

int strokestyle(const primitive* p) {
  const int32_t* s = linestyleof(const_cast<primitive*>(p));
  return s ? *s : RW_SOLIDLINE;
}
