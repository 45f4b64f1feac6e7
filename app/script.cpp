// script.cpp: the script player and the proof steps on the program's
// window. The stepping is the core's (model/scriptplay); this file names
// the frames after the current file and keeps the panel and the menus in
// step with a run.
#include "app/script.h"

#include "app/files.h"
#include "app/ui.h"
#include "model/scriptplay.h"
#include "model/shell.h"
#include "postscript/scriptframes.h"

// The base of the frame names: the current file without its extension.
static const char* framebase() {
  static char base[SCRIPTPATHSIZE];
  return scriptframebase(base, sizeof base, getcurrentfilename()) ? base
                                                                  : nullptr;
}

void dumpscripteps() {
  const char* base = framebase();
  if (base) dumpscriptframe(base);
}

int idlescript() {
  if (!runningscript) return 0;
  int actions = scriptstep(dumpingeps ? framebase() : nullptr);
  if (actions & IDLE_SCRIPTENDED) clearbuttons(-1);
  // Script Print may have been turned off (no script, a failed frame).
  if ((actions & IDLE_DUMPEPS) && !dumpingeps) setmenu();
  return actions;
}

void proofcommand(int code) {
  applyproofstep(code);
  clearbuttons(-1);
}

void runscript() {
  startscriptrun();
}

void stopscript() {
  scriptpress();
}
