// Reading Quantum Design data files (MPMS3, PPMS VSM): the "[Header]" lines, then "[Data]" with
// a line of column names and one line a measurement; the field and moment columns chosen by
// name, units from the names ("Magnetic Field (Oe)", "Moment (emu)"). Any one thread per call.
#pragma once

#include <string>

#include "measure/measured_series.h"
#include "measure/text_lines.h"

// True when line is the first line of a Quantum Design data file ("[Header]").
bool is_quantum_design_first_line(const std::string& line);

// Reads every measurement that has both a field and a moment, in file order, converted to SI
// (sweeps are told apart later, by the field's turns). Rows without a moment (a comment row, a
// failed measurement) are skipped and counted in skipped. False with one line naming the file
// and line in error.
bool read_quantum_design(TextLines& lines, MeasuredSeries& series, int64_t& skipped,
                         std::string& error);
