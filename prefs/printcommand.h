// printcommand.h: the shell command that prints a PostScript file.
//
// The user's print command from the preferences is a template in which
// "%s" stands for the file to print. It is the user's text, so it is never
// handed to printf: only "%s" and "%%" mean anything, and any other "%" is
// copied as it stands.
#pragma once

// Writes `printcmdstring` with every "%s" replaced by `path` (quoted for
// the shell when it holds anything but plain path characters) into out.
// Returns 0, with out empty, when there is no print command or the result
// does not fit in `size` bytes.
int formatprintcommand(char* out, int size, const char* path);
