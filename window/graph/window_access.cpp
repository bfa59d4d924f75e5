// Locking the current window for the length of one graphics operation.
#include "window/graph/window_access.h"

#include "window/graph/text_grid.h"
#include "window/kernel/program_state.h"
#include "window/kernel/ui_thread.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>
#include <atomic>

namespace {

std::atomic<int16_t> g_status{0};
std::atomic<int> g_screen_w{0}, g_screen_h{0}, g_screen_bits{0};

// Runs on the interface thread: takes what was drawn since the last update
// and asks the window to show it.
void flush_update(const std::weak_ptr<ChildWindow>& weak) {
    // The window (and its record) may have gone meanwhile.
    const WindowRef keep = weak.lock();
    ChildWindow* cw = keep.get();
    if (!cw) return;
    QRect r;
    {
        std::lock_guard<WindowMutex> hold(cw->lock);
        r = graphics_of(cw).gfx.dirty;
        graphics_of(cw).gfx.dirty = QRect();
        graphics_of(cw).gfx.update_queued = false;
    }
    if (!r.isEmpty() && !cw->destroyed.load())
        update_window_rect(cw, r.x(), r.y(), r.width(), r.height());
}

} // namespace

void set_graphics_status(int16_t status) {
    g_status.store(status);
}

int16_t last_graphics_status() {
    return g_status.load();
}

void remember_screen() {
    int w = 1024, h = 768, bits = 32;
    if (QGuiApplication::instance()) {
        if (QScreen* screen = QGuiApplication::primaryScreen()) {
            w = screen->size().width();
            h = screen->size().height();
            bits = screen->depth();
        }
    }
    g_screen_w.store(w);
    g_screen_h.store(h);
    g_screen_bits.store(bits);
}

void screen_metrics(int& width, int& height, int& bits_per_pixel) {
    if (g_screen_w.load() == 0) {
        // Asked before start-up: read the screen on the interface thread.
        if (on_ui_thread() || !QCoreApplication::instance())
            remember_screen();
        else
            run_on_ui([] { remember_screen(); });
    }
    width = g_screen_w.load();
    height = g_screen_h.load();
    bits_per_pixel = g_screen_bits.load();
}

void configure_locked(ChildWindow* cw) {
    if (cw->configured) return;
    int w, h, bits;
    screen_metrics(w, h, bits);
    SurfaceState& s = graphics_of(cw).gfx;
    if (s.requested_width > 0) w = s.requested_width;
    if (s.requested_height > 0) h = s.requested_height;
    surface_reset(s, w, h, bits);
    text_configure(s, graphics_of(cw).text);
    cw->configured = true;
}

LockedWindow lock_window(ChildWindow* cw) {
    WindowRef ref = cw ? cw->weak_from_this().lock() : WindowRef();
    // A record that no window table owns (built by hand) is used as it is, without a count.
    if (!ref && cw) ref = WindowRef(WindowRef(), cw);
    return lock_window(std::move(ref));
}

LockedWindow lock_window(WindowRef ref) {
    LockedWindow w;
    ChildWindow* cw = ref.get();
    // A record made before the graphics part was installed has no graphics data: no surface to
    // draw on, as for a closed window.
    if (!cw || !cw->graphics || cw->closed.load() || cw->destroyed.load()) {
        set_graphics_status(-1);
        return w;
    }
    if (!cw->configured) {
        // The screen size may need the interface thread: ask before locking.
        int sw, sh, sb;
        screen_metrics(sw, sh, sb);
    }
    w.hold = std::unique_lock<WindowMutex>(cw->lock);
    w.cw = cw;
    w.keep = std::move(ref);
    configure_locked(cw);
    return w;
}

LockedWindow lock_current_window() {
    wait_while_paused();
    return lock_window(current_window_ref());
}

void unlock_and_show(LockedWindow& w) {
    if (!w.cw) return;
    ChildWindow* cw = w.cw;
    SurfaceState& s = graphics_of(cw).gfx;
    bool post = false;
    if (!s.dirty.isEmpty() && !s.update_queued) {
        s.update_queued = true;
        post = true;
    }
    w.hold.unlock();
    w.cw = nullptr;
    if (post) {
        QCoreApplication* app = QCoreApplication::instance();
        if (app) {
            // The flush holds only a weak reference: a window removed before
            // it runs is freed all the same, and the flush finds it gone.
            std::weak_ptr<ChildWindow> weak = w.keep;
            QMetaObject::invokeMethod(
                app, [weak] { flush_update(weak); }, Qt::QueuedConnection);
        } else {
            std::lock_guard<WindowMutex> hold(cw->lock);
            graphics_of(cw).gfx.update_queued = false;
        }
    }
    w.keep.reset();
}
