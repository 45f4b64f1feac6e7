// shell.cpp: the interaction and animation state of the program's window,
// and the idle step that drives the blink clock and script animation.
#include "model/shell.h"

#include <ctime>
#include <initializer_list>

#include "model/primitive.h"
#include "model/style.h"
#include "model/worldlist.h"
#include "render/colors.h"
#include "render/view.h"

int MENUWIDTH = 180;
int MENUBARHEIGHT = 24;
int runningscript;
int scriptdrawn;
int dumpingeps;
long long lastblinktime;

long long monotonicmicros() {
  timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return (long long)ts.tv_sec * 1000000 + ts.tv_nsec / 1000;
}

// Whether a primitive on the layers in force has a blinking colour.
static int anyblinking() {
  for (primitive* list : {plist, macroplist})
    for (primitive* p = list; p; p = p->next)
      if ((p->layers & layerset) && isblinking(p)) return 1;
  return 0;
}

int idlestep(long long now, int damaged) {
  int actions = 0;
  blinkonly = 0;
  if (now - lastblinktime > BLINKINTERVAL && !runningscript) {
    lastblinktime = now;
    blinkon = (blinkon + 1) % 3;
    actions |= IDLE_FIXPANEL;
    // A new phase changes nothing on screen when nothing blinks: the frame
    // is not redrawn, so a program left alone costs next to nothing.
    if (anyblinking()) {
      if (!damaged) blinkonly = 1;
      actions |= IDLE_REDRAW;
    }
  }
  return actions;
}

void resetshell() {
  MENUWIDTH = 180;
  MENUBARHEIGHT = 24;
  runningscript = 0;
  scriptdrawn = 0;
  dumpingeps = 0;
  lastblinktime = 0;
}
