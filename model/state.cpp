// state.cpp: the per-diagram application state that reading a file resets.
#include "model/state.h"

#include "language/rpn.h"
#include "model/notify.h"
#include "model/primitive.h"
#include "model/shell.h"
#include "model/style.h"
#include "model/worldlist.h"
#include "render/markup.h"
#include "render/smear.h"

flt* Script;
uint32_t filelayerset = 0xffffffffu;
int layersinited;

void resetstate(int full) {
  if (full) {
    resetstyle();
    showinfo = 1;
    evalrpnerror = 0;
  }
  dumpingeps = 0;
  filelayerset = 0xffffffffu;
  layersinited = 1;
  Script = nullptr;
  degreemode = 1;
  clearsmearlist();
  selectprim(nullptr);
  if (resetstatehook) resetstatehook(full);
  setlayerbuttons();
}

void resetappstate() {
  Script = nullptr;
  filelayerset = 0xffffffffu;
  layersinited = 0;
}
