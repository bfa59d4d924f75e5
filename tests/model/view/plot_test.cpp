// The plot drawn on a headless 1024 x 768 workspace: geometry, frame, grid, labels, limiting
// loop, curve, marker and read-out, and what it does with degenerate or far-away values.
#include <gtest/gtest.h>

#include <cmath>

#include "model/curve_construction.h"
#include "model/model_seams.h"
#include "model/model_state.h"
#include "model/plot.h"
#include "model/plot_geometry.h"
#include "text/number_format.h"
#include "workspace_fixture.h"

namespace {

// y of a B value and x of an H value on the plot, by the plot's own mapping.
int y_of(double B) {
    return g_model.PlotTop + static_cast<int>(std::lround((g_model.Bmax - B) / g_model.BperPixel));
}
int x_of(double H) {
    return g_model.PlotLeft + static_cast<int>(std::lround((H - g_model.Hmin) / g_model.HperPixel));
}

struct SurfaceCase {
    int width, height; // surface pixels
    int right, bottom; // expected PlotRight, PlotBottom
};

// 67 + 4 * ((W - 107) div 4) and 8 + 4 * ((Ht - 160) div 4), truncating toward zero.
const SurfaceCase kSurfaceCases[] = {
    {1024, 768, 67 + 4 * 229, 8 + 4 * 152},
    {1025, 771, 67 + 4 * 229, 8 + 4 * 152},
    {1027, 772, 67 + 4 * 230, 8 + 4 * 153},
    {107, 160, 67, 8},
    {100, 150, 67 - 4 * 1, 8 - 4 * 2}, // -7 div 4 = -1, -10 div 4 = -2
    {104, 157, 67, 8},                 // -3 div 4 = 0
    {0, 0, 67 - 4 * 26, 8 - 4 * 40},
};

} // namespace

TEST(PlotGeometry, PlotRectangleFromSurfaceSize) {
    for (const SurfaceCase& c : kSurfaceCases) {
        ModelState* m = new ModelState();
        set_plot_surface(*m, c.width, c.height);
        EXPECT_EQ(m->PlotLeft, 67);
        EXPECT_EQ(m->PlotTop, 8);
        EXPECT_EQ(m->PlotRight, c.right) << c.width;
        EXPECT_EQ(m->PlotBottom, c.bottom) << c.height;
        delete m;
    }
}

TEST(PlotGeometry, ColumnRoundsHalvesAwayFromZero) {
    const double per_pixel = 0.5;
    EXPECT_EQ(field_column(0.0, 0.0, per_pixel, 67), 67);
    EXPECT_EQ(field_column(0.25, 0.0, per_pixel, 67), 68); // 0.5 pixel
    EXPECT_EQ(field_column(0.24, 0.0, per_pixel, 67), 67);
    EXPECT_EQ(field_column(-0.25, 0.0, per_pixel, 67), 66); // -0.5 pixel
    EXPECT_EQ(field_column(-0.24, 0.0, per_pixel, 67), 67);
}

TEST(PlotGeometry, ColumnSaturatesAndNeverDividesByZero) {
    const int16_t far_right = field_column(1e300, -1.0, 2.0 / 916, 67);
    const int16_t far_left = field_column(-1e300, -1.0, 2.0 / 916, 67);
    EXPECT_GT(far_right, 30000);
    EXPECT_LT(far_left, -30000);
    // Room for the marker's offsets on both sides.
    EXPECT_LE(far_right + 6, 32767);
    EXPECT_GE(far_left - 3, -32768);
    EXPECT_EQ(field_column(0.5, 0.5, 0.0, 67), 67);
    EXPECT_EQ(field_column(std::nan(""), 0.0, 1.0, 67), 67);
    EXPECT_EQ(field_column(0.0, 0.0, std::nan(""), 67), 67);
    EXPECT_EQ(field_per_pixel(0.5, 0.5, 916), 0.0);
    EXPECT_EQ(field_per_pixel(-1.0, 1.0, 0), 0.0);
}

TEST_F(WorkspaceTest, SurfaceOf1024By768GivesThePlotRectangle) {
    EXPECT_EQ(g_model.PlotRight, 983);
    EXPECT_EQ(g_model.PlotBottom, 616);
    EXPECT_DOUBLE_EQ(g_model.HperPixel, 2.0 / 916);
    EXPECT_DOUBLE_EQ(g_model.BperPixel, 2.0 / 608);
}

TEST_F(WorkspaceTest, FrameIsBlackAtThePlotRectangle) {
    // Away from the corners, where the limiting loop runs into the frame, and with the marker
    // outside the plot.
    g_model.Hn = 5.0;
    redraw_plot(g_model);
    const QImage img = snapshot();
    for (int x = 300; x <= 700; ++x) {
        EXPECT_EQ(rgb_at(img, x, 8), kBlack) << x;
        EXPECT_EQ(rgb_at(img, x, 616), kBlack) << x;
        EXPECT_EQ(rgb_at(img, x, 7), kWhite) << x;
    }
    for (int y = 40; y <= 580; ++y) {
        EXPECT_EQ(rgb_at(img, 67, y), kBlack) << y;
        EXPECT_EQ(rgb_at(img, 983, y), kBlack) << y;
        EXPECT_EQ(rgb_at(img, 984, y), kWhite) << y;
    }
    // Left of the frame, between the B labels.
    for (int y = 20; y <= 150; ++y)
        EXPECT_EQ(rgb_at(img, 66, y), kWhite) << y;
}

TEST_F(WorkspaceTest, QuarterGridIsDotted) {
    g_model.Hn = 0.1;
    redraw_plot(g_model);
    const QImage img = snapshot();
    for (int j = 1; j <= 3; ++j) {
        const int y = 8 + 152 * j;
        const int x = 67 + 229 * j;
        // Along a stretch the loop does not cross, about half the pixels are set.
        const int on_h = count_colour(img, kBlack, 300, y, 500, y);
        EXPECT_GT(on_h, 60) << "row " << y;
        EXPECT_LT(on_h, 141) << "row " << y;
        EXPECT_EQ(count_colour(img, kBlack, 300, y - 1, 500, y - 1), 0);
        const int on_v = count_colour(img, kBlack, x, 200, x, 260);
        EXPECT_GT(on_v, 18) << "column " << x;
        EXPECT_LT(on_v, 43) << "column " << x;
    }
}

TEST_F(WorkspaceTest, LimitingLoopIsGreenAndDotted) {
    const QImage img = snapshot();
    const int green = count_colour(img, kGreen, 67, 8, 983, 616);
    // Two branches across the plot, drawn with gaps.
    EXPECT_GT(green, 900);
    EXPECT_LT(green, 4000);
    // Clipped to the plot area; the legend's sample below the read-outs is the only other green.
    const int above_legend = g_model.PlotBottom + kLegendOffset - 1;
    EXPECT_EQ(count_colour(img, kGreen, 0, 0, 66, above_legend), 0);
    EXPECT_GT(count_colour(img, kGreen, 20, above_legend + 1, 60, 767), 10);
    // Near H = 0 on both branches (entries 51 ascending and 151 descending).
    for (int k : {51, 151}) {
        const int x = x_of(g_model.Hmaj[k]);
        const int y = y_of(g_model.Bmaj[k]);
        EXPECT_GT(count_colour(img, kGreen, x - 3, y - 3, x + 3, y + 3), 0) << "entry " << k;
    }
    EXPECT_EQ(count_colour(img, kRed, 0, 0, 1023, above_legend), 0); // no curve yet
}

TEST_F(WorkspaceTest, TickLabelsInF82) {
    g_model.Hn = 0.1;
    redraw_plot(g_model);
    const QImage img = snapshot();
    // B labels from the top down, in the margin left of the frame.
    // (The labels stand over the frame's corners and each other's cells; each is compared where
    // no other figure reaches.)
    const char* b_labels[] = {"    1.00", "    0.50", "    0.00", "   -0.50", "   -1.00"};
    for (int j = 0; j <= 3; ++j)
        expect_text_at(img, b_labels[j], 1, 8 + 152 * j - 5, 0, 0, 60);
    expect_text_at(img, b_labels[4], 1, 611, 0, 0, 60, 615);
    // H labels from left to right under the plot.
    const char* h_labels[] = {"   -1.00", "   -0.50", "    0.00", "    0.50", "    1.00"};
    for (int j = 0; j <= 4; ++j)
        expect_text_at(img, h_labels[j], 67 + 229 * j - 43, 621, 0, 626, 1 << 20, 635);
    expect_text_at(img, "H", 983 - 10, 616 - 12, 0, 0, 982, 615);
    expect_text_at(img, "B", 69, 10, 74, 9);
}

TEST_F(WorkspaceTest, HnReadoutBelowThePlot) {
    expect_text_at(snapshot(), "Hn=-1.000000    ", 20, 636);
    g_model.Hn = 0.5;
    show_hn_label(g_model);
    const QImage img = snapshot();
    expect_text_at(img, "Hn=0.5000000    ", 20, 636);
    EXPECT_EQ(count_colour(img, kWhite, 20, 636, 180, 656) +
                  count_colour(img, kBlack, 20, 636, 180, 656),
              161 * 21);
}

TEST_F(WorkspaceTest, MarkerDrawnTwiceLeavesTheSurfaceUnchanged) {
    const QImage before = snapshot();
    toggle_marker(g_model, false);
    const QImage erased = snapshot();
    EXPECT_NE(erased, before);
    toggle_marker(g_model, false);
    EXPECT_EQ(snapshot(), before);
}

TEST_F(WorkspaceTest, MarkerMovesToHn) {
    g_model.Hn = 0.0;
    toggle_marker(g_model, true);
    show_hn_label(g_model);
    EXPECT_EQ(g_model.MarkerX, 525 - 3);
    const QImage moved = snapshot();
    // The arrowhead below the bottom edge and the dotted line up the column, cyan XOR white.
    EXPECT_GT(count_colour(moved, kWhiteXorCyan, 522, 617, 528, 622), 0);
    EXPECT_GT(count_colour(moved, kWhiteXorCyan, 525, 100, 525, 300), 40);
    // Nothing is left at the old place (H = -1, column 67): a redraw with the marker at 0 agrees.
    redraw_plot(g_model);
    EXPECT_EQ(snapshot(), moved);
}

TEST_F(WorkspaceTest, FarHnSaturatesTheMarker) {
    const QImage before = snapshot();
    for (double h : {1e300, -1e300, 1e6, -40.0}) {
        g_model.Hn = h;
        toggle_marker(g_model, true);
        // Outside the plot: only the old marker was erased.
        g_model.Hn = -1.0;
        toggle_marker(g_model, true);
        EXPECT_EQ(snapshot(), before) << h;
    }
    g_model.Hn = 1e300;
    redraw_plot(g_model);
    EXPECT_GT(g_model.MarkerX, 30000);
}

static int g_points_drawn_calls = 0;
static void count_points_drawn() {
    ++g_points_drawn_calls;
}

TEST_F(WorkspaceTest, NewPointsDrawnInRedAreReported) {
    g_points_drawn_calls = 0;
    set_points_drawn(count_points_drawn);
    draw_new_points(g_model); // Nnew = 0: nothing to commit
    set_whole_viewport();
    EXPECT_EQ(g_points_drawn_calls, 0);
    g_model.Hn = 0.5;
    construct_to_hn(g_model);
    const int32_t n = g_model.Nnew;
    EXPECT_GT(n, 0);
    draw_new_points(g_model);
    set_whole_viewport();
    EXPECT_EQ(g_model.Ndrawn, n);
    EXPECT_EQ(g_model.Nnew, 0);
    EXPECT_EQ(g_points_drawn_calls, 1);
    set_points_drawn(nullptr);
    const QImage img = snapshot();
    EXPECT_GT(count_colour(img, kRed, 67, 8, 983, 616), 300);
    // The end of the curve is on the plot.
    const int x = x_of(g_model.Hcur), y = y_of(g_model.Bcur);
    EXPECT_GT(count_colour(img, kRed, x - 1, y - 1, x + 1, y + 1), 0);
}

TEST_F(WorkspaceTest, RedrawDrawsTheWholeCurveAgain) {
    g_model.Hn = 0.5;
    construct_to_hn(g_model);
    draw_new_points(g_model);
    set_whole_viewport();
    toggle_marker(g_model, true);
    show_hn_label(g_model);
    const QImage incremental = snapshot();
    const int32_t drawn = g_model.Ndrawn;
    redraw_plot(g_model);
    EXPECT_EQ(g_model.Ndrawn, drawn);
    EXPECT_EQ(g_model.Nnew, 0);
    EXPECT_EQ(snapshot(), incremental);
}

TEST_F(WorkspaceTest, EqualAxisBoundsDrawNoCurveAndDivideByNothing) {
    g_model.Hn = 0.5;
    construct_to_hn(g_model);
    draw_new_points(g_model);
    g_model.Hmin = g_model.Hmax = 0.25;
    g_model.Bmin = g_model.Bmax = -0.5;
    redraw_plot(g_model);
    EXPECT_EQ(g_model.HperPixel, 0.0);
    EXPECT_EQ(g_model.BperPixel, 0.0);
    EXPECT_EQ(g_model.MarkerX, 67 - 3);
    const QImage img = snapshot();
    const int above_legend = g_model.PlotBottom + kLegendOffset - 1;
    EXPECT_EQ(count_colour(img, kRed, 0, 0, 1023, above_legend), 0);
    EXPECT_EQ(count_colour(img, kGreen, 0, 0, 1023, above_legend), 0);
    EXPECT_EQ(rgb_at(img, 500, 8), kBlack); // the frame is there
    EXPECT_EQ(g_model.Nnew, 0);             // the points stay committed
}
