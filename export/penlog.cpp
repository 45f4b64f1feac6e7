// penlog.cpp: recording the walk's pen operations and playing them back.
#include "export/penlog.h"

#include <initializer_list>

namespace {

void add(void* c, char kind, std::initializer_list<double> v = {}) {
  penlogop op = {kind, 0, 0, 0, {}};
  int i = 0;
  for (double x : v) op.v[i++] = x;
  ((penlog*)c)->ops.push_back(op);
}

size_t keepstate(penlog* l, const penstate* s) {
  l->states.push_back(*s);
  return l->states.size() - 1;
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
  l->ops.push_back({kind, 0, keepstate(l, s), 0, {}});
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
  l->runs.push_back(*r);
  l->ops.push_back({'T', halo, l->runs.size() - 1, keepstate(l, s), {}});
}

}  // namespace

const pen penlogtable = {group,  move, line, curve, arc,    closepath,
                         stroke, fill, clip, text,  nullptr};

void replaylog(const penlog* log, const pen* p, void* c) {
  for (const penlogop& op : log->ops) {
    const double* v = op.v;
    switch (op.kind) {
      case 'm': p->move(c, v[0], v[1]); break;
      case 'l': p->line(c, v[0], v[1]); break;
      case 'c': p->curve(c, v[0], v[1], v[2], v[3], v[4], v[5]); break;
      case 'a': p->arc(c, v[0], v[1], v[2], v[3], v[4]); break;
      case 'z': p->close(c); break;
      case 'S': p->stroke(c, &log->states[op.index]); break;
      case 'F': p->fill(c, &log->states[op.index]); break;
      case 'C': p->clip(c, 1); break;
      case 'P': p->clip(c, 0); break;
      default:  // 'T'
        p->text(c, &log->runs[op.index], &log->states[op.at], op.halo);
        break;
    }
  }
}
