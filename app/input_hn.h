// The reversal input dialog (101): the next reversal value Hn, the number of cycles and the cycle
// mode, and Execute. Interface thread only (menu and dialog callbacks).
#pragma once

#include <cstdint>

#include "model/model_state.h"

struct Dialog;

// Template and control ids of the reversal input dialog.
constexpr int32_t kInputDialog = 101;
constexpr int32_t kHcurStatic = 1000;
constexpr int32_t kHnEdit = 1002;
constexpr int32_t kCyclicBox = 1004;
constexpr int32_t kCyclesLabel = 1005;
constexpr int32_t kCyclesEdit = 1006;
constexpr int32_t kExecuteButton = 1007;
constexpr int32_t kInputStatus = 1008;
constexpr int32_t kSpiralBox = 1009;
constexpr int32_t kBcurStatic = 1010;

// Change callback of the Hn and cycles edits.
void on_reversal_field_change(Dialog& dialog, int32_t& control_id, int32_t& event);

// Click callback of the two cycle-mode check boxes.
void on_cycle_mode_click(Dialog& dialog, int32_t& control_id, int32_t& event);

// Click callback of Execute: runs execute_cycles on the model with this dialog.
void on_execute(Dialog& dialog, int32_t& control_id, int32_t& event);

// The end of an Execute (connected as the model's execute-finished routine): viewport on the
// whole window, marker to Hn, "Hn=" read-out, and the dialog reset (ui_context is the Dialog).
void finish_execute(ModelState& m, void* ui_context);
