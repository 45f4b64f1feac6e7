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

}  // namespace
