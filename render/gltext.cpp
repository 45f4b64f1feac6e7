// gltext.cpp: labels, descriptive texts and listed values on the screen,
// with their markup, in the toolkit's OpenGL bitmap fonts.
//
// The markup is parsed by render/markup.cpp (shared with the page); this
// file draws the items at the current raster position, which bitmap text
// advances by itself. Sub- and superscripts, bars and arches are placed in
// window pixels, so their offsets follow the font, not the view.
#include <FL/Enumerations.H>
#include <FL/gl.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "model/worldlist.h"
#include "render/colors.h"
#include "render/gldraw.h"
#include "render/markup.h"
#include "render/view.h"

struct rasterpos {
  float x, y;
};

static rasterpos currentraster() {
  GLfloat p[4];
  glGetFloatv(GL_CURRENT_RASTER_POSITION, p);
  return {p[0], p[1]};
}

// The font selected last: selecting a font costs a lookup in the toolkit,
// and most labels are one run in the normal font.
static int currentface = -1, currentsize = -1;

static void selectfont(int face, int size) {
  if (face == currentface && size == currentsize) return;
  gl_font(face, size);
  currentface = face;
  currentsize = size;
}

static void normalfont(int size) {
  selectfont(fontnumber + fontstyle, size);
}

void loadscreenfont() {
  currentface = currentsize = -1;  // the context may have changed
  normalfont(screenfontsize());
  glRasterPos2d(fxmin, fymin);
  gl_draw("A", 1);
}

// Switches to a projection of window pixels, keeping the raster position.
static void pixelbegin() {
  flushbatch();
  setdash(0);
  pushpixelview();
}

static void pixelend() {
  poppixelview();
}

// Moves the raster position to window pixel (x, y). A bitmap of size 0
// moves it without the clipping test a glRasterPos would apply.
static void moveraster(float x, float y) {
  rasterpos r = currentraster();
  glBitmap(0, 0, 0, 0, x - r.x, y - r.y, nullptr);
}

static void underline(rasterpos start, rasterpos end) {
  pixelbegin();
  glBegin(GL_LINES);
  glVertex2f(start.x, start.y - 2);
  glVertex2f(end.x, end.y - 2);
  glEnd();
  pixelend();
}

// Draws n characters at the raster position. The bitmap lists of some
// OpenGL libraries give the blank no advance at all, so blanks move the
// raster position by the font's own width of a blank instead.
static void drawchars(const char* s, int n) {
  int i = 0;
  while (i < n) {
    int j = i;
    while (j < n && s[j] != ' ') j++;
    if (j > i) gl_draw(s + i, j - i);
    for (; j < n && s[j] == ' '; j++)
      glBitmap(0, 0, 0, 0, (GLfloat)gl_width(" "), 0, nullptr);
    i = j;
  }
}

// Draws n characters at the raster position, underlined when asked.
static void piece(const char* s, int n, int ul) {
  if (!ul) {
    drawchars(s, n);
    return;
  }
  rasterpos start = currentraster();
  drawchars(s, n);
  underline(start, currentraster());
}

// How far bars and arches must be lifted above their nominal height so
// they clear the capitals of the font actually in use: the nominal offsets
// assume capitals about four pixels shorter than the font size, but the
// display may only offer a larger face.
static int marklift() {
  int ascent = gl_height() - gl_descent();
  int lift = ascent + 4 - screenfontsize();
  return lift > 0 ? lift : 0;
}

static void overdraw(rasterpos start, rasterpos end, int kind) {
  float w = end.x - start.x;
  // Whole pixels plus a half: a line on a pixel centre covers that row.
  float base = std::floor(start.y) + marklift() + 0.5f;
  pixelbegin();
  if (kind == MK_ARC) {
    float y0 = base + screenfontsize() - 4;
    glBegin(GL_LINE_STRIP);
    glVertex2f(start.x, y0);
    glVertex2f(start.x + w / 4, y0 + 2);
    glVertex2f(start.x + w / 2, y0 + 3);
    glVertex2f(start.x + 3 * w / 4, y0 + 2);
    glVertex2f(end.x, y0);
    glEnd();
  } else {
    float y1 = base + screenfontsize() - 2;
    glBegin(GL_LINES);
    glVertex2f(start.x, y1);
    glVertex2f(end.x, y1);
    glEnd();
  }
  pixelend();
}

static void subsuperdraw(const char* s, int n, int sub, int ul) {
  rasterpos r = currentraster();
  float shift = sub ? -0.3f * screenfontsize() : 0.45f * screenfontsize();
  float raised = (float)(int)(r.y + shift);
  moveraster(r.x, raised);
  normalfont((int)(0.8 * screenfontsize()));
  piece(s, n, ul);
  // Back to the baseline, keeping the advance.
  moveraster(currentraster().x, r.y);
}

// The characters of a bar or arch group one by one, then the mark over
// them.
static void groupdraw(const std::string& t, int kind, int ul) {
  normalfont(screenfontsize());
  rasterpos start = currentraster();
  for (size_t i = 0; i < t.size(); i++) piece(&t[i], 1, ul);
  overdraw(start, currentraster(), kind);
}

void charstr(const char* s, double x, double y, int ul) {
  int plain = !strpbrk(s, "\\\n");
  if (plain && !ul && atlastext(s, x, y, batchrgb())) return;
  flushbatch();  // what was drawn before lies under the text
  glRasterPos2d(x, y);
  GLboolean valid = GL_FALSE;
  glGetBooleanv(GL_CURRENT_RASTER_POSITION_VALID, &valid);
  if (!valid) return;  // a start outside the view draws nothing at all
  if (plain) {
    normalfont(screenfontsize());
    piece(s, (int)strlen(s), ul);
    return;
  }
  static std::vector<markupitem> items;  // kept to spare allocations
  items.clear();
  parsemarkup(s, &items);
  for (const markupitem& it : items) {
    switch (it.kind) {
      case MK_RUN:
        normalfont(screenfontsize());
        if (!it.text.empty()) piece(it.text.data(), (int)it.text.size(), ul);
        break;
      case MK_NEWLINE:
        yinfo -= fbsize;
        glRasterPos2d(x, yinfo);
        break;
      case MK_SYMBOL: {
        selectfont(FL_SYMBOL, screenfontsize());
        char c = (char)it.code;
        piece(&c, 1, ul);
        break;
      }
      case MK_ARC:
      case MK_OVERLINE: groupdraw(it.text, it.kind, ul); break;
      case MK_SUPER:
      case MK_SUB:
        subsuperdraw(it.text.data(), (int)it.text.size(), it.kind == MK_SUB,
                     ul);
        break;
      default:  // MK_BACKSLASH: the backslash itself
        normalfont(screenfontsize());
        piece("\\", 1, ul);
        break;
    }
  }
}

void bitmap_output(double x, double y, const char* s) {
  charstr(s, x, y, 0);
}

void drawvalueentry(const char* s) {
  charstr(s, (double)-0.99f, ym, 0);
  ym -= fbsize;
}

void drawtext(text* t) {
  if (!t->string || !t->string[0] || !showinfo) return;
  if (!setcolor(t->color, t->layercolor)) return;
  t->yhigh = yinfo + fbsize;
  charstr(t->string, (double)-0.99f, yinfo, t == pselected);
  t->ylow = yinfo;
  yinfo -= fbsize;
}
