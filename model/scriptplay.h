// scriptplay.h: the script player and the proof steps, without a toolkit.
//
// A script animates the diagram: its value runs from `start` to `stop` in
// steps of `step`, one step per drawn frame, and everything built on it
// follows. With Script Print on, the frame of every value (start, each step,
// stop) is written once as a numbered EPS file, after it has been drawn
// and before the value moves on. Proof steps show the diagram layer by
// layer by changing the layers in force. The idle loop, the keys and the
// command dispatcher of the program call these; so does tessarin-cli.
#pragma once

#include <cstdint>

// Proof command codes.
enum proofcode {
  PROOF_PREV = 200232,
  PROOF_OFF = 200233,
  PROOF_START = 200234,
  PROOF_NEXT = 200235
};

// Run Script: a run starts, the value at the script's start (when the
// diagram has a script); the next drawn frame is the start frame.
void startscriptrun();

// One idle round while `runningscript` is set. When the frame of the
// current value has been drawn (`scriptdrawn`), writes it as EPS with Script
// Print on (`framebase`: base of the frame names, null for no files), then
// either ends the run after the stop frame (layers back to the file's) or
// advances the value, landing exactly on `stop` at the end. Without a
// script the run ends at once (writing one frame with Script Print on,
// which is then turned off). Returns the idleaction bits (model/shell.h)
// the window must carry out.
int scriptstep(const char* framebase);

// A key or mouse press: a running script stops and the file's layers come
// back; the script's value goes back to its start in any case.
void scriptpress();

// The layers in force after proof command `code` with `layers` in force
// (any other code leaves them).
uint32_t proofstep(int code, uint32_t layers);

// Applies a proof command to `layerset` and shows it on the layer buttons.
void applyproofstep(int code);
