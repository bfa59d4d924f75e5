// Message boxes and the reports of internal errors.
#include "window/kernel/message_box.h"

#include "window/kernel/frame.h"
#include "window/kernel/ui_thread.h"

#include <QMessageBox>
#include <QPushButton>

#include <atomic>
#include <cstdio>
#include <cstring>

namespace {

std::atomic<MessageBoxAnswer> g_answer{nullptr};

// Button ids as results, and the toolkit's buttons for them.
struct Button {
    int id;
    QMessageBox::StandardButton button;
};
constexpr Button kOk{1, QMessageBox::Ok};
constexpr Button kCancel{2, QMessageBox::Cancel};
constexpr Button kAbort{3, QMessageBox::Abort};
constexpr Button kRetry{4, QMessageBox::Retry};
constexpr Button kIgnore{5, QMessageBox::Ignore};
constexpr Button kYes{6, QMessageBox::Yes};
constexpr Button kNo{7, QMessageBox::No};

// The buttons of a style's low four bits, in display order.
std::vector<Button> buttons_of(int style) {
    switch (style & 0xF) {
    case 1:
        return {kOk, kCancel};
    case 2:
        return {kAbort, kRetry, kIgnore};
    case 3:
        return {kYes, kNo, kCancel};
    case 4:
        return {kYes, kNo};
    case 5:
        return {kRetry, kCancel};
    default:
        return {kOk};
    }
}

QMessageBox::Icon icon_of(int style) {
    switch (style & 0xF0) {
    case kBoxIconError:
        return QMessageBox::Critical;
    case kBoxIconQuestion:
        return QMessageBox::Question;
    case kBoxIconWarning:
        return QMessageBox::Warning;
    case kBoxIconInfo:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

// Line breaks come as carriage returns (alone or before a line feed).
QString lines_of(const char* text) {
    QString s = QString::fromUtf8(text ? text : "");
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return s;
}

// yes_label and no_label (null: the toolkit's own) rename the Yes and No buttons.
int show_box(const char* text, const char* title, int style, const char* yes_label = nullptr,
             const char* no_label = nullptr) {
    if (MessageBoxAnswer answer = g_answer.load())
        return answer(text ? text : "", title ? title : "", style);
    const std::vector<Button> buttons = buttons_of(style);
    QMessageBox box(icon_of(style), QString::fromUtf8(title ? title : ""), lines_of(text),
                    QMessageBox::NoButton, dialog_owner());
    QMessageBox::StandardButtons set;
    for (const Button& b : buttons)
        set |= b.button;
    box.setStandardButtons(set);
    if (yes_label && box.button(QMessageBox::Yes))
        box.button(QMessageBox::Yes)->setText(QString::fromUtf8(yes_label));
    if (no_label && box.button(QMessageBox::No))
        box.button(QMessageBox::No)->setText(QString::fromUtf8(no_label));
    const size_t def = static_cast<size_t>((style >> 8) & 0xF);
    box.setDefaultButton(buttons[def < buttons.size() ? def : 0].button);
    // Closing the box without a button counts as Cancel where there is one,
    // else as the only button.
    box.setEscapeButton(buttons.size() == 1 ? buttons[0].button : QMessageBox::Cancel);
    if (style & 0x1000) box.setWindowModality(Qt::ApplicationModal);
    const int chosen = box.exec();
    for (const Button& b : buttons)
        if (b.button == chosen) return b.id;
    return buttons.size() == 1 ? buttons[0].id : kCancel.id;
}

} // namespace

void set_message_box_answer(MessageBoxAnswer answer) {
    g_answer.store(answer);
}

int ask_question(const char* text, const char* title, const char* yes_label, const char* no_label) {
    int result = 0;
    run_on_ui([&] {
        result = show_box(text, title, kBoxYesNoCancel | kBoxIconQuestion, yes_label, no_label);
    });
    return result;
}

int message_box(const char* text, const char* title, int style) {
    int result = 0;
    run_on_ui([&] { result = show_box(text, title, style); });
    return result;
}
