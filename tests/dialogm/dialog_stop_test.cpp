// A stop of the program inside a dialog callback, and dialogs asked for from another thread.
#include "dialogm/dialog.h"
#include "dialogm/dialog_widget.h"

#include "window/kernel/program_state.h"
#include "window/kernel/stop_guard.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEventLoop>
#include <QTimer>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

// Stops the program the way the window layer does on the interface thread.
void stop_inside(Dialog&, int32_t&, int32_t&) {
    mark_program_stopped();
    resume_stop();
}

struct ModalCall {
    Dialog* dialog;     // the dialog to show
    int32_t result = 0; // what dlg_modal returned, if it returned
};

void call_modal(void* context) {
    auto* call = static_cast<ModalCall*>(context);
    call->result = dlg_modal(*call->dialog);
}

} // namespace

TEST(DialogStop, AStopInACallbackEndsTheDialogAndIsPassedOn) {
    Dialog d;
    ASSERT_TRUE(dlg_init(d, 101));
    ASSERT_TRUE(dlg_set_callback(d, 1007, stop_inside));
    QTimer::singleShot(
        0, [&d] { qobject_cast<QAbstractButton*>(dialog_control_widget(d, 1007))->click(); });
    QTimer::singleShot(5000, [&d] {
        if (d.window) dlg_exit(d);
    });
    ModalCall call{&d};
    // The guard stands for the dispatcher that ran the menu callback which showed the dialog.
    EXPECT_FALSE(run_stoppable(call_modal, &call));
    EXPECT_EQ(call.result, 0); // dlg_modal did not return: the stop went on past it
    EXPECT_EQ(d.window, nullptr);
    EXPECT_TRUE(program_stopped());
    // Once stopped, no dialog is shown any more.
    EXPECT_EQ(dlg_modal(d), -1);
    clear_program_stopped();
}

TEST(DialogThreads, ModalFromAnotherThreadRunsOnTheInterfaceThread) {
    Dialog d;
    ASSERT_TRUE(dlg_init(d, 105));
    std::atomic<int32_t> result{0};
    std::atomic<bool> done{false};
    std::thread program([&] {
        result = dlg_modal(d);
        done = true;
    });
    // Ends the dialog once it is up, from the interface thread's event loop.
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (QWidget* w = dialog_widget(d)) {
            EXPECT_EQ(w->thread(), QApplication::instance()->thread());
            qobject_cast<QAbstractButton*>(dialog_control_widget(d, 1))->click();
        }
    });
    poll.start(5);
    QEventLoop loop;
    QTimer wait;
    QObject::connect(&wait, &QTimer::timeout, [&] {
        if (done) loop.quit();
    });
    wait.start(5);
    QTimer::singleShot(10000, &loop, &QEventLoop::quit);
    loop.exec();
    program.join();
    EXPECT_TRUE(done);
    EXPECT_EQ(result, 1);
}
