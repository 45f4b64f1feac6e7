// view.h: the mapping of world coordinates onto the drawing area.
#pragma once

// Puts every view global back to its start-up value.
void resetview();
