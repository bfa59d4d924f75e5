// Keyboard and paste input delivered to a window's pending read.
#include "window/graph/input.h"

#include "window/graph/text_grid.h"
#include "window/graph/window_access.h"

#include <string>

bool take_pasted_line(ChildWindow* cw) {
    TextState& t = graphics_of(cw).text;
    if (!t.read_pending || t.pasted.empty()) return false;
    size_t end = t.pasted.find_first_of("\r\n");
    if (end == std::string::npos) {
        // Not a whole line yet: it becomes typed text that Enter completes.
        text_write(graphics_of(cw).gfx, t, t.pasted.data(), static_cast<int>(t.pasted.size()));
        t.typed += t.pasted;
        t.pasted.clear();
        return false;
    }
    std::string line = t.pasted.substr(0, end);
    size_t next = end + 1;
    if (t.pasted[end] == '\r' && next < t.pasted.size() && t.pasted[next] == '\n') ++next;
    t.pasted.erase(0, next);
    text_write(graphics_of(cw).gfx, t, line.data(), static_cast<int>(line.size()));
    text_write(graphics_of(cw).gfx, t, "\r\n", 2);
    t.typed += line;
    cw->input_signalled = true;
    cw->input_event.notify_all();
    return true;
}

bool input_key(ChildWindow* cw, const char* text) {
    LockedWindow w = lock_window(cw);
    if (!w.cw) return false;
    TextState& t = graphics_of(cw).text;
    if (!t.read_pending || cw->input_signalled) {
        unlock_and_show(w);
        return false;
    }
    for (const char* p = text; p && *p; ++p) {
        char c = *p;
        if (c == '\r' || c == '\n') {
            text_write(graphics_of(cw).gfx, t, "\r\n", 2);
            cw->input_signalled = true;
            cw->input_event.notify_all();
            break;
        }
        if (c == '\b') {
            if (!t.typed.empty() && t.cursor_col > 1) {
                t.typed.pop_back();
                --t.cursor_col;
                text_write(graphics_of(cw).gfx, t, " ", 1);
                --t.cursor_col;
            }
            continue;
        }
        t.typed += c;
        text_write(graphics_of(cw).gfx, t, &c, 1);
    }
    unlock_and_show(w);
    return true;
}

void input_paste(ChildWindow* cw, const char* text) {
    LockedWindow w = lock_window(cw);
    if (!w.cw) return;
    graphics_of(cw).text.pasted += text ? text : "";
    take_pasted_line(cw);
    unlock_and_show(w);
}

void input_clear_paste(ChildWindow* cw) {
    LockedWindow w = lock_window(cw);
    if (!w.cw) return;
    graphics_of(cw).text.pasted.clear();
    unlock_and_show(w);
}
