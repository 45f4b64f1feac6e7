// scriptplay.cpp: running a script one drawn frame at a time, and the
// proof steps through the layers.
#include "model/scriptplay.h"

#include "engine/continuity.h"
#include "model/primitive.h"
#include "model/shell.h"
#include "model/state.h"
#include "model/style.h"
#include "model/worldlist.h"
#include "postscript/scriptframes.h"

const uint32_t ALLLAYERS = 0xffffffffu;
const uint32_t LASTLAYER = 0x80000000u;

void startscriptrun() {
  runningscript = 1;
  scriptdrawn = 0;
  if (Script) Script->value = Script->start;
}

// Without a script there is nothing to animate: one frame at most.
static int noscriptstep(const char* framebase) {
  runningscript = 0;
  if (!dumpingeps) return IDLE_REDRAW;
  dumpingeps = 0;
  if (framebase) dumpscriptframe(framebase);
  selectprim(pselected);  // the menu's Script Print mark goes off
  return IDLE_REDRAW | IDLE_DUMPEPS;
}

static int endscriptrun() {
  Script->value = Script->stop;
  runningscript = 0;
  restartepsframes = 1;
  layerset = filelayerset;
  setlayerbuttons();
  return IDLE_REDRAW | IDLE_SCRIPTENDED;
}

int scriptstep(const char* framebase) {
  if (!runningscript) return 0;
  if (!Script) return noscriptstep(framebase);
  flt* s = Script;
  selectprim(s);
  if (!scriptdrawn) return IDLE_REDRAW;  // the current value's frame first
  scriptdrawn = 0;
  int actions = IDLE_REDRAW;
  if (dumpingeps) {
    if (framebase) dumpscriptframe(framebase);
    actions |= IDLE_DUMPEPS;
  }
  // Written this way round, a value that is not a number also ends.
  if (!(s->value < s->stop)) return actions | endscriptrun();
  s->value += s->step;
  // A step that does not advance would never reach the stop.
  if (!(s->step > 0) || !(s->value < s->stop)) s->value = s->stop;
  followmotion = 1;  // the next frame moves on from this one
  return actions;
}

void scriptpress() {
  if (runningscript) {
    runningscript = 0;
    restartepsframes = 1;
    layerset = filelayerset;
    setlayerbuttons();
  }
  if (Script) Script->value = Script->start;
}

uint32_t proofstep(int code, uint32_t layers) {
  switch (code) {
    case PROOF_START: return 1;
    case PROOF_NEXT: return layers == LASTLAYER ? layers : layers << 1;
    case PROOF_PREV: return layers == 1 ? layers : layers >> 1;
    case PROOF_OFF: return ALLLAYERS;
    default: return layers;  // not a proof command
  }
}

void applyproofstep(int code) {
  layerset = proofstep(code, layerset);
  setlayerbuttons();
}
