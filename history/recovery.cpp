// recovery.cpp: the file that keeps unsaved work across a crash.
//
// Two prepared buffers take turns: recoveryprepare fills the one not in
// use and then flips `active`, so the signal handler always finds a whole
// text and whole file names without allocating anything.
#include "history/recovery.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>

namespace {

const char HEADER[] = "// tessarin recovery of ";

struct prepared {
  std::string data;  // header line and text
  std::string path;  // the recovery file
  std::string temp;  // the file written beside it
};

prepared buffers[2];
volatile sig_atomic_t active = -1;  // the buffer in use, -1 none
std::string written;  // a claimed file not yet written as our own, "" none

uint64_t fnv1a(const std::string& s) {
  uint64_t h = 1469598103934665603ull;
  for (unsigned char c : s) {
    h ^= c;
    h *= 1099511628211ull;
  }
  return h;
}

std::string absolute(const char* diagram) {
  if (!diagram || !*diagram) return "";
  if (char* r = realpath(diagram, nullptr)) {
    std::string s = r;
    free(r);
    return s;
  }
  if (diagram[0] == '/') return diagram;
  char cwd[4096];
  if (!getcwd(cwd, sizeof cwd)) return diagram;
  return std::string(cwd) + "/" + diagram;
}

std::string hashname(const char* diagram) {
  char h[17];
  snprintf(h, sizeof h, "%016llx",
           (unsigned long long)fnv1a(absolute(diagram)));
  return h;
}

int makedir(const std::string& path) {
  struct stat st;
  if (stat(path.c_str(), &st) == 0) return S_ISDIR(st.st_mode);
  return mkdir(path.c_str(), 0700) == 0 || errno == EEXIST;
}

// Writes all of n bytes, retrying interrupted and partial writes.
int writeall(int fd, const char* s, size_t n) {
  while (n) {
    ssize_t w = write(fd, s, n);
    if (w < 0 && errno == EINTR) continue;
    if (w <= 0) return 0;
    s += w;
    n -= (size_t)w;
  }
  return 1;
}

void onsignal(int sig) {
  int saved = errno;
  recoverywrite();
  errno = saved;
  signal(sig, SIG_DFL);
  raise(sig);
}

int running(long pid) {
  return pid > 0 && (kill((pid_t)pid, 0) == 0 || errno == EPERM);
}

}  // namespace

std::string recoverydir() {
  std::string base;
  const char* state = getenv("XDG_STATE_HOME");
  if (state && state[0] == '/') {
    base = state;
  } else {
    const char* home = getenv("HOME");
    if (!home || !*home) return "";
    base = std::string(home) + "/.local";
    if (!makedir(base)) return "";
    base += "/state";
  }
  if (!makedir(base)) return "";
  std::string dir = base + "/tessarin";
  return makedir(dir) ? dir : "";
}

std::string recoverypath(const char* diagram, long pid) {
  std::string dir = recoverydir();
  if (dir.empty()) return "";
  return dir + "/" + hashname(diagram) + "-" + std::to_string(pid) + ".T";
}

void recoveryprepare(const char* diagram, const std::string& text) {
  int next = active == 0 ? 1 : 0;
  prepared& p = buffers[next];
  p.path = recoverypath(diagram, (long)getpid());
  p.temp = p.path.empty() ? "" : p.path + ".new";
  p.data = HEADER;
  p.data += absolute(diagram);
  p.data += "\n";
  p.data += text;
  // A new name (the diagram was saved under another): the old file goes.
  if (active >= 0 && buffers[active].path != p.path)
    unlink(buffers[active].path.c_str());
  if (!written.empty() && written != p.path) unlink(written.c_str());
  written.clear();
  active = next;
}

int recoverywrite() {
  if (active < 0) return 0;
  const prepared& p = buffers[active];
  if (p.path.empty()) return 0;
  int fd = open(p.temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC,
                0600);
  if (fd < 0) return 0;
  int ok = writeall(fd, p.data.data(), p.data.size()) && fsync(fd) == 0;
  ok = close(fd) == 0 && ok;
  if (!ok || rename(p.temp.c_str(), p.path.c_str()) != 0) {
    unlink(p.temp.c_str());
    return 0;
  }
  return 1;
}

void recoveryremove() {
  if (active >= 0 && !buffers[active].path.empty())
    unlink(buffers[active].path.c_str());
  if (!written.empty()) unlink(written.c_str());
  written.clear();
  active = -1;  // a clean diagram: a signal now writes nothing
}

void recoverysignals() {
  struct sigaction sa;
  memset(&sa, 0, sizeof sa);
  sa.sa_handler = onsignal;
  sigemptyset(&sa.sa_mask);
  sigaction(SIGTERM, &sa, nullptr);
  sigaction(SIGHUP, &sa, nullptr);
}

int recoveryfind(const char* diagram, std::string* found) {
  std::string dir = recoverydir();
  if (dir.empty()) return 0;
  std::string prefix = hashname(diagram) + "-";
  struct stat dst;
  time_t since = 0;
  if (diagram && *diagram && stat(diagram, &dst) == 0) since = dst.st_mtime;
  DIR* d = opendir(dir.c_str());
  if (!d) return 0;
  time_t best = 0;
  found->clear();
  while (struct dirent* e = readdir(d)) {
    std::string name = e->d_name;
    if (name.compare(0, prefix.size(), prefix) != 0) continue;
    if (name.size() < 2 || name.compare(name.size() - 2, 2, ".T") != 0)
      continue;
    long pid = atol(name.c_str() + prefix.size());
    if (pid == (long)getpid() || running(pid)) continue;
    std::string path = dir + "/" + name;
    struct stat st;
    if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
    if (st.st_mtime < since || (found->size() && st.st_mtime < best))
      continue;
    best = st.st_mtime;
    *found = path;
  }
  closedir(d);
  return !found->empty();
}

int recoveryclaim(const std::string& found, std::string* text,
                  std::string* diagram) {
  std::string mine = found.substr(0, found.rfind('-') + 1) +
                     std::to_string((long)getpid()) + ".T";
  if (rename(found.c_str(), mine.c_str()) != 0) return 0;
  written = mine;
  std::ifstream in(mine, std::ios::binary);
  std::string all((std::istreambuf_iterator<char>(in)), {});
  if (!in && !in.eof()) return 0;
  size_t eol = all.find('\n');
  diagram->clear();
  if (all.compare(0, sizeof HEADER - 1, HEADER) == 0 &&
      eol != std::string::npos) {
    *diagram = all.substr(sizeof HEADER - 1, eol - (sizeof HEADER - 1));
    all.erase(0, eol + 1);
  }
  *text = all;
  return 1;
}

void resetrecovery() {
  active = -1;
  buffers[0] = buffers[1] = prepared();
  written.clear();
}
