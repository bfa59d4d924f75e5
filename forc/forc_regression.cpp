// Local weighted quadratic fits of the moment over a neighbourhood of the measured grid.
#include "forc/forc_regression.h"

#include <algorithm>
#include <cmath>

#include <gsl/gsl_errno.h>
#include <gsl/gsl_linalg.h>

namespace {

constexpr int kTerms = 6;
// A neighbourhood must hold more points than terms, on at least three curves, or the mixed term
// is not determined by the data.
constexpr int kFewestPoints = 9;
constexpr int kFewestCurves = 3;
// Reciprocal condition number of the normal equations below which the fit is refused: the mixed
// term would be rounding noise.
constexpr double kSmallestRcond = 1e-12;

} // namespace

void forc_regression_prepare() {
    gsl_set_error_handler_off();
}

bool forc_check_smoothing(const ForcTable& table, int32_t sf, std::string& error) {
    const size_t width = 2 * static_cast<size_t>(sf) + 1;
    size_t longest = 0;
    for (size_t k = 0; k + 1 < table.first.size(); ++k)
        longest = std::max(longest, table.first[k + 1] - table.first[k]);
    if (width > forc_table_curves(table) || width > longest) {
        error = "smoothing factor " + std::to_string(sf) + " too large for the grid: it needs " +
                std::to_string(width) + " curves and " + std::to_string(width) +
                " points on a curve, the data have " + std::to_string(forc_table_curves(table)) +
                " curves of at most " + std::to_string(longest) + " points";
        return false;
    }
    return true;
}

bool forc_rho_at(const ForcTable& table, int32_t sf, double Hr0, double H0, double& rho) {
    const double half_Hr = (sf + 0.5) * table.step_Hr;
    const double half_H = (sf + 0.5) * table.step_H;
    // Tricube weights on the distance scaled so that the box's corners lie inside the unit
    // circle: every point of the neighbourhood counts.
    const double scale_u = 1.0 / half_H, scale_v = 1.0 / half_Hr;
    const double reach = std::sqrt(2.0) * (sf + 1.0) / (sf + 0.5);

    // Normal equations, lower triangle, in the scaled offsets u = (H - H0) / half_H,
    // v = (Hr - Hr0) / half_Hr.
    double A[kTerms * kTerms] = {};
    double b[kTerms] = {};
    int points = 0, curves = 0;
    bool below_u = false, above_u = false, below_v = false, above_v = false;
    const auto add = [&](double u, double v, double m) {
        const double r = std::sqrt(u * u + v * v) / reach;
        const double t = 1.0 - r * r * r;
        const double w = t * t * t;
        const double x[kTerms] = {1.0, u, v, u * u, v * v, u * v};
        for (int i = 0; i < kTerms; ++i) {
            const double wx = w * x[i];
            b[i] += wx * m;
            for (int j = 0; j <= i; ++j)
                A[i * kTerms + j] += wx * x[j];
        }
        below_u = below_u || u < 0.0;
        above_u = above_u || u > 0.0;
        below_v = below_v || v < 0.0;
        above_v = above_v || v > 0.0;
        ++points;
    };
    const auto from = std::lower_bound(table.Hr.begin(), table.Hr.end(), Hr0 - half_Hr);
    for (auto it = from; it != table.Hr.end() && *it <= Hr0 + half_Hr; ++it) {
        const size_t k = static_cast<size_t>(it - table.Hr.begin());
        const double v = (*it - Hr0) * scale_v;
        const auto begin = table.H.begin() + static_cast<std::ptrdiff_t>(table.first[k]);
        const auto end = table.H.begin() + static_cast<std::ptrdiff_t>(table.first[k + 1]);
        const int before = points;
        // Below its reversal field a curve is extended by the moment where it starts: the
        // magnetisation does not depend on a field the curve never saw, so the distribution is
        // zero there, and a neighbourhood that crosses the line H = Hr stays whole.
        const double start_M = table.M[table.first[k]];
        for (double H = *it - table.step_H; H >= H0 - half_H; H -= table.step_H)
            if (H <= H0 + half_H) add((H - H0) * scale_u, v, start_M);
        for (auto p = std::lower_bound(begin, end, H0 - half_H); p != end && *p <= H0 + half_H; ++p)
            add((*p - H0) * scale_u, v, table.M[static_cast<size_t>(p - table.H.begin())]);
        if (points > before) ++curves;
    }
    // A fit that would extrapolate beyond the data is refused.
    if (!(below_u && above_u && below_v && above_v)) return false;
    if (points < kFewestPoints || curves < kFewestCurves) return false;

    gsl_matrix_view matrix = gsl_matrix_view_array(A, kTerms, kTerms);
    gsl_vector_view rhs = gsl_vector_view_array(b, kTerms);
    double solution[kTerms];
    gsl_vector_view x = gsl_vector_view_array(solution, kTerms);
    double work[3 * kTerms];
    gsl_vector_view work_view = gsl_vector_view_array(work, 3 * kTerms);
    if (gsl_linalg_cholesky_decomp1(&matrix.matrix) != GSL_SUCCESS) return false;
    double rcond = 0.0;
    if (gsl_linalg_cholesky_rcond(&matrix.matrix, &rcond, &work_view.vector) != GSL_SUCCESS ||
        !(rcond > kSmallestRcond))
        return false;
    if (gsl_linalg_cholesky_solve(&matrix.matrix, &rhs.vector, &x.vector) != GSL_SUCCESS)
        return false;
    const double mixed = solution[5] * scale_u * scale_v;
    if (!std::isfinite(mixed)) return false;
    rho = -0.5 * mixed;
    return true;
}
