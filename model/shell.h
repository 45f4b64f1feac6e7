// shell.h: the interaction and animation state of the program's window.
//
// The window, the construction commands, the script player and drawing all
// read this state, so it lives in the headless core: the toolkit code in
// app/ only binds it to events. The idle step that drives the blink clock
// and the script animation is here too, as a function of the time, so it is
// tested without a display.
#pragma once

// The window sizes, the start-up switches (prefs/preffile.h), the
// construction state (app/construction.h), the script (model/state.h) and
// the blink-only flag (render/view.h) live with their owners.
extern int MENUWIDTH;            // width of the control panel in pixels
extern int MENUBARHEIGHT;        // height of the menu bar in pixels
extern int runningscript;        // a script animation is running
extern int scriptdrawn;          // a frame was drawn since the last step
extern int dumpingeps;           // write one EPS file per script frame
extern long long lastblinktime;  // monotonic microseconds of the last blink

// Microseconds between two blink phases: a third of a second.
const long long BLINKINTERVAL = 333333;

// What the window has to do after one idle step (bits, or'ed).
enum idleaction {
  IDLE_REDRAW = 1,       // request a redraw of the drawing area
  IDLE_DUMPEPS = 2,      // write the script frame as EPS
  IDLE_FIXPANEL = 4,     // redraw the control panel's label
  IDLE_SCRIPTENDED = 8,  // the script reached its stop value
};

// The time of the monotonic clock in microseconds.
long long monotonicmicros();

// One run of the idle work at time `now` (microseconds): advances the blink
// phase every BLINKINTERVAL, and asks for a (blink-only) redraw when some
// primitive on the layers in force blinks. `damaged` says whether the drawing area already has a
// redraw pending, in which case a blink does not make a blink-only frame.
// Returns the idleaction bits the window must carry out.
int idlestep(long long now, int damaged);

// Puts every shell global back to its start-up value.
void resetshell();
