// glyphs.h: the characters of labels as the exports write them, and their
// widths.
//
// Labels are bytes: plain text is read as Latin-1, and the markup's symbol
// items are codes of the PostScript Symbol font. The exports write Unicode
// (SVG, PDF, PNG) or LaTeX (TikZ), so each Symbol code has its Unicode
// character and, where mathematics has one, its LaTeX command. Text is set
// in the faces the EPS names, as Ghostscript shows them: Nimbus Roman
// Italic for "Times-Italic" and Standard Symbols PS for "Symbol" (Debian
// package fonts-urw-base35, metric twins of the PostScript fonts, with
// Greek and the mathematical signs), so labels have the EPS's widths.
// Widths are measured through cairo and fontconfig once per character.
#pragma once

#include <cstdint>
#include <string>

// The font family of a face (penface), and the families a reader without
// it may fall back on (for SVG's font-family).
const char* exportfamily(int face);
const char* exportfallback(int face);

// The Unicode character of Symbol-font code `code`; 0 when the code has no
// character (an unused slot or a piece of a large bracket).
uint32_t symbolunicode(unsigned char code);

// The LaTeX (math mode) of Symbol-font code `code`, null when none.
const char* symbollatex(unsigned char code);

// Appends the UTF-8 form of `u` to `out`.
void pututf8(std::string* out, uint32_t u);

// `n` bytes of Latin-1 as UTF-8; NUL bytes are left out.
std::string latin1toutf8(const char* s, size_t n);

// Decodes the UTF-8 character at s[*i] and moves *i past it (the exports
// only make valid UTF-8 of the Basic Multilingual Plane).
uint32_t nextutf8(const std::string& s, size_t* i);

// The cairo font face of `face` (penface), made once and kept for the run.
// The symbol face is the Type 1 version of Standard Symbols PS: FreeType
// gives it a Unicode map from its glyph names, which the OpenType version,
// with a symbol map only, lacks.
struct _cairo_font_face;
_cairo_font_face* exportface(int face);

// The advance of the UTF-8 text `s` in face `face` (penface) at size 1;
// characters the face lacks take the width of its missing-glyph box.
double glyphadvance(int face, const std::string& s);
