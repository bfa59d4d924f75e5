// The drawing operations on the current window's surface.
#include "window/graph/graphics.h"

#include "window/graph/text_grid.h"
#include "window/graph/window_access.h"
#include "window/kernel/units.h"

#include <algorithm>
#include <cstring>

namespace {

// Runs one engine operation on the current window under its lock; `fail` is
// the result when there is no usable window.
template <class Op> int on_current(Op op, int fail) {
    LockedWindow w = lock_current_window();
    if (!w.cw) return fail;
    OpResult r = op(*w.cw);
    set_graphics_status(r.status);
    unlock_and_show(w);
    return r.result;
}

} // namespace

int set_viewport(int16_t x1, int16_t y1, int16_t x2, int16_t y2) {
    return on_current(
        [&](ChildWindow& cw) { return surface_set_viewport(graphics_of(cw).gfx, x1, y1, x2, y2); },
        0);
}

int set_window(bool invert_y, double wx1, double wy1, double wx2, double wy2) {
    return on_current(
        [&](ChildWindow& cw) {
            return surface_set_window(graphics_of(cw).gfx, invert_y, wx1, wy1, wx2, wy2);
        },
        0);
}

int get_window_config(WindowConfig& config) {
    WindowRef target = current_window_ref();
    // The title lives on the interface thread: read it before taking the lock.
    char title[81] = {};
    if (target && target->slot >= 0) window_title(kFirstHandle + target->slot, title, sizeof title);
    LockedWindow w = lock_window(std::move(target));
    if (!w.cw) return 0;
    const SurfaceState& s = graphics_of(w.cw).gfx;
    const TextState& t = graphics_of(w.cw).text;
    std::memset(&config, 0, sizeof config);
    config.width = static_cast<int16_t>(std::min(s.surface_width, 32767));
    config.height = static_cast<int16_t>(std::min(s.surface_height, 32767));
    config.text_cols = static_cast<int16_t>(std::min(t.text_cols, 32767));
    config.text_rows = static_cast<int16_t>(std::min(t.text_rows, 32767));
    config.colours = static_cast<int16_t>(s.colour_count);
    config.cell_size = static_cast<int32_t>((static_cast<uint32_t>(t.cell_width) << 16) |
                                            (static_cast<uint32_t>(t.cell_height) & 0xFFFFu));
    size_t n = std::min(std::strlen(title), sizeof config.title);
    std::memset(config.title, ' ', sizeof config.title);
    std::memcpy(config.title, title, n);
    config.bits_per_pixel = static_cast<int16_t>(s.bits_per_pixel);
    config.zero = 0;
    config.minus_one = -1;
    set_graphics_status(0);
    unlock_and_show(w);
    return 1;
}

int colour_count() {
    return on_current(
        [](ChildWindow& cw) {
            return OpResult{graphics_of(cw).gfx.colour_count, 0};
        },
        0);
}

int16_t set_color(int16_t index) {
    return static_cast<int16_t>(on_current(
        [&](ChildWindow& cw) { return surface_set_color(graphics_of(cw).gfx, index); }, -1));
}

int16_t set_line_style(int16_t mask) {
    return static_cast<int16_t>(on_current(
        [&](ChildWindow& cw) {
            return surface_set_line_style(graphics_of(cw).gfx, static_cast<uint16_t>(mask));
        },
        -1));
}

int16_t set_write_mode(int16_t mode) {
    return static_cast<int16_t>(on_current(
        [&](ChildWindow& cw) { return surface_set_write_mode(graphics_of(cw).gfx, mode); }, -1));
}

int move_to(int16_t x, int16_t y, PixelPoint& previous) {
    return on_current(
        [&](ChildWindow& cw) {
            int px = 0, py = 0;
            OpResult r = surface_move_to(graphics_of(cw).gfx, x, y, px, py);
            previous.x = static_cast<int16_t>(px);
            previous.y = static_cast<int16_t>(py);
            return r;
        },
        0);
}

int move_to_w(double wx, double wy, WindowPoint& previous) {
    return on_current(
        [&](ChildWindow& cw) {
            return surface_move_to_w(graphics_of(cw).gfx, wx, wy, previous.wx, previous.wy);
        },
        0);
}

int line_to(int16_t x, int16_t y) {
    return on_current([&](ChildWindow& cw) { return surface_line_to(graphics_of(cw).gfx, x, y); },
                      0);
}

int line_to_w(double wx, double wy) {
    return on_current(
        [&](ChildWindow& cw) { return surface_line_to_w(graphics_of(cw).gfx, wx, wy); }, 0);
}

int draw_rectangle(int16_t control, int16_t x1, int16_t y1, int16_t x2, int16_t y2) {
    return on_current(
        [&](ChildWindow& cw) {
            return surface_rectangle(graphics_of(cw).gfx, control, x1, y1, x2, y2);
        },
        0);
}

int draw_polygon(int16_t control, const PixelPoint* points, int16_t count) {
    return on_current(
        [&](ChildWindow& cw) -> OpResult {
            if (control != kShapeBorder && control != kShapeFill) return {0, kGraphicsBadFill};
            if (count < 3 || count > 16381 || !points) return {0, kGraphicsBadArgument};
            // A copy: the caller's array stays as it is.
            std::vector<int16_t> xy;
            try {
                xy.resize(static_cast<size_t>(count) * 2);
            } catch (...) {
                return {0, kGraphicsNoMemory};
            }
            for (int i = 0; i < count; ++i) {
                xy[2 * static_cast<size_t>(i)] = points[i].x;
                xy[2 * static_cast<size_t>(i) + 1] = points[i].y;
            }
            return surface_polygon(graphics_of(cw).gfx, control, xy.data(), count);
        },
        0);
}

void draw_text(const char* text, int length) {
    on_current([&](ChildWindow& cw) { return surface_text(graphics_of(cw).gfx, text, length); }, 0);
}

void clear_screen(int16_t area) {
    on_current(
        [&](ChildWindow& cw) -> OpResult {
            SurfaceState& s = graphics_of(cw).gfx;
            TextState& t = graphics_of(cw).text;
            switch (area) {
            case CLEAR_WINDOW:
                surface_fill(s, 0, 0, s.surface_width - 1, s.surface_height - 1,
                             s.palette[std::clamp(t.background_colour, 0, 255)]);
                text_forget_all(t);
                s.has_graphics = false;
                t.caret_visible = false;
                return {1, kGraphicsOk};
            case CLEAR_VIEWPORT:
                surface_fill(s, s.clip_left, s.clip_top, s.clip_right, s.clip_bottom, s.palette[0]);
                t.cursor_row = 1;
                t.cursor_col = 1;
                return {1, kGraphicsOk};
            case CLEAR_TEXT:
                text_clear_window(s, t);
                return {1, kGraphicsOk};
            default:
                return {0, kGraphicsBadFill};
            }
        },
        0);
}
