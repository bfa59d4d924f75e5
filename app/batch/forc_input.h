// Measured reversal curves made ready for analysis from the command line: the options shared by
// forc --measured and identify (--sf, --drift, --no-drift) and the loading they ask for (read,
// drift correction, table, smoothing check). Single-threaded tool.
#pragma once

#include <cstdint>
#include <string>

#include "app/batch/batch_options.h"
#include "forc/forc_table.h"
#include "measure/forc_curves.h"

// Reads --sf N, --drift or --no-drift at argv[i]. Answers kOptionTaken, kOptionUnknown or
// kOptionRefused (batch_common.h).
int parse_forc_input_option(int argc, const char* const* argv, int& i, BatchOptions& options,
                            std::string& error);

// The smoothing factor in force: the one given or the default.
int32_t forc_smoothing_of(const BatchOptions& options);

// Reads path, corrects the drift (when --drift asks for it, or by default when every curve has a
// calibration point, never with --no-drift), gathers the curves into table and checks the
// smoothing factor against it. corrected says whether the drift was corrected. False with one
// line naming the file in error.
bool load_forc_input(const BatchOptions& options, const std::string& path, ForcCurves& curves,
                     ForcTable& table, bool& corrected, std::string& error);
