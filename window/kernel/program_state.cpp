// The program's run state, its stop, and the dispatch of callbacks.
#include "window/kernel/program_state.h"

#include "window/kernel/interface_thread.h"

#include <atomic>
#include <condition_variable>
#include <mutex>

namespace {
// The state is written on the interface thread under g_mutex; program
// threads held by a pause wait on g_resumed.
std::mutex g_mutex;
std::condition_variable g_resumed;
int g_state = kRunning;
std::atomic<ProgramStateObserver> g_observer{nullptr};
} // namespace

const char* state_word(int state) {
    switch (state) {
    case kPaused:
        return "Paused";
    case kFinished:
        return "Finished";
    default:
        return "Running";
    }
}

int program_state() {
    std::lock_guard<std::mutex> hold(g_mutex);
    return g_state;
}

void set_program_state(int state) {
    {
        std::lock_guard<std::mutex> hold(g_mutex);
        g_state = state;
    }
    g_resumed.notify_all();
    if (ProgramStateObserver observer = g_observer.load()) observer(state);
}

void set_program_state_observer(ProgramStateObserver observer) {
    g_observer.store(observer);
}

void wait_while_paused() {
    if (on_ui_thread()) return;
    std::unique_lock<std::mutex> hold(g_mutex);
    g_resumed.wait(hold, [] { return g_state != kPaused; });
}
