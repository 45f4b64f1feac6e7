// view.cpp: the mapping of world coordinates onto the drawing area.
#include "render/view.h"

void resetview() {}
