#include "window/kernel/window_hooks.h"

WindowHooks& window_hooks() {
    static WindowHooks hooks;
    return hooks;
}
