// shell.h: the interaction and animation state of the program's window.
//
// The window, the construction commands, the script player and drawing all
// read this state, so it lives in the headless core: the toolkit code in
// app/ only binds it to events. The idle step that drives the blink clock
// and the script animation is here too, as a function of the time, so it is
// tested without a display.
#pragma once

#include <cstdint>

struct flt;

extern int WIDTH;          // width of the drawing area in pixels
extern int HEIGHT;         // height of the drawing area in pixels
extern int MENUWIDTH;      // width of the control panel in pixels
extern int bigfont;        // larger control panel and labels
extern int singlebuffer;   // single- instead of double-buffered drawing
extern int showthetips;    // show the usage tips at start
extern int showinfomsg;    // tool tips on the control panel
extern int showthelayers;  // the layer buttons are shown

extern int UIstate;             // construction state; 0 = selection
extern int sticky;              // repeat mode for constructions
extern uint32_t filelayerset;   // layers to restore after a script
extern int runningscript;       // a script animation is running
extern flt* Script;             // the diagram's script value, or null
extern int scriptdrawn;         // a frame was drawn since the last step
extern int dumpingeps;          // write one EPS file per script frame
extern int blinkonly;           // this redraw only changes the blink phase
extern int drawgeominited;      // the background was painted at least once
extern long long lastblinktime; // monotonic microseconds of the last blink

// Microseconds between two blink phases: a third of a second.
const long long BLINKINTERVAL = 333333;

// What the window has to do after one idle step (bits, or'ed).
enum idleaction {
  IDLE_REDRAW = 1,        // request a redraw of the drawing area
  IDLE_DUMPEPS = 2,       // write the script frame as EPS
  IDLE_FIXPANEL = 4,      // redraw the control panel's label
  IDLE_SCRIPTENDED = 8,   // the script reached its stop value
};

// The time of the monotonic clock in microseconds.
long long monotonicmicros();

// One run of the idle work at time `now` (microseconds): advances the script
// and the blink phase. `damaged` says whether the drawing area already has a
// redraw pending, in which case a blink does not make a blink-only frame.
// Returns the idleaction bits the window must carry out.
int idlestep(long long now, int damaged);

// True while no construction is under way.
int inselectstate();

// Puts every shell global back to its start-up value.
void resetshell();
