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
#include "render/colors.h"
#include "render/view.h"

namespace fs = std::filesystem;

namespace {

std::vector<std::string> alerts;
void recordalert(const char* text) {
  alerts.push_back(text);
}

std::string readfile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

void writefile(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

struct Prefs : ::testing::Test {
  std::string dir;
  std::string path;
  std::string savedhome;
  bool hadhome = false;

  void SetUp() override {
    resetall();
    alerts.clear();
    alerthook = recordalert;
    char tmpl[] = "/tmp/tessarin-prefs-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    dir = tmpl;
    path = dir + "/.tessarinrc";
    if (const char* h = getenv("HOME")) {
      hadhome = true;
      savedhome = h;
    }
  }
  void TearDown() override {
    resetall();
    if (hadhome)
      setenv("HOME", savedhome.c_str(), 1);
    else
      unsetenv("HOME");
    chmod(dir.c_str(), 0755);
    fs::remove_all(dir);
  }

  // Saves the current settings to `path` and returns the file's text.
  std::string saved() {
    EXPECT_EQ(savedefaultspath(path.c_str()), 1);
    return readfile(path);
  }
};

TEST_F(Prefs, ProgramDefaults) {
  EXPECT_STREQ(browsername, "explorer.exe");
  EXPECT_STREQ(printcmdstring, "");
  EXPECT_EQ(WIDTH, 400);
  EXPECT_EQ(HEIGHT, 450);
  EXPECT_EQ(bigfont, 0);
  EXPECT_EQ(singlebuffer, 0);
  EXPECT_EQ(showthetips, 1);
  EXPECT_EQ(showinfomsg, 1);
  EXPECT_EQ(showthelayers, 0);
  EXPECT_EQ(edittextsize, 12);
  EXPECT_EQ(gvertexsize, 8);
  EXPECT_EQ(gfontsize, 16);
  EXPECT_EQ(fontsize, 16);
  EXPECT_EQ(fontnumber, 0);
  EXPECT_EQ(fontstyle, 0);
  EXPECT_EQ(rgbmode, 1);
  EXPECT_EQ(printbw, 0);
  EXPECT_EQ(addvertexnames, 1);
}

// One row: the globals that matter are set to `before`, the line is read,
// and `*var` must then hold `after`.
struct intcase {
  const char* line;
  int* var;
  int before;
  int after;
};

TEST_F(Prefs, NumbersAndTheirRanges) {
  const intcase cases[] = {
      /* 0 */ {"fontsize 60", &fontsize, 16, 16},
      /* 1 */ {"fontsize 24", &fontsize, 16, 24},
      /* 2 */ {"fontsize 5", &fontsize, 20, 16},
      /* 3 */ {"fontsize 6", &fontsize, 16, 6},
      /* 4 */ {"fontsize 50", &fontsize, 16, 50},
      /* 5 */ {"fontsize 51", &fontsize, 20, 16},
      /* 6 */ {"fontsize abc", &fontsize, 24, 24},  // unreadable: kept
      /* 7 */ {"fontsize abc", &fontsize, 3, 16},   // kept, then tested
      /* 8 */ {"vertexsize 3", &gvertexsize, 8, 8},
      /* 9 */ {"vertexsize 4", &gvertexsize, 8, 4},
      /* 10 */ {"vertexsize 40", &gvertexsize, 8, 40},
      /* 11 */ {"vertexsize 41", &gvertexsize, 12, 8},
      /* 12 */ {"vertexsize -7", &gvertexsize, 12, 8},
      /* 13 */ {"edittextsize 31", &edittextsize, 12, 14},
      /* 14 */ {"edittextsize 30", &edittextsize, 12, 30},
      /* 15 */ {"edittextsize 6", &edittextsize, 12, 6},
      /* 16 */ {"edittextsize 5", &edittextsize, 12, 14},
      /* 17 */ {"edittextsize 0", &edittextsize, 12, 14},
      /* 18 */ {"edittextsize 99999999999999999999", &edittextsize, 12, 14},
      /* 19 */ {"edittextsize 32", &edittextsize, 12, 32},  // dialog's 32 pt
      /* 20 */ {"edittextsize 33", &edittextsize, 12, 14},
      /* 21 */ {"edittextsize x", &edittextsize, 32, 32},
      /* 22 */ {"size 100 900", &WIDTH, 400, 200},
      /* 23 */ {"size 100 900", &HEIGHT, 450, 900},
      /* 24 */ {"size 640 150", &HEIGHT, 450, 200},
      /* 25 */ {"size 640 150", &WIDTH, 400, 640},
      /* 26 */ {"size abc 700", &HEIGHT, 450, 450},  // stops at the first
      /* 27 */ {"size 300", &WIDTH, 400, 300},
      /* 28 */ {"size 300", &HEIGHT, 450, 450},
      /* 29 */ {"size x", &WIDTH, 150, 200},  // kept, then raised
      /* 30 */ {"fontstyle BOLDITALIC", &fontstyle, 0, 3},
      /* 31 */ {"fontstyle BOLD", &fontstyle, 0, 1},
      /* 32 */ {"fontstyle ITALIC", &fontstyle, 0, 2},
      /* 33 */ {"fontstyle PLAIN", &fontstyle, 2, 0},
      /* 34 */ {"fontstyle bold", &fontstyle, 2, 2},  // words are exact
      /* 35 */ {"fontstyle HEAVY", &fontstyle, 1, 1},
      /* 36 */ {"fontstyle BOLDER", &fontstyle, 0, 1},  // prefix of value
      /* 37 */ {"displayfont TIMES", &fontnumber, 0, 8},
      /* 38 */ {"displayfont COURIER", &fontnumber, 0, 4},
      /* 39 */ {"displayfont HELVETICA", &fontnumber, 8, 0},
      /* 40 */ {"displayfont ARIAL", &fontnumber, 8, 8},
      /* 41 */ {"displayfont TIMESROMAN", &fontnumber, 0, 8},
      /* 42 */ {"displayfont", &fontnumber, 4, 4},
  };
  for (size_t i = 0; i < sizeof cases / sizeof cases[0]; i++) {
    resetall();
    *cases[i].var = cases[i].before;
    parsedefaultline(cases[i].line);
    EXPECT_EQ(*cases[i].var, cases[i].after)
        << "case " << i << ": " << cases[i].line;
  }
  // the screen size and the PostScript size move together
  resetall();
  parsedefaultline("fontsize 60");
  EXPECT_EQ(gfontsize, 16);
  parsedefaultline("fontsize 24\n");
  EXPECT_EQ(gfontsize, 24);
}

TEST_F(Prefs, SwitchesAndTheirPrefixes) {
  const intcase cases[] = {
      /* 0 */ {"printbw", &printbw, 0, 1},
      /* 1 */ {"bigfont", &bigfont, 0, 1},
      /* 2 */ {"notips", &showthetips, 1, 0},
      /* 3 */ {"singlebuffer", &singlebuffer, 0, 1},
      /* 4 */ {"rgbmode", &rgbmode, 0, 1},
      /* 5 */ {"indexmode", &rgbmode, 1, 0},
      /* 6 */ {"nonames", &addvertexnames, 1, 0},
      /* 7 */ {"nomsginfo", &showinfomsg, 1, 0},
      /* 8 */ {"layershow", &showthelayers, 0, 1},
      /* 9 */ {"notips please\n", &showthetips, 1, 0},  // keyword is prefix
      /* 10 */ {"printbwx", &printbw, 0, 1},
      /* 11 */ {" notips", &showthetips, 1, 1},  // must start the line
      /* 12 */ {"NOTIPS", &showthetips, 1, 1},   // keywords are exact
      /* 13 */ {"notip", &showthetips, 1, 1},    // line shorter than word
      /* 14 */ {"# notips", &showthetips, 1, 1},
      /* 15 */ {"", &showthetips, 1, 1},
      /* 16 */ {"sizeable", &WIDTH, 400, 400},  // size wins, no number
      /* 17 */ {"nonames\r", &addvertexnames, 1, 0},
  };
  for (size_t i = 0; i < sizeof cases / sizeof cases[0]; i++) {
    resetall();
    *cases[i].var = cases[i].before;
    parsedefaultline(cases[i].line);
    EXPECT_EQ(*cases[i].var, cases[i].after)
        << "case " << i << ": " << cases[i].line;
  }
}

TEST_F(Prefs, TextValues) {
  parsedefaultline("browser firefox --new-window\n");
  EXPECT_STREQ(browsername, "firefox --new-window");
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
  parsedefaulttext(text.c_str());
  EXPECT_EQ(WIDTH, 640);
  EXPECT_EQ(HEIGHT, 480);
  EXPECT_EQ(strncmp(printcmdstring, "aaaa", 4), 0);
  EXPECT_EQ(fontsize, 20);
  EXPECT_EQ(showthetips, 0);
  EXPECT_EQ(fontnumber, 4);
  EXPECT_EQ(fontstyle, 2);  // last line without a newline still counts

  resetall();
  writefile(path, text + "\n");
  EXPECT_EQ(parsedefaultpath(path.c_str()), 1);
  EXPECT_EQ(WIDTH, 640);
  EXPECT_EQ(HEIGHT, 480);
  EXPECT_EQ(fontsize, 20);
  EXPECT_EQ(gfontsize, 20);
  EXPECT_EQ(fontnumber, 4);
  EXPECT_EQ(fontstyle, 2);
  EXPECT_EQ(strlen(printcmdstring), (size_t)PRINTCMDSIZE - 1);
}

TEST_F(Prefs, MissingFileIsCreatedUnreachableOneIsNot) {
  EXPECT_FALSE(fs::exists(path));
  EXPECT_EQ(parsedefaultpath(path.c_str()), 1);
  EXPECT_TRUE(fs::exists(path));
  EXPECT_EQ(readfile(path), "");
  EXPECT_EQ(WIDTH, 400);

  std::string nowhere = dir + "/no/such/dir/.tessarinrc";
  EXPECT_EQ(parsedefaultpath(nowhere.c_str()), 0);
  EXPECT_FALSE(fs::exists(nowhere));
  EXPECT_EQ(showthetips, 1);
  EXPECT_TRUE(alerts.empty());  // nothing is reported
}

TEST_F(Prefs, FreshInstallationWritesOnlyTheBrowser) {
  EXPECT_EQ(saved(), "browser explorer.exe\n");
  edittextsize = 13;
  EXPECT_EQ(saved(), "browser explorer.exe\nedittextsize 13\n");
  browsername[0] = '\0';
  edittextsize = 12;
  EXPECT_EQ(saved(), "");
  EXPECT_TRUE(alerts.empty());
}

TEST_F(Prefs, EverySettingInItsOrder) {
  WIDTH = 800;
  HEIGHT = 600;
  strcpy(browsername, "lynx");
  strcpy(printcmdstring, "lpr -Pdesk %s");
  bigfont = 1;
  fontnumber = 8;
  fontstyle = 3;
  fontsize = 20;
  edittextsize = 18;
  gvertexsize = 10;
  printbw = 1;
  rgbmode = 0;
  showthetips = 0;
  addvertexnames = 0;
  showthelayers = 1;
  showinfomsg = 0;
  singlebuffer = 1;
  EXPECT_EQ(saved(),
            "size 800 600\n"
            "browser lynx\n"
            "printcmd lpr -Pdesk %s\n"
            "bigfont\n"
            "displayfont TIMES\n"
            "fontstyle BOLDITALIC\n"
            "fontsize 20\n"
            "edittextsize 18\n"
            "vertexsize 10\n"
            "printbw\n"
            "indexmode\n"
            "notips\n"
            "nonames\n"
            "layershow\n"
            "nomsginfo\n"
            "singlebuffer\n");
  fontnumber = 4;
  fontstyle = 1;
  EXPECT_NE(saved().find("displayfont COURIER\nfontstyle BOLD\n"),
            std::string::npos);
  fontnumber = 0;
  fontstyle = 2;
  std::string s = saved();
  EXPECT_EQ(s.find("displayfont"), std::string::npos);
  EXPECT_NE(s.find("fontstyle ITALIC\n"), std::string::npos);
}

TEST_F(Prefs, TooSmallAreaIsRaisedBeforeWriting) {
  WIDTH = 150;
  HEIGHT = 199;
  EXPECT_EQ(saved(), "size 200 200\nbrowser explorer.exe\n");
  EXPECT_EQ(WIDTH, 200);
  EXPECT_EQ(HEIGHT, 200);
  WIDTH = 400;
  HEIGHT = 120;
  EXPECT_EQ(saved(), "size 400 200\nbrowser explorer.exe\n");
}

// Sets a configuration, writes it, resets everything and reads it back.
struct config {
  int width, height, bigfont, fontnumber, fontstyle, fontsize, edittextsize,
      vertexsize, printbw, rgbmode, tips, names, layers, info, single;
  const char* browser;
  const char* printcmd;
};

void apply(const config& c) {
  WIDTH = c.width;
  HEIGHT = c.height;
  bigfont = c.bigfont;
  fontnumber = c.fontnumber;
  fontstyle = c.fontstyle;
  fontsize = gfontsize = c.fontsize;
  edittextsize = c.edittextsize;
  gvertexsize = c.vertexsize;
  printbw = c.printbw;
  rgbmode = c.rgbmode;
  showthetips = c.tips;
  addvertexnames = c.names;
  showthelayers = c.layers;
  showinfomsg = c.info;
  singlebuffer = c.single;
  strcpy(browsername, c.browser);
  strcpy(printcmdstring, c.printcmd);
}

void expectsame(const config& c, size_t i) {
  EXPECT_EQ(WIDTH, c.width) << i;
  EXPECT_EQ(HEIGHT, c.height) << i;
  EXPECT_EQ(bigfont, c.bigfont) << i;
  EXPECT_EQ(fontnumber, c.fontnumber) << i;
  EXPECT_EQ(fontstyle, c.fontstyle) << i;
  EXPECT_EQ(fontsize, c.fontsize) << i;
  EXPECT_EQ(gfontsize, c.fontsize) << i;
  EXPECT_EQ(edittextsize, c.edittextsize) << i;
  EXPECT_EQ(gvertexsize, c.vertexsize) << i;
  EXPECT_EQ(printbw, c.printbw) << i;
  EXPECT_EQ(rgbmode, c.rgbmode) << i;
  EXPECT_EQ(showthetips, c.tips) << i;
  EXPECT_EQ(addvertexnames, c.names) << i;
  EXPECT_EQ(showthelayers, c.layers) << i;
  EXPECT_EQ(showinfomsg, c.info) << i;
  EXPECT_EQ(singlebuffer, c.single) << i;
  EXPECT_STREQ(browsername, c.browser) << i;
  EXPECT_STREQ(printcmdstring, c.printcmd) << i;
}

TEST_F(Prefs, RoundTrips) {
  const config configs[] = {
      /* 0 */ {400, 450, 0, 0, 0, 16, 12, 8, 0, 1, 1, 1, 0, 1, 0,
               "explorer.exe", ""},
      /* 1 */
      {200, 200, 1, 8, 1, 6, 6, 4, 1, 0, 0, 0, 1, 0, 1, "w3m", "lpr %s"},
      /* 2 */
      {1920, 1080, 0, 4, 2, 50, 30, 40, 0, 1, 1, 0, 1, 1, 0, "explorer.exe",
       "lp -d office -o media=A4 %s"},
      /* 3 */
      {401, 449, 1, 0, 3, 32, 24, 12, 1, 1, 0, 1, 0, 0, 1, "open -a Browser",
       "gs -sDEVICE=pdfwrite -o out.pdf %s"},
  };
  for (size_t i = 0; i < sizeof configs / sizeof configs[0]; i++) {
    resetall();
    apply(configs[i]);
    ASSERT_EQ(savedefaultspath(path.c_str()), 1) << i;
    resetall();
    ASSERT_EQ(parsedefaultpath(path.c_str()), 1) << i;
    expectsame(configs[i], i);
  }
  EXPECT_TRUE(alerts.empty());
}

TEST_F(Prefs, HomeDirectoryFile) {
  setenv("HOME", dir.c_str(), 1);
  EXPECT_EQ(std::string(defaultfilename()), path);
  EXPECT_EQ(parsedefaultfile(), 1);  // created empty
  EXPECT_TRUE(fs::exists(path));
  gvertexsize = 12;
  showthelayers = 1;
  EXPECT_EQ(savedefaults(), 1);
  EXPECT_EQ(readfile(path), "browser explorer.exe\nvertexsize 12\nlayershow\n");
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

  // The new file cannot be created beside the old one (a directory is in
  // its way; this holds even for the superuser).
  fs::create_directory(path + ".new");
  EXPECT_EQ(savedefaultspath(path.c_str()), 0);
  ASSERT_EQ(alerts.size(), 1u);
  EXPECT_EQ(alerts[0], "Can't open defaults file");
  EXPECT_EQ(readfile(path), old);
  EXPECT_EQ(defaultfile, nullptr);
  fs::remove(path + ".new");

  // A directory that refuses new files (only binding without privileges).
  if (geteuid() != 0) {
    alerts.clear();
    chmod(dir.c_str(), 0555);
    EXPECT_EQ(savedefaultspath(path.c_str()), 0);
    EXPECT_EQ(alerts, std::vector<std::string>{"Can't open defaults file"});
    EXPECT_EQ(readfile(path), old);
    chmod(dir.c_str(), 0755);
  }

  // A directory that does not exist at all.
  alerts.clear();
  std::string nowhere = dir + "/missing/.tessarinrc";
  EXPECT_EQ(savedefaultspath(nowhere.c_str()), 0);
  EXPECT_EQ(alerts, std::vector<std::string>{"Can't open defaults file"});

  // Nothing is left behind, and a good write still works afterwards.
  alerts.clear();
  EXPECT_EQ(savedefaultspath(path.c_str()), 1);
  EXPECT_TRUE(alerts.empty());
  EXPECT_EQ(readfile(path), "browser explorer.exe\nlayershow\n");
  EXPECT_FALSE(fs::exists(path + ".new"));
}

TEST_F(Prefs, WriteFailingHalfwayKeepsTheOldOne) {
  const std::string old = "size 640 480\nbigfont\n";
  writefile(path, old);
  strcpy(printcmdstring, std::string(140, 'p').c_str());

  // Let the file system refuse every byte past the 16th, as a full disk
  // would; the settings to write are longer than that.
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
  EXPECT_EQ(alerts, std::vector<std::string>{"Can't open defaults file"});
  EXPECT_EQ(readfile(path), old);
  EXPECT_FALSE(fs::exists(path + ".new"));
}

TEST_F(Prefs, ReplacementKeepsLinkAndPermissions) {
  std::string real = dir + "/dotfiles-rc";
  writefile(real, "notips\n");
  chmod(real.c_str(), 0600);
  ASSERT_EQ(symlink(real.c_str(), path.c_str()), 0);
  fontsize = 20;
  EXPECT_EQ(savedefaultspath(path.c_str()), 1);
  EXPECT_TRUE(fs::is_symlink(path));
  EXPECT_EQ(readfile(real), "browser explorer.exe\nfontsize 20\n");
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
  EXPECT_EQ(readfile(path), "bigfont\n");
  EXPECT_FALSE(fs::exists(path + ".new"));
  EXPECT_EQ(closedefaultfile(), 0);  // nothing open: nothing renamed
  EXPECT_EQ(readfile(path), "bigfont\n");
}

TEST_F(Prefs, PrintCommandFromTheFile) {
  char cmd[256];
  parsedefaultline("printcmd lpr %s");
  ASSERT_EQ(formatprintcommand(cmd, sizeof cmd, "/tmp/geom1.ps"), 1);
  EXPECT_STREQ(cmd, "lpr /tmp/geom1.ps");

  struct row {
    const char* printcmd;
    const char* path;
    int ok;
    const char* cmd;
  };
  const row rows[] = {
      /* 0 */ {"lpr %s", "/tmp/geom1.ps", 1, "lpr /tmp/geom1.ps"},
      /* 1 */
      {"lp -n 2 %s && rm %s", "/tmp/a.ps", 1,
       "lp -n 2 /tmp/a.ps && rm /tmp/a.ps"},
      /* 2 */ {"lpr -o 100%% %s", "/tmp/a.ps", 1, "lpr -o 100% /tmp/a.ps"},
      /* 3 */ {"lpr %d %n %s", "/tmp/a.ps", 1, "lpr %d %n /tmp/a.ps"},
      /* 4 */ {"lpr %s", "/tmp/my dir/a.ps", 1, "lpr '/tmp/my dir/a.ps'"},
      /* 5 */ {"lpr %s", "/tmp/it's.ps", 1, "lpr '/tmp/it'\\''s.ps'"},
      /* 6 */ {"lpr %s", "/tmp/$(rm -rf x).ps", 1, "lpr '/tmp/$(rm -rf x).ps'"},
      /* 7 */ {"lpr", "/tmp/a.ps", 1, "lpr"},
      /* 8 */ {"lpr %", "/tmp/a.ps", 1, "lpr %"},
      /* 9 */ {"", "/tmp/a.ps", 0, ""},
  };
  for (size_t i = 0; i < sizeof rows / sizeof rows[0]; i++) {
    strcpy(printcmdstring, rows[i].printcmd);
    strcpy(cmd, "junk");
    EXPECT_EQ(formatprintcommand(cmd, sizeof cmd, rows[i].path), rows[i].ok)
        << i;
    EXPECT_STREQ(cmd, rows[i].cmd) << i;
  }
  // a command that does not fit is refused, not cut short
  strcpy(printcmdstring, "lpr %s");
  EXPECT_EQ(formatprintcommand(cmd, 17, "/tmp/geom1.ps"), 0);
  EXPECT_STREQ(cmd, "");
  EXPECT_EQ(formatprintcommand(cmd, 18, "/tmp/geom1.ps"), 1);
  EXPECT_STREQ(cmd, "lpr /tmp/geom1.ps");
}

}  // namespace
