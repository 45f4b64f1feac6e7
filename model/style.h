// style.h: the style state new records take their defaults from.
//
// Commands of the user interface set these; record constructors and the
// construction helpers read them. The layer state lives here too because
// every record's colour at construction depends on it.
#pragma once

#include <cstdint>

extern int currentcolor;        // colour code given to new records
extern int currentpointtype;    // marker of new vertices
extern int currentlinetype;     // extent of new lines
extern int currentlinestyle;    // dash style of new lines
extern int currentlinemark;     // tick marks of new lines
extern int currentangletype;    // mark of new angles
extern int currentpolytype;     // style of polygons built with the mouse
extern int defpolytype;         // style of polygons read from files
extern double widthmultiplier;  // width of new records
extern uint32_t layerset;       // layers in force
extern int minlayer;            // lowest layer in force, -1 when none
extern int showinvisible;       // invisible records are drawn and picked

// Puts every style global back to its start-up value.
void resetstyle();

// Sets `minlayer` from `layerset`.
void updateminlayer();

// Sets `minlayer` and shows `layerset` on the layer buttons (through the
// notification seam).
void setlayerbuttons();
