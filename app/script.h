// script.h: the script player and proof steps on the program's window:
// the idle round of a run with its EPS frames named after the current
// file, and the proof commands with the panel's buttons.
#pragma once

// One idle round of a running script (nothing when none runs). Returns the
// idleaction bits the idle loop still has to carry out (the redraw).
int idlescript();

// Writes the current frame as the next numbered EPS file of the current
// diagram ("Script Print").
void dumpscripteps();

// Start Proof, Next Step, Previous Step and Off.
void proofcommand(int code);

// Run Script.
void runscript();

// A key or mouse press: stops a running script and rewinds its value.
void stopscript();
