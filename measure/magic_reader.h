// Reading MagIC measurement tables, versions 2.5 ("tab magic_measurements") and 3.0 ("tab
// measurements"): tab-separated, one measurement a row; the hysteresis rows (method code
// LP-HYS) of each specimen become one series. Any one thread per call.
#pragma once

#include <string>
#include <vector>

#include "measure/measured_series.h"
#include "measure/text_lines.h"

// True when line is the first line of a MagIC measurement table.
bool is_magic_first_line(const std::string& line);

// Reads every specimen's hysteresis measurements (rows whose method codes hold method, LP-HYS
// by default) into one series per specimen, in the order the specimens first appear. Fields
// and moments are SI in MagIC (T, A m^2). skipped counts the rows of other methods. False with
// one line naming the file and line in error.
bool read_magic(TextLines& lines, std::vector<MeasuredSeries>& series, int64_t& skipped,
                std::string& error, const std::string& method = "LP-HYS");
