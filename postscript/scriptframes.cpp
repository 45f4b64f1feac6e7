// scriptframes.cpp: naming and writing the EPS frames of a script run.
#include "postscript/scriptframes.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "model/notify.h"
#include "model/shell.h"
#include "postscript/eps.h"

int epsframe;
int restartepsframes;
int epsframeerrors;
int (*framewriter)(const char* path) = dumpPostScript;
const char* frameextension = ".eps";

int scriptframebase(char* out, int size, const char* filename) {
  int n;
  if (!filename || !*filename) {
    const char* home = getenv("HOME");
    n = snprintf(out, size, "%s/Desktop/GeomFile", home && *home ? home : ".");
    return n >= 0 && n < size;
  }
  int len = (int)strlen(filename);
  // Only a diagram's one-letter extension goes; other names stay whole.
  if (len >= 2 && filename[len - 2] == '.' && filename[len - 1] != '/')
    len -= 2;
  n = snprintf(out, size, "%.*s", len, filename);
  return n >= 0 && n < size;
}

int scriptframename(char* out, int size, const char* base, int n) {
  int k = snprintf(out, size, "%s%03d%s", base, n, frameextension);
  return k >= 0 && k < size;
}

int dumpscriptframe(const char* base) {
  if (restartepsframes) {
    epsframe = 0;
    restartepsframes = 0;
  }
  char path[SCRIPTPATHSIZE];
  int ok = 0;
  if (!scriptframename(path, sizeof path, base, epsframe)) {
    alert("File name too long: %s", base);
  } else {
    epsframe++;
    int keep = EPS;
    EPS = 1;
    ok = framewriter(path);
    EPS = keep;
  }
  if (!ok) {
    epsframeerrors++;
    dumpingeps = 0;
  }
  if (!runningscript) restartepsframes = 1;
  return ok;
}

void resetscriptframes() {
  epsframe = 0;
  restartepsframes = 0;
  epsframeerrors = 0;
  framewriter = dumpPostScript;
  frameextension = ".eps";
}
