// check.cpp: `tessarin-cli check FILE`: read and recompute a diagram; every
// alert goes to standard error.
#include "cli/verbs.h"

int verbcheck(int argc, char** argv) {
  if (argc != 1) return usage("check FILE");
  return loaddiagram(argv[0]);
}
