// files.cpp: the current file and its modified mark, the save questions,
// the file chooser, the file commands, printing and EPS, help pages, the
// About box, documents named at start-up, and the transient message window.
//
// Fixed buffers hold the file name (320 bytes) and the message text (200):
// every copy into them is checked first and a name that does not fit is
// refused with an alert. A cancelled or declined chooser leaves the current
// file name as it was before the question.
#include "app/files.h"

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Help_Dialog.H>
#include <FL/Fl_Preferences.H>
#include <FL/Fl_Window.H>
#include <FL/filename.H>
#include <FL/fl_ask.H>
#include <FL/fl_draw.H>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/chooser.h"
#include "app/construction.h"
#include "app/geomwindow.h"
#include "app/idle.h"
#include "app/recentmenu.h"
#include "app/undo.h"
#include "dist/datadir.h"
#include "dist/version.h"
#include "editor/editwindow.h"
#include "fileio/openfile.h"
#include "history/history.h"
#include "language/lexer.h"
#include "language/parser.h"
#include "language/writer.h"
#include "model/notify.h"
#include "model/state.h"
#include "model/worldlist.h"
#include "postscript/eps.h"
#include "prefs/preffile.h"

char currentfilename[FILENAMESIZE];
void (*exithook)(int status);

namespace {

const char FILTER[] = "Tessarin Files (*.[DTdt])";
const char DEFAULTNAME[] = "GeomFile.T";
const char NOFILENAME[] = "No File Name";
const char PROJECTPAGE[] = "html/Index.html";

int fits(const char* s, int size) {
  return strlen(s) < (size_t)size;
}

int refusetoolong(const char* name) {
  alert("File name too long (at most %d characters): %.60s...",
        FILENAMESIZE - 1, name);
  return 0;
}

int fileexists(const char* path) {
  struct stat st;
  return stat(path, &st) == 0;
}

int isfolder(const char* path) {
  struct stat st;
  return stat(path, &st) == 0 && S_ISDIR(st.st_mode);
}

int readable(const char* path) {
  return isreadablefile(path);
}

std::string readerrors;  // what the reader reported while reading a file

void collecterror(const char* text) {
  if (!readerrors.empty() && readerrors.back() != '\n') readerrors += "\n";
  readerrors += text;
}

// After a failed read: the error, with the offer to mend the file's text
// in the editor at the failing line. 1 when the mended text was loaded;
// otherwise the diagram is the one held before the reading.
int offeredit(const std::string& path, long long line) {
  std::string shown = readerrors;
  while (!shown.empty() && shown.back() == '\n') shown.pop_back();
  if (!isreadablefile(path.c_str())) {  // nothing there to mend
    alert("%s", shown.c_str());
    return 0;
  }
  char question[2 * FILENAMESIZE + 200];
  snprintf(question, sizeof question,
           "%.300s\n\nOpen the text of %s in the editor at line %lld?",
           shown.c_str(), path.c_str(), line);
  if (askchoice(question, "Close", "Edit", nullptr) != 1) return 0;
  historyhold();
  int done = editfile(path.c_str(), line > INT32_MAX ? INT32_MAX : (int)line);
  if (done != 1) {
    historyputback();
    if (done == 2) handlequitcmd();  // "Quit Tessarin" in the editor
    return 0;
  }
  // The mended text is not in the file yet: the diagram stays modified.
  setcurrentfilename(path.c_str());
  diagramloaded(0);
  return 1;
}

// Reads `path` in place of the diagram and makes it the current file.
// When the reading fails, the diagram, its selection, mark and history
// are put back, the file name becomes `previous` again, and the error is
// shown (with the offer to edit the failing text). 1 when loaded.
int loaddiagram(const char* path, const std::string& previous) {
  std::string name(path);  // path may be currentfilename itself
  historyhold();
  alertfn keep = alerthook;
  readerrors.clear();
  alerthook = collecterror;
  clearbuffer();
  resetstate(1);
  setselect();
  int ok = readgeometry(name.c_str());
  alerthook = keep;
  long long line = linecount;
  if (ok) {
    if (!readerrors.empty()) alert("%s", readerrors.c_str());  // warnings
    setcurrentfilename(name.c_str());
    cleardirtyfile();
    diagramloaded(1);
    rememberrecent(name.c_str());
    return 1;
  }
  historyputback();
  if (previous.empty())
    clearcurrentfilename();
  else
    setcurrentfilename(previous.c_str());
  return offeredit(name, line);
}

// The message window: built on first use, hidden by a timeout.
Fl_Window* msgwindow;
Fl_Box* msgbox;
char msgtext[MESSAGESIZE];

void hidemessagewindow(void*) {
  if (msgwindow) msgwindow->hide();
  startidle();
}

void fltkmessage(const char* text, double seconds) {
  if (!fits(text, MESSAGESIZE)) {
    // Too long for the window's label: the full text goes to an alert.
    alert("%s", text);
    return;
  }
  if (!msgwindow) {
    msgwindow = new Fl_Window(250, 100);
    msgbox = new Fl_Box(5, 5, 240, 90);
    msgbox->box(FL_UP_BOX);
    msgbox->labelfont(FL_HELVETICA_BOLD);
    msgbox->labelsize(14);
    msgbox->align(FL_ALIGN_INSIDE | FL_ALIGN_WRAP);
    msgwindow->end();
    msgwindow->border(0);
  }
  strcpy(msgtext, text);
  msgbox->label(msgtext);
  Fl::check();
  stopidle();
  int mx = main_window ? main_window->x() + main_window->w() / 2 - 100 : 100;
  int my = main_window ? main_window->y() + main_window->h() / 2 - 50 : 100;
  fl_font(0, 14);
  int w = (int)fl_width(msgtext) + 130;
  msgwindow->resize(mx, my, w, 100);
  msgbox->resize(5, 5, w - 10, 90);
  msgwindow->show();
  Fl::add_timeout(seconds, hidemessagewindow);
}

void fltkalert(const char* text) {
  fl_alert("%s", text);
}
void fltkinfo(const char* text) {
  fl_message("%s", text);
}
int fltkask(const char* question) {
  return fl_choice("%s", "No", "Yes", nullptr, question) == 1;
}
int fltkchoice(const char* q, const char* b0, const char* b1, const char* b2) {
  return fl_choice("%s", b0, b1, b2, q);
}
const char* fltkinput(const char* prompt, const char* initial) {
  return fl_input("%s", initial, prompt);
}

Fl_Help_Dialog* helpdialog;

}  // namespace

const char* getcurrentfilename() {
  return currentfilename[0] ? currentfilename : nullptr;
}

int setcurrentfilename(const char* name) {
  if (!fits(name, FILENAMESIZE)) return refusetoolong(name);
  memmove(currentfilename, name, strlen(name) + 1);
  settitle();
  return 1;
}

void clearcurrentfilename() {
  currentfilename[0] = 0;
  settitle();
}

void settitle() {
  if (!main_window) return;
  std::string title = currentfilename[0] ? currentfilename : NOFILENAME;
  if (currentfilename[0] && dirtyfile) title += "*";
  main_window->copy_label(title.c_str());
}

void cleardirtyfile() {
  dirtyfile = 0;
  settitle();
}

int isdirtyfile() {
  return dirtyfile;
}

int askdirty1() {
  while (dirtyfile) {
    switch (
        askchoice("File modified -- save changes?", "Cancel", "Yes", "No")) {
      case 0: return 1;
      case 1: savecurrentfile(0); break;
      default: cleardirtyfile(); break;  // 2: No, drop the changes
    }
  }
  return 0;
}

int hasdiagramextension(const char* name) {
  size_t n = strlen(name);
  return n >= 2 && name[n - 2] == '.' && strchr("TDtd", name[n - 1]) &&
         name[n - 1];
}

const char* collectfilename(const char* prompt, int forreading) {
  std::string previous = currentfilename;
  // Saving offers the diagram's own name, or the default for a new one.
  const char* base = strrchr(currentfilename, '/');
  base = base ? base + 1 : currentfilename;
  const char* offer = forreading ? "" : *base ? base : DEFAULTNAME;
  const char* chosen = choosefile(prompt, FILTER, offer, !forreading);
  if (!chosen || !*chosen) {
    if (chosen) clearcurrentfilename();
    return nullptr;
  }
  std::string name = chosen;
  if (!isfolder(name.c_str()) && !hasdiagramextension(name.c_str()))
    name += ".T";
  if (!fits(name.c_str(), FILENAMESIZE)) {
    refusetoolong(name.c_str());
    return nullptr;
  }
  if (isfolder(name.c_str())) {
    alert("%s is a folder, not a diagram file", name.c_str());
    return nullptr;
  }
  if (!forreading && fileexists(name.c_str()) &&
      !askquestion("File Exists: Overwrite it?")) {
    // Keeping the declined name would let a later Save overwrite it
    // without asking.
    setcurrentfilename(previous.c_str());
    return nullptr;
  }
  setcurrentfilename(name.c_str());
  return currentfilename;
}

int savecurrentfile(int announce) {
  if (!currentfilename[0] && !collectfilename("File name:", 0)) return 0;
  if (!printall(currentfilename)) {
    // The writer has said why; the file on disk is untouched and the
    // diagram stays marked modified, so nothing is lost silently.
    clearcurrentfilename();
    return 0;
  }
  cleardirtyfile();
  diagramsaved();
  rememberrecent(currentfilename);
  if (announce) showmessagewindow("File Saved", 0.5);
  return 1;
}

int handlenewcmd() {
  if (askdirty1()) return 0;
  clearcurrentfilename();
  clearbuffer();
  resetstate(1);
  setselect();
  cleardirtyfile();
  diagramloaded(1);
  return 1;
}

int handleopencmd() {
  if (askdirty1()) return 0;
  std::string previous = currentfilename;
  const char* name = collectfilename("File name:", 1);
  if (name) loaddiagram(name, previous);
  return 1;
}

int handlereopencmd() {
  if (askdirty1()) return 0;
  if (!currentfilename[0]) return handleopencmd();
  loaddiagram(currentfilename, currentfilename);
  return 1;
}

int handleinsertcmd() {
  std::string keep = currentfilename;
  const char* chosen = collectfilename("Insert from file:", 1);
  if (!chosen) return 1;
  std::string path = chosen;
  setcurrentfilename(keep.c_str());
  historyhold();
  if (!insertgeometry(path.c_str())) {
    // The reader has said why; a part of a file is never merged in.
    historyputback();
    return 1;
  }
  setdirtyfile();
  settitle();
  return 1;
}

int handlesavecmd() {
  savecurrentfile(1);
  return 1;
}

int handlesaveascmd() {
  std::string previous = currentfilename;
  if (!collectfilename("File name:", 0)) return 1;  // cancelled: as it was
  // A failed save keeps the diagram's file, untouched, as its name.
  if (!savecurrentfile(1) && !previous.empty())
    setcurrentfilename(previous.c_str());
  return 1;
}

int handleprintcmd() {
  if (!printview()) alert("Print failed");
  return 1;
}

int epspath(const char* name, char* buf, int size) {
  int n;
  if (!name || !*name) {
    n = snprintf(buf, size, "./geom.eps");
  } else {
    size_t len = strlen(name);
    if (len >= 2 && name[len - 2] == '.')
      n = snprintf(buf, size, "%.*seps", (int)(len - 1), name);
    else
      n = snprintf(buf, size, "%s.eps", name);
  }
  return n >= 0 && n < size;
}

int handleepscmd() {
  char path[FILENAMESIZE];
  if (!epspath(getcurrentfilename(), path, sizeof path)) {
    refusetoolong(currentfilename);
    alert("Print failed");
    return 1;
  }
  const char* offer = strncmp(path, "./", 2) == 0 ? path + 2 : path;
  const char* chosen = choosefile("Save EPS file:", "EPS (*.eps)", offer, 1);
  if (!chosen || !*chosen) return 1;
  std::string out = chosen;
  EPS = 1;
  if (!dumpPostScript(out.c_str())) {
    alert("Print failed");
    return 1;
  }
  char msg[MESSAGESIZE + 400];
  snprintf(msg, sizeof msg, "Saved EPS file %s", out.c_str());
  showmessagewindow(msg, 1.5);
  return 1;
}

int handlequitcmd() {
  if (askdirty1()) return 0;
  quitprogram();
  return 0;
}

void quitprogram() {
  if (exithook)
    exithook(0);
  else
    exit(0);
}

// The folder that holds html/ and examples/: PREFIX/share/tessarin for an
// installed program, the program's own folder in a build tree.
const char* GetInstallDirURL() {
  return datadir();
}

void handlehelpcmd(int code) {
  const char* dir = GetInstallDirURL();
  if (!dir) {
    alert(
        "The help files are in the HTML subdirectory of the installation "
        "directory.");
    return;
  }
  const char* page = code == 100009   ? "Tutorial.html"
                     : code == 100010 ? "BasicRef.html"
                                      : "Index.html";
  char path[FILENAMESIZE + 1024];
  snprintf(path, sizeof path, "%s/html/%s", dir, page);
  if (!readable(path)) {
    alert("Couldn't open %s", path);
    return;
  }
  if (!helpdialog) helpdialog = new Fl_Help_Dialog;
  helpdialog->load(path);
  helpdialog->show();
}

void showabout() {
  const char* dir = GetInstallDirURL();
  inform("Tessarin Version %.2f\nby the Tessarin developers\nfile://%s/%s\n%s",
         thisversion, dir ? dir : ".", PROJECTPAGE, versionline());
}

int handleexamplescmd() {
  if (askdirty1()) return 0;
  const char* dir = examplesdir();
  if (!dir || !fileexists(dir)) {
    alert("The examples are not installed (looked in %s).",
          dir ? dir : "the program's folder");
    return 1;
  }
  std::string start = std::string(dir) + "/";
  const char* chosen = choosefile("Open example:", FILTER, start.c_str(), 0);
  if (!chosen || !*chosen) return 1;
  std::string path = chosen;
  if (!fits(path.c_str(), FILENAMESIZE)) return refusetoolong(path.c_str());
  loaddiagram(path.c_str(), currentfilename);
  return 1;
}

void setchooserprefs() {
  const char* doc = getenv("GEOMDOC");
  if (!doc || strlen(doc) > 256) return;
  std::string dir = doc;
  if (dir.size() > 5) dir.resize(dir.size() - 5);
  for (char& c : dir)
    if (c == '\\') c = '/';
  Fl_Preferences prefs(Fl_Preferences::USER, "fltk.org", "filechooser");
  int highest = -1;
  char value[FL_PATH_MAX];
  for (int i = 0; i < prefs.entries(); i++) {
    const char* key = prefs.entry(i);
    if (strncmp(key, "favorite", 8) != 0) continue;
    prefs.get(key, value, "", sizeof value);
    if (dir == value) return;
    int n = atoi(key + 8);
    if (n > highest) highest = n;
  }
  char key[32];
  snprintf(key, sizeof key, "favorite%02d", highest + 1);
  prefs.set(key, dir.c_str());
  prefs.flush();
}

void opendocument(const char* path) {
  if (askdirty1()) return;
  if (!hasdiagramextension(path)) {
    alert("Unknown file type");
    return;
  }
  if (!readable(path)) return;
  if (!fits(path, FILENAMESIZE)) {
    refusetoolong(path);
    return;
  }
  loaddiagram(path, currentfilename);
  setselect();
  redrawgeometry();
}

void bindfltkdialogs() {
  alerthook = fltkalert;
  infohook = fltkinfo;
  askhook = fltkask;
  choicehook = fltkchoice;
  inputhook = fltkinput;
  messagehook = fltkmessage;
  dirtyhook = settitle;
}

void resetfiles() {
  currentfilename[0] = 0;
  exithook = nullptr;
  choosefilehook = nullptr;
}
