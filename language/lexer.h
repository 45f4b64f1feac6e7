// lexer.h: the tokenizer of the diagram language.
//
// A single-character-lookahead scanner over either a stdio stream or an
// in-memory NUL-terminated text (stream null). Its state is a handful of
// process-wide variables that the parser reads right after `gettoken`. It
// also owns the one routine through which every language error reaches the
// user, `parseerror`, which adds the line number.
#pragma once

#include <cstdint>
#include <cstdio>

// ORDER TOKENS: the parser's tables and parseproperties use these numbers.
enum tokentype {
  openparen = 0,
  closeparen = 1,
  reserved = 2,
  identifier = 3,
  integer = 4,
  floatnum = 5,
  strtoken = 6,
  endfile = 7,
  badtoken = 8,
  semicolon = 9,
  comma = 10,
  equal = 11,
  commenttoken = 12,
  opencurly = 13,
  closecurly = 14,
  hexnum = 15,
  openbracket = 16,
  closebracket = 17,
};

const int TEXTTOKENSIZE = 1000;  // names, reserved words, strings, comments
const int NUMBERSIZE =
    400;                  // text of a decimal number ("%f" of any double fits)
const int HEXSIZE = 104;  // text of a hexadecimal number, with "0x"
const int MACRONAMESIZE = 50;  // a macro's name is at most 49 characters

extern char texttoken[TEXTTOKENSIZE];  // text of the last name/string/...
extern int textptr;                    // fill index while a comment is read
extern int32_t longtoken;              // value of an integer or hexnum
extern double floattoken;              // value of a floatnum
extern int64_t linecount;    // current line of the text, from 1 (64 bits: a
                             // file may hold more than 2^31 lines)
extern int parsingnewlines;  // strings may span lines (.text)
extern char macroname[MACRONAMESIZE];  // the macro whose body is read
extern const char* suffix;             // appended to every identifier
extern const char* fakefile;           // the in-memory text, or null
extern const char* fakefileptr;        // read position in it
extern double fileversion;             // version number of the file header
extern double thisversion;             // this program's version, 0.65

// Next character (>= 0, or -1 at the end). With a null stream it reads the
// in-memory text, whose bytes come back as signed chars (0xFF ends it).
int fakegetc(FILE* stream);

// Pushes c back; pushing back the end (-1) does nothing.
void fakeungetc(int c, FILE* stream);

// Makes `text` the in-memory source (not copied; must outlive the reading).
void initfakefile(const char* text);

// Skips white space and returns the next token's kind; its text or value is
// left in the variables above. Lexical errors are reported here.
int gettoken(FILE* stream);

// Reports a language error at the current line ("Line %d: %s"), after the
// version warning when the file comes from a newer program.
void parseerror(const char* message);

// printf-style parseerror for messages that carry a name.
void parseerrorf(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

// Warns when the file's version is newer than this program's.
void versionwarn();

// Copies src into dst of `size` bytes, cut to fit, always NUL-terminated.
void copycut(char* dst, int size, const char* src);

// Puts every language global back to its start-up value (frees nothing the
// world list owns).
void resetlanguage();
