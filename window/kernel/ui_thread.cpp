// Running work on the interface thread from any thread.
#include "window/kernel/ui_thread.h"

#include "window/kernel/child_window.h"

#include <QCoreApplication>
#include <QThread>

bool on_ui_thread() {
    QCoreApplication* app = QCoreApplication::instance();
    // Without an application object there is no event loop to forward to.
    return app == nullptr || QThread::currentThread() == app->thread();
}

void run_on_ui(const std::function<void()>& fn) {
    if (on_ui_thread()) {
        fn();
        return;
    }
    // A program thread that calls the layer while paused is held here until Resume.
    wait_while_paused();
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [&fn] { fn(); }, Qt::BlockingQueuedConnection);
}
