// hysteresis-batch identify: a measured-material model file from measured reversal curves, the
// material's Everett function tabulated on them. Single-threaded tool.
#pragma once

#include <string>

#include "app/batch/batch_command_row.h"
#include "forc/forc_table.h"
#include "model/model_file.h"

// The model of family "measured" whose Everett table is built on the table's curves and closed
// between the saturations (forc/everett_build.h): Hs is the largest |field| measured, the
// moment at the largest field the saturation moment; Bs = E(Hs, -Hs) of the closed table, which
// is that moment. Fields and moments stay in the table's units, field_unit and moment_unit (""
// for none). False with one line in error when fewer than two curves have two distinct fields or
// the moment at the largest field is not positive.
bool identify_model(const ForcTable& table, const std::string& field_unit,
                    const std::string& moment_unit, ModelFile& model, std::string& error);

// The command's row.
extern const BatchCommandRow kIdentifyCommand;
