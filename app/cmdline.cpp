// cmdline.cpp: --help and --version of the program, and the message for
// files it cannot open alongside the first.
#include "app/cmdline.h"

#include <FL/Fl.H>

#include <cstdio>
#include <cstring>
#include <string>

#include "dist/version.h"
#include "model/notify.h"

namespace {

const char USAGE[] =
    "usage: tessarin [TOOLKIT OPTIONS] [FILE...]\n"
    "       tessarin --help | --version\n"
    "\n"
    "Opens FILE, a Tessarin diagram, in the program's window (an empty\n"
    "diagram when FILE is missing or unreadable). Only one diagram is open\n"
    "at a time: of several files the first is opened.\n"
    "\n"
    "options:\n"
    "  --help     print this text and exit\n"
    "  --version  print the program's version and exit\n"
    "\n"
    "toolkit options (before FILE; each may be shortened as shown):\n";

void printhelp() {
  fputs(USAGE, stdout);
  // The toolkit's own list, one option a line, indented like ours.
  std::string list = Fl::help;
  size_t at = 0;
  while (at < list.size()) {
    size_t end = list.find('\n', at);
    if (end == std::string::npos) end = list.size();
    std::string row = list.substr(at, end - at);
    size_t first = row.find_first_not_of(' ');
    if (first != std::string::npos) printf("  %s\n", row.c_str() + first);
    at = end + 1;
  }
  printf("\nSee tessarin(1), tessarin-cli(1) and the Help menu.\n");
}

}  // namespace

int infoswitches(int argc, char** argv) {
  for (int i = 1; i < argc; i++) {
    if (!strcmp(argv[i], "--version")) {
      printf("%s\n", versionline());
      return 0;
    }
    if (!strcmp(argv[i], "--help")) {
      printhelp();
      return 0;
    }
  }
  return -1;
}

// Shown once the main window is up, so the message is not hidden under it.
static void showoneopen(void* text) {
  showmessagewindow((const char*)text, 4);
}

void sayoneopen(const char* first, int extra) {
  static char text[160];
  const char* base = strrchr(first, '/');
  base = base ? base + 1 : first;
  snprintf(text, sizeof text,
           "Only one diagram is open at a time: opened %.60s, not the %d "
           "other%s.",
           base, extra, extra == 1 ? "" : "s");
  Fl::add_timeout(0.5, showoneopen, text);
}
