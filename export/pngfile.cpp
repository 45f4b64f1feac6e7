// pngfile.cpp: cairo's pixels as a PNG file.
//
// Drawings are mostly paper and thin lines, which zlib's fastest level
// packs nearly as small as its best with no row filter at all. The rows
// are packed in pieces of PIECEROWS, each deflated on its own and ended
// on a byte boundary, so that the threads that drew the rows can pack
// them: the pieces joined make one zlib stream, whose check value is
// combined from theirs. The pieces depend on the image alone, never on
// which thread packed them, so the file is the same however it was
// drawn. The file also records its resolution, so a word processor
// places it at the size of the EPS.
#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "export/backends.h"

static const int PIECEROWS = 32;

int piececount(int h) {
  return (h + PIECEROWS - 1) / PIECEROWS;
}

int piecerow(int i, int h) {
  return std::min(i * PIECEROWS, h);
}

// One row of cairo pixels as PNG bytes after the filter byte: RGB, or
// RGBA undoing cairo's premultiplied alpha.
static void putrow(const uint32_t* src, int w, int alpha, unsigned char* out) {
  if (!alpha) {
    for (int x = 0; x < w; x++, out += 3) {
      uint32_t px = src[x];
      out[0] = (unsigned char)(px >> 16), out[1] = (unsigned char)(px >> 8),
      out[2] = (unsigned char)px;
    }
    return;
  }
  for (int x = 0; x < w; x++, out += 4) {
    uint32_t px = src[x], a = px >> 24;
    for (int i = 0; i < 3; i++) {
      uint32_t c = (px >> (16 - 8 * i)) & 255;
      out[i] = (unsigned char)(a == 255 ? c
                               : a == 0 ? 0
                                        : (c * 255 + a / 2) / a);
    }
    out[3] = (unsigned char)a;
  }
}

int packpiece(const pngimage* img, int i, pngpiece* out) {
  int y0 = piecerow(i, img->h), y1 = piecerow(i + 1, img->h);
  size_t rowbytes = 1 + (size_t)img->w * (img->alpha ? 4 : 3);
  std::vector<unsigned char> raw(rowbytes * (y1 - y0));
  for (int y = y0; y < y1; y++) {
    unsigned char* row = &raw[rowbytes * (y - y0)];
    row[0] = 0;  // no filter
    putrow((const uint32_t*)(img->data + (size_t)y * img->stride), img->w,
           img->alpha, row + 1);
  }
  out->length = raw.size();
  out->adler = adler32(adler32(0, nullptr, 0), raw.data(), (uInt)raw.size());
  // Raw deflate: the zlib header and check value are the file's, once.
  // The largest hash table (memory level 9) finds the repeats of a
  // diagram's rows sooner: faster and a little smaller than the default.
  z_stream z = {};
  if (deflateInit2(&z, 1, Z_DEFLATED, -15, 9, Z_DEFAULT_STRATEGY) != Z_OK)
    return 0;
  out->bytes.resize(deflateBound(&z, raw.size()) + 16);
  z.next_in = raw.data();
  z.avail_in = (uInt)raw.size();
  z.next_out = (Bytef*)&out->bytes[0];
  z.avail_out = (uInt)out->bytes.size();
  // The last piece ends the stream; the others end on a byte boundary
  // with the stream left open for the next.
  int last = y1 == img->h;
  int status = deflate(&z, last ? Z_FINISH : Z_SYNC_FLUSH);
  int ok = last ? status == Z_STREAM_END : status == Z_OK && z.avail_in == 0;
  out->bytes.resize(z.total_out);
  deflateEnd(&z);
  return ok;
}

static void put32(std::string* s, uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) s->push_back((char)(v >> shift));
}

// A chunk: its length, type, data and the CRC of type and data.
static int writechunk(FILE* out, const char* type, const std::string& data) {
  std::string c;
  put32(&c, (uint32_t)data.size());
  c.append(type, 4);
  c += data;
  put32(&c,
        (uint32_t)crc32(0, (const Bytef*)c.data() + 4, (uInt)(c.size() - 4)));
  return fwrite(c.data(), 1, c.size(), out) == c.size();
}

int writepixels(FILE* out, const pngimage* img, const pngpiece* pieces,
                int dpi) {
  if (img->w <= 0 || img->h <= 0) return 0;  // no such PNG
  static const char signature[] = "\x89PNG\r\n\x1a\n";
  int ok = fwrite(signature, 1, 8, out) == 8;
  std::string head;
  put32(&head, (uint32_t)img->w);
  put32(&head, (uint32_t)img->h);
  // 8 bits, RGB or RGBA, deflate, no filter choice, no interlace.
  head += std::string{8, (char)(img->alpha ? 6 : 2), 0, 0, 0};
  ok = ok && writechunk(out, "IHDR", head);
  std::string phys;
  uint32_t perm = (uint32_t)(dpi / 0.0254 + 0.5);
  put32(&phys, perm);
  put32(&phys, perm);
  phys.push_back(1);  // per metre
  ok = ok && writechunk(out, "pHYs", phys);
  int n = piececount(img->h);
  uLong adler = adler32(0, nullptr, 0);
  for (int i = 0; i < n && ok; i++) {
    // The zlib header (deflate, 32K window, fastest level) in the first
    // piece's chunk, the check value in the last's.
    std::string data = i == 0 ? std::string("\x78\x01", 2) : std::string();
    data += pieces[i].bytes;
    adler = adler32_combine(adler, pieces[i].adler, (z_off_t)pieces[i].length);
    if (i == n - 1) put32(&data, (uint32_t)adler);
    ok = writechunk(out, "IDAT", data);
  }
  return ok && writechunk(out, "IEND", std::string()) && !ferror(out);
}
