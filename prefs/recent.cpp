// recent.cpp: the list of recent diagrams and its lines in the preferences
// file.
#include "prefs/recent.h"

#include <limits.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstring>
#include <string>

#include "fileio/openfile.h"
#include "fileio/safesave.h"
#include "prefs/preffile.h"

char recentfiles[NRECENT][RECENTNAMESIZE];
int nrecent;

static const char RECENTWORD[] = "recent ";
static_assert(sizeof RECENTWORD - 1 + RECENTNAMESIZE == PREFLINESIZE,
              "a recent line fits the reader's line");

static int findrecent(const char* path) {
  for (int i = 0; i < nrecent; i++)
    if (strcmp(recentfiles[i], path) == 0) return i;
  return -1;
}

// Puts `path` at slot `at`, shifting the later entries down; the last one
// falls off a full list.
static void insertrecent(int at, const char* path) {
  int last = nrecent < NRECENT ? nrecent : NRECENT - 1;
  for (int i = last; i > at; i--) strcpy(recentfiles[i], recentfiles[i - 1]);
  strcpy(recentfiles[at], path);
  if (nrecent < NRECENT) nrecent++;
}

void addrecentline(const char* path) {
  size_t n = strlen(path);
  if (n == 0 || n >= (size_t)RECENTNAMESIZE || nrecent == NRECENT) return;
  if (findrecent(path) >= 0) return;
  insertrecent(nrecent, path);
}

// The absolute form of a path: the file's real path when it exists, else
// the path joined to the working folder.
static std::string absolutepath(const char* path) {
  char real[PATH_MAX];
  if (realpath(path, real)) return real;
  if (path[0] == '/') return path;
  char cwd[PATH_MAX];
  if (!getcwd(cwd, sizeof cwd)) return path;
  return std::string(cwd) + "/" + path;
}

int noterecentfile(const char* path) {
  std::string full = absolutepath(path);
  if (full.empty() || full.size() >= (size_t)RECENTNAMESIZE) return 0;
  int old = findrecent(full.c_str());
  if (old >= 0) droprecentfile(old);
  insertrecent(0, full.c_str());
  return 1;
}

void droprecentfile(int i) {
  if (i < 0 || i >= nrecent) return;
  for (int k = i; k < nrecent - 1; k++)
    strcpy(recentfiles[k], recentfiles[k + 1]);
  nrecent--;
}

void writerecentlines(FILE* out) {
  for (int i = 0; i < nrecent; i++)
    fprintf(out, "%s%s\n", RECENTWORD, recentfiles[i]);
}

int saverecentpath(const char* path) {
  std::string kept;
  if (!keepprefslines(path, RECENTWORD, &kept)) return 0;
  safesave s;
  if (!beginsave(&s, path)) return 0;
  fwrite(kept.data(), 1, kept.size(), s.f);
  writerecentlines(s.f);
  return endsave(&s);
}

int saverecentfiles() {
  return saverecentpath(defaultfilename());
}

void resetrecent() {
  nrecent = 0;
  for (auto& r : recentfiles) r[0] = '\0';
}
