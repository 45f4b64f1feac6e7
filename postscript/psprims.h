// psprims.h: each drawable record written as PostScript.
//
// The document (postscript/eps) has set up the translation, scale and clip
// so that everything here is written in world coordinates, and has written
// the record's colour; point marks write their own. Each writer follows the
// screen's geometry (render/shapes) and differs where the page does: rays
// end three units beyond their second point, circles and Bezier curves are
// exact, conics are a transformed unit circle or hyperbola, diamond, square
// and circle marks are filled white.
//
// Every writer except those of values and texts writes nothing for a record
// that is not `valid`, or that is invisible while invisibles are hidden;
// an invisible record being shown is written with thin dashes.
#pragma once

#include <cstdint>
#include <cstdio>

#include "model/primitive.h"

void vertexPostScript(FILE* out, const vertex* v);
void linePostScript(FILE* out, const line* l);
void circlePostScript(FILE* out, const circle* c);
void bezierPostScript(FILE* out, const bezier* b);
void conicPostScript(FILE* out, const conic* k);
void anglePostScript(FILE* out, const angle* a);
void arcPostScript(FILE* out, const arc* a);
void polygonPostScript(FILE* out, const polygon* p);
// A labelled value in the value column at `ym`; lowers `ym` by one line.
void fltPostScript(FILE* out, const flt* f);

// Any record by type (vertices included); types that draw nothing write
// nothing.
void primitivePostScript(FILE* out, const primitive* p);

// The point mark of `pointtype` at (x, y) in the colour `color`.
void PSdrawpoint(FILE* out, int pointtype, int color,
                 const uint8_t* layercolors, double x, double y);
void PSdrawdiamondvert(FILE* out, int color, const uint8_t* layercolors,
                       double x, double y);
void PSdrawplusvert(FILE* out, int color, const uint8_t* layercolors, double x,
                    double y);
void PSdrawcrossvert(FILE* out, int color, const uint8_t* layercolors, double x,
                     double y);
void PSdrawsoliddiamondvert(FILE* out, int color, const uint8_t* layercolors,
                            double x, double y);
void PSdrawsquarevert(FILE* out, int color, const uint8_t* layercolors,
                      double x, double y);
void PSdrawdotvert(FILE* out, int color, const uint8_t* layercolors, double x,
                   double y);
void PSdrawcircpointvert(FILE* out, int color, const uint8_t* layercolors,
                         double x, double y);

// Angle marks about V from the arm through P counter-clockwise to the arm
// through Q; radii r (r1, r2) grow with the window's width-to-height ratio.
void drawPSangle(FILE* out, double Px, double Py, double Vx, double Vy,
                 double Qx, double Qy, double r);
void drawPSrightangle(FILE* out, double Px, double Py, double Vx, double Vy,
                      double Qx, double Qy, double r);
void drawPSslash(FILE* out, double Px, double Py, double Vx, double Vy,
                 double Qx, double Qy, double r1, double r2, int n);

// One stroke from (x1, y1) to (x2, y2).
void drawline(FILE* out, double x1, double y1, double x2, double y2);

// The smear traces, in whatever colour is current, underneath the rest.
void PSdrawsmearlist(FILE* out);
