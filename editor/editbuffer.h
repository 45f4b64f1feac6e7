// editbuffer.h: the line buffer of the diagram text editor and its state.
//
// The text is a doubly linked list of line records taken from a pool. Every
// line holds its line end; the list always ends with an extra line holding
// only a line end, so the cursor can stand below the last real line; that
// line is never written out. A position is a line record and a character
// index within its text (0 up to the index of its line end); the selection
// is the text between point (the cursor) and mark, empty when they agree.
//
// This part knows nothing of a toolkit: the editor view only draws the
// lines' display copies and hands keys and clicks to the commands.
#pragma once

#include <cstdio>

// One line of the buffer. `linetext` and `disp` are owned; a line back in
// the pool keeps both arrays for reuse.
struct _line {
  _line* next;     // following line, null for the last
  _line* prev;     // preceding line, null for the first
  int length;      // characters in linetext, the line end included
  char* linetext;  // the line with its '\n', NUL-terminated
  char* disp;      // display copy: tabs expanded, no line end
  int textcap;     // capacity of linetext, a multiple of 32
  int dispcap;     // capacity of disp
};

const int TABWIDTH = 8;          // tabs stop at multiples of this column
const int LINEPOOLBLOCK = 100;   // line records allocated at once
const int EDITPATHSIZE = 1024;   // bytes of the edited files' paths
const int FINDSTRINGSIZE = 256;  // bytes of the search string kept
const int DAMAGEALL = -1;        // mindamage: every line must be drawn
const int DAMAGENONE = -2;       // mindamage: nothing to draw

// The editor's whole state; the program has one editor.
struct editorstate {
  _line* top;     // first line
  _line* bottom;  // last line (the extra one)
  int nlines;     // lines, the extra last one included
  _line* point;   // the cursor's line
  int pointline;  // its index, from 0
  int pointchar;  // the cursor's character index in it
  _line* mark;    // the selection's other end
  int markline;
  int markchar;
  _line* topdispline;           // first line shown
  int topdisplineoffset;        // its index
  int displines;                // lines that fit in the view
  int fontheight;               // pixels per line
  int charwidth;                // pixels per character cell
  int mindamage;                // lines to redraw: DAMAGEALL, DAMAGENONE or a
  int maxdamage;                //   range mindamage..maxdamage
  int goalcolumn;               // column kept by vertical moves, -1 for none
  int dirtyfile;                // the buffer changed since it was loaded
  int pasteenabled;             // a Paste command waits for the clipboard
  int starteditline;            // line to select on loading, counted from 1
  int editdone;                 // 0 editing, 1 done, 2 quit the program
  char editpath[EDITPATHSIZE];  // the copy being edited
  char origpath[EDITPATHSIZE];  // the text as it was before editing
  char findstring[FINDSTRINGSIZE];  // previous search string
};

extern editorstate ed;  // the editor's state

// A line from the pool holding only a line end; never null.
_line* allocline();

// Returns l to the pool (its arrays are kept).
void freeline(_line* l);

// Empties the buffer into the pool and leaves one extra last line.
void clearbuffertext();

// Makes l's display copy agree with its text.
void rebuilddisp(_line* l);

// The line of index i (clamped to the buffer), and the index of l.
_line* lineat(int i);
int lineindex(const _line* l);

// The screen column of character c of l (tabs expanded).
int dispcolumn(const _line* l, int c);

// The character index shown at screen column col of l: inside a tab's
// blanks, before or after the tab, whichever boundary is nearer; past the
// text, the line end.
int charatcolumn(const _line* l, int col);

// Moves point, or mark, or both, to character c of l (c clamped to the
// line: at most the index of its line end).
void setpoint(_line* l, int c);
void setmark(_line* l, int c);
void setcursor(_line* l, int c);

// 1 when the selection is empty.
int selectionempty();

// The selection in text order: start line and char, end line and char.
void orderedselection(_line** l1, int* c1, _line** l2, int* c2);

// Deletes the text from (l1, c1) up to (l2, c2), which follows it; lines
// between and l2 go back to the pool. The cursor ends at (l1, c1).
void deleterange(_line* l1, int c1, _line* l2, int c2);

// The editing operations: each marks the buffer changed and the lines
// to redraw.
void deleteselection();
void insertchar(int c);
void insertnewline();
void backspacecmd();

// Lines to redraw.
void damageline(int i);
void damagefrom(int i);
void damageall();

// Scrolls so that the selection can be seen.
void showselection();

// Sets the first line shown (clamped to the buffer).
void settopline(int i);

// Loads the stream into the buffer (lines of any length; a last line
// without a line end gets one), puts the cursor on `starteditline` and
// selects that line when it is not the first. Clears `dirtyfile`.
void readfile(FILE* stream);

// Writes every line but the extra last one exactly as held. Returns 1 when
// every byte was written.
int writefile(FILE* stream);

// The buffer's text as written by writefile (for tests and the clipboard).
// The caller frees the result with free().
char* buffertext();

// Frees the buffer, the pool and every editor setting.
void reseteditor();
