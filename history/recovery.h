// recovery.h: the file that keeps unsaved work across a crash.
//
// While the diagram is modified its text is written, now and then and when
// the program is told to end (SIGTERM, SIGHUP), to "<hash>-<pid>.T" in the
// recovery folder: $XDG_STATE_HOME/tessarin, else ~/.local/state/tessarin.
// <hash> stands for the diagram's file (its absolute path, or "" for an
// unnamed diagram) and <pid> for the program writing it, so two running
// programs never write the same file; a file whose program has ended may
// be claimed by renaming it to the claimer's own name, which only one
// claimer can win. The file is mode 0600, written beside and renamed over,
// and opens with one header line naming the diagram's file.
#pragma once

#include <string>

// The recovery folder, created (mode 0700) when missing; "" when there is
// none to be had.
std::string recoverydir();

// The name of the recovery file a program `pid` keeps for `diagram`.
std::string recoverypath(const char* diagram, long pid);

// Builds what recoverywrite will write: the text of the diagram `diagram`
// (null or "" when unnamed). The previous build stays whole until this one
// is complete, so a signal in between writes the previous one.
void recoveryprepare(const char* diagram, const std::string& text);

// Writes the prepared text to this program's recovery file. Uses only
// calls that are safe in a signal handler. 1 when written.
int recoverywrite();

// Removes this program's recovery file, if it wrote one.
void recoveryremove();

// Writes the prepared text and ends the program on SIGTERM and SIGHUP.
void recoverysignals();

// A recovery file for `diagram` left by a program that is no longer
// running and newer than the diagram's file; the newest one. 1 when found.
int recoveryfind(const char* diagram, std::string* found);

// Takes `found` over as this program's own recovery file and reads it:
// the diagram's text and the diagram's file name ("" when unnamed). 0 when
// another program claimed it first or it cannot be read.
int recoveryclaim(const std::string& found, std::string* text,
                  std::string* diagram);

// Forgets this program's recovery file (without removing it).
void resetrecovery();
