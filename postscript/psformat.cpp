// psformat.cpp: a printf for the PostScript writer with a fast "%f".
#include "postscript/psformat.h"

#include <cmath>
#include <cstdarg>
#include <cstdint>
#include <cstring>
#include <string>

int formatf(char* buf, double x) {
  double a = fabs(x);
  if (!(a < 1e6)) return snprintf(buf, 400, "%f", x);  // large, inf, nan
  // a * 1e6 < 1e12 carries an error below 1e-4; only a fraction near one
  // half could round either way, and that goes to the library.
  double v = a * 1e6;
  double frac = v - floor(v);
  if (fabs(frac - 0.5) < 1e-3) return snprintf(buf, 32, "%f", x);
  uint64_t r = (uint64_t)floor(v) + (frac > 0.5);
  char* p = buf;
  if (std::signbit(x)) *p++ = '-';
  uint64_t ip = r / 1000000, fp = r % 1000000;
  char digits[24];
  int n = 0;
  do {
    digits[n++] = (char)('0' + ip % 10);
    ip /= 10;
  } while (ip);
  while (n) *p++ = digits[--n];
  *p++ = '.';
  for (int i = 5; i >= 0; i--) {
    p[i] = (char)('0' + fp % 10);
    fp /= 10;
  }
  p += 6;
  *p = '\0';
  return (int)(p - buf);
}

// The text of one call, gathered so that it reaches the stream in one write.
struct psline {
  FILE* out;
  int len;
  char buf[1024];
};

static void flushline(psline* l) {
  fwrite(l->buf, 1, l->len, l->out);
  l->len = 0;
}

static void putline(psline* l, const char* s, int n) {
  if (l->len + n > (int)sizeof l->buf) flushline(l);
  if (n > (int)sizeof l->buf) {
    fwrite(s, 1, n, l->out);
    return;
  }
  memcpy(l->buf + l->len, s, n);
  l->len += n;
}

// One conversion `conversion` (from '%' to its letter, `n` bytes) of the
// next argument.
static void convert(psline* l, const char* conversion, int n, va_list* ap) {
  char num[512];
  char letter = conversion[n - 1];
  if (n == 2 && letter == 'f') {
    putline(l, num, formatf(num, va_arg(*ap, double)));
  } else if (n == 2 && letter == '%') {
    putline(l, "%", 1);
  } else if (n == 2 && letter == 's') {
    const char* str = va_arg(*ap, const char*);
    putline(l, str, (int)strlen(str));
  } else {
    std::string format(conversion, n);
    int k;
    if (letter == 'd' || letter == 'x' || letter == 'c')
      k = snprintf(num, sizeof num, format.c_str(), va_arg(*ap, int));
    else
      k = snprintf(num, sizeof num, format.c_str(), va_arg(*ap, double));
    putline(l, num, k < (int)sizeof num ? k : (int)sizeof num - 1);
  }
}

void psprintf(FILE* out, const char* fmt, ...) {
  psline l;
  l.out = out;
  l.len = 0;
  va_list ap;
  va_start(ap, fmt);
  while (*fmt) {
    const char* plain = fmt;
    while (*fmt && *fmt != '%') fmt++;
    putline(&l, plain, (int)(fmt - plain));
    if (!*fmt) break;
    const char* conversion = fmt++;
    while (*fmt && !strchr("fdsg%eEGxc", *fmt)) fmt++;
    if (!*fmt) break;  // a lone '%' at the end: nothing to convert
    fmt++;
    convert(&l, conversion, (int)(fmt - conversion), &ap);
  }
  va_end(ap);
  flushline(&l);
}
