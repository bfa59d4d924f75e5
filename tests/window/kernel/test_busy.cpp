// The wait cursor and the status message while the interface thread computes.
#include "tests/window/kernel/kernel_fixture.h"

#include "window/kernel/busy_indicator.h"
#include "window/kernel/frame.h"
#include "window/kernel/program_state.h"
#include "window/kernel/window_hooks.h"

#include <QCursor>
#include <QGuiApplication>
#include <QLabel>

namespace {

// What the work saw of the feedback while it ran.
struct SeenDuringWork {
    bool wait_cursor = false; // the override cursor was the wait cursor
    QString message;          // the status bar's message field
};
SeenDuringWork g_seen;

void look() {
    const QCursor* c = QGuiApplication::overrideCursor();
    g_seen.wait_cursor = c && c->shape() == Qt::WaitCursor;
    g_seen.message = frame()->message_label->text();
}

void work_that_ends(void*) {
    BusyScope busy("Computing");
    {
        BusyScope inner("Inner"); // nested: the outer message stays
        look();
    }
}

void work_that_stops(void*) {
    BusyScope busy("Computing");
    look();
    stop_program(nullptr);
}

using Busy = KernelTest;

// Work that ends normally and work that a stop unwinds both show the wait cursor and their
// message while they run, and leave the cursor and the message as they found them.
TEST_F(Busy, WaitCursorAndMessageLastExactlyAsLongAsTheWork) {
    struct Case {
        void (*work)(void*);
        bool completes; // the dispatcher reports the callback as run to its end
    };
    for (const Case& c : {Case{work_that_ends, true}, Case{work_that_stops, false}}) {
        frame()->message_label->setText(QStringLiteral("before"));
        g_seen = SeenDuringWork{};
        EXPECT_EQ(dispatch_program_callback(c.work, nullptr), c.completes);
        EXPECT_TRUE(g_seen.wait_cursor);
        EXPECT_EQ(g_seen.message, QStringLiteral("Computing"));
        EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
        EXPECT_EQ(frame()->message_label->text(), QStringLiteral("before"));
        EXPECT_EQ(busy_depth(), 0);
    }
}

} // namespace
