// glyphs.cpp: Symbol-font codes as Unicode and LaTeX, UTF-8, and the
// widths of characters in the exports' font.
#include "export/glyphs.h"

#include <cairo-ft.h>
#include <cairo.h>
#include <fontconfig/fontconfig.h>

#include <cstdlib>
#include <mutex>
#include <unordered_map>

#include "export/pen.h"

const char* exportfamily(int face) {
  return face == FACE_SYMBOL ? "Standard Symbols PS" : "Nimbus Roman";
}

const char* exportfallback(int face) {
  return face == FACE_SYMBOL ? "FreeSerif, serif"
                             : "FreeSerif, 'Times New Roman', Times, serif";
}

// A Symbol-font code that is not the ASCII character of the same code.
struct symbolglyph {
  unsigned char code;
  uint32_t unicode;
  const char* latex;
};

// ORDER: by code, so a lookup may stop at the first larger code.
static const symbolglyph symbolglyphs[] = {
    {0x22, 0x2200, "\\forall"},     {0x24, 0x2203, "\\exists"},
    {0x27, 0x220B, "\\ni"},         {0x2A, 0x2217, "\\ast"},
    {0x2D, 0x2212, "-"},            {0x40, 0x2245, "\\cong"},
    {0x41, 0x0391, "A"},            {0x42, 0x0392, "B"},
    {0x43, 0x03A7, "X"},            {0x44, 0x0394, "\\Delta"},
    {0x45, 0x0395, "E"},            {0x46, 0x03A6, "\\Phi"},
    {0x47, 0x0393, "\\Gamma"},      {0x48, 0x0397, "H"},
    {0x49, 0x0399, "I"},            {0x4A, 0x03D1, "\\vartheta"},
    {0x4B, 0x039A, "K"},            {0x4C, 0x039B, "\\Lambda"},
    {0x4D, 0x039C, "M"},            {0x4E, 0x039D, "N"},
    {0x4F, 0x039F, "O"},            {0x50, 0x03A0, "\\Pi"},
    {0x51, 0x0398, "\\Theta"},      {0x52, 0x03A1, "P"},
    {0x53, 0x03A3, "\\Sigma"},      {0x54, 0x03A4, "T"},
    {0x55, 0x03A5, "\\Upsilon"},    {0x56, 0x03C2, "\\varsigma"},
    {0x57, 0x03A9, "\\Omega"},      {0x58, 0x039E, "\\Xi"},
    {0x59, 0x03A8, "\\Psi"},        {0x5A, 0x0396, "Z"},
    {0x5C, 0x2234, "\\therefore"},  {0x5E, 0x22A5, "\\perp"},
    {0x60, 0x203E, "\\overline{\\ }"}, {0x61, 0x03B1, "\\alpha"},
    {0x62, 0x03B2, "\\beta"},       {0x63, 0x03C7, "\\chi"},
    {0x64, 0x03B4, "\\delta"},      {0x65, 0x03B5, "\\epsilon"},
    {0x66, 0x03C6, "\\phi"},        {0x67, 0x03B3, "\\gamma"},
    {0x68, 0x03B7, "\\eta"},        {0x69, 0x03B9, "\\iota"},
    {0x6A, 0x03D5, "\\varphi"},     {0x6B, 0x03BA, "\\kappa"},
    {0x6C, 0x03BB, "\\lambda"},     {0x6D, 0x03BC, "\\mu"},
    {0x6E, 0x03BD, "\\nu"},         {0x6F, 0x03BF, "o"},
    {0x70, 0x03C0, "\\pi"},         {0x71, 0x03B8, "\\theta"},
    {0x72, 0x03C1, "\\rho"},        {0x73, 0x03C3, "\\sigma"},
    {0x74, 0x03C4, "\\tau"},        {0x75, 0x03C5, "\\upsilon"},
    {0x76, 0x03D6, "\\varpi"},      {0x77, 0x03C9, "\\omega"},
    {0x78, 0x03BE, "\\xi"},         {0x79, 0x03C8, "\\psi"},
    {0x7A, 0x03B6, "\\zeta"},       {0x7E, 0x223C, "\\sim"},
    {0xA0, 0x20AC, "\\text{\\texteuro}"}, {0xA1, 0x03D2, "\\Upsilon"},
    {0xA2, 0x2032, "'"},            {0xA3, 0x2264, "\\leq"},
    {0xA4, 0x2044, "/"},            {0xA5, 0x221E, "\\infty"},
    {0xA6, 0x0192, "f"},            {0xA7, 0x2663, "\\clubsuit"},
    {0xA8, 0x2666, "\\diamondsuit"}, {0xA9, 0x2665, "\\heartsuit"},
    {0xAA, 0x2660, "\\spadesuit"},  {0xAB, 0x2194, "\\leftrightarrow"},
    {0xAC, 0x2190, "\\leftarrow"},  {0xAD, 0x2191, "\\uparrow"},
    {0xAE, 0x2192, "\\rightarrow"}, {0xAF, 0x2193, "\\downarrow"},
    {0xB0, 0x00B0, "^{\\circ}"},    {0xB1, 0x00B1, "\\pm"},
    {0xB2, 0x2033, "''"},           {0xB3, 0x2265, "\\geq"},
    {0xB4, 0x00D7, "\\times"},      {0xB5, 0x221D, "\\propto"},
    {0xB6, 0x2202, "\\partial"},    {0xB7, 0x2022, "\\bullet"},
    {0xB8, 0x00F7, "\\div"},        {0xB9, 0x2260, "\\neq"},
    {0xBA, 0x2261, "\\equiv"},      {0xBB, 0x2248, "\\approx"},
    {0xBC, 0x2026, "\\ldots"},      {0xBD, 0x23D0, "|"},
    {0xBE, 0x23AF, "-"},            {0xBF, 0x21B5, "\\hookleftarrow"},
    {0xC0, 0x2135, "\\aleph"},      {0xC1, 0x2111, "\\Im"},
    {0xC2, 0x211C, "\\Re"},         {0xC3, 0x2118, "\\wp"},
    {0xC4, 0x2297, "\\otimes"},     {0xC5, 0x2295, "\\oplus"},
    {0xC6, 0x2205, "\\emptyset"},   {0xC7, 0x2229, "\\cap"},
    {0xC8, 0x222A, "\\cup"},        {0xC9, 0x2283, "\\supset"},
    {0xCA, 0x2287, "\\supseteq"},   {0xCB, 0x2284, "\\not\\subset"},
    {0xCC, 0x2282, "\\subset"},     {0xCD, 0x2286, "\\subseteq"},
    {0xCE, 0x2208, "\\in"},         {0xCF, 0x2209, "\\notin"},
    {0xD0, 0x2220, "\\angle"},      {0xD1, 0x2207, "\\nabla"},
    {0xD2, 0x00AE, "\\text{\\textregistered}"},
    {0xD3, 0x00A9, "\\text{\\textcopyright}"},
    {0xD4, 0x2122, "\\text{\\texttrademark}"},
    {0xD5, 0x220F, "\\prod"},       {0xD6, 0x221A, "\\surd"},
    {0xD7, 0x22C5, "\\cdot"},       {0xD8, 0x00AC, "\\neg"},
    {0xD9, 0x2227, "\\wedge"},      {0xDA, 0x2228, "\\vee"},
    {0xDB, 0x21D4, "\\Leftrightarrow"}, {0xDC, 0x21D0, "\\Leftarrow"},
    {0xDD, 0x21D1, "\\Uparrow"},    {0xDE, 0x21D2, "\\Rightarrow"},
    {0xDF, 0x21D3, "\\Downarrow"},  {0xE0, 0x25CA, "\\lozenge"},
    {0xE1, 0x2329, "\\langle"},     {0xE2, 0x00AE, "\\text{\\textregistered}"},
    {0xE3, 0x00A9, "\\text{\\textcopyright}"},
    {0xE4, 0x2122, "\\text{\\texttrademark}"},
    {0xE5, 0x2211, "\\sum"},        {0xF1, 0x232A, "\\rangle"},
    {0xF2, 0x222B, "\\int"},
};
static_assert(sizeof(symbolglyphs) / sizeof(symbolglyphs[0]) == 134,
              "every Symbol code that differs from ASCII");

static const symbolglyph* findsymbol(unsigned char code) {
  for (const symbolglyph& g : symbolglyphs) {
    if (g.code == code) return &g;
    if (g.code > code) break;
  }
  return nullptr;
}

uint32_t symbolunicode(unsigned char code) {
  if (const symbolglyph* g = findsymbol(code)) return g->unicode;
  // The rest of the printable ASCII range is ASCII; other slots are unused.
  return code >= 0x20 && code < 0x7F ? code : 0;
}

const char* symbollatex(unsigned char code) {
  const symbolglyph* g = findsymbol(code);
  return g ? g->latex : nullptr;
}

void pututf8(std::string* out, uint32_t u) {
  if (u < 0x80) {
    *out += (char)u;
  } else if (u < 0x800) {
    *out += (char)(0xC0 | (u >> 6));
    *out += (char)(0x80 | (u & 0x3F));
  } else {
    *out += (char)(0xE0 | (u >> 12));
    *out += (char)(0x80 | ((u >> 6) & 0x3F));
    *out += (char)(0x80 | (u & 0x3F));
  }
}

std::string latin1toutf8(const char* s, size_t n) {
  std::string out;
  out.reserve(n);
  for (size_t i = 0; i < n; i++)
    if (s[i]) pututf8(&out, (unsigned char)s[i]);
  return out;
}

// ---- widths ----

// The face fontconfig matches for `name`, or null.
static cairo_font_face_t* matchface(const char* name) {
  FcPattern* p = FcNameParse((const FcChar8*)name);
  if (!p) return nullptr;
  FcConfigSubstitute(nullptr, p, FcMatchPattern);
  FcDefaultSubstitute(p);
  FcResult result;
  FcPattern* m = FcFontMatch(nullptr, p, &result);
  FcPatternDestroy(p);
  if (!m) return nullptr;
  cairo_font_face_t* f = cairo_ft_font_face_create_for_pattern(m);
  FcPatternDestroy(m);  // the face keeps its own reference
  return f;
}

// Kept for the run; released at exit so that leak checkers see fontconfig
// and cairo end with nothing held.
static cairo_font_face_t* faces[2];
static cairo_scaled_font_t* fonts[2];

static void releasefonts() {
  for (int i = 0; i < 2; i++) {
    if (fonts[i]) cairo_scaled_font_destroy(fonts[i]);
    if (faces[i]) cairo_font_face_destroy(faces[i]);
    fonts[i] = nullptr;
    faces[i] = nullptr;
  }
  cairo_debug_reset_static_data();
  FcFini();
}

// The bands of an image set text on threads of their own: a face is made
// once, by whichever asks first.
static std::mutex facelock;

cairo_font_face_t* exportface(int face) {
  std::lock_guard<std::mutex> hold(facelock);
  if (faces[face]) return faces[face];
  static int registered = 0;
  if (!registered++) atexit(releasefonts);
  if (face == FACE_SYMBOL)
    faces[face] = matchface("Standard Symbols PS:fontformat=Type 1");
  if (!faces[face])
    faces[face] = cairo_toy_font_face_create(
        face == FACE_SYMBOL ? "FreeSerif" : exportfamily(face),
        face == FACE_ITALIC ? CAIRO_FONT_SLANT_ITALIC
                            : CAIRO_FONT_SLANT_NORMAL,
        CAIRO_FONT_WEIGHT_NORMAL);
  return faces[face];
}

// The scaled font of one face at size 1, unhinted so widths scale exactly.
static cairo_scaled_font_t* facefont(int face) {
  if (fonts[face]) return fonts[face];
  cairo_font_face_t* f = exportface(face);
  cairo_matrix_t m, ctm;
  cairo_matrix_init_scale(&m, 1, 1);
  cairo_matrix_init_identity(&ctm);
  cairo_font_options_t* o = cairo_font_options_create();
  cairo_font_options_set_hint_metrics(o, CAIRO_HINT_METRICS_OFF);
  cairo_font_options_set_hint_style(o, CAIRO_HINT_STYLE_NONE);
  fonts[face] = cairo_scaled_font_create(f, &m, &ctm, o);
  cairo_font_options_destroy(o);
  return fonts[face];
}

uint32_t nextutf8(const std::string& s, size_t* i) {
  unsigned char c = (unsigned char)s[(*i)++];
  if (c < 0x80) return c;
  int more = c >= 0xE0 ? 2 : 1;
  uint32_t u = c & (more == 2 ? 0x0F : 0x1F);
  while (more-- && *i < s.size()) u = (u << 6) | (s[(*i)++] & 0x3F);
  return u;
}

double glyphadvance(int face, const std::string& s) {
  static std::unordered_map<uint32_t, double> cache[2];
  double w = 0;
  for (size_t i = 0; i < s.size();) {
    size_t start = i;
    uint32_t u = nextutf8(s, &i);
    auto found = cache[face].find(u);
    if (found == cache[face].end()) {
      std::string one = s.substr(start, i - start);
      cairo_text_extents_t e;
      cairo_scaled_font_text_extents(facefont(face), one.c_str(), &e);
      found = cache[face].emplace(u, e.x_advance).first;
    }
    w += found->second;
  }
  return w;
}
