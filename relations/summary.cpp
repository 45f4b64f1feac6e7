// summary.cpp: which entries of the report a reader needs, and in what
// order.
//
// The full report lists everything that held; most of it follows from a few
// facts. The summary keeps an entry unless it follows from the construction
// or from another entry, and orders what is left by how remarkable it is
// (docs/RELATIONS.md gives the rules for users):
//
// - Directions. Lines fall into direction classes: a line built parallel or
//   perpendicular to another joins its class (turned by a right angle for a
//   perpendicular); the members of a parallel or perpendicular entry join
//   the same way, and lines through two points of one collinear entry are
//   one line. Parallel and perpendicular entries inside one class of the
//   construction are definitions, and so are angle relations whose sides
//   lie in classes of the construction alone.
// - Angles. Angle relations whose sides lie in the same two classes follow
//   from the entries that joined them; equal angles on one chord with their
//   apexes on a concyclic entry follow from it. A group folds only into one
//   entry: a relation that needs two entries together is news.
// - A right angle follows from a perpendicular entry through its sides; a
//   pair of perpendicular lines that meets at a right angle entry folds into
//   the angle, which names points.
// - Products (products.cpp): equal segments, equal areas and product lines
//   as equations between logarithms.
// - Groups: concurrent circles, and concurrent lines, through one point are
//   one entry whatever triples the report grouped them in.
// - Order: by kind (concurrent circles, concyclic points, collinear points,
//   concurrent lines, harmonic and inverse points, equal segments, parallels
//   and perpendiculars, right angles, angles, equal areas, ratios), then
//   groups with more members, objects built further from the free points,
//   and for product lines the ones that read best; a circle over a right
//   angle built as such reads after the other circles.
#include <algorithm>
#include <cmath>
#include <map>
#include <unordered_map>

#include "engine/solvers.h"
#include "relations/finder.h"
#include "relations/report.h"
#include "relations/summaryfacts.h"

int dirclasses::add() {
  parent.push_back((int)parent.size());
  parity.push_back(0);
  via.push_back(-1);
  return (int)parent.size() - 1;
}

int dirclasses::find(int n, int* par, std::vector<int>* vias) const {
  int p = 0;
  while (parent[n] != n) {
    p ^= parity[n];
    if (vias && via[n] >= 0) vias->push_back(via[n]);
    n = parent[n];
  }
  *par = p;
  return n;
}

void dirclasses::join(int a, int b, int par, int why) {
  int pa, pb;
  int ra = find(a, &pa), rb = find(b, &pb);
  if (ra == rb) return;
  parent[ra] = rb;
  parity[ra] = pa ^ pb ^ par;
  via[ra] = why;
}

int contains(const std::vector<int>& s, int v) {
  return std::find(s.begin(), s.end(), v) != s.end();
}

// Pairs of straight sets that share two points or more, found through the
// sets each point lies on (comparing every pair of sets grows as their
// square; points lie on few of them).
void sharingpairs(summaryfacts& f) {
  int n = (int)f.straight.size();
  // The sets through point v: on[at[v]] .. on[at[v + 1] - 1], ascending.
  std::vector<int> at(f.nv + 1, 0), on;
  for (int s = 0; s < n; s++)
    for (int v : f.straight[s]) at[v + 1]++;
  for (int v = 0; v < f.nv; v++) at[v + 1] += at[v];
  on.resize(at[f.nv]);
  std::vector<int> fill(at.begin(), at.end() - 1);
  for (int s = 0; s < n; s++)
    for (int v : f.straight[s]) on[fill[v]++] = s;
  std::vector<int> count(n, 0), touched;
  for (int s = 0; s < n; s++) {
    touched.clear();
    for (int v : f.straight[s])
      for (int k = at[v]; k < at[v + 1]; k++) {
        int t = on[k];
        if (t >= s) break;  // ascending
        if (count[t]++ == 0) touched.push_back(t);
        if (count[t] == 2) f.sharing.push_back({t, s});
      }
    for (int t : touched) count[t] = 0;
  }
  std::sort(f.sharing.begin(), f.sharing.end());
}

int straightthrough(const summaryfacts& f, int a, int b, int reported) {
  int n = reported ? (int)f.straight.size() : f.nl;
  for (int s = 0; s < n; s++)
    if (onstraight(f, s, a) && onstraight(f, s, b)) return s;
  return -1;
}

namespace {

int onl(const summaryfacts& f, int v, int l) {
  return onlmatrix[(size_t)v * f.nl + l];
}

int vertexof(const summaryfacts& f, const primitive* p) {
  return f.vindex.find(pointerkey(p));
}

int lineof(const summaryfacts& f, const primitive* p) {
  for (int l = 0; l < f.nl; l++)
    if (linelist[l] == p) return l;
  return -1;
}

// Parallels and perpendiculars the records were built as.
void constructeddirections(summaryfacts& f) {
  for (int l = 0; l < f.nl; l++) {
    const line* L = linelist[l];
    if (L->kind == L_VLPAR || L->kind == L_VLPERP) {
      int m = lineof(f, L->parents[1]);
      if (m >= 0) {
        f.def.join(l, m, L->kind == L_VLPERP, -1);
        f.all.join(l, m, L->kind == L_VLPERP, -1);
      }
    } else if (L->kind == L_VVPERP) {
      int a = vertexof(f, L->parents[0]), b = vertexof(f, L->parents[1]);
      int m = a >= 0 && b >= 0 ? straightthrough(f, a, b, 0) : -1;
      if (m >= 0) {
        f.def.join(l, m, 1, -1);
        f.all.join(l, m, 1, -1);
      }
    }
  }
  // Two lines through the same two points are one line.
  for (const auto& p : f.sharing)
    if (p.second < f.nl) {
      f.def.join(p.first, p.second, 0, -1);
      f.all.join(p.first, p.second, 0, -1);
    }
}

// 1 when two lines are perpendicular in the final position.
int turned(const line* a, const line* b) {
  double n = std::hypot(a->a, a->b) * std::hypot(b->a, b->b);
  return n > 0 && std::fabs(a->a * b->a + a->b * b->b) < 0.5 * n;
}

void reporteddirections(summaryfacts& f) {
  for (int e = 0; e < (int)f.r->entries.size(); e++) {
    const relentry& x = f.r->entries[e];
    if (x.fold != RF_NONE) continue;
    if (x.kind == RK_PARALLEL || x.kind == RK_PERPENDICULAR)
      for (int l : x.items)
        f.all.join(l, x.items[0], turned(linelist[l], linelist[x.items[0]]), e);
  }
  // Pairs by the later set first, as each reported set joins the ones
  // before it.
  std::vector<std::pair<int, int>> later;
  for (const auto& p : f.sharing)
    if (p.second >= f.nl) later.push_back({p.second, p.first});
  std::sort(later.begin(), later.end());
  for (const auto& p : later)
    f.all.join(p.first, p.second, 0, f.straightentry[p.first]);
}

// A perpendicular bisector passes through the midpoint of its two points.
int midpointon(const vertex* v, const line* l) {
  if (v->kind != V_VVMID || l->kind != L_VVPERP) return 0;
  return (v->parents[0] == l->parents[0] && v->parents[1] == l->parents[1]) ||
         (v->parents[0] == l->parents[1] && v->parents[1] == l->parents[0]);
}

void buildfacts(summaryfacts& f) {
  f.nv = (int)vertlist.size();
  f.nl = (int)linelist.size();
  f.nc = (int)circlist.size();
  for (int v = 0; v < f.nv; v++) f.vindex.put(pointerkey(vertlist[v]), v);
  f.straight.assign(f.nl, {});
  f.straightentry.assign(f.nl, -1);
  for (int l = 0; l < f.nl; l++) {
    f.straight[l].reserve(4);  // most lines hold a few points
    for (int v = 0; v < f.nv; v++)
      if (onl(f, v, l) || midpointon(vertlist[v], linelist[l]))
        f.straight[l].push_back(v);
    f.def.add();
    f.all.add();
  }
  for (int e = 0; e < (int)f.r->entries.size(); e++)
    if (f.r->entries[e].kind == RK_COLLINEAR) {
      f.straight.push_back(f.r->entries[e].items);
      f.straightentry.push_back(e);
      f.def.add();
      f.all.add();
    }
  size_t words = (size_t)(f.nv + 63) / 64;
  for (const std::vector<int>& set : f.straight) {
    f.mask.emplace_back(words, 0);
    for (int v : set) f.mask.back()[v >> 6] |= (uint64_t)1 << (v & 63);
  }
  f.circles.assign(f.nc, {});
  f.centre.assign(f.nc, -1);
  for (int c = 0; c < f.nc; c++) {
    for (int v = 0; v < f.nv; v++)
      if (oncmatrix[(size_t)v * f.nc + c]) f.circles[c].push_back(v);
    const circle* C = circlist[c];
    if (C->kind == C_VV) f.centre[c] = vertexof(f, C->parents[0]);
  }
  for (int v = 0; v < f.nv; v++) {
    const vertex* V = vertlist[v];
    if (V->kind != V_CCENTER) continue;
    for (int c = 0; c < f.nc; c++)
      if (circlist[c] == V->parents[0] && f.centre[c] < 0) f.centre[c] = v;
  }
  sharingpairs(f);
  constructeddirections(f);
}

// ---- scores.

int depthof(const primitive* p, keytable& memo, int guard = 0) {
  if (!p || guard > 64) return 0;
  int known = memo.find(pointerkey(p));
  if (known >= 0) return known;
  int d = 0;
  for (const primitive* q : p->parents)
    if (q) d = std::max(d, 1 + depthof(q, memo, guard + 1));
  memo.put(pointerkey(p), d);
  return d;
}

// Base interest of each kind, in the order the summary lists them.
const double kindscore[RK_COUNT] = {
    80,  // collinear points
    78,  // concurrent lines
    85,  // concyclic points
    45,  // right angle
    40,  // equal angles
    35,  // complementary angles
    35,  // supplementary angles
    55,  // parallel lines
    52,  // perpendicular lines
    60,  // equal segments
    90,  // concurrent circles
    70,  // harmonic set
    65,  // inverse points
    25,  // equal area triangles
    15,  // triangle area ratio
    20,  // ratio
};

const double THALESDEMOTION = 30;  // a circle over a built right angle

// Members that a group needs at the least (more say more).
const int leastmembers[RK_COUNT] = {3, 3, 4, 1, 2, 2, 2, 2,
                                    2, 2, 3, 4, 3, 2, 4, 4};

// Among product lines, a mean proportional (three lengths) and a pencil
// (every length from one point, as the intercept figure and a point's
// power have it) read best.
double productshape(const relentry& e) {
  int ends[8], n = 0, distinct = 0;
  for (size_t i = 0; i < e.items.size() && i < 4; i++) {
    const int* v = segmentlist[e.items[i]].v;
    ends[n++] = v[0];
    ends[n++] = v[1];
    int seen = 0;
    for (size_t j = 0; j < i; j++) seen |= e.items[j] == e.items[i];
    distinct += !seen;
  }
  std::sort(ends, ends + n);
  int most = 0;
  for (int i = 0, run = 0; i < n; i++) {
    run = i > 0 && ends[i] == ends[i - 1] ? run + 1 : 1;
    most = std::max(most, run);
  }
  return 0.5 * most + (4 - distinct);
}

void score(relreport* r) {
  keytable memo;
  for (relentry& e : r->entries) {
    double depth = 0;
    for (const primitive* p : e.objects) depth += depthof(p, memo);
    if (!e.objects.empty()) depth /= (double)e.objects.size();
    int extra = (int)e.items.size() - leastmembers[e.kind];
    e.score = kindscore[e.kind] + 2 * std::min(std::max(extra, 0), 5) +
              std::min(depth, 4.0);
    if (e.kind == RK_RATIO) e.score += productshape(e);
  }
}

// ---- groups through one point.

// The common point of an entry's circles or lines; 0 when there is none.
int commonpoint(const relentry& e, double* x, double* y) {
  if (e.items.size() < 3) return 0;
  if (e.kind == RK_CIRCLES) {
    if (!concurrentcircles(circlist[e.items[0]], circlist[e.items[1]],
                           circlist[e.items[2]]))
      return 0;
    *x = CircX;
    *y = CircY;
    return 1;
  }
  const line *a = linelist[e.items[0]], *b = linelist[e.items[1]];
  double d = a->a * b->b - a->b * b->a;
  if (std::fabs(d) < 1e-12) return 0;
  *x = (a->b * b->c - a->c * b->b) / d;
  *y = (a->c * b->a - a->a * b->c) / d;
  return 1;
}

void mergepoints(relreport* r, int kind) {
  std::vector<int> seen;
  std::vector<double> px, py;
  for (int e = 0; e < (int)r->entries.size(); e++) {
    relentry& x = r->entries[e];
    double ex, ey;
    if (x.kind != kind || !commonpoint(x, &ex, &ey)) continue;
    int into = -1;
    for (size_t k = 0; k < seen.size() && into < 0; k++)
      if (std::fabs(px[k] - ex) + std::fabs(py[k] - ey) <
          1e-6 * (1 + std::fabs(ex) + std::fabs(ey)))
        into = seen[k];
    if (into < 0) {
      seen.push_back(e);
      px.push_back(ex);
      py.push_back(ey);
      continue;
    }
    relentry& y = r->entries[into];
    for (int i : x.items)
      if (!contains(y.items, i)) y.items.push_back(i);
    std::sort(y.items.begin(), y.items.end());
    for (size_t k = 0; k < x.objects.size(); k++)
      if (std::find(y.objects.begin(), y.objects.end(), x.objects[k]) ==
          y.objects.end()) {
        y.objects.push_back(x.objects[k]);
        y.ids.push_back(x.ids[k]);
      }
    y.worst = std::max(y.worst, x.worst);
    y.summarytext = itemstext(kind, y.items);
    x.fold = RF_IMPLIED;
    x.impliedby = into;
  }
}

// ---- angles.

// The side classes of an angle: the straight nodes of apex-end pairs.
int sides(const summaryfacts& f, const dirclasses& d, int a, int reported,
          int* r1, int* r2, std::vector<int>* vias) {
  const anglerec& g = anglelist[a];
  int s1 = straightthrough(f, g.v[1], g.v[0], reported);
  int s2 = straightthrough(f, g.v[1], g.v[2], reported);
  if (s1 < 0 || s2 < 0) return 0;
  int p1, p2;
  *r1 = d.find(s1, &p1, vias);
  *r2 = d.find(s2, &p2, vias);
  if (*r1 > *r2) std::swap(*r1, *r2);
  return 1;
}

// Two angles whose sides lie in the same two direction classes.
int samedirections(const summaryfacts& f, const dirclasses& d, int a, int b,
                   int reported, std::vector<int>* vias) {
  int a1, a2, b1, b2;
  if (!sides(f, d, a, reported, &a1, &a2, vias) ||
      !sides(f, d, b, reported, &b1, &b2, vias))
    return 0;
  return a1 == b1 && a2 == b2;
}

// The points of `on` other than the apex on each side's line of angle a.
void sidepoints(const summaryfacts& f, int a, const std::vector<int>& on,
                std::vector<int>* s1, std::vector<int>* s2) {
  const int* v = anglelist[a].v;
  int l1 = straightthrough(f, v[1], v[0], 1);
  int l2 = straightthrough(f, v[1], v[2], 1);
  for (int p : on) {
    if (p == v[1]) continue;
    if (l1 >= 0 && onstraight(f, l1, p)) s1->push_back(p);
    if (l2 >= 0 && onstraight(f, l2, p)) s2->push_back(p);
  }
}

int meets(const std::vector<int>& a, const std::vector<int>& b) {
  for (int v : a)
    if (contains(b, v)) return 1;
  return 0;
}

// Two angles with their apexes on the points of a concyclic entry (*via)
// whose sides pass through the same two of its points: inscribed angles on
// one chord, equal or supplementary. Inscribed angles of a constructed
// circle are a theorem of their own: they stay.
int onechord(const summaryfacts& f, int a, int b, int* via) {
  int ka = anglelist[a].v[1], kb = anglelist[b].v[1];
  for (int e = 0; e < (int)f.r->entries.size(); e++) {
    const relentry& x = f.r->entries[e];
    if (x.kind != RK_CONCYCLIC || x.fold != RF_NONE || !contains(x.items, ka) ||
        !contains(x.items, kb))
      continue;
    std::vector<int> a1, a2, b1, b2;
    sidepoints(f, a, x.items, &a1, &a2);
    sidepoints(f, b, x.items, &b1, &b2);
    if ((meets(a1, b1) && meets(a2, b2)) || (meets(a1, b2) && meets(a2, b1))) {
      *via = e;
      return 1;
    }
  }
  return 0;
}

// How an angle pair is explained: 0 not, 1 by construction, 2 by entries
// (the most remarkable of them in *via).
int explainangles(const summaryfacts& f, const relreport& r, int a, int b,
                  int* via) {
  int v = -1;
  if (samedirections(f, f.def, a, b, 0, nullptr)) return 1;
  std::vector<int> vias;
  if (samedirections(f, f.all, a, b, 1, &vias) || onechord(f, a, b, &v)) {
    for (int e : vias)
      if (e >= 0 && (v < 0 || r.entries[e].score > r.entries[v].score)) v = e;
    *via = v;
    return 2;
  }
  return 0;
}

struct unions {
  std::vector<int> p;
  explicit unions(int n) : p(n) {
    for (int i = 0; i < n; i++) p[i] = i;
  }
  int find(int i) {
    while (p[i] != i) i = p[i] = p[p[i]];
    return i;
  }
  int join(int a, int b) {
    a = find(a), b = find(b);
    if (a == b) return 0;
    p[a] = b;
    return 1;
  }
};

// A group of angles folds when its explained pairs connect all of it:
// through the construction alone, or through the construction and one
// entry (a relation that needs two entries together is news).
void foldangles(const summaryfacts& f, relreport* r, relentry& e) {
  int n = (int)e.items.size();
  if (n > 64) return;  // a crowd of equal angles is worth reading whole
  struct edge {
    int i, j, via;  // via -1: the construction
  };
  std::vector<edge> edges;
  std::vector<int> sources;
  for (int i = 0; i < n; i++)
    for (int j = i + 1; j < n; j++) {
      int v = -1, how = explainangles(f, *r, e.items[i], e.items[j], &v);
      if (!how) continue;
      int via = how == 2 ? v : -1;
      edges.push_back({i, j, via});
      if (via >= 0 && !contains(sources, via)) sources.push_back(via);
    }
  auto connected = [&](int allowed) {
    unions u(n);
    int parts = n;
    for (const edge& x : edges)
      if (x.via < 0 || x.via == allowed) parts -= u.join(x.i, x.j);
    return parts == 1;
  };
  if (connected(-1)) {
    e.fold = RF_DEFINITION;
    return;
  }
  std::sort(sources.begin(), sources.end(), [&](int a, int b) {
    return r->entries[a].score > r->entries[b].score;
  });
  for (int v : sources)
    if (connected(v)) {
      e.fold = RF_IMPLIED;
      e.impliedby = v;
      return;
    }
}

// A right angle whose sides are turned classes.
void foldright(const summaryfacts& f, relreport* r, relentry& e) {
  int a = e.items[0];
  const anglerec& g = anglelist[a];
  for (int pass = 0; pass < 2; pass++) {
    const dirclasses& d = pass ? f.all : f.def;
    int s1 = straightthrough(f, g.v[1], g.v[0], pass);
    int s2 = straightthrough(f, g.v[1], g.v[2], pass);
    if (s1 < 0 || s2 < 0) continue;
    std::vector<int> vias;
    int p1, p2;
    if (d.find(s1, &p1, &vias) != d.find(s2, &p2, &vias) || p1 == p2) continue;
    int via = -1;
    for (int v : vias)
      if (via < 0 || r->entries[v].score > r->entries[via].score) via = v;
    e.fold = pass && via >= 0 ? RF_IMPLIED : RF_DEFINITION;
    e.impliedby = pass ? via : -1;
    return;
  }
}

// Whether the angle at z between zx and zy is right by construction.
int builtright(const summaryfacts& f, int z, int x, int y) {
  int s1 = straightthrough(f, z, x, 0), s2 = straightthrough(f, z, y, 0);
  if (s1 < 0 || s2 < 0) return 0;
  int p1, p2;
  return f.def.find(s1, &p1) == f.def.find(s2, &p2) && p1 != p2;
}

// Points on a circle that all see two of them at right angles built as
// such lie on the circle over those two: a theorem, but a plain one, read
// after the others of its kind.
void demotethales(const summaryfacts& f, relentry& e) {
  const std::vector<int>& p = e.items;
  for (size_t i = 0; i < p.size(); i++)
    for (size_t j = i + 1; j < p.size(); j++) {
      int all = 1;
      for (int z : p)
        if (z != p[i] && z != p[j] && !builtright(f, z, p[i], p[j])) all = 0;
      if (all) {
        e.score -= THALESDEMOTION;
        return;
      }
    }
}

// Right angles that stay in the summary turn their sides' classes.
void reportedrightangles(summaryfacts& f) {
  for (int e = 0; e < (int)f.r->entries.size(); e++) {
    const relentry& x = f.r->entries[e];
    if (x.kind != RK_RIGHT || x.fold != RF_NONE) continue;
    const anglerec& g = anglelist[x.items[0]];
    int s1 = straightthrough(f, g.v[1], g.v[0], 1);
    int s2 = straightthrough(f, g.v[1], g.v[2], 1);
    if (s1 >= 0 && s2 >= 0) f.all.join(s1, s2, 1, e);
  }
}

// Two perpendicular lines that cross at the apex of a right angle entry say
// what the right angle says; the angle, which names points, stays.
void foldperpendicularpair(const summaryfacts& f, relreport* r, relentry& e) {
  if (e.items.size() != 2) return;
  const std::vector<int>& l = f.straight[e.items[0]];
  const std::vector<int>& m = f.straight[e.items[1]];
  for (int k = 0; k < (int)r->entries.size(); k++) {
    const relentry& x = r->entries[k];
    if (x.kind != RK_RIGHT || x.fold != RF_NONE) continue;
    const int* v = anglelist[x.items[0]].v;
    auto has = [&](const std::vector<int>& s, int a, int b) {
      return contains(s, a) && contains(s, b);
    };
    if ((has(l, v[1], v[0]) && has(m, v[1], v[2])) ||
        (has(l, v[1], v[2]) && has(m, v[1], v[0]))) {
      e.fold = RF_IMPLIED;
      e.impliedby = k;
      return;
    }
  }
}

// A parallel or perpendicular group within one class of the construction.
void folddirections(const summaryfacts& f, relentry& e) {
  int p, root = f.def.find(e.items[0], &p);
  for (int l : e.items)
    if (f.def.find(l, &p) != root) return;
  e.fold = RF_DEFINITION;
}

}  // namespace

void summarize(relreport* r) {
  r->summary.clear();
  score(r);
  mergepoints(r, RK_CIRCLES);
  mergepoints(r, RK_CONCURRENT);
  summaryfacts f;
  f.r = r;
  buildfacts(f);
  for (relentry& e : r->entries) {
    if (e.kind == RK_PARALLEL || e.kind == RK_PERPENDICULAR)
      folddirections(f, e);
    if (e.kind == RK_CONCYCLIC) demotethales(f, e);
  }
  for (relentry& e : r->entries)
    if (e.kind == RK_PERPENDICULAR && e.fold == RF_NONE)
      foldperpendicularpair(f, r, e);
  reporteddirections(f);
  for (relentry& e : r->entries)
    if (e.kind == RK_RIGHT) foldright(f, r, e);
  reportedrightangles(f);
  for (relentry& e : r->entries) {
    if (e.fold == RF_NONE &&
        (e.kind == RK_EQUALANGLES || e.kind == RK_COMPLEMENTARY ||
         e.kind == RK_SUPPLEMENTARY))
      foldangles(f, r, e);
  }
  foldproducts(f);
  for (int e = 0; e < (int)r->entries.size(); e++)
    if (r->entries[e].fold == RF_NONE) r->summary.push_back(e);
  std::stable_sort(r->summary.begin(), r->summary.end(), [&](int a, int b) {
    return r->entries[a].score > r->entries[b].score;
  });
  // What follows from a folded entry follows from what that one follows
  // from, up to an entry of the summary.
  for (relentry& e : r->entries) {
    int guard = 0;
    while (e.impliedby >= 0 && r->entries[e.impliedby].fold != RF_NONE &&
           guard++ < 64)
      e.impliedby = r->entries[e.impliedby].impliedby;
  }
}
