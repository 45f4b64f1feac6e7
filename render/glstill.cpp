// glstill.cpp: images of what a drag leaves still.
//
// While the left button drags a point, only the point and the records
// built on it move; the rest of a busy diagram is the same every frame.
// The world list is cut at the first and the last moving record: what lies
// before the cut is drawn once into an image of the window (`below`), what
// lies after it into an image that keeps its coverage in alpha (`above`),
// and each frame shows `below`, draws the stretch between the cuts and lays
// `above` over it. That is the list's own order, so whatever lies over a
// moving record stays over it. The images are kept while the view, the
// sizes, the selection, the highlight, the layers, the colours in force and
// every still record's contents stay as they were; anything else draws
// them anew.
#define GL_GLEXT_PROTOTYPES 1
#include <GL/gl.h>
#include <GL/glext.h>
#include <GL/glx.h>

#include <cstdint>
#include <cstring>
#include <unordered_set>
#include <vector>

#include "model/style.h"
#include "model/worldlist.h"
#include "render/colors.h"
#include "render/gldraw.h"
#include "render/view.h"

const primitive* draggedrecord;
int stillimages = 1;
long stillframes;

namespace {

// One image of the window in a texture, drawn into through a framebuffer.
struct image {
  GLuint texture = 0, framebuffer = 0;
};

struct stillstate {
  image below, above;
  int width = 0, height = 0;  // of both images
  int complete = 0;           // both made and usable
  GLXContext context = nullptr;
  uint64_t key = 0;                    // of the frame the images show; 0: none
  double belowym = 0, belowyinfo = 0;  // the columns `below` ended at
  double aboveym = 0, aboveyinfo = 0;  // and those `above` began at
  std::unordered_set<const primitive*> moving;
  const primitive* movingfor = nullptr;  // the record `moving` was found for
};
stillstate still;

// 64-bit FNV-1a, fed field by field.
struct hasher {
  uint64_t h = 1469598103934665603ull;
  void bytes(const void* p, size_t n) {
    const unsigned char* b = static_cast<const unsigned char*>(p);
    size_t i = 0;
    // Whole words first: a frame hashes every still record.
    for (; i + 8 <= n; i += 8) {
      uint64_t w;
      memcpy(&w, b + i, 8);
      h = (h ^ w) * 1099511628211ull;
      h ^= h >> 29;
    }
    for (; i < n; i++) h = (h ^ b[i]) * 1099511628211ull;
  }
  template <typename T>
  void add(const T& v) {
    bytes(&v, sizeof v);
  }
  void text(const char* s) {
    if (s) bytes(s, strlen(s) + 1);
  }
};

size_t recordsize(int type) {
  switch (type) {
    case RW_VERTEX: return sizeof(vertex);
    case RW_LINE: return sizeof(line);
    case RW_CIRCLE: return sizeof(circle);
    case RW_BEZIER: return sizeof(bezier);
    case RW_FLT: return sizeof(flt);
    case RW_TEXT: return sizeof(text);
    case RW_CONIC: return sizeof(conic);
    case RW_ANGLE: return sizeof(angle);
    case RW_POLYGON: return sizeof(polygon);
    case RW_ARC: return sizeof(arc);
    default: return sizeof(primitive);  // nothing of theirs is drawn
  }
}

// A still record's whole contents but the recomputation's scratch (`visit`,
// `satisfied`), its strings and expression, and the colour it is drawn in.
// 0 when it cannot lie in an image: a smear-coloured record leaves a trace
// every frame and a macro call makes new records every frame.
int hashrecord(hasher* k, const primitive* p) {
  if (issmear(p) || p->type == RW_MACROCALL) return 0;
  const char* base = reinterpret_cast<const char*>(p);
  k->add(p);
  k->bytes(&p->kind, offsetof(primitive, visit) - offsetof(primitive, kind));
  k->bytes(&p->valid,
           offsetof(primitive, parents) - offsetof(primitive, valid));
  size_t from = offsetof(primitive, parents);
  k->bytes(base + from, recordsize(p->type) - from);
  k->text(p->label);
  k->add(drawncolor(p));
  // The blink phase only matters to what blinks: the phase moves on a
  // timer, and the images would be drawn again at every tick.
  if (isblinking(p) || emphasized(p)) k->add(blinkon);
  if (p->type == RW_TEXT) k->text(static_cast<const text*>(p)->string);
  if (p->type == RW_FLT) {
    const flt* f = static_cast<const flt*>(p);
    if (f->nrpn > 0) k->bytes(f->rpn, f->nrpn * sizeof(rpnitem));
  }
  return 1;
}

// Everything but the records that shows in a frame.
void hashframe(hasher* k) {
  const double view[] = {fxmin,   fxmax,   fymin,  fymax,
                         dpbsize, spbsize, fbsize, screenscale};
  k->add(view);
  const int numbers[] = {xsize,    ysize,         defaultwidth, smoothing(),
                         minlayer, showinvisible, fontnumber,   fontstyle,
                         fontsize, (int)layerset, rgbmode};
  k->add(numbers);
  const void* pointers[] = {highlighted, pselected, selectedtextprim,
                            glXGetCurrentContext()};
  k->add(pointers);
  colorchoice c = choosecolor(COLOR_BACKGROUND, nullptr);
  k->add(c.rgb);
}

// The records that move with `draggedrecord`.
void findmoving() {
  still.moving.clear();
  still.movingfor = draggedrecord;
  std::vector<primitive*> d(1);
  primitive* p = const_cast<primitive*>(draggedrecord);
  int n = dependants(p, d.data(), 0);
  d.resize(n);
  if (n) dependants(p, d.data(), n);
  still.moving.insert(d.begin(), d.end());
  still.moving.insert(p);
}

// The cuts: the first moving record and the record after the last one.
// 0 when nothing moves or the stretch between them is most of the list,
// where images would save little.
int findcuts(primitive** first, primitive** after) {
  *first = *after = nullptr;
  int count = 0, firstat = -1, lastat = -1;
  for (primitive* p = plist; p; p = p->next, count++) {
    if (!still.moving.count(p)) continue;
    if (firstat < 0) firstat = count, *first = p;
    lastat = count;
    *after = p->next;
  }
  return firstat >= 0 && 2 * (lastat - firstat + 1) < count;
}

// The key of the frame as the images would show it: 0 when they cannot.
uint64_t framekey(primitive* first, primitive* after) {
  hasher k;
  hashframe(&k);
  k.add(first);
  k.add(after);
  for (primitive* p = plist; p != first; p = p->next)
    if (!hashrecord(&k, p)) return 0;
  for (primitive* p = after; p; p = p->next)
    if (!hashrecord(&k, p)) return 0;
  return k.h ? k.h : 1;
}

void freeimage(image* m) {
  if (m->framebuffer) glDeleteFramebuffers(1, &m->framebuffer);
  if (m->texture) glDeleteTextures(1, &m->texture);
  *m = image();
}

int makeimage(image* m) {
  glGenTextures(1, &m->texture);
  glBindTexture(GL_TEXTURE_2D, m->texture);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, xsize, ysize, 0, GL_RGBA,
               GL_UNSIGNED_BYTE, nullptr);
  glBindTexture(GL_TEXTURE_2D, 0);
  glGenFramebuffers(1, &m->framebuffer);
  glBindFramebuffer(GL_FRAMEBUFFER, m->framebuffer);
  glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D,
                         m->texture, 0);
  int ok = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
  return ok;
}

// Framebuffers to draw into, in an RGB window of a context that has them.
int canmakeimages() {
  if (!rgbmode || !stillimages) return 0;
  static GLXContext checked;
  static int has;
  if (checked != glXGetCurrentContext()) {
    checked = glXGetCurrentContext();
    const char* ext = (const char*)glGetString(GL_EXTENSIONS);
    has = ext && strstr(ext, "GL_ARB_framebuffer_object");
  }
  return has;
}

// Images of the window's size in the current context; 0 when the
// framebuffers cannot be made.
int readyimages() {
  if (still.context == glXGetCurrentContext() && still.width == xsize &&
      still.height == ysize)
    return still.complete;
  dropstill();
  still.context = glXGetCurrentContext();
  still.width = xsize, still.height = ysize;
  still.complete = xsize > 0 && ysize > 0 && makeimage(&still.below) &&
                   makeimage(&still.above);
  return still.complete;
}

// Draws the records from `from` up to `to` into the image, over the
// window's background or over nothing.
void drawinto(image* m, primitive* from, primitive* to, int covered) {
  glBindFramebuffer(GL_FRAMEBUFFER, m->framebuffer);
  if (covered) {
    colorchoice c = choosecolor(COLOR_BACKGROUND, nullptr);
    glClearColor(c.rgb[0], c.rgb[1], c.rgb[2], 1);
  } else {
    glClearColor(0, 0, 0, 0);
    // Colours blend as over the window; alpha gathers the coverage, so the
    // image holds colours premultiplied by it.
    glBlendFuncSeparate(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, GL_ONE,
                        GL_ONE_MINUS_SRC_ALPHA);
  }
  glClear(GL_COLOR_BUFFER_BIT);
  drawrecords(from, to);
  flushbatch();
  flushglyphs();
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
  setsmoothing();
}

// Lays an image with coverage over the whole window.
void blendimage(const image& m) {
  sethatch(nullptr);
  pushpixelview();
  glBindTexture(GL_TEXTURE_2D, m.texture);
  glEnable(GL_TEXTURE_2D);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
  glEnable(GL_BLEND);
  glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
  glBegin(GL_QUADS);
  glTexCoord2f(0, 0), glVertex2i(0, 0);
  glTexCoord2f(1, 0), glVertex2i(xsize, 0);
  glTexCoord2f(1, 1), glVertex2i(xsize, ysize);
  glTexCoord2f(0, 1), glVertex2i(0, ysize);
  glEnd();
  glDisable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, 0);
  poppixelview();
  setsmoothing();
}

// Copies an image into the window as it is: a copy, where a textured
// quad would cost the rasteriser a shaded pass over every pixel.
void copyimage(const image& m) {
  glBindFramebuffer(GL_READ_FRAMEBUFFER, m.framebuffer);
  glBlitFramebuffer(0, 0, xsize, ysize, 0, 0, xsize, ysize, GL_COLOR_BUFFER_BIT,
                    GL_NEAREST);
  glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
}

}  // namespace

// Draws the three parts straight into the window, ending each with its
// text as the images do.
void drawparts(primitive* first, primitive* after) {
  drawrecords(plist, first);
  flushbatch();
  flushglyphs();
  drawrecords(first, after);
  flushbatch();
  flushglyphs();
  drawrecords(after, nullptr);
}

int drawstill() {
  if (!draggedrecord || draggedrecord != pselected || blinkonly) return 0;
  if (still.movingfor != draggedrecord) findmoving();
  primitive *first, *after;
  if (!findcuts(&first, &after)) return 0;
  if (!canmakeimages()) {
    drawparts(first, after);
    return 1;
  }
  uint64_t key = framekey(first, after);
  if (key != still.key) {
    // The list itself may have changed: find what moves again.
    findmoving();
    still.key = 0;
    if (!findcuts(&first, &after)) return 0;
    key = framekey(first, after);
    if (!key || !readyimages()) {
      drawparts(first, after);
      return 1;
    }
    drawinto(&still.below, plist, first, 1);
    still.belowym = ym, still.belowyinfo = yinfo;
  }
  ym = still.belowym, yinfo = still.belowyinfo;
  copyimage(still.below);
  drawrecords(first, after);
  flushbatch();
  flushglyphs();
  // Value columns begin where the stretch left them: when its entries
  // changed, `above` is drawn again from there.
  if (!still.key || ym != still.aboveym || yinfo != still.aboveyinfo) {
    still.aboveym = ym, still.aboveyinfo = yinfo;
    drawinto(&still.above, after, nullptr, 0);
    still.key = key;
  }
  blendimage(still.above);
  stillframes++;
  return 1;
}

void dropstill() {
  // Names of another context mean nothing in this one: forgotten there.
  if (still.context == glXGetCurrentContext()) {
    freeimage(&still.below);
    freeimage(&still.above);
  }
  still.below = still.above = image();
  still.key = 0;
  still.width = still.height = still.complete = 0;
  still.context = nullptr;
}

void resetstill() {
  // The images belong to a context that may be gone: forget, not free.
  still = stillstate();
  draggedrecord = nullptr;
  stillimages = 1;
  stillframes = 0;
}
