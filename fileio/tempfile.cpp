// tempfile.cpp: the temporary folder and private temporary files.
#include "fileio/tempfile.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

// A folder name longer than this leaves no room for the file's own name in
// the program's path buffers.
const size_t TEMPFOLDERMAX = 900;

const char* tempfolder() {
  static const char* const names[] = {"TMPDIR", "TMP"};
  for (const char* n : names) {
    const char* d = getenv(n);
    if (d && *d && strlen(d) < TEMPFOLDERMAX) return d;
  }
  return "/tmp";
}

int maketempfile(char* path, int size, const char* stem, const char* suffix) {
  int n = snprintf(path, size, "%s/%sXXXXXX%s", tempfolder(), stem, suffix);
  if (n < 0 || n >= size) {
    if (size > 0) path[0] = 0;
    errno = ENAMETOOLONG;
    return -1;
  }
  int fd = mkstemps(path, (int)strlen(suffix));  // O_EXCL, mode 0600
  if (fd < 0) path[0] = 0;
  return fd;
}
