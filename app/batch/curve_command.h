// hysteresis-batch curve: a curve built by right clicks and Executes as the program builds it.
// Single-threaded tool.
#pragma once

#include <cstdint>
#include <cstdio>

#include "app/batch/batch_command_row.h"

// The command's row: "curve [--hc HC] [--start neg|pos] [--plot-width PIXELS]
// [--h-axis MIN:MAX] STEP..." prints "H,B" and every point from the start point on.
extern const BatchCommandRow kCurveCommand;

// The points first..last of H and B in the format of "Save results...", without its comment
// lines: the header "H,B", then one point a line with 17 significant digits.
void print_points(std::FILE* out, const double* H, const double* B, int32_t first, int32_t last);
