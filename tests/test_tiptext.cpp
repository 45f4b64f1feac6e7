// The usage tips: lines that fit the window, quoted names that are the
// program's own commands, buttons and keys, and the stepping that visits
// every tip once before repeating.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "model/reset.h"
#include "prefs/tiptext.h"
#include "tests/langtest.h"

namespace {

struct Tips : langtest::Lang {};

TEST_F(Tips, LinesFitTheWindow) {
  EXPECT_EQ(counttips(), NTIPS);
  EXPECT_EQ(helpmsgs[NTIPS], nullptr);
  for (int i = 0; i < NTIPS; i++) {
    ASSERT_NE(helpmsgs[i], nullptr) << i;
    std::string tip = std::string(helpmsgs[i]) + "\n";
    int lines = 0;
    for (size_t at = 0, nl; (nl = tip.find('\n', at)) != std::string::npos;
         at = nl + 1, lines++) {
      std::string l = tip.substr(at, nl - at);
      // the tips window is 414 pixels wide
      EXPECT_TRUE(!l.empty() && l.size() <= 60 && l.back() != ' ')
          << "tip " << i << ": '" << l << "'";
    }
    EXPECT_TRUE(lines >= 2 && lines <= 7) << "tip " << i;
  }
}

TEST_F(Tips, QuotedNamesAreTheProgramsOwn) {
  // The names of tests/data/tips_names.txt.
  std::set<std::string> known;
  std::istringstream in(langtest::golden("tips_names.txt").at("names"));
  for (std::string n; std::getline(in, n);) known.insert(n);
  int quoted = 0;
  for (int i = 0; i < NTIPS; i++) {
    std::string tip = helpmsgs[i];
    for (char& c : tip)
      if (c == '\n') c = ' ';
    for (size_t at = 0; (at = tip.find('\'', at)) != std::string::npos;) {
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

std::vector<int> seq;  // the "random" numbers drawn, in turn
size_t pos;
int nextrnd() {
  return seq[pos++ % seq.size()];
}

TEST_F(Tips, ChoosingTheStep) {
  EXPECT_EQ(tipgcd(12, 18), 6);
  EXPECT_EQ(tipgcd(-12, 18), 6);
  EXPECT_EQ(tipgcd(17, 0), 17);
  EXPECT_EQ(tipgcd(0, 0), 0);
  EXPECT_EQ(tipgcd(43, 41), 1);
  const struct {
    std::vector<int> draws;
    int count, step;
    size_t drawn;
  } rows[] = {
      // index 0 is 41, which shares a factor with 41 tips: drawn again,
      // then 12 % 12 = 0 again, then 13 % 12 = 1, which is 43
      {{0, 12, 13}, 41, 43, 3},
      {{2, 4}, 10, 11, 2},  // with 10 tips, 5 is refused
      {{-1}, 41, 43, 1},    // negative numbers still index the table
      // no usable entry, or too few tips: step by one, never loop forever
      {{2}, 1, 1, 0},
      {{2}, 0, 1, 0},
  };
  for (const auto& r : rows) {
    seq = r.draws;
    pos = 0;
    EXPECT_EQ(choosetipincrement(r.count, nextrnd), r.step) << r.count;
    EXPECT_TRUE(!r.drawn || pos == r.drawn) << r.count;
  }
}

TEST_F(Tips, NextVisitsEveryTipOncePrevUndoesIt) {
  // hand-worked, over 41 tips
  EXPECT_EQ(steptip(3, 5, 41, 1), 8);
  EXPECT_EQ(steptip(3, 5, 41, -1), 39);   // 3 - 5 + 41
  EXPECT_EQ(steptip(40, 43, 41, 1), 1);   // (40 + 43) mod 41
  EXPECT_EQ(steptip(1, 43, 41, -1), 40);  // 1 - 43 + 2·41
  EXPECT_EQ(steptip(0, 47, 41, -1), 35);  // 0 - 47 + 2·41
  EXPECT_EQ(steptip(5, 3, 0, 1), 0);
  for (int inc : primes) {
    if (tipgcd(inc, 41) != 1) continue;
    for (int start = 0; start < 41; start++) {
      std::vector<int> seen(41, 0);
      int cur = start;
      for (int k = 0; k < 41; k++) {
        seen[cur]++;
        int next = steptip(cur, inc, 41, 1);
        ASSERT_TRUE(next >= 0 && next < 41) << next;
        EXPECT_EQ(steptip(next, inc, 41, -1), cur) << inc;
        cur = next;
      }
      EXPECT_EQ(cur, start) << "step " << inc;
      EXPECT_EQ(seen, std::vector<int>(41, 1)) << "step " << inc;
    }
  }
}

TEST_F(Tips, WindowState) {
  seq = {45, 1, 6};  // first tip 45 % 43 = 2; 43 refused; step 17
  pos = 0;
  EXPECT_EQ(tipcount, 0);
  starttips(nextrnd);
  EXPECT_EQ(tipcount, 43);
  EXPECT_EQ(curtip, 2);
  EXPECT_EQ(tipincrement, 17);
  for (int expected : {19, 36, 10}) {  // 53 - 43
    advancetip(1);
    EXPECT_EQ(curtip, expected);
  }
  for (int k = 0; k < 4; k++) advancetip(-1);
  EXPECT_EQ(curtip, 28);  // 2 - 17 + 43
  resettips();
  EXPECT_EQ(tipcount, 0);
  EXPECT_EQ(curtip, 0);
}

}  // namespace
