// recompute.h: bringing the world list up to date.
#pragma once

struct primitive;

// Recomputes every record of the world list in dependency order.
void checkconstraints();

// Computes one record from its parents when they are settled.
void checkconstraint(primitive* p);

// Puts every engine global back to its start-up value.
void resetengine();
