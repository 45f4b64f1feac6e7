// penlog.cpp: recording the walk's pen operations and playing them back.
#include "export/penlog.h"

#include <initializer_list>

namespace {

// Operations in a page: the bands wait for at most this many.
const size_t PAGEOPS = 1024;

// Hands the walk's page on once it is full (or the log ends).
void handon(penlog* l, int last) {
  if (!last && l->filling.ops.size() < PAGEOPS) return;
  auto page = std::make_unique<penlogpage>();
  std::swap(*page, l->filling);
  l->filling.ops.reserve(PAGEOPS);
  {
    std::lock_guard<std::mutex> hold(l->lock);
    if (!page->ops.empty()) l->pages.push_back(std::move(page));
    l->ended = last;
  }
  l->handed.notify_all();
}

void push(penlog* l, const penlogop& op) {
  l->filling.ops.push_back(op);
  handon(l, 0);
}

void add(void* c, char kind, std::initializer_list<double> v = {}) {
  penlogop op = {kind, 0, 0, 0, {}};
  int i = 0;
  for (double x : v) op.v[i++] = x;
  push((penlog*)c, op);
}

size_t keepstate(penlog* l, const penstate* s) {
  l->filling.states.push_back(*s);
  return l->filling.states.size() - 1;
}

void group(void*, const primitive*, int) {}
void move(void* c, double x, double y) {
  add(c, 'm', {x, y});
}
void line(void* c, double x, double y) {
  add(c, 'l', {x, y});
}
void curve(void* c, double x1, double y1, double x2, double y2, double x3,
           double y3) {
  add(c, 'c', {x1, y1, x2, y2, x3, y3});
}
void arc(void* c, double cx, double cy, double r, double a0, double a1) {
  add(c, 'a', {cx, cy, r, a0, a1});
}
void closepath(void* c) {
  add(c, 'z');
}

void paint(void* c, char kind, const penstate* s) {
  penlog* l = (penlog*)c;
  push(l, {kind, 0, keepstate(l, s), 0, {}});
}
void stroke(void* c, const penstate* s) {
  paint(c, 'S', s);
}
void fill(void* c, const penstate* s) {
  paint(c, 'F', s);
}
void clip(void* c, int push) {
  add(c, push ? 'C' : 'P');
}

void text(void* c, const textrun* r, const penstate* s, int halo) {
  penlog* l = (penlog*)c;
  l->filling.runs.push_back(*r);
  size_t run = l->filling.runs.size() - 1;
  push(l, {'T', halo, run, keepstate(l, s), {}});
}

}  // namespace

const pen penlogtable = {group,  move, line, curve, arc,    closepath,
                         stroke, fill, clip, text,  nullptr};

void endlog(penlog* log) {
  handon(log, 1);
}

// Draws one page of a log with pen `p` on `c`.
static void replaypage(const penlogpage* page, const pen* p, void* c) {
  for (const penlogop& op : page->ops) {
    const double* v = op.v;
    switch (op.kind) {
      case 'm': p->move(c, v[0], v[1]); break;
      case 'l': p->line(c, v[0], v[1]); break;
      case 'c': p->curve(c, v[0], v[1], v[2], v[3], v[4], v[5]); break;
      case 'a': p->arc(c, v[0], v[1], v[2], v[3], v[4]); break;
      case 'z': p->close(c); break;
      case 'S': p->stroke(c, &page->states[op.index]); break;
      case 'F': p->fill(c, &page->states[op.index]); break;
      case 'C': p->clip(c, 1); break;
      case 'P': p->clip(c, 0); break;
      default:  // 'T'
        p->text(c, &page->runs[op.index], &page->states[op.at], op.halo);
        break;
    }
  }
}

void replaylog(penlog* log, const pen* p, void* c) {
  for (size_t i = 0;; i++) {
    const penlogpage* page;
    {
      std::unique_lock<std::mutex> hold(log->lock);
      log->handed.wait(hold,
                       [&] { return i < log->pages.size() || log->ended; });
      if (i >= log->pages.size()) return;
      page = log->pages[i].get();  // a page stays put once handed on
    }
    replaypage(page, p, c);
  }
}
