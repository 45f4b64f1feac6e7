// The preferences file: every keyword, range fallbacks, the prefix rule,
// writing only what differs from the defaults, round trips, the safe
// replacement of the old file, and the print command built from it.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "model/notify.h"
#include "model/reset.h"
#include "model/worldlist.h"
#include "postscript/eps.h"
#include "prefs/preffile.h"
#include "prefs/printcommand.h"
#include "prefs/recent.h"
#include "render/colors.h"
#include "render/view.h"
#include "tests/langtest.h"

namespace fs = std::filesystem;

namespace {

using langtest::alerts;
const std::vector<std::string> cantopen = {"Can't open defaults file"};
using langtest::slurp;
using langtest::writefile;

struct Prefs : langtest::Lang {
  langtest::scratch tmp;
  std::string dir = tmp.dir, path = dir + "/.tessarinrc", savedhome;
  bool hadhome = false;

  void SetUp() override {
    Lang::SetUp();
    const char* h = getenv("HOME");
    hadhome = h != nullptr;
    if (h) savedhome = h;
  }
  void TearDown() override {
    resetall();
    if (hadhome)
      setenv("HOME", savedhome.c_str(), 1);
    else
      unsetenv("HOME");
  }

  // Saves the current settings to `path` and returns the file's text.
  std::string saved() {
    EXPECT_EQ(savedefaultspath(path.c_str()), 1);
    return slurp(path);
  }
};

// Each line of tests/data/prefs_lines.txt read with the setting at the
// value before: the setting then holds the value after.
TEST_F(Prefs, EachLineAndItsRange) {
#define V(x) \
  { #x, &x }
  const std::map<std::string, int*> vars = {
      V(fontsize),       V(gvertexsize), V(edittextsize),  V(WIDTH),
      V(HEIGHT),         V(fontstyle),   V(fontnumber),    V(printbw),
      V(bigfont),        V(showthetips), V(singlebuffer),  V(rgbmode),
      V(addvertexnames), V(showinfomsg), V(showthelayers), V(smoothdrawing)};
#undef V
  int n = 0;
  for (const auto& row : langtest::golden("prefs_lines.txt")) {
    std::string line = langtest::unescaped(row.first), var;
    std::istringstream in(row.second);
    for (int before, after; in >> var >> before >> after; n++) {
      resetall();
      *vars.at(var) = before;
      parsedefaultline(line.c_str());
      EXPECT_EQ(*vars.at(var), after) << line << " from " << before;
    }
  }
  EXPECT_EQ(n, 62);
  // the screen size and the PostScript size move together
  resetall();
  parsedefaultline("fontsize 60");
  EXPECT_EQ(gfontsize, 16);
  parsedefaultline("fontsize 24\n");
  EXPECT_EQ(gfontsize, 24);
}

TEST_F(Prefs, TextValues) {
  parsedefaultline("browser firefox --new-window\n");
  EXPECT_STREQ(browsername, "firefox --new-window");
  // The other platform's browser, which older files name, cannot run here.
  parsedefaultline("browser explorer.exe");
  EXPECT_STREQ(browsername, "xdg-open");
  parsedefaultline("printcmd lpr %s\r\n");
  EXPECT_STREQ(printcmdstring, "lpr %s");
  parsedefaultline("printcmd");
  EXPECT_STREQ(printcmdstring, "");
  parsedefaultline("browser");
  EXPECT_STREQ(browsername, "");
  // values are cut to their buffers, never overrun them
  std::string longcmd(300, 'x');
  parsedefaultline(("printcmd " + longcmd).c_str());
  EXPECT_EQ(strlen(printcmdstring), (size_t)PRINTCMDSIZE - 1);
  parsedefaultline(("browser " + longcmd).c_str());
  EXPECT_EQ(strlen(browsername), (size_t)BROWSERNAMESIZE - 1);
  // "printbw" is tried after "printcmd": the two never mix
  resetall();
  parsedefaultline("printbw");
  EXPECT_STREQ(printcmdstring, "");
  EXPECT_EQ(printbw, 1);
}

TEST_F(Prefs, WholeFilesAndOverlongLines) {
  // the tail of an overlong line must not be read as a setting of its own
  std::string longline = "printcmd " + std::string(191, 'a') + "size 900 900";
  ASSERT_GT(longline.size(), (size_t)PREFLINESIZE);
  std::string text = "size 640 480\n" + longline +
                     "\nunknown setting\nfontsize 20\nnotips\n"
                     "displayfont COURIER\nfontstyle ITALIC";
  for (int fromfile = 0; fromfile < 2; fromfile++) {
    resetall();
    if (fromfile) {
      writefile(path, text + "\n");
      EXPECT_EQ(parsedefaultpath(path.c_str()), 1);
    } else {
      parsedefaulttext(text.c_str());
    }
    EXPECT_EQ(WIDTH, 640);
    EXPECT_EQ(HEIGHT, 480);
    EXPECT_EQ(strlen(printcmdstring), (size_t)PRINTCMDSIZE - 1);
    EXPECT_EQ(strncmp(printcmdstring, "aaaa", 4), 0);
    EXPECT_EQ(fontsize, 20);
    EXPECT_EQ(gfontsize, 20);
    EXPECT_EQ(showthetips, 0);
    EXPECT_EQ(fontnumber, 4);
    EXPECT_EQ(fontstyle, 2);  // a last line without a newline counts
  }
}

TEST_F(Prefs, MissingFileIsCreatedUnreachableOneIsNot) {
  EXPECT_EQ(parsedefaultpath(path.c_str()), 1);
  EXPECT_TRUE(fs::exists(path));
  EXPECT_EQ(slurp(path), "");
  // An empty file leaves the program's defaults.
  EXPECT_EQ((std::vector<int>{WIDTH, HEIGHT, bigfont, singlebuffer, showthetips,
                              showinfomsg, showthelayers, edittextsize,
                              gvertexsize, gfontsize, fontsize, fontnumber,
                              fontstyle, rgbmode, printbw, addvertexnames}),
            (std::vector<int>{400, 450, 0, 0, 1, 1, 0, 12, 8, 16, 16, 0, 0, 1,
                              0, 1}));
  EXPECT_STREQ(browsername, "xdg-open");
  EXPECT_STREQ(printcmdstring, "");

  std::string nowhere = dir + "/no/such/dir/.tessarinrc";
  EXPECT_EQ(parsedefaultpath(nowhere.c_str()), 0);
  EXPECT_FALSE(fs::exists(nowhere));
  EXPECT_EQ(showthetips, 1);
  EXPECT_TRUE(alerts().empty());  // nothing is reported
}

TEST_F(Prefs, OnlyWhatDiffersIsWritten) {
  EXPECT_EQ(saved(), "browser xdg-open\n");
  browsername[0] = '\0';
  EXPECT_EQ(saved(), "");
  // A too small area is raised before writing.
  strcpy(browsername, "xdg-open");
  WIDTH = 150;
  HEIGHT = 199;
  EXPECT_EQ(saved(), "size 200 200\nbrowser xdg-open\n");
  EXPECT_EQ(WIDTH, 200);
  EXPECT_EQ(HEIGHT, 200);
  WIDTH = 400;
  HEIGHT = 120;
  EXPECT_EQ(saved(), "size 400 200\nbrowser xdg-open\n");
  EXPECT_TRUE(alerts().empty());
}

// Each file of tests/data/prefs_files.txt reads and writes back the same.
TEST_F(Prefs, RoundTrips) {
  for (const auto& file : langtest::golden("prefs_files.txt")) {
    const std::string& text = file.second;
    resetall();
    parsedefaulttext(text.c_str());
    EXPECT_EQ(saved(), text);
    resetall();
    ASSERT_EQ(parsedefaultpath(path.c_str()), 1);
    EXPECT_EQ(saved(), text);
  }
  EXPECT_TRUE(alerts().empty());
}

TEST_F(Prefs, HomeDirectoryFile) {
  setenv("HOME", dir.c_str(), 1);
  EXPECT_EQ(std::string(defaultfilename()), path);
  EXPECT_EQ(parsedefaultfile(), 1);  // created empty
  EXPECT_TRUE(fs::exists(path));
  gvertexsize = 12;
  showthelayers = 1;
  EXPECT_EQ(savedefaults(), 1);
  EXPECT_EQ(slurp(path), "browser xdg-open\nvertexsize 12\nlayershow\n");
  resetall();
  EXPECT_EQ(parsedefaultfile(), 1);
  EXPECT_EQ(gvertexsize, 12);
  EXPECT_EQ(showthelayers, 1);
  unsetenv("HOME");
  EXPECT_STREQ(defaultfilename(), "./.tessarinrc");
  setenv("HOME", "", 1);  // not the root directory
  EXPECT_STREQ(defaultfilename(), "./.tessarinrc");
}

TEST_F(Prefs, UnwritableFileKeepsTheOldOne) {
  const std::string old = "size 640 480\nprintcmd lpr %s\nnotips\n";
  writefile(path, old);
  showthelayers = 1;
  // A folder where the file should be (refused even to the superuser).
  EXPECT_EQ(savedefaultspath(dir.c_str()), 0);
  EXPECT_EQ(alerts(), cantopen);
  EXPECT_EQ(slurp(path), old);
  EXPECT_EQ(defaultfile, nullptr);
  alerts().clear();
  EXPECT_EQ(savedefaultspath((dir + "/missing/.tessarinrc").c_str()), 0);
  EXPECT_EQ(alerts(), cantopen);
  // Nothing is left behind, and a good write still works afterwards.
  alerts().clear();
  EXPECT_EQ(saved(), "browser xdg-open\nlayershow\n");
  EXPECT_TRUE(alerts().empty());
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), {}), 1);
}

TEST_F(Prefs, WriteFailingHalfwayKeepsTheOldOne) {
  const std::string old = "size 640 480\nbigfont\n";
  writefile(path, old);
  strcpy(printcmdstring, std::string(140, 'p').c_str());
  // The file system refuses every byte past the 16th, as a full disk would.
  struct rlimit saved;
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  struct rlimit small = saved;
  small.rlim_cur = 16;
  void (*oldhandler)(int) = signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  int ok = savedefaultspath(path.c_str());
  setrlimit(RLIMIT_FSIZE, &saved);
  signal(SIGXFSZ, oldhandler);

  EXPECT_EQ(ok, 0);
  EXPECT_EQ(alerts(), cantopen);
  EXPECT_EQ(slurp(path), old);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), {}), 1);
}

TEST_F(Prefs, ReplacementKeepsLinkAndPermissions) {
  std::string real = dir + "/dotfiles-rc";
  writefile(real, "notips\n");
  chmod(real.c_str(), 0600);
  ASSERT_EQ(symlink(real.c_str(), path.c_str()), 0);
  fontsize = 20;
  EXPECT_EQ(savedefaultspath(path.c_str()), 1);
  EXPECT_TRUE(fs::is_symlink(path));
  EXPECT_EQ(slurp(real), "browser xdg-open\nfontsize 20\n");
  struct stat st;
  ASSERT_EQ(stat(real.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
}

TEST_F(Prefs, ResetDropsAnUnfinishedWrite) {
  writefile(path, "bigfont\n");
  ASSERT_EQ(openwritedefaultpath(path.c_str()), 1);
  ASSERT_NE(defaultfile, nullptr);
  dumpdefaults();
  resetall();
  EXPECT_EQ(defaultfile, nullptr);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), {}), 1);
  EXPECT_EQ(closedefaultfile(), 0);  // nothing open: nothing renamed
  EXPECT_EQ(slurp(path), "bigfont\n");
}

TEST_F(Prefs, PrintCommand) {
  const struct {
    const char *printcmd, *path;
    int ok;
    const char* cmd;
  } rows[] = {
      {"lpr %s", "/tmp/geom1.ps", 1, "lpr /tmp/geom1.ps"},
      {"lp -n 2 %s && rm %s", "/tmp/a.ps", 1,
       "lp -n 2 /tmp/a.ps && rm /tmp/a.ps"},
      {"lpr -o 100%% %s", "/tmp/a.ps", 1, "lpr -o 100% /tmp/a.ps"},
      {"lpr %d %n %s", "/tmp/a.ps", 1, "lpr %d %n /tmp/a.ps"},
      {"lpr %s", "/tmp/my dir/a.ps", 1, "lpr '/tmp/my dir/a.ps'"},
      {"lpr %s", "/tmp/it's.ps", 1, "lpr '/tmp/it'\\''s.ps'"},
      {"lpr %s", "/tmp/$(rm -rf x).ps", 1, "lpr '/tmp/$(rm -rf x).ps'"},
      {"lpr", "/tmp/a.ps", 1, "lpr"},
      {"lpr %", "/tmp/a.ps", 1, "lpr %"},
      {"", "/tmp/a.ps", 0, ""},
  };
  char cmd[256];
  for (const auto& r : rows) {
    strcpy(printcmdstring, r.printcmd);
    strcpy(cmd, "junk");
    EXPECT_EQ(formatprintcommand(cmd, sizeof cmd, r.path), r.ok) << r.path;
    EXPECT_STREQ(cmd, r.cmd);
  }
  // a command that does not fit is refused, not cut short
  strcpy(printcmdstring, "lpr %s");
  EXPECT_EQ(formatprintcommand(cmd, 17, "/tmp/geom1.ps"), 0);
  EXPECT_STREQ(cmd, "");
  EXPECT_EQ(formatprintcommand(cmd, 18, "/tmp/geom1.ps"), 1);
  EXPECT_STREQ(cmd, "lpr /tmp/geom1.ps");
}

}  // namespace

namespace {
std::vector<std::string> recentlist() {
  return std::vector<std::string>(recentfiles, recentfiles + nrecent);
}
}  // namespace

TEST_F(Prefs, RecentFilesKeepTheirOrderAndTheOtherLines) {
  writefile(path, "notips\nrecent /old/one.T\nsize 500 600\nrecent /old/two.T");
  ASSERT_EQ(parsedefaultpath(path.c_str()), 1);
  EXPECT_EQ(recentlist(),
            (std::vector<std::string>{"/old/one.T", "/old/two.T"}));
  // Noting a listed path moves it up; a relative one is made absolute.
  std::string cwd = fs::current_path();
  ASSERT_EQ(chdir(dir.c_str()), 0);
  EXPECT_EQ(noterecentfile("/old/two.T"), 1);
  EXPECT_EQ(noterecentfile("new.T"), 1);
  ASSERT_EQ(chdir(cwd.c_str()), 0);
  EXPECT_EQ(recentlist(), (std::vector<std::string>{
                              dir + "/new.T", "/old/two.T", "/old/one.T"}));
  // A path that would not fit one line of the file is not kept.
  EXPECT_EQ(noterecentfile(("/" + std::string(200, 'x')).c_str()), 0);
  EXPECT_EQ(nrecent, 3);
  // Keeping the list rewrites only its own lines.
  ASSERT_EQ(saverecentpath(path.c_str()), 1);
  EXPECT_EQ(slurp(path), "notips\nsize 500 600\nrecent " + dir +
                             "/new.T\nrecent /old/two.T\nrecent /old/one.T\n");
  // Ten at most, the oldest falling off; dropping closes the gap.
  for (int i = 0; i < 12; i++)
    noterecentfile(("/d/" + std::to_string(i) + ".T").c_str());
  ASSERT_EQ(nrecent, NRECENT);
  EXPECT_EQ(recentlist().front(), "/d/11.T");
  EXPECT_EQ(recentlist().back(), "/d/2.T");
  droprecentfile(0);
  EXPECT_EQ(recentlist().front(), "/d/10.T");
  EXPECT_EQ(nrecent, NRECENT - 1);
  // The settings' own writer keeps the list too.
  EXPECT_NE(saved().find("recent /d/10.T\nrecent /d/9.T\n"), std::string::npos);
  // A file that is there but cannot be read is not replaced by its one
  // rewritten setting: the others would be lost.
  std::string fifo = dir + "/fifo";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_EQ(saverecentpath(fifo.c_str()), 0);
  EXPECT_EQ(savelastfolder("/tmp", fifo.c_str()), 0);
  struct stat st;
  ASSERT_EQ(stat(fifo.c_str(), &st), 0);
  EXPECT_TRUE(S_ISFIFO(st.st_mode));
}
