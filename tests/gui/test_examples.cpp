// Every shipped example drawn in the real window: each visible point,
// segment, circle and text leaves ink where its geometry puts it, in its
// colour, and nothing raises an alert.
#include <dirent.h>

#include <cmath>
#include <string>
#include <vector>

#include "model/style.h"
#include "model/worldlist.h"
#include "render/colors.h"
#include "render/palette.h"
#include "render/view.h"
#include "tests/gui/guitest.h"

namespace {

std::vector<std::string> examplefiles() {
  std::vector<std::string> out;
  std::string dir = std::string(TESSARIN_SOURCE_DIR) + "/examples";
  DIR* d = opendir(dir.c_str());
  if (!d) return out;
  while (dirent* e = readdir(d)) {
    std::string n = e->d_name;
    if (n.size() > 2 && n.substr(n.size() - 2) == ".T")
      out.push_back(dir + "/" + n);
  }
  closedir(d);
  return out;
}

int inview(double x, double y, double margin) {
  return x > fxmin + margin && x < fxmax - margin && y > fymin + margin &&
         y < fymax - margin;
}

// The colour a primitive shows in, when it is a plain palette colour.
int palettecolor(const primitive* p, rgbcolor* c) {
  colorchoice k = choosecolor(p->color, p->layercolor);
  if (!k.drawn) return 0;
  *c = {(int)std::lround(k.rgb[0] * 255), (int)std::lround(k.rgb[1] * 255),
        (int)std::lround(k.rgb[2] * 255)};
  return !(c->r == 0 && c->g == 0 && c->b == 0);
}

struct Checked {
  int points = 0, segments = 0, circles = 0, texts = 0;
};

void checkpoint(const frame& f, vertex* v, Checked* n) {
  rgbcolor c;
  if (!v->valid || v->w == 0 || v->pointtype == RW_NOMARK) return;
  if (!(v->layers & layerset) || !inview(v->x, v->y, 0.05)) return;
  if (!palettecolor(v, &c)) return;
  EXPECT_TRUE(colornear(f, v->x, v->y, c, 5))
      << "point " << (v->label ? v->label : "") << " at " << v->x << ", "
      << v->y;
  n->points++;
}

void checkline(const frame& f, line* l, Checked* n) {
  rgbcolor c;
  if (!l->valid || l->linetype != RW_SEGMENT || l->p1.w == 0 || l->p2.w == 0)
    return;
  if (!(l->layers & layerset) || !palettecolor(l, &c)) return;
  double mx = (l->p1.x + l->p2.x) / 2, my = (l->p1.y + l->p2.y) / 2;
  if (!inview(mx, my, 0.05)) return;
  // A dashed or dotted line may have a gap at the midpoint: look along it.
  int found = 0;
  for (double t = 0.3; t <= 0.7 && !found; t += 0.02)
    found = colornear(f, l->p1.x + t * (l->p2.x - l->p1.x),
                      l->p1.y + t * (l->p2.y - l->p1.y), c, 2);
  EXPECT_TRUE(found) << "segment at " << mx << ", " << my;
  n->segments++;
}

void checkcircle(const frame& f, circle* k, Checked* n) {
  rgbcolor c;
  if (!k->valid || k->center.w == 0 || k->radius > 3) return;
  if (!(k->layers & layerset) || !palettecolor(k, &c)) return;
  double cx = k->center.x / k->center.w, cy = k->center.y / k->center.w;
  int found = 0, tried = 0;
  for (double t = 0; t < 6.28 && !found; t += 0.1) {
    double x = cx + k->radius * std::cos(t), y = cy + k->radius * std::sin(t);
    if (!inview(x, y, 0.05)) continue;
    tried++;
    found = colornear(f, x, y, c, 2);
  }
  if (!tried) return;
  EXPECT_TRUE(found) << "circle about " << cx << ", " << cy;
  n->circles++;
}

void checktext(const frame& f, text* t, Checked* n) {
  if (!t->string || !t->string[0] || !(t->layers & layerset)) return;
  if (!isvisible(t) || t->yhigh <= t->ylow) return;
  int ink = 0;
  for (double x = -0.99; x < -0.5; x += 0.01)
    ink += inknear(f, x, (t->ylow + t->yhigh) / 2, 3);
  EXPECT_GT(ink, 0) << "text " << t->string;
  n->texts++;
}

TEST(Examples, EveryExampleDrawsWhereItsGeometryIs) {
  std::vector<std::string> files = examplefiles();
  ASSERT_FALSE(files.empty());
  Checked total;
  for (const std::string& file : files) {
    SCOPED_TRACE(file);
    ASSERT_EQ(loaddiagram(file.c_str()), 1);
    frame f = drawframe();
    f = drawframe();  // texts know their band after one frame
    EXPECT_TRUE(guialerts.empty()) << guialerts.front();
    EXPECT_GT(f.w * f.h - countcolor(f, {0, 0, 0}, 0), 100);
    for (primitive* p = plist; p; p = p->next) {
      switch (p->type) {
        case RW_VERTEX: checkpoint(f, static_cast<vertex*>(p), &total); break;
        case RW_LINE: checkline(f, static_cast<line*>(p), &total); break;
        case RW_CIRCLE: checkcircle(f, static_cast<circle*>(p), &total); break;
        case RW_TEXT: checktext(f, static_cast<text*>(p), &total); break;
        default: break;  // the rest are checked by the drawing tests
      }
    }
  }
  // The examples hold enough of each kind for the checks to mean something.
  EXPECT_GT(total.points, 20);
  EXPECT_GT(total.segments, 10);
  EXPECT_GT(total.circles, 3);
  EXPECT_GT(total.texts, 0);
  cleardiagram();
}

}  // namespace
