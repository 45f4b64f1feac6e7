// scriptframes.h: the numbered EPS files of a script run ("Script Print").
//
// While a script runs with Script Print on, every drawn frame is written as
// an EPS file named after the diagram: the file name without its one-letter
// extension, then a three-digit frame number, then ".eps". Numbering starts
// at 000 and starts again at 000 with the run after a finished one.
#pragma once

const int SCRIPTPATHSIZE = 1024;  // bytes of a frame's path

extern int epsframe;          // number of the next frame written
extern int restartepsframes;  // the next frame starts a new run at 000
extern int epsframeerrors;    // frames that could not be written

// How a frame is written: the writer of a file and the extension of the
// frame names; `dumpPostScript` and ".eps" unless another export is chosen.
extern int (*framewriter)(const char* path);
extern const char* frameextension;

// The base of the frame names for the diagram file `filename`: the name
// without its extension when it ends in '.' and one letter (".T"), the name
// itself otherwise; "$HOME/Desktop/GeomFile" when there is no name. Returns
// 0 when it does not fit in `size` bytes.
int scriptframebase(char* out, int size, const char* filename);

// The path of frame n: "%s%03d" with the base, then `frameextension`. 0
// when it does not fit.
int scriptframename(char* out, int size, const char* base, int n);

// Writes the current view (as last recomputed) as the next frame of `base`
// with `EPS` set for the call. When no script is running any more, the
// next frame restarts the numbering. Returns 1 when the file was written;
// a frame that cannot be written (reported once by the writer) turns
// Script Print off, so one failure does not become an alert per frame.
int dumpscriptframe(const char* base);

// Puts the frame numbering back to its start-up state.
void resetscriptframes();
