// Open and Close workspace, the parameter dialog and its Hc check.
#include "app/workspace.h"

#include <string>

#include "app/forc_window.h"
#include "app/material.h"
#include "app/measurement.h"
#include "app/menu_callbacks.h"
#include "app/menu_state.h"
#include "app/number_field.h"
#include "app/save_results.h"
#include "app/shell_state.h"
#include "dialogm/dialog.h"
#include "model/density_lorentz.h"
#include "model/model_limits.h"
#include "model/model_state.h"
#include "model/mouse_interaction.h"
#include "model/plot.h"
#include "model/preisach.h"
#include "model/state_sequences.h"
#include "text/adjust_left.h"
#include "text/number_format.h"
#include "window/graph/fonts.h"
#include "window/graph/graphics.h"
#include "window/graph/mouse.h"
#include "window/graph/surface_fit.h"
#include "window/kernel/child_window.h"
#include "window/kernel/units.h"
#include "window/kernel/window_program.h"

namespace {

constexpr const char* kWorkspaceTitle = "Hysteresis modeling workspace";
constexpr char kWorkspaceFont[] = "T'COURIER'h14w9";
constexpr const char* kKmaxLabel = "Parameter Kmax =";

void format_kmax() {
    format_label_real(g_shell.text_buffer, kTextBufferLength, "(a,g14.7)", kKmaxLabel,
                      g_model.density.norm);
}

// Asks for Hc; false when the dialog was cancelled. Hc and Kmax keep whatever the last valid
// edit set, cancelled or not.
bool run_parameter_dialog() {
    Dialog& dialog = shell_dialog();
    if (!dlg_init(dialog, kParameterDialog)) stop_program("Dialog idd_Open not found");
    set_field_value(dialog, kHcEdit, g_model.density.parameter[kLorentzHc]);
    format_kmax();
    adjust_left(g_shell.text_buffer, kTextBufferLength);
    show_text_buffer(dialog, kHcStatus);
    dlg_set_callback(dialog, kHcEdit, on_hc_change);
    if (dlg_modal(dialog) == kDialogCancel) g_shell.cancelled = true;
    dlg_uninit(dialog);
    return !g_shell.cancelled;
}

// Opens the workspace window, sizes the plot from its surface, draws it and listens to the mouse.
void open_workspace_window() {
    open_window_unit(kWorkspaceUnit, kWorkspaceTitle);
    // Maximised each time it opens, and its surface as large as what the maximised window
    // shows: the whole plot, its axes and read-outs are on screen without scrolling.
    const WindowStateRecord maximised = {kWindowMaximise, 0, 0, 0, 0};
    set_window_state(kWorkspaceUnit, maximised);
    size_surface_to_window();
    init_fonts();
    set_font(kWorkspaceFont, static_cast<int>(sizeof kWorkspaceFont - 1));
    WindowConfig config = {};
    get_window_config(config);
    set_plot_surface(g_model, config.width, config.height);
    redraw_plot(g_model);
    register_mouse_event(kWorkspaceUnit, kWorkspaceMouseMask, on_mouse_event);
}

} // namespace

void on_open_workspace(int32_t& state) {
    (void)state;
    open_workspace_saturation(g_model);
    g_shell.cancelled = false;
    reset_field_flags();
    if (!run_parameter_dialog()) return;
    g_menu_state.workspace = WorkspacePhase::opening;
    g_menu_state.start_fixed = false;
    // A new workspace starts a new curve: nothing to save yet.
    g_menu_state.points_drawn = false;
    g_menu_state.unsaved = false;
    update_menus();
    open_workspace_reset(g_model);
    open_workspace_window();
    g_menu_state.workspace = WorkspacePhase::open;
    update_menus();
}

void on_close_workspace(int32_t& state) {
    (void)state;
    if (!may_lose_curve("before the workspace closes")) return;
    close_window_unit(kWorkspaceUnit, nullptr);
    // The measurement was shown in this workspace; the next one starts without it.
    clear_measurement();
    // Likewise the material: the parameter dialog asks for the Lorentzian's Hc again.
    restore_startup_density();
    set_status_message("");
    close_window_unit(kResultsUnit, nullptr);
    close_window_unit(kForcDiagramUnit, nullptr);
    g_menu_state.workspace = WorkspacePhase::none;
    // The curve went with the window: "Save results..." has nothing left to write.
    g_menu_state.points_drawn = false;
    g_menu_state.unsaved = false;
    g_menu_state.forc_measured = false;
    update_menus();
}

void on_hc_change(Dialog& dialog, int32_t& control_id, int32_t& event) {
    (void)control_id;
    (void)event;
    read_field_text(dialog, kHcEdit);
    double value = g_model.density.parameter[kLorentzHc];
    const FieldReading reading = read_real_field(g_shell.text_buffer, kTextBufferLength, value);
    if (reading != FieldReading::number) {
        const char* refusal = field_refusal(reading);
        set_text_buffer(refusal ? refusal : "Error: Invalid format of Hc");
        g_shell.field_ok[0] = false;
    } else if (const char* refusal = hc_refusal(check_range(ModelQuantity::Hc, value))) {
        set_text_buffer((std::string("Error: ") + refusal).c_str());
        g_shell.field_ok[0] = false;
    } else {
        g_model.density.parameter[kLorentzHc] = value;
        g_shell.field_ok[0] = true;
        compute_kmax(g_model);
        format_kmax();
    }
    show_text_buffer(dialog, kHcStatus);
    set_control_enabled(dialog, kDialogOk, all_fields_ok());
}
