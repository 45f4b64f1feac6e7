// continuity.h: intersections that follow the pointer instead of jumping.
//
// A construction with two (or four) solutions takes one of them by a fixed
// rule of its kind: V_LC1 the first root, V_LC2 the second, and so on. The
// rule can flip from one solution to the other while a point moves, and
// the drawn point then jumps. While a continuous motion is under way (a
// drag, a script frame, a relation sample) such a record instead takes the
// solution nearest to where it was, and when that is the one its sibling
// kind gives, the record becomes that sibling: the kind always names the
// solution on screen, so saving and reading back shows the same picture.
#pragma once

#include "model/primitive.h"

// The preference "Keep intersections continuous" (on by default). Off, every
// record takes its kind's rule on every recomputation.
extern int keepcontinuous;

// Set by whatever moves the diagram continuously (dragvertex, a script
// step, the relation sampler); the next top-level recomputation follows
// branches and clears it.
extern int followmotion;

// The kinds that share a routine with sibling kinds, as a table indexed by
// kind: every record asks while something moves.
struct siblingtable {
  unsigned char has[96];  // past the highest kind code
};
extern const siblingtable siblingkinds;

inline int hassiblings(int kind) {
  return kind >= 0 && kind < 96 && siblingkinds.has[kind];
}

// Computes p (whose validity before this recomputation was `wasvalid`) with
// `compute`, trying each sibling kind and keeping the one whose result lies
// nearest to p's previous result. A record that was undefined, or whose
// previous result has a point at infinity, takes its own kind's rule.
void computefollowing(primitive* p, int wasvalid, void (*compute)(primitive*));
