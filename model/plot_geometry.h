// Pixel geometry of the plot: plot rectangle from the surface size, pixel/field conversions.
// Pure arithmetic, no drawing; any thread may call it.
#pragma once

#include <cstdint>

// Left and top edges of the plot area in window pixels; they never change.
constexpr int16_t kPlotLeft = 67;
constexpr int16_t kPlotTop = 8;

// Right edge of the plot area for a surface width_px pixels wide:
// 67 + 4 * ((width_px - 107) / 4), the division truncating toward zero,
// so the plot's width is a multiple of 4 and the quarter grid falls on pixels.
// Saturates to the 16-bit pixel range for absurd widths.
int16_t plot_right_for_width(int32_t width_px);

// Width in pixels of the plot area of a surface width_px wide: plot_right_for_width - kPlotLeft.
int32_t plot_width_for_surface(int32_t width_px);

// Surface width the batch tool assumes when no plot width is given: a 1024 x 768 window, whose
// plot area is 916 pixels wide.
constexpr int32_t kDefaultSurfaceWidth = 1024;

// Bottom edge for a surface height_px high: 8 + 4 * ((height_px - 160) / 4).
int16_t plot_bottom_for_height(int32_t height_px);

// Field per pixel along one axis: (hi - lo) / pixels. Returns 0 when the span
// of pixels is 0 (a degenerate plot rectangle) instead of dividing by zero.
double field_per_pixel(double lo, double hi, int32_t pixels);

// Pixel column of the field h: left + round((h - lo) / per_pixel), halves away
// from zero. The quotient saturates so that the column and the marker drawn
// around it (column - 3 .. column + 3) stay inside the 16-bit pixel range;
// a zero or non-finite per_pixel, or a NaN h, gives the left edge.
int16_t field_column(double h, double lo, double per_pixel, int16_t left);

// True when (x, y) lies in the plot rectangle, the frame itself included.
bool inside_plot(int32_t x, int32_t y, int16_t left, int16_t top, int16_t right, int16_t bottom);
