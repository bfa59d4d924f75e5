// Pixel arithmetic of the plot rectangle and of the field-to-column mapping.
#include "model/plot_geometry.h"

#include <cmath>

namespace {

// Pixel values stay this far inside the 16-bit range so that the marker's
// offsets (-3 .. +6) and the label offsets never wrap around.
constexpr int32_t kPixelLimit = 32000;

int16_t saturate_pixel(int64_t v) {
    if (v > kPixelLimit) return kPixelLimit;
    if (v < -kPixelLimit) return -kPixelLimit;
    return static_cast<int16_t>(v);
}

} // namespace

int16_t plot_right_for_width(int32_t width_px) {
    // C++ division truncates toward zero, as the geometry asks for negative differences too.
    return saturate_pixel(int64_t{kPlotLeft} + 4 * ((int64_t{width_px} - 107) / 4));
}

int32_t plot_width_for_surface(int32_t width_px) {
    return int32_t{plot_right_for_width(width_px)} - kPlotLeft;
}

int16_t plot_bottom_for_height(int32_t height_px) {
    return saturate_pixel(int64_t{kPlotTop} + 4 * ((int64_t{height_px} - 160) / 4));
}

double field_per_pixel(double lo, double hi, int32_t pixels) {
    if (pixels == 0) return 0.0;
    return (hi - lo) / pixels;
}

int16_t field_column(double h, double lo, double per_pixel, int16_t left) {
    if (per_pixel == 0.0 || !std::isfinite(per_pixel)) return left;
    double q = (h - lo) / per_pixel;
    if (std::isnan(q)) return left;
    // Saturate before converting: a field far outside the axes must not overflow.
    const double limit = kPixelLimit;
    if (q > limit) q = limit;
    if (q < -limit) q = -limit;
    const double rounded = q >= 0.0 ? q + 0.5 : q - 0.5;
    return saturate_pixel(int64_t{left} + static_cast<int64_t>(rounded));
}

bool inside_plot(int32_t x, int32_t y, int16_t left, int16_t top, int16_t right, int16_t bottom) {
    return left <= x && x <= right && top <= y && y <= bottom;
}
