// Installing the graphics part's hooks into the window kernel.
#include "window/graph/graph_setup.h"

#include "window/graph/input.h"
#include "window/graph/mouse_delivery.h"
#include "window/graph/selection.h"
#include "window/graph/window_access.h"
#include "window/kernel/ui_thread.h"
#include "window/kernel/window_hooks.h"

#include <QPainter>

namespace {

void hook_configure(ChildWindow* cw) {
    LockedWindow w = lock_window(cw);
    unlock_and_show(w);
}

void hook_overlay(ChildWindow* cw, QPainter* painter) {
    paint_window_marks(cw, painter);
}

bool hook_key(ChildWindow* cw, const char* text) {
    return input_key(cw, text);
}

void hook_opened(ChildWindow*) {
    // The interface thread knows the screen; remember it for surfaces.
    int w, h, b;
    screen_metrics(w, h, b);
}

void hook_closing(ChildWindow* cw) {
    // A reader waiting in this window must not wait for ever.
    std::lock_guard<WindowMutex> hold(cw->lock);
    cw->input_event.notify_all();
}

} // namespace

void install_window_graph() {
    WindowHooks& hooks = window_hooks();
    hooks.configure = hook_configure;
    hooks.paint_overlay = hook_overlay;
    hooks.mouse = deliver_mouse_event;
    hooks.key = hook_key;
    hooks.command = run_graph_command;
    hooks.opened = hook_opened;
    hooks.closing = hook_closing;
}
