// The standard commands of the frame and their predefined routines.
#include "window/kernel/standard_commands.h"

#include "window/kernel/about_text.h"
#include "window/kernel/child_window.h"
#include "window/kernel/frame.h"
#include "window/kernel/menu_bar.h"
#include "window/kernel/message_box.h"
#include "window/kernel/program_state.h"
#include "window/kernel/surface_view.h"
#include "window/kernel/ui_thread.h"
#include "window/kernel/window_hooks.h"
#include "window/kernel/program_end.h"

#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStatusBar>

#include <cstring>
#include <string>

namespace {

std::weak_ptr<ChildWindow> g_input_window; // window with typed input pending, or empty

void toggle_size_to_fit(ChildWindow* cw) {
    if (!cw) return;
    {
        std::lock_guard<WindowMutex> hold(cw->lock);
        cw->display_scaled = !cw->display_scaled;
    }
    if (cw->view) static_cast<SurfaceView*>(cw->view)->repaint_surface_rect(0, 0, 0, 0);
    refresh_check_marks();
}

// Lines the minimised windows up along the bottom of the client area.
void arrange_icons(Frame* f) {
    int x = 0;
    const int bottom = f->mdi->viewport()->height();
    for (QMdiSubWindow* sub : f->mdi->subWindowList()) {
        if (!sub->isMinimized()) continue;
        sub->move(x, bottom - sub->height());
        x += sub->width();
    }
}

} // namespace

void pause_program() {
    if (program_state() != kRunning) return;
    pause_program_items();
    show_pause_item(true);
    set_program_state(kPaused);
}

void resume_program() {
    if (program_state() != kPaused) return;
    resume_program_items();
    show_pause_item(false);
    set_program_state(kRunning);
}

void run_standard_command(int id) {
    Frame* f = frame();
    if (!f) return;
    ChildWindow* active = active_window();
    switch (id) {
    case kCmdExit:
        request_process_end();
        break;
    case kCmdSelectText:
    case kCmdSelectGraphics:
    case kCmdSelectAll:
    case kCmdCopy:
    case kCmdPrint:
    case kCmdSave:
    case kCmdPaste:
    case kCmdClearPaste:
        if (active && window_hooks().command) window_hooks().command(active, id);
        break;
    case kCmdSizeToFit:
        toggle_size_to_fit(active);
        break;
    case kCmdFullScreen:
        if (active && active->full_screen)
            close_full_screen();
        else
            show_full_screen(active);
        break;
    case kCmdPause:
        pause_program();
        break;
    case kCmdResume:
        resume_program();
        break;
    case kCmdCascade:
        f->mdi->cascadeSubWindows();
        break;
    case kCmdTile:
        f->mdi->tileSubWindows();
        break;
    case kCmdArrangeIcons:
        arrange_icons(f);
        break;
    case kCmdStatusBar:
        f->statusBar()->setVisible(!f->statusBar()->isVisible());
        refresh_check_marks();
        break;
    case kCmdHelpContents:
    case kCmdHelpUsing:
        message_box("Help is not available for this program.", program_name(), kBoxIconInfo);
        break;
    case kCmdAbout:
        message_box(about_text_in_force(), program_name(), kBoxIconInfo);
        break;
    case kCmdInput:
        if (const WindowRef input = g_input_window.lock()) {
            if (!input->destroyed.load() && input->sub) {
                f->mdi->setActiveSubWindow(input->sub);
                input->view->setFocus();
            }
        }
        break;
    default:
        break;
    }
}

void set_input_pending_window(ChildWindow* cw) {
    std::weak_ptr<ChildWindow> weak = weak_window(cw);
    const bool ending = cw == nullptr;
    post_to_ui([weak, ending] {
        const WindowRef live = weak.lock();
        ChildWindow* cw = live.get();
        if (!ending && (!cw || cw->destroyed.load())) return; // gone before the queued change ran
        g_input_window = weak;
        enable_input_item(cw != nullptr);
        if (Frame* f = frame())
            f->message_label->setText(cw ? QStringLiteral("Input pending in ") +
                                               QString::fromUtf8(cw->title.c_str())
                                         : QString());
    });
}
