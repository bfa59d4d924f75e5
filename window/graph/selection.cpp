// Selection, copy and paste on a window, and the marks drawn over it.
#include "window/graph/selection.h"

#include "window/graph/input.h"
#include "window/graph/mouse_delivery.h"
#include "window/graph/save_window.h"
#include "window/graph/text_grid.h"
#include "window/kernel/child_window.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QPainter>
#include <QWidget>
#include <algorithm>

namespace {

void show_status(const char* prefix, const ChildWindow* cw) {
    std::string text = std::string(prefix) + cw->title;
    set_status_message(text.c_str());
}

void repaint_all(ChildWindow* cw) {
    update_window_rect(cw, 0, 0, 0, 0);
}

// The surface area of a text selection: the cells from the anchor's cell to
// the current one, as a block. Caller holds the lock.
QRect text_area(const ChildWindow* cw, QPoint a, QPoint b) {
    const TextState& t = graphics_of(cw).text;
    int c1 = std::min(a.x(), b.x()) / t.cell_width + 1,
        c2 = std::max(a.x(), b.x()) / t.cell_width + 1;
    int r1 = std::min(a.y(), b.y()) / t.cell_height + 1,
        r2 = std::max(a.y(), b.y()) / t.cell_height + 1;
    c1 = std::clamp(c1, 1, std::max(t.text_cols, 1));
    c2 = std::clamp(c2, 1, std::max(t.text_cols, 1));
    r1 = std::clamp(r1, 1, std::max(t.text_rows, 1));
    r2 = std::clamp(r2, 1, std::max(t.text_rows, 1));
    return text_cells_rect(t, r1, c1, r2, c2);
}

void update_area(ChildWindow* cw) {
    SelectionState& sel = graphics_of(cw).gfx.select;
    const QRect surface(0, 0, graphics_of(cw).gfx.surface_width,
                        graphics_of(cw).gfx.surface_height);
    if (sel.kind == SELECT_TEXT)
        sel.area = text_area(cw, sel.anchor, sel.current);
    else
        sel.area = QRect(sel.anchor, sel.current).normalized().intersected(surface);
}

void start_selection(ChildWindow* cw, int kind) {
    {
        std::lock_guard<WindowMutex> hold(cw->lock);
        graphics_of(cw).gfx.select = SelectionState{};
        graphics_of(cw).gfx.select.kind = kind;
        graphics_of(cw).gfx.select.in_progress = true;
    }
    show_status(kind == SELECT_TEXT ? "Select Text - " : "Select Graphics in ", cw);
    repaint_all(cw);
}

void select_all(ChildWindow* cw) {
    {
        std::lock_guard<WindowMutex> hold(cw->lock);
        SelectionState& sel = graphics_of(cw).gfx.select;
        sel = SelectionState{};
        sel.whole = true;
        sel.kind = graphics_of(cw).gfx.has_graphics ? SELECT_GRAPHICS : SELECT_TEXT;
        sel.area =
            QRect(0, 0, graphics_of(cw).gfx.surface_width, graphics_of(cw).gfx.surface_height);
    }
    repaint_all(cw);
}

void end_selection(ChildWindow* cw) {
    {
        std::lock_guard<WindowMutex> hold(cw->lock);
        graphics_of(cw).gfx.select = SelectionState{};
    }
    set_status_message("");
    repaint_all(cw);
}

void copy_selection(ChildWindow* cw) {
    QClipboard* clip = QGuiApplication::clipboard();
    if (!clip) return;
    int kind;
    {
        std::lock_guard<WindowMutex> hold(cw->lock);
        kind = graphics_of(cw).gfx.select.kind;
    }
    if (kind == SELECT_GRAPHICS) {
        QImage img = selected_picture(cw);
        if (!img.isNull()) clip->setImage(img);
    } else if (kind == SELECT_TEXT) {
        clip->setText(QString::fromLatin1(selected_text(cw).c_str()));
    }
    end_selection(cw);
}

void paste(ChildWindow* cw) {
    QClipboard* clip = QGuiApplication::clipboard();
    if (!clip) return;
    QByteArray text = clip->text().toLatin1();
    if (text.isEmpty()) return;
    input_paste(cw, text.constData());
    bool pending;
    {
        std::lock_guard<WindowMutex> hold(cw->lock);
        pending = !graphics_of(cw).text.pasted.empty();
    }
    if (pending) set_status_message("Paste input pending");
}

} // namespace

std::string selected_text(ChildWindow* cw) {
    std::lock_guard<WindowMutex> hold(cw->lock);
    const SelectionState& sel = graphics_of(cw).gfx.select;
    const TextState& t = graphics_of(cw).text;
    if (sel.kind != SELECT_TEXT) return std::string();
    if (sel.whole) return text_store_all(t);
    if (sel.area.isEmpty() || t.cell_width <= 0 || t.cell_height <= 0) return std::string();
    int c1 = sel.area.left() / t.cell_width + 1, c2 = sel.area.right() / t.cell_width + 1;
    int r1 = sel.area.top() / t.cell_height + 1, r2 = sel.area.bottom() / t.cell_height + 1;
    return text_store_text(t, r1, c1, r2, c2);
}

QImage selected_picture(ChildWindow* cw) {
    std::lock_guard<WindowMutex> hold(cw->lock);
    const SelectionState& sel = graphics_of(cw).gfx.select;
    if (sel.kind != SELECT_GRAPHICS || sel.area.isEmpty() || graphics_of(cw).gfx.surface.isNull())
        return QImage();
    return graphics_of(cw).gfx.surface.copy(sel.area);
}

void run_graph_command(ChildWindow* cw, int id) {
    if (!cw || cw->destroyed.load()) return;
    switch (id) {
    case 0:
        end_selection(cw);
        break;
    case 1001:
        start_selection(cw, SELECT_TEXT);
        break;
    case 1002:
        start_selection(cw, SELECT_GRAPHICS);
        break;
    case 1003:
        select_all(cw);
        break;
    case 1004:
        copy_selection(cw);
        break;
    case 1019:
        print_window_image(cw);
        break;
    case 1020:
        save_window_image(cw);
        break;
    case 1021:
        paste(cw);
        break;
    case 1022:
        input_clear_paste(cw);
        set_status_message("");
        break;
    default:
        break;
    }
}

bool selection_mouse(ChildWindow* cw, int code, int client_x, int client_y) {
    if (code != 1 && code != 2 && code != 64) return false;
    int x = 0, y = 0;
    bool known = mouse_surface_position(cw, client_x, client_y, x, y);
    const char* status = nullptr;
    {
        std::lock_guard<WindowMutex> hold(cw->lock);
        SelectionState& sel = graphics_of(cw).gfx.select;
        if (!sel.in_progress) return false;
        if (!known) return true;
        QPoint p(x, y);
        if (code == 1) {
            sel.anchor = p;
            sel.current = p;
            sel.dragging = true;
            status = sel.kind == SELECT_TEXT ? "Mark Text - " : "Mark Graphics - ";
        } else if (sel.dragging) {
            sel.current = p;
            if (code == 2) {
                sel.dragging = false;
                sel.in_progress = false; // chosen: ready for Copy
            }
        }
        update_area(cw);
    }
    if (status) show_status(status, cw);
    if (code == 2) set_status_message("");
    repaint_all(cw);
    return true;
}

void paint_window_marks(ChildWindow* cw, QPainter* p) {
    const SelectionState& sel = graphics_of(cw).gfx.select;
    const TextState& t = graphics_of(cw).text;
    p->save();
    if (sel.kind != SELECT_NONE && !sel.area.isEmpty()) {
        // Inverted, so the mark shows on any picture and leaves no trace.
        p->setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        if (sel.kind == SELECT_TEXT) {
            p->fillRect(sel.area, Qt::white);
        } else {
            p->setPen(QPen(Qt::white, 0, Qt::DashLine));
            p->setBrush(Qt::NoBrush);
            p->drawRect(sel.area.adjusted(0, 0, -1, -1));
        }
    }
    if (t.caret_visible && t.text_rows > 0 && cw->view && cw->view->hasFocus()) {
        QRect cell =
            text_cells_rect(t, t.text_top - 1 + t.cursor_row, t.text_left - 1 + t.cursor_col,
                            t.text_top - 1 + t.cursor_row, t.text_left - 1 + t.cursor_col);
        p->setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        p->fillRect(cell, Qt::white);
    }
    p->restore();
}
