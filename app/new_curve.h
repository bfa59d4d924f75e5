// The full curve buffer's message in the workspace, and "New curve", which goes on from the present
// point. Interface thread only.
#pragma once

#include <cstdint>

// What the workspace and the status bar say once the curve buffer is full.
constexpr const char* kCurveFullText =
    "Curve buffer full (300000 points): State > New curve goes on from here";

// True when the drawn curve fills the buffer: constructions add no point until a new curve starts.
bool curve_buffer_full();

// Writes kCurveFullText below the plot's read-outs and in the status bar. Draws on the current
// window, the workspace; leaves the viewport on the whole window.
void show_curve_full_message();

// The model's points-drawn routine: on_points_drawn, then show_curve_full_message once the buffer
// is full.
void on_curve_points_drawn();

// "New curve" (declared with the other menu callbacks in app/menu_callbacks.h): after the question
// about an unsaved curve, drops the drawn curve, keeps the present point as the new curve's start
// (with the whole reversal history) and redraws the plot.
