// The Settings dialog's callbacks: Smem and Amem checked while typing, the start state on OK.
#include "app/settings_dialog.h"

#include "app/menu_callbacks.h"
#include "app/menu_state.h"
#include "app/number_field.h"
#include "app/shell_state.h"
#include "dialogm/dialog.h"
#include "model/model_state.h"
#include "model/plot.h"
#include "model/state_sequences.h"
#include "window/kernel/window_program.h"

namespace {

// Reads the control's text into value; a text that is not one number leaves it as it is.
void read_value(Dialog& dialog, int32_t control_id, double& value) {
    read_field_text(dialog, control_id);
    read_real_field(g_shell.text_buffer, kTextBufferLength, value);
}

} // namespace

void on_settings(int32_t& state) {
    (void)state;
    reset_field_flags();
    Dialog& dialog = shell_dialog();
    if (!dlg_init(dialog, kSettingsDialog)) stop_program("Dialog idd_D_Set not found");
    set_field_value(dialog, kSmemEdit, g_model.Smem);
    set_field_value(dialog, kAmemEdit, g_model.Amem);
    set_empty_text(dialog, kSettingsStatus);
    // Always opens with "Ho = - Hs" selected, whatever the current start state.
    dlg_set(dialog, kStartNegativeRadio, true);
    dlg_set(dialog, kStartPositiveRadio, false);
    dlg_set_callback(dialog, kSmemEdit, on_settings_change);
    dlg_set_callback(dialog, kAmemEdit, on_settings_change);
    if (dlg_modal(dialog) == kDialogOk) {
        // The values as shown: an untouched field gives the G14.7 rendering of the old value.
        double Smem = g_model.Smem;
        double Amem = g_model.Amem;
        read_value(dialog, kSmemEdit, Smem);
        read_value(dialog, kAmemEdit, Amem);
        bool start_negative = true;
        dlg_get(dialog, kStartNegativeRadio, start_negative);
        apply_settings(g_model, Smem, Amem, start_negative);
        toggle_marker(g_model, true);
        show_hn_label(g_model);
        // Settings can be confirmed once per opened workspace.
        g_menu_state.start_fixed = true;
        update_menus();
    }
    dlg_uninit(dialog);
}

void on_settings_change(Dialog& dialog, int32_t& control_id, int32_t& event) {
    (void)event;
    const int field = control_id == kSmemEdit ? 0 : 1;
    read_field_text(dialog, control_id);
    double value = field == 0 ? g_model.Smem : g_model.Amem;
    const FieldReading reading = read_real_field(g_shell.text_buffer, kTextBufferLength, value);
    if (reading == FieldReading::number) {
        blank_text_buffer();
        g_shell.field_ok[field] = true;
    } else {
        const char* refusal = field_refusal(reading);
        set_text_buffer(refusal      ? refusal
                        : field == 0 ? "Error: Invalid format of Smem"
                                     : "Error: Invalid format of Amem");
        g_shell.field_ok[field] = false;
    }
    show_text_buffer(dialog, kSettingsStatus);
    set_control_enabled(dialog, kDialogOk, all_fields_ok());
}
