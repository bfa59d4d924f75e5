// The hook table through which the graphics part reaches the kernel.
#include "window/kernel/window_hooks.h"

WindowHooks& window_hooks() {
    static WindowHooks hooks;
    return hooks;
}

QSize window_surface_size(const ChildWindow* cw) {
    const WindowHooks& hooks = window_hooks();
    return hooks.surface_size ? hooks.surface_size(cw) : QSize(0, 0);
}

bool window_text_cell(const ChildWindow* cw, int& width, int& height) {
    const WindowHooks& hooks = window_hooks();
    return hooks.text_cell && hooks.text_cell(cw, width, height);
}
