// datadir.cpp: the program's data folder, from where the executable is.
#include "dist/datadir.h"

#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

const char INSTALLED[] = "/../share/tessarin";
const char HELPPAGE[] = "/html/Index.html";

int readable(const std::string& path) {
  return access(path.c_str(), R_OK) == 0;
}

// `dir` without a trailing "/..": "/opt/t/bin/.." stays a correct path,
// but "/opt/t/share/tessarin" reads better in messages.
std::string tidy(std::string dir) {
  const std::string up = "/bin/../";
  size_t at = dir.find(up);
  if (at != std::string::npos && at + up.size() <= dir.size())
    dir.replace(at, up.size(), "/");
  return dir;
}

int copyout(const std::string& s, char* out, int size) {
  if (s.size() + 1 > (size_t)size) return 0;
  memcpy(out, s.c_str(), s.size() + 1);
  return 1;
}

}  // namespace

int datadirfor(const char* exe, char* out, int size) {
  const char* slash = strrchr(exe, '/');
  if (!slash) return 0;
  std::string bin(exe, slash - exe);
  std::string installed = tidy(bin + INSTALLED);
  if (readable(installed + HELPPAGE)) return copyout(installed, out, size);
  if (readable(bin + HELPPAGE)) return copyout(bin, out, size);
  size_t n = bin.size();
  int inbin = n >= 4 && bin.compare(n - 4, 4, "/bin") == 0;
  return copyout(inbin ? installed : bin, out, size);
}

const char* datadir() {
  static char dir[4096];
  char exe[4096];
  ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
  if (n <= 0) return nullptr;
  exe[n] = 0;
  return datadirfor(exe, dir, sizeof dir) ? dir : nullptr;
}

const char* examplesdir() {
  static char dir[4096 + 16];
  const char* data = datadir();
  if (!data) return nullptr;
  snprintf(dir, sizeof dir, "%s/examples", data);
  return dir;
}
