#include "window/kernel/interface_thread.h"

#include <QCoreApplication>
#include <QThread>

bool on_ui_thread() {
    QCoreApplication* app = QCoreApplication::instance();
    return app == nullptr || QThread::currentThread() == app->thread();
}
