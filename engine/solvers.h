// solvers.h: the closed-form routines that compute points, lines, circles,
// angles and ratios from their parents.
//
// Each routine reads the parents of the record it is given (in the parent
// order of its kind) and writes that record's result fields. A routine that
// finds no solution sets the record's `valid` to 0; some degenerate cases
// give a point at infinity (w = 0) or a sentinel instead, exactly as the
// diagram format has always shown them. None of them allocates.
#pragma once

#include "model/primitive.h"

// Sentinels of unmeasurable results.
const double FARDISTANCE = 1e30;  // distance involving a point at infinity
const double FARRADIUS = 1e10;    // radius of a centre-and-two-points circle
// 1e30 as a single-precision number widened back: degenerate centres and
// ratios have always carried this value.
const double FARFLOAT = 1.0000000150474662e30;

// P = the intersection of two lines; a point at infinity when parallel.
void vertonlineline(vertex* P, const line* L1, const line* L2);

// Distance between two points; FARDISTANCE when either is at infinity.
double vvdist(const vertex* A, const vertex* B);

// Distance from a point to a line; FARDISTANCE for a point at infinity or a
// line without direction.
double vldist(const vertex* V, const line* L);

// a, b, c of the line from its two defining points, with c >= 0.
void homogenizeline(line* L);

// The line through (x1, y1, w1) and (x2, y2, w2) as the cross product,
// negated so that c >= 0; a = b = c = 0 when either point is (0, 0, 0).
void linethrough(double x1, double y1, double w1, double x2, double y2,
                 double w2, double abc[3]);

// P = branch 1 or 2 of the intersection of L and C (exact tangent points
// when L is built tangent to C).
void solvevlc(const line* L, const circle* C, vertex* P, int branch);

// Whether the intersection other than V is branch 2 rather than branch 1,
// from the squared distances d1, d2 of the two branches to V on a circle
// of radius r: the farther one when V is one of them, else branch 1 unless
// V lies within a hundredth of the radius of it; `second` (the kinds
// V_LCVOTHER2, V_CCVOTHER2) takes the other one when V is neither.
int otherisbranch2(double d1, double d2, double r, int second);

// While following a motion: P (V_LC1, V_LC2, V_CC1 or V_CC2) takes the
// intersection nearer to (px, py), its own on a tie, and the kind of that
// branch; a line touching its circle gives its point of contact, the kind
// unchanged. Returns 0, leaving P alone, when the line and circle do not
// meet (the kind's own rule then makes P undefined).
int followvertex(vertex* P, double px, double py);

// P = intersection of its two circle parents, branch 1, 2, 3 (the one
// other than the third parent) or 4 (its second choice).
void vert_circcircle(vertex* P, int branch);

// Tangent from the line's vertex parent to its circle parent.
void line_vertcircletan(line* L);

// While following a motion: the tangent (L_VC1 or L_VC2) whose tangent
// point is nearer to (px, py), its own on a tie, with the kind of that
// branch. Returns 0, leaving L alone, without two tangents to choose from
// (the kind's own rule then gives the one, or none).
int followtangent(line* L, double px, double py);

// External and internal common tangents of the line's two circle parents.
void line_circcircleext(line* L);
void line_circcircleint(line* L);

// Circle through three vertex parents; collinear points give a centre at
// infinity with the points kept in `aux`.
void circle_vvv(circle* C);

// Circle tangent to three line parents: incircle (C_LLL1) or an excircle.
void circle_lll(circle* C);

// Inverse of a circle, or of a line, in a circle.
void circle_ccinvert(circle* C);
void circle_linecinvert(circle* C);

// Points: inverse in a circle, mirror in a line, rotation by an angle,
// a point on an angle bisector, a point dividing a segment.
void v_vcinvert(vertex* P);
void vlvmirror(vertex* P);
void v_avv(vertex* P);
void vert_anglebisect(vertex* P);
void v_vvflt(vertex* P);
void v_vvratio(vertex* P);

// Counterclockwise angle at the apex, in [0, 2*pi).
void a_vvv(angle* A);

// Signed ratio |AB| / |AC| of the flt's three vertex parents.
void f_vvvratio(flt* F);
