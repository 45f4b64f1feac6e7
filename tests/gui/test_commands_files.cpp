// File commands with scripted dialogs: the chooser's defaults, extension
// rule and overwrite question; names too long for the buffer; the save
// questions; printing through the user's command; EPS names; the message
// window's limit; the help pages, the About box and Help > Examples; a
// failed open, the recovery question, the window manager's close, saves
// that cannot be written; File > Open Recent, kept in the preferences file
// and chosen through the real menu with X events.
#include "tests/gui/guitest.h"
// The rest after the test framework: X11's macros clash with it.
#include <FL/Fl_Button.H>
#include <FL/Fl_Menu_Item.H>
#include <FL/Fl_Window.H>
#include <FL/x.H>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

#include "app/chooser.h"
#include "app/construction.h"
#include "app/files.h"
#include "app/geomwindow.h"
#include "app/recentmenu.h"
#include "app/undo.h"
#include "history/history.h"
#include "history/recovery.h"
#include "language/writer.h"
#include "prefs/preffile.h"
#include "prefs/recent.h"

namespace {

strings questions;
std::vector<int> choiceanswers, askanswers, exits;

// The next scripted answer, or 0 when there is none left.
int nextanswer(std::vector<int>* q) {
  if (q->empty()) return 0;
  int a = q->front();
  q->erase(q->begin());
  return a;
}

int scriptedchoice(const char* q, const char*, const char*, const char*) {
  questions.push_back(q);
  return nextanswer(&choiceanswers);
}
int scriptedask(const char* q) {
  questions.push_back(q);
  return nextanswer(&askanswers);
}

std::string scratch;  // a fresh folder per test

struct Files : ::testing::Test {
  void SetUp() override {
    resetui();
    cleardiagram();  // after: it puts the scripted chooser in place
    questions.clear();
    for (auto* v : {&choiceanswers, &askanswers, &exits}) v->clear();
    choicehook = scriptedchoice;
    askhook = scriptedask;
    exithook = [](int status) { exits.push_back(status); };
    scratch = testfolder("guitest-files");
  }
  void TearDown() override {
    resetui();
    choicehook = nullptr;
    askhook = nullptr;
    printcmdstring[0] = 0;
  }
};

std::string title() {
  return main_window->label();
}

const auto count = langtest::occurrences;

std::string cwd() {
  char buf[4096];
  return getcwd(buf, sizeof buf) ? buf : "";
}

TEST_F(Files, ChooserDefaultsExtensionsAndOverwrite) {
  // Saving without a name or a last folder offers GeomFile.T in the
  // working folder; cancel keeps none.
  lastfolder[0] = 0;
  EXPECT_EQ(collectfilename("File name:", 0), nullptr);
  ASSERT_EQ(chooserstarts.size(), 1u);
  EXPECT_EQ(chooserstarts[0], cwd() + "/GeomFile.T");
  EXPECT_EQ(chooserfilters[0], "Tessarin Files (*.[DTdt])");
  EXPECT_EQ(getcurrentfilename(), nullptr);
  EXPECT_EQ(title(), "No File Name");
  struct row {
    const char* chosen;
    std::string expect;
  };
  const row rows[] = {{"drawing", "drawing.T"},
                      {"a.d", "a.d"},
                      {"a.t", "a.t"},
                      {"a.geo", "a.geo.T"},
                      {"b.x", "b.x.T"}};
  for (const row& r : rows) {
    std::string path = scratch + "/" + r.chosen;
    chooseranswers = {path};
    const char* got = collectfilename("File name:", 0);
    ASSERT_NE(got, nullptr) << r.chosen;
    EXPECT_EQ(std::string(got), scratch + "/" + r.expect);
    EXPECT_EQ(title(), scratch + "/" + r.expect);
  }
  // An existing file: declining the overwrite keeps the name we had.
  std::string keep = getcurrentfilename();
  std::string there = scratch + "/there.T";
  std::ofstream(there) << "x";
  chooseranswers = {there};
  askanswers = {0};
  EXPECT_EQ(collectfilename("File name:", 0), nullptr);
  EXPECT_EQ(questions.back(), "File Exists: Overwrite it?");
  EXPECT_EQ(std::string(getcurrentfilename()), keep);
  chooseranswers = {there};
  askanswers = {1};
  EXPECT_NE(collectfilename("File name:", 0), nullptr);
  EXPECT_EQ(std::string(getcurrentfilename()), there);
  // Save As starts in the diagram's folder with its name.
  EXPECT_EQ(collectfilename("File name:", 0), nullptr);
  EXPECT_EQ(chooserstarts.back(), there);
  // A name typed without a folder is taken in the folder shown.
  std::string sub = scratch + "/sub";
  ASSERT_EQ(mkdir(sub.c_str(), 0700), 0);
  setcurrentfilename((sub + "/x.T").c_str());
  chooseranswers = {"tri"};
  ASSERT_NE(collectfilename("File name:", 0), nullptr);
  EXPECT_EQ(std::string(getcurrentfilename()), sub + "/tri.T");
  // The folder chosen from is remembered in the preferences file.
  EXPECT_EQ(std::string(lastfolder), sub);
  EXPECT_NE(readtext(defaultfilename()).find("lastfolder " + sub + "\n"),
            std::string::npos);
  // Reading never asks about overwriting; without a name it starts in the
  // last folder, and a cancel leaves no name behind.
  clearcurrentfilename();
  size_t asked = questions.size();
  EXPECT_EQ(collectfilename("File name:", 1), nullptr);
  EXPECT_EQ(chooserstarts.back(), sub + "/");
  // A last folder that has gone: the working folder.
  std::string gone = scratch + "/gone";
  ASSERT_EQ(mkdir(gone.c_str(), 0700), 0);
  snprintf(lastfolder, PREFLINESIZE, "%s", gone.c_str());
  rmdir(gone.c_str());
  EXPECT_EQ(collectfilename("File name:", 1), nullptr);
  EXPECT_EQ(chooserstarts.back(), cwd() + "/");
  // A folder given as the file to read is refused with a reason.
  guialerts.clear();
  chooseranswers = {sub};
  EXPECT_EQ(collectfilename("File name:", 1), nullptr);
  EXPECT_EQ(guialerts, strings{sub + " is a folder, not a diagram file"});
  EXPECT_EQ(getcurrentfilename(), nullptr);
  chooseranswers = {there};
  EXPECT_NE(collectfilename("File name:", 1), nullptr);
  EXPECT_EQ(questions.size(), asked);
  // An empty choice forgets the name.
  chooseranswers = {""};
  EXPECT_EQ(collectfilename("File name:", 0), nullptr);
  EXPECT_EQ(getcurrentfilename(), nullptr);
  EXPECT_EQ(title(), "No File Name");
}

TEST_F(Files, EpsNamesAndNamesLongerThanTheBuffer) {
  char buf[FILENAMESIZE];
  const char* const eps[][2] = {{"x.T", "x.eps"},
                                {"/d/x.geo.T", "/d/x.geo.eps"},
                                {"x", "x.eps"},
                                {"", "./geom.eps"},
                                {nullptr, "./geom.eps"}};
  for (const auto& r : eps) {
    ASSERT_EQ(epspath(r[0], buf, sizeof buf), 1);
    EXPECT_STREQ(buf, r[1]);
  }
  std::string fits =
      "/tmp/" + std::string(FILENAMESIZE - 1 - 5 - 2, 'n') + ".T";
  ASSERT_EQ(fits.size(), (size_t)FILENAMESIZE - 1);
  EXPECT_EQ(setcurrentfilename(fits.c_str()), 1);
  EXPECT_EQ(std::string(currentfilename), fits);
  std::string toolong = fits + "x";
  EXPECT_EQ(setcurrentfilename(toolong.c_str()), 0);
  EXPECT_EQ(std::string(currentfilename), fits);  // unchanged
  ASSERT_EQ(guialerts.size(), 1u);
  EXPECT_EQ(guialerts[0].rfind("File name too long", 0), 0u) << guialerts[0];
  // From the chooser: the ".T" added would not fit either.
  std::string nearly(FILENAMESIZE - 2, 'm');
  chooseranswers = {nearly};
  EXPECT_EQ(collectfilename("File name:", 0), nullptr);
  EXPECT_EQ(std::string(currentfilename), fits);
  EXPECT_EQ(guialerts.size(), 2u);
  // Export names derived from a long name are refused, not cut.
  EXPECT_EQ(epspath(fits.c_str(), buf, sizeof buf), 0);
}

TEST_F(Files, PrintThroughTheUsersCommandWithAnAwkwardDirectory) {
  // A temporary directory with a blank, a quote and a semicolon: the shell
  // must see one file name.
  std::string dir = scratch + "/tmp dir; 'q'";
  ASSERT_EQ(mkdir(dir.c_str(), 0700), 0);
  setenv("TMP", dir.c_str(), 1);
  std::string out = scratch + "/printed.ps";
  snprintf(printcmdstring, PRINTCMDSIZE, "cp %%s '%s'", out.c_str());
  handlemenu(100006);
  unsetenv("TMP");
  EXPECT_TRUE(guialerts.empty()) << guialerts[0];
  ASSERT_TRUE(exists(out));
  EXPECT_EQ(system(("ls '" + dir + "'/geom*.ps 2>/dev/null").c_str()) == 0,
            false);  // the print file is gone once printed
  EXPECT_EQ(readtext(out).rfind("%!PS-Adobe", 0), 0u);
  // Without a print command: the explanation, then "Print failed".
  printcmdstring[0] = 0;
  guialerts.clear();
  handlemenu(100006);
  ASSERT_EQ(guialerts.size(), 2u);
  EXPECT_EQ(guialerts[0],
            "No print command in Preferences file.\nUnder the Edit pulldown, "
            "use Edit Preferences.\nAlso look under Help:Documentation:"
            "Printing.");
  EXPECT_EQ(guialerts[1], "Print failed");
}

TEST_F(Files, SaveEpsThroughTheChooser) {
  // The chooser offers the EPS name beside the diagram.
  std::string name = scratch + "/fig.T";
  setcurrentfilename(name.c_str());
  std::string eps = scratch + "/fig.eps";
  chooseranswers = {"fig.eps"};  // typed: inside the folder shown
  handlemenu(100012);
  ASSERT_EQ(chooserstarts.size(), 1u);
  EXPECT_EQ(chooserstarts[0], eps);
  ASSERT_TRUE(exists(eps));
  EXPECT_EQ(readtext(eps).rfind("%!PS-Adobe-2.0 EPSF-1.2", 0), 0u);
  EXPECT_EQ(guimessages, strings{"Saved EPS file " + eps});
  // Cancelled: nothing written.
  unlink(eps.c_str());
  handlemenu(100012);
  EXPECT_FALSE(exists(eps));
  // A folder that does not exist: the reason, then "Print failed".
  std::string bad = scratch + "/no/such/fig.eps";
  chooseranswers = {bad};
  handlemenu(100012);
  ASSERT_EQ(guialerts.size(), 2u);
  EXPECT_EQ(guialerts[0],
            "Couldn't open " + bad + ": No such file or directory");
  EXPECT_EQ(guialerts[1], "Print failed");
}

TEST_F(Files, SaveQuestionsNewAndQuit) {
  setdirtyfile();
  EXPECT_EQ(title(), "No File Name");  // no modified mark without a name
  choiceanswers = {0};                 // Cancel
  EXPECT_EQ(askdirty1(), 1);
  EXPECT_EQ(questions.back(), "File modified -- save changes?");
  EXPECT_EQ(dirtyfile, 1);
  // New, cancelled: the diagram stays.
  vertex* v = addpoint(0, 0);
  setcurrentfilename("/x/keep.T");
  choiceanswers = {0};
  handlemenu(100001);
  EXPECT_EQ(plist, v);
  EXPECT_EQ(std::string(getcurrentfilename()), "/x/keep.T");
  // New, No: the changes are dropped.
  choiceanswers = {2};
  handlemenu(100001);
  EXPECT_EQ(plist, nullptr);
  EXPECT_EQ(dirtyfile, 0);
  EXPECT_EQ(getcurrentfilename(), nullptr);
  EXPECT_EQ(title(), "No File Name");
  EXPECT_EQ(UIstate, 0);
  // Quit: Cancel keeps running; No ends with status 0.
  dirtyfile = 1;
  choiceanswers = {0};
  handlemenu(100007);
  EXPECT_TRUE(exits.empty());
  choiceanswers = {2};
  handlemenu(100007);
  ASSERT_EQ(exits.size(), 1u);
  EXPECT_EQ(exits[0], 0);
  // Quit-No Save asks nothing.
  dirtyfile = 1;
  size_t asked = questions.size();
  handlemenu(200239);
  EXPECT_EQ(exits.size(), 2u);
  EXPECT_EQ(questions.size(), asked);
  EXPECT_EQ(dirtyfile, 0);
}

TEST_F(Files, AFailedSaveKeepsTheDiagramModified) {
  std::string bad = scratch + "/missing/dir/x.T";
  setcurrentfilename(bad.c_str());
  dirtyfile = 1;
  EXPECT_EQ(savecurrentfile(1), 0);
  EXPECT_EQ(dirtyfile, 1);
  EXPECT_FALSE(guialerts.empty());
  EXPECT_TRUE(guimessages.empty());  // no "File Saved"
  EXPECT_EQ(getcurrentfilename(), nullptr);
  // The save question repeats while saving fails; No ends it.
  setcurrentfilename(bad.c_str());
  choiceanswers = {1, 2};
  EXPECT_EQ(askdirty1(), 0);
  EXPECT_EQ(questions.size(), 2u);
  EXPECT_EQ(dirtyfile, 0);
}

TEST_F(Files, ASaveCutShortLeavesThePreviousFileWhole) {
  std::string a = scratch + "/keep.T";
  const std::string original = ".geometry \"version 0.65\";\n";
  std::ofstream(a) << original;
  setcurrentfilename(a.c_str());
  for (int i = 0; i < 40; i++) addpoint(0.01 * i, 0);
  ASSERT_EQ(dirtyfile, 1);
  // Writes past 64 bytes fail (EFBIG) while the limit holds.
  struct rlimit old;
  getrlimit(RLIMIT_FSIZE, &old);
  struct rlimit small = old;
  small.rlim_cur = 64;
  void (*oldhandler)(int) = signal(SIGXFSZ, SIG_IGN);
  setrlimit(RLIMIT_FSIZE, &small);
  handlemenu(100003);
  setrlimit(RLIMIT_FSIZE, &old);
  signal(SIGXFSZ, oldhandler);
  EXPECT_EQ(readtext(a), original);
  EXPECT_EQ(dirtyfile, 1);
  EXPECT_FALSE(guialerts.empty());
  EXPECT_TRUE(guimessages.empty());
  // With room again the same diagram saves.
  setcurrentfilename(a.c_str());
  handlemenu(100003);
  EXPECT_EQ(dirtyfile, 0);
  EXPECT_EQ(count(readtext(a), ".free("), 40);
}

TEST_F(Files, MessageWindowHelpAndAbout) {
  alertfn recordalert = alerthook;
  bindfltkdialogs();
  alerthook = recordalert;
  std::string longtext(MESSAGESIZE + 50, 'w');
  showmessagewindow(longtext.c_str(), 0.1);
  ASSERT_EQ(guialerts.size(), 1u);
  EXPECT_EQ(guialerts[0], longtext);  // whole, in an alert
  showmessagewindow("File Saved", 0.1);
  EXPECT_EQ(guialerts.size(), 1u);
  pump(0.3);
  cleardiagram();  // the recorders again
  // The help pages are installed beside the program.
  std::string dir = GetInstallDirURL();
  for (const char* page : {"Index.html", "Tutorial.html", "BasicRef.html"})
    EXPECT_TRUE(exists(dir + "/html/" + page)) << page;
  handlemenu(100009);
  EXPECT_TRUE(guialerts.empty());
  handlemenu(100014);
  ASSERT_EQ(guiinfos.size(), 1u);
  EXPECT_EQ(guiinfos[0].rfind("Tessarin Version 0.65\n", 0), 0u) << guiinfos[0];
  EXPECT_NE(guiinfos[0].find("the Tessarin developers"), std::string::npos);
  EXPECT_NE(guiinfos[0].find("/html/Index.html"), std::string::npos);
}

TEST_F(Files, OpenReopenInsertSaveAndSaveAs) {
  std::string a = scratch + "/a.T", b = scratch + "/b.T";
  std::ofstream(a) << ".geometry \"version 0.65\";\n"
                      "P = .free(-0.5, 0, \"P\");\n"
                      "Q = .free(0.5, 0, \"Q\");\n"
                      "l = .l.vv(P, Q);\n";
  std::ofstream(b) << ".geometry \"version 0.65\";\n"
                      "R = .free(0, 0.5, \"R\");\n";
  chooseranswers = {a};
  handlemenu(100002);
  EXPECT_EQ(records(), 3);
  EXPECT_EQ(title(), a);
  EXPECT_EQ(dirtyfile, 0);
  EXPECT_FALSE(statebuts[RUNSCRIPTBUT]->active());
  // ReOpen drops the changes when told No.
  plist->color = COLOR_RED;
  setdirtyfile();
  EXPECT_EQ(title(), a + "*");
  choiceanswers = {2};
  handlemenu(100013);
  EXPECT_EQ(records(), 3);
  EXPECT_EQ(plist->color, COLOR_WHITE);
  EXPECT_EQ(dirtyfile, 0);
  // Insert File merges, keeping the file name, and marks it modified.
  chooseranswers = {b};
  handlemenu(100005);
  EXPECT_EQ(records(), 4);
  EXPECT_EQ(std::string(getcurrentfilename()), a);
  EXPECT_EQ(title(), a + "*");
  // Save writes all four and says so.
  handlemenu(100003);
  EXPECT_EQ(dirtyfile, 0);
  EXPECT_EQ(title(), a);
  EXPECT_EQ(guimessages, strings{"File Saved"});
  std::string text = readtext(a);
  EXPECT_EQ(count(text, ".free("), 3) << text;
  EXPECT_EQ(count(text, ".l.vv("), 1) << text;
  // Save As: a cancelled chooser keeps the name; a new name is used.
  setcurrentfilename(a.c_str());
  handlemenu(100004);
  EXPECT_EQ(std::string(getcurrentfilename()), a);
  std::string c = scratch + "/c";
  chooseranswers = {c};
  handlemenu(100004);
  EXPECT_EQ(std::string(getcurrentfilename()), c + ".T");
  EXPECT_EQ(count(readtext(c + ".T"), ".free("), 3);
  // A script read from a file enables Run Script.
  std::string script = std::string(TESSARIN_SOURCE_DIR) + "/examples/script.T";
  chooseranswers = {script};
  handlemenu(100002);
  EXPECT_TRUE(statebuts[RUNSCRIPTBUT]->active());
  handlemenu(100001);
  EXPECT_FALSE(statebuts[RUNSCRIPTBUT]->active());
  EXPECT_EQ(records(), 0);
}

TEST_F(Files, DocumentsHandedOverAtStartOrByTheDesktop) {
  opendocument("/x/drawing.geo");
  EXPECT_EQ(guialerts, strings{"Unknown file type"});
  opendocument((scratch + "/missing.T").c_str());  // ignored silently
  EXPECT_EQ(guialerts.size(), 1u);
  EXPECT_EQ(getcurrentfilename(), nullptr);
  std::string a = scratch + "/d.T";
  std::ofstream(a) << ".geometry \"version 0.65\";\nP = .free(0, 0);\n";
  opendocument(a.c_str());
  EXPECT_EQ(records(), 1);
  EXPECT_EQ(title(), a);
  EXPECT_EQ(dirtyfile, 0);
  EXPECT_EQ(guialerts.size(), 1u);
}

TEST_F(Files, AFailedOpenKeepsTheDiagramAsItWas) {
  std::string a = scratch + "/a.T", bad = scratch + "/bad.T";
  std::ofstream(a) << ".geometry \"version 0.65\";\n"
                      "P = .free(-0.5, 0, \"P\");\n"
                      "Q = .free(0.5, 0, \"Q\");\n";
  std::ofstream(bad) << ".geometry \"version 0.65\";\n"
                        "R = .free(0, 0.5, \"R\");\n"
                        "S = .nosuch(R);\n";
  chooseranswers = {a};
  handlemenu(100002);
  ASSERT_EQ(records(), 2);
  selectprim(plist->next);
  plist->color = COLOR_RED;  // a change, one undoable step
  setdirtyfile();
  handlemenu(200145);
  const std::string before = written();
  ASSERT_EQ(dirtyfile, 1);
  int undos = historyundocount();
  // Open the bad file (after "No" to saving): "Close" answers the error.
  choiceanswers = {2, 0};
  chooseranswers = {bad};
  guialerts.clear();
  handlemenu(100002);
  ASSERT_EQ(questions.size(), 2u);
  EXPECT_EQ(questions[1].rfind("Line 3: ", 0), 0u) << questions[1];
  EXPECT_NE(questions[1].find("Open the text of " + bad +
                              " in the editor at line 3?"),
            std::string::npos)
      << questions[1];
  EXPECT_EQ(written(), before);
  EXPECT_EQ(std::string(getcurrentfilename()), a);
  EXPECT_EQ(dirtyfile, 1);  // "No" was not a save: still modified
  EXPECT_EQ(title(), a + "*");
  EXPECT_EQ(historyundocount(), undos);
  ASSERT_NE(pselected, nullptr);
  EXPECT_STREQ(pselected->label, "Q");
  // Insert File of the same file: the error, and nothing of it merged.
  guialerts.clear();
  chooseranswers = {bad};
  handlemenu(100005);
  ASSERT_EQ(guialerts.size(), 1u);
  EXPECT_EQ(guialerts[0].rfind("Line 3: ", 0), 0u) << guialerts[0];
  EXPECT_EQ(written(), before);
  EXPECT_EQ(historyundocount(), undos);
  guialerts.clear();
  // ReOpen of a file that has vanished: the reason, nothing lost.
  setcurrentfilename(bad.c_str());
  unlink(bad.c_str());
  choiceanswers = {2};
  handlemenu(100013);
  EXPECT_EQ(guialerts,
            strings{"Couldn't open " + bad + ": No such file or directory"});
  EXPECT_EQ(written(), before);
  EXPECT_EQ(std::string(getcurrentfilename()), bad);
}

TEST_F(Files, NoToRecoveryRemovesTheRecoveryFile) {
  std::string diagram = scratch + "/r.T";
  std::ofstream(diagram) << ".geometry \"version 0.65\";\n";
  struct timeval old[2] = {{1000000000, 0}, {1000000000, 0}};
  ASSERT_EQ(utimes(diagram.c_str(), old), 0);  // older than the recovery
  // A recovery file left by a program that has ended.
  recoveryprepare(diagram.c_str(),
                  ".geometry \"version 0.65\";\n"
                  "P = .free(0, 0, \"P\");\n");
  ASSERT_EQ(recoverywrite(), 1);
  std::string left = recoverypath(diagram.c_str(), 4194304 + 7);
  ASSERT_EQ(
      rename(recoverypath(diagram.c_str(), getpid()).c_str(), left.c_str()), 0);
  resetrecovery();
  askanswers = {0};
  offerrecovery(diagram.c_str());
  EXPECT_EQ(questions, strings{"Recover unsaved changes to " + diagram + "?"});
  EXPECT_EQ(records(), 0);
  EXPECT_FALSE(exists(left));
  std::string found;
  EXPECT_EQ(recoveryfind(diagram.c_str(), &found), 0) << found;
}

TEST_F(Files, TheWindowManagersCloseAsksWithCancel) {
  // WM_DELETE_WINDOW, as a window manager sends it, through the X server.
  auto close = [] {
    Display* d = fl_display;
    XEvent e = {};
    e.xclient.type = ClientMessage;
    e.xclient.window = fl_xid(main_window);
    e.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
    e.xclient.format = 32;
    e.xclient.data.l[0] = (long)XInternAtom(d, "WM_DELETE_WINDOW", False);
    e.xclient.data.l[1] = CurrentTime;
    XSendEvent(d, e.xclient.window, False, NoEventMask, &e);
    XFlush(d);
    pump(0.3);
  };
  addpoint(0, 0);
  ASSERT_EQ(dirtyfile, 1);
  choiceanswers = {0};  // Cancel
  close();
  EXPECT_EQ(questions, strings{"File modified -- save changes?"});
  EXPECT_TRUE(exits.empty());
  EXPECT_TRUE(main_window->shown());
  choiceanswers = {2};  // No
  close();
  EXPECT_EQ(exits, std::vector<int>{0});
}

TEST_F(Files, SaveAsWhereNothingCanBeWrittenLosesNothing) {
  std::string a = scratch + "/a.T";
  setcurrentfilename(a.c_str());
  addpoint(0, 0);
  ASSERT_EQ(dirtyfile, 1);
  // A folder that is a file, and a folder given as the file's name.
  std::string plain = scratch + "/plain";
  std::ofstream(plain) << "x";
  std::string folder = scratch + "/dir.T";
  ASSERT_EQ(mkdir(folder.c_str(), 0700), 0);
  struct row {
    std::string chosen, alert;
  };
  const row rows[] = {
      {plain + "/x.T", "can't write " + plain + "/x.T: Not a directory"},
      {folder, folder + " is a folder, not a diagram file"},
  };
  for (const row& r : rows) {
    guialerts.clear();
    chooseranswers = {r.chosen};
    handlemenu(100004);
    ASSERT_EQ(guialerts.size(), 1u) << r.chosen;
    EXPECT_EQ(guialerts[0], r.alert);
    EXPECT_EQ(std::string(getcurrentfilename()), a);  // the diagram's file
    EXPECT_EQ(dirtyfile, 1);
    EXPECT_TRUE(guimessages.empty());  // no "File Saved"
  }
  // Nothing was left behind: the scratch folder holds what it held.
  std::string ls = "test \"$(ls -A '" + scratch +
                   "' | tr '\\n' ' ')\" = "
                   "'dir.T plain '";
  EXPECT_EQ(system(ls.c_str()), 0);
  EXPECT_EQ(system(("test -z \"$(ls -A '" + folder + "')\"").c_str()), 0);
}

struct Recent : Files {
  void SetUp() override {
    Files::SetUp();
    resetrecent();
  }
  void TearDown() override {
    resetrecent();
    saverecentfiles();
    Files::TearDown();
  }
};

// A small diagram file d<i>.T in the scratch folder, its path.
std::string diagram(int i) {
  std::string path = scratch + "/d" + std::to_string(i) + ".T";
  std::ofstream(path) << ".geometry \"version 0.65\";\nP" << i
                      << " = .free(0.1, 0.2);\n";
  return path;
}

// The "recent" lines of the preferences file, in order.
std::vector<std::string> recentlines() {
  std::vector<std::string> lines;
  std::istringstream text(readtext(defaultfilename()));
  for (std::string line; std::getline(text, line);)
    if (line.compare(0, 7, "recent ") == 0) lines.push_back(line.substr(7));
  return lines;
}

TEST_F(Recent, LastTenOpenedOrSavedMostRecentFirst) {
  std::vector<std::string> paths;
  for (int i = 0; i < 12; i++) paths.push_back(diagram(i));
  for (int i = 0; i < 12; i++) opendocument(paths[i].c_str());
  // Opening d3 again moves it to the top; saving under a new name puts
  // that name above it.
  opendocument(paths[3].c_str());
  std::string saved = scratch + "/saved.T";
  chooseranswers = {saved};
  handlemenu(100004);  // Save As
  std::vector<std::string> want = {saved,    paths[3], paths[11], paths[10],
                                   paths[9], paths[8], paths[7],  paths[6],
                                   paths[5], paths[4]};
  ASSERT_EQ(nrecent, 10);
  for (int i = 0; i < 10; i++) EXPECT_EQ(recentfiles[i], want[i]) << i;
  // Each open and save keeps the list in the preferences file at once
  // (how the file keeps it beside its settings is the preferences' own).
  EXPECT_EQ(recentlines(), want);
  // The menu lists them in that order, and nothing else.
  for (int i = 0; i < 10; i++) {
    const Fl_Menu_Item* m = menuitem(FIRSTRECENT + i);
    ASSERT_TRUE(m);
    EXPECT_TRUE(m->visible());
    EXPECT_NE(std::string(m->label()).find(want[i].substr(want[i].rfind('/'))),
              std::string::npos);
  }
  EXPECT_FALSE(menuitem(NORECENT)->visible());
}

// The open menu runs a loop of its own until it closes, so the keys are
// sent from timeouts that run inside it, one at a time; should they go
// astray, the menu is closed rather than left waiting.
const char* const menukeynames[] = {"Down",  "Down", "Down",
                                    "Right", "Down", "Return"};
size_t menukeysent;
void menukeys(void*) {
  if (menukeysent == sizeof menukeynames / sizeof menukeynames[0]) return;
  xdo(std::string("key ") + menukeynames[menukeysent++]);
  Fl::repeat_timeout(0.3, menukeys);
}
void closemenu(void*) {
  if (Fl::grab()) xdo("key Escape Escape Escape");
}

TEST_F(Recent, ChosenThroughTheMenuWithTheKeyboardAndMouse) {
  std::string a = diagram(1), b = diagram(2), c = diagram(3);
  for (const std::string& p : {a, b, c}) opendocument(p.c_str());
  handlenewcmd();
  pump(0.2);
  // Windows earlier tests left open (the help viewer) must not cover the
  // menu bar.
  std::vector<Fl_Window*> others;
  for (Fl_Window* w = Fl::first_window(); w; w = Fl::next_window(w))
    if (w != main_window && !w->parent()) others.push_back(w);
  for (Fl_Window* w : others) w->hide();
  main_window->show();
  pump(0.2);
  // File, then down to Open Recent, into it, down to its second entry.
  focus(main_window);
  menukeysent = 0;
  Fl::add_timeout(1.0, menukeys);
  Fl::add_timeout(8.0, closemenu);
  clickroot(main_window->x_root() + 20, main_window->y_root() + 12);
  for (int i = 0; i < 100 && std::string(currentfilename) != b; i++) pump(0.1);
  Fl::remove_timeout(menukeys);
  Fl::remove_timeout(closemenu);
  EXPECT_EQ(std::string(currentfilename), b);  // c, b, a: the second is b
  EXPECT_EQ(recentfiles[0], b);
}

TEST_F(Recent, AFileThatIsGoneIsDroppedWithAMessage) {
  std::string a = diagram(1), b = diagram(2);
  opendocument(a.c_str());
  opendocument(b.c_str());
  ASSERT_EQ(remove(a.c_str()), 0);
  handlemenu(FIRSTRECENT + 1);  // a
  ASSERT_EQ(guialerts.size(), 1u);
  EXPECT_NE(guialerts[0].find(a), std::string::npos);
  EXPECT_NE(guialerts[0].find("taken off Open Recent"), std::string::npos);
  EXPECT_EQ(nrecent, 1);
  EXPECT_EQ(recentlines(), std::vector<std::string>{b});
  EXPECT_EQ(std::string(currentfilename), b);  // the diagram stays
  EXPECT_FALSE(menuitem(FIRSTRECENT + 1)->visible());
}

TEST_F(Files, HelpExamplesOpensTheExamplesFolder) {
  // The examples folder sits beside the help pages (copied into the build
  // folder, installed into share/tessarin).
  std::string dir = std::string(GetInstallDirURL()) + "/examples";
  std::string centres = dir + "/centres.T";
  ASSERT_EQ(access(centres.c_str(), R_OK), 0) << centres;
  handlemenu(100040);  // cancelled: nothing changes
  EXPECT_EQ(chooserstarts, strings{dir + "/"});
  EXPECT_EQ(records(), 0);
  EXPECT_EQ(getcurrentfilename(), nullptr);
  chooseranswers = {centres};
  handlemenu(100040);
  EXPECT_GT(records(), 5);
  ASSERT_NE(getcurrentfilename(), nullptr);
  EXPECT_EQ(std::string(getcurrentfilename()), centres);
  EXPECT_EQ(title(), centres);
  EXPECT_TRUE(guialerts.empty());
  // A modified diagram asks first; Cancel keeps it and opens no chooser.
  setdirtyfile();
  choiceanswers = {0};
  int before = records();
  handlemenu(100040);
  EXPECT_EQ(chooserstarts.size(), 2u);
  EXPECT_EQ(records(), before);
}

}  // namespace
