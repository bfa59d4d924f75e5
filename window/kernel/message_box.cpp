// Message boxes and the reports of internal errors.
#include "window/kernel/message_box.h"

#include "window/kernel/frame.h"
#include "window/kernel/program_state.h"
#include "window/kernel/stop_guard.h"
#include "window/kernel/ui_thread.h"
#include "window/kernel/window_program.h"

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
    case 0x10:
        return QMessageBox::Critical;
    case 0x20:
        return QMessageBox::Question;
    case 0x30:
        return QMessageBox::Warning;
    case 0x40:
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

int show_box(const char* text, const char* title, int style) {
    if (MessageBoxAnswer answer = g_answer.load())
        return answer(text ? text : "", title ? title : "", style);
    const std::vector<Button> buttons = buttons_of(style);
    QMessageBox box(icon_of(style), QString::fromUtf8(title ? title : ""), lines_of(text),
                    QMessageBox::NoButton, dialog_owner());
    QMessageBox::StandardButtons set;
    for (const Button& b : buttons)
        set |= b.button;
    box.setStandardButtons(set);
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

const char* error_message(int code) {
    switch (code) {
    case 4:
        return "Out of Memory";
    case 5:
        return "Internal Error - unexpected error";
    case 6:
        return "Possible internal inconsistency";
    default:
        return "Internal Error - unexpected error";
    }
}

} // namespace

void set_message_box_answer(MessageBoxAnswer answer) {
    g_answer.store(answer);
}

int message_box(const char* text, const char* title, int style) {
    int result = 0;
    run_on_ui([&] { result = show_box(text, title, style); });
    return result;
}

int internal_error_text(int kind, int code, const char* file, int line, char* buf, int size) {
    const char* name = file ? std::strrchr(file, '/') : nullptr;
    name = name ? name + 1 : (file ? file : "");
    const char* format =
        kind == kInternalFatal ? "%s, file \"%s\", line %d" : "%s\nfile \"%s\", line %d";
    return std::snprintf(buf, static_cast<size_t>(size > 0 ? size : 0), format, error_message(code),
                         name, line);
}

void report_internal_error(int kind, int code, const char* file, int line) {
    char text[600];
    internal_error_text(kind, code, file, line, text, sizeof text);
    static const char* const kTitles[] = {"Window Layer Warning", "Window Layer Error",
                                          "Window Layer Fatal Error"};
    static const int kIcons[] = {0x30, 0x10, 0x10};
    const int k = kind == kInternalFatal ? 2 : (kind == kInternalError ? 1 : 0);
    message_box(text, kTitles[k], kIcons[k]);
    if (k == 2) stop_program(nullptr);
}
