// The usage tips: the table's shape, that every quoted name is a real
// command, button or key of the program, and the stepping rule that visits
// every tip once before repeating.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "model/reset.h"
#include "prefs/tiptext.h"

namespace {

struct Tips : ::testing::Test {
  void SetUp() override { resetall(); }
  void TearDown() override { resetall(); }
};

std::vector<std::string> splitlines(const std::string& s) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (;;) {
    size_t nl = s.find('\n', start);
    lines.push_back(s.substr(start, nl - start));
    if (nl == std::string::npos) return lines;
    start = nl + 1;
  }
}

TEST_F(Tips, TableShape) {
  EXPECT_EQ(counttips(), 41);
  EXPECT_EQ(helpmsgs[41], nullptr);
  for (int i = 0; i < 41; i++) {
    ASSERT_NE(helpmsgs[i], nullptr) << i;
    std::string tip = helpmsgs[i];
    std::vector<std::string> lines = splitlines(tip);
    EXPECT_GE(lines.size(), 2u) << "tip " << i;
    EXPECT_LE(lines.size(), 7u) << "tip " << i;
    for (const std::string& l : lines) {
      EXPECT_FALSE(l.empty()) << "tip " << i;
      // the tips window is 414 pixels wide
      EXPECT_LE(l.size(), 60u) << "tip " << i << ": " << l;
      EXPECT_NE(l.back(), ' ') << "tip " << i << ": " << l;
    }
  }
}

TEST_F(Tips, OpeningWords) {
  // The subject of each tip, by the words it opens with.
  const char* const openings[41] = {
      "Hold down the 'Ctrl' key when you create",
      "If you create an angle that goes the wrong",
      "The 'Page Up' and 'Page Down' keys magnify",
      "The 'home' and 'end' keys rotate the entire",
      "If you are having trouble selecting something,",
      "If you double-click on a primitive creation",
      "If you want a point that cannot be moved,",
      "To change the name of a primitive, select it",
      "To make auxiliary primitives that you need to",
      "To view the invisible primitives in your diagram,",
      "If you are creating a primitive and are confused",
      "If your angles come out 'backwards', remember",
      "The 'Rpt Set Color' button puts you into repeat",
      "If you are editing the textual form of the",
      "To display the length of a line segment, the",
      "If you want to see how some effect was",
      "If you're trying to figure out a locus problem,",
      "To change the properties (color, line style,",
      "If only certain layers are visible (not all the",
      "The arrow keys (up, down, left, and right) move",
      "The Ctrl-l (Ctrl key + lower-case 'L') command",
      "Look in the 'Edit Preferences' command in the 'Edit'",
      "When you save an Encapsulated PostScript (EPS) file",
      "If the current color is 'Invisible', new objects",
      "If you want to show that two adjacent angles are",
      "See the help or the reference manual to learn",
      "If you want to draw evenly spaced dots to",
      "To reset a script (that you just ran with the",
      "If you select an item and accidentally click on",
      "If you are emailed a Tessarin program, you can simply",
      "To edit descriptive text, click on it to select it",
      "To create descriptive text, use the 'Primitives'",
      "If you want to see these hints after you've turned",
      "The shortcut to set the selected primitive to be",
      "There are additional colors other than those in the",
      "The Test Diagram and End Test commands tell Tessarin to",
      "To find out how an object is defined",
      "To have a primitive appear in different colors on different",
      "News and updates of Tessarin",
      "You can change the size of the text in the user interface in",
      "To bisect an angle, use the 'PPP=>P Bis' command in the",
  };
  for (int i = 0; i < 41; i++) {
    std::string tip = helpmsgs[i];
    for (char& c : tip)
      if (c == '\n') c = ' ';
    EXPECT_EQ(tip.rfind(openings[i], 0), 0u) << "tip " << i << ": " << tip;
  }
}

TEST_F(Tips, QuotedNamesAreTheProgramsOwn) {
  // Menu items, panel labels, choices, prompts, dialog labels and keys, as
  // the program's window labels them.
  const std::set<std::string> known = {
      // menus and panel sections
      "File", "Edit", "Primitives", "Styles", "Proof", "Help", "Point",
      "View Proof",
      // menu items
      "Open", "Insert File", "Save EPS File", "Edit Name", "Edit Text",
      "Edit Geometry", "Flip Angle", "Describe Geometry", "Display Value",
      "Layer Display", "Edit Preferences", "Pinned P", "Descriptive Text",
      "Wide Lines", "Dotted", "Dashed", "Solid", "2 Rings", "1 Slash",
      "Test Diagram", "End Test", "Documentation", "Reference Manual",
      "Usage Tips",
      // buttons and choices of the control panel
      "PPP=>A", "PPP=>P Bis", "PP=>L", "Rpt Set Color", "Cancel Repeat Mode",
      "Show Invis", "Run Script", "Color", "Point Type", "Line Type",
      "Angle Type", "Segment", "Off", "Start", "Next", "Prev", "Invisible",
      // prompts
      "Pick Point 2", "Pick Circle",
      // dialogs and the text editor
      "Large UI Font", "Show tip at startup", "Quit (No Save)",
      // keys
      "Ctrl", "Page Up", "Page Down", "home", "end", "L",
      // a word in quotes, not a name
      "backwards"};
  int quoted = 0;
  for (int i = 0; i < 41; i++) {
    std::string tip = helpmsgs[i];
    for (char& c : tip)
      if (c == '\n') c = ' ';
    size_t at = 0;
    while ((at = tip.find('\'', at)) != std::string::npos) {
      // an apostrophe inside a word (you've, editor's) quotes nothing
      if (at > 0 && isalpha((unsigned char)tip[at - 1])) {
        at++;
        continue;
      }
      size_t end = tip.find('\'', at + 1);
      ASSERT_NE(end, std::string::npos) << "tip " << i << ": " << tip;
      std::string name = tip.substr(at + 1, end - at - 1);
      EXPECT_TRUE(known.count(name)) << "tip " << i << ": '" << name << "'";
      quoted++;
      at = end + 1;
    }
  }
  EXPECT_GT(quoted, 60);
}

TEST_F(Tips, GcdAndIncrement) {
  EXPECT_EQ(tipgcd(41, 41), 41);
  EXPECT_EQ(tipgcd(12, 18), 6);
  EXPECT_EQ(tipgcd(-12, 18), 6);
  EXPECT_EQ(tipgcd(17, 0), 17);
  EXPECT_EQ(tipgcd(0, 0), 0);
  EXPECT_EQ(tipgcd(43, 41), 1);

  // a fixed sequence of "random" numbers: index 0 is 41, which shares a
  // factor with 41 tips and must be drawn again; index 13 % 12 = 1 is 43
  static std::vector<int> seq;
  static size_t pos;
  auto rnd = []() { return seq[pos++ % seq.size()]; };
  seq = {0, 12, 13};
  pos = 0;
  EXPECT_EQ(choosetipincrement(41, rnd), 43);
  EXPECT_EQ(pos, 3u);
  // with 10 tips, 5 is refused
  seq = {2, 4};
  pos = 0;
  EXPECT_EQ(choosetipincrement(10, rnd), 11);
  // no usable entry, or too few tips: step by one, never loop forever
  EXPECT_EQ(choosetipincrement(1, rnd), 1);
  EXPECT_EQ(choosetipincrement(0, rnd), 1);
  // negative random numbers still index the table
  seq = {-1};
  pos = 0;
  EXPECT_EQ(choosetipincrement(41, rnd), 43);
}

TEST_F(Tips, NextVisitsEveryTipOnceAndReturns) {
  for (int inc : primes) {
    if (tipgcd(inc, 41) != 1) continue;
    for (int start = 0; start < 41; start++) {
      std::vector<int> seen(41, 0);
      int cur = start;
      for (int k = 0; k < 41; k++) {
        seen[cur]++;
        cur = steptip(cur, inc, 41, 1);
        ASSERT_GE(cur, 0);
        ASSERT_LT(cur, 41);
      }
      EXPECT_EQ(cur, start) << "step " << inc;
      for (int t = 0; t < 41; t++) EXPECT_EQ(seen[t], 1) << inc << " " << t;
    }
  }
}

TEST_F(Tips, PrevUndoesNext) {
  // hand-worked: from 3 with step 5 over 41 tips
  EXPECT_EQ(steptip(3, 5, 41, 1), 8);
  EXPECT_EQ(steptip(3, 5, 41, -1), 39);   // 3 - 5 + 41
  EXPECT_EQ(steptip(40, 43, 41, 1), 1);   // (40 + 43) mod 41
  EXPECT_EQ(steptip(1, 43, 41, -1), 40);  // 1 - 43 + 2·41
  EXPECT_EQ(steptip(0, 47, 41, -1), 35);  // 0 - 47 + 2·41
  EXPECT_EQ(steptip(5, 3, 0, 1), 0);
  for (int inc : primes)
    for (int cur = 0; cur < 41; cur++)
      EXPECT_EQ(steptip(steptip(cur, inc, 41, 1), inc, 41, -1), cur);
}

TEST_F(Tips, WindowState) {
  static int calls;
  calls = 0;
  auto rnd = []() {
    const int seq[] = {45, 0, 6};  // first tip 45 % 41 = 4; 41 refused; 17
    return seq[calls++ % 3];
  };
  EXPECT_EQ(tipcount, 0);
  starttips(rnd);
  EXPECT_EQ(tipcount, 41);
  EXPECT_EQ(curtip, 4);
  EXPECT_EQ(tipincrement, 17);
  advancetip(1);
  EXPECT_EQ(curtip, 21);
  advancetip(1);
  EXPECT_EQ(curtip, 38);
  advancetip(1);
  EXPECT_EQ(curtip, 14);  // 55 - 41
  advancetip(-1);
  advancetip(-1);
  advancetip(-1);
  EXPECT_EQ(curtip, 4);
  advancetip(-1);
  EXPECT_EQ(curtip, 28);  // 4 - 17 + 41
  resettips();
  EXPECT_EQ(tipcount, 0);
  EXPECT_EQ(curtip, 0);
}

}  // namespace
