// The Axes dialog (103): the plotted ranges of H and B, validated while typing, applied on OK.
// Interface thread only (menu and dialog callbacks).
#pragma once

#include <cstdint>

struct Dialog;

// Template and control ids of the Axes dialog.
constexpr int32_t kAxesDialog = 103;
constexpr int32_t kHminEdit = 1021;
constexpr int32_t kHmaxEdit = 1022;
constexpr int32_t kBminEdit = 1026;
constexpr int32_t kBmaxEdit = 1027;
constexpr int32_t kAxesStatus = 1028;

// Change callback of the four bound edits: the typed value must read, stay within 1000 in
// magnitude, and keep Hmin < Hmax and Bmin < Bmax; otherwise OK is disabled.
void on_axes_change(Dialog& dialog, int32_t& control_id, int32_t& event);
