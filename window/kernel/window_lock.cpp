#include "window/kernel/window_lock.h"

#include <cstdio>
#include <cstdlib>

namespace {
thread_local int t_held = 0; // window locks this thread holds through WindowMutex
} // namespace

void WindowMutex::lock() {
    std::mutex::lock();
    ++t_held;
}

bool WindowMutex::try_lock() {
    if (!std::mutex::try_lock()) return false;
    ++t_held;
    return true;
}

void WindowMutex::unlock() {
    --t_held;
    std::mutex::unlock();
}

int held_window_locks() {
    return t_held;
}

void check_no_window_lock_held(const char* where) {
#ifdef HYSTERESIS_LOCK_CHECKS
    if (t_held == 0) return;
    std::fprintf(stderr,
                 "window layer: %s waits for the interface thread while this thread holds %d "
                 "window lock(s); the interface thread may need them to repaint (deadlock)\n",
                 where ? where : "a call", t_held);
    std::fflush(stderr);
    std::abort();
#else
    (void)where;
#endif
}

bool window_lock_checks_built() {
#ifdef HYSTERESIS_LOCK_CHECKS
    return true;
#else
    return false;
#endif
}
