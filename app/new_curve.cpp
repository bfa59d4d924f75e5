// The full curve buffer's message and a new curve from the present point.
#include "app/new_curve.h"

#include <cstring>

#include "app/material.h"
#include "app/menu_callbacks.h"
#include "app/menu_state.h"
#include "app/save_results.h"
#include "model/curve_construction.h"
#include "model/curve_restart.h"
#include "model/model_state.h"
#include "model/plot.h"
#include "window/graph/graphics.h"
#include "window/kernel/child_window.h"

namespace {

// Below the "Hn=" and cursor read-outs (PlotBottom + 20 .. + 40), inside the surface's margin.
constexpr int kMessageOffset = 50;

} // namespace

bool curve_buffer_full() {
    return g_model.Ndrawn >= curve_bound();
}

void show_curve_full_message() {
    set_whole_viewport();
    const int16_t y = static_cast<int16_t>(g_model.PlotBottom + kMessageOffset);
    set_color(kColourRed);
    PixelPoint previous;
    move_to(20, y, previous);
    draw_text(kCurveFullText, static_cast<int>(std::strlen(kCurveFullText)));
    set_status_message(kCurveFullText);
}

void on_curve_points_drawn() {
    on_points_drawn();
    if (curve_buffer_full()) show_curve_full_message();
}

void on_new_curve(int32_t& state) {
    (void)state;
    if (!may_lose_curve("before a new curve starts")) return;
    restart_curve_at_present_point(g_model);
    redraw_plot(g_model);
    set_status_message(material_words().c_str());
    g_menu_state.points_drawn = false;
    g_menu_state.unsaved = false;
    update_menus();
}
