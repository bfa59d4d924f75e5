// Helpers of the window tests: a unit's window opened for one test, events, pixels.
#pragma once

#include "window/graph/graphics_data.h"
#include "window/kernel/child_window.h"
#include "window/kernel/units.h"

#include <QApplication>
#include <QImage>
#include <mutex>

// Lets queued updates and paints run.
inline void settle() {
    for (int i = 0; i < 3; ++i)
        QApplication::processEvents();
}

// A copy of the window's surface, taken under its lock.
inline QImage surface_copy(ChildWindow* cw) {
    std::lock_guard<std::mutex> hold(cw->lock);
    return graphics_of(cw).gfx.surface.copy();
}

// Number of pixels of img that differ from rgb.
inline int count_not(const QImage& img, uint32_t rgb) {
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            n += img.pixel(x, y) != rgb;
    return n;
}

// Opens a unit's window for the test and closes (removes) it afterwards.
struct UnitWindow {
    int unit;
    ChildWindow* cw;
    explicit UnitWindow(int u, const char* title = "Test window") : unit(u) {
        open_window_unit(unit, title);
        cw = window_for_unit(unit);
        settle();
    }
    ~UnitWindow() {
        settle();
        close_window_unit(unit, "DELETE");
        settle();
    }
};
