// A removed window gives its record, surface and text store back; nothing
// that a queued call or another thread still holds is freed under it.
#include "graph_test_util.h"
#include "window/graph/graphics.h"
#include "window/graph/text_window.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>
#include <atomic>
#include <memory>
#include <thread>

#include <cstddef>
#if defined(__SANITIZE_ADDRESS__)
// The sanitizer's allocator replaces malloc's and answers for the heap in use.
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#else
#include <malloc.h>
#endif

namespace {

constexpr int kUnit = 10;

// Bytes of heap in use now, by whichever allocator the build uses.
long long heap_in_use() {
#if defined(__SANITIZE_ADDRESS__)
    return static_cast<long long>(__sanitizer_get_current_allocated_bytes());
#else
    const struct mallinfo2 m = mallinfo2();
    return static_cast<long long>(m.uordblks + m.hblkhd); // arena and mmapped blocks
#endif
}

// Runs the queued calls and the widgets' deferred deletions.
void drain() {
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

// One Open / draw / Close workspace cycle, as the shell does it.
void workspace_cycle() {
    ASSERT_EQ(open_window_unit(kUnit, "Hysteresis modeling workspace"), 1);
    WindowConfig c;
    ASSERT_EQ(get_window_config(c), 1); // configures: the screen-sized surface exists now
    set_color(15);
    PixelPoint old;
    move_to(0, 0, old);
    line_to(c.width - 1, c.height - 1);
    draw_rectangle(3, 10, 10, 200, 100);
    write_unit_record(kUnit, "B(H) curve", 10);
    close_window_unit(kUnit, nullptr); // opened without a status: the window is removed
    drain();
}

TEST(WindowLifetime, OpenDrawCloseCyclesHoldMemoryFlat) {
    drain();
    workspace_cycle(); // the first cycle may leave caches of the toolkit behind
    workspace_cycle();
    const long long base = heap_in_use();
    for (int i = 0; i < 300; ++i)
        workspace_cycle();
    const long long grown = heap_in_use() - base;
    // One leaked surface per cycle would be 300 times the screen's size.
    EXPECT_LT(grown, 4ll << 20) << "heap grew by " << grown << " bytes";
    EXPECT_EQ(window_handle_for_unit(kUnit), 0);
}

TEST(WindowLifetime, RecordIsFreedOnceItsWidgetsAreGone) {
    ASSERT_EQ(open_window_unit(kUnit, "Workspace"), 1);
    ChildWindow* cw = window_for_unit(kUnit);
    ASSERT_NE(cw, nullptr);
    std::weak_ptr<ChildWindow> watch = weak_window(cw);
    close_window_unit(kUnit, "DELETE");
    // Until the toolkit deletes the widgets, their events still reach the record.
    EXPECT_FALSE(watch.expired());
    drain();
    EXPECT_TRUE(watch.expired());
}

TEST(WindowLifetime, ProgramThreadDrawsWhileTheWindowIsRemoved) {
    // The program thread draws without pause into its window while the
    // interface thread removes it: queued updates and the drawing thread's
    // own reference must keep every access on live memory (run under ASan).
    for (int round = 0; round < 20; ++round) {
        std::atomic<bool> opened{false}, stop{false};
        std::thread program([&] {
            open_window_unit(kUnit, "Drawn while closing");
            opened = true;
            PixelPoint old;
            for (int i = 0; !stop.load(); ++i) {
                move_to(static_cast<int16_t>(i % 300), 0, old);
                line_to(static_cast<int16_t>(i % 300), 200);
                write_unit_record(kUnit, "line", 4);
            }
        });
        while (!opened.load())
            QCoreApplication::processEvents();
        for (int i = 0; i < 5; ++i)
            QCoreApplication::processEvents();
        EXPECT_EQ(close_window_unit(kUnit, "DELETE"), 1);
        for (int i = 0; i < 5; ++i)
            drain();
        stop = true;
        // The thread may be waiting for the interface thread: keep serving it.
        std::atomic<bool> joined{false};
        std::thread joiner([&] {
            program.join();
            joined = true;
        });
        while (!joined.load())
            QCoreApplication::processEvents();
        joiner.join();
        drain();
    }
    EXPECT_EQ(window_handle_for_unit(kUnit), 0);
}

} // namespace
