// products.cpp: the summary's rule for equal segments, equal areas and
// product lines.
//
// Each such entry is a set of linear equations between logarithms of
// lengths and of doubled areas: [A B] x [C D] = [E F] x [G H] is
// log AB + log CD - log EF - log GH = 0. An entry adds nothing when its
// equations are combinations of equations already known, so the rule is a
// rank test: known equations are kept in echelon form (sparse rows, each
// led by its highest column), a new equation is reduced against them, and
// what is left over becomes a new row. The known equations come first from
// the construction (a midpoint's halves, radii of a circle, a doubled area
// as base times height over a line), then from the kept entries that imply
// products (parallels cut by two lines through a point; a point's power to
// a circle and its similar triangles), then from each product entry that
// survives, most remarkable first. Each row remembers where it came from,
// so a folded entry names the entry it follows from.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>
#include <unordered_map>
#include <vector>

#include "relations/finder.h"
#include "relations/summaryfacts.h"

namespace {

typedef std::vector<std::pair<int, double>> row;  // ascending columns

const double NEGLIGIBLE = 1e-9;      // coefficients are small rationals
const size_t MAXSOURCEROWS = 20000;  // beyond this, sources are not added
// Where a known equation comes from, besides an entry (its index):
const int DEFINED = -1;  // a definition: radii, a doubled area's height
const int DERIVED = -2;  // from here down: a consequence of the construction
                         // (DERIVED - g for the g-th source: a midpoint, a
                         // circle, a class of parallels), not yet claimed by
                         // the first entry that needs it

struct echelon {
  keytable columns;                           // key -> column
  std::vector<uint64_t> keyof;                // column -> key
  std::vector<int> leading;                   // column -> row, or -1
  std::vector<row> rows;                      // led by their last column
  std::vector<int> origin;                    // entry, or -1: construction
  row scratch;                                // what a reduction step builds
  size_t sources = 0;

  int column(uint64_t key) {
    int c = columns.find(key);
    if (c >= 0) return c;
    c = (int)keyof.size();
    columns.put(key, c);
    keyof.push_back(key);
    return c;
  }
};

// out = a + k b (out reused: reductions run in the thousands, so the merge
// writes through pointers into room made once).
void combine(const row& a, const row& b, double k, row& out) {
  out.resize(a.size() + b.size());
  const std::pair<int, double>*i = a.data(), *ie = i + a.size();
  const std::pair<int, double>*j = b.data(), *je = j + b.size();
  std::pair<int, double>* o = out.data();
  while (i < ie || j < je) {
    int ca = i < ie ? i->first : INT32_MAX;
    int cb = j < je ? j->first : INT32_MAX;
    double v;
    int c;
    if (ca == cb) {
      c = ca, v = (i++)->second + k * (j++)->second;
    } else if (ca < cb) {
      c = ca, v = (i++)->second;
    } else {
      c = cb, v = k * (j++)->second;
    }
    if (std::fabs(v) > NEGLIGIBLE) *o++ = {c, v};
  }
  out.resize((size_t)(o - out.data()));
}

// Reduces r; records the rows used. Returns 1 when r is new (it then
// leads a new row of `origin`).
int reduce(echelon& e, row r, int origin, std::vector<int>* used) {
  while (!r.empty()) {
    int c = r.back().first;
    int at = c < (int)e.leading.size() ? e.leading[c] : -1;
    if (at < 0) {
      double lead = r.back().second;
      for (auto& x : r) x.second /= lead;
      if (c >= (int)e.leading.size()) e.leading.resize(e.keyof.size(), -1);
      e.leading[c] = (int)e.rows.size();
      e.rows.push_back(std::move(r));
      e.origin.push_back(origin);
      return 1;
    }
    const row& p = e.rows[at];
    if (used) used->push_back(at);
    combine(r, p, -r.back().second, e.scratch);
    r.swap(e.scratch);
  }
  return 0;
}

row makerow(std::initializer_list<std::pair<int, double>> terms) {
  row r;
  r.reserve(terms.size());
  for (auto t : terms) {
    auto at = std::find_if(
        r.begin(), r.end(),
        [&](const std::pair<int, double>& x) { return x.first == t.first; });
    if (at == r.end())
      r.push_back(t);
    else
      at->second += t.second;
  }
  r.erase(std::remove_if(r.begin(), r.end(),
                         [](const std::pair<int, double>& x) {
                           return std::fabs(x.second) < NEGLIGIBLE;
                         }),
          r.end());
  std::sort(r.begin(), r.end());
  return r;
}

// Column keys: a segment by its two points, a doubled area by its three, a
// height by its point and line, and log 2.
uint64_t segkey(int a, int b) {
  if (a > b) std::swap(a, b);
  return (uint64_t)1 << 62 | (uint64_t)a << 31 | (uint64_t)b;
}
uint64_t trikey(int a, int b, int c) {
  int v[3] = {a, b, c};
  std::sort(v, v + 3);
  return (uint64_t)2 << 62 | (uint64_t)v[0] << 40 | (uint64_t)v[1] << 20 |
         (uint64_t)v[2];
}
uint64_t heightkey(int p, int line) {
  return (uint64_t)3 << 62 | (uint64_t)p << 31 | (uint64_t)line;
}
const uint64_t LOG2KEY = 0;

struct context {
  summaryfacts& f;
  echelon e;
  std::vector<int> ident;  // straight node -> the first node of its line
  std::unordered_map<uint64_t, int> groups;  // source of the construction
  std::vector<int>
      used;  // rows a reduction used (kept: judged in the hundreds)
};

// The origin of the equations a source of the construction gives.
int derived(context& x, char what, int which) {
  uint64_t key = (uint64_t)(unsigned char)what << 32 | (uint32_t)which;
  auto it = x.groups.find(key);
  if (it != x.groups.end()) return it->second;
  int g = DERIVED - (int)x.groups.size();
  x.groups[key] = g;
  return g;
}

int seg(context& x, int a, int b) {
  return x.e.column(segkey(a, b));
}

void source(context& x, row r, int origin) {
  if (x.e.sources >= MAXSOURCEROWS) return;
  x.e.sources++;
  reduce(x.e, std::move(r), origin, nullptr);
}

// The first node of the line that straight node s lies along.
void identities(context& x) {
  const summaryfacts& f = x.f;
  int n = (int)f.straight.size();
  x.ident.resize(n);
  for (int s = 0; s < n; s++) x.ident[s] = s;
  // Ascending pairs: the first node sharing two points with s is met first,
  // and its own identity is already final.
  for (const auto& p : f.sharing)
    if (x.ident[p.second] == p.second) x.ident[p.second] = x.ident[p.first];
}

void midpoints(context& x) {
  const summaryfacts& f = x.f;
  for (int m = 0; m < f.nv; m++) {
    const vertex* M = vertlist[m];
    if (M->kind != V_VVMID) continue;
    int a = f.vindex.find(pointerkey(M->parents[0]));
    int b = f.vindex.find(pointerkey(M->parents[1]));
    if (a < 0 || b < 0) continue;
    int am = seg(x, a, m), mb = seg(x, m, b);
    int ab = seg(x, a, b), two = x.e.column(LOG2KEY);
    source(x, makerow({{am, 1}, {mb, -1}}), derived(x, 'm', m));
    source(x, makerow({{ab, 1}, {am, -1}, {two, -1}}), derived(x, 'm', m));
  }
}

void radii(context& x) {
  const summaryfacts& f = x.f;
  for (int c = 0; c < f.nc; c++) {
    int k = f.centre[c];
    if (k < 0) continue;
    const std::vector<int>& on = f.circles[c];
    for (size_t i = 1; i < on.size(); i++)
      if (on[i] != k && on[0] != k)
        source(x, makerow({{seg(x, k, on[i]), 1}, {seg(x, k, on[0]), -1}}),
               DEFINED);
  }
}

// The entry a straight node comes from (DEFINED: a line of the
// construction).
int nodeorigin(const summaryfacts& f, int s) {
  return s < f.nl ? DEFINED : f.straightentry[s];
}

// Every doubled area used by an entry is a base times its height.
void heights(context& x) {
  const summaryfacts& f = x.f;
  std::vector<int> seen(trianglelist.size(), 0);
  for (const relentry& en : f.r->entries) {
    if (en.kind != RK_EQUALAREA && en.kind != RK_AREARATIO) continue;
    for (int t : en.items) {
      if (seen[t]++) continue;
      const int* v = trianglelist[t].v;
      int tc = x.e.column(trikey(v[0], v[1], v[2]));
      for (int k = 0; k < 3; k++) {
        int a = v[k], b = v[(k + 1) % 3], p = v[(k + 2) % 3];
        int s = straightthrough(f, a, b, 1);
        if (s < 0) continue;
        int h = x.e.column(heightkey(p, x.ident[s]));
        source(x, makerow({{tc, 1}, {seg(x, a, b), -1}, {h, -1}}),
               nodeorigin(f, s));
      }
    }
  }
}

// The most remarkable of some entries; DERIVED when there are none.
int best(const summaryfacts& f, const std::vector<int>& entries) {
  int why = DERIVED;
  for (int v : entries)
    if (v >= 0 && (why < 0 || f.r->entries[v].score > f.r->entries[why].score))
      why = v;
  return why;
}

// Points at one height over a line: the line through them is parallel.
void equalheights(context& x) {
  summaryfacts& f = x.f;
  std::map<int, std::vector<std::pair<int, int>>> byline;
  for (int c = 0; c < (int)x.e.keyof.size(); c++) {
    uint64_t k = x.e.keyof[c];
    if (k >> 62 == 3)
      byline[(int)(k & 0x7fffffff)].push_back(
          {(int)((k >> 31) & 0x7fffffff), c});
  }
  for (auto& l : byline) {
    auto& pts = l.second;
    for (size_t i = 0; i < pts.size(); i++)
      for (size_t j = i + 1; j < pts.size(); j++) {
        int s = straightthrough(f, pts[i].first, pts[j].first, 1);
        if (s < 0) continue;
        std::vector<int> vias;
        int p1, p2;
        if (f.all.find(s, &p1, &vias) != f.all.find(l.first, &p2, &vias) ||
            p1 != p2)
          continue;
        int why = best(f, vias);
        if (nodeorigin(f, s) >= 0 && why < 0) why = nodeorigin(f, s);
        if (why == DERIVED) why = derived(x, 'd', f.all.find(s, &p1));
        source(x, makerow({{pts[i].second, 1}, {pts[j].second, -1}}), why);
      }
  }
}

// A point's two chords through a circle (or concyclic set): its power, and
// the two pairs of similar triangles.
void chords(context& x, const std::vector<int>& on, int origin) {
  const summaryfacts& f = x.f;
  struct chord {
    int s, a, b;  // a line (one node per line) meeting `on` in a and b only
  };
  std::vector<chord> cut;
  for (int s = 0; s < (int)f.straight.size(); s++) {
    if (x.ident[s] != s) continue;
    int meet[2], k = 0;
    for (int v : on)
      if (onstraight(f, s, v) && k++ < 2) meet[k - 1] = v;
    if (k == 2) cut.push_back({s, meet[0], meet[1]});
  }
  if (cut.size() < 2) return;              // no point has two chords
  std::vector<std::pair<int, int>> found;  // chords through p
  for (int p = 0; p < f.nv; p++) {
    found.clear();
    for (const chord& c : cut)
      if (onstraight(f, c.s, p)) found.push_back({c.a, c.b});
    if (found.size() < 2 || contains(on, p)) continue;
    for (size_t i = 0; i < found.size(); i++)
      for (size_t j = i + 1; j < found.size(); j++) {
        int a = found[i].first, b = found[i].second;
        int c = found[j].first, d = found[j].second;
        int pa = seg(x, p, a), pb = seg(x, p, b), pc = seg(x, p, c),
            pd = seg(x, p, d);
        source(x, makerow({{pa, 1}, {pb, 1}, {pc, -1}, {pd, -1}}), origin);
        source(
            x,
            makerow({{seg(x, a, c), 1}, {seg(x, d, b), -1}, {pa, -1}, {pd, 1}}),
            origin);
        source(
            x,
            makerow({{seg(x, a, d), 1}, {seg(x, c, b), -1}, {pa, -1}, {pc, 1}}),
            origin);
      }
  }
}

// Points [P Q, R S] form an harmonic set: RP x SQ = RQ x SP.
void harmonicratio(context& x, const std::vector<int>& o, int origin) {
  source(x,
         makerow({{seg(x, o[0], o[2]), 1},
                  {seg(x, o[1], o[3]), 1},
                  {seg(x, o[1], o[2]), -1},
                  {seg(x, o[0], o[3]), -1}}),
         origin);
}

// The point where straight nodes g and h meet, when both hold it; -1.
int meeting(const summaryfacts& f, int g, int h) {
  for (int v : f.straight[g])
    if (onstraight(f, h, v)) return v;
  return -1;
}

// Parallels cut by two lines g and h: the pieces of g between two of the
// parallels are to the pieces of h between the same two in one ratio (a
// column of its own), and when g and h meet at O, the lengths from O
// too, and the pieces of the parallels between g and h go as the lengths
// from O: the intercept figure.
void transversals(context& x, const std::vector<int>& lines, int g, int h,
                  int origin) {
  const summaryfacts& f = x.f;
  std::vector<std::pair<int, int>> cuts;  // (on g, on h) per parallel
  for (int l : lines) {
    int a = meeting(f, g, l), b = meeting(f, h, l);
    if (a >= 0 && b >= 0 && a != b) cuts.push_back({a, b});
  }
  int o = meeting(f, g, h);
  for (const auto& c : cuts)
    if (c.first == o || c.second == o) o = -1;
  if (cuts.size() + (o >= 0) < 2) return;
  int ratio = x.e.column((uint64_t)7 << 61 | (uint64_t)g << 30 | (uint64_t)h);
  if (o >= 0) cuts.push_back({o, o});
  for (size_t i = 0; i < cuts.size(); i++)
    for (size_t j = i + 1; j < cuts.size(); j++)
      source(x,
             makerow({{seg(x, cuts[i].first, cuts[j].first), 1},
                      {seg(x, cuts[i].second, cuts[j].second), -1},
                      {ratio, -1}}),
             origin);
  if (o < 0) return;
  for (size_t i = 0; i + 2 < cuts.size(); i++) {
    auto c = cuts[i], d = cuts[i + 1];
    source(x,
           makerow({{seg(x, c.first, c.second), 1},
                    {seg(x, d.first, d.second), -1},
                    {seg(x, o, c.first), -1},
                    {seg(x, o, d.first), 1}}),
           origin);
  }
}

void intercepts(context& x) {
  summaryfacts& f = x.f;
  int n = (int)f.straight.size();
  std::map<int, std::vector<int>> classes;  // root -> its lines, one each
  for (int s = 0; s < n; s++) {
    int p;
    if (x.ident[s] == s) classes[2 * f.all.find(s, &p) + p].push_back(s);
  }
  for (const auto& c : classes) {
    if (c.second.size() < 2) continue;
    std::vector<int> vias;
    int p;
    for (int l : c.second) f.all.find(l, &p, &vias);
    int why = best(f, vias);
    if (why == DERIVED) why = derived(x, 'd', c.first);
    std::vector<int> across;  // lines that cut two of the parallels
    for (int g = 0; g < n; g++) {
      if (x.ident[g] != g || contains(c.second, g)) continue;
      int cut = 0;
      for (int l : c.second) cut += meeting(f, g, l) >= 0;
      if (cut >= 2 || (cut == 1 && f.straight[g].size() >= 2))
        across.push_back(g);
    }
    for (size_t i = 0; i < across.size(); i++)
      for (size_t j = i + 1; j < across.size(); j++)
        transversals(x, c.second, across[i], across[j], why);
  }
}

// Reduces the equations of an entry; returns how many of them were new.
int reduceentry(context& x, const relentry& en, int e, std::vector<int>* used) {
  auto col = [&](int item) {
    if (en.kind == RK_EQUALSEGMENTS || en.kind == RK_RATIO)
      return seg(x, segmentlist[item].v[0], segmentlist[item].v[1]);
    const int* v = trianglelist[item].v;
    return x.e.column(trikey(v[0], v[1], v[2]));
  };
  const std::vector<int>& m = en.items;
  if (en.kind != RK_EQUALSEGMENTS && en.kind != RK_EQUALAREA)
    return reduce(
        x.e,
        makerow(
            {{col(m[0]), 1}, {col(m[1]), 1}, {col(m[2]), -1}, {col(m[3]), -1}}),
        e, used);
  int added = 0;
  for (size_t i = 1; i < m.size(); i++)
    added += reduce(x.e, makerow({{col(m[i]), 1}, {col(m[0]), -1}}), e, used);
  return added;
}

int isproduct(int kind) {
  return kind == RK_EQUALSEGMENTS || kind == RK_EQUALAREA || kind == RK_RATIO ||
         kind == RK_AREARATIO;
}

// An entry with a new equation stays; so does one that needs a consequence
// of the construction no entry has claimed yet, and it claims what it
// used: the next entry that needs the same follows from it. Otherwise the
// entry follows from the entries it needs, or from definitions alone.
void judge(context& x, relreport* r, int e) {
  relentry& en = r->entries[e];
  std::vector<int>& used = x.used;
  used.clear();
  int added = reduceentry(x, en, e, &used);
  std::vector<int> claimed;
  int via = DERIVED;  // the most remarkable entry used
  for (int u : used) {
    int o = x.e.origin[u];
    if (o <= DERIVED && !contains(claimed, o)) claimed.push_back(o);
    if (o >= 0 && (via < 0 || r->entries[o].score > r->entries[via].score))
      via = o;
  }
  if (added || !claimed.empty()) {
    if (!claimed.empty())
      for (int& o : x.e.origin)
        if (contains(claimed, o)) o = e;
    return;
  }
  en.fold = via >= 0 ? RF_IMPLIED : RF_DEFINITION;
  en.impliedby = via >= 0 ? via : -1;
}

}  // namespace

void foldproducts(summaryfacts& f) {
  relreport* r = f.r;
  std::vector<int> order;
  for (int e = 0; e < (int)r->entries.size(); e++)
    if (r->entries[e].fold == RF_NONE && isproduct(r->entries[e].kind))
      order.push_back(e);
  if (order.empty()) return;
  context x{f, {}, {}, {}, {}};
  identities(x);
  x.e.column(LOG2KEY);
  midpoints(x);
  radii(x);
  heights(x);
  equalheights(x);
  for (int c = 0; c < f.nc; c++) chords(x, f.circles[c], derived(x, 'c', c));
  for (int e = 0; e < (int)r->entries.size(); e++) {
    const relentry& c = r->entries[e];
    if (c.kind == RK_CONCYCLIC && c.fold != RF_IMPLIED)
      chords(x, c.items, c.fold == RF_NONE ? e : derived(x, 'k', e));
  }
  for (int e = 0; e < (int)r->entries.size(); e++)
    if (r->entries[e].kind == RK_HARMONIC && r->entries[e].fold == RF_NONE)
      harmonicratio(x, r->entries[e].items, e);
  intercepts(x);
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
    return r->entries[a].score > r->entries[b].score;
  });
  for (int e : order) judge(x, r, e);
}
