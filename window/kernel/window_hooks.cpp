// The hook table through which the graphics part reaches the kernel.
#include "window/kernel/window_hooks.h"

WindowHooks& window_hooks() {
    static WindowHooks hooks;
    return hooks;
}
