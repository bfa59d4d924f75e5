// Drawing the FORC diagram with cairo: cells, zero contour, axes, colour bar and title.
#include "picture/forc_diagram.h"

#include "measure/measure_units.h"
#include "picture/picture_file.h"
#include "picture/picture_marks.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>

namespace {

// Margins of the plot inside the picture, in its units.
constexpr double kLeft = 80.0;
constexpr double kRight = 170.0; // room for the colour bar and its labels
constexpr double kTop = 56.0;
constexpr double kBottom = 60.0;
constexpr double kBarWidth = 22.0;
constexpr double kFontSize = 13.0;

struct Rgb {
    double r, g, b;
};

// The ends of the diverging scale and its centre; white is zero.
constexpr Rgb kNegative = {0.19, 0.31, 0.71};
constexpr Rgb kZero = {1.0, 1.0, 1.0};
constexpr Rgb kPositive = {0.72, 0.08, 0.13};
constexpr Rgb kNoData = {0.88, 0.88, 0.88};

// Colour of t in [-1, 1] (clamped): linear from the negative end through white to the positive.
Rgb diverging(double t) {
    t = std::clamp(t, -1.0, 1.0);
    const Rgb& end = t < 0.0 ? kNegative : kPositive;
    const double a = std::fabs(t);
    return {kZero.r + a * (end.r - kZero.r), kZero.g + a * (end.g - kZero.g),
            kZero.b + a * (end.b - kZero.b)};
}

void set_colour(cairo_t* cr, const Rgb& c) {
    cairo_set_source_rgb(cr, c.r, c.g, c.b);
}

// The mapping of grid coordinates to the picture: equal scale on both axes.
struct Frame {
    double x0, y0; // picture position of the data (Bc_low, Bu_low)
    double scale;  // picture units per field unit
    double Bc_low, Bu_low, Bc_high, Bu_high;
    double px(double Bc) const { return x0 + (Bc - Bc_low) * scale; }
    double py(double Bu) const { return y0 - (Bu - Bu_low) * scale; }
};

Frame frame_for(const ForcGrid& grid, double width, double height) {
    Frame f{};
    f.Bc_low = grid.x0 - 0.5 * grid.dx;
    f.Bc_high = grid.x0 + (grid.columns - 0.5) * grid.dx;
    f.Bu_low = grid.y0 - 0.5 * grid.dy;
    f.Bu_high = grid.y0 + (grid.rows - 0.5) * grid.dy;
    const double w = std::max(width - kLeft - kRight, 10.0);
    const double h = std::max(height - kTop - kBottom, 10.0);
    f.scale = std::min(w / (f.Bc_high - f.Bc_low), h / (f.Bu_high - f.Bu_low));
    // The plot and its colour bar stand in the middle of the room left by equal scales.
    f.x0 = kLeft + 0.5 * (w - (f.Bc_high - f.Bc_low) * f.scale);
    f.y0 = kTop + h - 0.5 * (h - (f.Bu_high - f.Bu_low) * f.scale);
    return f;
}

// The cells as one image of a pixel per node, scaled onto the plot without smoothing: small in a
// vector file and quick to draw.
void paint_cells(cairo_t* cr, const ForcGrid& grid, const Frame& f, double largest) {
    cairo_surface_t* image =
        cairo_image_surface_create(CAIRO_FORMAT_RGB24, grid.columns, grid.rows);
    if (cairo_surface_status(image) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(image);
        return;
    }
    cairo_surface_flush(image);
    unsigned char* data = cairo_image_surface_get_data(image);
    const int stride = cairo_image_surface_get_stride(image);
    const auto channel = [](double c) {
        return static_cast<uint32_t>(std::lround(std::clamp(c, 0.0, 1.0) * 255.0));
    };
    for (int32_t j = 0; j < grid.rows; ++j) {
        // The image's first row is the top of the plot: the highest Bu.
        auto* row = reinterpret_cast<uint32_t*>(
            data + static_cast<std::ptrdiff_t>(grid.rows - 1 - j) * stride);
        for (int32_t i = 0; i < grid.columns; ++i) {
            const double v = forc_grid_at(grid, i, j);
            const Rgb c = std::isfinite(v) && largest > 0.0 ? diverging(v / largest) : kNoData;
            row[i] = channel(c.r) << 16 | channel(c.g) << 8 | channel(c.b);
        }
    }
    cairo_surface_mark_dirty(image);
    cairo_save(cr);
    cairo_translate(cr, f.px(grid.x0 - 0.5 * grid.dx), f.py(grid.y0 + (grid.rows - 0.5) * grid.dy));
    cairo_scale(cr, grid.dx * f.scale, grid.dy * f.scale);
    cairo_set_source_surface(cr, image, 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
    cairo_rectangle(cr, 0, 0, grid.columns, grid.rows);
    cairo_fill(cr);
    cairo_restore(cr);
    cairo_surface_destroy(image);
}

// The zero level by marching squares over cells whose four nodes have values.
void paint_zero_contour(cairo_t* cr, const ForcGrid& grid, const Frame& f) {
    cairo_set_source_rgb(cr, 0.0, 0.0, 0.0);
    cairo_set_line_width(cr, 0.6);
    for (int32_t j = 0; j + 1 < grid.rows; ++j) {
        for (int32_t i = 0; i + 1 < grid.columns; ++i) {
            const double v[4] = {forc_grid_at(grid, i, j), forc_grid_at(grid, i + 1, j),
                                 forc_grid_at(grid, i + 1, j + 1), forc_grid_at(grid, i, j + 1)};
            if (!(std::isfinite(v[0]) && std::isfinite(v[1]) && std::isfinite(v[2]) &&
                  std::isfinite(v[3])))
                continue;
            const double cx[4] = {0, 1, 1, 0}, cy[4] = {0, 0, 1, 1};
            double px[4], py[4];
            int n = 0;
            for (int e = 0; e < 4; ++e) {
                const int a = e, b = (e + 1) % 4;
                if ((v[a] < 0.0) == (v[b] < 0.0)) continue;
                const double t = v[a] / (v[a] - v[b]);
                px[n] = f.px(grid.x0 + (i + cx[a] + t * (cx[b] - cx[a])) * grid.dx);
                py[n] = f.py(grid.y0 + (j + cy[a] + t * (cy[b] - cy[a])) * grid.dy);
                ++n;
            }
            // Two crossings: one segment; four (a saddle): two, paired along the edges' order.
            for (int s = 0; s + 1 < n; s += 2) {
                cairo_move_to(cr, px[s], py[s]);
                cairo_line_to(cr, px[s + 1], py[s + 1]);
            }
        }
    }
    cairo_stroke(cr);
}

void paint_axes(cairo_t* cr, const Frame& f, const ForcDiagramText& text) {
    const double left = f.px(f.Bc_low), right = f.px(f.Bc_high);
    const double top = f.py(f.Bu_high), bottom = f.py(f.Bu_low);
    cairo_set_source_rgb(cr, 0.0, 0.0, 0.0);
    cairo_set_line_width(cr, 1.0);
    cairo_rectangle(cr, left, top, right - left, bottom - top);
    cairo_stroke(cr);
    const double s = text.axis_scale;
    const std::string unit = text.axis_unit.empty() ? "" : " (" + text.axis_unit + ")";
    // Bc across.
    const double xs = nice_step((f.Bc_high - f.Bc_low) * s, 5);
    for (double t = std::ceil(f.Bc_low * s / xs) * xs; t <= f.Bc_high * s + 1e-9 * xs; t += xs) {
        const double x = f.px(t / s);
        cairo_move_to(cr, x, bottom);
        cairo_line_to(cr, x, bottom + 5);
        cairo_stroke(cr);
        show_text(cr, x, bottom + 16, number_text(t), 0);
    }
    show_text(cr, 0.5 * (left + right), bottom + 40, "Bc" + unit, 0);
    // Bu up.
    const double ys = nice_step((f.Bu_high - f.Bu_low) * s, 6);
    for (double t = std::ceil(f.Bu_low * s / ys) * ys; t <= f.Bu_high * s + 1e-9 * ys; t += ys) {
        const double y = f.py(t / s);
        cairo_move_to(cr, left - 5, y);
        cairo_line_to(cr, left, y);
        cairo_stroke(cr);
        show_text(cr, left - 8, y, number_text(t), 1);
    }
    cairo_save(cr);
    cairo_translate(cr, left - 58, 0.5 * (top + bottom));
    cairo_rotate(cr, -M_PI / 2);
    show_text(cr, 0, 0, "Bu" + unit, 0);
    cairo_restore(cr);
}

void paint_colour_bar(cairo_t* cr, const Frame& f, double largest, const ForcDiagramText& text) {
    const double top = f.py(f.Bu_high), bottom = f.py(f.Bu_low);
    const double x = f.px(f.Bc_high) + 30.0;
    const int steps = 100;
    const double h = (bottom - top) / steps;
    for (int k = 0; k < steps; ++k) {
        set_colour(cr, diverging(1.0 - 2.0 * (k + 0.5) / steps));
        cairo_rectangle(cr, x, top + k * h, kBarWidth, h + 0.5);
        cairo_fill(cr);
    }
    cairo_set_source_rgb(cr, 0.0, 0.0, 0.0);
    cairo_set_line_width(cr, 1.0);
    cairo_rectangle(cr, x, top, kBarWidth, bottom - top);
    cairo_stroke(cr);
    for (int k = -2; k <= 2; ++k) {
        const double y = 0.5 * (top + bottom) - 0.25 * k * (bottom - top);
        cairo_move_to(cr, x + kBarWidth, y);
        cairo_line_to(cr, x + kBarWidth + 4, y);
        cairo_stroke(cr);
        char value[32];
        std::snprintf(value, sizeof value, "%.3g", 0.5 * k * largest);
        show_text(cr, x + kBarWidth + 7, y, value, -1);
    }
    const std::string label =
        "rho" + (text.value_unit.empty() ? std::string() : " (" + text.value_unit + ")");
    show_text(cr, x + 0.5 * kBarWidth, top - 14, label, 0);
}

} // namespace

void paint_forc_diagram(cairo_t* cr, double width, double height, const ForcGrid& grid,
                        const ForcDiagramText& text) {
    cairo_save(cr);
    blank_page(cr, width, height, kFontSize);
    show_text(cr, 0.5 * width, 22, text.title + "   SF = " + std::to_string(text.sf), 0);
    if (grid.columns > 0 && grid.rows > 0 && grid.dx > 0.0 && grid.dy > 0.0) {
        const Frame f = frame_for(grid, width, height);
        const double largest = forc_grid_largest(grid, text.scale_from);
        paint_cells(cr, grid, f, largest);
        paint_zero_contour(cr, grid, f);
        paint_axes(cr, f, text);
        paint_colour_bar(cr, f, largest, text);
    }
    cairo_restore(cr);
}

bool forc_diagram_path_ok(const std::string& path) {
    return picture_path_ok(path);
}

namespace {

// The diagram's data for write_picture.
struct Diagram {
    const ForcGrid* grid;
    const ForcDiagramText* text;
};

void paint_diagram(cairo_t* cr, double width, double height, const void* what) {
    const Diagram& d = *static_cast<const Diagram*>(what);
    paint_forc_diagram(cr, width, height, *d.grid, *d.text);
}

} // namespace

bool write_forc_diagram(const std::string& path, const ForcGrid& grid, const ForcDiagramText& text,
                        std::string& error) {
    const Diagram d{&grid, &text};
    return write_picture(path, kDiagramWidth, kDiagramHeight, paint_diagram, &d, error);
}

ForcDiagramText forc_diagram_text(const std::string& title, int32_t sf,
                                  const std::string& field_unit, const std::string& moment_unit) {
    ForcDiagramText text;
    text.title = title;
    text.sf = sf;
    if (field_unit == kFieldUnitSI) {
        text.axis_scale = 1000.0;
        text.axis_unit = "mT";
    } else {
        text.axis_unit = field_unit;
    }
    if (!moment_unit.empty() || !field_unit.empty())
        text.value_unit = (moment_unit.empty() ? std::string("1") : moment_unit) + "/" +
                          (field_unit.empty() ? std::string("1") : field_unit) + "^2";
    return text;
}

void forc_diagram_grid(const ForcTable& table, int32_t sf, ForcGrid& grid, ForcDiagramText& text) {
    text.scale_from = forc_ridge_clearance(table, sf);
    forc_distribution_coercive(table, sf, kDiagramNodes, grid);
}
