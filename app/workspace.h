// Opening and closing the modelling workspace, with the parameter dialog (105) for Hc.
// Interface thread only (menu and dialog callbacks).
#pragma once

#include <cstdint>

struct Dialog;

// Template and control ids of the parameter dialog.
constexpr int32_t kParameterDialog = 105;
constexpr int32_t kHcEdit = 1032;
constexpr int32_t kHcStatus = 1033;

// Unit of the workspace window and the unit closed with it.
constexpr int kWorkspaceUnit = 10;
constexpr int kResultsUnit = 2;

// Change callback of the Hc edit: reads the typed value, and when it is valid stores it in Hc,
// recomputes Kmax and shows it; otherwise shows the error and disables OK.
void on_hc_change(Dialog& dialog, int32_t& control_id, int32_t& event);
