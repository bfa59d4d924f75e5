// Child windows for units: OPEN and CLOSE on "USER", window state, handles.
#include "window/kernel/units.h"

#include "window/kernel/child_window.h"
#include "window/kernel/frame.h"
#include "window/kernel/surface_view.h"
#include "window/kernel/ui_thread.h"
#include "window/kernel/window_hooks.h"

#include <QMdiArea>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <string>

namespace {

// Character cell of a window without an explicit configuration.
constexpr int kCellWidth = 8;
constexpr int kCellHeight = 16;

// A run-time keyword: trimmed of blanks, upper case.
std::string keyword(const char* s) {
    std::string k;
    for (const char* p = s; p && *p; ++p)
        if (*p != ' ') k += static_cast<char>(std::toupper(static_cast<unsigned char>(*p)));
    return k;
}

int copy_text(const std::string& s, char* buf, int size) {
    if (buf && size > 0) {
        const size_t n = std::min(static_cast<size_t>(size - 1), s.size());
        std::memcpy(buf, s.data(), n);
        buf[n] = '\0';
    }
    return static_cast<int>(s.size());
}

int frame_state(const WindowStateRecord& st) {
    Frame* f = frame();
    if (!f) return -1;
    switch (st.type) {
    case kWindowMinimise:
        f->showMinimized();
        return 0;
    case kWindowMaximise:
        f->showNormal();
        // Without a window manager nobody acts on the maximised state: the frame takes the
        // screen's free area itself (a window manager then maximises it as usual).
        if (QScreen* screen = f->screen()) f->setGeometry(screen->availableGeometry());
        f->showMaximized();
        return 0;
    case kWindowRestore:
        f->showNormal();
        return 0;
    case kWindowPlace: {
        f->showNormal();
        // The client area is width x height; the frame adds its borders,
        // menu bar and status bar.
        const QSize outer = f->size();
        const QSize inner = f->mdi->size();
        f->move(st.x, st.y);
        f->resize(st.width + outer.width() - inner.width(),
                  st.height + outer.height() - inner.height());
        f->mdi->cascadeSubWindows();
        return 0;
    }
    default:
        return -4;
    }
}

int unit_state(ChildWindow* cw, const WindowStateRecord& st) {
    if (!cw || !cw->sub) return -1;
    QMdiSubWindow* sub = cw->sub;
    switch (st.type) {
    case kWindowMinimise:
        sub->showMinimized();
        return 0;
    case kWindowMaximise:
        sub->showMaximized();
        return 0;
    case kWindowRestore:
        sub->showNormal();
        return 0;
    case kWindowPlace: {
        sub->showNormal();
        // Columns and rows of the window's own character cells (the default
        // cell until its text grid exists), plus borders, caption and scroll bars.
        int cell_w = kCellWidth, cell_h = kCellHeight;
        {
            std::lock_guard<WindowMutex> hold(cw->lock);
            int w, h;
            if (window_text_cell(cw, w, h)) {
                cell_w = std::max(1, w);
                cell_h = std::max(1, h);
            }
        }
        const int bar = sub->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
        const QSize outer = sub->size();
        const QSize inner = cw->view->size();
        sub->move(st.x * cell_w, st.y * cell_h);
        sub->resize(st.width * cell_w + outer.width() - inner.width() + bar,
                    st.height * cell_h + outer.height() - inner.height() + bar);
        return 0;
    }
    default:
        return -4;
    }
}

} // namespace

int open_window_unit(int unit, const char* title, const char* status) {
    if (unit < 0) return 0;
    const std::string name = title && *title ? std::string(title) : "Unit " + std::to_string(unit);
    const std::string st = keyword(status);
    const bool delete_on_close = st.empty() || st == "SCRATCH";
    ChildWindow* cw = nullptr;
    run_on_ui([&] {
        if (unit == 0) {
            // Unit 0 is the default window; an OPEN only renames it.
            cw = default_window();
            if (cw && title && *title) {
                cw->title = name;
                cw->sub->setWindowTitle(QString::fromUtf8(name.c_str()));
            }
        } else {
            cw = window_for_unit(unit);
            if (!cw) cw = create_child_window(name, unit, delete_on_close);
        }
        if (cw && cw->sub && frame()) {
            frame()->mdi->setActiveSubWindow(cw->sub);
            cw->view->setFocus();
        }
    });
    if (!cw) return 0;
    set_current_window(cw);
    return 1;
}

int close_window_unit(int unit, const char* disposition) {
    if (unit < 0) return 0;
    const std::string disp = keyword(disposition);
    bool ok = false;
    ChildWindow* cw = nullptr;
    run_on_ui([&] {
        cw = unit == 0 ? nullptr : window_for_unit(unit);
        if (unit == 0) {
            // The default window, if it exists: never created by a CLOSE.
            const int handle = window_handle_for_unit(0);
            cw = handle ? window_for_handle(handle) : nullptr;
        }
        if (!cw) return;
        const bool keep = disp.empty() ? !cw->delete_on_close : disp == "KEEP";
        if (keep) {
            cw->closed.store(true);
            cw->title += "-Closed";
            if (cw->sub) {
                cw->sub->setWindowTitle(QString::fromUtf8(cw->title.c_str()));
                static_cast<ChildSubWindow*>(cw->sub)->allow_close();
            }
        } else {
            remove_window(cw);
        }
        ok = true;
    });
    if (!ok) return 0;
    // The closing thread falls back to the default window.
    if (is_current_window(cw)) set_current_window(nullptr);
    return 1;
}

int set_window_state(const int32_t& unit, const WindowStateRecord& state) {
    if (state.type < 1 || state.type > 4) return -4;
    int result = -1;
    if (unit == kFrameUnit) {
        run_on_ui([&] { result = frame_state(state); });
        return result;
    }
    const WindowRef cw = unit >= 0 ? window_ref_for_unit(unit) : nullptr;
    if (!cw) return -1;
    run_on_ui([&] { result = unit_state(cw.get(), state); });
    return result;
}

int current_window_handle() {
    const WindowRef cw = current_window_ref();
    return cw ? kFirstHandle + cw->slot : 0;
}

int window_handle_for_unit(int unit) {
    int handle = 0;
    run_on_ui([&] {
        if (unit == 0) {
            // Without creating the default window.
            for (int h = kFirstHandle; h < kFirstHandle + kMaxWindows; ++h) {
                ChildWindow* cw = window_for_handle(h);
                if (cw && cw->unit == 0 && !cw->closed.load()) handle = h;
            }
            return;
        }
        ChildWindow* cw = window_for_unit(unit);
        handle = cw ? kFirstHandle + cw->slot : 0;
    });
    return handle;
}

int window_title(int handle, char* buf, int size) {
    int n = -1;
    run_on_ui([&] {
        ChildWindow* cw = window_for_handle(handle);
        if (cw) n = copy_text(cw->title, buf, size);
    });
    return n;
}

int child_window_count() {
    return window_count();
}
