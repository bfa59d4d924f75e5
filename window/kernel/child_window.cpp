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

#include <array>
#include <memory>
#include <vector>

namespace {

// The process-wide lock: serialises the slot table, the record list, the
// default window and the thread records.
std::mutex g_layer_lock;
std::array<ChildWindow*, kMaxWindows> g_slots{};
// Every record ever created while the frame lives, removed ones included.
std::vector<std::unique_ptr<ChildWindow>> g_records;
ChildWindow* g_default = nullptr;
// Bumped at frame shutdown: thread records of an older frame start afresh.
int g_generation = 0;

// The per-thread record and the frame generation it belongs to.
struct ThreadSlot {
    ThreadContext context;
    int generation = -1;
};
thread_local ThreadSlot t_slot;

bool usable(const ChildWindow* cw) {
    return cw && !cw->destroyed.load() && !cw->closed.load();
}

// On the interface thread, with g_layer_lock NOT held.
ChildWindow* create_default_on_ui() {
    {
        std::lock_guard<std::mutex> hold(g_layer_lock);
        if (usable(g_default)) return g_default;
    }
    int slot = -1;
    {
        std::lock_guard<std::mutex> hold(g_layer_lock);
        for (int i = 0; i < kMaxWindows && slot < 0; ++i)
            if (!g_slots[i]) slot = i;
    }
    if (slot < 0) return nullptr;
    ChildWindow* cw = create_child_window("Graphic " + std::to_string(slot + 1), 0, false);
    std::lock_guard<std::mutex> hold(g_layer_lock);
    g_default = cw;
    return cw;
}

} // namespace

ThreadContext& thread_context() {
    std::lock_guard<std::mutex> hold(g_layer_lock);
    if (t_slot.generation != g_generation) {
        t_slot.context = ThreadContext{};
        t_slot.generation = g_generation;
        t_slot.context.registered = true;
    }
    return t_slot.context;
}

ChildWindow* default_window() {
    ChildWindow* cw = nullptr;
    run_on_ui([&] { cw = create_default_on_ui(); });
    return cw;
}

void set_default_window(ChildWindow* cw) {
    std::lock_guard<std::mutex> hold(g_layer_lock);
    g_default = cw;
}

ChildWindow* current_window() {
    ThreadContext& ctx = thread_context();
    ChildWindow* cw = ctx.current;
    // A window removed by another thread is no longer anybody's current window.
    if (cw && !cw->destroyed.load()) return cw;
    cw = default_window();
    ctx.current = cw;
    return cw;
}

void set_current_window(ChildWindow* cw) {
    thread_context().current = cw;
}

ChildWindow* window_for_unit(int unit) {
    if (unit == 0) return default_window();
    std::lock_guard<std::mutex> hold(g_layer_lock);
    for (ChildWindow* cw : g_slots)
        // Also when it was made the default window: it is still the unit's.
        if (cw && cw->unit == unit && !cw->closed.load()) return cw;
    return nullptr;
}

ChildWindow* window_for_handle(int handle) {
    const int slot = handle - kFirstHandle;
    if (slot < 0 || slot >= kMaxWindows) return nullptr;
    std::lock_guard<std::mutex> hold(g_layer_lock);
    return g_slots[slot];
}

ChildWindow* window_for_sub(const QMdiSubWindow* sub) {
    if (!sub) return nullptr;
    std::lock_guard<std::mutex> hold(g_layer_lock);
    for (ChildWindow* cw : g_slots)
        if (cw && cw->sub == sub) return cw;
    return nullptr;
}

ChildWindow* active_window() {
    Frame* f = frame();
    return f ? window_for_sub(f->mdi->currentSubWindow()) : nullptr;
}

int window_count() {
    std::lock_guard<std::mutex> hold(g_layer_lock);
    int n = 0;
    for (ChildWindow* cw : g_slots)
        n += cw ? 1 : 0;
    return n;
}

void update_window_rect(ChildWindow* cw, int x, int y, int w, int h) {
    if (!cw) return;
    auto repaint = [cw, x, y, w, h] {
        // The frame may have gone (and the record with it) before a queued repaint.
        if (!is_live_window(cw)) return;
        repaint_full_screen_rect(cw, x, y, w, h);
        if (!cw->view) return;
        static_cast<SurfaceView*>(cw->view)->repaint_surface_rect(x, y, w, h);
    };
    if (on_ui_thread())
        repaint();
    else // no need to wait
        post_to_ui(repaint);
}

ChildWindow* create_child_window(const std::string& title, int unit, bool delete_on_close) {
    Frame* f = frame();
    if (!f) return nullptr;
    ChildWindow* cw = nullptr;
    {
        std::lock_guard<std::mutex> hold(g_layer_lock);
        int slot = -1;
        for (int i = 0; i < kMaxWindows && slot < 0; ++i)
            if (!g_slots[i]) slot = i;
        if (slot < 0) return nullptr;
        g_records.push_back(std::make_unique<ChildWindow>());
        cw = g_records.back().get();
        cw->slot = slot;
        cw->unit = unit;
        cw->title = title;
        cw->delete_on_close = delete_on_close;
        g_slots[slot] = cw;
    }
    auto* view = new SurfaceView(cw);
    auto* sub = new ChildSubWindow(cw);
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
    if (window_hooks().closing) window_hooks().closing(cw);
    if (cw->full_screen) close_full_screen();
    {
        std::lock_guard<std::mutex> hold(g_layer_lock);
        if (cw->slot >= 0 && g_slots[cw->slot] == cw) g_slots[cw->slot] = nullptr;
        if (g_default == cw) g_default = nullptr;
        cw->destroyed.store(true);
    }
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
        ChildWindow* cw;
        {
            std::lock_guard<std::mutex> hold(g_layer_lock);
            cw = g_slots[i];
        }
        if (cw) {
            QMdiSubWindow* sub = cw->sub;
            remove_window(cw);
            delete sub; // now, before the records go
        }
    }
    std::lock_guard<std::mutex> hold(g_layer_lock);
    g_records.clear();
    g_default = nullptr;
    ++g_generation;
    t_slot.generation = -1;
}

bool is_live_window(const ChildWindow* cw) {
    if (!cw) return false;
    std::lock_guard<std::mutex> hold(g_layer_lock);
    for (ChildWindow* live : g_slots)
        if (live == cw) return true;
    return false;
}

void post_to_ui(const std::function<void()>& fn) {
    if (on_ui_thread())
        fn();
    else
        QMetaObject::invokeMethod(QCoreApplication::instance(), fn, Qt::QueuedConnection);
}

void set_status_message(const char* text) {
    const QString s = QString::fromUtf8(text ? text : "");
    // A status line is no reason to make a program thread wait.
    post_to_ui([s] {
        if (Frame* f = frame()) f->message_label->setText(s);
    });
}
