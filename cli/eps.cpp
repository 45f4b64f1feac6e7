// eps.cpp: `tessarin-cli eps FILE -o OUT [--size WxH] [--bw]
// [--show-invisible]`: read and recompute a diagram and write the EPS
// document that "Save EPS File" writes for a drawing area of W x H pixels.
#include "postscript/eps.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "cli/verbs.h"
#include "model/style.h"
#include "render/view.h"

static const char* const EPSUSAGE =
    "eps FILE -o OUT [--size WxH] [--bw] [--show-invisible]";

int verbeps(int argc, char** argv) {
  const char* in = nullptr;
  const char* out = nullptr;
  int w = 400, h = 450, bw = 0, invisible = 0;
  for (int i = 0; i < argc; i++) {
    if (!strcmp(argv[i], "-o") && i + 1 < argc) {
      out = argv[++i];
    } else if (!strcmp(argv[i], "--size") && i + 1 < argc) {
      if (!parsesize(argv[++i], &w, &h)) return 2;
    } else if (!strcmp(argv[i], "--bw")) {
      bw = 1;
    } else if (!strcmp(argv[i], "--show-invisible")) {
      invisible = 1;
    } else if (!in && argv[i][0] != '-') {
      in = argv[i];
    } else {
      return usage(EPSUSAGE);
    }
  }
  if (!in || !out) return usage(EPSUSAGE);
  int status = loadinview(in, w, h);
  if (status != 0) return status;
  showinvisible = invisible;
  printbw = bw;
  EPS = 1;
  // The value and info columns start where a frame starts them.
  ym = 0.9f;
  yinfo = -0.5;
  return dumpPostScript(out) ? 0 : 1;
}
