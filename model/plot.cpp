// Drawing the plot of the workspace window and the curve's new points.
#include "model/plot.h"

#include <cstring>

#include <algorithm>

#include "model/curve_construction.h"
#include "model/plot_geometry.h"
#include "text/number_format.h"
#include "window/graph/graphics.h"
#include "model/model_seams.h"

namespace {

// Surface size read at Open workspace; the geometry is not recomputed afterwards.
int32_t g_surface_width = 0;
int32_t g_surface_height = 0;

// The measurement shown over the model (null: none); owned by the workspace.
const MeasuredOverlay* g_measurement = nullptr;

bool measurement_shown() {
    return g_measurement != nullptr && overlay_shown(*g_measurement);
}

// Width of a tick label: F8.2.
constexpr int kTickLabelLength = 8;

// Largest coordinate handed to the 16-bit drawing calls.
constexpr int32_t kMaxPixel = 32767;

int16_t to_pixel(int32_t v) {
    return static_cast<int16_t>(std::clamp(v, -kMaxPixel, kMaxPixel));
}

// Draws value in F8.2 with the text's top-left corner at (x, y).
void draw_tick_label(double value, int32_t x, int32_t y) {
    char text[kTickLabelLength];
    format_real(text, kTickLabelLength, "(F8.2)", value);
    PixelPoint previous;
    move_to(to_pixel(x), to_pixel(y), previous);
    draw_text(text, kTickLabelLength);
}

void draw_character(const char* c, int32_t x, int32_t y) {
    PixelPoint previous;
    move_to(to_pixel(x), to_pixel(y), previous);
    draw_text(c, 1);
}

// The legend below the read-outs: a dotted green sample for the limiting loop, a solid red one
// for the curve, and what the axes show. The line style is left solid.
void draw_legend(const ModelState& m) {
    const int32_t y = m.PlotBottom + kLegendOffset;
    const int16_t line_y = to_pixel(y + kLegendSampleDrop);
    PixelPoint previous;
    set_color(kColourGreen);
    set_line_style(kDottedMask);
    move_to(to_pixel(kLegendLoopSample[0]), line_y, previous);
    line_to(to_pixel(kLegendLoopSample[1]), line_y);
    set_color(kColourRed);
    set_line_style(kSolidMask);
    move_to(to_pixel(kLegendCurveSample[0]), line_y, previous);
    line_to(to_pixel(kLegendCurveSample[1]), line_y);
    if (measurement_shown()) {
        set_color(kColourBlue);
        move_to(to_pixel(kLegendMeasurementSample[0]), line_y, previous);
        line_to(to_pixel(kLegendMeasurementSample[1]), line_y);
    }
    set_color(kColourBlack);
    for (const LegendText& t : kLegendTexts) {
        move_to(to_pixel(t.x), to_pixel(y), previous);
        draw_text(t.text, static_cast<int>(std::strlen(t.text)));
    }
    if (measurement_shown()) {
        const LegendText& t = kLegendMeasurementText;
        move_to(to_pixel(t.x), to_pixel(y), previous);
        draw_text(t.text, static_cast<int>(std::strlen(t.text)));
    }
}

// Every measured curve as a solid blue line, in the current window mapping.
void draw_measurement() {
    if (!measurement_shown()) return;
    set_line_style(kSolidMask);
    set_color(kColourBlue);
    WindowPoint previous;
    for (const OverlayCurve& c : g_measurement->curves) {
        if (c.H.empty()) continue;
        move_to_w(c.H[0], c.B[0], previous);
        for (size_t i = 1; i < c.H.size(); ++i)
            line_to_w(c.H[i], c.B[i]);
    }
}

// The marker: a border-only arrowhead with its tip on the bottom edge at column MarkerX + 3,
// and a dotted line up to the top edge. The caller chooses the write mode.
void draw_marker_shape(const ModelState& m) {
    const int32_t x = m.MarkerX;
    const int32_t bottom = m.PlotBottom;
    const PixelPoint triangle[3] = {{to_pixel(x), to_pixel(bottom + 6)},
                                    {to_pixel(x + 3), to_pixel(bottom)},
                                    {to_pixel(x + 6), to_pixel(bottom + 6)}};
    draw_polygon(kShapeBorder, triangle, 3);
    set_line_style(kDottedMask);
    PixelPoint previous;
    move_to(to_pixel(x + 3), to_pixel(bottom), previous);
    line_to(to_pixel(x + 3), m.PlotTop);
}

} // namespace

void set_plot_surface(ModelState& m, int32_t width_px, int32_t height_px) {
    g_surface_width = width_px;
    g_surface_height = height_px;
    m.PlotLeft = kPlotLeft;
    m.PlotTop = kPlotTop;
    m.PlotRight = plot_right_for_width(width_px);
    m.PlotBottom = plot_bottom_for_height(height_px);
}

void set_plot_measurement(const MeasuredOverlay* overlay) {
    g_measurement = overlay;
}

int32_t plot_surface_width() {
    return g_surface_width;
}
int32_t plot_surface_height() {
    return g_surface_height;
}

void set_whole_viewport() {
    set_viewport(0, 0, to_pixel(g_surface_width - 1), to_pixel(g_surface_height - 1));
}

int16_t marker_x_for_hn(const ModelState& m) {
    const int16_t column = field_column(m.Hn, m.Hmin, m.HperPixel, m.PlotLeft);
    return static_cast<int16_t>(column - 3);
}

void redraw_plot(ModelState& m) {
    // Redraw every point from the start point on, and the limiting loop with them.
    m.Nnew = m.Ndrawn;
    m.Ndrawn = 0;

    clear_screen(CLEAR_WINDOW);
    set_whole_viewport();
    set_color(kColourWhite);
    draw_rectangle(kShapeFill, 0, 0, to_pixel(g_surface_width - 1), to_pixel(g_surface_height - 1));

    m.HperPixel = field_per_pixel(m.Hmin, m.Hmax, m.PlotRight - m.PlotLeft);
    m.BperPixel = field_per_pixel(m.Bmin, m.Bmax, m.PlotBottom - m.PlotTop);

    const int32_t left = m.PlotLeft, top = m.PlotTop, right = m.PlotRight, bottom = m.PlotBottom;
    set_color(kColourBlack);
    set_line_style(kSolidMask);
    draw_rectangle(kShapeBorder, m.PlotLeft, m.PlotTop, m.PlotRight, m.PlotBottom);
    draw_tick_label(m.Bmax, 1, top - 5);

    set_line_style(kDottedMask);
    PixelPoint previous;
    for (int j = 1; j <= 3; ++j) {
        const int32_t y = top + ((bottom - top) * j) / 4;
        move_to(m.PlotLeft, to_pixel(y), previous);
        line_to(m.PlotRight, to_pixel(y));
        draw_tick_label(m.Bmax - 0.25 * j * (m.Bmax - m.Bmin), 1, y - 5);
    }
    draw_tick_label(m.Bmin, 1, bottom - 5);
    draw_tick_label(m.Hmin, left - 43, bottom + 5);
    for (int j = 1; j <= 3; ++j) {
        const int32_t x = left + ((right - left) * j) / 4;
        move_to(to_pixel(x), m.PlotTop, previous);
        line_to(to_pixel(x), m.PlotBottom);
        draw_tick_label(m.Hmin + 0.25 * j * (m.Hmax - m.Hmin), x - 43, bottom + 5);
    }
    draw_tick_label(m.Hmax, right - 43, bottom + 5);
    draw_character("H", right - 10, bottom - 12);
    draw_character("B", left + 2, top + 2);
    draw_legend(m);

    draw_new_points(m);

    set_whole_viewport();
    m.MarkerX = marker_x_for_hn(m);
    toggle_marker(m, false);
    show_hn_label(m);
    set_whole_viewport();
}

void draw_new_points(ModelState& m) {
    set_viewport(m.PlotLeft, m.PlotTop, m.PlotRight, m.PlotBottom);
    // Equal bounds have no mapping: the window layer refuses them and would keep the previous
    // one, so nothing is drawn then; the points are committed all the same.
    const bool mapped = set_window(true, m.Hmin, m.Bmin, m.Hmax, m.Bmax) != 0;
    WindowPoint previous;
    if (m.Ndrawn == 0 && mapped) {
        set_line_style(kDottedMask);
        set_color(kColourGreen);
        move_to_w(m.Hmaj[1], m.Bmaj[1], previous);
        const int32_t last = std::min(m.Nmaj + 1, kMajorSlots - 1);
        int32_t i = 0; // the next fine point
        for (int32_t j = 2; j <= last; ++j) {
            for (; i < m.Nfine && i < kMajorFineSlots && m.Kfine[i] < j; ++i)
                line_to_w(m.Hfine[i], m.Bfine[i]);
            line_to_w(m.Hmaj[j], m.Bmaj[j]);
        }
        set_line_style(kSolidMask);
        draw_measurement();
    }
    if (m.Nnew > 0) {
        if (mapped && m.Ndrawn >= 0 && m.Ndrawn < kCurveSlots) {
            set_color(kColourRed);
            move_to_w(m.Hcurve[m.Ndrawn], m.Bcurve[m.Ndrawn], previous);
            const int32_t last = std::min(m.Ndrawn + m.Nnew, kCurveSlots - 1);
            for (int32_t j = m.Ndrawn + 1; j <= last; ++j)
                line_to_w(m.Hcurve[j], m.Bcurve[j]);
        }
        commit_new_points(m);
        notify_points_drawn();
    }
}

void draw_new_points_under_marker(ModelState& m) {
    // Only what lies under the marker matters: XOR twice at MarkerX is the identity.
    set_whole_viewport();
    toggle_marker(m, false);
    draw_new_points(m);
    set_whole_viewport();
    toggle_marker(m, false);
}

void toggle_marker(ModelState& m, bool move) {
    set_color(kColourCyan);
    set_write_mode(4);
    draw_marker_shape(m);
    if (move) {
        set_line_style(kSolidMask);
        m.MarkerX = marker_x_for_hn(m);
        draw_marker_shape(m);
    }
    set_line_style(kSolidMask);
    set_write_mode(3);
}

void show_hn_label(const ModelState& m) {
    char text[kHnLabelLength];
    format_label_real(text, kHnLabelLength, "(a,G13.7)", "Hn=", m.Hn);
    const int32_t bottom = m.PlotBottom;
    set_color(kColourWhite);
    draw_rectangle(kShapeFill, 20, to_pixel(bottom + 20), 180, to_pixel(bottom + 40));
    set_color(kColourBlack);
    PixelPoint previous;
    move_to(20, to_pixel(bottom + 20), previous);
    draw_text(text, kHnLabelLength);
}
