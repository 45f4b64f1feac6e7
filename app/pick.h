// pick.h: the mouse in the drawing area while no construction command
// takes it: a press selects, a drag moves the selected point.
#pragma once

// Mouse callback: on every press the smear trace starts anew; a left press
// selects what lies under the cursor (with Control held, the next primitive
// under it). (x, y) are window pixels, y downwards.
void pickmouse(int button, int state, int x, int y);

// 1 while a Control key is held.
int ctrlheld();
