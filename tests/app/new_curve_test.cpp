// A full curve buffer says so in the workspace, and "New curve" goes on from the present point.
#include <gtest/gtest.h>

#include <QImage>
#include <cstdint>

#include "app/menu_callbacks.h"
#include "app/menu_state.h"
#include "app/new_curve.h"
#include "model/curve_construction.h"
#include "model/model_state.h"
#include "model/plot.h"
#include "shell_fixture.h"
#include "window/graph/graphics_data.h"
#include "window/kernel/menus.h"
#include "window/kernel/units.h"
#include "window/kernel/window_table.h"

namespace {

QImage workspace_surface() {
    ChildWindow* cw = window_for_handle(window_handle_for_unit(10));
    if (cw == nullptr) return QImage();
    std::lock_guard<WindowMutex> hold(cw->lock);
    return graphics_of(cw).gfx.surface.copy();
}

// Pixels of the curve's red in the band where the full buffer's message stands.
int red_pixels_below_readouts() {
    const QImage s = workspace_surface();
    int n = 0;
    for (int y = g_model.PlotBottom + 45; y < g_model.PlotBottom + 70 && y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x)
            if (s.pixelColor(x, y) == QColor(255, 0, 0)) ++n;
    return n;
}

void right_click_to(double Hn) {
    g_model.Hn = Hn;
    construct_to_hn(g_model);
    draw_new_points_under_marker(g_model);
    set_whole_viewport();
}

class NewCurve : public WorkspaceShellTest {
  protected:
    void TearDown() override {
        set_curve_bound_for_testing(kCurveBound);
        WorkspaceShellTest::TearDown();
    }
};

TEST_F(NewCurve, AFullBufferSaysSoAndANewCurveGoesOnFromThePresentPoint) {
    set_curve_bound_for_testing(500);
    right_click_to(0.5);
    EXPECT_FALSE(curve_buffer_full());
    EXPECT_EQ(red_pixels_below_readouts(), 0);
    right_click_to(-0.5); // 300 more points do not fit: the construction stops at the bound
    ASSERT_TRUE(curve_buffer_full());
    EXPECT_EQ(g_model.met, kMetStopped);
    EXPECT_GT(red_pixels_below_readouts(), 100) << "the message is written below the read-outs";
    const double H = g_model.Hcurve[500];
    const double B = g_model.Bcurve[500];
    right_click_to(-0.6); // still full: nothing is added
    EXPECT_EQ(g_model.Ndrawn, 500);

    ASSERT_EQ(menu_item_flags(kStateMenu, app_menu_item(AppCommand::new_curve)) & 1, 0);
    ASSERT_EQ(choose_menu_item(kStateMenu, app_menu_item(AppCommand::new_curve)), 1);
    EXPECT_EQ(g_model.Ndrawn, 0);
    EXPECT_EQ(g_model.Hcurve[0], H);
    EXPECT_EQ(g_model.Bcurve[0], B);
    EXPECT_EQ(g_model.Hcur, H);
    EXPECT_EQ(red_pixels_below_readouts(), 0) << "the redrawn plot drops the message";
    right_click_to(-0.6);
    EXPECT_EQ(g_model.met, kMetFinished);
    EXPECT_EQ(g_model.Hcur, -0.6);
    EXPECT_GT(g_model.Ndrawn, 0);
}

} // namespace
