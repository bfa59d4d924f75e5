// The reversal input dialog's callbacks: Hn and the number of cycles, the cycle mode, Execute.
#include "app/input_hn.h"

#include "app/menu_callbacks.h"
#include "app/number_field.h"
#include "app/shell_state.h"
#include "dialogm/dialog.h"
#include "model/execute_cycles.h"
#include "model/model_limits.h"
#include "model/plot.h"
#include "window/kernel/stoppable_work.h"
#include "window/kernel/window_program.h"

namespace {

// Shows Hcur, Bcur and Hn, left-adjusted G14.7.
void show_current_values(Dialog& dialog) {
    set_field_value(dialog, kHcurStatic, g_model.Hcur);
    set_field_value(dialog, kBcurStatic, g_model.Bcur);
    set_field_value(dialog, kHnEdit, g_model.Hn);
}

// Cycles field "0", empty status, boxes cleared, the cycles controls and Execute disabled: the
// state at opening and after every Execute.
void reset_cycle_controls(Dialog& dialog) {
    dlg_set(dialog, kCyclesEdit, "0", 1);
    set_empty_text(dialog, kInputStatus);
    dlg_set(dialog, kCyclicBox, false);
    dlg_set(dialog, kSpiralBox, false);
    set_control_enabled(dialog, kCyclesLabel, false);
    set_control_enabled(dialog, kCyclesEdit, false);
    set_control_enabled(dialog, kExecuteButton, false);
}

void read_hn() {
    double value = g_model.Hn;
    const FieldReading reading = read_real_field(g_shell.text_buffer, kTextBufferLength, value);
    if (reading != FieldReading::number) {
        const char* refusal = field_refusal(reading);
        set_text_buffer(refusal ? refusal : "Error: Invalid format of Hn");
        g_shell.field_ok[0] = false;
    } else if (check_range(ModelQuantity::field, value) != RangeCheck::accepted) {
        set_text_buffer("Error: |Hn| must not exceed 1000");
        g_shell.field_ok[0] = false;
    } else {
        g_model.Hn = value;
        blank_text_buffer();
        g_shell.field_ok[0] = true;
        toggle_marker(g_model, true);
        show_hn_label(g_model);
    }
}

void read_cycles() {
    // A count beyond 32 bits does not read.
    int value = g_model.Ncyc;
    const FieldReading reading = read_int_field(g_shell.text_buffer, kTextBufferLength, value);
    if (reading == FieldReading::number) {
        g_model.Ncyc = value;
        blank_text_buffer();
        g_shell.field_ok[1] = true;
    } else {
        const char* refusal = field_refusal(reading);
        set_text_buffer(refusal ? refusal : "Error: Invalid number of cycles");
        g_shell.field_ok[1] = false;
    }
}

} // namespace

void on_input_hn(int32_t& state) {
    (void)state;
    reset_field_flags();
    Dialog& dialog = shell_dialog();
    if (!dlg_init(dialog, kInputDialog)) stop_program("Dialog idd_input_H not found");
    show_current_values(dialog);
    // Ncyc is kept across openings although the field shows "0".
    g_model.CycleMode = kCycleSingle;
    reset_cycle_controls(dialog);
    dlg_set_callback(dialog, kHnEdit, on_reversal_field_change);
    dlg_set_callback(dialog, kCyclesEdit, on_reversal_field_change);
    dlg_set_callback(dialog, kCyclicBox, on_cycle_mode_click);
    dlg_set_callback(dialog, kSpiralBox, on_cycle_mode_click);
    dlg_set_callback(dialog, kExecuteButton, on_execute);
    dlg_modal(dialog);
    dlg_uninit(dialog);
}

void on_reversal_field_change(Dialog& dialog, int32_t& control_id, int32_t& event) {
    (void)event;
    read_field_text(dialog, control_id);
    if (control_id == kHnEdit) read_hn();
    if (control_id == kCyclesEdit) read_cycles();
    show_text_buffer(dialog, kInputStatus);
    set_control_enabled(dialog, kExecuteButton, all_fields_ok());
}

void on_cycle_mode_click(Dialog& dialog, int32_t& control_id, int32_t& event) {
    (void)event;
    bool checked = false;
    dlg_get(dialog, control_id, checked);
    const int32_t other = control_id == kCyclicBox ? kSpiralBox : kCyclicBox;
    set_control_enabled(dialog, kCyclesLabel, checked);
    set_control_enabled(dialog, kCyclesEdit, checked);
    if (checked) {
        dlg_set(dialog, other, false);
        g_model.CycleMode = control_id == kCyclicBox ? kCycleAlternating : kCycleSpiral;
    } else {
        g_model.CycleMode = kCycleSingle;
    }
}

void on_execute(Dialog& dialog, int32_t& control_id, int32_t& event) {
    (void)control_id;
    (void)event;
    // Many cycles take seconds or more: the wait cursor says so, and Escape or the Stop box stops
    // them, the points drawn so far kept (also ended when a stop of the program unwinds this).
    StoppableWorkScope work("Executing the cycles... (Esc stops)");
    execute_cycles(g_model, &dialog);
}

void finish_execute(ModelState& m, void* ui_context) {
    set_whole_viewport();
    toggle_marker(m, true);
    show_hn_label(m);
    if (ui_context == nullptr) return;
    Dialog& dialog = *static_cast<Dialog*>(ui_context);
    show_current_values(dialog);
    reset_cycle_controls(dialog);
}
