// editkeys.h: the editor's keyboard table.
//
// A key and its modifiers (shift, the command key, alt) select a 16-bit
// command code of `handleeditorcmd`: printable keys give their character
// (the shifted one with shift), the editing keys and command-key letters
// give commands, everything else 0 (nothing). While caps lock is on, a
// second table gives upper-case letters for unshifted letter keys.
#pragma once

#include <cstdint>

const int NEDITKEYS = 63;  // keys the table knows
const int NEDITMODS = 8;   // shift, command and alt combined

// Modifier bits of a table column.
enum editmod { EM_SHIFT = 1, EM_COMMAND = 2, EM_ALT = 4 };

// The table's keys: toolkit key codes (ORDER EDITKEYS).
extern const int editkeycodes[NEDITKEYS];

// Command code for a toolkit key code and toolkit event state (its shift,
// command, alt and caps lock bits are used); 0 for keys without an entry.
int keytocommand(int key, int state);
