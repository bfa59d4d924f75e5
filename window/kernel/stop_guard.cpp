#include "window/kernel/stop_guard.h"

#include "window/kernel/program_state.h"

#include <QEventLoop>

#include <atomic>

namespace {

// Thrown by a stop on the interface thread and caught only by run_stoppable:
// it carries the stop out of the abandoned callback. Private to this file.
struct StopUnwind {};

std::atomic<bool> g_stopped{false};
// Number of run_stoppable frames on the interface thread's stack.
int g_guards = 0;
// Long work of the program is running: no other program callback may start. Interface thread.
bool g_held = false;

} // namespace

bool program_stopped() {
    return g_stopped.load();
}

void mark_program_stopped() {
    g_stopped.store(true);
}

void clear_program_stopped() {
    g_stopped.store(false);
}

bool run_stoppable(void (*call)(void* context), void* context) {
    ++g_guards;
    try {
        call(context);
    } catch (const StopUnwind&) {
        --g_guards;
        return false;
    }
    --g_guards;
    return true;
}

void resume_stop() {
    if (g_guards > 0) throw StopUnwind{};
    // No dispatcher to return to: keep the windows alive for good.
    for (;;) {
        QEventLoop loop;
        loop.exec();
    }
}

void hold_program_callbacks(bool hold) {
    g_held = hold;
}

bool dispatch_program_callback(void (*call)(void* context), void* context) {
    // Never while paused, and never once the program has stopped: a
    // half-finished routine must not be entered again.
    if (program_stopped() || program_state() == kPaused || g_held) return false;
    return run_stoppable(call, context);
}
