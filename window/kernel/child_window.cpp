// Child-window records, per-thread contexts and the slot table.
#include "window/kernel/child_window.h"

#include "window/kernel/frame.h"
#include "window/kernel/menu_bar.h"
#include "window/kernel/surface_view.h"
#include "window/kernel/ui_thread.h"
#include "window/kernel/window_hooks.h"

#include <QApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>

#include <memory>

ChildWindow* active_window() {
    Frame* f = frame();
    return f ? window_for_sub(f->mdi->currentSubWindow()) : nullptr;
}

void update_window_rect(ChildWindow* cw, int x, int y, int w, int h) {
    if (!cw) return;
    auto repaint = [](ChildWindow* cw, int x, int y, int w, int h) {
        if (cw->destroyed.load()) return;
        repaint_full_screen_rect(cw, x, y, w, h);
        if (!cw->view) return;
        static_cast<SurfaceView*>(cw->view)->repaint_surface_rect(x, y, w, h);
    };
    if (on_ui_thread()) {
        repaint(cw, x, y, w, h);
        return;
    }
    // No need to wait. The window may be removed (and its record freed)
    // before the queued repaint runs: it holds only a weak reference.
    std::weak_ptr<ChildWindow> weak = weak_window(cw);
    post_to_ui([weak, repaint, x, y, w, h] {
        if (WindowRef live = weak.lock()) repaint(live.get(), x, y, w, h);
    });
}

ChildWindow* create_child_window(const std::string& title, int unit, bool delete_on_close) {
    Frame* f = frame();
    if (!f) return nullptr;
    const WindowRef record = claim_window_slot(title, unit, delete_on_close);
    if (!record) return nullptr;
    ChildWindow* cw = record.get();
    auto* view = new SurfaceView(cw);
    auto* sub = new ChildSubWindow(cw, window_closing_allowed, remove_window);
    sub->setWidget(view);
    sub->setWindowTitle(QString::fromUtf8(title.c_str()));
    cw->view = view;
    cw->sub = sub;
    f->mdi->addSubWindow(sub);
    const QSize area = f->mdi->size();
    sub->resize(std::max(320, area.width() * 2 / 3), std::max(240, area.height() * 2 / 3));
    sub->show();
    refresh_menu_bar();
    f->mdi->setActiveSubWindow(sub);
    view->setFocus();
    if (window_hooks().opened) window_hooks().opened(cw);
    return cw;
}

bool window_closing_allowed(const ChildWindow* cw) {
    return cw->closed.load() || (frame() && frame()->shutting_down);
}

void remove_window(ChildWindow* cw) {
    if (!cw || cw->destroyed.load()) return;
    // The slot's reference goes below; this one keeps the record until the end.
    const WindowRef keep = cw->weak_from_this().lock();
    if (window_hooks().closing) window_hooks().closing(cw);
    if (cw->full_screen) close_full_screen();
    release_window_slot(cw);
    QMdiSubWindow* sub = cw->sub;
    cw->sub = nullptr;
    cw->view = nullptr;
    if (sub) {
        sub->hide();
        if (frame()) frame()->mdi->removeSubWindow(sub);
        sub->deleteLater();
    }
    refresh_menu_bar();
    refresh_check_marks();
}

void destroy_all_windows() {
    close_full_screen();
    for (int i = 0; i < kMaxWindows; ++i) {
        const WindowRef cw = window_in_slot(i);
        if (cw) {
            QMdiSubWindow* sub = cw->sub;
            remove_window(cw.get());
            delete sub; // now: the widgets' references go with them
        }
    }
    forget_window_table();
}

void set_status_message(const char* text) {
    const QString s = QString::fromUtf8(text ? text : "");
    // A status line is no reason to make a program thread wait.
    post_to_ui([s] {
        if (Frame* f = frame()) f->message_label->setText(s);
    });
}
