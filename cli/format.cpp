// format.cpp: `tessarin-cli format FILE [-o OUT]`: read and recompute a
// diagram and write its text to OUT (standard output by default).
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "cli/verbs.h"
#include "language/writer.h"
#include "model/notify.h"

int verbformat(int argc, char** argv) {
  const char* in = nullptr;
  const char* out = nullptr;
  for (int i = 0; i < argc; i++) {
    if (!strcmp(argv[i], "-o") && i + 1 < argc)
      out = argv[++i];
    else if (!in && argv[i][0] != '-')
      in = argv[i];
    else
      return usage("format FILE [-o OUT]");
  }
  if (!in) return usage("format FILE [-o OUT]");
  int status = loaddiagram(in);
  if (status != 0) return status;
  if (out) return printall(out) ? 0 : 1;
  if (printdiagram(stdout)) return 0;
  alert("can't write %s: %s", "standard output", strerror(errno ? errno : EIO));
  return 1;
}
