// relations.cpp: `tessarin-cli relations FILE [--samples N] [--step S]
// [--seed K] [-o OUT] [--max-candidates N] [--summary] [--json]`: find the
// relations of a diagram by sampling random positions near the one the
// file gives, and write the relations report, or its summary, as text or
// JSON (beside OUT, renamed over it when complete).
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "cli/verbs.h"
#include "fileio/safesave.h"
#include "model/notify.h"
#include "relations/finder.h"
#include "relations/sampler.h"

namespace {

const char* const USAGE =
    "relations FILE [--samples N] [--step S] [--seed K] [-o OUT] "
    "[--max-candidates N] [--summary] [--json]";

int readcount(const char* s, int* n) {
  char* end;
  errno = 0;
  long v = strtol(s, &end, 10);
  if (errno || end == s || *end || v < 0 || v > 100000000) return 0;
  *n = (int)v;
  return 1;
}

int readstep(const char* s, double* d) {
  char* end;
  double v = strtod(s, &end);
  if (end == s || *end || !std::isfinite(v) || v < 0) return 0;
  *d = v;
  return 1;
}

int readseed(const char* s, uint64_t* k) {
  char* end;
  errno = 0;
  unsigned long long v = strtoull(s, &end, 10);
  if (errno || end == s || *end || s[0] == '-') return 0;
  *k = v;
  return 1;
}

int readlimit(const char* s, long* n) {
  char* end;
  errno = 0;
  long v = strtol(s, &end, 10);
  if (errno || end == s || *end || v < 1) return 0;
  *n = v;
  return 1;
}

struct options {
  const char* in = nullptr;
  const char* out = nullptr;
  int samples = 200;
  double step = 0.05;
  uint64_t seed = 1;
  long maxcandidates = DEFAULTMAXCANDIDATES;
  int form = 0;  // REPORT_SUMMARY, REPORT_JSON
};

int readoptions(int argc, char** argv, options* o) {
  for (int i = 0; i < argc; i++) {
    const char* a = argv[i];
    const char* v = i + 1 < argc ? argv[i + 1] : nullptr;
    int ok = 1;
    if (!strcmp(a, "--samples") && v)
      ok = readcount(v, &o->samples), i++;
    else if (!strcmp(a, "--step") && v)
      ok = readstep(v, &o->step), i++;
    else if (!strcmp(a, "--seed") && v)
      ok = readseed(v, &o->seed), i++;
    else if (!strcmp(a, "--max-candidates") && v)
      ok = readlimit(v, &o->maxcandidates), i++;
    else if (!strcmp(a, "--summary"))
      o->form |= REPORT_SUMMARY;
    else if (!strcmp(a, "--json"))
      o->form |= REPORT_JSON;
    else if (!strcmp(a, "-o") && v)
      o->out = v, i++;
    else if (!o->in && a[0] != '-')
      o->in = a;
    else
      ok = 0;
    if (!ok) return 0;
  }
  return o->in != nullptr;
}

// Progress of the candidate search, on one line that rewrites itself.
void showprogress(int percent) {
  static int shown = -1;
  if (percent == 0) shown = -1;
  if (percent == shown) return;
  shown = percent;
  fprintf(stderr, "\rfinding relations: %3d%%%s", percent,
          percent == 100 ? "\n" : "");
}

}  // namespace

int verbrelations(int argc, char** argv) {
  options o;
  if (!readoptions(argc, argv, &o)) return usage(USAGE);
  int status = loaddiagram(o.in);
  if (status != 0) return status;
  maxcandidates = o.maxcandidates;
  if (isatty(fileno(stderr))) testprogresshook = showprogress;
  samplingresult r = sampletest(o.samples, o.step, o.seed);
  if (r.stopped) return 1;  // OUT is left as it was
  // The report goes beside OUT and replaces it only once complete.
  safesave save;
  if (o.out && !beginsave(&save, o.out)) {
    alert("can't write %s: %s", o.out, strerror(errno));
    return 1;
  }
  FILE* out = o.out ? save.f : stdout;
  enddiagramtestas(out, o.out ? o.out : "-", o.form);
  int failed = out == stdout ? fflush(out) != 0 : !endsave(&save);
  if (failed) {
    alert("can't write %s: %s", o.out ? o.out : "standard output",
          strerror(errno));
    return 1;
  }
  if (r.dropped)
    fprintf(stderr,
            "%d of %d samples given up: the diagram kept becoming "
            "undefined\n",
            r.dropped, o.samples);
  if (!r.taken)
    fprintf(stderr,
            "no sample was taken: the report shows what holds in the "
            "starting position only\n");
  return 0;
}
