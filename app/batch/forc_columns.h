// Reading reversal curves from plain "Hr,H,M" columns into the measured-curves record: one point
// a line, a curve wherever Hr changes. Single-threaded tool; pure reading.
#pragma once

#include <string>

#include "measure/forc_curves.h"

// Reads path: lines starting with # are comments, the first other line may name the columns,
// every further line holds three finite numbers Hr, H, M separated by commas (blank lines are
// skipped). Consecutive lines with the same Hr form one curve. Units are not known: the values
// stay as the file gives them. False with one line naming the file (and line) in error.
bool read_forc_columns(const std::string& path, ForcCurves& curves, std::string& error);
