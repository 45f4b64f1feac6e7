// The program started as a person starts it, with a preferences file that
// asks for a window far larger than any screen and a FIFO as its diagram:
// the window opens, inside the screen, without waiting on the FIFO.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>

namespace {

std::string run(const std::string& cmd) {
  std::string out;
  FILE* p = popen(cmd.c_str(), "r");
  if (!p) return out;
  char buf[256];
  while (fgets(buf, sizeof buf, p)) out += buf;
  pclose(p);
  return out;
}

TEST(StartUp, HostilePreferencesAndAFifoStillOpenTheWindow) {
  std::string bin = std::string(TESSARIN_BINARY_DIR) + "/tessarin";
  if (access(bin.c_str(), X_OK) != 0) GTEST_SKIP() << "no " << bin;
  std::string home = std::string(TESSARIN_BINARY_DIR) + "/startup-home";
  ASSERT_EQ(
      system(("rm -rf '" + home + "' && mkdir -p '" + home + "'").c_str()), 0);
  const char* const sizes[] = {"40000 40000", "2147483647 2147483647"};
  for (const char* size : sizes) {
    std::ofstream(home + "/.tessarinrc") << "notips\nsize " << size << "\n";
    std::string fifo = home + "/fifo.T";
    remove(fifo.c_str());
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    // The window's size once it shows (up to 20 s), then the screen's.
    std::string out = run(
        "cd '" + home + "' && HOME='" + home + "' '" + bin +
        "' fifo.T >/dev/null 2>&1 & pid=$!; w=; for i in $(seq 200); do "
        "w=$(xdotool search --onlyvisible --name 'No File Name' 2>/dev/null "
        "| head -1); [ -n \"$w\" ] && break; sleep 0.1; done; "
        "[ -n \"$w\" ] && xwininfo -id $w | awk '/Width:|Height:/ {print $2}'; "
        "xdotool getdisplaygeometry; kill $pid 2>/dev/null; wait $pid "
        "2>/dev/null");
    int w = 0, h = 0, sw = 0, sh = 0;
    ASSERT_EQ(sscanf(out.c_str(), "%d %d %d %d", &w, &h, &sw, &sh), 4)
        << size << ": " << out;
    EXPECT_LE(w, sw) << size;
    EXPECT_LE(h, sh) << size;
    EXPECT_GE(w, 200) << size;
  }
}

// The main window's width and height once it shows, started with the
// preferences `prefs` and, when `dpi` is not 0, Xft.dpi set to it.
void startsize(const std::string& prefs, int dpi, int* w, int* h) {
  std::string bin = std::string(TESSARIN_BINARY_DIR) + "/tessarin";
  std::string home = std::string(TESSARIN_BINARY_DIR) + "/startsize-home";
  ASSERT_EQ(
      system(("rm -rf '" + home + "' && mkdir -p '" + home + "'").c_str()), 0);
  std::ofstream(home + "/.tessarinrc") << prefs;
  std::string xrdb =
      dpi ? "echo 'Xft.dpi: " + std::to_string(dpi) + "' | xrdb -merge; "
          : "xrdb -remove; ";
  std::string out = run(
      xrdb + "HOME='" + home + "' '" + bin +
      "' >/dev/null 2>&1 & pid=$!; w=; for i in $(seq 200); do "
      // The program's own window: the tests' window may bear the same name.
      "w=$(xdotool search --onlyvisible --pid $pid --name 'No File Name' "
      "2>/dev/null | head -1); [ -n \"$w\" ] && break; sleep 0.1; done; "
      "sleep 0.5; "
      "[ -n \"$w\" ] && xwininfo -id $w | awk '/Width:|Height:/ {print $2}'; "
      "kill $pid 2>/dev/null; wait $pid 2>/dev/null; xrdb -remove");
  ASSERT_EQ(sscanf(out.c_str(), "%d %d", w, h), 2) << prefs << out;
}

TEST(StartUp, TheWindowFitsTheDisplayAndItsResolution) {
  std::string bin = std::string(TESSARIN_BINARY_DIR) + "/tessarin";
  if (access(bin.c_str(), X_OK) != 0) GTEST_SKIP() << "no " << bin;
  // The tests' screen is 1280 x 1024: without a size the drawing area is
  // a square of 2/3 * 1024 = 683 pixels, beside the 180-pixel panel,
  // between the 24-pixel menu bar and the 20-pixel status line.
  int w = 0, h = 0;
  startsize("notips\n", 0, &w, &h);
  EXPECT_EQ(w, 683 + 180);
  EXPECT_EQ(h, 683 + 24 + 20);
  // A saved size is kept.
  startsize("notips\nsize 500 520\n", 0, &w, &h);
  EXPECT_EQ(w, 500 + 180);
  EXPECT_EQ(h, 520 + 24 + 20);
  // At 192 dpi the panel and the menu bar are twice as large; the drawing
  // area keeps its pixels (the window may grow taller to show the panel).
  startsize("notips\n", 192, &w, &h);
  EXPECT_EQ(w, 683 + 360);
  EXPECT_GE(h, 683 + 48 + 20);
  // 120 dpi is still an ordinary display; the Scale choice overrides.
  startsize("notips\n", 120, &w, &h);
  EXPECT_EQ(w, 683 + 180);
  startsize("notips\nscale 150\n", 0, &w, &h);
  EXPECT_EQ(w, 683 + 270);
  EXPECT_GE(h, 683 + 36 + 20);
}

}  // namespace
