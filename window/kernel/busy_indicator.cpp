#include "window/kernel/busy_indicator.h"

#include "window/kernel/frame.h"
#include "window/kernel/ui_thread.h"

#include <QGuiApplication>
#include <QLabel>

namespace {

int g_depth = 0;              // open begin_busy calls; interface thread
QString g_saved_message;      // the status message shown before the outermost begin_busy
bool g_cursor_pushed = false; // the wait cursor is on the toolkit's override stack

void restore() {
    if (g_cursor_pushed) QGuiApplication::restoreOverrideCursor();
    g_cursor_pushed = false;
    if (Frame* f = frame()) f->message_label->setText(g_saved_message);
    g_saved_message.clear();
}

} // namespace

void begin_busy(const char* what) {
    if (!on_ui_thread() || !QGuiApplication::instance()) return;
    if (g_depth++ > 0) return;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    g_cursor_pushed = true;
    if (Frame* f = frame()) {
        g_saved_message = f->message_label->text();
        f->message_label->setText(QString::fromUtf8(what ? what : ""));
        // The event loop waits for the work to end: paint the message now.
        f->message_label->repaint();
    }
}

void end_busy() {
    if (!on_ui_thread() || g_depth == 0) return;
    if (--g_depth == 0) restore();
}

void clear_busy() {
    if (!on_ui_thread() || g_depth == 0) return;
    g_depth = 0;
    restore();
}

int busy_depth() {
    return g_depth;
}
