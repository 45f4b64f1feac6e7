// preffile.cpp: the per-user preferences file.
#include "prefs/preffile.h"

void resetprefs() {}
