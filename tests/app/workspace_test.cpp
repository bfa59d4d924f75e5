// Open and Close workspace with the parameter dialog 105, driven headless.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QMdiSubWindow>
#include <QDialog>
#include <QLineEdit>
#include <cmath>
#include <cstring>
#include <string>

#include "model/density_lorentz.h"
#include "app/menu_callbacks.h"
#include "app/workspace.h"
#include "model/model_state.h"
#include "model/preisach.h"
#include "shell_driver.h"
#include "shell_fixture.h"
#include "text/number_format.h"
#include "window/graph/graphics.h"
#include "window/graph/mouse.h"
#include "model/mouse_interaction.h"
#include "window/kernel/menus.h"
#include "window/kernel/units.h"
#include "window/kernel/window_table.h"

namespace {

bool grayed(int menu, int item) {
    return (menu_item_flags(menu, item) & 1) != 0;
}

void open_workspace_menu() {
    int32_t state = 0;
    on_open_workspace(state);
}

// "Parameter Kmax =" and Kmax in G14.7, as the status line shows it (trailing blanks dropped).
std::string kmax_status(double Kmax) {
    char text[30];
    format_label_real(text, 30, "(a,g14.7)", "Parameter Kmax =", Kmax);
    std::string s(text, 30);
    s.erase(s.find_last_not_of(' ') + 1);
    return s;
}

double kmax_for(double Hc) {
    ModelState* m = new ModelState(g_model);
    m->density.parameter[kLorentzHc] = Hc;
    compute_kmax(*m);
    const double k = m->density.norm;
    delete m;
    return k;
}

} // namespace

using Workspace = ShellTest;

TEST_F(Workspace, FirstOpeningShowsTheStartupValues) {
    with_dialog(open_workspace_menu, [](QDialog* d) {
        EXPECT_EQ(control_text(kHcEdit), "0.4000000");
        EXPECT_EQ(control_text(kHcStatus), "Parameter Kmax =  3.238588");
        EXPECT_TRUE(control_enabled(1));
        EXPECT_EQ(edit_at(d, 0)->text(), "0.4000000");
        click(push_button_at(d, 1)); // Cancel
    });
    // Cancelled: no workspace, menus as before.
    EXPECT_EQ(window_handle_for_unit(kWorkspaceUnit), 0);
    EXPECT_FALSE(grayed(1, 1));
    EXPECT_TRUE(grayed(4, 2));
}

TEST_F(Workspace, ValuesOutsideZeroToOneAreRejected) {
    const double Hc = g_model.density.parameter[kLorentzHc], Kmax = g_model.density.norm;
    with_dialog(open_workspace_menu, [&](QDialog* d) {
        for (const char* text : {"1", "0", "-0.5", "1.0", "1e3", "-0", "11111111111111111111"}) {
            set_edit_text(edit_at(d, 0), text);
            EXPECT_EQ(control_text(kHcStatus), "Error: must be 0<Hc<1") << text;
            EXPECT_FALSE(control_enabled(1)) << text;
            EXPECT_EQ(g_model.density.parameter[kLorentzHc], Hc) << text;
            EXPECT_EQ(g_model.density.norm, Kmax) << text;
        }
    });
}

TEST_F(Workspace, ValuesBelowTheSmallestHcAreRejected) {
    with_dialog(open_workspace_menu, [](QDialog* d) {
        for (const char* text : {"0.0005", "0.0001", "9.9999e-4", "1d-300"}) {
            set_edit_text(edit_at(d, 0), text);
            EXPECT_EQ(control_text(kHcStatus), "Error: Hc must be at least 0.001") << text;
            EXPECT_FALSE(control_enabled(1)) << text;
        }
        set_edit_text(edit_at(d, 0), "0.001");
        EXPECT_EQ(g_model.density.parameter[kLorentzHc], 0.001);
        EXPECT_EQ(control_text(kHcStatus), kmax_status(g_model.density.norm));
        EXPECT_TRUE(control_enabled(1));
    });
}

TEST_F(Workspace, BadTextGivesItsMessageAndChangesNothing) {
    // Texts that do not read, and texts whose read ends at a separator after a value out of range.
    struct Row {
        const char* text;
        const char* status;
    };
    const char* const invalid = "Error: Invalid format of Hc";
    const char* const range = "Error: must be 0<Hc<1";
    const Row rows[] = {
        {"abc", invalid},
        {"   ", invalid},
        {"", invalid},
        {"1e999", invalid},
        {"0.5.5", invalid},
        {"NaN", invalid},
        {"inf", invalid},
        {"0.3;", invalid},
        {"0.3/", invalid},
        {"3*0.5", invalid},
        {"0,5x", "Use a decimal point"},
        {"0.5 0.7", "Only one number, please"},
        {"12345678901234567890123456789012345678901234567890", range},
    };
    with_dialog(open_workspace_menu, [&](QDialog* d) {
        set_edit_text(edit_at(d, 0), "0.3");
        const double Kmax = g_model.density.norm;
        for (const Row& row : rows) {
            set_edit_text(edit_at(d, 0), "0.3"); // valid first: the message must replace it
            set_edit_text(edit_at(d, 0), row.text);
            EXPECT_EQ(control_text(kHcStatus), row.status) << row.text;
            EXPECT_FALSE(control_enabled(1)) << row.text;
            EXPECT_EQ(g_model.density.parameter[kLorentzHc], 0.3) << row.text;
            EXPECT_EQ(g_model.density.norm, Kmax) << row.text;
        }
    });
}

TEST_F(Workspace, OnlyOneNumberWithADecimalPointReads) {
    // Each of these once read part of the text (or nothing) and was taken as valid.
    struct Row {
        const char* text;
        const char* status;
    };
    const Row rows[] = {
        {"0,5", "Use a decimal point"},         {",", "Use a decimal point"},
        {",5", "Use a decimal point"},          {" , 0.7", "Use a decimal point"},
        {"0.5 0.7", "Only one number, please"}, {"0.5 abc", "Only one number, please"},
        {"/", "Error: Invalid format of Hc"},   {"3*", "Error: Invalid format of Hc"},
    };
    with_dialog(open_workspace_menu, [&](QDialog* d) {
        set_edit_text(edit_at(d, 0), "0.3");
        const double Kmax = g_model.density.norm;
        for (const Row& row : rows) {
            set_edit_text(edit_at(d, 0), row.text);
            EXPECT_EQ(control_text(kHcStatus), row.status) << row.text;
            EXPECT_EQ(g_model.density.parameter[kLorentzHc], 0.3) << row.text;
            EXPECT_EQ(g_model.density.norm, Kmax) << row.text;
            EXPECT_FALSE(control_enabled(1)) << row.text;
        }
        set_edit_text(edit_at(d, 0), "  0.5  ");
        EXPECT_EQ(g_model.density.parameter[kLorentzHc], 0.5);
        EXPECT_TRUE(control_enabled(1));
    });
}

TEST_F(Workspace, EveryKeystrokeRecomputesKmax) {
    with_dialog(open_workspace_menu, [](QDialog* d) {
        type_into(edit_at(d, 0), "0.25");
        EXPECT_EQ(edit_at(d, 0)->text(), "0.25");
        EXPECT_EQ(g_model.density.parameter[kLorentzHc], 0.25);
        EXPECT_EQ(g_model.density.norm, kmax_for(0.25));
        EXPECT_EQ(control_text(kHcStatus), kmax_status(g_model.density.norm));
        EXPECT_NE(g_model.density.norm, 3.2385880947113037);
    });
}

TEST_F(Workspace, CancelKeepsTheLastValidValue) {
    with_dialog(open_workspace_menu, [](QDialog* d) {
        set_edit_text(edit_at(d, 0), "0.3");
        set_edit_text(edit_at(d, 0), "0.3x");
        EXPECT_FALSE(control_enabled(1));
        click(push_button_at(d, 1));
    });
    EXPECT_EQ(g_model.density.parameter[kLorentzHc], 0.3);
    EXPECT_EQ(g_model.density.norm, kmax_for(0.3));
    EXPECT_EQ(window_handle_for_unit(kWorkspaceUnit), 0);
    with_dialog(open_workspace_menu, [](QDialog*) {
        EXPECT_EQ(control_text(kHcEdit), "0.3000000");
        EXPECT_EQ(control_text(kHcStatus), kmax_status(g_model.density.norm));
    });
}

TEST_F(Workspace, OkOpensTheWorkspace) {
    open_workspace_with_ok();
    const int handle = window_handle_for_unit(kWorkspaceUnit);
    ASSERT_NE(handle, 0);
    char title[100];
    const int n = window_title(handle, title, sizeof title);
    EXPECT_EQ(std::string(title, n > 0 ? n : 0), "Hysteresis modeling workspace");
    EXPECT_TRUE(grayed(1, 1));
    EXPECT_FALSE(grayed(1, 2));
    EXPECT_FALSE(grayed(4, 2));
    EXPECT_FALSE(grayed(4, 3));
    EXPECT_FALSE(grayed(4, 4));
    // The model at negative saturation with the limiting loop of the current Hc.
    EXPECT_EQ(g_model.Hcur, -1.0);
    EXPECT_EQ(g_model.Hn, -1.0);
    EXPECT_EQ(g_model.Ndrawn, 0);
    EXPECT_EQ(g_model.Hmaj[1], -1.0);
    EXPECT_NE(g_model.Bmaj[101], 0.0);
    // The plot rectangle from the surface size.
    WindowConfig config = {};
    ASSERT_NE(get_window_config(config), 0);
    EXPECT_EQ(g_model.PlotRight, 67 + 4 * ((config.width - 107) / 4));
    EXPECT_EQ(g_model.PlotBottom, 8 + 4 * ((config.height - 160) / 4));
    EXPECT_EQ(g_model.HperPixel, 2.0 / (g_model.PlotRight - 67));
    // The handler is registered for left, right and move: registering again replaces it.
    EXPECT_EQ(register_mouse_event(kWorkspaceUnit, kWorkspaceMouseMask, on_mouse_event), 1);
}

TEST_F(Workspace, CloseRemovesTheWindowAndRestoresTheMenus) {
    open_workspace_with_ok();
    close_workspace();
    EXPECT_EQ(window_handle_for_unit(kWorkspaceUnit), 0);
    EXPECT_FALSE(grayed(1, 1));
    EXPECT_TRUE(grayed(1, 2));
    EXPECT_TRUE(grayed(4, 2));
    EXPECT_TRUE(grayed(4, 3));
    EXPECT_TRUE(grayed(4, 4));
}

// Every opening, the first and a reopening alike: the workspace window is maximised and its
// surface is what the window shows, so the whole plot is on screen without scroll bars.
TEST_F(Workspace, EveryOpeningIsMaximisedWithTheWholePlotShown) {
    for (int opening = 1; opening <= 2; ++opening) {
        open_workspace_with_ok();
        ChildWindow* cw = window_for_unit(kWorkspaceUnit);
        ASSERT_NE(cw, nullptr);
        ASSERT_NE(cw->sub, nullptr);
        EXPECT_TRUE(cw->sub->isMaximized()) << opening;
        WindowConfig config = {};
        ASSERT_NE(get_window_config(config), 0);
        const QSize shown = static_cast<QAbstractScrollArea*>(cw->view)->maximumViewportSize();
        EXPECT_EQ(config.width, shown.width()) << opening;
        EXPECT_EQ(config.height, shown.height()) << opening;
        EXPECT_LT(g_model.PlotBottom + 40, config.height) << "the read-outs are on the surface";
        close_workspace();
    }
}

TEST_F(Workspace, ReopeningStartsFromNegativeSaturationInANewWindow) {
    open_workspace_with_ok();
    g_model.Hn = 0.5;
    int32_t unit = 10, event = kMouseRightDown, keys = 0, x = 0, y = 0;
    on_mouse_event(unit, event, keys, x, y);
    EXPECT_GT(g_model.Ndrawn, 0);
    // The first construction greys "Settings..." and draws: "Save results..." is enabled.
    EXPECT_TRUE(grayed(4, 3));
    EXPECT_FALSE(grayed(1, 3));
    close_workspace();
    with_dialog(open_workspace_menu, [](QDialog* d) {
        set_edit_text(edit_at(d, 0), "0.3");
        click(push_button_at(d, 0));
    });
    ASSERT_NE(window_handle_for_unit(kWorkspaceUnit), 0);
    EXPECT_FALSE(grayed(4, 3));
    EXPECT_EQ(g_model.Hcur, -1.0);
    EXPECT_EQ(g_model.Bcur, -1.0);
    EXPECT_EQ(g_model.Krev, 0);
    EXPECT_EQ(g_model.Ndrawn, 0);
    EXPECT_EQ(g_model.density.parameter[kLorentzHc], 0.3);
    // The limiting loop is the one of Hc = 0.3: its ascending branch is the curve up from
    // negative saturation with that Hc, not with the start-up one.
    ModelState* m = new ModelState(g_model);
    const double H = g_model.Hmaj[51];
    EXPECT_NEAR(g_model.Bmaj[51], everett_integral(*m, H), 1e-12);
    m->density.parameter[kLorentzHc] = 0.4000000059604645;
    m->density.norm = 3.2385880947113037;
    EXPECT_GT(std::fabs(g_model.Bmaj[51] - everett_integral(*m, H)), 1e-3);
    delete m;
}
