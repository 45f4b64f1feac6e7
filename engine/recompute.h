// recompute.h: bringing the world list up to date.
#pragma once

// Puts every engine global back to its start-up value.
void resetengine();
