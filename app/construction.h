// construction.h: the construction state machine that turns clicks in the
// drawing area into new diagram records.
//
// A construction command only sets the first state of its construction;
// each left click then picks the next object it needs, and the last pick
// builds the record through a construction helper and appends it to the
// world list. State 0 is selection. The machine itself never touches the
// toolkit: the prompt field, the panel buttons and the Control key reach it
// through the hooks below, which the program binds to its widgets and tests
// bind to recorders.
#pragma once

struct primitive;

extern int UIstate;  // state of the machine; 0 = selection
extern int sticky;   // repeat mode: a finished construction restarts

typedef void (*prompthookfn)(const char* text, int sticky);
typedef void (*buttonshookfn)(int slot);
typedef int (*modifierhookfn)();

extern prompthookfn prompthook;    // show the prompt and the repeat light
extern buttonshookfn buttonshook;  // clearbuttons(slot) on the panel
extern modifierhookfn ctrlhook;    // 1 while a Control key is held

const int MAXSTATE = 91;     // highest state number
const int MAXPOLYPICK = 10;  // points a mouse-built polygon can have
const int NOSLOT = -1;       // a construction without a panel button

// The panel slot of the "Rpt Set Color" button.
const int COLORSLOT = 16;

// One left press at pixel (x, y) of the drawing area, y counted upwards
// from the bottom edge: converts it to world coordinates and runs one step.
void handlegeombutton(int x, int y);

// One step of the machine for a click at world point (x, y); `ctrl` says a
// Control key was held (selection then walks through stacked objects).
void handleworldpick(double x, double y, int ctrl);

// What a plain click at world point (x, y) would take in the present state,
// or null: the hit test's own choice, found without selecting or building
// anything (the pointer's hover highlight shows it).
primitive* clickpick(double x, double y);

// Puts the prompt of `UIstate` into the prompt field and lights the repeat
// light exactly when `sticky` is set.
void setmessage();

// The prompt text of `state` into buf (at most `size` bytes).
void prompttext(int state, char* buf, int size);

// Back to selection: state 0, its prompt, every construction button
// released.
void setselect();

// 1 when the machine is in the selection state (dragging is allowed).
int inselectstate();

// Puts the machine into the first state of construction `code` (200001 ..
// 200048) and presses its panel button. Returns 0 for codes that start no
// construction.
int startconstruction(int code);

// The first state of construction `code`, or -1.
int firststate(int code);

// The panel slot of construction `code`, or NOSLOT.
int constructionslot(int code);

// The current colour on p: its colour when every layer is in force, else
// its colours on the layers in force (turning it to per-layer colours).
void setprimcolor(primitive* p);

// Puts the machine back to its start-up state and forgets partial picks.
void resetconstruction();
