// lexer.cpp: the tokenizer of the diagram language.
//
// Every byte is mapped through a class table and the scanner switches on the
// class. Over-long tokens never overrun a buffer: names, reserved words and
// comments are cut at the buffer's size while the rest of the token is still
// consumed; strings report "String longer than 1000 characters" and numbers
// "bad number format".
#include "language/lexer.h"

#include <cerrno>
#include <cmath>
#include <cstdarg>
#include <cstdlib>
#include <cstring>

#include "model/notify.h"
#include "model/worldlist.h"

char texttoken[TEXTTOKENSIZE];
int textptr;
int32_t longtoken;
double floattoken;
int64_t linecount = 1;
int parsingnewlines;
char macroname[MACRONAMESIZE];
const char* suffix;
const char* fakefile;
const char* fakefileptr;
double fileversion;
double thisversion = 0.65;

// Character classes; bytes from 0x80 up and negative values are "other".
enum charclass {
  CC_OTHER,
  CC_SPACE,
  CC_NEWLINE,
  CC_LETTER,  // letters and '_'
  CC_DIGIT,
  CC_MINUS,
  CC_DOT,
  CC_SLASH,
  CC_QUOTE,
  CC_SINGLE,  // ( ) , ; = { } [ ]
};

static unsigned char classtab[256];

static void initclasses() {
  for (int c = 0; c < 256; c++) {
    unsigned char k = CC_OTHER;
    if (c == '\n')
      k = CC_NEWLINE;
    else if (c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f')
      k = CC_SPACE;
    else if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_')
      k = CC_LETTER;
    else if (c >= '0' && c <= '9')
      k = CC_DIGIT;
    else if (c == '-')
      k = CC_MINUS;
    else if (c == '.')
      k = CC_DOT;
    else if (c == '/')
      k = CC_SLASH;
    else if (c == '"')
      k = CC_QUOTE;
    else if (strchr("(),;={}[]", c))
      k = CC_SINGLE;
    classtab[c] = k;
  }
}

static inline int classof(int c) {
  return (c >= 0 && c < 256) ? (int)classtab[c] : (int)CC_OTHER;
}

static inline int isnamechar(int c) {
  int k = classof(c);
  return k == CC_LETTER || k == CC_DIGIT || k == CC_DOT;
}

static inline int nextc(FILE* f) {
  if (f) return getc_unlocked(f);
  signed char c = (signed char)*fakefileptr;
  if (c == 0 || c == -1) return -1;
  fakefileptr++;
  return c;
}

static inline void backc(int c, FILE* f) {
  if (c == -1) return;
  if (f)
    ungetc(c, f);
  else
    fakefileptr--;
}

void copycut(char* dst, int size, const char* src) {
  size_t n = strlen(src);
  if ((int)n >= size) n = size - 1;
  memcpy(dst, src, n);
  dst[n] = 0;
}

int fakegetc(FILE* stream) {
  return nextc(stream);
}
void fakeungetc(int c, FILE* stream) {
  backc(c, stream);
}

void initfakefile(const char* text) {
  fakefile = text;
  fakefileptr = text;
}

void versionwarn() {
  if (fileversion * 0.999 > thisversion)
    alert("Possible mismatch: file version: %.2f\nTessarin version: %.2f",
          fileversion, thisversion);
}

void parseerror(const char* message) {
  versionwarn();
  alert("Line %lld: %s\n", (long long)linecount, message);
}

void parseerrorf(const char* fmt, ...) {
  char buf[TEXTTOKENSIZE + 100];
  va_list ap;
  va_start(ap, fmt);
  vsnprintf(buf, sizeof buf, fmt, ap);
  va_end(ap);
  parseerror(buf);
}

// Appends c to texttoken at *n, keeping room for the NUL; extra is dropped.
static inline void store(int* n, int c) {
  if (*n < TEXTTOKENSIZE - 1) texttoken[(*n)++] = (char)c;
}

// comment -> '//' any* (newline | end)
static int readcomment(FILE* f) {
  int c = nextc(f);
  if (c != '/') {
    parseerror("Bad comment");
    return badtoken;
  }
  textptr = 0;
  while ((c = nextc(f)) != -1) {
    store(&textptr, c);
    if (c == '\n') {
      linecount++;
      break;
    }
  }
  texttoken[textptr] = 0;
  return commenttoken;
}

// string -> '"' char* '"'; no escapes, line ends only inside .text
static int readstring(FILE* f) {
  int n = 0, toolong = 0;
  for (;;) {
    int c = nextc(f);
    if (c == '"') break;
    if (c == -1 || (c == '\n' && !parsingnewlines)) {
      texttoken[0] = 0;
      if (!toolong) parseerror("Error: newline or EOF in string.");
      return badtoken;
    }
    if (c == '\n') linecount++;
    if (toolong) continue;  // the rest of the string is read and dropped
    texttoken[n++] = (char)c;
    if (n == TEXTTOKENSIZE - 1) {  // the 999th character
      parseerror("String longer than 1000 characters");
      toolong = 1;
    }
  }
  texttoken[n] = 0;
  if (toolong) {
    texttoken[0] = 0;
    return badtoken;
  }
  return strtoken;
}

// hexnumber -> '0' ('x'|'X') hexdigit+
static int readhexnumber(FILE* f) {
  char buf[HEXSIZE] = "0x";
  int n = 2, c;
  while ((c = nextc(f)) != -1 &&
         ((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') ||
          (c >= 'A' && c <= 'F'))) {
    if (n == HEXSIZE - 1) {
      parseerror("bad number format");
      return badtoken;
    }
    buf[n++] = (char)c;
  }
  backc(c, f);
  buf[n] = 0;
  if (n == 2) return badtoken;  // "0x" alone: no message of its own
  longtoken = (int32_t)(uint32_t)strtoull(buf, nullptr, 16);
  return hexnum;
}

enum numstate {
  NS_START,
  NS_MINUS,
  NS_ZERO,
  NS_INT,
  NS_NEEDFRAC,
  NS_FRAC,
  NS_EXPSTART,
  NS_NEEDEXP,
  NS_EXP
};

// Finishes a number: integers also leave their exact value in floattoken so
// that a number slot never loses digits to the 32-bit integer.
static int finishnumber(const char* buf, int isfloat) {
  floattoken = strtod(buf, nullptr);
  if (std::isinf(floattoken)) {  // beyond any double: cannot be written back
    parseerror("bad number format");
    return badtoken;
  }
  if (isfloat) return floatnum;
  long long v = strtoll(buf, nullptr, 10);
  if (v > INT32_MAX) v = INT32_MAX;
  if (v < INT32_MIN) v = INT32_MIN;
  longtoken = (int32_t)v;
  return integer;
}

// number -> '-'? digits ('.' digits?)? exponent? | '-'? '.' digits exponent?
static int readnumber(int c, FILE* f) {
  char buf[NUMBERSIZE];
  int n = 0, s = NS_START;
  for (;; c = nextc(f)) {
    int k = classof(c), take = 1, next = s;
    switch (s) {
      case NS_START:
        next = c == '0'        ? NS_ZERO
               : k == CC_DIGIT ? NS_INT
               : k == CC_DOT   ? NS_NEEDFRAC
                               : NS_MINUS;
        break;
      case NS_MINUS:
        if (k == CC_DOT)
          next = NS_NEEDFRAC;
        else if (k == CC_DIGIT)
          next = NS_INT;
        else
          take = -1;
        break;
      case NS_ZERO:
        if (c == 'x' || c == 'X') return readhexnumber(f);
        [[fallthrough]];  // re-examined as an integer digit
      case NS_INT:
        if (k == CC_DIGIT)
          next = NS_INT;
        else if (k == CC_DOT)
          next = NS_FRAC;
        else if (c == 'e' || c == 'E')
          next = NS_EXPSTART;
        else
          take = 0;
        break;
      case NS_NEEDFRAC: take = k == CC_DIGIT ? 1 : -1, next = NS_FRAC; break;
      case NS_FRAC:
        if (k == CC_DIGIT)
          next = NS_FRAC;
        else if (c == 'e' || c == 'E')
          next = NS_EXPSTART;
        else
          take = 0;
        break;
      case NS_EXPSTART:
        if (c == '+' || c == '-')
          next = NS_NEEDEXP;
        else if (k == CC_DIGIT)
          next = NS_EXP;
        else
          take = -1;
        break;
      case NS_NEEDEXP: take = k == CC_DIGIT ? 1 : -1, next = NS_EXP; break;
      case NS_EXP: take = k == CC_DIGIT ? 1 : 0; break;
      default: take = -1; break;  // no other states exist
    }
    if (take < 0 || (take > 0 && n == NUMBERSIZE - 1)) {
      parseerror("bad number format");
      return badtoken;
    }
    if (take == 0) {
      backc(c, f);
      buf[n] = 0;
      return finishnumber(buf, s != NS_INT && s != NS_ZERO);
    }
    buf[n++] = (char)c;
    s = next;
  }
}

// reservedword -> '.' namechar*, lowered
static int readreserved(FILE* f) {
  int n = 0, c;
  store(&n, '.');
  while (isnamechar(c = nextc(f))) {
    if (c >= 'A' && c <= 'Z') c += 'a' - 'A';
    store(&n, c);
  }
  backc(c, f);
  texttoken[n] = 0;
  return reserved;
}

// Appends s to texttoken at *n (cut at the buffer's end).
static void storestr(int* n, const char* s) {
  while (*s) store(n, *s++);
}

// identifier -> (letter | '_') namechar*, stored with macro prefix and suffix
static int readident(int c, FILE* f) {
  int n = 0;
  if (parsingmacro) {
    storestr(&n, macroname);
    store(&n, '$');
  }
  store(&n, c);
  while (isnamechar(c = nextc(f))) store(&n, c);
  backc(c, f);
  if (suffix) storestr(&n, suffix);
  texttoken[n] = 0;
  return identifier;
}

// A failed read is not the end of the text: the reading stops with an error.
static int readerror() {
  parseerrorf("read error: %s", strerror(errno ? errno : EIO));
  return badtoken;
}

int gettoken(FILE* f) {
  if (!classtab[(unsigned char)'a']) initclasses();
  int c;
  for (;;) {
    c = nextc(f);
    int k = classof(c);
    if (k == CC_NEWLINE)
      linecount++;
    else if (k != CC_SPACE)
      break;
  }
  if (c == -1) return f && ferror(f) ? readerror() : endfile;
  switch (classof(c)) {
    case CC_SLASH: return readcomment(f);
    case CC_QUOTE: return readstring(f);
    case CC_SINGLE:
      switch (c) {
        case '(': return openparen;
        case ')': return closeparen;
        case ',': return comma;
        case ';': return semicolon;
        case '=': return equal;
        case '{': return opencurly;
        case '}': return closecurly;
        case '[': return openbracket;
        default: return closebracket;  // ']' is the last single character
      }
    case CC_DOT: {
      int d = nextc(f);
      backc(d, f);
      if (classof(d) == CC_DIGIT) return readnumber(c, f);
      return readreserved(f);
    }
    case CC_DIGIT:
    case CC_MINUS: return readnumber(c, f);
    case CC_LETTER: return readident(c, f);
    default:  // control characters, bytes from 0x80, other punctuation
      parseerror("Garbage character");
      return badtoken;
  }
}
