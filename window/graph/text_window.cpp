// Text output to and line input from unit windows.
#include "window/graph/text_window.h"

#include "text/output_unit.h"
#include "window/graph/input.h"
#include "window/graph/text_grid.h"
#include "window/graph/window_access.h"
#include "window/kernel/program_state.h"
#include "window/kernel/standard_commands.h"
#include "window/kernel/ui_thread.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

WindowRef window_of_unit(int unit) {
    if (unit == 0 || unit == 6) return default_window_ref();
    return window_ref_for_unit(unit);
}

int write_to(WindowRef cw, const char* text, int length) {
    if (!on_ui_thread()) wait_while_paused();
    LockedWindow w = lock_window(std::move(cw));
    if (!w.cw) return 0;
    int16_t status = text_write(graphics_of(w.cw).gfx, graphics_of(w.cw).text, text, length);
    set_graphics_status(status);
    unlock_and_show(w);
    return status == 0 ? 1 : 0;
}

void standard_output_sink(int unit, const char* line, int length) {
    const WindowRef cw = window_of_unit(unit);
    if (!cw && unit != 0 && unit != 6) {
        std::fwrite(line, 1, static_cast<size_t>(std::max(length, 0)), stdout);
        std::fputc('\n', stdout);
        std::fflush(stdout);
        return;
    }
    if (cw) write_unit_record(unit, line, length);
}

} // namespace

int write_unit_record(int unit, const char* text, int length) {
    WindowRef cw = window_of_unit(unit);
    std::string record =
        (text && length > 0) ? std::string(text, static_cast<size_t>(length)) : " ";
    record += "\r\n";
    return write_to(std::move(cw), record.data(), static_cast<int>(record.size()));
}

int write_unit_text(int unit, const char* text, int length) {
    return write_to(window_of_unit(unit), text, length);
}

void connect_standard_output() {
    set_line_sink(standard_output_sink);
}

int read_unit_line(int unit, char* buffer, int size) {
    // Held for the whole read: the window may be removed while this thread waits.
    const WindowRef keep = window_of_unit(unit);
    ChildWindow* cw = keep.get();
    if (!buffer || size <= 0) return -1;
    buffer[0] = '\0';
    {
        LockedWindow w = lock_window(keep);
        if (!w.cw) return -1;
        graphics_of(w.cw).text.read_pending = true;
        graphics_of(w.cw).text.typed.clear();
        w.cw->input_signalled = false;
        take_pasted_line(w.cw); // a pasted line answers at once
        unlock_and_show(w);
    }
    set_input_pending_window(cw);
    std::string line;
    {
        std::unique_lock<std::mutex> hold(cw->lock);
        if (on_ui_thread()) {
            // Never block the interface thread: keep handling its events.
            while (!cw->input_signalled && !cw->destroyed.load() && !cw->closed.load()) {
                hold.unlock();
                QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
                hold.lock();
            }
        } else {
            cw->input_event.wait(hold, [cw] {
                return cw->input_signalled || cw->destroyed.load() || cw->closed.load();
            });
        }
        line = graphics_of(cw).text.typed;
        graphics_of(cw).text.typed.clear();
        graphics_of(cw).text.read_pending = false;
        cw->input_signalled = false;
    }
    set_input_pending_window(nullptr);
    size_t n = std::min(line.size(), static_cast<size_t>(size - 1));
    std::memcpy(buffer, line.data(), n);
    buffer[n] = '\0';
    return static_cast<int>(n);
}
