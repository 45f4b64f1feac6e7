// glbatch.cpp: strokes gathered into one draw.
//
// A software rasteriser pays for every draw call, every state change and
// every segment, and a frame is thousands of short strokes (lines,
// circles, marks, angle rings). Strokes are gathered here, each vertex with
// its colour and thinned to what the pixels can show (render/thinning.h),
// and drawn together when something that cannot join them comes: a change
// of width or dash pattern, a fill, a point, bitmap text, or the end of the
// frame. List order is kept, so a later primitive still paints over an
// earlier one.
#define GL_GLEXT_PROTOTYPES 1
#include <GL/gl.h>
#include <GL/glext.h>

#include <cmath>
#include <vector>

#include "render/colors.h"
#include "render/gldraw.h"
#include "render/thinning.h"
#include "render/view.h"

namespace {

struct batchvertex {
  float x, y;
  float r, g, b;
};

std::vector<batchvertex> pending;  // the vertices of every strip
std::vector<GLint> firsts;         // where each strip starts in `pending`
std::vector<GLsizei> counts;       // and how many vertices it has
float strokecolor[3];              // colour of what is gathered next
int strokeindex;                   // the same in colour-index mode
float linewidth = -1;              // width in force, -1 before any
unsigned short dashpattern;        // stipple in force, 0 = solid
const uint8_t* hatchmask;          // polygon stipple in force, or null

thinning thin;         // the strip being gathered, thinned
double thintolerance;  // a quarter pixel in world units
size_t unflushed;      // vertices drawn since the last glFlush
int handover;          // flush as the frame goes (not with a single buffer)
int glowing;           // colours and widths of the highlight glow

const float GLOWRGB[3] = {1.0f, 0.72f, 0.2f};  // amber, seen on any colour
const int GLOWINDEX = 3;                       // yellow in an index window
const double GLOWWIDTH = 5;                    // pixels wider than the stroke

void keep(wpoint p) {
  pending.push_back(
      {(float)p.x, (float)p.y, strokecolor[0], strokecolor[1], strokecolor[2]});
}

void put(double x, double y) {
  wpoint kept;
  if (thinput(&thin, {x, y}, &kept)) keep(kept);
}

void beginstrip() {
  firsts.push_back((GLint)pending.size());
  thinbegin(&thin, thintolerance);
}

void endstrip() {
  wpoint last;
  if (thinend(&thin, &last)) keep(last);
  counts.push_back((GLsizei)pending.size() - firsts.back());
}

}  // namespace

int smoothing() {
  return rgbmode && smoothdrawing;
}

void flushbatch() {
  if (pending.empty()) return;
  glEnableClientState(GL_VERTEX_ARRAY);
  glVertexPointer(2, GL_FLOAT, sizeof(batchvertex), &pending[0].x);
  if (rgbmode) {
    glEnableClientState(GL_COLOR_ARRAY);
    glColorPointer(3, GL_FLOAT, sizeof(batchvertex), &pending[0].r);
  }
  glMultiDrawArrays(GL_LINE_STRIP, firsts.data(), counts.data(),
                    (GLsizei)firsts.size());
  glDisableClientState(GL_VERTEX_ARRAY);
  if (rgbmode) {
    glDisableClientState(GL_COLOR_ARRAY);
    // A colour array leaves the current colour undefined.
    glColor3fv(strokecolor);
  }
  // Handing the rasteriser what it has every few thousand vertices (with
  // the labels gathered meanwhile) lets it draw while the rest of the frame
  // is gathered, instead of all at the end. A single buffer would show the
  // half-drawn frame, so there the frame goes over at its end.
  unflushed += pending.size();
  if (handover && unflushed > 2000) {
    flushglyphs();
    glFlush();
    unflushed = 0;
  }
  pending.clear();
  firsts.clear();
  counts.clear();
}

const float* batchrgb() {
  return strokecolor;
}

void batchcolor(const float rgb[3], int index) {
  if (glowing) rgb = GLOWRGB, index = GLOWINDEX;
  // Index mode has no colour per vertex: a new colour ends the run.
  if (!rgbmode && index != strokeindex) flushbatch();
  strokecolor[0] = rgb[0];
  strokecolor[1] = rgb[1];
  strokecolor[2] = rgb[2];
  strokeindex = index;
  if (rgbmode)
    glColor3fv(strokecolor);
  else
    glIndexi(index);
}

void setlinewidth(double w) {
  if (glowing) w += GLOWWIDTH;
  if ((float)w == linewidth) return;
  flushbatch();
  linewidth = (float)w;
  glLineWidth(linewidth * (float)screenscale);
}

void setdash(unsigned short pattern) {
  if (pattern == dashpattern) return;
  flushbatch();
  dashpattern = pattern;
  if (pattern) {
    glEnable(GL_LINE_STIPPLE);
    // Dashes grow with the lines on a display of high resolution.
    glLineStipple(screenscale > 1 ? (GLint)std::lround(screenscale) : 1,
                  pattern);
  } else {
    glDisable(GL_LINE_STIPPLE);
  }
}

void sethatch(const uint8_t* mask) {
  if (mask == hatchmask) return;
  if (!mask) {
    glDisable(GL_POLYGON_STIPPLE);
  } else {
    if (!hatchmask) glEnable(GL_POLYGON_STIPPLE);
    glPolygonStipple(mask);
  }
  hatchmask = mask;
}

void batchsegment(double x1, double y1, double x2, double y2) {
  beginstrip();
  put(x1, y1);
  put(x2, y2);
  endstrip();
}

void batchpath(const wpoint* p, int n, int closed, const double* m) {
  if (n < 2) return;
  beginstrip();
  for (int i = 0; i <= n; i++) {
    if (i == n && !closed) break;
    double x = p[i % n].x, y = p[i % n].y;
    if (m) {
      double tx = m[0] * x + m[1] * y + m[2];
      y = m[3] * x + m[4] * y + m[5];
      x = tx;
    }
    put(x, y);
  }
  endstrip();
}

void batchloop(const float* table, int n, int step, const double m[6]) {
  beginstrip();
  for (int i = 0; i <= n; i += step) {
    const float* t = &table[2 * (i % n)];
    put(m[0] * t[0] + m[1] * t[1] + m[2], m[3] * t[0] + m[4] * t[1] + m[5]);
  }
  endstrip();
}

void placement(double theta, double cx, double cy, double sx, double sy,
               double m[6]) {
  double c = std::cos(theta), s = std::sin(theta);
  m[0] = c * sx, m[1] = -s * sy, m[2] = c * cx - s * cy;
  m[3] = s * sx, m[4] = c * sy, m[5] = s * cx + c * cy;
}

void setglow(int on) {
  if (on == glowing) return;
  // The width in force was set for the other pass.
  double w = linewidth - (glowing ? GLOWWIDTH : 0);
  glowing = on;
  setlinewidth(w);
}

// Smoothed strokes and points are blended over what lies below them;
// filled areas are drawn whole, so blending leaves them as they were. A
// colour-index window has nothing to blend with.
void setsmoothing() {
  int on = smoothing();
  const GLenum caps[] = {GL_LINE_SMOOTH, GL_POINT_SMOOTH, GL_BLEND};
  for (GLenum c : caps) {
    if (on)
      glEnable(c);
    else
      glDisable(c);
  }
  if (on) glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}

void resetbatch() {
  unflushed = 0;
  GLboolean doublebuffered = GL_FALSE;
  glGetBooleanv(GL_DOUBLEBUFFER, &doublebuffered);
  handover = doublebuffered;
  // The rasteriser's smoothed segments cost about twice its plain ones,
  // and a smoothed stroke shows its position to a fraction of a pixel
  // anyway: there a chord may stray half a pixel, which takes out about a
  // quarter of a frame's segments, and a quarter of a pixel otherwise.
  double pixels = smoothing() ? 0.5 : 0.25;
  thintolerance = xsize > 0 ? pixels * (fxmax - fxmin) / xsize : 0;
  pending.clear();
  firsts.clear();
  counts.clear();
  linewidth = -1;
  dashpattern = 0;
  glDisable(GL_LINE_STIPPLE);
  hatchmask = nullptr;
  glDisable(GL_POLYGON_STIPPLE);
  glowing = 0;
}
