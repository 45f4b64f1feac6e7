// main.cpp: the program: start-up, then the toolkit's event loop.
#include <FL/Fl.H>

#include <csignal>

#include "app/cmdline.h"
#include "app/startup.h"

int main(int argc, char** argv) {
  int status = infoswitches(argc, argv);
  if (status >= 0) return status;
  // Beyond the file size limit a save fails with EFBIG and says so, instead
  // of a signal ending the program with the work unsaved.
  signal(SIGXFSZ, SIG_IGN);
  status = startup(argc, argv);
  if (status) return status;
  Fl::run();
  return 0;
}
