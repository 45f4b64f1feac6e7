// main.cpp: tessarin-cli, the headless face of the program: a table of verbs
// and the pieces every verb shares (starting the core, loading a diagram).
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "cli/verbs.h"
#include "dist/version.h"
#include "engine/recompute.h"
#include "fileio/openfile.h"
#include "language/parser.h"
#include "language/symtable.h"
#include "model/notify.h"
#include "model/reset.h"
#include "model/state.h"
#include "model/style.h"
#include "model/worldlist.h"
#include "render/view.h"

struct verb {
  const char* name;
  int (*run)(int argc, char** argv);
  const char* args;
  const char* help;
};

static const verb verbs[] = {
    {"check", verbcheck, "FILE", "read and recompute a diagram, report errors"},
    {"format", verbformat, "FILE [-o OUT]",
     "read a diagram and write its text again"},
    {"eps", verbeps, "FILE -o OUT [--size WxH] [--bw] [--show-invisible]",
     "write the view of a diagram as EPS"},
    {"export", verbexport,
     "FILE -o OUT [--size WxH] [--dpi N] [--bw] [--transparent] "
     "[--show-invisible] [--standalone]",
     "write the view as SVG, PDF, PNG, TikZ or EPS (by OUT's extension)"},
    {"script", verbscript,
     "FILE [-o PREFIX] [--size WxH] [--max-frames N] [--force] [--format F]",
     "run the script, one file per frame (EPS, or F: svg, pdf, png)"},
    {"relations", verbrelations,
     "FILE [--samples N] [--step S] [--seed K] [-o OUT] [--max-candidates N] "
     "[--summary] [--json]",
     "sample a diagram (moves of up to S times its size), write what held"},
    {"describe", verbdescribe, "FILE NAME",
     "say how the primitive with that identifier or label is defined"},
    {"values", verbvalues,
     "FILE [--json] [--drag NAME X0,Y0 X1,Y1 --steps N] [--frames]",
     "print every record's computed values at full precision"},
};

// Alerts end with their own line end at most once; each is one line here.
static void alerttostderr(const char* text) {
  size_t n = strlen(text);
  while (n > 0 && text[n - 1] == '\n') n--;
  fprintf(stderr, "%.*s\n", (int)n, text);
}

void startcore() {
  // Beyond the system's file size limit a write fails with EFBIG, which
  // the writers report, instead of a signal ending the program with a
  // temporary file left behind.
  signal(SIGXFSZ, SIG_IGN);
  inittables();
  resetall();
  alerthook = alerttostderr;
}

int loaddiagram(const char* path) {
  // A folder, a FIFO or a device is refused here, never waited on.
  FILE* f = openforreading(path);
  if (!f) return 2;
  fclose(f);
  clearbuffer();
  int ok = readgeometry(path);
  checkconstraints();
  return ok ? 0 : 1;
}

int loadinview(const char* path, int w, int h) {
  // The window's size decides the view and the mark and text sizes before
  // the first frame, as on screen.
  xsize = w;
  ysize = h;
  recalcsizes(1);
  int status = loaddiagram(path);
  if (status == 0) updateminlayer();
  return status;
}

int usage(const char* verbline) {
  fprintf(stderr, "usage: tessarin-cli %s\n", verbline);
  return 2;
}

static void listverbs(FILE* out) {
  fprintf(out,
          "usage: tessarin-cli VERB ARGS...\n"
          "       tessarin-cli --help | --version\n\nverbs:\n");
  for (const verb& v : verbs) {
    // Long argument lists put the description on a line of its own.
    if (strlen(v.name) + strlen(v.args) > 26)
      fprintf(out, "  %s %s\n  %-27s %s\n", v.name, v.args, "", v.help);
    else
      fprintf(out, "  %-8s %-18s %s\n", v.name, v.args, v.help);
  }
}

int main(int argc, char** argv) {
  if (argc < 2) {
    listverbs(stderr);
    return 2;
  }
  if (!strcmp(argv[1], "--help") || !strcmp(argv[1], "-h")) {
    listverbs(stdout);
    return 0;
  }
  if (!strcmp(argv[1], "--version")) {
    printf("%s\n", versionline());
    return 0;
  }
  for (const verb& v : verbs)
    if (!strcmp(argv[1], v.name)) {
      startcore();
      int status = v.run(argc - 2, argv + 2);
      resetall();
      return status;
    }
  fprintf(stderr, "tessarin-cli: unknown verb '%s'\n", argv[1]);
  listverbs(stderr);
  return 2;
}

// "WxH" with both sides from 1 to 100000 pixels; 0 when malformed.
static int readsize(const char* s, int* w, int* h) {
  char* end;
  long a = strtol(s, &end, 10);
  if (end == s || (*end != 'x' && *end != 'X')) return 0;
  const char* second = end + 1;
  long b = strtol(second, &end, 10);
  if (end == second || *end) return 0;
  if (a < 1 || b < 1 || a > 100000 || b > 100000) return 0;
  *w = (int)a;
  *h = (int)b;
  return 1;
}

int parsesize(const char* s, int* w, int* h) {
  if (readsize(s, w, h)) return 1;
  fprintf(stderr, "tessarin-cli: bad size '%s' (expected WxH)\n", s);
  return 0;
}
