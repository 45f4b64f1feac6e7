// hairline.cpp: thin strokes by the area of each pixel they cover.
#include "export/hairline.h"

#include <algorithm>
#include <cmath>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

void hairbegin(hairline* h, uint32_t* px, int stride, int top, int x0, int y0,
               int x1, int y1) {
  h->px = px;
  h->stride = stride, h->top = top;
  h->x0 = x0, h->y0 = y0, h->x1 = std::max(x0, x1), h->y1 = std::max(y0, y1);
  h->cover.assign((size_t)stride * (h->y1 - y0), 0);
  h->touched.clear();
  h->open = 0;
  h->on = 0;
  h->pending = 0;
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

// Keeps the larger cover of pixel `i` of the box's rows.
static inline void keep(hairline* h, int i, int c) {
  if (c == 0) return;
  uint8_t& kept = h->cover[i];
  if (kept == 0) h->touched.push_back(i);
  if (c > kept) kept = (uint8_t)c;
}

// Cover is kept per pixel of the box's rows, `stride` apart.
static void cover(hairline* h, int x, int y, int c) {
  if (x < h->x0 || x >= h->x1 || y < h->y0 || y >= h->y1) return;
  keep(h, (y - h->y0) * h->stride + x, c);
}

// A share 0..1 as 0..255 (the shares here stray from 0..1 by rounding
// alone, far less than half a step).
static inline int share255(double c) {
  return (int)(c * 255 + 0.5);
}

// The share of a pixel `s` across a line between -w and w across it:
// below(w - s) - below(-w - s), both at once and without branches. Over
// t >= 0, below(t) - 1/2 rises as t / a up to f, then by z (2b - z) q
// for z = t - f up to e (1/2 there), and stays; it is odd in t.
#ifdef __SSE2__
static inline double acrossshare(const spread* k, double s, double w) {
  const __m128d negzero = _mm_set1_pd(-0.0);
  __m128d t = _mm_set_pd(-w - s, w - s), f = _mm_set1_pd(k->f);
  __m128d y = _mm_min_pd(_mm_andnot_pd(negzero, t), _mm_set1_pd(k->e));
  __m128d z = _mm_max_pd(_mm_sub_pd(y, f), _mm_setzero_pd());
  __m128d g =
      _mm_add_pd(_mm_mul_pd(_mm_min_pd(y, f), _mm_set1_pd(k->ia)),
                 _mm_mul_pd(_mm_mul_pd(z, _mm_sub_pd(_mm_set1_pd(2 * k->b), z)),
                            _mm_set1_pd(k->q)));
  g = _mm_xor_pd(g, _mm_and_pd(t, negzero));  // the sign of t
  return _mm_cvtsd_f64(_mm_sub_sd(g, _mm_unpackhi_pd(g, g)));
}
#else
static inline double halfbelow(const spread* k, double t) {
  double y = std::min(fabs(t), k->e), z = std::max(y - k->f, 0.0);
  return copysign(std::min(y, k->f) * k->ia + z * (2 * k->b - z) * k->q, t);
}

static inline double acrossshare(const spread* k, double s, double w) {
  return halfbelow(k, w - s) - halfbelow(k, -w - s);
}
#endif

// The cover of a pixel by a segment `len` long, lengthened by w0 at its
// start and w1 at its end, `w` wide either side, whose centre is `along` the
// segment from its start and `s` across it: the pixel's share across the stroke
// times its share along it (exact along the pixel grid, and away from the ends
// at any angle). The lengthened ends fill the outer corner of a join as a miter
// would up to a right angle.
static inline int segmentcover(const spread* k, double along, double s,
                               double w, double w0, double w1, double len) {
  double c = acrossshare(k, s, w);
  if (along - k->e < -w0 ||
      along + k->e > len + w1)  // the pixel reaches an end
    c *= below(k, len + w1 - along) - below(k, -w0 - along);
  return share255(c);
}

// A segment of no length: the pixels about the point.
static void dot(hairline* h, double ax, double ay) {
  double reach = h->half + M_SQRT1_2;  // no pixel further is touched
  if (ax < h->x0 - reach || ax > h->x1 + reach || ay < h->y0 - reach ||
      ay > h->y1 + reach)
    return;
  for (int y = (int)floor(ay - reach); y <= (int)floor(ay + reach); y++)
    for (int x = (int)floor(ax - reach); x <= (int)floor(ax + reach); x++)
      cover(h, x, y, endcoverage(hypot(x + 0.5 - ax, y + 0.5 - ay), h->half));
}

// Where a segment's pixels stop at one end, along the walked axes: those
// with g0 + gm m + gn n >= 0 (m, n a pixel centre's offsets from the
// start); ign is 1 / gn, 0 when the limit does not depend on n.
struct endlimit {
  double g0, gm, gn, ign;
};

static endlimit limitof(double g0, double gm, double gn) {
  return {g0, gm, gn, fabs(gn) > 1e-9 ? 1 / gn : 0};
}

// How far a cut with unit normal `c` leans from square across a segment
// of unit direction (ex, ey): the tangent of the angle between them.
static double tanofcut(const double* c, double ex, double ey) {
  double cosine = fabs(c[0] * ex + c[1] * ey);
  return sqrt(std::max(0.0, 1 - cosine * cosine)) / cosine;
}

// Segment (ax, ay)-(bx, by) lengthened by w0 at its start, w1 at its end;
// or, at an end given a cut (unit normal pointing along the path), taken
// as unending up to the cut through that end.
static void segment(hairline* h, double ax, double ay, double bx, double by,
                    double w0, double w1, const double* cut0 = nullptr,
                    const double* cut1 = nullptr) {
  double dx = bx - ax, dy = by - ay, len2 = dx * dx + dy * dy;
  double len = sqrt(len2);
  if (!std::isfinite(len2) || !std::isfinite(ax) || !std::isfinite(ay)) return;
  if (len2 <= 1e-18) return dot(h, ax, ay);
  // Walk the longer axis (u) a pixel at a time, over the pixels that can
  // be covered: their centres lie within `reach` of the lengthened
  // rectangle's sides, across (s) and along it, which across the walked
  // axis (v) lie within `span` of the centre line.
  int steep = fabs(dy) > fabs(dx);
  spread k = spreadof(std::max(fabs(dx), fabs(dy)) / len,
                      std::min(fabs(dx), fabs(dy)) / len);
  double reach = h->half + k.e, end = reach * (k.a + k.b);
  double u0 = steep ? ay : ax, u1 = steep ? by : bx;
  double v0 = steep ? ax : ay, slope = steep ? dx / dy : dy / dx;
  double span = reach / k.a;
  int ubox0 = steep ? h->y0 : h->x0, ubox1 = (steep ? h->y1 : h->x1) - 1;
  int vbox0 = steep ? h->x0 : h->y0, vbox1 = (steep ? h->x1 : h->y1) - 1;
  double umin = std::min(u0, u1), umax = std::max(u0, u1);
  double lo = std::max(umin - end - 0.5, (double)ubox0);
  double hi = std::min(umax + end - 0.5, (double)ubox1);
  // Only where the centre line is near the box's rows (or columns).
  double vlo = vbox0 - span - 1, vhi = vbox1 + span + 1;
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
  double n0 = (steep ? ax : ay) - 0.5, isn = 1 / sn;
  // The pixels reached past a lengthened end; up to a cut, each side of
  // it (rounding aside: a pixel on the cut may go to both).
  endlimit ends[2] = {limitof(w0 + k.e, am, an),
                      limitof(len + w1 + k.e, -am, -an)};
  const double eps = 1e-9, w0save = w0, w1save = w1;
  if (cut0) {
    double cm = steep ? cut0[1] : cut0[0], cn = steep ? cut0[0] : cut0[1];
    ends[0] = limitof(eps, cm, cn), w0 = HUGE_VAL;
  }
  if (cut1) {
    double cm = steep ? cut1[1] : cut1[0], cn = steep ? cut1[0] : cut1[1];
    double bm = u1 - u0, bn = (steep ? bx : by) - v0;
    ends[1] = limitof(eps + cm * bm + cn * bn, -cm, -cn), w1 = HUGE_VAL;
  }
  // A column's pixels lie (v, with n0 added) at or above three lines in
  // m and at or below three: across the stroke either side, and at each
  // end; an end that does not depend on n limits the columns instead.
  double lp[3], lq[3], hp[3], hq[3];
  lp[0] = (isn > 0 ? -reach : reach) * isn + n0, lq[0] = -sm * isn;
  hp[0] = (isn > 0 ? reach : -reach) * isn + n0, hq[0] = lq[0];
  for (int i = 0; i < 2; i++) {
    const endlimit* e = &ends[i];
    lp[i + 1] = -HUGE_VAL, hp[i + 1] = HUGE_VAL, lq[i + 1] = hq[i + 1] = 0;
    if (e->ign != 0) {
      (e->gn > 0 ? lp : hp)[i + 1] = -e->g0 * e->ign + n0;
      (e->gn > 0 ? lq : hq)[i + 1] = -e->gm * e->ign;
    } else if (e->gm != 0) {  // g0 + gm m >= 0, m = u + 0.5 - u0
      double u = u0 - 0.5 - e->g0 / e->gm;
      if (e->gm > 0)
        lo = std::max(lo, u);
      else
        hi = std::min(hi, u);
    } else if (e->g0 < 0) {
      return;
    }
  }
  // The columns whose pixels (their along within reach b / a of the centre
  // line's, m / am) all lie clear of both ends: past a lengthened end's
  // reach, and on the inner side of a cut anywhere within reach across;
  // [ia, ib] as u (m = t am, u = m + u0 - 0.5). And those clear of the
  // lengthened ends, which need no share along: t within [tlo, thi].
  double spread = reach * k.b / k.a + eps, iam = 1 / am;
  double t0 = spread + (cut0 ? reach * tanofcut(cut0, ex, ey) : k.e - w0save);
  double t1 =
      len - spread - (cut1 ? reach * tanofcut(cut1, ex, ey) : k.e - w1save);
  double tlo = -w0 + spread + k.e, thi = len + w1 - spread - k.e;
  int ua = (int)ceil(lo), ub = (int)floor(hi), ia = ub + 1, ib = ub;
  if (t0 <= t1) {
    double m0 = std::min(t0 * am, t1 * am), m1 = std::max(t0 * am, t1 * am);
    double i0 = std::max(m0 + u0 - 0.5, lo - 1),
           i1 = std::min(m1 + u0 - 0.5, hi + 1);
    if (i0 <= i1)
      ia = std::max(ua, (int)ceil(i0)), ib = std::min(ub, (int)floor(i1));
  }
  int rowstep = steep ? 1 : h->stride, colstep = steep ? h->stride : 1;
  int base0 = -h->y0 * h->stride;  // of pixel (u, v): + u colstep + v rowstep
  for (int u = ua; u <= ub; u++) {
    double m = u + 0.5 - u0, across0 = m * sm;
    int inner = u >= ia && u <= ib;
    // Both ends kept within the box's columns before they become ints
    // (rounded up and down: a cast rounds toward zero).
    double f = std::max(vbox0 - 1.0, lp[0] + lq[0] * m),
           l = std::min(vbox1 + 1.0, hp[0] + hq[0] * m);
    if (!inner) {
      f = std::max({f, lp[1] + lq[1] * m, lp[2] + lq[2] * m});
      l = std::min({l, hp[1] + hq[1] * m, hp[2] + hq[2] * m});
      if (!(f <= l)) continue;
    }
    int first = (int)f, last = (int)l;
    first = std::max(first + (first < f), vbox0);
    last = std::min(last - (last > l), vbox1);
    int base = base0 + u * colstep;
    double t = m * iam;
    if (inner || (t >= tlo && t <= thi)) {  // the share across alone
      for (int v = first; v <= last; v++)
        keep(h, base + v * rowstep,
             share255(acrossshare(&k, across0 + (v - n0) * sn, h->half)));
      continue;
    }
    double along0 = m * am;
    for (int v = first; v <= last; v++) {
      double n = v - n0;
      keep(h, base + v * rowstep,
           segmentcover(&k, along0 + n * an, across0 + n * sn, h->half, w0, w1,
                        len));
    }
  }
}

void hairsegment(hairline* h, double ax, double ay, double bx, double by) {
  segment(h, ax, ay, bx, by, h->half, h->half);
}

void hairbar(hairline* h, double ax, double ay, double bx, double by) {
  if (ax != bx || ay != by) segment(h, ax, ay, bx, by, 0, 0);
}

// ---- a polygon's clip ----

void hairclip(hairline* h, const std::vector<double>& edges) {
  h->edges = edges;
}

static double cross(double ax, double ay, double bx, double by) {
  return ax * by - ay * bx;
}

// The winding number of the clip's polygon about (x, y).
static int winding(const hairline* h, double x, double y) {
  int w = 0;
  const std::vector<double>& e = h->edges;
  for (size_t i = 0; i + 3 < e.size(); i += 4) {
    double x0 = e[i], y0 = e[i + 1], x1 = e[i + 2], y1 = e[i + 3];
    int up = y0 <= y && y1 > y, down = y1 <= y && y0 > y;
    if (!up && !down) continue;
    double side = cross(x1 - x0, y1 - y0, x - x0, y - y0);
    if (up && side > 0) w++;
    if (down && side < 0) w--;
  }
  return w;
}

// Segment a-b within the clip's polygon: the winding number changes by
// one at each edge the segment crosses; the pieces where it is not 0 are
// drawn, cut square where they cross.
static void clippedsegment(hairline* h, double ax, double ay, double bx,
                           double by) {
  std::vector<std::pair<double, int>> at;  // crossing, change of winding
  double dx = bx - ax, dy = by - ay;
  const std::vector<double>& e = h->edges;
  for (size_t i = 0; i + 3 < e.size(); i += 4) {
    double ex = e[i + 2] - e[i], ey = e[i + 3] - e[i + 1];
    double d = cross(dx, dy, ex, ey);
    if (d == 0) continue;  // parallel: it crosses nothing
    double px = e[i] - ax, py = e[i + 1] - ay;
    double t = cross(px, py, ex, ey) / d, s = cross(px, py, dx, dy) / d;
    if (t > 0 && t < 1 && s >= 0 && s < 1) at.push_back({t, d < 0 ? 1 : -1});
  }
  std::sort(at.begin(), at.end());
  // A piece runs from where the winding number leaves 0 to where it
  // comes back.
  int w = winding(h, ax, ay);
  double t0 = 0;
  at.push_back({1, 0});
  for (const auto& c : at) {
    int was = w;
    w += c.second;
    if (was == 0 && w != 0) t0 = c.first;
    if (was != 0 && (w == 0 || c.first == 1) && c.first > t0)
      segment(h, ax + dx * t0, ay + dy * t0, ax + dx * c.first,
              ay + dy * c.first, t0 > 0 ? 0 : h->half,
              c.first < 1 ? 0 : h->half);
  }
}

void hairedge(hairline* h, double ax, double ay, double bx, double by) {
  double dx = bx - ax, dy = by - ay, len = hypot(dx, dy), w = h->half;
  if (!(len > 0) || !std::isfinite(len) || h->edges.empty()) return;
  // Which sides are inside: tried a little off the middle of the edge.
  double nx = -dy / len, ny = dx / len, e = std::max(w, 0.25);
  double mx = (ax + bx) / 2, my = (ay + by) / 2;
  // The strip reaches past the ends, where the polygon's clip cuts it.
  double ux = dx / len * w, uy = dy / len * w;
  for (int side : {1, -1}) {
    if (!winding(h, mx + side * nx * e, my + side * ny * e)) continue;
    double ox = side * nx * w / 2, oy = side * ny * w / 2;
    h->half = w / 2;
    clippedsegment(h, ax + ox - ux, ay + oy - uy, bx + ox + ux, by + oy + uy);
    h->half = w;
  }
}

// ---- dashes ----

void hairdash(hairline* h, double on, double off, double phase, int capped) {
  h->on = on > 0 && off > 0 && std::isfinite(on + off + phase) ? on : 0;
  h->off = off, h->phase = phase, h->capw = capped ? h->half : 0;
  h->pending = 0;
}

// Draws the piece held back, its dash ending there (`ends`) or going on.
static void release(hairline* h, int ends) {
  if (!h->pending) return;
  h->pending = 0;
  const double* p = h->piece;
  segment(h, p[0], p[1], p[2], p[3], h->pendw0, ends ? h->capw : h->half);
}

// Restarts the pattern: a new subpath.
static void restartdash(hairline* h) {
  release(h, 1);
  double period = h->on + h->off;
  h->dashpos = fmod(fmod(h->phase, period) + period, period);
  h->fresh = 1;
}

// Moves the pattern on by `d` pixels undrawn.
static void skipdash(hairline* h, double d) {
  release(h, 1);
  double period = h->on + h->off;
  h->dashpos = fmod(h->dashpos + d, period);
  h->fresh = 1;
}

// The part [*t0, *t1] of a segment from (ax, ay), unit direction (ux, uy),
// that lies near the box; 0 when none does.
static int nearbox(const hairline* h, double ax, double ay, double ux,
                   double uy, double* t0, double* t1) {
  double m = h->half + 2;
  double lo[2] = {h->x0 - m, h->y0 - m}, hi[2] = {h->x1 + m, h->y1 + m};
  double a[2] = {ax, ay}, u[2] = {ux, uy};
  for (int i = 0; i < 2; i++) {
    if (u[i] == 0) {
      if (a[i] < lo[i] || a[i] > hi[i]) return 0;
      continue;
    }
    double p = (lo[i] - a[i]) / u[i], q = (hi[i] - a[i]) / u[i];
    *t0 = std::max(*t0, std::min(p, q)), *t1 = std::min(*t1, std::max(p, q));
  }
  return *t0 < *t1;
}

// The dashes along the segment from the current point to (x, y).
static void dashto(hairline* h, double x, double y) {
  double ax = h->cx, ay = h->cy, dx = x - ax, dy = y - ay;
  double len = hypot(dx, dy), period = h->on + h->off;
  if (!(len > 0) || !std::isfinite(len)) return;
  double ux = dx / len, uy = dy / len, t = 0, end = len;
  if (!nearbox(h, ax, ay, ux, uy, &t, &end)) return skipdash(h, len);
  if (t > 0) skipdash(h, t);
  while (t < end) {
    int lit = h->dashpos < h->on;
    double left = (lit ? h->on : period) - h->dashpos;
    double step = std::min(left, end - t);
    if (lit) {
      if (h->fresh) release(h, 1);
      release(h, 0);  // a piece of this dash came before
      h->pending = 1;
      h->pendw0 = h->fresh ? h->capw : h->half;
      double* p = h->piece;
      p[0] = ax + ux * t, p[1] = ay + uy * t;
      p[2] = ax + ux * (t + step), p[3] = ay + uy * (t + step);
      h->fresh = 0;
      if (step >= left) release(h, 1);  // the dash ends here
    }
    // At the end of a dash or gap the pattern stands exactly at the next.
    h->dashpos = step < left ? h->dashpos + step : lit ? h->on : 0;
    h->fresh = step >= left;
    t += step;
  }
  if (end < len) skipdash(h, len - end);
}

static const double TOLERANCE = 0.1;  // pixels, cairo's default

// Whether a stroke within box (x0, y0)-(x1, y1) touches no pixel of the
// clip box.
static int faraway(const hairline* h, double x0, double y0, double x1,
                   double y1) {
  double m = h->half + 2;
  return x1 < h->x0 - m || x0 > h->x1 + m || y1 < h->y0 - m || y0 > h->y1 + m;
}

void hairmove(hairline* h, double x, double y) {
  if (h->on > 0) restartdash(h);
  h->open = 1;
  h->cx = h->sx = x, h->cy = h->sy = y;
}

void hairlineto(hairline* h, double x, double y) {
  if (!h->open) return hairmove(h, x, y);
  if (h->on > 0)
    dashto(h, x, y);
  else if (!h->edges.empty())
    clippedsegment(h, h->cx, h->cy, x, y);
  else
    hairsegment(h, h->cx, h->cy, x, y);
  h->cx = x, h->cy = y;
}

// The flattened pieces of a curve or arc, points h->chord (x y pairs)
// from the current point on, solid and clipped by the box alone. Where
// they turn by at most 45 degrees, two pieces meet at the cut halving the
// turn: the pixels on each side of it go to their own piece alone, taken
// as unending up to the cut, a miter join with no pixel reckoned twice.
// Sharper turns and the ends are lengthened as in a single segment; so is
// a path with pieces of no length. `closed`: the last point is the first.
static void chain(hairline* h, int closed) {
  const std::vector<double>& p = h->chord;
  int n = (int)p.size() / 2 - 1;        // pieces
  std::vector<double>& cuts = h->cuts;  // per point: unit normal, or 0 0
  cuts.assign(2 * (n + 1), 0);
  double px = 0, py = 0;  // the previous piece's direction
  for (int i = 0; i <= n; i++) {
    int j = i < n ? i : 0;  // the piece starting at point i (closed)
    double dx = p[2 * j + 2] - p[2 * j], dy = p[2 * j + 3] - p[2 * j + 1];
    double len = sqrt(dx * dx + dy * dy);
    if (!(len > 1e-9) || !std::isfinite(len)) {
      for (int k = 1; k <= n; k++) hairlineto(h, p[2 * k], p[2 * k + 1]);
      return;
    }
    dx /= len, dy /= len;
    double bx = px + dx, by = py + dy, b = sqrt(bx * bx + by * by);
    if (i > 0 && (i < n || closed) && px * dx + py * dy >= M_SQRT1_2)
      cuts[2 * i] = bx / b, cuts[2 * i + 1] = by / b;
    px = dx, py = dy;
  }
  if (closed) cuts[0] = cuts[2 * n], cuts[1] = cuts[2 * n + 1];
  auto cutat = [&](int i) {
    return cuts[2 * i] != 0 || cuts[2 * i + 1] != 0 ? &cuts[2 * i] : nullptr;
  };
  for (int i = 0; i < n; i++)
    segment(h, p[2 * i], p[2 * i + 1], p[2 * i + 2], p[2 * i + 3], h->half,
            h->half, cutat(i), cutat(i + 1));
  h->cx = p[2 * n], h->cy = p[2 * n + 1];
}

// Whether a curve or arc may be drawn as a chain: solid, with no polygon
// clip, a current point set.
static int chainable(const hairline* h) {
  return h->open && h->on == 0 && h->edges.empty();
}

// Evenly in t: n pieces are within L / n^2 * 3/4 of the curve, where L
// is the larger second difference of the control points.
void haircurve(hairline* h, double x1, double y1, double x2, double y2,
               double x3, double y3) {
  double x0 = h->cx, y0 = h->cy;
  // The curve lies within its control points: away from the box it
  // draws nothing (dashes still need its length).
  if (h->open && h->on == 0 &&
      faraway(h, std::min({x0, x1, x2, x3}), std::min({y0, y1, y2, y3}),
              std::max({x0, x1, x2, x3}), std::max({y0, y1, y2, y3}))) {
    h->cx = x3, h->cy = y3;
    return;
  }
  double l = std::max(hypot(x0 - 2 * x1 + x2, y0 - 2 * y1 + y2),
                      hypot(x1 - 2 * x2 + x3, y1 - 2 * y2 + y3));
  int n = std::max(1, (int)ceil(sqrt(0.75 * l / TOLERANCE)));
  int chained = chainable(h);
  h->chord.assign({x0, y0});
  for (int i = 1; i <= n; i++) {
    double t = (double)i / n, s = 1 - t;
    double a = s * s * s, b = 3 * s * s * t, c = 3 * s * t * t, d = t * t * t;
    double x = a * x0 + b * x1 + c * x2 + d * x3,
           y = a * y0 + b * y1 + c * y2 + d * y3;
    if (chained)
      h->chord.insert(h->chord.end(), {x, y});
    else
      hairlineto(h, x, y);
  }
  if (chained) chain(h, 0);
}

// Chords whose ends lie TOLERANCE outside the circle and whose middles
// as far inside it: within TOLERANCE either way, with a third fewer
// chords than all inside.
void hairarc(hairline* h, double cx, double cy, double r, double a0, double a1,
             double flip) {
  double step = M_PI / 2, R = r;
  if (r > 2 * TOLERANCE) step = 2 * acos(1 - 2 * TOLERANCE / r), R += TOLERANCE;
  int n = std::max(1, (int)ceil((a1 - a0) / step));
  double e = fabs(R);
  if (h->on == 0 && faraway(h, cx - e, cy - e, cx + e, cy + e)) {
    hairlineto(h, cx + r * cos(a0), cy + flip * r * sin(a0));
    double a = a0 + (a1 - a0) * n / n;  // where the last chord ends
    h->cx = cx + r * cos(a), h->cy = cy + flip * r * sin(a);
    return;
  }
  // A whole turn closes on itself: its first and last pieces meet.
  int closed = a1 - a0 >= 2 * M_PI * (1 - 1e-12);
  h->chord.clear();
  int chained = 0;
  for (int i = 0; i <= n; i++) {
    double a = a0 + (a1 - a0) * i / n, q = i == 0 || i == n ? r : R;
    double x = cx + q * cos(a), y = cy + flip * q * sin(a);
    if (i == 0) hairlineto(h, x, y), chained = chainable(h);
    if (chained)
      h->chord.insert(h->chord.end(), {x, y});
    else if (i > 0)
      hairlineto(h, x, y);
  }
  if (chained) chain(h, closed);
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
  release(h, 1);
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
  h->on = 0;
}
