// Regular grids of the FORC distribution over the measured region.
#include "forc/forc_distribution.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include <gsl/gsl_multifit.h>

#include "forc/forc_regression.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// The node value: NaN outside the measured region or where the fit is refused.
double node_value(const ForcTable& table, int32_t sf, double Hr, double H) {
    double rho = kNaN;
    if (forc_covers(table, Hr, H) && forc_rho_at(table, sf, Hr, H, rho)) return rho;
    return kNaN;
}

// Number of nodes from low to high at spacing step (at least one).
int32_t node_count(double low, double high, double step) {
    return static_cast<int32_t>(std::floor((high - low) / step + 1e-9)) + 1;
}

} // namespace

bool forc_covers(const ForcTable& table, double Hr, double H) {
    const size_t curves = forc_table_curves(table);
    if (curves == 0 || Hr < table.Hr.front() || Hr > table.Hr.back()) return false;
    const double slack = 0.5 * table.step_H;
    if (H < Hr - slack) return false;
    // The nearest curve by reversal field.
    size_t k = static_cast<size_t>(std::lower_bound(table.Hr.begin(), table.Hr.end(), Hr) -
                                   table.Hr.begin());
    if (k == curves || (k > 0 && Hr - table.Hr[k - 1] < table.Hr[k] - Hr)) --k;
    return H >= table.H[table.first[k]] - slack && H <= table.H[table.first[k + 1] - 1] + slack;
}

void forc_distribution_fields(const ForcTable& table, int32_t sf, ForcGrid& grid) {
    forc_regression_prepare();
    const auto [low, high] = std::minmax_element(table.H.begin(), table.H.end());
    grid = ForcGrid{};
    grid.x0 = *low;
    grid.dx = table.step_H;
    grid.columns = node_count(*low, *high, grid.dx);
    grid.y0 = table.Hr.front();
    grid.dy = table.step_Hr;
    grid.rows = node_count(table.Hr.front(), table.Hr.back(), grid.dy);
    grid.rho.assign(static_cast<size_t>(grid.rows) * static_cast<size_t>(grid.columns), kNaN);
    for (int32_t j = 0; j < grid.rows; ++j)
        for (int32_t i = 0; i < grid.columns; ++i)
            grid.rho[static_cast<size_t>(j) * static_cast<size_t>(grid.columns) +
                     static_cast<size_t>(i)] =
                node_value(table, sf, grid.y0 + j * grid.dy, grid.x0 + i * grid.dx);
}

void forc_distribution_coercive(const ForcTable& table, int32_t sf, int32_t max_nodes,
                                ForcGrid& grid) {
    forc_regression_prepare();
    double Bc_high = 0.0;
    double Bu_low = std::numeric_limits<double>::infinity();
    double Bu_high = -Bu_low;
    for (size_t k = 0; k < forc_table_curves(table); ++k) {
        for (size_t p = table.first[k]; p < table.first[k + 1]; ++p) {
            Bc_high = std::max(Bc_high, 0.5 * (table.H[p] - table.Hr[k]));
            Bu_low = std::min(Bu_low, 0.5 * (table.H[p] + table.Hr[k]));
            Bu_high = std::max(Bu_high, 0.5 * (table.H[p] + table.Hr[k]));
        }
    }
    // The measured grid, turned by 45 degrees, has nodes half a step apart along Bc and Bu.
    const double finest = 0.5 * std::min(table.step_H, table.step_Hr);
    const double extent = std::max(Bc_high, Bu_high - Bu_low);
    const double step = std::max(finest, extent / std::max(max_nodes - 1, 1));
    grid = ForcGrid{};
    grid.x0 = 0.0;
    grid.dx = step;
    grid.columns = node_count(0.0, Bc_high, step);
    grid.y0 = Bu_low;
    grid.dy = step;
    grid.rows = node_count(Bu_low, Bu_high, step);
    grid.rho.assign(static_cast<size_t>(grid.rows) * static_cast<size_t>(grid.columns), kNaN);
    for (int32_t j = 0; j < grid.rows; ++j) {
        const double Bu = grid.y0 + j * grid.dy;
        for (int32_t i = 0; i < grid.columns; ++i) {
            const double Bc = grid.x0 + i * grid.dx;
            grid.rho[static_cast<size_t>(j) * static_cast<size_t>(grid.columns) +
                     static_cast<size_t>(i)] = node_value(table, sf, Bu - Bc, Bu + Bc);
        }
    }
}

double forc_grid_largest(const ForcGrid& grid, double x_from) {
    double largest = 0.0;
    for (int32_t j = 0; j < grid.rows; ++j)
        for (int32_t i = 0; i < grid.columns; ++i) {
            const double r = forc_grid_at(grid, i, j);
            if (grid.x0 + i * grid.dx >= x_from && std::isfinite(r))
                largest = std::max(largest, std::fabs(r));
        }
    return largest;
}

double forc_ridge_clearance(const ForcTable& table, int32_t sf) {
    // The box reaches (sf + 1/2) steps along H and along Hr; H - Hr = 2 Bc.
    return 0.5 * (sf + 0.5) * (table.step_H + table.step_Hr);
}

void forc_grid_peak(const ForcGrid& grid, double x_from, int32_t reach, ForcPeak& peak) {
    peak = ForcPeak{};
    int32_t bi = -1, bj = -1;
    for (int32_t j = 0; j < grid.rows; ++j)
        for (int32_t i = 0; i < grid.columns; ++i) {
            const double v = forc_grid_at(grid, i, j);
            if (grid.x0 + i * grid.dx >= x_from && std::isfinite(v) && (bi < 0 || v > peak.rho)) {
                peak.rho = v;
                bi = i;
                bj = j;
            }
        }
    if (bi < 0) return;
    peak.found = true;
    peak.x = grid.x0 + bi * grid.dx;
    peak.y = grid.y0 + bj * grid.dy;

    // rho ~ c0 + c1 u + c2 v + c3 u^2 + c4 v^2 + c5 u v in node offsets u, v from the largest.
    std::vector<double> rows_u, rows_v, values;
    for (int32_t j = bj - reach; j <= bj + reach; ++j)
        for (int32_t i = bi - reach; i <= bi + reach; ++i) {
            if (i < 0 || j < 0 || i >= grid.columns || j >= grid.rows) continue;
            const double v = forc_grid_at(grid, i, j);
            if (!std::isfinite(v)) continue;
            rows_u.push_back(i - bi);
            rows_v.push_back(j - bj);
            values.push_back(v);
        }
    const size_t n = values.size();
    if (n < 12) return; // too few nodes to fix six coefficients with any confidence
    forc_regression_prepare();
    gsl_matrix* X = gsl_matrix_alloc(n, 6);
    gsl_vector* y = gsl_vector_alloc(n);
    gsl_vector* c = gsl_vector_alloc(6);
    gsl_matrix* cov = gsl_matrix_alloc(6, 6);
    gsl_multifit_linear_workspace* work = gsl_multifit_linear_alloc(n, 6);
    for (size_t k = 0; k < n; ++k) {
        const double u = rows_u[k], v = rows_v[k];
        const double terms[6] = {1.0, u, v, u * u, v * v, u * v};
        for (size_t t = 0; t < 6; ++t)
            gsl_matrix_set(X, k, t, terms[t]);
        gsl_vector_set(y, k, values[k]);
    }
    double chisq = 0.0;
    if (gsl_multifit_linear(X, y, c, cov, &chisq, work) == GSL_SUCCESS) {
        const double c1 = gsl_vector_get(c, 1), c2 = gsl_vector_get(c, 2);
        const double c3 = gsl_vector_get(c, 3), c4 = gsl_vector_get(c, 4);
        const double c5 = gsl_vector_get(c, 5);
        // A maximum: the Hessian [[2 c3, c5], [c5, 2 c4]] negative definite.
        const double det = 4.0 * c3 * c4 - c5 * c5;
        if (c3 < 0.0 && det > 0.0) {
            const double u = (c2 * c5 - 2.0 * c4 * c1) / det;
            const double v = (c1 * c5 - 2.0 * c3 * c2) / det;
            if (std::fabs(u) <= reach && std::fabs(v) <= reach) {
                peak.x += u * grid.dx;
                peak.y += v * grid.dy;
            }
        }
    }
    gsl_multifit_linear_free(work);
    gsl_matrix_free(cov);
    gsl_vector_free(c);
    gsl_vector_free(y);
    gsl_matrix_free(X);
}

int32_t forc_peak_reach(const ForcTable& table, int32_t sf, const ForcGrid& grid) {
    const double span = sf * std::max(table.step_H, table.step_Hr);
    return std::max<int32_t>(1,
                             static_cast<int32_t>(std::lround(span / std::max(grid.dx, grid.dy))));
}
