// A child window showing a picture from plain pixels.
#include "window/graph/image_window.h"

#include "window/graph/graphics_data.h"
#include "window/graph/window_access.h"
#include "window/kernel/units.h"
#include "window/kernel/window_table.h"

#include <QImage>
#include <QPainter>

#include <mutex>

int open_image_window(int unit, const char* title, const uint32_t* pixels, int width, int height,
                      int stride) {
    if (!pixels || width <= 0 || height <= 0 || stride < width * 4) return 0;
    const WindowRef previous = current_window_ref();
    if (window_for_unit(unit)) close_window_unit(unit, "DELETE");
    if (!open_window_unit(unit, title)) return 0;
    int shown = 0;
    {
        const WindowRef ref = current_window_ref();
        ChildWindow* cw = ref.get();
        if (cw && cw->graphics) {
            {
                // The surface is made at the picture's size when the window is first drawn on.
                std::lock_guard<WindowMutex> hold(cw->lock);
                if (!cw->configured) {
                    graphics_of(cw).gfx.requested_width = width;
                    graphics_of(cw).gfx.requested_height = height;
                }
            }
            LockedWindow w = lock_current_window();
            if (w.cw) {
                SurfaceState& s = graphics_of(w.cw).gfx;
                const QImage picture(reinterpret_cast<const uchar*>(pixels), width, height, stride,
                                     QImage::Format_ARGB32_Premultiplied);
                QPainter painter(&s.surface);
                painter.drawImage(0, 0, picture);
                painter.end();
                s.dirty = s.dirty.united(QRect(0, 0, width, height));
                shown = 1;
            }
            unlock_and_show(w);
        }
    }
    set_current_window(previous.get());
    return shown;
}
