// hysteresis-batch identify: a measured-material model file from measured reversal curves, the
// Preisach density being twice their FORC distribution. Single-threaded tool.
#pragma once

#include <cstdint>
#include <string>

#include "app/batch/batch_command_row.h"
#include "forc/forc_table.h"
#include "model/model_file.h"

// The model of family "measured" whose density is P = 2 rho on the grid of the measurement's
// steps (alpha = H, beta = Hr; 0 outside the measured region), fields in units of Hs, the largest
// |field| measured, and moments in units of Bs, the moment the density switches between the
// saturations (its integral over the grid, halved), so that P integrates to 2 as every density
// does. Units are the table's, field_unit and moment_unit ("" for none). False with one line in
// error when the distribution switches no positive moment.
bool identify_model(const ForcTable& table, int32_t sf, const std::string& field_unit,
                    const std::string& moment_unit, ModelFile& model, std::string& error);

// The command's row.
extern const BatchCommandRow kIdentifyCommand;
