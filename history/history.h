// history.h: undo and redo of the diagram as snapshots of its own text.
//
// The history holds the text the writer gives for the present diagram
// (`current`) and, for each step, the text before it. A change anywhere in
// the program only marks itself pending (`notechange` / `setdirtyfile`,
// model/worldlist.h); `historycommit` then writes the diagram into memory
// and records a step when the text differs from `current`. The same
// comparison decides the modified mark: a change that writes the text it
// started from is no change, and undoing back to the state last saved is
// clean again. Reading a snapshot back rebuilds every record, so a step can
// never fall out of step with the records it restores.
#pragma once

#include <cstddef>
#include <string>

const int HISTORYSTEPS = 1000;                // steps kept at most
const size_t HISTORYBYTES = (size_t)64 << 20;  // bytes of text kept at most

// Starts a new history at the present diagram: no steps; the present state
// is the saved one when `clean` is set, else no state is (a recovered or
// unsaved diagram stays modified until saved). New, Open, ReOpen.
void historyreset(int clean);

// Remembers the selection before a change, so an undo selects it again.
void historybegin();

// Takes a pending change into the history as the step `action` ("Drag",
// "Delete"). With `burst` set, a step of the same action committed within
// the last second, with no break since, grows instead of a new one (a held
// key, a turned wheel). A changed text sets the modified mark; an
// unchanged one puts back the mark of `historybegin` time (a drag that
// ended where it began, an editor round trip that was quit). Clears the
// pending change. Returns 1 when the text changed.
int historycommit(const char* action, int burst);

// Ends any burst: the next commit starts a step of its own.
void historybreak();

// Undo and redo one step (a pending change is committed first): the
// diagram, the selection and the modified mark as they were. 1 when done.
int historyundo();
int historyredo();

// The action of the step undo (redo) would take back, or null.
const char* historyundoname();
const char* historyredoname();

// The present state is what the file now holds (after a save).
void historysaved();

// Keeps the present state (its text and selection) aside while a file is
// read in place of the diagram; `historyputback` reads it back when that
// reading failed, so the diagram, its selection and mark are as they were
// and the history goes on as if nothing had been read.
void historyhold();
void historyputback();

// The text of the present state as of the last commit.
const std::string& historytext();

// Steps held for undo and for redo, and the bytes of text they hold.
int historyundocount();
int historyredocount();
size_t historybytes();

// Empties the history.
void resethistory();
