// openfile.cpp: regular files only, opened without blocking.
#include "fileio/openfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "model/notify.h"

// O_NONBLOCK makes opening a FIFO with no writer return at once; it is
// cleared again once the descriptor is known to be a regular file.
FILE* openregular(const char* path, const char** why) {
  int fd = open(path, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) {
    *why = strerror(errno);
    return nullptr;
  }
  struct stat st;
  const char* refusal = nullptr;
  if (fstat(fd, &st) != 0)
    refusal = strerror(errno);
  else if (S_ISDIR(st.st_mode))
    refusal = strerror(EISDIR);
  else if (!S_ISREG(st.st_mode))
    refusal = "not a regular file";
  int flags = refusal ? 0 : fcntl(fd, F_GETFL);
  if (!refusal && (flags < 0 || fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) < 0))
    refusal = strerror(errno);
  FILE* f = refusal ? nullptr : fdopen(fd, "r");
  if (!f) {
    if (!refusal) refusal = strerror(errno);
    close(fd);
    *why = refusal;
  }
  return f;
}

FILE* openforreading(const char* path) {
  const char* why = "";
  FILE* f = openregular(path, &why);
  if (!f) alert("Couldn't open %s: %s", path, why);
  return f;
}

int isreadablefile(const char* path) {
  const char* why;
  FILE* f = openregular(path, &why);
  if (f) fclose(f);
  return f != nullptr;
}
