// The diagram text editor without a window: loading, saving, every command
// through handleeditorcmd, the keyboard table, the clipboard and find.
#include <FL/Enumerations.H>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "editor/editbuffer.h"
#include "editor/editcmds.h"
#include "editor/editkeys.h"
#include "model/notify.h"
#include "model/reset.h"

namespace {

std::string clipboard;
std::vector<std::string> asked;
const char* answer;
int hidden;
int pasterequests;
int yes;
std::vector<std::string> alerts;

void recordcopy(const char* text, int n) {
  clipboard.assign(text, n);
}
void recordpaste() {
  pasterequests++;
}
const char* recordask(const char* prompt, const char* previous) {
  asked.push_back(std::string(prompt) + "|" + previous);
  return answer;
}
void recordhide() {
  hidden++;
}
int recordquestion(const char*) {
  return yes;
}
void recordalert(const char* text) {
  alerts.push_back(text);
}

struct Editor : ::testing::Test {
  void SetUp() override {
    resetall();
    clipboard.clear();
    asked.clear();
    alerts.clear();
    answer = nullptr;
    hidden = pasterequests = yes = 0;
    editcopyhook = recordcopy;
    editpastehook = recordpaste;
    editaskhook = recordask;
    edithidehook = recordhide;
    askhook = recordquestion;
    alerthook = recordalert;
  }
  void TearDown() override { resetall(); }
};

void load(const char* text, int startline = 1) {
  FILE* f = fmemopen((void*)text, strlen(text), "r");
  ed.starteditline = startline;
  readfile(strlen(text) ? f : nullptr);
  if (f) fclose(f);
}

std::string text() {
  char* s = buffertext();
  std::string r = s;
  free(s);
  return r;
}

void type(const char* s) {
  for (; *s; s++) handleeditorcmd((unsigned char)*s);
}

void cursorat(int line, int c) {
  setcursor(lineat(line), c);
}

void select(int l1, int c1, int l2, int c2) {
  setpoint(lineat(l1), c1);
  setmark(lineat(l2), c2);
}

#define EXPECT_POINT(l, c)          \
  do {                              \
    EXPECT_EQ(ed.pointline, l);     \
    EXPECT_EQ(ed.pointchar, c);     \
    EXPECT_EQ(ed.point, lineat(l)); \
  } while (0)

std::string tempfile(const char* contents) {
  char name[] = "/tmp/tessarin-edtestXXXXXX";
  int fd = mkstemp(name);
  EXPECT_GE(fd, 0);
  FILE* f = fdopen(fd, "w");
  fputs(contents, f);
  fclose(f);
  return name;
}

std::string filetext(const std::string& path) {
  std::string r;
  FILE* f = fopen(path.c_str(), "r");
  if (!f) return "<missing>";
  int c;
  while ((c = fgetc(f)) != EOF) r += (char)c;
  fclose(f);
  return r;
}

TEST_F(Editor, LoadingAndSaving) {
  // A last line without a line end gets one; the extra line is not written.
  load("a = 1;\n\tb\nlast");
  EXPECT_EQ(ed.nlines, 4);
  EXPECT_EQ(text(), "a = 1;\n\tb\nlast\n");
  EXPECT_EQ(ed.dirtyfile, 0);
  EXPECT_POINT(0, 0);
  EXPECT_TRUE(selectionempty());
  // Capacities are multiples of 32 and hold the text and its terminator.
  for (_line* l = ed.top; l; l = l->next) {
    EXPECT_EQ(l->textcap % 32, 0);
    EXPECT_GT(l->textcap, l->length);
    EXPECT_EQ((int)strlen(l->linetext), l->length);
  }
  // An empty file is only the extra line.
  load("");
  EXPECT_EQ(ed.nlines, 1);
  EXPECT_EQ(text(), "");
  // A line far longer than any read buffer stays one line.
  std::string longline(5000, 'x');
  std::string two = longline + "\nshort\n";
  load(two.c_str());
  EXPECT_EQ(ed.nlines, 3);
  EXPECT_EQ(text(), two);
  // writefile gives back exactly the bytes held.
  char buf[6000] = {0};
  FILE* f = fmemopen(buf, sizeof buf, "w");
  EXPECT_EQ(writefile(f), 1);
  fclose(f);
  EXPECT_EQ(std::string(buf), two);
}

TEST_F(Editor, OpeningOnAFailingLineSelectsIt) {
  std::string t;
  for (int i = 1; i <= 60; i++) t += "line" + std::to_string(i) + " = 0;\n";
  load(t.c_str(), 40);
  // Line 40 (index 39) is selected whole, without its line end.
  EXPECT_EQ(ed.pointline, 39);
  EXPECT_EQ(ed.pointchar, 0);
  EXPECT_EQ(ed.markline, 39);
  EXPECT_EQ(ed.markchar, (int)strlen("line40 = 0;"));
  // 20 lines fit: the line lies below the view and is centred: 39 - 10.
  EXPECT_EQ(ed.topdisplineoffset, 29);
  EXPECT_EQ(ed.topdispline, lineat(29));
  // Line 12 is within the view and is selected without scrolling.
  load(t.c_str(), 12);
  EXPECT_EQ(ed.markline, 11);
  EXPECT_EQ(ed.markchar, (int)strlen("line12 = 0;"));
  EXPECT_EQ(ed.topdisplineoffset, 0);
  // A line past the end is the last real line; line 1 selects nothing.
  load(t.c_str(), 500);
  EXPECT_EQ(ed.pointline, 59);
  load(t.c_str(), 1);
  EXPECT_TRUE(selectionempty());
}

TEST_F(Editor, TypingOverASelectionReplacesIt) {
  load("hello world\nsecond\n");
  select(0, 11, 0, 6);  // "world", mark before point
  type("there");
  EXPECT_EQ(text(), "hello there\nsecond\n");
  EXPECT_POINT(0, 11);
  EXPECT_TRUE(selectionempty());
  EXPECT_EQ(ed.dirtyfile, 1);
  // Across lines: the first keeps its head and gets the last one's tail.
  select(0, 6, 1, 3);
  type("X");
  EXPECT_EQ(text(), "hello Xond\n");
  EXPECT_EQ(ed.nlines, 2);
  EXPECT_POINT(0, 7);
  // Typing on the extra last line makes it a real line.
  handleeditorcmd(EC_END);
  EXPECT_POINT(1, 0);
  type("z");
  EXPECT_EQ(text(), "hello Xond\nz\n");
  EXPECT_EQ(ed.nlines, 3);
}

TEST_F(Editor, BackspaceAndDelete) {
  load("ab\ncd\n");
  // At the very start of the buffer nothing happens.
  handleeditorcmd(EC_BACKSPACE);
  EXPECT_EQ(text(), "ab\ncd\n");
  EXPECT_EQ(ed.dirtyfile, 0);
  // At the start of a line it joins that line to the previous one.
  cursorat(1, 0);
  handleeditorcmd(EC_BACKSPACE);
  EXPECT_EQ(text(), "abcd\n");
  EXPECT_POINT(0, 2);
  handleeditorcmd(EC_BACKSPACE2);
  EXPECT_EQ(text(), "acd\n");
  EXPECT_POINT(0, 1);
  // Delete: the character under the cursor; at a line end the next line
  // is joined; at the end of the last real line nothing is lost.
  load("ab\ncd\n");
  cursorat(0, 1);
  handleeditorcmd(EC_DELETE);
  EXPECT_EQ(text(), "a\ncd\n");
  handleeditorcmd(EC_DELETE);
  EXPECT_EQ(text(), "acd\n");
  handleeditorcmd(EC_LINEEND);
  handleeditorcmd(EC_DELETE);
  EXPECT_EQ(text(), "acd\n");
  EXPECT_EQ(ed.nlines, 2);
  // With a selection, Delete removes its first character.
  load("abcdef\n");
  select(0, 4, 0, 1);
  handleeditorcmd(EC_DELETE);
  EXPECT_EQ(text(), "acdef\n");
  EXPECT_POINT(0, 1);
  // Backspace with a selection deletes all of it.
  select(0, 1, 0, 4);
  handleeditorcmd(EC_BACKSPACE);
  EXPECT_EQ(text(), "af\n");
}

TEST_F(Editor, TabsAndColumns) {
  load("a\tb\n\t\tc\n");
  EXPECT_STREQ(lineat(0)->disp, "a       b");
  EXPECT_STREQ(lineat(1)->disp, "                c");
  _line* l = lineat(0);
  EXPECT_EQ(dispcolumn(l, 1), 1);  // the tab starts in column 1
  EXPECT_EQ(dispcolumn(l, 2), 8);  // b in column 8
  // Inside the tab's blanks (columns 1 to 7) the nearer boundary wins.
  EXPECT_EQ(charatcolumn(l, 0), 0);
  EXPECT_EQ(charatcolumn(l, 1), 1);
  EXPECT_EQ(charatcolumn(l, 3), 1);
  EXPECT_EQ(charatcolumn(l, 4), 1);
  EXPECT_EQ(charatcolumn(l, 5), 2);
  EXPECT_EQ(charatcolumn(l, 7), 2);
  EXPECT_EQ(charatcolumn(l, 8), 2);
  EXPECT_EQ(charatcolumn(l, 9), 3);   // the line end
  EXPECT_EQ(charatcolumn(l, 40), 3);  // past the text: the line end
  // The tab command inserts a tab; the display copy follows every change.
  cursorat(0, 0);
  handleeditorcmd(EC_TAB);
  EXPECT_EQ(text(), "\ta\tb\n\t\tc\n");
  EXPECT_STREQ(lineat(0)->disp, "        a       b");
}

TEST_F(Editor, VerticalMovesKeepTheColumn) {
  load("abcdefgh\nab\nabcdefgh\n");
  cursorat(0, 6);
  handleeditorcmd(EC_DOWN);
  EXPECT_POINT(1, 2);  // clipped to the short line's end
  handleeditorcmd(EC_DOWN);
  EXPECT_POINT(2, 6);  // back at the remembered column
  handleeditorcmd(EC_UP);
  handleeditorcmd(EC_UP);
  EXPECT_POINT(0, 6);
  handleeditorcmd(EC_UP);  // above the first line: stays
  EXPECT_POINT(0, 6);
  // Any other command forgets the column.
  handleeditorcmd(EC_DOWN);
  handleeditorcmd(EC_LEFT);
  EXPECT_POINT(1, 1);
  handleeditorcmd(EC_DOWN);
  EXPECT_POINT(2, 1);
  // Left and right cross line ends.
  handleeditorcmd(EC_LINESTART);
  handleeditorcmd(EC_LEFT);
  EXPECT_POINT(1, 2);
  handleeditorcmd(EC_RIGHT);
  EXPECT_POINT(2, 0);
  handleeditorcmd(EC_LINEEND);
  EXPECT_POINT(2, 8);
  handleeditorcmd(EC_END);
  EXPECT_POINT(3, 0);
  handleeditorcmd(EC_RIGHT);  // nothing after the extra line
  EXPECT_POINT(3, 0);
  handleeditorcmd(EC_TOP);
  EXPECT_POINT(0, 0);
  EXPECT_EQ(ed.dirtyfile, 0);
}

TEST_F(Editor, KillLineKillBackOpenLineNewLine) {
  load("abc\ndef\n");
  cursorat(0, 1);
  handleeditorcmd(EC_KILLLINE);
  EXPECT_EQ(text(), "a\ndef\n");
  EXPECT_POINT(0, 1);
  handleeditorcmd(EC_KILLLINE);  // at the line end: joins the next line
  EXPECT_EQ(text(), "adef\n");
  handleeditorcmd(EC_LINEEND);
  handleeditorcmd(EC_KILLLINE);  // last real line: the text stays
  EXPECT_EQ(text(), "adef\n");
  cursorat(0, 3);
  handleeditorcmd(EC_KILLBACK);
  EXPECT_EQ(text(), "f\n");
  EXPECT_POINT(0, 0);
  // Open line leaves the cursor before the new line end.
  load("ab\n");
  cursorat(0, 1);
  handleeditorcmd(EC_OPENLINE);
  EXPECT_EQ(text(), "a\nb\n");
  EXPECT_POINT(0, 1);
  // New line replaces the selection and goes to the new line's start.
  select(0, 0, 1, 0);
  handleeditorcmd(EC_NEWLINE);
  EXPECT_EQ(text(), "\nb\n");
  EXPECT_POINT(1, 0);
  handleeditorcmd('\n');  // a typed line end splits the line too
  EXPECT_EQ(text(), "\n\nb\n");
}

TEST_F(Editor, ClipboardCutCopyPaste) {
  load("one\ntwo\nthree\n");
  // Copy with nothing selected leaves the clipboard alone.
  clipboard = "old";
  handleeditorcmd(EC_COPY);
  EXPECT_EQ(clipboard, "old");
  select(0, 1, 2, 2);
  handleeditorcmd(EC_COPY);
  EXPECT_EQ(clipboard, "ne\ntwo\nth");
  EXPECT_EQ(text(), "one\ntwo\nthree\n");
  handleeditorcmd(EC_CUT);
  EXPECT_EQ(clipboard, "ne\ntwo\nth");
  EXPECT_EQ(text(), "oree\n");
  // A paste event counts only after the Paste command asked for it.
  pastetext("zz", 2);
  EXPECT_EQ(text(), "oree\n");
  handleeditorcmd(EC_PASTE);
  EXPECT_EQ(pasterequests, 1);
  pastetext("ne\ntwo\nth", 10);
  EXPECT_EQ(text(), "one\ntwo\nthree\n");
  EXPECT_POINT(2, 2);
  pastetext("again", 5);  // one paste per request
  EXPECT_EQ(text(), "one\ntwo\nthree\n");
  // Line ends of other systems split lines once.
  handleeditorcmd(EC_PASTE);
  pastetext("x\r\ny", 4);
  EXPECT_EQ(text(), "one\ntwo\nthx\nyree\n");
}

TEST_F(Editor, FindSelectsTheNextMatch) {
  load("foo bar foo\nzfoo\nend\n");
  answer = "foo";
  handleeditorcmd(EC_FIND);
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0], "String to search for:|foobar");
  EXPECT_POINT(0, 0);
  EXPECT_EQ(ed.markchar, 3);
  handleeditorcmd(EC_FIND);
  EXPECT_EQ(asked[1], "String to search for:|foo");
  EXPECT_POINT(0, 8);
  EXPECT_EQ(ed.markchar, 11);
  handleeditorcmd(EC_FIND);
  EXPECT_POINT(1, 1);
  EXPECT_EQ(ed.markline, 1);
  EXPECT_EQ(ed.markchar, 4);
  // No further match: nothing changes.
  handleeditorcmd(EC_FIND);
  EXPECT_POINT(1, 1);
  EXPECT_EQ(ed.markchar, 4);
  // Cancel and an empty answer do nothing, and keep the previous string.
  answer = "";
  handleeditorcmd(EC_FIND);
  answer = nullptr;
  handleeditorcmd(EC_FIND);
  EXPECT_STREQ(ed.findstring, "foo");
  EXPECT_POINT(1, 1);
  EXPECT_EQ(ed.dirtyfile, 0);
}

TEST_F(Editor, ScrollingFollowsTheSelection) {
  std::string t;
  for (int i = 0; i < 100; i++) t += "x\n";
  load(t.c_str());
  ed.displines = 20;
  cursorat(18, 0);
  handleeditorcmd(EC_DOWN);  // line 19: below the last line but one
  EXPECT_EQ(ed.topdisplineoffset, 9);
  handleeditorcmd(EC_END);
  EXPECT_EQ(ed.topdisplineoffset, 90);
  handleeditorcmd(EC_TOP);  // above, within the first six lines
  EXPECT_EQ(ed.topdisplineoffset, 0);
  settopline(50);
  cursorat(30, 0);
  handleeditorcmd(EC_RIGHT);  // above, further down: its start minus 5
  EXPECT_EQ(ed.topdisplineoffset, 25);
}

TEST_F(Editor, KeyboardTable) {
  EXPECT_EQ(keytocommand('a', 0), 'a');
  EXPECT_EQ(keytocommand('a', FL_SHIFT), 'A');
  EXPECT_EQ(keytocommand('a', FL_CAPS_LOCK), 'A');
  EXPECT_EQ(keytocommand('a', FL_CAPS_LOCK | FL_SHIFT), 'A');
  EXPECT_EQ(keytocommand('1', FL_SHIFT), '!');
  EXPECT_EQ(keytocommand('1', FL_CAPS_LOCK), '1');
  EXPECT_EQ(keytocommand('/', FL_SHIFT), '?');
  EXPECT_EQ(keytocommand(' ', 0), ' ');
  EXPECT_EQ(keytocommand('s', FL_COMMAND), EC_SAVE);
  EXPECT_EQ(keytocommand('s', FL_COMMAND | FL_SHIFT), EC_SAVE);
  EXPECT_EQ(keytocommand('q', FL_COMMAND | FL_SHIFT), EC_QUITNOSAVE);
  EXPECT_EQ(keytocommand('q', FL_COMMAND), 0);
  EXPECT_EQ(keytocommand('a', FL_COMMAND), EC_LINESTART);
  EXPECT_EQ(keytocommand('k', FL_COMMAND), EC_KILLLINE);
  EXPECT_EQ(keytocommand('y', FL_COMMAND), EC_PASTE);
  EXPECT_EQ(keytocommand('w', FL_COMMAND | FL_SHIFT), EC_CUT);
  EXPECT_EQ(keytocommand(FL_Tab, FL_SHIFT), EC_TAB);
  EXPECT_EQ(keytocommand(FL_Enter, 0), EC_NEWLINE);
  EXPECT_EQ(keytocommand(FL_BackSpace, FL_SHIFT), EC_BACKSPACE);
  EXPECT_EQ(keytocommand(FL_Delete, 0), EC_DELETE);
  EXPECT_EQ(keytocommand(FL_Up, 0), EC_UP);
  EXPECT_EQ(keytocommand(FL_Home, 0), EC_TOP);
  EXPECT_EQ(keytocommand(FL_End, 0), EC_END);
  EXPECT_EQ(keytocommand(FL_Page_Up, 0), 0);
  EXPECT_EQ(keytocommand(FL_Escape, 0), 0);
  EXPECT_EQ(keytocommand(FL_Insert, 0), 0);
  EXPECT_EQ(keytocommand('a', FL_ALT), 0);
  EXPECT_EQ(keytocommand(FL_F + 1, 0), 0);  // no entry
  // Every command binding of the table lands on a command.
  int commands = 0;
  for (int k : editkeycodes)
    for (int s : {0, FL_SHIFT, FL_COMMAND, FL_COMMAND | FL_SHIFT}) {
      int c = keytocommand(k, s);
      EXPECT_TRUE(c == 0 || (c >= 32 && c < 127) ||
                  (c >= EC_TAB && c <= EC_LAST));
      if (c >= EC_TAB) commands++;
    }
  EXPECT_EQ(commands, 40);
}

TEST_F(Editor, SaveQuitWithoutSavingQuitProgram) {
  std::string orig = tempfile("a = 1;\n");
  std::string edit = tempfile("a = 1;\n");
  strcpy(ed.origpath, orig.c_str());
  strcpy(ed.editpath, edit.c_str());
  load("a = 1;\n");
  type("b");
  handleeditorcmd(EC_SAVE);
  EXPECT_EQ(ed.editdone, 1);
  EXPECT_EQ(hidden, 1);
  EXPECT_EQ(filetext(edit), "ba = 1;\n");
  // Quit (No Save): the text as it was goes back into the edited copy.
  ed.editdone = 0;
  type("zzz\n");
  handleeditorcmd(EC_QUITNOSAVE);
  EXPECT_EQ(ed.editdone, 1);
  EXPECT_EQ(filetext(edit), "a = 1;\n");
  EXPECT_EQ(text(), "a = 1;\n");
  // Quit Tessarin asks; no keeps editing, yes ends with code 2.
  ed.editdone = 0;
  yes = 0;
  handleeditorcmd(EC_QUITPROGRAM);
  EXPECT_EQ(ed.editdone, 0);
  yes = 1;
  handleeditorcmd(EC_QUITPROGRAM);
  EXPECT_EQ(ed.editdone, 2);
  // A copy that cannot be written keeps the editor open.
  ed.editdone = 0;
  strcpy(ed.editpath, "/nonexistent-dir/x.T");
  handleeditorcmd(EC_SAVE);
  EXPECT_EQ(ed.editdone, 0);
  ASSERT_EQ(alerts.size(), 1u);
  EXPECT_EQ(alerts[0], "Can't write /nonexistent-dir/x.T");
  remove(orig.c_str());
  remove(edit.c_str());
}

TEST_F(Editor, PoolRecordsAreReused) {
  std::string t;
  for (int i = 0; i < 250; i++) t += "line\n";
  load(t.c_str());
  EXPECT_EQ(ed.nlines, 251);
  _line* first = ed.top;
  select(0, 0, 250, 0);
  handleeditorcmd(EC_BACKSPACE);
  EXPECT_EQ(ed.nlines, 1);
  // The records just freed are handed out again, last freed first.
  _line* l = allocline();
  EXPECT_NE(l, first);
  EXPECT_EQ(l->length, 1);
  EXPECT_STREQ(l->linetext, "\n");
  freeline(l);
  // Character codes outside a byte and 0 insert nothing.
  handleeditorcmd(0);
  handleeditorcmd(300);
  handleeditorcmd(-4);
  handleeditorcmd(9999);
  EXPECT_EQ(text(), "");
}

}  // namespace
