// The dialogs' shared scratch state and the helpers that move text between it and the controls.
#include "app/shell_state.h"

#include <cstring>

#include "dialogm/dialog.h"
#include "text/adjust_left.h"
#include "text/number_format.h"

ShellState g_shell = {};

Dialog& shell_dialog() {
    static Dialog dialog;
    return dialog;
}

void reset_field_flags() {
    for (bool& ok : g_shell.field_ok)
        ok = true;
}

bool all_fields_ok() {
    for (bool ok : g_shell.field_ok)
        if (!ok) return false;
    return true;
}

void set_text_buffer(const char* message) {
    blank_text_buffer();
    const size_t n = std::strlen(message);
    std::memcpy(g_shell.text_buffer, message, n < kTextBufferLength ? n : kTextBufferLength);
}

void blank_text_buffer() {
    std::memset(g_shell.text_buffer, ' ', kTextBufferLength);
}

void set_field_value(Dialog& dialog, int32_t control_id, double value) {
    format_real(g_shell.text_buffer, kTextBufferLength, "(g14.7)", value);
    adjust_left(g_shell.text_buffer, kTextBufferLength);
    dlg_set(dialog, control_id, g_shell.text_buffer, kTextBufferLength);
}

void show_text_buffer(Dialog& dialog, int32_t control_id) {
    dlg_set(dialog, control_id, g_shell.text_buffer, kTextBufferLength);
}

void set_empty_text(Dialog& dialog, int32_t control_id) {
    dlg_set(dialog, control_id, "", 0);
}

void read_field_text(Dialog& dialog, int32_t control_id) {
    dlg_get(dialog, control_id, g_shell.text_buffer, kTextBufferLength);
}

void set_control_enabled(Dialog& dialog, int32_t control_id, bool enabled) {
    dlg_set(dialog, control_id, enabled);
}
