// finder.h: sampling a moving diagram for relations.
#pragma once

// Puts every relation-finder global back to its start-up value.
void resetrelations();
