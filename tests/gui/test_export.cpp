// File > Export... and Edit > Copy as TikZ in the program: the chooser's
// start and filter, the format from the chosen name, the message, the
// system's reason on failure, and the TikZ text on the clipboard.
#include <FL/Fl.H>
#include <FL/Fl_Menu_Bar.H>
#include <FL/Fl_Multiline_Input.H>
#include <FL/Fl_Window.H>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "app/commands.h"
#include "app/exportcmd.h"
#include "app/chooser.h"
#include "app/files.h"
#include "app/ui.h"
#include "engine/recompute.h"
#include "tests/gui/guitest.h"

namespace {

struct ExportMenu : ::testing::Test {
  std::string dir;
  void SetUp() override {
    resetui();
    cleardiagram();  // after: it puts the scripted chooser in place
    dir = testfolder("guitest-export");
    addline(addpoint(-0.5, -0.3), addpoint(0.4, 0.2));
    checkconstraints();
  }
  void TearDown() override { resetui(); }
};

TEST_F(ExportMenu, ExportFollowsTheNameAndRemembersTheFormat) {
  const Fl_Menu_Item* item = menubar->find_item("File/Export...");
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(item->shortcut(), FL_COMMAND + FL_SHIFT + 'e');
  ASSERT_NE(menubar->find_item("Edit/Copy as TikZ"), nullptr);
  setcurrentfilename((dir + "/fig.T").c_str());
  chooseranswers = {dir + "/out.pdf", dir + "/plain", dir + "/no/such/x.png"};
  handlemenu(EXPORTCMD);
  ASSERT_EQ(chooserstarts.size(), 1u);
  // Beside the diagram, SVG first.
  EXPECT_EQ(chooserstarts[0], dir + "/fig.svg");
  EXPECT_NE(chooserfilters[0].find("PDF (*.pdf)"), std::string::npos);
  EXPECT_EQ(readtext(dir + "/out.pdf").rfind("%PDF-", 0), 0u);
  ASSERT_EQ(guimessages.size(), 1u);
  EXPECT_EQ(guimessages[0], "Exported " + dir + "/out.pdf");
  // A name without a known extension gets the last format's.
  handlemenu(EXPORTCMD);
  EXPECT_EQ(chooserstarts[1], dir + "/fig.pdf");
  EXPECT_EQ(readtext(dir + "/plain.pdf").rfind("%PDF-", 0), 0u);
  // A folder that does not exist: the system's reason, no message.
  handlemenu(EXPORTCMD);
  ASSERT_FALSE(guialerts.empty());
  EXPECT_EQ(guialerts.back(), "Couldn't write " + dir +
                                  "/no/such/x.png: No such file or directory");
  EXPECT_EQ(guimessages.size(), 2u);
  handlemenu(EXPORTCMD);  // cancelled: nothing happens
  EXPECT_EQ(guimessages.size(), 2u);
}

TEST_F(ExportMenu, CopyAsTikzFillsTheClipboard) {
  handlemenu(COPYTIKZCMD);
  Fl_Window w(200, 100);
  Fl_Multiline_Input in(0, 0, 200, 100);
  w.end();
  w.show();
  Fl::focus(&in);
  Fl::paste(in, 1);
  pump(0.2);
  std::string text = in.value();
  EXPECT_NE(text.find("\\begin{tikzpicture}"), std::string::npos) << text;
  EXPECT_NE(text.find("] (-0.5,-0.3) -- (0.4,0.2);"), std::string::npos) << text;
  w.hide();
}

}  // namespace
