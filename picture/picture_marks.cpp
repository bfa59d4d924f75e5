#include "picture/picture_marks.h"

#include <cmath>
#include <cstdio>

double nice_step(double range, int count) {
    if (!(range > 0.0)) return 1.0;
    const double raw = range / count;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (double m : {1.0, 2.0, 5.0})
        if (m * power >= raw) return m * power;
    return 10.0 * power;
}

std::string number_text(double v) {
    char text[32];
    std::snprintf(text, sizeof text, "%.6g", std::fabs(v) < 1e-12 ? 0.0 : v);
    return text;
}

void blank_page(cairo_t* cr, double width, double height, double font_size) {
    cairo_set_source_rgb(cr, 1.0, 1.0, 1.0);
    cairo_rectangle(cr, 0, 0, width, height);
    cairo_fill(cr);
    cairo_select_font_face(cr, "sans-serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, font_size);
    cairo_set_source_rgb(cr, 0.0, 0.0, 0.0);
}

void show_text(cairo_t* cr, double x, double y, const std::string& s, int align) {
    cairo_text_extents_t e;
    cairo_text_extents(cr, s.c_str(), &e);
    const double left = align < 0 ? x : align == 0 ? x - 0.5 * e.width : x - e.width;
    cairo_move_to(cr, left - e.x_bearing, y - e.y_bearing - 0.5 * e.height);
    cairo_show_text(cr, s.c_str());
}
