// A thread that would wait for the interface thread while holding a window lock fails at once.
#include "window/kernel/ui_thread.h"
#include "window/kernel/window_lock.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

void wait_for_interface_under(bool holding) {
    WindowMutex lock;
    std::thread program([&] {
        if (holding) lock.lock();
        run_on_ui([] {});
        if (holding) lock.unlock();
    });
    program.join();
}

// Without the lock the same call would block until the event loop (which never runs in the
// child) answered it, so only the case with the lock held can end at all.
TEST(WindowLockDeathTest, WaitingForTheInterfaceThreadUnderAWindowLockFailsByName) {
    if (!window_lock_checks_built()) GTEST_SKIP() << "this build does not check window locks";
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(wait_for_interface_under(true), "run_on_ui waits for the interface thread");
}

TEST(WindowLock, HeldLocksAreCountedPerThread) {
    WindowMutex a, b;
    {
        std::lock_guard<WindowMutex> ha(a);
        std::lock_guard<WindowMutex> hb(b);
        EXPECT_EQ(held_window_locks(), 2);
        int other = -1;
        std::thread([&] { other = held_window_locks(); }).join();
        EXPECT_EQ(other, 0);
    }
    EXPECT_EQ(held_window_locks(), 0);
}

} // namespace
