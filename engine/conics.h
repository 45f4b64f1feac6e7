// conics.h: conics through five points or tangent to five lines, their
// intersections with lines, tangents from a point, and the projection of a
// point onto a conic.
//
// A conic is A x^2 + B xy + C y^2 + D x + E y + F = 0 (`coef`). The five-
// point and five-line conics solve a 5x5 linear system by LU decomposition.
#pragma once

#include "model/primitive.h"

// In-place LU decomposition with partial pivoting and implicit row scaling.
// Returns 0 when a row is entirely zero (singular), else 1.
int ludecompose(double a[5][5], int indx[5]);

// Solves with a decomposition from ludecompose; b becomes the solution.
void lubksb(double a[5][5], const int indx[5], double b[5]);

// The conic through the record's five vertex parents (F normalised to 1, so
// a conic through the origin cannot be represented and is invalid).
void conic_vvvvv(conic* K);

// The conic tangent to the record's five line parents.
void conic_lllll(conic* K);

// Branch 1 or 2 (by P's kind) of the intersection of P's line parent with
// its conic parent; (0, 0, 0) when they do not meet.
void vert_lineconic(vertex* P);

// Tangent from the line's vertex parent to its conic parent, branch by the
// line's kind; the tangent at the vertex when it lies on the conic by
// construction.
void linetangenttoconic(line* L);

// Moves P to the nearest point of K within the visible world rectangle, or
// gives P w = 0 when K is nowhere in view.
void projecttoconic(vertex* P, const conic* K);
