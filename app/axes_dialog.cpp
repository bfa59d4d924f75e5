// The Axes dialog's callbacks: the four bounds checked while typing, applied and redrawn on OK.
#include "app/axes_dialog.h"

#include <string>

#include "app/menu_callbacks.h"
#include "app/number_field.h"
#include "app/shell_state.h"
#include "dialogm/dialog.h"
#include "model/model_limits.h"
#include "model/model_state.h"
#include "model/plot.h"
#include "model/state_sequences.h"
#include "window/kernel/window_program.h"

namespace {

// One bound's edit: its control, its field flag, its name in messages and the model's value.
struct BoundField {
    int32_t control;           // edit control id
    int flag;                  // index into field_ok
    const char* name;          // "Hmax", ...
    double ModelState::*value; // the model field the bound is read into
};

// In the order of the field flags: Hmax, Hmin, Bmax, Bmin.
constexpr BoundField kBounds[4] = {
    {kHmaxEdit, 0, "Hmax", &ModelState::Hmax},
    {kHminEdit, 1, "Hmin", &ModelState::Hmin},
    {kBmaxEdit, 2, "Bmax", &ModelState::Bmax},
    {kBminEdit, 3, "Bmin", &ModelState::Bmin},
};

// The values the fields give as typed (the last value each field read), indexed like kBounds.
// They start as the values shown at opening.
double g_typed[4] = {};

const BoundField* bound_for(int32_t control_id) {
    for (const BoundField& b : kBounds)
        if (b.control == control_id) return &b;
    return nullptr;
}

// Reads the control's text into value, which starts as the model's current bound, so a read
// that is not one number leaves that bound. Returns what the field gave.
FieldReading read_bound(Dialog& dialog, const BoundField& b, double& value) {
    read_field_text(dialog, b.control);
    value = g_model.*b.value;
    return read_real_field(g_shell.text_buffer, kTextBufferLength, value);
}

// The order message for the typed values, or null when Hmin < Hmax and Bmin < Bmax.
const char* order_error(const double typed[4]) {
    if (!(typed[1] < typed[0])) return "Error: Hmin must be less than Hmax";
    if (!(typed[3] < typed[2])) return "Error: Bmin must be less than Bmax";
    return nullptr;
}

// OK exactly when every field reads and the bounds are in order.
void update_ok(Dialog& dialog) {
    set_control_enabled(dialog, kDialogOk, all_fields_ok() && order_error(g_typed) == nullptr);
}

} // namespace

void on_axes(int32_t& state) {
    (void)state;
    reset_field_flags();
    Dialog& dialog = shell_dialog();
    if (!dlg_init(dialog, kAxesDialog)) stop_program("Dialog idd_D_Axes not found");
    for (const BoundField& b : kBounds) {
        set_field_value(dialog, b.control, g_model.*b.value);
        // What OK would read from the untouched field: the G14.7 rendering.
        g_typed[b.flag] = g_model.*b.value;
        read_real_field(g_shell.text_buffer, kTextBufferLength, g_typed[b.flag]);
    }
    // Shown values that are out of order (bounds closer than G14.7 shows) cannot be confirmed.
    if (const char* error = order_error(g_typed)) {
        set_text_buffer(error);
        show_text_buffer(dialog, kAxesStatus);
    } else {
        set_empty_text(dialog, kAxesStatus);
    }
    update_ok(dialog);
    for (const BoundField& b : kBounds)
        dlg_set_callback(dialog, b.control, on_axes_change);
    if (dlg_modal(dialog) == kDialogOk) {
        double read[4];
        for (const BoundField& b : kBounds)
            read_bound(dialog, b, read[b.flag]);
        // OK is enabled only for valid bounds; check again so nothing else ever reaches the plot.
        bool valid = order_error(read) == nullptr;
        for (double v : read)
            valid = valid && check_range(ModelQuantity::axis_bound, v) == RangeCheck::accepted;
        if (valid) {
            apply_axes(g_model, read[1], read[0], read[3], read[2]);
            redraw_plot(g_model);
        }
    }
    dlg_uninit(dialog);
}

void on_axes_change(Dialog& dialog, int32_t& control_id, int32_t& event) {
    (void)event;
    const BoundField* b = bound_for(control_id);
    if (b == nullptr) return;
    double value = 0.0;
    const FieldReading reading = read_bound(dialog, *b, value);
    if (reading != FieldReading::number) {
        const char* refusal = field_refusal(reading);
        set_text_buffer(refusal ? refusal
                                : (std::string("Error: Invalid format of ") + b->name).c_str());
        g_shell.field_ok[b->flag] = false;
    } else if (check_range(ModelQuantity::axis_bound, value) != RangeCheck::accepted) {
        set_text_buffer((std::string("Error: |") + b->name + "| must not exceed 1000").c_str());
        g_shell.field_ok[b->flag] = false;
    } else {
        g_typed[b->flag] = value;
        g_shell.field_ok[b->flag] = true;
        const char* error = order_error(g_typed);
        if (error != nullptr)
            set_text_buffer(error);
        else
            blank_text_buffer();
    }
    show_text_buffer(dialog, kAxesStatus);
    update_ok(dialog);
}
