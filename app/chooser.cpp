// chooser.cpp: the file dialog, its start folder and the last used folder.
//
// The toolkit's own dialog (used where the desktop offers none) takes a
// typed relative name against the working folder at every keystroke and
// puts the cursor back at the start, so typing "tri" made
// "/cwd/i/cwd/r/cwd/t". While it is shown, its name field gets a callback
// of ours in front of the toolkit's: a relative name is left alone while
// it is typed and made absolute in the folder shown when Enter ends it.
#include "app/chooser.h"

#include <FL/Fl.H>
#include <FL/Fl_File_Chooser.H>
#include <FL/Fl_File_Input.H>
#include <FL/Fl_Native_File_Chooser.H>
#include <FL/Fl_Window.H>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

#include "app/files.h"
#include "model/notify.h"
#include "prefs/preffile.h"

const char* (*choosefilehook)(const char* prompt, const char* filter,
                              const char* start);

namespace {

std::string chosen;  // the last answer, handed out as a C string

int isfolder(const std::string& path) {
  struct stat st;
  return !path.empty() && stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string workingfolder() {
  char buf[4096];
  return getcwd(buf, sizeof buf) ? buf : "/";
}

// The folder part of a path ("" for a bare name), without its last "/"
// unless it is the root.
std::string folderof(const std::string& path) {
  size_t slash = path.rfind('/');
  if (slash == std::string::npos) return "";
  return slash == 0 ? "/" : path.substr(0, slash);
}

void rememberfolder(const std::string& folder) {
  if (!isfolder(folder) || folder == lastfolder) return;
  savelastfolder(folder.c_str(), nullptr);  // best effort: a hint only
}

// The toolkit's callback of the name field and its data.
Fl_Callback* namecallback;
void* namedata;
Fl_File_Chooser* fallback;  // the toolkit's dialog being shown

void typedname(Fl_Widget* w, void*) {
  Fl_Input* in = (Fl_Input*)w;
  const char* v = in->value();
  if (v[0] && v[0] != '/' && v[0] != '~' && v[0] != '$') {
    int k = Fl::event_key();
    if (k != FL_Enter && k != FL_KP_Enter) return;  // still being typed
    std::string full = inside(fallback->directory(), v);
    in->value(full.c_str());
  }
  namecallback(w, namedata);
}

Fl_File_Input* namefield(Fl_Group* g) {
  for (int i = 0; i < g->children(); i++) {
    Fl_Widget* c = g->child(i);
    if (Fl_File_Input* f = dynamic_cast<Fl_File_Input*>(c)) return f;
    if (Fl_Group* sub = c->as_group())
      if (Fl_File_Input* f = namefield(sub)) return f;
  }
  return nullptr;
}

// Runs while a dialog is up: takes over the name field of the toolkit's
// dialog (whose window carries the dialog as its user data).
void mendnamefield(void*) {
  for (Fl_Window* w = Fl::first_window(); w; w = Fl::next_window(w)) {
    Fl_File_Input* f = namefield(w);
    if (!f || f->callback() == typedname) continue;
    fallback = (Fl_File_Chooser*)w->user_data();
    namecallback = f->callback();
    namedata = f->user_data();
    f->callback(typedname);
  }
}

}  // namespace

std::string inside(const std::string& folder, const std::string& name) {
  if (name.empty() || name[0] == '/') return name;
  if (name[0] == '~' && (name.size() == 1 || name[1] == '/')) {
    const char* home = getenv("HOME");
    if (home && *home) return home + name.substr(1);
  }
  return folder == "/" ? "/" + name : folder + "/" + name;
}

std::string chooserfolder() {
  std::string current = folderof(currentfilename);
  if (current.empty() && currentfilename[0]) current = workingfolder();
  if (isfolder(current)) return current;
  if (isfolder(lastfolder)) return lastfolder;
  return workingfolder();
}

std::string nativefilter(const char* filter) {
  std::string out;
  for (const char* s = filter; *s;) {
    const char* end = strchr(s, '\t');
    std::string entry(s, end ? end - s : strlen(s));
    size_t open = entry.rfind(" (");
    if (open != std::string::npos && entry.back() == ')')
      entry = entry.substr(0, open) + "\t" +
              entry.substr(open + 2, entry.size() - open - 3);
    if (!out.empty()) out += "\n";
    out += entry;
    if (!end) break;
    s = end + 1;
  }
  return out;
}

const char* choosefile(const char* prompt, const char* filter,
                       const char* start, int forsave) {
  std::string path = start ? start : "";
  std::string folder = folderof(path), name = path.substr(folder.size());
  if (!name.empty() && name[0] == '/') name.erase(0, 1);
  if (folder.empty() || !isfolder(inside(chooserfolder(), folder)))
    folder = chooserfolder();
  else
    folder = inside(chooserfolder(), folder);
  const char* got = nullptr;
  std::string answer;  // the dialog's own copy dies with it
  std::string full = folder == "/" ? "/" + name : folder + "/" + name;
  if (choosefilehook) {
    got = choosefilehook(prompt, filter, full.c_str());
  } else {
    Fl_Native_File_Chooser fc;
    fc.title(prompt);
    fc.type(forsave ? Fl_Native_File_Chooser::BROWSE_SAVE_FILE
                    : Fl_Native_File_Chooser::BROWSE_FILE);
    std::string f = nativefilter(filter);
    fc.filter(f.c_str());
    fc.directory(folder.c_str());
    // The whole path: the toolkit's dialog takes a bare name against the
    // working folder.
    if (!name.empty()) fc.preset_file(full.c_str());
    Fl::add_check(mendnamefield);
    int r = fc.show();
    Fl::remove_check(mendnamefield);
    if (r == -1) alert("The file dialog failed: %s", fc.errmsg());
    if (r == 0 && fc.filename()) {
      answer = fc.filename();
      got = answer.c_str();
    }
  }
  if (!got || !*got) return got;  // cancelled (an empty answer stays empty)
  chosen = inside(folder, got);
  rememberfolder(folderof(chosen));
  return chosen.c_str();
}
