// Starting the shell on a program thread and driving its modal dialogs in tests.
#include "shell_driver.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <atomic>
#include <thread>

#include "app/main_routine.h"
#include "app/menu_callbacks.h"
#include "app/shell_state.h"
#include "dialogm/dialog.h"
#include "text/output_unit.h"
#include "window/graph/text_window.h"

namespace {

std::vector<std::string> g_lines;

// Records each line and shows it in the unit's window as the connected standard output does.
void record_and_show(int unit, const char* line, int length) {
    g_lines.emplace_back(line, static_cast<size_t>(length));
    write_unit_record(unit, line, length);
}

template <class W> W* nth_child(QDialog* dialog, int n) {
    const QList<W*> list = dialog->findChildren<W*>(Qt::FindDirectChildrenOnly);
    return n < list.size() ? list[n] : nullptr;
}

} // namespace

void start_application_on_program_thread() {
    std::atomic<bool> done{false};
    std::thread program([&done] {
        connect_program_seams();
        set_line_sink(record_and_show);
        program_startup();
        done = true;
    });
    while (!done)
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    program.join();
    QApplication::processEvents();
}

const std::vector<std::string>& written_lines() {
    return g_lines;
}

void with_dialog(const std::function<void()>& action, const std::function<void(QDialog*)>& body) {
    bool ran = false;
    QTimer timer;
    timer.setInterval(5);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr || shell_dialog().window == nullptr || ran) return;
        ran = true;
        timer.stop();
        body(dialog);
        if (shell_dialog().window != nullptr) dialog->reject();
    });
    timer.start();
    action();
    timer.stop();
    EXPECT_TRUE(ran) << "the dialog did not show";
}

QLineEdit* edit_at(QDialog* dialog, int n) {
    return nth_child<QLineEdit>(dialog, n);
}
QAbstractButton* push_button_at(QDialog* dialog, int n) {
    return nth_child<QPushButton>(dialog, n);
}
QAbstractButton* check_box_at(QDialog* dialog, int n) {
    return nth_child<QCheckBox>(dialog, n);
}
QAbstractButton* radio_at(QDialog* dialog, int n) {
    return nth_child<QRadioButton>(dialog, n);
}

void type_into(QLineEdit* edit, const QString& text) {
    ASSERT_NE(edit, nullptr);
    edit->selectAll();
    QKeyEvent del(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
    QApplication::sendEvent(edit, &del);
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(edit, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(edit, &release);
    }
}

void set_edit_text(QLineEdit* edit, const QString& text) {
    ASSERT_NE(edit, nullptr);
    edit->setText(text);
}

void click(QAbstractButton* button) {
    ASSERT_NE(button, nullptr);
    const QPointF at(button->width() / 2.0, button->height() / 2.0);
    QMouseEvent press(QEvent::MouseButtonPress, at, button->mapToGlobal(at), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(button, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, button->mapToGlobal(at), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(button, &release);
}

std::string control_text(int control_id) {
    char text[kDialogTextLength];
    if (!dlg_get(shell_dialog(), control_id, text, kDialogTextLength, sel_text) &&
        !dlg_get(shell_dialog(), control_id, text, kDialogTextLength, sel_state))
        return "<no such control>";
    std::string s(text, kDialogTextLength);
    s.erase(s.find_last_not_of(' ') + 1);
    return s;
}

bool control_enabled(int control_id) {
    bool enabled = false;
    dlg_get(shell_dialog(), control_id, enabled, sel_enable);
    return enabled;
}

bool control_checked(int control_id) {
    bool checked = false;
    dlg_get(shell_dialog(), control_id, checked, sel_state);
    return checked;
}

void open_workspace_with_ok() {
    with_dialog(
        [] {
            int32_t state = 0;
            on_open_workspace(state);
        },
        [](QDialog* d) { click(push_button_at(d, 0)); });
}

void close_workspace() {
    int32_t state = 0;
    on_close_workspace(state);
}
