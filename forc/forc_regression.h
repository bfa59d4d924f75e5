// The FORC distribution rho(Hr, H) = -1/2 d2M/(dHr dH) at one point, by locally weighted
// second-order polynomial regression over the measured points near it. Pure code; any thread may
// call it (GSL's error handler must be off: forc_regression_prepare).
#pragma once

#include <cstdint>
#include <string>

#include "forc/forc_table.h"

// Smoothing factors accepted on the command line; the grid may refuse a smaller one.
constexpr int32_t kSmallestSmoothingFactor = 1;
constexpr int32_t kLargestSmoothingFactor = 50;
// The smoothing factor of the command line's default, a common laboratory choice.
constexpr int32_t kDefaultSmoothingFactor = 3;

// Turns GSL's error handler off, so that a singular local fit is a return value rather than an
// abort. Call once before forc_rho_at (the handler is process-wide).
void forc_regression_prepare();

// Checks that the table has room for the neighbourhood of smoothing factor sf: 2 sf + 1 curves and
// 2 sf + 1 points on its longest curve. On failure returns false with one line in error.
bool forc_check_smoothing(const ForcTable& table, int32_t sf, std::string& error);

// rho at (Hr0, H0) from the points of table (finished) inside the box of half-widths
// (sf + 1/2) steps in both directions, the (2 sf + 1)^2 neighbourhood of the measured grid: the
// moment is fitted by a1 + a2 u + a3 v + a4 u^2 + a5 v^2 + a6 u v in the box's scaled fields,
// each point weighted by a tricube of its distance (the box's corners keep a positive weight),
// and rho = -a6 / 2 in field units. Returns false, rho untouched, when the box holds too few
// points or too few curves for the six coefficients.
bool forc_rho_at(const ForcTable& table, int32_t sf, double Hr0, double H0, double& rho);
