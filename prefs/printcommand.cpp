// printcommand.cpp: the shell command that prints a PostScript file.
#include "prefs/printcommand.h"

#include <cstring>
#include <string>

#include "prefs/preffile.h"

namespace {

// Characters a path may hold and still be passed to the shell unquoted.
int plainpathchar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
         (c >= '0' && c <= '9') || strchr("/._-+,:@", c) != nullptr;
}

// The path as one shell word.
std::string shellword(const char* path) {
  int plain = *path != '\0';
  for (const char* c = path; *c; c++) plain = plain && plainpathchar(*c);
  if (plain) return path;
  std::string w = "'";
  for (const char* c = path; *c; c++) {
    if (*c == '\'')
      w += "'\\''";
    else
      w += *c;
  }
  return w + "'";
}

}  // namespace

int formatprintcommand(char* out, int size, const char* path) {
  if (size > 0) out[0] = '\0';
  if (!printcmdstring[0] || size <= 0) return 0;
  std::string word = shellword(path), cmd;
  for (const char* c = printcmdstring; *c; c++) {
    if (c[0] == '%' && c[1] == 's') {
      cmd += word;
      c++;
    } else if (c[0] == '%' && c[1] == '%') {
      cmd += '%';
      c++;
    } else {
      cmd += *c;
    }
  }
  if ((int)cmd.size() >= size) return 0;
  memcpy(out, cmd.c_str(), cmd.size() + 1);
  return 1;
}
