// recompute.cpp: bringing the world list up to date.
#include "engine/recompute.h"

void resetengine() {}
