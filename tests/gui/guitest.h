// guitest.h: helpers of the window tests: the real program window on a
// virtual display, frames read back from OpenGL, and synthetic mouse
// events delivered through the drawing area's own event handler.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/primitive.h"

// One frame read back from the drawing area, bottom row first.
struct frame {
  int w = 0, h = 0;
  std::vector<unsigned char> rgb;
  const unsigned char* at(int x, int y) const { return &rgb[3 * (y * w + x)]; }
};

struct rgbcolor {
  int r, g, b;
};

// Alerts shown since the last `cleardiagram`.
extern std::vector<std::string> guialerts;

// Lets the toolkit handle pending events for about `seconds`.
void pump(double seconds);

// Empties the diagram and puts styles, layers, view switches and the smear
// trace back to their start-up values.
void cleardiagram();

// Reads a diagram file into the emptied world list; 1 on success.
int loaddiagram(const char* path);

// Draws one frame into the back buffer and reads it.
frame drawframe();

// Reads the back buffer as it is (after a drawgeom of the caller's own).
frame readback();

// World point to window pixel (x right, y up from the bottom row).
void worldtopixel(double wx, double wy, int* px, int* py);

// 1 when some pixel within `radius` pixels of the world point has colour c
// (each channel within `tol`).
int colornear(const frame& f, double wx, double wy, rgbcolor c, int radius,
              int tol = 3);

// 1 when some pixel within `radius` of the world point differs from the
// black background.
int inknear(const frame& f, double wx, double wy, int radius);

// Number of pixels of colour c in the whole frame.
int countcolor(const frame& f, rgbcolor c, int tol = 3);

// Appends a record made by the caller to the world list.
vertex* addpoint(double x, double y, int kind = FREE, int color = COLOR_WHITE);

// Delivers a mouse press, drag or release at world point (wx, wy) (or at
// window pixel (px, py), y downwards) through the drawing area's handler.
void mousepress(double wx, double wy, int ctrl = 0);
void mousedragto(double wx, double wy);
void mousedragtopixel(int px, int py);
void mouserelease();

// Writes the frame as a PPM picture (top row first), for looking at it.
void saveframe(const frame& f, const char* path);
