#include "picture/loop_picture.h"

#include <algorithm>
#include <cmath>

#include "picture/picture_file.h"
#include "picture/picture_marks.h"

namespace {

constexpr double kLeft = 96.0;
constexpr double kRight = 30.0;
constexpr double kTop = 70.0;
constexpr double kBottom = 60.0;
constexpr double kFontSize = 13.0;
constexpr double kDot = 1.6; // radius of a measured point

// The data's ranges and their mapping to the picture.
struct Frame {
    double H_low, H_high, M_low, M_high; // the ranges shown
    double left, right, top, bottom;     // the plot's rectangle in the picture
    double px(double H) const { return left + (H - H_low) / (H_high - H_low) * (right - left); }
    double py(double M) const { return bottom - (M - M_low) / (M_high - M_low) * (bottom - top); }
};

// The finite range of values, widened by 4 % either side (a unit range when none or one).
void range_of(const std::vector<double>& a, const std::vector<double>& b, double& low,
              double& high) {
    low = HUGE_VAL;
    high = -HUGE_VAL;
    for (const std::vector<double>* v : {&a, &b})
        for (const double x : *v)
            if (std::isfinite(x)) {
                low = std::min(low, x);
                high = std::max(high, x);
            }
    if (!(low < high)) {
        const double mid = std::isfinite(low) ? low : 0.0;
        low = mid - 1.0;
        high = mid + 1.0;
    }
    const double margin = 0.04 * (high - low);
    low -= margin;
    high += margin;
}

Frame frame_for(const LoopPicture& p, double width, double height) {
    Frame f{};
    range_of(p.H, {}, f.H_low, f.H_high);
    range_of(p.M, p.fitted, f.M_low, f.M_high);
    f.left = kLeft;
    f.right = std::max(width - kRight, kLeft + 10.0);
    f.top = kTop;
    f.bottom = std::max(height - kBottom, kTop + 10.0);
    return f;
}

void paint_axes(cairo_t* cr, const Frame& f, const LoopPicture& p) {
    cairo_set_source_rgb(cr, 0.0, 0.0, 0.0);
    cairo_set_line_width(cr, 1.0);
    cairo_rectangle(cr, f.left, f.top, f.right - f.left, f.bottom - f.top);
    cairo_stroke(cr);
    const double s = p.field_scale;
    const double xs = nice_step((f.H_high - f.H_low) * s, 6);
    for (double t = std::ceil(f.H_low * s / xs) * xs; t <= f.H_high * s + 1e-9 * xs; t += xs) {
        const double x = f.px(t / s);
        cairo_move_to(cr, x, f.bottom);
        cairo_line_to(cr, x, f.bottom + 5);
        cairo_stroke(cr);
        show_text(cr, x, f.bottom + 16, number_text(t), 0);
    }
    show_text(cr, 0.5 * (f.left + f.right), f.bottom + 40, p.field_label, 0);
    const double ys = nice_step(f.M_high - f.M_low, 6);
    for (double t = std::ceil(f.M_low / ys) * ys; t <= f.M_high + 1e-9 * ys; t += ys) {
        const double y = f.py(t);
        cairo_move_to(cr, f.left - 5, y);
        cairo_line_to(cr, f.left, y);
        cairo_stroke(cr);
        show_text(cr, f.left - 8, y, number_text(t), 1);
    }
    // The axes through the origin, where it is in view.
    cairo_set_source_rgb(cr, 0.75, 0.75, 0.75);
    if (f.H_low < 0 && 0 < f.H_high) {
        cairo_move_to(cr, f.px(0), f.top);
        cairo_line_to(cr, f.px(0), f.bottom);
    }
    if (f.M_low < 0 && 0 < f.M_high) {
        cairo_move_to(cr, f.left, f.py(0));
        cairo_line_to(cr, f.right, f.py(0));
    }
    cairo_stroke(cr);
    cairo_set_source_rgb(cr, 0.0, 0.0, 0.0);
    cairo_save(cr);
    cairo_translate(cr, f.left - 80, 0.5 * (f.top + f.bottom));
    cairo_rotate(cr, -M_PI / 2);
    show_text(cr, 0, 0, p.moment_label, 0);
    cairo_restore(cr);
}

void paint_measured(cairo_t* cr, const Frame& f, const LoopPicture& p) {
    cairo_set_source_rgb(cr, 0.12, 0.35, 0.75);
    for (size_t i = 0; i < p.H.size() && i < p.M.size(); ++i)
        if (std::isfinite(p.H[i]) && std::isfinite(p.M[i])) {
            cairo_new_sub_path(cr);
            cairo_arc(cr, f.px(p.H[i]), f.py(p.M[i]), kDot, 0, 2 * M_PI);
        }
    cairo_fill(cr);
}

// The fit as one line in the order of the fields; a non-finite value breaks it.
void paint_fitted(cairo_t* cr, const Frame& f, const LoopPicture& p) {
    cairo_set_source_rgb(cr, 0.80, 0.10, 0.10);
    cairo_set_line_width(cr, 1.6);
    bool drawing = false;
    for (size_t i = 0; i < p.H.size() && i < p.fitted.size(); ++i) {
        if (!std::isfinite(p.H[i]) || !std::isfinite(p.fitted[i])) {
            drawing = false;
            continue;
        }
        if (drawing)
            cairo_line_to(cr, f.px(p.H[i]), f.py(p.fitted[i]));
        else
            cairo_move_to(cr, f.px(p.H[i]), f.py(p.fitted[i]));
        drawing = true;
    }
    cairo_stroke(cr);
}

void paint_legend(cairo_t* cr, const Frame& f, bool fitted) {
    const double x = f.left + 14;
    double y = f.top + 16;
    cairo_set_source_rgb(cr, 0.12, 0.35, 0.75);
    cairo_arc(cr, x + 10, y, 2.5, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_set_source_rgb(cr, 0.0, 0.0, 0.0);
    show_text(cr, x + 26, y, "measured", -1);
    if (!fitted) return;
    y += 18;
    cairo_set_source_rgb(cr, 0.80, 0.10, 0.10);
    cairo_set_line_width(cr, 1.6);
    cairo_move_to(cr, x, y);
    cairo_line_to(cr, x + 20, y);
    cairo_stroke(cr);
    cairo_set_source_rgb(cr, 0.0, 0.0, 0.0);
    show_text(cr, x + 26, y, "fitted", -1);
}

void paint_what(cairo_t* cr, double width, double height, const void* what) {
    paint_loop_picture(cr, width, height, *static_cast<const LoopPicture*>(what));
}

} // namespace

void paint_loop_picture(cairo_t* cr, double width, double height, const LoopPicture& p) {
    cairo_save(cr);
    blank_page(cr, width, height, kFontSize);
    show_text(cr, 0.5 * width, 20, p.title, 0);
    if (!p.subtitle.empty()) show_text(cr, 0.5 * width, 40, p.subtitle, 0);
    const Frame f = frame_for(p, width, height);
    paint_axes(cr, f, p);
    cairo_save(cr);
    cairo_rectangle(cr, f.left, f.top, f.right - f.left, f.bottom - f.top);
    cairo_clip(cr);
    paint_measured(cr, f, p);
    paint_fitted(cr, f, p);
    cairo_restore(cr);
    paint_legend(cr, f, !p.fitted.empty());
    cairo_restore(cr);
}

bool write_loop_picture(const std::string& path, const LoopPicture& p, std::string& error) {
    return write_picture(path, kLoopPictureWidth, kLoopPictureHeight, paint_what, &p, error);
}
