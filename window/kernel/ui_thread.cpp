// Running work on the interface thread from any thread.
#include "window/kernel/ui_thread.h"

#include "window/kernel/program_state.h"
#include "window/kernel/window_lock.h"

#include <QCoreApplication>

void run_on_ui(const std::function<void()>& fn) {
    if (on_ui_thread()) {
        fn();
        return;
    }
    // Waiting under a window lock could deadlock with a repaint: fail at once, by name.
    check_no_window_lock_held("run_on_ui");
    // A program thread that calls the layer while paused is held here until Resume.
    wait_while_paused();
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [&fn] { fn(); }, Qt::BlockingQueuedConnection);
}

void post_to_ui(const std::function<void()>& fn) {
    if (on_ui_thread())
        fn();
    else
        QMetaObject::invokeMethod(QCoreApplication::instance(), fn, Qt::QueuedConnection);
}
