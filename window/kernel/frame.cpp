// The frame window with its MDI area, menu bar and status bar.
#include "window/kernel/frame.h"

#include "window/kernel/process_end.h"
#include "window/kernel/program_state.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QFontMetrics>
#include <QIcon>
#include <QLabel>
#include <QMdiArea>
#include <QPointer>
#include <QStatusBar>

namespace {
Frame* g_frame = nullptr;
std::string g_title;
QPointer<QWidget> g_full_screen; // the full-screen view while one exists
} // namespace

Frame* frame() {
    return g_frame;
}
const std::string& frame_title() {
    return g_title;
}

Frame* create_frame(const char* name) {
    if (g_frame) return nullptr;
    g_title = name ? name : "";
    g_frame = new Frame(QString::fromUtf8(g_title.c_str()));
    return g_frame;
}

void delete_frame() {
    delete g_frame;
    g_frame = nullptr;
}

void show_program_state(int state) {
    if (g_frame) g_frame->state_label->setText(QString::fromLatin1(state_word(state)));
}

void set_full_screen_view(QWidget* view) {
    g_full_screen = view;
}

QWidget* dialog_owner() {
    if (g_full_screen && g_full_screen->isVisible()) return g_full_screen;
    return g_frame;
}

Frame::Frame(const QString& title) {
    setWindowTitle(title);
    mdi = new QMdiArea(this);
    mdi->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdi->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(mdi);

    state_label = new QLabel(QString::fromLatin1(state_word(kRunning)));
    state_label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    state_label->setFixedWidth(QFontMetrics(state_label->font()).averageCharWidth() * 9 + 6);
    message_label = new QLabel;
    message_label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    statusBar()->addWidget(state_label);
    statusBar()->addWidget(message_label, 1);
    statusBar()->setSizeGripEnabled(false);
}

void Frame::closeEvent(QCloseEvent* event) {
    if (shutting_down) {
        event->accept();
        return;
    }
    // Closing the frame ends the whole program, whatever the program thread is doing, once the
    // program has had its say about unsaved work.
    event->ignore();
    request_process_end();
}
