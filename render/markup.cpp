// markup.cpp: parsing label and text markup into items, and the symbol
// table of named characters.
#include "render/markup.h"

#include <cstring>

int showinfo = 1;

// ORDER: lookup order; a name that is a prefix of a later one shadows it
// ("multiply" is found before "mu", anything starting "pi" is pi).
const specialsymbol special[] = {
    {"triangle", 8, 0104},    {"angle", 5, 0320},
    {"congruent", 9, 0100},   {"similar", 7, 0176},
    {"dotmath", 7, 0327},     {"multiply", 8, 0264},
    {"fraction", 8, 0244},    {"degrees", 7, 0260},
    {"alpha", 5, 0141},       {"beta", 4, 0142},
    {"gamma", 5, 0147},       {"delta", 5, 0144},
    {"epsilon", 7, 0145},     {"zeta", 4, 0172},
    {"eta", 3, 0150},         {"theta", 5, 0161},
    {"iota", 4, 0151},        {"kappa", 5, 0153},
    {"lambda", 6, 0154},      {"mu", 2, 0155},
    {"nu", 2, 0156},          {"xi", 2, 0170},
    {"omicron", 7, 0157},     {"pi", 2, 0160},
    {"rho", 3, 0162},         {"sigma", 5, 0163},
    {"tau", 3, 0164},         {"upsilon", 7, 0165},
    {"phi", 3, 0146},         {"chi", 3, 0143},
    {"psi", 3, 0171},         {"omega", 5, 0167},
    {"Gamma", 5, 0107},       {"Delta", 5, 0104},
    {"Theta", 5, 0121},       {"Lambda", 6, 0114},
    {"Xi", 2, 0130},          {"Pi", 2, 0120},
    {"Sigma", 5, 0123},       {"Upsilon", 7, 0125},
    {"Phi", 3, 0106},         {"Psi", 3, 0131},
    {"Omega", 5, 0127},       {"circlemultiply", 14, 0304},
    {"circleplus", 10, 0305}, {"greaterequal", 12, 0263},
    {"lessequal", 9, 0243},   {"perp", 4, 0136},
    {"sqrt", 4, 0326},        {"therefore", 9, 0134},
    {"cdot", 4, 0327},
};
static_assert(sizeof(special) / sizeof(special[0]) == NSPECIAL,
              "51 named symbols");

int isodigit(char c) {
  return c >= '0' && c <= '7';
}

// The four kinds of group and their openings, in lookup order.
struct groupopening {
  const char* opening;
  int kind;
};
static const groupopening groups[] = {
    {"arc{", MK_ARC},   {"overline{", MK_OVERLINE}, {"superscript{", MK_SUPER},
    {"sup{", MK_SUPER}, {"subscript{", MK_SUB},     {"sub{", MK_SUB},
};
static_assert(sizeof(groups) / sizeof(groups[0]) == 6, "six group openings");

static void additem(std::vector<markupitem>* out, int kind, const char* s,
                    size_t n, unsigned char code) {
  markupitem m;
  m.kind = kind;
  m.text.assign(s, n);
  m.code = code;
  out->push_back(m);
}

// item -> octal | group | symbol | (nothing: a literal backslash).
// `s` points just after the backslash; returns where scanning goes on.
static const char* parseitem(const char* s, std::vector<markupitem>* out) {
  if (isodigit(s[0]) && isodigit(s[1]) && isodigit(s[2])) {
    int code = (s[0] - '0') * 64 + (s[1] - '0') * 8 + (s[2] - '0');
    additem(out, MK_SYMBOL, "", 0, (unsigned char)(code & 255));
    return s + 3;
  }
  for (const groupopening& g : groups) {
    size_t len = strlen(g.opening);
    if (strncmp(s, g.opening, len) != 0) continue;
    const char* body = s + len;
    size_t n = strcspn(body, "}\n");
    additem(out, g.kind, body, n, 0);
    return body[n] == '}' ? body + n + 1 : body + n;
  }
  for (const specialsymbol& sym : special)
    if (strncmp(s, sym.name, sym.len) == 0) {
      additem(out, MK_SYMBOL, "", 0, sym.code);
      return s + sym.len;
    }
  additem(out, MK_BACKSLASH, "", 0, 0);
  return s;
}

void parsemarkup(const char* s, std::vector<markupitem>* out) {
  if (!s) return;
  while (*s) {
    size_t n = strcspn(s, "\\\n");
    additem(out, MK_RUN, s, n, 0);
    s += n;
    if (*s == '\n') {
      additem(out, MK_NEWLINE, "", 0, 0);
      s++;
    } else if (*s == '\\') {
      s = parseitem(s + 1, out);
    }
  }
}

void resetmarkup() {
  showinfo = 1;
}
