// reset.cpp: putting the whole core back to its start-up state.
#include "model/reset.h"

#include "app/construction.h"
#include "editor/editbuffer.h"
#include "editor/editcmds.h"
#include "engine/recompute.h"
#include "export/export.h"
#include "language/lexer.h"
#include "model/notify.h"
#include "model/shell.h"
#include "model/state.h"
#include "model/style.h"
#include "model/worldlist.h"
#include "postscript/eps.h"
#include "postscript/scriptframes.h"
#include "prefs/preffile.h"
#include "prefs/tiptext.h"
#include "relations/finder.h"
#include "render/colors.h"
#include "render/markup.h"
#include "render/palette.h"
#include "render/smear.h"
#include "render/view.h"

void resetall() {
  resetconstruction();
  resetnotify();
  resetmodel();
  resetstyle();
  initcolors();
  resetcolors();
  resetlanguage();
  resetappstate();
  resetengine();
  resetview();
  resetsmear();
  resetmarkup();
  resetpostscript();
  resetexport();
  resetrelations();
  resetprefs();
  resettips();
  resetshell();
  reseteditor();
  resetscriptframes();
  reseteditorhooks();
}
