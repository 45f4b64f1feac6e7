// preffile.h: the per-user preferences file.
#pragma once

// Puts every preference global back to its start-up value.
void resetprefs();
