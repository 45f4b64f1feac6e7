// pstext.h: labels, texts and listed values written as PostScript.
//
// Strings are parsed with the markup of render/markup.h and shown with
// "Times-Italic" (plain text, groups, sub- and superscripts at 0.8 of the
// size) and "Symbol" (octal and named characters), fonts selected through
// `setPSfont`. Text over the drawing is written twice: first with `halo`
// set, which shows it with `haloshow` (white, white outline) so lines do
// not run through the letters, then in the current colour.
#pragma once

#include <cstdio>

struct text;

// The first n bytes of s as the inside of a PostScript string: '(', ')'
// and '\' get a backslash, a NUL byte becomes \000. Returns a buffer owned
// here that stays valid until the next call; any n fits.
const char* makepsstr(const char* s, int n);

// Writes PostScript that shows s from (x, y); a newline lowers `yinfo` by
// one text line and goes on at (x, yinfo).
void PScharstr(FILE* out, const char* s, double x, double y, int halo);

// A raised (sub = 0) or lowered (sub = 1) group of n bytes of s, smaller,
// after which the text goes on at the baseline.
void PSsubsuperdraw(FILE* out, const char* s, int n, int sub, int halo);

// The arch (kind 1) or bar (kind 2) over the group that lies between the
// saved points xsave/ysave and xnewsave/ynewsave, for font `size`.
void PSoverdraw(FILE* out, int kind, int size);

// A label over the drawing at (x, y): halo first, then in colour.
void PSlabel(FILE* out, const char* s, double x, double y);

// A text record in the info column (when `showinfo` is on, the string is
// not empty and its colour is shown); lowers `yinfo` by one line.
void textPostScript(FILE* out, const text* t);
