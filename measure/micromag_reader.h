// Reading MicroMag 2900/3900 data files (VSM and AGM): hysteresis loops and first-order
// reversal curves, with the legacy "name = value" header and the sectioned header, the units
// from "Units of measure" (Hybrid SI, SI, cgs), and the header's own processing and
// characterisation values. Any one thread per call.
#pragma once

#include <string>

#include "measure/forc_curves.h"
#include "measure/measured_series.h"
#include "measure/text_lines.h"

// True when line is the first line of a MicroMag data file.
bool is_micromag_first_line(const std::string& line);

// True when the file's second line says it holds reversal curves.
bool is_micromag_forc_line(const std::string& line);

// Reads a MicroMag loop (or any moment-versus-field series) from lines, positioned at the start
// of the file: the raw "Field, Moment" columns (never the "Adjusted" copies), converted to SI.
// False with one line naming the file and line in error.
bool read_micromag_series(TextLines& lines, MeasuredSeries& series, std::string& error);

// Reads a MicroMag FORC file from lines, positioned at the start of the file: the calibration
// point before each curve (the point measured at HCal, whether or not blank lines separate the
// segments), the reversal field and the curve's points. False with one line in error.
bool read_micromag_forc(TextLines& lines, ForcCurves& forc, std::string& error);
