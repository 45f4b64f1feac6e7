// chooser.cpp: the file dialog, its start folder and the last used folder.
//
// The dialog is always given a folder that exists and the offered name
// apart from it: the toolkit's own dialog expands every keystroke of a
// typed name against the working folder when it has no folder to start
// in, which made typed names unusable.
#include "app/chooser.h"

#include <FL/Fl_Native_File_Chooser.H>
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
  if (folder.empty() || folder == lastfolder) return;
  savelastfolder(folder.c_str(), nullptr);  // best effort: a hint only
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
  if (choosefilehook) {
    std::string full = folder == "/" ? "/" + name : folder + "/" + name;
    got = choosefilehook(prompt, filter, full.c_str());
  } else {
    Fl_Native_File_Chooser fc;
    fc.title(prompt);
    fc.type(forsave ? Fl_Native_File_Chooser::BROWSE_SAVE_FILE
                    : Fl_Native_File_Chooser::BROWSE_FILE);
    std::string f = nativefilter(filter);
    fc.filter(f.c_str());
    fc.directory(folder.c_str());
    if (!name.empty()) fc.preset_file(name.c_str());
    int r = fc.show();
    if (r == -1) alert("The file dialog failed: %s", fc.errmsg());
    if (r == 0) got = fc.filename();
  }
  if (!got || !*got) return got;  // cancelled (an empty answer stays empty)
  chosen = inside(folder, got);
  rememberfolder(folderof(chosen));
  return chosen.c_str();
}
