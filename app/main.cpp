// main.cpp: the program: start-up, then the toolkit's event loop.
#include <FL/Fl.H>

#include "app/cmdline.h"
#include "app/startup.h"

int main(int argc, char** argv) {
  int status = infoswitches(argc, argv);
  if (status >= 0) return status;
  status = startup(argc, argv);
  if (status) return status;
  Fl::run();
  return 0;
}
