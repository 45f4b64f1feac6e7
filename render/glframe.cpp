// glframe.cpp: one frame of the drawing area: recomputation, the view,
// the background, the world list, the macro scratch list and the smear
// trace, in that order.
#include <GL/gl.h>

#include <cstdio>

#include "engine/recompute.h"
#include "model/shell.h"
#include "model/style.h"
#include "model/worldlist.h"
#include "postscript/psprims.h"
#include "relations/finder.h"
#include "render/colors.h"
#include "render/gldraw.h"
#include "render/smear.h"
#include "render/view.h"

const primitive* highlighted;
void (*beforedrawhook)();

void Ortho2D(double left, double right, double bottom, double top) {
  double m[16];
  ortho2dmatrix(left, right, bottom, top, m);
  glMultMatrixd(m);
}

void pushpixelview() {
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glLoadIdentity();
  Ortho2D(0, xsize, 0, ysize);
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glLoadIdentity();
}

void poppixelview() {
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  glMatrixMode(GL_MODELVIEW);
  glPopMatrix();
}

// A blink-only frame paints the blinking primitives over the previous
// frame. That frame is only still there with a single buffer: after a swap
// the back buffer's contents are undefined (and the front buffer cannot be
// read back on every display), so with two buffers the frame is drawn
// whole; it looks the same, since anything else that changed would have
// cleared `blinkonly`.
static int paintsover() {
  GLboolean doublebuffered = GL_FALSE;
  glGetBooleanv(GL_DOUBLEBUFFER, &doublebuffered);
  return blinkonly && drawgeominited && !doublebuffered;
}

static void drawone(primitive* p) {
  switch (p->type) {
    case RW_VERTEX: drawvertex(static_cast<vertex*>(p)); break;
    case RW_LINE: drawline(static_cast<line*>(p)); break;
    case RW_CIRCLE: drawcircle(static_cast<circle*>(p)); break;
    case RW_BEZIER: drawbezierprim(static_cast<bezier*>(p)); break;
    case RW_FLT:
      if (p->label) drawflt(static_cast<flt*>(p));
      break;
    case RW_TEXT: drawtext(static_cast<text*>(p)); break;
    case RW_CONIC: drawconicprim(static_cast<conic*>(p)); break;
    case RW_ANGLE: drawangleprim(static_cast<angle*>(p)); break;
    case RW_POLYGON: drawpolygon(static_cast<polygon*>(p)); break;
    case RW_ARC: drawarc(static_cast<arc*>(p)); break;
    default:  // transforms, conditions, comments, macros: nothing to see
      break;
  }
}

// With `smearflag` on, smear-coloured primitives are echoed as PostScript
// to the standard output as they are drawn: a textual trace of a drag.
static void echosmear(primitive* p) {
  switch (p->type) {
    case RW_VERTEX:
    case RW_LINE:
    case RW_CIRCLE:
    case RW_BEZIER:
    case RW_CONIC:
    case RW_ANGLE:
    case RW_ARC:
      if (p->valid && issmear(p)) primitivePostScript(stdout, p);
      break;
    default:  // polygons, texts and values leave no trace
      break;
  }
}

// Strokes are solid unless a line's, circle's or arc's style says
// otherwise; the dash of the last dashed stroke stays in force until a solid
// one comes, so a run of dashed strokes is one draw.
static void soliddash(const primitive* p) {
  if (!linestyleof(const_cast<primitive*>(p))) setdash(0);
}

// The highlighted record drawn in the glow's colour and width, to be drawn
// over normally. Its values and text take their column places again then,
// and a smear-coloured record is left alone so that its trace is not
// recorded twice.
static void drawglow(primitive* p) {
  if (issmear(p)) return;
  double keepym = ym, keepyinfo = yinfo;
  setglow(1);
  drawone(p);
  setglow(0);
  ym = keepym;
  yinfo = keepyinfo;
}

void drawrecords(primitive* from, primitive* to) {
  for (primitive* p = from; p != to; p = p->next) {
    if (blinkonly && !isblinking(p)) continue;
    if (!(p->layers & layerset) || p->kind == PARAMHOLDER) continue;
    soliddash(p);
    if (p == highlighted) drawglow(p);
    drawone(p);
    if (smearflag) echosmear(p);
  }
}

static void startcolumns() {
  ym = (double)0.9f;
  yinfo = -0.5;
}

void drawprimitivelist(primitive* list) {
  startcolumns();
  drawrecords(list, nullptr);
}

void drawsmearlist() {
  if (!setcolor(COLOR_SMEAR, nullptr)) return;
  setdash(0);
  for (smearrec* r = firstrec(); r; r = nextrec()) {
    switch (r->code) {
      case SMEAR_POINT: drawpointmark(r->pointtype, r->a, r->b); break;
      case SMEAR_SEGMENT: batchsegment(r->a, r->b, r->c, r->d); break;
      case SMEAR_CIRCLE:
        if (circlestylefor(r->c) == CIRCLE_ROUGH)
          roughcircle(r->a, r->b, r->c);
        else
          accuratecircle(r->a, r->b, r->c);
        break;
      case SMEAR_CONIC: {
        smearrec* s = nextrec();
        if (!s) return;
        drawconic(r->a, r->b, r->c, r->d, s->a, s->b);
        break;
      }
      case SMEAR_BEZIER: {
        smearrec* s = nextrec();
        if (!s) return;
        drawbezier(r->a, r->b, r->c, r->d, s->a, s->b, s->c, s->d);
        break;
      }
      default:  // no other record codes are written
        break;
    }
  }
}

// The view is the whole window, so a clear paints it: the rasteriser
// fills cleared tiles far faster than it shades a rectangle over them.
static void paintbackground() {
  colorchoice c = choosecolor(COLOR_BACKGROUND, nullptr);
  if (rgbmode)
    glClearColor(c.rgb[0], c.rgb[1], c.rgb[2], 1);
  else
    glClearIndex((GLfloat)c.index);
  glClear(GL_COLOR_BUFFER_BIT);
  setcolor(COLOR_BACKGROUND, nullptr);
}

void drawgeom() {
  clearmacroplist();
  checkconstraints();
  recalcsizes(0);
  if (beforedrawhook) beforedrawhook();
  loadscreenfont();
  prepareglyphs(!paintsover());
  glViewport(0, 0, xsize, ysize);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  Ortho2D(fxmin, fxmax, fymin, fymax);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  resetbatch();
  // Every stroke, mark, fill and glyph has one colour throughout, so none
  // is shaded from corner to corner: the rasteriser then has no colour to
  // carry across each of a frame's thousands of segments.
  glShadeModel(GL_FLAT);
  setsmoothing();
  setlinewidth(defaultwidth);
  if (!paintsover()) {
    blinkonly = 0;
    paintbackground();
    drawgeominited = 1;
  }
  startcolumns();
  if (!drawstill()) drawrecords(plist, nullptr);
  drawprimitivelist(macroplist);
  drawsmearlist();
  flushbatch();
  flushglyphs();
  blinkonly = 0;
  scriptdrawn = 1;
  testlist();
}

void resetgldraw() {
  defaultwidth = 1;
  cutdashes = 1;
  highlighted = nullptr;
  beforedrawhook = nullptr;
  resetglyphs();
  resetstill();
}
