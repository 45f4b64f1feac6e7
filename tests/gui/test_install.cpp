// Help > Examples: the chooser opens in the examples folder found beside
// the program, and the chosen example opens as with Open.
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "app/commands.h"
#include "app/chooser.h"
#include "app/files.h"
#include "app/geomwindow.h"
#include "app/ui.h"
#include "model/notify.h"
#include "model/worldlist.h"
#include "tests/gui/guitest.h"

namespace {

std::vector<std::string> starts;
std::string answer;  // empty: cancel

const char* pickexample(const char*, const char*, const char* start) {
  starts.push_back(start ? start : "");
  return answer.empty() ? nullptr : answer.c_str();
}
int cancelsave(const char*, const char*, const char*, const char*) {
  return 0;  // "Cancel" of the save question
}

TEST(Install, HelpExamplesOpensTheExamplesFolder) {
  cleardiagram();
  resetui();
  starts.clear();
  choosefilehook = pickexample;
  // The examples folder sits beside the help pages (copied into the build
  // folder, installed into share/tessarin).
  std::string dir = std::string(GetInstallDirURL()) + "/examples";
  std::string centres = dir + "/centres.T";
  ASSERT_EQ(access(centres.c_str(), R_OK), 0) << centres;

  answer.clear();  // cancelled: nothing changes
  handlemenu(100040);
  ASSERT_EQ(starts.size(), 1u);
  EXPECT_EQ(starts[0], dir + "/");
  EXPECT_EQ(countrecords(), 0);
  EXPECT_EQ(getcurrentfilename(), nullptr);

  answer = centres;
  handlemenu(100040);
  EXPECT_GT(countrecords(), 5);
  ASSERT_NE(getcurrentfilename(), nullptr);
  EXPECT_EQ(std::string(getcurrentfilename()), centres);
  EXPECT_EQ(std::string(main_window->label()), centres);
  EXPECT_TRUE(guialerts.empty());

  // A modified diagram asks first; Cancel keeps it and opens no chooser.
  setdirtyfile();
  choicehook = cancelsave;
  int records = countrecords();
  handlemenu(100040);
  EXPECT_EQ(starts.size(), 2u);
  EXPECT_EQ(countrecords(), records);
  choicehook = nullptr;
  choosefilehook = nullptr;
  cleardiagram();
  resetui();
}

}  // namespace
