// reset.cpp: putting the whole core back to its start-up state.
#include "model/reset.h"

#include "engine/recompute.h"
#include "language/lexer.h"
#include "model/notify.h"
#include "model/state.h"
#include "model/style.h"
#include "model/worldlist.h"
#include "postscript/eps.h"
#include "prefs/preffile.h"
#include "relations/finder.h"
#include "render/palette.h"
#include "render/view.h"

void resetall() {
  resetnotify();
  resetmodel();
  resetstyle();
  initcolors();
  resetlanguage();
  resetappstate();
  resetengine();
  resetview();
  resetpostscript();
  resetrelations();
  resetprefs();
}
