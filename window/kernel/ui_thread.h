// Runs work on the interface thread and waits for it; callable from any thread.
#pragma once

#include <functional>

// Runs fn on the interface thread: directly when the caller is already there,
// otherwise as a blocking queued call. Every operation that touches a widget
// or a surface goes through here, so the program thread never runs toolkit
// code. Never call it while holding a window's lock: the interface thread may
// need that lock to repaint.
void run_on_ui(const std::function<void()>& fn);

// True on the interface thread (the thread that runs the event loop).
bool on_ui_thread();
