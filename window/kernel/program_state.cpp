// The program's run state, its stop, and the dispatch of callbacks.
#include "window/kernel/program_state.h"

#include "window/kernel/child_window.h"
#include "window/kernel/frame.h"
#include "window/kernel/ui_thread.h"
#include "window/kernel/window_program.h"

#include <QLabel>

#include <condition_variable>
#include <mutex>

namespace {
// The state is written on the interface thread under g_mutex; program
// threads held by a pause wait on g_resumed.
std::mutex g_mutex;
std::condition_variable g_resumed;
int g_state = kRunning;
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
    if (Frame* f = frame()) f->state_label->setText(QString::fromLatin1(state_word(state)));
}

void wait_while_paused() {
    if (on_ui_thread()) return;
    std::unique_lock<std::mutex> hold(g_mutex);
    g_resumed.wait(hold, [] { return g_state != kPaused; });
}

void reset_program_state() {
    clear_program_stopped();
    clear_program_end();
    set_program_state(kRunning);
}
