// hittest.h: which primitive lies under a point of the drawing area.
//
// A click, turned into world coordinates, is tested against the diagram:
// for any primitive (selection) or for one type (the construction states).
// Every tolerance derives from the point-mark half-size `dpbsize`, so the
// reach of the mouse is fixed in pixels whatever the window size. Hit tests
// read the positions of the last recomputation; a `text` is found by the
// band its last drawing recorded.
#pragma once

#include "model/primitive.h"

// Distance returned for what cannot be hit.
const double NOHIT = 1e30;
// The same sentinel as a single-precision value, as some tests return it.
const double NOHITF = (double)(float)1e30;

// Tolerances in world units, from the current `dpbsize`.
double vertextolerance();  // half-width of the square around a point
double curvetolerance();   // lines, circles, Bezier curves, angles, arcs
double conictolerance();   // conics

// A primitive that is not shown cannot be picked (polygons excepted).
int hiddenforpicking(const primitive* p);

// Distances from (x, y) to one primitive, NOHIT when it cannot be hit.
double disttoline(const line* l, double x, double y);
double disttosegment(double x1, double y1, double x2, double y2, double x,
                     double y);
double disttocircle(const circle* c, double x, double y);
double disttobezier(const bezier* b, double x, double y);
double disttoconic(const conic* c, double x, double y);
double disttoangle(const angle* a, double x, double y);
double disttoarc(const arc* a, double x, double y);

// Per-primitive tests: non-zero when (x, y) hits the primitive.
int hitvertex(const vertex* v, double x, double y);
int hitline(const line* l, double x, double y);
int hitcircle(const circle* c, double x, double y);
int hitbezier(const bezier* b, double x, double y);
int hitconic(const conic* c, double x, double y);
int hitangle(const angle* a, double x, double y);
int hitarc(const arc* a, double x, double y);
int hittext(const text* t, double x, double y);
int hitpolygon(const polygon* p, double x, double y);

// Searches of the world list: the first match in list order, or null.
// Points on the layers in force; a pinned point only when no other is hit.
vertex* hitvertex(double x, double y);
line* hitline(double x, double y);
line* hitanotherline(double x, double y, primitive* other);
circle* hitcircle(double x, double y);
circle* hitanothercircle(double x, double y, primitive* other);
conic* hitconic(double x, double y);
angle* hitangle(double x, double y);
arc* hitarc(double x, double y);

// Any primitive on the layers in force after `after` (from the head when
// null). Sets `selectedtextprim` to the text hit, or clears it.
primitive* hitprimitivehelp(double x, double y, primitive* after);
primitive* hitprimitive(double x, double y);

// Selects the point under (x, y), else whatever lies there, else nothing.
void selectvertex(double x, double y);

// Selects the next primitive under (x, y) after the selected one; after the
// last, starts again as `selectvertex` does (Ctrl-click cycling).
void selectnextvertex(double x, double y);
