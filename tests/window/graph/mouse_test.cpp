// Mouse registration and delivery through real events on the window's view.
#include "graph_test_util.h"
#include "window/graph/graphics.h"
#include "window/graph/mouse.h"
#include "window/graph/selection.h"
#include "window/graph/text_window.h"
#include "window/kernel/standard_commands.h"
#include "window/kernel/surface_view.h"

#include <gtest/gtest.h>

#include <QAbstractScrollArea>
#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QScrollBar>
#include <vector>

namespace {

struct Got {
    int unit, event, keys, x, y;
    ChildWindow* current; // the thread's current window while the callback ran
};
std::vector<Got> g_got;

void record(int32_t& unit, int32_t& event, int32_t& keys, int32_t& x, int32_t& y) {
    g_got.push_back({unit, event, keys, x, y, current_window()});
}

void other(int32_t&, int32_t&, int32_t&, int32_t&, int32_t&) {}

QWidget* client(ChildWindow* cw) {
    return qobject_cast<QAbstractScrollArea*>(cw->view)->viewport();
}

void send(QWidget* target, QEvent::Type type, Qt::MouseButton button, QPoint at) {
    Qt::MouseButtons held =
        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
    QMouseEvent e(type, QPointF(at), target->mapToGlobal(QPointF(at)), button, held,
                  Qt::NoModifier);
    QApplication::sendEvent(target, &e);
}

void click(ChildWindow* cw, Qt::MouseButton button, QPoint at) {
    send(client(cw), QEvent::MouseButtonPress, button, at);
    send(client(cw), QEvent::MouseButtonRelease, button, at);
}

void move(ChildWindow* cw, QPoint at) {
    send(client(cw), QEvent::MouseMove, Qt::NoButton, at);
}

class Mouse : public ::testing::Test {
  protected:
    void SetUp() override { g_got.clear(); }
};

TEST_F(Mouse, RegistrationResults) {
    UnitWindow w(51);
    EXPECT_EQ(register_mouse_event(51, 73, record), 0);   // nothing replaced
    EXPECT_EQ(register_mouse_event(51, 73, other), 1);    // replaced callbacks
    EXPECT_EQ(register_mouse_event(51, 2, record), 0);    // an empty slot
    EXPECT_EQ(register_mouse_event(51, 0, record), -1);   // no event bit
    EXPECT_EQ(register_mouse_event(51, 128, record), -1); // only bits above 64
    EXPECT_EQ(register_mouse_event(59, 1, record), -2);   // no window for the unit
    EXPECT_EQ(register_mouse_event(51, 127, nullptr), 1); // null empties
    EXPECT_EQ(register_mouse_event(51, 127, record), 0);
}

TEST_F(Mouse, MaskSeventyThreeDeliversPressesAndMovesOnly) {
    UnitWindow w(52);
    ASSERT_EQ(register_mouse_event(52, 73, record), 0);
    click(w.cw, Qt::LeftButton, QPoint(10, 20));
    ASSERT_EQ(g_got.size(), 1u);
    EXPECT_EQ(g_got[0].event, 1);
    EXPECT_EQ(g_got[0].unit, 52);
    EXPECT_EQ(g_got[0].keys & 1, 1); // left button down at the press
    EXPECT_EQ(g_got[0].x, 10);
    EXPECT_EQ(g_got[0].y, 20);
    EXPECT_EQ(g_got[0].current, w.cw);
    click(w.cw, Qt::RightButton, QPoint(30, 40));
    ASSERT_EQ(g_got.size(), 2u);
    EXPECT_EQ(g_got[1].event, 8);
    move(w.cw, QPoint(5, 6));
    ASSERT_EQ(g_got.size(), 3u);
    EXPECT_EQ(g_got[2].event, 64);
}

TEST_F(Mouse, DoubleClicksHaveTheirOwnCodes) {
    UnitWindow w(61);
    register_mouse_event(61, 4 + 32, record);
    send(client(w.cw), QEvent::MouseButtonDblClick, Qt::LeftButton, QPoint(7, 8));
    send(client(w.cw), QEvent::MouseButtonDblClick, Qt::RightButton, QPoint(7, 8));
    click(w.cw, Qt::LeftButton, QPoint(7, 8)); // press and release are not registered
    ASSERT_EQ(g_got.size(), 2u);
    EXPECT_EQ(g_got[0].event, 4);
    EXPECT_EQ(g_got[1].event, 32);
}

TEST_F(Mouse, ScrolledWindowAddsTheOffsets) {
    UnitWindow w(53);
    register_mouse_event(53, 1, record);
    w.cw->sub->resize(300, 200); // smaller than the surface: scroll bars
    settle();
    auto* view = qobject_cast<QAbstractScrollArea*>(w.cw->view);
    view->horizontalScrollBar()->setValue(100);
    view->verticalScrollBar()->setValue(50);
    settle();
    ASSERT_EQ(w.cw->scroll_x, 100);
    ASSERT_EQ(w.cw->scroll_y, 50);
    click(w.cw, Qt::LeftButton, QPoint(10, 10));
    ASSERT_EQ(g_got.size(), 1u);
    EXPECT_EQ(g_got[0].x, 110);
    EXPECT_EQ(g_got[0].y, 60);
}

TEST_F(Mouse, SizeToFitStretchesTheClientOntoTheSurface) {
    UnitWindow w(54);
    register_mouse_event(54, 1, record);
    w.cw->sub->resize(300, 200);
    settle();
    run_standard_command(kCmdSizeToFit);
    settle();
    ASSERT_TRUE(w.cw->display_scaled);
    QSize c = client(w.cw)->size();
    click(w.cw, Qt::LeftButton, QPoint(c.width() - 1, c.height() - 1));
    ASSERT_EQ(g_got.size(), 1u);
    QImage s = surface_copy(w.cw);
    EXPECT_LE(g_got[0].x, s.width() - 1);
    EXPECT_GE(g_got[0].x, s.width() - 1 - s.width() / c.width() - 1);
    EXPECT_LE(g_got[0].y, s.height() - 1);
    EXPECT_GE(g_got[0].y, s.height() - 1 - s.height() / c.height() - 1);
    run_standard_command(kCmdSizeToFit);
    settle();
}

// The full-screen view of the active window, or null.
QWidget* full_screen_view() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (qobject_cast<FullScreenView*>(w) && w->isVisible()) return w;
    return nullptr;
}

TEST_F(Mouse, FullScreenMapsTheWholeSurfaceWhateverTheWindowIsScrolledTo) {
    UnitWindow w(57);
    register_mouse_event(57, 1, record);
    w.cw->sub->resize(300, 200);
    settle();
    auto* view = qobject_cast<QAbstractScrollArea*>(w.cw->view);
    view->horizontalScrollBar()->setValue(100);
    view->verticalScrollBar()->setValue(50);
    settle();
    ASSERT_EQ(w.cw->scroll_x, 100);
    run_standard_command(kCmdFullScreen);
    settle();
    QWidget* fs = full_screen_view();
    ASSERT_NE(fs, nullptr);
    const QImage s = surface_copy(w.cw);
    // Leaving full screen deletes the view: keep its size.
    const QSize size = fs->size();
    // The view shows the surface stretched from its origin: its corners are the surface's.
    send(fs, QEvent::MouseButtonPress, Qt::LeftButton, QPoint(0, 0));
    send(fs, QEvent::MouseButtonPress, Qt::LeftButton, QPoint(size.width() - 1, size.height() - 1));
    run_standard_command(kCmdFullScreen);
    settle();
    ASSERT_EQ(g_got.size(), 2u);
    EXPECT_EQ(g_got[0].x, 0);
    EXPECT_EQ(g_got[0].y, 0);
    EXPECT_LE(g_got[1].x, s.width() - 1);
    EXPECT_GE(g_got[1].x, s.width() - 1 - s.width() / size.width() - 1);
    EXPECT_LE(g_got[1].y, s.height() - 1);
    EXPECT_GE(g_got[1].y, s.height() - 1 - s.height() / size.height() - 1);
}

TEST_F(Mouse, InactiveWindowAndPauseDeliverNothing) {
    UnitWindow a(55, "A");
    UnitWindow b(56, "B");
    register_mouse_event(55, 73, record);
    register_mouse_event(56, 73, record);
    ASSERT_EQ(active_window(), b.cw);
    // An event reaching the inactive window's view is dropped.
    send(client(a.cw), QEvent::MouseMove, Qt::NoButton, QPoint(3, 3));
    click(a.cw, Qt::LeftButton, QPoint(3, 3));
    EXPECT_TRUE(g_got.empty());
    b.cw->sub->mdiArea()->setActiveSubWindow(b.cw->sub);
    settle();
    pause_program();
    click(b.cw, Qt::LeftButton, QPoint(3, 3));
    move(b.cw, QPoint(4, 4));
    EXPECT_TRUE(g_got.empty());
    resume_program();
    click(b.cw, Qt::LeftButton, QPoint(3, 3));
    EXPECT_EQ(g_got.size(), 1u);
}

TEST_F(Mouse, SelectionTakesTheEventsAndCopiesAPicture) {
    UnitWindow w(57);
    register_mouse_event(57, 127, record);
    set_color(12);
    draw_rectangle(3, 20, 20, 60, 40);
    settle();
    run_standard_command(kCmdSelectGraphics);
    send(client(w.cw), QEvent::MouseButtonPress, Qt::LeftButton, QPoint(10, 10));
    send(client(w.cw), QEvent::MouseMove, Qt::LeftButton, QPoint(50, 30));
    send(client(w.cw), QEvent::MouseButtonRelease, Qt::LeftButton, QPoint(70, 50));
    EXPECT_TRUE(g_got.empty()); // consumed by the selection
    QImage pic = selected_picture(w.cw);
    ASSERT_FALSE(pic.isNull());
    EXPECT_EQ(pic.size(), QSize(61, 41));
    EXPECT_EQ(pic, surface_copy(w.cw).copy(10, 10, 61, 41));
    run_standard_command(kCmdCopy);
    QImage clip = QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(clip, pic);
    // Done selecting: events go to the callback again.
    click(w.cw, Qt::LeftButton, QPoint(5, 5));
    EXPECT_EQ(g_got.size(), 2u); // press and release (mask 127)
}

TEST_F(Mouse, SelectAllPicksAPictureOrTheText) {
    UnitWindow w(58);
    write_unit_record(58, "hello", 5);
    write_unit_record(58, "world", 5);
    run_standard_command(kCmdSelectAll);
    EXPECT_EQ(selected_text(w.cw), "hello\nworld");
    EXPECT_TRUE(selected_picture(w.cw).isNull());
    run_standard_command(kCmdCopy);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QString("hello\nworld"));
    PixelPoint p;
    move_to(0, 0, p);
    line_to(100, 100);
    run_standard_command(kCmdSelectAll);
    QImage pic = selected_picture(w.cw);
    EXPECT_EQ(pic, surface_copy(w.cw));
    run_standard_command(0);
}

TEST_F(Mouse, SelectTextCopiesTheMarkedCells) {
    UnitWindow w(60);
    write_unit_record(60, "abcdef", 6);
    write_unit_record(60, "ghijkl", 6);
    int cwid, chgt;
    {
        std::lock_guard<std::mutex> hold(w.cw->lock);
        cwid = graphics_of(w.cw).text.cell_width;
        chgt = graphics_of(w.cw).text.cell_height;
    }
    run_standard_command(kCmdSelectText);
    send(client(w.cw), QEvent::MouseButtonPress, Qt::LeftButton, QPoint(cwid + 1, 1));
    send(client(w.cw), QEvent::MouseButtonRelease, Qt::LeftButton, QPoint(3 * cwid + 1, chgt + 1));
    EXPECT_EQ(selected_text(w.cw), "bcd\nhij");
    run_standard_command(0);
}

} // namespace
