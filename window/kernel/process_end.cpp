#include "window/kernel/process_end.h"

#include "window/kernel/program_state.h"
#include "window/kernel/stop_guard.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>

namespace {
std::atomic<ProcessEnd> g_process_end{nullptr};       // null: end at once
std::atomic<EndConfirmation> g_confirmation{nullptr}; // null: never asks
bool g_asking = false; // the confirmation is showing its question; interface thread
} // namespace

void set_process_end(ProcessEnd end) {
    g_process_end.store(end);
}

void end_process(int code) {
    if (ProcessEnd end = g_process_end.load()) {
        end(code);
        return;
    }
    // Ends at once, whatever the program thread is doing: it is not joined.
    std::fflush(nullptr);
    std::_Exit(code);
}

void set_end_confirmation(EndConfirmation confirm) {
    g_confirmation.store(confirm);
}

void request_process_end() {
    EndConfirmation confirm = g_confirmation.load();
    // A second request while the question is up (a second Ctrl+C) waits for its answer.
    if (g_asking) return;
    // A stopped or finished program has no work left to lose, and its routines may not run.
    if (confirm && !program_stopped() && program_state() != kFinished) {
        g_asking = true;
        const bool go = confirm();
        g_asking = false;
        if (!go) return;
    }
    end_process(0);
}
