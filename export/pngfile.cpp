// pngfile.cpp: cairo's pixels as a PNG file.
//
// cairo writes its PNGs at zlib's default level with every row filter
// tried, which took longer than drawing a large diagram. Drawings are
// mostly paper and thin lines, which the fastest zlib level packs nearly
// as small with no filter at all. The file also records its resolution,
// so a word processor places it at the size of the EPS.
#include <png.h>

#include <csetjmp>
#include <cstdint>
#include <vector>

#include "export/backends.h"

// One cairo pixel as PNG bytes: RGB, or RGBA undoing cairo's
// premultiplied alpha.
static void putpixel(uint32_t px, int alpha, unsigned char* out) {
  unsigned a = px >> 24, c[3] = {(px >> 16) & 255, (px >> 8) & 255, px & 255};
  for (int i = 0; i < 3; i++)
    out[i] = (unsigned char)(!alpha || a == 255 ? c[i]
                             : a == 0           ? 0
                                                : (c[i] * 255 + a / 2) / a);
  if (alpha) out[3] = (unsigned char)a;
}

// libpng's errors (a failed write among them) return to writepixels; the
// caller reports the system's reason, so nothing is printed here.
static void pngerror(png_structp png, png_const_charp) {
  png_longjmp(png, 1);
}
static void pngwarning(png_structp, png_const_charp) {}

int writepixels(FILE* out, const unsigned char* data, int w, int h, int stride,
                int alpha, int dpi) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr,
                                            pngerror, pngwarning);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!info) {
    png_destroy_write_struct(&png, nullptr);
    return 0;
  }
  int channels = alpha ? 4 : 3;
  std::vector<unsigned char> row((size_t)w * channels);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return 0;
  }
  png_init_io(png, out);
  png_set_compression_level(png, 1);
  png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
  png_set_IHDR(
      png, info, w, h, 8, alpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB,
      PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_BASE, PNG_FILTER_TYPE_BASE);
  png_uint_32 perm = (png_uint_32)(dpi / 0.0254 + 0.5);
  png_set_pHYs(png, info, perm, perm, PNG_RESOLUTION_METER);
  png_write_info(png, info);
  for (int y = 0; y < h; y++) {
    const uint32_t* src = (const uint32_t*)(data + (size_t)y * stride);
    for (int x = 0; x < w; x++)
      putpixel(src[x], alpha, &row[(size_t)x * channels]);
    png_write_row(png, row.data());
  }
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  return 1;
}
