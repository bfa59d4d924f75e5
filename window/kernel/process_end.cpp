#include "window/kernel/process_end.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>

namespace {
std::atomic<ProcessEnd> g_process_end{nullptr}; // null: end at once
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
