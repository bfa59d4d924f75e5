// The frame window with its MDI area, menu bar and status bar.
#include "window/kernel/frame.h"

#include "window/kernel/child_window.h"
#include "window/kernel/menu_bar.h"
#include "window/kernel/program_state.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QFontMetrics>
#include <QIcon>
#include <QLabel>
#include <QMdiArea>
#include <QStatusBar>

namespace {
Frame* g_frame = nullptr;
std::string g_title;
} // namespace

Frame* frame() {
    return g_frame;
}
const std::string& frame_title() {
    return g_title;
}

Frame::Frame(const QString& title) {
    setWindowTitle(title);
    mdi = new QMdiArea(this);
    mdi->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdi->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(mdi);
    connect(mdi, &QMdiArea::subWindowActivated, this, &Frame::on_activated);

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
    // Closing the frame ends the whole program at once, whatever the program
    // thread is doing.
    event->ignore();
    end_process(0);
}

void Frame::on_activated(QMdiSubWindow* sub) {
    // A null activation also comes when the frame loses focus to another
    // program: the bar follows whether child windows exist, not focus.
    refresh_menu_bar();
    if (sub) refresh_check_marks();
}

int frame_start(const char* name) {
    if (g_frame) return 0;
    g_title = name ? name : "";
    // The program's resources (linked into the executable, not into this
    // layer) may serve the frame icon; without them the platform's stays.
    const QString icon = QStringLiteral(":/icons/hysteresis.png");
    if (QFile::exists(icon)) QApplication::setWindowIcon(QIcon(icon));
    g_frame = new Frame(QString::fromUtf8(g_title.c_str()));
    build_standard_menus(g_frame);
    refresh_menu_bar();
    g_frame->resize(1024, 768);
    g_frame->show();
    return 1;
}

void frame_shutdown() {
    if (!g_frame) return;
    g_frame->shutting_down = true;
    destroy_all_windows();
    forget_menus();
    delete g_frame;
    g_frame = nullptr;
    reset_program_state();
}
