// safesave.h: replacing a file without ever losing the old one.
//
// A save writes into a new file beside the target and renames it over the
// target only once every byte is on the disk; the folder is synced after
// the rename, so the new name survives a crash too. A symbolic link is
// followed: its final target is written and the link stays. The new file
// takes the old one's mode, group and, where the system permits, owner.
//
// When the folder allows no new file but the target itself may be written
// (a writable file in a read-only folder), the text is gathered in memory
// and written over the target in place only once it is complete, so a
// failure before that point leaves the target untouched.
//
// The diagram writer and the preferences writer both save this way.
#pragma once

#include <cstdio>
#include <string>

struct safesave {
  FILE* f = nullptr;    // where the caller writes the text
  std::string target;   // the file finally replaced (links followed)
  std::string temp;     // the new file beside it; empty when in place
  char* mem = nullptr;  // in place: the text gathered so far
  size_t memsize = 0;
};

// Opens s->f for a save to `path`. 1, or 0 with errno set when neither a
// file beside the target nor the target itself can be written.
int beginsave(safesave* s, const char* path);

// Closes s->f and puts the text in place. 1 when all of it reached the
// disk; 0 with errno set otherwise, the old file then left as it was.
int endsave(safesave* s);

// Drops a save that was begun and not ended; the old file stays.
void abandonsave(safesave* s);

// The final target of `path` after following symbolic links (at most 40);
// `path` itself when it is no link.
std::string followlinks(const char* path);
