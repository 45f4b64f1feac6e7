// The program started as a person starts it: with a preferences file that
// asks for a window far larger than any screen and a FIFO as its diagram
// the window opens, inside the screen, without waiting on the FIFO; without
// a size it fits the display and its resolution.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>

namespace {

const std::string bin = std::string(TESSARIN_BINARY_DIR) + "/tessarin";

// Starts the program with the preferences `prefs`, the arguments `args`
// and, when `dpi` is not 0, Xft.dpi set to it; gives the main window's
// width and height once it shows (up to 20 s), then the screen's.
void startsize(const std::string& prefs, int dpi, const std::string& args,
               int size[4]) {
  std::string home = std::string(TESSARIN_BINARY_DIR) + "/startup-home";
  ASSERT_EQ(
      system(("rm -rf '" + home + "' && mkdir -p '" + home + "'").c_str()), 0);
  std::ofstream(home + "/.tessarinrc") << prefs;
  if (args == "fifo.T") {
    ASSERT_EQ(mkfifo((home + "/fifo.T").c_str(), 0600), 0);
  }
  std::string xrdb =
      dpi ? "echo 'Xft.dpi: " + std::to_string(dpi) + "' | xrdb -merge; "
          : "xrdb -remove; ";
  std::string cmd =
      xrdb + "cd '" + home + "' && HOME='" + home + "' '" + bin + "' " + args +
      " >/dev/null 2>&1 & pid=$!; w=; for i in $(seq 200); do "
      // The program's own window (all conditions, not any of them): the
      // tests' window may bear the same name.
      "w=$(xdotool search --all --onlyvisible --pid $pid --name "
      "'No File Name' "
      "2>/dev/null | head -1); [ -n \"$w\" ] && break; sleep 0.1; done; "
      "sleep 0.5; "
      "[ -n \"$w\" ] && xwininfo -id $w | awk '/Width:|Height:/ {print $2}'; "
      "xdotool getdisplaygeometry; "
      "kill $pid 2>/dev/null; wait $pid 2>/dev/null; xrdb -remove";
  std::string out;
  FILE* p = popen(cmd.c_str(), "r");
  ASSERT_NE(p, nullptr);
  char buf[256];
  while (fgets(buf, sizeof buf, p)) out += buf;
  pclose(p);
  ASSERT_EQ(sscanf(out.c_str(), "%d %d %d %d", &size[0], &size[1], &size[2],
                   &size[3]),
            4)
      << prefs << out;
}

TEST(StartUp, HostilePreferencesAndAFifoStillOpenTheWindow) {
  if (access(bin.c_str(), X_OK) != 0) GTEST_SKIP() << "no " << bin;
  for (const char* size : {"40000 40000", "2147483647 2147483647"}) {
    int s[4] = {0, 0, 0, 0};
    startsize(std::string("notips\nsize ") + size + "\n", 0, "fifo.T", s);
    EXPECT_LE(s[0], s[2]) << size;
    EXPECT_LE(s[1], s[3]) << size;
    EXPECT_GE(s[0], 200) << size;
  }
}

TEST(StartUp, TheWindowFitsTheDisplayAndItsResolution) {
  if (access(bin.c_str(), X_OK) != 0) GTEST_SKIP() << "no " << bin;
  // The tests' screen is 1280 x 1024: without a size the drawing area is
  // a square of 2/3 * 1024 = 683 pixels, beside the 180-pixel panel,
  // between the 24-pixel menu bar and the 20-pixel status line. A saved
  // size is kept. At 192 dpi the panel and the menu bar are twice as
  // large; the drawing area keeps its pixels (the window may grow taller
  // to show the panel). 120 dpi is still an ordinary display; the Scale
  // choice overrides.
  const struct {
    const char* prefs;
    int dpi, w, h, hexact;
  } rows[] = {{"notips\n", 0, 683 + 180, 683 + 24 + 20, 1},
              {"notips\nsize 500 520\n", 0, 500 + 180, 520 + 24 + 20, 1},
              {"notips\n", 192, 683 + 360, 683 + 48 + 20, 0},
              {"notips\n", 120, 683 + 180, 0, 0},
              {"notips\nscale 150\n", 0, 683 + 270, 683 + 36 + 20, 0}};
  for (const auto& r : rows) {
    int s[4] = {0, 0, 0, 0};
    startsize(r.prefs, r.dpi, "", s);
    EXPECT_EQ(s[0], r.w) << r.prefs << r.dpi;
    if (r.hexact) {
      EXPECT_EQ(s[1], r.h) << r.prefs << r.dpi;
    } else {
      EXPECT_GE(s[1], r.h) << r.prefs << r.dpi;
    }
  }
}

}  // namespace
