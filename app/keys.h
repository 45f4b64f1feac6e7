// keys.h: the keys and mouse buttons of the drawing area.
//
// Character keys become command codes sent through the dispatcher, so a key
// and the menu item with the same code behave alike; other keys move, turn
// and zoom the view; mouse presses drive the construction state machine.
#pragma once

// A character key: c is the first character of the key's text.
void keyboard(unsigned char c, int x, int y);

// A key without text: arrows pan, Home and End turn, Page Up and Down
// (keypad 9 and 3) zoom, or turn with the Command key held.
void special(int key, int x, int y);

// A mouse button: button 0 left, 1 middle, 2 right; state 0 press,
// 1 release; x, y in pixels of the drawing area, y downwards. A middle
// press, or a right press where a click would take nothing, starts a pan.
void mouse(int button, int state, int x, int y);

// Motion with a button held during a pan: the diagram follows the pointer
// pixel for pixel, its free points shifted as the arrow keys shift them.
// Returns 0 when no pan is under way.
int panto(int x, int y);

// The mouse wheel at window pixel (x, y), dx and dy clicks (dy > 0
// downwards): each click up zooms in by WHEELZOOM about the world point
// under the pointer, each click down out; sideways clicks, or clicks with
// Shift held, pan by WHEELPAN pixels a click.
void wheel(int dx, int dy, int x, int y);
const double WHEELZOOM = 1.1;
const int WHEELPAN = 40;

// The command of a character key, or 0; `control` and `shift` say which
// modifiers were held (a control character already counts as control).
// Sets *message to the "Unknown command" text when the key has none
// (message must hold 40 bytes), and *smear when it toggles the trace echo.
int keycommand(unsigned char c, int control, int shift, int digit,
               char* message, int* smear);

// Forgets a pending ignored release (module reset).
void resetkeys();
