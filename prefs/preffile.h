// preffile.h: the per-user preferences file ".tessarinrc".
//
// The file lives in the home directory and holds one setting a line, each
// line opening with its keyword (a keyword with a value: one blank, then the
// value). Reading sets the globals below and a few that belong to the view,
// the colours and the world list; writing puts back only what differs from
// the program's defaults. The core reads and writes the file; the program
// applies the settings to its windows.
//
// Writing never truncates the user's file in place: the new settings go to
// a file beside it, which is renamed over the old one only once it has been
// written completely, so an interrupted or failed write keeps the old file.
#pragma once

#include <string>

#include <cstdio>

const int BROWSERNAMESIZE = 96;
const int PRINTCMDSIZE = 152;
const int PREFLINESIZE = 200;
// Opens a page in the desktop's own browser.
const char DEFAULTBROWSER[] = "xdg-open";  // longer lines are cut to this many bytes

extern char browsername[BROWSERNAMESIZE];  // help browser; kept, not used
extern char printcmdstring[PRINTCMDSIZE];  // print command, "%s" = file
extern int WIDTH;                          // drawing-area width (>= 200)
extern int HEIGHT;                         // drawing-area height (>= 200)
extern int bigfont;                        // wider panel, larger UI text
extern int singlebuffer;                   // single-buffered OpenGL
extern int showthetips;                    // tips window at start-up
extern int showinfomsg;                    // tool tips on the panel
extern int showthelayers;                  // layer buttons shown
extern int edittextsize;                   // text size of the editor
extern int scalechoice;  // screen scale in percent; 0: from the display
extern int sizegiven;    // the file named the drawing-area size
// The drawing-area size the program chose itself (400 x 450 until the
// window is fitted to the display): not written unless the user changes it.
extern int autowidth, autoheight;
extern FILE* defaultfile;                  // preferences stream being written
extern char lastfolder[PREFLINESIZE];      // folder of the last chosen file

// The preferences file: $HOME/.tessarinrc, or ./.tessarinrc when HOME is
// unset or empty.
const char* defaultfilename();

// Applies one line of the file (trailing newline allowed); unknown lines
// are ignored. The first keyword that is a prefix of the line wins.
void parsedefaultline(const char* line);

// Applies every line of `text` (lines separated by newlines).
void parsedefaulttext(const char* text);

// Reads the preferences from `path`; when it does not exist, creates it
// empty. Returns 1 when the file could be read or created, 0 otherwise (all
// settings then keep their values).
int parsedefaultpath(const char* path);

// parsedefaultpath(defaultfilename()); the result tells start-up whether the
// tips window may be shown.
int parsedefaultfile();

// Opens a fresh file beside `path` for writing and makes it `defaultfile`.
// Returns 0 (and leaves `defaultfile` null) when it cannot be created.
int openwritedefaultpath(const char* path);
int openwritedefaultfile();

// Writes the settings that differ from the defaults to `defaultfile`,
// raising WIDTH and HEIGHT to at least 200 first.
void dumpdefaults();

// Closes `defaultfile` and, when every byte reached the disk, renames it
// over the preferences file. On any failure the new file is removed, the
// old one is left as it was, and 0 is returned.
int closedefaultfile();

// Opens, dumps and closes in one step; a failure shows the alert
// "Can't open defaults file". Returns 1 on success.
int savedefaultspath(const char* path);
int savedefaults();

// Makes `folder` the last used folder and puts it into the preferences
// file at `path` (null: the user's file), changing no other line there.
// A folder that does not fit on a line is not kept. 1 when written.
int savelastfolder(const char* folder, const char* path);

// The lines of the preferences file `path` that do not start with `word`,
// for rewriting the file with that one setting changed. Returns 0, and
// nothing is to be written, when the file exists but cannot be read whole:
// writing then would lose the settings not read.
int keepprefslines(const char* path, const char* word, std::string* kept);

// Puts every preference global back to its program default and drops an
// unfinished write.
void resetprefs();
