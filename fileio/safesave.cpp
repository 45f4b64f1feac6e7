// safesave.cpp: write beside, sync, rename, sync the folder; or, where no
// file may be made beside the target, write it in place once complete.
#include "fileio/safesave.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

std::string followlinks(const char* path) {
  std::string p = path;
  for (int hops = 0; hops < 40; hops++) {
    char buf[4096];
    ssize_t n = readlink(p.c_str(), buf, sizeof buf - 1);
    if (n < 0) break;  // no link (or unreadable): this is the file
    std::string link(buf, (size_t)n);
    size_t slash = p.rfind('/');
    if (link[0] == '/' || slash == std::string::npos)
      p = link;
    else
      p = p.substr(0, slash + 1) + link;
  }
  return p;
}

static std::string folderof(const std::string& path) {
  size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// The old file's owner, group and mode go to the new one; chown comes
// first because it may clear the set-id bits. A user who may not give the
// file away still keeps a group they belong to.
static void copyattributes(int fd, const std::string& target) {
  struct stat st;
  if (stat(target.c_str(), &st) != 0) {
    mode_t mask = umask(0);
    umask(mask);
    fchmod(fd, 0666 & ~mask);
    return;
  }
  if (fchown(fd, st.st_uid, st.st_gid) != 0 &&
      fchown(fd, (uid_t)-1, st.st_gid) != 0) {
    // neither: the file keeps the user's own owner and group
  }
  fchmod(fd, st.st_mode & 07777);
}

// A writable regular file whose folder refuses new files.
static int writableinplace(const std::string& target) {
  struct stat st;
  return stat(target.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
         access(target.c_str(), W_OK) == 0;
}

int beginsave(safesave* s, const char* path) {
  abandonsave(s);
  s->target = followlinks(path);
  s->temp = s->target + ".XXXXXX";
  int fd = mkostemp(&s->temp[0], O_CLOEXEC);
  if (fd < 0) {
    int err = errno;
    s->temp.clear();
    if ((err != EACCES && err != EPERM && err != EROFS) ||
        !writableinplace(s->target)) {
      errno = err;
      return 0;
    }
    s->f = open_memstream(&s->mem, &s->memsize);
    return s->f != nullptr;
  }
  copyattributes(fd, s->target);
  s->f = fdopen(fd, "w");
  if (!s->f) {
    int err = errno;
    close(fd);
    unlink(s->temp.c_str());
    s->temp.clear();
    errno = err;
    return 0;
  }
  return 1;
}

static int syncfolder(const std::string& path) {
  int fd = open(folderof(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return 0;
  // Some file systems cannot sync a folder; the rename itself stands.
  int ok = fsync(fd) == 0 || errno == EINVAL || errno == EROFS;
  close(fd);
  return ok;
}

static int writeall(int fd, const char* p, size_t n) {
  while (n > 0) {
    ssize_t w = write(fd, p, n);
    if (w < 0 && errno == EINTR) continue;
    if (w <= 0) return 0;
    p += w;
    n -= (size_t)w;
  }
  return 1;
}

// The gathered text over the old one, then cut to its length.
static int endinplace(safesave* s) {
  int ok = fclose(s->f) == 0;
  s->f = nullptr;
  int err = errno;
  if (ok) {
    int fd = open(s->target.c_str(), O_WRONLY | O_CLOEXEC);
    ok = fd >= 0 && writeall(fd, s->mem, s->memsize) &&
         ftruncate(fd, (off_t)s->memsize) == 0 && fsync(fd) == 0;
    err = errno;
    if (fd >= 0 && close(fd) != 0 && ok) ok = 0, err = errno;
  }
  free(s->mem);
  s->mem = nullptr;
  s->memsize = 0;
  errno = err;
  return ok;
}

int endsave(safesave* s) {
  if (!s->f) {
    errno = EBADF;
    return 0;
  }
  if (s->temp.empty()) return endinplace(s);
  int ok = fflush(s->f) == 0 && !ferror(s->f);
  int err = ok ? 0 : (errno ? errno : EIO);
  if (ok && fsync(fileno(s->f)) != 0) ok = 0, err = errno;
  if (fclose(s->f) != 0 && ok) ok = 0, err = errno;
  s->f = nullptr;
  if (ok && rename(s->temp.c_str(), s->target.c_str()) != 0)
    ok = 0, err = errno;
  if (!ok) {
    unlink(s->temp.c_str());
    s->temp.clear();
    errno = err;
    return 0;
  }
  s->temp.clear();
  syncfolder(s->target);
  return 1;
}

void abandonsave(safesave* s) {
  if (s->f) fclose(s->f);
  s->f = nullptr;
  if (!s->temp.empty()) unlink(s->temp.c_str());
  s->temp.clear();
  free(s->mem);
  s->mem = nullptr;
  s->memsize = 0;
}
