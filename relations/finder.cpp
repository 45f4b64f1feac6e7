// finder.cpp: sampling a moving diagram for relations.
#include "relations/finder.h"

void resetrelations() {}
