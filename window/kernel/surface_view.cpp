// The scrolling widgets that show a child window's surface.
#include "window/kernel/surface_view.h"

#include "window/kernel/window_table.h"
#include "window/kernel/frame.h"
#include "window/kernel/menu_bar.h"
#include "window/kernel/command_ids.h"
#include "window/kernel/window_hooks.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QScrollBar>

namespace {

// Line and column steps of the arrow keys until the window has a text grid:
// the default character cell.
constexpr int kColumnStep = 8;
constexpr int kLineStep = 16;

QPointer<FullScreenView> g_full_screen;

void deliver_mouse(ChildWindow* cw, int code, QMouseEvent* e, const QSize& client) {
    WindowHooks& hooks = window_hooks();
    if (!hooks.mouse || code == 0) return;
    cw->client_width = client.width();
    cw->client_height = client.height();
    const QPoint p = e->position().toPoint();
    hooks.mouse(cw, code, mouse_keys(e), p.x(), p.y());
}

int press_code(Qt::MouseButton b) {
    return b == Qt::LeftButton ? 1 : b == Qt::RightButton ? 8 : 0;
}
int release_code(Qt::MouseButton b) {
    return b == Qt::LeftButton ? 2 : b == Qt::RightButton ? 16 : 0;
}
int double_code(Qt::MouseButton b) {
    return b == Qt::LeftButton ? 4 : b == Qt::RightButton ? 32 : 0;
}

bool is_enter(int key) {
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

} // namespace

int mouse_keys(const QMouseEvent* e) {
    const Qt::MouseButtons b = e->buttons();
    const Qt::KeyboardModifiers m = e->modifiers();
    return ((b & Qt::LeftButton) ? 1 : 0) | ((b & Qt::RightButton) ? 2 : 0) |
           ((m & Qt::ShiftModifier) ? 4 : 0) | ((m & Qt::ControlModifier) ? 8 : 0) |
           ((b & Qt::MiddleButton) ? 16 : 0);
}

bool paint_surface(ChildWindow* cw, QPainter& painter, const QRect& dirty, const QSize& client,
                   bool scaled) {
    bool configured;
    {
        std::lock_guard<WindowMutex> hold(cw->lock);
        configured = cw->configured;
    }
    // The hook takes the lock itself.
    const bool configuring = !configured && window_hooks().configure;
    if (configuring) window_hooks().configure(cw);

    std::lock_guard<WindowMutex> hold(cw->lock);
    const QSize size = window_surface_size(cw);
    const WindowHooks& hooks = window_hooks();
    if (size.isEmpty() || client.isEmpty() || !hooks.paint_surface) {
        painter.fillRect(dirty, Qt::black);
        return configuring;
    }
    painter.save();
    if (scaled) {
        painter.setClipRect(dirty);
        painter.scale(double(client.width()) / size.width(),
                      double(client.height()) / size.height());
        hooks.paint_surface(cw, &painter, QPoint(0, 0), QRect());
    } else {
        const QPoint scroll(cw->scroll_x, cw->scroll_y);
        painter.fillRect(dirty, QApplication::palette().color(QPalette::Window));
        const QRect src = dirty.translated(scroll) & QRect(QPoint(0, 0), size);
        if (!src.isEmpty()) hooks.paint_surface(cw, &painter, src.topLeft() - scroll, src);
        painter.setClipRect(dirty);
        painter.translate(-scroll);
    }
    if (window_hooks().paint_overlay) window_hooks().paint_overlay(cw, &painter);
    painter.restore();
    return configuring;
}

// --- SurfaceView ----------------------------------------------------------------

SurfaceView::SurfaceView(ChildWindow* cw) : cw_(cw), record_(cw->shared_from_this()) {
    viewport()->setMouseTracking(true);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    horizontalScrollBar()->setSingleStep(kColumnStep);
    verticalScrollBar()->setSingleStep(kLineStep);
}

QSize SurfaceView::sizeHint() const {
    const Frame* f = frame();
    if (!f) return QAbstractScrollArea::sizeHint();
    const QSize area = f->mdi->viewport()->size();
    return {std::max(320, area.width() * 2 / 3), std::max(240, area.height() * 2 / 3)};
}

void SurfaceView::update_scroll_range() {
    int w, h;
    bool scaled;
    int column = kColumnStep, line = kLineStep;
    {
        std::lock_guard<WindowMutex> hold(cw_->lock);
        const QSize size = window_surface_size(cw_);
        w = size.width();
        h = size.height();
        scaled = cw_->display_scaled;
        int cell_w, cell_h;
        if (window_text_cell(cw_, cell_w, cell_h)) {
            // The arrow keys move by one of the window's own character cells.
            column = std::max(1, cell_w);
            line = std::max(1, cell_h);
        }
    }
    horizontalScrollBar()->setSingleStep(column);
    verticalScrollBar()->setSingleStep(line);
    const Qt::ScrollBarPolicy policy = scaled ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAsNeeded;
    setHorizontalScrollBarPolicy(policy);
    setVerticalScrollBarPolicy(policy);
    ranged_surface_ = QSize(w, h);
    const QSize view = viewport()->size();
    QMdiSubWindow* sub = cw_->sub;
    if (!scaled && w > 0 && h > 0 && sub && !sub->isMaximized() && !sub->isMinimized()) {
        // A window larger than its surface shrinks to the surface's size.
        const int dw = std::max(0, view.width() - w);
        const int dh = std::max(0, view.height() - h);
        if (dw > 0 || dh > 0) sub->resize(sub->width() - dw, sub->height() - dh);
    }
    horizontalScrollBar()->setRange(0, scaled ? 0 : std::max(0, w - view.width()));
    verticalScrollBar()->setRange(0, scaled ? 0 : std::max(0, h - view.height()));
    horizontalScrollBar()->setPageStep(std::max(1, view.width()));
    verticalScrollBar()->setPageStep(std::max(1, view.height()));
    std::lock_guard<WindowMutex> hold(cw_->lock);
    cw_->scroll_x = horizontalScrollBar()->value();
    cw_->scroll_y = verticalScrollBar()->value();
}

void SurfaceView::repaint_surface_rect(int x, int y, int w, int h) {
    if (w <= 0 || h <= 0) {
        update_scroll_range();
        viewport()->update();
        return;
    }
    int sw, sh, sx, sy;
    bool scaled;
    {
        std::lock_guard<WindowMutex> hold(cw_->lock);
        const QSize size = window_surface_size(cw_);
        sw = size.width();
        sh = size.height();
        sx = cw_->scroll_x;
        sy = cw_->scroll_y;
        scaled = cw_->display_scaled;
    }
    if (!scaled) {
        viewport()->update(QRect(x - sx, y - sy, w, h));
    } else if (sw > 0 && sh > 0) {
        const QSize c = viewport()->size();
        // One pixel of margin for the rounding of the stretch.
        viewport()->update(QRect(x * c.width() / sw - 1, y * c.height() / sh - 1,
                                 w * c.width() / sw + 3, h * c.height() / sh + 3));
    }
}

void SurfaceView::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    bool refit =
        paint_surface(cw_, painter, event->rect(), viewport()->size(), cw_->display_scaled);
    if (!refit) {
        // A drawing call may have configured the surface before the window was
        // first painted, or reconfigured it since: the scroll bars follow its size.
        std::lock_guard<WindowMutex> hold(cw_->lock);
        refit = window_surface_size(cw_) != ranged_surface_;
    }
    if (refit)
        // Fit the scroll bars to the surface once this paint is over.
        QMetaObject::invokeMethod(this, &SurfaceView::update_scroll_range, Qt::QueuedConnection);
}

void SurfaceView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    update_scroll_range();
}

void SurfaceView::scrollContentsBy(int, int) {
    {
        std::lock_guard<WindowMutex> hold(cw_->lock);
        cw_->scroll_x = horizontalScrollBar()->value();
        cw_->scroll_y = verticalScrollBar()->value();
    }
    viewport()->update();
}

void SurfaceView::keyPressEvent(QKeyEvent* e) {
    const int key = e->key();
    const bool ctrl = e->modifiers() & Qt::ControlModifier;
    const bool shift = e->modifiers() & Qt::ShiftModifier;
    const bool alt = e->modifiers() & Qt::AltModifier;
    QScrollBar* hbar = horizontalScrollBar();
    QScrollBar* vbar = verticalScrollBar();
    if (ctrl && key == Qt::Key_C) {
        run_command(kCmdExit, 0);
    } else if (ctrl && key == Qt::Key_S) {
        run_command(kCmdPause, 0);
    } else if (ctrl && key == Qt::Key_Q) {
        run_command(kCmdResume, 0);
    } else if (key == Qt::Key_Escape) {
        if (window_hooks().command) window_hooks().command(cw_, 0); // ends a selection
        run_command(kCmdResume, 0);
    } else if (ctrl && key == Qt::Key_Insert) {
        if (command_enabled(kCmdCopy)) run_command(kCmdCopy, 0);
    } else if (shift && key == Qt::Key_Insert) {
        if (command_enabled(kCmdPaste)) run_command(kCmdPaste, 0);
    } else if (alt && is_enter(key)) {
        run_command(kCmdFullScreen, 0);
    } else if (key == Qt::Key_Left) {
        hbar->triggerAction(QAbstractSlider::SliderSingleStepSub);
    } else if (key == Qt::Key_Right) {
        hbar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    } else if (key == Qt::Key_Up) {
        vbar->triggerAction(QAbstractSlider::SliderSingleStepSub);
    } else if (key == Qt::Key_Down) {
        vbar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    } else if (key == Qt::Key_PageUp) {
        (ctrl ? hbar : vbar)->triggerAction(QAbstractSlider::SliderPageStepSub);
    } else if (key == Qt::Key_PageDown) {
        (ctrl ? hbar : vbar)->triggerAction(QAbstractSlider::SliderPageStepAdd);
    } else if (key == Qt::Key_Home) {
        hbar->triggerAction(QAbstractSlider::SliderToMinimum);
        if (ctrl) vbar->triggerAction(QAbstractSlider::SliderToMinimum);
    } else if (key == Qt::Key_End) {
        hbar->triggerAction(QAbstractSlider::SliderToMaximum);
        if (ctrl) vbar->triggerAction(QAbstractSlider::SliderToMaximum);
    } else if (!e->text().isEmpty()) {
        // Any other character is input for a read pending in this window.
        const QByteArray text = e->text().toUtf8();
        WindowHooks& hooks = window_hooks();
        if (!(hooks.key && hooks.key(cw_, text.constData()))) QApplication::beep();
    } else {
        QAbstractScrollArea::keyPressEvent(e);
    }
}

void SurfaceView::mousePressEvent(QMouseEvent* e) {
    deliver_mouse(cw_, press_code(e->button()), e, viewport()->size());
}
void SurfaceView::mouseReleaseEvent(QMouseEvent* e) {
    deliver_mouse(cw_, release_code(e->button()), e, viewport()->size());
}
void SurfaceView::mouseDoubleClickEvent(QMouseEvent* e) {
    deliver_mouse(cw_, double_code(e->button()), e, viewport()->size());
}
void SurfaceView::mouseMoveEvent(QMouseEvent* e) {
    deliver_mouse(cw_, 64, e, viewport()->size());
}

// --- ChildSubWindow -------------------------------------------------------------

ChildSubWindow::ChildSubWindow(ChildWindow* cw, bool (*may_close)(const ChildWindow*),
                               void (*remove)(ChildWindow*))
    : cw_(cw), record_(cw->shared_from_this()), may_close_(may_close), remove_(remove) {
    setWindowFlags(Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint);
    // The system menu loses its Close item (and the separator before it)
    // until the program closes the unit.
    if (QMenu* menu = systemMenu()) {
        QList<QAction*> acts = menu->actions();
        while (!acts.isEmpty()) {
            QAction* last = acts.takeLast();
            const bool separator = last->isSeparator();
            menu->removeAction(last);
            if (separator) break;
        }
    }
}

void ChildSubWindow::allow_close() {
    if (QMenu* menu = systemMenu()) {
        menu->addSeparator();
        QAction* close_action = menu->addAction(QStringLiteral("&Close\tCtrl+F4"));
        connect(close_action, &QAction::triggered, this, &QWidget::close);
    }
    const bool visible = isVisible();
    setWindowFlags(windowFlags() | Qt::WindowCloseButtonHint);
    if (visible) show();
}

void ChildSubWindow::closeEvent(QCloseEvent* event) {
    if (may_close_ && may_close_(cw_)) {
        event->accept();
        if (remove_) remove_(cw_);
    } else {
        event->ignore();
    }
}

void ChildSubWindow::changeEvent(QEvent* event) {
    QMdiSubWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange) cw_->minimised = isMinimized();
}

// --- FullScreenView -------------------------------------------------------------

FullScreenView::FullScreenView(ChildWindow* cw) : cw_(cw), record_(cw->shared_from_this()) {
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setWindowTitle(QString::fromUtf8(cw->title.c_str()));
    cw_->full_screen = true;
}

void FullScreenView::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    paint_surface(cw_, painter, event->rect(), size(), true);
}

void FullScreenView::keyPressEvent(QKeyEvent* e) {
    if (e->modifiers() & Qt::AltModifier && is_enter(e->key())) {
        close();
        return;
    }
    // The content is still the child window's: its keys (Exit, Pause, Resume,
    // typed input) work here too. Esc also brings the frame back.
    if (cw_->view) QCoreApplication::sendEvent(cw_->view, e);
    if (e->key() == Qt::Key_Escape) close();
}

void FullScreenView::mousePressEvent(QMouseEvent* e) {
    deliver_mouse(cw_, press_code(e->button()), e, size());
}
void FullScreenView::mouseReleaseEvent(QMouseEvent* e) {
    deliver_mouse(cw_, release_code(e->button()), e, size());
}
void FullScreenView::mouseDoubleClickEvent(QMouseEvent* e) {
    deliver_mouse(cw_, double_code(e->button()), e, size());
}
void FullScreenView::mouseMoveEvent(QMouseEvent* e) {
    deliver_mouse(cw_, 64, e, size());
}

void FullScreenView::closeEvent(QCloseEvent* event) {
    cw_->full_screen = false;
    QWidget::closeEvent(event);
    // Keyboard input goes back to the frame and the window that was shown.
    if (Frame* f = frame()) {
        f->activateWindow();
        if (cw_->view) cw_->view->setFocus();
    }
}

void show_full_screen(ChildWindow* cw) {
    close_full_screen();
    if (!cw) return;
    g_full_screen = new FullScreenView(cw);
    set_full_screen_view(g_full_screen);
    // The whole screen of the frame also where no window manager acts on the
    // full-screen request.
    if (Frame* f = frame())
        if (QScreen* screen = f->screen()) g_full_screen->setGeometry(screen->geometry());
    g_full_screen->showFullScreen();
    g_full_screen->activateWindow();
}

void repaint_full_screen_rect(ChildWindow* cw, int x, int y, int w, int h) {
    if (!cw || !cw->full_screen || !g_full_screen || !g_full_screen->isVisible()) return;
    if (g_full_screen->window_shown() != cw) return;
    int sw, sh;
    {
        std::lock_guard<WindowMutex> hold(cw->lock);
        const QSize size = window_surface_size(cw);
        sw = size.width();
        sh = size.height();
    }
    if (w <= 0 || h <= 0 || sw <= 0 || sh <= 0) {
        g_full_screen->update();
        return;
    }
    // The whole surface is stretched onto the view; one pixel of margin for the rounding.
    const QSize c = g_full_screen->size();
    g_full_screen->update(QRect(x * c.width() / sw - 1, y * c.height() / sh - 1,
                                w * c.width() / sw + 3, h * c.height() / sh + 3));
}

void close_full_screen() {
    if (g_full_screen) g_full_screen->close();
}
