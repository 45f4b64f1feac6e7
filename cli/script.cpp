// script.cpp: `tessarin-cli script FILE [-o PREFIX] [--size WxH]
// [--max-frames N] [--force] [--format svg|pdf|png|eps]`: run the
// diagram's script without a window and write every frame as a numbered
// file, as "Script Print" does: PREFIX000.eps, PREFIX001.eps, ... (or .svg,
// .pdf, .png with --format) (PREFIX defaults to FILE without its
// one-letter extension). A diagram without a script gives one frame.
// The frames are counted and their size estimated first: more than
// --max-frames, or more than 1 GB without --force, writes nothing.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "cli/verbs.h"
#include "engine/recompute.h"
#include "model/primitive.h"
#include "model/scriptplay.h"
#include "model/shell.h"
#include "model/state.h"
#include "model/style.h"
#include "model/worldlist.h"
#include "export/export.h"
#include "postscript/eps.h"
#include "postscript/scriptframes.h"
#include "render/colors.h"
#include "render/shapes.h"
#include "render/smear.h"
#include "render/view.h"

static const char* const SCRIPTUSAGE =
    "script FILE [-o PREFIX] [--size WxH] [--max-frames N] [--force] "
    "[--format svg|pdf|png|eps]";

// Frames of a larger estimated total are written only with --force.
static const double MAXSCRIPTBYTES = 1e9;

// The trace a smear-coloured record leaves in one frame, as the screen's
// drawing of that frame records it.
static int frameformat = EXPORT_EPS;  // the format of --format

static void smearone(primitive* p) {
  if (!p->valid || !issmear(p)) return;
  switch (p->type) {
    case RW_VERTEX: {
      vertex* v = (vertex*)p;
      if (v->w != 0) addsmearitem(SMEAR_POINT, v->x, v->y, 0, 0, v->pointtype);
      break;
    }
    case RW_LINE: {
      wpoint P, Q;
      lineendpoints((line*)p, ONSCREEN, &P, &Q);
      addsmearitem(SMEAR_SEGMENT, P.x, P.y, Q.x, Q.y, 0);
      break;
    }
    case RW_CIRCLE: {
      circle* c = (circle*)p;
      if (c->center.w == 0) break;
      addsmearitem(SMEAR_CIRCLE, c->center.x / c->center.w,
                   c->center.y / c->center.w, c->radius, 0, 0);
      break;
    }
    case RW_CONIC: {
      const double* k = ((conic*)p)->coef;
      addsmearitem(SMEAR_CONIC, k[0], k[1], k[2], k[3], 0);
      addsmearitem(SMEAR_CONIC, k[4], k[5], 0, 0, 0);
      break;
    }
    case RW_BEZIER: {
      bezier* b = (bezier*)p;
      addsmearitem(SMEAR_BEZIER, b->p1.x, b->p1.y, b->p2.x, b->p2.y, 0);
      addsmearitem(SMEAR_BEZIER, b->p3.x, b->p3.y, b->p4.x, b->p4.y, 0);
      break;
    }
    default: break;  // other records leave no trace
  }
}

static void smearlist(primitive* list) {
  for (primitive* p = list; p; p = p->next)
    if ((p->layers & layerset) && p->kind != PARAMHOLDER) smearone(p);
}

// What drawing a frame does to the state the page is written from.
static void drawframe() {
  clearmacroplist();
  checkconstraints();
  smearlist(plist);
  smearlist(macroplist);
  ym = 0.9f;
  yinfo = -0.5;
  scriptdrawn = 1;
}

// Runs the script to its end; 0 when every frame was written.
static int runframes(const char* base, long maxframes) {
  startscriptrun();
  while (runningscript) {
    drawframe();
    scriptstep(base);
    if (epsframeerrors) return 1;
    if (epsframe > maxframes) {
      fprintf(stderr,
              "tessarin-cli: the script needs more than %ld frames "
              "(raise --max-frames)\n",
              maxframes);
      return 1;
    }
  }
  return epsframeerrors ? 1 : 0;
}

static int exportframe(const char* path) {
  return exportfile(path, frameformat);
}

// --format NAME: the frames' format and file extension; 0 when unknown.
static int chooseframeformat(const char* name) {
  static const char* const names[] = {"svg", "pdf", "png", "eps"};
  for (const char* n : names) {
    if (strcmp(name, n) != 0) continue;
    std::string ext = std::string("frame.") + n;
    frameformat = exportformatof(ext.c_str());
    frameextension = exportextension(frameformat);
    if (frameformat != EXPORT_EPS) framewriter = exportframe;
    return 1;
  }
  fprintf(stderr, "tessarin-cli: unknown frame format '%s'\n", name);
  return 0;
}

static ssize_t countbytes(void* cookie, const char*, size_t n) {
  *(double*)cookie += (double)n;
  return (ssize_t)n;
}

// Bytes of the EPS document of the view as it stands.
static double pagebytes() {
  double n = 0;
  cookie_io_functions_t io = {nullptr, countbytes, nullptr, nullptr};
  FILE* f = fopencookie(&n, "w", io);
  if (!f) return 0;
  int keep = EPS;
  EPS = 1;
  writePostScript(f);
  EPS = keep;
  fclose(f);
  return n;
}

// Runs the script without writing and estimates the bytes of all its
// frames. A frame's page grows with the smear trace by the same amount
// every frame, so the pages of the first and the last frame bound a
// straight line whose sum is the total. 0 frames when there are more than
// `maxframes`.
static double estimatebytes(long maxframes, long* frames) {
  double first = 0;
  *frames = 0;
  startscriptrun();
  while (runningscript) {
    drawframe();
    if (*frames == 0) first = pagebytes();
    scriptstep(nullptr);
    if (++*frames > maxframes) return 0;
  }
  return *frames * (first + pagebytes()) / 2;
}

// 1 when the frames may be written: their estimated size is at most
// MAXSCRIPTBYTES (or `force`), and there are at most `maxframes`. The
// diagram is read again afterwards, so the real run starts as this one did.
static int framesfit(const char* in, int w, int h, long maxframes, int force) {
  layerset = filelayerset;
  dumpingeps = 1;
  long frames;
  double bytes = estimatebytes(maxframes, &frames);
  if (frames > maxframes) {
    fprintf(stderr,
            "tessarin-cli: the script needs more than %ld frames "
            "(raise --max-frames)\n",
            maxframes);
    return 0;
  }
  if (bytes > MAXSCRIPTBYTES && !force) {
    fprintf(stderr,
            "tessarin-cli: the %ld frames would take about %.0f MB (more "
            "than 1 GB); use --force to write them anyway\n",
            frames, bytes / 1e6);
    return 0;
  }
  return loadinview(in, w, h) == 0;
}

// Reads the arguments; 0 on a usage error, -1 on a bad size (already
// reported).
static int scriptargs(int argc, char** argv, const char** in,
                      const char** prefix, int* w, int* h, long* maxframes,
                      int* force) {
  for (int i = 0; i < argc; i++) {
    if (!strcmp(argv[i], "-o") && i + 1 < argc) {
      *prefix = argv[++i];
    } else if (!strcmp(argv[i], "--size") && i + 1 < argc) {
      if (!parsesize(argv[++i], w, h)) return -1;
    } else if (!strcmp(argv[i], "--max-frames") && i + 1 < argc) {
      char* end;
      *maxframes = strtol(argv[++i], &end, 10);
      if (*end || *maxframes < 1) return 0;
    } else if (!strcmp(argv[i], "--format") && i + 1 < argc) {
      if (!chooseframeformat(argv[++i])) return 0;
    } else if (!strcmp(argv[i], "--force")) {
      *force = 1;
    } else if (!*in && argv[i][0] != '-') {
      *in = argv[i];
    } else {
      return 0;
    }
  }
  return *in != nullptr;
}

int verbscript(int argc, char** argv) {
  const char* in = nullptr;
  const char* prefix = nullptr;
  int w = 400, h = 450;
  long maxframes = 10000;
  int force = 0;
  int got = scriptargs(argc, argv, &in, &prefix, &w, &h, &maxframes, &force);
  if (got < 0) return 2;
  if (!got) return usage(SCRIPTUSAGE);
  char base[SCRIPTPATHSIZE];
  if (prefix)
    snprintf(base, sizeof base, "%s", prefix);
  else if (!scriptframebase(base, sizeof base, in))
    return usage(SCRIPTUSAGE);
  int status = loadinview(in, w, h);
  if (status != 0) return status;
  if (!framesfit(in, w, h, maxframes, force)) return 1;
  layerset = filelayerset;
  dumpingeps = 1;
  return runframes(base, maxframes);
}
