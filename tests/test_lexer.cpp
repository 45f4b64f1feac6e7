// The lexer: token kinds and values, line counting, and every lexical
// message, as rows of input text.
#include <cmath>

#include "tests/langtest.h"

namespace {
using namespace langtest;

struct tokrow {
  const char* text;
  std::vector<int> kinds;  // until endfile (not listed)
};

TEST_F(Lang, TokenKinds) {
  const tokrow rows[] = {
      {"( ) , ; = { } [ ]",
       {openparen, closeparen, comma, semicolon, equal, opencurly, closecurly,
        openbracket, closebracket}},
      {".L.VV A a_1 \"s\"", {reserved, identifier, identifier, strtoken}},
      {"12 -3 .5 -.5 5. 1e5 1E+5 1.5e-3",
       {integer, integer, floatnum, floatnum, floatnum, floatnum, floatnum,
        floatnum}},
      {"0x1F 012 0", {hexnum, integer, integer}},
      {"// note\nA", {commenttoken, identifier}},
      {"// last line without end", {commenttoken}},
      {"a\r\nb\r\n", {identifier, identifier}},
  };
  for (size_t r = 0; r < sizeof rows / sizeof rows[0]; r++) {
    initfakefile(rows[r].text);
    for (size_t i = 0; i < rows[r].kinds.size(); i++)
      EXPECT_EQ(gettoken(nullptr), rows[r].kinds[i]) << "row " << r << " " << i;
    EXPECT_EQ(gettoken(nullptr), endfile) << "row " << r;
  }
  EXPECT_TRUE(alerts().empty());
}

TEST_F(Lang, TokenValues) {
  // Reserved words are lowered, identifiers keep their case, 012 is not
  // octal; an integer too big for 32 bits keeps its value as a number.
  initfakefile(
      ".L.VV Abc .5 -.5 012 0x1F 1.5e-3 \"two words\" 3000000000 .x "
      "// note\n");
  const struct {
    int kind;
    const char* text;
    double value;  // of a number
  } rows[] = {
      {reserved, ".l.vv", 0}, {identifier, "Abc", 0},      {floatnum, "", 0.5},
      {floatnum, "", -0.5},   {integer, "", 12},           {hexnum, "", 31},
      {floatnum, "", 1.5e-3}, {strtoken, "two words", 0},  {integer, "", 3e9},
      {reserved, ".x", 0},    {commenttoken, " note\n", 0}};
  for (const auto& r : rows) {
    ASSERT_EQ(gettoken(nullptr), r.kind) << r.text << r.value;
    if (*r.text) {
      EXPECT_STREQ(texttoken, r.text);
    } else if (r.kind == floatnum || r.value > INT32_MAX) {
      EXPECT_EQ(floattoken, r.value);
    } else {
      EXPECT_EQ(longtoken, r.value);
    }
  }
}

// Every lexical message, each from a text of tests/data/lexer_errors.txt.
TEST_F(Lang, LexicalErrors) {
  for (const auto& row : golden("lexer_errors.txt")) {
    std::string text = unescaped(row.first);
    alerts().clear();
    linecount = 1;
    initfakefile(text.c_str());
    int t;
    while ((t = gettoken(nullptr)) != badtoken && t != endfile) {
    }
    EXPECT_EQ(t, badtoken) << text;
    EXPECT_EQ(firstalert(), row.second) << text;
    EXPECT_LE(alerts().size(), 1u) << text;
  }
}

struct longrow {
  std::string text;
  int kind;           // the first token
  const char* alert;  // "" for none
  bool through;       // read through to the next token
};

// Long tokens are cut or rejected, and read through either way.
TEST_F(Lang, LongTokens) {
  const std::string tail = " x";
  const std::string toolong = "Line 1: String longer than 1000 characters\n";
  const longrow rows[] = {
      {std::string(3000, 'a'), identifier, "", true},
      {"\"" + std::string(1500, 's') + "\"", badtoken, toolong.c_str(), true},
      // the 999th character is already over the limit
      {"\"" + std::string(999, 's') + "\"", badtoken, toolong.c_str(), true},
      {"\"" + std::string(998, 's') + "\"", strtoken, "", true},
      {std::string(500, '1'), badtoken, "Line 1: bad number format\n", false},
      {"0x" + std::string(200, 'f'), badtoken, "Line 1: bad number format\n",
       false},
      {"//" + std::string(5000, 'c') + "\n", commenttoken, "", true},
  };
  for (const longrow& r : rows) {
    alerts().clear();
    linecount = 1;
    std::string text = r.text + tail;
    initfakefile(text.c_str());
    EXPECT_EQ(gettoken(nullptr), r.kind) << r.text.substr(0, 5);
    if (r.kind == identifier) {
      EXPECT_EQ(strlen(texttoken), (size_t)TEXTTOKENSIZE - 1);
    }
    EXPECT_EQ(firstalert(), r.alert) << r.text.substr(0, 5);
    if (!r.through) continue;
    EXPECT_EQ(gettoken(nullptr), identifier) << r.text.substr(0, 5);
    EXPECT_STREQ(texttoken, "x");
    EXPECT_EQ(linecount, r.kind == commenttoken ? 2 : 1);
  }
}

TEST_F(Lang, LinesAreCountedInsideTextStringsAndComments) {
  initfakefile("// one\n\"a\nb\" x");
  linecount = 1;
  EXPECT_EQ(gettoken(nullptr), commenttoken);
  EXPECT_EQ(linecount, 2);
  parsingnewlines = 1;
  EXPECT_EQ(gettoken(nullptr), strtoken);
  parsingnewlines = 0;
  EXPECT_STREQ(texttoken, "a\nb");
  EXPECT_EQ(linecount, 3);
}

TEST_F(Lang, LineNumbersPastTwoToThe31) {
  // Where a 2 GB file of line ends leaves the counter.
  initfakefile("\n\n\n?");
  linecount = INT32_MAX - 1;
  EXPECT_EQ(gettoken(nullptr), badtoken);
  EXPECT_EQ(linecount, 2147483649);
  EXPECT_EQ(firstalert().rfind("Line 2147483649: ", 0), 0u) << firstalert();
}

TEST_F(Lang, InMemoryTextEndsAtByteFF) {
  initfakefile(
      "A\xff"
      "B");
  EXPECT_EQ(gettoken(nullptr), identifier);
  EXPECT_EQ(gettoken(nullptr), endfile);
  EXPECT_EQ(fakegetc(nullptr), -1);
  fakeungetc(-1, nullptr);  // pushing back the end does nothing
  EXPECT_EQ(fakegetc(nullptr), -1);
}

TEST_F(Lang, VersionWarningPrecedesEveryErrorOfANewerFile) {
  fileversion = 0.70;
  parseerror("x");
  ASSERT_EQ(alerts().size(), 2u);
  EXPECT_EQ(alerts()[0],
            "Possible mismatch: file version: 0.70\nTessarin version: 0.65");
  EXPECT_EQ(alerts()[1], "Line 1: x\n");
  alerts().clear();
  fileversion = 0.65;
  parseerror("y");
  EXPECT_EQ(alerts().size(), 1u);
}

}  // namespace
