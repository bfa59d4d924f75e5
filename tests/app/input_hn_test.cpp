// The reversal input dialog 101 on an open workspace, driven headless.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCursor>
#include <QDialog>
#include <QGuiApplication>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QApplication>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>

#include "app/input_hn.h"
#include "app/menu_callbacks.h"
#include "model/curve_construction.h"
#include "model/model_seams.h"
#include "model/model_state.h"
#include "model/preisach.h"
#include "model/plot.h"
#include "shell_driver.h"
#include "shell_fixture.h"
#include "text/adjust_left.h"
#include "text/number_format.h"
#include "window/graph/graphics_data.h"
#include "window/kernel/child_window.h"
#include "window/kernel/stoppable_work.h"
#include "window/kernel/units.h"

namespace {

void open_input_dialog() {
    int32_t state = 0;
    on_input_hn(state);
}

// Template order of dialog 101: edits 1002, 1006; check boxes 1004, 1009; buttons 2, 1007.
QLineEdit* hn_edit(QDialog* d) {
    return edit_at(d, 0);
}
QLineEdit* cycles_edit(QDialog* d) {
    return edit_at(d, 1);
}
QAbstractButton* cyclic_box(QDialog* d) {
    return check_box_at(d, 0);
}
QAbstractButton* spiral_box(QDialog* d) {
    return check_box_at(d, 1);
}
QAbstractButton* cancel_button(QDialog* d) {
    return push_button_at(d, 0);
}
QAbstractButton* execute_button(QDialog* d) {
    return push_button_at(d, 1);
}

// A value as the dialog shows it: G14.7, left-adjusted, trailing blanks dropped.
std::string shown(double value) {
    char text[14];
    format_real(text, 14, "(g14.7)", value);
    adjust_left(text, 14);
    std::string s(text, 14);
    s.erase(s.find_last_not_of(' ') + 1);
    return s;
}

// A copy of the workspace window's surface.
QImage workspace_surface() {
    ChildWindow* cw = window_for_unit(10);
    if (cw == nullptr) return QImage();
    std::lock_guard<std::mutex> hold(cw->lock);
    return graphics_of(cw).gfx.surface.copy();
}

} // namespace

using InputHn = WorkspaceShellTest;

TEST_F(InputHn, OpensWithTheCurrentValuesAndExecuteDisabled) {
    g_model.Ncyc = 4;
    with_dialog(open_input_dialog, [](QDialog* d) {
        EXPECT_EQ(control_text(kHcurStatic), "-1.000000");
        EXPECT_EQ(control_text(kBcurStatic), "-1.000000");
        EXPECT_EQ(control_text(kHnEdit), "-1.000000");
        EXPECT_EQ(control_text(kCyclesEdit), "0");
        EXPECT_EQ(control_text(kInputStatus), "");
        EXPECT_FALSE(control_checked(kCyclicBox));
        EXPECT_FALSE(control_checked(kSpiralBox));
        EXPECT_FALSE(control_enabled(kCyclesLabel));
        EXPECT_FALSE(control_enabled(kCyclesEdit));
        EXPECT_FALSE(control_enabled(kExecuteButton));
        // Execute cannot be pressed.
        click(execute_button(d));
        EXPECT_EQ(g_model.Hcur, -1.0);
        EXPECT_EQ(g_model.Ndrawn, 0);
    });
    // The number of cycles is kept although the field showed "0".
    EXPECT_EQ(g_model.Ncyc, 4);
}

TEST_F(InputHn, TypedHnMovesTheMarkerAtOnceAndCancelKeepsIt) {
    with_dialog(open_input_dialog, [](QDialog* d) {
        type_into(hn_edit(d), "0.5");
        EXPECT_EQ(g_model.Hn, 0.5);
        EXPECT_EQ(g_model.MarkerX, marker_x_for_hn(g_model));
        EXPECT_GT(g_model.MarkerX, 67);
        EXPECT_EQ(control_text(kInputStatus), "");
        EXPECT_TRUE(control_enabled(kExecuteButton));
        click(cancel_button(d));
    });
    EXPECT_EQ(g_model.Hn, 0.5);
    EXPECT_EQ(g_model.MarkerX, marker_x_for_hn(g_model));
    EXPECT_EQ(g_model.Hcur, -1.0);
}

TEST_F(InputHn, ExecuteRunsTheMoveAndResetsTheDialog) {
    with_dialog(open_input_dialog, [](QDialog* d) {
        set_edit_text(hn_edit(d), "0.5");
        click(execute_button(d));
        EXPECT_EQ(g_model.Hcur, 0.5);
        EXPECT_EQ(g_model.Hn, 0.5);
        // The leg was drawn and committed.
        EXPECT_GT(g_model.Ndrawn, 0);
        EXPECT_EQ(g_model.Nnew, 0);
        EXPECT_EQ(g_model.MarkerX, marker_x_for_hn(g_model));
        EXPECT_EQ(control_text(kHcurStatic), shown(g_model.Hcur));
        EXPECT_EQ(control_text(kBcurStatic), shown(g_model.Bcur));
        EXPECT_EQ(control_text(kHnEdit), shown(g_model.Hn));
        EXPECT_EQ(control_text(kCyclesEdit), "0");
        EXPECT_FALSE(control_enabled(kExecuteButton));
        EXPECT_FALSE(control_enabled(kCyclesEdit));
        EXPECT_EQ(g_model.Ncyc, 0);
        EXPECT_EQ(g_model.CycleMode, 0);
        // The dialog stays open until Cancel.
        EXPECT_TRUE(d->isVisible());
    });
}

namespace {
int g_legs_under_wait_cursor = 0; // legs drawn while the wait cursor was shown

void draw_leg_and_look(ModelState& m) {
    const QCursor* c = QGuiApplication::overrideCursor();
    if (c && c->shape() == Qt::WaitCursor) ++g_legs_under_wait_cursor;
    draw_new_points_under_marker(m);
}
// 3 ms a leg: the curve buffer, hundreds of legs of a few hundred points, takes over a second.
void draw_leg_slowly(ModelState& m) {
    std::this_thread::sleep_for(std::chrono::milliseconds(3));
    draw_new_points_under_marker(m);
}
} // namespace

TEST_F(InputHn, ACyclicExecuteShowsTheWaitCursorUntilItEnds) {
    g_legs_under_wait_cursor = 0;
    set_leg_draw(draw_leg_and_look);
    with_dialog(open_input_dialog, [](QDialog* d) {
        set_edit_text(hn_edit(d), "0.8");
        click(cyclic_box(d));
        type_into(cycles_edit(d), "3");
        click(execute_button(d));
        EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr) << "the cursor came back";
    });
    set_leg_draw(draw_new_points_under_marker);
    EXPECT_EQ(g_legs_under_wait_cursor, 6) << "every leg of three cycles";
}

// A billion cycles stopped while they run, by Escape or by the Stop box's button: the points
// drawn so far stay, the dialog stays open and is reset, and what the user did to the dialog
// meanwhile (a click on Cancel) was held back.
TEST_F(InputHn, ALongExecuteStopsOnEscapeOrTheStopButton) {
    // Each leg is drawn slowly, so that the curve buffer cannot fill up before the stop
    // arrives, however fast the build.
    set_leg_draw(draw_leg_slowly);
    for (const bool by_button : {false, true}) {
        with_dialog(open_input_dialog, [by_button](QDialog* d) {
            const int32_t drawn_before = g_model.Ndrawn;
            set_edit_text(hn_edit(d), g_model.Hcur < 0 ? "0.8" : "-0.8");
            click(cyclic_box(d));
            set_edit_text(cycles_edit(d), "1000000000");
            QTimer::singleShot(200, d, [d] { click(cancel_button(d)); });
            QTimer::singleShot(600, d, [d, by_button] {
                if (!by_button) {
                    QCoreApplication::postEvent(
                        d, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
                    return;
                }
                QWidget* box = nullptr;
                for (QWidget* w : QApplication::topLevelWidgets())
                    if (w->objectName() == "StopBox" && w->isVisible()) box = w;
                ASSERT_NE(box, nullptr) << "the Stop box shows while the work runs";
                click(box->findChild<QPushButton*>());
            });
            click(execute_button(d));
            EXPECT_FALSE(stoppable_work_running());
            EXPECT_TRUE(d->isVisible()) << "Escape and Cancel did not end the dialog";
            EXPECT_GT(g_model.Ndrawn, drawn_before + 300) << "at least one leg was drawn";
            EXPECT_LT(g_model.Ndrawn, kCurveBound);
            EXPECT_EQ(g_model.Nnew, 0);
            EXPECT_EQ(g_model.Hcur, g_model.Hcurve[g_model.Ndrawn]);
            EXPECT_EQ(g_model.Hn, g_model.Hcur);
            EXPECT_EQ(control_text(kHcurStatic), shown(g_model.Hcur));
            EXPECT_FALSE(control_enabled(kExecuteButton));
        });
    }
    set_leg_draw(draw_new_points_under_marker);
}

TEST_F(InputHn, ExecuteEndsWithHnExactlyAtTheCurrentField) {
    with_dialog(open_input_dialog, [](QDialog* d) {
        // More digits than the dialog shows: the reset of the Hn field must not read its own
        // seven-digit rendering back into Hn.
        set_edit_text(hn_edit(d), "0.123456789");
        click(execute_button(d));
        EXPECT_EQ(g_model.Hcur, 0.123456789);
        EXPECT_EQ(g_model.Hn, g_model.Hcur);
        EXPECT_EQ(control_text(kHnEdit), "0.1234568");
        EXPECT_EQ(g_model.MarkerX, marker_x_for_hn(g_model));
    });
    EXPECT_EQ(g_model.Hn, g_model.Hcur);
}

TEST_F(InputHn, CyclicExecuteEndsBackAtTheStart) {
    with_dialog(open_input_dialog, [](QDialog* d) {
        set_edit_text(hn_edit(d), "0.2");
        click(execute_button(d));
        set_edit_text(hn_edit(d), "0.8");
        click(cyclic_box(d));
        EXPECT_EQ(g_model.CycleMode, 1);
        EXPECT_TRUE(control_enabled(kCyclesEdit));
        type_into(cycles_edit(d), "2");
        EXPECT_EQ(g_model.Ncyc, 2);
        click(execute_button(d));
        EXPECT_EQ(g_model.Hcur, 0.2);
        EXPECT_EQ(g_model.Hn, 0.2);
        EXPECT_FALSE(control_checked(kCyclicBox));
        EXPECT_EQ(g_model.CycleMode, 0);
    });
}

TEST_F(InputHn, LegsOverTheTypedMarkerLeaveNoTraceOfIt) {
    with_dialog(open_input_dialog, [](QDialog* d) {
        // The marker goes to 0.6 at once; the legs run to it and back, over its line, and the
        // end of the Execute moves it back to -1.
        set_edit_text(hn_edit(d), "0.6");
        click(cyclic_box(d));
        set_edit_text(cycles_edit(d), "1");
        click(execute_button(d));
        EXPECT_EQ(g_model.Hcur, -1.0);
    });
    const QImage executed = workspace_surface();
    ASSERT_FALSE(executed.isNull());
    // A full redraw draws the marker last: the same picture, without traces of the old one.
    redraw_plot(g_model);
    EXPECT_EQ(workspace_surface(), executed);
}

TEST_F(InputHn, CheckBoxesExcludeEachOther) {
    with_dialog(open_input_dialog, [](QDialog* d) {
        click(cyclic_box(d));
        EXPECT_TRUE(control_checked(kCyclicBox));
        EXPECT_TRUE(control_enabled(kCyclesLabel));
        click(spiral_box(d));
        EXPECT_TRUE(control_checked(kSpiralBox));
        EXPECT_FALSE(control_checked(kCyclicBox));
        EXPECT_EQ(g_model.CycleMode, 2);
        EXPECT_TRUE(control_enabled(kCyclesEdit));
        click(spiral_box(d));
        EXPECT_FALSE(control_checked(kSpiralBox));
        EXPECT_EQ(g_model.CycleMode, 0);
        EXPECT_FALSE(control_enabled(kCyclesEdit));
        EXPECT_FALSE(control_enabled(kCyclesLabel));
        // A click does not touch Execute.
        EXPECT_FALSE(control_enabled(kExecuteButton));
    });
}

TEST_F(InputHn, BadHnTextKeepsHnAndDisablesExecute) {
    with_dialog(open_input_dialog, [](QDialog* d) {
        set_edit_text(hn_edit(d), "0.25");
        const int16_t marker = g_model.MarkerX;
        for (const char* text : {"abc", "   ", "", "1e999", "0.5.5", "x0.5", "NaN", "0.5;",
                                 "x2345678901234567890123456789012345678901234567890"}) {
            set_edit_text(hn_edit(d), text);
            EXPECT_EQ(control_text(kInputStatus), "Error: Invalid format of Hn") << text;
            EXPECT_FALSE(control_enabled(kExecuteButton)) << text;
            EXPECT_EQ(g_model.Hn, 0.25) << text;
            EXPECT_EQ(g_model.MarkerX, marker) << text;
        }
    });
}

TEST_F(InputHn, HnBeyondAThousandIsRejected) {
    with_dialog(open_input_dialog, [](QDialog* d) {
        // Only the first 50 characters are read: the letter after them goes unseen.
        for (const char* text : {"1000.001", "-1001", "1e30", "1d300",
                                 "12345678901234567890123456789012345678901234567890x"}) {
            set_edit_text(hn_edit(d), text);
            EXPECT_EQ(control_text(kInputStatus), "Error: |Hn| must not exceed 1000") << text;
            EXPECT_FALSE(control_enabled(kExecuteButton)) << text;
            EXPECT_EQ(g_model.Hn, -1.0) << text;
        }
        for (double value : {1000.0, -1000.0}) {
            set_edit_text(hn_edit(d), QString::number(value));
            EXPECT_EQ(control_text(kInputStatus), "");
            EXPECT_EQ(g_model.Hn, value);
            EXPECT_TRUE(control_enabled(kExecuteButton));
        }
    });
}

TEST_F(InputHn, OnlyOneNumberWithADecimalPointReads) {
    struct Row {
        const char* text;
        const char* hn_status;     // in the Hn field
        const char* cycles_status; // in the cycles field
    };
    const Row rows[] = {
        {"0,5", "Use a decimal point", "Use a decimal point"},
        {",", "Use a decimal point", "Use a decimal point"},
        {"1 2", "Only one number, please", "Only one number, please"},
        {"2 x", "Only one number, please", "Only one number, please"},
        {"/", "Error: Invalid format of Hn", "Error: Invalid number of cycles"},
        {"3*", "Error: Invalid format of Hn", "Error: Invalid number of cycles"},
        {"3*2", "Error: Invalid format of Hn", "Error: Invalid number of cycles"},
    };
    with_dialog(open_input_dialog, [&](QDialog* d) {
        set_edit_text(hn_edit(d), "0.3");
        click(cyclic_box(d));
        set_edit_text(cycles_edit(d), "3");
        for (const Row& row : rows) {
            set_edit_text(hn_edit(d), row.text);
            EXPECT_EQ(control_text(kInputStatus), row.hn_status) << row.text;
            EXPECT_EQ(g_model.Hn, 0.3) << row.text;
            EXPECT_FALSE(control_enabled(kExecuteButton)) << row.text;
            set_edit_text(hn_edit(d), "0.3");
            set_edit_text(cycles_edit(d), row.text);
            EXPECT_EQ(control_text(kInputStatus), row.cycles_status) << row.text;
            EXPECT_EQ(g_model.Ncyc, 3) << row.text;
            EXPECT_FALSE(control_enabled(kExecuteButton)) << row.text;
            set_edit_text(cycles_edit(d), "3");
        }
        EXPECT_TRUE(control_enabled(kExecuteButton));
    });
}

TEST_F(InputHn, BadNumbersOfCycles) {
    with_dialog(open_input_dialog, [](QDialog* d) {
        click(spiral_box(d));
        set_edit_text(cycles_edit(d), "2");
        for (const char* text : {"2.5", "abc", "1e3", "", "   ", "2147483648", "-2147483649",
                                 "99999999999999999999", "3*0.5"}) {
            set_edit_text(cycles_edit(d), text);
            EXPECT_EQ(control_text(kInputStatus), "Error: Invalid number of cycles") << text;
            EXPECT_FALSE(control_enabled(kExecuteButton)) << text;
            EXPECT_EQ(g_model.Ncyc, 2) << text;
        }
        for (int n : {0, -3, 2147483647, -2147483647 - 1}) {
            set_edit_text(cycles_edit(d), QString::number(n));
            EXPECT_EQ(g_model.Ncyc, n);
            EXPECT_EQ(control_text(kInputStatus), "");
        }
    });
}

TEST_F(InputHn, AValidEntryClearsTheStatusWhileTheOtherFieldStaysInvalid) {
    with_dialog(open_input_dialog, [](QDialog* d) {
        click(cyclic_box(d));
        set_edit_text(cycles_edit(d), "x");
        EXPECT_EQ(control_text(kInputStatus), "Error: Invalid number of cycles");
        set_edit_text(hn_edit(d), "0.1");
        EXPECT_EQ(control_text(kInputStatus), "");
        EXPECT_FALSE(control_enabled(kExecuteButton));
        set_edit_text(cycles_edit(d), "1");
        EXPECT_TRUE(control_enabled(kExecuteButton));
    });
}
