// Where the program looks for its help pages and examples: the installed
// share/tessarin beside bin/, the build folder, and what a moved prefix
// or a missing tree gives.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <fstream>
#include <string>

#include "dist/datadir.h"

namespace {

struct datarow {
  const char* exe;  // under the scratch folder
  const char*
      pages;         // folders under the scratch folder holding html/Index.html
  const char* want;  // expected folder under the scratch folder; null: none
};

void makepage(const std::string& dir) {
  std::string cmd = "mkdir -p '" + dir + "/html'";
  ASSERT_EQ(system(cmd.c_str()), 0);
  std::ofstream(dir + "/html/Index.html") << "<html></html>\n";
}

TEST(DataDir, InstalledBuildAndMovedTrees) {
  const datarow rows[] = {
      // 1: installed, help pages under share/
      {"/p/bin/tessarin", "/p/share/tessarin", "/p/share/tessarin"},
      // 2: a build folder with html/ beside the program
      {"/b/tessarin", "/b", "/b"},
      // 3: both: the installed pages win
      {"/q/bin/tessarin", "/q/bin /q/share/tessarin", "/q/share/tessarin"},
      // 4: nothing installed, program in bin/: the installed place, so a
      // message names where the pages belong
      {"/r/bin/tessarin", "", "/r/share/tessarin"},
      // 5: nothing anywhere, program elsewhere: its own folder
      {"/s/out/tessarin", "", "/s/out"},
  };
  char tmpl[] = "/tmp/tessarin-datadir-XXXXXX";
  std::string root = mkdtemp(tmpl);
  int n = 0;
  for (const datarow& r : rows) {
    n++;
    std::string pages = r.pages;
    size_t at = 0;
    while (at < pages.size()) {
      size_t end = pages.find(' ', at);
      if (end == std::string::npos) end = pages.size();
      makepage(root + pages.substr(at, end - at));
      at = end + 1;
    }
    char out[4096];
    std::string exe = root + r.exe;
    ASSERT_EQ(datadirfor(exe.c_str(), out, sizeof out), 1) << "row " << n;
    EXPECT_EQ(out, root + r.want) << "row " << n;
  }
  // A relative name without a folder, and a buffer too small for the answer.
  char small[8];
  EXPECT_EQ(datadirfor("tessarin", small, sizeof small), 0);
  std::string exe = root + "/p/bin/tessarin";
  EXPECT_EQ(datadirfor(exe.c_str(), small, sizeof small), 0);
  std::string rm = "rm -rf '" + root + "'";
  EXPECT_EQ(system(rm.c_str()), 0);
}

}  // namespace
