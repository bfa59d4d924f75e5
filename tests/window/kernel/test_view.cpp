// The child window's view: painting from the surface, scrolling, mouse and key forwarding, hooks.
#include "tests/window/kernel/kernel_fixture.h"

#include "window/kernel/child_window.h"
#include "window/kernel/frame.h"
#include "window/kernel/program_state.h"
#include "window/kernel/standard_commands.h"
#include "window/kernel/surface_view.h"
#include "window/kernel/ui_thread.h"
#include "window/kernel/units.h"
#include "window/kernel/window_hooks.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMdiSubWindow>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>

#include <atomic>
#include <chrono>
#include <map>
#include <thread>
#include <vector>

namespace {

// One mouse event as the hook received it.
struct MouseSeen {
    int code, keys, x, y;
};
std::vector<MouseSeen> g_mouse;
std::vector<int> g_commands;
std::string g_typed;
int g_configured = 0;

void record_mouse(ChildWindow*, int code, int keys, int x, int y) {
    g_mouse.push_back({code, keys, x, y});
}
void record_command(ChildWindow*, int id) {
    g_commands.push_back(id);
}
bool record_key(ChildWindow*, const char* text) {
    g_typed += text;
    return true;
}
// What the stand-in for the graphics part keeps for a window; read and written under its lock.
struct StandIn {
    QImage surface;         // null: no surface yet
    bool has_cells = false; // a text grid exists
    int cell_width = 0;     // its character cell
    int cell_height = 0;
};
// One per window the test gave a surface; entries are made on the interface thread only.
std::map<const ChildWindow*, StandIn> g_stand_in;

StandIn& stand_in(const ChildWindow* cw) {
    return g_stand_in[cw];
}

QSize stand_in_size(const ChildWindow* cw) {
    const auto it = g_stand_in.find(cw);
    return it == g_stand_in.end() || it->second.surface.isNull() ? QSize(0, 0)
                                                                 : it->second.surface.size();
}
void stand_in_paint(const ChildWindow* cw, QPainter* painter, const QPoint& at, const QRect& area) {
    const QImage& img = g_stand_in.at(cw).surface;
    if (area.isEmpty())
        painter->drawImage(at, img);
    else
        painter->drawImage(at, img, area);
}
bool stand_in_cell(const ChildWindow* cw, int& width, int& height) {
    const auto it = g_stand_in.find(cw);
    if (it == g_stand_in.end() || !it->second.has_cells) return false;
    width = it->second.cell_width;
    height = it->second.cell_height;
    return true;
}

// Stands in for the graphics part: a surface whose pixel (x, y) is (x % 256, y % 256, 7).
void configure_pattern(ChildWindow* cw) {
    ++g_configured;
    QImage img(1200, 900, QImage::Format_RGB32);
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            img.setPixel(x, y, qRgb(x % 256, y % 256, 7));
    std::lock_guard<std::mutex> hold(cw->lock);
    stand_in(cw).surface = img;
    cw->configured = true;
}

class ViewTest : public KernelTest {
  protected:
    void SetUp() override {
        KernelTest::SetUp();
        g_mouse.clear();
        g_commands.clear();
        g_typed.clear();
        g_configured = 0;
        g_stand_in.clear();
        WindowHooks& h = window_hooks();
        h.surface_size = stand_in_size;
        h.paint_surface = stand_in_paint;
        h.text_cell = stand_in_cell;
        h.mouse = record_mouse;
        h.command = record_command;
        h.key = record_key;
        h.configure = configure_pattern;
        ASSERT_EQ(open_window_unit(10, "View"), 1);
        cw = window_for_unit(10);
        ASSERT_NE(cw, nullptr);
        cw->sub->resize(400, 300);
        area = static_cast<QAbstractScrollArea*>(cw->view);
        QCoreApplication::processEvents();
    }
    void TearDown() override {
        window_hooks() = WindowHooks{};
        KernelTest::TearDown();
        g_stand_in.clear();
    }
    QImage shown() { return area->viewport()->grab().toImage(); }
    void key(int k, Qt::KeyboardModifiers m = Qt::NoModifier, const QString& text = {}) {
        QKeyEvent e(QEvent::KeyPress, k, m, text);
        QCoreApplication::sendEvent(cw->view, &e);
    }
    void mouse(QEvent::Type type, QPoint p, Qt::MouseButton b, Qt::MouseButtons bs,
               Qt::KeyboardModifiers m = Qt::NoModifier) {
        QMouseEvent e(type, QPointF(p), area->viewport()->mapToGlobal(QPointF(p)), b, bs, m);
        QCoreApplication::sendEvent(area->viewport(), &e);
    }
    ChildWindow* cw = nullptr;
    QAbstractScrollArea* area = nullptr;
};

TEST_F(ViewTest, PaintConfiguresOnceAndShowsTheSurfaceAtTheScrollOffset) {
    QImage img = shown();
    QCoreApplication::processEvents();
    EXPECT_EQ(g_configured, 1);
    ASSERT_FALSE(img.isNull());
    EXPECT_EQ(img.pixel(0, 0), qRgb(0, 0, 7));
    EXPECT_EQ(img.pixel(20, 30), qRgb(20, 30, 7));
    key(Qt::Key_Right);
    key(Qt::Key_Down);
    EXPECT_EQ(cw->scroll_x, 8);
    EXPECT_EQ(cw->scroll_y, 16);
    img = shown();
    EXPECT_EQ(img.pixel(0, 0), qRgb(8, 16, 7));
    EXPECT_EQ(g_configured, 1);
}

TEST_F(ViewTest, WindowLargerThanItsSurfaceShrinksToIt) {
    {
        std::lock_guard<std::mutex> hold(cw->lock);
        stand_in(cw).surface = QImage(200, 100, QImage::Format_RGB32);
        stand_in(cw).surface.fill(Qt::black);
        cw->configured = true;
    }
    update_window_rect(cw, 0, 0, 0, 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(area->viewport()->size(), QSize(200, 100));
    EXPECT_EQ(area->horizontalScrollBar()->maximum(), 0);
}

TEST_F(ViewTest, SurfaceDrawnBeforeTheFirstPaintGetsScrollBars) {
    // A callback opens a window and draws into it at once: the drawing
    // configures the surface before the window has ever been painted.
    window_hooks().configure = nullptr;
    ASSERT_EQ(open_window_unit(11, "Drawn at once"), 1);
    ChildWindow* drawn = window_for_unit(11);
    ASSERT_NE(drawn, nullptr);
    {
        std::lock_guard<std::mutex> hold(drawn->lock);
        stand_in(drawn).surface = QImage(2000, 1500, QImage::Format_RGB32);
        stand_in(drawn).surface.fill(Qt::white);
        drawn->configured = true;
    }
    update_window_rect(drawn, 10, 10, 20, 20);
    auto* view = static_cast<QAbstractScrollArea*>(drawn->view);
    pump_until([&] { return view->horizontalScrollBar()->maximum() > 0; });
    EXPECT_EQ(view->horizontalScrollBar()->maximum(), 2000 - view->viewport()->width());
    EXPECT_EQ(view->verticalScrollBar()->maximum(), 1500 - view->viewport()->height());
}

TEST_F(ViewTest, KeysScrollByLineByPageAndToTheEnds) {
    shown(); // configures
    QCoreApplication::processEvents();
    const int view_w = area->viewport()->width();
    const int view_h = area->viewport()->height();
    key(Qt::Key_End);
    EXPECT_EQ(cw->scroll_x, 1200 - view_w);
    EXPECT_EQ(cw->scroll_y, 0);
    key(Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(cw->scroll_y, 900 - view_h);
    key(Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(cw->scroll_x, 0);
    EXPECT_EQ(cw->scroll_y, 0);
    key(Qt::Key_PageDown);
    EXPECT_EQ(cw->scroll_y, view_h);
    key(Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_EQ(cw->scroll_x, view_w);
    key(Qt::Key_Up);
    EXPECT_EQ(cw->scroll_y, view_h - 16);
    key(Qt::Key_Left);
    EXPECT_EQ(cw->scroll_x, view_w - 8);
}

TEST_F(ViewTest, ArrowKeysAndPlacingUseTheWindowsOwnCharacterCells) {
    shown();
    {
        std::lock_guard<std::mutex> hold(cw->lock);
        stand_in(cw).has_cells = true;
        stand_in(cw).cell_width = 10;
        stand_in(cw).cell_height = 20;
    }
    update_window_rect(cw, 0, 0, 0, 0);
    QCoreApplication::processEvents();
    key(Qt::Key_Right);
    key(Qt::Key_Down);
    EXPECT_EQ(cw->scroll_x, 10);
    EXPECT_EQ(cw->scroll_y, 20);
    int32_t unit = 10;
    const WindowStateRecord place{4, 2, 3, 10, 40};
    ASSERT_EQ(set_window_state(unit, place), 0);
    EXPECT_EQ(cw->sub->pos(), QPoint(20, 60));
    EXPECT_GE(cw->view->width(), 40 * 10);
    EXPECT_GE(cw->view->height(), 10 * 20);
}

TEST_F(ViewTest, SizeToFitStretchesTheWholeSurface) {
    shown();
    QCoreApplication::processEvents();
    key(Qt::Key_Right);
    ASSERT_EQ(choose_menu_item(3, 1), 1);
    ASSERT_TRUE(cw->display_scaled);
    const QImage img = shown();
    EXPECT_EQ(img.size(), area->viewport()->size()) << "no scroll bars while stretched";
    const QRgb corner = img.pixel(img.width() - 1, img.height() - 1);
    EXPECT_GE(qRed(corner), (1199 % 256) - 4);
    EXPECT_GE(qGreen(corner), (899 % 256) - 4);
    EXPECT_LE(qRed(img.pixel(0, 0)), 4);
    EXPECT_LE(qGreen(img.pixel(0, 0)), 4);
}

TEST_F(ViewTest, MouseEventsReachTheHookWithCodesKeysAndClientPositions) {
    mouse(QEvent::MouseButtonPress, {10, 12}, Qt::LeftButton, Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, {10, 12}, Qt::LeftButton, Qt::NoButton);
    mouse(QEvent::MouseButtonDblClick, {10, 12}, Qt::LeftButton, Qt::LeftButton);
    mouse(QEvent::MouseButtonPress, {5, 6}, Qt::RightButton, Qt::RightButton,
          Qt::ShiftModifier | Qt::ControlModifier);
    mouse(QEvent::MouseButtonRelease, {5, 6}, Qt::RightButton, Qt::NoButton);
    mouse(QEvent::MouseButtonDblClick, {5, 6}, Qt::RightButton, Qt::RightButton);
    mouse(QEvent::MouseMove, {7, 8}, Qt::NoButton, Qt::MiddleButton);
    mouse(QEvent::MouseButtonPress, {7, 8}, Qt::MiddleButton, Qt::MiddleButton);
    const std::vector<MouseSeen> want = {{1, 1, 10, 12},       {2, 0, 10, 12}, {4, 1, 10, 12},
                                         {8, 2 | 4 | 8, 5, 6}, {16, 0, 5, 6},  {32, 2, 5, 6},
                                         {64, 16, 7, 8}};
    ASSERT_EQ(g_mouse.size(), want.size()) << "the middle button press is no event";
    for (size_t i = 0; i < want.size(); ++i) {
        EXPECT_EQ(g_mouse[i].code, want[i].code) << i;
        EXPECT_EQ(g_mouse[i].keys, want[i].keys) << i;
        EXPECT_EQ(g_mouse[i].x, want[i].x) << i;
        EXPECT_EQ(g_mouse[i].y, want[i].y) << i;
    }
    EXPECT_EQ(cw->client_width, area->viewport()->width());
    EXPECT_EQ(cw->client_height, area->viewport()->height());
}

TEST_F(ViewTest, StandardCommandsGoToTheGraphicsHooksForTheActiveWindow) {
    const int ids[][3] = {{2, 1, 1001}, {2, 2, 1002}, {2, 3, 1003}, {2, 4, 1004},
                          {2, 5, 1021}, {5, 5, 1022}, {1, 1, 1019}, {1, 2, 1020}};
    for (const auto& c : ids)
        ASSERT_EQ(choose_menu_item(c[0], c[1]), 1) << c[2];
    ASSERT_EQ(g_commands.size(), 8u);
    for (size_t i = 0; i < 8; ++i)
        EXPECT_EQ(g_commands[i], ids[i][2]);
    // Esc ends a selection (command 0); Ctrl+Ins copies, Shift+Ins pastes.
    g_commands.clear();
    key(Qt::Key_Escape);
    key(Qt::Key_Insert, Qt::ControlModifier);
    key(Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(g_commands, (std::vector<int>{0, 1004, 1021}));
}

TEST_F(ViewTest, TypedCharactersAreInputForTheWindow) {
    key(Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
    key(Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    EXPECT_EQ(g_typed, "a\r");
}

TEST_F(ViewTest, InputPendingEnablesTheInputItemAndActivatesTheWindow) {
    ASSERT_EQ(open_window_unit(11, "Other"), 1);
    ASSERT_EQ(menu_item_flags(5, 4) & 1, 1);
    set_input_pending_window(cw);
    EXPECT_EQ(menu_item_flags(5, 4) & 1, 0);
    EXPECT_EQ(frame()->message_label->text().toStdString(), "Input pending in View");
    ASSERT_EQ(choose_menu_item(5, 4), 1);
    EXPECT_EQ(active_window(), cw);
    set_input_pending_window(nullptr);
    EXPECT_EQ(menu_item_flags(5, 4) & 1, 1);
    EXPECT_TRUE(frame()->message_label->text().isEmpty());
}

TEST_F(ViewTest, StatusChangesFromAThreadDoNotWaitForTheInterface) {
    std::atomic<bool> returned{false};
    std::thread t([&] {
        set_input_pending_window(cw);
        set_status_message("Mouse input pending in View");
        returned = true;
    });
    // The interface thread handles no event meanwhile.
    for (int i = 0; i < 100 && !returned; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_TRUE(returned.load());
    t.join();
    QCoreApplication::processEvents();
    EXPECT_EQ(menu_item_flags(5, 4) & 1, 0);
    EXPECT_EQ(frame()->message_label->text().toStdString(), "Mouse input pending in View");
}

TEST_F(ViewTest, RunOnUiFromAThreadRunsOnTheInterfaceThreadAndWaits) {
    std::atomic<bool> ran_on_ui{false};
    bool seen_after = false;
    run_on_thread([&] {
        bool here = true;
        run_on_ui([&] {
            here = on_ui_thread();
            ran_on_ui = true;
        });
        seen_after = ran_on_ui.load() && here;
    });
    EXPECT_TRUE(seen_after);
    bool direct = false;
    run_on_ui([&] { direct = on_ui_thread(); });
    EXPECT_TRUE(direct);
}

TEST_F(ViewTest, RepaintRequestsFromAThreadDoNotWait) {
    shown();
    run_on_thread([&] {
        {
            std::lock_guard<std::mutex> hold(cw->lock);
            g_stand_in.at(cw).surface.setPixel(3, 3, qRgb(255, 255, 255));
        }
        update_window_rect(cw, 3, 3, 1, 1);
    });
    QCoreApplication::processEvents();
    EXPECT_EQ(shown().pixel(3, 3), qRgb(255, 255, 255));
}

// The full-screen view, or null.
QWidget* full_screen_view() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (qobject_cast<FullScreenView*>(w) && w->isVisible()) return w;
    return nullptr;
}

TEST_F(ViewTest, FullScreenKeepsTheWindowsKeysAndCoversTheScreen) {
    ASSERT_EQ(choose_menu_item(3, 2), 1);
    QWidget* fs = full_screen_view();
    ASSERT_NE(fs, nullptr);
    EXPECT_EQ(fs->geometry(), frame()->screen()->geometry());
    QKeyEvent ctrl_s(QEvent::KeyPress, Qt::Key_S, Qt::ControlModifier, QStringLiteral("\x13"));
    QCoreApplication::sendEvent(fs, &ctrl_s);
    EXPECT_EQ(program_state(), 1) << "Ctrl+S pauses also in full screen";
    QKeyEvent typed(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
    QCoreApplication::sendEvent(fs, &typed);
    EXPECT_EQ(g_typed, "a");
    QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(fs, &esc);
    EXPECT_EQ(program_state(), 0) << "Esc resumes";
    EXPECT_TRUE(pump_until([&] { return !cw->full_screen && !full_screen_view(); }));
    EXPECT_EQ(QApplication::focusWidget(), cw->view) << "the keys go back to the window";
}

TEST_F(ViewTest, BoxesShownInFullScreenAreOwnedByTheFullScreenView) {
    EXPECT_EQ(dialog_owner(), frame());
    ASSERT_EQ(choose_menu_item(3, 2), 1);
    QWidget* fs = full_screen_view();
    ASSERT_NE(fs, nullptr);
    EXPECT_EQ(dialog_owner(), fs) << "a box owned by the frame would open behind the view";
    ASSERT_EQ(choose_menu_item(3, 2), 1);
    EXPECT_TRUE(pump_until([&] { return dialog_owner() == frame(); }));
}

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
  public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) ++paints;
        return false;
    }
};

TEST_F(ViewTest, DrawingWhileShownFullScreenRepaintsTheFullScreenView) {
    ASSERT_EQ(choose_menu_item(3, 2), 1);
    QWidget* fs = full_screen_view();
    ASSERT_NE(fs, nullptr);
    QCoreApplication::processEvents();
    PaintCounter counter;
    fs->installEventFilter(&counter);
    // What a drawing call does: change the surface, then ask for the window to be brought up
    // to date, from the interface thread and from another thread.
    {
        std::lock_guard<std::mutex> hold(cw->lock);
        stand_in(cw).surface.fill(qRgb(255, 0, 0));
    }
    update_window_rect(cw, 10, 10, 50, 40);
    EXPECT_TRUE(pump_until([&] { return counter.paints > 0; }))
        << "the full-screen view kept showing the old picture";
    counter.paints = 0;
    run_on_thread([&] { update_window_rect(cw, 0, 0, 0, 0); });
    EXPECT_TRUE(pump_until([&] { return counter.paints > 0; }));
    const QImage img = fs->grab().toImage();
    EXPECT_EQ(img.pixel(img.width() / 2, img.height() / 2), qRgb(255, 0, 0));
    fs->removeEventFilter(&counter);
    ASSERT_EQ(choose_menu_item(3, 2), 1);
    EXPECT_TRUE(pump_until([&] { return !cw->full_screen; }));
}

TEST_F(ViewTest, FullScreenShowsTheActiveWindowAndTogglesBack) {
    ASSERT_EQ(choose_menu_item(3, 2), 1);
    EXPECT_TRUE(cw->full_screen);
    ASSERT_EQ(choose_menu_item(3, 2), 1);
    EXPECT_TRUE(pump_until([&] { return !cw->full_screen; }));
}

} // namespace
