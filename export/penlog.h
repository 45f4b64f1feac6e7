// penlog.h: a pen that keeps what the view walk draws, so that it can be
// drawn again with another pen, as often as needed (an image drawn in
// bands, one band per thread: the walk itself moves the value columns and
// runs once, in the calling thread).
#pragma once

#include <vector>

#include "export/pen.h"

// One operation: a path step ('m' 'l' 'c' 'a' 'z', with the numbers the
// pen operation takes), 'S'troke or 'F'ill with states[index], clip push
// 'C' or pop 'P', 'T'ext runs[index] with states[at] (`halo` as given).
struct penlogop {
  char kind;
  int halo;
  size_t index, at;
  double v[6];
};

struct penlog {
  std::vector<penlogop> ops;
  std::vector<penstate> states;
  std::vector<textrun> runs;
};

// Records into a penlog; it keeps no groups and sets no labels itself.
extern const pen penlogtable;

// Draws what `log` holds with pen `p` on `c`.
void replaylog(const penlog* log, const pen* p, void* c);
