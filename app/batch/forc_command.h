// hysteresis-batch forc: the model's first-order reversal curves as a laboratory measures them,
// and their distribution by local regression; the distribution of measured curves. Single-threaded
// tool.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "app/batch/batch_command_row.h"
#include "app/batch/batch_options.h"
#include "model/model_state.h"

// Reversal field i of count fields evenly spaced over [-Hs, Hs] (Hs = 1); the ends are exact.
double forc_grid_field(int32_t count, int32_t index);

// One curve on the model state m, whose Hc and Kmax are set and Hs = Bs = 1: from positive
// saturation down to Hr (B there in B_reversal), then up through the grid fields
// forc_grid_field(points, j) for j >= first; B[j] receives each (B[j] for j < first is not
// touched). The fields at or below Hr belong to no curve: first is the index of the lowest field
// at or above Hr, and a field equal to Hr gets B_reversal. m is overwritten; each curve is an
// independent construction.
void compute_forc_curve(ModelState& m, double Hr, int32_t points, int32_t first, double* B,
                        double& B_reversal);

// Runs "forc" on the model: prints the header "Hr,H,B" (with ",rho" for --density) and for every
// reversal field, from -Hs up, the reversal point and the curve's points; with --picture draws
// the curves' FORC diagram instead and prints its figures. rho comes from the local regression
// of forc/forc_regression.h over the printed points. The curves are computed one after another:
// the quadrature's working values are shared by the whole process. Returns kBatchOk;
// kBatchBadUsage with one line in error, nothing printed, when the smoothing factor is too large
// for the grid; kBatchStopped when the picture cannot be written.
int run_forc(const BatchOptions& options, ModelState& m, std::FILE* out, std::string& error);

// The command's row.
extern const BatchCommandRow kForcCommand;
