// Long work that the user can stop: the input filter, the Stop box and the poll.
#include "window/kernel/stoppable_work.h"

#include "window/kernel/busy_indicator.h"
#include "window/kernel/command_ids.h"
#include "window/kernel/frame.h"
#include "window/kernel/menu_bar.h"
#include "window/kernel/program_state.h"
#include "window/kernel/stop_guard.h"
#include "window/kernel/ui_thread.h"

#include <QApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QStatusBar>
#include <QThread>

#include <chrono>

namespace {

using Clock = std::chrono::steady_clock;

// How often the work lets the interface handle input: well inside the 0.2 s a Stop may take.
constexpr auto kPollInterval = std::chrono::milliseconds(30);
// Work shorter than this (a right click over a short move) never shows the box.
constexpr auto kBoxDelay = std::chrono::milliseconds(300);
// Sleep between looks at the event queue while paused.
constexpr unsigned long kPausedSleepMs = 10;

class InputFilter;

int g_depth = 0;                 // open begin_stoppable_work calls
bool g_stop = false;             // the user asked to stop the running work
QPointer<QWidget> g_started_in;  // the modal dialog that started the work, if any: input dropped
QPointer<QWidget> g_box;         // the Stop box, once shown
QPointer<QLabel> g_box_label;    // its text
QString g_what;                  // what the work does, as the box says it
Clock::time_point g_began;       // when the outermost work began
Clock::time_point g_last_events; // when the interface last handled its events
InputFilter* g_filter = nullptr; // installed on the application while the work runs

// Shows the box's state: working, paused or stopping.
void show_box_state() {
    if (!g_box_label) return;
    if (g_stop)
        g_box_label->setText(QStringLiteral("Stopping..."));
    else if (program_state() == kPaused)
        g_box_label->setText(QStringLiteral("Paused: Ctrl+Q resumes"));
    else
        g_box_label->setText(g_what);
}

void show_box() {
    QWidget* owner = g_started_in ? g_started_in.data() : static_cast<QWidget*>(frame());
    if (!owner) return;
    auto* box = new QWidget(owner, Qt::Tool | Qt::WindowStaysOnTopHint);
    box->setObjectName(QStringLiteral("StopBox"));
    box->setWindowTitle(QStringLiteral("Stop"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    auto* layout = new QHBoxLayout(box);
    g_box_label = new QLabel(g_what, box);
    auto* stop = new QPushButton(QStringLiteral("Stop (Esc)"), box);
    stop->setCursor(Qt::ArrowCursor);
    QObject::connect(stop, &QPushButton::clicked, box, [] { request_work_stop(); });
    layout->addWidget(g_box_label);
    layout->addWidget(stop);
    box->adjustSize();
    // Bottom left of the frame, above its status bar, where it hides the least of the plot.
    if (Frame* f = frame()) {
        const int bar = f->statusBar()->isVisible() ? f->statusBar()->height() : 0;
        box->move(f->mapToGlobal(QPoint(8, f->height() - bar - box->height() - 8)));
    }
    box->show();
    g_box = box;
}

// True for input that the running work must not see: input to the frame's windows (the child
// windows, the status bar) and to the dialog that started the work. The menus, the Stop box and
// any box opened meanwhile (the question before the end) take their input.
bool held_back(QObject* target) {
    if (!target || !target->isWidgetType()) return false;
    auto* w = static_cast<QWidget*>(target);
    QWidget* top = w->window();
    if (top == g_box || qobject_cast<QMenu*>(top)) return false;
    Frame* f = frame();
    if (f && top == f) {
        for (QWidget* p = w; p; p = p->parentWidget())
            if (p == f->menuBar()) return false;
        return true;
    }
    return top == g_started_in;
}

// Keys that act on the work itself, from wherever they come but a box opened meanwhile.
bool work_key(const QKeyEvent* k) {
    const bool ctrl = k->modifiers() & Qt::ControlModifier;
    if (k->key() == Qt::Key_Escape && !ctrl) {
        request_work_stop();
    } else if (ctrl && k->key() == Qt::Key_C) {
        run_command(kCmdExit, 0);
    } else if (ctrl && k->key() == Qt::Key_S) {
        run_command(kCmdPause, 0);
        show_box_state();
    } else if (ctrl && k->key() == Qt::Key_Q) {
        run_command(kCmdResume, 0);
        show_box_state();
    } else {
        return false;
    }
    return true;
}

class InputFilter : public QObject {
  protected:
    bool eventFilter(QObject* target, QEvent* e) override {
        switch (e->type()) {
        case QEvent::KeyPress: {
            const bool ours =
                held_back(target) ||
                (target->isWidgetType() && static_cast<QWidget*>(target)->window() == g_box);
            if (!ours) return false;
            work_key(static_cast<QKeyEvent*>(e));
            return true;
        }
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::ContextMenu:
            return held_back(target);
        default:
            return false;
        }
    }
};

} // namespace

void begin_stoppable_work(const char* what) {
    if (!on_ui_thread() || !QApplication::instance()) return;
    if (g_depth++ > 0) return;
    begin_busy(what);
    g_stop = false;
    g_what = QString::fromUtf8(what ? what : "");
    g_started_in = QApplication::activeModalWidget();
    g_began = Clock::now();
    g_last_events = g_began;
    hold_program_callbacks(true);
    g_filter = new InputFilter;
    QApplication::instance()->installEventFilter(g_filter);
}

void end_stoppable_work() {
    if (!on_ui_thread() || g_depth == 0) return;
    if (--g_depth > 0) return;
    if (g_box) delete g_box.data();
    if (g_filter) {
        QApplication::instance()->removeEventFilter(g_filter);
        delete g_filter;
        g_filter = nullptr;
    }
    hold_program_callbacks(false);
    g_stop = false;
    g_started_in = nullptr;
    end_busy();
}

bool poll_stoppable_work() {
    if (g_depth == 0 || !on_ui_thread()) return false;
    const Clock::time_point now = Clock::now();
    if (now - g_last_events >= kPollInterval) {
        if (!g_box && now - g_began >= kBoxDelay) show_box();
        QApplication::processEvents();
        // Pause holds the work here, the interface alive, until Resume or a stop.
        while (program_state() == kPaused && !g_stop && !program_stopped()) {
            show_box_state();
            QThread::msleep(kPausedSleepMs);
            QApplication::processEvents();
        }
        show_box_state();
        g_last_events = Clock::now();
    }
    return g_stop || program_stopped();
}

void request_work_stop() {
    if (!on_ui_thread() || g_depth == 0) return;
    g_stop = true;
    show_box_state();
}

bool stoppable_work_running() {
    return g_depth > 0;
}
