// version.cpp: the version line, from the header the build writes
// (dist/version.cmake) with the project's version and git revision.
#include "dist/version.h"

#include "tessarin_version.h"

const char* versionnumber() {
  return TESSARIN_VERSION;
}

const char* versionline() {
  static_assert(sizeof TESSARIN_VERSION > 1, "the build sets the version");
  return sizeof TESSARIN_REVISION > 1 ? "tessarin " TESSARIN_VERSION
                                        " (git " TESSARIN_REVISION ")"
                                      : "tessarin " TESSARIN_VERSION;
}
