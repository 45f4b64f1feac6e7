// smear.h: the trace that smear-coloured records leave while dragged.
//
// Drawing appends one record per smear-coloured point, line or circle per
// frame, and two per conic or Bezier curve; the mouse handler clears the
// list at every button press, so the list holds one drag. Records live in
// chunks of SMEARCHUNK that are only ever appended to, so pointers handed
// out by `firstrec`/`nextrec` stay valid until the next clear.
//
// The screen draws the list with `drawsmearlist` (render/gl*), the page
// with `PSdrawsmearlist` (postscript/); both walk it with the cursor here.
#pragma once

#include <cstdint>

// Record codes. A conic and a Bezier curve take two consecutive records.
enum smearcode {
  SMEAR_POINT = 1,    // x, y, 0, 0; point type in `pointtype`
  SMEAR_SEGMENT = 2,  // x1, y1, x2, y2
  SMEAR_CIRCLE = 3,   // cx, cy, r, 0
  SMEAR_CONIC = 4,    // a, b, c, d  then  e, f, 0, 0
  SMEAR_BEZIER = 5    // P1, P2  then  P3, P4
};

const int SMEARCHUNK = 200;  // records per chunk

struct smearrec {
  int32_t code;       // smearcode
  int32_t pointtype;  // marker of a SMEAR_POINT record
  double a, b, c, d;
};

struct smearchunk {
  smearchunk* next;
  int count;  // used records
  smearrec recs[SMEARCHUNK];
};

// Frees every chunk; the list is empty afterwards.
void clearsmearlist();

// Appends one record, starting a new chunk when the tail chunk is full.
void addsmearitem(int code, double a, double b, double c, double d,
                  int pointtype);

// Puts the cursor on the first record; null when the list is empty.
smearrec* firstrec();

// Advances the cursor; null after the last record.
smearrec* nextrec();

// Records held, and chunks allocated (for tests and the trace writers).
int smearcount();
int smearchunks();

// Empties the list (same as clearsmearlist).
void resetsmear();
