// The lock of one child window, counted per thread so that a wait for the interface thread under
// it fails at once instead of deadlocking. Any thread.
//
// The interface thread takes a window's lock to repaint it. A program thread that waited for the
// interface thread while holding that lock would wait for ever; every window lock taken through
// WindowMutex is counted for the thread that holds it, and the calls that wait for the interface
// thread check the count first.
#pragma once

#include <mutex>

// A std::mutex whose lock and unlock count the calling thread's held window locks. Locked through
// the std::mutex base (a std::lock_guard<std::mutex>, a condition variable's wait), it is not
// counted.
class WindowMutex : public std::mutex {
  public:
    void lock();
    bool try_lock();
    void unlock();
};

// Number of window locks the calling thread holds through WindowMutex.
int held_window_locks();

// Called where the calling thread is about to wait for the interface thread: with a window lock
// held, writes what was attempted (where) and ends the process with a named failure in builds
// that check locks (every build but Release); otherwise does nothing.
void check_no_window_lock_held(const char* where);

// Whether this build checks locks (check_no_window_lock_held does something).
bool window_lock_checks_built();
