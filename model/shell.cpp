// shell.cpp: the interaction and animation state of the program's window,
// and the idle step that drives the blink clock and script animation.
#include "model/shell.h"

#include <ctime>

#include "model/primitive.h"
#include "model/style.h"
#include "model/worldlist.h"
#include "render/colors.h"
#include "render/view.h"

int MENUWIDTH = 180;
int runningscript;
int scriptdrawn;
int dumpingeps;
long long lastblinktime;

long long monotonicmicros() {
  timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return (long long)ts.tv_sec * 1000000 + ts.tv_nsec / 1000;
}

int idlestep(long long now, int damaged) {
  int actions = 0;
  blinkonly = 0;
  if (now - lastblinktime > BLINKINTERVAL && !runningscript) {
    if (!damaged) blinkonly = 1;
    lastblinktime = now;
    blinkon = (blinkon + 1) % 3;
    actions |= IDLE_FIXPANEL | IDLE_REDRAW;
  }
  return actions;
}

void resetshell() {
  MENUWIDTH = 180;
  runningscript = 0;
  scriptdrawn = 0;
  dumpingeps = 0;
  lastblinktime = 0;
}
