// kinds.h: the records the engine computes in place, without a solver.
//
// Each routine computes one kind (or a family of kinds sharing a formula)
// of the record it is given, whose parents are already settled and valid
// (checkconstraint makes sure of that). Routines that find the result
// undefined set `valid` to 0.
#pragma once

#include "model/primitive.h"

// Points kept on a curve: the stored position is pulled onto it.
void projecttoline(vertex* P);
void projecttocircle(vertex* P);

// Vertices.
void v_ccenter(vertex* P);
void v_vvmid(vertex* P);
void v_ff(vertex* P);
void v_vx(vertex* P);
void v_vtranslate(vertex* P);
void v_vscale(vertex* P);
void v_vrotate(vertex* P);
void v_lcvother(vertex* P);
void v_vvvharmonic(vertex* P);

// Lines.
void l_vv(line* L);
void l_vlpar(line* L);
void l_vlperp(line* L);
void l_vvperp(line* L);

// Circles.
void c_vv(circle* C);
void c_vcrad(circle* C);
void c_vf(circle* C);
void c_ctrvv(circle* C);

// Bezier curves, angles, polygons and numbers.
void bez_vvvv(bezier* B);
void a_f(angle* A);
void setpolyarea(polygon* P);
void f_polyarea(flt* F);
void f_vv(flt* F);
void f_vcoord(flt* F);

// Transforms and layer conditions.
void x_xxf(xform* X);
void x_scale(xform* X);
void x_translate(xform* X);
void x_rotate(xform* X);
void x_f9(xform* X);
void layercond(layercondition* C);

// An angle argument in radians: flt values are degrees in degree mode.
double radiansof(double t);
