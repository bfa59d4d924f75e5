// The dialog procedure: how the records react to the live window, pushing of dirty controls,
// and the modal run with nesting.
#include "dialogm/dialog.h"
#include "dialogm/dialog_window.h"

#include "window/kernel/stop_guard.h"
#include "window/kernel/ui_thread.h"

#include "text/output_unit.h"

namespace {

// The dialog whose window is the newest shown; saved and restored around each modal run so that
// a callback can show another dialog over its own.
Dialog* g_current = nullptr;

// Set when the program stopped inside a callback: the modal run ends its window and passes the
// stop on once it is out of the toolkit's frames.
bool g_stop_pending = false;

// One callback call, carried through the stop guard.
struct CallbackCall {
    DialogCallback routine; // the routine to run (not null)
    Dialog* dialog;         // its dialog
    int32_t control_id;     // argument copies: the routine may change them
    int32_t event;
};

void run_call(void* context) {
    CallbackCall* call = static_cast<CallbackCall*>(context);
    call->routine(*call->dialog, call->control_id, call->event);
}

// Runs a callback; a stop inside it ends the window and is passed on by dlg_modal.
void fire(Dialog& dialog, DialogCallback routine, int32_t id, int32_t event) {
    if (!routine) return;
    CallbackCall call{routine, &dialog, id, event};
    if (!run_stoppable(run_call, &call)) {
        g_stop_pending = true;
        if (dialog.window) {
            window_end(dialog);
            dialog.window = nullptr;
        }
    }
}

} // namespace

int find_control_index(const Dialog& dialog, int32_t id) {
    for (size_t i = 0; i < dialog.controls.size(); ++i)
        if (dialog.controls[i].id == id) return static_cast<int>(i);
    return -1;
}

void push_dirty_controls(Dialog& dialog) {
    if (!dialog.window) return;
    bool was = dialog.in_update;
    dialog.in_update = true;
    if (dialog.dirty) {
        dialog.dirty = false;
        for (DialogControl& c : dialog.controls)
            if (c.dirty) {
                window_write_control(dialog, c);
                c.dirty = false;
            }
    }
    dialog.in_update = was;
}

void dialog_on_init(Dialog& dialog, void* window) {
    dialog.window = window;
    // The new window knows nothing of the records yet: every control is written.
    for (DialogControl& c : dialog.controls)
        c.dirty = true;
    dialog.dirty = true;
    push_dirty_controls(dialog);
    if (program_stopped()) return;
    fire(dialog, dialog.dialog_callback, dialog.template_id, 0);
    push_dirty_controls(dialog);
}

bool dialog_on_command(Dialog& dialog, int32_t id, int32_t code) {
    if (id == 0) return false;
    return dialog_on_control_command(dialog, find_control_index(dialog, id), code);
}

bool dialog_on_control_command(Dialog& dialog, int index, int32_t code) {
    if (index < 0 || static_cast<size_t>(index) >= dialog.controls.size()) return false;
    if (dialog.in_update || !dialog.window || program_stopped()) return false;
    // Copies: a callback may not change the record array, but keep no reference across it.
    const DialogControl& c = dialog.controls[static_cast<size_t>(index)];
    const int32_t id = c.id;
    if (id == 0) return false;
    int32_t kind = c.kind;
    std::vector<DialogCallback> cbs = c.callbacks;
    DialogCallback routine = nullptr;
    int32_t event = 0;
    switch (kind) {
    case kKindPushButton:
    case kKindCheckBox:
    case kKindRadioButton:
        if (code != 0) return false;
        routine = cbs[0];
        event = sel_clicked;
        break;
    case kKindEdit:
        if (code == 0x300) {
            routine = cbs[0];
            event = sel_change;
        } else if (code == 0x400) {
            routine = cbs[1];
            event = sel_update;
        } else {
            return false;
        }
        break;
    case kKindListBox:
    case kKindDropDown:
    case kKindComboBox:
        if (code == 1) {
            routine = cbs[0];
            event = sel_selchange;
        } else if (code == 2) {
            routine = cbs[1];
            event = sel_dblclick;
        } else if (kind == kKindComboBox && code == 5) {
            routine = cbs[2];
            event = sel_change;
        } else if (kind == kKindComboBox && code == 6) {
            routine = cbs[3];
            event = sel_update;
        } else {
            return false;
        }
        break;
    default:
        return false;
    }
    bool gate = kind == kKindComboBox && code == 1;
    if (gate) dialog.selection_gate = false;
    fire(dialog, routine, id, event);
    if (gate) dialog.selection_gate = true;
    push_dirty_controls(dialog);
    return true;
}

void dialog_on_scroll(Dialog& dialog, int32_t id, int32_t request, int32_t position) {
    dialog_on_control_scroll(dialog, find_control_index(dialog, id), request, position);
}

void dialog_on_control_scroll(Dialog& dialog, int index, int32_t request, int32_t position) {
    if (dialog.in_update || !dialog.window || program_stopped()) return;
    if (index < 0 || static_cast<size_t>(index) >= dialog.controls.size()) return;
    if (dialog.controls[static_cast<size_t>(index)].kind != kKindScrollBar) return;
    DialogControl& c = dialog.controls[static_cast<size_t>(index)];
    const int32_t id = c.id;
    int32_t pos = c.ints[0], range = c.ints[1];
    switch (request) {
    case scroll_line_up:
        pos -= c.ints[2];
        break;
    case scroll_line_down:
        pos += c.ints[2];
        break;
    case scroll_page_up:
        pos -= c.ints[3];
        break;
    case scroll_page_down:
        pos += c.ints[3];
        break;
    case scroll_thumb_position:
    case scroll_thumb_track:
        pos = position;
        break;
    case scroll_top:
        pos = 1;
        break;
    case scroll_bottom:
        pos = range;
        break;
    default:
        return;
    }
    if (pos <= 0) pos = 1;
    if (pos > range) pos = range;
    c.ints[0] = pos;
    dialog.in_update = true;
    window_write_control(dialog, c);
    dialog.in_update = false;
    fire(dialog, c.callbacks[0], id, sel_change);
    push_dirty_controls(dialog);
}

namespace {

// Shows the dialog on the interface thread; stopped tells whether the program stopped inside one
// of its callbacks (the window is gone then).
int32_t modal_here(Dialog& dialog, bool& stopped) {
    stopped = false;
    if (dialog.window || program_stopped()) return -1; // already shown, or nothing may run
    Dialog* previous = g_current;
    g_current = &dialog;
    void* owner = previous ? previous->window : nullptr;
    bool created = window_run_modal(dialog, owner);
    g_current = previous;
    stopped = g_stop_pending;
    g_stop_pending = false;
    return created ? dialog.return_value : -1;
}

} // namespace

int32_t dlg_modal(Dialog& dialog) {
    bool stopped = false;
    int32_t result = -1;
    if (on_ui_thread()) {
        result = modal_here(dialog, stopped);
        // Out of this dialog's toolkit frames: carry the stop on to the next guard.
        if (stopped) resume_stop();
        return result;
    }
    run_on_ui([&dialog, &result, &stopped] { result = modal_here(dialog, stopped); });
    // The program stopped while this thread waited: stop it here as well.
    if (stopped) stop_run(nullptr);
    return result;
}
