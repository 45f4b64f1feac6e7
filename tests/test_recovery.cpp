// The recovery file: where it goes, its mode and contents, which files a
// start-up offers (only those of programs that have ended, newer than the
// diagram), and claiming, which only one program can win.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "history/recovery.h"
#include "langtest.h"

namespace {

struct Recovery : ::testing::Test {
  langtest::scratch tmp;
  std::string state = tmp.dir;
  void SetUp() override {
    setenv("XDG_STATE_HOME", state.c_str(), 1);
    resetrecovery();
  }
  void TearDown() override {
    resetrecovery();
    unsetenv("XDG_STATE_HOME");
  }
};

// The pid of a process that has ended.
long endedpid() {
  pid_t p = fork();
  if (p == 0) _exit(0);
  waitpid(p, nullptr, 0);
  return p;
}

void put(const std::string& path, const std::string& text, time_t mtime) {
  std::ofstream(path) << text;
  struct timespec t[2] = {{mtime, 0}, {mtime, 0}};
  utimensat(AT_FDCWD, path.c_str(), t, 0);
}

TEST_F(Recovery, WritesItsOwnFileBesideAndRemovesIt) {
  std::string path = recoverypath("/tmp/some/diagram.T", getpid());
  EXPECT_EQ(path.compare(0, state.size() + 10, state + "/tessarin/"), 0);
  EXPECT_EQ(path.substr(path.size() - std::to_string(getpid()).size() - 2),
            std::to_string(getpid()) + ".T");
  EXPECT_NE(recoverypath("/tmp/other.T", getpid()), path);
  EXPECT_EQ(recoverywrite(), 0);  // nothing prepared
  recoveryprepare("/tmp/some/diagram.T", "A = .free(0, 0);\n");
  ASSERT_EQ(recoverywrite(), 1);
  struct stat st;
  ASSERT_EQ(stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
  EXPECT_EQ(langtest::slurp(path),
            "// tessarin recovery of /tmp/some/diagram.T\nA = .free(0, 0);\n");
  EXPECT_NE(stat((path + ".new").c_str(), &st), 0);  // renamed, not left
  // Saved under another name: the old file goes with the next preparing.
  recoveryprepare("/tmp/other.T", "B = .free(0, 0);\n");
  EXPECT_NE(stat(path.c_str(), &st), 0);
  ASSERT_EQ(recoverywrite(), 1);
  recoveryremove();
  EXPECT_NE(stat(recoverypath("/tmp/other.T", getpid()).c_str(), &st), 0);
  EXPECT_EQ(recoverywrite(), 0);  // clean again: nothing to write
}

TEST_F(Recovery, OffersOnlyEndedProgramsFilesNewerThanTheDiagram) {
  std::string diagram = state + "/tri.T";
  put(diagram, ".geometry \"version 0.65\";\n", 2000000000);
  std::string found, text, name;
  EXPECT_EQ(recoveryfind(diagram.c_str(), &found), 0);
  // A running program's file (our parent's pid) is never offered.
  std::string live = recoverypath(diagram.c_str(), getppid());
  put(live, "// tessarin recovery of " + diagram + "\nlive\n", 2000000100);
  // An ended program's file older than the diagram is not offered either.
  long ended = endedpid();
  std::string old = recoverypath(diagram.c_str(), ended);
  put(old, "// tessarin recovery of " + diagram + "\nold\n", 1999999000);
  EXPECT_EQ(recoveryfind(diagram.c_str(), &found), 0);
  std::string fresh = recoverypath(diagram.c_str(), endedpid());
  put(fresh, "// tessarin recovery of " + diagram + "\nC = .free(1, 2);\n",
      2000000200);
  ASSERT_EQ(recoveryfind(diagram.c_str(), &found), 1);
  EXPECT_EQ(found, fresh);
  EXPECT_EQ(recoveryfind("/tmp/another.T", &found), 0);
  // Claiming renames it to our own name; a second claim of it fails.
  ASSERT_EQ(recoveryclaim(fresh, &text, &name), 1);
  EXPECT_EQ(text, "C = .free(1, 2);\n");
  EXPECT_EQ(name, diagram);
  EXPECT_EQ(recoveryclaim(fresh, &text, &name), 0);
  struct stat st;
  EXPECT_EQ(stat(recoverypath(diagram.c_str(), getpid()).c_str(), &st), 0);
  recoveryremove();
  EXPECT_NE(stat(recoverypath(diagram.c_str(), getpid()).c_str(), &st), 0);
  EXPECT_EQ(stat(live.c_str(), &st), 0);  // others' files stay
}

}  // namespace
