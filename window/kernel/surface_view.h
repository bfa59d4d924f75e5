// The widgets that show a child window's surface: the scrolling view, its MDI
// sub-window and the full-screen view; private to the window layer. Interface thread only.
#pragma once

#include <QAbstractScrollArea>
#include <QMdiSubWindow>
#include <QWidget>

#include <memory>

struct ChildWindow;

// Shows the surface of one child window: only the dirty rectangle is
// repainted; scroll bars move over a surface larger than the window, and the
// whole surface is stretched onto the window while it is display_scaled.
class SurfaceView : public QAbstractScrollArea {
    Q_OBJECT
  public:
    explicit SurfaceView(ChildWindow* cw);

    // Brings the scroll bars in line with the surface size and display_scaled.
    void update_scroll_range();
    // Repaints the surface rectangle (x, y, w, h); w or h <= 0 repaints all.
    void repaint_surface_rect(int x, int y, int w, int h);

    // Two thirds of the frame's client area: the size a new window gets, and
    // the size Cascade gives each window.
    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

  private:
    ChildWindow* cw_;                     // the window shown
    std::shared_ptr<ChildWindow> record_; // keeps cw_'s record alive as long as this view
    QSize ranged_surface_;                // surface size the scroll bars were last fitted to
};

// The MDI sub-window of a child window: refuses the user's close while the
// unit is open, and removes the window when the user closes it afterwards.
class ChildSubWindow : public QMdiSubWindow {
    Q_OBJECT
  public:
    // may_close answers whether the user may close the window now; remove
    // takes it away once the close is accepted (the child windows' own rules).
    ChildSubWindow(ChildWindow* cw, bool (*may_close)(const ChildWindow*),
                   void (*remove)(ChildWindow*));

    // Adds the separator and "&Close\tCtrl+F4" to the system menu and the
    // title bar's close button (after a KEEP close of the unit).
    void allow_close();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    ChildWindow* cw_;                       // the window of this sub-window
    std::shared_ptr<ChildWindow> record_;   // keeps cw_'s record alive as long as this widget
    bool (*may_close_)(const ChildWindow*); // whether the user may close the window now
    void (*remove_)(ChildWindow*);          // removes the window once its close is accepted
};

// Shows one window's surface alone on the whole screen, stretched; Alt+Enter
// or Esc returns.
class FullScreenView : public QWidget {
    Q_OBJECT
  public:
    explicit FullScreenView(ChildWindow* cw);
    // The child window whose surface this view shows.
    ChildWindow* window_shown() const { return cw_; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    ChildWindow* cw_;                     // the window whose surface is shown
    std::shared_ptr<ChildWindow> record_; // keeps cw_'s record alive as long as this view
};

// Paints cw's surface into rect of painter's device: stretched when scaled,
// else from (scroll_x, scroll_y); takes cw->lock. Configures first if needed;
// true when it did (the surface size may have changed).
bool paint_surface(ChildWindow* cw, QPainter& painter, const QRect& dirty, const QSize& client,
                   bool scaled);

// Mouse event code (1..64) and key-state flags of a toolkit event.
int mouse_keys(const QMouseEvent* event);

// Opens the full-screen view of cw (closes any other first).
void show_full_screen(ChildWindow* cw);
// Repaints the surface rectangle (x, y, w, h) of cw in the full-screen view when that view
// shows cw (w or h <= 0 repaints all): what is drawn while the window is shown full screen
// must appear there, not only in the hidden view behind it.
void repaint_full_screen_rect(ChildWindow* cw, int x, int y, int w, int h);
// Closes the full-screen view if one is shown.
void close_full_screen();
