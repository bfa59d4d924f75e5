// The surface's size taken from the window's client area.
#include "window/graph/surface_fit.h"

#include "window/graph/graphics_data.h"
#include "window/kernel/child_window.h"
#include "window/kernel/ui_thread.h"
#include "window/kernel/window_table.h"

#include <QAbstractScrollArea>
#include <QSize>

#include <mutex>

int size_surface_to_window() {
    const WindowRef ref = current_window_ref();
    ChildWindow* cw = ref.get();
    if (!cw || !cw->graphics) return 0;
    QSize shown;
    run_on_ui([&] {
        if (cw->destroyed.load() || !cw->view) return;
        // The area inside the view's frame when no scroll bar is shown.
        if (auto* view = qobject_cast<QAbstractScrollArea*>(cw->view))
            shown = view->maximumViewportSize();
    });
    if (shown.width() <= 0 || shown.height() <= 0) return 0;
    std::lock_guard<WindowMutex> hold(cw->lock);
    if (cw->configured) return 0;
    SurfaceState& s = graphics_of(cw).gfx;
    s.requested_width = shown.width();
    s.requested_height = shown.height();
    return 1;
}
