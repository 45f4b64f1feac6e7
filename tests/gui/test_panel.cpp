// The control panel as the display's fonts set it: no button label runs
// off the panel or into the widget beside it.
#include <FL/Fl_Button.H>
#include <FL/Fl_Group.H>
#include <FL/Fl_Light_Button.H>
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/ui.h"

namespace {

// Right end of a check or radio button's label: the box takes about the
// label size, with margins on both sides.
int labelend(Fl_Widget* b) {
  int w = 0, h = 0;
  b->measure_label(w, h);
  return b->x() + b->labelsize() + 7 + w;
}

Fl_Widget* labelled(const char* text) {
  for (int i = 0; i < controlpanel->children(); i++)
    if (controlpanel->child(i)->label() &&
        !strcmp(controlpanel->child(i)->label(), text))
      return controlpanel->child(i);
  return nullptr;
}

TEST(Panel, LabelsFitTheirRoom) {
  int right = controlpanel->x() + controlpanel->w();
  int checked = 0;
  for (int i = 0; i < controlpanel->children(); i++) {
    Fl_Widget* b = controlpanel->child(i);
    if (!dynamic_cast<Fl_Light_Button*>(b) || !b->label()) continue;
    EXPECT_LE(labelend(b), right) << b->label();
    EXPECT_GE(b->labelsize(), 9) << b->label();
    checked++;
  }
  EXPECT_GE(checked, 20);
  // The check box left of "Run Script" is the one a wide font pushes into
  // its neighbour.
  Fl_Widget* rpt = labelled("Rpt Set Color");
  Fl_Widget* run = labelled("Run Script");
  ASSERT_TRUE(rpt && run);
  EXPECT_LE(labelend(rpt), run->x());
  // A short label keeps the panel's size.
  Fl_Widget* free = labelled("Free P");
  ASSERT_TRUE(free);
  EXPECT_EQ(free->labelsize(), 12);
}

}  // namespace
