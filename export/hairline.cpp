// hairline.cpp: thin strokes by the area of each pixel they cover.
#include "export/hairline.h"

#include <algorithm>
#include <cmath>

void hairbegin(hairline* h, uint32_t* px, int stride, int top, int x0, int y0,
               int x1, int y1) {
  h->px = px;
  h->stride = stride, h->top = top;
  h->x0 = x0, h->y0 = y0, h->x1 = std::max(x0, x1), h->y1 = std::max(y0, y1);
  h->cover.assign((size_t)stride * (h->y1 - y0), 0);
  h->touched.clear();
  h->open = 0;
}

// How much of a pixel whose centre is `d` from a round end's centre the
// end covers, 0..255: the overlap of [d - 1/2, d + 1/2] with
// [-half, half].
static int endcoverage(double d, double half) {
  double c = std::min(d + 0.5, half) - std::max(d - 0.5, -half);
  return c <= 0 ? 0 : c >= 1 ? 255 : (int)(c * 255 + 0.5);
}

// A pixel against a straight stroke: its area on the near side of a line
// t from its centre, across a direction whose components are a >= b >= 0
// (a^2 + b^2 = 1). Over the pixel the distance along that direction is the
// sum of two even spreads, a and b wide, whose distribution rises over b,
// stays flat over a - b and falls over b.
struct spread {
  double a, b;
  double e, f;   // (a + b) / 2, (a - b) / 2
  double q, ia;  // 1 / 2ab (0 when b is), 1 / a
};

static spread spreadof(double a, double b) {
  return {a, b, (a + b) / 2, (a - b) / 2, b > 0 ? 1 / (2 * a * b) : 0, 1 / a};
}

static inline double below(const spread* k, double t) {
  if (t <= -k->e) return 0;
  if (t >= k->e) return 1;
  if (t < -k->f) return (t + k->e) * (t + k->e) * k->q;
  if (t > k->f) return 1 - (k->e - t) * (k->e - t) * k->q;
  return 0.5 + t * k->ia;
}

// Cover is kept per pixel of the box's rows, `stride` apart.
static void cover(hairline* h, int x, int y, int c) {
  if (c == 0 || x < h->x0 || x >= h->x1 || y < h->y0 || y >= h->y1) return;
  int i = (y - h->y0) * h->stride + x;
  uint8_t& k = h->cover[i];
  if (k == 0) h->touched.push_back(i);
  if (c > k) k = (uint8_t)c;
}

// The cover of a pixel by a segment `len` long, lengthened by `half` at
// both ends, whose centre is `along` the segment from its start and `s`
// across it: the pixel's share across the stroke times its share along
// it (exact along the pixel grid, and away from the ends at any angle).
// The lengthened ends fill the outer corner of a join as a miter would up
// to a right angle.
static inline int segmentcover(const spread* k, double along, double s,
                               double w, double len) {
  double c = below(k, w - s) - below(k, -w - s);
  if (along - k->e < -w || along + k->e > len + w)  // the pixel reaches an end
    c *= below(k, len + w - along) - below(k, -w - along);
  return c <= 0 ? 0 : c >= 1 ? 255 : (int)(c * 255 + 0.5);
}

void hairsegment(hairline* h, double ax, double ay, double bx, double by) {
  double dx = bx - ax, dy = by - ay, len2 = dx * dx + dy * dy;
  double len = sqrt(len2);
  double reach = h->half + M_SQRT1_2;  // no pixel further is touched
  if (!std::isfinite(len2) || !std::isfinite(ax) || !std::isfinite(ay)) return;
  if (len2 <= 1e-18) {  // a dot: the pixels about the point
    if (ax < h->x0 - reach || ax > h->x1 + reach || ay < h->y0 - reach ||
        ay > h->y1 + reach)
      return;
    for (int y = (int)floor(ay - reach); y <= (int)floor(ay + reach); y++)
      for (int x = (int)floor(ax - reach); x <= (int)floor(ax + reach); x++)
        cover(h, x, y, endcoverage(hypot(x + 0.5 - ax, y + 0.5 - ay), h->half));
    return;
  }
  // Walk the longer axis (u) a pixel at a time, over the pixels whose
  // centres can be within `grow` of the rectangle, which across (v) lie
  // within `span` of the centre line.
  int steep = fabs(dy) > fabs(dx);
  spread k = spreadof(std::max(fabs(dx), fabs(dy)) / len,
                      std::min(fabs(dx), fabs(dy)) / len);
  double grow = h->half + (k.a + k.b) / 2, end = h->half + grow;
  double u0 = steep ? ay : ax, u1 = steep ? by : bx;
  double v0 = steep ? ax : ay, slope = steep ? dx / dy : dy / dx;
  double span = grow / k.a;
  int ubox0 = steep ? h->y0 : h->x0, ubox1 = (steep ? h->y1 : h->x1) - 1;
  int vbox0 = steep ? h->x0 : h->y0, vbox1 = (steep ? h->x1 : h->y1) - 1;
  double umin = std::min(u0, u1), umax = std::max(u0, u1);
  double lo = std::max(umin - end - 0.5, (double)ubox0);
  double hi = std::min(umax + end - 0.5, (double)ubox1);
  // Only where the centre line is near the box's rows (or columns).
  double vlo = vbox0 - span - 1 - h->half, vhi = vbox1 + span + 1 + h->half;
  if (slope != 0) {
    double ua = u0 + (vlo - v0) / slope, ub = u0 + (vhi - v0) / slope;
    lo = std::max(lo, std::min(ua, ub) - 1),
    hi = std::min(hi, std::max(ua, ub) + 1);
  } else if (v0 < vlo || v0 > vhi) {
    return;
  }
  if (!(lo <= hi)) return;  // both within the box from here on
  // A pixel's offsets from the start along the walked axes (m, n) give
  // its place along the segment and across it, each from its own
  // offsets alone, so that a pixel comes out the same in every band.
  double ex = dx / len, ey = dy / len;
  double am = steep ? ey : ex, an = steep ? ex : ey;
  double sm = steep ? -ex : ey, sn = steep ? ey : -ex;
  double n0 = (steep ? ax : ay) - 0.5;
  int rowstep = steep ? 1 : h->stride;
  for (int u = (int)ceil(lo); u <= (int)floor(hi); u++) {
    double uc = std::min(std::max(u + 0.5, umin - h->half), umax + h->half);
    double vc = v0 + (uc - u0) * slope;
    int first = std::max(vbox0, (int)ceil(vc - span - 0.5));
    int last = std::min(vbox1, (int)floor(vc + span - 0.5));
    double m = u + 0.5 - u0, along0 = m * am, across0 = m * sm;
    int base = steep ? (u - h->y0) * h->stride : u - h->y0 * h->stride;
    for (int v = first; v <= last; v++) {
      double n = v - n0;
      int c = segmentcover(&k, along0 + n * an, across0 + n * sn, h->half, len);
      if (c == 0) continue;
      int i = base + v * rowstep;
      uint8_t& kept = h->cover[i];
      if (kept == 0) h->touched.push_back(i);
      if (c > kept) kept = (uint8_t)c;
    }
  }
}

static const double TOLERANCE = 0.1;  // pixels, cairo's default

void hairmove(hairline* h, double x, double y) {
  h->open = 1;
  h->cx = h->sx = x, h->cy = h->sy = y;
}

void hairlineto(hairline* h, double x, double y) {
  if (!h->open) return hairmove(h, x, y);
  hairsegment(h, h->cx, h->cy, x, y);
  h->cx = x, h->cy = y;
}

// Evenly in t: n pieces are within L / n^2 * 3/4 of the curve, where L
// is the larger second difference of the control points.
void haircurve(hairline* h, double x1, double y1, double x2, double y2,
               double x3, double y3) {
  double x0 = h->cx, y0 = h->cy;
  double l = std::max(hypot(x0 - 2 * x1 + x2, y0 - 2 * y1 + y2),
                      hypot(x1 - 2 * x2 + x3, y1 - 2 * y2 + y3));
  int n = std::max(1, (int)ceil(sqrt(0.75 * l / TOLERANCE)));
  for (int i = 1; i <= n; i++) {
    double t = (double)i / n, s = 1 - t;
    double a = s * s * s, b = 3 * s * s * t, c = 3 * s * t * t, d = t * t * t;
    hairlineto(h, a * x0 + b * x1 + c * x2 + d * x3,
               a * y0 + b * y1 + c * y2 + d * y3);
  }
}

// Chords of angle `step` keep within TOLERANCE of the circle.
void hairarc(hairline* h, double cx, double cy, double r, double a0, double a1,
             double flip) {
  double step = r > TOLERANCE ? 2 * acos(1 - TOLERANCE / r) : M_PI / 2;
  int n = std::max(1, (int)ceil((a1 - a0) / step));
  for (int i = 0; i <= n; i++) {
    double a = a0 + (a1 - a0) * i / n;
    hairlineto(h, cx + r * cos(a), cy + flip * r * sin(a));
  }
}

void hairclose(hairline* h) {
  if (!h->open) return;
  hairlineto(h, h->sx, h->sy);
}

// x / 255 rounded, for each of two 16-bit lanes holding at most 255^2.
static inline uint32_t by255(uint32_t x) {
  x += 0x00800080u;
  return ((x + ((x >> 8) & 0x00ff00ffu)) >> 8) & 0x00ff00ffu;
}

// Pixel `d` moved toward opaque `s` by a / 255, two channels at a time.
static inline uint32_t blend(uint32_t d, uint32_t s, uint32_t a) {
  uint32_t rb = by255((s & 0x00ff00ffu) * a + (d & 0x00ff00ffu) * (255 - a));
  uint32_t ga = by255(((s >> 8) & 0x00ff00ffu) * a +
                      ((d >> 8) & 0x00ff00ffu) * (255 - a));
  return rb | ga << 8;
}

void hairpaint(hairline* h, uint32_t rgb) {
  uint32_t* rows = h->px + (size_t)(h->y0 - h->top) * h->stride;
  uint32_t src = 0xff000000u | rgb;
  for (int i : h->touched) {
    uint32_t a = h->cover[i];
    h->cover[i] = 0;
    uint32_t* p = rows + i;
    *p = a == 255 ? src : blend(*p, src, a);
  }
  h->touched.clear();
  h->open = 0;
}
