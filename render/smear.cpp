// smear.cpp: the chunked list of smear-trace records.
#include "render/smear.h"

#include <cstdlib>

static smearchunk* smearhead = nullptr;  // first chunk, null when empty
static smearchunk* smeartail = nullptr;  // chunk that receives new records
static smearchunk* cursorchunk = nullptr;
static int cursorindex = 0;

void clearsmearlist() {
  while (smearhead) {
    smearchunk* n = smearhead->next;
    free(smearhead);
    smearhead = n;
  }
  smeartail = nullptr;
  cursorchunk = nullptr;
  cursorindex = 0;
}

static smearchunk* newchunk() {
  smearchunk* c = (smearchunk*)malloc(sizeof(smearchunk));
  if (!c) return nullptr;
  c->next = nullptr;
  c->count = 0;
  return c;
}

void addsmearitem(int code, double a, double b, double c, double d,
                  int pointtype) {
  if (!smeartail || smeartail->count == SMEARCHUNK) {
    smearchunk* n = newchunk();
    if (!n) return;  // out of memory: the trace just stops growing
    if (smeartail)
      smeartail->next = n;
    else
      smearhead = n;
    smeartail = n;
  }
  smearrec& r = smeartail->recs[smeartail->count++];
  r.code = code;
  r.pointtype = pointtype;
  r.a = a;
  r.b = b;
  r.c = c;
  r.d = d;
}

smearrec* firstrec() {
  cursorchunk = smearhead;
  cursorindex = 0;
  if (!cursorchunk || cursorchunk->count == 0) return nullptr;
  return &cursorchunk->recs[0];
}

smearrec* nextrec() {
  if (!cursorchunk) return nullptr;
  cursorindex++;
  if (cursorindex >= cursorchunk->count) {
    cursorchunk = cursorchunk->next;
    cursorindex = 0;
    if (!cursorchunk || cursorchunk->count == 0) {
      cursorchunk = nullptr;
      return nullptr;
    }
  }
  return &cursorchunk->recs[cursorindex];
}

int smearcount() {
  int n = 0;
  for (smearchunk* c = smearhead; c; c = c->next) n += c->count;
  return n;
}

int smearchunks() {
  int n = 0;
  for (smearchunk* c = smearhead; c; c = c->next) n++;
  return n;
}

void resetsmear() {
  clearsmearlist();
}
