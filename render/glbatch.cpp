// glbatch.cpp: strokes gathered into one draw.
//
// A software rasteriser pays for every draw call, every state change and
// every segment, and a frame is thousands of short strokes (lines,
// circles, marks, angle rings). Strokes are gathered here, each vertex with
// its colour and thinned to what the pixels can show (render/thinning.h),
// and drawn together when something that cannot join them comes: a change
// of width (or, unsmoothed, of dash pattern), a fill, an unsmoothed point,
// bitmap text, or the end of the frame. List order is kept, so a later
// primitive still paints over an earlier one; only smoothed points, drawn
// with the strokes gathered around them, lie over those strokes.
#define GL_GLEXT_PROTOTYPES 1
#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>
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

// Smoothed points, drawn after the strokes gathered with them: a point of
// its own would draw what is gathered and switch the rasteriser between
// its smoothed points and lines at every mark.
std::vector<batchvertex> dots;
float dotsize;  // in pixels at scale 1

double thinpx = 0.25;  // the thinning's tolerance in pixels

const float GLOWRGB[3] = {1.0f, 0.72f, 0.2f};  // amber, seen on any colour
const int GLOWINDEX = 3;                       // yellow in an index window
const double GLOWWIDTH = 5;                    // pixels wider than the stroke

void pointarrays(const std::vector<batchvertex>& v) {
  glVertexPointer(2, GL_FLOAT, sizeof(batchvertex), &v[0].x);
  if (rgbmode) glColorPointer(3, GL_FLOAT, sizeof(batchvertex), &v[0].r);
}

void emit(wpoint p) {
  pending.push_back(
      {(float)p.x, (float)p.y, strokecolor[0], strokecolor[1], strokecolor[2]});
}

// Dashes cut here, while smoothing: a stipple in the rasteriser's state
// would draw what is gathered at every change between a dashed stroke and
// a solid one, and a frame of dashed lines among solid ones then costs
// hundreds of draws. The pieces follow the rasteriser's own rule for a
// smoothed stroke: the pattern's bits step once per pixel of length,
// counted from the start of each strip and on along it, a chord's last
// pixel counted whole; a dash that runs over a corner is two pieces.
struct dashcut {
  int on;         // cutting the strokes gathered now
  int factor;     // pixels per bit of the pattern
  double sx, sy;  // pixels per world unit
  long counter;   // bits stepped since the strip began
  int started;    // the strip has a point
  wpoint prev;    // its last point
} cut;

int cutting() {
  return cut.on && dashpattern;
}

// The part [a, b] of the chord from p to q, as a strip of its own.
void piece(wpoint p, wpoint q, double a, double b) {
  firsts.push_back((GLint)pending.size());
  emit({p.x + a * (q.x - p.x), p.y + a * (q.y - p.y)});
  emit({p.x + b * (q.x - p.x), p.y + b * (q.y - p.y)});
  counts.push_back(2);
}

// The pattern bit for the counter's pixel.
int dashbit(long counter) {
  return (dashpattern >> ((counter / cut.factor) & 15)) & 1;
}

// The part [*lo, *hi] of the chord from p to q inside the view; 0 when
// none of it is.
int inview(wpoint p, wpoint q, double* lo, double* hi) {
  const double from[2] = {p.x, p.y}, to[2] = {q.x, q.y};
  const double min[2] = {fxmin, fymin}, max[2] = {fxmax, fymax};
  *lo = 0, *hi = 1;
  for (int k = 0; k < 2; k++) {
    double d = to[k] - from[k];
    if (d == 0) {
      if (from[k] < min[k] || from[k] > max[k]) return 0;
      continue;
    }
    double t0 = (min[k] - from[k]) / d, t1 = (max[k] - from[k]) / d;
    if (t0 > t1) std::swap(t0, t1);
    *lo = std::max(*lo, t0);
    *hi = std::min(*hi, t1);
  }
  return *lo < *hi;
}

// The dashes of the chord from the strip's last point to q. As in the
// rasteriser, the pattern runs along what lies in the view only: a chord
// is cut to the view first, and the parts outside step nothing.
void dashto(wpoint q) {
  wpoint p = cut.prev;
  cut.prev = q;
  double lo, hi;
  if (!cut.started) {
    cut.started = 1;
    return;
  }
  if (!inview(p, q, &lo, &hi)) return;
  wpoint a = {p.x + lo * (q.x - p.x), p.y + lo * (q.y - p.y)};
  wpoint b = {p.x + hi * (q.x - p.x), p.y + hi * (q.y - p.y)};
  double len = std::hypot((b.x - a.x) * cut.sx, (b.y - a.y) * cut.sy);
  if (!std::isfinite(len)) return;
  long n = (long)std::ceil(len), start = 0;
  int on = 0;
  for (long i = 0; i < n; i++) {
    int bit = dashbit(cut.counter + i);
    if (bit != on && on && start != i) piece(a, b, start / len, i / len);
    if (bit != on && !on) start = i;
    on = bit;
  }
  if (on && start < len) piece(a, b, start / len, 1);
  cut.counter += n;
}

void keep(wpoint p) {
  if (cutting()) {
    dashto(p);
    return;
  }
  emit(p);
}

void put(double x, double y) {
  wpoint kept;
  if (thinput(&thin, {x, y}, &kept)) keep(kept);
}

void beginstrip() {
  thinbegin(&thin, thintolerance);
  if (cutting()) {
    cut.counter = 0;
    cut.started = 0;
    return;
  }
  firsts.push_back((GLint)pending.size());
}

void endstrip() {
  wpoint last;
  if (thinend(&thin, &last)) keep(last);
  if (!cutting()) counts.push_back((GLsizei)pending.size() - firsts.back());
}

}  // namespace

int cutdashes = 1;

double thinpixels() {
  return thinpx;
}

int smoothing() {
  return rgbmode && smoothdrawing;
}

void flushbatch() {
  if (pending.empty() && dots.empty()) return;
  glEnableClientState(GL_VERTEX_ARRAY);
  if (rgbmode) glEnableClientState(GL_COLOR_ARRAY);
  if (!pending.empty()) {
    pointarrays(pending);
    glMultiDrawArrays(GL_LINE_STRIP, firsts.data(), counts.data(),
                      (GLsizei)firsts.size());
  }
  if (!dots.empty()) {
    pointarrays(dots);
    glPointSize(dotsize * (float)screenscale);
    glDrawArrays(GL_POINTS, 0, (GLsizei)dots.size());
    glPointSize((float)screenscale);
  }
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
  unflushed += pending.size() + dots.size();
  if (handover && unflushed > 2000) {
    flushglyphs();
    glFlush();
    unflushed = 0;
  }
  pending.clear();
  firsts.clear();
  counts.clear();
  dots.clear();
}

void batchdot(double x, double y, float size) {
  if (!dots.empty() && size != dotsize) flushbatch();
  dotsize = size;
  dots.push_back(
      {(float)x, (float)y, strokecolor[0], strokecolor[1], strokecolor[2]});
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
  if (cut.on) {
    dashpattern = pattern;
    return;
  }
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
  // Back to the first point at the end, by a shorter chord when the
  // stride does not divide the table.
  for (int i = 0;; i = std::min(i + step, n)) {
    const float* t = &table[2 * (i % n)];
    put(m[0] * t[0] + m[1] * t[1] + m[2], m[3] * t[0] + m[4] * t[1] + m[5]);
    if (i == n) break;
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
  thinpx = smoothing() ? 0.5 : 0.25;
  thintolerance = thinpx * worldperpixel();
  pending.clear();
  firsts.clear();
  counts.clear();
  dots.clear();
  linewidth = -1;
  dashpattern = 0;
  cut.on = cutdashes && smoothing();
  cut.factor = screenscale > 1 ? (int)std::lround(screenscale) : 1;
  cut.sx = xsize / (fxmax - fxmin);
  cut.sy = ysize / (fymax - fymin);
  glDisable(GL_LINE_STIPPLE);
  hatchmask = nullptr;
  glDisable(GL_POLYGON_STIPPLE);
  glowing = 0;
}
