// psformat.cpp: a printf for the PostScript writer with a fast "%f".
#include "postscript/psformat.h"

#include <cmath>
#include <cstdarg>
#include <cstdint>
#include <cstring>
#include <string>

int formatf(char* buf, double x) {
  double a = fabs(x);
  if (!(a < 1e6)) return sprintf(buf, "%f", x);  // large, inf or nan
  // a * 1e6 < 1e12 carries an error below 1e-4; only a fraction near one
  // half could round either way, and that goes to the library.
  double v = a * 1e6;
  double frac = v - floor(v);
  if (fabs(frac - 0.5) < 1e-3) return sprintf(buf, "%f", x);
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

void psprintf(FILE* out, const char* fmt, ...) {
  char line[1024];
  int len = 0;
  auto flush = [&]() {
    fwrite(line, 1, len, out);
    len = 0;
  };
  auto put = [&](const char* s, int n) {
    if (len + n > (int)sizeof line) flush();
    if (n > (int)sizeof line) {
      fwrite(s, 1, n, out);
      return;
    }
    memcpy(line + len, s, n);
    len += n;
  };
  va_list ap;
  va_start(ap, fmt);
  char num[512];
  while (*fmt) {
    const char* plain = fmt;
    while (*fmt && *fmt != '%') fmt++;
    put(plain, (int)(fmt - plain));
    if (!*fmt) break;
    const char* conversion = fmt++;
    while (*fmt && !strchr("fdsg%eEGxc", *fmt)) fmt++;
    if (!*fmt) break;  // a lone '%' at the end: nothing to convert
    char conv = *fmt++;
    int plainconv = fmt - conversion == 2;  // no flags, width or precision
    if (plainconv && conv == 'f') {
      put(num, formatf(num, va_arg(ap, double)));
    } else if (plainconv && conv == '%') {
      put("%", 1);
    } else if (plainconv && conv == 's') {
      const char* str = va_arg(ap, const char*);
      put(str, (int)strlen(str));
    } else {
      std::string s(conversion, fmt - conversion);
      int n;
      if (conv == 'd' || conv == 'x' || conv == 'c')
        n = snprintf(num, sizeof num, s.c_str(), va_arg(ap, int));
      else
        n = snprintf(num, sizeof num, s.c_str(), va_arg(ap, double));
      put(num, n < (int)sizeof num ? n : (int)sizeof num - 1);
    }
  }
  va_end(ap);
  flush();
}
