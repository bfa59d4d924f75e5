// The FORC distribution evaluated on regular grids: in the measurement's own fields (Hr, H) and in
// the coercive and interaction fields Bc = (H - Hr) / 2, Bu = (H + Hr) / 2. Pure code; any thread
// may call it on distinct grids.
#pragma once

#include <cstdint>
#include <vector>

#include "forc/forc_table.h"

// rho on a regular grid of two coordinates x and y (which ones: the function that filled it).
struct ForcGrid {
    int32_t columns = 0;     // nodes along x
    int32_t rows = 0;        // nodes along y
    double x0 = 0.0;         // x of the first column
    double dx = 0.0;         // x spacing of the columns, > 0
    double y0 = 0.0;         // y of the first row
    double dy = 0.0;         // y spacing of the rows, > 0
    std::vector<double> rho; // rows * columns values, row j from j * columns; NaN where the node
                             // lies outside the measured region or its fit is refused
};

// Value of node (column i, row j).
inline double forc_grid_at(const ForcGrid& grid, int32_t i, int32_t j) {
    return grid
        .rho[static_cast<size_t>(j) * static_cast<size_t>(grid.columns) + static_cast<size_t>(i)];
}

// Whether (Hr, H) lies in the measured region of table: Hr within the reversal fields, H not
// below Hr, and H within half a step of the fields of the curve nearest to Hr.
bool forc_covers(const ForcTable& table, double Hr, double H);

// The distribution on the grid of the measurement's steps: x = H from the lowest field, y = Hr
// from the lowest reversal field, spacings step_H and step_Hr; nodes outside the measured region
// are NaN. Calls forc_regression_prepare.
void forc_distribution_fields(const ForcTable& table, int32_t sf, ForcGrid& grid);

// The distribution on a square grid of x = Bc from 0 and y = Bu over the measured region's extent,
// at most max_nodes nodes along either axis and no finer than the measurement's steps; nodes
// outside the measured region are NaN. Calls forc_regression_prepare.
void forc_distribution_coercive(const ForcTable& table, int32_t sf, int32_t max_nodes,
                                ForcGrid& grid);

// The largest |rho| of the grid's values in the columns at x >= x_from, 0 when there is none.
double forc_grid_largest(const ForcGrid& grid, double x_from);

// The peak of a grid: the largest value and where it lies.
struct ForcPeak {
    bool found = false; // the grid has a value in the columns searched
    double x = 0.0;     // position of the peak, between nodes where the fit around it says so
    double y = 0.0;
    double rho = 0.0; // the largest value of the grid's nodes
};

// The peak of grid among the columns at x >= x_from: the largest node value, placed at the vertex
// of a quadratic surface fitted by least squares to the nodes within reach nodes of it on each
// side (at the node itself when that surface has no maximum within reach). A smoothed
// distribution's top is flat over several nodes, so its noise moves the largest node more than
// the vertex. A reach as wide as the regression's neighbourhood suits: forc_peak_reach.
void forc_grid_peak(const ForcGrid& grid, double x_from, int32_t reach, ForcPeak& peak);

// The reach of forc_grid_peak on grid that spans SF steps of the table's measurement.
int32_t forc_peak_reach(const ForcTable& table, int32_t sf, const ForcGrid& grid);

// Where the regression of the coercive grid's nodes stays clear of the line H = Hr: Bc of the
// first node whose neighbourhood does not reach it. Nearer, a measurement's reversible
// magnetisation shows as a ridge at Bc = 0 (the curves count as constant below their reversal
// field) that would swamp the colour scale and the peak.
double forc_ridge_clearance(const ForcTable& table, int32_t sf);
