// The screen and the page agree: an example drawn in the window and the
// same example written by `tessarin-cli eps` at the window's size, rendered
// by Ghostscript, put their strokes in the same places. Colours differ by
// design (the page swaps black and white), so ink is compared, not colour.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "render/view.h"
#include "tests/gui/guitest.h"

namespace {

// The next number of a PPM header, past blanks and comment lines.
int headernumber(FILE* in) {
  int c = fgetc(in);
  while (c == '#' || c == ' ' || c == '\n' || c == '\r' || c == '\t') {
    if (c == '#')
      while (c != '\n' && c != EOF) c = fgetc(in);
    c = fgetc(in);
  }
  int v = 0;
  for (; c >= '0' && c <= '9'; c = fgetc(in)) v = v * 10 + (c - '0');
  return v;  // the one blank after the number is consumed
}

// Reads a binary PPM written by Ghostscript, bottom row first like a frame.
int readppm(const std::string& path, frame* f) {
  FILE* in = fopen(path.c_str(), "rb");
  if (!in) return 0;
  int ok = fgetc(in) == 'P' && fgetc(in) == '6';
  int w = headernumber(in), h = headernumber(in);
  ok = ok && headernumber(in) == 255 && w > 0 && h > 0;
  if (ok) {
    f->w = w, f->h = h;
    f->rgb.resize(3 * w * h);
    for (int y = h - 1; y >= 0 && ok; y--)
      ok = fread(&f->rgb[3 * y * w], 3, w, in) == (size_t)w;
  }
  fclose(in);
  return ok;
}

// Share of the ink pixels of `a` (not `abg`) that have ink of `b` (not
// `bbg`) within `r` pixels.
double covered(const frame& a, int abg, const frame& b, int bbg, int r) {
  auto ink = [](const frame& f, int x, int y, int bg) {
    const unsigned char* p = f.at(x, y);
    return std::abs(p[0] - bg) + std::abs(p[1] - bg) + std::abs(p[2] - bg) > 60;
  };
  int n = 0, hit = 0;
  for (int y = r; y < a.h - r; y++)
    for (int x = r; x < a.w - r; x++) {
      if (!ink(a, x, y, abg)) continue;
      n++;
      int found = 0;
      for (int dy = -r; dy <= r && !found; dy++)
        for (int dx = -r; dx <= r && !found; dx++)
          found = ink(b, x + dx, y + dy, bbg);
      hit += found;
    }
  return n ? (double)hit / n : 0;
}

TEST(ScreenAndPage, StrokesFallInTheSamePlaces) {
  std::string bin = TESSARIN_BINARY_DIR, src = TESSARIN_SOURCE_DIR;
  std::string example = src + "/examples/centres.T";
  std::string eps = bin + "/guitest-centres.eps",
              ppm = bin + "/guitest-centres.ppm";
  if (system("gs --version >/dev/null 2>&1") != 0) GTEST_SKIP() << "no gs";
  ASSERT_EQ(loaddiagram(example.c_str()), 1);
  frame screen = drawframe();
  char cmd[2048];
  snprintf(cmd, sizeof cmd, "'%s/tessarin-cli' eps '%s' -o '%s' --size %dx%d",
           bin.c_str(), example.c_str(), eps.c_str(), xsize, ysize);
  ASSERT_EQ(system(cmd), 0) << cmd;
  // One point per pixel: the page is the window's size in points.
  snprintf(cmd, sizeof cmd,
           "gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=ppmraw -r72 -g%dx%d "
           "-sOutputFile='%s' '%s'",
           xsize, ysize, ppm.c_str(), eps.c_str());
  ASSERT_EQ(system(cmd), 0) << cmd;
  frame page;
  ASSERT_TRUE(readppm(ppm, &page));
  ASSERT_EQ(page.w, screen.w);
  ASSERT_EQ(page.h, screen.h);
  // Ink on the black screen against ink on the white page, both ways;
  // labels are set in different fonts, so a little stays unmatched.
  double screenonpage = covered(screen, 0, page, 255, 2);
  double pageonscreen = covered(page, 255, screen, 0, 2);
  EXPECT_GT(screenonpage, 0.85);
  EXPECT_GT(pageonscreen, 0.85);
  // And a shifted page does not match: the comparison can fail.
  frame shifted = page;
  for (int y = 0; y < page.h; y++)
    for (int x = 0; x < page.w; x++)
      for (int c = 0; c < 3; c++)
        shifted.rgb[3 * (y * page.w + x) + c] =
            x >= 12 ? page.at(x - 12, y)[c] : 255;
  EXPECT_LT(covered(screen, 0, shifted, 255, 2), 0.6);
  cleardiagram();
}

}  // namespace
