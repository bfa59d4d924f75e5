// Child windows for units: titles, the 40-window limit, KEEP and DELETE, current and default
// windows.
#include "tests/window/kernel/kernel_fixture.h"

#include "window/kernel/child_window.h"
#include "window/kernel/frame.h"
#include "window/kernel/internal_error.h"
#include "window/kernel/message_box.h"
#include "window/kernel/units.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QCoreApplication>
#include <QMenu>

#include <string>

namespace {

std::string title_of(int handle) {
    char buf[128];
    return window_title(handle, buf, sizeof buf) < 0 ? std::string() : std::string(buf);
}

std::string title_of_unit(int unit) {
    return title_of(window_handle_for_unit(unit));
}

using UnitTest = KernelTest;

TEST_F(UnitTest, TitleIsTheGivenOneOrUnitN) {
    struct Case {
        int unit;
        const char* title;
        const char* shown;
    } cases[] = {{10, "Hysteresis modeling workspace", "Hysteresis modeling workspace"},
                 {7, nullptr, "Unit 7"},
                 {12, "", "Unit 12"}};
    for (const Case& c : cases) {
        ASSERT_EQ(open_window_unit(c.unit, c.title), 1);
        EXPECT_EQ(title_of_unit(c.unit), c.shown);
        ChildWindow* cw = window_for_unit(c.unit);
        ASSERT_NE(cw, nullptr);
        EXPECT_EQ(cw->sub->windowTitle().toStdString(), c.shown);
    }
}

TEST_F(UnitTest, OpenedWindowIsCurrentAndActive) {
    ASSERT_EQ(open_window_unit(10, "A"), 1);
    ASSERT_EQ(open_window_unit(11, "B"), 1);
    EXPECT_EQ(current_window_handle(), window_handle_for_unit(11));
    EXPECT_EQ(active_window(), window_for_unit(11));
    EXPECT_EQ(window_handle_for_unit(10), 1024);
    EXPECT_EQ(window_handle_for_unit(11), 1025);
}

TEST_F(UnitTest, AtMostFortyWindows) {
    for (int u = 1; u <= 40; ++u)
        ASSERT_EQ(open_window_unit(u, nullptr), 1) << u;
    EXPECT_EQ(child_window_count(), 40);
    const int current = current_window_handle();
    EXPECT_EQ(open_window_unit(41, "one too many"), 0);
    EXPECT_EQ(child_window_count(), 40);
    EXPECT_EQ(window_handle_for_unit(41), 0);
    EXPECT_EQ(current_window_handle(), current);
    // A freed slot is used again.
    ASSERT_EQ(close_window_unit(5, "DELETE"), 1);
    ASSERT_EQ(open_window_unit(41, nullptr), 1);
    EXPECT_EQ(window_handle_for_unit(41), 1024 + 4);
}

TEST_F(UnitTest, UserCannotCloseAWindowWhileItsUnitIsOpen) {
    ASSERT_EQ(open_window_unit(10, "Work"), 1);
    ChildWindow* cw = window_for_unit(10);
    ASSERT_NE(cw, nullptr);
    EXPECT_FALSE(cw->sub->close());
    EXPECT_EQ(child_window_count(), 1);
    for (QAction* a : cw->sub->systemMenu()->actions())
        EXPECT_FALSE(a->text().contains(QStringLiteral("Close"))) << a->text().toStdString();
}

TEST_F(UnitTest, KeepLeavesTheWindowMarkedClosedAndClosable) {
    ASSERT_EQ(open_window_unit(10, "Work"), 1);
    ChildWindow* cw = window_for_unit(10);
    const int handle = window_handle_for_unit(10);
    ASSERT_EQ(close_window_unit(10, "KEEP"), 1);
    EXPECT_EQ(child_window_count(), 1);
    EXPECT_TRUE(cw->closed.load());
    EXPECT_EQ(title_of(handle), "Work-Closed");
    EXPECT_EQ(cw->sub->windowTitle().toStdString(), "Work-Closed");
    EXPECT_EQ(window_handle_for_unit(10), 0) << "the unit is no longer connected";
    EXPECT_EQ(close_window_unit(10, "KEEP"), 0);
    const auto acts = cw->sub->systemMenu()->actions();
    ASSERT_GE(acts.size(), 2);
    EXPECT_EQ(acts.back()->text().toStdString(), "&Close\tCtrl+F4");
    EXPECT_TRUE(acts[acts.size() - 2]->isSeparator());
    // Now the user may close it.
    EXPECT_TRUE(cw->sub->close());
    EXPECT_EQ(child_window_count(), 0);
    EXPECT_TRUE(cw->destroyed.load());
}

TEST_F(UnitTest, DispositionsAndTheirDefaults) {
    struct Case {
        const char* status;      // OPEN's status
        const char* disposition; // CLOSE's disposition
        bool kept;
    } cases[] = {{nullptr, nullptr, false}, {"SCRATCH", nullptr, false}, {"OLD", nullptr, true},
                 {"NEW", nullptr, true},    {nullptr, "KEEP", true},     {nullptr, "keep ", true},
                 {"OLD", "DELETE", false},  {nullptr, "DELETE", false}};
    int unit = 20;
    for (const Case& c : cases) {
        ASSERT_EQ(open_window_unit(unit, "W", c.status), 1);
        const int handle = window_handle_for_unit(unit);
        ASSERT_EQ(close_window_unit(unit, c.disposition), 1);
        EXPECT_EQ(window_for_handle(handle) != nullptr, c.kept)
            << (c.status ? c.status : "-") << " " << (c.disposition ? c.disposition : "-");
        ++unit;
    }
}

TEST_F(UnitTest, ClosingAUnitThatIsNotOpenFailsAndChangesNothing) {
    ASSERT_EQ(open_window_unit(10, "Work"), 1);
    EXPECT_EQ(close_window_unit(11, nullptr), 0);
    EXPECT_EQ(close_window_unit(-3, "KEEP"), 0);
    EXPECT_EQ(close_window_unit(0, nullptr), 0) << "no default window exists yet";
    EXPECT_EQ(child_window_count(), 1);
    EXPECT_EQ(title_of_unit(10), "Work");
    EXPECT_EQ(open_window_unit(-1, "x"), 0);
    EXPECT_EQ(child_window_count(), 1);
}

TEST_F(UnitTest, DefaultWindowIsGraphicNAndUnitZero) {
    ASSERT_EQ(open_window_unit(10, "Work"), 1);
    ASSERT_EQ(open_window_unit(11, "Other"), 1);
    ASSERT_EQ(close_window_unit(11, nullptr), 1);
    // The closing thread falls back to the default window, in the first free slot.
    const int handle = current_window_handle();
    EXPECT_EQ(handle, 1025);
    EXPECT_EQ(title_of(handle), "Graphic 2");
    EXPECT_EQ(window_handle_for_unit(0), handle);
    // A default window closed with KEEP gives way to a new one.
    ASSERT_EQ(close_window_unit(0, "KEEP"), 1);
    EXPECT_EQ(title_of(handle), "Graphic 2-Closed");
    const int next = current_window_handle();
    EXPECT_NE(next, handle);
    EXPECT_EQ(title_of(next), "Graphic 3");
}

TEST_F(UnitTest, UnitWindowMadeTheDefaultStaysTheUnits) {
    ASSERT_EQ(open_window_unit(10, "Work"), 1);
    ChildWindow* work = window_for_unit(10);
    ASSERT_NE(work, nullptr);
    set_default_window(work);
    EXPECT_EQ(window_for_unit(10), work);
    EXPECT_EQ(window_handle_for_unit(10), 1024);
    ASSERT_EQ(close_window_unit(10, nullptr), 1);
    EXPECT_EQ(child_window_count(), 0);
    // Its removal leaves no default: the next one is created afresh.
    ChildWindow* next = default_window();
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(next->title, "Graphic 1");
}

TEST_F(UnitTest, EachThreadHasItsOwnCurrentWindow) {
    int thread_window = 0, thread_after = 0;
    run_on_thread([&] {
        ASSERT_EQ(open_window_unit(10, "Program's"), 1);
        thread_window = current_window_handle();
    });
    EXPECT_EQ(thread_window, window_handle_for_unit(10));
    // The interface thread has not opened anything: it gets the default window.
    const int mine = current_window_handle();
    EXPECT_NE(mine, thread_window);
    EXPECT_EQ(title_of(mine), "Graphic 2");
    run_on_thread([&] { thread_after = current_window_handle(); });
    // A new thread starts with the default window too.
    EXPECT_EQ(thread_after, mine);
}

TEST_F(UnitTest, WindowRemovedByAnotherThreadIsNoLongerCurrent) {
    ASSERT_EQ(open_window_unit(10, "W"), 1);
    ChildWindow* removed = window_for_unit(10);
    ASSERT_EQ(current_window(), removed);
    // The removed record may be freed, and its address reused, by the time the default window
    // exists: compare records through a reference, not through addresses.
    const std::weak_ptr<ChildWindow> removed_record = weak_window(removed);
    int closed = 0;
    run_on_thread([&] { closed = close_window_unit(10, nullptr); });
    ASSERT_EQ(closed, 1);
    ChildWindow* now = current_window();
    ASSERT_NE(now, nullptr);
    EXPECT_NE(weak_window(now).lock(), removed_record.lock());
    EXPECT_EQ(now->title, "Graphic 1");
}

TEST_F(UnitTest, SetWindowStateForFrameAndUnits) {
    WindowStateRecord max{2, 0, 0, 0, 0};
    EXPECT_EQ(set_window_state(kFrameUnit, max), 0);
    EXPECT_TRUE(frame()->isMaximized());
    WindowStateRecord restore{3, 0, 0, 0, 0};
    EXPECT_EQ(set_window_state(kFrameUnit, restore), 0);
    EXPECT_FALSE(frame()->isMaximized());
    WindowStateRecord bad{5, 0, 0, 0, 0};
    EXPECT_EQ(set_window_state(kFrameUnit, bad), -4);
    int32_t unit = 10;
    EXPECT_EQ(set_window_state(unit, max), -1) << "unit without a window";
    ASSERT_EQ(open_window_unit(10, "W"), 1);
    EXPECT_EQ(set_window_state(unit, max), 0);
    EXPECT_TRUE(window_for_unit(10)->sub->isMaximized());
    EXPECT_EQ(set_window_state(unit, bad), -4);
    WindowStateRecord place{4, 2, 3, 10, 40};
    EXPECT_EQ(set_window_state(unit, place), 0);
    ChildWindow* cw = window_for_unit(10);
    EXPECT_FALSE(cw->sub->isMaximized());
    EXPECT_EQ(cw->sub->pos(), QPoint(16, 48));
    EXPECT_GE(cw->view->width(), 40 * 8);
    // Unit 0 is the default window, created on demand.
    int32_t zero = 0;
    EXPECT_EQ(set_window_state(zero, max), 0);
    EXPECT_EQ(title_of_unit(0), "Graphic 2");
}

TEST_F(UnitTest, MenusCountFromTheLeftWhileAChildIsMaximised) {
    ASSERT_EQ(open_window_unit(10, "W"), 1);
    int32_t unit = 10;
    WindowStateRecord max{2, 0, 0, 0, 0};
    ASSERT_EQ(set_window_state(unit, max), 0);
    EXPECT_EQ(item_text(1, 0), "&File");
    EXPECT_EQ(item_text(4, 0), "&State");
    EXPECT_EQ(shown_menu_count(), 6);
}

TEST_F(UnitTest, SizeToFitTogglesTheActiveWindowAndItsCheckMark) {
    ASSERT_EQ(open_window_unit(10, "W"), 1);
    ChildWindow* cw = window_for_unit(10);
    ASSERT_EQ(choose_menu_item(3, 1), 1);
    EXPECT_TRUE(cw->display_scaled);
    EXPECT_EQ(menu_item_flags(3, 1) & 16, 16);
    ASSERT_EQ(open_window_unit(11, "V"), 1);
    EXPECT_EQ(menu_item_flags(3, 1) & 16, 0) << "check mark follows the activated window";
    frame()->mdi->setActiveSubWindow(cw->sub);
    EXPECT_EQ(menu_item_flags(3, 1) & 16, 16);
    ASSERT_EQ(choose_menu_item(3, 1), 1);
    EXPECT_FALSE(cw->display_scaled);
}

TEST_F(UnitTest, KeepClosePreservesAMaximisedWindow) {
    ASSERT_EQ(open_window_unit(10, "Work"), 1);
    int32_t unit = 10;
    WindowStateRecord max{2, 0, 0, 0, 0};
    ASSERT_EQ(set_window_state(unit, max), 0);
    ChildWindow* cw = window_for_unit(10);
    ASSERT_EQ(close_window_unit(10, "KEEP"), 1);
    QCoreApplication::processEvents();
    EXPECT_TRUE(cw->sub->isVisible());
    EXPECT_TRUE(cw->sub->isMaximized());
}

TEST_F(UnitTest, CascadedWindowsKeepAUsableSize) {
    frame()->resize(1000, 800);
    ASSERT_EQ(open_window_unit(10, "A"), 1);
    ASSERT_EQ(open_window_unit(11, "B"), 1);
    QCoreApplication::processEvents();
    ASSERT_EQ(choose_menu_item(5, 1), 1);
    const QSize area = frame()->mdi->viewport()->size();
    for (int unit : {10, 11}) {
        QMdiSubWindow* sub = window_for_unit(unit)->sub;
        EXPECT_GE(sub->width(), area.width() / 2) << unit;
        EXPECT_GE(sub->height(), area.height() / 2) << unit;
    }
}

TEST_F(UnitTest, ClosingTheFrameEndsTheProcess) {
    ASSERT_EQ(open_window_unit(10, "Work"), 1);
    frame()->close();
    EXPECT_EQ(recorded().ends, 1);
}

TEST(InternalError, TextsAndKinds) {
    struct Case {
        int kind, code;
        const char* text;
    } cases[] = {
        {kInternalWarning, 4, "Out of Memory\nfile \"frame.cpp\", line 12"},
        {kInternalError, 5, "Internal Error - unexpected error\nfile \"frame.cpp\", line 12"},
        {kInternalWarning, 6, "Possible internal inconsistency\nfile \"frame.cpp\", line 12"},
        {kInternalFatal, 6, "Possible internal inconsistency, file \"frame.cpp\", line 12"},
    };
    for (const Case& c : cases) {
        char buf[200];
        internal_error_text(c.kind, c.code, "/src/window/kernel/frame.cpp", 12, buf, sizeof buf);
        EXPECT_STREQ(buf, c.text);
    }
}

TEST_F(UnitTest, InternalErrorBoxesNameTheLayerAndKind) {
    report_internal_error(kInternalWarning, 4, "a.cpp", 3);
    EXPECT_EQ(recorded().title, "Window Layer Warning");
    EXPECT_EQ(recorded().style, 0x30);
    report_internal_error(kInternalError, 5, "a.cpp", 3);
    EXPECT_EQ(recorded().title, "Window Layer Error");
    EXPECT_EQ(recorded().style, 0x10);
    EXPECT_EQ(recorded().text, "Internal Error - unexpected error\nfile \"a.cpp\", line 3");
}

} // namespace
