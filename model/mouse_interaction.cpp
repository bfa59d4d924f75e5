// The workspace window's mouse handler and the H/B read-outs it writes.
#include "model/mouse_interaction.h"

#include "model/curve_construction.h"
#include "model/model_state.h"
#include "model/plot.h"
#include "model/plot_geometry.h"
#include "text/number_format.h"
#include "window/graph/graphics.h"
#include "window/kernel/stoppable_work.h"

namespace {

bool inside(const ModelState& m, int32_t x, int32_t y) {
    return inside_plot(x, y, m.PlotLeft, m.PlotTop, m.PlotRight, m.PlotBottom);
}

// Sets Hn from the clicked column and moves the marker there; the y coordinate plays no part.
void on_left_button(ModelState& m, int32_t x, int32_t y) {
    if (!inside(m, x, y)) return;
    toggle_marker(m, false);
    m.MarkerX = static_cast<int16_t>(x - 3);
    m.Hn = (x - m.PlotLeft) * m.HperPixel + m.Hmin;
    toggle_marker(m, false);
    show_hn_label(m);
}

// Constructs the curve from Hcur to Hn and draws whatever the construction produced, with the
// marker kept on top of it.
void on_right_button(ModelState& m) {
    // A long move takes a while: the wait cursor says so, and Escape stops it (also ended when a
    // stop of the program unwinds this).
    StoppableWorkScope work("Computing the B(H) curve... (Esc stops)");
    construct_to_hn(m);
    draw_new_points_under_marker(m);
    set_whole_viewport();
}

// Erases the read-out box on every move; inside the plot writes the H and B under the cursor,
// rounded to single precision.
void on_move(const ModelState& m, int32_t x, int32_t y) {
    const int32_t bottom = m.PlotBottom;
    set_color(kColourWhite);
    draw_rectangle(kShapeFill, 200, static_cast<int16_t>(bottom + 20), 510,
                   static_cast<int16_t>(bottom + 40));
    if (!inside(m, x, y)) return;
    const float H = static_cast<float>((x - m.PlotLeft) * m.HperPixel + m.Hmin);
    const float B = static_cast<float>((m.PlotTop - y) * m.BperPixel + m.Bmax);
    char text[kCursorReadoutLength];
    format_label_pairs(text, kCursorReadoutLength, "H=", H, " B=", B);
    set_color(kColourBlack);
    PixelPoint previous;
    move_to(200, static_cast<int16_t>(bottom + 20), previous);
    draw_text(text, kCursorReadoutLength);
}

} // namespace

void on_mouse_event(int32_t& unit, int32_t& event, int32_t& keys, int32_t& x, int32_t& y) {
    (void)unit;
    (void)keys;
    switch (event) {
    case kMouseLeftDown:
        on_left_button(g_model, x, y);
        break;
    case kMouseRightDown:
        on_right_button(g_model);
        break;
    case kMouseMove:
        on_move(g_model, x, y);
        break;
    default:
        break;
    }
}
