// Regular grids of the FORC distribution over the measured region.
#include "forc/forc_distribution.h"

#include <algorithm>
#include <cmath>
#include <limits>

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
