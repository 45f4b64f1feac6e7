// sampler.h: a relation test driven by random positions instead of a user
// dragging points, for the command line and for tests.
#pragma once

#include <cstdint>

// What a sampling run did.
struct samplingresult {
  int taken;    // samples re-tested
  int redrawn;  // draws thrown away because a primitive became invalid
  int dropped;  // samples given up after MAXDRAWS invalid draws
  int stopped;  // the test never started (begindiagramtest returned 0)
};

const int MAXDRAWS = 100;  // draws tried per sample before it is given up

// The generator behind the samples (splitmix64): the same seed gives the
// same sequence on every platform.
uint64_t nextrandom(uint64_t* state);

// Uniform in [-step, step].
double randomoffset(uint64_t* state, double step);

// Starts a test in the current position of the world list, then takes
// `samples` samples: each moves every free-standing point (not the pinned
// ones) by independent offsets of at most `step` times the diagram's size
// (`relationscale`, the median distance between its points) in x and in y
// from its starting position, recomputes as a frame does and re-tests the
// candidates. A draw in which a primitive that was valid at the start has
// become invalid is drawn again, so degenerate positions cannot kill true
// relations. Finally the starting position is restored and re-tested; the
// test is left running for the caller to end (enddiagramtestto). When the
// test cannot start (too many candidates, or stopped through the progress
// hook) nothing is sampled and `stopped` is set.
samplingresult sampletest(int samples, double step, uint64_t seed);
