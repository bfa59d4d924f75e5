// Locking the current window for the length of one graphics operation.
#include "window/graph/window_access.h"

#include "window/graph/text_grid.h"
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
void flush_update(ChildWindow* cw) {
    // The window (and, with the frame, its record) may have gone meanwhile.
    if (!is_live_window(cw)) return;
    QRect r;
    {
        std::lock_guard<std::mutex> hold(cw->lock);
        r = cw->gfx.dirty;
        cw->gfx.dirty = QRect();
        cw->gfx.update_queued = false;
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
    SurfaceState& s = cw->gfx;
    if (s.requested_width > 0) w = s.requested_width;
    if (s.requested_height > 0) h = s.requested_height;
    surface_reset(s, w, h, bits);
    text_configure(s, cw->text);
    cw->configured = true;
}

LockedWindow lock_window(ChildWindow* cw) {
    LockedWindow w;
    if (!cw || cw->closed.load() || cw->destroyed.load()) {
        set_graphics_status(-1);
        return w;
    }
    if (!cw->configured) {
        // The screen size may need the interface thread: ask before locking.
        int sw, sh, sb;
        screen_metrics(sw, sh, sb);
    }
    w.hold = std::unique_lock<std::mutex>(cw->lock);
    w.cw = cw;
    configure_locked(cw);
    return w;
}

LockedWindow lock_current_window() {
    wait_while_paused();
    return lock_window(current_window());
}

void unlock_and_show(LockedWindow& w) {
    if (!w.cw) return;
    ChildWindow* cw = w.cw;
    bool post = false;
    if (!cw->gfx.dirty.isEmpty() && !cw->gfx.update_queued) {
        cw->gfx.update_queued = true;
        post = true;
    }
    w.hold.unlock();
    w.cw = nullptr;
    if (post) {
        QCoreApplication* app = QCoreApplication::instance();
        if (app) {
            // The flush asks whether cw still exists before touching it.
            QMetaObject::invokeMethod(
                app, [cw] { flush_update(cw); }, Qt::QueuedConnection);
        } else {
            std::lock_guard<std::mutex> hold(cw->lock);
            cw->gfx.update_queued = false;
        }
    }
}
