// recentmenu.cpp: the Open Recent submenu and its command.
#include "app/recentmenu.h"

#include <FL/Fl_Menu_Item.H>

#include <cstdlib>
#include <cstring>
#include <string>

#include "app/files.h"
#include "app/ui.h"
#include "fileio/openfile.h"
#include "model/notify.h"
#include "prefs/recent.h"

// A path as a menu label: the home folder shown as "~", and the toolkit's
// two markup characters ('&' underlines, '@' starts a symbol) doubled so
// they show as themselves.
static std::string recentlabel(const char* path) {
  std::string shown = path;
  const char* home = getenv("HOME");
  size_t n = home ? strlen(home) : 0;
  if (n > 1 && shown.compare(0, n, home) == 0 && shown[n] == '/')
    shown = "~" + shown.substr(n);
  std::string label;
  for (char c : shown) {
    if (c == '&' || c == '@') label += c;
    label += c;
  }
  return label;
}

void updaterecentmenu() {
  static std::string labels[NRECENT];
  for (int i = 0; i < NRECENT; i++) {
    Fl_Menu_Item* m = menuitem(FIRSTRECENT + i);
    if (!m) continue;
    if (i < nrecent) {
      labels[i] = recentlabel(recentfiles[i]);
      m->label(labels[i].c_str());
      m->show();
    } else {
      m->hide();
    }
  }
  if (Fl_Menu_Item* none = menuitem(NORECENT)) {
    if (nrecent)
      none->hide();
    else
      none->show();
  }
}

void rememberrecent(const char* path) {
  if (!noterecentfile(path)) return;
  saverecentfiles();
  updaterecentmenu();
}

int openrecent(int code) {
  int i = code - FIRSTRECENT;
  if (i < 0 || i >= nrecent) return 1;
  std::string path = recentfiles[i];
  if (!isreadablefile(path.c_str())) {
    droprecentfile(i);
    saverecentfiles();
    updaterecentmenu();
    alert("%s cannot be opened any more; it was taken off Open Recent.",
          path.c_str());
    return 1;
  }
  opendocument(path.c_str());  // asks about unsaved changes first
  return 1;
}
