// idle.cpp: the idle loop: blink clock and script animation on the toolkit's
// event loop. The decisions are made by `idlestep` in the headless core;
// this file only carries them out with the toolkit.
#include "app/idle.h"

#include <FL/Fl.H>

#include "app/geomwindow.h"
#include "app/script.h"
#include "model/shell.h"

static int idlestarted;  // the first idle call has started the clock

void IdleFunc(void*) {
  if (!idlestarted) {
    idlestarted = 1;
    lastblinktime = monotonicmicros();
    redrawgeometry();
    return;
  }
  int damaged = geom_window && geom_window->damage();
  int actions = idlescript();
  actions |= idlestep(monotonicmicros(), damaged);
  if (actions & IDLE_REDRAW) redrawgeometry();
  // The script's EPS frames, the panel label and the construction buttons
  // belong to the control panel and the script player.
  Fl::remove_idle(IdleFunc);
  Fl::add_timeout(0.02, resetidle);
}

void resetidle(void*) {
  Fl::add_idle(IdleFunc);
}

void startidle() {
  idlestarted = 0;
  Fl::add_idle(IdleFunc);
}

void stopidle() {
  Fl::remove_idle(IdleFunc);
  Fl::remove_timeout(resetidle);
}
