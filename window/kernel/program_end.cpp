// The end of the program: stop, the finished state, the exit prompt and the exit modes.
#include "window/kernel/program_end.h"

#include "window/kernel/busy_indicator.h"
#include "window/kernel/child_window.h"
#include "window/kernel/frame.h"
#include "window/kernel/menu_bar.h"
#include "window/kernel/message_box.h"
#include "window/kernel/program_state.h"
#include "window/kernel/stop_guard.h"
#include "window/kernel/ui_thread.h"

#include "text/output_unit.h"

#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>

namespace {

std::atomic<int> g_exit_mode{1};
bool g_ended = false; // the end-of-program steps have run; interface thread

// Parks the calling (non-interface) thread for good. The waited-for objects
// are never destroyed, so a parked thread survives the process's exit.
[[noreturn]] void park_thread() {
    static auto* m = new std::mutex;
    static auto* cv = new std::condition_variable;
    std::unique_lock<std::mutex> hold(*m);
    for (;;)
        cv->wait(hold);
}

} // namespace

void set_exit_mode(int mode) {
    g_exit_mode.store(mode);
}
int exit_mode() {
    return g_exit_mode.load();
}

void clear_program_end() {
    g_ended = false;
    g_exit_mode.store(1);
}

void end_of_program(int exit_code) {
    if (g_ended) return;
    g_ended = true;
    // Greyed whether or not a child window is active: a window activated
    // later must not bring back a callback of the finished program.
    grey_program_items();
    show_pause_item(false);
    set_program_state(kFinished);
    // A stop inside long work: the prompt and the windows left on screen get the normal cursor.
    clear_busy();
    const int mode = exit_mode();
    if (mode == 1) {
        std::string text;
        try {
            text =
                "Program Terminated with exit code " + std::to_string(exit_code) + "\nExit Window?";
        } catch (...) {
            return; // no memory for the prompt: it is skipped
        }
        const int answer = message_box(text.c_str(), program_name(),
                                       kBoxYesNo | kBoxIconWarning | kBoxDefaultSecond);
        if (answer == kAnswerYes) end_process(0);
    } else if (mode == 2) {
        end_process(0);
    }
}

void stop_program(const char* message) {
    const char* line = message ? message : "Stop - Program terminated.";
    emit_line(0, line, static_cast<int>(std::strlen(line)));
    if (!on_ui_thread()) {
        run_on_ui([] {
            mark_program_stopped();
            end_of_program(0);
        });
        park_thread();
    }
    mark_program_stopped();
    end_of_program(0);
    // The user keeps the windows: abandon the callback that stopped.
    resume_stop();
}

const char* program_name() {
    return frame_title().c_str();
}
