// menulabels.cpp: label types of the menus, drawn and measured here.
#include "app/menulabels.h"

#include <FL/Fl.H>
#include <FL/Fl_Menu_Item.H>
#include <FL/fl_draw.H>

#include <string>
#include <vector>

#include "render/palette.h"

namespace {

// A swatch, then the name in the label colour (black, or the menu's
// contrast colour when highlighted). The label's value points at one.
struct swatchlabel {
  std::string name;
  int code;  // palette colour code; the special codes show an empty box
};
const Fl_Labeltype SWATCHLABEL = FL_FREE_LABELTYPE;

int swatchside(const Fl_Label* o) {
  return o->size - 2;
}

void drawswatch(const Fl_Label* o, int x, int y, int w, int h, Fl_Align) {
  const swatchlabel* s = (const swatchlabel*)o->value;
  int side = swatchside(o), top = y + (h - side) / 2;
  if (s->code >= 1 && s->code <= 7) {
    const float* c = ctabsave[s->code];
    fl_color((uchar)(255 * c[0] + 0.5f), (uchar)(255 * c[1] + 0.5f),
             (uchar)(255 * c[2] + 0.5f));
    fl_rectf(x + 2, top, side, side);
  }
  fl_color(FL_DARK3);
  fl_rect(x + 2, top, side, side);
  fl_font(o->font, o->size);
  fl_color((Fl_Color)o->color);
  int tx = x + side + 7;
  fl_draw(s->name.c_str(), tx, y, w - (tx - x), h,
          FL_ALIGN_LEFT | FL_ALIGN_CLIP);
}

void measureswatch(const Fl_Label* o, int& w, int& h) {
  const swatchlabel* s = (const swatchlabel*)o->value;
  fl_font(o->font, o->size);
  w = swatchside(o) + 7 + (int)fl_width(s->name.c_str());
  h = fl_height();
}

// The toolkit measures a check item's box a few pixels narrower than it
// draws it, which ran the label into the shortcut ("Wide LinesCtrl+Shift+L").
const Fl_Labeltype GAPLABEL = (Fl_Labeltype)(FL_FREE_LABELTYPE + 1);

void drawgaplabel(const Fl_Label* o, int x, int y, int w, int h, Fl_Align a) {
  Fl_Label plain = *o;
  plain.type = FL_NORMAL_LABEL;
  plain.draw(x, y, w, h, a);
}

void measuregaplabel(const Fl_Label* o, int& w, int& h) {
  Fl_Label plain = *o;
  plain.type = FL_NORMAL_LABEL;
  plain.measure(w, h);
  w += o->size;  // about two blanks' worth
}

}  // namespace

void swatchlabels(Fl_Menu_Item* items, int n, int codebase, int labelsize) {
  // Built once: the items keep pointers to them.
  static std::vector<swatchlabel> labels;
  Fl::set_labeltype(SWATCHLABEL, drawswatch, measureswatch);
  if (labels.empty())
    for (int i = 0; i < n; i++)
      labels.push_back(
          {items[i].label(), (int)(long)items[i].user_data() - codebase});
  for (int i = 0; i < n && i < (int)labels.size(); i++) {
    items[i].label(SWATCHLABEL, (const char*)&labels[i]);
    items[i].labelcolor(FL_BLACK);
    items[i].labelsize(labelsize);
  }
}

void gaplabels(Fl_Menu_Item* table, int n) {
  Fl::set_labeltype(GAPLABEL, drawgaplabel, measuregaplabel);
  for (int i = 0; i < n; i++) {
    Fl_Menu_Item& it = table[i];
    if (it.label() && it.shortcut() &&
        (it.flags & (FL_MENU_TOGGLE | FL_MENU_RADIO)))
      it.labeltype(GAPLABEL);
  }
}
