// The plot as an SVG picture: the same geometry, colours and texts as the drawn workspace, as
// vector shapes. Pure; any thread with its own ModelState (the program's is interface thread only).
#pragma once

#include <string>

#include "model/measured_overlay.h"
#include "model/model_state.h"

// Writes an SVG document of width x height pixels (the workspace surface's size) into out: white
// background, the plot frame, the dotted quarter grid, the F8.2 tick labels, the axis names, the
// dotted green limiting loop and the red curve (points 0..Ndrawn) clipped to the plot area, the
// dotted cyan marker line at Hn, the "Hn=" read-out and the legend; with a measurement (not null,
// not empty) its curves in solid blue under the red curve and its legend entry. Points that are not
// finite and equal axis bounds (no scale) leave the curves out. Returns false (out empty) for a
// size that is not positive.
bool format_plot_svg(const ModelState& m, int width, int height, std::string& out,
                     const MeasuredOverlay* measurement = nullptr);
