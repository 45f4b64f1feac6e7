// glglyphs.cpp: plain labels drawn from an atlas of the screen font.
//
// Bitmap text is the dearest thing a software rasteriser draws: every
// character is a bitmap call that the OpenGL library turns into a texture
// of its own, and a busy diagram has hundreds of labels. So each printable
// character is drawn once with the toolkit's bitmap font, read back, and
// kept in one texture; a label is then a few textured quads. The quads of
// many labels are drawn together, over the strokes gathered with them,
// whenever the strokes are handed to the rasteriser (render/glbatch.cpp)
// and at the end of the frame. They sit on whole pixels and sample the
// texture at texel centres, so a label looks exactly as the bitmap font
// draws it. Anything the atlas cannot show (markup, characters outside
// printable ASCII, underlining, colour-index windows, a blink-only frame
// before the atlas exists) takes the bitmap path of gltext.cpp.
#include <FL/gl.h>
#include <GL/glx.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "render/colors.h"
#include "render/gldraw.h"
#include "render/view.h"

int useglyphatlas = 1;

namespace {

const int FIRSTGLYPH = 32, LASTGLYPH = 126;
const int NGLYPHS = LASTGLYPH - FIRSTGLYPH + 1;

struct glyph {
  int x0, y0, w, h;  // ink box, pixels from the raster position
  int tx, ty;        // its lower-left corner in the atlas, in texels
  float advance;     // how far the raster position moves
};

struct glyphatlas {
  GLXContext context = nullptr;  // made for this context,
  int face = -1, size = -1;      // this font
  int winw = 0, winh = 0;        // and this window size
  int usable = 0;                // 0: the capture failed, draw bitmaps
  GLuint texture = 0;
  GLXContext texturecontext = nullptr;  // where `texture` is a name
  int texh = 1;                         // its height in texels
  glyph glyphs[NGLYPHS];
};

glyphatlas atlas;  // the atlas of the font in use, if any

const int ATLASWIDTH = 512;  // glyphs are set in rows across this width

struct glyphvertex {
  float x, y;     // window pixels
  float s, t;     // texture coordinates
  float r, g, b;  // ink colour
};

std::vector<glyphvertex> quads;  // gathered characters, four vertices each

int poweroftwo(int n) {
  int p = 1;
  while (p < n) p *= 2;
  return p;
}

int atlasmatches() {
  return atlas.context == glXGetCurrentContext() &&
         atlas.face == fontnumber + fontstyle && atlas.size == screenfontsize();
}

int atlasready() {
  return atlas.usable && atlasmatches();
}

// One pass of the capture: the characters from `first` drawn white on
// black, each in its own cell with its raster origin at (ox, oy) within
// the cell; the cells are read back into `cells` (cols x rows of them).
int capturepass(int first, int cols, int rows, int cw, int ch, int ox, int oy,
                std::vector<unsigned char>* cells, float* advance) {
  glClear(GL_COLOR_BUFFER_BIT);
  glColor3f(1, 1, 1);
  int n = std::min(cols * rows, NGLYPHS - first);
  for (int k = 0; k < n; k++) {
    char c = (char)(FIRSTGLYPH + first + k);
    glRasterPos2i((k % cols) * cw + ox, (k / cols) * ch + oy);
    GLfloat before[4], after[4];
    glGetFloatv(GL_CURRENT_RASTER_POSITION, before);
    gl_draw(&c, 1);
    glGetFloatv(GL_CURRENT_RASTER_POSITION, after);
    advance[first + k] = after[0] - before[0];
  }
  cells->resize((size_t)cols * cw * rows * ch * 3);
  glReadPixels(0, 0, cols * cw, rows * ch, GL_RGB, GL_UNSIGNED_BYTE,
               cells->data());
  return n;
}

// The capture of one cell: `stride` pixels a row, the cell's corner at
// (cx, cy), its size (cw, ch) and the raster origin (ox, oy) within it.
struct cell {
  const std::vector<unsigned char>* pixels;
  int stride, cx, cy, cw, ch, ox, oy;
  int ink(int x, int y) const {
    return (*pixels)[3 * ((size_t)(cy + y) * stride + cx + x)] > 127;
  }
};

// Where the next glyph goes in the atlas image: rows of glyphs across
// ATLASWIDTH, a new row when one is full.
struct shelf {
  int x = 0, y = 0, height = 0;
};

// Finds the ink box of a captured cell and copies it into the atlas image.
// Returns 0 when the ink touches the cell's edge: the glyph may be larger
// than the cell, and then the atlas would not show it whole.
int keepglyph(const cell& c, glyph* g, std::vector<unsigned char>* image,
              shelf* at) {
  int xlo = c.cw, xhi = -1, ylo = c.ch, yhi = -1;
  for (int y = 0; y < c.ch; y++)
    for (int x = 0; x < c.cw; x++)
      if (c.ink(x, y)) {
        xlo = std::min(xlo, x), xhi = std::max(xhi, x);
        ylo = std::min(ylo, y), yhi = std::max(yhi, y);
      }
  if (xhi < 0) {  // a blank
    *g = glyph{};
    return 1;
  }
  if (xlo == 0 || ylo == 0 || xhi == c.cw - 1 || yhi == c.ch - 1) return 0;
  g->w = xhi - xlo + 1, g->h = yhi - ylo + 1;
  g->x0 = xlo - c.ox, g->y0 = ylo - c.oy;
  if (at->x + g->w > ATLASWIDTH) *at = shelf{0, at->y + at->height + 1, 0};
  g->tx = at->x, g->ty = at->y;
  at->x += g->w + 1;
  at->height = std::max(at->height, g->h);
  image->resize((size_t)ATLASWIDTH * (at->y + at->height), 0);
  for (int y = 0; y < g->h; y++)
    for (int x = 0; x < g->w; x++)
      (*image)[(size_t)(g->ty + y) * ATLASWIDTH + g->tx + x] =
          c.ink(xlo + x, ylo + y) ? 255 : 0;
  return 1;
}

// Hands the atlas image to OpenGL; 0 when it is too large for the library.
int loadatlas(std::vector<unsigned char>* image, int height) {
  GLint most = 0;
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &most);
  // Power-of-two sides for the oldest OpenGL libraries.
  int texh = poweroftwo(std::max(height, 1));
  if (texh > most || ATLASWIDTH > most) return 0;
  image->resize((size_t)ATLASWIDTH * texh, 0);
  // A texture name of another context means nothing in this one.
  if (!atlas.texture || atlas.texturecontext != glXGetCurrentContext()) {
    glGenTextures(1, &atlas.texture);
    atlas.texturecontext = glXGetCurrentContext();
  }
  glBindTexture(GL_TEXTURE_2D, atlas.texture);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_ALPHA, ATLASWIDTH, texh, 0, GL_ALPHA,
               GL_UNSIGNED_BYTE, image->data());
  glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
  glBindTexture(GL_TEXTURE_2D, 0);
  atlas.texh = texh;
  return 1;
}

// Captures every printable character in cells of (cw, ch) with the raster
// origin at (ox, oy) and sets them in the atlas; 0 on failure.
int captureall(int cw, int ch, int ox, int oy) {
  int cols = xsize / cw, rows = ysize / ch;
  if (cols < 1 || rows < 1) return 0;
  std::vector<unsigned char> cells, image;
  float advance[NGLYPHS];
  shelf at;
  for (int first = 0; first < NGLYPHS;) {
    int n = capturepass(first, cols, rows, cw, ch, ox, oy, &cells, advance);
    for (int k = 0; k < n; k++) {
      cell c = {&cells, cols * cw, (k % cols) * cw, (k / cols) * ch, cw, ch,
                ox,     oy};
      glyph* g = &atlas.glyphs[first + k];
      if (!keepglyph(c, g, &image, &at)) return 0;
      g->advance = advance[first + k];
    }
    first += n;
  }
  // Blanks move by the font's width of a blank: the bitmap lists of some
  // OpenGL libraries give them no advance at all.
  atlas.glyphs[' ' - FIRSTGLYPH].advance = (float)gl_width(" ");
  return loadatlas(&image, at.y + at.height);
}

// Draws every printable character into the current buffer and keeps what
// it drew. The caller paints the whole frame afterwards.
int buildatlas() {
  gl_font(fontnumber + fontstyle, screenfontsize());
  // Cells twice the font's height, in case the display only offers a
  // larger face than asked for.
  int size = std::max(screenfontsize(), gl_height());
  int cw = 2 * size + 8, ch = 2 * size + 8, ox = size / 2 + 2, oy = ox;
  glViewport(0, 0, xsize, ysize);
  pushpixelview();
  GLint drawbuffer;
  glGetIntegerv(GL_DRAW_BUFFER, &drawbuffer);
  glReadBuffer((GLenum)drawbuffer);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  GLfloat clearcolor[4];
  glGetFloatv(GL_COLOR_CLEAR_VALUE, clearcolor);
  glClearColor(0, 0, 0, 0);
  int ok = captureall(cw, ch, ox, oy);
  glClearColor(clearcolor[0], clearcolor[1], clearcolor[2], clearcolor[3]);
  glPixelStorei(GL_PACK_ALIGNMENT, 4);
  poppixelview();
  return ok;
}

void putquad(const glyph& g, int px, int py, const float rgb[3]) {
  float x0 = (float)(px + g.x0), y0 = (float)(py + g.y0);
  float x1 = x0 + g.w, y1 = y0 + g.h;
  float s0 = (float)g.tx / ATLASWIDTH, s1 = (float)(g.tx + g.w) / ATLASWIDTH;
  float t0 = (float)g.ty / atlas.texh, t1 = (float)(g.ty + g.h) / atlas.texh;
  quads.push_back({x0, y0, s0, t0, rgb[0], rgb[1], rgb[2]});
  quads.push_back({x1, y0, s1, t0, rgb[0], rgb[1], rgb[2]});
  quads.push_back({x1, y1, s1, t1, rgb[0], rgb[1], rgb[2]});
  quads.push_back({x0, y1, s0, t1, rgb[0], rgb[1], rgb[2]});
}

}  // namespace

void prepareglyphs(int maydraw) {
  if (!rgbmode || !maydraw) return;
  // A capture that failed is tried again only in another window size.
  if (atlasmatches() &&
      (atlas.usable || (atlas.winw == xsize && atlas.winh == ysize)))
    return;
  atlas.usable = buildatlas();
  atlas.context = glXGetCurrentContext();
  atlas.face = fontnumber + fontstyle;
  atlas.size = screenfontsize();
  atlas.winw = xsize;
  atlas.winh = ysize;
}

int atlastext(const char* s, double x, double y, const float rgb[3]) {
  if (!useglyphatlas || !atlasready()) return 0;
  for (const char* p = s; *p; p++)
    if (*p < FIRSTGLYPH || *p > LASTGLYPH) return 0;
  // Where glRasterPos would put (x, y), and the same validity test: a
  // start outside the view draws nothing.
  if (x < fxmin || x > fxmax || y < fymin || y > fymax) return 1;
  float rx = (float)((x - fxmin) / (fxmax - fxmin) * xsize);
  float ry = (float)((y - fymin) / (fymax - fymin) * ysize);
  // A bitmap lands on the pixel below and left of the raster position,
  // with the library's own small tolerance.
  int py = (int)std::floor(ry + 0.0001f);
  for (const char* p = s; *p; p++) {
    const glyph& g = atlas.glyphs[*p - FIRSTGLYPH];
    if (g.w > 0) putquad(g, (int)std::floor(rx + 0.0001f), py, rgb);
    rx += g.advance;
  }
  return 1;
}

int flushglyphs() {
  if (quads.empty()) return 0;
  pushpixelview();
  glBindTexture(GL_TEXTURE_2D, atlas.texture);
  glEnable(GL_TEXTURE_2D);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
  glAlphaFunc(GL_GREATER, 0.5f);
  glEnable(GL_ALPHA_TEST);
  GLboolean stippled = glIsEnabled(GL_POLYGON_STIPPLE);
  if (stippled) glDisable(GL_POLYGON_STIPPLE);
  glEnableClientState(GL_VERTEX_ARRAY);
  glEnableClientState(GL_TEXTURE_COORD_ARRAY);
  glEnableClientState(GL_COLOR_ARRAY);
  glVertexPointer(2, GL_FLOAT, sizeof(glyphvertex), &quads[0].x);
  glTexCoordPointer(2, GL_FLOAT, sizeof(glyphvertex), &quads[0].s);
  glColorPointer(3, GL_FLOAT, sizeof(glyphvertex), &quads[0].r);
  glDrawArrays(GL_QUADS, 0, (GLsizei)quads.size());
  glDisableClientState(GL_VERTEX_ARRAY);
  glDisableClientState(GL_TEXTURE_COORD_ARRAY);
  glDisableClientState(GL_COLOR_ARRAY);
  glColor3fv(batchrgb());  // a colour array leaves it undefined
  if (stippled) glEnable(GL_POLYGON_STIPPLE);
  glDisable(GL_ALPHA_TEST);
  glDisable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, 0);
  poppixelview();
  quads.clear();
  return 1;
}

void resetglyphs() {
  useglyphatlas = 1;
  quads.clear();
  atlas = glyphatlas();
}
