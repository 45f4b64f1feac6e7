// reset.h: putting the whole core back to its start-up state.
#pragma once

// Resets every module's globals, frees the diagram and unbinds the hooks;
// tests call it before each case.
void resetall();
