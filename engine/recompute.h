// recompute.h: bringing the world list up to date.
//
// Every frame recomputes the diagram from its free data. `checkconstraints`
// settles the world list in dependency order, recomputing only records whose
// `satisfied` flag was cleared (by a drag, a zoom, an edit) or that depend
// on one, plus every flt, every macro call and the selected record.
// `checkconstraint` computes one record from its parents according to its
// `kind`. Geometric impossibility is not an error: the record gets
// `valid` = 0, which spreads to everything built on it. Results that come
// out non-finite (a division by zero in some formula) are treated the same
// way, so NaN never reaches a record that claims to be valid.
#pragma once

#include "model/primitive.h"

extern int appliedconstraint;  // set when checkconstraint settles a record
extern int degreemode;         // angle arguments taken from flts are degrees

// Recomputes the world list; one "Wacko constraints" alert per record whose
// parents never settle (a cycle, or a parent missing from the list).
void checkconstraints();

// Computes p once if its parents are settled (then sets `satisfied`);
// otherwise leaves it unsettled for a later walk.
void checkconstraint(primitive* p);

// The type a record of `kind` expects in parent slot `slot` (RW_VERTEX,
// RW_LINE, ...), or RW_NONE past its last parent.
int parenttype(int kind, int slot);

// 1 when one of the first n parents is not settled (or missing).
int notsatisfied(primitive* p, int n);

// When one of the first n parents is invalid, marks p invalid and returns 1.
int invalid(primitive* p, int n);

// 1 when every number of p's result is finite.
int finiteresult(const primitive* p);

// Puts every engine global back to its start-up value.
void resetengine();
