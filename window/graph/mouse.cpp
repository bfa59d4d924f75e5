// register_mouse_event and the delivery of mouse events to the registered callbacks.
#include "window/graph/mouse.h"

#include "window/graph/graphics_data.h"
#include "window/graph/mouse_delivery.h"
#include "window/graph/selection.h"
#include "window/kernel/child_window.h"
#include "window/kernel/ui_thread.h"
#include "window/kernel/window_hooks.h"
#include "window/kernel/window_program.h"

#include <mutex>

namespace {

// Slot index (0..6) of a one-bit event code, or -1.
int slot_of(int code) {
    for (int i = 0; i < 7; ++i)
        if (code == (1 << i)) return i;
    return -1;
}

// What one delivery hands to the dispatcher.
struct Delivery {
    MouseCallback callback;
    int32_t unit, event, keys, x, y;
};

void call_delivery(void* context) {
    Delivery* d = static_cast<Delivery*>(context);
    d->callback(d->unit, d->event, d->keys, d->x, d->y);
}

} // namespace

int register_mouse_event(int32_t unit, int32_t mask, MouseCallback callback) {
    int result = -2;
    // Slots are read by the interface thread only; write them there too.
    run_on_ui([&] {
        ChildWindow* cw = window_for_unit(unit);
        if (!cw || !cw->graphics || cw->destroyed.load()) {
            result = -2;
            return;
        }
        if ((mask & 127) == 0) {
            result = -1;
            return;
        }
        result = 0;
        for (int i = 0; i < 7; ++i) {
            if (!(mask & (1 << i))) continue;
            if (graphics_of(cw).mouse.slot[i]) result = 1;
            graphics_of(cw).mouse.slot[i] = callback;
        }
    });
    return result;
}

bool mouse_surface_position(ChildWindow* cw, int client_x, int client_y, int& x, int& y) {
    std::lock_guard<WindowMutex> hold(cw->lock);
    // Client coordinates are taken as unsigned 16-bit values. The full-screen view shows the
    // whole surface from its origin whatever the window behind it is scrolled to, so the
    // window's scroll offsets do not apply there.
    const bool whole = cw->full_screen;
    long long sx = static_cast<uint16_t>(client_x) + (whole ? 0LL : cw->scroll_x);
    long long sy = static_cast<uint16_t>(client_y) + (whole ? 0LL : cw->scroll_y);
    if (cw->display_scaled || cw->full_screen) {
        if (cw->client_width <= 0 || cw->client_height <= 0) return false;
        sx = sx * graphics_of(cw).gfx.surface_width / cw->client_width;
        sy = sy * graphics_of(cw).gfx.surface_height / cw->client_height;
    }
    x = static_cast<int>(sx);
    y = static_cast<int>(sy);
    return true;
}

void deliver_mouse_event(ChildWindow* cw, int code, int keys, int client_x, int client_y) {
    if (!cw || cw->destroyed.load()) return;
    // 1. A selection in progress takes presses, releases and moves of the left button.
    if (selection_mouse(cw, code, client_x, client_y)) return;
    // 2. Only the active window (or the one shown full screen).
    if (cw != active_window() && !cw->full_screen) return;
    // 3. Surface position.
    int x = 0, y = 0;
    if (!mouse_surface_position(cw, client_x, client_y, x, y)) return;
    // 4. Nothing while paused.
    if (program_state() == 1) return;
    // 5. The registered callback, with the window made current first.
    int slot = slot_of(code);
    if (slot < 0 || !graphics_of(cw).mouse.slot[slot]) return;
    set_current_window(cw);
    Delivery d{graphics_of(cw).mouse.slot[slot], cw->unit, code, keys, x, y};
    dispatch_program_callback(call_delivery, &d);
}
