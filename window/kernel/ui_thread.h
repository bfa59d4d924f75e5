// Runs work on the interface thread, waiting for it or not; callable from any thread.
#pragma once

#include "window/kernel/interface_thread.h"

#include <functional>

// Runs fn on the interface thread: directly when the caller is already there,
// otherwise as a blocking queued call. Every operation that touches a widget
// or a surface goes through here, so the program thread never runs toolkit
// code. Never call it while holding a window's lock: the interface thread may
// need that lock to repaint (a held window lock fails the call at once, see
// window_lock.h).
void run_on_ui(const std::function<void()>& fn);

// Runs fn on the interface thread: at once when already there, else queued
// without waiting (fn must not refer to the caller's stack).
void post_to_ui(const std::function<void()>& fn);
