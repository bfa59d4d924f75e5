// hysteresis-batch fit: the Hc and Bs whose limiting loop best matches a measured symmetric major
// loop, by least squares on B at the measured fields. Single-threaded tool.
#pragma once

#include <cstdio>
#include <string>

#include "app/batch/batch_command_row.h"
#include "app/batch/batch_options.h"
#include "model/model_state.h"

// Points of the logarithmic grid of Hc on which the bounded minimisation is bracketed.
constexpr int kFitGridPoints = 12;
// Below this R^2 the fit is reported with a warning on standard error.
constexpr double kFitGoodRSquared = 0.99;

// Runs "fit": reads the loop's points twice through one open file (once to check and measure
// them, once to sum them up on the limiting loop's intervals; a pipe's points are kept from the
// first reading, a regular file that changes in between is refused), brackets the best Hc on a
// logarithmic grid over the accepted range, then minimises the squared residuals there with Brent's
// method (Boost.Math). Writes the fitted loop to options.out_path when given, then prints
// "name,value" lines with Hc, Hs, Bs, rms_residual, r_squared and limiting_loops, and
// "name,measured,fitted" lines with the metrics of both loops. Returns kBatchOk; kBatchBadUsage
// with one line in error (and nothing printed or written) for a file that is not a closed loop or
// an output file that cannot be written.
int run_fit(const BatchOptions& options, ModelState& m, std::FILE* out, std::string& error);

// The command's row.
extern const BatchCommandRow kFitCommand;
