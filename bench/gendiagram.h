// gendiagram.h: generated diagram text for the reader's benchmarks and
// round-trip tests: every constructor kind, literal arguments, properties,
// comments, texts, expressions and macro calls, each statement referring
// only to names defined before it.
#pragma once

#include <cstdio>
#include <random>
#include <string>
#include <vector>

namespace gendiagram {

struct pools {
  std::vector<std::string> v, l, c, k, f, a, g, x;
};

inline const std::string& pick(std::mt19937& r,
                               const std::vector<std::string>& p) {
  return p[r() % p.size()];
}

inline std::string num(std::mt19937& r) {
  char b[32];
  snprintf(b, sizeof b, "%.4g", (int)(r() % 1800) / 1000.0 - 0.9);
  return b;
}

// A few properties of the kinds a statement of this type takes.
inline std::string props(std::mt19937& r, char type) {
  static const char* const colours[] = {".red", ".green", ".blue", ".c12",
                                        ".in",  ".smear", ".black"};
  static const char* const layers[] = {".l3", ".tol2", ".l5on", ".l0, .l7"};
  std::string s;
  switch (r() % 6) {
    case 0: s += std::string(", ") + colours[r() % 7]; break;
    case 1: s += ", [2 .red, .in, .blue]"; break;
    case 2: s += std::string(", ") + layers[r() % 4]; break;
    case 3: s += ", .width=2.000000, .display"; break;
    default: break;
  }
  if (type == 'v' && r() % 3 == 0) s += ", .square";
  if (type == 'l' && r() % 3 == 0) s += ", .ray12, .line2slash, .dashline";
  if (type == 'a' && r() % 3 == 0) s += ", .dslash2";
  if (type == 'g' && r() % 3 == 0) s += ", .hashpoly";
  if (r() % 4 == 0) s += ", \"L" + std::to_string(r() % 100) + "\"";
  return s;
}

const char* const MACROS =
    ".macro .vertex centroid(.vertex a, .vertex b, .vertex c)\n{\n"
    "    m = .v.vvmid(a, b);\n"
    "    .return g = .v.vvf(c, m, 0.666667);\n}\n"
    ".macro .circle ring(.vertex a, .flt r)\n{\n"
    "    .return k = .c.vf(a, r, .red);\n}\n";

// One statement defining `name`; adds the name to its pool.
inline std::string statement(std::mt19937& r, pools& p, int i) {
  std::string n = "n" + std::to_string(i), s;
  auto V = [&] { return pick(r, p.v); };
  auto L = [&] { return pick(r, p.l); };
  auto C = [&] { return pick(r, p.c); };
  auto F = [&] { return r() % 2 ? pick(r, p.f) : num(r); };
  char t = 'v';
  switch (r() % 40) {
    case 0: s = ".free(" + num(r) + ", " + num(r); break;
    case 1: s = ".pinned(" + num(r) + ", " + num(r); break;
    case 2: s = ".vonl(" + L() + ", " + num(r) + ", " + num(r); break;
    case 3: s = ".vonc(" + C() + ", " + num(r) + ", " + num(r); break;
    case 4: s = ".v.ll(" + L() + ", " + L(); break;
    case 5: s = ".v.lc(" + L() + ", " + C() + ", 2"; break;
    case 6: s = ".v.cc(" + C() + ", " + C() + ", 1"; break;
    case 7: s = ".v.vvmid(" + V() + ", " + V(); break;
    case 8: s = ".v.vvf(" + V() + ", " + V() + ", " + F(); break;
    case 9: s = ".v.vtranslate(" + V() + ", " + F() + ", " + F(); break;
    case 10: s = ".v.vvvharmonic(" + V() + ", " + V() + ", " + V(); break;
    case 11: s = ".v.lcvother(" + L() + ", " + C() + ", " + V(); break;
    case 12: s = ".v.vcinv(" + V() + ", " + C(); break;
    case 13: s = ".v.vx(" + V() + ", " + pick(r, p.x); break;
    case 14: s = ".l.vv(" + V() + ", " + V(), t = 'l'; break;
    case 15: s = ".l.vlperp(" + V() + ", " + L(), t = 'l'; break;
    case 16: s = ".l.vlpar(" + V() + ", " + L(), t = 'l'; break;
    case 17: s = ".l.vc(" + V() + ", " + C() + ", 1", t = 'l'; break;
    case 18: s = ".l.ccext(" + C() + ", " + C() + ", 2", t = 'l'; break;
    case 19: s = ".l.vvperp(" + V() + ", " + V(), t = 'l'; break;
    case 20: s = ".c.vv(" + V() + ", " + V(), t = 'c'; break;
    case 21: s = ".c.vvv(" + V() + ", " + V() + ", " + V(), t = 'c'; break;
    case 22:
      s = ".c.lll(" + L() + ", " + L() + ", " + L() + ", 3", t = 'c';
      break;
    case 23: s = ".c.vf(" + V() + ", " + F(), t = 'c'; break;
    case 24: s = ".c.ccinv(" + C() + ", " + C(), t = 'c'; break;
    case 25: s = ".c.ctrvv(" + V() + ", " + V() + ", " + V(), t = 'c'; break;
    case 26:
      s = ".conic.vvvvv(" + V() + ", " + V() + ", " + V() + ", " + V() + ", " +
          V(),
      t = 'k';
      break;
    case 27: s = ".a.vvv(" + V() + ", " + V() + ", " + V(), t = 'a'; break;
    case 28: s = ".a.float(" + num(r), t = 'a'; break;
    case 29: s = ".f.vv(" + V() + ", " + V(), t = 'f'; break;
    case 30:
      s = ".f.rpn(" + pick(r, p.f) + ", 2, .mul, " + pick(r, p.a) + ", .sin",
      t = 'f';
      break;
    case 31:
      s = ".polygon(4, " + V() + ", " + V() + ", " + V() + ", " + V(), t = 'g';
      break;
    case 32: s = ".f.area(" + pick(r, p.g), t = 'f'; break;
    case 33: s = ".x.rotate(" + pick(r, p.x) + ", " + F(), t = 'x'; break;
    case 34:
      s = ".bez.vvvv(" + V() + ", " + V() + ", " + V() + ", " + V(), t = 'b';
      break;
    case 35: s = ".arc.vvv(" + V() + ", " + V() + ", " + V(), t = 'r'; break;
    case 36: return "// comment " + std::to_string(i) + "\n";
    case 37:
      return ".text(\"text " + std::to_string(i) + "\"" + props(r, 't') +
             ");\n";
    case 38: {
      std::string args = V() + ", " + V() + ", " + V();
      p.v.push_back(n);
      return n + " = centroid(" + args + props(r, 'v') + ");\n";
    }
    default: {
      std::string args = V() + ", " + num(r);
      p.c.push_back(n);
      return n + " = ring(" + args + props(r, 'c') + ");\n";
    }
  }
  std::string out = n + " = " + s + props(r, t) + ");\n";
  switch (t) {
    case 'v': p.v.push_back(n); break;
    case 'l': p.l.push_back(n); break;
    case 'c': p.c.push_back(n); break;
    case 'k': p.k.push_back(n); break;
    case 'f': p.f.push_back(n); break;
    case 'a': p.a.push_back(n); break;
    case 'g': p.g.push_back(n); break;
    case 'x': p.x.push_back(n); break;
    default: break;  // beziers and arcs are never arguments here
  }
  return out;
}

// A diagram of `count` statements after a fixed preamble.
inline std::string generate(int count, unsigned seed) {
  std::mt19937 r(seed);
  pools p;
  std::string s = ".geometry \"version 0.65\";\n.c12 = (0.5, 0.25, 1);\n";
  s += MACROS;
  s += "A = .free(-0.5, -0.5);\nB = .free(0.5, -0.5);\nC = .free(0, 0.5);\n"
       "l1 = .l.vv(A, B);\nl2 = .l.vv(B, C);\nc1 = .c.vv(A, B);\n"
       "f1 = .f.vv(A, C);\na1 = .a.vvv(A, B, C);\n"
       "g1 = .polygon(3, A, B, C);\nx1 = .x.identity();\n";
  p.v = {"A", "B", "C"};
  p.l = {"l1", "l2"};
  p.c = {"c1"};
  p.f = {"f1"};
  p.a = {"a1"};
  p.g = {"g1"};
  p.x = {"x1"};
  for (int i = 0; i < count; i++) s += statement(r, p, i);
  return s;
}

}  // namespace gendiagram
