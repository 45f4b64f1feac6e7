// penlog.h: a pen that keeps what the view walk draws, so that it can be
// drawn again with another pen, as often as needed (an image drawn in
// bands, one band per thread: the walk itself moves the value columns and
// runs once, in the calling thread).
//
// The log is handed on a page at a time as the walk fills it, so that
// the bands play what has been walked while the walk goes on.
#pragma once

#include <condition_variable>
#include <memory>
#include <mutex>
#include <vector>

#include "export/pen.h"

// One operation: a path step ('m' 'l' 'c' 'a' 'z', with the numbers the
// pen operation takes), 'S'troke or 'F'ill with states[index], clip push
// 'C' or pop 'P', 'T'ext runs[index] with states[at] (`halo` as given),
// indices into the operation's own page.
struct penlogop {
  char kind;
  int halo;
  size_t index, at;
  double v[6];
};

struct penlogpage {
  std::vector<penlogop> ops;
  std::vector<penstate> states;
  std::vector<textrun> runs;
};

struct penlog {
  penlogpage filling;  // the walk's page, not yet handed on
  std::mutex lock;     // guards `pages` and `ended`
  std::condition_variable handed;
  std::vector<std::unique_ptr<penlogpage>> pages;  // full pages, in order
  int ended = 0;                                   // the walk is over
};

// Records into a penlog; it keeps no groups and sets no labels itself.
extern const pen penlogtable;

// Hands on the last page: the log is complete.
void endlog(penlog* log);

// Draws what `log` holds with pen `p` on `c`, page by page, waiting for
// each until the log ends.
void replaylog(penlog* log, const pen* p, void* c);
