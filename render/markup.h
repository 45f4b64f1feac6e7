// markup.h: the small markup language of labels and texts, parsed once.
//
// A string is plain text in which a backslash starts an item and a newline
// starts a new line. Items, tried in this order after the backslash: three
// octal digits (a Symbol-font character, code mod 256); "arc{", "overline{",
// "superscript{"/"sup{", "subscript{"/"sub{" groups, whose text runs to the
// closing brace (consumed), a newline or the end, and is not itself markup;
// a name of the symbol table `special` matched as a prefix, first row wins;
// anything else stands for a literal backslash, and scanning goes on with
// the character after it.
//
// `parsemarkup` turns a string into a list of items that the two back ends
// render: the window with its bitmap fonts (render/gl*), the page with
// "Times-Italic" and "Symbol" (postscript/pstext). Group texts are held in
// strings of their own length, so no input is too long for them.
#pragma once

#include <string>
#include <vector>

enum markupkind {
  MK_RUN,       // plain text in the normal font; may be empty
  MK_NEWLINE,   // start the next line
  MK_SYMBOL,    // one Symbol-font character, `code`
  MK_ARC,       // `text` in the normal font with an arch over it
  MK_OVERLINE,  // `text` in the normal font with a bar over it
  MK_SUPER,     // `text` raised, smaller
  MK_SUB,       // `text` lowered, smaller
  MK_BACKSLASH  // a backslash in the normal font
};

struct markupitem {
  int kind;            // markupkind
  std::string text;    // MK_RUN and the four groups
  unsigned char code;  // MK_SYMBOL
};

// Every scan of a string starts with a run, possibly empty (the normal font
// is selected for it), so a string's items always begin with MK_RUN unless
// the string is empty. Appends to `out`.
void parsemarkup(const char* s, std::vector<markupitem>* out);

// One row of the symbol table: a name and its Symbol-font character.
struct specialsymbol {
  const char* name;
  int len;
  unsigned char code;
};

const int NSPECIAL = 51;
extern const specialsymbol special[NSPECIAL];  // in lookup order

// True for '0' to '7'.
int isodigit(char c);

extern int showinfo;  // text records are shown in the info column

// Puts the text switches back to their start-up values.
void resetmarkup();
