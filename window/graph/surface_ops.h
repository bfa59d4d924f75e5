// The drawing engine on one window's SurfaceState (private to the window layer; Qt types).
// Callers hold the window's lock; any thread (only QImage/QPainter work here).
// Every routine returns the graphics status and leaves the changed surface
// area in s.dirty; none touches a widget.
#pragma once

#include "window/graph/graphics_data.h"

#include <cstdint>

// Outcome of one operation: the caller's result value and the status code.
struct OpResult {
    int result;     // what the public operation returns
    int16_t status; // what last_graphics_status reports afterwards
};

// Creates the surface (width x height, palette index 0) and sets the palette,
// colour, pen, viewport, window bounds, write mode, line style and fill mask
// to their initial values. The current font survives. False when the image
// cannot be allocated (the state is then reset on a null surface).
bool surface_reset(SurfaceState& s, int width, int height, int bits_per_pixel);

OpResult surface_set_viewport(SurfaceState& s, int x1, int y1, int x2, int y2);
OpResult surface_set_window(SurfaceState& s, bool invert_y, double wx1, double wy1, double wx2,
                            double wy2);
OpResult surface_set_color(SurfaceState& s, int index);
OpResult surface_set_line_style(SurfaceState& s, uint16_t mask);
OpResult surface_set_write_mode(SurfaceState& s, int mode);

// Pen moves: prev_* get the previous position (viewport pixels, saturated to
// 16 bits, or window coordinates).
OpResult surface_move_to(SurfaceState& s, int x, int y, int& prev_x, int& prev_y);
OpResult surface_move_to_w(SurfaceState& s, double wx, double wy, double& prev_wx, double& prev_wy);

OpResult surface_line_to(SurfaceState& s, int x, int y);
OpResult surface_line_to_w(SurfaceState& s, double wx, double wy);
OpResult surface_rectangle(SurfaceState& s, int control, int x1, int y1, int x2, int y2);
// points: count (x, y) pairs in viewport pixels.
OpResult surface_polygon(SurfaceState& s, int control, const int16_t* xy, int count);
// Text in the current font; length bytes (Latin-1).
OpResult surface_text(SurfaceState& s, const char* text, int length);

// Fills the rectangle (physical, inclusive, clipped to the surface) with a colour.
void surface_fill(SurfaceState& s, int left, int top, int right, int bottom, uint32_t rgb);

// Window to viewport mapping of one point (rounding half away from zero).
void window_to_viewport(const SurfaceState& s, double wx, double wy, double& vx, double& vy);

// Pen kind for a 16-bit line mask.
int pen_kind_for_mask(uint16_t mask);
