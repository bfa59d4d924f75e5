// Crossings, saturation, area and shape of a loop.
#include "measure/loop_figures.h"

#include <cmath>

namespace {

// The first crossing of zero by y along the points from..to (either order), as x linearly
// interpolated there. False when y never crosses or touches zero.
bool first_crossing(const double* x, const double* y, int64_t from, int64_t to, double& at) {
    const int64_t step = to >= from ? 1 : -1;
    for (int64_t k = from; k != to; k += step) {
        const double y1 = y[k], y2 = y[k + step];
        if ((y1 <= 0.0 && y2 >= 0.0) || (y1 >= 0.0 && y2 <= 0.0)) {
            at = y1 == y2 ? x[k] : x[k] + (0.0 - y1) * (x[k + step] - x[k]) / (y2 - y1);
            return true;
        }
    }
    return false;
}

} // namespace

bool compute_loop_figures(const double* H, const double* M, int64_t count, int64_t turn,
                          double high_fraction, LoopFigures& f, std::string& reason) {
    f = LoopFigures{};
    if (count < 5 || turn <= 0 || turn >= count - 1) {
        reason = "not a loop: fewer than two branches";
        return false;
    }
    const bool first_rises = H[turn] > H[0];
    // Branch index ranges in measurement order.
    const int64_t rise_from = first_rises ? 0 : turn, rise_to = first_rises ? turn : count - 1;
    const int64_t fall_from = first_rises ? turn : 0, fall_to = first_rises ? count - 1 : turn;
    if (!first_crossing(H, M, rise_from, rise_to, f.Bc_ascending) ||
        !first_crossing(H, M, fall_from, fall_to, f.Bc_descending)) {
        reason = "not a loop: a branch never crosses M = 0";
        return false;
    }
    if (!first_crossing(M, H, rise_from, rise_to, f.Mr_ascending) ||
        !first_crossing(M, H, fall_from, fall_to, f.Mr_descending)) {
        reason = "not a loop: a branch never crosses H = 0";
        return false;
    }
    f.H_max = f.H_min = H[0];
    for (int64_t k = 0; k < count; ++k) {
        f.H_max = std::fmax(f.H_max, H[k]);
        f.H_min = std::fmin(f.H_min, H[k]);
    }
    // The high-field ends: scaled sums, so that huge moments cannot overflow.
    double scale = 0.0;
    for (int64_t k = 0; k < count; ++k)
        scale = std::fmax(scale, std::fabs(M[k]));
    if (!(scale > 0.0) || !std::isfinite(scale)) {
        reason = "not a loop: every moment is zero";
        return false;
    }
    double top = 0.0, bottom = 0.0;
    int64_t n_top = 0, n_bottom = 0;
    for (int64_t k = 0; k < count; ++k) {
        if (H[k] >= high_fraction * f.H_max && f.H_max > 0.0) {
            top += M[k] / scale;
            ++n_top;
        } else if (H[k] <= high_fraction * f.H_min && f.H_min < 0.0) {
            bottom += M[k] / scale;
            ++n_bottom;
        }
    }
    if (n_top == 0 || n_bottom == 0) {
        reason = "not a loop: no points at high positive and negative fields";
        return false;
    }
    f.Ms = 0.5 * (top / n_top - bottom / n_bottom) * scale;
    f.Mr = 0.5 * (f.Mr_descending - f.Mr_ascending);
    f.Bc = 0.5 * (f.Bc_ascending - f.Bc_descending);
    f.Mr_Ms = f.Mr / f.Ms;
    // Area by trapezoids along the path, moments scaled.
    double area = 0.0;
    for (int64_t k = 0; k + 1 < count; ++k)
        area -= 0.5 * (M[k] / scale + M[k + 1] / scale) * (H[k + 1] - H[k]);
    f.area = area * scale;
    f.shape = std::log(f.area / (4.0 * f.Ms * f.Bc));
    f.closure_gap = M[count - 1] - M[0];
    f.points = count;
    const double values[] = {f.Ms, f.Mr, f.Bc, f.Mr_Ms, f.area, f.closure_gap};
    for (const double v : values)
        if (!std::isfinite(v)) {
            reason = "the loop's figures are not finite numbers (moments too large)";
            return false;
        }
    // The shape is undefined when the area, Ms or Bc is not positive: reported as such.
    if (!std::isfinite(f.shape)) f.shape = std::nan("");
    return true;
}
