// The Settings dialog 102 and the Axes dialog 103 on an open workspace, driven headless.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QDialog>
#include <QLineEdit>
#include <string>

#include "app/axes_dialog.h"
#include "app/menu_callbacks.h"
#include "app/settings_dialog.h"
#include "model/model_state.h"
#include "model/plot.h"
#include "shell_driver.h"
#include "shell_fixture.h"
#include "window/kernel/menus.h"

namespace {

void open_settings() {
    int32_t state = 0;
    on_settings(state);
}

void open_axes() {
    int32_t state = 0;
    on_axes(state);
}

// Template order: 102 has edits 1011, 1013 and radios 1015, 1016; 103 has edits 1021 (Hmin),
// 1022 (Hmax), 1026 (Bmin), 1027 (Bmax); both have OK then Cancel.
QAbstractButton* ok_button(QDialog* d) {
    return push_button_at(d, 0);
}
QAbstractButton* cancel_button(QDialog* d) {
    return push_button_at(d, 1);
}
QLineEdit* hmin_edit(QDialog* d) {
    return edit_at(d, 0);
}
QLineEdit* hmax_edit(QDialog* d) {
    return edit_at(d, 1);
}
QLineEdit* bmin_edit(QDialog* d) {
    return edit_at(d, 2);
}
QLineEdit* bmax_edit(QDialog* d) {
    return edit_at(d, 3);
}

bool grayed(int menu, int item) {
    return (menu_item_flags(menu, item) & 1) != 0;
}

} // namespace

using Settings = WorkspaceShellTest;
using Axes = WorkspaceShellTest;

TEST_F(Settings, OpensWithTheFactorsAndNegativeStartSelected) {
    with_dialog(open_settings, [](QDialog*) {
        EXPECT_EQ(control_text(kSmemEdit), "0.1250000");
        EXPECT_EQ(control_text(kAmemEdit), "0.5000000");
        EXPECT_EQ(control_text(kSettingsStatus), "");
        EXPECT_TRUE(control_checked(kStartNegativeRadio));
        EXPECT_FALSE(control_checked(kStartPositiveRadio));
        EXPECT_TRUE(control_enabled(1));
    });
}

TEST_F(Settings, PositiveStartThenNegativeAgain) {
    with_dialog(open_settings, [](QDialog* d) {
        click(radio_at(d, 1));
        click(ok_button(d));
    });
    EXPECT_EQ(g_model.Hcur, 1.0);
    EXPECT_EQ(g_model.Bcur, 1.0);
    EXPECT_EQ(g_model.Hn, 1.0);
    EXPECT_EQ(g_model.Dir, -1.0);
    EXPECT_EQ(g_model.dHprev, -3.0);
    EXPECT_EQ(g_model.MarkerX, marker_x_for_hn(g_model));
    EXPECT_TRUE(grayed(4, 3));
    // Opened again, it shows the negative start, and OK returns there.
    with_dialog(open_settings, [](QDialog* d) {
        EXPECT_TRUE(control_checked(kStartNegativeRadio));
        click(ok_button(d));
    });
    EXPECT_EQ(g_model.Hcur, -1.0);
    EXPECT_EQ(g_model.Bcur, -1.0);
    EXPECT_EQ(g_model.Dir, 1.0);
    EXPECT_EQ(g_model.Hrev[0], -1.0);
    EXPECT_EQ(g_model.Hcurve[0], -1.0);
}

TEST_F(Settings, CancelChangesNothing) {
    with_dialog(open_settings, [](QDialog* d) {
        set_edit_text(edit_at(d, 0), "0.7");
        click(radio_at(d, 1));
        click(cancel_button(d));
    });
    EXPECT_EQ(g_model.Smem, 0.125);
    EXPECT_EQ(g_model.Hcur, -1.0);
    EXPECT_FALSE(grayed(4, 3));
}

TEST_F(Settings, OkStoresTheValuesAsShown) {
    g_model.Smem = 0.123456789;
    with_dialog(open_settings, [](QDialog* d) {
        set_edit_text(edit_at(d, 1), "0.75");
        click(ok_button(d));
    });
    EXPECT_EQ(g_model.Smem, 0.1234568);
    EXPECT_EQ(g_model.Amem, 0.75);
}

TEST_F(Settings, BadFactorsDisableOk) {
    with_dialog(open_settings, [](QDialog* d) {
        for (const char* text : {"abc", "   ", "", "1e999", "3*", "3*0.5", "/", "0.5.5",
                                 "x2345678901234567890123456789012345678901234567890"}) {
            set_edit_text(edit_at(d, 0), text);
            EXPECT_EQ(control_text(kSettingsStatus), "Error: Invalid format of Smem") << text;
            EXPECT_FALSE(control_enabled(1)) << text;
        }
        set_edit_text(edit_at(d, 0), "0,5");
        EXPECT_EQ(control_text(kSettingsStatus), "Use a decimal point");
        set_edit_text(edit_at(d, 0), "x");
        // Fifty digits read as one large number: no range applies to the factors.
        set_edit_text(edit_at(d, 1), "12345678901234567890123456789012345678901234567890x");
        EXPECT_EQ(control_text(kSettingsStatus), "");
        set_edit_text(edit_at(d, 1), "y");
        EXPECT_EQ(control_text(kSettingsStatus), "Error: Invalid format of Amem");
        set_edit_text(edit_at(d, 1), "0.5 0.7");
        EXPECT_EQ(control_text(kSettingsStatus), "Only one number, please");
        set_edit_text(edit_at(d, 1), "0.5");
        EXPECT_EQ(control_text(kSettingsStatus), "");
        EXPECT_FALSE(control_enabled(1));
        set_edit_text(edit_at(d, 0), " 0.25 ");
        EXPECT_TRUE(control_enabled(1));
        click(ok_button(d));
    });
    EXPECT_EQ(g_model.Smem, 0.25);
    EXPECT_EQ(g_model.Amem, 0.5);
}

TEST_F(Axes, OkWithoutEditsRoundsToSevenDigits) {
    g_model.Hmax = 1.23456789;
    g_model.Bmin = -0.987654321;
    with_dialog(open_axes, [](QDialog* d) {
        EXPECT_EQ(control_text(kHmaxEdit), "1.234568");
        EXPECT_EQ(control_text(kHminEdit), "-1.000000");
        EXPECT_EQ(control_text(kBmaxEdit), "1.000000");
        EXPECT_EQ(control_text(kBminEdit), "-0.9876543");
        EXPECT_EQ(control_text(kAxesStatus), "");
        click(ok_button(d));
    });
    EXPECT_EQ(g_model.Hmax, 1.234568);
    EXPECT_EQ(g_model.Bmin, -0.9876543);
    EXPECT_EQ(g_model.Hmin, -1.0);
}

TEST_F(Axes, OkRedrawsWithTheNewRanges) {
    with_dialog(open_axes, [](QDialog* d) {
        set_edit_text(hmin_edit(d), "-2");
        set_edit_text(bmax_edit(d), "3");
        click(ok_button(d));
    });
    EXPECT_EQ(g_model.Hmin, -2.0);
    EXPECT_EQ(g_model.Bmax, 3.0);
    EXPECT_EQ(g_model.HperPixel, 3.0 / (g_model.PlotRight - g_model.PlotLeft));
    EXPECT_EQ(g_model.BperPixel, 4.0 / (g_model.PlotBottom - g_model.PlotTop));
}

TEST_F(Axes, CancelChangesNothing) {
    with_dialog(open_axes, [](QDialog* d) {
        set_edit_text(hmin_edit(d), "-2");
        click(cancel_button(d));
    });
    EXPECT_EQ(g_model.Hmin, -1.0);
    EXPECT_EQ(g_model.HperPixel, 2.0 / (g_model.PlotRight - g_model.PlotLeft));
}

TEST_F(Axes, BoundsOutOfOrderDisableOk) {
    with_dialog(open_axes, [](QDialog* d) {
        set_edit_text(hmin_edit(d), "1");
        EXPECT_EQ(control_text(kAxesStatus), "Error: Hmin must be less than Hmax");
        EXPECT_FALSE(control_enabled(1));
        set_edit_text(hmax_edit(d), "2");
        EXPECT_EQ(control_text(kAxesStatus), "");
        EXPECT_TRUE(control_enabled(1));
        set_edit_text(hmax_edit(d), "0.5");
        EXPECT_EQ(control_text(kAxesStatus), "Error: Hmin must be less than Hmax");
        set_edit_text(hmax_edit(d), "1.5");
        set_edit_text(bmax_edit(d), "-1");
        EXPECT_EQ(control_text(kAxesStatus), "Error: Bmin must be less than Bmax");
        EXPECT_FALSE(control_enabled(1));
        set_edit_text(bmin_edit(d), "-3");
        EXPECT_EQ(control_text(kAxesStatus), "");
        EXPECT_TRUE(control_enabled(1));
        click(ok_button(d));
    });
    EXPECT_EQ(g_model.Hmin, 1.0);
    EXPECT_EQ(g_model.Hmax, 1.5);
    EXPECT_EQ(g_model.Bmin, -3.0);
    EXPECT_EQ(g_model.Bmax, -1.0);
}

TEST_F(Axes, BoundsThatShowEqualCannotBeConfirmed) {
    // Apart by less than G14.7 shows: OK would store them equal.
    g_model.Hmin = 0.99999999;
    with_dialog(open_axes, [](QDialog* d) {
        EXPECT_EQ(control_text(kAxesStatus), "Error: Hmin must be less than Hmax");
        EXPECT_FALSE(control_enabled(1));
        click(ok_button(d)); // disabled: the dialog stays
        EXPECT_TRUE(d->isVisible());
    });
    EXPECT_EQ(g_model.Hmin, 0.99999999);
}

TEST_F(Axes, BoundsBeyondAThousandAreRejected) {
    struct Case {
        int edit;            // edit_at index
        const char* message; // status for a bound beyond 1000
    };
    const Case cases[] = {{0, "Error: |Hmin| must not exceed 1000"},
                          {1, "Error: |Hmax| must not exceed 1000"},
                          {2, "Error: |Bmin| must not exceed 1000"},
                          {3, "Error: |Bmax| must not exceed 1000"}};
    with_dialog(open_axes, [&](QDialog* d) {
        for (const Case& c : cases) {
            for (const char* text : {"1000.5", "-1e4", "1d300",
                                     "12345678901234567890123456789012345678901234567890x"}) {
                set_edit_text(edit_at(d, c.edit), text);
                EXPECT_EQ(control_text(kAxesStatus), c.message) << text;
                EXPECT_FALSE(control_enabled(1)) << text;
            }
            set_edit_text(edit_at(d, c.edit), c.edit % 2 == 0 ? "-1000" : "1000");
            EXPECT_EQ(control_text(kAxesStatus), "");
        }
        EXPECT_TRUE(control_enabled(1));
        click(ok_button(d));
    });
    EXPECT_EQ(g_model.Hmin, -1000.0);
    EXPECT_EQ(g_model.Hmax, 1000.0);
    EXPECT_EQ(g_model.Bmin, -1000.0);
    EXPECT_EQ(g_model.Bmax, 1000.0);
}

TEST_F(Axes, BadTextInEachField) {
    const char* names[] = {"Hmin", "Hmax", "Bmin", "Bmax"};
    with_dialog(open_axes, [&](QDialog* d) {
        for (int i = 0; i < 4; ++i) {
            for (const char* text : {"abc", "   ", "", "1e999", "0.5.5", "NaN",
                                     "x2345678901234567890123456789012345678901234567890"}) {
                set_edit_text(edit_at(d, i), text);
                EXPECT_EQ(control_text(kAxesStatus),
                          std::string("Error: Invalid format of ") + names[i])
                    << text;
                EXPECT_FALSE(control_enabled(1)) << text;
            }
            set_edit_text(edit_at(d, i), "0,5");
            EXPECT_EQ(control_text(kAxesStatus), "Use a decimal point");
            set_edit_text(edit_at(d, i), "0.5 0.7");
            EXPECT_EQ(control_text(kAxesStatus), "Only one number, please");
            EXPECT_FALSE(control_enabled(1));
            // The bound the field showed at opening: the field is valid again.
            set_edit_text(edit_at(d, i), i == 0 || i == 2 ? "-1" : "1");
            EXPECT_EQ(control_text(kAxesStatus), "");
        }
        EXPECT_TRUE(control_enabled(1));
        set_edit_text(hmax_edit(d), "0.5");
        click(ok_button(d));
    });
    EXPECT_EQ(g_model.Hmin, -1.0);
    EXPECT_EQ(g_model.Hmax, 0.5);
    EXPECT_EQ(g_model.Bmin, -1.0);
    EXPECT_EQ(g_model.Bmax, 1.0);
}
