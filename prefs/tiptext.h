// tiptext.h: the usage tips and the order in which they are shown.
//
// The tip-of-the-day window shows one tip at a time. It starts at a random
// tip and steps by a random prime that shares no factor with the number of
// tips, so that "Next Tip" pressed once per tip visits every tip exactly
// once before it comes back to the first. The texts and the stepping live
// here, without a toolkit; the window only shows `helpmsgs[curtip]`.
#pragma once

const int NTIPS = 43;
const int NTIPPRIMES = 12;

// The tips, lines separated by newlines; a null entry ends the table.
extern const char* const helpmsgs[NTIPS + 1];

// The steps the tips may be visited with.
extern const int primes[NTIPPRIMES];

extern int tipcount;      // number of tips, counted on first use (0 before)
extern int curtip;        // index of the tip shown
extern int tipincrement;  // step between tips

// Number of entries of `helpmsgs` before its null entry.
int counttips();

// Greatest common divisor of |a| and |b| (gcd(0, 0) = 0).
int tipgcd(int a, int b);

// A random entry of `primes` (rnd() modulo 12, drawn again) that is
// coprime with count; 1 when no entry is, or when count < 2.
int choosetipincrement(int count, int (*rnd)());

// The tip `inc` places after (direction > 0) or before (direction <= 0)
// tip cur, wrapping round count tips; 0 when count < 1.
int steptip(int cur, int inc, int count, int direction);

// Counts the tips on first use, then picks a random first tip and a random
// step (rnd is rand in the program, a fixed sequence in tests).
void starttips(int (*rnd)());

// "Next Tip" (direction 1) and "Prev Tip" (direction -1).
void advancetip(int direction);

// Forgets the count and the position.
void resettips();
