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
#include "tests/langtest.h"

namespace {

std::string clipboard;
std::vector<std::string> asked;
const char* answer;
int hidden, pasterequests, yes;

struct Editor : langtest::Lang {
  void SetUp() override {
    Lang::SetUp();
    clipboard.clear();
    asked.clear();
    answer = nullptr;
    hidden = pasterequests = yes = 0;
    editcopyhook = [](const char* text, int n) { clipboard.assign(text, n); };
    editpastehook = [] { pasterequests++; };
    editaskhook = [](const char* prompt, const char* previous) {
      asked.push_back(std::string(prompt) + "|" + previous);
      return answer;
    };
    edithidehook = [] { hidden++; };
    askhook = [](const char*) { return yes; };
  }
};

void load(const std::string& text, int startline = 1) {
  FILE* f = fmemopen((void*)text.data(), text.size(), "r");
  ed.starteditline = startline;
  readfile(text.empty() ? nullptr : f);
  if (f) fclose(f);
}

using langtest::edittext;
using langtest::type;

// The text without its markers, '|' for the point and '^' for the mark,
// loaded with that selection (no mark: none).
void loadmarked(const std::string& marked) {
  std::string text;
  int line = 0, ch = 0, at[2][2] = {{0, 0}, {-1, 0}};
  for (char c : marked) {
    if (c == '|' || c == '^') {
      at[c == '^'][0] = line, at[c == '^'][1] = ch;
      continue;
    }
    text += c;
    line += c == '\n';
    ch = c == '\n' ? 0 : ch + 1;
  }
  load(text);
  if (at[1][0] < 0) at[1][0] = at[0][0], at[1][1] = at[0][1];
  setpoint(lineat(at[0][0]), at[0][1]);
  setmark(lineat(at[1][0]), at[1][1]);
}

// The buffer's text with '|' at the point and '^' at the mark when the
// selection is not empty.
std::string marked() {
  EXPECT_EQ(ed.point, lineat(ed.pointline));
  std::string s;
  for (_line* l = ed.top; l; l = l->next) {
    std::string t = l->next ? l->linetext : "";  // the extra line is empty
    int i = lineindex(l), p = ed.pointline == i ? ed.pointchar : -1;
    int m = ed.markline == i && !selectionempty() ? ed.markchar : -1;
    if (p >= 0 && p >= m) t.insert(p, "|");
    if (m >= 0) t.insert(m, "^");
    if (p >= 0 && p < m) t.insert(p, "|");
    s += t;
  }
  return s;
}

using langtest::slurp;

TEST_F(Editor, LoadingAndSaving) {
  // A last line without a line end gets one; the extra line is not written.
  load("a = 1;\n\tb\nlast");
  EXPECT_EQ(ed.nlines, 4);
  EXPECT_EQ(marked(), "|a = 1;\n\tb\nlast\n");
  EXPECT_EQ(ed.dirtyfile, 0);
  // Capacities are multiples of 32 and hold the text and its terminator.
  for (_line* l = ed.top; l; l = l->next) {
    EXPECT_EQ(l->textcap % 32, 0);
    EXPECT_GT(l->textcap, l->length);
    EXPECT_EQ((int)strlen(l->linetext), l->length);
  }
  load("");  // only the extra line
  EXPECT_EQ(ed.nlines, 1);
  EXPECT_EQ(edittext(), "");
  // A line far longer than any read buffer stays one line, and writefile
  // gives back exactly the bytes held.
  std::string two = std::string(5000, 'x') + "\nshort\n";
  load(two);
  EXPECT_EQ(ed.nlines, 3);
  char buf[6000] = {0};
  FILE* f = fmemopen(buf, sizeof buf, "w");
  EXPECT_EQ(writefile(f), 1);
  fclose(f);
  EXPECT_EQ(std::string(buf), two);
}

TEST_F(Editor, OpeningOnAFailingLineSelectsIt) {
  std::string t;
  for (int i = 1; i <= 60; i++) t += "line" + std::to_string(i) + " = 0;\n";
  load(t, 40);
  // Line 40 is selected whole, without its line end.
  EXPECT_NE(marked().find("\n|line40 = 0;^\n"), std::string::npos);
  // 20 lines fit: the line lies below the view and is centred: 39 - 10.
  EXPECT_EQ(ed.topdisplineoffset, 29);
  EXPECT_EQ(ed.topdispline, lineat(29));
  // Line 12 is within the view and is selected without scrolling.
  load(t, 12);
  EXPECT_NE(marked().find("\n|line12 = 0;^\n"), std::string::npos);
  EXPECT_EQ(ed.topdisplineoffset, 0);
  // A line past the end is the last real line; line 1 selects nothing.
  load(t, 500);
  EXPECT_NE(marked().find("\n|line60 = 0;^\n"), std::string::npos);
  load(t, 1);
  EXPECT_EQ(marked(), "|" + t);
}

// The rows of tests/data/editor_commands.txt.
TEST_F(Editor, EditingCommands) {
  const std::map<std::string, int> commands = {
      {"EC_BACKSPACE", EC_BACKSPACE}, {"EC_BACKSPACE2", EC_BACKSPACE2},
      {"EC_DELETE", EC_DELETE},       {"EC_KILLLINE", EC_KILLLINE},
      {"EC_KILLBACK", EC_KILLBACK},   {"EC_OPENLINE", EC_OPENLINE},
      {"EC_NEWLINE", EC_NEWLINE},     {"EC_TAB", EC_TAB}};
  int n = 0;
  for (const auto& row : langtest::golden("editor_commands.txt")) {
    std::istringstream in(row.second);
    for (std::string act, after; getline(in, act) && getline(in, after); n++) {
      SCOPED_TRACE(row.first + " + " + act);
      loadmarked(langtest::unescaped(row.first));
      std::string before = edittext();
      std::string arg = langtest::unescaped(act.substr(act.find(' ') + 1));
      if (act.rfind("type ", 0) == 0)
        type(arg.c_str());
      else
        handleeditorcmd(commands.count(arg) ? commands.at(arg) : stoi(arg));
      EXPECT_EQ(marked(), langtest::unescaped(after));
      // Changed exactly when the text changed.
      EXPECT_EQ(ed.dirtyfile, edittext() != before);
      int lines = 1;
      for (char c : edittext()) lines += c == '\n';
      EXPECT_EQ(ed.nlines, lines);
    }
  }
  EXPECT_EQ(n, 23);
  load("ab\n");
  handleeditorcmd(EC_BACKSPACE);  // at the very start nothing happens
  EXPECT_EQ(ed.dirtyfile, 0);
}

TEST_F(Editor, TabsAndColumns) {
  load("a\tb\n\t\tc\n");
  EXPECT_STREQ(lineat(0)->disp, "a       b");
  EXPECT_STREQ(lineat(1)->disp, "                c");
  _line* l = lineat(0);
  EXPECT_EQ(dispcolumn(l, 1), 1);  // the tab starts in column 1
  EXPECT_EQ(dispcolumn(l, 2), 8);  // b in column 8
  // Inside the tab's blanks (columns 1 to 7) the nearer boundary wins; past
  // the text is the line end.
  const int columns[][2] = {{0, 0}, {1, 1}, {3, 1}, {4, 1}, {5, 2},
                            {7, 2}, {8, 2}, {9, 3}, {40, 3}};
  for (const auto& c : columns)
    EXPECT_EQ(charatcolumn(l, c[0]), c[1]) << "column " << c[0];
  // The display copy follows every change.
  setcursor(l, 0);
  handleeditorcmd(EC_TAB);
  EXPECT_STREQ(lineat(0)->disp, "        a       b");
}

TEST_F(Editor, MovesKeepTheColumnAndCrossLineEnds) {
  load("abcdefgh\nab\nabcdefgh\n");
  setcursor(lineat(0), 6);
  // Each command and the point after it: vertical moves clip to a short
  // line and come back to the remembered column; above the first line
  // stays; any other command forgets the column.
  const int moves[][3] = {
      {EC_DOWN, 1, 2}, {EC_DOWN, 2, 6},  {EC_UP, 1, 2},
      {EC_UP, 0, 6},   {EC_UP, 0, 6},    {EC_DOWN, 1, 2},
      {EC_LEFT, 1, 1}, {EC_DOWN, 2, 1},  {EC_LINESTART, 2, 0},
      {EC_LEFT, 1, 2}, {EC_RIGHT, 2, 0}, {EC_LINEEND, 2, 8},
      {EC_END, 3, 0},  {EC_RIGHT, 3, 0}, {EC_TOP, 0, 0}};
  for (const auto& m : moves) {
    handleeditorcmd(m[0]);
    EXPECT_EQ(ed.point, lineat(m[1]));
    EXPECT_EQ(std::make_pair(ed.pointline, ed.pointchar),
              std::make_pair(m[1], m[2]));
  }
  EXPECT_EQ(ed.dirtyfile, 0);
}

TEST_F(Editor, ClipboardCutCopyPaste) {
  loadmarked("one\ntwo\nthree\n");
  // Copy with nothing selected leaves the clipboard alone.
  clipboard = "old";
  handleeditorcmd(EC_COPY);
  EXPECT_EQ(clipboard, "old");
  loadmarked("o|ne\ntwo\nth^ree\n");
  handleeditorcmd(EC_COPY);
  EXPECT_EQ(clipboard, "ne\ntwo\nth");
  EXPECT_EQ(edittext(), "one\ntwo\nthree\n");
  clipboard.clear();
  handleeditorcmd(EC_CUT);
  EXPECT_EQ(clipboard, "ne\ntwo\nth");
  EXPECT_EQ(edittext(), "oree\n");
  // A paste event counts only after the Paste command asked for it, once.
  pastetext("zz", 2);
  EXPECT_EQ(edittext(), "oree\n");
  handleeditorcmd(EC_PASTE);
  EXPECT_EQ(pasterequests, 1);
  pastetext("ne\ntwo\nth", 10);
  EXPECT_EQ(marked(), "one\ntwo\nth|ree\n");
  pastetext("again", 5);
  EXPECT_EQ(edittext(), "one\ntwo\nthree\n");
  // Line ends of other systems split lines once.
  handleeditorcmd(EC_PASTE);
  pastetext("x\r\ny", 4);
  EXPECT_EQ(edittext(), "one\ntwo\nthx\nyree\n");
}

TEST_F(Editor, FindSelectsTheNextMatch) {
  load("foo bar foo\nzfoo\nend\n");
  answer = "foo";
  // The selection after each Find; the last finds nothing more.
  for (const char* found :
       {"|foo^ bar foo\nzfoo\nend\n", "foo bar |foo^\nzfoo\nend\n",
        "foo bar foo\nz|foo^\nend\n", "foo bar foo\nz|foo^\nend\n"}) {
    handleeditorcmd(EC_FIND);
    EXPECT_EQ(marked(), found);
  }
  EXPECT_EQ(asked[0], "String to search for:|foobar");
  EXPECT_EQ(asked[1], "String to search for:|foo");
  // Cancel and an empty answer do nothing, and keep the previous string.
  answer = "";
  handleeditorcmd(EC_FIND);
  answer = nullptr;
  handleeditorcmd(EC_FIND);
  EXPECT_STREQ(ed.findstring, "foo");
  EXPECT_EQ(marked(), "foo bar foo\nz|foo^\nend\n");
  EXPECT_EQ(ed.dirtyfile, 0);
}

TEST_F(Editor, ScrollingFollowsTheSelection) {
  std::string t;
  for (int i = 0; i < 100; i++) t += "x\n";
  load(t);
  ed.displines = 20;
  setcursor(lineat(18), 0);
  handleeditorcmd(EC_DOWN);  // line 19: below the last line but one
  EXPECT_EQ(ed.topdisplineoffset, 9);
  handleeditorcmd(EC_END);
  EXPECT_EQ(ed.topdisplineoffset, 90);
  handleeditorcmd(EC_TOP);  // above, within the first six lines
  EXPECT_EQ(ed.topdisplineoffset, 0);
  settopline(50);
  setcursor(lineat(30), 0);
  handleeditorcmd(EC_RIGHT);  // above, further down: its start minus 5
  EXPECT_EQ(ed.topdisplineoffset, 25);
}

TEST_F(Editor, KeyboardTable) {
  const int S = FL_SHIFT, C = FL_COMMAND, L = FL_CAPS_LOCK;
  // Key, modifiers and what they give (0: nothing): Shift and Caps Lock
  // on characters, Shift ignored by most commands, Ctrl-q alone not quitting,
  // Home and End on the line, with Ctrl on the text.
  const int keys[][3] = {{'a', 0, 'a'},
                         {'a', S, 'A'},
                         {'a', L, 'A'},
                         {'a', L | S, 'A'},
                         {'1', S, '!'},
                         {'1', L, '1'},
                         {'s', C, EC_SAVE},
                         {'s', C | S, EC_SAVE},
                         {'q', C | S, EC_QUITNOSAVE},
                         {'q', C, 0},
                         {'a', C, EC_LINESTART},
                         {FL_Home, 0, EC_LINESTART},
                         {FL_End, 0, EC_LINEEND},
                         {FL_Home, C, EC_TOP},
                         {FL_End, C, EC_END},
                         {'z', C, EC_UNDO},
                         {'z', C | S, EC_REDO},
                         {FL_Tab, S, EC_TAB},
                         {FL_Enter, 0, EC_NEWLINE},
                         {FL_Delete, 0, EC_DELETE},
                         {FL_Up, 0, EC_UP},
                         {'y', C, EC_PASTE},
                         {'w', C | S, EC_CUT},
                         {FL_Escape, 0, 0},
                         {FL_BackSpace, S, EC_BACKSPACE},
                         {FL_Page_Up, 0, 0},
                         {'a', FL_ALT, 0},
                         {FL_F + 1, 0, 0}};
  for (const auto& k : keys)
    EXPECT_EQ(keytocommand(k[0], k[1]), k[2]) << k[0] << " " << k[1];
  // Every command binding of the table lands on a command.
  int commands = 0;
  for (int k : editkeycodes)
    for (int s : {0, S, C, C | S}) {
      int c = keytocommand(k, s);
      EXPECT_TRUE(c == 0 || (c >= 32 && c < 127) ||
                  (c >= EC_TAB && c <= EC_LAST));
      commands += c >= EC_TAB;
    }
  EXPECT_EQ(commands, 44);  // 40, Ctrl-z, Ctrl-Shift-z, Ctrl-Home, Ctrl-End
}

TEST_F(Editor, SaveQuitWithoutSavingQuitProgram) {
  langtest::scratch tmp;
  std::string orig = tmp.dir + "/orig.T", edit = tmp.dir + "/edit.T";
  for (const std::string& p : {orig, edit}) std::ofstream(p) << "a = 1;\n";
  strcpy(ed.origpath, orig.c_str());
  strcpy(ed.editpath, edit.c_str());
  load("a = 1;\n");
  type("b");
  handleeditorcmd(EC_SAVE);
  EXPECT_EQ(ed.editdone, 1);
  EXPECT_EQ(hidden, 1);
  EXPECT_EQ(slurp(edit), "ba = 1;\n");
  // Quit (No Save): the text as it was goes back into the edited copy.
  ed.editdone = 0;
  type("zzz\n");
  handleeditorcmd(EC_QUITNOSAVE);
  EXPECT_EQ(ed.editdone, 1);
  EXPECT_EQ(slurp(edit), "a = 1;\n");
  EXPECT_EQ(edittext(), "a = 1;\n");
  // Quit Tessarin asks; no keeps editing, yes ends with code 2.
  ed.editdone = 0;
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
  EXPECT_EQ(langtest::alerts(),
            std::vector<std::string>{"Can't write /nonexistent-dir/x.T"});
}

TEST_F(Editor, PoolRecordsAreReused) {
  std::string t;
  for (int i = 0; i < 250; i++) t += "line\n";
  loadmarked("|" + t + "^");
  EXPECT_EQ(ed.nlines, 251);
  _line* first = ed.top;
  handleeditorcmd(EC_BACKSPACE);
  EXPECT_EQ(ed.nlines, 1);
  EXPECT_EQ(edittext(), "");
  // The records just freed are handed out again, blank.
  _line* l = allocline();
  EXPECT_NE(l, first);
  EXPECT_EQ(l->length, 1);
  EXPECT_STREQ(l->linetext, "\n");
  freeline(l);
}

}  // namespace

namespace {

// Typing is one step per run, deleting another, cut and paste one each;
// undo walks back through them to the loaded text and redo forward again.
TEST_F(Editor, UndoAndRedoTakeBackTypingDeletingCuttingAndPasting) {
  load("A = .free(0, 0);\n");
  handleeditorcmd(EC_LINEEND);
  type(" // one");
  handleeditorcmd(EC_BACKSPACE);
  handleeditorcmd(EC_BACKSPACE);
  handleeditorcmd(EC_LINESTART);
  setmark(ed.point, 1);  // select "A"
  handleeditorcmd(EC_CUT);
  handleeditorcmd(EC_PASTE);
  pastetext("B\nC", 3);
  std::vector<std::string> expect = {
      "A = .free(0, 0);\n",         "A = .free(0, 0); // one\n",
      "A = .free(0, 0); // o\n",    " = .free(0, 0); // o\n",
      "B\nC = .free(0, 0); // o\n",
  };
  EXPECT_EQ(edittext(), expect[4]);
  for (int i = 3; i >= 0; i--) {
    handleeditorcmd(EC_UNDO);
    EXPECT_EQ(edittext(), expect[i]) << "undo to " << i;
  }
  int atend = ed.pointchar;
  handleeditorcmd(EC_UNDO);  // nothing left: no change
  EXPECT_EQ(edittext(), expect[0]);
  EXPECT_EQ(ed.pointchar, atend);
  for (int i = 1; i <= 4; i++) {
    handleeditorcmd(EC_REDO);
    EXPECT_EQ(edittext(), expect[i]) << "redo to " << i;
  }
  handleeditorcmd(EC_UNDO);
  type("x");  // a new edit drops what could be redone
  handleeditorcmd(EC_REDO);
  EXPECT_EQ(edittext(), "x = .free(0, 0); // o\n");  // where the paste began
}

}  // namespace
