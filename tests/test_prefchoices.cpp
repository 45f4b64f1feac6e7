// The preferences dialog's tables and its Defaults button, without the
// dialog: sizes shown as the nearest menu entry, every choice surviving a
// save and a reading, and Defaults followed by Save.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "model/reset.h"
#include "model/worldlist.h"
#include "postscript/eps.h"
#include "prefs/prefchoices.h"
#include "prefs/preffile.h"
#include "render/colors.h"
#include "render/view.h"
#include "tests/langtest.h"

namespace {

struct Choices : langtest::Lang {
  langtest::scratch tmp;
  std::string path = tmp.dir + "/.tessarinrc";
  std::string saved() {
    EXPECT_EQ(savedefaultspath(path.c_str()), 1);
    return langtest::slurp(path);
  }
  // Saves, resets everything and reads the file back.
  void reread() {
    saved();
    resetall();
    ASSERT_EQ(parsedefaultpath(path.c_str()), 1);
  }
};

TEST_F(Choices, SizesShownAsNearestEntry) {
  const struct {
    int size;
    const char* shown;
  } rows[] = {
      {14, "16 pt"}, {7, "8 pt"},   {40, "32 pt"}, {-3, "6 pt"},
      {6, "6 pt"},   {8, "8 pt"},   {9, "10 pt"},  {10, "10 pt"},
      {11, "12 pt"}, {13, "12 pt"}, {17, "16 pt"}, {18, "20 pt"},
      {21, "20 pt"}, {22, "24 pt"}, {28, "24 pt"}, {29, "32 pt"},
  };
  for (const auto& r : rows) {
    int i = nearestfontsize(r.size);
    ASSERT_TRUE(i >= 0 && i < NSIZECHOICES) << r.size;
    EXPECT_STREQ(sizechoices[i].label, r.shown) << r.size;
  }
  for (const prefchoice& c : sizechoices)
    EXPECT_EQ(sizechoices[nearestfontsize(c.value)].value, c.value);
}

TEST_F(Choices, EveryChoiceSurvivesTheFile) {
  for (const prefchoice& f : fontchoices)
    for (const prefchoice& s : stylechoices) {
      resetall();
      fontnumber = f.value;
      fontstyle = s.value;
      reread();
      EXPECT_EQ(fontnumber, f.value) << f.label << " " << s.label;
      EXPECT_EQ(fontstyle, s.value) << f.label << " " << s.label;
    }
  // the menu's sizes, for text, editor and points
  for (const prefchoice& c : sizechoices) {
    resetall();
    fontsize = gfontsize = edittextsize = gvertexsize = c.value;
    reread();
    EXPECT_EQ(fontsize, c.value);
    EXPECT_EQ(edittextsize, c.value);
    EXPECT_EQ(gvertexsize, c.value);
  }
}

TEST_F(Choices, DefaultsThenSave) {
  WIDTH = 800;
  HEIGHT = 300;
  strcpy(browsername, "lynx");
  strcpy(printcmdstring, "lpr %s");
  fontnumber = 8;
  fontstyle = 2;
  fontsize = gfontsize = 24;
  edittextsize = 20;
  gvertexsize = 12;
  printbw = 1;
  rgbmode = showthetips = addvertexnames = 0;
  setdefaultprefs();
  EXPECT_EQ(saved(), "browser xdg-open\n");
  EXPECT_EQ(gfontsize, 16);
  // the three it leaves alone still reach the file
  bigfont = showthelayers = 1;
  showinfomsg = 0;
  setdefaultprefs();
  EXPECT_EQ(saved(), "browser xdg-open\nbigfont\nlayershow\nnomsginfo\n");
}

}  // namespace
