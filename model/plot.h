// The plot of the workspace window: frame, quarter grid, tick labels, limiting loop, curve, Hn
// marker and read-out. Interface thread only (menu, dialog and mouse handlers); draws on the
// calling thread's current window, which must be the workspace window.
#pragma once

#include <cstdint>

#include "model/measured_overlay.h"
#include "model/model_state.h"
#include "model/plot_legend.h"

// Colour indices of the default palette used by the plot.
constexpr int16_t kColourBlack = 0;  // frame, grid, labels, text
constexpr int16_t kColourGreen = 2;  // limiting loop
constexpr int16_t kColourCyan = 3;   // marker (XOR)
constexpr int16_t kColourBlue = 9;   // measurement
constexpr int16_t kColourRed = 12;   // constructed curve
constexpr int16_t kColourWhite = 15; // background and read-out boxes

// Line style masks: dotted (grid, limiting loop, marker line) and solid.
constexpr int16_t kDottedMask = static_cast<int16_t>(0xCCCC);
constexpr int16_t kSolidMask = static_cast<int16_t>(0xFFFF);

// Width of the "Hn=" read-out text: "Hn=" and a G13.7 number.
constexpr int kHnLabelLength = 16;

// Remembers the workspace surface's size in pixels (as get_window_config reports it) and sets
// PlotLeft, PlotTop, PlotRight and PlotBottom from it. Open workspace calls it once.
void set_plot_surface(ModelState& m, int32_t width_px, int32_t height_px);

// Size remembered by set_plot_surface (0 before the first call).
int32_t plot_surface_width();
int32_t plot_surface_height();

// The measurement drawn with the limiting loop (solid blue, under the curve) and named in the
// legend; null or an empty record draws none. The record must outlive its registration: the
// workspace owns it and registers it while it is shown.
void set_plot_measurement(const MeasuredOverlay* overlay);

// Viewport back to the whole window, (0, 0) to (W - 1, Ht - 1).
void set_whole_viewport();

// Clears the window and draws everything anew: frame, grid, labels, limiting loop, the whole
// curve, marker and "Hn=" read-out; recomputes HperPixel and BperPixel. Ends with the viewport
// on the whole window. Equal axis bounds draw the frame, grid and labels but no curve (the
// per-pixel factor is then 0, never a division by zero).
void redraw_plot(ModelState& m);

// Draws the Nnew points after Ndrawn in red (and the dotted green limiting loop and the
// measurement first when Ndrawn is 0) in the plot area, commits them (Ndrawn += Nnew, Nnew := 0)
// and reports them through notify_points_drawn (the program enables "Save results..."). Leaves the
// viewport on the plot area: callers set it back.
void draw_new_points(ModelState& m);

// draw_new_points with the marker lifted off while the points are drawn and put back on top:
// a curve drawn over the XOR marker would otherwise leave traces of it behind when the marker
// moves. Used after every construction (right button, each leg of an Execute); redraw_plot draws
// the marker last anyway. Ends with the viewport on the whole window.
void draw_new_points_under_marker(ModelState& m);

// Draws the marker at MarkerX in XOR mode (erasing it when it is there); with move, erases it at
// MarkerX, sets MarkerX from Hn and draws it there. Expects the viewport on the whole window.
void toggle_marker(ModelState& m, bool move);

// Rewrites the "Hn=" read-out below the plot. Expects the viewport on the whole window.
void show_hn_label(const ModelState& m);

// MarkerX for the current Hn: the pixel column of Hn minus 3, saturating far outside the axes.
int16_t marker_x_for_hn(const ModelState& m);
