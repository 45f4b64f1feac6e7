// Files under hostile arrangements: saving through links, into read-only
// folders and over files of other groups; reading folders, FIFOs and files
// that fail half-way; print files that must not follow planted links; the
// one temporary-folder order.
#include <fcntl.h>
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <functional>

#include "fileio/openfile.h"
#include "fileio/safesave.h"
#include "fileio/tempfile.h"
#include "language/parser.h"
#include "postscript/eps.h"
#include "prefs/preffile.h"
#include "tests/langtest.h"

namespace fs = std::filesystem;
using namespace langtest;

namespace {

const std::string H = ".geometry \"version 0.65\";\n";
const std::string A = H + "A = .free(1, 2);\n";

struct Files : Lang {
  scratch tmp;
  std::string dir = tmp.dir;
  void TearDown() override {
    unsetenv("TMPDIR");
    unsetenv("TMP");
    Lang::TearDown();
  }
  int leftovers() {  // files other than the ones a test made itself
    int n = 0;
    for (auto& e : fs::directory_iterator(dir))
      n += e.path().filename().string().find(".T.") != std::string::npos;
    return n;
  }
};

TEST_F(Files, SavingThroughALinkWritesItsTargetAndKeepsItsAttributes) {
  std::string real = dir + "/real.T", link = dir + "/link.T";
  writefile(real, "old\n");
  chmod(real.c_str(), 0640);
  // A group of the user's other than the primary one, when there is one.
  gid_t groups[64];
  int n = getgroups(64, groups);
  gid_t other = getegid();
  for (int i = 0; i < n; i++)
    if (groups[i] != getegid()) other = groups[i];
  uid_t owner = geteuid();
  if (geteuid() == 0) owner = 1, other = 1;  // given away: it must stay so
  ASSERT_EQ(chown(real.c_str(), owner, other), 0);
  ASSERT_EQ(symlink("real.T", link.c_str()), 0);  // relative to its folder
  ASSERT_EQ(readtext(A), 1);
  ASSERT_EQ(printall(link.c_str()), 1) << firstalert();
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(slurp(real), A);
  struct stat st;
  ASSERT_EQ(stat(real.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  EXPECT_EQ(st.st_gid, other);
  EXPECT_EQ(st.st_uid, owner);
  EXPECT_EQ(leftovers(), 0);
}

// Runs f as an ordinary user: as "nobody" in a child process when the tests
// run as the superuser, whom no permission stops. Returns f's result; the
// first alert it raised goes to *alert.
int unprivileged(const std::function<int()>& f, std::string* alert) {
  if (geteuid() != 0) {
    alerts().clear();
    int r = f();
    *alert = firstalert();
    return r;
  }
  int fds[2];
  if (pipe(fds) != 0) return -1;
  pid_t pid = fork();
  if (pid == 0) {
    close(fds[0]);
    if (setgid(65534) != 0 || setuid(65534) != 0) _exit(99);
    alerts().clear();
    int r = f();
    std::string a = firstalert();
    if (write(fds[1], a.data(), a.size()) < 0) _exit(98);
    _exit(r);
  }
  close(fds[1]);
  char buf[512];
  ssize_t n = read(fds[0], buf, sizeof buf);
  close(fds[0]);
  int status;
  waitpid(pid, &status, 0);
  *alert = std::string(buf, n > 0 ? (size_t)n : 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST_F(Files, ReadOnlyFolderWritesInPlaceOnlyWhenTheTextIsComplete) {
  std::string path = dir + "/x.T", alert;
  writefile(path, "a longer old text than the new one\n");
  ASSERT_EQ(readtext(A), 1);
  ASSERT_EQ(chown(dir.c_str(), 65534, 65534), 0);
  ASSERT_EQ(chown(path.c_str(), 65534, 65534), 0);
  chmod(dir.c_str(), 0555);
  EXPECT_EQ(unprivileged([&] { return printall(path.c_str()); }, &alert), 1)
      << alert;
  EXPECT_EQ(slurp(path), A);  // cut to the new length
  // A save abandoned half-way leaves the file as it was.
  EXPECT_EQ(unprivileged(
                [&] {
                  safesave s;
                  if (!beginsave(&s, path.c_str())) return 0;
                  fputs("half", s.f);
                  abandonsave(&s);
                  return 1;
                },
                &alert),
            1);
  EXPECT_EQ(slurp(path), A);
  // Neither beside nor in place: the reason is given, nothing changes.
  chmod(path.c_str(), 0444);
  EXPECT_EQ(unprivileged([&] { return printall(path.c_str()); }, &alert), 0);
  EXPECT_EQ(alert, "can't write " + path + ": Permission denied");
  EXPECT_EQ(slurp(path), A);
  EXPECT_EQ(leftovers(), 0);
}

// (A missing folder: the command line's tests.)
TEST_F(Files, SavingOverAFolderNamesTheReason) {
  ASSERT_EQ(readtext(A), 1);
  EXPECT_EQ(printall(dir.c_str()), 0);
  EXPECT_EQ(firstalert(), "can't write " + dir + ": Is a directory");
  EXPECT_EQ(leftovers(), 0);
}

TEST_F(Files, OnlyRegularFilesAreRead) {
  std::string fifo = dir + "/fifo.T", folder = dir + "/folder.T";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  ASSERT_EQ(mkdir(folder.c_str(), 0700), 0);
  struct row {
    std::string path, alert;
  } rows[] = {
      {folder, "Couldn't open " + folder + ": Is a directory"},
      {fifo, "Couldn't open " + fifo + ": not a regular file"},
      {"/dev/null", "Couldn't open /dev/null: not a regular file"},
      {dir + "/missing.T",
       "Couldn't open " + dir + "/missing.T: No such file or directory"},
  };
  for (const row& r : rows) {
    alerts().clear();
    EXPECT_EQ(readgeometry(r.path.c_str()), 0) << r.path;  // never blocks
    EXPECT_EQ(firstalert(), r.alert);
    EXPECT_EQ(isreadablefile(r.path.c_str()), 0);
  }
  // The preferences are not read from a FIFO either (nor is one replaced).
  EXPECT_EQ(parsedefaultpath(fifo.c_str()), 0);
  EXPECT_TRUE(fs::is_fifo(fifo));
}

// A stream that gives some text and then fails, as a failing disk does.
ssize_t failingread(void* cookie, char* buf, size_t size) {
  const char** rest = (const char**)cookie;
  size_t n = strlen(*rest);
  if (n == 0) {
    errno = EIO;
    return -1;
  }
  if (n > size) n = size;
  memcpy(buf, *rest, n);
  *rest += n;
  return (ssize_t)n;
}

TEST_F(Files, AReadErrorIsNotTheEndOfTheFile) {
  std::string text = A + "B = .free(3, 4);\n";
  const char* rest = text.c_str();
  cookie_io_functions_t io = {failingread, nullptr, nullptr, nullptr};
  FILE* f = fopencookie(&rest, "r", io);
  ASSERT_NE(f, nullptr);
  clearbuffer();
  resetstate(1);
  EXPECT_EQ(parsefile(f), 0);
  fclose(f);
  EXPECT_EQ(firstalert(), "Line 4: read error: Input/output error\n");
}

TEST_F(Files, OneTemporaryFolderOrder) {
  setenv("TMPDIR", "/a", 1);
  setenv("TMP", "/b", 1);
  EXPECT_STREQ(tempfolder(), "/a");
  setenv("TMPDIR", "", 1);
  EXPECT_STREQ(tempfolder(), "/b");
  unsetenv("TMPDIR");
  EXPECT_STREQ(tempfolder(), "/b");
  unsetenv("TMP");
  EXPECT_STREQ(tempfolder(), "/tmp");
}

TEST_F(Files, PrintFilesArePrivateNeverFollowLinksAndAreRemoved) {
  // Links planted under every name the old counter would have used.
  std::string victim = dir + "/victim";
  writefile(victim, "precious\n");
  for (int i = 0; i < 4; i++) {
    char name[64];
    snprintf(name, sizeof name, "/geom%4.4x.ps", i);
    ASSERT_EQ(symlink(victim.c_str(), (dir + name).c_str()), 0);
  }
  setenv("TMPDIR", dir.c_str(), 1);
  setenv("TMP", "/nonexistent", 1);  // TMPDIR comes first
  std::string seen = dir + "/seen";
  // The command records the file's mode and keeps a copy of the page.
  snprintf(printcmdstring, PRINTCMDSIZE, "stat -c %%a %%s >%s; cp %%s %s.ps",
           seen.c_str(), seen.c_str());
  ASSERT_EQ(readtext(A), 1);
  EXPECT_EQ(printview(), 1) << firstalert();
  EXPECT_EQ(slurp(victim), "precious\n");
  EXPECT_EQ(slurp(seen), "600\n");
  EXPECT_EQ(slurp(seen + ".ps").rfind("%!PS-Adobe", 0), 0u);
  int left = 0;  // the print file itself is gone
  for (auto& e : fs::directory_iterator(dir))
    left += e.path().extension() == ".ps" && !fs::is_symlink(e.path()) &&
            e.path() != seen + ".ps";
  EXPECT_EQ(left, 0);
  // A folder where nothing can be made is reported, not printed around.
  setenv("TMPDIR", (dir + "/missing").c_str(), 1);
  alerts().clear();
  EXPECT_EQ(printview(), 0);
  EXPECT_EQ(firstalert(), "Couldn't create a print file in " + dir +
                              "/missing: No such file or directory");
}

}  // namespace
