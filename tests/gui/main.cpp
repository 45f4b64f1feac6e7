// The window tests' entry: the program's own start-up on the virtual
// display, then every test against that one window.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/startup.h"
#include "tests/gui/guitest.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  // Preferences are read from and created in HOME: keep the user's own.
  std::string home = std::string(TESSARIN_BINARY_DIR) + "/guitest-home";
  std::string mk = "mkdir -p '" + home + "'";
  if (system(mk.c_str()) != 0) return 2;
  setenv("HOME", home.c_str(), 1);
  // Recovery files of earlier runs (which end without cleaning up) would
  // be offered at start-up: each run starts with none.
  std::string state = home + "/state";
  std::string rm = "rm -rf '" + state + "'";
  if (system(rm.c_str()) != 0) return 2;
  setenv("XDG_STATE_HOME", state.c_str(), 1);
  // A fresh preferences file without the tips window at start-up.
  FILE* prefs = fopen((home + "/.tessarinrc").c_str(), "w");
  if (!prefs) return 2;
  // A fixed size: the tests place their points in pixels of 400 x 450.
  fputs("size 400 450\nnotips\n", prefs);
  fclose(prefs);
  char* args[] = {argv[0], nullptr};
  int status = startup(1, args);
  if (status) return status;
  pump(0.5);
  int rc = RUN_ALL_TESTS();
  fflush(stdout);
  _exit(rc);  // no exit-time question, no toolkit teardown
}
