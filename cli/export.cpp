// export.cpp: `tessarin-cli export FILE -o OUT [--size WxH] [--dpi N] [--bw]
// [--transparent] [--show-invisible] [--standalone]`: read and recompute a
// diagram and write its view in the format OUT's extension names.
#include "export/export.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "cli/verbs.h"
#include "model/style.h"
#include "postscript/eps.h"
#include "render/view.h"

static const char* const EXPORTUSAGE =
    "export FILE -o OUT [--size WxH] [--dpi N] [--bw] [--transparent] "
    "[--show-invisible] [--standalone]";

// A resolution from 1 to 2400 dpi; 0 when malformed.
static int readdpi(const char* s) {
  char* end;
  long n = strtol(s, &end, 10);
  if (end == s || *end || n < 1 || n > 2400) {
    fprintf(stderr, "tessarin-cli: bad resolution '%s' (1 to 2400 dpi)\n", s);
    return 0;
  }
  return (int)n;
}

// The switches every export verb takes; returns 1 when argv[*i] was one
// (moving *i past its value), 0 when not, -1 on a bad value.
static int exportswitch(int argc, char** argv, int* i, int* w, int* h) {
  const char* a = argv[*i];
  if (!strcmp(a, "--size") && *i + 1 < argc)
    return parsesize(argv[++*i], w, h) ? 1 : -1;
  if (!strcmp(a, "--dpi") && *i + 1 < argc)
    return (exportdpi = readdpi(argv[++*i])) ? 1 : -1;
  if (!strcmp(a, "--bw")) return printbw = 1;
  if (!strcmp(a, "--transparent")) return exporttransparent = 1;
  if (!strcmp(a, "--show-invisible")) return 1;
  if (!strcmp(a, "--standalone")) return exportstandalone = 1;
  return 0;
}

static int hasswitch(int argc, char** argv, const char* name) {
  for (int i = 0; i < argc; i++)
    if (!strcmp(argv[i], name)) return 1;
  return 0;
}

int verbexport(int argc, char** argv) {
  const char* in = nullptr;
  const char* out = nullptr;
  int w = 400, h = 450;
  for (int i = 0; i < argc; i++) {
    int got = exportswitch(argc, argv, &i, &w, &h);
    if (got < 0) return 2;
    if (got) continue;
    if (!strcmp(argv[i], "-o") && i + 1 < argc)
      out = argv[++i];
    else if (!in && argv[i][0] != '-')
      in = argv[i];
    else
      return usage(EXPORTUSAGE);
  }
  if (!in || !out) return usage(EXPORTUSAGE);
  int format = exportformatof(out);
  if (format == EXPORT_NONE) {
    fprintf(stderr, "tessarin-cli: unknown format of '%s' (known: %s)\n", out,
            exportextensions());
    return usage(EXPORTUSAGE);
  }
  int keepbw = printbw;
  int status = loadinview(in, w, h);
  if (status != 0) return status;
  // Loading resets nothing the switches set but these two.
  printbw = keepbw;
  showinvisible = hasswitch(argc, argv, "--show-invisible");
  // The value and info columns start where a frame starts them.
  ym = 0.9f;
  yinfo = -0.5;
  return exportfile(out, format) ? 0 : 1;
}
